#pragma once
// The picture of a score window's facsimile pane: one decoded image (or, for a large scan, a
// tiled source read in parts), the path it came from, and what the pane does with it without
// a window: draw the visible part through a zoom, print it on one page, copy and paste it,
// save it as JPEG or TIFF and delete it from the cache of downloaded images. Messages go
// through Prompts().

#include <cstdint>
#include <memory>
#include <string>

#include "platform/draw/DrawTypes.h"

namespace vornel {
class DeviceContext;
class IProgressNotification;
class PLClipboard;
class PLWinBmpEx;
class TiledPicture;
}  // namespace vornel

namespace vornel::view {

class ZoomViewState;

inline constexpr const char* kCannotSaveNonTrueColour = "Cannot save non true color files";
inline constexpr const char* kCannotSaveCaption = "Sorry...";
inline constexpr const char* kCachedImageDeleted = "Cached image at %s successfully deleted";
inline constexpr const char* kUnableToDelete = "Unable to delete file %s";
inline constexpr const char* kNotACachedFile = "File is NOT a cached file";
inline constexpr const char* kSaveImageFilter = "JPEG File (*.jpg)|*.jpg|TIFF File (*.tif)|*.tif|";

class ImageViewerDocument {
 public:
  // The size of the canvas a large scan first shows in; its overview is read for it.
  static constexpr Size kDefaultOverview{1920, 1080};

  ImageViewerDocument();
  ~ImageViewerDocument();
  ImageViewerDocument(const ImageViewerDocument&) = delete;
  ImageViewerDocument& operator=(const ImageViewerDocument&) = delete;

  // Decodes the file. A file that cannot be decoded is reported with the decoder's text and
  // leaves the viewer empty (false). Neither the working folder nor anything else changes.
  // `progress` hears how far decoding has come; when it cancels, the viewer is left empty
  // and nothing is said.
  bool Open(const std::string& path, Size overview = kDefaultOverview, IProgressNotification* progress = nullptr);
  void Close();

  bool HasImage() const { return image_ != nullptr || large_ != nullptr; }
  bool IsLarge() const { return large_ != nullptr; }
  // The picture's size in pixels; 10 x 10 without one.
  Size ImageSize() const;
  const std::string& Path() const { return path_; }
  PLWinBmpEx* Image() { return image_.get(); }

  // Decodes the tiles of a large scan that the view's visible part needs at its zoom; does
  // nothing for other pictures. Called before painting, never while painting. A cancel through
  // `progress` leaves the overview standing in, as a failure does, without a message.
  void Prepare(const ZoomViewState& zoom, IProgressNotification* progress = nullptr);
  // Draws the part of the picture under `update` (window pixels) through the zoom.
  void Draw(DeviceContext& dc, const ZoomViewState& zoom, const Rect& update) const;
  // Draws the whole picture on a printed page of `horzRes` x `vertRes` pixels at `dpiX` x
  // `dpiY`: the full width, or the full height when it is too tall. A large scan is read at
  // about the printed size.
  void Print(DeviceContext& dc, int32_t horzRes, int32_t vertRes, int32_t dpiX, int32_t dpiY) const;

  // The picture to the clipboard (a large scan as a copy reduced to at most 16 million pixels).
  bool CopyTo(PLClipboard& clipboard) const;
  // Replaces the picture by the clipboard's; nothing without a picture or with nothing there.
  bool PasteFrom(PLClipboard& clipboard);

  // Asks for a file and writes the picture as JPEG or TIFF; a name of another type gets the
  // ".jpg" extension. Only 32-bit pictures are saved.
  void Save();
  // Deletes the picture's file when it lies in the cache folder of downloaded images, and
  // says what happened.
  void ClearCachedImage(const std::string& cacheFolder);

 private:
  std::unique_ptr<PLWinBmpEx> image_;
  std::unique_ptr<TiledPicture> large_;
  std::string path_;
};

}  // namespace vornel::view
