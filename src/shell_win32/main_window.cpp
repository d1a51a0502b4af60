#include "shell_win32/main_window.h"

#include "forms/main_window_form.h"
#include "forms/project_form.h"
#include "granvel_version.h"
#include "shell_win32/options_dialog.h"
#include "shell_win32/package_dialog.h"
#include "shell_win32/resource_ids.h"
#include "shell_win32/single_instance.h"

namespace granvel::win32 {
namespace {

constexpr int kClientWidth = 280;
constexpr int kClientHeight = 160;

// The window's dots per inch (96 is 100 %).
int Dpi(HWND window) {
  HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

MainWindow::MainWindow(const std::string& toolDir, Host* host)
    : settings_(LoadSettings(toolDir)), host_(host) {
  if (!host_) {
    ownHost_ = std::make_unique<Win32Host>();
    host_ = ownHost_.get();
  }
}

MainWindow::~MainWindow() {
  if (run_)
    run_->Stop();
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (hintFont_)
    DeleteObject(hintFont_);
}

bool MainWindow::Create(int showCommand) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW cls{};
  if (!GetClassInfoExW(instance, kMainWindowClass, &cls)) {
    cls = {};
    cls.cbSize = sizeof cls;
    cls.style = CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = Proc;
    cls.hInstance = instance;
    cls.hIcon = LoadIconW(instance, L"EXEic");
    cls.hIconSm = cls.hIcon;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = kMainWindowClass;
    if (!RegisterClassExW(&cls))
      return false;
  }
  window_ = CreateWindowExW(0, kMainWindowClass, L"" GRANVEL_WINDOW_TITLE,
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, 0,
                            50, 50, nullptr, LoadMenuW(instance, L"MainMenu"), instance, this);
  if (!window_)
    return false;
  if (ownHost_)
    ownHost_->SetOwner(window_);
  // No size or maximize entries: the window keeps its size.
  HMENU system = GetSystemMenu(window_, FALSE);
  DeleteMenu(system, SC_SIZE, MF_BYCOMMAND);
  DeleteMenu(system, SC_MAXIMIZE, MF_BYCOMMAND);
  FillConvertTypeMenu();
  AddProjectCommands();
  DrawMenuBar(window_);
  DragAcceptFiles(window_, TRUE);

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight = metrics.lfMessageFont.lfHeight * 9 / 10;
  hintFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
  panel_.Create(window_, Dpi(window_), hintFont_);

  SizeClientArea();
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  return true;
}

void MainWindow::FillConvertTypeMenu() {
  HMENU types = GetSubMenu(GetMenu(window_), 1);
  while (GetMenuItemCount(types) > 0)
    DeleteMenu(types, 0, MF_BYPOSITION);
  HMENU sprites = nullptr;
  for (const ConvertTypeItem& item : ConvertTypeItems()) {
    if (item.Sprite && !sprites) {
      sprites = CreatePopupMenu();
      AppendMenuW(types, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sprites), L"Sprites (CHR)");
    }
    AppendMenuW(item.Sprite ? sprites : types, MF_STRING, static_cast<UINT_PTR>(item.Id),
                Widen(item.Label).c_str());
  }
  CheckMenuItem(GetMenu(window_), settings_.ConvertType, MF_BYCOMMAND | MF_CHECKED);
}

void MainWindow::SizeClientArea() {
  // The frame's size depends on the theme and the menu bar may wrap: move, measure, correct.
  const int dpi = Dpi(window_);
  const int width = MulDiv(kClientWidth, dpi, 96);
  const int height = MulDiv(kClientHeight, dpi, 96);
  HMONITOR monitor = MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT area = info.rcWork;
  int extraWidth = 0, extraHeight = 0;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int outerWidth = width + extraWidth, outerHeight = height + extraHeight;
    MoveWindow(window_, area.left + (area.right - area.left - outerWidth) / 2,
               area.top + (area.bottom - area.top - outerHeight) / 2, outerWidth, outerHeight, FALSE);
    RECT client, outer;
    GetClientRect(window_, &client);
    GetWindowRect(window_, &outer);
    if (client.right == width && client.bottom == height)
      break;
    extraWidth = (outer.right - outer.left) - client.right;
    extraHeight = (outer.bottom - outer.top) - client.bottom;
  }
}

