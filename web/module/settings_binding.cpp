// The page's settings: the "Convert type" menu and the "Option settings" dialog, read from and written to
// the text of a GRANVEL.ini, which the page keeps.
#include <emscripten/bind.h>

#include "convert/setting_text.h"
#include "convert/settings.h"
#include "forms/main_window_form.h"
#include "forms/options_form.h"
#include "settings_text.h"
#include "web_host.h"

namespace granvel::web {
namespace {

using emscripten::val;

// The dialog's controls by the names the page uses.
constexpr std::pair<OptionControl, const char*> kControls[] = {
    {OptionControl::SameAsSource, "SameAsSource"},
    {OptionControl::SameAsTool, "SameAsTool"},
    {OptionControl::SelectedFolder, "SelectedFolder"},
    {OptionControl::UserFolder, "UserFolder"},
    {OptionControl::MakeZkpFolder, "MakeZkpFolder"},
    {OptionControl::TextOut, "TextOut"},
    {OptionControl::DataHex, "DataHex"},
    {OptionControl::DataDec, "DataDec"},
    {OptionControl::PngImage, "PngImage"},
    {OptionControl::PrgLimit, "PrgLimit"},
    {OptionControl::PrgToScr, "PrgToScr"},
    {OptionControl::PrgToMem, "PrgToMem"},
    {OptionControl::KeepWidth, "KeepWidth"},
    {OptionControl::Split128, "Split128"},
    {OptionControl::Split256, "Split256"},
    {OptionControl::PaletteKeep, "PaletteKeep"},
    {OptionControl::Palette15, "Palette15"},
    {OptionControl::PaletteAsk, "PaletteAsk"},
    {OptionControl::MultiByte, "MultiByte"},
    {OptionControl::Escape, "Escape"},
    {OptionControl::Make128, "Make128"},
    {OptionControl::Make256, "Make256"},
    {OptionControl::Utf8Text, "Utf8Text"},
    {OptionControl::ShareTiles, "ShareTiles"},
};
static_assert(std::size(kControls) == kOptionControlCount);

// The form's check boxes and their fields.
constexpr std::pair<bool OptionsForm::*, const char*> kFlags[] = {
    {&OptionsForm::MakeZkpFolder, "MakeZkpFolder"},
    {&OptionsForm::TextOut, "TextOut"},
    {&OptionsForm::DataHex, "DataHex"},
    {&OptionsForm::PngImage, "PngImage"},
    {&OptionsForm::PrgLimit, "PrgLimit"},
    {&OptionsForm::PrgToScr, "PrgToScr"},
    {&OptionsForm::PrgToMem, "PrgToMem"},
    {&OptionsForm::KeepWidth, "KeepWidth"},
    {&OptionsForm::Split256, "Split256"},
    {&OptionsForm::MultiByte, "MultiByte"},
    {&OptionsForm::Escape, "Escape"},
    {&OptionsForm::Make256, "Make256"},
    {&OptionsForm::Utf8Text, "Utf8Text"},
    {&OptionsForm::ShareTiles, "ShareTiles"},
};

constexpr std::pair<OneBitPalette, const char*> kPalettes[] = {
    {OneBitPalette::Keep01, "keep"}, {OneBitPalette::Use15, "use15"}, {OneBitPalette::Ask, "ask"}};

val ConvertTypes() {
  val items = val::array();
  const auto& names = ConvertTypeNames();
  for (const ConvertTypeItem& type : ConvertTypeItems()) {
    val item = val::object();
    item.set("id", type.Id);
    item.set("label", std::string(type.Label));
    item.set("sprite", type.Sprite);
    const auto index = static_cast<std::size_t>(type.Id - kConvertBgFont);
    item.set("name", index < names.size() ? names[index] : std::string());
    items.call<void>("push", item);
  }
  return items;
}

std::string DropHintOf(int id) {
  return DropHint(id);
}

val OptionsFromIni(const std::string& iniText) {
  const OptionsForm form = OptionsForm::From(SettingsFromIniText(iniText));
  val fields = val::object();
  fields.set("Select", form.Select);
  fields.set("User", form.User);
  for (const auto& [member, name] : kFlags)
    fields.set(name, form.*member);
  for (const auto& [palette, name] : kPalettes) {
    if (form.Palette == palette)
      fields.set("Palette", std::string(name));
  }
  return fields;
}

std::string IniFromOptions(const std::string& iniText, const val& fields) {
  ConvertSettings settings = SettingsFromIniText(iniText);
  OptionsForm form = OptionsForm::From(settings);
  if (fields["Select"].typeOf().as<std::string>() == "number")
    form.Select = fields["Select"].as<int>();
  if (fields["User"].typeOf().as<std::string>() == "string")
    form.User = fields["User"].as<std::string>();
  for (const auto& [member, name] : kFlags) {
    if (fields[name].typeOf().as<std::string>() == "boolean")
      form.*member = fields[name].as<bool>();
  }
  if (fields["Palette"].typeOf().as<std::string>() == "string") {
    for (const auto& [palette, name] : kPalettes) {
      if (fields["Palette"].as<std::string>() == name)
        form.Palette = palette;
    }
  }
  form.ApplyTo(settings);
  return IniTextWith(iniText, settings);
}

val ControlTexts(const char* (*text)(OptionControl)) {
  val texts = val::object();
  for (const auto& [control, name] : kControls)
    texts.set(name, std::string(text(control)));
  return texts;
}

val OptionTooltips() {
  return ControlTexts(OptionTooltip);
}

val OptionLabels() {
  val labels = ControlTexts(OptionLabel);
  labels.set("Title", std::string(kOptionsTitle));
  labels.set("GroupSave", std::string(kSaveToCaption));
  labels.set("GroupCommon", std::string(kCommonCaption));
  labels.set("GroupPrg", std::string(kPrgTextCaption));
  labels.set("GroupChr", std::string(kChrCaption));
  labels.set("GroupPalette", std::string(kOneBitLabel));
  labels.set("GroupZkp", std::string(kZkpCaption));
  return labels;
}

}  // namespace

EMSCRIPTEN_BINDINGS(granvel_settings) {
  emscripten::function("convertTypes", &ConvertTypes);
  emscripten::function("dropHint", &DropHintOf);
  emscripten::function("optionsFromIni", &OptionsFromIni);
  emscripten::function("iniFromOptions", &IniFromOptions);
  emscripten::function("optionTooltips", &OptionTooltips);
  emscripten::function("optionLabels", &OptionLabels);
}

}  // namespace granvel::web
