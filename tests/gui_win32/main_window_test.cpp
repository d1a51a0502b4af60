// The Windows desktop program's main window, driven in this process as the user drives it: its menu and
// check mark, a drop, "File convert", "Convert folder", files handed over by a second copy, a long run
// cancelled; and the real program started several times: hand-overs during a long run, its menu's dialogs,
// closing it during a run.
#include "shell_win32/main_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "forms/package_dialog_form.h"
#include "granvel_version.h"
#include "platform/files.h"
#include "shell_win32/resource_ids.h"
#include "shell_win32/single_instance.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

using win32::Widen;

// "%d files converted\nSuccessed：%d\nFailured：%d", the colons full-width.
std::string Summary(int seen, int ok, int failed) {
  return std::to_string(seen) + " files converted\nSuccessed\uFF1A" + std::to_string(ok) +
         "\nFailured\uFF1A" + std::to_string(failed);
}

// The main window's title "GRANVEL vX.YZ", written from the version "X.Y.Z" (minor and patch one digit
// each).
std::string WindowTitle() {
  int major = 0, minor = 0, patch = 0;
  std::sscanf(GRANVEL_VERSION, "%d.%d.%d", &major, &minor, &patch);
  return "GRANVEL v" + std::to_string(major) + "." + std::to_string(minor) + std::to_string(patch);
}

// Every item of `menu` with its id, submenus in brackets.
std::string Outline(HMENU menu) {
  std::string outline;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    HMENU sub = GetSubMenu(menu, i);
    outline += (i ? " " : "") + win32::Narrow(text) +
               (sub ? "[" + Outline(sub) + "]" : "=" + std::to_string(GetMenuItemID(menu, i)));
  }
  return outline;
}

