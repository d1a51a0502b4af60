#include "shell_win32/progress_panel.h"

#include "forms/main_window_form.h"
#include "shell_win32/resource_ids.h"

namespace granvel::win32 {
namespace {

// A button does nothing with Escape: its parent is told instead.
LRESULT CALLBACK EscapeToParent(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE)
    return SendMessageW(GetParent(control), message, wParam, lParam);
  if (message == WM_NCDESTROY)
    RemoveWindowSubclass(control, EscapeToParent, id);
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void ProgressPanel::Create(HWND parent, int dpi, HFONT font) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  parent_ = parent;
  // In the pixels of the 280 x 160 area at 96 dots per inch: the bar, two lines of text and the button,
  // about as much room above as below.
  const auto make = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int id, int x, int y,
                        int width, int height) {
    HWND control = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | style, MulDiv(x, dpi, 96),
                                   MulDiv(y, dpi, 96), MulDiv(width, dpi, 96), MulDiv(height, dpi, 96),
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  };
  bar_ = make(PROGRESS_CLASSW, L"", 0, IDC_RUN_PROGRESS, 20, 40, 240, 14);
  SendMessageW(bar_, PBM_SETRANGE32, 0, 1000);
  // A long name is broken where it must rather than cut.
  line_ = make(L"Static", L"", SS_CENTER | SS_NOPREFIX | SS_EDITCONTROL, IDC_RUN_LINE, 10, 60, 260, 32);
  cancel_ = make(L"Button", Widen(kCancelLabel), BS_PUSHBUTTON, IDC_RUN_CANCEL, 105, 100, 70, 24);
  SetWindowSubclass(cancel_, EscapeToParent, 0, 0);
}

void ProgressPanel::Show(bool shown) {
  if (shown) {
    SendMessageW(bar_, PBM_SETPOS, 0, 0);
    SetWindowTextW(line_, L"");
    EnableWindow(cancel_, TRUE);
  } else if (HWND focus = GetFocus(); focus == cancel_) {
    SetFocus(parent_);  // so that the keys reach the window again
  }
  for (HWND control : {bar_, line_, cancel_})
    ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
}

void ProgressPanel::Update(const RunProgress& progress) {
  SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(ProgressPermille(progress)), 0);
  SetTextIfChanged(line_, Widen(ProgressLine(progress)));
}

HBRUSH ProgressPanel::Colours(HDC dc) {
  SetTextColor(dc, kBlackAreaText);
  SetBkColor(dc, RGB(0, 0, 0));
  return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

}  // namespace granvel::win32
