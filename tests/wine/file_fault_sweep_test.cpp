// The quarantine and the win.ini rewrite on the real file system, with every use of every file call
// they make failing in turn, once and from then on, with the statuses the call fails with: no file
// is lost or half written, the activity log tells exactly what changed, and the change record
// names every change made.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "clean/file_quarantine.h"
#include "clean/win_ini_rewrite.h"
#include "platform/text_lines.h"
#include "platform/win32/win32_os.h"
#include "support/quarantine_paths.h"
#include "testing/fault_injection.h"

namespace quellspur {
namespace {

namespace fs = std::filesystem;
using platform::Call;
using platform::FaultInjectingOs;

// The real calls behind a fault injector, with the program's folder where a run works, so that
// the quarantine and the activity log land there.
struct InFolder : FaultInjectingOs {
  using FaultInjectingOs::FaultInjectingOs;
  std::wstring GetProgramFolder() override { return folder.wstring(); }
  fs::path folder;
};

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// The activity log's messages, without their date and time.
std::vector<std::string> LogMessages(const fs::path& folder) {
  const std::string text = Bytes(folder / "BackLog.txt");
  std::vector<std::string> messages;
  for (std::string_view line : platform::SplitLines(text)) {
    messages.emplace_back(line.substr(20));
  }
  return messages;
}

// The entries of the change record in the folder's quarantine folder.
std::vector<ChangeEntry> RecordEntries(const fs::path& folder) {
  return ParseRecord(Bytes(testing::ChangeRecordPath(folder.wstring()))).entries;
}

// One change made in a fresh folder, and what must hold afterwards whether it was made or not.
struct Scenario {
  std::function<void(const fs::path& folder)> prepare;
  std::function<void(platform::Os& os, ActivityLog& log, ChangeRecord& record,
                     const fs::path& folder)>
      change;
  // Checks the folder after a run, with the log holding the change's line exactly when it was
  // made, and tells whether it was.
  std::function<bool(const fs::path& folder)> check;
};

class FileFaultSweep : public ::testing::Test {
 protected:
  ~FileFaultSweep() override {
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root_, error)) {
      real_.SetFileAttributesW(entry.path().wstring(), platform::kAttributeArchive);
    }
    fs::remove_all(root_, error);
  }

  // Runs the change once without faults to learn how often it uses each call, then once for every
  // use of every call that can fail (here the file calls) failing once, and once from then on,
  // with each status the call fails with. Once nothing reads a failure's status, the call's other
  // statuses would go the same way and are left out.
  void Sweep(const Scenario& scenario) {
    InFolder clean(real_);
    EXPECT_TRUE(Run(scenario, clean));
    int runs = 0;
    int changed = 0;
    for (std::size_t index = 0; index < platform::kCallCount; ++index) {
      const auto call = static_cast<Call>(index);
      for (int use = 1; platform::CanFail(call) && use <= clean.Uses(call); ++use) {
        for (const platform::Status status : platform::FailureStatuses(call)) {
          bool seen = false;
          for (bool persistent : {false, true}) {
            SCOPED_TRACE(std::string(platform::CallName(call)) + " fails with " +
                         std::to_string(status) + " at use " + std::to_string(use) +
                         (persistent ? " and after" : " once"));
            InFolder faults(real_);
            faults.FailOn(call, use, persistent, status);
            changed += Run(scenario, faults) ? 1 : 0;
            EXPECT_GE(faults.InjectedFaults(), 1);
            seen = seen || faults.InjectedStatusSeen();
            ++runs;
          }
          if (!seen) {
            break;
          }
        }
      }
    }
    EXPECT_GT(runs, 0);
    std::cout << runs << " runs with a failing call, " << changed << " of them made the change\n";
  }

