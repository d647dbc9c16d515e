// Two programs append to the activity log at once while a third keeps it open for reading, once it
// has let a locked-out one finish: every line must arrive whole, exactly once, in writer's order.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

constexpr int kLinesPerWriter = 10000;

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path, length);
  return full.substr(0, full.rfind('\\'));
}

PROCESS_INFORMATION StartWriter(const std::string& folder, const std::string& tag, int lines) {
  std::string command = "\"" + folder + "\\log_writer.exe\" " + std::to_string(lines) + " " + tag;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
      << command;
  return process;
}

TEST(ActivityLogUnderLoad, TwoWritersAReaderAndALockerLeaveEveryLineWhole) {
  const std::string folder = ProgramFolder();
  const std::string logPath = folder + "\\BackLog.txt";
  ::DeleteFileA(logPath.c_str());

  // The reader: holds the log open from before the first line to after the last.
  HANDLE reader = ::CreateFileA(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);

  // First it locks the whole log, the writers' lock byte included: a writer may wait about a
  // second (plus its start), and one still waiting when the lock goes would wait for ever.
  ASSERT_TRUE(::LockFile(reader, 0, 0, MAXDWORD, MAXDWORD));
  const ULONGLONG start = ::GetTickCount64();
  const PROCESS_INFORMATION lockedOut = StartWriter(folder, "C", 1);
  EXPECT_EQ(::WaitForSingleObject(lockedOut.hProcess, 5000), WAIT_OBJECT_0);
  EXPECT_LT(::GetTickCount64() - start, 2000u);
  ::UnlockFile(reader, 0, 0, MAXDWORD, MAXDWORD);
  PROCESS_INFORMATION writers[] = {lockedOut, StartWriter(folder, "A", kLinesPerWriter),
                                   StartWriter(folder, "B", kLinesPerWriter)};
  for (const PROCESS_INFORMATION& writer : writers) {
    ASSERT_EQ(::WaitForSingleObject(writer.hProcess, 120000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(writer.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    ::CloseHandle(writer.hThread);
    ::CloseHandle(writer.hProcess);
  }
  std::ostringstream content;
  content << std::ifstream(logPath, std::ios::binary).rdbuf();
  ::CloseHandle(reader);
  ::DeleteFileA(logPath.c_str());

  // A line torn, doubled, lost or out of order, or a last line without its end, shows as a line
  // out of shape or a number out of turn.
  const std::regex shape(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d writer ([ABC]) line (\d+)\r)");
  std::map<std::string, int> nextLine;
  std::istringstream lines(content.str());
  for (std::string line; std::getline(lines, line);) {
    std::smatch fields;
    ASSERT_TRUE(std::regex_match(line, fields, shape)) << line;
    ASSERT_EQ(std::stoi(fields[2]), nextLine[fields[1]]++) << line;
  }
  EXPECT_EQ(nextLine,
            (decltype(nextLine){{"A", kLinesPerWriter}, {"B", kLinesPerWriter}, {"C", 1}}));
}

}  // namespace
