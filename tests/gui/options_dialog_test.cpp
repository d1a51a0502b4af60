// The "Option settings" dialog driven through its real controls.
#include "shell/options_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "gui/gui_support.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

using test::TempDir;

// Labels of the dialog, by kind.
const QStringList kGroups = {"Save to...", "Common settings", "PRG text settings", "CHR resource settings",
                             "ZKP file settings"};
const QStringList kRadios = {"Same folder as source",
                             "Same folder as tool",
                             "Selected folder",
                             "Output DATA with hex string on GRP resource",
                             "Output DATA with dec number on GRP resource",
                             "Split by 128x128 pixels",
                             "Split by 256x 64 pixels",
                             "Use Palette 01 ( Keep as source )",
                             "Use Palette 15 ( Zorikamu font color )",
                             "Choose every times",
                             "Make 128x128 pixel images in CHR resource data",
                             "Make 256x 64 pixel images in CHR resource data"};
const QStringList kChecks = {"Make 'ZKP' folder",
                             "Make with text file containing DATA commands",
                             "Make error in line of 100 or more chars string",
                             "Convert SCR at end of file name by '_scr.txt'",
                             "Convert MEM at end of file name by '_mem.txt'",
                             "Keep width of source image",
                             "Make text at S-JIS char set in program data",
                             "Escape smaller or bigger code's chars"};

// A dialog on a record of its own, saving to GRANVEL.ini in a temporary folder.
struct Fixture {
  TempDir dir;
  ConvertSettings settings;
  std::string ini = dir / "GRANVEL.ini";
  std::unique_ptr<OptionsDialog> dialog;

  Fixture() { settings.ToolDir = settings.User = dir.Path(); }
  OptionsDialog& Open() {
    dialog = std::make_unique<OptionsDialog>(settings, ini);
    dialog->show();
    return *dialog;
  }
  QRadioButton* Radio(const char* label) const { return test::FindByText<QRadioButton>(dialog.get(), label); }
  QCheckBox* Check(const char* label) const { return test::FindByText<QCheckBox>(dialog.get(), label); }
  QPushButton* Button(const char* label) const { return test::FindByText<QPushButton>(dialog.get(), label); }
  QLineEdit* Folder() const { return dialog->findChild<QLineEdit*>("userFolder"); }
};

