// granvel-cli package -o OUT [--name NAME] [--ini FILE] [--set KEY=VALUE]... [--part SLOT=K]...
//                     [--size SLOT=WxH]... [--screen SCU0=MAP]... SLOT=PATH...
// granvel-cli package --list-parts SLOT=PATH
#include <CLI/CLI.hpp>

#include <map>
#include <memory>
#include <ostream>
#include <set>

#include "batch/dispatch.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/terminal_host.h"
#include "package/package.h"
#include "package/screen_fill.h"

namespace granvel::cli {
namespace {

struct PackageOptions {
  std::string out;
  std::string name;
  std::string iniFile;
  std::string palette;
  std::vector<std::string> overrides;
  std::vector<std::string> parts;
  std::vector<std::string> sizes;
  std::string listParts;
  std::vector<std::string> screens;
  std::vector<std::string> slots;
};

// The command line's host for a build: the save dialog answers with -o, messages are printed.
class PackageHost : public TerminalHost {
 public:
  PackageHost(const CommandIo& io, std::string out)
      : TerminalHost(io.in, io.out, io.err, io.interactive), out_(std::move(out)), err_(io.err) {}
  bool ChooseFile(FileChoice& choice) override {
    choice.Files = {out_};
    return true;
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    if (caption == kPackageErrorCaption) {
      err_ << text << "\n";
    } else {
      TerminalHost::ShowMessage(caption, text);
    }
  }

 private:
  std::string out_;
  std::ostream& err_;
};

bool SplitAssignment(const std::string& text, std::string& key, std::string& value) {
  const auto equals = text.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == text.size())
    return false;
  key = text.substr(0, equals);
  value = text.substr(equals + 1);
  return true;
}

bool ParseSlot(const std::string& name, const SlotInfo*& slot, std::string& error) {
  slot = SlotByCommandLineName(name);
  if (!slot)
    error = "unknown slot \"" + name + "\"";
  return slot != nullptr;
}

bool ParsePositive(const std::string& text, int& value) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(text);
  return value >= 1;
}

