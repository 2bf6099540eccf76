#pragma once
// Picture texts (DIBornament): the image file of a section's or a system's caption picture,
// decoded once and kept while its file stays the same, drawn at its place, scale and zoom
// with its caption, and printed into a rectangle. A picture whose file cannot be found or
// read keeps its path (so a save loses nothing) and shows a framed placeholder with the
// file's name.

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class CBriotabDoc;
class DIBornament;
class DeviceContext;
class PLWinBmpEx;

// The decoded pictures of one document, the most recently used first, each kept while its
// file stays the same. The drawing finds it through the drawing context (DrawContext.h);
// without one, pictures are decoded for each drawing.
class PictureCache {
 public:
  PictureCache();
  ~PictureCache();
  PictureCache(const PictureCache&) = delete;
  PictureCache& operator=(const PictureCache&) = delete;

  // The decoded image of the file at `path`, read again when the file changed; null when it
  // is missing or is no image.
  std::shared_ptr<PLWinBmpEx> Bitmap(const std::string& path);
  // Forgets the image of the file at `path`: it is read again when next asked for.
  void Forget(const std::string& path);

 private:
  struct Entry;
  std::list<Entry> entries_;
};

// The picture cache of a document, made on first use and gone with the document.
PictureCache& PicturesOf(CBriotabDoc& doc);

// The message when a picture cannot be printed.
inline constexpr const char* kPrintImageError = "Error printing image!!";

// Sets the picture's path and decodes the file afresh into `pictures`; false (the path set
// all the same) when the file cannot be read as an image.
bool LoadImageFile(PictureCache& pictures, DIBornament& picture, const std::string& path);
// Asks for an image file and loads it; true when a file was chosen.
bool BrowseImage(PictureCache& pictures, DIBornament& picture);

// Draws the picture with its offsets from `anchor` at `zoom` percent; returns what it
// covered, empty (and nothing drawn) for a picture without a path.
Rect DrawPicture(DeviceContext& dc, DIBornament& picture, int32_t zoom, Point anchor);
// The same with the picture's top left at `at`, whatever its offsets; the caption only when
// asked for.
Rect DrawPictureAt(DeviceContext& dc, DIBornament& picture, int32_t zoom, Point at, bool withCaption = true);
// The size the picture takes without its caption on `dc` at `zoom` (a missing file's
// placeholder size); empty for a picture without a path.
Size PictureExtent(const DeviceContext& dc, const DIBornament& picture, int32_t zoom);
// The pixels of the picture's image; nothing when it has no path or cannot be read.
std::optional<Size> PicturePixels(PictureCache& pictures, const DIBornament& picture);
// A system's picture at a point of its stave on screen, stretched into `printRect` when
// printing.
Rect DrawPictureAtPosition(DeviceContext& dc, DIBornament& picture, int32_t zoom, Point at, const Rect& printRect);
// The picture stretched into `rect` (the caption only when it has no path); false, after
// the message kPrintImageError, when the image cannot be drawn.
bool PrintImage(DeviceContext& dc, DIBornament& picture, const Rect& rect);

}  // namespace vornel
