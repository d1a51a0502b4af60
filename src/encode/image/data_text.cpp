#include "encode/image/data_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <bit>
#include <cstring>

#include "encode/image/grp.h"
#include "format/bytes.h"

namespace granvel {
namespace {

// Digit tables, made by the compiler: two hexadecimal digits per byte, high nibble first and (as CHR tiles
// are written) low nibble first, and each byte in decimal followed by a comma. The long hexadecimal runs of
// tile lines are computed 16 bytes at a time instead where the processor can (PutHexRun).
constexpr char kHexDigits[] = "0123456789ABCDEF";
using HexPairs = std::array<std::array<char, 2>, 256>;

constexpr HexPairs MakeHexPairs(bool highFirst) {
  HexPairs pairs{};
  for (int b = 0; b < 256; ++b) {
    const char high = kHexDigits[b >> 4], low = kHexDigits[b & 0x0F];
    pairs[b] = highFirst ? std::array<char, 2>{high, low} : std::array<char, 2>{low, high};
  }
  return pairs;
}

constexpr HexPairs kHexHighFirst = MakeHexPairs(true);
constexpr HexPairs kHexLowFirst = MakeHexPairs(false);

struct DecimalItem {
  std::array<char, 4> Text;  // the digits, then a comma, then zeros
  std::uint8_t Length;       // of the digits
};

constexpr std::array<DecimalItem, 256> MakeDecimalItems() {
  std::array<DecimalItem, 256> items{};
  for (int b = 0; b < 256; ++b) {
    DecimalItem& item = items[b];
    item.Length = b >= 100 ? 3 : b >= 10 ? 2 : 1;
    for (int i = item.Length - 1, v = b; i >= 0; --i, v /= 10)
      item.Text[i] = static_cast<char>('0' + v % 10);
    item.Text[item.Length] = ',';
  }
  return items;
}

constexpr std::array<DecimalItem, 256> kDecimalWithComma = MakeDecimalItems();

constexpr std::size_t kGrpDataTiles = 256;  // the page's top 64 rows
constexpr std::size_t kBytesPerGrpTile = 64;
constexpr std::size_t kBytesPerChrTile = 32;
// The longest lines, in bytes with their "\r": a palette title and its four DATA lines of four quoted colours
// and the empty line after them; a CHR unit's title ("' &H" and up to 7 + 1 digits) and the empty line after
// the unit; a CHR tile; a GRP tile in hexadecimal or decimal.
constexpr std::size_t kPaletteBytes = 13 + 4 * (5 + 4 * 8 + 3 + 1) + 1;
constexpr std::size_t kChrUnitTitleBytes = 4 + 8 + 1 + 1;
constexpr std::size_t kChrTileBytes = 6 + 2 * kBytesPerChrTile + 2;
constexpr std::size_t kGrpHexLineBytes = 6 + 2 * kBytesPerGrpTile + 2;
constexpr std::size_t kGrpDecimalLineBytes = 5 + 4 * kBytesPerGrpTile;

// Grows `out` by `most` bytes and returns where they start; Done() cuts it back to the bytes written.
char* Grow(std::string& out, std::size_t most) {
  const std::size_t at = out.size();
  out.resize(at + most);
  return out.data() + at;
}

void Done(std::string& out, const char* end) {
  out.resize(static_cast<std::size_t>(end - out.data()));
}

char* Put(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

// Hexadecimal digits of `value` without leading zeros.
char* PutHex(char* at, std::uint64_t value) {
  const int digits = value == 0 ? 1 : (std::bit_width(value) + 3) / 4;
  for (int i = digits - 1; i >= 0; --i, value >>= 4)
    at[i] = kHexDigits[value & 0x0F];
  return at + digits;
}

// Each byte as two hex digits from `table` (kHexHighFirst or kHexLowFirst).
char* PutHexBytes(char* at, const std::uint8_t* bytes, std::size_t count, const HexPairs& table) {
  for (std::size_t i = 0; i < count; ++i, at += 2)
    std::memcpy(at, table[bytes[i]].data(), 2);
  return at;
}

// The same for the long runs of the tile lines (a multiple of 16 bytes): 16 bytes at a time with SSE2, which
// every x86-64 processor has, three times as fast as the table; elsewhere through the table.
char* PutHexRun(char* at, const std::uint8_t* bytes, std::size_t count, bool highFirst) {
#if defined(__SSE2__)
  const __m128i nibble = _mm_set1_epi8(0x0F), zero = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9),
                letters = _mm_set1_epi8('A' - '0' - 10);
  // '0' + n, plus the distance from ':' to 'A' for the digits A to F.
  const auto digits = [&](__m128i n) {
    return _mm_add_epi8(_mm_add_epi8(n, zero), _mm_and_si128(_mm_cmpgt_epi8(n, nine), letters));
  };
  for (std::size_t i = 0; i + 16 <= count; i += 16, at += 32) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const __m128i high = digits(_mm_and_si128(_mm_srli_epi16(v, 4), nibble));
    const __m128i low = digits(_mm_and_si128(v, nibble));
    const __m128i first = highFirst ? high : low, second = highFirst ? low : high;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_unpacklo_epi8(first, second));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 16), _mm_unpackhi_epi8(first, second));
  }
  const std::size_t done = count / 16 * 16;
  return PutHexBytes(at, bytes + done, count - done, highFirst ? kHexHighFirst : kHexLowFirst);
