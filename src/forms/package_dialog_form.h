// The rules of the package dialog "ZKPパッケージの作成" without any GUI: what each command does to the
// slots, which controls are enabled, what a browse checks, and the Make and Cancel flows. A desktop program
// shows Form() and the enabled states in its controls and calls one command per user action; questions,
// messages and file dialogs go through the host.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "convert/settings.h"
#include "package/package.h"
#include "package/package_form.h"
#include "platform/host.h"

namespace granvel {

inline constexpr const char* kPackageDialogTitle = "ZKPパッケージの作成";
// The button of each screen's "BG (SCR resource)" group, and the caption of the message that says what it
// did.
inline constexpr const char* kFillFromScreenLabel = "Fill from screen...";
inline constexpr const char* kFillFromScreenCaption = "Fill from screen";

// A group box of the dialog and where it stands: on the lower screen's page or the other (the program,
// graphic pages and MEM$ stand with the upper screen), in the right column or the left.
struct SlotGroup {
  const char* Caption;
  std::vector<const SlotInfo*> Members;
  bool Lower, Right;
};

// The slot table's groups in order. The left column runs from the program to the lower screen maps, the
// right one from the upper sprites on.
std::vector<SlotGroup> PackageDialogGroups();

class PackageDialogForm {
 public:
  // The form starts empty: every box unchecked, every path empty, sprite sizes at "16x16". A slot's file
  // dialog opens in `browseFolder` and leaves there the folder of the file chosen, so that the program's
  // next dialog starts where the last one ended (a window keeps it for the run); empty: none.
  PackageDialogForm(const ConvertSettings& settings, Host& host, std::string* browseFolder = nullptr);

  const PackageForm& Form() const { return form_; }
  const PackageOutcome& LastOutcome() const { return outcome_; }
  // Called whenever a command changed what the controls show (a build disables and enables them).
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  // Every control is enabled unless a build runs; a path field only while its box is checked too.
  bool ControlsEnabled() const { return !building_; }
  bool PathEnabled(int slotId) const { return !building_ && form_.Slot(slotId).Checked; }

  // The part list's entries, "1 of N" ... "N of N", and the size list's, for a slot.
  std::vector<std::string> PartEntries(int slotId) const;
  static std::vector<std::string> SizeEntries(const SlotInfo& slot);
  // The file dialog of a slot's "..." button, titled with the slot's name ("Choose a file for SCU0"):
  // first "All accepted files" with every kind the slot takes, then each kind alone; opening in `folder`.
  static FileChoice BrowseChoice(const SlotInfo& slot, const std::string& folder = {});
  // The file dialog of "Fill from screen...": a screen map ("*_SCR.zkp") for the upper or lower screen.
  static FileChoice FillChoice(bool lowerScreen, const std::string& folder = {});

  // Commands. Every command but the name field's own edits first keeps the name to its package form, so the
  // name is left as typed while it is typed.
  void EditName(std::string text);
  void UseControl();  // a path field or list was entered
  void EditPath(int slotId, std::string text);
  void SelectPart(int slotId, int index);
  void SelectSize(int slotId, int index);
  void SetChecked(int slotId, bool checked);
  // "...": the slot takes the chosen file and is checked. A chosen ".bmp" or ".png" is read at once (a PNG
  // is an image here whatever PNG_Image says): an image that does not fit the slot's unit is refused with
  // "Image size unmatched." (its reason in the details), any other unusable file with its own reason; a
  // refused file leaves the slot unchecked and empty.
  void Browse(int slotId);
  // "Fill from screen..." of a screen's "BG (SCR resource)" group: the screen map chosen fills the screen's
  // SCU0 (SCU1 when SCU0 holds another file and SCU1 none), its BGU0... with the banks beside the map and its
  // COL0 with their palette (FindScreenFill); those rows are checked, any other row (a BGU beyond the banks
  // found) is left as it is, and a message names the rows and the files. A map refused changes no row: an
  // "Error" box says why. The file dialog opens where a slot's would, and leaves the map's folder there.
  void FillFromScreen(bool lowerScreen);
  // "Make": builds with every control disabled. True when the package was written and the dialog closes.
  bool Make();
  // "Cancel", Escape or the close request: true when the dialog may close, which is at once when no slot
  // holds a file and otherwise only when the user agrees to forget them. Ignored while a build runs.
  bool Cancel();

 private:
  void Changed() const;
  void Refuse(SlotState& slot, const std::string& text, const std::string& details);

  const ConvertSettings& settings_;
  Host& host_;
  std::string* browseFolder_;
  PackageForm form_;
  PackageOutcome outcome_;
  bool building_ = false;
  std::function<void()> onChange_;
};

}  // namespace granvel
