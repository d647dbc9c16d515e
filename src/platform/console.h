// The standard output and error of a console program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quellspur::platform {

// A write that fails (a full disk, a closed pipe) is remembered, so that the program can end with
// an error however many writes its commands make: a script must not take lost output for none.
class Console {
 public:
  virtual ~Console() = default;

  // Text as the reader gets it: on a console window as its characters, into a file or a pipe as
  // UTF-8. After a failed write a stream takes nothing more, so that no later text reads as if it
  // followed the lost one.
  void WriteOut(std::wstring_view text) { Write(Stream::Out, text, outFailure_); }
  void WriteError(std::wstring_view text) { Write(Stream::Error, text, errorFailure_); }

  // Why the standard output lost text, in the system's words; none while every write went.
  const std::optional<std::wstring>& OutFailure() const { return outFailure_; }
  bool ErrorFailed() const { return errorFailure_.has_value(); }

 protected:
  enum class Stream { Out, Error };
  // Writes all of the text, or says why it could not.
  virtual bool Put(Stream stream, std::wstring_view text, std::wstring& whyNot) = 0;

 private:
  void Write(Stream stream, std::wstring_view text, std::optional<std::wstring>& failure) {
    std::wstring whyNot;
    if (!failure && !Put(stream, text, whyNot)) {
      failure = whyNot;
    }
  }

  std::optional<std::wstring> outFailure_;
  std::optional<std::wstring> errorFailure_;
};

}  // namespace quellspur::platform
