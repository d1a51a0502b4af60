#include "shell_win32/options_dialog.h"

#include <array>

#include "shell_win32/resource_ids.h"
#include "shell_win32/win32_host.h"

namespace granvel::win32 {
namespace {

// The check boxes and the form's flag each one shows.
struct CheckBox {
  int Id;
  bool OptionsForm::*Flag;
};
constexpr std::array<CheckBox, 11> kCheckBoxes{{
    {IDC_MAKE_ZKP_FOLDER, &OptionsForm::MakeZkpFolder},
    {IDC_TEXT_OUT, &OptionsForm::TextOut},
    {IDC_PNG_IMAGE, &OptionsForm::PngImage},
    {IDC_PRG_LIMIT, &OptionsForm::PrgLimit},
    {IDC_PRG_TO_SCR, &OptionsForm::PrgToScr},
    {IDC_PRG_TO_MEM, &OptionsForm::PrgToMem},
    {IDC_KEEP_WIDTH, &OptionsForm::KeepWidth},
    {IDC_MULTI_BYTE, &OptionsForm::MultiByte},
    {IDC_ESCAPE, &OptionsForm::Escape},
    {IDC_UTF8_TEXT, &OptionsForm::Utf8Text},
    {IDC_SHARE_TILES, &OptionsForm::ShareTiles},
}};

// The radio buttons that choose one of two for a flag: the first stands for false, the second for true.
struct RadioPair {
  int IdFalse, IdTrue;
  bool OptionsForm::*Flag;
};
constexpr std::array<RadioPair, 3> kRadioPairs{{
    {IDC_DATA_DEC, IDC_DATA_HEX, &OptionsForm::DataHex},
    {IDC_SPLIT_128, IDC_SPLIT_256, &OptionsForm::Split256},
    {IDC_MAKE_128, IDC_MAKE_256, &OptionsForm::Make256},
}};

// The 1-bit palette choices in control order.
constexpr std::array<std::pair<int, OneBitPalette>, 3> kPaletteRadios{{
    {IDC_PAL_KEEP, OneBitPalette::Keep01},
    {IDC_PAL_15, OneBitPalette::Use15},
    {IDC_PAL_ASK, OneBitPalette::Ask},
}};

// "Save to...": the radios' ids are the Select values.
constexpr std::array<int, 3> kSelectRadios{IDC_SAME_AS_SOURCE, IDC_SAME_AS_TOOL, IDC_SELECTED_FOLDER};

// Each control with the form's text for it; the folder field and its "Select" button share one.
using C = OptionControl;
constexpr std::array<std::pair<int, OptionControl>, kOptionControlCount + 1> kTooltips{{
    {IDC_SAME_AS_SOURCE, C::SameAsSource},
    {IDC_SAME_AS_TOOL, C::SameAsTool},
    {IDC_SELECTED_FOLDER, C::SelectedFolder},
    {IDC_USER_FOLDER, C::UserFolder},
    {IDC_SELECT_FOLDER, C::UserFolder},
    {IDC_MAKE_ZKP_FOLDER, C::MakeZkpFolder},
    {IDC_TEXT_OUT, C::TextOut},
    {IDC_DATA_HEX, C::DataHex},
    {IDC_DATA_DEC, C::DataDec},
    {IDC_PNG_IMAGE, C::PngImage},
    {IDC_PRG_LIMIT, C::PrgLimit},
    {IDC_PRG_TO_SCR, C::PrgToScr},
    {IDC_PRG_TO_MEM, C::PrgToMem},
    {IDC_KEEP_WIDTH, C::KeepWidth},
    {IDC_SPLIT_128, C::Split128},
    {IDC_SPLIT_256, C::Split256},
    {IDC_PAL_KEEP, C::PaletteKeep},
    {IDC_PAL_15, C::Palette15},
    {IDC_PAL_ASK, C::PaletteAsk},
    {IDC_MULTI_BYTE, C::MultiByte},
    {IDC_ESCAPE, C::Escape},
    {IDC_MAKE_128, C::Make128},
    {IDC_MAKE_256, C::Make256},
    {IDC_UTF8_TEXT, C::Utf8Text},
    {IDC_SHARE_TILES, C::ShareTiles},
}};
// Dialog units: how wide a tip grows before it wraps. The longest tips stay up for half a minute.
constexpr int kTipWidth = 220;
constexpr int kTipShownMilliseconds = 30000;

void CheckOneOf(HWND dialog, int first, int last, int id) {
  for (int each = first; each <= last; ++each)
    SetChecked(dialog, each, each == id);
}

}  // namespace

OptionsDialog::OptionsDialog(ConvertSettings& settings, std::string iniPath)
    : settings_(settings), iniPath_(std::move(iniPath)), browse_([](HWND owner, const std::string& start) {
        return ChooseFolder(owner, "Select folder", start);
      }) {}

bool OptionsDialog::Run(HWND owner) {
  modal_ = true;
  DialogBoxParamW(GetModuleHandleW(nullptr), L"OPTIONMENU", owner, Proc, reinterpret_cast<LPARAM>(this));
  return saved_;
}

HWND OptionsDialog::Create(HWND owner) {
  modal_ = false;
  return CreateDialogParamW(GetModuleHandleW(nullptr), L"OPTIONMENU", owner, Proc,
                            reinterpret_cast<LPARAM>(this));
}

OptionsForm OptionsDialog::Form() const {
  OptionsForm form;
  form.Select = 0;  // none of the three
  for (int id : kSelectRadios) {
    if (IsChecked(window_, id))
      form.Select = id;
  }
  form.User = Narrow(WindowText(GetDlgItem(window_, IDC_USER_FOLDER)));
  for (const CheckBox& box : kCheckBoxes)
    form.*box.Flag = IsChecked(window_, box.Id);
  for (const RadioPair& pair : kRadioPairs)
    form.*pair.Flag = IsChecked(window_, pair.IdTrue);
  for (const auto& [id, palette] : kPaletteRadios) {
    if (IsChecked(window_, id))
      form.Palette = palette;
  }
  return form;
}

void OptionsDialog::Show(const OptionsForm& form) {
  for (int id : kSelectRadios)
    SetChecked(window_, id, form.Select == id);
  SetDlgItemTextW(window_, IDC_USER_FOLDER, Widen(form.User).c_str());
  for (const CheckBox& box : kCheckBoxes)
    SetChecked(window_, box.Id, form.*box.Flag);
  for (const RadioPair& pair : kRadioPairs) {
    SetChecked(window_, pair.IdTrue, form.*pair.Flag);
    SetChecked(window_, pair.IdFalse, !(form.*pair.Flag));
  }
  for (const auto& [id, palette] : kPaletteRadios)
    SetChecked(window_, id, form.Palette == palette);
  UpdateEnabled();
}

void OptionsDialog::AddTooltips() {
  tooltips_ = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltips_)
    return;
  for (const auto& [id, control] : kTooltips) {
    std::wstring text = Widen(OptionTooltip(control));
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, id));
    tool.lpszText = text.data();  // copied by the tooltip
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  RECT width{0, 0, kTipWidth, 0};
  MapDialogRect(window_, &width);
  SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, width.right);
  SendMessageW(tooltips_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTipShownMilliseconds);
}

