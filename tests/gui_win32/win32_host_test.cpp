// The program's host: the question whose answer can be kept for the run, where a file dialog opens and
// which filter it shows first, and the folder dialog.
#include "shell_win32/win32_host.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "forms/main_window_form.h"

#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

TEST(Win32Question, TheKeepBoxComesBackAsKeep) {
  win32::Win32Host host;
  for (const bool tick : {true, false}) {
    WhenShown("Palette", [&](HWND dialog) {
      // Wine's task dialog has its controls as children (Windows' draws them itself).
      EXPECT_NE(FindWindowExW(dialog, nullptr, L"Button", win32::Widen(kKeepAnswerLabel).c_str()), nullptr);
      SendMessageW(dialog, TDM_CLICK_VERIFICATION, tick, FALSE);
      SaveScreenshot(dialog, tick ? "win32_question_keep" : "win32_question");
      SendMessageW(dialog, TDM_CLICK_BUTTON, tick ? IDYES : IDNO, 0);
    });
    bool keep = !tick;
    EXPECT_EQ(host.AskYesNoForRun("Palette", "hero.bmp has 2 colours. Use palette 15?", keep), tick);
    EXPECT_EQ(keep, tick);
  }
}

TEST(Win32FileDialog, StartsInTheFolderOfItsPath) {
  // clang-format off
  const struct { const char* Path; const wchar_t* Folder; const wchar_t* Name; } kCases[] = {
      {"C:\\dir\\", L"C:\\dir", L""}, {"Z:/dir/sub/", L"Z:\\dir\\sub", L""}, {"C:\\", L"C:\\", L""},
      {"C:\\dir\\A.zkp", L"C:\\dir", L"A.zkp"}, {"A.zkp", L"", L"A.zkp"}, {"", L"", L""},
  };
  // clang-format on
  for (const auto& each : kCases) {
    const win32::StartPlace place = win32::StartPlaceOf(each.Path);
    EXPECT_TRUE(place.Folder == each.Folder && place.Name == each.Name) << each.Path;
  }

  // The dialog itself: a name typed alone is taken from the folder it opened in; the first filter shows.
  TempDir dir;
  WriteText(dir / "a.txt", "10 END\r\n");
  FileChoice choice;
  choice.Title = "Choose a file for PRG";
  choice.Filter = {{"All accepted files", "*.txt *.zkp"}, {"Text document", "*.txt"}};
  choice.InitialPath = dir.Path() + "/";
  std::string filter;
  WhenShown(choice.Title, [&](HWND dialog) {
    filter = Text(FindWindowExW(dialog, nullptr, L"ComboBox", nullptr));
    SetWindowTextW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), L"a.txt");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  win32::Win32Host host;
  const DialogGuard guard(5000);
  ASSERT_TRUE(host.ChooseFile(choice));
  EXPECT_EQ(choice.Files, std::vector<std::string>{dir.Path() + "\\a.txt"});
  EXPECT_EQ(filter.rfind("All accepted files", 0), 0u) << filter;

  // A folder dialog gives the folder named in it, under the title asked for.
  std::filesystem::create_directories(Utf8Path(dir / "sub"));
  FileChoice folder = FolderConvertChoice();
  folder.InitialPath = choice.InitialPath;
  WhenShown(folder.Title, [&](HWND dialog) {
    SetWindowTextW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), L"sub");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  ASSERT_TRUE(host.ChooseFile(folder));
  EXPECT_EQ(folder.Files, std::vector<std::string>{dir.Path() + "\\sub"});
}

}  // namespace
}  // namespace granvel::test
