#include "view/render/PictureText.h"

#include <algorithm>
#include <filesystem>
#include <list>
#include <memory>
#include <system_error>

#include "document/CBriotabDoc.h"
#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmpEx.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "model/text/DIBornament.h"
#include "model/StoredPath.h"
#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

namespace {

namespace fs = std::filesystem;

// The placeholder of a missing picture: 30 by 20 mm at 100 %.
constexpr int32_t kPlaceholderWidthTenths = 300;
constexpr int32_t kPlaceholderHeightTenths = 200;
// Pictures are drawn at their pixel size on a device of this resolution.
constexpr int32_t kPictureDpi = 96;
constexpr size_t kCachedPictures = 16;

// The file a stored path stands for: through the page's resolver (when `settings` has one),
// else as it stands.
std::string Resolve(const std::string& stored, const PageDrawSettings* settings) {
  std::string path = stored;
  if (settings != nullptr && settings->resolveImagePath && !settings->resolveImagePath(path)) return {};
  // Folders written by other systems may use backslashes.
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.starts_with("http")) return {};
  std::error_code error;
  return fs::is_regular_file(path, error) ? path : std::string();
}

// The decoded image of a stored path drawn on `dc`: through the cache of the drawing context,
// or decoded afresh without one.
std::shared_ptr<PLWinBmpEx> BitmapOf(const DeviceContext& dc, const std::string& stored) {
  const DrawContext* context = DrawContextOf(dc);
  const std::string path = Resolve(stored, context != nullptr ? &context->Settings() : nullptr);
  if (context != nullptr && context->Pictures() != nullptr) return context->Pictures()->Bitmap(path);
  PictureCache once;
  return once.Bitmap(path);
}

int32_t Scale(int32_t pixels, uint32_t sizePercent, int32_t dpi, int32_t zoom) {
  const int32_t percent = static_cast<int32_t>(std::min<uint32_t>(sizePercent == 0 ? 100 : sizePercent, 10000));
  return MulDiv(MulDiv(MulDiv(pixels, percent, 100), dpi, kPictureDpi), zoom < 1 ? 100 : zoom, 100);
}

// The caption below the picture (placement 1) or above it.
Rect DrawCaption(DeviceContext& dc, DIBornament& picture, int32_t zoom, const Rect& image) {
  if (picture.text.empty() || (picture.flags & CTrackText::kVisible) == 0) return {};
  const bool below = picture.captionPlacement == DIBornament::kCaptionBelow;
  Rect r = DrawFontText(picture.text, picture.font, dc, TA_LEFT | TA_TOP, static_cast<float>(zoom), below ? 0 : 1, 0,
                        image.left, below ? image.bottom : image.top);
  return r;
}


// A frame with the file's name where a picture cannot be shown.
Rect DrawPlaceholder(DeviceContext& dc, const DIBornament& picture, const Rect& box) {
  GraphicUtil g(dc, 100);
  g.DrawRectOutline(box, 0x969696);
  g.DrawThinLine(10, 0xC8C8C8, box.left, box.top, box.right, box.bottom);
  g.DrawThinLine(10, 0xC8C8C8, box.left, box.bottom, box.right, box.top);
  const std::string name = SplitStoredPath(picture.path).name;
  g.DrawTextAt(box.CenterPoint().x, box.CenterPoint().y, name, 8, 0, 0x646464, TA_CENTER | TA_BASELINE);
  return box;
}

Rect PlaceholderBox(int32_t dpiX, int32_t dpiY, const DIBornament& picture, int32_t zoom, Point at) {
  const int32_t w = Scale(MulDiv(kPlaceholderWidthTenths, kPictureDpi, 254), picture.sizePercent, dpiX, zoom);
  const int32_t h = Scale(MulDiv(kPlaceholderHeightTenths, kPictureDpi, 254), picture.sizePercent, dpiY, zoom);
  return {at.x, at.y, at.x + w, at.y + h};
}

}  // namespace

struct PictureCache::Entry {
  std::string path;  // as resolved
  fs::file_time_type written;
  uintmax_t size = 0;
  std::shared_ptr<PLWinBmpEx> bitmap;  // null when the file is no image
};

PictureCache::PictureCache() = default;
PictureCache::~PictureCache() = default;

std::shared_ptr<PLWinBmpEx> PictureCache::Bitmap(const std::string& path) {
  if (path.empty()) return nullptr;
  std::error_code error;
  const fs::file_time_type written = fs::last_write_time(path, error);
  if (error) return nullptr;
  const uintmax_t size = fs::file_size(path, error);
  if (error) return nullptr;
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->path != path) continue;
    if (it->written == written && it->size == size) {
      entries_.splice(entries_.begin(), entries_, it);
      return entries_.front().bitmap;
    }
    entries_.erase(it);
    break;
  }
  auto bitmap = std::make_shared<PLWinBmpEx>();
  try {
    PLAnyPicDecoder decoder;
    decoder.MakeBmpFromFile(path, *bitmap, 32);
  } catch (const std::exception&) {
    bitmap.reset();
  }
  entries_.push_front({path, written, size, bitmap});
  if (entries_.size() > kCachedPictures) entries_.pop_back();
  return bitmap;
}

