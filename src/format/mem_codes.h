// The handheld's MEM character codes: the 16-bit code that string memory stores for each text byte. The MEM
// encoder writes them; the MEM decoder reads them back through their inverse.
#pragma once

#include <cstdint>

namespace granvel {

// The handheld's 16-bit character code of one text byte: full-width forms for 0x21 to 0x7F, full-width
// katakana for the half-width ones, the byte itself elsewhere.
std::uint16_t WideCodeOf(std::uint8_t byte);

}  // namespace granvel
