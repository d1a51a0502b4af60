#include "package/package_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "package/package_layout.h"
#include "shell/qt_host.h"

namespace granvel::shell {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The slot table's dimensions are dialog units: a quarter of the average character width across, an eighth of
// the line height down.
int DialogUnitsX(const QWidget* widget, int units) {
  return units * widget->fontMetrics().averageCharWidth() / 4;
}
int DialogUnitsY(const QWidget* widget, int units) {
  return units * widget->fontMetrics().height() / 8;
}

FileChoice BrowseChoice(BrowseKind kind) {
  FileChoice choice;
  switch (kind) {
    case BrowseKind::Bitmap:
      choice.Title = "Choose a convert image file";
      choice.Filter = {{"Bitmap image", "*.bmp"}};
      choice.DefaultExt = ".bmp";
      break;
    case BrowseKind::Text:
      choice.Title = "Choose a convert text file";
      choice.Filter = {{"Text document", "*.txt"}};
      choice.DefaultExt = ".txt";
      break;
    case BrowseKind::Screen:
      choice.Title = "Choose convert files";
      choice.Filter = {{"Text document", "*.txt"}, {"SCR resource file", "*.rscr"}};
      choice.DefaultExt = ".txt";
      break;
  }
  return choice;
}

// The width a check box needs for the widest of `labels`, and at least `units` dialog units.
int CheckBoxWidth(const QWidget* dialog, const std::vector<QString>& labels, int units) {
  int width = DialogUnitsX(dialog, units);
  for (const QString& label : labels) {
    QCheckBox probe(label);
    probe.setFont(dialog->font());
    width = std::max(width, probe.sizeHint().width());
  }
  return width;
}

// The width a drop-down list needs to show `longest` whole, and at least 40 dialog units.
int ListWidth(const QWidget* dialog, const QString& longest) {
  QComboBox probe;
  probe.setFont(dialog->font());
  probe.addItem(longest);
  return std::max(DialogUnitsX(dialog, 40), probe.sizeHint().width());
}

}  // namespace

PackageDialog::PackageDialog(const ConvertSettings& settings, Host* host, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  if (host) {
    host_ = host;
  } else {
    ownHost_ = std::make_unique<QtHost>(this);
    host_ = ownHost_.get();
  }
  setWindowTitle(QString::fromUtf8(kPackageDialogTitle));
  setModal(true);

  // Palette labels are wider ("COL0 (BGF/BGU)"); every other label is a short name. Each kind gets one width
  // so that the path fields of a group line up.
  std::vector<QString> labels, paletteLabels;
  for (const SlotInfo& slot : PackageSlots())
    (slot.Kind == SlotKind::Col ? paletteLabels : labels).push_back(FromUtf8(slot.Label));
  widths_.Check = CheckBoxWidth(this, labels, 30);
  widths_.WideCheck = CheckBoxWidth(this, paletteLabels, 70);
  widths_.SizeList = ListWidth(this, QStringLiteral("64x64"));
  widths_.PartList = ListWidth(this, QStringLiteral("88 of 88"));

  // The left column runs from the program to the lower screen maps; the right one starts with the package
  // group and the upper sprites.
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  right->addWidget(MakePackageGroup());
  QVBoxLayout* column = left;
  const char* caption = nullptr;
  std::vector<const SlotInfo*> group;
  const auto flush = [&] {
    if (!group.empty())
      column->addWidget(MakeGroup(caption, group));
    group.clear();
  };
  for (const SlotInfo& slot : PackageSlots()) {
    if (caption && std::string(caption) != slot.Group) {
      flush();
      if (slot.Kind == SlotKind::Sprite && column == left)
        column = right;
    }
    caption = slot.Group;
    group.push_back(&slot);
  }
  flush();
  left->addStretch(1);
  right->addStretch(1);

  auto* columns = new QHBoxLayout(this);
  columns->addLayout(left);
  columns->addLayout(right);
  columns->setSizeConstraint(QLayout::SetFixedSize);

  ShowForm(PackageForm{});
}

PackageDialog::~PackageDialog() = default;

QGroupBox* PackageDialog::MakeGroup(const char* caption, std::vector<const SlotInfo*> members) {
  auto* box = new QGroupBox(FromUtf8(caption));
  auto* rows = new QVBoxLayout(box);
  rows->setSpacing(std::max(2, DialogUnitsY(this, 2)));
  for (const SlotInfo* slot : members)
    AddSlotRow(rows, *slot);
  return box;
}

