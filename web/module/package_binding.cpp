// The package dialog's rules for the page: the same PackageDialogForm both desktop programs show, driven by
// the page's commands. A file dialog returns the path the page gives with the command; messages and questions
// come back with each command's result.
#include <emscripten/bind.h>

#include <memory>

#include "forms/package_dialog_form.h"
#include "package/package_layout.h"
#include "settings_text.h"
#include "web_host.h"

namespace granvel::web {
namespace {

using emscripten::val;

class PagePackageForm {
 public:
  // `answerYes` answers the 1-bit palette question whenever choosing a file or Make asks it.
  PagePackageForm(const std::string& iniText, bool answerYes)
      : settings_(SettingsFromIniText(iniText)), host_(answerYes), form_(settings_, host_, &browseFolder_) {}

  val Groups() const {
    val groups = val::array();
    for (const SlotGroup& group : PackageDialogGroups()) {
      val item = val::object();
      item.set("caption", std::string(group.Caption));
      item.set("lower", group.Lower);
      item.set("right", group.Right);
      val slots = val::array();
      for (const SlotInfo* slot : group.Members) {
        val entry = val::object();
        entry.set("id", slot->SlotId);
        entry.set("name", std::string(slot->Name));
        entry.set("caption", std::string(slot->Label));
        const FileChoice choice = PackageDialogForm::BrowseChoice(*slot);
        entry.set("kinds", choice.Filter.empty() ? std::string() : choice.Filter.front().second);
        entry.set("hasParts", slot->HasPartList);
        entry.set("hasSizes", slot->HasSizeList);
        slots.call<void>("push", entry);
      }
      item.set("slots", slots);
      groups.call<void>("push", item);
    }
    return groups;
  }

  val State() const {
    val state = val::object();
    state.set("name", form_.Form().PackageName);
    state.set("controlsEnabled", form_.ControlsEnabled());
    val slots = val::array();
    for (const SlotInfo& slot : PackageSlots()) {
      const SlotState& slotState = form_.Form().Slot(slot);
      val entry = val::object();
      entry.set("id", slot.SlotId);
      entry.set("name", std::string(slot.Name));
      entry.set("checked", slotState.Checked);
      entry.set("path", slotState.Path);
      entry.set("pathEnabled", form_.PathEnabled(slot.SlotId));
      entry.set("partEntries", StringArray(form_.PartEntries(slot.SlotId)));
      entry.set("part", slotState.PartIndex ? val(*slotState.PartIndex) : val::null());
      entry.set("sizeEntries", StringArray(PackageDialogForm::SizeEntries(slot)));
      entry.set("size", slotState.SizeIndex ? val(*slotState.SizeIndex) : val::null());
      slots.call<void>("push", entry);
    }
    state.set("slots", slots);
    return state;
  }

  val EditName(const std::string& text) {
    form_.EditName(text);
    return host_.TakeEvents();
  }
  val EditPath(int slotId, const std::string& text) {
    if (!Known(slotId))
      return host_.TakeEvents();
    form_.EditPath(slotId, text);
    return host_.TakeEvents();
  }
  val SetChecked(int slotId, bool checked) {
    if (Known(slotId))
      form_.SetChecked(slotId, checked);
    return host_.TakeEvents();
  }
  val SelectPart(int slotId, int index) {
    if (Known(slotId))
      form_.SelectPart(slotId, index);
    return host_.TakeEvents();
  }
  val SelectSize(int slotId, int index) {
    if (Known(slotId))
      form_.SelectSize(slotId, index);
    return host_.TakeEvents();
  }
  val Browse(int slotId, const std::string& path) {
    if (Known(slotId)) {
      host_.SetChosenPath(path);
      form_.Browse(slotId);
    }
    host_.SetChosenPath({});
    return host_.TakeEvents();
  }
  val FillFromScreen(bool lower, const std::string& scrPath) {
    host_.SetChosenPath(scrPath);
    form_.FillFromScreen(lower);
    host_.SetChosenPath({});
    return host_.TakeEvents();
  }
  val Make(const std::string& outPath) {
    host_.SetChosenPath(outPath);
    const bool ok = form_.Make();
    host_.SetChosenPath({});
    val events = host_.TakeEvents();
    events.set("ok", ok);
    events.set("reason", form_.LastOutcome().Reason);
    return events;
  }

 private:
  // A slot id the page sends that names none is ignored: the form takes only the table's ids.
  static bool Known(int slotId) { return SlotById(slotId) != nullptr; }

  ConvertSettings settings_;
  WebHost host_;
  std::string browseFolder_;
  PackageDialogForm form_;
};

}  // namespace

EMSCRIPTEN_BINDINGS(granvel_package) {
  // The name a package made from the name field is stored under: the page names its download after it.
  emscripten::function("packageResourceName", &PackageResourceName);
  emscripten::class_<PagePackageForm>("PackageForm")
      .constructor<std::string, bool>()
      .function("groups", &PagePackageForm::Groups)
      .function("state", &PagePackageForm::State)
      .function("editName", &PagePackageForm::EditName)
      .function("editPath", &PagePackageForm::EditPath)
      .function("setChecked", &PagePackageForm::SetChecked)
      .function("selectPart", &PagePackageForm::SelectPart)
      .function("selectSize", &PagePackageForm::SelectSize)
      .function("browse", &PagePackageForm::Browse)
      .function("fillFromScreen", &PagePackageForm::FillFromScreen)
      .function("make", &PagePackageForm::Make);
}

}  // namespace granvel::web
