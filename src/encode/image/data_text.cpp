#include "encode/image/data_text.h"

#include "format/bytes.h"

namespace granvel {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kGrpDataTiles = 256;  // the page's top 64 rows

void AppendHexByte(std::string& out, std::uint8_t byte) {
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0x0F]);
}

}  // namespace

std::string HexText(std::uint64_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), kHexDigits[value & 0x0F]);
    value >>= 4;
  } while (value != 0);
  return digits;
}

void WritePaletteData(std::string& out, const BmpImage& image) {
  if (image.PixelCount == 0 || image.ColPayload.size() < kColPayloadSize)
    return;
  for (int p = 0; p < image.PaletteRows && p < 16; ++p) {
    out += "' PALETTE " + std::to_string(p) + "\r";
    for (int c = 0; c < 16; ++c) {
      const std::uint16_t w = GetU16LE(&image.ColPayload[kTagSize + 2 * (16 * p + c)]);
      const auto red = static_cast<std::uint8_t>((w & 0x1F) << 3);
      const auto green = static_cast<std::uint8_t>((((w >> 5) & 0x1F) << 3) + ((w & 0x8000) ? 4 : 0));
      const auto blue = static_cast<std::uint8_t>(((w >> 10) & 0x1F) << 3);
      out += c % 4 == 0 ? "DATA \"" : ",\"";
      AppendHexByte(out, red);
      AppendHexByte(out, green);
      AppendHexByte(out, blue);
      out += '"';
      if (c % 4 == 3)
        out += '\r';
    }
    out += '\r';
  }
}

void WriteChrData(std::string& out, const ResourcePayload& payload, std::uint8_t unitWidth,
                  std::uint8_t unitHeight, int bankIndex) {
  if (payload.size() != kChrPayloadSize || unitWidth == 0 || unitHeight == 0)
    return;
  const int units = (64 / unitHeight) * (256 / unitWidth);
  const int tilesPerUnit = ((unitHeight + 7) / 8) * ((unitWidth + 7) / 8);
  std::uint32_t number = static_cast<std::uint32_t>(bankIndex) * 64;
  int tileCounter = 0;
  std::size_t at = kTagSize;
  for (int u = 0; u < units; ++u) {
    out += "' &H" + HexText(number / 16) + HexText(number % 16) + "\r";
    for (int t = 0; t < tilesPerUnit && at + 32 <= payload.size(); ++t) {
      out += "DATA \"";
      for (int b = 0; b < 32; ++b, ++at) {
        out.push_back(kHexDigits[payload[at] & 0x0F]);
        out.push_back(kHexDigits[payload[at] >> 4]);
      }
      out += "\"\r";
      if (unitWidth >= 16) {
        tileCounter = (tileCounter + 1) % 4;
        if (tileCounter == 0)
          ++number;
      } else {
        ++number;
      }
    }
    out += '\r';
  }
}

void WriteGrpData(std::string& out, const ResourcePayload& payload, const ConvertSettings& settings) {
  if (payload.size() != kGrpPayloadSize)
    return;
  const bool hex = settings.DATA_Type != 0;
  for (std::size_t tile = 0; tile < kGrpDataTiles; ++tile) {
    const std::uint8_t* bytes = &payload[kTagSize + 64 * tile];
    if (hex) {
      out += "DATA \"";
      for (int i = 0; i < 64; ++i)
        AppendHexByte(out, bytes[i]);
      out += "\"\r";
    } else {
      out += "DATA ";
      for (int i = 0; i < 64; ++i) {
        if (i > 0)
          out += ',';
        out += std::to_string(bytes[i]);
      }
      out += '\r';
    }
  }
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
  return true;
}

bool DataText::Flush(const ConvertContext& ctx) {
  if (!file_)
    return true;
  const bool ok = file_->Write(text_);
  text_.clear();
  return ok || ctx.Fail(file_->Error());
}

bool DataText::Finish(const ConvertContext& ctx) {
  if (!file_)
    return true;
  if (!Flush(ctx) || !file_->Commit()) {
    ctx.Fail(file_->Error());
    file_.reset();
    return false;
  }
  ctx.Wrote(file_->Target());
  file_.reset();
  return true;
}

}  // namespace granvel