// Fills the form from the options as a user fills the dialog: each given slot checked with its path, each
// --screen's rows as "Fill from screen..." fills them (`filled` says which; two maps of one screen may
// fill its banks and palette with the same files), the first part and the first
// size selected unless --part and --size say otherwise. The exit status with the reason when not kExitOk.
int FillForm(const PackageOptions& options, PackageForm& form, std::vector<std::string>& filled,
             std::string& error) {
  std::set<int> given;
  std::map<int, std::string> byScreen;  // the rows --screen filled, with their paths
  const auto take = [&](const SlotInfo& slot, const std::string& path) {
    if (!given.insert(slot.SlotId).second) {
      error = "slot " + CommandLineName(slot) + " is given twice";
      return false;
    }
    SlotState& state = form.Slot(slot);
    state.Checked = true;
    state.Path = path;
    if (slot.HasPartList)
      state.PartIndex = 0;
    return true;
  };
  for (const std::string& assignment : options.slots) {
    std::string name, path;
    const SlotInfo* slot = nullptr;
    if (!SplitAssignment(assignment, name, path)) {
      error = "a slot is given as SLOT=PATH, not \"" + assignment + "\"";
      return kExitUsage;
    }
    if (!ParseSlot(name, slot, error) || !take(*slot, path))
      return kExitUsage;
  }
  for (const std::string& assignment : options.screens) {
    std::string name, path;
    const SlotInfo* slot = nullptr;
    if (!SplitAssignment(assignment, name, path) || !ParseSlot(name, slot, error) ||
        slot->Kind != SlotKind::Scr) {
      error = "--screen takes SCU0=MAP (SCU0, SCU1, down:SCU0 or down:SCU1), not \"" + assignment + "\"";
      return kExitUsage;
    }
    std::vector<ScreenFillRow> rows;
    if (!FindScreenFill(*slot, path, rows, error)) {
      error = "--screen " + assignment + ": " + error;
      return kExitFailed;
    }
    for (const ScreenFillRow& row : rows) {
      // Maps of one screen that draw with the same tile set fill its banks and palette alike.
      const auto earlier = byScreen.find(row.Slot->SlotId);
      if (earlier != byScreen.end() && earlier->second == row.Path && row.Slot->Kind != SlotKind::Scr)
        continue;
      if (!take(*row.Slot, row.Path))
        return kExitUsage;
      byScreen.emplace(row.Slot->SlotId, row.Path);
    }
    filled.push_back("filled " + DescribeScreenFill(rows, true));
  }
  for (const std::string& assignment : options.parts) {
    std::string name, value;
    const SlotInfo* slot = nullptr;
    int part = 0;
    if (!SplitAssignment(assignment, name, value) || !ParseSlot(name, slot, error)) {
      if (error.empty())
        error = "--part takes SLOT=K, not \"" + assignment + "\"";
      return kExitUsage;
    }
    if (!slot->HasPartList) {
      error = "slot " + CommandLineName(*slot) + " has no parts to choose";
      return kExitUsage;
    }
    if (!ParsePositive(value, part)) {
      error = "--part takes a part number from 1, not \"" + value + "\"";
      return kExitUsage;
    }
    form.Slot(*slot).PartIndex = part - 1;
  }
  for (const std::string& assignment : options.sizes) {
    std::string name, value;
    const SlotInfo* slot = nullptr;
    if (!SplitAssignment(assignment, name, value) || !ParseSlot(name, slot, error)) {
      if (error.empty())
        error = "--size takes SLOT=WxH, not \"" + assignment + "\"";
      return kExitUsage;
    }
    if (!slot->HasSizeList) {
      error = "slot " + CommandLineName(*slot) + " has no sprite size";
      return kExitUsage;
    }
    std::optional<int> index;
    if (slot->Kind == SlotKind::Icon) {
      if (value == UnitSizeText(kIconSize))
        index = 0;
    } else {
      const auto sizes = SpriteSizes();
      for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (value == UnitSizeText(sizes[i]))
          index = static_cast<int>(i);
      }
    }
    if (!index) {
      error = "slot " + CommandLineName(*slot) + " takes no size \"" + value + "\"";
      return kExitUsage;
    }
    form.Slot(*slot).SizeIndex = index;
  }
  form.PackageName = NormalizePackageName(options.name);
  return kExitOk;
}

// A note when the package's stored name is not simply the given name in capitals.
std::string PackageNameNote(const std::string& given) {
  const std::string stored = PackageResourceName(NormalizePackageName(given));
  if (given.empty() || stored == UpperAscii(given))
    return {};  // no name: the usual "PACKAGE"
  return "package name " + stored + " from \"" + given + "\"";
}

int ListParts(const std::string& assignment, const ConvertSettings& settings, const CommandIo& io) {
  std::string name, path, error;
  const SlotInfo* slot = nullptr;
  if (!SplitAssignment(assignment, name, path) || !ParseSlot(name, slot, error)) {
    io.err << "granvel-cli package: " << (error.empty() ? "--list-parts takes SLOT=PATH" : error) << "\n";
    return kExitUsage;
  }
  const std::string noParts = CommandLineName(*slot) + " takes the whole file: no parts to choose\n";
  if (!slot->HasPartList && slot->Browse != BrowseKind::Bitmap) {
    io.out << noParts;  // a text slot: nothing to read
    return kExitOk;
  }
  TerminalHost host(io.in, io.out, io.err, io.interactive);
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  int parts = 0;
  if (!CountParts(*slot, path, ctx, parts)) {
    // The dialog's own text for an image of the wrong size; any other refusal is its reason alone.
    io.err << path << ": " << (report.SizeUnmatched ? std::string(kImageSizeUnmatched) + ": " : "")
           << report.Reason << "\n";
    return kExitFailed;
  }
  if (parts == 0)
    io.out << noParts;
  for (int k = 1; k <= parts; ++k)
    io.out << k << " of " << parts << "\n";
  return kExitOk;
}

