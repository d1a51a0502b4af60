// The Windows headers as the Win32 program uses them, and the small conversions every one of its windows
// needs. Only src/shell_win32/ includes this file.
#pragma once

#include <windows.h>
// The headers that need <windows.h> before them.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
// GDI's TextOut macro would rename the setting of that name in every file that includes both.
#undef TextOut

#include <string>
#include <vector>

#include "platform/windows_text.h"

namespace granvel::win32 {

// UTF-8 outside, UTF-16 at every call: the platform layer's conversions.
using windows::Narrow;
using windows::Widen;

// A window's or dialog control's text (WM_GETTEXT, which reads another program's controls too), and setting
// it only when it differs (so that an edit field's caret and a list's scroll position stay where the user
// left them).
std::wstring WindowText(HWND window);
void SetTextIfChanged(HWND window, const std::wstring& text);
void SetEnabled(HWND window, bool enabled);

// A check box or radio button.
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);

// The object a dialog procedure serves: kept from WM_INITDIALOG's parameter, read back for every later
// message (null before WM_INITDIALOG).
template <class T>
T* DialogObject(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG)
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  return reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The dialog's font, in the size of the system's message font when the dialog has none.
HFONT MessageFont(HWND window);

}  // namespace granvel::win32
