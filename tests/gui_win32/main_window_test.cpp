// The Windows desktop program's main window, driven in this process as the user drives it: its menu and
// check mark, a drop, "File convert", files handed over by a second copy; and the real program started
// twice.
#include "shell_win32/main_window.h"

#include <gtest/gtest.h>

#include "forms/package_dialog_form.h"
#include "shell_win32/resource_ids.h"
#include "shell_win32/single_instance.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

using win32::MainWindow;
using win32::Widen;

// "%d files converted\nSuccessed：%d\nFailured：%d", the colons full-width.
std::string Summary(int seen, int ok, int failed) {
  return std::to_string(seen) + " files converted\nSuccessed\uFF1A" + std::to_string(ok) +
         "\nFailured\uFF1A" + std::to_string(failed);
}

std::string MenuText(HMENU menu, UINT item, UINT how) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, item, text, 128, how);
  return win32::Narrow(text);
}

std::string Outline(HMENU menu) {
  std::string outline;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    outline += (i ? " " : "") + MenuText(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (HMENU sub = GetSubMenu(menu, i))
      outline += "[" + Outline(sub) + "]";
    else
      outline += "=" + std::to_string(GetMenuItemID(menu, i));
  }
  return outline;
}

bool MenuChecked(HWND window, int id) {
  return (GetMenuState(GetMenu(window), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Three inputs of which one cannot be converted.
std::vector<std::string> ThreeInputs(const TempDir& dir) {
  WriteText(dir / "Notes_mem.txt", "MEM$=\"HELLO\"\r\n");
  WriteText(dir / "Hello.txt", "?\"HI\"\r");
  WriteText(dir / "broken.zkp", "junk");
  return {dir / "Notes_mem.txt", dir / "broken.zkp", dir / "Hello.txt"};
}

class Win32MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<MainWindow>(dir_.Path(), &host_);
    window_->SetQuitOnClose(false);
    ASSERT_TRUE(window_->Create(SW_SHOWNORMAL));
    hwnd_ = window_->Window();
  }

  TempDir dir_;
  FakeHost host_;
  std::unique_ptr<MainWindow> window_;
  HWND hwnd_ = nullptr;
};

TEST_F(Win32MainWindow, ShowsTheTitleMenusAndA280By160BlackArea) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd_, cls, 64);
  EXPECT_EQ(win32::Narrow(cls), "MainWindow");
  EXPECT_EQ(Text(hwnd_), WindowTitle());
  RECT client;
  GetClientRect(hwnd_, &client);
  EXPECT_EQ(client.right, 280);
  EXPECT_EQ(client.bottom, 160);

  // Every item with its id, submenus in brackets.
  HMENU menu = GetMenu(hwnd_);
  EXPECT_EQ(Outline(menu),
            "Files(&F)[Make ZKP package=2 File convert=1 Exit=0] "
            "Convert type(&T)[BG / Font (CHR)=257 Screen (CHR + SCR)=267 Sprites (CHR)[16x16=258 32x16=259 "
            "16x32=260 32x32=261 64x32=262 32x64=263 64x64=264] Graphics (GRP)=265 Binary data (GRP)=266] "
            "Options(&O)=512");
  // No size or maximize entry in the system menu.
  HMENU system = GetSystemMenu(hwnd_, FALSE);
  EXPECT_EQ(GetMenuState(system, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
  SaveScreenshot(hwnd_, "win32_main_window");

  // The "Convert type" menu open under its title, shot from a timer while the menu runs its own loop.
  RECT title;
  GetMenuItemRect(hwnd_, menu, 1, &title);
  HMENU types = GetSubMenu(menu, 1);
  SetTimer(hwnd_, 1, 500, [](HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, 1);
    RECT frame;
    GetWindowRect(window, &frame);
    SaveScreenshot(RECT{frame.left, frame.top, frame.left + 360, frame.top + 280}, "win32_convert_type_menu");
    EndMenu();
  });
  TrackPopupMenuEx(types, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, title.left, title.bottom, hwnd_,
                   nullptr);
  EXPECT_EQ(window_->Settings().ConvertType, 257) << "closing the menu chose nothing";
}

TEST_F(Win32MainWindow, ConvertTypeMovesTheCheckMarkAndSetsTheUnit) {
  EXPECT_TRUE(MenuChecked(hwnd_, 257));
  SendMessageW(hwnd_, WM_COMMAND, 259, 0);  // "32x16"
  EXPECT_FALSE(MenuChecked(hwnd_, 257));
  EXPECT_TRUE(MenuChecked(hwnd_, 259));
  EXPECT_EQ(window_->Settings().UnitWidth, 32);
  EXPECT_EQ(window_->Settings().UnitHeight, 16);
  EXPECT_EQ(win32::Narrow(window_->Hint()), "Drop files here \u00B7 Sprites (CHR) 32x16");
  SendMessageW(hwnd_, WM_COMMAND, 265, 0);  // "Graphics (GRP)" keeps the unit
  EXPECT_FALSE(MenuChecked(hwnd_, 259));
  EXPECT_TRUE(MenuChecked(hwnd_, 265));
  EXPECT_EQ(window_->Settings().ConvertType, 265);
  EXPECT_EQ(window_->Settings().UnitWidth, 32);
  EXPECT_EQ(window_->Settings().UnitHeight, 16);
  SaveScreenshot(hwnd_, "win32_main_window_grp");
}

