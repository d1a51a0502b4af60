// Helpers for the desktop program's tests: finding widgets by their label, answering modal boxes from a
// timer, and saving screenshots for review.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

namespace granvel::test {

// Saves `widget` as build/screenshots/<name>.png.
void SaveScreenshot(QWidget* widget, const QString& name);

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

// The first action under `root` (menus included) whose text is exactly `text`, or nullptr.
QAction* FindAction(QWidget* root, const QString& text);

// The texts of the actions of a menu in order, separators left out.
QStringList ActionTexts(const QList<QAction*>& actions);

// Calls `handle` with the next modal widget as soon as one is shown (the handler must close it). Returns
// at once; the box is handled from the event loop of whatever opened it.
void WhenModalShows(std::function<void(QWidget*)> handle);

}  // namespace granvel::test
