#include "package/package_form.h"

#include <stdexcept>

namespace granvel {
namespace {

std::size_t IndexOf(int slotId) {
  const auto slots = PackageSlots();
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (slots[i].SlotId == slotId)
      return i;
  }
  throw std::out_of_range("no package slot has the id " + std::to_string(slotId));
}

}  // namespace

SlotState& PackageForm::Slot(int slotId) {
  return slots_[IndexOf(slotId)];
}
const SlotState& PackageForm::Slot(int slotId) const {
  return slots_[IndexOf(slotId)];
}

}  // namespace granvel
