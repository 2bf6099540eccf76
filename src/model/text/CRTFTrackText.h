#pragma once
// A track text whose content is rich text (RTF), laid out in a rectangle of its own that the
// user can move and resize. The rectangle is kept with the text and restored on loading.

#include <tinyxml2.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/text/CTrackText.h"

namespace vornel {

class CRTFTrackText : public CTrackText {
 public:
  static constexpr std::string_view kClassName = "CRTFTrackText";
  static constexpr int32_t kHandleSize = 6;

  Rect storedRect;  // the rectangle kept in the files
  int32_t handleSize = kHandleSize;

  CRTFTrackText();

  bool operator==(const CRTFTrackText& other) const;

  std::unique_ptr<CTrackText> Clone() const override { return std::make_unique<CRTFTrackText>(*this); }

  // The drawn rectangle at (x, y), `width` wide; its bottom at y + height / 2 only when it
  // had none. The stored rectangle follows, and (x, y) becomes the position.
  void SetDefaultRect(int32_t left, int32_t top, int32_t width, int32_t height);
  // Moves the rectangle so that it is centred between two x positions.
  void CenterBetween(int32_t left, int32_t right);
  // Opens the rich-text editor on the RTF; on OK keeps the result (an empty text when the
  // user cleared it) and returns true. Drawing belongs to the layout area
  // (layout/richtext/RtfTrackTextDrawing.h).
  bool EditRtf();

  std::string_view ClassName() const override { return kClassName; }
  // The track-text part, the stored rectangle (left, top, right, bottom) and the origin.
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "rtf-track-text" named `name`: the track-text part, then "tracker" with the stored
  // rectangle and the origin.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc, std::string_view name) const;
  // Written through the text family, the element is named after the descriptor.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const override { return WriteXml(doc, descriptor); }
  // Reads an "rtf-track-text" element and returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element) override;
};

}  // namespace vornel
