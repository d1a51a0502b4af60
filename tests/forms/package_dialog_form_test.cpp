// The package dialog's rules: what a browse does to a slot, the name, Cancel and the Make flow.
#include "forms/package_dialog_form.h"

#include <gtest/gtest.h>

#include <sstream>

#include "format/container.h"
#include "platform/files.h"
#include "support/bmp_writer.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

constexpr int kPrg = 7936, kBgu0 = 4096, kScu0 = 4256, kSpd0 = 4544, kCol0 = 7168, kGrp0 = 4608;

// The group boxes in the dialog's order: the left column from the program to the lower screen maps, the
// right one from the upper sprites on; each lower-screen group on the lower screen's page.
TEST(PackageDialogForm, GroupsStandInTheTablesColumnsAndOnTheirScreensPage) {
  struct Row {
    const char* caption;
    std::size_t slots;
    bool lower, right;
  };
  const Row expected[] = {
      {"Program text", 1, false, false},
      {"Up screen - Fonts (CHR resource)", 1, false, false},
      {"Up screen - BG (CHR resource)", 4, false, false},
      {"Up screen - BG (SCR resource)", 2, false, false},
      {"Up / Down screen - GRP resource", 4, false, false},
      {"Down screen - Fonts (CHR resource)", 1, true, false},
      {"Down screen - BG (CHR resource)", 6, true, false},
      {"Down screen - BG (SCR resource)", 2, true, false},
      {"Up screen - Sprites (CHR resource)", 8, false, true},
      {"Up screen - Color palettes", 3, false, true},
      {"MEM$ string resource", 1, false, true},
      {"Down screen - Sprites (CHR resource)", 2, true, true},
      {"Down screen - Icons (CHR resource)", 4, true, true},
      {"Down screen - Color palettes", 3, true, true},
  };
  const std::vector<SlotGroup> groups = PackageDialogGroups();
  ASSERT_EQ(groups.size(), std::size(expected));
  for (std::size_t i = 0; i < groups.size(); ++i) {
    EXPECT_STREQ(groups[i].Caption, expected[i].caption);
    EXPECT_EQ(groups[i].Members.size(), expected[i].slots) << expected[i].caption;
    EXPECT_EQ(groups[i].Lower, expected[i].lower) << expected[i].caption;
    EXPECT_EQ(groups[i].Right, expected[i].right) << expected[i].caption;
  }
  EXPECT_EQ(groups[2].Members[3]->SlotId, 4144);  // upper BGU3
}

