#include "platform/rtl/picture.h"

#include <string>

#include "platform/rtl/exceptions.h"

namespace wenmoor {

namespace {
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
}  // namespace

void TBitmap::LoadFromBmp(std::vector<uint8_t> bmp) {
  // BITMAPFILEHEADER (14 bytes) then at least a BITMAPCOREHEADER (12 bytes).
  if (bmp.size() < 26 || bmp[0] != 'B' || bmp[1] != 'M') throw EInvalidGraphic("Bitmap image is not valid");
  uint32_t header = Le32(bmp, 14);
  int w = 0, h = 0, bpp = 0;
  if (header == 12) {
    w = Le16(bmp, 18);
    h = Le16(bmp, 20);
    bpp = Le16(bmp, 24);
  } else if (header >= 40 && bmp.size() >= 14 + 40) {
    w = static_cast<int32_t>(Le32(bmp, 18));
    h = static_cast<int32_t>(Le32(bmp, 22));
    bpp = Le16(bmp, 28);
  } else {
    throw EInvalidGraphic("Bitmap image is not valid");
  }
  if (h < 0) h = -h;
  if (w <= 0 || h <= 0 || w > 65535 || h > 65535) throw EInvalidGraphic("Bitmap image is not valid");
  bmp_ = std::move(bmp);
  width_ = w;
  height_ = h;
  bpp_ = bpp;
}

void TBitmap::Clear() {
  bmp_.clear();
  width_ = height_ = bpp_ = 0;
}

void TBitmap::Assign(const TPersistent& source) {
  if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
    bmp_ = b->bmp_;
    width_ = b->width_;
    height_ = b->height_;
    bpp_ = b->bpp_;
    return;
  }
  if (auto* p = dynamic_cast<const TPicture*>(&source)) return Assign(p->Bitmap());
  TPersistent::Assign(source);
}

std::vector<uint8_t> TPicture::Data() const {
  if (bitmap_.Empty()) return {};
  static const std::string kClass = "TBitmap";
  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(kClass.size()));
  out.insert(out.end(), kClass.begin(), kClass.end());
  uint32_t n = static_cast<uint32_t>(bitmap_.Bmp().size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
  out.insert(out.end(), bitmap_.Bmp().begin(), bitmap_.Bmp().end());
  return out;
}

void TPicture::SetData(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    bitmap_.Clear();
    Changed();
    return;
  }
  size_t name_len = data[0];
  if (data.size() < 1 + name_len + 4) throw EInvalidGraphic("Bitmap image is not valid");
  std::string cls(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(name_len));
  if (cls != "TBitmap") throw EInvalidGraphic("Unknown picture file extension (%s)", cls);
  size_t at = 1 + name_len;
  uint32_t size = Le32(data, at);
  at += 4;
  if (size > data.size() - at) throw EInvalidGraphic("Bitmap image is not valid");
  bitmap_.LoadFromBmp(std::vector<uint8_t>(data.begin() + static_cast<std::ptrdiff_t>(at),
                                           data.begin() + static_cast<std::ptrdiff_t>(at + size)));
  Changed();
}

void TPicture::Assign(const TPersistent& source) {
  if (auto* p = dynamic_cast<const TPicture*>(&source)) {
    if (p != this) bitmap_.Assign(p->bitmap_);
    return Changed();
  }
  if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
    bitmap_.Assign(*b);
    return Changed();
  }
  TPersistent::Assign(source);
}

WENMOOR_REGISTER_CLASS(TBitmap) {}
WENMOOR_REGISTER_CLASS(TPicture) { c.Binary("Data", &T::Data, &T::SetData); }

}  // namespace wenmoor
