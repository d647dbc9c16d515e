// The file system, by path; every call opens and closes what it needs.
#pragma once

#include <cstdint>
#include <string>

namespace quellspur::platform {

class Files {
 public:
  virtual ~Files() = default;

  // The length of the file in bytes; false when it can't be read.
  virtual bool GetFileLength(const std::wstring& path, std::uint64_t& length) = 0;
  // Reads up to `count` bytes from `offset` (fewer at the end of the file, none behind it); false
  // when the file can't be opened, positioned or read.
  virtual bool ReadFileAt(const std::wstring& path, std::uint64_t offset, std::uint32_t count,
                          std::string& bytes) = 0;
  // Opens the file for appending only (creating it when missing), shared with readers and other
  // appenders, writes the bytes at its end in one write, and closes it.
  virtual bool AppendToFile(const std::wstring& path, const std::string& bytes) = 0;
};

}  // namespace quellspur::platform
