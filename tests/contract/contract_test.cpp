// What the program relies on from Windows, held against whichever machine this build runs on:
// Windows itself (or Wine), or the simulated machine of the host tests. Both builds run these same
// cases, so the simulation cannot drift from the real calls unnoticed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "contract_support.h"
#include "platform/change_rights.h"
#include "platform/os.h"
#include "platform/owners.h"
#include "platform/text.h"
#include "scan/process_list.h"

namespace quellspur::contract {
namespace {

using platform::EnumeratedValue;
using platform::Handle;
using platform::kErrorAccessDenied;
using platform::kErrorFileNotFound;
using platform::kErrorMoreData;
using platform::kErrorNoMoreItems;
using platform::kErrorSuccess;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::kKeyAllButDelete;
using platform::kProcessAllAccess;
using platform::kProcessQueryAndRead;
using platform::kRegBinary;
using platform::kRegDword;
using platform::kRegSz;
using platform::kStillActive;
using platform::ProcessEntry;
using platform::RegKey;
using platform::Status;
using platform::StringData;

// The program's buffers for one value of a start-up key: 100 characters of name, and 200
// characters of UTF-16 text, which bound other data to the same 400 bytes.
constexpr std::uint32_t kNameChars = 100;
constexpr std::uint32_t kDataBytes = 400;

const std::wstring kTestKey = L"Software\\Orvanta\\QuellspurContract";

// --- Registry ---

class RegistryContract : public ::testing::Test {
 protected:
  void SetUp() override { env_.DeleteKeyTree(kHkeyCurrentUser, kTestKey); }

  void TearDown() override {
    for (RegKey key : open_) {
      EXPECT_EQ(os_.RegCloseKey(key), kErrorSuccess);
    }
    env_.DeleteKeyTree(kHkeyCurrentUser, kTestKey);
  }

  static std::wstring PathOf(const std::wstring& below) {
    return below.empty() ? kTestKey : kTestKey + L"\\" + below;
  }

  // Creates or opens a key below the test key; it stays open until the test ends.
  RegKey CreateKey(const std::wstring& below) {
    RegKey key = 0;
    EXPECT_EQ(os_.RegCreateKeyExW(kHkeyCurrentUser, PathOf(below), kKeyAllButDelete, key),
              kErrorSuccess)
        << "creating " << testing::PrintToString(below);
    return Kept(key);
  }

  // Opens an existing key with the program's access mask.
  RegKey OpenKey(const std::wstring& below) {
    RegKey key = 0;
    EXPECT_EQ(os_.RegOpenKeyExW(kHkeyCurrentUser, PathOf(below), 0, kKeyAllButDelete, key),
              kErrorSuccess)
        << "opening " << testing::PrintToString(below);
    return Kept(key);
  }

  void Set(RegKey key, const std::wstring& name, std::uint32_t type, const std::string& data) {
    EXPECT_EQ(os_.RegSetValueExW(key, name, type, data), kErrorSuccess)
        << "writing " << testing::PrintToString(name);
  }

  // Reads the values from index 0 on, as the program's key walk does, until a read fails; gives
  // the status that ended the walk.
  Status Walk(RegKey key, std::vector<EnumeratedValue>& values) {
    constexpr std::uint32_t kRunaway = 64;
    for (std::uint32_t index = 0; index < kRunaway; ++index) {
      EnumeratedValue value;
      const Status status = os_.RegEnumValueW(key, index, kNameChars, kDataBytes, value);
      if (status != kErrorSuccess) {
        return status;
      }
      values.push_back(value);
    }
    ADD_FAILURE() << "the walk did not end";
    return kErrorSuccess;
  }

  Environment& env_ = TheEnvironment();
  platform::Os& os_ = env_.os();

 private:
  RegKey Kept(RegKey key) {
    if (key != 0) {
      open_.push_back(key);
    }
    return key;
  }

