// What the program relies on from top-level windows, the clock and locale, its own folder and
// appending to a file; held against Windows (or Wine) and the simulated machine alike.
#include <gtest/gtest.h>

#include <string>

#include "contract_support.h"
#include "platform/os.h"
#include "platform/owners.h"
#include "platform/text.h"

namespace quellspur::contract {
namespace {

class WindowContract : public ::testing::Test {
 protected:
  void TearDown() override {
    if (window_ != 0) {
      env_.CloseTestWindow(window_);
    }
  }

  Environment& env_ = TheEnvironment();
  platform::Os& os_ = env_.os();
  platform::WindowHandle window_ = 0;
};

TEST_F(WindowContract, AWindowIsFoundByClassCaptionOrBothAndNamesItsProcess) {
  window_ = env_.ShowTestWindow(L"QuellspurContractClass", L"Quellspur contract caption");

  EXPECT_EQ(os_.FindWindowA(L"QuellspurContractClass", L"Quellspur contract caption"), window_);
  EXPECT_EQ(os_.FindWindowA(std::nullopt, L"Quellspur contract caption"), window_);
  EXPECT_EQ(os_.FindWindowA(L"QuellspurContractClass", std::nullopt), window_);
  // Neither class nor caption is compared with regard to case.
  EXPECT_EQ(os_.FindWindowA(L"QUELLSPURCONTRACTCLASS", L"QUELLSPUR CONTRACT CAPTION"), window_);
  // A handle that, taken as a signed 32-bit number, is above 0.
  EXPECT_GT(static_cast<std::int32_t>(window_), 0);

  std::uint32_t owner = 0;
  EXPECT_NE(os_.GetWindowThreadProcessId(window_, owner), 0u);
  EXPECT_EQ(owner, os_.GetCurrentProcessId());
}

TEST_F(WindowContract, AnAbsentWindowIsZero) {
  window_ = env_.ShowTestWindow(L"QuellspurContractClass", L"Quellspur contract caption");
  EXPECT_EQ(os_.FindWindowA(L"QuellspurContractClass", L"Quellspur contract caption 2"), 0u);
  EXPECT_EQ(os_.FindWindowA(L"QuellspurNoSuchClass", L"Quellspur contract caption"), 0u);
  EXPECT_EQ(os_.FindWindowA(L"QuellspurNoSuchClass", std::nullopt), 0u);
  env_.CloseTestWindow(window_);
  EXPECT_EQ(os_.FindWindowA(L"QuellspurContractClass", L"Quellspur contract caption"), 0u);
  window_ = 0;
}

TEST(SystemContract, ClockAndTimeSeparatorAreThoseOfTheLocale) {
  platform::Os& os = TheEnvironment().os();
  platform::LocalTime now;
  os.GetLocalTime(now);
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LE(now.hour, 23);
  EXPECT_LE(now.minute, 59);
  EXPECT_LE(now.second, 59);
  EXPECT_EQ(os.GetTimeSeparator(), L":");
}

TEST(SystemContract, ProgramFolderHoldsTheRunningExecutable) {
  platform::Os& os = TheEnvironment().os();
  const std::wstring folder = os.GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');

  const platform::UniqueHandle self(
      os, os.OpenProcess(platform::kProcessQueryAndRead, false, os.GetCurrentProcessId()));
  std::wstring module;
  os.GetModuleFileNameExA(self.get(), 250, module);
  EXPECT_EQ(UpperCase(folder + L"\\" + FileNameOf(module)), UpperCase(module));
  const std::wstring name = os.GetProgramExeName();
  EXPECT_EQ(UpperCase(name + L".EXE"), UpperCase(FileNameOf(module)));
}

class AppendContract : public ::testing::Test {
 protected:
  void TearDown() override { env_.RemoveFile(path_); }

  std::string Content() {
    std::uint64_t length = 0;
    std::string bytes;
    EXPECT_TRUE(os_.GetFileLength(path_, length));
    EXPECT_TRUE(os_.ReadFileAt(path_, 0, static_cast<std::uint32_t>(length), bytes));
    return bytes;
  }

  Environment& env_ = TheEnvironment();
  platform::Os& os_ = env_.os();
  const std::wstring path_ = env_.ScratchFolder() + L"Appended.txt";
};

TEST_F(AppendContract, CreatesTheFileThenWritesAtItsEnd) {
  EXPECT_TRUE(os_.AppendToFile(path_, "first\r\n"));
  EXPECT_TRUE(os_.AppendToFile(path_, std::string("zero\0byte\r\n", 11)));
  EXPECT_EQ(Content(), std::string("first\r\nzero\0byte\r\n", 18));

  env_.WriteFile(path_, "replaced");
  EXPECT_TRUE(os_.AppendToFile(path_, "+"));
  EXPECT_EQ(Content(), "replaced+");
}

TEST_F(AppendContract, AFileInAMissingFolderIsNotCreated) {
  const std::wstring nowhere = env_.ScratchFolder() + L"NoSuchFolder\\Appended.txt";
  EXPECT_FALSE(os_.AppendToFile(nowhere, "lost"));
  std::uint64_t length = 0;
  EXPECT_FALSE(os_.GetFileLength(nowhere, length));
}

}  // namespace
}  // namespace quellspur::contract
