// What the program relies on from Windows, held against whichever machine this build runs on:
// Windows itself (or Wine), or the simulated machine of the host tests. Both builds run these same
// cases, so the simulation cannot drift from the real calls unnoticed.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "contract_support.h"
#include "platform/os.h"
#include "platform/text.h"

namespace quellspur::contract {
namespace {

using platform::EnumeratedValue;
using platform::Handle;
using platform::kErrorFileNotFound;
using platform::kErrorMoreData;
using platform::kErrorNoMoreItems;
using platform::kErrorSuccess;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::kKeyAllButDelete;
using platform::kProcessQueryAndRead;
using platform::kRegBinary;
using platform::kRegDword;
using platform::kRegSz;
using platform::ProcessEntry;
using platform::RegKey;
using platform::Status;

// The program's buffers for one value of a start-up key.
constexpr std::uint32_t kNameChars = 100;
constexpr std::uint32_t kDataBytes = 200;

const std::wstring kTestKey = L"Software\\Orvanta\\QuellspurContract";

std::string Bytes(const char* text, std::size_t count) {
  return std::string(text, count);
}

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
    const Status status =
        os_.RegCreateKeyExA(kHkeyCurrentUser, PathOf(below), kKeyAllButDelete, key);
    EXPECT_EQ(status, kErrorSuccess) << "creating " << testing::PrintToString(below);
    EXPECT_NE(key, 0u);
    if (key != 0) {
      open_.push_back(key);
    }
    return key;
  }

  // Opens an existing key with the program's access mask.
  RegKey OpenKey(const std::wstring& below) {
    RegKey key = 0;
    const Status status =
        os_.RegOpenKeyExA(kHkeyCurrentUser, PathOf(below), 0, kKeyAllButDelete, key);
    EXPECT_EQ(status, kErrorSuccess) << "opening " << testing::PrintToString(below);
    if (key != 0) {
      open_.push_back(key);
    }
    return key;
  }

  void Set(RegKey key, const std::wstring& name, std::uint32_t type, const std::string& data) {
    EXPECT_EQ(os_.RegSetValueExA(key, name, type, data), kErrorSuccess)
        << "writing " << testing::PrintToString(name);
  }

  // Reads the values from index 0 on, as the program's key walk does, until a read fails; gives
  // the status that ended the walk.
  Status Walk(RegKey key, std::vector<EnumeratedValue>& values) {
    constexpr std::uint32_t kRunaway = 64;
    for (std::uint32_t index = 0; index < kRunaway; ++index) {
      EnumeratedValue value;
      const Status status = os_.RegEnumValueA(key, index, kNameChars, kDataBytes, value);
      if (status != kErrorSuccess) {
        return status;
      }
      values.push_back(value);
    }
    ADD_FAILURE() << "the walk did not end";
    return kErrorSuccess;
  }

  // The first value of a key that holds just one, through the program's buffers.
  Status ReadSole(const std::wstring& below, EnumeratedValue& value) {
    return os_.RegEnumValueA(OpenKey(below), 0, kNameChars, kDataBytes, value);
  }

  Environment& env_ = TheEnvironment();
  platform::Os& os_ = env_.os();

 private:
  std::vector<RegKey> open_;
};

TEST_F(RegistryContract, MissingKeysCannotBeOpenedAndLeaveNoHandle) {
  RegKey key = 0x1234;
  EXPECT_EQ(os_.RegOpenKeyExA(kHkeyCurrentUser, kTestKey, 0, kKeyAllButDelete, key),
            kErrorFileNotFound);
  EXPECT_EQ(key, 0u);

  CreateKey(L"");
  key = 0x1234;
  EXPECT_EQ(os_.RegOpenKeyExA(kHkeyCurrentUser, PathOf(L"Missing"), 0, kKeyAllButDelete, key),
            kErrorFileNotFound);
  EXPECT_EQ(key, 0u);

  key = 0x1234;
  EXPECT_EQ(os_.RegOpenKeyExA(kHkeyLocalMachine, PathOf(L"Missing"), 0, kKeyAllButDelete, key),
            kErrorFileNotFound);
  EXPECT_EQ(key, 0u);
}

