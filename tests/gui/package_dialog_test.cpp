// The package dialog driven through its real controls, with file choices and boxes scripted through a test
// Host and images made in a temporary folder.
#include "package/package_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>

#include "gui/gui_support.h"
#include "shell/main_window.h"
#include "support/bmp_writer.h"
#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

using test::TempDir;

constexpr int kPrg = 7936;
constexpr int kUpperBgu0 = 4096;
constexpr int kUpperScu0 = 4256;
constexpr int kGrp0 = 4608;
constexpr int kSpu0 = 4352;
constexpr int kSpu1 = 4368;
constexpr int kSpd0 = 4544;
constexpr int kUpperCol0 = 7168;
constexpr int kMem = 7952;

// The group boxes of each column, top to bottom, and the slot labels of each.
struct GroupRows {
  QString caption;
  QStringList labels;
};
const std::vector<GroupRows> kLeftColumn = {
    {"Program text", {"PRG"}},
    {"Up screen - Fonts (CHR resource)", {"BGF0"}},
    {"Up screen - BG (CHR resource)", {"BGU0", "BGU1", "BGU2", "BGU3"}},
    {"Up screen - BG (SCR resource)", {"SCU0", "SCU1"}},
    {"Up / Down screen - GRP resource", {"GRP0", "GRP1", "GRP2", "GRP3"}},
    {"Down screen - Fonts (CHR resource)", {"BGF0"}},
    {"Down screen - BG (CHR resource)", {"BGU0", "BGU1", "BGU2", "BGU3", "BGD0", "BGD1"}},
    {"Down screen - BG (SCR resource)", {"SCU0", "SCU1"}},
};
const std::vector<GroupRows> kRightColumn = {
    {"ZKP package", {}},
    {"Up screen - Sprites (CHR resource)", {"SPU0", "SPU1", "SPU2", "SPU3", "SPU4", "SPU5", "SPU6", "SPU7"}},
    {"Up screen - Color palettes", {"COL0 (BGF/BGU)", "COL1 (SPU)", "COL2 (GRP)"}},
    {"MEM$ string resource", {"MEM"}},
    {"Down screen - Sprites (CHR resource)", {"SPS0", "SPS1"}},
    {"Down screen - Icons (CHR resource)", {"SPD0", "SPD1", "SPD2", "SPD3"}},
    {"Down screen - Color palettes", {"COL0 (BGF/BGU)", "COL1 (SPS)", "COL2 (GRP)"}},
};
const QStringList kSpriteSizes = {"16x16", "32x16", "16x32", "32x32", "64x32", "32x64", "64x64"};

// A test Host that can also look at the dialog while a message is shown.
class DialogHost : public test::FakeHost {
 public:
  std::function<void()> onMessage;
  void ShowMessage(const std::string& caption, const std::string& text) override {
    FakeHost::ShowMessage(caption, text);
    if (onMessage)
      onMessage();
  }
};

// A 16-colour image of width x height whose pixel (x, y) is f(x, y).
void WriteImage(
    const std::string& path, int width, int height, int bits = 4,
    std::function<int(int, int)> f = [](int, int) { return 0; }) {
  test::BmpLayout layout = test::Layout(width, height, bits, test::GreyPalette(bits == 8 ? 256 : 16));
  layout.pixels = test::PixelsOf(width, height, f);
  test::WriteBytes(path, test::MakeBmp(layout));
}

QStringList Entries(const QComboBox* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i)
    entries << list->itemText(i);
  return entries;
}

QStringList PartsOf(int n) {
  QStringList parts;
  for (int k = 1; k <= n; ++k)
    parts << QStringLiteral("%1 of %2").arg(k).arg(n);
  return parts;
}

// Every control of the dialog and whether it is enabled.
std::vector<std::pair<QWidget*, bool>> EnabledStates(const PackageDialog& dialog) {
  std::vector<std::pair<QWidget*, bool>> states;
  for (const SlotInfo& slot : PackageSlots()) {
    const PackageDialog::SlotRow& row = dialog.Row(slot.SlotId);
    for (QWidget* control :
         std::initializer_list<QWidget*>{row.Check, row.Path, row.Browse, row.PartList, row.SizeList}) {
      if (control)
        states.emplace_back(control, control->isEnabled());
    }
  }
  for (QWidget* control :
       std::initializer_list<QWidget*>{dialog.NameField(), dialog.CancelButton(), dialog.MakeButton()})
    states.emplace_back(control, control->isEnabled());
  return states;
}

