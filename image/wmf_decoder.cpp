#include "image/wmf_decoder.h"

#include <vector>

#include "image/byte_reader.h"
#include "image/png_decoder.h"

#if defined(DEMO_HAVE_LIBWMF)
#include <libwmf/api.h>
#include <libwmf/gd.h>
#endif

namespace {

// Placeable metafiles start with this key and a header giving the picture's frame in metafile
// units and how many units make an inch.
constexpr uint32_t kPlaceableKey = 0x9ac6cdd7u;
constexpr size_t kPlaceableHeaderBytes = 22;
// Metafiles are drawn at the screen resolution Windows assumes.
constexpr double kDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

struct PlaceableFrame {
  int widthUnits = 0;
  int heightUnits = 0;
  int unitsPerInch = 0;
};

bool readFrame(const uint8_t* data, size_t sizeBytes, PlaceableFrame& frame) {
  ByteReader reader(data, sizeBytes);
  const uint32_t key = reader.u32le();
  reader.u16le();
  const int left = reader.s16le();
  const int top = reader.s16le();
  const int right = reader.s16le();
  const int bottom = reader.s16le();
  frame.unitsPerInch = reader.u16le();
  frame.widthUnits = right > left ? right - left : left - right;
  frame.heightUnits = bottom > top ? bottom - top : top - bottom;
  return !reader.failed() && sizeBytes > kPlaceableHeaderBytes && key == kPlaceableKey && frame.unitsPerInch > 0;
}

#if defined(DEMO_HAVE_LIBWMF)

// gd's PNG writer hands its output here, piece by piece.
int collectPngBytes(void* context, char* buffer, int length) {
  std::vector<uint8_t>& bytes = *static_cast<std::vector<uint8_t>*>(context);
  bytes.insert(bytes.end(), reinterpret_cast<uint8_t*>(buffer), reinterpret_cast<uint8_t*>(buffer) + length);
  return length;
}

// gd writes an alpha channel even when nothing is transparent; such a plane is left out.
void dropOpaqueAlpha(DecodedImage& image) {
  const uint8_t* alpha = image.alphaPlane();
  const size_t count = static_cast<size_t>(image.width()) * image.height();
  for (size_t i = 0; alpha != nullptr && i < count; ++i) {
    if (alpha[i] != 255) {
      return;
    }
  }
  image.dropAlphaPlane();
}

// Draws through libwmf's gd device into a PNG held in memory, which the PNG decoder then reads.
// (gd's raw image output would be simpler, but this libwmf never frees that image.)
class WmfRenderer {
 public:
  WmfRenderer() {
    wmfAPI_Options options = {};
    options.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api_, flags, &options) != wmf_E_None) {
      api_ = nullptr;
    }
  }
  ~WmfRenderer() {
    if (api_ != nullptr) {
      if (opened_) {
        wmf_mem_close(api_);
      }
      wmf_api_destroy(api_);
    }
  }
  WmfRenderer(const WmfRenderer&) = delete;
  WmfRenderer& operator=(const WmfRenderer&) = delete;

  // Draws the whole frame, white behind the drawing.
  bool render(const uint8_t* data, size_t sizeBytes, const PlaceableFrame& frame, DecodedImage& out,
              std::string& error) {
    wmf_gd_t* device = api_ == nullptr ? nullptr : WMF_GD_GetData(api_);
    if (device == nullptr || (device->flags & WMF_GD_SUPPORTS_PNG) == 0) {
      error = "the metafile renderer could not start";
      return false;
    }
    // libwmf reads the bytes only; its interface is not const.
    opened_ = wmf_mem_open(api_, const_cast<unsigned char*>(data), static_cast<long>(sizeBytes)) == wmf_E_None;
    wmfD_Rect bounds;
    unsigned int width = 0;
    unsigned int height = 0;
    if (!opened_ || wmf_scan(api_, 0, &bounds) != wmf_E_None ||
        wmf_display_size(api_, &width, &height, kDotsPerInch, kDotsPerInch) != wmf_E_None) {
      error = "metafile unreadable or truncated (drawing also needs the fonts-urw-base35 package)";
      return false;
    }
    if (!imageSizeAllowed(width, height)) {
      error = pictureSizeRefusal(width, height);
      return false;
    }
    // The player's coordinates are points from the frame's top-left corner.
    bounds.TL.x = 0.0f;
    bounds.TL.y = 0.0f;
    bounds.BR.x = static_cast<float>(frame.widthUnits * kPointsPerInch / frame.unitsPerInch);
    bounds.BR.y = static_cast<float>(frame.heightUnits * kPointsPerInch / frame.unitsPerInch);
    std::vector<uint8_t> png;
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = &collectPngBytes;
    device->bbox = bounds;
    device->width = width;
    device->height = height;
    if (wmf_play(api_, 0, &bounds) != wmf_E_None || png.empty()) {
      error = "metafile could not be drawn";
      return false;
    }
    if (!PngDecoder().decode(png.data(), png.size(), out, error)) {
      return false;
    }
    dropOpaqueAlpha(out);
    return true;
  }

 private:
  wmfAPI* api_ = nullptr;
  bool opened_ = false;
};

#endif

}  // namespace

const char* WmfDecoder::formatName() const { return "WMF"; }

bool WmfDecoder::canDecode(const uint8_t* data, size_t sizeBytes) const {
  PlaceableFrame frame;
  return readFrame(data, sizeBytes, frame);
}

bool WmfDecoder::readSize(const uint8_t* data, size_t sizeBytes, long long& width, long long& height) const {
  PlaceableFrame frame;
  if (!readFrame(data, sizeBytes, frame)) {
    return false;
  }
  width = static_cast<long long>(frame.widthUnits * kDotsPerInch / frame.unitsPerInch + 0.5);
  height = static_cast<long long>(frame.heightUnits * kDotsPerInch / frame.unitsPerInch + 0.5);
  return true;
}

bool WmfDecoder::decode(const uint8_t* data, size_t sizeBytes, DecodedImage& out, std::string& error) const {
  PlaceableFrame frame;
  if (!readFrame(data, sizeBytes, frame)) {
    error = "not a placeable metafile";
    return false;
  }
#if defined(DEMO_HAVE_LIBWMF)
  WmfRenderer renderer;
  return renderer.render(data, sizeBytes, frame, out, error);
#else
  (void)out;
  error = "metafiles are not supported in this build (no libwmf)";
  return false;
#endif
}
