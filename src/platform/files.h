// The file system, by path; every call opens and closes what it needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
  // appenders, writes the bytes at its end in one write, and closes it once they are on the disk.
  virtual bool AppendToFile(const std::wstring& path, const std::string& bytes) = 0;
  // The SHA-256 of the file's bytes as 64 lower-case hex digits; false when it can't be read.
  virtual bool FileSha256(const std::wstring& path, std::string& hexDigest) = 0;
  // The names (not paths) of the files directly in the folder, folders left out; false when the
  // folder can't be read.
  virtual bool ListFiles(const std::wstring& folder, std::vector<std::wstring>& names) = 0;

  // The file's lines without their line ends (CR LF, CR or LF), in the ANSI code page.
  virtual bool ReadTextLines(const std::wstring& path, std::vector<std::wstring>& lines) = 0;
  // Creates the file, or empties an existing one, and writes the bytes.
  virtual bool WriteWholeFile(const std::wstring& path, const std::string& bytes) = 0;

  virtual bool CopyFileW(const std::wstring& existing, const std::wstring& target,
                         bool failIfExists) = 0;
  virtual bool SetFileAttributesW(const std::wstring& path, std::uint32_t attributes) = 0;
  virtual bool DeleteFileW(const std::wstring& path) = 0;
  // Fails when the folder exists already or the folder above it is missing.
  virtual bool CreateDirectoryW(const std::wstring& path) = 0;
  // Gives `existing` the name `target` in one step, replacing a file of that name.
  virtual bool MoveFileExW(const std::wstring& existing, const std::wstring& target) = 0;
  // Creates an empty file of a new, unique name in the folder and hands back its path.
  virtual bool GetTempFileNameW(const std::wstring& folder, const std::wstring& prefix,
                                std::wstring& path) = 0;
};

}  // namespace quellspur::platform
