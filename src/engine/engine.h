// One program's engine: the scanner, the activity log, the change record, the clean-up, the
// restore and the settings, put together once, so that the main window and QuellScan scan, log,
// clean and report alike.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clean/activity_log.h"
#include "clean/change_record.h"
#include "clean/clean_up.h"
#include "clean/restore.h"
#include "platform/message_pump.h"
#include "platform/os.h"
#include "scan/finding.h"
#include "scan/scanner.h"
#include "scan/signature_set.h"
#include "settings/settings.h"

namespace quellspur {

class Engine {
 public:
  // Reads nothing yet: a program reads the system when it starts its work. The activity log's
  // writes may wait that long in all for another program's lock on the log; by default never.
  Engine(platform::Os& os, platform::MessagePump& pump, std::uint32_t logWaitInAllMilliseconds = 0);

  // Reads what the scan and the clean-up need of the system: the family of Windows the probes
  // follow, and the Windows folder, where win.ini lives.
  void ReadSystem();
  WindowsPlatform windowsPlatform() const { return scanner_.windowsPlatform(); }
  // With its trailing backslash; empty until read.
  const std::wstring& windowsFolder() const { return windowsFolder_; }

  // The three settings; until loaded, all off.
  Settings& settings() { return settings_; }
  // Loads the stored settings; true only when all three were there.
  bool LoadSettings();

  // Signatures.txt in the program folder.
  std::wstring SignatureFilePath();
  // Reads the signature file at the path: from now on the scans use the built-in signatures and
  // what it adds, or the built-in ones alone when it is missing or refused.
  SignatureFileRead LoadSignatures(const std::wstring& path);
  // Reads the program folder's signature file now, and again before each scan once it changed;
  // `refused` hears the reasons when it refuses a content it has not refused before.
  void WatchSignatureFile(std::function<void(const std::vector<std::wstring>&)> refused);

  // One whole scan, whose findings replace the last scan's, then `report`; a failure inside a
  // probe or the report ends only that part.
  void Scan(const std::function<void()>& report);
  // The last scan's findings in the order found; a cleaned one holds no process or start entry.
  Findings& findings() { return findings_; }
  // Writes the finding's report line to the activity log and returns it.
  std::wstring LogFinding(const Finding& finding);
  ActivityLog& log() { return log_; }
  // Cleans one finding, with win.ini in the Windows folder read before; `moveFiles` puts its files
  // into quarantine.
  CleanOutcome Clean(Finding& finding, bool moveFiles);
  // What a scan that found nothing reports, line by line: the time now, and that all is clean.
  std::vector<std::wstring> CleanReport();

  // Why the change record and the quarantine folder may not be the program's own, in words: on
  // Windows of the NT family, when accounts other than the administrators' can change either,
  // anyone could have written the lines that a restore would follow. Nothing when they are the
  // administrators' alone, and on Windows 95/98, which has no access lists. A list that can't be
  // read is a reason.
  std::optional<std::wstring> WhyRecordIsNotTrusted();
  // What the quarantine holds, from the change record and the quarantine folder; with the system
  // read, entries no clean-up on this machine can have made are told from the others.
  QuarantineList ListQuarantine();
  // Puts back a recorded change, unless no clean-up on this machine can have made it.
  RestoreResult RestoreChange(const ChangeEntry& entry);
  // Puts a copy that no record names back to the place given.
  RestoreResult RestoreCopy(const std::wstring& copyName, const std::wstring& target);
  std::wstring ChangeRecordPath() const { return record_.Path(); }

 private:
  // What a clean-up on this machine changes: win.ini in the Windows folder, the start keys in the
  // views the scan reads.
  RestorePlaces RestorablePlaces();
  // Reads the watched signature file when its length or last write time changed.
  void ReloadChangedSignatures();
  // Reads it, noting its stamp, and tells a content refused for the first time.
  void ReadWatchedSignatures();

  platform::Os& os_;
  Scanner scanner_;
  ActivityLog log_;
  ChangeRecord record_;
  CleanUp cleanUp_;
  Restore restore_;
  Settings settings_;
  std::wstring windowsFolder_;
  Findings findings_;
  std::function<void(const std::vector<std::wstring>&)> signaturesRefused_;
  bool watchingSignatures_ = false;
  std::optional<platform::FileStamp> signatureStamp_;  // none: missing when last read
  std::string refusedSha256_;  // of the content refused last; empty once one was used
};

}  // namespace quellspur
