// What the clean-up relies on from processes and files, held against Windows (or Wine) and the
// simulated machine alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contract_support.h"
#include "platform/os.h"
#include "platform/owners.h"
#include "platform/text.h"
#include "scan/process_list.h"

namespace quellspur::contract {
namespace {

using platform::kProcessAllAccess;
using platform::kProcessQueryAndRead;
using platform::kStillActive;

class ProcessEndContract : public ::testing::Test {
 protected:
  void TearDown() override { env_.ReleaseChild(); }

  // The exit code once the process has ended, waiting a bounded time for it.
  std::uint32_t ExitCodeOnceEnded(platform::Handle process) {
    std::uint32_t code = kStillActive;
    for (int attempt = 0; attempt < 250 && code == kStillActive; ++attempt) {
      EXPECT_TRUE(os_.GetExitCodeProcess(process, code));
      if (code == kStillActive) {
        env_.Pause();
      }
    }
    return code;
  }

  Environment& env_ = TheEnvironment();
  platform::Os& os_ = env_.os();
};

TEST_F(ProcessEndContract, ATerminatedChildReportsItsExitCodeAndLeavesTheList) {
  const std::uint32_t child = env_.StartChild();
  const platform::UniqueHandle process(os_, os_.OpenProcess(kProcessAllAccess, false, child));
  ASSERT_TRUE(process);
  std::uint32_t code = 0;
  EXPECT_TRUE(os_.GetExitCodeProcess(process.get(), code));
  EXPECT_EQ(code, kStillActive);
  EXPECT_TRUE(FindProcessEntry(os_, child).has_value());

  EXPECT_TRUE(os_.TerminateProcess(process.get(), 200));
  EXPECT_EQ(ExitCodeOnceEnded(process.get()), 200u);
  EXPECT_FALSE(FindProcessEntry(os_, child).has_value());
}

TEST_F(ProcessEndContract, AnEndedProcessOpensWhileHeldButNamesNoExecutable) {
  const std::uint32_t child = env_.StartChild();
  {
    const platform::UniqueHandle process(os_, os_.OpenProcess(kProcessAllAccess, false, child));
    ASSERT_TRUE(os_.TerminateProcess(process.get(), 200));
    EXPECT_EQ(ExitCodeOnceEnded(process.get()), 200u);
  }
  {
    // The environment still holds the child, as the program that started it would.
    const platform::UniqueHandle held(os_, os_.OpenProcess(kProcessQueryAndRead, false, child));
    ASSERT_TRUE(held);
    std::wstring path = L"untouched";
    EXPECT_EQ(os_.GetModuleFileNameExA(held.get(), 250, path), 0u);
    std::uint32_t code = 0;
    EXPECT_TRUE(os_.GetExitCodeProcess(held.get(), code));
    EXPECT_EQ(code, 200u);
  }
}

class FileChangeContract : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::wstring& path : made_) {
      os_.SetFileAttributesA(path, platform::kAttributeArchive);
      env_.RemoveFile(path);
    }
  }

  std::wstring Scratch(const std::wstring& name) {
    made_.push_back(env_.ScratchFolder() + name);
    return made_.back();
  }
  std::string Content(const std::wstring& path) {
    std::uint64_t length = 0;
    std::string bytes;
    if (os_.GetFileLength(path, length)) {
      os_.ReadFileAt(path, 0, static_cast<std::uint32_t>(length), bytes);
    }
    return bytes;
  }

  Environment& env_ = TheEnvironment();
  platform::Os& os_ = env_.os();
  std::vector<std::wstring> made_;
};