TEST_F(RegistryContract, ValuesComeBackWithTheirTypeAndExactBytes) {
  const RegKey written = CreateKey(L"Run");
  const std::string command = Bytes("C:\\WINDOWS\\SYSTEM\\PATCH.EXE /boot\0", 34);
  const std::string blob = Bytes("\0\x01\xFF\0\xE9", 5);
  const std::string number = Bytes("\x2A\0\0\0", 4);
  Set(written, L"Command", kRegSz, command);
  Set(written, L"Blob", kRegBinary, blob);
  Set(written, L"Number", kRegDword, number);
  Set(written, L"Command", kRegSz, command);  // written again: replaced, not added

  std::vector<EnumeratedValue> values;
  const RegKey reopened = OpenKey(L"Run");
  EXPECT_EQ(Walk(reopened, values), kErrorNoMoreItems);

  std::map<std::wstring, EnumeratedValue> byName;
  for (const EnumeratedValue& value : values) {
    byName[value.name] = value;
  }
  ASSERT_EQ(values.size(), 3u);
  ASSERT_EQ(byName.size(), 3u);
  EXPECT_EQ(byName[L"Command"].type, kRegSz);
  EXPECT_EQ(byName[L"Command"].data, command);
  EXPECT_EQ(byName[L"Blob"].type, kRegBinary);
  EXPECT_EQ(byName[L"Blob"].data, blob);
  EXPECT_EQ(byName[L"Number"].type, kRegDword);
  EXPECT_EQ(byName[L"Number"].data, number);

  EnumeratedValue beyond;
  EXPECT_EQ(os_.RegEnumValueA(reopened, 3, kNameChars, kDataBytes, beyond), kErrorNoMoreItems);
  EXPECT_EQ(os_.RegEnumValueA(reopened, 40, kNameChars, kDataBytes, beyond), kErrorNoMoreItems);
}

