// Helpers for the Windows desktop program's tests under Wine: driving controls by message, reading them
// back, dropping files on a window, and saving screenshots for review.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell_win32/win32.h"

namespace granvel::test {

// Handles the thread's waiting messages for about `milliseconds`.
void Pump(int milliseconds = 50);
// Handles the thread's messages until `done` holds, for up to `milliseconds`; whether it held.
bool PumpUntil(const std::function<bool()>& done, int milliseconds = 10000);

// A click on a dialog's button, check box or radio button, as the dialog receives it.
void Click(HWND dialog, int id);
// Chooses entry `index` of a drop-down list, as the user does.
void Choose(HWND dialog, int id, int index);

std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
bool Checked(HWND dialog, int id);
// The entries of a drop-down list.
std::vector<std::string> Entries(HWND dialog, int id);

// The visible statics and buttons of `dialog` whose text the control cuts in its own font, each with the
// size it needs and the size it has: none when every caption and label fits.
std::vector<std::string> CutLabels(HWND dialog);

// The files as Explorer drops them on `window` (WM_DROPFILES).
void DropFiles(HWND window, const std::vector<std::string>& paths);

// Calls `act` with the window titled `title` once it shows, from a timer of the thread: drives a modal
// dialog or message box while the test waits in the call that opened it. Several can wait at once; one
// whose window does not show within 10 s fails the test and its timer ends.
void WhenShown(const std::string& title, std::function<void(HWND)> act);

// While it lives, cancels every dialog and message box of the thread still open `milliseconds` after it
// was made, and again every second: a test waiting in a modal dialog that its steps did not close ends
// with a failure instead of hanging.
class DialogGuard {
 public:
  explicit DialogGuard(int milliseconds);
  ~DialogGuard() { KillTimer(nullptr, timer_); }
  DialogGuard(const DialogGuard&) = delete;
  DialogGuard& operator=(const DialogGuard&) = delete;

 private:
  UINT_PTR timer_;
};

// How many visible top-level windows are titled `title`.
int WindowsTitled(const std::string& title);

// Saves what the screen shows of `window` (its frame included) as <screenshot folder>/<name>.bmp, after it
// was brought to the front and painted.
void SaveScreenshot(HWND window, const std::string& name);

}  // namespace granvel::test