TEST_F(FileChangeContract, CopyReplacesUnlessTheTargetIsReadOnly) {
  const std::wstring source = Scratch(L"Source.exe");
  const std::wstring target = Scratch(L"Source.exe.Backdoor");
  env_.WriteFile(source, "new");
  env_.WriteFile(target, "old");

  EXPECT_FALSE(os_.CopyFileA(source, target, true));
  EXPECT_EQ(Content(target), "old");
  EXPECT_TRUE(os_.CopyFileA(source, target, false));
  EXPECT_EQ(Content(target), "new");

  // A read-only file can be copied but not deleted. (Whether a read-only copy can be replaced
  // differs: Windows refuses, Wine does not; the quarantine clears it first.)
  EXPECT_TRUE(os_.SetFileAttributesA(source, platform::kAttributeReadOnly));
  EXPECT_FALSE(os_.DeleteFileA(source));
  EXPECT_TRUE(os_.CopyFileA(source, target, false));
  EXPECT_TRUE(os_.SetFileAttributesA(target, platform::kAttributeReadOnly));
  EXPECT_FALSE(os_.DeleteFileA(target));
  // Hidden and system files are deleted like any other.
  EXPECT_TRUE(
      os_.SetFileAttributesA(source, platform::kAttributeHidden | platform::kAttributeSystem));
  EXPECT_TRUE(os_.DeleteFileA(source));

  EXPECT_TRUE(os_.SetFileAttributesA(target, platform::kAttributeArchive));
  EXPECT_TRUE(os_.DeleteFileA(target));
  EXPECT_FALSE(os_.DeleteFileA(target));
  std::uint64_t length = 0;
  EXPECT_FALSE(os_.GetFileLength(target, length));
  EXPECT_FALSE(os_.CopyFileA(Scratch(L"Missing.exe"), target, false));
  EXPECT_FALSE(os_.SetFileAttributesA(Scratch(L"Missing.exe"), platform::kAttributeArchive));
}

TEST_F(FileChangeContract, AFolderIsCreatedOnceAndOnlyBelowOneThatExists) {
  const std::wstring folder = env_.ScratchFolder() + L"BackDoors";
  EXPECT_TRUE(os_.CreateDirectoryA(folder));
  EXPECT_FALSE(os_.CreateDirectoryA(folder));
  EXPECT_FALSE(os_.CreateDirectoryA(env_.ScratchFolder() + L"Missing\\BackDoors"));
  const std::wstring inside = folder + L"\\File.Backdoor";
  EXPECT_TRUE(os_.WriteWholeFile(inside, "x"));
  EXPECT_EQ(Content(inside), "x");
  os_.DeleteFileA(inside);
  env_.RemoveFolder(folder);
}

TEST_F(FileChangeContract, ANewFileReplacesAnOldOneInOneStep) {
  const std::wstring winIni = Scratch(L"win.ini");
  env_.WriteFile(winIni, "old");
  std::wstring temporary;
  ASSERT_TRUE(os_.GetTempFileNameA(env_.ScratchFolder(), L"ini", temporary));
  made_.push_back(temporary);
  EXPECT_EQ(UpperCase(temporary.substr(0, env_.ScratchFolder().size())),
            UpperCase(env_.ScratchFolder()));
  std::uint64_t length = 99;
  EXPECT_TRUE(os_.GetFileLength(temporary, length));  // it exists, empty
  EXPECT_EQ(length, 0u);
  std::wstring another;
  ASSERT_TRUE(os_.GetTempFileNameA(env_.ScratchFolder(), L"ini", another));
  made_.push_back(another);
  EXPECT_NE(UpperCase(another), UpperCase(temporary));

  EXPECT_TRUE(os_.WriteWholeFile(temporary, "new\r\n"));
  EXPECT_TRUE(os_.WriteWholeFile(temporary, "newer\r\n"));  // written again: emptied first
  EXPECT_TRUE(os_.MoveFileExA(temporary, winIni));
  EXPECT_EQ(Content(winIni), "newer\r\n");
  EXPECT_FALSE(os_.GetFileLength(temporary, length));
  EXPECT_FALSE(os_.MoveFileExA(temporary, winIni));
}

TEST_F(FileChangeContract, TextLinesComeWithoutTheirLineEnds) {
  const std::wstring path = Scratch(L"lines.ini");
  env_.WriteFile(path, "[windows]\r\nload=\xE9\r\n\r\nunix\nold mac\rlast");
  std::vector<std::wstring> lines;
  ASSERT_TRUE(os_.ReadTextLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"[windows]", L"load=\u00e9", L"", L"unix",
                                              L"old mac", L"last"}));
  env_.WriteFile(path, "");
  EXPECT_TRUE(os_.ReadTextLines(path, lines));
  EXPECT_TRUE(lines.empty());
  EXPECT_FALSE(os_.ReadTextLines(Scratch(L"missing.ini"), lines));
}

}  // namespace
}  // namespace quellspur::contract
