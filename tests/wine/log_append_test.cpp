// Programs append to the activity log while others hold it. A reader keeps the log open from
// before the first line to after the last, and at first locks all of it, the writers' lock
// included: a writer that may wait a second in all (as QuellScan's log does) ends after about a
// second however many lines it has, and keeps them; one whose last try may wait longer writes all
// of its lines once the lock goes. Then two write at once. Every line must arrive whole, exactly
// once, in its writer's order.
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

// A log_writer writing `lines` lines tagged `tag`, which may wait `waitInAll` milliseconds over its
// run and `lastWait` more at its end.
PROCESS_INFORMATION StartWriter(const std::string& folder, const std::string& tag, int lines,
                                int waitInAll, int lastWait) {
  std::string command = "\"" + folder + "\\log_writer.exe\" " + std::to_string(lines) + " " + tag +
                        " " + std::to_string(waitInAll) + " " + std::to_string(lastWait);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
      << command;
  return process;
}

// Waits for the writer to end; its exit code is the number of lines its log still kept.
DWORD KeptLines(const PROCESS_INFORMATION& writer, DWORD waitMilliseconds) {
  EXPECT_EQ(::WaitForSingleObject(writer.hProcess, waitMilliseconds), WAIT_OBJECT_0);
  DWORD exitCode = 999;
  ::GetExitCodeProcess(writer.hProcess, &exitCode);
  ::CloseHandle(writer.hThread);
  ::CloseHandle(writer.hProcess);
  return exitCode;
}

TEST(ActivityLogUnderLoad, LockedWritersWaitAsAllowedAndNoLineIsTornLostOrDoubled) {
  const std::string folder = ProgramFolder();
  const std::string logPath = folder + "\\BackLog.txt";
  ::DeleteFileA(logPath.c_str());
  HANDLE reader = ::CreateFileA(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(::LockFile(reader, 0, 0, MAXDWORD, MAXDWORD));

  // Three lines would take three seconds if each waited its own second.
  const ULONGLONG start = ::GetTickCount64();
  EXPECT_EQ(KeptLines(StartWriter(folder, "C", 3, 1000, 0), 10000), 3u);
  EXPECT_LT(::GetTickCount64() - start, 2500u);

  const PROCESS_INFORMATION patient = StartWriter(folder, "D", 5, 0, 20000);
  EXPECT_EQ(::WaitForSingleObject(patient.hProcess, 2000), static_cast<DWORD>(WAIT_TIMEOUT));
  const ULONGLONG unlocked = ::GetTickCount64();
  ::UnlockFile(reader, 0, 0, MAXDWORD, MAXDWORD);
  EXPECT_EQ(KeptLines(patient, 5000), 0u);
  EXPECT_LT(::GetTickCount64() - unlocked, 1000u);

  const PROCESS_INFORMATION both[] = {StartWriter(folder, "A", kLinesPerWriter, 1000, 1000),
                                      StartWriter(folder, "B", kLinesPerWriter, 1000, 1000)};
  for (const PROCESS_INFORMATION& writer : both) {
    EXPECT_EQ(KeptLines(writer, 120000), 0u);
  }
  std::ostringstream content;
  content << std::ifstream(logPath, std::ios::binary).rdbuf();
  ::CloseHandle(reader);
  ::DeleteFileA(logPath.c_str());

  // A line torn, doubled, lost or out of order, or a last line without its end, shows as a line
  // out of shape or a number out of turn.
  const std::regex shape(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d writer ([ABD]) line (\d+)\r)");
  std::map<std::string, int> nextLine;
  std::istringstream lines(content.str());
  for (std::string line; std::getline(lines, line);) {
    std::smatch fields;
    ASSERT_TRUE(std::regex_match(line, fields, shape)) << line;
    ASSERT_EQ(std::stoi(fields[2]), nextLine[fields[1]]++) << line;
  }
  EXPECT_EQ(nextLine,
            (decltype(nextLine){{"A", kLinesPerWriter}, {"B", kLinesPerWriter}, {"D", 5}}));
}

}  // namespace
