// PNG through the system's Windows Imaging Component: palette images as packed indices with their palette,
// everything else converted to 32-bit RGBA.
#undef NOGDI          // the imaging headers need GDI's types; nothing here is named like a GDI call
#include <windows.h>  // before the headers that build on it

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

#include "platform/png_decoder.h"
#include "platform/windows_com.h"

namespace granvel {
namespace {

bool Failed(const char* what, HRESULT result, std::string& error) {
  error = "not a readable PNG: " + windows::ComFailure(what, result);
  return false;
}

int IndexedDepth(const WICPixelFormatGUID& format) {
  if (format == GUID_WICPixelFormat1bppIndexed)
    return 1;
  if (format == GUID_WICPixelFormat2bppIndexed)
    return 2;
  if (format == GUID_WICPixelFormat4bppIndexed)
    return 4;
  if (format == GUID_WICPixelFormat8bppIndexed)
    return 8;
  return 0;
}

}  // namespace

bool DecodePng(std::span<const std::uint8_t> file, DecodedPng& png, std::string& error) {
  png = {};
  const windows::ComScope com;
  windows::ComPtr<IWICImagingFactory> factory;
  HRESULT result = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory.p));
  if (FAILED(result))
    return Failed("the imaging component", result, error);
  windows::ComPtr<IStream> stream;
  stream.p = ::SHCreateMemStream(file.data(), static_cast<UINT>(file.size()));
  if (!stream.p)
    return Failed("reading from memory", E_OUTOFMEMORY, error);
  windows::ComPtr<IWICBitmapDecoder> decoder;
  result = factory->CreateDecoderFromStream(stream.p, &GUID_ContainerFormatPng,
                                            WICDecodeMetadataCacheOnDemand, &decoder.p);
  if (FAILED(result))
    return Failed("the PNG decoder", result, error);
  windows::ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(result = decoder->GetFrame(0, &frame.p)))
    return Failed("the image", result, error);
  UINT width = 0, height = 0;
  WICPixelFormatGUID format{};
  if (FAILED(result = frame->GetSize(&width, &height)) || FAILED(result = frame->GetPixelFormat(&format)))
    return Failed("the image header", result, error);
  png.Width = width;
  png.Height = height;
  const int depth = IndexedDepth(format);
  png.Indexed = depth != 0;
  png.BitDepth = png.Indexed ? depth : 8;
  if (!png.Indexed) {
    windows::ComPtr<IWICFormatConverter> converter;
    png.Rgba.resize(std::size_t{width} * height * 4);
    if (FAILED(result = factory->CreateFormatConverter(&converter.p)) ||
        FAILED(result = converter->Initialize(frame.p, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone,
                                              nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
        FAILED(result = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(png.Rgba.size()),
                                              png.Rgba.data())))
      return Failed("decoding the pixels", result, error);
    return true;
  }
  windows::ComPtr<IWICPalette> palette;
  UINT count = 0;
  if (FAILED(result = factory->CreatePalette(&palette.p)) || FAILED(result = frame->CopyPalette(palette.p)) ||
      FAILED(result = palette->GetColorCount(&count)))
    return Failed("the palette", result, error);
  std::vector<WICColor> colours(count);
  if (count && FAILED(result = palette->GetColors(count, colours.data(), &count)))
    return Failed("the palette", result, error);
  for (UINT i = 0; i < count && i < 256; ++i)  // 0xAARRGGBB
    png.Palette.push_back({static_cast<std::uint8_t>(colours[i] >> 16),
                           static_cast<std::uint8_t>(colours[i] >> 8),
                           static_cast<std::uint8_t>(colours[i])});
  const std::size_t rowBytes = (std::size_t{width} * depth + 7) / 8;
  std::vector<std::uint8_t> packed(rowBytes * height);
  if (FAILED(result = frame->CopyPixels(nullptr, static_cast<UINT>(rowBytes),
                                        static_cast<UINT>(packed.size()), packed.data())))
    return Failed("decoding the pixels", result, error);
  png.Indices.resize(std::size_t{width} * height);
  for (std::size_t y = 0; y < height; ++y) {
    for (std::size_t x = 0; x < width; ++x) {
      const std::size_t bit = x * static_cast<std::size_t>(depth);
      png.Indices[y * width + x] = static_cast<std::uint8_t>(
          (packed[y * rowBytes + bit / 8] >> (8 - depth - bit % 8)) & ((1u << depth) - 1));
    }
  }
  return true;
}

}  // namespace granvel