int RunPackage(const PackageOptions& options, const CommandIo& io) {
  ConvertSettings settings;
  std::string error;
  if (!LoadEffectiveSettings(options.iniFile, options.overrides, settings, error)) {
    io.err << "granvel-cli package: " << error << "\n";
    return kExitUsage;
  }
  if (!options.palette.empty())
    settings.Palette_File = options.palette;
  if (TerminalHost host(io.in, io.out, io.err, io.interactive); !CheckRunSettings(settings, host, error)) {
    io.err << "granvel-cli package: " << error << "\n";
    return kExitUsage;
  }
  if (!options.listParts.empty())
    return ListParts(options.listParts, settings, io);
  if (options.out.empty() || (options.slots.empty() && options.screens.empty())) {
    io.err << "granvel-cli package: give -o OUT and at least one SLOT=PATH or --screen SCU0=MAP (or "
              "--list-parts SLOT=PATH)\n";
    return kExitUsage;
  }
  PackageForm form;
  std::vector<std::string> filled;
  if (const int status = FillForm(options, form, filled, error); status != kExitOk) {
    io.err << "granvel-cli package: " << error << "\n";
    return status;
  }
  PackageHost host(io, options.out);
  PackageOutcome outcome;
  const bool built = BuildPackage(form, settings, host, outcome);
  if (const std::string note = PackageNameNote(options.name); !note.empty())
    outcome.Notes.insert(outcome.Notes.begin(), note);
  outcome.Notes.insert(outcome.Notes.begin(), filled.begin(), filled.end());
  std::ostream& notes = built ? io.out : io.err;
  if (!built) {
    for (const auto& failure : outcome.SlotFailures) {
      io.err << CommandLineName(*failure.Slot) << ": " << failure.Reason << "\n";
    }
    if (!outcome.Reason.empty())
      io.err << "granvel-cli package: " << outcome.Reason << "\n";
  }
  for (const std::string& note : outcome.Notes)
    notes << "  note: " << note << "\n";
  return built ? kExitOk : kExitFailed;
}

}  // namespace

void AddPackageCommand(CLI::App& app, const CommandIo& io, int& status) {
  auto options = std::make_shared<PackageOptions>();
  CLI::App* command = app.add_subcommand(
      "package", "Build a package: a program and resources for both screens in one .zkp file");
  command->add_option("-o,--output", options->out, "The package file (its extension becomes .zkp)");
  command->add_option("--name", options->name, "The package's resource name (8 characters: 0-9, A-Z, _)");
  command->add_option(
      "--palette", options->palette,
      "A palette every image is matched to: COL .zkp, .gpl, .pal, .act, or an image's colour table");
  command->add_option("--ini", options->iniFile,
                      "Settings file (default: GRANVEL.ini in the working directory)");
  command->add_option("--set", options->overrides, "Override one setting, KEY=VALUE")
      ->allow_extra_args(false);
  command
      ->add_option("--part", options->parts, "The part of an image a slot takes, SLOT=K (from 1; default 1)")
      ->allow_extra_args(false);
  command->add_option("--size", options->sizes, "A sprite slot's unit, SLOT=WxH (default 16x16)")
      ->allow_extra_args(false);
  command
      ->add_option("--screen", options->screens,
                   "Fill a screen from its map, SCU0=NAME_SCR.zkp (SCU1, down:SCU0, down:SCU1): that SCU "
                   "slot, the screen's BGU0-3 with NAME_CHR0.zkp... and COL0 with NAME_COL.zkp beside it, or "
                   "with the folder's one tile set; a slot it fills may not be given as well")
      ->allow_extra_args(false);
  command->add_option("--list-parts", options->listParts,
                      "Print the parts an image gives for a slot, SLOT=PATH");
  command->add_option("slots", options->slots,
                      "SLOT=PATH: PRG, MEM, GRP0-3, BGF0, BGU0-3, SCU0-1, COL0-2, SPU0-7 (upper screen), "
                      "SPS0-1, SPD0-3, BGD0-1, and down:BGF0, down:BGU0-3, down:SCU0-1, down:COL0-2");
  command->callback([options, &io, &status] { status = RunPackage(*options, io); });
}

}  // namespace granvel::cli
