#include "shell/package_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "shell/qt_host.h"

namespace granvel::shell {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The slot table's dimensions are dialog units: a quarter of the average character width across.
int DialogUnitsX(const QWidget* widget, int units) {
  return units * widget->fontMetrics().averageCharWidth() / 4;
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

void ShowEntries(QComboBox* list, const std::vector<std::string>& entries, std::optional<int> selected) {
  QStringList texts;
  for (const std::string& entry : entries)
    texts << FromUtf8(entry);
  QStringList shown;
  for (int i = 0; i < list->count(); ++i)
    shown << list->itemText(i);
  if (shown != texts) {
    list->clear();
    list->addItems(texts);
  }
  list->setCurrentIndex(selected.value_or(-1));
}

}  // namespace

PackageDialog::PackageDialog(const ConvertSettings& settings, Host* host, QWidget* parent,
                             std::string* browseFolder)
    : QDialog(parent) {
  if (!host) {
    ownHost_ = std::make_unique<QtHost>(this);
    host = ownHost_.get();
  }
  form_ = std::make_unique<PackageDialogForm>(settings, *host, browseFolder);
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

  pages_ = new QTabWidget;
  pages_->addTab(MakePage(false), QStringLiteral("Up screen"));
  pages_->addTab(MakePage(true), QStringLiteral("Down screen"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakePackageGroup());
  layout->addWidget(pages_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  form_->SetOnChange([this] { Refresh(); });
  Refresh();
}

PackageDialog::~PackageDialog() = default;

QWidget* PackageDialog::MakePage(bool lowerScreen) {
  auto* page = new QWidget;
  auto* columns = new QHBoxLayout(page);
  QVBoxLayout* column[2] = {new QVBoxLayout, new QVBoxLayout};
  for (const SlotGroup& group : PackageDialogGroups()) {
    if (group.Lower == lowerScreen)
      column[group.Right]->addWidget(MakeGroup(group));
  }
  for (QVBoxLayout* c : column) {
    c->addStretch(1);
    columns->addLayout(c);
  }
  return page;
}

QGroupBox* PackageDialog::MakeGroup(const SlotGroup& group) {
  auto* box = new QGroupBox(FromUtf8(group.Caption));
  auto* rows = new QVBoxLayout(box);
  rows->setSpacing(2);
  for (const SlotInfo* slot : group.Members)
    AddSlotRow(rows, *slot);
  if (group.Members.front()->Kind == SlotKind::Scr) {
    // Under the screen's maps, lined up with their path fields.
    QPushButton*& fill = fill_[group.Lower];
    fill = new QPushButton(FromUtf8(kFillFromScreenLabel));
    fill->setObjectName(group.Lower ? QStringLiteral("fillDown") : QStringLiteral("fillUp"));
    fill->setAutoDefault(false);
    auto* line = new QHBoxLayout;
    auto* underCheck = new QWidget;
    underCheck->setFixedSize(widths_.Check, 0);
    line->addWidget(underCheck);
    line->addWidget(fill);
    line->addStretch(1);
    rows->addLayout(line);
    const bool lower = group.Lower;
    connect(fill, &QPushButton::clicked, this, [this, lower] { form_->FillFromScreen(lower); });
  }
  return box;
}

void PackageDialog::AddSlotRow(QVBoxLayout* rows, const SlotInfo& slot) {
  SlotRow row;
  row.Slot = &slot;
  row.Check = new QCheckBox(FromUtf8(slot.Label));
  row.Check->setObjectName(QStringLiteral("check%1").arg(slot.SlotId));
  row.Check->setFixedWidth(slot.Kind == SlotKind::Col ? widths_.WideCheck : widths_.Check);
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
    if (list)
      line->addWidget(list);
  }
  line->addStretch(1);
  rows->addLayout(line);
  rows_.push_back(row);

  const int id = slot.SlotId;
  connect(row.Check, &QCheckBox::clicked, this, [this, id](bool checked) { form_->SetChecked(id, checked); });
  connect(row.Browse, &QPushButton::clicked, this, [this, id] { form_->Browse(id); });
  connect(row.Path, &QLineEdit::textEdited, this,
          [this, id](const QString& text) { form_->EditPath(id, text.toStdString()); });
  if (row.SizeList)
    connect(row.SizeList, &QComboBox::activated, this,
            [this, id](int index) { form_->SelectSize(id, index); });
  if (row.PartList)
    connect(row.PartList, &QComboBox::activated, this,
            [this, id](int index) { form_->SelectPart(id, index); });
  // Entering a path field or a list is a command of that control too.
  for (QWidget* control : std::initializer_list<QWidget*>{row.Path, row.SizeList, row.PartList}) {
    if (control)
      control->installEventFilter(this);
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

  connect(name_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_->EditName(text.toStdString()); });
  connect(cancel_, &QPushButton::clicked, this, &PackageDialog::reject);
  connect(make_, &QPushButton::clicked, this, &PackageDialog::Make);
  return box;
}

const PackageDialog::SlotRow& PackageDialog::Row(int slotId) const {
  for (const SlotRow& row : rows_) {
    if (row.Slot->SlotId == slotId)
      return row;
  }
  throw std::out_of_range("no package slot has the id " + std::to_string(slotId));
}

void PackageDialog::Refresh() {
  const PackageForm& form = form_->Form();
  const bool enabled = form_->ControlsEnabled();
  for (const SlotRow& row : rows_) {
    const int id = row.Slot->SlotId;
    const SlotState& state = form.Slot(id);
    row.Check->setChecked(state.Checked);
    if (row.Path->text() != FromUtf8(state.Path))
      row.Path->setText(FromUtf8(state.Path));
    row.Path->setEnabled(form_->PathEnabled(id));
    row.Check->setEnabled(enabled);
    row.Browse->setEnabled(enabled);
    if (row.PartList)
      ShowEntries(row.PartList, form_->PartEntries(id), state.PartIndex);
    if (row.SizeList)
      ShowEntries(row.SizeList, PackageDialogForm::SizeEntries(*row.Slot), state.SizeIndex);
    for (QComboBox* list : {row.PartList, row.SizeList}) {
      if (list)
        list->setEnabled(enabled);
    }
  }
  if (name_->text() != FromUtf8(form.PackageName))
    name_->setText(FromUtf8(form.PackageName));
  for (QWidget* control : std::initializer_list<QWidget*>{name_, cancel_, make_, fill_[0], fill_[1]})
    control->setEnabled(enabled);
}

void PackageDialog::reject() {
  if (form_->Cancel())
    QDialog::reject();
}

bool PackageDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn)
    form_->UseControl();
  return QDialog::eventFilter(watched, event);
}

void PackageDialog::Make() {
  const QPointer<QWidget> focus = focusWidget();
  if (form_->Make()) {
    QDialog::accept();
    return;
  }
  // A failed or cancelled build leaves every slot and the name as they were, ready to try again.
  if (focus && focus->isEnabled())
    focus->setFocus();
}

}  // namespace granvel::shell
