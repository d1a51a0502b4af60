// The package dialog's template, made from the slot table: every group box and slot row in dialog units.

#include <algorithm>
#include <string>

#include "package/slots.h"
#include "shell_win32/package_dialog.h"
#include "shell_win32/resource_ids.h"

namespace granvel::win32 {
namespace {

// Dialog units. Rows follow each other 14 units apart; a row is the check box (30 wide, 70 for the
// palettes), the path field (128 by 12), "..." (24 by 14), then the size list and the part list (40 each).
// "Fill from screen..." (88 by 14) takes a row of its own under the screen maps.
constexpr int kRowPitch = 14;
constexpr int kGroupTop = 11;    // from a group box's top to its first row
constexpr int kGroupBottom = 3;  // under its last row
constexpr int kGroupGap = 4;
constexpr int kLeftX = 10, kLeftWidth = 236;
constexpr int kRightX = 252, kRightWidth = 278;
constexpr int kDialogWidth = 540;
constexpr int kPagesTop = 38;  // the tab control
constexpr int kPageTop = 56;   // the first group box on a page
constexpr int kFirstGroupId = 3110;

// The screen maps' groups hold "Fill from screen..." in a row under their slots.
bool HasFillButton(const SlotGroup& group) {
  return group.Members.front()->Kind == SlotKind::Scr;
}

int GroupHeight(const SlotGroup& group) {
  const int rows = static_cast<int>(group.Members.size()) + (HasFillButton(group) ? 1 : 0);
  return kGroupTop + kRowPitch * rows + kGroupBottom;
}

void AddRow(DialogTemplate& dialog, const SlotInfo& slot, int x, int y) {
  const int id = slot.SlotId;
  const int checkWidth = slot.Kind == SlotKind::Col ? 70 : 30;
  dialog.Add(ControlClass::Button, Widen(slot.Label), id, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, x, y + 1,
             checkWidth, 10);
  x += checkWidth + 2;
  dialog.Add(ControlClass::Edit, L"", id + 1, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_DISABLED, x, y,
             128, 12);
  x += 130;
  dialog.Add(ControlClass::Button, L"...", id + 2, BS_PUSHBUTTON | WS_TABSTOP, x, y - 1, 24, 14);
  x += 26;
  // In a sprite row the size list stands left of the part list. A drop-down's height is its open list's.
  if (slot.HasSizeList) {
    dialog.Add(ControlClass::ComboBox, L"", id + 4, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x, y - 1, 40,
               120);
    x += 42;
  }
  if (slot.HasPartList)
    dialog.Add(ControlClass::ComboBox, L"", id + 3, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, x, y - 1, 40,
               120);
}

}  // namespace

DialogTemplate PackageDialog::MakeTemplate(const std::wstring& font, int pointSize) {
  const std::vector<SlotGroup> groups = PackageDialogGroups();
  // The pages are as high as their highest column.
  int pageHeight = 0;
  for (int page = 0; page < 2; ++page) {
    for (bool right : {false, true}) {
      int height = 0;
      for (const SlotGroup& group : groups) {
        if (group.Lower == (page == 1) && group.Right == right)
          height += GroupHeight(group) + kGroupGap;
      }
      pageHeight = std::max(pageHeight, height);
    }
  }
  const int dialogHeight = kPageTop + pageHeight + 8;

  DialogTemplate dialog(Widen(kPackageDialogTitle), font, pointSize,
                        DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, kDialogWidth,
                        dialogHeight);
  dialog.Add(ControlClass::Button, L"ZKP package", IDC_PACKAGE_GROUP, BS_GROUPBOX, 4, 4, kDialogWidth - 8,
             30);
  dialog.Add(ControlClass::Static, L"Package name (8 chars)", IDC_PACKAGE_NAME_LABEL, SS_LEFT, 12, 17, 120,
             9);
  dialog.Add(ControlClass::Edit, L"", IDC_PACKAGE_NAME, WS_BORDER | WS_TABSTOP | WS_GROUP, 132, 15, 40, 12);
  dialog.Add(ControlClass::Button, L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, kDialogWidth - 82, 14, 32,
             14);
  dialog.Add(ControlClass::Button, L"Make", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, kDialogWidth - 46, 14, 32,
             14);

  int y[2][2] = {{kPageTop, kPageTop}, {kPageTop, kPageTop}};
  int groupId = kFirstGroupId;
  for (const SlotGroup& group : groups) {
    const int x = group.Right ? kRightX : kLeftX;
    int& top = y[group.Lower][group.Right];
    dialog.Add(ControlClass::Button, Widen(group.Caption), groupId++, BS_GROUPBOX, x, top,
               group.Right ? kRightWidth : kLeftWidth, GroupHeight(group));
    int rowY = top + kGroupTop;
    for (const SlotInfo* slot : group.Members) {
      AddRow(dialog, *slot, x + 6, rowY);
      rowY += kRowPitch;
    }
    if (HasFillButton(group)) {  // lined up with the path fields
      dialog.Add(ControlClass::Button, Widen(kFillFromScreenLabel),
                 group.Lower ? IDC_FILL_FROM_SCREEN_DOWN : IDC_FILL_FROM_SCREEN_UP,
                 BS_PUSHBUTTON | WS_TABSTOP, x + 6 + 32, rowY - 1, 88, 14);
    }
    top += GroupHeight(group) + kGroupGap;
  }
  // Last, so that it lies under the rows it frames: the first control of a template is the top one.
  dialog.Add(WC_TABCONTROLW, L"", IDC_PACKAGE_PAGES, WS_CLIPSIBLINGS | WS_TABSTOP, 4, kPagesTop,
             kDialogWidth - 8, dialogHeight - kPagesTop - 4);
  return dialog;
}

int PackageDialogPageOf(int controlId) {
  if (controlId == IDC_FILL_FROM_SCREEN_UP || controlId == IDC_FILL_FROM_SCREEN_DOWN)
    return controlId == IDC_FILL_FROM_SCREEN_DOWN ? 1 : 0;
  if (controlId >= kFirstGroupId && controlId < kFirstGroupId + 64) {
    const std::vector<SlotGroup> groups = PackageDialogGroups();
    const std::size_t index = static_cast<std::size_t>(controlId - kFirstGroupId);
    return index < groups.size() ? (groups[index].Lower ? 1 : 0) : -1;
  }
  const SlotInfo* slot = SlotById(controlId & ~7);
  if (!slot || (controlId & 7) > 4)
    return -1;
  return slot->Screen == SlotScreen::Lower ? 1 : 0;
}

}  // namespace granvel::win32
