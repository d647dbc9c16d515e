#include "testing/fault_injection.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "testing/sim_machine.h"

namespace quellspur::platform {
namespace {

const std::wstring kFile = L"C:\\A.EXE";

class FaultInjection : public ::testing::Test {
 protected:
  FaultInjection() { sim.PutFile(kFile, "MZ"); }

  sim::SimMachine sim;
  FaultInjectingOs os{sim};
};

TEST_F(FaultInjection, FailsTheNthUseOnceOrFromThenOnAndCountsEveryUse) {
  os.FailOn(Call::CopyFileW, 2);
  os.FailOn(Call::DeleteFileW, 2, true);

  EXPECT_TRUE(os.CopyFileW(kFile, L"C:\\B1", false));
  EXPECT_FALSE(os.CopyFileW(kFile, L"C:\\B2", false));
  EXPECT_FALSE(sim.FileExists(L"C:\\B2"));  // the machine never saw the call
  EXPECT_TRUE(os.CopyFileW(kFile, L"C:\\B3", false));

  EXPECT_TRUE(os.DeleteFileW(L"C:\\B1"));
  EXPECT_FALSE(os.DeleteFileW(L"C:\\B3"));
  EXPECT_FALSE(os.DeleteFileW(L"C:\\B3"));
  EXPECT_TRUE(sim.FileExists(L"C:\\B3"));

  EXPECT_EQ(os.Uses(Call::CopyFileW), 3);
  EXPECT_EQ(os.Uses(Call::DeleteFileW), 3);
  EXPECT_EQ(os.Uses(Call::MoveFileExW), 0);
  EXPECT_EQ(os.InjectedFaults(), 3);

  os.Reset();
  EXPECT_EQ(os.Uses(Call::CopyFileW), 0);
  EXPECT_EQ(os.InjectedFaults(), 0);
  EXPECT_TRUE(os.DeleteFileW(L"C:\\B3"));
}

TEST_F(FaultInjection, AFailedCallAnswersAsWindowsDoes) {
  os.FailOn(Call::RegCreateKeyExW, 1);
  os.FailOn(Call::ReadFileAt, 1);
  os.FailOn(Call::CreateToolhelp32Snapshot, 1, true);

  RegKey key = 77;
  EXPECT_EQ(os.RegCreateKeyExW(kHkeyCurrentUser, L"Software\\Q", kKeyAllButDelete, key),
            kErrorAccessDenied);
  EXPECT_EQ(key, 0u);
  EXPECT_FALSE(sim.KeyExists(kHkeyCurrentUser, L"Software\\Q"));

  std::string bytes = "stale";
  EXPECT_FALSE(os.ReadFileAt(kFile, 0, 2, bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(os.ReadFileAt(kFile, 0, 2, bytes));
  EXPECT_EQ(bytes, "MZ");

  EXPECT_EQ(os.CreateToolhelp32Snapshot(kSnapProcess, 0), 0u);
  EXPECT_EQ(os.CreateToolhelp32Snapshot(kSnapProcess, 0), 0u);
  EXPECT_EQ(sim.OpenHandleCount(), 0u);
  EXPECT_EQ(sim.OpenKeyCount(), 0u);
}

// The status a test chooses reaches the caller as Windows' would: returned by the registry, left
// for GetLastError by the other calls until a call reaches the machine, which then has its own.
TEST_F(FaultInjection, AFailureGivesTheChosenStatusWhereWindowsGivesIt) {
  os.FailOn(Call::RegOpenKeyExW, 1, false, kErrorFileNotFound);
  os.FailOn(Call::DeleteFileW, 1, false, kErrorSharingViolation);
  RegKey key = 77;
  EXPECT_EQ(os.RegOpenKeyExW(kHkeyCurrentUser, L"Software", 0, kKeyRead, key), kErrorFileNotFound);
  EXPECT_EQ(key, 0u);
  EXPECT_TRUE(os.InjectedStatusSeen());

  os.Reset();
  os.FailOn(Call::DeleteFileW, 1, false, kErrorSharingViolation);
  EXPECT_FALSE(os.DeleteFileW(kFile));
  EXPECT_TRUE(sim.FileExists(kFile));
  EXPECT_FALSE(os.InjectedStatusSeen());  // nothing asked why yet
  EXPECT_EQ(os.GetLastError(), kErrorSharingViolation);
  EXPECT_TRUE(os.InjectedStatusSeen());
  EXPECT_FALSE(os.DeleteFileW(L"C:\\MISSING.EXE"));
  EXPECT_EQ(os.GetLastError(), kErrorFileNotFound);

  // A machine that stops dead fails each call with its first status.
  os.Reset();
  os.StopDeadAfter(1);
  EXPECT_TRUE(os.CopyFileW(kFile, L"C:\\B", false));
  EXPECT_FALSE(os.CopyFileW(kFile, L"C:\\C", false));
  EXPECT_EQ(os.GetLastError(), FailureStatuses(Call::CopyFileW).front());
  EXPECT_FALSE(sim.FileExists(L"C:\\C"));
  EXPECT_THROW(os.FailOn(Call::GetLastError, 1), std::invalid_argument);
}

}  // namespace
}  // namespace quellspur::platform
