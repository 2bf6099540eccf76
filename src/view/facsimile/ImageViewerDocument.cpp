#include "view/facsimile/ImageViewerDocument.h"

#include <algorithm>
#include <vector>

#include "image/bitmap/DeviceBitmapOf.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLClipboard.h"
#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmpEx.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/codec/external/PLJPEGEncoder.h"
#include "image/codec/external/PLTIFFEncoder.h"
#include "image/large/LargeImageSource.h"
#include "image/large/TiledPicture.h"
#include "platform/UserPrompts.h"
#include "platform/draw/DeviceContext.h"
#include "platform/text/FormatText.h"
#include "view/facsimile/ImageDownload.h"
#include "view/facsimile/ZoomViewState.h"

namespace vornel::view {

namespace {

// A large scan goes to the clipboard reduced to at most this many pixels.
constexpr int64_t kMaxClipboardPixels = int64_t(16) << 20;

// The whole of a large scan at the smallest power-of-two reduction that `fits` accepts.
template <typename Fits>
void ReadReduced(LargeImageSource& source, int factor, const Fits& fits, PLBmp& out) {
  while (factor < LargeImageSource::kMaxFactor && !fits(factor)) factor *= 2;
  source.Read({0, 0, source.Width(), source.Height()}, factor, out);
}

std::string LowerExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return {};
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension;
}

}  // namespace

ImageViewerDocument::ImageViewerDocument() = default;
ImageViewerDocument::~ImageViewerDocument() = default;

bool ImageViewerDocument::Open(const std::string& path, Size overview, IProgressNotification* progress) {
  // The old picture goes first: a scan and its successor are never held together.
  Close();
  try {
    std::unique_ptr<LargeImageSource> source = OpenPartialImageSource(path, progress);
    if (source && IsLargeImage(source->Width(), source->Height())) {
      large_ = std::make_unique<TiledPicture>(std::move(source), overview.cx, overview.cy,
                                              TiledPicture::kDefaultCacheBytes, progress);
    } else {
      auto image = std::make_unique<PLWinBmpEx>();
      PLAnyPicDecoder decoder;
      decoder.MakeBmpFromFile(path, *image, 0, progress);
      image_ = std::move(image);
    }
  } catch (const PLTextException& e) {
    Close();
    if (e.GetCode() != kPLErrCancelled) Prompts().ShowMessage(e.GetText(), MessageKind::kError);
    return false;
  }
  path_ = path;
  return true;
}

void ImageViewerDocument::Close() {
  image_.reset();
  large_.reset();
}

Size ImageViewerDocument::ImageSize() const {
  if (image_) return {image_->GetWidth(), image_->GetHeight()};
  if (large_) return {large_->Width(), large_->Height()};
  return {10, 10};
}

void ImageViewerDocument::Prepare(const ZoomViewState& zoom, IProgressNotification* progress) {
  if (!large_) return;
  const Size client = zoom.ClientSize();
  const Rect visible = zoom.ToLogical(Rect{0, 0, client.cx, client.cy});
  try {
    large_->Prepare(visible, zoom.Zoom(), progress);
  } catch (const PLTextException& e) {
    // The overview stands in for what could not be read; the file changed or is damaged.
    if (e.GetCode() != kPLErrCancelled) Prompts().ShowMessage(e.GetText(), MessageKind::kError);
  }
}

void ImageViewerDocument::Draw(DeviceContext& dc, const ZoomViewState& zoom, const Rect& update) const {
  if (!HasImage()) return;
  const Size size = ImageSize();
  Rect src = zoom.ToLogical(update);
  src.Normalize();
  src.Inflate(1, 1);
  src = {std::max(src.left, 0), std::max(src.top, 0), std::min(src.right, size.cx), std::min(src.bottom, size.cy)};
  if (src.IsEmpty()) return;
  const Rect dst = zoom.ToDevice(src);
  if (image_) image_->StretchDraw(dc, false, &dst, &src);
  else large_->Draw(dc, dst, src);
}

