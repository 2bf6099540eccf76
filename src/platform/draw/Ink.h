#pragma once
// What a drawing call put on the page: the box of each drawn item (a glyph, a piece of text,
// a straight stretch of a line or of a curve, a filled shape, a picture) with what kind of
// thing the renderer was drawing at the time. A device reports its items to an observer when
// one is set; the collision check of the typesetting tool and the measuring of what a system
// covers above and below its staves both listen there.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

// How an item was drawn.
enum class InkShape : uint8_t { kGlyph, kText, kLine, kCurve, kFill, kPicture };

// What the renderer was drawing: set by the renderers around their drawing (InkSourceScope)
// and kept by the device with each item it reports.
enum class InkSource : uint8_t {
  kOther,           // not told
  kStaffLine,       // staff and course lines, the stave's frame
  kLedgerLine,
  kBarLine,         // bar lines and repeat dots
  kSystemLine,      // the lines, brackets and braces that join staves and systems
  kClef,
  kKeySignature,
  kTimeSignature,
  kNoteHead,
  kAccidental,
  kRest,
  kDot,             // augmentation dots
  kStem,
  kBeam,
  kFlag,            // flags on the stems of notes
  kRhythmFlag,      // the rhythm signs over a tablature
  kTuplet,
  kTabLetter,       // letters and figures of the courses
  kBourdon,         // letters of the bass courses under the stave
  kOrnament,
  kFingering,
  kSlur,            // slurs, ties, slides and legato lines
  kChordEffect,
  kMetaText,        // texts of meta-events: captions, dynamics, tempo, endings
  kMetaGlyph,       // glyphs and lines of meta-events: fermatas, hairpins, signs
  kLyric,
  kBarNumber,
  kInstrumentName,  // names of instruments and the tuning labels
  kHeading,         // a section's title, author and comments, its end text
  kSystemText,      // a system's caption, rich text and picture
  kPageText,        // page numbers, headers, footnotes, track texts
  kScreenMark,      // what only the screen shows: markers, highlights, frames
  kCount
};

// The kind's name in the collision report.
std::string_view InkSourceName(InkSource source);

struct InkItem {
  double left = 0;  // device pixels, viewport applied
  double top = 0;
  double right = 0;
  double bottom = 0;
  InkShape shape = InkShape::kGlyph;
  InkSource source = InkSource::kOther;
  int32_t group = 0;      // the system (or other block) the renderer said it was drawing
  uint32_t call = 0;      // the drawing call: the pieces of one line or text share it
  uint32_t anchor = 0;    // the chord whose letters a mark belongs to; 0 none
  std::string_view text;  // the text of a glyph or text item; valid during the report only
  // The device's clip rectangle when one was set. The box above is the whole item: layout
  // asks where ink reaches whatever part of the page a repaint shows; what is seen is the
  // part inside the clip (VisiblePart).
  bool clipped = false;
  double clipLeft = 0;
  double clipTop = 0;
  double clipRight = 0;
  double clipBottom = 0;

  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
};

// The part of an item inside the device's clip; false when none of it is.
bool VisiblePart(InkItem& item);

class InkObserver {
 public:
  virtual ~InkObserver() = default;
  virtual void OnInk(const InkItem& item) = 0;
};

// The union of what was drawn while it listened; passes every item on to the observer that
// listened before it.
class InkExtent : public InkObserver {
 public:
  explicit InkExtent(InkObserver* next = nullptr) : next_(next) {}
  void OnInk(const InkItem& item) override;
  bool Empty() const { return left_ > right_; }
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Right() const { return right_; }
  double Bottom() const { return bottom_; }

 private:
  InkObserver* next_;
  double left_ = 1e300;
  double top_ = 1e300;
  double right_ = -1e300;
  double bottom_ = -1e300;
};

}  // namespace vornel