bool MenuChecked(HWND window, int id) {
  return (GetMenuState(GetMenu(window), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// A file of `bytes` zeros that takes no room on the disk.
void WriteLargeFile(const std::string& path, std::uintmax_t bytes) {
  WriteText(path, "");
  std::filesystem::resize_file(Utf8Path(path), bytes);
}

// What a stopped run must not leave in `folder`: the atomic writer's temporary files (".NAME.PROCESS.N.tmp"),
// and pages of big.bin ("big_BINn.zkp") other than whole GRP containers of 49200 bytes: the 36-byte header,
// the 12 bytes of the tag after its brand word, the 49152 bytes of the page. Counts the pages in `pages`.
std::string PartialFiles(const std::string& folder, int& pages) {
  std::string partial;
  pages = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Utf8Path(folder))) {
    const std::string name = Utf8Of(entry.path().filename());
    const bool page = name.starts_with("big_BIN");
    pages += page ? 1 : 0;
    if (name.ends_with(".tmp") || (page && entry.file_size() != 49200))
      partial += name + " ";
  }
  return partial;
}

TEST(Win32MainWindow, ShowsItsMenuAndConvertsDroppedChosenAndHandedOverFilesInOneRunEach) {
  TempDir dir;
  FakeHost host;
  win32::MainWindow main(dir.Path(), &host);
  main.SetQuitOnClose(false);
  ASSERT_TRUE(main.Create(SW_SHOWNORMAL));
  HWND window = main.Window();
  EXPECT_EQ(FindWindowW(L"MainWindow", Widen(WindowTitle()).c_str()), window) << "class and title";
  RECT client;
  GetClientRect(window, &client);
  EXPECT_TRUE(client.right == 280 && client.bottom == 160) << client.right << "x" << client.bottom;
  HMENU menu = GetMenu(window);
  EXPECT_EQ(
      Outline(menu),
      "Files(&F)[Make ZKP package=2 File convert=1 Convert folder=3 =0 Open project...=4 Build project=5 "
      "Close project=6 =0 Exit=0] "
      "Convert type(&T)[BG / Font (CHR)=257 Screen (CHR + SCR)=267 Sprites (CHR)[16x16=258 32x16=259 "
      "16x32=260 32x32=261 64x32=262 32x64=263 64x64=264] Graphics (GRP)=265 Binary data (GRP)=266] "
      "Options(&O)=512");
  // No size or maximize entry in the system menu.
  HMENU system = GetSystemMenu(window, FALSE);
  EXPECT_TRUE(GetMenuState(system, SC_SIZE, MF_BYCOMMAND) == static_cast<UINT>(-1) &&
              GetMenuState(system, SC_MAXIMIZE, MF_BYCOMMAND) == static_cast<UINT>(-1));
  SaveScreenshot(window, "win32_main_window");
  // The "Convert type" menu open under its title, shot from a timer while the menu runs its own loop.
  RECT title;
  GetMenuItemRect(window, menu, 1, &title);
  SetTimer(window, 1, 500, [](HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, 1);
    SaveScreenshot(window, "win32_convert_type_menu");  // the menu stands within the window
    EndMenu();
  });
  TrackPopupMenuEx(GetSubMenu(menu, 1), TPM_RETURNCMD, title.left, title.bottom, window, nullptr);

  // A drop of two files, one of which cannot be converted: one run, its "Finished" report.
  WriteText(dir / "Notes_mem.txt", "MEM$=\"HELLO\"\r\n");
  WriteText(dir / "broken.zkp", "junk");
  DropFiles(window, {dir / "Notes_mem.txt", dir / "broken.zkp"});
  ASSERT_TRUE(PumpUntil([&] { return host.reports.size() == 1; }));
  EXPECT_EQ(host.reports[0].Caption + "|" + host.reports[0].Text, "Finished|" + Summary(2, 1, 1));
  // "File convert" asks for several files and converts what was chosen.
  host.choices.push_back({dir / "Notes_mem.txt"});
  SendMessageW(window, WM_COMMAND, IDM_FILE_CONVERT, 0);
  EXPECT_TRUE(host.asked.at(0).Title == "Choose convert files" && host.asked[0].MultiSelect);
  EXPECT_TRUE(PumpUntil([&] { return host.reports.size() == 2; }));
  // A second copy's hand-over converts; another tag, an odd length or a list without its last NUL is
  // refused (any of them taken would be a run of its own).
  std::vector<wchar_t> payload = win32::HandOverPayload({dir / "Notes_mem.txt"});
  const auto bytes = static_cast<DWORD>(payload.size() * sizeof(wchar_t));
  wchar_t unterminated[] = {L'a', L'b'};
  COPYDATASTRUCT handOvers[] = {{win32::kHandOverTag, bytes, payload.data()},
                                {0x1234, bytes, payload.data()},
                                {win32::kHandOverTag, bytes - 1, payload.data()},
                                {win32::kHandOverTag, sizeof unterminated, unterminated}};
  for (COPYDATASTRUCT& each : handOvers)
    SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&each));
  PumpUntil([&] { return host.reports.size() > 2; });
  Pump(300);
  ASSERT_EQ(host.reports.size(), 3u);
  EXPECT_EQ(host.reports[2].Text, Summary(1, 1, 0));

  // "Convert type" moves its check mark; the black area names the type and unit.
  EXPECT_TRUE(MenuChecked(window, 257));
  SendMessageW(window, WM_COMMAND, 259, 0);  // "32x16"
  EXPECT_TRUE(!MenuChecked(window, 257) && MenuChecked(window, 259));
  EXPECT_EQ(win32::Narrow(main.Hint()), "Drop files here \u00B7 Sprites (CHR) 32x16");
  SendMessageW(window, WM_COMMAND, 265, 0);  // "Graphics (GRP)"
  EXPECT_TRUE(!MenuChecked(window, 259) && MenuChecked(window, 265));
  SaveScreenshot(window, "win32_main_window_grp");

  // A folder, dropped or chosen with "Convert folder", converts the files under it; hidden ones are passed
  // over. The second run waits for the first. The outputs go to a folder of their own from now on.
  std::filesystem::create_directories(Utf8Path(dir / "set/sub"));
  std::filesystem::create_directories(Utf8Path(dir / "out"));
  main.Settings().Select = kSelectUserFolder;
  main.Settings().User = dir / "out";
  for (const char* name : {"set/a_mem.txt", "set/sub/b_mem.txt", "set/.c_mem.txt"})
    WriteText(dir / name, "MEM$=\"A\"\r\n");
  host.choices.push_back({dir / "set"});
  SendMessageW(window, WM_COMMAND, IDM_CONVERT_FOLDER, 0);
  EXPECT_TRUE(host.asked.back().FolderMode && host.asked.back().Title == "Choose a folder to convert");
  DropFiles(window, {dir / "set"});
  ASSERT_TRUE(PumpUntil([&] { return host.reports.size() == 5; }));
  EXPECT_TRUE(host.reports[3].Text == Summary(2, 2, 0) && host.reports[4].Text == Summary(2, 2, 0));
  EXPECT_TRUE(Exists(dir / "out/a_mem_MEM.zkp") && Exists(dir / "out/b_mem_MEM.zkp") &&
              !Exists(dir / "out/.c_mem_MEM.zkp"));

  // A long run: the bar and a line naming the file show while the menus answer; Cancel ends the run soon,
  // the pages it finished whole and no temporary file left.
  SendMessageW(window, WM_COMMAND, 266, 0);  // "Binary data (GRP)"
  main.Settings().TextOut = 0;
  WriteLargeFile(dir / "big.bin", std::uintmax_t{1} << 29);
  DropFiles(window, {dir / "big.bin"});
  HWND bar = GetDlgItem(window, IDC_RUN_PROGRESS);
  ASSERT_TRUE(PumpUntil([&] { return main.Running() && SendMessageW(bar, PBM_GETPOS, 0, 0) > 0; }));
  EXPECT_TRUE(IsWindowVisible(bar) && IsWindowVisible(GetDlgItem(window, IDC_RUN_CANCEL)));
  const std::string line = ItemText(window, IDC_RUN_LINE);
  EXPECT_EQ(line.rfind("0 of 1 files \u00B7 big.bin \u00B7 part ", 0), 0u) << line;
  EXPECT_EQ(CutLabels(window), std::vector<std::string>{});
  SaveScreenshot(window, "win32_main_window_progress");
  SendMessageW(window, WM_COMMAND, 257, 0);
  EXPECT_TRUE(MenuChecked(window, 257) && !MenuChecked(window, 266));
  ASSERT_TRUE(main.Running()) << "the run ended before it was cancelled";
  Click(window, IDC_RUN_CANCEL);
  const DWORD cancelled = GetTickCount();
  ASSERT_TRUE(PumpUntil([&] { return !main.Running(); }, 5000));
  EXPECT_LT(GetTickCount() - cancelled, 2000u);
  EXPECT_FALSE(IsWindowVisible(bar));
  ASSERT_EQ(host.reports.size(), 6u);
  EXPECT_EQ(host.reports[5].Text.rfind("Cancelled after 0 of 1 files\n0 files converted", 0), 0u);
  int pages = 0;
  EXPECT_EQ(PartialFiles(dir / "out", pages), "");
  EXPECT_GT(pages, 0);

  // A project opened from the Files menu builds as a run and ends in the "Finished" box; a second build finds
  // nothing to do, a refused file shows its place, and "Close project" brings back the drop hint.
  const auto greyed = [&] {
    return (GetMenuState(GetMenu(window), IDM_BUILD_PROJECT, MF_BYCOMMAND) & MF_GRAYED) != 0;
  };
  std::filesystem::create_directories(Utf8Path(dir / "game"));
  WriteText(dir / "game/notes_mem.txt", "MEM$=\"N\"\r\n");
  WriteText(dir / "game/granvel.toml",
            "[[asset]]\nname = \"notes\"\ninputs = \"notes_mem.txt\"\n[[package]]\nname = \"GAME\"\n"
            "output = \"out/GAME.zkp\"\nslots = { MEM = \"notes\" }\n");
  WriteText(dir / "bad.toml", "[[asset]]\nname = \"a\"\ninputs = \"Notes_mem.txt\"\nouput = \"out\"\n");
  EXPECT_TRUE(greyed());
  const auto build = [&](const std::string& file) {
    host.choices.push_back({file});
    SendMessageW(window, WM_COMMAND, IDM_OPEN_PROJECT, 0);
    EXPECT_EQ(host.asked.back().Title, "Open a project");
    const std::size_t before = host.reports.size();
    SendMessageW(window, WM_COMMAND, IDM_BUILD_PROJECT, 0);
    EXPECT_TRUE(PumpUntil([&] { return host.reports.size() > before && !main.Running(); }));
    return host.reports.back();
  };
  MessageReport report = build(dir / "game/granvel.toml");
  EXPECT_EQ(win32::Narrow(main.Hint()), "Project: game (granvel.toml)");
  EXPECT_FALSE(greyed());
  EXPECT_EQ(report.Caption + "|" + report.Text, "Finished|Built 1 of 1 asset and 1 of 1 package");
  EXPECT_EQ(report.Details.rfind("notes: no state\n", 0), 0u) << report.Details;
  EXPECT_TRUE(Exists(dir / "game/out/notes_mem_MEM.zkp") && Exists(dir / "game/out/GAME.zkp"));
  EXPECT_EQ(build(dir / "game/granvel.toml").Text, "Nothing to build: 1 asset and 1 package up to date");
  report = build(dir / "bad.toml");
  EXPECT_EQ(report.Text, "The project file was refused; nothing was built");
  EXPECT_EQ(report.Details.rfind(DisplayPath(dir / "bad.toml") + ":4:1: unknown key \"ouput\"", 0), 0u)
      << report.Details;
  SendMessageW(window, WM_COMMAND, IDM_CLOSE_PROJECT, 0);
  EXPECT_TRUE(greyed() && win32::Narrow(main.Hint()).starts_with("Drop files here"));

  // Closed while its run waits for the window to show a message (a refused setting's), the window declines
  // it and closes without waiting for the user.
  main.Settings().TransparentColour = "nonsense";
  main.Convert({dir / "Notes_mem.txt"});
  Sleep(500);  // no message handled meanwhile: the run's message waits for this thread
  const std::size_t shown = host.messages.size();
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(main.Window() == nullptr && !main.Running() && host.messages.size() == shown);
}