// A greyed control gets no mouse messages (its dialog does), so its tool's subclass never sees the mouse:
// the dialog hands them on as the control's own.
void OptionsDialog::RelayToTooltips(WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  MSG message{window_, WM_MOUSEMOVE, wParam, lParam, 0, {}};
  for (const auto& [id, control] : kTooltips) {
    HWND child = GetDlgItem(window_, id);
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    if (!IsWindowEnabled(child) && PtInRect(&area, point)) {
      message.hwnd = child;
      message.lParam = MAKELPARAM(point.x - area.left, point.y - area.top);
      break;
    }
  }
  SendMessageW(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

void OptionsDialog::UpdateEnabled() {
  const OptionsForm form = Form();
  for (int id : {IDC_USER_FOLDER, IDC_SELECT_FOLDER})
    SetEnabled(GetDlgItem(window_, id), form.UserFolderEnabled());
  for (int id : {IDC_DATA_HEX, IDC_DATA_DEC})
    SetEnabled(GetDlgItem(window_, id), form.DataTypeEnabled());
  for (int id : {IDC_SPLIT_128, IDC_SPLIT_256})
    SetEnabled(GetDlgItem(window_, id), form.SplitEnabled());
  SetEnabled(GetDlgItem(window_, IDC_ESCAPE), form.EscapeEnabled());
}

bool OptionsDialog::Command(int id) {
  switch (id) {
    case IDOK:
      Close(true);
      return true;
    case IDCANCEL:
      Close(false);
      return true;
    case IDC_SELECT_FOLDER: {
      std::string start = Narrow(WindowText(GetDlgItem(window_, IDC_USER_FOLDER)));
      if (start.empty())
        start = settings_.ToolDir;
      const std::string folder = browse_(window_, start);
      if (!folder.empty())
        SetDlgItemTextW(window_, IDC_USER_FOLDER, Widen(folder).c_str());
      return true;
    }
    case IDC_SAME_AS_SOURCE:
    case IDC_SAME_AS_TOOL:
    case IDC_SELECTED_FOLDER:
      CheckOneOf(window_, IDC_SAME_AS_SOURCE, IDC_SELECTED_FOLDER, id);
      break;
    case IDC_PAL_KEEP:
    case IDC_PAL_15:
    case IDC_PAL_ASK:
      CheckOneOf(window_, IDC_PAL_KEEP, IDC_PAL_ASK, id);
      break;
    default:
      for (const RadioPair& pair : kRadioPairs) {
        if (id == pair.IdFalse || id == pair.IdTrue) {
          SetChecked(window_, pair.IdTrue, id == pair.IdTrue);
          SetChecked(window_, pair.IdFalse, id == pair.IdFalse);
        }
      }
      break;
  }
  UpdateEnabled();
  return true;
}

void OptionsDialog::Close(bool done) {
  if (done) {
    Form().ApplyTo(settings_);
    // A failed write is not reported: the settings keep the new values for the rest of the run.
    std::string error;
    SaveSettings(settings_, iniPath_, error);
    saved_ = true;
  }
  if (modal_)
    EndDialog(window_, done ? IDOK : IDCANCEL);
  else
    DestroyWindow(window_);
}

INT_PTR CALLBACK OptionsDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = DialogObject<OptionsDialog>(dialog, message, lParam);
  switch (message) {
    case WM_INITDIALOG:
      self->window_ = dialog;
      self->AddTooltips();
      self->Show(OptionsForm::From(self->settings_));
      return TRUE;
    case WM_MOUSEMOVE:
      if (self && self->tooltips_)
        self->RelayToTooltips(wParam, lParam);
      return FALSE;
    case WM_COMMAND:
      if (self && HIWORD(wParam) == BN_CLICKED)
        return self->Command(LOWORD(wParam)) ? TRUE : FALSE;
      return FALSE;
    case WM_NCDESTROY:
      if (self) {
        self->window_ = nullptr;
        self->tooltips_ = nullptr;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace granvel::win32
