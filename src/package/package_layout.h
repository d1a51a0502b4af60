// The package payload: a program head with the 64-bit PackageMask, then the embedded resources in bit order.
//
// Head: the 20-byte PRG tag, the mask's high half at 20 and low half at 24, the program length at 28, then
// the program bytes padded to a multiple of 4. Each embedded resource is its payload without the 8-byte brand
// word.
#pragma once

#include <cstdint>
#include <string>

#include "format/container.h"
#include "package/slots.h"

namespace granvel {

using PackageMask = std::uint64_t;

inline constexpr std::size_t kPackageHeadSize = 32;
inline constexpr std::size_t kMaskHighOffset = 20;
inline constexpr std::size_t kMaskLowOffset = 24;
inline constexpr std::size_t kProgramLengthOffset = 28;

// The 32-byte head of a package without a program: the PRG tag and three zero words.
ResourcePayload EmptyPackageHead();

// Appends `payload` without its brand word. False, appending nothing, for a payload shorter than 8 bytes.
bool AppendPayload(ResourcePayload& package, const ResourcePayload& payload);

// Stores the mask in the head: bits 32 to 63 at offset 20, bits 0 to 31 at offset 24.
void StorePackageMask(ResourcePayload& package, PackageMask mask);
// Reads the mask from a payload or stored payload of at least 28 bytes starting at `head`.
PackageMask ReadPackageMask(const std::uint8_t* head);

// A slot as the failure report names it: "BGU0", "BGU0 (Down screen)".
std::string ReportLabel(const SlotInfo& slot);

// "Convert failed." and a line per failed slot, in the report's order: "\n BGU0", "\n BGU0 (Down screen)".
std::string FailureReportText(PackageMask failedMask);

// The package name kept to at most 8 characters from 0-9, A-Z and "_": small letters become capitals, and the
// first character of any other kind cuts the rest.
std::string NormalizePackageName(const std::string& text);

// The name stored for a package: the normalised name, or "PACKAGE" when that is empty.
std::string PackageResourceName(const std::string& packageName);

}  // namespace granvel