TEST_F(Win32MainWindow, DroppedFilesConvertInOneRunWithItsSummary) {
  DropFiles(hwnd_, ThreeInputs(dir_));
  Pump(300);
  ASSERT_EQ(host_.reports.size(), 1u);
  EXPECT_EQ(host_.reports[0].Caption, "Finished");
  EXPECT_EQ(host_.reports[0].Text, Summary(3, 2, 1));
  EXPECT_NE(host_.reports[0].Details.find("broken.zkp"), std::string::npos);
  EXPECT_TRUE(Exists(dir_ / "Notes_mem_MEM.zkp"));
  EXPECT_TRUE(Exists(dir_ / "Hello_PRG.zkp"));
}

TEST_F(Win32MainWindow, FileConvertAsksForSeveralFilesAndConvertsThem) {
  host_.choices.push_back(ThreeInputs(dir_));
  SendMessageW(hwnd_, WM_COMMAND, IDM_FILE_CONVERT, 0);
  ASSERT_EQ(host_.asked.size(), 1u);
  EXPECT_TRUE(host_.asked[0].Title == "Choose convert files" && host_.asked[0].MultiSelect);
  ASSERT_EQ(host_.reports.size(), 1u);
  EXPECT_EQ(host_.reports[0].Text, Summary(3, 2, 1));
}

TEST_F(Win32MainWindow, HandedOverFilesConvertAndABadHandOverIsRefused) {
  WriteText(dir_ / "Notes_mem.txt", "MEM$=\"HELLO\"\r\n");
  std::vector<wchar_t> payload = win32::HandOverPayload({dir_ / "Notes_mem.txt"});
  COPYDATASTRUCT data{win32::kHandOverTag, static_cast<DWORD>(payload.size() * sizeof(wchar_t)),
                      payload.data()};
  EXPECT_EQ(SendMessageW(hwnd_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
  Pump(300);
  ASSERT_EQ(host_.reports.size(), 1u);
  EXPECT_EQ(host_.reports[0].Text, Summary(1, 1, 0));

  // Another tag, an odd length, a list without its last NUL: nothing is converted.
  const wchar_t unterminated[] = {L'a', L'b'};
  COPYDATASTRUCT bad[] = {{0x1234, data.cbData, payload.data()},
                          {win32::kHandOverTag, data.cbData - 1, payload.data()},
                          {win32::kHandOverTag, sizeof unterminated, const_cast<wchar_t*>(unterminated)}};
  for (COPYDATASTRUCT& each : bad) {
    SendMessageW(hwnd_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&each));
    EXPECT_TRUE(win32::ReadHandOver(each).empty());
  }
  Pump(200);
  EXPECT_EQ(host_.reports.size(), 1u);
}

// The real program: a second copy hands its file to the first and leaves with 0; the first converts it,
// shows the "Finished" box and ends with 0 when closed.
struct Process {
  PROCESS_INFORMATION Info{};
  bool Started = false;
  ~Process() {
    if (Started) {
      if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(Info.hProcess, 1);
      CloseHandle(Info.hThread);
      CloseHandle(Info.hProcess);
    }
  }
  DWORD Wait(DWORD milliseconds) {
    if (WaitForSingleObject(Info.hProcess, milliseconds) != WAIT_OBJECT_0)
      return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(Info.hProcess, &code);
    return code;
  }
};

bool Start(Process& process, const std::string& folder, const std::string& argument) {
  std::wstring command = L"\"" + Widen(GRANVEL_DESKTOP_PATH) + L"\"";
  if (!argument.empty())
    command += L" \"" + Widen(argument) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  process.Started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   Widen(folder).c_str(), &startup, &process.Info) != FALSE;
  return process.Started;
}

HWND WaitForWindow(const wchar_t* cls, const wchar_t* title, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 100) {
    if (HWND window = FindWindowW(cls, title))
      return window;
    Sleep(100);
  }
  return nullptr;
}

