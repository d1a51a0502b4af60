#include "shell_win32/package_dialog.h"

#include "package/slots.h"
#include "shell_win32/resource_ids.h"

namespace granvel::win32 {

int PackageDialogPageOf(int controlId);  // package_dialog_template.cpp

namespace {

constexpr int kPointSize = 10;
constexpr const char* kFontFace = "ＭＳ ゴシック";

int CALLBACK FoundFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool HasFont(const std::wstring& face) {
  LOGFONTW font{};
  font.lfCharSet = DEFAULT_CHARSET;
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &font, FoundFont, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

// A list shows `entries` with `selected` chosen; it is refilled only when its entries changed.
void ShowEntries(HWND list, const std::vector<std::string>& entries, std::optional<int> selected) {
  bool same = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)) == static_cast<int>(entries.size());
  for (std::size_t i = 0; same && i < entries.size(); ++i) {
    const int length = static_cast<int>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0));
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    same = text == Widen(entries[i]);
  }
  if (!same) {
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries)
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
  }
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected.value_or(-1)), 0);
}

}  // namespace

PackageDialog::PackageDialog(const ConvertSettings& settings, Host* host, std::string* browseFolder) {
  if (!host) {
    ownHost_ = std::make_unique<Win32Host>();
    host = ownHost_.get();
  }
  form_ = std::make_unique<PackageDialogForm>(settings, *host, browseFolder);
  form_->SetOnChange([this] { Refresh(); });
}

PackageDialog::~PackageDialog() {
  if (window_ && !modal_)
    DestroyWindow(window_);
}

std::wstring PackageDialog::FontFace(int& pointSize) {
  pointSize = kPointSize;
  const std::wstring face = Widen(kFontFace);
  if (HasFont(face))
    return face;
  // Windows without its Japanese fonts: the labels are all ASCII, so the usual dialog font serves.
  pointSize = 9;
  return L"MS Shell Dlg 2";
}

void PackageDialog::Run(HWND owner) {
  modal_ = true;
  int pointSize = 0;
  const std::wstring face = FontFace(pointSize);
  const DialogTemplate dialog = MakeTemplate(face, pointSize);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, Proc,
                          reinterpret_cast<LPARAM>(this));
}

HWND PackageDialog::Create(HWND owner) {
  modal_ = false;
  int pointSize = 0;
  const std::wstring face = FontFace(pointSize);
  const DialogTemplate dialog = MakeTemplate(face, pointSize);
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner, Proc,
                                    reinterpret_cast<LPARAM>(this));
}

void PackageDialog::Init() {
  if (ownHost_)
    ownHost_->SetOwner(window_);
  HWND pages = GetDlgItem(window_, IDC_PACKAGE_PAGES);
  const wchar_t* names[] = {L"Up screen", L"Down screen"};
  for (int page = 0; page < 2; ++page) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(names[page]);
    SendMessageW(pages, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
  }
  SetWindowPos(pages, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int page = PackageDialogPageOf(GetDlgCtrlID(child));
    if (page >= 0)
      pageOf_.emplace_back(child, page);
  }
  ShowPage(0);
  Refresh();
}

