// The state of the package dialog without any GUI: per slot whether it is checked, its path, its part list
// and size list, and the package name. The dialog, the command line and the tests fill one; the build reads
// it.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "package/slots.h"

namespace granvel {

struct SlotState {
  bool Checked = false;
  std::string Path;
  int PartCount = 0;  // entries of the part list ("1 of N" ... "N of N"); 0 until an image is chosen
  std::optional<int> PartIndex;      // the selected part, 0-based; none when the list is empty
  std::optional<int> SizeIndex = 0;  // the size list's selection (sprite and icon slots start at the first)
};

class PackageForm {
 public:
  PackageForm() = default;

  // The state of a slot by its id. The id must be one of the table's.
  SlotState& Slot(int slotId);
  const SlotState& Slot(int slotId) const;
  SlotState& Slot(const SlotInfo& slot) { return Slot(slot.SlotId); }
  const SlotState& Slot(const SlotInfo& slot) const { return Slot(slot.SlotId); }

  std::string PackageName;

 private:
  std::array<SlotState, kSlotCount> slots_{};
};

}  // namespace granvel