void PackageDialog::AddSlotRow(QVBoxLayout* rows, const SlotInfo& slot) {
  const bool isPalette = slot.Kind == SlotKind::Col;
  SlotRow row;
  row.Slot = &slot;
  row.Check = new QCheckBox(FromUtf8(slot.Label));
  row.Check->setObjectName(QStringLiteral("check%1").arg(slot.SlotId));
  row.Check->setFixedWidth(isPalette ? widths_.WideCheck : widths_.Check);
  row.Path = new QLineEdit;
  row.Path->setObjectName(QStringLiteral("path%1").arg(slot.SlotId));
  row.Path->setFixedWidth(DialogUnitsX(this, 128));
  row.Browse = new QPushButton(QStringLiteral("..."));
  row.Browse->setObjectName(QStringLiteral("browse%1").arg(slot.SlotId));
  row.Browse->setAutoDefault(false);
  row.Browse->setFixedWidth(std::max(DialogUnitsX(this, 24), row.Browse->sizeHint().height()));
  if (slot.HasSizeList) {
    row.SizeList = new QComboBox;
    row.SizeList->setObjectName(QStringLiteral("sizes%1").arg(slot.SlotId));
    if (slot.Kind == SlotKind::Icon) {
      row.SizeList->addItem(FromUtf8(UnitSizeText(kIconSize)));
    } else {
      for (const UnitSize& size : SpriteSizes())
        row.SizeList->addItem(FromUtf8(UnitSizeText(size)));
    }
    row.SizeList->setFixedWidth(widths_.SizeList);
  }
  if (slot.HasPartList) {
    row.PartList = new QComboBox;
    row.PartList->setObjectName(QStringLiteral("parts%1").arg(slot.SlotId));
    row.PartList->setFixedWidth(widths_.PartList);
  }

  auto* line = new QHBoxLayout;
  line->addWidget(row.Check);
  line->addWidget(row.Path);
  line->addWidget(row.Browse);
  for (QComboBox* list : {row.SizeList, row.PartList}) {
    if (!list)
      continue;
    line->addWidget(list);
    list->installEventFilter(this);
  }
  line->addStretch(1);
  rows->addLayout(line);

  rows_.push_back(row);
  const std::size_t index = rows_.size() - 1;
  connect(row.Check, &QCheckBox::clicked, this, [this, index] { CheckClicked(rows_[index]); });
  connect(row.Browse, &QPushButton::clicked, this, [this, index] { BrowseClicked(rows_[index]); });
  // Edits and list choices are commands too: they keep the name in its package form.
  connect(row.Path, &QLineEdit::textEdited, this, &PackageDialog::NormalizeName);
  row.Path->installEventFilter(this);
  for (QComboBox* list : {row.SizeList, row.PartList}) {
    if (list)
      connect(list, &QComboBox::activated, this, &PackageDialog::NormalizeName);
  }
}