void PictureCache::Forget(const std::string& path) {
  entries_.remove_if([&](const Entry& e) { return e.path == path; });
}

namespace {

// Where a document keeps its pictures.
struct DocumentPictures : DocumentDrawingCache {
  PictureCache pictures;
};

}  // namespace

PictureCache& PicturesOf(CBriotabDoc& doc) {
  auto* held = dynamic_cast<DocumentPictures*>(doc.drawingCache.get());
  if (held == nullptr) {
    auto made = std::make_unique<DocumentPictures>();
    held = made.get();
    doc.drawingCache = std::move(made);
  }
  return held->pictures;
}

bool LoadImageFile(PictureCache& pictures, DIBornament& picture, const std::string& path) {
  picture.path = path;
  // A new choice is always read from its file.
  const std::string resolved = Resolve(path, nullptr);
  pictures.Forget(resolved);
  return pictures.Bitmap(resolved) != nullptr;
}

bool BrowseImage(PictureCache& pictures, DIBornament& picture) {
  const std::string chosen = BrowseImageFileName();
  if (chosen.empty()) return false;
  LoadImageFile(pictures, picture, chosen);
  return true;
}

Rect DrawPicture(DeviceContext& dc, DIBornament& picture, int32_t zoom, Point anchor) {
  if (picture.path.empty()) return {};
  const int32_t z = zoom < 1 ? 100 : zoom;
  const int32_t dx = MulDiv(MulDiv(SaneStoredLength(int64_t(picture.x) + picture.dx), dc.LogPixelsX(), 2540), z, 100);
  const int32_t dy =
      std::max(MulDiv(MulDiv(SaneStoredLength(int64_t(picture.y) + picture.dy), dc.LogPixelsY(), 2540), z, 100), 0);
  return DrawPictureAt(dc, picture, zoom, {anchor.x + dx, anchor.y + dy});
}

Rect DrawPictureAt(DeviceContext& dc, DIBornament& picture, int32_t zoom, Point at, bool withCaption) {
  if (picture.path.empty()) return {};
  const int32_t z = zoom < 1 ? 100 : zoom;
  Rect image;
  if (const auto bitmap = BitmapOf(dc, picture.path)) {
    image = {at.x, at.y, at.x + Scale(bitmap->GetWidth(), picture.sizePercent, dc.LogPixelsX(), z),
             at.y + Scale(bitmap->GetHeight(), picture.sizePercent, dc.LogPixelsY(), z)};
    bitmap->StretchDraw(dc, true, &image, nullptr);
  } else {
    image = DrawPlaceholder(dc, picture, PlaceholderBox(dc.LogPixelsX(), dc.LogPixelsY(), picture, z, at));
  }
  const Rect covered = withCaption ? UnionRect(image, DrawCaption(dc, picture, z, image)) : image;
  picture.drawnRect = covered;
  return covered;
}

Size PictureExtent(const DeviceContext& dc, const DIBornament& picture, int32_t zoom) {
  if (picture.path.empty()) return {};
  const int32_t z = zoom < 1 ? 100 : zoom;
  const int32_t dpiX = dc.LogPixelsX();
  const int32_t dpiY = dc.LogPixelsY();
  if (const auto bitmap = BitmapOf(dc, picture.path)) {
    return {Scale(bitmap->GetWidth(), picture.sizePercent, dpiX, z), Scale(bitmap->GetHeight(), picture.sizePercent, dpiY, z)};
  }
  const Rect box = PlaceholderBox(dpiX, dpiY, picture, z, {});
  return {box.Width(), box.Height()};
}

std::optional<Size> PicturePixels(PictureCache& pictures, const DIBornament& picture) {
  if (picture.path.empty()) return std::nullopt;
  const auto bitmap = pictures.Bitmap(Resolve(picture.path, nullptr));
  if (bitmap == nullptr) return std::nullopt;
  return Size{bitmap->GetWidth(), bitmap->GetHeight()};
}

Rect DrawPictureAtPosition(DeviceContext& dc, DIBornament& picture, int32_t zoom, Point at, const Rect& printRect) {
  if (dc.IsPrinting() && !printRect.IsEmpty()) {
    PrintImage(dc, picture, printRect);
    return printRect;
  }
  return DrawPicture(dc, picture, zoom, at);
}

bool PrintImage(DeviceContext& dc, DIBornament& picture, const Rect& rect) {
  if (picture.path.empty()) {
    if (!picture.text.empty()) DrawFontText(picture.text, picture.font, dc, TA_LEFT | TA_TOP, 100.0f, 0, 0, rect.left,
                                            rect.top);
    return true;
  }
  const auto bitmap = BitmapOf(dc, picture.path);
  if (bitmap == nullptr || !bitmap->StretchDraw(dc, false, &rect, nullptr)) {
    Prompts().ShowMessage(kPrintImageError, MessageKind::kError);
    return false;
  }
  return true;
}

}  // namespace vornel