TEST_F(RegistryContract, QueryDeliversOneValueByNameWithinItsBuffer) {
  const RegKey key = CreateKey(L"Settings");
  Set(key, L"AutoCheck", kRegSz, " 1");  // stored without its zero, as the settings are
  Set(key, L"Number", kRegDword, Bytes("\x00\x01\x00\x00", 4));
  Set(key, L"Large", kRegBinary, std::string(1025, 'L'));
  Set(key, L"Full", kRegBinary, std::string(1024, 'F'));

  std::uint32_t type = 0;
  std::string data;
  EXPECT_EQ(os_.RegQueryValueExA(key, L"autocheck", 1024, type, data), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data.substr(0, 2), " 1");  // Windows adds the zero it was not given
  EXPECT_EQ(os_.RegQueryValueExA(key, L"Number", 1024, type, data), kErrorSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(data, Bytes("\x00\x01\x00\x00", 4));
  EXPECT_EQ(os_.RegQueryValueExA(key, L"Full", 1024, type, data), kErrorSuccess);
  EXPECT_EQ(data, std::string(1024, 'F'));
  EXPECT_EQ(os_.RegQueryValueExA(key, L"Large", 1024, type, data), kErrorMoreData);
  EXPECT_EQ(os_.RegQueryValueExA(key, L"Missing", 1024, type, data), kErrorFileNotFound);
}

TEST_F(RegistryContract, CreatingMakesTheKeysAboveAndKeepsWhatExists) {
  Set(CreateKey(L"Outer\\Inner"), L"Kept", kRegSz, Bytes("yes\0", 4));

  std::vector<EnumeratedValue> outer;
  EXPECT_EQ(Walk(OpenKey(L"Outer"), outer), kErrorNoMoreItems);
  EXPECT_TRUE(outer.empty());

  std::vector<EnumeratedValue> inner;
  EXPECT_EQ(Walk(CreateKey(L"Outer\\Inner"), inner), kErrorNoMoreItems);
  ASSERT_EQ(inner.size(), 1u);
  EXPECT_EQ(inner[0].name, L"Kept");
  EXPECT_EQ(inner[0].data, Bytes("yes\0", 4));
}

TEST_F(RegistryContract, NameMustLeaveRoomForItsZero) {
  const std::wstring fits(kNameChars - 1, L'N');
  const std::wstring tooLong(kNameChars, L'N');
  Set(CreateKey(L"Fits"), fits, kRegSz, Bytes("x\0", 2));
  Set(CreateKey(L"TooLong"), tooLong, kRegSz, Bytes("x\0", 2));

  EnumeratedValue value;
  ASSERT_EQ(ReadSole(L"Fits", value), kErrorSuccess);
  EXPECT_EQ(value.name, fits);
  EXPECT_EQ(value.data, Bytes("x\0", 2));

  EXPECT_EQ(ReadSole(L"TooLong", value), kErrorMoreData);
}

TEST_F(RegistryContract, DataMustFitTheBuffer) {
  const std::string bytes(kDataBytes, '\xB0');
  Set(CreateKey(L"Binary200"), L"V", kRegBinary, bytes);
  Set(CreateKey(L"Binary201"), L"V", kRegBinary, bytes + '\xB0');
  // Text counts its terminating zero.
  const std::string text(kDataBytes - 1, 'T');
  Set(CreateKey(L"Text199"), L"V", kRegSz, text + '\0');
  Set(CreateKey(L"Text200"), L"V", kRegSz, text + "T" + '\0');

  EnumeratedValue value;
  ASSERT_EQ(ReadSole(L"Binary200", value), kErrorSuccess);
  EXPECT_EQ(value.data, bytes);
  EXPECT_EQ(ReadSole(L"Binary201", value), kErrorMoreData);
  ASSERT_EQ(ReadSole(L"Text199", value), kErrorSuccess);
  EXPECT_EQ(value.data, text + '\0');
  EXPECT_EQ(ReadSole(L"Text200", value), kErrorMoreData);
}

// Windows adds the zero that a text written without one lacks, as long as the byte behind the
// written data is a zero (always so for the boundary's strings); the added zero counts towards
// the data buffer.
TEST_F(RegistryContract, TextWrittenWithoutItsZeroGetsOne) {
  const std::string command = "C:\\WINDOWS\\SYSTEM\\PATCH.EXE";
  Set(CreateKey(L"Bare"), L"V", kRegSz, command);
  Set(CreateKey(L"Inner"), L"V", kRegSz, Bytes("ab\0cd", 5));
  Set(CreateKey(L"Empty"), L"V", kRegSz, "");
  Set(CreateKey(L"Bare200"), L"V", kRegSz, std::string(kDataBytes, 'T'));

  EnumeratedValue value;
  ASSERT_EQ(ReadSole(L"Bare", value), kErrorSuccess);
  EXPECT_EQ(value.type, kRegSz);
  EXPECT_EQ(value.data, command + '\0');
  ASSERT_EQ(ReadSole(L"Inner", value), kErrorSuccess);
  EXPECT_EQ(value.data, Bytes("ab\0cd\0", 6));
  ASSERT_EQ(ReadSole(L"Empty", value), kErrorSuccess);
  EXPECT_EQ(value.data, "");
  EXPECT_EQ(ReadSole(L"Bare200", value), kErrorMoreData);
}

TEST_F(RegistryContract, DeletedValuesAreGone) {
  const RegKey key = CreateKey(L"Run");
  Set(key, L"First", kRegSz, Bytes("1\0", 2));
  Set(key, L"Second", kRegSz, Bytes("2\0", 2));

  EXPECT_EQ(os_.RegDeleteValueA(key, L"First"), kErrorSuccess);
  std::vector<EnumeratedValue> left;
  EXPECT_EQ(Walk(key, left), kErrorNoMoreItems);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].name, L"Second");

  EXPECT_EQ(os_.RegDeleteValueA(key, L"First"), kErrorFileNotFound);
  EXPECT_EQ(os_.RegDeleteValueA(key, L"Second"), kErrorSuccess);
  EnumeratedValue none;
  EXPECT_EQ(os_.RegEnumValueA(key, 0, kNameChars, kDataBytes, none), kErrorNoMoreItems);
}

TEST_F(RegistryContract, NamesAndTextCrossInTheAnsiCodePage) {
  const RegKey key = CreateKey(L"Caf\u00e9");
  const std::string text = Bytes("\xE9t\xE9 \x80\0", 6);
  Set(key, L"R\u00e9sum\u00e9", kRegSz, text);

  std::vector<EnumeratedValue> values;
  EXPECT_EQ(Walk(OpenKey(L"Caf\u00e9"), values), kErrorNoMoreItems);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, L"R\u00e9sum\u00e9");
  EXPECT_EQ(values[0].data, text);
}

// --- Processes ---

struct ProcessList {
  bool obtained = false;
  std::vector<ProcessEntry> entries;
};

// The whole process list, walked as the program walks it; the snapshot is closed again.
ProcessList ListProcesses(platform::Os& os) {
  ProcessList list;
  const Handle snapshot = os.CreateToolhelp32Snapshot(platform::kSnapProcess, 0);
  if (snapshot == 0) {
    return list;
  }
  list.obtained = true;
  ProcessEntry entry;
  for (bool more = os.Process32First(snapshot, entry); more && list.entries.size() < 10000;
       more = os.Process32Next(snapshot, entry)) {
    list.entries.push_back(entry);
  }
  EXPECT_TRUE(os.CloseHandle(snapshot));
  return list;
}

