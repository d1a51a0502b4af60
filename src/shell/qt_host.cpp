#include "shell/qt_host.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include "shell/report_box.h"

namespace granvel::shell {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "*.*" means every file on Windows; here a name need not have a dot.
QString PatternOf(const std::string& pattern) {
  return pattern == "*.*" ? QStringLiteral("*") : FromUtf8(pattern);
}

QStringList NameFiltersOf(const FileChoice& choice) {
  QStringList filters;
  for (const auto& [label, pattern] : choice.Filter)
    filters << FromUtf8(label) + QStringLiteral(" (") + PatternOf(pattern) + QStringLiteral(")");
  return filters;
}

}  // namespace

QtHost::QtHost(QWidget* owner)
    : owner_(owner), openFolder_([](const QString& folder) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
      }) {}

bool QtHost::AskYesNo(const std::string& caption, const std::string& text) {
  return QMessageBox::question(owner_, FromUtf8(caption), FromUtf8(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtHost::AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) {
  QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text),
                  QMessageBox::Yes | QMessageBox::No, owner_);
  auto* keepBox = new QCheckBox(QString::fromUtf8(kKeepAnswerLabel));
  box.setCheckBox(keepBox);
  const bool yes = box.exec() == QMessageBox::Yes;
  keep = keepBox->isChecked();
  return yes;
}

void QtHost::ShowMessage(const std::string& caption, const std::string& text) {
  ShowReport({caption, text, {}, {}});
}

void QtHost::ShowReport(const MessageReport& report) {
  if (ReportBox* open = ReportBox::Showing()) {
    open->Append(report);
    return;
  }
  ReportBox box(report, openFolder_, owner_);
  box.exec();
}

bool QtHost::ChooseFile(FileChoice& choice) {
  choice.Files.clear();
  QFileDialog dialog(owner_, FromUtf8(choice.Title));
  const QStringList filters = NameFiltersOf(choice);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
  }
  if (!choice.DefaultExt.empty())
    dialog.setDefaultSuffix(FromUtf8(choice.DefaultExt));
  // A path that ends in a separator is a folder to open in; any other names a file in its folder.
  const QString initialPath = FromUtf8(choice.InitialPath);
  if (initialPath.endsWith(QLatin1Char('/'))) {
    dialog.setDirectory(initialPath);
  } else if (!initialPath.isEmpty()) {
    const QFileInfo initial(initialPath);
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
  }
  if (choice.FolderMode) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
  } else if (choice.SaveMode) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted)
    return false;
  for (const QString& file : dialog.selectedFiles())
    choice.Files.push_back(file.toStdString());
  return !choice.Files.empty();
}

}  // namespace granvel::shell
