// TPicture holding a bitmap.
//
// The script stores a picture as binary "Data": one length byte and the
// graphic's class name ("TBitmap"), then the bitmap's own data: a 32-bit
// little-endian size and a Windows BMP file of that size. TBitmap keeps the
// BMP bytes unchanged (so a picture is written back as it was read) and
// decodes the header for its dimensions; drawing backends decode the pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rtl/persistent.h"

namespace wenmoor {

class TBitmap : public TPersistent {
  WENMOOR_CLASS(TBitmap, TPersistent)
 public:
  TBitmap() = default;
  // Takes a BMP file. Raises EInvalidGraphic "Bitmap image is not valid"
  // for anything that is not a BMP file with a sane header.
  void LoadFromBmp(std::vector<uint8_t> bmp);
  const std::vector<uint8_t>& Bmp() const { return bmp_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bpp_; }
  bool Empty() const { return bmp_.empty(); }
  void Clear();
  void Assign(const TPersistent& source) override;

 private:
  std::vector<uint8_t> bmp_;
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 0;
};

class TPicture : public TPersistent {
  WENMOOR_CLASS(TPicture, TPersistent)
 public:
  TPicture() = default;
  const TBitmap& Bitmap() const { return bitmap_; }
  TBitmap& Bitmap() { return bitmap_; }
  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  bool Empty() const { return bitmap_.Empty(); }

  // The stored form (see above); an empty picture has empty data.
  std::vector<uint8_t> Data() const;
  // Raises EInvalidGraphic for data that is not a stored bitmap.
  void SetData(const std::vector<uint8_t>& data);
  void Assign(const TPersistent& source) override;

  // Raised after SetData and Assign; code that changes Bitmap() in place
  // calls Changed() itself, so that a control showing the picture learns
  // of it.
  TNotifyEvent OnChange;
  void Changed() { OnChange(this); }

 private:
  TBitmap bitmap_;
};

}  // namespace wenmoor