const ProcessEntry* FindEntry(const ProcessList& list, std::uint32_t processId) {
  for (const ProcessEntry& entry : list.entries) {
    if (entry.processId == processId) {
      return &entry;
    }
  }
  return nullptr;
}

TEST(ProcessContract, ListNamesEveryProcessOnceThisOneIncluded) {
  platform::Os& os = TheEnvironment().os();
  const ProcessList list = ListProcesses(os);
  ASSERT_TRUE(list.obtained);

  std::set<std::uint32_t> ids;
  for (const ProcessEntry& entry : list.entries) {
    EXPECT_TRUE(ids.insert(entry.processId).second) << "process " << entry.processId << " twice";
  }

  const ProcessEntry* self = FindEntry(list, os.GetCurrentProcessId());
  ASSERT_NE(self, nullptr);
  EXPECT_NE(self->parentProcessId, self->processId);
  EXPECT_FALSE(FileNameOf(self->exeFile).empty());
  // The parent may have ended, and under Wine a program started from outside has parent 0: the
  // program copes with a parent that is not listed, so only record what this system shows.
  RecordProperty("parent_id", static_cast<int>(self->parentProcessId));
  RecordProperty("parent_listed", FindEntry(list, self->parentProcessId) != nullptr ? 1 : 0);
}

TEST(ProcessContract, ProcessZeroCannotBeOpened) {
  EXPECT_EQ(TheEnvironment().os().OpenProcess(kProcessQueryAndRead, false, 0), 0u);
}

TEST(ProcessContract, ModulePathOfThisProcessNamesItsListedExecutable) {
  platform::Os& os = TheEnvironment().os();
  const ProcessList list = ListProcesses(os);
  const ProcessEntry* self = FindEntry(list, os.GetCurrentProcessId());
  ASSERT_NE(self, nullptr);

  const Handle process = os.OpenProcess(kProcessQueryAndRead, false, os.GetCurrentProcessId());
  ASSERT_NE(process, 0u);
  std::wstring path = L"stale";
  const std::uint32_t count = os.GetModuleFileNameExA(process, 250, path);
  EXPECT_TRUE(os.CloseHandle(process));

  EXPECT_EQ(count, path.size());
  EXPECT_GT(count, 0u);
  EXPECT_LT(count, 250u);
  EXPECT_NE(path.find(L'\\'), std::wstring::npos) << "not a full path: " << path.size();
  EXPECT_EQ(UpperCase(FileNameOf(path)), UpperCase(FileNameOf(self->exeFile)));

  path = L"stale";
  EXPECT_EQ(os.GetModuleFileNameExA(0, 250, path), 0u);
  EXPECT_EQ(path, L"");
}

TEST(ProcessContract, ModulePathCutToASmallBufferCountsTheWholeBuffer) {
  platform::Os& os = TheEnvironment().os();
  const Handle process = os.OpenProcess(kProcessQueryAndRead, false, os.GetCurrentProcessId());
  ASSERT_NE(process, 0u);
  std::wstring full;
  const std::uint32_t fullCount = os.GetModuleFileNameExA(process, 250, full);
  std::wstring cut;
  const std::uint32_t cutCount = os.GetModuleFileNameExA(process, 5, cut);
  EXPECT_TRUE(os.CloseHandle(process));

  ASSERT_GT(fullCount, 5u);
  // The last place of the buffer holds the zero, yet the count names the whole buffer.
  EXPECT_EQ(cutCount, 5u);
  EXPECT_EQ(cut, full.substr(0, 4));
}

// --- Files ---

