#include "shell/progress_panel.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/main_window_form.h"

namespace granvel::shell {

ProgressPanel::ProgressPanel(std::function<void()> cancel, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("progress"));
  bar_ = new QProgressBar(this);
  bar_->setRange(0, 1000);
  bar_->setTextVisible(false);
  bar_->setFixedHeight(12);
  // The hint's small light text, over as many lines as a long name needs.
  line_ = new QLabel(this);
  line_->setAlignment(Qt::AlignCenter);
  line_->setWordWrap(true);
  QFont small = line_->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  line_->setFont(small);
  line_->setStyleSheet(QStringLiteral("color: #a0a0a0;"));
  cancel_ = new QPushButton(QString::fromLatin1(kCancelLabel), this);
  cancel_->setShortcut(QKeySequence(Qt::Key_Escape));
  connect(cancel_, &QPushButton::clicked, this, [this, cancel = std::move(cancel)] {
    cancel_->setEnabled(false);
    cancel();
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 0, 20, 0);
  layout->setSpacing(8);
  layout->addStretch();
  layout->addWidget(bar_);
  layout->addWidget(line_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  layout->addStretch();
}

void ProgressPanel::Reset() {
  bar_->setValue(0);
  line_->clear();
  cancel_->setEnabled(true);
}

void ProgressPanel::Show(const RunProgress& progress) {
  // The file by its name, shortened in the middle when even a line of its own could not hold it.
  RunProgress shown = progress;
  const QString name = QFileInfo(QString::fromStdString(progress.CurrentFile)).fileName();
  shown.CurrentFile = line_->fontMetrics().elidedText(name, Qt::ElideMiddle, line_->width()).toStdString();
  bar_->setValue(ProgressPermille(progress));
  line_->setText(QString::fromStdString(ProgressLine(shown)));
}

}  // namespace granvel::shell
