// The box that shows a report: its text, its details behind "Show Details..." (a read-only view that scrolls
// and grows with the box), "Open folder" when the report names a folder, and "OK". Escape closes it as OK
// does; it can be resized by its edges and its size grip. While one box is open, later reports are added to
// it (ReportBox::Showing) instead of opening a second box over it.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "platform/host.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace granvel::shell {

class ReportBox : public QDialog {
  Q_OBJECT

 public:
  // Opens a folder on the desktop; false when nothing could open it.
  using FolderOpener = std::function<bool(const QString&)>;

  ReportBox(const MessageReport& report, FolderOpener openFolder, QWidget* parent = nullptr);
  ~ReportBox() override;

  // The box on screen now, or nullptr.
  static ReportBox* Showing();

  // Adds a later report: its text after a blank line, its details after the details shown so far, and its
  // folder when the box had none. The caption stays.
  void Append(const MessageReport& report);

  QString Text() const;
  QString Details() const;
  QString Folder() const { return folder_; }
  QPlainTextEdit* DetailsView() const { return details_; }
  QPushButton* DetailsButton() const { return showDetails_; }
  QPushButton* OpenFolderButton() const { return openFolder_; }
  QPushButton* OkButton() const { return ok_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ToggleDetails();
  void OpenFolder();
  // Shows the buttons the report has content for.
  void UpdateButtons();

  FolderOpener opener_;
  QString folder_;
  QLabel* text_ = nullptr;
  QPlainTextEdit* details_ = nullptr;
  QPushButton* showDetails_ = nullptr;
  QPushButton* openFolder_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace granvel::shell