  std::vector<RegKey> open_;
};

TEST_F(RegistryContract, MissingKeysCannotBeOpenedAndLeaveNoHandle) {
  for (const bool parentExists : {false, true}) {
    if (parentExists) {
      CreateKey(L"");
    }
    for (const RegKey root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
      RegKey key = 0x1234;
      EXPECT_EQ(os_.RegOpenKeyExW(root, PathOf(L"Missing"), 0, kKeyAllButDelete, key),
                kErrorFileNotFound)
          << parentExists << " " << root;
      EXPECT_EQ(key, 0u);
    }
  }
}

// A name outside the ANSI code page is a value of its own, never its look-alike.
TEST_F(RegistryContract, ValuesComeBackWithTheirTypeAndExactBytesUntilDeleted) {
  const std::map<std::wstring, std::pair<std::uint32_t, std::string>> written = {
      {L"Command", {kRegSz, StringData(L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE /boot")}},
      {L"Blob", {kRegBinary, std::string("\0\x01\xFF\0\xE9", 5)}},
      {L"Number", {kRegDword, std::string("\x2A\0\0\0", 4)}},
      {L"\u0108", {kRegSz, StringData(L"C:\\q\\\u0108at.exe")}},
      {L"C", {kRegSz, StringData(L"C:\\q\\Cat.exe")}},
  };
  const RegKey key = CreateKey(L"Run");
  for (const auto& [name, value] : written) {
    Set(key, name, value.first, value.second);
  }
  Set(key, L"Command", kRegSz, written.at(L"Command").second);  // written again: replaced

  std::vector<EnumeratedValue> values;
  const RegKey reopened = OpenKey(L"Run");
  EXPECT_EQ(Walk(reopened, values), kErrorNoMoreItems);
  std::map<std::wstring, std::pair<std::uint32_t, std::string>> read;
  for (const EnumeratedValue& value : values) {
    read[value.name] = {value.type, value.data};
  }
  EXPECT_EQ(values.size(), 5u);
  EXPECT_EQ(read, written);
  EnumeratedValue beyond;
  EXPECT_EQ(os_.RegEnumValueW(reopened, 40, kNameChars, kDataBytes, beyond), kErrorNoMoreItems);

  EXPECT_EQ(os_.RegDeleteValueW(key, L"Command"), kErrorSuccess);
  EXPECT_EQ(os_.RegDeleteValueW(key, L"Command"), kErrorFileNotFound);
  EXPECT_EQ(os_.RegDeleteValueW(key, L"Blob"), kErrorSuccess);
  EXPECT_EQ(os_.RegDeleteValueW(key, L"Number"), kErrorSuccess);
  EXPECT_EQ(os_.RegDeleteValueW(key, L"\u0108"), kErrorSuccess);
  values.clear();
  EXPECT_EQ(Walk(key, values), kErrorNoMoreItems);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, L"C");
  EXPECT_EQ(os_.RegDeleteValueW(key, L"C"), kErrorSuccess);
  EXPECT_EQ(os_.RegEnumValueW(key, 0, kNameChars, kDataBytes, beyond), kErrorNoMoreItems);
}

TEST_F(RegistryContract, QueryDeliversOneValueByNameWithinItsBuffer) {
  const RegKey key = CreateKey(L"Settings");
  Set(key, L"AutoCheck", kRegSz, StringData(L" 1"));
  Set(key, L"\u0416uk", kRegSz, StringData(L"\u0108"));
  Set(key, L"?uk", kRegSz, StringData(L"look-alike"));
  Set(key, L"Number", kRegDword, std::string("\x00\x01\x00\x00", 4));
  Set(key, L"Large", kRegBinary, std::string(1025, 'L'));
  Set(key, L"Full", kRegBinary, std::string(1024, 'F'));

  std::uint32_t type = 0;
  std::string data;
  EXPECT_EQ(os_.RegQueryValueExW(key, L"autocheck", 1024, type, data), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, StringData(L" 1"));
  EXPECT_EQ(os_.RegQueryValueExW(key, L"\u0416UK", 1024, type, data), kErrorSuccess);
  EXPECT_EQ(data, StringData(L"\u0108"));
  EXPECT_EQ(os_.RegQueryValueExW(key, L"Number", 1024, type, data), kErrorSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(data, std::string("\x00\x01\x00\x00", 4));
  EXPECT_EQ(os_.RegQueryValueExW(key, L"Full", 1024, type, data), kErrorSuccess);
  EXPECT_EQ(data, std::string(1024, 'F'));
  EXPECT_EQ(os_.RegQueryValueExW(key, L"Large", 1024, type, data), kErrorMoreData);
  EXPECT_EQ(os_.RegQueryValueExW(key, L"Missing", 1024, type, data), kErrorFileNotFound);
}

// The walk of the start keys asks only for the rights to read them: it reads, and changes nothing.
TEST_F(RegistryContract, AKeyOpenedToReadIsReadButNotChanged) {
  Set(CreateKey(L"Run"), L"Start", kRegSz, StringData(L"PATCH.EXE"));
  RegKey key = 0;
  ASSERT_EQ(os_.RegOpenKeyExW(kHkeyCurrentUser, PathOf(L"Run"), 0, platform::kKeyRead, key),
            kErrorSuccess);
  std::vector<EnumeratedValue> values;
  EXPECT_EQ(Walk(key, values), kErrorNoMoreItems);
  EXPECT_EQ(values.size(), 1u);
  EXPECT_EQ(os_.RegSetValueExW(key, L"Start", kRegSz, StringData(L"X")),
            platform::kErrorAccessDenied);
  EXPECT_EQ(os_.RegDeleteValueW(key, L"Start"), platform::kErrorAccessDenied);
  EXPECT_EQ(os_.RegCloseKey(key), kErrorSuccess);
}

TEST_F(RegistryContract, CreatingMakesTheKeysAboveAndKeepsWhatExists) {
  Set(CreateKey(L"Outer\\Inner"), L"Kept", kRegSz, StringData(L"yes"));

  std::vector<EnumeratedValue> outer;
  EXPECT_EQ(Walk(OpenKey(L"Outer"), outer), kErrorNoMoreItems);
  EXPECT_TRUE(outer.empty());

  std::vector<EnumeratedValue> inner;
  EXPECT_EQ(Walk(CreateKey(L"Outer\\Inner"), inner), kErrorNoMoreItems);
  ASSERT_EQ(inner.size(), 1u);
  EXPECT_EQ(inner[0].name, L"Kept");
  EXPECT_EQ(inner[0].data, StringData(L"yes"));
}

// Each value alone in a key, read through the program's buffers: the name must leave room for its
// zero and the data must fit, text with its zero. Windows adds the zero that a text written
// without one lacks, as long as the character behind the written data is a zero (always so for the
// boundary's data), and the added zero counts towards the buffer.
TEST_F(RegistryContract, AValueFitsTheProgramsBuffersOrReportsMoreData) {
  struct Case {
    const wchar_t* key;
    std::wstring name;
    std::uint32_t type;
    std::string written;
    Status status;
    std::string read;
  };
  const std::string bytes(kDataBytes, '\xB0');
  const std::wstring text(kDataBytes / 2 - 1, L'T');
  const std::wstring command = L"C:\\WINDOWS\\SYSTEM\\PATCH.EXE";
  const std::wstring inner(L"ab\0cd", 5);
  const Case cases[] = {
      // Names are counted in characters, whatever their code.
      {L"NameFits", std::wstring(kNameChars - 1, L'\u0416'), kRegSz, StringData(L"x"),
       kErrorSuccess, StringData(L"x")},
      {L"NameTooLong", std::wstring(kNameChars, L'N'), kRegSz, StringData(L"x"), kErrorMoreData,
       ""},
      {L"Binary400", L"V", kRegBinary, bytes, kErrorSuccess, bytes},
      {L"Binary401", L"V", kRegBinary, bytes + '\xB0', kErrorMoreData, ""},
      {L"Text199", L"V", kRegSz, StringData(text), kErrorSuccess, StringData(text)},
      {L"Text200", L"V", kRegSz, StringData(text + L"T"), kErrorMoreData, ""},
      {L"Bare", L"V", kRegSz, ToUtf16Le(command), kErrorSuccess, StringData(command)},
      {L"Inner", L"V", kRegSz, ToUtf16Le(inner), kErrorSuccess, StringData(inner)},
      {L"Empty", L"V", kRegSz, "", kErrorSuccess, ""},
      {L"Bare200", L"V", kRegSz, ToUtf16Le(text + L"T"), kErrorMoreData, ""},
      // Names and text cross exactly, in the ANSI code page or outside it.
      {L"Caf\u00e9", L"\u0108", kRegSz, StringData(L"\u0416uk \u00e9t\u00e9 \u20ac"), kErrorSuccess,
       StringData(L"\u0416uk \u00e9t\u00e9 \u20ac")},
  };
  for (const Case& want : cases) {
    SCOPED_TRACE(want.key);
    Set(CreateKey(want.key), want.name, want.type, want.written);
    EnumeratedValue value;
    const Status status = os_.RegEnumValueW(OpenKey(want.key), 0, kNameChars, kDataBytes, value);
    EXPECT_EQ(status, want.status);
    if (status == kErrorSuccess && want.status == kErrorSuccess) {
      EXPECT_EQ(value.name, want.name);
      EXPECT_EQ(value.type, want.type);
      EXPECT_EQ(value.data, want.read);
    }
  }
}

// On 64-bit Windows (the test prefix is one) the machine's software key has a view for 64-bit and
// one for 32-bit programs; a 32-bit program's own is the 32-bit one, kept under WOW6432Node.
TEST_F(RegistryContract, TheMachinesSoftwareKeyHasAViewForEachKindOfProgram) {
  const std::wstring native = L"Software\\Orvanta\\QuellspurContractView";
  const std::wstring wow64 = L"Software\\WOW6432Node\\Orvanta\\QuellspurContractView";
  const auto clear = [&] {
    env_.DeleteKeyTree(kHkeyLocalMachine, native);
    env_.DeleteKeyTree(kHkeyLocalMachine, wow64);
  };
  clear();
  ASSERT_TRUE(os_.Is64BitWindows());
  struct Step {
    const std::wstring& key;
    std::uint32_t view;
    const wchar_t* text;
  };
  constexpr std::uint32_t k64 = platform::kKeyWow64_64Key, k32 = platform::kKeyWow64_32Key;
  for (const Step& write : {Step{native, k64, L"64"}, Step{native, k32, L"32"}}) {
    RegKey key = 0;
    ASSERT_EQ(os_.RegCreateKeyExW(kHkeyLocalMachine, write.key, kKeyAllButDelete | write.view, key),
              kErrorSuccess);
    EXPECT_EQ(os_.RegSetValueExW(key, L"View", kRegSz, StringData(write.text)), kErrorSuccess);
    EXPECT_EQ(os_.RegCloseKey(key), kErrorSuccess);
  }
  // Through the 64-bit view each value under its real path; the own view is the program's.
  const wchar_t* const own = env_.ProgramIs64Bit() ? L"64" : L"32";
  for (const Step& read : {Step{native, k64, L"64"}, Step{wow64, k64, L"32"},
                           Step{native, k32, L"32"}, Step{native, 0, own}}) {
    RegKey key = 0;
    ASSERT_EQ(os_.RegOpenKeyExW(kHkeyLocalMachine, read.key, 0, kKeyAllButDelete | read.view, key),
              kErrorSuccess);
    std::uint32_t type = 0;
    std::string data;
    EXPECT_EQ(os_.RegQueryValueExW(key, L"View", kDataBytes, type, data), kErrorSuccess);
    EXPECT_EQ(data, StringData(read.text)) << read.view;
    EXPECT_EQ(os_.RegCloseKey(key), kErrorSuccess);
  }
  clear();
}

// --- Processes ---

// The whole process list, walked as the program walks it; the snapshot is closed again.
std::vector<ProcessEntry> ListProcesses(platform::Os& os) {
  std::vector<ProcessEntry> entries;
  const Handle snapshot = os.CreateToolhelp32Snapshot(platform::kSnapProcess, 0);
  EXPECT_NE(snapshot, 0u);
  ProcessEntry entry;
  for (bool more = snapshot != 0 && os.Process32FirstW(snapshot, entry);
       more && entries.size() < 10000; more = os.Process32NextW(snapshot, entry)) {
    entries.push_back(entry);
  }
  EXPECT_EQ(os.GetLastError(), platform::kErrorNoMoreFiles);  // the walk's end, not a failure
  EXPECT_TRUE(snapshot == 0 || os.CloseHandle(snapshot));
  return entries;
}

TEST(ProcessContract, ThisProcessIsListedOnceWithTheModulePathOfItsProgramFolder) {
  platform::Os& os = TheEnvironment().os();
  const std::uint32_t selfId = os.GetCurrentProcessId();
  std::set<std::uint32_t> ids;
  const ProcessEntry* self = nullptr;
  const std::vector<ProcessEntry> list = ListProcesses(os);
  for (const ProcessEntry& entry : list) {
    EXPECT_TRUE(ids.insert(entry.processId).second) << "process " << entry.processId << " twice";
    self = entry.processId == selfId ? &entry : self;
  }
  ASSERT_NE(self, nullptr);
  EXPECT_NE(self->parentProcessId, self->processId);
  // The parent may have ended, and under Wine a program started from outside has parent 0: the
  // program copes with a parent that is not listed, so only record what this system shows.
  RecordProperty("parent_id", static_cast<int>(self->parentProcessId));
  RecordProperty("parent_listed", ids.contains(self->parentProcessId) ? 1 : 0);

  EXPECT_EQ(os.OpenProcess(kProcessQueryAndRead, false, 0), 0u);
  EXPECT_EQ(os.GetLastError(), platform::kErrorInvalidParameter);
  const platform::UniqueHandle process(os, os.OpenProcess(kProcessQueryAndRead, false, selfId));
  ASSERT_TRUE(process);
  std::wstring path = L"stale";
  const std::uint32_t count = os.GetModuleFileNameExW(process.get(), 250, path);
  EXPECT_EQ(count, path.size());
  EXPECT_GT(count, 5u);
  EXPECT_LT(count, 250u);
  EXPECT_EQ(UpperCase(FileNameOf(path)), UpperCase(FileNameOf(self->exeFile)));
  EXPECT_EQ(UpperCase(os.GetProgramFolder() + L"\\" + FileNameOf(path)), UpperCase(path));
  EXPECT_EQ(UpperCase(os.GetProgramExeName() + L".EXE"), UpperCase(FileNameOf(path)));
  std::wstring image;
  EXPECT_TRUE(os.QueryFullProcessImageNameW(process.get(), image));
  EXPECT_EQ(UpperCase(image), UpperCase(path));
  // Cut to a small buffer, the last place holds the zero, yet the count names the whole buffer.
  std::wstring cut;
  EXPECT_EQ(os.GetModuleFileNameExW(process.get(), 5, cut), 5u);
  EXPECT_EQ(cut, path.substr(0, 4));

  path = L"stale";
  EXPECT_EQ(os.GetModuleFileNameExW(0, 250, path), 0u);
  EXPECT_EQ(path, L"");
}

// The exit code once the process has ended, waiting a bounded time for it.
std::uint32_t ExitCodeOnceEnded(Environment& env, Handle process) {
  std::uint32_t code = kStillActive;
  for (int attempt = 0; attempt < 250 && code == kStillActive; ++attempt) {
    EXPECT_TRUE(env.os().GetExitCodeProcess(process, code));
    if (code == kStillActive) {
      env.Pause();
    }
  }
  return code;
}

TEST(ProcessContract, ATerminatedChildReportsItsExitCodeLeavesTheListAndStillOpensWhileHeld) {
  Environment& env = TheEnvironment();
  platform::Os& os = env.os();
  const std::uint32_t child = env.StartChild();
  {
    const platform::UniqueHandle process(os, os.OpenProcess(kProcessAllAccess, false, child));
    ASSERT_TRUE(process);
    std::uint32_t code = 0;
    EXPECT_TRUE(os.GetExitCodeProcess(process.get(), code));
    EXPECT_EQ(code, kStillActive);
    // Its name outside the ANSI code page comes back exactly, in the list and in its path; a
    // process that has only just started may name no module yet.
    EXPECT_EQ(FileNameOf(FindProcessEntry(os, child).value_or(ProcessEntry{}).exeFile),
              kChildFileName);
    std::wstring path;
    for (int attempt = 0; attempt < 250 && os.GetModuleFileNameExW(process.get(), 250, path) == 0;
         ++attempt) {
      env.Pause();
    }
    EXPECT_EQ(FileNameOf(path), kChildFileName);
    // A running executable is read for its digest, as the quarantine does before copying it.
    std::string digest;
    EXPECT_TRUE(os.FileSha256(path, digest));
    EXPECT_EQ(digest.size(), 64u);
    // But it can be neither written nor deleted while it runs.
    EXPECT_FALSE(os.WriteWholeFile(path, "x"));
    EXPECT_EQ(os.GetLastError(), platform::kErrorSharingViolation);
    EXPECT_FALSE(os.DeleteFileW(path));
    EXPECT_EQ(os.GetLastError(), kErrorAccessDenied);

    EXPECT_TRUE(os.TerminateProcess(process.get(), 200));
    EXPECT_EQ(ExitCodeOnceEnded(env, process.get()), 200u);
    EXPECT_FALSE(FindProcessEntry(os, child).has_value());
  }
  // The environment still holds the child, as the program that started it would: it opens again,
  // tells its exit code, and names no module.
  {
    const platform::UniqueHandle held(os, os.OpenProcess(kProcessQueryAndRead, false, child));
    ASSERT_TRUE(held);
    std::wstring path = L"untouched";
    EXPECT_EQ(os.GetModuleFileNameExW(held.get(), 250, path), 0u);
    // Its image keeps its name, though.
    EXPECT_TRUE(os.QueryFullProcessImageNameW(held.get(), path));
    EXPECT_EQ(FileNameOf(path), kChildFileName);
    std::uint32_t code = 0;
    EXPECT_TRUE(os.GetExitCodeProcess(held.get(), code));
    EXPECT_EQ(code, 200u);
  }
  env.ReleaseChild();
}

// --- Windows ---

TEST(WindowContract, AWindowIsFoundByClassCaptionOrBothAndNamesItsProcess) {
  Environment& env = TheEnvironment();
  platform::Os& os = env.os();
  const std::wstring windowClass = L"QuellspurContractClass";
  // A caption outside the ANSI code page is found by itself only, never by its look-alike.
  const std::wstring caption = L"Quellspur contract \u0108aption";
  const platform::WindowHandle window = env.ShowTestWindow(windowClass, caption);

  EXPECT_EQ(os.FindWindowW(windowClass, caption), window);
  EXPECT_EQ(os.FindWindowW(std::nullopt, caption), window);
  EXPECT_EQ(os.FindWindowW(windowClass, std::nullopt), window);
  // Neither class nor caption is compared with regard to case.
  EXPECT_EQ(os.FindWindowW(UpperCase(windowClass), UpperCase(caption)), window);
  // A handle that, taken as a signed 32-bit number, is above 0.
  EXPECT_GT(static_cast<std::int32_t>(window), 0);
  std::uint32_t owner = 0;
  EXPECT_NE(os.GetWindowThreadProcessId(window, owner), 0u);
  EXPECT_EQ(owner, os.GetCurrentProcessId());

  EXPECT_EQ(os.FindWindowW(windowClass, caption + L" 2"), 0u);
  EXPECT_EQ(os.FindWindowW(windowClass, L"Quellspur contract Caption"), 0u);
  EXPECT_EQ(os.FindWindowW(L"QuellspurNoSuchClass", caption), 0u);
  EXPECT_EQ(os.FindWindowW(L"QuellspurNoSuchClass", std::nullopt), 0u);
  env.CloseTestWindow(window);
  EXPECT_EQ(os.FindWindowW(windowClass, caption), 0u);
}

// --- Files ---

class FileContract : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::wstring& path : made_) {
      os_.SetFileAttributesW(path, platform::kAttributeArchive);
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

// A 32-bit program on 64-bit Windows (the test prefix) reaches the Windows folder's real System32,
// not the SysWOW64 that Windows would redirect it to.
TEST_F(FileContract, TheWindowsFoldersSystem32IsTheRealOne) {
  std::wstring windows;
  ASSERT_GT(os_.GetWindowsDirectoryW(260, windows), 0u);
  for (const auto& [folder, bytes] :
       {std::pair{L"\\System32\\", "real"}, std::pair{L"\\SysWOW64\\", "32-bit"}}) {
    made_.push_back(windows + folder + L"quellspur_contract.txt");
    env_.WriteFile(made_.back(), bytes);
  }
  EXPECT_EQ(Content(made_[0]), "real");
  EXPECT_EQ(Content(made_[1]), "32-bit");
}

// A copy replaces a file unless told not to, or the file is read-only (as a read-only file's new
// copy is) or a folder, which are not written or deleted either; the look-alike "Cat.exe" stays.
TEST_F(FileContract, CopyReplacesWhatIsNeitherReadOnlyNorAFolder) {
  const std::wstring source = Scratch(L"\u0108at.exe");
  const std::wstring copy = Scratch(L"\u0108at.exe.Backdoor");
  const std::wstring lookAlike = Scratch(L"Cat.exe");
  const std::wstring folder = env_.ScratchFolder() + L"Folder.exe";
  env_.WriteFile(source, "image");
  env_.WriteFile(lookAlike, "innocent");
  ASSERT_TRUE(os_.CreateDirectoryW(folder));

  EXPECT_FALSE(os_.CopyFileW(source, lookAlike, true));
  EXPECT_TRUE(os_.SetFileAttributesW(source, platform::kAttributeReadOnly));
  EXPECT_TRUE(os_.CopyFileW(source, copy, true));
  for (const std::wstring& path : {source, copy, folder}) {
    SCOPED_TRACE(testing::PrintToString(path));
    EXPECT_FALSE(os_.CopyFileW(lookAlike, path, false));
    EXPECT_FALSE(os_.AppendToFile(path, "+"));
    EXPECT_FALSE(os_.WriteWholeFile(path, "x"));
    EXPECT_FALSE(os_.DeleteFileW(path));
    EXPECT_EQ(Content(path), path == folder ? "" : "image");
  }
  std::string bytes;
  EXPECT_FALSE(os_.ReadFileAt(folder, 0, 10, bytes));
  EXPECT_FALSE(os_.MoveFileExW(lookAlike, folder));
  EXPECT_FALSE(os_.CopyFileW(folder, Scratch(L"Missing.exe"), false));
  env_.RemoveFolder(folder);
  EXPECT_TRUE(os_.SetFileAttributesW(copy, platform::kAttributeArchive));
  EXPECT_TRUE(os_.CopyFileW(lookAlike, copy, false));
  EXPECT_EQ(Content(copy), "innocent");
  // Hidden and system files are deleted like any other.
  EXPECT_TRUE(
      os_.SetFileAttributesW(source, platform::kAttributeHidden | platform::kAttributeSystem));
  EXPECT_TRUE(os_.DeleteFileW(source));
  EXPECT_TRUE(os_.DeleteFileW(copy));
  std::uint64_t length = 0;
  EXPECT_FALSE(os_.GetFileLength(copy, length));
  EXPECT_FALSE(os_.SetFileAttributesW(Scratch(L"Missing.exe"), platform::kAttributeArchive));
  EXPECT_EQ(Content(lookAlike), "innocent");
}

// Why a file call failed, as GetLastError tells it right after.
TEST_F(FileContract, AFailedCallLeavesItsReasonForGetLastError) {
  const std::wstring present = Scratch(L"Present.exe");
  const std::wstring other = Scratch(L"Other.exe");
  const std::wstring missing = Scratch(L"Missing.exe");
  const std::wstring inMissingFolder = env_.ScratchFolder() + L"NoFolder\\Missing.exe";
  const std::wstring folder = env_.ScratchFolder() + L"Made";
  env_.WriteFile(present, "image");
  env_.WriteFile(other, "other");
  const auto reason = [&](bool succeeded) {
    EXPECT_FALSE(succeeded);
    return os_.GetLastError();
  };
  std::uint64_t length = 0;
  EXPECT_EQ(reason(os_.DeleteFileW(missing)), kErrorFileNotFound);
  EXPECT_EQ(reason(os_.GetFileLength(missing, length)), kErrorFileNotFound);
  EXPECT_EQ(reason(os_.CopyFileW(missing, Scratch(L"Copy.exe"), false)), kErrorFileNotFound);
  EXPECT_EQ(reason(os_.DeleteFileW(inMissingFolder)), platform::kErrorPathNotFound);
  EXPECT_EQ(reason(os_.AppendToFile(inMissingFolder, "lost")), platform::kErrorPathNotFound);
  EXPECT_EQ(reason(os_.CopyFileW(present, other, true)), platform::kErrorFileExists);
  EXPECT_EQ(Content(other), "other");
  ASSERT_TRUE(os_.CreateDirectoryW(folder));
  EXPECT_EQ(reason(os_.CreateDirectoryW(folder)), platform::kErrorAlreadyExists);
  EXPECT_EQ(reason(os_.CreateDirectoryW(folder + L"\\Inner\\Made")), platform::kErrorPathNotFound);
  env_.RemoveFolder(folder);
  ASSERT_TRUE(os_.SetFileAttributesW(present, platform::kAttributeReadOnly));
  EXPECT_EQ(reason(os_.DeleteFileW(present)), kErrorAccessDenied);
  EXPECT_EQ(Content(present), "image");
}

TEST_F(FileContract, AppendingCreatesTheFileThenWritesAtItsEnd) {
  const std::wstring path = Scratch(L"Appended.txt");
  EXPECT_TRUE(os_.AppendToFile(path, "first\r\n"));
  EXPECT_TRUE(os_.AppendToFile(path, std::string("zero\0byte\r\n", 11)));
  EXPECT_EQ(Content(path), std::string("first\r\nzero\0byte\r\n", 18));

  env_.WriteFile(path, "replaced");
  EXPECT_TRUE(os_.AppendToFile(path, "+"));
  EXPECT_EQ(Content(path), "replaced+");
}

// Another program locks all of a file's bytes, the writers' lock among them. The append that may
// give up waits no longer than it is told and writes nothing; the plain one waits about a second,
// then writes without the lock where the system lets it (Wine does, Windows would refuse) and says
// whether it did. Once the lock goes, both append at once.
TEST_F(FileContract, AnAppendWaitsForAnotherProgramsLockOnlyAsLongAsItIsTold) {
  const std::wstring path = Scratch(L"Locked.txt");
  env_.WriteFile(path, "kept\r\n");
  std::uint64_t waited = 0;
  Status status = kErrorSuccess;
  const auto append = [&](const std::string& line, std::optional<std::uint32_t> wait) {
    const std::uint64_t start = os_.SteadyMicroseconds();
    const bool done =
        wait ? os_.AppendToFileUnlessLocked(path, line, *wait) : os_.AppendToFile(path, line);
    status = os_.GetLastError();
    waited = os_.SteadyMicroseconds() - start;
    return done;
  };
  env_.HoldLock(path);
  EXPECT_FALSE(append("early\r\n", 0));
  EXPECT_EQ(status, platform::kErrorLockViolation);
  EXPECT_LT(waited, 100'000u);
  EXPECT_FALSE(append("early\r\n", 300));
  EXPECT_EQ(status, platform::kErrorLockViolation);
  EXPECT_GE(waited, 290'000u);
  EXPECT_LT(waited, 900'000u);
  const bool written = append("record\r\n", std::nullopt);
  EXPECT_GE(waited, 900'000u);
  EXPECT_LT(waited, 3'000'000u);
  env_.ReleaseLock();

  EXPECT_TRUE(append("late\r\n", 0));
  EXPECT_LT(waited, 100'000u);
  EXPECT_TRUE(append("last\r\n", std::nullopt));
  EXPECT_LT(waited, 100'000u);
  EXPECT_EQ(Content(path),
            std::string("kept\r\n") + (written ? "record\r\n" : "") + "late\r\nlast\r\n");
}

TEST_F(FileContract, ANewFileReplacesAnOldOneInOneStep) {
  const std::wstring winIni = Scratch(L"win.ini");
  env_.WriteFile(winIni, "old");
  std::wstring temporary;
  ASSERT_TRUE(os_.GetTempFileNameW(env_.ScratchFolder(), L"ini", temporary));
  made_.push_back(temporary);
  EXPECT_EQ(UpperCase(temporary.substr(0, env_.ScratchFolder().size())),
            UpperCase(env_.ScratchFolder()));
  std::uint64_t length = 99;
  EXPECT_TRUE(os_.GetFileLength(temporary, length));  // it exists, empty
  EXPECT_EQ(length, 0u);
  std::wstring another;
  ASSERT_TRUE(os_.GetTempFileNameW(env_.ScratchFolder(), L"ini", another));
  made_.push_back(another);
  EXPECT_NE(UpperCase(another), UpperCase(temporary));

  EXPECT_TRUE(os_.WriteWholeFile(temporary, "new\r\n"));
  EXPECT_TRUE(os_.WriteWholeFile(temporary, "newer\r\n"));  // written again: emptied first
  EXPECT_TRUE(os_.MoveFileExW(temporary, winIni));
  EXPECT_EQ(Content(winIni), "newer\r\n");
  EXPECT_FALSE(os_.GetFileLength(temporary, length));
  EXPECT_FALSE(os_.MoveFileExW(temporary, winIni));
}

// A move that never replaces: a file, read-only or not, or a folder at the target stays as it is;
// a read-only file (as a quarantine copy may be) moves with its attributes.
TEST_F(FileContract, AMoveWithoutReplacingLeavesWhatStandsAtTheTarget) {
  const std::wstring moving = Scratch(L"\u0108at.exe.quellspur-restore");
  const std::wstring target = Scratch(L"\u0108at.exe");
  const std::wstring folder = env_.ScratchFolder() + L"Folder.exe";
  env_.WriteFile(moving, "whole");
  env_.WriteFile(target, "the user's");
  ASSERT_TRUE(os_.CreateDirectoryW(folder));
  ASSERT_TRUE(os_.SetFileAttributesW(moving, platform::kAttributeReadOnly));

  EXPECT_FALSE(os_.MoveFileW(moving, target));
  EXPECT_EQ(os_.GetLastError(), platform::kErrorAlreadyExists);
  ASSERT_TRUE(os_.SetFileAttributesW(target, platform::kAttributeReadOnly));
  EXPECT_FALSE(os_.MoveFileW(moving, target));
  EXPECT_EQ(os_.GetLastError(), platform::kErrorAlreadyExists);
  EXPECT_EQ(Content(target), "the user's");
  EXPECT_FALSE(os_.MoveFileW(moving, folder));
  EXPECT_EQ(os_.GetLastError(), platform::kErrorAlreadyExists);
  env_.RemoveFolder(folder);
  EXPECT_EQ(Content(moving), "whole");

  ASSERT_TRUE(os_.SetFileAttributesW(target, platform::kAttributeArchive));
  ASSERT_TRUE(os_.DeleteFileW(target));
  EXPECT_TRUE(os_.MoveFileW(UpperCase(moving), target));
  EXPECT_EQ(Content(target), "whole");
  std::vector<std::wstring> names;
  ASSERT_TRUE(os_.ListFiles(env_.ScratchFolder(), names));
  EXPECT_NE(std::find(names.begin(), names.end(), L"\u0108at.exe"), names.end());
  std::uint64_t length = 0;
  EXPECT_FALSE(os_.GetFileLength(moving, length));
  EXPECT_FALSE(os_.MoveFileW(moving, target));
  EXPECT_EQ(os_.GetLastError(), kErrorFileNotFound);
  EXPECT_FALSE(os_.DeleteFileW(target));  // still read-only
  EXPECT_EQ(os_.GetLastError(), kErrorAccessDenied);
}

TEST_F(FileContract, LengthAndBytesFromAnyPositionWhateverTheNamesCase) {
  std::string content;
  for (int i = 0; i < 300; ++i) {
    content.push_back(static_cast<char>(i * 7 % 256));  // every byte value, zero among them
  }
  env_.WriteFile(Scratch(L"Tail.Bin"), content);
  const std::wstring path = env_.ScratchFolder() + L"tAIL.bIN";

  std::uint64_t length = 0;
  ASSERT_TRUE(os_.GetFileLength(UpperCase(path), length));
  EXPECT_EQ(length, 300u);
  const std::pair<std::uint32_t, std::uint32_t> reads[] = {
      {199, 101}, {0, 3}, {250, 101}, {300, 101}, {5000, 101}};
  for (const auto& [position, count] : reads) {
    std::string bytes = "stale";
    EXPECT_TRUE(os_.ReadFileAt(path, position, count, bytes)) << position;
    EXPECT_EQ(bytes, position < 300 ? content.substr(position, count) : "") << position;
  }

  env_.WriteFile(Scratch(L"Empty.bin"), "");
  length = 7;
  ASSERT_TRUE(os_.GetFileLength(env_.ScratchFolder() + L"Empty.bin", length));
  EXPECT_EQ(length, 0u);

  std::string bytes;
  for (const std::wstring& missing :
       {env_.ScratchFolder() + L"Missing.exe", env_.ScratchFolder() + L"NoFolder\\Missing.exe"}) {
    EXPECT_FALSE(os_.GetFileLength(missing, length)) << missing.size();
    EXPECT_FALSE(os_.ReadFileAt(missing, 0, 101, bytes)) << missing.size();
  }
}

// A file's stamp, what the hashes of executables are kept by: its length and a last write time
// that a rename keeps and a rewrite does not set back; a folder or a missing file has none.
TEST_F(FileContract, AStampTellsTheLengthAndLastWriteAndARenameKeepsIt) {
  const std::wstring path = Scratch(L"Stamped.exe");
  const std::wstring renamed = Scratch(L"Renamed.exe");
  env_.WriteFile(path, std::string(1000, 'x'));
  platform::FileStamp first;
  ASSERT_TRUE(os_.GetFileAttributesExW(UpperCase(path), first));
  EXPECT_EQ(first.length, 1000u);
  EXPECT_NE(first.lastWriteTime, 0u);

  env_.WriteFile(path, std::string(1001, 'y'));
  platform::FileStamp rewritten;
  ASSERT_TRUE(os_.GetFileAttributesExW(path, rewritten));
  EXPECT_EQ(rewritten.length, 1001u);
  EXPECT_GE(rewritten.lastWriteTime, first.lastWriteTime);

  ASSERT_TRUE(os_.MoveFileW(path, renamed));
  platform::FileStamp moved;
  ASSERT_TRUE(os_.GetFileAttributesExW(renamed, moved));
  EXPECT_EQ(moved, rewritten);

  platform::FileStamp none{7, 7};
  EXPECT_FALSE(os_.GetFileAttributesExW(path, none));
  EXPECT_EQ(os_.GetLastError(), kErrorFileNotFound);
  EXPECT_EQ(none, platform::FileStamp{});
  const std::wstring folder = env_.ScratchFolder();
  EXPECT_FALSE(os_.GetFileAttributesExW(folder.substr(0, folder.size() - 1), none));
  EXPECT_EQ(os_.GetLastError(), kErrorAccessDenied);
}

// The digest of a file's bytes, against known answers: none, a few, the lengths around the end of
// the last block's room, and 1 MiB of every byte value, read in many pieces.
TEST_F(FileContract, AFilesSha256IsThatOfItsBytes) {
  std::string everyByte;
  for (int i = 0; i < 4096 * 256; ++i) {
    everyByte.push_back(static_cast<char>(i));
  }
  const std::pair<std::string, std::string> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {everyByte, "fbbab289f7f94b25736c58be46a994c441fd02552cc6022352e3d86d2fab7c83"},
  };
  const std::wstring path = Scratch(L"\u0108at.exe");
  for (const auto& [bytes, digest] : cases) {
    env_.WriteFile(path, bytes);
    std::string hex = "stale";
    EXPECT_TRUE(os_.FileSha256(path, hex)) << bytes.size();
    EXPECT_EQ(hex, digest) << bytes.size();
  }
  std::string hex;
  EXPECT_FALSE(os_.FileSha256(Scratch(L"Missing.exe"), hex));
  EXPECT_FALSE(os_.FileSha256(env_.ScratchFolder(), hex));
}

// A folder's listing names the files right in it as they are named, and no folder.
TEST_F(FileContract, AListingNamesTheFilesDirectlyInAFolder) {
  const std::wstring folder = env_.ScratchFolder() + L"Listed";
  ASSERT_TRUE(os_.CreateDirectoryW(folder));
  std::vector<std::wstring> names = {L"stale"};
  EXPECT_TRUE(os_.ListFiles(folder, names));
  EXPECT_TRUE(names.empty());
  ASSERT_TRUE(os_.CreateDirectoryW(folder + L"\\Inner.Backdoor"));
  for (const wchar_t* name : {L"Listed\\\u0108at.exe.Backdoor", L"Listed\\Cat.exe.2.Backdoor",
                              L"Listed\\Inner.Backdoor\\Deep.Backdoor"}) {
    env_.WriteFile(Scratch(name), "x");
  }

  EXPECT_TRUE(os_.ListFiles(folder, names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Cat.exe.2.Backdoor", L"\u0108at.exe.Backdoor"}));
  EXPECT_FALSE(os_.ListFiles(folder + L"\\Missing", names));
  EXPECT_TRUE(names.empty());
  EXPECT_FALSE(os_.ListFiles(made_.back(), names));
  for (const std::wstring& file : made_) {
    env_.RemoveFile(file);
  }
  env_.RemoveFolder(folder + L"\\Inner.Backdoor");
  env_.RemoveFolder(folder);
}

// --- Owners and access lists ---

// Wine keeps nothing of the owner and access list a folder is created with: like every file and
// folder of its prefix, the folder belongs to the user, SYSTEM and the user may do everything,
// and so the program's question finds that others than the administrators can change it.
// Windows keeps them as given.
TEST_F(FileContract, AFolderMadeForTheAdministratorsIsTheUsersOwnUnderWine) {
  using platform::AccessEntry;
  using platform::AccessList;
  constexpr std::uint32_t kDown = platform::kObjectInherit | platform::kContainerInherit;
  bool elevated = false;
  ASSERT_TRUE(os_.CheckTokenMembership(platform::kSidAdministrators, elevated));
  EXPECT_TRUE(elevated);  // Wine's user holds an administrator's rights, the group enabled

  const AccessList administratorsOnly{
      platform::kSidAdministrators,
      true,
      true,
      {{true, kDown, platform::kFileAllAccess, platform::kSidAdministrators},
       {true, kDown, platform::kFileAllAccess, platform::kSidSystem},
       {true, kDown, platform::kFileReadAndExecute, platform::kSidEveryone}}};
  const std::wstring folder = env_.ScratchFolder() + L"Administrators";
  const std::wstring plain = env_.ScratchFolder() + L"Plain";
  const std::wstring file = folder + L"\\Changes.txt";
  ASSERT_TRUE(os_.CreateDirectoryWithAccess(folder, administratorsOnly));
  EXPECT_FALSE(os_.CreateDirectoryWithAccess(folder, administratorsOnly));
  EXPECT_EQ(os_.GetLastError(), platform::kErrorAlreadyExists);
  ASSERT_TRUE(os_.CreateDirectoryW(plain));
  env_.WriteFile(file, "record");

  AccessList made;
  AccessList ordinary;
  AccessList inside;
  ASSERT_EQ(os_.GetNamedSecurityInfoW(folder, made), kErrorSuccess);
  ASSERT_EQ(os_.GetNamedSecurityInfoW(plain, ordinary), kErrorSuccess);
  ASSERT_EQ(os_.GetNamedSecurityInfoW(file, inside), kErrorSuccess);
  EXPECT_EQ(made, ordinary);
  EXPECT_NE(made.owner, platform::kSidAdministrators);
  EXPECT_TRUE(made.owner.starts_with(L"S-1-5-21-")) << os_.WideToAnsi(made.owner);
  const auto holds = [](const AccessList& list, const AccessEntry& entry) {
    return std::ranges::find(list.entries, entry) != list.entries.end();
  };
  EXPECT_TRUE(holds(made, {true, kDown, platform::kFileAllAccess, platform::kSidSystem}));
  EXPECT_TRUE(holds(made, {true, kDown, platform::kFileAllAccess, made.owner}));
  EXPECT_EQ(inside.owner, made.owner);
  EXPECT_TRUE(holds(inside, {true, 0, platform::kFileAllAccess, made.owner}));
  EXPECT_EQ(platform::WhyOthersCanChange(os_, folder), L"it belongs to the account " + made.owner);

  AccessList missing{L"S-1-0-0", false, true, {}};
  EXPECT_EQ(os_.GetNamedSecurityInfoW(folder + L"\\Missing.txt", missing), kErrorFileNotFound);
  EXPECT_EQ(missing, AccessList{});

  env_.RemoveFile(file);
  env_.RemoveFolder(folder);
  env_.RemoveFolder(plain);
}

// --- System ---

TEST(SystemContract, OnlyAVersionRecordOfItsOwnSizeIsFilledIn) {
  platform::OsVersionInfo info;
  info.size = platform::kOsVersionInfoSize;
  ASSERT_TRUE(TheEnvironment().os().GetVersionExW(info));
  EXPECT_EQ(info.platformId, platform::kPlatformNt);
  EXPECT_GE(info.majorVersion, 4u);

  for (std::uint32_t size :
       {0u, 100u, platform::kOsVersionInfoSize - 1, platform::kOsVersionInfoSize + 1}) {
    platform::OsVersionInfo other{size, 7, 8, 9, 10};
    EXPECT_FALSE(TheEnvironment().os().GetVersionExW(other)) << size;
    EXPECT_EQ(other.size, size);
    EXPECT_EQ(other.majorVersion, 7u);
    EXPECT_EQ(other.minorVersion, 8u);
    EXPECT_EQ(other.buildNumber, 9u);
    EXPECT_EQ(other.platformId, 10u);
  }
}

// The local time itself is held against UTC below.
TEST(SystemContract, ClockAndTimeSeparatorAreThoseOfTheLocale) {
  platform::Os& os = TheEnvironment().os();
  EXPECT_EQ(os.GetTimeSeparator(), L":");
  // The steady clock never goes back, and moves on between readings that time passes between.
  std::uint64_t last = os.SteadyMicroseconds();
  for (int count = 0; count < 1000; ++count) {
    const std::uint64_t reading = os.SteadyMicroseconds();
    EXPECT_GE(reading, last);
    last = reading;
  }
  std::uint64_t later = last;
  for (int wait = 0; wait < 100000 && later == last; ++wait) {
    later = os.SteadyMicroseconds();
  }
  EXPECT_GT(later, last);
}

// The bias in effect is what the local clock is ahead of UTC, so a time with it compares with
// times of other zones.
TEST(SystemContract, TheTimeZonesBiasInEffectIsTheClocksLeadOverUtc) {
  platform::Os& os = TheEnvironment().os();
  platform::TimeZoneBias zone;
  const std::uint32_t id = os.GetTimeZoneInformation(zone);
  EXPECT_TRUE(id == platform::kTimeZoneIdUnknown || id == platform::kTimeZoneIdStandard ||
              id == platform::kTimeZoneIdDaylight)
      << id;
  platform::LocalTime local;
  os.GetLocalTime(local);
  const platform::LocalTime utc = TheEnvironment().UtcNow();
  const auto minutes = [](const platform::LocalTime& time) {
    const std::chrono::sys_days day =
        std::chrono::year(time.year) / std::chrono::month(time.month) / std::chrono::day(time.day);
    return static_cast<long>(day.time_since_epoch().count()) * 1440 + time.hour * 60 + time.minute;
  };
  // A minute may begin between the two readings.
  EXPECT_NEAR(minutes(local) - minutes(utc), platform::MinutesAheadOfUtc(id, zone), 1);
}

TEST(SystemContract, AnsiCodePageIsWindows1252) {
  platform::Os& os = TheEnvironment().os();
  // Zeros are characters like any other.
  const std::pair<std::string, std::wstring> both[] = {{"\xE9", L"\u00e9"},
                                                       {"\x80\x9F", L"\u20ac\u0178"},
                                                       {"", L""},
                                                       {std::string("a\0b", 3), {L"a\0b", 3}}};
  for (const auto& [ansi, wide] : both) {
    EXPECT_EQ(os.AnsiToWide(ansi), wide);
    EXPECT_EQ(os.WideToAnsi(wide), ansi);
  }
  // Characters outside the code page become question marks.
  EXPECT_EQ(os.WideToAnsi(L"a\u4e2d"), "a?");

  std::string every;
  for (int byte = 0; byte < 256; ++byte) {
    every.push_back(static_cast<char>(byte));
  }
  const std::wstring wide = os.AnsiToWide(every);
  EXPECT_EQ(wide.size(), every.size());
  EXPECT_EQ(os.WideToAnsi(wide), every);
}

}  // namespace
}  // namespace quellspur::contract
