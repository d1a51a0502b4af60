// Every caption and label of every dialog fits its text in the control's own font: the options dialog, the
// package dialog on both pages and the report box with its details.
#include <gtest/gtest.h>

#include "shell_win32/options_dialog.h"
#include "shell_win32/package_dialog.h"
#include "shell_win32/report_dialog.h"
#include "shell_win32/resource_ids.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

// Beside the text: a check box's or radio button's indicator and the gap after it; a group box's caption
// starts about 8 pixels in from the frame and keeps as much free at its end; a push button's edges.
constexpr int kIndicatorGap = 4;
constexpr int kGroupMargins = 16;
constexpr int kPushMargins = 8;

// The visible statics and buttons of `dialog` whose text the control cuts, each with what it needs.
std::vector<std::string> CutLabels(HWND dialog) {
  std::vector<std::string> cut;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    const std::wstring text = win32::WindowText(child);
    const bool isStatic = _wcsicmp(name, L"Static") == 0;
    if (text.empty() || !IsWindowVisible(child) || !(isStatic || _wcsicmp(name, L"Button") == 0))
      continue;
    const LONG style = GetWindowLongW(child, GWL_STYLE), type = style & BS_TYPEMASK;
    // A static wraps at its width (its lines must stand within its height); a button's text is one line.
    const UINT flags =
        DT_CALCRECT | (isStatic ? DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0) : DT_SINGLELINE);
    const int extra = isStatic              ? 0
                      : type == BS_GROUPBOX ? kGroupMargins
                      : type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON
                          ? kPushMargins
                          : GetSystemMetrics(SM_CXMENUCHECK) + kIndicatorGap;
    RECT client;
    GetClientRect(child, &client);
    RECT need{0, 0, client.right - extra, 0};
    HDC dc = GetDC(child);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), -1, &need, flags);
    ReleaseDC(child, dc);
    if (need.right + extra > client.right || need.bottom > client.bottom)
      cut.push_back(win32::Narrow(text) + ": " + std::to_string(need.right + extra) + "x" +
                    std::to_string(need.bottom) + " in " + std::to_string(client.right) + "x" +
                    std::to_string(client.bottom));
  }
  return cut;
}

TEST(Win32Labels, EveryCaptionAndLabelFitsItsText) {
  TempDir dir;
  ConvertSettings settings;
  settings.ToolDir = dir.Path();
  const std::vector<std::string> none;

  win32::OptionsDialog options(settings, dir / "GRANVEL.ini");
  HWND window = options.Create(nullptr);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(CutLabels(window), none) << "options";
  DestroyWindow(window);

  FakeHost host;
  win32::PackageDialog package(settings, &host);
  window = package.Create(nullptr);
  ShowWindow(window, SW_SHOW);
  for (int page : {0, 1}) {
    package.ShowPage(page);
    EXPECT_EQ(CutLabels(window), none) << "package page " << page;
  }
  DestroyWindow(window);

  window = win32::ReportDialog::Create(
      nullptr, {"Finished", "1 files converted", "a.txt: wrote a_PRG.zkp", "C:\\"}, {});
  ShowWindow(window, SW_SHOW);
  Click(window, IDC_REPORT_SHOW_DETAILS);
  EXPECT_EQ(CutLabels(window), none) << "report";
  DestroyWindow(window);
}

}  // namespace
}  // namespace granvel::test