TEST(PackageDialogForm, BrowseChecksTheSlotAndReadsAChosenImageAtOnce) {
  test::TempDir dir;
  test::WriteBytes(dir / "sq.bmp", test::MakeBmp(test::Layout(256, 256, 4, test::GreyPalette(16))));
  // A 16 x 16 palette PNG of the PNG cases: read as an image whatever PNG_Image says.
  test::WriteBytes(dir / "p8.png", test::ReadBytes(GRANVEL_CASES_DIR "/png_images/in/p8.png"));
  test::WriteBytes(dir / "odd.bmp", test::MakeBmp(test::Layout(100, 100, 4, test::GreyPalette(16))));
  test::WriteBytes(dir / "tall.bmp", test::MakeBmp(test::Layout(256, 200, 4, test::GreyPalette(16))));
  test::WriteBytes(dir / "two.bmp", test::MakeBmp(test::Layout(8, 8, 2)));
  test::WriteText(dir / "fake.bmp", "not an image");
  test::WriteText(dir / "map.txt", "not read now");
  const auto chr = BuildZkpContainer(NewPayload(kTagChr, kChrPayloadSize), ResourceType::Chr, "T");
  test::WriteBytes(dir / "t.zkp", chr);  // a resource file: taken as stored, no parts
  // slot, file, the box shown ("text|details"; none: the slot keeps the file), parts listed
  const std::string unmatched = "Image size unmatched.|width 100 is not a multiple of the ";
  // clang-format off
  const struct { int slot; const char* file; std::string shown; int parts; } rows[] = {
      {kBgu0, "sq.bmp", "", 4},  // AutoTrim: banks 256 x 64
      {kBgu0, "p8.png", "", 1},  {kCol0, "p8.png", "", 0},
      {kGrp0, "tall.bmp", "", 2},  // pages of 256 x 192: the 8 rows below the first make a second
      {kBgu0, "odd.bmp", unmatched + "8-pixel unit (AutoTrim=0 takes any size)", 0},
      {kSpd0, "odd.bmp", unmatched + "32-pixel unit (AutoTrim=0 takes any size)", 0},
      {kPrg, "odd.bmp", unmatched + "8-pixel unit (AutoTrim=0 takes any size)", 0},
      {kBgu0, "two.bmp", "two.bmp: 2 bits per pixel; only 1, 4, 8, 24 and 32 are supported|", 0},
      {kCol0, "fake.bmp", "fake.bmp: not a BMP file|", 0},
      {kBgu0, "map.txt", "", 0},  // found by the build
      {kBgu0, "t.zkp", "", 0},     {kScu0, "t.zkp", "", 0},  // SCU: checked when built
      {kScu0, "odd.bmp", "", 0}};
  // clang-format on
  for (const auto& row : rows) {
    test::FakeHost host;
    host.choices = {{dir / row.file}};
    ConvertSettings settings;
    settings.PNG_Image = 0;
    PackageDialogForm form(settings, host);
    form.Browse(row.slot);
    const SlotState& slot = form.Form().Slot(row.slot);
    EXPECT_EQ(host.reports.empty() ? "" : host.reports[0].Text + "|" + host.reports[0].Details, row.shown)
        << row.file;
    EXPECT_EQ(slot.Checked, row.shown.empty()) << row.file;
    EXPECT_EQ(slot.Path, row.shown.empty() ? dir / row.file : "") << row.file;
    EXPECT_EQ(form.PartEntries(row.slot).size(), std::size_t(row.parts)) << row.file;
  }
}

// Each slot's file dialog: titled with the slot, "All accepted files" first with every kind it takes, and
// opening where the program's last one ended, also in a dialog opened later.
TEST(PackageDialogForm, FileDialogsNameTheSlotOfferWhatItTakesAndStartInTheLastFolder) {
  constexpr int kMem = 7952, kLowerBgu0 = 4160;
  // clang-format off
  const struct { int slot; const char* title; const char* all; std::size_t kinds; const char* ext; } rows[] = {
      {kPrg, "Choose a file for PRG", "*.txt", 1, ".txt"},
      {kMem, "Choose a file for MEM", "*.txt *.zkp", 2, ".txt"},
      {kScu0, "Choose a file for SCU0", "*.txt *.rscr *.zkp", 3, ".txt"},
      {kBgu0, "Choose a file for BGU0", "*.bmp *.png *.zkp", 3, ".bmp"},
      {kCol0, "Choose a file for COL0", "*.bmp *.png *.zkp", 3, ".bmp"},
      {kLowerBgu0, "Choose a file for BGU0 (Down screen)", "*.bmp *.png *.zkp", 3, ".bmp"},
  };
  // clang-format on
  for (const auto& row : rows) {
    const FileChoice choice = PackageDialogForm::BrowseChoice(*SlotById(row.slot), "/start/");
    EXPECT_EQ(choice.Title + choice.DefaultExt, row.title + std::string(row.ext));
    ASSERT_EQ(choice.Filter.size(), row.kinds + 1) << row.title;
    EXPECT_EQ(choice.Filter[0].first + "|" + choice.Filter[0].second,
              std::string("All accepted files|") + row.all);
    std::string each;
    for (std::size_t i = 1; i < choice.Filter.size(); ++i)
      each += (i > 1 ? " " : "") + choice.Filter[i].second;
    EXPECT_EQ(each, row.all);
    EXPECT_EQ(choice.InitialPath, "/start/");
  }

  test::TempDir dir;
  test::WriteText(dir / "a.txt", "10 END\r\n");
  std::string folder;  // the window's, for the run
  test::FakeHost host;
  const ConvertSettings settings;
  host.choices = {{dir / "a.txt"}};
  PackageDialogForm(settings, host, &folder).Browse(kPrg);
  host.choices = {};
  PackageDialogForm(settings, host, &folder).Browse(kScu0);  // cancelled: the folder stays
  EXPECT_EQ(host.asked.at(0).InitialPath, "");
  EXPECT_EQ(host.asked.at(1).InitialPath, FolderOf(dir / "a.txt"));
  EXPECT_EQ(folder, FolderOf(dir / "a.txt"));
}

