#pragma once
// A picture text: an image file placed on the score the way a track text is placed (the
// caption picture of a section or a system, the title-page picture). The track-text part
// holds the caption. The decoded image belongs to the drawing layer, which loads it from
// `path`; this record keeps what the files store.

#include <tinyxml2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/text/CTrackText.h"

namespace vornel {

class DIBornament : public CTrackText {
 public:
  static constexpr std::string_view kClassName = "DIBornament";

  // Where the caption is drawn: below the picture; 0 and 2 draw it above.
  static constexpr uint32_t kCaptionBelow = 1;
  // The title page's use of `mode`: a new picture, one read or chosen since.
  static constexpr int32_t kModeNew = 2;
  static constexpr int32_t kModeLoaded = 3;

  uint32_t autoIndent = 1;
  uint32_t indentedStaves = 0;
  uint32_t indentations = 0;
  std::string path;           // full path of the image file, kept as written
  uint32_t sizePercent = 100; // display scale
  uint32_t captionPlacement = 0;
  uint32_t active = 0;        // while 0, drawing loads the file first
  int32_t mode = kModeNew;    // not stored

  // Caption "Caption", offsets 50 and 50.
  DIBornament();

  bool operator==(const DIBornament& other) const;

  std::unique_ptr<CTrackText> Clone() const override { return std::make_unique<DIBornament>(*this); }
  bool IsPicture() const override { return true; }

  std::string_view ClassName() const override { return kClassName; }
  // The track-text part, then active, caption placement, path, size, indentations, indented
  // staves and auto-indent. Loading places the caption below the picture, so the placement is
  // written as "below".
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "dib-image": only "empty" = "1" without a path; otherwise the file name and folder, the
  // size and the active flag, the track-text part and a "format" child.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const override;
  // Reads a "dib-image" element and returns the element after it. Without a file name
  // nothing else is read.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element) override;
};

}  // namespace vornel
