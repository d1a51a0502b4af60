// The "Option settings" dialog through its real controls: bound to its form, saving on "Done" only.
#include "shell/options_dialog.h"

#include <QtTest>
#include <QtWidgets>
#include <utility>

#include "gui/gui_support.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

// The persisted fields as "Key=value" words.
QString Persisted(const ConvertSettings& s) {
  QStringList words;
  for (const char* key : {"Select", "Create", "TextOut", "DATA_Type", "AutoTrim", "WideMode", "Make_Wide",
                          "PRG_Limit", "PRG_To_SCR", "PRG_To_MEM", "PRG_MultiByte", "PRG_ESCAPE",
                          "PAL_Fix_1bit", "UTF8_Text", "Share_Tiles"})
    words << QStringLiteral("%1=%2").arg(key).arg(*PersistedIntField(s, key));
  return words.join(' ') + QStringLiteral(" User=") + QString::fromStdString(s.User);
}

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // Every control shows its field, "Done" saves what the controls show, and each control's tooltip is the
  // form's text for it.
  void showsTheRecordDoneSavesWhatTheControlsShowAndEachControlExplainsItself() {
    test::TempDir dir;
    // Neighbouring fields differ, so that a control bound to the wrong field shows in the save. The rest are
    // the defaults: WideMode -1; TextOut, AutoTrim, PRG_Limit and PRG_To_MEM 1; Create, PRG_MultiByte 0.
    ConvertSettings settings;
    settings.Select = kSelectUserFolder;
    settings.User = "/start";
    settings.DATA_Type = settings.Make_Wide = settings.PRG_To_SCR = 0;
    settings.PRG_ESCAPE = settings.PAL_Fix_1bit = settings.UTF8_Text = settings.Share_Tiles = 1;
    OptionsDialog dialog(settings, dir / "GRANVEL.ini");
    dialog.SetFolderBrowser([](QWidget*, const QString& start) { return start + QStringLiteral("/picked"); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto button = [&](const char* label) { return test::FindByText<QAbstractButton>(&dialog, label); };
    // The save below shows what every control showed, but for the palette's, which is clicked on the way.
    QVERIFY(button("Use Palette 15 ( Zorikamu font color )")->isChecked());
    QVERIFY(button("Write decoded texts in UTF-8 with LF line ends")->isChecked());
    QVERIFY(button("Escape smaller or bigger code's chars")->isEnabled());
    test::SaveScreenshot(&dialog, QStringLiteral("options_dialog"));

    // Each control by its label (the folder field has none) and the form's text that explains it.
    using C = OptionControl;
    // clang-format off
    const std::pair<const char*, OptionControl> tooltips[] = {
        {"Same folder as source", C::SameAsSource}, {"Same folder as tool", C::SameAsTool},
        {"Selected folder", C::SelectedFolder}, {nullptr, C::UserFolder}, {"Select", C::UserFolder},
        {"Make 'ZKP' folder", C::MakeZkpFolder}, {"Make with text file containing DATA commands", C::TextOut},
        {"Output DATA with hex string on GRP resource", C::DataHex},
        {"Output DATA with dec number on GRP resource", C::DataDec},
        {"Convert PNG files as images", C::PngImage},
        {"Make error in line of 100 or more chars string", C::PrgLimit},
        {"Convert SCR at end of file name by '_scr.txt'", C::PrgToScr},
        {"Convert MEM at end of file name by '_mem.txt'", C::PrgToMem},
        {"Keep width of source image", C::KeepWidth}, {"Split by 128x128 pixels", C::Split128},
        {"Split by 256x 64 pixels", C::Split256}, {"Use Palette 01 ( Keep as source )", C::PaletteKeep},
        {"Use Palette 15 ( Zorikamu font color )", C::Palette15}, {"Choose every times", C::PaletteAsk},
        {"Make text at S-JIS char set in program data", C::MultiByte},
        {"Escape smaller or bigger code's chars", C::Escape},
        {"Make 128x128 pixel images in CHR resource data", C::Make128},
        {"Make 256x 64 pixel images in CHR resource data", C::Make256},
        {"Write decoded texts in UTF-8 with LF line ends", C::Utf8Text},
        {"Share one tile set across the pictures of a run", C::ShareTiles}};
    // clang-format on
    for (const auto& [label, control] : tooltips) {
      QTextDocument shown;  // a tooltip is rich text so that it wraps
      shown.setHtml(label ? button(label)->toolTip() : dialog.findChild<QLineEdit*>("userFolder")->toolTip());
      QCOMPARE(shown.toPlainText(), QString::fromUtf8(OptionTooltip(control)));
    }

    for (const char* label :
         {"Select", "Make 'ZKP' folder", "Choose every times", "Make text at S-JIS char set in program data",
          "Write decoded texts in UTF-8 with LF line ends"})
      QVERIFY2(test::Click(button(label)), label);
    QVERIFY(!button("Escape smaller or bigger code's chars")->isEnabled());  // greyed while texts are S-JIS
    QVERIFY(test::Click(button("Done")));
    QVERIFY(!dialog.isVisible());
    const QString expected = QStringLiteral(
        "Select=770 Create=1 TextOut=1 DATA_Type=0 AutoTrim=1 WideMode=1 Make_Wide=0 PRG_Limit=1 "
        "PRG_To_SCR=0 PRG_To_MEM=1 PRG_MultiByte=1 PRG_ESCAPE=1 PAL_Fix_1bit=-1 UTF8_Text=0 Share_Tiles=1 "
        "User=/start/picked");
    QCOMPARE(Persisted(settings), expected);
    QCOMPARE(Persisted(LoadSettings(dir / "GRANVEL.ini", dir.Path())), expected);
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::OptionsDialogTest)
#include "options_dialog_test.moc"
