#include "shell_win32/report_dialog.h"

#include <algorithm>

#include "shell_win32/resource_ids.h"

namespace granvel::win32 {
namespace {

struct ReportState {
  MessageReport Report;
  FolderOpener OpenFolder;
  bool Modal = false;
  bool DetailsShown = false;
};

// The box open now (the program has one thread of windows).
HWND openBox = nullptr;

// Line ends as an edit field shows them.
std::wstring WithCrLf(const std::string& text) {
  std::wstring out;
  for (wchar_t c : Widen(text)) {
    if (c == L'\n')
      out += L'\r';
    out += c;
  }
  return out;
}

int Units(HWND dialog, int x) {
  RECT r{0, 0, x, 0};
  MapDialogRect(dialog, &r);
  return r.right;
}

RECT ChildRect(HWND dialog, int id) {
  RECT r;
  HWND child = GetDlgItem(dialog, id);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void MoveChild(HWND dialog, int id, int x, int y, int width, int height) {
  MoveWindow(GetDlgItem(dialog, id), x, y, width, height, TRUE);
}

// The text takes the height it needs; the buttons follow under it and the details, when shown, under them.
void Arrange(HWND dialog, const ReportState& state) {
  const int margin = Units(dialog, 10);
  const RECT text = ChildRect(dialog, IDC_REPORT_TEXT);
  const int width = text.right - text.left;
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, MessageFont(dialog));
  RECT need{0, 0, width, 0};
  const std::wstring body = Widen(state.Report.Text);
  DrawTextW(dc, body.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  const int textHeight = std::max<int>(need.bottom, Units(dialog, 8));
  MoveChild(dialog, IDC_REPORT_TEXT, margin, margin, width, textHeight);

  int y = margin + textHeight + margin;
  for (int id : {IDC_REPORT_SHOW_DETAILS, IDC_REPORT_OPEN_FOLDER, IDOK}) {
    const RECT r = ChildRect(dialog, id);
    MoveChild(dialog, id, r.left, y, r.right - r.left, r.bottom - r.top);
  }
  y += ChildRect(dialog, IDOK).bottom - ChildRect(dialog, IDOK).top + margin;
  // The frame around the client area, and the screen the box is on.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &screen);
  const RECT work = screen.rcWork;
  HWND details = GetDlgItem(dialog, IDC_REPORT_DETAILS);
  if (state.DetailsShown) {
    // As high as the screen leaves, between 60 and 150 units: a box grown by later reports stays on it.
    const int room = static_cast<int>(work.bottom - work.top) - (frame.bottom - frame.top) - y - margin;
    const int height = std::clamp(room, Units(dialog, 60), Units(dialog, 150));
    MoveWindow(details, margin, y, width, height, TRUE);
    y += height + margin;
  }
  ShowWindow(details, state.DetailsShown ? SW_SHOW : SW_HIDE);

  RECT now;
  GetWindowRect(dialog, &now);
  const int outerWidth = width + 2 * margin + frame.right - frame.left,
            outerHeight = y + frame.bottom - frame.top;
  const int top = std::max<int>(work.top, std::min<int>(now.top, work.bottom - outerHeight));
  SetWindowPos(dialog, nullptr, now.left, top, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The report's texts in the controls; the buttons only for details and a folder.
void ShowTexts(HWND dialog, const ReportState& state) {
  SetWindowTextW(dialog, Widen(state.Report.Caption).c_str());
  SetDlgItemTextW(dialog, IDC_REPORT_TEXT, Widen(state.Report.Text).c_str());
  SetDlgItemTextW(dialog, IDC_REPORT_DETAILS, WithCrLf(state.Report.Details).c_str());
  ShowWindow(GetDlgItem(dialog, IDC_REPORT_SHOW_DETAILS), state.Report.Details.empty() ? SW_HIDE : SW_SHOW);
  ShowWindow(GetDlgItem(dialog, IDC_REPORT_OPEN_FOLDER), state.Report.Folder.empty() ? SW_HIDE : SW_SHOW);
  Arrange(dialog, state);
}

// False, after a message naming the folder, when no file manager could open it.
bool OpenFolder(HWND dialog, const ReportState& state) {
  const std::string& folder = state.Report.Folder;
  if (!state.OpenFolder || state.OpenFolder(folder))
    return true;
  MessageBoxW(dialog, Widen("No file manager could open the folder " + folder).c_str(), L"Open folder",
              MB_OK | MB_ICONWARNING);
  return false;
}

void Close(HWND dialog, const ReportState& state) {
  if (state.Modal)
    EndDialog(dialog, IDOK);
  else
    DestroyWindow(dialog);
}

INT_PTR CALLBACK ReportProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = DialogObject<ReportState>(dialog, message, lParam);
  switch (message) {
    case WM_INITDIALOG:
      openBox = dialog;
      ShowTexts(dialog, *state);
      return TRUE;
    case WM_COMMAND:
      if (!state)
        return FALSE;
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
          Close(dialog, *state);
          return TRUE;
        case IDC_REPORT_SHOW_DETAILS:
          state->DetailsShown = !state->DetailsShown;
          SetDlgItemTextW(dialog, IDC_REPORT_SHOW_DETAILS,
                          state->DetailsShown ? L"Hide details" : L"Show details");
          Arrange(dialog, *state);
          return TRUE;
        case IDC_REPORT_OPEN_FOLDER:
          // When no file manager opened the folder, the box stays after the message naming it.
          if (OpenFolder(dialog, *state))
            Close(dialog, *state);
          return TRUE;
      }
      return FALSE;
    case WM_NCDESTROY:
      if (openBox == dialog)
        openBox = nullptr;
      if (state && !state->Modal)
        delete state;
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void ReportDialog::Show(HWND owner, const MessageReport& report, const FolderOpener& openFolder) {
  if (AddToOpen(report))
    return;
  ReportState state{report, openFolder, true, false};
  DialogBoxParamW(GetModuleHandleW(nullptr), L"REPORT", owner, ReportProc, reinterpret_cast<LPARAM>(&state));
}

HWND ReportDialog::Create(HWND owner, const MessageReport& report, const FolderOpener& openFolder) {
  auto* state = new ReportState{report, openFolder, false, false};
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), L"REPORT", owner, ReportProc,
                                   reinterpret_cast<LPARAM>(state));
  if (!dialog)
    delete state;
  return dialog;
}

bool ReportDialog::AddToOpen(const MessageReport& report) {
  if (!openBox)
    return false;
  auto* state = reinterpret_cast<ReportState*>(GetWindowLongPtrW(openBox, DWLP_USER));
  MessageReport& shown = state->Report;
  shown.Text += "\n\n" + report.Text;
  if (!report.Details.empty()) {
    if (!shown.Details.empty())
      shown.Details += shown.Details.back() == '\n' ? "\n" : "\n\n";
    shown.Details += report.Details;
  }
  if (shown.Folder.empty())
    shown.Folder = report.Folder;
  ShowTexts(openBox, *state);
  return true;
}

}  // namespace granvel::win32
