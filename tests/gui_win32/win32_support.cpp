#include "win32_support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <list>

#include "granvel_version.h"

namespace granvel::test {

using win32::Narrow;
using win32::Widen;

void Pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

void Click(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  ASSERT_NE(control, nullptr) << "no control " << id;
  ASSERT_TRUE(IsWindowEnabled(control)) << "control " << id << " is disabled";
  SetFocus(control);  // as a click on it does
  // A check box toggles itself on a click; a radio button of the dialog's own is set by the dialog.
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  if (style == BS_AUTOCHECKBOX)
    SendMessageW(control, BM_SETCHECK,
                 SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void Type(HWND dialog, int id, const std::string& text) {
  HWND control = GetDlgItem(dialog, id);
  ASSERT_NE(control, nullptr) << "no control " << id;
  SetFocus(control);
  SetWindowTextW(control, Widen(text).c_str());
}

void Choose(HWND dialog, int id, int index) {
  HWND control = GetDlgItem(dialog, id);
  ASSERT_NE(control, nullptr) << "no control " << id;
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
  std::vector<std::string> entries;
  HWND list = GetDlgItem(dialog, id);
  const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[64] = {};
    if (SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 63)
      SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    entries.push_back(Narrow(text));
  }
  return entries;
}

int Selection(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
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
    if (waiters.empty()) {
      KillTimer(nullptr, waitTimer);
      waitTimer = 0;
    }
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

DialogGuard::~DialogGuard() {
  KillTimer(nullptr, timer_);
}

int WindowsTitled(const std::string& title) {
  std::pair<std::wstring, int> search{Widen(title), 0};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& [title, count] = *reinterpret_cast<std::pair<std::wstring, int>*>(data);
        count += IsWindowVisible(window) && win32::WindowText(window) == title ? 1 : 0;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

std::string WindowTitle() {
  int major = 0, minor = 0, patch = 0;
  std::sscanf(GRANVEL_VERSION, "%d.%d.%d", &major, &minor, &patch);
  return "GRANVEL v" + std::to_string(major) + "." + std::to_string(minor) + std::to_string(patch);
}

void DropFiles(HWND window, const std::vector<std::string>& paths) {
  std::wstring names;
  for (const std::string& path : paths)
    names += Widen(path) + L'\0';
  names += L'\0';
  const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(),
              names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void SaveScreenshot(const RECT& area, const std::string& name) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageBytes;
  std::filesystem::create_directories(GRANVEL_SCREENSHOT_DIR);
  std::ofstream out(std::filesystem::path(GRANVEL_SCREENSHOT_DIR) / (name + ".bmp"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), imageBytes);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void SaveScreenshot(HWND window, const std::string& name) {
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(300);
  RECT area;
  GetWindowRect(window, &area);
  SaveScreenshot(area, name);
}

}  // namespace granvel::test
