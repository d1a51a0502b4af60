// The browser's CP932 table against glibc's iconv, which the Linux build converts with: the same bytes for
// every 16-bit code point, the same character for every one- and two-byte sequence.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/cp932_table.h"
#include "platform/shift_jis.h"

namespace granvel {
namespace {

TEST(Cp932Table, EncodesEveryCodePointAsIconvDoes) {
  ShiftJisConverter iconv;
  int differing = 0, encodable = 0;
  for (char32_t code = 0; code <= 0xFFFF; ++code) {
    std::vector<std::uint8_t> expected, actual;
    const bool expectedOk = iconv.Append(code, expected);
    const bool actualOk = Cp932Encode(code, actual);
    encodable += expectedOk;
    if (expectedOk != actualOk || expected != actual) {
      if (++differing <= 5)
        ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(code);
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(encodable, 9000);  // the table is not empty: CP932 has over 9,000 characters
  std::vector<std::uint8_t> out;
  EXPECT_FALSE(Cp932Encode(0x1F600, out));  // beyond 16 bits: none
  EXPECT_TRUE(out.empty());
}

TEST(Cp932Table, DecodesEverySequenceAsIconvDoes) {
  ShiftJisConverter iconv;
  int differing = 0;
  const auto check = [&](const std::uint8_t* bytes, std::size_t count) {
    char32_t expected = 0, actual = 0;
    const bool expectedOk = iconv.Decode(bytes, count, expected);
    const bool actualOk = Cp932Decode(bytes, count, actual);
    if (expectedOk != actualOk || (expectedOk && expected != actual)) {
      if (++differing <= 5)
        ADD_FAILURE() << std::hex << int{bytes[0]} << (count == 2 ? " " + std::to_string(bytes[1]) : "");
    }
  };
  for (int lead = 0; lead < 256; ++lead) {
    const std::uint8_t one[1] = {static_cast<std::uint8_t>(lead)};
    check(one, 1);
    for (int trail = 0; trail < 256; ++trail) {
      const std::uint8_t two[2] = {static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
      check(two, 2);
    }
  }
  EXPECT_EQ(differing, 0);
  // Characters the browser's own Shift JIS lacks or maps otherwise read as on Linux.
  const std::uint8_t circledOne[2] = {0x87, 0x40}, wave[2] = {0x81, 0x60};
  char32_t code = 0;
  ASSERT_TRUE(Cp932Decode(circledOne, 2, code));
  EXPECT_EQ(code, U'\u2460');
  ASSERT_TRUE(Cp932Decode(wave, 2, code));
  EXPECT_EQ(code, U'\uFF5E');
}

}  // namespace
}  // namespace granvel
