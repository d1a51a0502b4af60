#include "win32_support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <list>
#include <utility>

namespace granvel::test {

using win32::Narrow;
using win32::Widen;

void Pump(int milliseconds) {
  for (const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
       static_cast<int>(end - GetTickCount()) > 0; Sleep(5)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
  for (const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
       !done() && static_cast<int>(end - GetTickCount()) > 0;)
    Pump(10);
  return done();
}

void Click(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  ASSERT_NE(control, nullptr) << "no control " << id;
  ASSERT_TRUE(IsWindowEnabled(control)) << "control " << id << " is disabled";
  SetFocus(control);  // as a click on it does
  // A check box toggles itself on a click; a radio button of the dialog's own is set by the dialog.
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  if (style == BS_AUTOCHECKBOX)
    SendMessageW(control, BM_SETCHECK, SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void Choose(HWND dialog, int id, int index) {
  HWND control = GetDlgItem(dialog, id);
  ASSERT_NE(control, nullptr) << "no control " << id;
  SetFocus(control);
  SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
}

std::string Text(HWND window) {
  return Narrow(win32::WindowText(window));
}

std::string ItemText(HWND dialog, int id) {
  return Text(GetDlgItem(dialog, id));
}

bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool Checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<std::string> Entries(HWND dialog, int id) {
  std::vector<std::string> entries(static_cast<size_t>(SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0)));
  for (size_t i = 0; i < entries.size(); ++i) {
    wchar_t text[64] = {};  // the lists' entries are short
    if (SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, i, 0) < 64)
      SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    entries[i] = Narrow(text);
  }
  return entries;
}

namespace {

struct Waiter {
  std::wstring Title;
  std::function<void(HWND)> Act;
  DWORD Deadline;
};
std::list<Waiter> waiters;
UINT_PTR waitTimer = 0;

void CALLBACK CheckWaiters(HWND, UINT, UINT_PTR, DWORD) {
  for (auto each = waiters.begin(); each != waiters.end();) {
    HWND window = FindWindowW(nullptr, each->Title.c_str());
    const bool late = static_cast<int>(GetTickCount() - each->Deadline) > 0;
    if (!(window && IsWindowVisible(window)) && !late) {
      ++each;
      continue;
    }
    // Taken off the list first: the action may open a modal loop that runs this timer again.
    const Waiter waiter = *each;
    each = waiters.erase(each);
    if (waiters.empty())
      KillTimer(nullptr, std::exchange(waitTimer, 0));
    if (late)
      ADD_FAILURE() << "no window \"" << Narrow(waiter.Title) << "\" showed";
    else
      waiter.Act(window);
    each = waiters.begin();
  }
}

}  // namespace

void WhenShown(const std::string& title, std::function<void(HWND)> act) {
  waiters.push_back({Widen(title), std::move(act), GetTickCount() + 10000});
  if (!waitTimer)
    waitTimer = SetTimer(nullptr, 0, 100, CheckWaiters);
}

DialogGuard::DialogGuard(int milliseconds)
    : timer_(SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), [](HWND, UINT, UINT_PTR timer, DWORD) {
        SetTimer(nullptr, timer, 1000, nullptr);  // the same timer, now every second
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) -> BOOL {
              wchar_t name[16] = {};
              GetClassNameW(window, name, 16);
              if (IsWindowVisible(window) && std::wcscmp(name, L"#32770") == 0) {
                ADD_FAILURE() << "\"" << Text(window) << "\" was still open";
                PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
              }
              return TRUE;
            },
            0);
      })) {}

int WindowsTitled(const std::string& title) {
  int count = 0;
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, Widen(title).c_str()));)
    count += IsWindowVisible(window) ? 1 : 0;
  return count;
}

std::vector<std::string> CutLabels(HWND dialog) {
  // Beside the text: a check box's or radio button's indicator and the gap after it; a group box's caption
  // starts about 8 pixels in from the frame and keeps as much free at its end; a push button's edges.
  constexpr int kIndicatorGap = 4, kGroupMargins = 16, kPushMargins = 8;
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
      cut.push_back(Narrow(text) + ": " + std::to_string(need.right + extra) + "x" +
                    std::to_string(need.bottom) + " in " + std::to_string(client.right) + "x" +
                    std::to_string(client.bottom));
  }
  return cut;
}

void DropFiles(HWND window, const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths)
    names += Widen(path) + L'\0';
  names += L'\0';
  const SIZE_T bytes = names.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  *drop = {sizeof(DROPFILES), {}, FALSE, TRUE};  // the names follow, in UTF-16
  std::memcpy(drop + 1, names.data(), bytes);
  GlobalUnlock(memory);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void SaveScreenshot(HWND window, const std::string& name) {
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(300);
  RECT area;
  GetWindowRect(window, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  const DWORD size = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, size, 0, 0, 0, 0};
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
  const BITMAPFILEHEADER file{0x4D42, offset + size, 0, 0, offset};
  std::vector<char> bits(size);
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::filesystem::create_directories(GRANVEL_SCREENSHOT_DIR);
  std::ofstream out(std::filesystem::path(GRANVEL_SCREENSHOT_DIR) / (name + ".bmp"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(bits.data(), size);
}

}  // namespace granvel::test
