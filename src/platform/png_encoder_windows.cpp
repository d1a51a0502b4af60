// PNG through the system's Windows Imaging Component: an 8-bit indexed frame with its palette, encoded into
// a stream in memory and copied out.
#undef NOGDI          // the imaging headers need GDI's types; nothing here is named like a GDI call
#include <windows.h>  // before the headers that build on it

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

#include "platform/png_encoder.h"
#include "platform/windows_com.h"

namespace granvel {
namespace {

bool Failed(const char* what, HRESULT result, std::string& error) {
  error = "cannot encode the PNG: " + windows::ComFailure(what, result);
  return false;
}

}  // namespace

bool EncodeIndexedPngWithSystem(std::uint32_t width, std::uint32_t height,
                                std::span<const std::uint8_t> indices, const PngPalette& palette,
                                std::vector<std::uint8_t>& file, std::string& error) {
  const windows::ComScope com;
  windows::ComPtr<IWICImagingFactory> factory;
  HRESULT result = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory.p));
  if (FAILED(result))
    return Failed("the imaging component", result, error);
  windows::ComPtr<IStream> stream;
  stream.p = ::SHCreateMemStream(nullptr, 0);
  if (!stream.p)
    return Failed("writing to memory", E_OUTOFMEMORY, error);
  windows::ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder.p)) ||
      FAILED(result = encoder->Initialize(stream.p, WICBitmapEncoderNoCache)))
    return Failed("the PNG encoder", result, error);
  windows::ComPtr<IWICBitmapFrameEncode> frame;
  windows::ComPtr<IPropertyBag2> options;
  WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
  if (FAILED(result = encoder->CreateNewFrame(&frame.p, &options.p)) ||
      FAILED(result = frame->Initialize(options.p)) || FAILED(result = frame->SetSize(width, height)) ||
      FAILED(result = frame->SetPixelFormat(&format)))
    return Failed("the image", result, error);
  if (format != GUID_WICPixelFormat8bppIndexed)  // the encoder names the format it will write instead
    return Failed("an 8-bit palette image", WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT, error);
  WICColor colours[256];
  for (std::size_t i = 0; i < palette.size(); ++i)  // 0xAARRGGBB, opaque
    colours[i] = 0xFF000000u | WICColor{palette[i][0]} << 16 | WICColor{palette[i][1]} << 8 | palette[i][2];
  windows::ComPtr<IWICPalette> colourTable;
  if (FAILED(result = factory->CreatePalette(&colourTable.p)) ||
      FAILED(result = colourTable->InitializeCustom(colours, 256)) ||
      FAILED(result = frame->SetPalette(colourTable.p)))
    return Failed("the palette", result, error);
  // WritePixels takes a non-const buffer, which it only reads.
  auto* pixels = const_cast<BYTE*>(indices.data());
  if (FAILED(result = frame->WritePixels(height, width, static_cast<UINT>(indices.size()), pixels)) ||
      FAILED(result = frame->Commit()) || FAILED(result = encoder->Commit()))
    return Failed("encoding the pixels", result, error);
  STATSTG stat{};
  LARGE_INTEGER start{};
  if (FAILED(result = stream->Stat(&stat, STATFLAG_NONAME)) ||
      FAILED(result = stream->Seek(start, STREAM_SEEK_SET, nullptr)))
    return Failed("reading back from memory", result, error);
  file.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
  ULONG got = 0;
  if (FAILED(result = stream->Read(file.data(), static_cast<ULONG>(file.size()), &got)) ||
      got != file.size()) {
    file.clear();
    return Failed("reading back from memory", FAILED(result) ? result : E_FAIL, error);
  }
  return true;
}

}  // namespace granvel