#else
  return PutHexBytes(at, bytes, count, highFirst ? kHexHighFirst : kHexLowFirst);
#endif
}

// Bytes as decimal numbers separated by commas; the last is followed by `end` instead. Each item copies all
// four bytes of its table entry, which the next item overwrites: at most 4 bytes per item are touched.
char* PutDecimalBytes(char* at, const std::uint8_t* bytes, std::size_t count, char end) {
  for (std::size_t i = 0; i < count; ++i) {
    const DecimalItem& item = kDecimalWithComma[bytes[i]];
    std::memcpy(at, item.Text.data(), item.Text.size());  // the digits, a comma and what may follow it
    at += item.Length + 1;
  }
  at[-1] = end;
  return at;
}

}  // namespace

std::string HexText(std::uint64_t value) {
  char digits[16];
  return std::string(digits, PutHex(digits, value));
}

void WritePaletteData(std::string& out, const BmpImage& image) {
  if (image.PixelCount == 0 || image.ColPayload.size() < kColPayloadSize)
    return;
  const int palettes = image.PaletteRows < 16 ? image.PaletteRows : 16;
  char* at = Grow(out, static_cast<std::size_t>(palettes) * kPaletteBytes);
  for (int p = 0; p < palettes; ++p) {
    at = Put(at, "' PALETTE ");
    const DecimalItem& number = kDecimalWithComma[p];
    at = Put(at, {number.Text.data(), number.Length});
    *at++ = '\r';
    for (int c = 0; c < 16; ++c) {
      const std::uint16_t w = GetU16LE(&image.ColPayload[kTagSize + 2 * (16 * p + c)]);
      const std::uint8_t rgb[3] = {
          static_cast<std::uint8_t>((w & 0x1F) << 3),
          static_cast<std::uint8_t>((((w >> 5) & 0x1F) << 3) + ((w & 0x8000) ? 4 : 0)),
          static_cast<std::uint8_t>(((w >> 10) & 0x1F) << 3)};
      at = Put(at, c % 4 == 0 ? "DATA \"" : ",\"");
      at = PutHexBytes(at, rgb, 3, kHexHighFirst);
      *at++ = '"';
      if (c % 4 == 3)
        *at++ = '\r';
    }
    *at++ = '\r';
  }
  Done(out, at);
}