// What each kind of slot lists and asks for, and that a list selects only entries it holds; every such
// command keeps the name to its package form and tells the window to show the change.
TEST(PackageDialogForm, ListsFileDialogsAndSelections) {
  constexpr int kSpu0 = 4352;
  const std::vector<std::string> sprites{"16x16", "32x16", "16x32", "32x32", "64x32", "32x64", "64x64"};
  EXPECT_EQ(PackageDialogForm::SizeEntries(*SlotById(kSpu0)), sprites);
  EXPECT_EQ(PackageDialogForm::SizeEntries(*SlotById(kSpd0)), std::vector<std::string>{"32x32"});
  EXPECT_TRUE(PackageDialogForm::SizeEntries(*SlotById(kBgu0)).empty());

  test::TempDir dir;
  test::FakeHost host;
  ConvertSettings settings;
  PackageDialogForm form(settings, host);
  int changes = 0;
  form.SetOnChange([&] { ++changes; });
  test::WriteBytes(dir / "sq.bmp", test::MakeBmp(test::Layout(256, 256, 4, test::GreyPalette(16))));
  host.choices = {{dir / "sq.bmp"}};
  form.Browse(kBgu0);     // four parts
  EXPECT_EQ(changes, 2);  // the slot takes the file, then its parts
  EXPECT_EQ(form.Form().Slot(kBgu0).PartIndex, 0);
  // slot, index asked, the selection after it (-1: none)
  const struct {
    int slot, index, part, size;
  } rows[] = {{kBgu0, 3, 3, 0},    {kBgu0, 4, 3, 0},   {kBgu0, -1, 3, 0},
              {kBgu0, 0, 0, 0},    {-kSpu0, 6, -1, 6}, {-kSpu0, 7, -1, 6},
              {-kSpu0, -1, -1, 6}, {-kSpu0, 0, -1, 0}, {-kSpd0, 1, -1, 0}};
  for (const auto& row : rows) {
    form.EditName("a-b");
    if (row.slot > 0)
      form.SelectPart(row.slot, row.index);
    else
      form.SelectSize(-row.slot, row.index);
    const SlotState& slot = form.Form().Slot(row.slot > 0 ? row.slot : -row.slot);
    EXPECT_EQ(row.slot > 0 ? slot.PartIndex.value_or(-1) : slot.SizeIndex.value_or(-1),
              row.slot > 0 ? row.part : row.size)
        << row.slot << " " << row.index;
    EXPECT_EQ(form.Form().PackageName, "A");
  }
  changes = 0;
  form.SetChecked(kPrg, true);
  form.EditName("c-d");
  form.EditPath(kPrg, dir / "a.txt");
  EXPECT_EQ(form.Form().PackageName + std::to_string(changes), "C2");  // the box, then the name
}

