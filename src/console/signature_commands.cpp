#include "console/signature_commands.h"

#include <optional>
#include <vector>

#include "console/quell_scan.h"
#include "console/table_text.h"
#include "platform/text.h"

namespace quellspur {
namespace {

using Field = std::optional<std::wstring>;

// A row's text points into the built-in table and the signature set, which outlive it.
struct SignatureRow {
  std::wstring_view name;
  std::optional<WindowSignatureText> window;
  const AddedHashSignature* hash;
  std::wstring source;
};

std::vector<Column> Columns(const SignatureRow& row) {
  const bool window = row.window.has_value();
  std::wstring kind = L"process";  // Back Orifice, found by its process and executable
  Field sha256;
  Field size;
  if (window) {
    kind = L"window";
  } else if (row.hash) {
    kind = L"sha256";
    sha256 = std::wstring(row.hash->sha256.begin(), row.hash->sha256.end());
    size = row.hash->size ? DecimalText(*row.hash->size) : L"*";
  }
  return {{L"backdoor", std::wstring(row.name)},
          {L"kind", kind},
          {L"class", window ? Field(row.window->windowClass) : Field()},
          {L"caption", window ? Field(row.window->windowCaption) : Field()},
          {L"sha256", sha256},
          {L"size", size},
          {L"source", row.source}};
}

std::wstring TextLine(const SignatureRow& row) {
  std::wstring line = Joined({row.name, L": "});
  if (row.window) {
    auto any = [](std::wstring_view text) {
      return text.empty() ? std::wstring(L"any") : Joined({L"\"", text, L"\""});
    };
    line.append(L"window of class ").append(any(row.window->windowClass));
    line.append(L", caption ").append(any(row.window->windowCaption));
  } else {
    line.append(L"file with SHA-256 ")
        .append(std::wstring(row.hash->sha256.begin(), row.hash->sha256.end()));
    line.append(row.hash->size ? Joined({L", ", DecimalText(*row.hash->size), L" bytes"})
                               : L", any size");
  }
  return Joined({OnOneLine(line.append(L" (").append(row.source).append(L")")), L"\r\n"});
}

std::vector<SignatureRow> RowsInForce(const SignatureSet& added, const std::wstring& path) {
  std::vector<SignatureRow> rows;
  for (const WindowSignatureText& builtIn : kWindowSignatures) {
    rows.push_back({builtIn.backdoorName, builtIn, nullptr, L"built-in"});
  }
  rows.push_back({kBackOrifice, std::nullopt, nullptr, L"built-in"});
  auto source = [&](std::uint32_t line) { return Joined({path, L", line ", DecimalText(line)}); };
  for (const AddedWindowSignature& window : added.windows()) {
    const WindowSignature& signature = window.signature;
    rows.push_back({signature.backdoorName,
                    WindowSignatureText{signature.backdoorName, signature.windowClass,
                                        signature.windowCaption},
                    nullptr, source(window.line)});
  }
  for (const AddedHashSignature& hash : added.hashes()) {
    rows.push_back({hash.backdoorName, std::nullopt, &hash, source(hash.line)});
  }
  return rows;
}

// Back Orifice is found by what its process and executable are like: no window, no hash.
std::wstring BackOrificeText() {
  return Joined({kBackOrifice,
                 L": process whose executable is named with a blank before \".EXE\" or "
                 L"names itself near its end (built-in)\r\n"});
}

std::wstring Listing(const std::vector<SignatureRow>& rows, OutputFormat format) {
  std::wstring text = format == OutputFormat::Csv ? CsvHeaderOf(Columns(rows.back())) : L"";
  for (const SignatureRow& row : rows) {
    const bool backOrifice = !row.window && !row.hash;
    switch (format) {
      case OutputFormat::Text:
        text += backOrifice ? BackOrificeText() : TextLine(row);
        break;
      case OutputFormat::Csv:
        text += CsvLineOf(Columns(row));
        break;
      case OutputFormat::Json:
        text += JsonLineOf(Columns(row));
        break;
    }
  }
  return text;
}

void WriteReasons(const SignatureFileRead& read, platform::Console& console) {
  for (const std::wstring& error : read.errors) {
    console.WriteError(Joined({L"QuellScan: ", OnOneLine(error), L"\r\n"}));
  }
}

}  // namespace

bool LoadScanSignatures(const CommandLine& command, Engine& engine, platform::Console& console) {
  const std::wstring path = command.signatureFile.value_or(engine.SignatureFilePath());
  const SignatureFileRead read = engine.LoadSignatures(path);
  if (read.outcome == SignatureFileRead::Outcome::Missing && command.signatureFile) {
    console.WriteError(
        Joined({L"QuellScan: ", OnOneLine(path),
                L": the file is not there; scanning with the built-in signatures only\r\n"}));
    return false;
  }
  if (read.outcome == SignatureFileRead::Outcome::Refused) {
    WriteReasons(read, console);
    console.WriteError(
        L"QuellScan: the file is not used; scanning with the built-in signatures "
        L"only\r\n");
    return false;
  }
  return true;
}

int SignatureCommand(const CommandLine& command, Engine& engine, platform::Console& console) {
  if (command.check) {
    const SignatureFileRead read = engine.LoadSignatures(*command.check);
    switch (read.outcome) {
      case SignatureFileRead::Outcome::Missing:
        console.WriteError(
            Joined({L"QuellScan: ", OnOneLine(*command.check), L": the file is not there\r\n"}));
        return kExitError;
      case SignatureFileRead::Outcome::Refused:
        WriteReasons(read, console);
        return kExitError;
      case SignatureFileRead::Outcome::Used:
        console.WriteOut(
            Joined({OnOneLine(*command.check), L": ", DecimalText(read.signatures.windows().size()),
                    L" window signatures, ", DecimalText(read.signatures.hashes().size()),
                    L" hash signatures\r\n"}));
        return kExitNothingFound;
    }
  }
  const std::wstring path = engine.SignatureFilePath();
  const SignatureFileRead read = engine.LoadSignatures(path);
  WriteReasons(read, console);
  console.WriteOut(Listing(RowsInForce(read.signatures, path), command.format));
  return read.outcome == SignatureFileRead::Outcome::Refused ? kExitError : kExitNothingFound;
}

}  // namespace quellspur
