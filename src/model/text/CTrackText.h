#pragma once
// A single positioned text with its own font, placed on a page, a system or the title page:
// titles, headings, captions, the page-number text and the texts of pictures. Its position is
// kept at zoom 100 relative to an anchor (the page or frame origin), with an offset in tenths
// of a millimetre; measuring and drawing belong to the drawing layer, the arithmetic that
// turns device rectangles into stored positions is here.

#include <tinyxml2.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/DrawTypes.h"
#include "model/text/dfLogFont.h"
#include "platform/archive/Persistent.h"

namespace vornel {

class CTrackText : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CTrackText";

  // Bits of `flags`; 0 hides the text.
  static constexpr uint32_t kVisible = 0x1;
  static constexpr uint32_t kBorder = 0x2;
  static constexpr uint32_t kShaded = 0x4;
  static constexpr uint32_t kCentered = 0x8;
  // dx and dy hold device offsets from the last drag until the next layout converts them.
  static constexpr uint32_t kPositionPending = 0x1000;

  // Text alignment handed to the text drawing: centred or left.
  static constexpr uint32_t kAlignCenter = 6;
  static constexpr uint32_t kAlignLeft = 0;
  // Tracker styles: solid line; dotted line with outside resize handles.
  static constexpr int32_t kTrackerSolid = 1;
  static constexpr int32_t kTrackerDottedResize = 18;

  // Placement modes of PlaceInBox.
  enum PlaceMode : int { kPlaceLeft = 0, kPlaceRight = 1, kPlaceCenter = 2 };

  uint32_t alignment = kAlignLeft;
  dfLogFont font;
  SizePair size;            // last drawn width and height, device units
  std::string text;         // lines separated by line feeds
  SizePair span;            // right and bottom limits used when centring
  std::string descriptor;   // role name such as "tp-title"
  int32_t zoom = 100;       // zoom at which the position was last computed
  uint32_t flags = kVisible;
  int32_t dx = 0;           // offset from the anchor, tenths of a millimetre
  int32_t dy = 0;
  Point origin;       // device position of the anchor at the last layout
  int32_t x = 0;            // position at zoom 100 relative to the origin
  int32_t y = 0;
  Rect drawnRect;     // the tracker's rectangle: where the text was last drawn
  int32_t trackerStyle = kTrackerSolid;
  int32_t lastZoom = 100;   // zoom of the last drawing

  CTrackText();
  explicit CTrackText(std::string_view descriptorName);
  CTrackText(const CTrackText&) = default;
  CTrackText& operator=(const CTrackText&) = default;
  CTrackText(CTrackText&&) = default;
  CTrackText& operator=(CTrackText&&) = default;

  // Every field alike, the places of the last drawing included.
  bool operator==(const CTrackText& other) const;

  virtual std::unique_ptr<CTrackText> Clone() const { return std::make_unique<CTrackText>(*this); }
  // The texts of one family read from one array: plain, rich and picture texts.
  static std::unique_ptr<CTrackText> CreateByClassName(std::string_view name);

  const std::string& GetText() const { return text; }
  void SetText(std::string_view newText) { text = std::string(newText); }
  // Pictures are placed like texts but never measured as text.
  virtual bool IsPicture() const { return false; }

  // Takes the text, font, alignment, flags, offsets, span, origin, position and zoom.
  void CopyFrom(const CTrackText& other);
  // Appends `addition` without its leading blanks, after " -- " when there is text already;
  // an addition equal to the current text, or blank, changes nothing.
  void AppendText(std::string_view addition);

  // Stores a device rectangle as the position: x and y at zoom 100 relative to the origin,
  // dx and dy as the offsets in tenths of a millimetre at the device's pixels per inch.
  void SetPlacement(const Rect& deviceRect, int32_t pixelsPerInchX, int32_t pixelsPerInchY);
  // Lays the text out in a box at a zoom: the box is normalised, the span becomes its right
  // and bottom, x follows `mode` from the measured width, and a given top replaces y. A text
  // with content then records the anchor and zoom and stores its device rectangle.
  void PlaceInBox(Rect box, int mode, std::optional<int32_t> top, SizePair measured, Point anchor,
                  int32_t zoomPercent, int32_t pixelsPerInchX, int32_t pixelsPerInchY);
  // After a drag: the new top-left corner (logical units) becomes the position; the device
  // offsets wait in dx, dy until ConvertPendingOffsets.
  void MoveTo(Point corner);
  // The next layout turns pending device offsets into tenths of a millimetre.
  void ConvertPendingOffsets(int32_t pixelsPerInchX, int32_t pixelsPerInchY);

  std::string_view ClassName() const override { return kClassName; }
  // Font, text, position, alignment, offsets and flags.
  void Store(ArchiveWriter& ar) const override;
  // The flags only from version "7.4" on (older texts are visible); the drawn rectangle is
  // cleared.
  void Load(ArchiveReader& ar) override;

  // "track-text" with the text as its content.
  virtual tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Reads a "track-text" element (missing attributes read 0) and returns the element after
  // it; a missing element changes nothing.
  virtual const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

// Splits `text` at every `separator`, working from the end: each piece after the last
// separator is appended right-trimmed, then the text before it is split further; the first
// piece comes last, untrimmed. An empty text gives no pieces. Returns the list's size.
size_t SplitStringAtChar(std::string_view text, char separator, std::vector<std::string>& pieces);

}  // namespace vornel