// "Fill from screen...": the map fills SCU0 (SCU1 when SCU0 holds another file), the banks beside it BGU0...
// and their palette COL0, found by the map's name or as the folder's one tile set; a refusal changes no row.
// Every form starts with both BGU3 rows holding font.bmp, and a row's `held` in its screen's SCU0; the rows
// checked afterwards are listed in the dialog's order (the left column first).
TEST(PackageDialogForm, FillFromScreenFillsTheScreensRowsFromTheBanksBesideTheMap) {
  // clang-format off
  const struct { const char* files; bool lower; const char* held, *map, *shown, *rows; } rows[] = {
      {"title_SCR.zkp:700 title_CHR0.zkp title_CHR1.zkp title_CHR2.zkp title_COL.zkp a_CHR0.zkp a_COL.zkp",
       false, "", "title_SCR.zkp", "Filled SCU0, BGU0, BGU1, BGU2, COL0 from title_SCR.zkp, title_CHR0.zkp, "
       "title_CHR1.zkp, title_CHR2.zkp, title_COL.zkp", "BGU0=title_CHR0.zkp BGU1=title_CHR1.zkp "
       "BGU2=title_CHR2.zkp BGU3=font.bmp SCU0=title_SCR.zkp down:BGU3=font.bmp COL0=title_COL.zkp"},
      // a shared set's map, its cell holding tile 255 flipped both ways in palette 15
      {"level_SCR.zkp:0xFCFF title_SCR.zkp:1 title_CHR0.zkp title_COL.zkp", true, "old_SCR.zkp",
       "level_SCR.zkp",
       "Filled SCU1, BGU0, COL0 (Down screen) from level_SCR.zkp, title_CHR0.zkp, title_COL.zkp",
       "BGU3=font.bmp down:BGU0=title_CHR0.zkp down:BGU3=font.bmp down:SCU0=old_SCR.zkp "
       "down:SCU1=level_SCR.zkp down:COL0=title_COL.zkp"},
      {"title_SCR.zkp:255 title_CHR0.zkp title_COL.zkp", false, "title_SCR.zkp", "title_SCR.zkp",
       "Filled SCU0, BGU0, COL0 from title_SCR.zkp, title_CHR0.zkp, title_COL.zkp",
       "BGU0=title_CHR0.zkp BGU3=font.bmp SCU0=title_SCR.zkp down:BGU3=font.bmp COL0=title_COL.zkp"},
      {"title_SCR.zkp:700 title_CHR0.zkp title_CHR1.zkp title_CHR3.zkp title_COL.zkp", false, "",
       "title_SCR.zkp",
       "the map uses tile 700; the banks beside it hold 512 (title_CHR0.zkp, title_CHR1.zkp)", ""},
      {"level_SCR.zkp:1 level_CHR0.zkp a_COL.zkp", false, "", "level_SCR.zkp",
       "no banks for level_SCR.zkp: no level_CHR0.zkp with level_COL.zkp, nor any other tile set "
       "(X_CHR0.zkp with X_COL.zkp), in its folder", ""},
      {"level_SCR.zkp:1 a_CHR0.zkp a_COL.zkp b_CHR0.zkp b_COL.zkp", false, "", "level_SCR.zkp",
       "no banks for level_SCR.zkp: no level_CHR0.zkp with level_COL.zkp in its folder, and several tile "
       "sets there: a, b", ""},
      {"title_CHR0.zkp title_COL.zkp", false, "", "title_CHR0.zkp",
       "title_CHR0.zkp holds no SCR resource", ""},
      {"title_SCR.zkp:1 title_CHR0.zkp title_COL.zkp!", false, "", "title_SCR.zkp",
       "title_COL.zkp holds no COL resource", ""},
      {"map.txt!", false, "", "map.txt", "map.txt is not a .zkp resource file", ""}};
  // clang-format on
  for (const auto& row : rows) {
    test::TempDir dir;
    std::istringstream files(row.files);
    for (std::string file; files >> file;) {
      // "NAME:CELL": a map with CELL in its cell 9; "NAME!": a MEM resource alone; "_COL": a palette; a bank
      const std::size_t mark = std::min(file.find(':'), file.find('!'));
      const std::string name = file.substr(0, mark);
      ResourcePayload payload = NewPayload(kTagChr, kChrPayloadSize);
      ResourceType type = ResourceType::Chr;
      if (mark < file.size() && file[mark] == '!') {
        payload = NewPayload(kTagMem, kMemPayloadSize), type = ResourceType::Mem;
      } else if (mark < file.size()) {
        const int cell = std::stoi(file.substr(mark + 1), nullptr, 0);
        payload = NewPayload(kTagScr, kScrPayloadSize), type = ResourceType::Scr;
        payload[kTagSize + 18] = static_cast<std::uint8_t>(cell & 0xFF);  // little-endian
        payload[kTagSize + 19] = static_cast<std::uint8_t>(cell >> 8);
      } else if (name.find("_COL") != std::string::npos) {
        payload = NewPayload(kTagCol, kColPayloadSize), type = ResourceType::Col;
      }
      test::WriteBytes(dir / name, BuildZkpContainer(payload, type, "T"));
    }
    test::FakeHost host;
    host.choices = {{dir / row.map}};
    std::string folder = "/start/";
    const ConvertSettings settings;
    PackageDialogForm form(settings, host, &folder);
    const std::string down = row.lower ? "down:" : "";
    for (const char* slot : {"BGU3", "down:BGU3"})
      form.EditPath(SlotByCommandLineName(slot)->SlotId, dir / "font.bmp");
    if (*row.held)
      form.EditPath(SlotByCommandLineName(down + "SCU0")->SlotId, dir / row.held);
    for (const SlotInfo& slot : PackageSlots())
      form.SetChecked(slot.SlotId, !form.Form().Slot(slot).Path.empty());
    int changes = 0;
    form.SetOnChange([&] { ++changes; });
    form.FillFromScreen(row.lower);
    std::string filled;
    for (const SlotInfo& slot : PackageSlots()) {
      const SlotState& state = form.Form().Slot(slot);
      if (state.Checked)
        filled += (filled.empty() ? "" : " ") + CommandLineName(slot) + "=" +
                  state.Path.substr(dir.Path().size() + 1);
    }
    const bool done = *row.rows != '\0';  // a refusal leaves the rows as they were
    EXPECT_EQ(filled, done ? row.rows : "BGU3=font.bmp down:BGU3=font.bmp") << row.files;
    ASSERT_EQ(host.messages.size(), 1u) << row.files;
    EXPECT_EQ(host.messages[0].caption + "|" + host.messages[0].text,
              std::string(done ? "Fill from screen|" : "Error|") + row.shown);
    EXPECT_EQ(changes, done ? 1 : 0) << row.files;
    EXPECT_EQ(host.asked.at(0).Title + "|" + host.asked[0].InitialPath + "|" + folder,
              std::string("Choose a screen map for the ") + (row.lower ? "Down" : "Up") + " screen|/start/|" +
                  dir.Path() + "/");
  }
}

