// The scan engine: probes that look for running backdoors and the registry values that start
// them, and the findings they collect.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/message_pump.h"
#include "platform/os.h"
#include "scan/finding.h"
#include "scan/hash_cache.h"
#include "scan/signature_set.h"
#include "scan/signature_table.h"
#include "scan/start_keys.h"
#include "scan/windows_platform.h"
#include "scan/yield_pacer.h"

namespace quellspur {

// Constant text, not strings: a string made at start-up costs code in every file that sees it.
inline constexpr wchar_t kBackOrifice[] = L"Back Orifice";
inline constexpr wchar_t kUnknownPath[] = L"-unknown-";

class Scanner {
 public:
  Scanner(platform::Os& os, platform::MessagePump& pump) : os_(os), pacer_(os, pump) {}

  // The family of Windows the probes follow; until set, unknown, which they take for Windows 95/98.
  void SetWindowsPlatform(WindowsPlatform platform) { platform_ = platform; }
  WindowsPlatform windowsPlatform() const { return platform_; }

  // The signatures added to the built-in ones; until set, none.
  void UseSignatures(SignatureSet signatures) {
    signatures_ = std::move(signatures);
    runningFiles_.clear();
  }

  // What the probes found, in the order found, since they were last handed over or a scan began.
  const Findings& findings() const { return findings_; }
  // Hands the findings over, leaving none.
  Findings TakeFindings() { return std::exchange(findings_, {}); }

  // One scan from its first probe to its last, beginning with no findings. While it lasts, the
  // start keys and Windows 98's process list are read at the first look and every later look is
  // answered from what was read, and the window system's turns are timed from its start. Outside
  // one every look reads the machine afresh, as a clean-up's look right before it acts must.
  class OneScan {
   public:
    explicit OneScan(Scanner& scanner);
    ~OneScan();
    OneScan(const OneScan&) = delete;
    OneScan& operator=(const OneScan&) = delete;

   private:
    Scanner& scanner_;
  };

  // Looks for every window signature in turn, the built-in ones first, and records each window
  // found; an added signature never finds this program.
  void FindByWindow();
  // A window look-up's class and caption; absent for any.
  struct WindowLookUp {
    std::optional<std::wstring> className;
    std::optional<std::wstring> windowName;
  };
  // The look-up of a signature: an empty class stands for any class, and beside a class an empty
  // caption for any caption.
  static WindowLookUp LookUpOf(std::wstring_view windowClass, std::wstring_view windowCaption);
  // Records the window's process as the named backdoor, with the start entries of its executable.
  void CheckWindow(std::wstring_view backdoorName, const WindowLookUp& lookUp);
  // The parent of a process from the process list; 0 on Windows NT or when it isn't listed.
  std::uint32_t GetParentProcessId(std::uint32_t processId);

  // Adds a start-entry finding of the named backdoor for every value of the three start keys that
  // starts an executable named like `path`, in the order of the keys and their values; true when
  // it added any.
  bool FindStartEntries(const std::wstring& backdoorName, const std::wstring& path);

  // Looks for "Back Orifice" among the running processes; one whose executable can't be read is
  // passed over.
  void FindByProcess();
  // Looks for the files of the hash signatures: among the running processes (this program left
  // out), and among the files the start values start, running or not. Does nothing without hash
  // signatures.
  void FindByHash();
  // The hash signature that lists the file as it is now, its digest kept while its length and
  // last write time stay; nullptr when none does, it can't be read, or the path is not absolute.
  // `read` tells whether the answer came from the file itself rather than from a failure.
  const AddedHashSignature* ListedFile(const std::wstring& path, bool* read);

  // Whether the file's own name stands in its last 101 bytes, in any case.
  bool NameInFileTail(const std::wstring& path);

  // The executable path of a process, "-unknown-" when it can't be found, or "" when Windows NT
  // opens the process but names no executable.
  std::wstring GetProcessPath(std::uint32_t processId);
  // The same for a process the caller holds open: on Windows NT read through that handle, so that
  // it names the very process the handle keeps alive.
  std::wstring GetProcessPath(platform::Handle process, std::uint32_t processId);

 private:
  // Within a scan, what its first look read; outside one, read afresh at each call.
  const std::vector<StartKey>& StartKeys();
  const std::vector<platform::ProcessEntry>& ProcessList();
  bool IsNt() const { return platform_ == WindowsPlatform::Nt; }
  // Adds a process finding; its start entries must be added before.
  void AddProcess(const std::wstring& backdoorName, std::uint32_t processId,
                  const std::wstring& path, const std::wstring& parentPath);
  // Marks the findings from `first` on as an added signature's.
  void MarkAdded(std::size_t first, const std::string& listedSha256);
  // Whether the path names this program's executable.
  bool IsOwnExecutable(std::wstring_view path);
  void FindAddedWindows();
  void FindRunningByHash();
  void FindStartedByHash();

  // A running process as the process list names it. A process runs the same image all its life, so
  // what a scan learnt of its executable holds while the list still names it the same way.
  struct ListedProcess {
    std::uint32_t processId;
    std::uint32_t parentProcessId;
    std::wstring exeFile;
    auto operator<=>(const ListedProcess&) const = default;
  };
  struct RunningFile {
    std::wstring path;
    const AddedHashSignature* signature;
  };

  platform::Os& os_;
  YieldPacer pacer_;
  WindowsPlatform platform_ = WindowsPlatform::Unknown;
  Findings findings_;
  SignatureSet signatures_;
  HashCache hashCache_;
  // The last scan's running processes, so that a repeated scan opens only new ones.
  std::map<ListedProcess, RunningFile> runningFiles_;
  bool withinScan_ = false;
  std::optional<std::vector<StartKey>> startKeys_;
  std::optional<std::vector<platform::ProcessEntry>> processList_;
  // The built-in signatures' look-ups, made at the first scan rather than at every one.
  std::vector<WindowLookUp> builtInLookUps_;
};

}  // namespace quellspur
