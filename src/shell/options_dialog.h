// The "Option settings" dialog: shows and reads an OptionsForm, whose rules decide what a control enables.
// "Done" applies the form read from the controls to the record and saves it; "Cancel" and closing change
// nothing.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

#include "convert/settings.h"
#include "forms/options_form.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace granvel::shell {

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // Runs the folder browser from `start`; returns the chosen folder, or an empty text when none was chosen.
  using FolderBrowser = std::function<QString(QWidget* parent, const QString& start)>;

  // Shows `settings` as they stand; "Done" writes them back and saves them to `iniPath`.
  OptionsDialog(ConvertSettings& settings, std::string iniPath, QWidget* parent = nullptr);

  // Replaces the folder browser (tests script it).
  void SetFolderBrowser(FolderBrowser browser) { browseFolder_ = std::move(browser); }

  // The form as the controls show it.
  OptionsForm Form() const;
  // Shows `form` in the controls.
  void ShowForm(const OptionsForm& form);

 private:
  QGroupBox* MakeSaveToGroup();
  QGroupBox* MakeCommonGroup();
  QGroupBox* MakePrgTextGroup();
  QGroupBox* MakeChrGroup();
  QGroupBox* MakeZkpGroup();
  // Gives every control the tooltip that explains it.
  void SetTooltips();
  void UpdateEnabled();
  void BrowseFolder();
  void Done();

  ConvertSettings& settings_;
  std::string iniPath_;
  FolderBrowser browseFolder_;

  QButtonGroup* selectGroup_ = nullptr;
  QRadioButton* sameAsSource_ = nullptr;
  QRadioButton* sameAsTool_ = nullptr;
  QRadioButton* selectedFolder_ = nullptr;
  QLineEdit* userFolder_ = nullptr;
  QPushButton* browse_ = nullptr;
  QCheckBox* makeZkpFolder_ = nullptr;

  QCheckBox* textOut_ = nullptr;
  QCheckBox* pngImage_ = nullptr;
  QRadioButton* dataHex_ = nullptr;
  QRadioButton* dataDec_ = nullptr;

  QCheckBox* prgLimit_ = nullptr;
  QCheckBox* prgToScr_ = nullptr;
  QCheckBox* prgToMem_ = nullptr;

  QCheckBox* keepWidth_ = nullptr;
  QRadioButton* split128_ = nullptr;
  QRadioButton* split256_ = nullptr;
  QRadioButton* palette01_ = nullptr;
  QRadioButton* palette15_ = nullptr;
  QRadioButton* paletteAsk_ = nullptr;
  QCheckBox* shareTiles_ = nullptr;

  QCheckBox* multiByte_ = nullptr;
  QCheckBox* escape_ = nullptr;
  QRadioButton* make128_ = nullptr;
  QRadioButton* make256_ = nullptr;
  QCheckBox* utf8Text_ = nullptr;
};

}  // namespace granvel::shell