TEST(PackageDialogForm, NameCancelAndMakeFollowTheDialogsRules) {
  test::TempDir dir;
  test::FakeHost host;
  ConvertSettings settings;
  settings.ToolDir = dir.Path();
  PackageDialogForm form(settings, host);
  EXPECT_FALSE(form.Make());   // nothing checked: nothing shown, nothing asked
  EXPECT_TRUE(form.Cancel());  // nothing chosen: closes without asking
  EXPECT_TRUE(host.reports.empty() && host.asked.empty() && host.questions.empty());
  form.EditName("abc-def");
  EXPECT_EQ(form.Form().PackageName, "abc-def");  // left as typed while typed
  form.SetChecked(kPrg, true);
  EXPECT_EQ(form.Form().PackageName, "ABC");
  EXPECT_TRUE(form.PathEnabled(kPrg) && !form.PathEnabled(kBgu0));

  std::string enabled;  // the controls' state at each change: off for the build, on again after it
  form.SetOnChange([&] { enabled += form.ControlsEnabled() ? '1' : '0'; });
  EXPECT_FALSE(form.Make());  // the program slot holds no file
  EXPECT_EQ(host.reports.at(0).Text + "|" + host.reports[0].Details,
            "Convert failed.\n PRG|PRG: no file given");
  EXPECT_TRUE(enabled == "01" && form.Form().Slot(kPrg).Checked);

  test::WriteText(dir / "a.txt", "10 END\r\n");
  form.EditPath(kPrg, dir / "a.txt");
  EXPECT_FALSE(form.Cancel());  // asked, and the answer is No
  EXPECT_EQ(host.questions.back().text,
            "Close without making the package? The files chosen for 1 slot are forgotten.");
  host.choices = {{dir / "out.txt"}};
  EXPECT_TRUE(form.Make());
  EXPECT_EQ(host.asked.back().InitialPath, dir / "ABC.zkp");  // "Same folder as source": the program's
  host.answers = {true};
  EXPECT_TRUE(form.Cancel());
}

}  // namespace
}  // namespace granvel
