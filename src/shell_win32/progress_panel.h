// The main window's black area while a run goes on: a progress bar (0 to 1000), under it the line that says
// how far the run is, and under that the "Cancel" button, whose Escape key cancels as well. Hidden while no
// run goes on.
#pragma once

#include "platform/host.h"
#include "shell_win32/win32.h"

namespace granvel::win32 {

// The grey of the black area's texts.
inline constexpr COLORREF kBlackAreaText = RGB(0xA0, 0xA0, 0xA0);

class ProgressPanel {
 public:
  // Makes the hidden controls in `parent`'s 280 x 160 area at `dpi` dots per inch, their texts in `font`.
  // "Cancel" is the button IDC_RUN_CANCEL; Escape on it reaches `parent` as its own WM_KEYDOWN.
  void Create(HWND parent, int dpi, HFONT font);
  // Shows the controls as a run begins (the bar at 0, no line, "Cancel" enabled), or hides them.
  void Show(bool shown);
  bool Shown() const { return bar_ && IsWindowVisible(bar_); }
  void Update(const RunProgress& progress);
  // Cancel was asked for: the button is greyed until the run has ended.
  void Cancelling() { EnableWindow(cancel_, FALSE); }
  // The line's colours for WM_CTLCOLORSTATIC: grey on black.
  static HBRUSH Colours(HDC dc);

 private:
  HWND parent_ = nullptr, bar_ = nullptr, line_ = nullptr, cancel_ = nullptr;
};

}  // namespace granvel::win32
