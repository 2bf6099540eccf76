#pragma once
// The part converter: turns one voice of one "part" element into nodes of the converted tree,
// appended to the sequence the score converter hands it. It keeps voice time against measure
// time in fractions of a whole note and adds what it makes to the element on top of its
// stack, so the output follows the order of the MusicXML elements.
//
// This file holds the converter's state, its construction and initialisation and the element
// stack. The element handlers (measures, attributes, directions, texts, endings, notes and
// notations) derive further visitor interfaces and live in files of their own beside it.

#include <cstddef>
#include <cstdint>
#include <deque>

#include "import/musicxml/vornelelement.h"
#include "musicxml/factory/musicxml.h"
#include "musicxml/tree/fraction.h"
#include "musicxml/tree/xmlelement.h"
#include "musicxml/visitors/visitor.h"

namespace vornel {

class xmlpart2vornel : public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part")>> {
 public:
  using Spart = MusicXML2::Smusicxml<MusicXML2::ElementType("part")>;
  using fraction = MusicXML2::fraction;

  // The three options: a comment element opens each measure; stem tags (kept, not read); every
  // measure end asks for a bar. Resets the per-voice note status table.
  xmlpart2vornel(bool generateComments, bool generateStems, bool generateBars);
  ~xmlpart2vornel() override = default;

  // Converts the voice `voice` of staff `staff` into `sequence`, which becomes the element on
  // top of the stack. `staffIndex` numbers the staff jumps; with `notesOnly` directions, clefs,
  // keys and time signatures are left to the voice converted before on the same staff; the
  // voice starts in the time signature `timeSignature`.
  void initialize(const Svornelelement& sequence, int staff, int staffIndex, int voice, bool notesOnly,
                  const fraction& timeSignature);

  // Dynamics and other directions carry position parameters; set by the score converter.
  void setGeneratePositions(bool positions) { generatePositions_ = positions; }
  bool generatePositions() const { return generatePositions_; }
  // The time signature reached, handed on to the next converter.
  const fraction& currentTimeSignature() const { return currentTimeSign_; }

  // --- the element stack
  // Appends to the element on top (nothing without one).
  void add(const Svornelelement& element);
  // Appends to the element on top and puts the new element on top.
  void push(const Svornelelement& element);
  // Takes the top element off; never the sequence given to initialize.
  void pop();
  // The element on top; null before initialize.
  Svornelelement current() const;
  size_t stackDepth() const { return stack_.size(); }

  // The start of a part: every per-part state back to its start and divisions 1.
  void visitStart(Spart& elt) override;

 protected:
  std::deque<Svornelelement> stack_;
  size_t stackFloor_ = 0;  // elements of the stack that pop leaves

  // Options.
  bool generateComments_;
  bool generateStems_;
  bool generateBars_;
  bool generatePositions_ = true;

  // Pending flags.
  bool inCue_ = false;
  bool inGrace_ = false;
  bool inhibitNextBar_ = false;
  bool pendingBar_ = false;
  bool beamOpen_ = false;
  bool measureEmpty_ = true;
  bool crescendoPending_ = false;

  MusicXML2::Sxmlelement currentMeasure_;
  bool notesOnly_ = false;
  bool skipDirection_ = false;
  int staffIndex_ = 0;
  int currentStaff_ = 0;
  int targetStaff_ = 0;
  int targetVoice_ = 0;
  int divisions_ = 1;
  int directionOffset_ = 0;

  // Times in whole notes.
  fraction measureLength_{0, 1};
  fraction measurePosition_{0, 1};
  fraction voicePosition_{0, 1};
  fraction currentTimeSign_{0, 1};

  int measureNumber_ = 0;
  int beamNumber_ = 0;
  int stemDirection_ = 0;  // last stem tag: 0 auto, 1 up, 2 down, 3 off
  int octaveShift_ = 0;
};

}  // namespace vornel
