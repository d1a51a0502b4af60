#include "shell/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <utility>

namespace granvel::shell {
namespace {

QString DefaultFolderBrowser(QWidget* parent, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, QStringLiteral("Select folder"), start,
                                           QFileDialog::ShowDirsOnly);
}

QString Label(OptionControl control) {
  return QString::fromUtf8(OptionLabel(control));
}

// One exclusive set of radio buttons: checking one unchecks the others of its set only.
QButtonGroup* Exclusive(QObject* owner, std::initializer_list<QRadioButton*> radios) {
  auto* group = new QButtonGroup(owner);
  group->setExclusive(true);
  for (QRadioButton* radio : radios)
    group->addButton(radio);
  return group;
}

}  // namespace

OptionsDialog::OptionsDialog(ConvertSettings& settings, std::string iniPath, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      iniPath_(std::move(iniPath)),
      browseFolder_(DefaultFolderBrowser) {
  setWindowTitle(QString::fromUtf8(kOptionsTitle));

  auto* left = new QVBoxLayout;
  left->addWidget(MakeSaveToGroup());
  left->addWidget(MakeCommonGroup());
  left->addWidget(MakePrgTextGroup());
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(MakeChrGroup());
  right->addWidget(MakeZkpGroup());
  right->addStretch(1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);

  auto* done = new QPushButton(QStringLiteral("Done"));
  done->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"));
  connect(done, &QPushButton::clicked, this, &OptionsDialog::Done);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(done);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ShowForm(OptionsForm::From(settings_));
  SetTooltips();
  UpdateEnabled();
  connect(selectGroup_, &QButtonGroup::buttonToggled, this, &OptionsDialog::UpdateEnabled);
  for (QCheckBox* box : {textOut_, keepWidth_, multiByte_})
    connect(box, &QCheckBox::toggled, this, &OptionsDialog::UpdateEnabled);
  connect(browse_, &QPushButton::clicked, this, &OptionsDialog::BrowseFolder);
}

QGroupBox* OptionsDialog::MakeSaveToGroup() {
  auto* group = new QGroupBox(QString::fromUtf8(kSaveToCaption));
  sameAsSource_ = new QRadioButton(Label(OptionControl::SameAsSource));
  sameAsTool_ = new QRadioButton(Label(OptionControl::SameAsTool));
  selectedFolder_ = new QRadioButton(Label(OptionControl::SelectedFolder));
  selectGroup_ = Exclusive(this, {sameAsSource_, sameAsTool_, selectedFolder_});
  userFolder_ = new QLineEdit;
  userFolder_->setObjectName(QStringLiteral("userFolder"));
  userFolder_->setReadOnly(true);
  userFolder_->setMinimumWidth(220);
  browse_ = new QPushButton(QStringLiteral("Select"));
  browse_->setAutoDefault(false);
  makeZkpFolder_ = new QCheckBox(Label(OptionControl::MakeZkpFolder));

  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(userFolder_, 1);
  folderRow->addWidget(browse_);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(sameAsSource_);
  layout->addWidget(sameAsTool_);
  layout->addWidget(selectedFolder_);
  layout->addLayout(folderRow);
  layout->addWidget(makeZkpFolder_);
  return group;
}

QGroupBox* OptionsDialog::MakeCommonGroup() {
  auto* group = new QGroupBox(QString::fromUtf8(kCommonCaption));
  textOut_ = new QCheckBox(Label(OptionControl::TextOut));
  dataHex_ = new QRadioButton(Label(OptionControl::DataHex));
  dataDec_ = new QRadioButton(Label(OptionControl::DataDec));
  Exclusive(this, {dataHex_, dataDec_});
  pngImage_ = new QCheckBox(Label(OptionControl::PngImage));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(textOut_);
  layout->addWidget(dataHex_);
  layout->addWidget(dataDec_);
  layout->addWidget(pngImage_);
  return group;
}

QGroupBox* OptionsDialog::MakePrgTextGroup() {
  auto* group = new QGroupBox(QString::fromUtf8(kPrgTextCaption));
  prgLimit_ = new QCheckBox(Label(OptionControl::PrgLimit));
  prgToScr_ = new QCheckBox(Label(OptionControl::PrgToScr));
  prgToMem_ = new QCheckBox(Label(OptionControl::PrgToMem));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(prgLimit_);
  layout->addWidget(prgToScr_);
  layout->addWidget(prgToMem_);
  return group;
}

QGroupBox* OptionsDialog::MakeChrGroup() {
  auto* group = new QGroupBox(QString::fromUtf8(kChrCaption));
  keepWidth_ = new QCheckBox(Label(OptionControl::KeepWidth));
  split128_ = new QRadioButton(Label(OptionControl::Split128));
  split256_ = new QRadioButton(Label(OptionControl::Split256));
  Exclusive(this, {split128_, split256_});
  auto* paletteLabel = new QLabel(QString::fromUtf8(kOneBitLabel));
  palette01_ = new QRadioButton(Label(OptionControl::PaletteKeep));
  palette15_ = new QRadioButton(Label(OptionControl::Palette15));
  paletteAsk_ = new QRadioButton(Label(OptionControl::PaletteAsk));
  Exclusive(this, {palette01_, palette15_, paletteAsk_});
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(keepWidth_);
  layout->addWidget(split128_);
  layout->addWidget(split256_);
  layout->addSpacing(6);
  layout->addWidget(paletteLabel);
  layout->addWidget(palette01_);
  layout->addWidget(palette15_);
  layout->addWidget(paletteAsk_);
  shareTiles_ = new QCheckBox(Label(OptionControl::ShareTiles));
  layout->addSpacing(6);
  layout->addWidget(shareTiles_);
  return group;
}

QGroupBox* OptionsDialog::MakeZkpGroup() {
  auto* group = new QGroupBox(QString::fromUtf8(kZkpCaption));
  multiByte_ = new QCheckBox(Label(OptionControl::MultiByte));
  escape_ = new QCheckBox(Label(OptionControl::Escape));
  make128_ = new QRadioButton(Label(OptionControl::Make128));
  make256_ = new QRadioButton(Label(OptionControl::Make256));
  Exclusive(this, {make128_, make256_});
  utf8Text_ = new QCheckBox(Label(OptionControl::Utf8Text));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(multiByte_);
  layout->addWidget(escape_);
  layout->addWidget(make128_);
  layout->addWidget(make256_);
  layout->addWidget(utf8Text_);
  return group;
}

OptionsForm OptionsDialog::Form() const {
  OptionsForm form;
  form.Select = sameAsTool_->isChecked()       ? kSelectToolFolder
                : selectedFolder_->isChecked() ? kSelectUserFolder
                                               : kSelectSourceFolder;
  form.User = userFolder_->text().toStdString();
  form.MakeZkpFolder = makeZkpFolder_->isChecked();
  form.TextOut = textOut_->isChecked();
  form.DataHex = dataHex_->isChecked();
  form.PrgLimit = prgLimit_->isChecked();
  form.PrgToScr = prgToScr_->isChecked();
  form.PrgToMem = prgToMem_->isChecked();
  form.KeepWidth = keepWidth_->isChecked();
  form.Split256 = split256_->isChecked();
  form.Palette = paletteAsk_->isChecked()  ? OneBitPalette::Ask
                 : palette15_->isChecked() ? OneBitPalette::Use15
                                           : OneBitPalette::Keep01;
  form.MultiByte = multiByte_->isChecked();
  form.Escape = escape_->isChecked();
  form.PngImage = pngImage_->isChecked();
  form.Make256 = make256_->isChecked();
  form.Utf8Text = utf8Text_->isChecked();
  form.ShareTiles = shareTiles_->isChecked();
  return form;
}

void OptionsDialog::ShowForm(const OptionsForm& form) {
  sameAsSource_->setChecked(form.Select == kSelectSourceFolder);
  sameAsTool_->setChecked(form.Select == kSelectToolFolder);
  selectedFolder_->setChecked(form.Select == kSelectUserFolder);
  makeZkpFolder_->setChecked(form.MakeZkpFolder);
  userFolder_->setText(QString::fromStdString(form.User));

  textOut_->setChecked(form.TextOut);
  (form.DataHex ? dataHex_ : dataDec_)->setChecked(true);

  keepWidth_->setChecked(form.KeepWidth);
  (form.Split256 ? split256_ : split128_)->setChecked(true);
  (form.Make256 ? make256_ : make128_)->setChecked(true);

  prgLimit_->setChecked(form.PrgLimit);
  prgToScr_->setChecked(form.PrgToScr);
  prgToMem_->setChecked(form.PrgToMem);
  escape_->setChecked(form.Escape);
  pngImage_->setChecked(form.PngImage);
  multiByte_->setChecked(form.MultiByte);
  utf8Text_->setChecked(form.Utf8Text);
  shareTiles_->setChecked(form.ShareTiles);

  (form.Palette == OneBitPalette::Keep01  ? palette01_
   : form.Palette == OneBitPalette::Use15 ? palette15_
                                          : paletteAsk_)
      ->setChecked(true);
}

void OptionsDialog::SetTooltips() {
  // The folder field and its "Select" button explain the same thing; the 1-bit palette label has none.
  const std::pair<QWidget*, OptionControl> controls[] = {
      {sameAsSource_, OptionControl::SameAsSource},
      {sameAsTool_, OptionControl::SameAsTool},
      {selectedFolder_, OptionControl::SelectedFolder},
      {userFolder_, OptionControl::UserFolder},
      {browse_, OptionControl::UserFolder},
      {makeZkpFolder_, OptionControl::MakeZkpFolder},
      {textOut_, OptionControl::TextOut},
      {dataHex_, OptionControl::DataHex},
      {dataDec_, OptionControl::DataDec},
      {pngImage_, OptionControl::PngImage},
      {prgLimit_, OptionControl::PrgLimit},
      {prgToScr_, OptionControl::PrgToScr},
      {prgToMem_, OptionControl::PrgToMem},
      {keepWidth_, OptionControl::KeepWidth},
      {split128_, OptionControl::Split128},
      {split256_, OptionControl::Split256},
      {palette01_, OptionControl::PaletteKeep},
      {palette15_, OptionControl::Palette15},
      {paletteAsk_, OptionControl::PaletteAsk},
      {multiByte_, OptionControl::MultiByte},
      {escape_, OptionControl::Escape},
      {make128_, OptionControl::Make128},
      {make256_, OptionControl::Make256},
      {utf8Text_, OptionControl::Utf8Text},
      {shareTiles_, OptionControl::ShareTiles},
  };
  // As rich text a tooltip wraps into lines of a readable width; plain text would stay one line.
  for (const auto& [widget, control] : controls)
    widget->setToolTip(
        Qt::convertFromPlainText(QString::fromUtf8(OptionTooltip(control)), Qt::WhiteSpaceNormal));
}

void OptionsDialog::UpdateEnabled() {
  const OptionsForm form = Form();
  userFolder_->setEnabled(form.UserFolderEnabled());
  browse_->setEnabled(form.UserFolderEnabled());
  dataHex_->setEnabled(form.DataTypeEnabled());
  dataDec_->setEnabled(form.DataTypeEnabled());
  split128_->setEnabled(form.SplitEnabled());
  split256_->setEnabled(form.SplitEnabled());
  escape_->setEnabled(form.EscapeEnabled());
}

void OptionsDialog::BrowseFolder() {
  const QString folder = browseFolder_(this, userFolder_->text());
  if (!folder.isEmpty())
    userFolder_->setText(folder);
}

void OptionsDialog::Done() {
  Form().ApplyTo(settings_);
  // A failed write is not reported: the record keeps the new values for the rest of the run.
  std::string error;
  SaveSettings(settings_, iniPath_, error);
  accept();
}

}  // namespace granvel::shell
