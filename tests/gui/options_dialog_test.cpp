// The "Option settings" dialog through its real controls: bound to its form, saving on "Done" only.
#include "shell/options_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>
#include <utility>

#include "gui/gui_support.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

// A record whose neighbouring fields differ, so that a control bound to the wrong field shows in the save.
ConvertSettings Record() {
  ConvertSettings s;
  s.Select = kSelectUserFolder;
  s.User = "/start";
  s.DATA_Type = 0;
  s.Make_Wide = 0;
  s.PRG_To_SCR = 0;
  s.PRG_ESCAPE = 1;
  s.PAL_Fix_1bit = 1;
  return s;  // WideMode -1; TextOut, AutoTrim, PRG_Limit and PRG_To_MEM 1; Create and PRG_MultiByte 0
}

// The persisted fields as "Key=value" words.
QString Persisted(const ConvertSettings& s) {
  QStringList words;
  for (const char* key :
       {"Select", "Create", "TextOut", "DATA_Type", "AutoTrim", "WideMode", "Make_Wide", "PRG_Limit",
        "PRG_To_SCR", "PRG_To_MEM", "PRG_MultiByte", "PRG_ESCAPE", "PAL_Fix_1bit", "UTF8_Text"})
    words << QStringLiteral("%1=%2").arg(key).arg(*PersistedIntField(s, key));
  return words.join(' ') + QStringLiteral(" User=") + QString::fromStdString(s.User);
}

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheRecordAndDoneSavesWhatTheControlsShow() {
    test::TempDir dir;
    ConvertSettings settings = Record();
    OptionsDialog dialog(settings, dir / "GRANVEL.ini");
    dialog.SetFolderBrowser([](QWidget*, const QString& start) { return start + QStringLiteral("/picked"); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto radio = [&](const char* label) { return test::FindByText<QRadioButton>(&dialog, label); };
    const auto check = [&](const char* label) { return test::FindByText<QCheckBox>(&dialog, label); };
    QVERIFY(radio("Selected folder")->isChecked());
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("userFolder"))->text(), QStringLiteral("/start"));
    QVERIFY(!check("Keep width of source image")->isChecked());
    QVERIFY(radio("Split by 256x 64 pixels")->isChecked());
    QVERIFY(radio("Use Palette 15 ( Zorikamu font color )")->isChecked());
    QVERIFY(!check("Write decoded texts in UTF-8 with LF line ends")->isChecked());
    test::SaveScreenshot(&dialog, QStringLiteral("options_dialog"));

    QVERIFY(test::Click(test::FindByText<QPushButton>(&dialog, "Select")));
    QVERIFY(test::Click(check("Make 'ZKP' folder")));
    QVERIFY(test::Click(radio("Choose every times")));
    QVERIFY(check("Escape smaller or bigger code's chars")->isEnabled());
    QVERIFY(test::Click(check("Make text at S-JIS char set in program data")));
    QVERIFY(!check("Escape smaller or bigger code's chars")->isEnabled());
    QVERIFY(test::Click(check("Write decoded texts in UTF-8 with LF line ends")));
    QVERIFY(test::Click(test::FindByText<QPushButton>(&dialog, "Done")));
    QVERIFY(!dialog.isVisible());
    const QString expected = QStringLiteral(
        "Select=770 Create=1 TextOut=1 DATA_Type=0 AutoTrim=1 WideMode=1 Make_Wide=0 PRG_Limit=1 "
        "PRG_To_SCR=0 "
        "PRG_To_MEM=1 PRG_MultiByte=1 PRG_ESCAPE=1 PAL_Fix_1bit=-1 UTF8_Text=1 User=/start/picked");
    QCOMPARE(Persisted(settings), expected);
    QCOMPARE(Persisted(LoadSettings(dir / "GRANVEL.ini", dir.Path())), expected);
  }

  void aTickedUtf8TextShowsAndEveryControlExplainsItself() {
    test::TempDir dir;
    ConvertSettings settings;
    settings.UTF8_Text = 1;
    OptionsDialog dialog(settings, dir / "GRANVEL.ini");
    const auto button = [&](const char* label) { return test::FindByText<QAbstractButton>(&dialog, label); };
    QVERIFY(button("Write decoded texts in UTF-8 with LF line ends")->isChecked());
    // clang-format off
    const std::pair<QWidget*, OptionControl> rows[] = {
        {button("Same folder as source"), OptionControl::SameAsSource},
        {button("Same folder as tool"), OptionControl::SameAsTool},
        {button("Selected folder"), OptionControl::SelectedFolder},
        {dialog.findChild<QLineEdit*>(QStringLiteral("userFolder")), OptionControl::UserFolder},
        {button("Select"), OptionControl::UserFolder},
        {button("Make 'ZKP' folder"), OptionControl::MakeZkpFolder},
        {button("Make with text file containing DATA commands"), OptionControl::TextOut},
        {button("Output DATA with hex string on GRP resource"), OptionControl::DataHex},
        {button("Output DATA with dec number on GRP resource"), OptionControl::DataDec},
        {button("Convert PNG files as images"), OptionControl::PngImage},
        {button("Make error in line of 100 or more chars string"), OptionControl::PrgLimit},
        {button("Convert SCR at end of file name by '_scr.txt'"), OptionControl::PrgToScr},
        {button("Convert MEM at end of file name by '_mem.txt'"), OptionControl::PrgToMem},
        {button("Keep width of source image"), OptionControl::KeepWidth},
        {button("Split by 128x128 pixels"), OptionControl::Split128},
        {button("Split by 256x 64 pixels"), OptionControl::Split256},
        {button("Use Palette 01 ( Keep as source )"), OptionControl::PaletteKeep},
        {button("Use Palette 15 ( Zorikamu font color )"), OptionControl::Palette15},
        {button("Choose every times"), OptionControl::PaletteAsk},
        {button("Make text at S-JIS char set in program data"), OptionControl::MultiByte},
        {button("Escape smaller or bigger code's chars"), OptionControl::Escape},
        {button("Make 128x128 pixel images in CHR resource data"), OptionControl::Make128},
        {button("Make 256x 64 pixel images in CHR resource data"), OptionControl::Make256},
        {button("Write decoded texts in UTF-8 with LF line ends"), OptionControl::Utf8Text},
    };
    // clang-format on
    for (const auto& [widget, control] : rows) {
      QTextDocument shown;  // a tooltip is rich text so that it wraps
      shown.setHtml(widget->toolTip());
      QCOMPARE(shown.toPlainText(), QString::fromUtf8(OptionTooltip(control)));
    }
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::OptionsDialogTest)
#include "options_dialog_test.moc"
