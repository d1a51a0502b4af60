#include "shell/report_box.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace granvel::shell {
namespace {

// The box on screen; a report that comes while it is open goes into it.
QPointer<ReportBox> showing;

// Room the details take when they open: a path and its reason on one line, ten lines.
constexpr int kDetailsColumns = 72;
constexpr int kDetailsLines = 10;

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr const char* kShowDetails = "Show Details...";
constexpr const char* kHideDetails = "Hide Details...";

}  // namespace

ReportBox::ReportBox(const MessageReport& report, FolderOpener openFolder, QWidget* parent)
    : QDialog(parent), opener_(std::move(openFolder)), folder_(FromUtf8(report.Folder)) {
  setWindowTitle(FromUtf8(report.Caption));
  setSizeGripEnabled(true);

  text_ = new QLabel(FromUtf8(report.Text));
  text_->setObjectName(QStringLiteral("reportText"));
  text_->setTextFormat(Qt::PlainText);  // a path may hold '<' or '&'
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  details_ = new QPlainTextEdit(FromUtf8(report.Details));
  details_->setObjectName(QStringLiteral("reportDetails"));
  details_->setReadOnly(true);
  details_->setLineWrapMode(QPlainTextEdit::NoWrap);  // one line per item; long ones scroll
  details_->hide();

  showDetails_ = new QPushButton(QString::fromLatin1(kShowDetails));
  openFolder_ = new QPushButton(QStringLiteral("Open folder"));
  ok_ = new QPushButton(QStringLiteral("OK"));
  for (QPushButton* button : {showDetails_, openFolder_})
    button->setAutoDefault(false);
  ok_->setDefault(true);
  connect(showDetails_, &QPushButton::clicked, this, &ReportBox::ToggleDetails);
  connect(openFolder_, &QPushButton::clicked, this, &ReportBox::OpenFolder);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(showDetails_);
  buttons->addStretch(1);
  buttons->addWidget(openFolder_);
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(details_, 1);
  layout->addLayout(buttons);
  UpdateButtons();
  ok_->setFocus();
}

ReportBox::~ReportBox() = default;

ReportBox* ReportBox::Showing() {
  return showing;
}

void ReportBox::Append(const MessageReport& report) {
  text_->setText(text_->text() + QStringLiteral("\n\n") + FromUtf8(report.Text));
  if (!report.Details.empty()) {
    if (!details_->document()->isEmpty())
      details_->appendPlainText(FromUtf8(report.Details));
    else
      details_->setPlainText(FromUtf8(report.Details));
  }
  if (folder_.isEmpty())
    folder_ = FromUtf8(report.Folder);
  UpdateButtons();
  if (isVisible()) {
    layout()->activate();
    resize(size().expandedTo(sizeHint()));
    raise();
  }
}

QString ReportBox::Text() const {
  return text_->text();
}

QString ReportBox::Details() const {
  return details_->toPlainText();
}

// A box minimised and restored (spontaneous events) stays the open one.
void ReportBox::showEvent(QShowEvent* event) {
  if (!event->spontaneous())
    showing = this;
  QDialog::showEvent(event);
}

void ReportBox::hideEvent(QHideEvent* event) {
  if (!event->spontaneous() && showing == this)
    showing = nullptr;
  QDialog::hideEvent(event);
}

void ReportBox::ToggleDetails() {
  if (details_->isHidden()) {
    const QSize before = size();
    details_->show();
    showDetails_->setText(QString::fromLatin1(kHideDetails));
    layout()->activate();
    const QFontMetrics metrics = details_->fontMetrics();
    resize(qMax(before.width(), metrics.averageCharWidth() * kDetailsColumns),
           qMax(height(), before.height() + metrics.lineSpacing() * kDetailsLines));
  } else {
    details_->hide();
    showDetails_->setText(QString::fromLatin1(kShowDetails));
    layout()->activate();
    resize(width(), sizeHint().height());
  }
}

void ReportBox::OpenFolder() {
  if (opener_ && opener_(folder_)) {
    accept();
    return;
  }
  // The box stays, so that its details can still be read.
  QMessageBox::warning(this, QStringLiteral("Open folder"),
                       QStringLiteral("No file manager could open the folder ") +
                           QDir::toNativeSeparators(QDir::cleanPath(folder_)));
}

void ReportBox::UpdateButtons() {
  showDetails_->setVisible(!details_->document()->isEmpty());
  openFolder_->setVisible(!folder_.isEmpty());
}

}  // namespace granvel::shell
