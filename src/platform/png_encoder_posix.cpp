// PNG through libspng's encoder, into a buffer the library makes and hands over.
#include <spng.h>

#include <cstdlib>
#include <memory>

#include "platform/png_encoder.h"

namespace granvel {
namespace {

struct ContextFree {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

struct BufferFree {
  void operator()(void* buffer) const { std::free(buffer); }
};

bool Failed(int code, std::string& error) {
  error = std::string("cannot encode the PNG: ") + spng_strerror(code);
  return false;
}

}  // namespace

bool EncodeIndexedPngWithSystem(std::uint32_t width, std::uint32_t height,
                                std::span<const std::uint8_t> indices, const PngPalette& palette,
                                std::vector<std::uint8_t>& file, std::string& error) {
  std::unique_ptr<spng_ctx, ContextFree> ctx(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!ctx)
    return Failed(SPNG_EMEM, error);
  spng_ihdr ihdr{};
  ihdr.width = width;
  ihdr.height = height;
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_INDEXED;
  spng_plte plte{};
  plte.n_entries = 256;
  for (std::size_t i = 0; i < palette.size(); ++i)
    plte.entries[i] = {palette[i][0], palette[i][1], palette[i][2], 0};
  if (int code = spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1))
    return Failed(code, error);
  if (int code = spng_set_ihdr(ctx.get(), &ihdr))
    return Failed(code, error);
  if (int code = spng_set_plte(ctx.get(), &plte))
    return Failed(code, error);
  if (int code =
          spng_encode_image(ctx.get(), indices.data(), indices.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE))
    return Failed(code, error);
  std::size_t size = 0;
  int code = 0;
  const std::unique_ptr<void, BufferFree> buffer(spng_get_png_buffer(ctx.get(), &size, &code));
  if (!buffer)
    return Failed(code ? code : SPNG_EMEM, error);
  const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
  file.assign(bytes, bytes + size);
  return true;
}

}  // namespace granvel