bool SameRecord(const ConvertSettings& a, const ConvertSettings& b) {
  return a.Select == b.Select && a.Create == b.Create && a.User == b.User && a.TextOut == b.TextOut &&
         a.DATA_Type == b.DATA_Type && a.AutoTrim == b.AutoTrim && a.WideMode == b.WideMode &&
         a.Make_Wide == b.Make_Wide && a.PRG_Limit == b.PRG_Limit && a.PRG_To_SCR == b.PRG_To_SCR &&
         a.PRG_To_MEM == b.PRG_To_MEM && a.PRG_MultiByte == b.PRG_MultiByte && a.PRG_ESCAPE == b.PRG_ESCAPE &&
         a.PAL_Fix_1bit == b.PAL_Fix_1bit && a.ConvertType == b.ConvertType && a.UnitWidth == b.UnitWidth &&
         a.UnitHeight == b.UnitHeight && a.ToolDir == b.ToolDir;
}

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsEveryControlOfTheTable() {
    Fixture f;
    OptionsDialog& dialog = f.Open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Option settings"));
    for (const QString& label : kGroups)
      QVERIFY2(FindGroup(dialog, label), qPrintable(label));
    for (const QString& label : kRadios)
      QVERIFY2(test::FindByText<QRadioButton>(&dialog, label), qPrintable(label));
    for (const QString& label : kChecks)
      QVERIFY2(test::FindByText<QCheckBox>(&dialog, label), qPrintable(label));
    QVERIFY(test::FindByText<QLabel>(&dialog, "Convert of 1bit ( 2 colors ) BMP file"));
    QVERIFY(f.Button("Select"));
    QVERIFY(f.Button("Done"));
    QVERIFY(f.Button("Done")->isDefault());
    QVERIFY(f.Button("Cancel"));
    QVERIFY(f.Folder());
    QVERIFY(f.Folder()->isReadOnly());
    // Every label fits: no control is narrower than its text asks for.
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
      QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
    test::SaveScreenshot(&dialog, QStringLiteral("options_dialog"));
  }

  void opensWithTheRecordOfNoIniFile() {
    Fixture f;  // the values a load without INI file gives
    f.Open();
    QVERIFY(f.Radio("Same folder as source")->isChecked());
    QVERIFY(!f.Folder()->isEnabled());
    QVERIFY(!f.Button("Select")->isEnabled());
    QCOMPARE(f.Folder()->text(), QString::fromStdString(f.dir.Path()));
    QVERIFY(!f.Check("Make 'ZKP' folder")->isChecked());
    QVERIFY(f.Check("Make with text file containing DATA commands")->isChecked());
    QVERIFY(f.Radio("Output DATA with hex string on GRP resource")->isEnabled());
    QVERIFY(f.Radio("Output DATA with hex string on GRP resource")->isChecked());  // DATA_Type -1
    QVERIFY(!f.Check("Keep width of source image")->isChecked());                  // AutoTrim 1
    QVERIFY(!f.Radio("Split by 256x 64 pixels")->isEnabled());
    QVERIFY(f.Radio("Split by 256x 64 pixels")->isChecked());  // WideMode -1
    QVERIFY(f.Radio("Make 256x 64 pixel images in CHR resource data")->isChecked());
    QVERIFY(f.Check("Make error in line of 100 or more chars string")->isChecked());
    QVERIFY(f.Check("Convert SCR at end of file name by '_scr.txt'")->isChecked());
    QVERIFY(f.Check("Convert MEM at end of file name by '_mem.txt'")->isChecked());
    QVERIFY(!f.Check("Make text at S-JIS char set in program data")->isChecked());
    QVERIFY(f.Check("Escape smaller or bigger code's chars")->isEnabled());
    QVERIFY(!f.Check("Escape smaller or bigger code's chars")->isChecked());
    QVERIFY(f.Radio("Choose every times")->isChecked());  // PAL_Fix_1bit -1
  }

  void opensWithEveryOtherValueOfTheRecord() {
    Fixture f;
    f.settings.Select = 770;
    f.settings.Create = 1;
    f.settings.User = "/chosen";
    f.settings.TextOut = 0;
    f.settings.DATA_Type = 0;
    f.settings.AutoTrim = 0;
    f.settings.WideMode = 0;
    f.settings.Make_Wide = 0;
    f.settings.PRG_MultiByte = 1;
    f.settings.PRG_ESCAPE = 1;
    f.settings.PAL_Fix_1bit = 1;
    f.Open();
    QVERIFY(f.Radio("Selected folder")->isChecked());
    QVERIFY(f.Folder()->isEnabled());
    QVERIFY(f.Button("Select")->isEnabled());
    QCOMPARE(f.Folder()->text(), QStringLiteral("/chosen"));
    QVERIFY(f.Check("Make 'ZKP' folder")->isChecked());
    QVERIFY(!f.Radio("Output DATA with dec number on GRP resource")->isEnabled());
    QVERIFY(f.Radio("Output DATA with dec number on GRP resource")->isChecked());
    QVERIFY(f.Check("Keep width of source image")->isChecked());
    QVERIFY(f.Radio("Split by 128x128 pixels")->isEnabled());
    QVERIFY(f.Radio("Split by 128x128 pixels")->isChecked());
    QVERIFY(f.Radio("Make 128x128 pixel images in CHR resource data")->isChecked());
    QVERIFY(!f.Check("Escape smaller or bigger code's chars")->isEnabled());
    QVERIFY(f.Check("Escape smaller or bigger code's chars")->isChecked());
    QVERIFY(f.Radio("Use Palette 15 ( Zorikamu font color )")->isChecked());

    f.settings.PAL_Fix_1bit = 0;
    f.Open();
    QVERIFY(f.Radio("Use Palette 01 ( Keep as source )")->isChecked());
    f.settings.PAL_Fix_1bit = 7;  // any other value asks
    f.Open();
    QVERIFY(f.Radio("Choose every times")->isChecked());
  }

  void selectedFolderEnablesTheFolderFieldAndItsButton() {
    Fixture f;
    f.Open();
    QVERIFY(!f.Folder()->isEnabled());
    QVERIFY(test::Click(f.Radio("Selected folder")));
    QVERIFY(f.Radio("Selected folder")->isChecked());
    QVERIFY(!f.Radio("Same folder as source")->isChecked());
    QVERIFY(f.Folder()->isEnabled());
    QVERIFY(f.Button("Select")->isEnabled());
    QVERIFY(test::Click(f.Radio("Same folder as tool")));
    QVERIFY(!f.Radio("Selected folder")->isChecked());
    QVERIFY(!f.Folder()->isEnabled());
    QVERIFY(!f.Button("Select")->isEnabled());
    f.Button("Done")->click();
    QCOMPARE(f.settings.Select, 769);
  }

  void selectButtonPutsTheChosenFolderIntoTheField() {
    Fixture f;
    f.settings.Select = 770;
    f.settings.User = "/start";
    OptionsDialog& dialog = f.Open();
    QString startedAt;
    dialog.SetFolderBrowser([&](QWidget*, const QString& start) {
      startedAt = start;
      return QStringLiteral("/picked/folder");
    });
    QVERIFY(test::Click(f.Button("Select")));
    QCOMPARE(startedAt, QStringLiteral("/start"));
    QCOMPARE(f.Folder()->text(), QStringLiteral("/picked/folder"));
    QCOMPARE(f.settings.User, std::string("/start"));  // not before "Done"
    f.Button("Done")->click();
    QCOMPARE(f.settings.User, std::string("/picked/folder"));
  }

  void cancelledFolderBrowserLeavesTheField() {
    Fixture f;
    f.settings.Select = 770;
    f.settings.User = "/start";
    OptionsDialog& dialog = f.Open();
    dialog.SetFolderBrowser([](QWidget*, const QString&) { return QString(); });
    QVERIFY(test::Click(f.Button("Select")));
    QCOMPARE(f.Folder()->text(), QStringLiteral("/start"));
  }

  void uncheckingDataTextGreysItsRadiosButKeepsTheirChoice() {
    Fixture f;
    f.Open();
    QVERIFY(test::Click(f.Radio("Output DATA with dec number on GRP resource")));
    QVERIFY(!f.Radio("Output DATA with hex string on GRP resource")->isChecked());
    QVERIFY(test::Click(f.Check("Make with text file containing DATA commands")));
    QVERIFY(!f.Radio("Output DATA with hex string on GRP resource")->isEnabled());
    QVERIFY(!f.Radio("Output DATA with dec number on GRP resource")->isEnabled());
    QVERIFY(f.Radio("Output DATA with dec number on GRP resource")->isChecked());
    f.Button("Done")->click();
    QCOMPARE(f.settings.TextOut, 0);
    QCOMPARE(f.settings.DATA_Type, 0);
    QCOMPARE(LoadSettings(f.ini, f.dir.Path()).DATA_Type, 0);
  }

  void keepWidthEnablesTheSplitRadios() {
    Fixture f;
    f.Open();
    QVERIFY(test::Click(f.Check("Keep width of source image")));
    QVERIFY(f.Radio("Split by 128x128 pixels")->isEnabled());
    QVERIFY(f.Radio("Split by 256x 64 pixels")->isEnabled());
    QVERIFY(test::Click(f.Radio("Split by 128x128 pixels")));
    QVERIFY(test::Click(f.Check("Keep width of source image")));
    QVERIFY(!f.Radio("Split by 128x128 pixels")->isEnabled());
    QVERIFY(test::Click(f.Check("Keep width of source image")));
    f.Button("Done")->click();
    QCOMPARE(f.settings.AutoTrim, 0);
    QCOMPARE(f.settings.WideMode, 0);
  }

  void radioSetsSharingAGroupBoxStaySeparate() {
    Fixture f;
    f.Open();
    QVERIFY(test::Click(f.Radio("Use Palette 15 ( Zorikamu font color )")));
    QVERIFY(f.Radio("Split by 256x 64 pixels")->isChecked());
    QVERIFY(!f.Radio("Choose every times")->isChecked());
    QVERIFY(test::Click(f.Radio("Make 128x128 pixel images in CHR resource data")));
    QVERIFY(f.Radio("Use Palette 15 ( Zorikamu font color )")->isChecked());
    QVERIFY(!f.Radio("Make 256x 64 pixel images in CHR resource data")->isChecked());
  }

  void shiftJisTextGreysEscapeAndDoneSavesWhatEscapeShows() {
    Fixture f;
    f.Open();
    QVERIFY(test::Click(f.Check("Escape smaller or bigger code's chars")));
    QVERIFY(test::Click(f.Check("Make text at S-JIS char set in program data")));
    QVERIFY(!f.Check("Escape smaller or bigger code's chars")->isEnabled());
    QVERIFY(f.Check("Escape smaller or bigger code's chars")->isChecked());  // the tick is left alone
    f.Button("Done")->click();
    QCOMPARE(f.settings.PRG_MultiByte, 1);
    QCOMPARE(f.settings.PRG_ESCAPE, 1);

    f.Open();
    QVERIFY(test::Click(f.Check("Make text at S-JIS char set in program data")));
    QVERIFY(f.Check("Escape smaller or bigger code's chars")->isEnabled());
  }

  void wideModeMinusOneOpensAs256By64AndSavesOne() {
    Fixture f;
    f.settings.WideMode = -1;
    f.Open();
    QVERIFY(f.Radio("Split by 256x 64 pixels")->isChecked());
    QVERIFY(!f.Radio("Split by 128x128 pixels")->isChecked());
    f.Button("Done")->click();
    QCOMPARE(f.settings.WideMode, 1);
    QCOMPARE(LoadSettings(f.ini, f.dir.Path()).WideMode, 1);
    QVERIFY(test::ReadText(f.ini).find("WideMode=1") != std::string::npos);
  }

  void doneCopiesEveryControlAndSavesTheIni() {
    Fixture f;
    const ConvertSettings before = f.settings;
    OptionsDialog& dialog = f.Open();
    dialog.SetFolderBrowser([](QWidget*, const QString&) { return QStringLiteral("/out/here"); });
    ChangeEveryControl(f);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    f.Button("Done")->click();
    QCOMPARE(accepted.count(), 1);
    QVERIFY(!dialog.isVisible());
    const ConvertSettings expected = ChangedRecord(before);
    QVERIFY(SameRecord(f.settings, expected));
    ConvertSettings loaded = LoadSettings(f.ini, f.dir.Path());
    QVERIFY(SameRecord(loaded, expected));
  }

  void cancelAfterChangingEverythingLeavesRecordAndIniUnchanged() {
    Fixture f;
    std::string error;
    QVERIFY(SaveSettings(f.settings, f.ini, error));
    test::WriteText(f.ini, "; kept as it is\r\n" + test::ReadText(f.ini));
    const std::string iniBefore = test::ReadText(f.ini);
    const ConvertSettings before = f.settings;
    OptionsDialog& dialog = f.Open();
    dialog.SetFolderBrowser([](QWidget*, const QString&) { return QStringLiteral("/out/here"); });
    ChangeEveryControl(f);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    f.Button("Cancel")->click();
    QCOMPARE(rejected.count(), 1);
    QVERIFY(!dialog.isVisible());
    QVERIFY(SameRecord(f.settings, before));
    QCOMPARE(test::ReadText(f.ini), iniBefore);
  }

  void closingAfterChangingEverythingChangesNothingAndWritesNoIni() {
    Fixture f;
    const ConvertSettings before = f.settings;
    OptionsDialog& dialog = f.Open();
    dialog.SetFolderBrowser([](QWidget*, const QString&) { return QStringLiteral("/out/here"); });
    ChangeEveryControl(f);
    dialog.close();
    QVERIFY(SameRecord(f.settings, before));
    QVERIFY(!test::Exists(f.ini));
  }

  void failedIniWriteStillClosesAndKeepsTheNewValues() {
    Fixture f;
    f.ini = f.dir / "missing-folder/GRANVEL.ini";
    OptionsDialog& dialog = f.Open();
    QVERIFY(test::Click(f.Check("Make 'ZKP' folder")));
    f.Button("Done")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.settings.Create, 1);
  }

 private:
  static bool FindGroup(QWidget& dialog, const QString& title) {
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
      if (box->title() == title)
        return true;
    }
    return false;
  }

  // From the no-INI record, changes every control by the mouse.
  static void ChangeEveryControl(Fixture& f) {
    QVERIFY(test::Click(f.Radio("Selected folder")));
    QVERIFY(test::Click(f.Button("Select")));
    QVERIFY(test::Click(f.Check("Make 'ZKP' folder")));
    QVERIFY(test::Click(f.Radio("Output DATA with dec number on GRP resource")));
    QVERIFY(test::Click(f.Check("Make with text file containing DATA commands")));
    QVERIFY(test::Click(f.Check("Make error in line of 100 or more chars string")));
    QVERIFY(test::Click(f.Check("Convert SCR at end of file name by '_scr.txt'")));
    QVERIFY(test::Click(f.Check("Convert MEM at end of file name by '_mem.txt'")));
    QVERIFY(test::Click(f.Check("Keep width of source image")));
    QVERIFY(test::Click(f.Radio("Split by 128x128 pixels")));
    QVERIFY(test::Click(f.Radio("Use Palette 15 ( Zorikamu font color )")));
    QVERIFY(test::Click(f.Check("Escape smaller or bigger code's chars")));
    QVERIFY(test::Click(f.Check("Make text at S-JIS char set in program data")));
    QVERIFY(test::Click(f.Radio("Make 128x128 pixel images in CHR resource data")));
  }

  // What ChangeEveryControl leaves in the record after "Done".
  static ConvertSettings ChangedRecord(const ConvertSettings& before) {
    ConvertSettings s = before;
    s.Select = 770;
    s.User = "/out/here";
    s.Create = 1;
    s.DATA_Type = 0;
    s.TextOut = 0;
    s.PRG_Limit = 0;
    s.PRG_To_SCR = 0;
    s.PRG_To_MEM = 0;
    s.AutoTrim = 0;
    s.WideMode = 0;
    s.PAL_Fix_1bit = 1;
    s.PRG_ESCAPE = 1;
    s.PRG_MultiByte = 1;
    s.Make_Wide = 0;
    return s;
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::OptionsDialogTest)
#include "options_dialog_test.moc"
