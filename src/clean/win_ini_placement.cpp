#include "clean/win_ini_placement.h"

#include <optional>

#include "platform/text.h"

namespace quellspur {
namespace {

// A section's lines, [begin, end), its header just before them when it has one.
struct Section {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The section a version-1 entry's lines go back into.
constexpr wchar_t kWindowsSection[] = L"[windows]";

// The name of the section with this header: none for the lines before the first section.
std::optional<std::wstring> WantedSection(const std::wstring& header) {
  return header.empty() ? std::nullopt : SectionName(header);
}

std::optional<Section> FindSection(const IniText& text, const std::optional<std::wstring>& name) {
  std::optional<Section> found;
  if (!name) {
    found = Section{0, 0};
  }
  for (std::size_t index = 0; index < text.lines.size(); ++index) {
    const std::optional<std::wstring> here = SectionName(text.lines[index].text);
    if (here && found) {
      found->end = index;
      return found;
    }
    if (here && *here == *name) {
      found = Section{index + 1, 0};
    }
  }
  if (found) {
    found->end = text.lines.size();
  }
  return found;
}

// Whether a line of a version-1 entry is one that starts a program from [windows].
bool IsStartLine(const std::wstring& text) {
  const std::size_t equals = text.find(L'=');
  const std::wstring key = UpperCase(TrimBlanks(std::wstring_view(text).substr(0, equals)));
  return equals != std::wstring::npos && (key == L"LOAD" || key == L"RUN");
}

// Where a line with no copy in its section goes in.
std::size_t PlaceBeside(const IniText& text, const Section& section, const RemovedLine& line) {
  const auto textAt = [&](std::size_t index) -> const std::wstring& {
    return text.lines[index].text;
  };
  if (line.before) {
    // The header counts: the first line of a section stood right after it.
    std::optional<std::size_t> beside;
    for (std::size_t index = section.begin == 0 ? 0 : section.begin - 1; index < section.end;
         ++index) {
      if (textAt(index) != *line.before) {
        continue;
      }
      if (line.after && index + 1 < text.lines.size() && textAt(index + 1) == *line.after) {
        return index + 1;
      }
      if (!beside) {
        beside = index + 1;
      }
    }
    if (beside) {
      return *beside;
    }
  } else if (line.section) {
    return section.begin;  // it stood first in the file
  }
  if (line.after) {
    // The header of the next section counts: the line stood last in its own.
    for (std::size_t index = section.begin; index <= section.end && index < text.lines.size();
         ++index) {
      if (textAt(index) == *line.after) {
        return index;
      }
    }
  }
  std::size_t afterLast = section.begin;
  for (std::size_t index = section.begin; index < section.end; ++index) {
    if (!TrimBlanks(textAt(index)).empty()) {
      afterLast = index + 1;
    }
  }
  return afterLast;
}

// Inserts the line with the line end of the line before it (CR LF where there is none).
void Insert(IniText& text, std::size_t at, const std::wstring& line) {
  std::wstring end = L"\r\n";
  if (at > 0 && !text.lines[at - 1].end.empty()) {
    end = text.lines[at - 1].end;
  } else if (at > 0) {
    text.lines[at - 1].end = end;  // the last line had none: it would run into this one
  }
  text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(at), {line, end});
}

}  // namespace

PutBack PutLinesBack(IniText& text, const std::vector<RemovedLine>& lines) {
  PutBack result;
  std::vector<char> claimed(text.lines.size(), false);  // bytes: less code than bits
  const RemovedLine* previous = nullptr;
  std::size_t previousAt = 0;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const RemovedLine& line = lines[index];
    if (!line.section && !IsStartLine(line.text)) {
      result.refusal = Joined({L"line ", DecimalText(line.lineNumber), L" (", line.text,
                               L") was recorded by an older version without its section; only "
                               L"load= and run= lines go back, into [windows]"});
      return result;
    }
    const std::wstring& header = line.section.value_or(kWindowsSection);
    const std::optional<Section> section = FindSection(text, WantedSection(header));
    if (!section) {
      result.refusal = Joined({L"its section ", header, L" is no longer in win.ini"});
      return result;
    }
    std::optional<std::size_t> standing;
    for (std::size_t at = section->begin; at < section->end && !standing; ++at) {
      if (!claimed[at] && text.lines[at].text == line.text) {
        standing = at;
      }
    }
    if (standing) {
      claimed[*standing] = true;
      previousAt = *standing;
    } else {
      // Lines that stood together go back together, in their order.
      const bool follows = previous != nullptr && previous->section == line.section &&
                           previous->before == line.before && previousAt >= section->begin &&
                           previousAt < section->end;
      previousAt = follows ? previousAt + 1 : PlaceBeside(text, *section, line);
      Insert(text, previousAt, line.text);
      claimed.insert(claimed.begin() + static_cast<std::ptrdiff_t>(previousAt), true);
      result.added.push_back(index);
    }
    previous = &line;
  }
  return result;
}

}  // namespace quellspur
