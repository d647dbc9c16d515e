// The scan and the clean-up on real calls: a stand-in backdoor whose starter keeps a handle to it
// is found, terminated with exit code 200, and its line marked.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/forms.h"
#include "app/frm_stat.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/win32_toolkit.h"
#include "settings/windows_version.h"

namespace quellspur {
namespace {

std::string ToolPath(const char* tool) {
  char self[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string path(self, length);
  return path.substr(0, path.rfind('\\')) + "\\..\\tools\\" + tool;
}

TEST(CleanUpUnderWine, EndsAStandInItsStarterStillHoldsAndMarksTheLine) {
  std::string command = "\"";
  command.append(ToolPath("standin_window.exe")).append("\" ThunderRT5Main bubbel hidden");
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION standIn{};
  ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &standIn));
  ::CloseHandle(standIn.hThread);
  for (int attempt = 0; attempt < 500 && ::FindWindowA("ThunderRT5Main", "bubbel") == nullptr;
       ++attempt) {
    ::Sleep(10);
  }
  DWORD early = 0;
  ::GetExitCodeProcess(standIn.hProcess, &early);
  ASSERT_NE(::FindWindowA("ThunderRT5Main", "bubbel"), nullptr) << "stand-in exit code " << early;

  platform::win32::Win32Os os;
  platform::win32::Win32Toolkit toolkit;
  const std::unique_ptr<platform::Form> window = toolkit.LoadForm(MainWindowDesign());
  Settings settings;
  FrmStat form{*window, toolkit.desktop(), os, toolkit.pump(), settings};
  form.scanner.windowsPlatform = GetWindowsPlatform(os);
  form.windowsDir = L"C:\\windows\\";
  platform::ListBox& list = form.List;
  platform::Button& cmdKill = form.cmdKill;

  form.cmdScan_Click();
  ASSERT_EQ(list.ListCount(), 1);
  const std::wstring found = list.List(0);
  EXPECT_TRUE(found.starts_with(L"Bubbel Found as: ")) << os.WideToAnsi(found);
  EXPECT_NE(found.find(L"standin_window.exe Activ now, started by: "), std::wstring::npos)
      << os.WideToAnsi(found);

  list.SetListIndex(0);
  ASSERT_EQ(cmdKill.Caption(), L"&Kill Process");
  form.cmdKill_Click();

  DWORD exitCode = 0;
  EXPECT_EQ(::WaitForSingleObject(standIn.hProcess, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(::GetExitCodeProcess(standIn.hProcess, &exitCode));
  EXPECT_EQ(exitCode, 200u);
  EXPECT_EQ(list.List(0), L"IT\u00B4S TERMINATED!  " + found);
  EXPECT_FALSE(cmdKill.Enabled());
  ::TerminateProcess(standIn.hProcess, 0);
  ::CloseHandle(standIn.hProcess);
  ::DeleteFileA(os.WideToAnsi(os.GetProgramFolder() + L"\\BackLog.txt").c_str());
}

}  // namespace
}  // namespace quellspur
