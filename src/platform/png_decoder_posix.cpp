// PNG through libspng: palette images as packed indices, unpacked here; everything else as RGBA8 with tRNS
// applied.
#include <spng.h>

#include <memory>

#include "platform/png_decoder.h"

namespace granvel {
namespace {

struct ContextFree {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

bool Failed(int code, std::string& error) {
  error = std::string("not a readable PNG: ") + spng_strerror(code);
  return false;
}

}  // namespace

bool DecodePng(std::span<const std::uint8_t> file, DecodedPng& png, std::string& error) {
  png = {};
  std::unique_ptr<spng_ctx, ContextFree> ctx(spng_ctx_new(0));
  if (!ctx)
    return Failed(SPNG_EMEM, error);
  spng_set_crc_action(ctx.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
  spng_set_chunk_limits(ctx.get(), 1u << 24, 1u << 24);
  if (int code = spng_set_png_buffer(ctx.get(), file.data(), file.size()))
    return Failed(code, error);
  spng_ihdr ihdr{};
  if (int code = spng_get_ihdr(ctx.get(), &ihdr))
    return Failed(code, error);
  png.Width = ihdr.width;
  png.Height = ihdr.height;
  png.BitDepth = ihdr.bit_depth;
  png.Indexed = ihdr.color_type == SPNG_COLOR_TYPE_INDEXED;
  const int format = png.Indexed ? SPNG_FMT_PNG : SPNG_FMT_RGBA8;
  std::size_t size = 0;
  if (int code = spng_decoded_image_size(ctx.get(), format, &size))
    return Failed(code, error);
  std::vector<std::uint8_t> out(size);
  if (int code =
          spng_decode_image(ctx.get(), out.data(), out.size(), format, png.Indexed ? 0 : SPNG_DECODE_TRNS))
    return Failed(code, error);
  if (!png.Indexed) {
    png.Rgba = std::move(out);
    return true;
  }
  spng_plte plte{};
  if (int code = spng_get_plte(ctx.get(), &plte))
    return Failed(code, error);
  for (std::uint32_t i = 0; i < plte.n_entries; ++i)
    png.Palette.push_back({plte.entries[i].red, plte.entries[i].green, plte.entries[i].blue});
  // Rows of packed indices, the first pixel in the high bits.
  const std::size_t depth = ihdr.bit_depth, rowBytes = (std::size_t{png.Width} * depth + 7) / 8;
  png.Indices.resize(std::size_t{png.Width} * png.Height);
  for (std::size_t y = 0; y < png.Height; ++y) {
    const std::uint8_t* row = out.data() + y * rowBytes;
    for (std::size_t x = 0; x < png.Width; ++x) {
      const std::size_t bit = x * depth;
      png.Indices[y * png.Width + x] =
          static_cast<std::uint8_t>((row[bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1));
    }
  }
  return true;
}

}  // namespace granvel