TEST(FileContract, LengthAndBytesFromAnyPosition) {
  Environment& env = TheEnvironment();
  platform::Os& os = env.os();
  std::string content;
  for (int i = 0; i < 300; ++i) {
    content.push_back(static_cast<char>(i * 7 % 256));  // every byte value, zero among them
  }
  const std::wstring path = env.ScratchFolder() + L"Tail.bin";
  env.WriteFile(path, content);

  std::uint64_t length = 0;
  ASSERT_TRUE(os.GetFileLength(path, length));
  EXPECT_EQ(length, 300u);

  std::string bytes;
  ASSERT_TRUE(os.ReadFileAt(path, 199, 101, bytes));
  EXPECT_EQ(bytes, content.substr(199));
  ASSERT_TRUE(os.ReadFileAt(path, 0, 3, bytes));
  EXPECT_EQ(bytes, content.substr(0, 3));
  ASSERT_TRUE(os.ReadFileAt(path, 250, 101, bytes));
  EXPECT_EQ(bytes, content.substr(250));
  bytes = "stale";
  EXPECT_TRUE(os.ReadFileAt(path, 300, 101, bytes));
  EXPECT_EQ(bytes, "");
  bytes = "stale";
  EXPECT_TRUE(os.ReadFileAt(path, 5000, 101, bytes));
  EXPECT_EQ(bytes, "");

  const std::wstring empty = env.ScratchFolder() + L"Empty.bin";
  env.WriteFile(empty, "");
  length = 7;
  ASSERT_TRUE(os.GetFileLength(empty, length));
  EXPECT_EQ(length, 0u);
}

TEST(FileContract, PathsIgnoreCase) {
  Environment& env = TheEnvironment();
  platform::Os& os = env.os();
  env.WriteFile(env.ScratchFolder() + L"Patch.Exe", "MZ patch");

  std::uint64_t length = 0;
  ASSERT_TRUE(os.GetFileLength(UpperCase(env.ScratchFolder() + L"patch.exe"), length));
  EXPECT_EQ(length, 8u);
  std::string bytes;
  ASSERT_TRUE(os.ReadFileAt(env.ScratchFolder() + L"PATCH.exe", 3, 5, bytes));
  EXPECT_EQ(bytes, "patch");
}

TEST(FileContract, MissingFilesCanBeNeitherMeasuredNorRead) {
  Environment& env = TheEnvironment();
  platform::Os& os = env.os();
  std::uint64_t length = 0;
  std::string bytes;
  for (const std::wstring& path :
       {env.ScratchFolder() + L"Missing.exe", env.ScratchFolder() + L"NoFolder\\Missing.exe"}) {
    EXPECT_FALSE(os.GetFileLength(path, length)) << path.size();
    EXPECT_FALSE(os.ReadFileAt(path, 0, 101, bytes)) << path.size();
  }
}

// --- System ---

TEST(SystemContract, VersionRecordOfItsOwnSizeIsFilledIn) {
  platform::OsVersionInfo info;
  info.size = platform::kOsVersionInfoSize;
  ASSERT_TRUE(TheEnvironment().os().GetVersionExA(info));
  EXPECT_EQ(info.platformId, platform::kPlatformNt);
  EXPECT_GE(info.majorVersion, 4u);
}

TEST(SystemContract, VersionRecordOfAnotherSizeIsRefusedAndLeftAlone) {
  for (std::uint32_t size :
       {0u, 100u, platform::kOsVersionInfoSize - 1, platform::kOsVersionInfoSize + 1}) {
    platform::OsVersionInfo info{size, 7, 8, 9, 10};
    EXPECT_FALSE(TheEnvironment().os().GetVersionExA(info)) << size;
    EXPECT_EQ(info.size, size);
    EXPECT_EQ(info.majorVersion, 7u);
    EXPECT_EQ(info.minorVersion, 8u);
    EXPECT_EQ(info.buildNumber, 9u);
    EXPECT_EQ(info.platformId, 10u);
  }
}

TEST(SystemContract, AnsiCodePageIsWindows1252) {
  platform::Os& os = TheEnvironment().os();
  EXPECT_EQ(os.AnsiToWide("\xE9"), L"\u00e9");
  EXPECT_EQ(os.WideToAnsi(L"\u00e9"), "\xE9");
  EXPECT_EQ(os.AnsiToWide("\x80\x9F"), L"\u20ac\u0178");
  EXPECT_EQ(os.WideToAnsi(L"\u20ac\u0178"), "\x80\x9F");
  EXPECT_EQ(os.AnsiToWide(""), L"");
  EXPECT_EQ(os.WideToAnsi(L""), "");
  // Characters outside the code page become question marks.
  EXPECT_EQ(os.WideToAnsi(L"a\u4e2d"), "a?");
  // Zeros are characters like any other.
  EXPECT_EQ(os.AnsiToWide(Bytes("a\0b", 3)), std::wstring(L"a\0b", 3));
  EXPECT_EQ(os.WideToAnsi(std::wstring(L"a\0b", 3)), Bytes("a\0b", 3));

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