// A copy of the real program started in `folder` with `file` (a name without spaces), ended with the
// test when still running.
struct Program {
  PROCESS_INFORMATION Info{};
  Program(const std::string& folder, const std::string& file) {
    std::wstring command = L"\"" + Widen(GRANVEL_DESKTOP_PATH) + L"\" " + Widen(file);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, Widen(folder).c_str(),
                   &startup, &Info);
  }
  ~Program() {
    TerminateProcess(Info.hProcess, 1);  // nothing when it ended
    CloseHandle(Info.hThread);
    CloseHandle(Info.hProcess);
  }
  // Its exit code once it ended, waiting up to 20 s; STILL_ACTIVE when it did not end.
  DWORD ExitCode() {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(Info.hProcess, 20000);
    GetExitCodeProcess(Info.hProcess, &code);
    return code;
  }
};

// Waits up to 20 s for `done` to hold.
bool WaitUntil(const std::function<bool()>& done) {
  for (int waited = 0; waited < 20000 && !done(); waited += 100)
    Sleep(100);
  return done();
}

HWND WaitForWindow(const wchar_t* cls, const std::string& title) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowW(cls, Widen(title).c_str())) != nullptr; });
  return window;
}

// A second copy hands its file to the first and leaves with 0; the first converts it and shows the
// "Finished" box; a file handed over while the box is open is reported in that box. Then each menu
// command opens its dialog, modal and owned by the main window, and the program ends with 0 when closed.
TEST(Win32Program, ASecondCopyHandsItsFilesToTheFirstAndTheMenuOpensModalDialogs) {
  TempDir dir;
  WriteText(dir / "Notes_mem.txt", "MEM$=\"HELLO\"\r\n");
  WriteText(dir / "More_mem.txt", "MEM$=\"MORE\"\r\n");
  Program first(dir.Path(), "");
  HWND main = WaitForWindow(L"MainWindow", WindowTitle());
  ASSERT_NE(main, nullptr) << "the program showed no window";
  EXPECT_EQ(Program(dir.Path(), "Notes_mem.txt").ExitCode(), 0u);
  HWND finished = WaitForWindow(nullptr, "Finished");
  ASSERT_NE(finished, nullptr) << "no \"Finished\" box";
  EXPECT_EQ(FindWindowExW(nullptr, main, L"MainWindow", nullptr), nullptr) << "a second window";
  SaveScreenshot(finished, "win32_finished");
  Click(finished, IDC_REPORT_SHOW_DETAILS);
  SaveScreenshot(finished, "win32_finished_details");

  EXPECT_EQ(Program(dir.Path(), "More_mem.txt").ExitCode(), 0u);
  const std::string both = Summary(1, 1, 0) + "\n\n" + Summary(1, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return ItemText(finished, IDC_REPORT_TEXT) == both; }))
      << ItemText(finished, IDC_REPORT_TEXT);
  EXPECT_EQ(WindowsTitled("Finished"), 1);
  EXPECT_NE(ItemText(finished, IDC_REPORT_DETAILS).find("More_mem_MEM.zkp"), std::string::npos);
  RECT frame;
  GetWindowRect(finished, &frame);
  EXPECT_TRUE(frame.top >= 0 && frame.bottom <= 720) << "the grown box stays on the 1280 x 720 desktop";
  EXPECT_EQ(GetForegroundWindow(), finished) << "the box, not the window behind it, came to the front";
  SaveScreenshot(finished, "win32_finished_two_runs");
  PostMessageW(finished, WM_COMMAND, IDOK, 0);

  for (auto [command, title] : {std::pair{IDM_FILE_CONVERT, "Choose convert files"},
                                {IDM_CONVERT_FOLDER, "Choose a folder to convert"},
                                {IDM_OPTIONS, "Option settings"},
                                {IDM_MAKE_PACKAGE, kPackageDialogTitle}}) {
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; })) << "the last box gave it back";
    PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(command), 0);
    HWND dialog = WaitForWindow(nullptr, title);
    ASSERT_NE(dialog, nullptr) << title;
    EXPECT_TRUE(GetWindow(dialog, GW_OWNER) == main && !IsWindowEnabled(main)) << title;
    if (command == IDM_FILE_CONVERT)
      SaveScreenshot(dialog, "win32_file_convert_dialog");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));

  // During a long run the window answers: a copy started then hands its file over at once (its whole life,
  // its start under Wine included, takes well under the 10 s it used to wait for a busy window), and that
  // run follows the long one, which Escape cancels. Closing the window during a run ends the program soon.
  WriteLargeFile(dir / "big.bin", std::uintmax_t{1} << 29);
  HWND bar = GetDlgItem(main, IDC_RUN_PROGRESS);
  EXPECT_EQ(Program(dir.Path(), "big.bin").ExitCode(), 0u);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(bar) != FALSE; })) << "no progress showed";
  const DWORD handOver = GetTickCount();
  EXPECT_EQ(Program(dir.Path(), "Notes_mem.txt").ExitCode(), 0u);
  EXPECT_LT(GetTickCount() - handOver, 2000u) << "the second copy waited";
  PostMessageW(GetDlgItem(main, IDC_RUN_CANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
  finished = WaitForWindow(nullptr, "Finished");
  ASSERT_NE(finished, nullptr);
  const std::string cancelled =
      "Cancelled after 0 of 1 files\n" + Summary(0, 0, 0) + "\n\n" + Summary(1, 1, 0);
  EXPECT_TRUE(WaitUntil([&] { return ItemText(finished, IDC_REPORT_TEXT) == cancelled; }))
      << ItemText(finished, IDC_REPORT_TEXT);
  PostMessageW(finished, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(Program(dir.Path(), "big.bin").ExitCode(), 0u);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
  const DWORD closed = GetTickCount();
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.ExitCode(), 0u);
  EXPECT_LT(GetTickCount() - closed, 3000u);
  int pages = 0;
  EXPECT_EQ(PartialFiles(dir.Path(), pages), "");
  EXPECT_GT(pages, 0);
}

}  // namespace
}  // namespace granvel::test
