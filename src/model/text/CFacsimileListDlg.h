#pragma once
// The facsimile list of a section or of the title page: pictures of the sources (local image
// files or web addresses), each with a caption kept as RTF. The two lists stay parallel: the
// caption of entry i is captions[i]. The dialog that edits the list belongs to the window
// layer; the geometry that fits a facsimile on a page is here as arithmetic.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

// The web hosts of the image folders: an old image-folder prefix read from XML, and an old
// collections prefix read from the binary form, are rewritten to the current ones.
inline constexpr std::string_view kOldImageFolderPrefix = "http://www.vornel-lute.net/lute/filesrc/images/facsimiles/";
inline constexpr std::string_view kImageFolderPrefix = "http://www.vornel.org/images/facsimiles/";
inline constexpr std::string_view kOldCollectionsPrefix = "http://www.vornel-lute.net/collections/filesrc/";
inline constexpr std::string_view kWebRoot = "http://www.vornel.org/";

// True when `extension` (the last four characters of a path) is ".tif", ".gif", ".jpg",
// ".bmp" or ".png" in any case.
bool IsImageExtension(std::string_view extension);
// True when the path ends in one of those extensions.
bool IsImagePath(std::string_view path);

class CFacsimileListDlg {
 public:
  std::vector<std::string> imagePaths;  // file paths (absolute or relative) or "http..." addresses
  std::vector<std::string> captions;    // RTF, empty for none

  size_t size() const { return imagePaths.size(); }

  // A copy of the entry's path; an index outside the list raises std::out_of_range.
  std::string GetImagePath(size_t index) const;
  // The text after the last backslash, else after the last slash, else the whole path.
  std::string GetImageName(size_t index) const;
  // Entries that name image files.
  size_t CountImageFiles() const;
  // The first image-file entry at or after `start`; the entry count when there is none.
  size_t FindImageFile(size_t start) const;
  // Appends an entry with an empty caption.
  void AddImage(std::string_view path);
  // Removes an entry and its caption; an index outside the list raises std::out_of_range.
  void RemoveImage(size_t index);

  // "facsimiles" with "nb-images" and one "image" per entry (caption as text; "path",
  // "name", "location").
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Appends the entries of a "facsimiles" element (the element itself is checked) and
  // returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // The paths, then the captions, each as a string array.
  void Store(ArchiveWriter& ar) const;
  // Replaces the list. Captions only from version "9.6.7.5" on; the captions always end up
  // as many as the paths.
  void Load(ArchiveReader& ar);
  // The older form without captions: the paths alone, each with an empty caption.
  void LoadPathsOnly(ArchiveReader& ar);

 private:
  void MatchCaptionsToPaths();
};

// What the device offers a facsimile page: its printable size in pixels and pixels per inch,
// the screen's pixels per inch (images are sized for the screen they were seen on), and the
// left edge of the page rectangle that the page settings last computed.
struct FacsimileDevice {
  int32_t horzRes = 0;
  int32_t vertRes = 0;
  int32_t logPixelsX = 0;
  int32_t logPixelsY = 0;
  int32_t screenDpiX = 0;
  int32_t screenDpiY = 0;
  int32_t pageLeft = 0;
};

struct FacsimileLayout {
  Rect image;    // where the bitmap is stretched, centred on the device
  Rect caption;  // the same size, right below the image
};

// Fits an image of `width` × `height` pixels on the device: at its natural size when it fits,
// otherwise scaled to the full width or height keeping its aspect ratio, then shrunk by four
// times the page's left edge. Nothing when there is nothing to draw.
std::optional<FacsimileLayout> LayoutFacsimile(int32_t width, int32_t height, const FacsimileDevice& device);

}  // namespace vornel
