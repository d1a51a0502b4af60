#include "package/package_layout.h"

#include "format/bytes.h"

namespace granvel {

ResourcePayload EmptyPackageHead() {
  return NewPayload(kTagPrg, kPackageHeadSize);
}

bool AppendPayload(ResourcePayload& package, const ResourcePayload& payload) {
  if (payload.size() < kBrandSize)
    return false;
  package.insert(package.end(), payload.begin() + kBrandSize, payload.end());
  return true;
}

void StorePackageMask(ResourcePayload& package, PackageMask mask) {
  PutU32LE(&package[kMaskHighOffset], static_cast<std::uint32_t>(mask >> 32));
  PutU32LE(&package[kMaskLowOffset], static_cast<std::uint32_t>(mask));
}

PackageMask ReadPackageMask(const std::uint8_t* head) {
  return (static_cast<PackageMask>(GetU32LE(head + kMaskHighOffset)) << 32) | GetU32LE(head + kMaskLowOffset);
}

std::string ReportLabel(const SlotInfo& slot) {
  return std::string(slot.Name) + (slot.DownSuffix ? " (Down screen)" : "");
}

std::string FailureReportText(PackageMask failedMask) {
  std::string text = "Convert failed.";
  for (const int bit : FailureReportBits()) {
    if (failedMask >> bit & 1)
      text += "\n " + ReportLabel(*SlotByBit(bit));
  }
  return text;
}

std::string NormalizePackageName(const std::string& text) {
  std::string name;
  for (std::size_t i = 0; i < text.size() && i < 8; ++i) {
    const char c = text[i];
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_') {
      name.push_back(c);
    } else if (c >= 'a' && c <= 'z') {
      name.push_back(static_cast<char>(c - 'a' + 'A'));
    } else {
      break;
    }
  }
  return name;
}

std::string PackageResourceName(const std::string& packageName) {
  const std::string name = NormalizePackageName(packageName);
  return name.empty() ? "PACKAGE" : name;
}

}  // namespace granvel