void PackageDialog::ShowPage(int page) {
  SendMessageW(GetDlgItem(window_, IDC_PACKAGE_PAGES), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (const auto& [control, itsPage] : pageOf_)
    ShowWindow(control, itsPage == page ? SW_SHOW : SW_HIDE);
}

void PackageDialog::Refresh() {
  if (!window_)
    return;
  refreshing_ = true;
  const PackageForm& form = form_->Form();
  const bool enabled = form_->ControlsEnabled();
  HWND focus = GetFocus();
  for (const SlotInfo& slot : PackageSlots()) {
    const int id = slot.SlotId;
    const SlotState& state = form.Slot(id);
    SetChecked(window_, id, state.Checked);
    HWND path = GetDlgItem(window_, id + 1);
    // The field being typed in already shows what the form holds.
    if (path != focus || !enabled)
      SetTextIfChanged(path, Widen(state.Path));
    SetEnabled(path, form_->PathEnabled(id));
    SetEnabled(GetDlgItem(window_, id), enabled);
    SetEnabled(GetDlgItem(window_, id + 2), enabled);
    if (slot.HasPartList) {
      ShowEntries(GetDlgItem(window_, id + 3), form_->PartEntries(id), state.PartIndex);
      SetEnabled(GetDlgItem(window_, id + 3), enabled);
    }
    if (slot.HasSizeList) {
      ShowEntries(GetDlgItem(window_, id + 4), PackageDialogForm::SizeEntries(slot), state.SizeIndex);
      SetEnabled(GetDlgItem(window_, id + 4), enabled);
    }
  }
  HWND name = GetDlgItem(window_, IDC_PACKAGE_NAME);
  if (name != focus || !enabled)
    SetTextIfChanged(name, Widen(form.PackageName));
  for (int id : {IDC_PACKAGE_NAME, IDCANCEL, IDOK, IDC_FILL_FROM_SCREEN_UP, IDC_FILL_FROM_SCREEN_DOWN})
    SetEnabled(GetDlgItem(window_, id), enabled);
  refreshing_ = false;
}

void PackageDialog::Command(int id, int code) {
  if (refreshing_)
    return;
  if (id == IDCANCEL) {
    if (form_->Cancel())
      Close();
    return;
  }
  if (id == IDC_PACKAGE_NAME) {
    // The name is left as typed while it is typed; any other control keeps it to its package form.
    if (code == EN_CHANGE)
      form_->EditName(Narrow(WindowText(GetDlgItem(window_, id))));
    return;
  }
  if (id == IDOK) {
    if (code != BN_CLICKED)
      return;
    HWND focus = GetFocus();
    if (form_->Make()) {
      Close();
      return;
    }
    // A failed or cancelled build leaves every slot and the name as they were, ready to try again.
    if (focus && IsWindowEnabled(focus))
      SetFocus(focus);
    return;
  }
  if (id == IDC_FILL_FROM_SCREEN_UP || id == IDC_FILL_FROM_SCREEN_DOWN) {
    if (code == BN_CLICKED)
      form_->FillFromScreen(id == IDC_FILL_FROM_SCREEN_DOWN);
    return;
  }
  const int slotId = id & ~7;
  if (!SlotById(slotId))
    return;
  HWND control = GetDlgItem(window_, id);
  switch (id & 7) {
    case 0:
      if (code == BN_CLICKED)
        form_->SetChecked(slotId, IsChecked(window_, id));
      break;
    case 1:
      if (code == EN_SETFOCUS)
        form_->UseControl();
      else if (code == EN_CHANGE)
        form_->EditPath(slotId, Narrow(WindowText(control)));
      break;
    case 2:
      if (code == BN_CLICKED)
        form_->Browse(slotId);
      break;
    case 3:
    case 4:
      if (code == CBN_SETFOCUS) {
        form_->UseControl();
      } else if (code == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
        if ((id & 7) == 3)
          form_->SelectPart(slotId, index);
        else
          form_->SelectSize(slotId, index);
      }
      break;
  }
}

void PackageDialog::Close() {
  if (modal_) {
    EndDialog(window_, IDOK);
  } else {
    HWND window = window_;
    window_ = nullptr;
    DestroyWindow(window);
  }
}

INT_PTR CALLBACK PackageDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = DialogObject<PackageDialog>(dialog, message, lParam);
  switch (message) {
    case WM_INITDIALOG:
      self->window_ = dialog;
      self->Init();
      return TRUE;
    case WM_COMMAND:
      if (self)
        self->Command(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (self && header->idFrom == IDC_PACKAGE_PAGES && header->code == TCN_SELCHANGE)
        self->ShowPage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_NCDESTROY:
      if (self)
        self->window_ = nullptr;
      return FALSE;
  }
  return FALSE;
}

}  // namespace granvel::win32
