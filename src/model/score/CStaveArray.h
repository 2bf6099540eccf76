#pragma once
// A system: one line of music across the page inside a section, made of the instrument lines
// that sound together there (line j of every system belongs to instrument definition j of
// the section), with the system's caption, rich-text box, caption picture, indents and
// switches, and the bars its numbering found.
//
// Nearly every system leaves its caption, rich-text box and picture empty: a system holds its
// own only once one is set (or read from a file), and otherwise shows a shared empty one.

#include <tinyxml2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BuildBudget.h"
#include "model/score/CBar.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CKey.h"
#include "model/text/CRTFTrackText.h"
#include "model/text/CTrackText.h"
#include "model/text/DIBornament.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class XmlSink;

class CInstrumentDlg;
class DeviceContext;

// What a system shows besides its music.
struct SystemCaption {
  CRTFTrackText rtfBox;
  std::string captionString;  // the caption's wording as the system keeps it
  CTrackText captionText;
  DIBornament captionPicture;

  bool operator==(const SystemCaption&) const = default;
};

class CStaveArray : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CStaveArray";
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<208> buildCharge;
  static constexpr std::string_view kCaptionName = "caption";

  // The four-byte fields come first so that they pack against the base class.
  int32_t printTuning = 0;
  int32_t barSequenceRestart = 0;  // bar numbers start again at 1 here
  int32_t hidden = 0;          // bar numbering and gathering skip the system
  int32_t nameInstruments = 0;
  int32_t leftIndents = 0;
  int32_t rightIndents = 0;
  uint32_t positionWord = 0;   // (last system index) << 16 | this system's index
  Rect area;                   // the stave layout
  int32_t activeInstrument = 0;
  // Top to bottom; a system of one instrument holds its line without an array block.
  OwnedArray<CInstrument, true> lines;

  // --- run-time values of layout and numbering
  int32_t nameWidth = 0;       // room before the staves for names and leading signs
  Rect optionsArea;
  std::array<uint32_t, 2> layoutWords = {0, 0};
  float scale = 0.0f;
  uint32_t firstBar = 0;  // set by the section's bar numbering
  uint32_t nextBar = 0;
  CBarArray bars;
  CKey key;

  CStaveArray();
  // A system holding one line built from `definition`; its caption text keeps an empty name.
  explicit CStaveArray(CInstrumentDlg& definition);
  ~CStaveArray() override;
  CStaveArray(const CStaveArray&) = delete;
  CStaveArray& operator=(const CStaveArray&) = delete;

  // The caption, rich-text box and picture: the system's own, or the empty ones a new system
  // shows when it has none. Reading never builds the system's own.
  const SystemCaption& Caption() const { return caption_ != nullptr ? *caption_ : EmptyCaption(emptyCaption_); }
  // The system's own, built from the empty ones when it has none yet: the way to change them.
  SystemCaption& EditCaption();
  // The system's own when it has one, else null; drawing keeps where it drew them there.
  SystemCaption* OwnCaption() { return caption_.get(); }
  const SystemCaption* OwnCaption() const { return caption_.get(); }

  // Replaces the lines by one line per definition, in order.
  void RebuildLines(const std::vector<CInstrumentDlg*>& definitions);
  CInstrument* Line(size_t index) const { return lines.at(index); }
  // True when no line holds an event.
  bool HasNoMusic() const;
  // The largest event count over the voices of the lines (a voice ending in something other
  // than a chord counts one less).
  size_t GetMaxChordCount() const;

  // Lays out every line of a visible instrument on a measuring device like `dc` (the screen's
  // when null), from the top of the rectangle; the system's area ends at the total height,
  // which is returned.
  int32_t MeasureLines(DeviceContext* dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The line under (x, y) becomes active and is hit-tested; 0 when no line is hit.
  int HitTestLine(int32_t x, int32_t y);

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "system" with its index, layout, texts and lines.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc, int32_t index) const;
  void WriteXml(XmlSink& out, int32_t index) const;
  // Requires "system" and its "instruments"; reads as many lines as "count" says and the
  // children hold. Returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

 private:
  // The empty blocks differ in the caption text's name (a system built for a definition has
  // none) and in the picture's caption placement (the binary form reads it as below).
  static constexpr uint8_t kUnnamedCaption = 1;
  static constexpr uint8_t kPictureCaptionBelow = 2;
  static constexpr uint8_t kEmptyCaptionKinds = 4;
  static const SystemCaption& EmptyCaption(uint8_t kind);
  // Gives up the system's own block when it equals one of the empty ones.
  void DropEmptyCaption();

  uint8_t emptyCaption_ = 0;                // which empty one
  std::unique_ptr<SystemCaption> caption_;  // null while the system shows an empty one
};

}  // namespace vornel
