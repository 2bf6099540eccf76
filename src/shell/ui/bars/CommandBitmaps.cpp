#include "shell/ui/bars/CommandBitmaps.h"

#include <wx/artprov.h>
#include <wx/image.h>

#include "shell/bars/CommandIcons.h"

namespace vornel {

wxBitmap ToWxBitmap(const DeviceBitmap& bitmap) {
  if (bitmap.IsEmpty()) return wxBitmap();
  wxImage image(bitmap.Width(), bitmap.Height());
  image.InitAlpha();
  unsigned char* rgb = image.GetData();
  unsigned char* alpha = image.GetAlpha();
  const uint32_t* pixels = bitmap.Data();
  const int64_t count = int64_t(bitmap.Width()) * bitmap.Height();
  for (int64_t i = 0; i < count; ++i) {
    const uint32_t p = pixels[i];
    const unsigned a = p >> 24;
    // Back from premultiplied colour.
    const auto channel = [a](uint32_t c) { return static_cast<unsigned char>(a == 0 ? 0 : std::min(255u, c * 255 / a)); };
    rgb[3 * i] = channel((p >> 16) & 0xFF);
    rgb[3 * i + 1] = channel((p >> 8) & 0xFF);
    rgb[3 * i + 2] = channel(p & 0xFF);
    alpha[i] = static_cast<unsigned char>(a);
  }
  return wxBitmap(image);
}

wxBitmap CommandBitmaps::Get(int id, int size, const std::string& label) {
  const auto key = std::make_pair(id, size);
  if (const auto found = bitmaps_.find(key); found != bitmaps_.end()) return found->second;
  const bars::IconSource source = bars::IconFor(id);
  wxBitmap bitmap;
  if (source.kind == bars::IconKind::kArt) {
    bitmap = wxArtProvider::GetBitmap(wxString(source.art.data(), source.art.size()), wxART_TOOLBAR, wxSize(size, size));
    // A theme may give another size: the bars want exactly this one.
    if (bitmap.IsOk() && (bitmap.GetWidth() != size || bitmap.GetHeight() != size)) {
      bitmap = wxBitmap(bitmap.ConvertToImage().Rescale(size, size, wxIMAGE_QUALITY_HIGH));
    }
  }
  if (!bitmap.IsOk()) bitmap = ToWxBitmap(bars::DrawIcon(source, id, label, size));
  bitmaps_.emplace(key, bitmap);
  return bitmap;
}

}  // namespace vornel