  // One run on `faults` in a folder of its own; tells whether the change was made.
  bool Run(const Scenario& scenario, InFolder& faults) {
    faults.folder = root_ / ("run" + std::to_string(++folders_));
    fs::create_directories(faults.folder);
    scenario.prepare(faults.folder);
    InFolder unarmed(real_);
    unarmed.folder = faults.folder;
    ActivityLog log(unarmed);  // the log's own writing is not what is tried here
    ChangeRecord record(faults);
    scenario.change(faults, log, record, faults.folder);
    return scenario.check(faults.folder);
  }

  platform::win32::Win32Os real_;
  const fs::path root_ = fs::temp_directory_path() /
                         ("quellspur_faults_" + std::to_string(real_.GetCurrentProcessId()));
  int folders_ = 0;
};

TEST_F(FileFaultSweep, AQuarantinedFileIsEitherInPlaceOrWhollyCopied) {
  const std::string image = std::string(4000, '\x90') + "PATCH.EXE";
  Sweep({[&](const fs::path& folder) {
           fs::create_directory(folder / "server");
           Put(folder / "server" / "PATCH.EXE", image);
           real_.SetFileAttributesW((folder / "server" / "PATCH.EXE").wstring(),
                                    platform::kAttributeReadOnly);
         },
         [](platform::Os& os, ActivityLog& log, ChangeRecord& record, const fs::path& folder) {
           MoveFile(os, log, record, L"NetBus", (folder / "server" / "PATCH.EXE").wstring());
         },
         [&](const fs::path& folder) {
           const fs::path source = folder / "server" / "PATCH.EXE";
           const fs::path target = testing::InQuarantine(L"PATCH.EXE.Backdoor", folder.wstring());
           const bool moved = !fs::exists(source);
           EXPECT_TRUE(Bytes(moved ? target : source) == image) << (moved ? "copy" : "source");
           EXPECT_EQ(LogMessages(folder),
                     std::vector<std::string>(
                         moved ? 1 : 0, "Moving: " + source.string() + " to: " + target.string()));
           const std::vector<ChangeEntry> entries = RecordEntries(folder);
           const auto* file =
               entries.empty() ? nullptr : std::get_if<FileChange>(&entries.back().change);
           EXPECT_TRUE(!moved || (file != nullptr && file->copyName == L"PATCH.EXE.Backdoor"));
           return moved;
         }});
}

TEST_F(FileFaultSweep, WinIniHoldsEitherItsOldOrItsNewContent) {
  const std::string old =
      "[windows]\r\nload=C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE\r\nrun=\r\n[Desktop]\r\nWallpaper=x\r\n";
  const std::string rewritten = "[windows]\r\nrun=\r\n[Desktop]\r\nWallpaper=x\r\n";
  Sweep({[&](const fs::path& folder) {
           Put(folder / "win.ini", old);
           Put(folder / "win.bac", "an older backup");
           real_.SetFileAttributesW((folder / "win.ini").wstring(), platform::kAttributeReadOnly);
         },
         [](platform::Os& os, ActivityLog& log, ChangeRecord& record, const fs::path& folder) {
           RewriteWinIni(os, log, record, L"Millenium", folder.wstring() + L"\\",
                         L"C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE");
         },
         [&](const fs::path& folder) {
           // Changed, the old content is the backup's.
           const bool changed = Bytes(folder / "win.ini") == rewritten;
           EXPECT_EQ(Bytes(folder / (changed ? "win.bac" : "win.ini")), old);
           EXPECT_EQ(LogMessages(folder),
                     std::vector<std::string>(
                         changed ? 1 : 0,
                         "Removing start: load=C:\\WINDOWS\\SYSTEM\\MSWINDS.EXE in win.ini"));
           const std::vector<ChangeEntry> entries = RecordEntries(folder);
           const auto* removed =
               entries.empty() ? nullptr : std::get_if<WinIniChange>(&entries.back().change);
           EXPECT_TRUE(!changed || (removed != nullptr && removed->lines.size() == 1 &&
                                    removed->lines[0].lineNumber == 2));
           for (const auto& entry : fs::directory_iterator(folder)) {
             EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path();
           }
           return changed;
         }});
}

}  // namespace
}  // namespace quellspur
