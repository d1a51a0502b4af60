// The "ZKPパッケージの作成" dialog: 42 slot rows in two columns of group boxes and the package name. It shows
// and reads a PackageForm; "Make" hands the form read from the controls to BuildPackage and closes only when
// a package file was written. Every opening starts from the empty form.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "convert/job.h"
#include "convert/settings.h"
#include "package/package.h"
#include "package/package_form.h"
#include "package/slots.h"
#include "platform/host.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace granvel::shell {

class QtHost;

inline constexpr const char* kPackageDialogTitle = "ZKPパッケージの作成";
inline constexpr const char* kImageSizeUnmatched = "Image size unmatched.";

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
  explicit PackageDialog(const ConvertSettings& settings, Host* host = nullptr, QWidget* parent = nullptr);
  ~PackageDialog() override;

  // The form as the controls show it.
  PackageForm Form() const;
  // Shows `form` in the controls: check boxes, paths, part lists filled with their PartCount entries, list
  // selections and the name.
  void ShowForm(const PackageForm& form);

  // The controls of the slot with this id (one of the table's).
  const SlotRow& Row(int slotId) const;
  QLineEdit* NameField() const { return name_; }
  QPushButton* MakeButton() const { return make_; }
  QPushButton* CancelButton() const { return cancel_; }
  // What the last "Make" did.
  const PackageOutcome& LastOutcome() const { return outcome_; }

 public slots:
  // "Cancel", Escape and the close request: closes without building. Ignored while a build runs.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Host& UsedHost() const;
  QGroupBox* MakeGroup(const char* caption, std::vector<const SlotInfo*> members);
  QGroupBox* MakePackageGroup();
  void AddSlotRow(QVBoxLayout* rows, const SlotInfo& slot);

  // The command of any control but the name field: the name is kept to its package form first.
  void NormalizeName();
  void CheckClicked(const SlotRow& row);
  void BrowseClicked(const SlotRow& row);
  void Make();

  // The file dialog of the slot's browse kind. The chosen file's job, or none when the user cancelled.
  std::optional<ConvertJob> BrowseSlotFile(const SlotRow& row);
  // Reads the slot's chosen image and lists its parts. False when the image does not fit the slot.
  bool FillPartList(const SlotRow& row);
  void EnableSlotControls(const SlotRow& row, bool enable);
  void EnablePackageControls(bool enable);

  const ConvertSettings& settings_;
  std::unique_ptr<QtHost> ownHost_;
  Host* host_;
  std::vector<SlotRow> rows_;
  QLineEdit* name_ = nullptr;
  QPushButton* make_ = nullptr;
  QPushButton* cancel_ = nullptr;
  struct Widths {
    int Check = 0, WideCheck = 0, SizeList = 0, PartList = 0;
  } widths_;
  bool building_ = false;
  PackageOutcome outcome_;
};

}  // namespace granvel::shell
