#include "platform/picture_decoder_win32.h"

// <windows.h> first: the imaging component's header needs its types.
#include <windows.h>
// Then the rest.
#include <objbase.h>
#include <wincodec.h>

namespace velorin {
namespace {

/// A COM interface released when it goes.
template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  T** out() { return &pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  T* pointer_ = nullptr;
};

/// COM set up on this thread for as long as it lives (as it was when the
/// thread had it already, in whatever mode).
class ComOnThread {
 public:
  ComOnThread() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComOnThread() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComOnThread(const ComOnThread&) = delete;
  ComOnThread& operator=(const ComOnThread&) = delete;

 private:
  HRESULT result_;
};

/// The first frame of the picture in `bytes`, with the factory that read it.
struct Frame {
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
};

bool OpenFrame(std::string_view bytes, Frame& frame) {
  if (bytes.empty() || bytes.size() > 0x7fffffff) return false;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              __uuidof(IWICImagingFactory),
                              reinterpret_cast<void**>(frame.factory.out()))))
    return false;
  // WIC reads the bytes where they are; they outlive the frame.
  auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
  return SUCCEEDED(frame.factory->CreateStream(frame.stream.out())) &&
         SUCCEEDED(frame.stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size()))) &&
         SUCCEEDED(frame.factory->CreateDecoderFromStream(
             frame.stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, frame.decoder.out())) &&
         SUCCEEDED(frame.decoder->GetFrame(0, frame.frame.out()));
}

bool AllOpaque(const std::vector<std::uint32_t>& pixels) {
  for (const std::uint32_t pixel : pixels) {
    if ((pixel >> 24) != 0xff) return false;
  }
  return true;
}

}  // namespace

std::optional<PictureSize> PictureSizeOf(std::string_view bytes) {
  const ComOnThread com;
  Frame frame;
  if (!OpenFrame(bytes, frame)) return std::nullopt;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame.frame->GetSize(&width, &height)) || width > 0x7fffffff || height > 0x7fffffff)
    return std::nullopt;
  return PictureSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<Picture> DecodePicture(std::string_view bytes, int width, int height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const ComOnThread com;
  Frame frame;
  if (!OpenFrame(bytes, frame)) return std::nullopt;
  Com<IWICFormatConverter> converter;
  if (FAILED(frame.factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame.frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  UINT own = 0;
  UINT ownHeight = 0;
  converter->GetSize(&own, &ownHeight);
  IWICBitmapSource* source = converter.get();
  Com<IWICBitmapScaler> scaler;
  if (own != static_cast<UINT>(width) || ownHeight != static_cast<UINT>(height)) {
    if (FAILED(frame.factory->CreateBitmapScaler(scaler.out())) ||
        FAILED(scaler->Initialize(converter.get(), static_cast<UINT>(width),
                                  static_cast<UINT>(height), WICBitmapInterpolationModeFant)))
      return std::nullopt;
    source = scaler.get();
  }
  Picture picture{width, height,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(width) *
                                             static_cast<std::size_t>(height))};
  const UINT stride = static_cast<UINT>(width) * 4;
  if (FAILED(source->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height),
                                reinterpret_cast<BYTE*>(picture.pixels.data()))))
    return std::nullopt;
  picture.opaque = AllOpaque(picture.pixels);
  return picture;
}

}  // namespace velorin