void MainWindow::AddProjectCommands() {
  HMENU files = GetSubMenu(GetMenu(window_), 0);
  const UINT exit = static_cast<UINT>(GetMenuItemCount(files) - 1);
  InsertMenuW(files, exit, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  InsertMenuW(files, exit + 1, MF_BYPOSITION | MF_STRING, IDM_OPEN_PROJECT, Widen(kOpenProjectLabel).c_str());
  InsertMenuW(files, exit + 2, MF_BYPOSITION | MF_STRING, IDM_BUILD_PROJECT,
              Widen(kBuildProjectLabel).c_str());
  InsertMenuW(files, exit + 3, MF_BYPOSITION | MF_STRING, IDM_CLOSE_PROJECT,
              Widen(kCloseProjectLabel).c_str());
  InsertMenuW(files, exit + 4, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  SetProject({});
}

void MainWindow::SetProject(std::string file) {
  projectFile_ = std::move(file);
  const UINT state = MF_BYCOMMAND | (projectFile_.empty() ? MF_GRAYED : MF_ENABLED);
  EnableMenuItem(GetMenu(window_), IDM_BUILD_PROJECT, state);
  EnableMenuItem(GetMenu(window_), IDM_CLOSE_PROJECT, state);
  InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::OpenProject() {
  FileChoice choice = ProjectFileChoice();
  if (host_->ChooseFile(choice) && !choice.Files.empty())
    SetProject(choice.Files.front());
}

std::wstring MainWindow::Hint() const {
  return Widen(projectFile_.empty() ? DropHint(settings_.ConvertType) : ProjectHint(projectFile_));
}

void MainWindow::ChooseConvertType(int commandId) {
  HMENU menu = GetMenu(window_);
  CheckMenuItem(menu, settings_.ConvertType, MF_BYCOMMAND | MF_UNCHECKED);
  SelectConvertType(settings_, commandId);
  CheckMenuItem(menu, settings_.ConvertType, MF_BYCOMMAND | MF_CHECKED);
  InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::Convert(std::vector<std::string> paths) {
  if (!paths.empty())
    Queue(RunThread::ConvertWork(std::move(paths)));
}

void MainWindow::Queue(RunThread::Work work) {
  queue_.push_back(std::move(work));
  StartNextRun();
}

void MainWindow::StartNextRun() {
  if (!window_ || Running() || queue_.empty())
    return;
  RunThread::Work work = std::move(queue_.front());
  queue_.pop_front();
  if (!run_->Start(std::move(work), settings_))
    return;
  panel_.Show(true);
  InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::RunEnded() {
  const std::vector<MessageReport> reports = run_->Finish();
  panel_.Show(false);
  InvalidateRect(window_, nullptr, TRUE);
  if (closeWhenRunEnds_) {
    DestroyWindow(window_);
    return;
  }
  // The next run goes on while this one's "Finished" box is open, and adds its own report to that box.
  StartNextRun();
  for (const MessageReport& report : reports)
    host_->ShowReport(report);
}

void MainWindow::CancelRun() {
  if (!Running())
    return;
  run_->Cancel();
  panel_.Cancelling();
}

void MainWindow::ConvertChosen(FileChoice choice) {
  if (host_->ChooseFile(choice))
    Convert(std::move(choice.Files));
}

void MainWindow::Command(int id) {
  switch (id) {
    case IDM_EXIT:
      SendMessageW(window_, WM_CLOSE, 0, 0);
      return;
    case IDM_FILE_CONVERT:
      ConvertChosen(FileConvertChoice(settings_));
      return;
    case IDM_CONVERT_FOLDER:
      ConvertChosen(FolderConvertChoice());
      return;
    case IDM_OPEN_PROJECT:
      OpenProject();
      return;
    case IDM_BUILD_PROJECT:
      if (!projectFile_.empty())
        Queue([file = projectFile_](const ConvertSettings&, Host& host) {
          BuildProjectFile(file, GRANVEL_VERSION, host);
        });
      return;
    case IDM_CLOSE_PROJECT:
      SetProject({});
      return;
    case IDM_MAKE_PACKAGE: {
      // A new dialog each time, so every opening starts empty.
      PackageDialog dialog(settings_, ownHost_ ? nullptr : host_, &browseFolder_);
      dialog.Run(window_);
      return;
    }
    case IDM_OPTIONS: {
      OptionsDialog dialog(settings_, IniPath(settings_.ToolDir));
      dialog.Run(window_);
      return;
    }
  }
  for (const ConvertTypeItem& item : ConvertTypeItems()) {
    if (item.Id == id)
      ChooseConvertType(id);
  }
}

void MainWindow::Dropped(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(length);
    paths.push_back(Narrow(path));
  }
  DragFinish(drop);
  Convert(std::move(paths));
}

void MainWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (Running()) {  // the run's controls stand where the hint would
    EndPaint(window_, &paint);
    return;
  }
  RECT client;
  GetClientRect(window_, &client);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kBlackAreaText);
  HGDIOBJ old = SelectObject(dc, hintFont_ ? hintFont_ : GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring hint = Hint();
  DrawTextW(dc, hint.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(window_, &paint);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0) {
        Command(LOWORD(wParam));
        return 0;
      }
      if (LOWORD(wParam) == IDC_RUN_CANCEL && HIWORD(wParam) == BN_CLICKED) {
        CancelRun();
        SetFocus(window_);  // Escape goes to the window again
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        CancelRun();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(ProgressPanel::Colours(reinterpret_cast<HDC>(wParam)));
    case WM_DROPFILES:
      Dropped(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!data || data->dwData != kHandOverTag)
        break;
      // Answered at once, also during a run: the second copy never waits for one.
      Convert(ReadHandOver(*data));
      return TRUE;
    }
    case RunThread::kProgressMessage: {
      const RunProgress progress = run_->TakeProgress();
      if (Running())
        panel_.Update(progress);
      return 0;
    }
    case RunThread::kCallMessage:
      return run_->Answer(lParam);
    case RunThread::kEndedMessage:
      if (Running() && wParam == run_->Number())
        RunEnded();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      queue_.clear();
      if (run_->InCall()) {
        // A dialog of the run is open over this window, in a call its thread waits for: the window closes
        // once it has been answered and the run has stopped.
        CancelRun();
        closeWhenRunEnds_ = true;
        return 0;
      }
      run_->Stop();  // cancels the run and waits for it
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      run_->Stop();  // when destroyed without being closed
      queue_.clear();
      window_ = nullptr;
      if (quitOnClose_)
        PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    self->run_ = std::make_unique<RunThread>(window, *self->host_);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window)
    return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

}  // namespace granvel::win32
