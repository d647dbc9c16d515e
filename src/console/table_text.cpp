#include "console/table_text.h"

#include "platform/text.h"

namespace quellspur {
namespace {

bool IsSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

std::wstring CsvField(const std::wstring& text) {
  if (text.find_first_of(L",\"\r\n") == std::wstring::npos) {
    return text;
  }
  std::wstring quoted = L"\"";
  for (wchar_t c : text) {
    quoted += c;
    if (c == L'"') {
      quoted += c;
    }
  }
  quoted += L'"';
  return quoted;
}

std::wstring JsonString(const std::wstring& text) {
  std::wstring quoted = L"\"";
  for (std::size_t at = 0; at < text.size(); ++at) {
    const wchar_t c = text[at];
    // A pair of surrogates stays as it is; either half alone can't be written as UTF-8.
    const bool paired = at + 1 < text.size() && c >= 0xD800 && c <= 0xDBFF &&
                        text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
    if (c == L'"' || c == L'\\') {
      quoted += L'\\';
      quoted += c;
    } else if (c < 0x20 || (IsSurrogate(c) && !paired)) {
      quoted.append(L"\\u").append(HexText(c, 4, false));
    } else {
      quoted += c;
      if (paired) {
        quoted += text[++at];
      }
    }
  }
  quoted += L'"';
  return quoted;
}

}  // namespace

std::wstring CsvHeaderOf(const std::vector<Column>& columns) {
  std::wstring line;
  for (const Column& column : columns) {
    line.append(line.empty() ? L"" : L",").append(column.name);
  }
  line += L"\r\n";
  return line;
}

std::wstring CsvLineOf(const std::vector<Column>& columns) {
  std::wstring line;
  bool first = true;
  for (const Column& column : columns) {
    line.append(first ? L"" : L",").append(CsvField(column.value.value_or(L"")));
    first = false;
  }
  line += L"\r\n";
  return line;
}

std::wstring JsonLineOf(const std::vector<Column>& columns) {
  std::wstring line;
  for (const Column& column : columns) {
    line.append(line.empty() ? L"{\"" : L",\"").append(column.name).append(L"\":");
    if (!column.value) {
      line += L"null";
    } else {
      line.append(column.number ? *column.value : JsonString(*column.value));
    }
  }
  line += L"}\r\n";
  return line;
}

std::wstring OnOneLine(std::wstring_view text) {
  std::wstring line;
  for (wchar_t c : text) {
    if (IsControlCharacter(c)) {
      line += EscapedCharacter(c);
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace quellspur