TEST(Win32Program, ASecondCopyHandsItsFileToTheFirstAndLeaves) {
  TempDir dir;
  WriteText(dir / "Notes_mem.txt", "MEM$=\"HELLO\"\r\n");
  Process first, second;
  ASSERT_TRUE(Start(first, dir.Path(), ""));
  HWND main = WaitForWindow(L"MainWindow", Widen(WindowTitle()).c_str(), 20000);
  ASSERT_NE(main, nullptr) << "the program showed no window";
  ASSERT_TRUE(Start(second, dir.Path(), "Notes_mem.txt"));
  EXPECT_EQ(second.Wait(20000), 0u);
  HWND finished = WaitForWindow(nullptr, L"Finished", 20000);
  ASSERT_NE(finished, nullptr) << "no \"Finished\" box";
  EXPECT_TRUE(Exists(dir / "Notes_mem_MEM.zkp"));
  EXPECT_EQ(FindWindowExW(nullptr, main, L"MainWindow", nullptr), nullptr) << "a second window";
  SaveScreenshot(finished, "win32_finished");
  // The details list what was written.
  SendMessageW(finished, WM_COMMAND, MAKEWPARAM(IDC_REPORT_SHOW_DETAILS, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(finished, IDC_REPORT_SHOW_DETAILS)));
  EXPECT_NE(ItemText(finished, IDC_REPORT_DETAILS).find("Notes_mem_MEM.zkp"), std::string::npos);
  SaveScreenshot(finished, "win32_finished_details");
  // A file handed over while the box is open: its run reports into the same box.
  WriteText(dir / "More_mem.txt", "MEM$=\"MORE\"\r\n");
  Process third;
  ASSERT_TRUE(Start(third, dir.Path(), "More_mem.txt"));
  EXPECT_EQ(third.Wait(20000), 0u);
  const std::string both = Summary(1, 1, 0) + "\n\n" + Summary(1, 1, 0);
  for (int waited = 0; waited < 20000 && ItemText(finished, IDC_REPORT_TEXT) != both; waited += 100)
    Sleep(100);
  EXPECT_EQ(ItemText(finished, IDC_REPORT_TEXT), both);
  EXPECT_EQ(WindowsTitled("Finished"), 1);
  EXPECT_NE(ItemText(finished, IDC_REPORT_DETAILS).find("More_mem_MEM.zkp"), std::string::npos);
  RECT frame;
  GetWindowRect(finished, &frame);
  EXPECT_TRUE(frame.top >= 0 && frame.bottom <= 720) << "the grown box stays on the 1280 x 720 desktop";
  EXPECT_EQ(GetForegroundWindow(), finished) << "the box, not the window behind it, came to the front";
  SaveScreenshot(finished, "win32_finished_two_runs");
  PostMessageW(finished, WM_COMMAND, IDOK, 0);
  PostMessageW(main, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_EQ(first.Wait(20000), 0u);
}

// The real program's menu commands open the real dialogs, each modal and owned by the main window, and the
// system's file dialogs come up with the titles the forms give them.
TEST(Win32Program, ItsMenuOpensTheDialogsAndTheFileDialogs) {
  TempDir dir;
  Process program;
  ASSERT_TRUE(Start(program, dir.Path(), ""));
  HWND main = WaitForWindow(L"MainWindow", Widen(WindowTitle()).c_str(), 20000);
  ASSERT_NE(main, nullptr);

  PostMessageW(main, WM_COMMAND, IDM_FILE_CONVERT, 0);
  HWND files = WaitForWindow(nullptr, L"Choose convert files", 20000);
  ASSERT_NE(files, nullptr) << "no file dialog";
  EXPECT_FALSE(IsWindowEnabled(main)) << "the file dialog is modal";
  SaveScreenshot(files, "win32_file_convert_dialog");
  PostMessageW(files, WM_COMMAND, IDCANCEL, 0);

  PostMessageW(main, WM_COMMAND, IDM_OPTIONS, 0);
  HWND options = WaitForWindow(nullptr, L"Option settings", 20000);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(GetWindow(options, GW_OWNER), main);
  PostMessageW(options, WM_COMMAND, IDCANCEL, 0);

  PostMessageW(main, WM_COMMAND, IDM_MAKE_PACKAGE, 0);
  HWND package = WaitForWindow(nullptr, Widen(kPackageDialogTitle).c_str(), 20000);
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(GetWindow(package, GW_OWNER), main);
  PostMessageW(package, WM_COMMAND, MAKEWPARAM(7936 + 2, BN_CLICKED), 0);  // the program slot's "..."
  HWND browse = WaitForWindow(nullptr, L"Choose a file for PRG", 20000);
  ASSERT_NE(browse, nullptr);
  PostMessageW(browse, WM_COMMAND, IDCANCEL, 0);
  Sleep(500);
  EXPECT_EQ(Text(GetDlgItem(package, 7936 + 1)), "") << "a cancelled browse changes nothing";
  PostMessageW(package, WM_COMMAND, IDCANCEL, 0);
  for (int waited = 0; waited < 20000 && (IsWindow(package) || !IsWindowEnabled(main)); waited += 100)
    Sleep(100);
  EXPECT_TRUE(!IsWindow(package) && IsWindowEnabled(main))
      << "the package dialog closed and gave the window back";

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.Wait(20000), 0u);
}

}  // namespace
}  // namespace granvel::test
