#include "image/ui/WxImageClipboard.h"

#include <wx/bitmap.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/image.h>
#include <wx/imagpng.h>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLPixel32.h"
#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmp.h"

namespace vornel {

namespace {

bool IsImageFormat(int format) { return format == PLClipboard::kFormatBitmap || format == PLClipboard::kFormatDib; }

}  // namespace

wxImage WxImageOf(const PLBmp& bmp) {
  PLAnyBmp rgba;
  rgba.CreateCopy(bmp, 32);
  const int w = rgba.GetWidth();
  const int h = rgba.GetHeight();
  wxImage image(w, h, false);
  if (!image.IsOk()) return image;
  if (bmp.HasAlpha()) image.InitAlpha();
  unsigned char* rgb = image.GetData();
  unsigned char* alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
  for (int y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const PLPixel32*>(rgba.GetLineArray()[y]);
    for (int x = 0; x < w; ++x) {
      const size_t i = size_t(y) * size_t(w) + size_t(x);
      rgb[3 * i] = line[x].r;
      rgb[3 * i + 1] = line[x].g;
      rgb[3 * i + 2] = line[x].b;
      if (alpha != nullptr) alpha[i] = line[x].a;
    }
  }
  return image;
}

void BmpFromWxImage(const wxImage& image, PLBmp& bmp) {
  const int w = image.GetWidth();
  const int h = image.GetHeight();
  bmp.Create(w, h, 32, image.HasAlpha());
  PLBmpLock lock(bmp, false, true);
  const unsigned char* rgb = image.GetData();
  const unsigned char* alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    for (int x = 0; x < w; ++x) {
      const size_t i = size_t(y) * size_t(w) + size_t(x);
      line[x] = PLPixel32::FromRgba(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2], alpha != nullptr ? alpha[i] : 255);
    }
  }
}

bool WxImageClipboard::Open() {
  // The desktop passes bitmaps as PNG.
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  return wxTheClipboard->Open();
}

void WxImageClipboard::Close() { wxTheClipboard->Close(); }

void WxImageClipboard::Empty() { wxTheClipboard->Clear(); }

bool WxImageClipboard::IsFormatAvailable(int format) const {
  return IsImageFormat(format) && wxTheClipboard->IsSupported(wxDataFormat(wxDF_BITMAP));
}

std::optional<std::vector<uint8_t>> WxImageClipboard::GetData(int format) {
  if (!IsImageFormat(format)) return std::nullopt;
  wxBitmapDataObject object;
  if (!wxTheClipboard->GetData(object) || !object.GetBitmap().IsOk()) return std::nullopt;
  const wxImage image = object.GetBitmap().ConvertToImage();
  if (!image.IsOk()) return std::nullopt;
  try {
    PLWinBmp bmp;
    BmpFromWxImage(image, bmp);
    return bmp.CopyToGlobalMemory();
  } catch (const PLTextException&) {
    return std::nullopt;
  }
}

bool WxImageClipboard::SetData(int format, std::vector<uint8_t> data) {
  if (!IsImageFormat(format)) return false;
  try {
    PLWinBmp bmp;
    bmp.CreateFromDIB(data);
    const wxImage image = WxImageOf(bmp);
    if (!image.IsOk()) return false;
    return wxTheClipboard->SetData(new wxBitmapDataObject(wxBitmap(image)));
  } catch (const PLTextException&) {
    return false;
  }
}

}  // namespace vornel