QGroupBox* PackageDialog::MakePackageGroup() {
  auto* box = new QGroupBox(QStringLiteral("ZKP package"));
  auto* label = new QLabel(QStringLiteral("Package name (8 chars)"));
  label->setMinimumWidth(DialogUnitsX(this, 120));
  name_ = new QLineEdit;
  name_->setObjectName(QStringLiteral("packageName"));
  name_->setFixedWidth(
      std::max(DialogUnitsX(this, 40),
               fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWW")) + DialogUnitsX(this, 6)));
  cancel_ = new QPushButton(QStringLiteral("Cancel"));
  cancel_->setAutoDefault(false);
  make_ = new QPushButton(QStringLiteral("Make"));
  make_->setDefault(true);
  for (QPushButton* button : {cancel_, make_})
    button->setMinimumWidth(DialogUnitsX(this, 32));

  auto* line = new QHBoxLayout(box);
  line->addWidget(label);
  line->addWidget(name_);
  line->addStretch(1);
  line->addWidget(cancel_);
  line->addWidget(make_);

  connect(cancel_, &QPushButton::clicked, this, &PackageDialog::reject);
  connect(make_, &QPushButton::clicked, this, &PackageDialog::Make);
  return box;
}

Host& PackageDialog::UsedHost() const {
  return *host_;
}

const PackageDialog::SlotRow& PackageDialog::Row(int slotId) const {
  for (const SlotRow& row : rows_) {
    if (row.Slot->SlotId == slotId)
      return row;
  }
  throw std::out_of_range("no package slot has the id " + std::to_string(slotId));
}

PackageForm PackageDialog::Form() const {
  PackageForm form;
  for (const SlotRow& row : rows_) {
    SlotState& state = form.Slot(*row.Slot);
    state.Checked = row.Check->isChecked();
    state.Path = row.Path->text().toStdString();
    if (row.PartList) {
      state.PartCount = row.PartList->count();
      const int part = row.PartList->currentIndex();
      state.PartIndex = part >= 0 ? std::optional<int>(part) : std::nullopt;
    }
    if (row.SizeList) {
      const int size = row.SizeList->currentIndex();
      state.SizeIndex = size >= 0 ? std::optional<int>(size) : std::nullopt;
    }
  }
  form.PackageName = name_->text().toStdString();
  return form;
}

void PackageDialog::ShowForm(const PackageForm& form) {
  for (const SlotRow& row : rows_) {
    const SlotState& state = form.Slot(*row.Slot);
    row.Check->setChecked(state.Checked);
    row.Path->setText(FromUtf8(state.Path));
    if (row.PartList) {
      row.PartList->clear();
      for (int k = 1; k <= state.PartCount; ++k)
        row.PartList->addItem(QString::asprintf("%d of %d", k, state.PartCount));
      row.PartList->setCurrentIndex(state.PartIndex.value_or(-1));
    }
    if (row.SizeList)
      row.SizeList->setCurrentIndex(state.SizeIndex.value_or(-1));
    EnableSlotControls(row, !building_);
  }
  name_->setText(FromUtf8(form.PackageName));
}

void PackageDialog::reject() {
  if (building_)
    return;
  QDialog::reject();
}

bool PackageDialog::eventFilter(QObject* watched, QEvent* event) {
  // Entering a path field or a list is a command of that control.
  if (event->type() == QEvent::FocusIn)
    NormalizeName();
  return QDialog::eventFilter(watched, event);
}

void PackageDialog::NormalizeName() {
  const QString normal = FromUtf8(NormalizePackageName(name_->text().toStdString()));
  if (name_->text() != normal)
    name_->setText(normal);
}

void PackageDialog::CheckClicked(const SlotRow& row) {
  NormalizeName();
  // The path stays when the box is cleared; an unchecked slot is left out of the build whatever it holds.
  row.Path->setEnabled(row.Check->isChecked());
}

void PackageDialog::BrowseClicked(const SlotRow& row) {
  NormalizeName();
  const std::optional<ConvertJob> job = BrowseSlotFile(row);
  if (!job || !HasExtension(*job, ".bmp"))
    return;
  if (FillPartList(row))
    return;
  UsedHost().ShowMessage(kPackageErrorCaption, kImageSizeUnmatched);
  // A refused image never reaches a build. The part list keeps its earlier filling.
  row.Check->setChecked(false);
  row.Path->setEnabled(false);
  row.Path->clear();
}

std::optional<ConvertJob> PackageDialog::BrowseSlotFile(const SlotRow& row) {
  FileChoice choice = BrowseChoice(row.Slot->Browse);
  if (!UsedHost().ChooseFile(choice) || choice.Files.empty())
    return std::nullopt;
  const std::string& path = choice.Files.front();
  row.Path->setText(FromUtf8(path));
  row.Path->setEnabled(true);
  row.Check->setChecked(true);
  return MakeConvertJob(path, false, settings_);
}

bool PackageDialog::FillPartList(const SlotRow& row) {
  ConvertReport report;
  const ConvertContext ctx(settings_, UsedHost(), report);
  int parts = 0;
  if (!CountParts(*row.Slot, row.Path->text().toStdString(), ctx, parts) || (row.PartList && parts <= 0)) {
    // The box keeps its exact text; a box of our own offers the reason in its details.
    if (ownHost_)
      ownHost_->SetNextMessageDetails(report.Reason);
    return false;
  }
  if (row.PartList) {
    row.PartList->clear();
    for (int k = 1; k <= parts; ++k)
      row.PartList->addItem(QString::asprintf("%d of %d", k, parts));
    row.PartList->setCurrentIndex(0);
  }
  return true;
}

void PackageDialog::EnableSlotControls(const SlotRow& row, bool enable) {
  row.Check->setEnabled(enable);
  row.Path->setEnabled(enable && row.Check->isChecked());
  row.Browse->setEnabled(enable);
  for (QComboBox* list : {row.PartList, row.SizeList}) {
    if (list)
      list->setEnabled(enable);
  }
}

void PackageDialog::EnablePackageControls(bool enable) {
  for (const SlotRow& row : rows_)
    EnableSlotControls(row, enable);
  for (QWidget* control : std::initializer_list<QWidget*>{name_, cancel_, make_})
    control->setEnabled(enable);
}

void PackageDialog::Make() {
  if (building_)
    return;
  NormalizeName();
  const QPointer<QWidget> focus = focusWidget();
  EnablePackageControls(false);
  building_ = true;
  const bool written = BuildPackage(Form(), settings_, UsedHost(), outcome_);
  building_ = false;
  if (written)
    QDialog::accept();
  // A failed or cancelled build leaves every slot and the name as they were, ready to try again.
  EnablePackageControls(true);
  if (!written && focus && focus->isEnabled())
    focus->setFocus();
}

}  // namespace granvel::shell