void ImageViewerDocument::Print(DeviceContext& dc, int32_t horzRes, int32_t vertRes, int32_t dpiX,
                                int32_t dpiY) const {
  if (!HasImage()) return;
  const Size size = ImageSize();
  Rect dst = ImagePrintDestination(size.cx, size.cy, horzRes, vertRes, dpiX, dpiY);
  if (dst.IsEmpty()) return;
  if (image_) {
    Rect src{0, 0, size.cx, size.cy};
    image_->StretchDraw(dc, false, &dst, &src);
    return;
  }
  PLAnyBmp reduced;
  const double scale = double(dst.Width()) / size.cx;
  try {
    ReadReduced(large_->Source(), ReductionForScale(scale), [&](int f) {
      return DeviceBitmap::ValidSize((size.cx + f - 1) / f, (size.cy + f - 1) / f);
    }, reduced);
  } catch (const PLTextException& e) {
    Prompts().ShowMessage(e.GetText(), MessageKind::kError);
    return;
  }
  const DeviceBitmap bitmap = DeviceBitmapOf(reduced);
  if (!bitmap.IsEmpty()) dc.StretchBlt(dst, bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
}

bool ImageViewerDocument::CopyTo(PLClipboard& clipboard) const {
  if (image_) return image_->ToClipboard(clipboard);
  if (!large_) return false;
  const Size size = ImageSize();
  PLWinBmp reduced;
  try {
    ReadReduced(large_->Source(), 1, [&](int f) {
      return int64_t((size.cx + f - 1) / f) * ((size.cy + f - 1) / f) <= kMaxClipboardPixels;
    }, reduced);
  } catch (const PLTextException& e) {
    Prompts().ShowMessage(e.GetText(), MessageKind::kError);
    return false;
  }
  return reduced.ToClipboard(clipboard);
}

bool ImageViewerDocument::PasteFrom(PLClipboard& clipboard) {
  if (!HasImage()) return false;
  auto image = std::make_unique<PLWinBmpEx>();
  if (!image->FromClipboard(clipboard, PLClipboard::kFormatDib) &&
      !image->FromClipboard(clipboard, PLClipboard::kFormatBitmap)) {
    return false;
  }
  large_.reset();
  image_ = std::move(image);
  return true;
}

void ImageViewerDocument::Save() {
  if (large_) {
    Prompts().ShowMessage("This scan is too large to be saved from the viewer", MessageKind::kWarning);
    return;
  }
  if (!image_) return;
  if (image_->GetBitsPerPixel() != 32) {
    Prompts().ShowMessage(kCannotSaveNonTrueColour, MessageKind::kWarning, kCannotSaveCaption);
    return;
  }
  const std::optional<std::string> chosen = Prompts().PromptSaveFile("Save image", "*.jpg;*.tif", "");
  if (!chosen) return;
  const std::string path = WithSaveExtension(*chosen, {".jpg", ".tif", ".jpeg", ".tiff"});
  const std::string extension = LowerExtension(path);
  try {
    if (extension == "tif" || extension == "tiff") {
      PLTIFFEncoder().MakeFileFromBmp(path, *image_);
    } else {
      PLJPEGEncoder().MakeFileFromBmp(path, *image_);
    }
  } catch (const PLTextException& e) {
    Prompts().ShowMessage(e.GetText(), MessageKind::kError);
  }
}

void ImageViewerDocument::ClearCachedImage(const std::string& cacheFolder) {
  if (!IsCachedImage(cacheFolder, path_)) {
    Prompts().ShowMessage(kNotACachedFile);
    return;
  }
  if (DeleteCachedImage(cacheFolder, path_)) {
    Prompts().ShowMessage(FormatText(kCachedImageDeleted, path_.c_str()));
  } else {
    Prompts().ShowMessage(FormatText(kUnableToDelete, path_.c_str()), MessageKind::kError);
  }
}

}  // namespace vornel::view