void WriteChrData(std::string& out, const ResourcePayload& payload, std::uint8_t unitWidth,
                  std::uint8_t unitHeight, int bankIndex) {
  if (payload.size() != kChrPayloadSize || unitWidth == 0 || unitHeight == 0)
    return;
  const int units = (64 / unitHeight) * (256 / unitWidth);
  const int tilesPerUnit = ((unitHeight + 7) / 8) * ((unitWidth + 7) / 8);
  const std::size_t tiles = (kChrPayloadSize - kTagSize) / kBytesPerChrTile;
  char* at = Grow(out, static_cast<std::size_t>(units) * kChrUnitTitleBytes + tiles * kChrTileBytes);
  std::uint32_t number = static_cast<std::uint32_t>(bankIndex) * 64;
  int tileCounter = 0;
  std::size_t from = kTagSize;
  for (int u = 0; u < units; ++u) {
    at = Put(at, "' &H");
    at = PutHex(at, number / 16);
    at = PutHex(at, number % 16);
    *at++ = '\r';
    for (int t = 0; t < tilesPerUnit && from + kBytesPerChrTile <= payload.size(); ++t) {
      at = Put(at, "DATA \"");
      at = PutHexRun(at, &payload[from], kBytesPerChrTile, false);
      at = Put(at, "\"\r");
      from += kBytesPerChrTile;
      if (unitWidth >= 16) {
        tileCounter = (tileCounter + 1) % 4;
        if (tileCounter == 0)
          ++number;
      } else {
        ++number;
      }
    }
    *at++ = '\r';
  }
  Done(out, at);
}

void WriteGrpData(std::string& out, const ResourcePayload& payload, const ConvertSettings& settings) {
  if (payload.size() != kGrpPayloadSize)
    return;
  const bool hex = settings.DATA_Type != 0;
  char* at = Grow(out, kGrpDataTiles * (hex ? kGrpHexLineBytes : kGrpDecimalLineBytes));
  for (std::size_t tile = 0; tile < kGrpDataTiles; ++tile) {
    const std::uint8_t* bytes = &payload[kTagSize + kBytesPerGrpTile * tile];
    if (hex) {
      at = Put(at, "DATA \"");
      at = PutHexRun(at, bytes, kBytesPerGrpTile, true);
      at = Put(at, "\"\r");
    } else {
      at = Put(at, "DATA ");
      at = PutDecimalBytes(at, bytes, kBytesPerGrpTile, '\r');
    }
  }
  Done(out, at);
}

void NoteGrpDataRows(const ConvertContext& ctx) {
  ctx.NoteOnce("GRP DATA rows", "the DATA text holds the top 64 rows of each page (" +
                                    std::to_string(kGrpDataTiles * kBytesPerGrpTile) + " of its " +
                                    std::to_string(kPageWidth * kPageHeight) +
                                    " bytes), as DATA texts of graphic pages always do");
}

bool DataText::Open(bool on, std::string path, const ConvertContext& ctx) {
  if (!on)
    return true;
  if (!ctx.ClaimOutput(path))
    return false;
  file_.emplace(path);
  if (!file_->Open()) {
    const std::string error = file_->Error();
    file_.reset();
    return ctx.Fail(error);
  }
  text_.reserve(kFlushSize + kFlushSize / 4);  // a piece and the bank or page that fills it, never moved
  return true;
}

bool DataText::Flush(const ConvertContext& ctx) {
  if (!file_ || text_.size() < kFlushSize)
    return true;
  return WriteOut(ctx);
}

bool DataText::WriteOut(const ConvertContext& ctx) {
  const bool ok = file_->Write(text_);
  text_.clear();
  return ok || ctx.Fail(file_->Error());
}

bool DataText::Finish(const ConvertContext& ctx) {
  if (!file_)
    return true;
  if (!WriteOut(ctx) || !file_->Commit()) {
    ctx.Fail(file_->Error());
    file_.reset();
    return false;
  }
  ctx.Wrote(file_->Target());
  file_.reset();
  return true;
}

}  // namespace granvel