// The dialog as a person sees it: its title bar drawn above the contents, so the review shows the title's
// rendering too (an offscreen window has no frame of its own).
void SaveWithTitle(QWidget* window, const QString& name) {
  const QPixmap body = window->grab();
  const int bar = window->fontMetrics().height() + 14;
  QPixmap shot(body.width(), body.height() + bar);
  shot.fill(QColor(0x33, 0x5c, 0x99));
  QPainter painter(&shot);
  painter.setPen(Qt::white);
  painter.setFont(window->font());
  painter.drawText(QRect(10, 0, body.width() - 20, bar), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
  painter.drawPixmap(0, bar, body);
  painter.end();
  const QDir dir(QStringLiteral(GRANVEL_SCREENSHOT_DIR));
  dir.mkpath(QStringLiteral("."));
  shot.save(dir.filePath(name + QStringLiteral(".png")));
}

// A shown dialog on settings of its own, with a scripted host.
struct Fixture {
  TempDir dir;
  ConvertSettings settings;
  DialogHost host;
  std::unique_ptr<PackageDialog> dialog;

  Fixture() {
    settings.ToolDir = settings.User = dir.Path();
    settings.AutoTrim = 1;
    settings.WideMode = 0;
  }
  PackageDialog& Open() {
    dialog = std::make_unique<PackageDialog>(settings, &host);
    dialog->show();
    return *dialog;
  }
  const PackageDialog::SlotRow& Row(int slotId) const { return dialog->Row(slotId); }
  // Clicks the slot's "..." with `path` as the file the user picks.
  void Browse(int slotId, const std::string& path) {
    host.choices.push_back({path});
    QVERIFY(test::Click(Row(slotId).Browse));
  }
  // Picks the entry of a list with the keyboard.
  static void Pick(QComboBox* list, int index) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
      QTest::keyClick(list, Qt::Key_Down);
  }
};

}  // namespace

class PackageDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTitleGroupsAndSlotRows() {
    Fixture f;
    PackageDialog& dialog = f.Open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("ZKPパッケージの作成"));
    QVERIFY(dialog.isModal());

    // Two columns of group boxes, each top to bottom.
    QList<QGroupBox*> boxes = dialog.findChildren<QGroupBox*>();
    QCOMPARE(boxes.size(), 15);
    std::sort(boxes.begin(), boxes.end(), [](const QGroupBox* a, const QGroupBox* b) {
      return a->x() != b->x() ? a->x() < b->x() : a->y() < b->y();
    });
    std::vector<GroupRows> expected = kLeftColumn;
    expected.insert(expected.end(), kRightColumn.begin(), kRightColumn.end());
    const int rightX = boxes[kLeftColumn.size()]->x();
    for (std::size_t i = 0; i < expected.size(); ++i) {
      QGroupBox* box = boxes[static_cast<qsizetype>(i)];
      QCOMPARE(box->title(), expected[i].caption);
      QCOMPARE(box->x() < rightX, i < kLeftColumn.size());
      QList<QCheckBox*> checks = box->findChildren<QCheckBox*>();
      std::sort(checks.begin(), checks.end(),
                [](const QCheckBox* a, const QCheckBox* b) { return a->y() < b->y(); });
      QStringList labels;
      for (const QCheckBox* check : checks)
        labels << check->text();
      QCOMPARE(labels, expected[i].labels);
    }

    // Every row: its box unchecked, the path field empty and disabled, "..." beside it, the lists in place.
    int rows = 0;
    for (const SlotInfo& slot : PackageSlots()) {
      const PackageDialog::SlotRow& row = dialog.Row(slot.SlotId);
      ++rows;
      QCOMPARE(row.Check->text(), QString::fromUtf8(slot.Label));
      QVERIFY(!row.Check->isChecked());
      QVERIFY(row.Path->text().isEmpty());
      QVERIFY(!row.Path->isEnabled());
      QCOMPARE(row.Browse->text(), QStringLiteral("..."));
      QVERIFY(row.Check->x() < row.Path->x() && row.Path->x() < row.Browse->x());
      QCOMPARE(row.Path->parentWidget(), row.Check->parentWidget());
      const bool sprite = slot.Kind == SlotKind::Sprite, icon = slot.Kind == SlotKind::Icon;
      const bool parts = sprite || icon || slot.Kind == SlotKind::Chr || slot.Kind == SlotKind::Grp;
      QCOMPARE(row.PartList != nullptr, parts);
      QCOMPARE(row.SizeList != nullptr, sprite || icon);
      if (row.PartList) {
        QCOMPARE(row.PartList->count(), 0);
        QVERIFY(row.Browse->x() < row.PartList->x());
      }
      if (row.SizeList) {
        QCOMPARE(Entries(row.SizeList), icon ? QStringList{"32x32"} : kSpriteSizes);
        QCOMPARE(row.SizeList->currentIndex(), 0);
        QVERIFY(row.SizeList->x() < row.PartList->x());  // the size list stands left of the part list
      }
    }
    QCOMPARE(rows, 42);

    QVERIFY(test::FindByText<QLabel>(&dialog, "Package name (8 chars)"));
    QVERIFY(dialog.NameField()->text().isEmpty());
    QCOMPARE(dialog.MakeButton()->text(), QStringLiteral("Make"));
    QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
    QVERIFY(dialog.MakeButton()->isDefault());
    QVERIFY(dialog.CancelButton()->x() < dialog.MakeButton()->x());
  }

  void screenshotShowsEveryLabelAndTheJapaneseTitle() {
    // The title needs a font with Japanese glyphs; the set-up installs one.
    QVERIFY(!QFontDatabase::families(QFontDatabase::Japanese).isEmpty());
    Fixture f;
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    WriteImage(f.dir / "hero.bmp", 64, 64);
    PackageDialog& dialog = f.Open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    f.Browse(kSpu0, f.dir / "hero.bmp");
    Fixture::Pick(f.Row(kSpu0).SizeList, 3);
    QTest::keyClicks(dialog.NameField(), "hello");
    QTest::qWait(50);
    SaveWithTitle(&dialog, QStringLiteral("package_dialog"));
  }

  void itsOwnBoxesBelongToItAndExplainARefusal() {
    Fixture f;  // AutoTrim on
    WriteImage(f.dir / "odd.bmp", 100, 100);
    PackageDialog dialog(f.settings);  // file dialogs and boxes of its own
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QString chooserTitle, caption, text, details;
    QWidget* owner = nullptr;
    test::WhenModalShows([&](QWidget* modal) {
      auto* chooser = qobject_cast<QFileDialog*>(modal);
      QVERIFY(chooser);
      chooserTitle = chooser->windowTitle();
      test::WhenModalShows([&](QWidget* next) {
        auto* box = qobject_cast<QMessageBox*>(next);
        QVERIFY(box);
        owner = box->parentWidget();
        caption = box->windowTitle();
        text = box->text();
        details = box->detailedText();
        box->accept();
      });
      chooser->selectFile(QString::fromStdString(f.dir / "odd.bmp"));
      static_cast<QDialog*>(chooser)->accept();  // the file dialog checks the choice as OK does
    });
    QVERIFY(test::Click(dialog.Row(kUpperBgu0).Browse));
    QCOMPARE(chooserTitle, QStringLiteral("Choose a convert image file"));
    QCOMPARE(owner, &dialog);
    QCOMPARE(caption, QStringLiteral("Error"));
    QCOMPARE(text, QStringLiteral("Image size unmatched."));
    QVERIFY(details.contains(QStringLiteral("100")));  // the reason names the width that does not fit
    QVERIFY(!dialog.Row(kUpperBgu0).Check->isChecked());
    QVERIFY(dialog.Row(kUpperBgu0).Path->text().isEmpty());
  }

  void browsingChecksTheBoxAndEnablesThePath() {
    Fixture f;
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    PackageDialog& dialog = f.Open();
    const auto& row = f.Row(kUpperBgu0);
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    QVERIFY(row.Check->isChecked());
    QVERIFY(row.Path->isEnabled());
    QCOMPARE(row.Path->text().toStdString(), f.dir / "tiles.bmp");
    QVERIFY(f.host.messages.empty());

    QCOMPARE(f.host.fileRequests.size(), std::size_t{1});
    const FileChoice& request = f.host.fileRequests[0];
    QCOMPARE(request.Title, std::string("Choose a convert image file"));
    QVERIFY((request.Filter == std::vector<std::pair<std::string, std::string>>{{"Bitmap image", "*.bmp"}}));
    QCOMPARE(request.DefaultExt, std::string(".bmp"));
    QVERIFY(!request.SaveMode);
    QVERIFY(!request.MultiSelect);
    QVERIFY(dialog.isVisible());
  }

  void textAndScreenSlotsOfferTheirOwnFilesAndAreNotRead() {
    Fixture f;
    f.Open();
    f.Browse(kPrg, f.dir / "game.txt");  // need not exist: a text is read by the build only
    f.Browse(kUpperScu0, f.dir / "map.rscr");
    f.Browse(kMem, f.dir / "words.txt");
    QVERIFY(f.host.messages.empty());
    for (const int id : {kPrg, kUpperScu0, kMem}) {
      QVERIFY(f.Row(id).Check->isChecked());
      QVERIFY(f.Row(id).Path->isEnabled());
    }
    QCOMPARE(f.Row(kUpperScu0).Path->text().toStdString(), f.dir / "map.rscr");

    const auto& text = f.host.fileRequests[0];
    QCOMPARE(text.Title, std::string("Choose a convert text file"));
    QVERIFY((text.Filter == std::vector<std::pair<std::string, std::string>>{{"Text document", "*.txt"}}));
    QCOMPARE(text.DefaultExt, std::string(".txt"));
    const auto& screen = f.host.fileRequests[1];
    QCOMPARE(screen.Title, std::string("Choose convert files"));
    QVERIFY((screen.Filter == std::vector<std::pair<std::string, std::string>>{
                                  {"Text document", "*.txt"}, {"SCR resource file", "*.rscr"}}));
    QCOMPARE(screen.DefaultExt, std::string(".txt"));
    QCOMPARE(f.host.fileRequests[2].Title, std::string("Choose a convert text file"));
  }

  void aFileOtherThanBmpIsNotReadWhenChosen() {
    Fixture f;
    f.Open();
    f.Browse(kUpperBgu0, f.dir / "missing.png");
    QVERIFY(f.host.messages.empty());
    QVERIFY(f.Row(kUpperBgu0).Check->isChecked());
    QCOMPARE(f.Row(kUpperBgu0).PartList->count(), 0);
  }

  void aBmpChosenForATextSlotIsCheckedToo() {
    Fixture f;
    WriteImage(f.dir / "odd.bmp", 100, 100);  // 100 is not a multiple of the 8-pixel check unit
    f.Open();
    f.Browse(kPrg, f.dir / "odd.bmp");
    QCOMPARE(f.host.messages.size(), std::size_t{1});
    QCOMPARE(f.host.messages[0].text, std::string("Image size unmatched."));
    QVERIFY(!f.Row(kPrg).Check->isChecked());
  }

  void aCancelledBrowseChangesNothing() {
    Fixture f;
    f.Open();
    QVERIFY(test::Click(f.Row(kUpperBgu0).Browse));  // no scripted choice: the user cancels
    QCOMPARE(f.host.fileRequests.size(), std::size_t{1});
    QVERIFY(!f.Row(kUpperBgu0).Check->isChecked());
    QVERIFY(!f.Row(kUpperBgu0).Path->isEnabled());
    QVERIFY(f.Row(kUpperBgu0).Path->text().isEmpty());
    QVERIFY(f.host.messages.empty());
  }

  void checkBoxEnablesThePathAndClearingItKeepsTheText() {
    Fixture f;
    f.Open();
    const auto& row = f.Row(kMem);
    QVERIFY(test::Click(row.Check));
    QVERIFY(row.Path->isEnabled());
    QTest::keyClicks(row.Path, "words.txt");
    QVERIFY(test::Click(row.Check));
    QVERIFY(!row.Check->isChecked());
    QVERIFY(!row.Path->isEnabled());
    QCOMPARE(row.Path->text(), QStringLiteral("words.txt"));
  }

  void anUnmatchedImageUnchecksAndEmptiesTheSlotButKeepsItsParts() {
    Fixture f;  // AutoTrim on
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    WriteImage(f.dir / "odd.bmp", 100, 100);
    f.Open();
    const auto& row = f.Row(kUpperBgu0);
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    QCOMPARE(Entries(row.PartList), PartsOf(4));

    f.Browse(kUpperBgu0, f.dir / "odd.bmp");
    QCOMPARE(f.host.messages.size(), std::size_t{1});
    QCOMPARE(f.host.messages[0].caption, std::string("Error"));
    QCOMPARE(f.host.messages[0].text, std::string("Image size unmatched."));
    QVERIFY(!row.Check->isChecked());
    QVERIFY(!row.Path->isEnabled());
    QVERIFY(row.Path->text().isEmpty());
    QCOMPARE(Entries(row.PartList), PartsOf(4));  // the older filling stays
    QVERIFY(f.dialog->isVisible());
  }

  void partListsOfBackgroundImages_data() {
    QTest::addColumn<int>("autoTrim");
    QTest::addColumn<int>("wideMode");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("parts");  // 0: refused
    // 128x128 blocks, 256x64 blocks, and blocks as wide as the image.
    QTest::newRow("256x256 split 128x128") << 0 << 0 << 256 << 256 << 4;
    QTest::newRow("256x256 split 256x64") << 0 << 1 << 256 << 256 << 4;
    QTest::newRow("256x256 auto trim") << 1 << 0 << 256 << 256 << 4;
    QTest::newRow("100x100 split 128x128") << 0 << 0 << 100 << 100 << 1;
    QTest::newRow("100x100 split 256x64") << 0 << 1 << 100 << 100 << 2;
    QTest::newRow("100x100 auto trim") << 1 << 0 << 100 << 100 << 0;
  }
  void partListsOfBackgroundImages() {
    QFETCH(int, autoTrim);
    QFETCH(int, wideMode);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, parts);
    Fixture f;
    f.settings.AutoTrim = autoTrim;
    f.settings.WideMode = wideMode;
    WriteImage(f.dir / "image.bmp", width, height);
    f.Open();
    f.Browse(kUpperBgu0, f.dir / "image.bmp");
    const auto& row = f.Row(kUpperBgu0);
    QCOMPARE(Entries(row.PartList), PartsOf(parts));
    QCOMPARE(row.PartList->currentIndex(), parts > 0 ? 0 : -1);
    QCOMPARE(row.Check->isChecked(), parts > 0);
    QCOMPARE(f.host.messages.size(), std::size_t{parts > 0 ? 0u : 1u});
  }

  void partListsOfGraphicPages() {
    Fixture f;
    WriteImage(f.dir / "wide.bmp", 300, 192, 8);
    WriteImage(f.dir / "tall.bmp", 256, 384, 8);
    f.Open();
    f.Browse(kGrp0, f.dir / "wide.bmp");
    QCOMPARE(Entries(f.Row(kGrp0).PartList), PartsOf(2));
    f.Browse(kGrp0 + 16, f.dir / "tall.bmp");
    QCOMPARE(Entries(f.Row(kGrp0 + 16).PartList), PartsOf(2));
    QVERIFY(f.host.messages.empty());
  }

  void iconAndSpriteImagesAreCheckedByTheirUnit() {
    Fixture f;  // AutoTrim on
    WriteImage(f.dir / "icon40.bmp", 40, 40);
    WriteImage(f.dir / "icon64.bmp", 64, 64);
    WriteImage(f.dir / "sprite48.bmp", 48, 48);
    f.Open();
    f.Browse(kSpd0, f.dir / "icon40.bmp");
    QCOMPARE(f.host.messages.size(), std::size_t{1});
    QVERIFY(!f.Row(kSpd0).Check->isChecked());
    f.Browse(kSpd0, f.dir / "icon64.bmp");
    QCOMPARE(Entries(f.Row(kSpd0).PartList), PartsOf(1));
    // A sprite image is checked with 16x16 units whatever size is chosen.
    Fixture::Pick(f.Row(kSpu0).SizeList, 3);
    f.Browse(kSpu0, f.dir / "sprite48.bmp");
    QCOMPARE(f.host.messages.size(), std::size_t{1});
    QCOMPARE(Entries(f.Row(kSpu0).PartList), PartsOf(1));
    QCOMPARE(f.Row(kSpu0).SizeList->currentText(), QStringLiteral("32x32"));
  }

  void theNameIsNormalisedByAnyOtherControlButNotWhileTyping() {
    Fixture f;
    PackageDialog& dialog = f.Open();
    QTest::keyClicks(dialog.NameField(), "abc-def");
    QCOMPARE(dialog.NameField()->text(), QStringLiteral("abc-def"));
    QVERIFY(test::Click(f.Row(kUpperCol0).Check));
    QCOMPARE(dialog.NameField()->text(), QStringLiteral("ABC"));

    dialog.NameField()->setText(QStringLiteral("longname123"));
    QVERIFY(test::Click(f.Row(kUpperBgu0).Browse));  // cancelled, but a command all the same
    QCOMPARE(dialog.NameField()->text(), QStringLiteral("LONGNAME"));

    dialog.NameField()->setText(QStringLiteral("my_game1"));
    QTest::keyClicks(f.Row(kUpperCol0).Path, "x");
    QCOMPARE(dialog.NameField()->text(), QStringLiteral("MY_GAME1"));
  }

  void cancelClosesWithoutNormalisingOrBuilding() {
    Fixture f;
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    PackageDialog& dialog = f.Open();
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    dialog.NameField()->setText(QStringLiteral("x-y"));
    QVERIFY(test::Click(dialog.CancelButton()));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.NameField()->text(), QStringLiteral("x-y"));
    QCOMPARE(f.host.fileRequests.size(), std::size_t{1});  // the browse only: no save dialog
    QVERIFY(f.host.messages.empty());
    QCOMPARE(f.dir.List(), (std::vector<std::string>{"tiles.bmp"}));
  }

  void closingDoesWhatCancelDoes() {
    Fixture f;
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    PackageDialog& dialog = f.Open();
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    QVERIFY(dialog.close());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(f.host.fileRequests.size(), std::size_t{1});
    QVERIFY(f.host.messages.empty());
  }

  void makeWithNothingCheckedDoesNothingVisible() {
    Fixture f;
    PackageDialog& dialog = f.Open();
    const auto before = EnabledStates(dialog);
    QVERIFY(test::Click(dialog.MakeButton()));
    QVERIFY(dialog.isVisible());
    QVERIFY(f.host.messages.empty());
    QVERIFY(f.host.fileRequests.empty());
    QVERIFY(EnabledStates(dialog) == before);
  }

  void aFailedBuildLeavesEverythingAsItWas() {
    Fixture f;
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    PackageDialog& dialog = f.Open();
    // PRG checked with a file that does not exist: the build fails on it.
    QVERIFY(test::Click(f.Row(kPrg).Check));
    QTest::keyClicks(f.Row(kPrg).Path, QString::fromStdString(f.dir / "missing.txt"));
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    Fixture::Pick(f.Row(kUpperBgu0).PartList, 2);
    Fixture::Pick(f.Row(kSpu0).SizeList, 3);
    // A path kept in a slot that was unchecked again.
    QVERIFY(test::Click(f.Row(kSpu1).Check));
    QTest::keyClicks(f.Row(kSpu1).Path, "kept.bmp");
    QVERIFY(test::Click(f.Row(kSpu1).Check));
    dialog.NameField()->setFocus();
    QTest::keyClicks(dialog.NameField(), "my-game");
    const std::vector<std::pair<QWidget*, bool>> before = EnabledStates(dialog);

    bool allDisabled = false;
    // The failure report is shown while the build runs: every control is disabled then.
    f.host.onMessage = [&] {
      const auto during = EnabledStates(dialog);
      allDisabled =
          std::none_of(during.begin(), during.end(), [](const auto& state) { return state.second; });
    };
    QVERIFY(test::Click(dialog.MakeButton()));

    QCOMPARE(f.host.messages.size(), std::size_t{1});
    QCOMPARE(f.host.messages[0].caption, std::string("Error"));
    QCOMPARE(f.host.messages[0].text, std::string("Convert failed.\n PRG"));
    QVERIFY(allDisabled);
    QCOMPARE(f.host.fileRequests.size(), std::size_t{1});  // the browse; no save dialog
    QVERIFY(dialog.isVisible());

    QVERIFY(f.Row(kPrg).Check->isChecked());
    QCOMPARE(f.Row(kPrg).Path->text().toStdString(), f.dir / "missing.txt");
    QVERIFY(f.Row(kUpperBgu0).Check->isChecked());
    QCOMPARE(f.Row(kUpperBgu0).Path->text().toStdString(), f.dir / "tiles.bmp");
    QCOMPARE(f.Row(kUpperBgu0).PartList->currentText(), QStringLiteral("3 of 4"));
    QCOMPARE(f.Row(kSpu0).SizeList->currentText(), QStringLiteral("32x32"));
    QVERIFY(!f.Row(kSpu1).Check->isChecked());
    QCOMPARE(f.Row(kSpu1).Path->text(), QStringLiteral("kept.bmp"));
    QCOMPARE(dialog.NameField()->text(), QStringLiteral("MY"));
    QVERIFY(EnabledStates(dialog) == before);
    // Enabled again: everything but the path fields of unchecked slots.
    for (const auto& [control, enabled] : EnabledStates(dialog)) {
      const auto* path = qobject_cast<QLineEdit*>(control);
      const bool uncheckedPath = path && path != dialog.NameField() &&
                                 !dialog.Row(path->objectName().mid(4).toInt()).Check->isChecked();
      QCOMPARE(enabled, !uncheckedPath);
    }
  }

  void aCancelledSaveLeavesTheDialogOpen() {
    Fixture f;
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    PackageDialog& dialog = f.Open();
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    QVERIFY(test::Click(dialog.MakeButton()));  // no scripted save path: the user cancels
    QCOMPARE(f.host.fileRequests.size(), std::size_t{2});
    QCOMPARE(f.host.fileRequests[1].Title, std::string("Choose save path"));
    QVERIFY(f.host.messages.empty());
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.MakeButton()->isEnabled());
    QVERIFY(f.Row(kUpperBgu0).Path->isEnabled());
  }

  void aSuccessfulBuildWritesThePackageAndCloses() {
    Fixture f;
    // Rows 64 to 127 are colour 1: with AutoTrim the image is cut into 256x64 blocks, so part 2 is all 1.
    WriteImage(f.dir / "tiles.bmp", 256, 256, 4, [](int, int y) { return y / 64; });
    PackageDialog& dialog = f.Open();
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    Fixture::Pick(f.Row(kUpperBgu0).PartList, 1);
    f.Browse(kUpperCol0, f.dir / "tiles.bmp");
    dialog.NameField()->setFocus();
    QTest::keyClicks(dialog.NameField(), "demo");
    f.host.choices.push_back({f.dir / "out.txt"});
    QVERIFY(test::Click(dialog.MakeButton()));

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(f.host.messages.size(), std::size_t{1});
    QCOMPARE(f.host.messages[0].caption, std::string("Finished"));
    QCOMPARE(f.host.messages[0].text, std::string("Conpleted.."));
    QCOMPARE(f.host.fileRequests.back().Title, std::string("Choose save path"));

    // Head 32, BGU0 8204 and COL0 524 bytes: a payload of 8760, a file of 36 + 8752.
    const std::vector<std::uint8_t> file = test::ReadBytes(f.dir / "out.zkp");
    QCOMPARE(file.size(), std::size_t{8788});
    const test::ContainerView view(file);
    QCOMPARE(view.storedSize, 8752u);
    QCOMPARE(view.type, 0u);
    QCOMPARE(view.Name(), std::string("DEMO"));
    QVERIFY(view.DigestMatches());
    const std::vector<std::uint8_t> payload = view.Payload();
    QCOMPARE(test::ContainerView::U32(payload, 20), 0u);
    QCOMPARE(test::ContainerView::U32(payload, 24), 0x2100u);  // bits 8 (BGU0) and 13 (COL0)
    QCOMPARE(test::ContainerView::U32(payload, 28), 0u);       // no program
    QCOMPARE(std::string(payload.begin() + 32, payload.begin() + 44), std::string("QAVN0100RCHR"));
    QVERIFY(std::all_of(payload.begin() + 44, payload.begin() + 44 + 8192,
                        [](std::uint8_t b) { return b == 0x11; }));
    QCOMPARE(std::string(payload.begin() + 8236, payload.begin() + 8248), std::string("QAVN0100RCOL"));
    QVERIFY(!test::Exists(f.dir / "out.txt"));
  }

  void theFormReadFromTheControlsIsWhatTheBuildGets() {
    Fixture f;
    WriteImage(f.dir / "tiles.bmp", 256, 256);
    PackageDialog& dialog = f.Open();
    f.Browse(kUpperBgu0, f.dir / "tiles.bmp");
    Fixture::Pick(f.Row(kUpperBgu0).PartList, 3);
    Fixture::Pick(f.Row(kSpu0).SizeList, 6);
    QTest::keyClicks(dialog.NameField(), "pack");
    const PackageForm form = dialog.Form();
    const SlotState& bgu0 = form.Slot(kUpperBgu0);
    QVERIFY(bgu0.Checked);
    QCOMPARE(bgu0.Path, f.dir / "tiles.bmp");
    QCOMPARE(bgu0.PartCount, 4);
    QCOMPARE(bgu0.PartIndex, std::optional<int>(3));
    QCOMPARE(form.Slot(kSpu0).SizeIndex, std::optional<int>(6));
    QCOMPARE(form.Slot(kSpu0).PartIndex, std::optional<int>());
    QVERIFY(!form.Slot(kSpu0).Checked);
    QCOMPARE(form.PackageName, std::string("pack"));

    // Shown in a second dialog, the same form reads back unchanged.
    PackageDialog second(f.settings, &f.host);
    second.ShowForm(form);
    const PackageForm again = second.Form();
    for (const SlotInfo& slot : PackageSlots()) {
      QCOMPARE(again.Slot(slot).Checked, form.Slot(slot).Checked);
      QCOMPARE(again.Slot(slot).Path, form.Slot(slot).Path);
      QCOMPARE(again.Slot(slot).PartCount, form.Slot(slot).PartCount);
      QCOMPARE(again.Slot(slot).PartIndex, form.Slot(slot).PartIndex);
      QCOMPARE(again.Slot(slot).SizeIndex, form.Slot(slot).SizeIndex);
      QCOMPARE(second.Row(slot.SlotId).Path->isEnabled(), form.Slot(slot).Checked);
    }
    QCOMPARE(second.Row(kUpperBgu0).PartList->currentText(), QStringLiteral("4 of 4"));
    QCOMPARE(again.PackageName, form.PackageName);
  }

  void theMainWindowOpensItModalAndEveryOpeningStartsEmpty() {
    TempDir dir;
    WriteImage(dir / "tiles.bmp", 256, 256);
    DialogHost host;
    MainWindow window(dir.Path(), &host);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    host.choices = {{dir / "tiles.bmp"}, {dir / "game.zkp"}};
    bool first = false;
    test::WhenModalShows([&](QWidget* modal) {
      auto* dialog = qobject_cast<PackageDialog*>(modal);
      QVERIFY(dialog);
      first = true;
      QCOMPARE(dialog->windowTitle(), QString::fromUtf8("ZKPパッケージの作成"));
      QCOMPARE(dialog->parentWidget(), &window);
      QVERIFY(test::Click(dialog->Row(kUpperBgu0).Browse));
      QTest::keyClicks(dialog->NameField(), "game");
      QVERIFY(test::Click(dialog->MakeButton()));  // writes and closes
    });
    test::FindAction(&window, "Make ZKP package")->trigger();
    QVERIFY(first);
    QVERIFY(test::Exists(dir / "game.zkp"));
    QCOMPARE(host.messages.back().text, std::string("Conpleted.."));

    bool second = false;
    test::WhenModalShows([&](QWidget* modal) {
      auto* dialog = qobject_cast<PackageDialog*>(modal);
      QVERIFY(dialog);
      second = true;
      for (const SlotInfo& slot : PackageSlots()) {
        const PackageDialog::SlotRow& row = dialog->Row(slot.SlotId);
        QVERIFY(!row.Check->isChecked());
        QVERIFY(row.Path->text().isEmpty());
        QVERIFY(!row.Path->isEnabled());
        if (row.PartList)
          QCOMPARE(row.PartList->count(), 0);
        if (row.SizeList)
          QCOMPARE(row.SizeList->currentIndex(), 0);
      }
      QVERIFY(dialog->NameField()->text().isEmpty());
      QVERIFY(test::Click(dialog->CancelButton()));
    });
    test::FindAction(&window, "Make ZKP package")->trigger();
    QVERIFY(second);
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::PackageDialogTest)
#include "package_dialog_test.moc"
