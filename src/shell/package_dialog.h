// The "ZKPパッケージの作成" dialog: the package name with "Make" and "Cancel" on top, and the 42 slot rows in
// the two columns of group boxes, split into a page per screen so that the dialog fits a 1280x720 screen.
// It binds its controls to a PackageDialogForm, which holds every rule; each opening starts from the empty
// form.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "forms/package_dialog_form.h"
#include "package/slots.h"
#include "platform/host.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace granvel::shell {

class QtHost;

class PackageDialog : public QDialog {
  Q_OBJECT

 public:
  // The controls of one slot. `PartList` and `SizeList` are nullptr where the slot has none.
  struct SlotRow {
    const SlotInfo* Slot = nullptr;
    QCheckBox* Check = nullptr;
    QLineEdit* Path = nullptr;
    QPushButton* Browse = nullptr;
    QComboBox* PartList = nullptr;
    QComboBox* SizeList = nullptr;
  };

  // Builds with `settings`. Questions, messages and file choices go through `host` when given, else through
  // boxes and file dialogs owned by this dialog.
  explicit PackageDialog(const ConvertSettings& settings, Host* host = nullptr, QWidget* parent = nullptr,
                         std::string* browseFolder = nullptr);
  ~PackageDialog() override;

  const PackageDialogForm& Form() const { return *form_; }
  // The controls of the slot with this id (one of the table's).
  const SlotRow& Row(int slotId) const;
  QLineEdit* NameField() const { return name_; }
  QPushButton* MakeButton() const { return make_; }
  QPushButton* CancelButton() const { return cancel_; }
  // "Fill from screen..." of the upper or the lower screen's "BG (SCR resource)" group.
  QPushButton* FillButton(bool lowerScreen) const { return fill_[lowerScreen]; }
  // The pages of the two screens ("Up screen" first).
  QTabWidget* Pages() const { return pages_; }

 public slots:
  // "Cancel", Escape and the close request: closes when the form allows it.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* MakePage(bool lowerScreen);
  QGroupBox* MakeGroup(const SlotGroup& group);
  QGroupBox* MakePackageGroup();
  void AddSlotRow(QVBoxLayout* rows, const SlotInfo& slot);
  // Shows the form in the controls.
  void Refresh();
  void Make();

  std::unique_ptr<QtHost> ownHost_;
  std::unique_ptr<PackageDialogForm> form_;
  std::vector<SlotRow> rows_;
  QTabWidget* pages_ = nullptr;
  QLineEdit* name_ = nullptr;
  QPushButton* make_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* fill_[2] = {nullptr, nullptr};
  struct Widths {
    int Check = 0, WideCheck = 0, SizeList = 0, PartList = 0;
  } widths_;
};

}  // namespace granvel::shell
