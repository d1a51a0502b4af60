// Helpers for the desktop program's tests: finding widgets by their label, answering modal boxes from a
// timer, and saving screenshots for review.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QString>
#include <QWidget>
#include <functional>

namespace granvel::test {

// Saves `widget` as build/screenshots/<name>.png. With `titleBar`, its window title is drawn in a bar above
// it, so that the review sees the title's rendering too (an offscreen window has no frame of its own).
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

// Clicks `button` with the mouse on its indicator or first letters (a check box or radio button that is
// stretched wider than its label does not react to a click beyond the label). Returns whether a checkable
// button changed its state; a plain button returns true.
bool Click(QAbstractButton* button);

// Calls `handle` with the next modal widget as soon as one is shown, of class `type` when given (so that a
// handler waits for a box over the dialog it runs in); the handler closes it, and a box it leaves open (a
// failed check returns early) is closed after it. Returns at once; the box is handled from the event loop of
// whatever opened it.
void WhenModalShows(std::function<void(QWidget*)> handle, const QMetaObject* type = nullptr);

}  // namespace granvel::test
