// Helpers for the desktop program's tests: finding widgets by their text, clicking them, answering modal
// boxes from a timer, and saving screenshots for review.
#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <functional>

namespace granvel::test {

// Saves `widget` as build/screenshots/<name>.png; with `titleBar`, under a bar with its window title (an
// offscreen window has no frame of its own, and the review should see the title's rendering too).
void SaveScreenshot(QWidget* widget, const QString& name, bool titleBar = false);

// The first child of `root` of type T whose text is exactly `text`, or nullptr.
template <class T>
T* FindByText(QWidget* root, const QString& text) {
  for (T* child : root->findChildren<T*>()) {
    if (child->text() == text)
      return child;
  }
  return nullptr;
}

// Clicks `button` with the mouse on its indicator or first letters (a check box stretched wider than its
// label does not react beyond it). Returns whether a checkable button changed; a plain button returns true.
bool Click(QAbstractButton* button);

// Calls `handle` with the next modal widget (of class `type` when given) as soon as it shows, from the event
// loop of whatever opened it; a box the handler leaves open (a failed check returns early) is closed after
// it.
void WhenModalShows(std::function<void(QWidget*)> handle, const QMetaObject* type = nullptr);

}  // namespace granvel::test
