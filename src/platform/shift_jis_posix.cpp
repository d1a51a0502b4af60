// Shift JIS through iconv's CP932, checked by converting back.
#include <iconv.h>

#include <array>

#include "platform/shift_jis.h"

namespace granvel {
namespace {

const auto kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t Converter(void* handle) {
  return handle ? static_cast<iconv_t>(handle) : kNoConverter;
}

// Converts `in` with `cd`: the bytes out, or false when iconv refuses any of them.
template <std::size_t N>
bool Run(iconv_t cd, const char* in, std::size_t size, std::array<char, N>& out, std::size_t& length) {
  if (cd == kNoConverter)
    return false;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* input = const_cast<char*>(in);
  char* output = out.data();
  std::size_t inLeft = size, outLeft = out.size();
  if (iconv(cd, &input, &inLeft, &output, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
    return false;
  length = out.size() - outLeft;
  return true;
}

}  // namespace

ShiftJisConverter::ShiftJisConverter() {
  const iconv_t to = iconv_open("CP932", "UTF-32LE");
  const iconv_t back = iconv_open("UTF-32LE", "CP932");
  to_ = to == kNoConverter ? nullptr : to;
  back_ = back == kNoConverter ? nullptr : back;
}

ShiftJisConverter::~ShiftJisConverter() {
  for (void* handle : {to_, back_}) {
    if (handle)
      iconv_close(static_cast<iconv_t>(handle));
  }
}

bool ShiftJisConverter::Append(char32_t code, std::vector<std::uint8_t>& out) {
  const std::array<char, 4> wide{static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF),
                                 static_cast<char>((code >> 16) & 0xFF), static_cast<char>(code >> 24)};
  std::array<char, 8> bytes{};
  std::array<char, 8> again{};
  std::size_t length = 0, againLength = 0;
  if (!Run(Converter(to_), wide.data(), wide.size(), bytes, length) || length == 0 ||
      !Run(Converter(back_), bytes.data(), length, again, againLength) || againLength != 4 ||
      !std::equal(wide.begin(), wide.end(), again.begin()))
    return false;
  out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
  return true;
}

bool ShiftJisConverter::Decode(const std::uint8_t* bytes, std::size_t count, char32_t& code) {
  std::array<char, 8> wide{};
  std::size_t length = 0;
  if (count == 0 || count > 2 ||
      !Run(Converter(back_), reinterpret_cast<const char*>(bytes), count, wide, length) || length != 4)
    return false;
  code = static_cast<char32_t>(static_cast<std::uint8_t>(wide[0]) | static_cast<std::uint8_t>(wide[1]) << 8 |
                               static_cast<std::uint8_t>(wide[2]) << 16 |
                               static_cast<std::uint32_t>(static_cast<std::uint8_t>(wide[3])) << 24);
  return true;
}

}  // namespace granvel
