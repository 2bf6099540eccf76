#pragma once
// The part converter: turns one voice of one "part" element into nodes of the converted tree,
// appended to the sequence the score converter hands it. It keeps voice time against measure
// time in whole notes and adds what it makes to the element on top of its stack, so the
// output follows the order of the MusicXML elements.
//
// The handlers live in files of their own: measures, barlines, time signatures and clefs in
// PartConverterMeasures.cpp; directions, texts, endings, harmonies, keys and the voice-time
// check in PartConverterDirections.cpp; notes and their notations in PartConverterNotes.cpp.
// Warnings go to ImportWarnings(), one line each.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "import/musicxml/vornelelement.h"
#include "musicxml/factory/musicxml.h"
#include "musicxml/tree/fraction.h"
#include "musicxml/tree/xmlelement.h"
#include "musicxml/visitors/clefvisitor.h"
#include "musicxml/visitors/notevisitor.h"
#include "musicxml/visitors/timesignvisitor.h"
#include "musicxml/visitors/visitor.h"

namespace vornel {

template <int32_t N>
using XmlHandle = MusicXML2::Smusicxml<N>;

class xmlpart2vornel : public MusicXML2::clefvisitor,
                       public MusicXML2::timesignvisitor,
                       public MusicXML2::metronomevisitor,
                       public MusicXML2::notevisitor,
                       public MusicXML2::keysignvisitor,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("attributes")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("backup")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("barline")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("coda")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("direction")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("divisions")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("dynamics")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("ending")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("forward")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("measure")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("part")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("pedal")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("repeat")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("segno")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("sound")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("wedge")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("words")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("text")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("syllabic")>>,
                       public MusicXML2::visitor<XmlHandle<MusicXML2::ElementType("harmony")>> {
 public:
  using Sattributes = XmlHandle<MusicXML2::ElementType("attributes")>;
  using Sbackup = XmlHandle<MusicXML2::ElementType("backup")>;
  using Sbarline = XmlHandle<MusicXML2::ElementType("barline")>;
  using Scoda = XmlHandle<MusicXML2::ElementType("coda")>;
  using Sdirection = XmlHandle<MusicXML2::ElementType("direction")>;
  using Sdivisions = XmlHandle<MusicXML2::ElementType("divisions")>;
  using Sdynamics = XmlHandle<MusicXML2::ElementType("dynamics")>;
  using Sending = XmlHandle<MusicXML2::ElementType("ending")>;
  using Sforward = XmlHandle<MusicXML2::ElementType("forward")>;
  using Smeasure = XmlHandle<MusicXML2::ElementType("measure")>;
  using Spart = XmlHandle<MusicXML2::ElementType("part")>;
  using Spedal = XmlHandle<MusicXML2::ElementType("pedal")>;
  using Srepeat = XmlHandle<MusicXML2::ElementType("repeat")>;
  using Ssegno = XmlHandle<MusicXML2::ElementType("segno")>;
  using Ssound = XmlHandle<MusicXML2::ElementType("sound")>;
  using Swedge = XmlHandle<MusicXML2::ElementType("wedge")>;
  using Swords = XmlHandle<MusicXML2::ElementType("words")>;
  using Stext = XmlHandle<MusicXML2::ElementType("text")>;
  using Ssyllabic = XmlHandle<MusicXML2::ElementType("syllabic")>;
  using Sharmony = XmlHandle<MusicXML2::ElementType("harmony")>;
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

  // --- measures and attributes (PartConverterMeasures.cpp)
  // The start of a part: every per-part state back to its start and divisions 1, and a
  // "firstBar" tag with the number of its first measure (a pickup whose next measure has its
  // number counts one less) where that is not 1.
  void visitStart(Spart& elt) override;
  // A measure: the bar the measure before it owes (none before a pickup, or after an
  // invisible bar line before a measure the count leaves out).
  void visitStart(Smeasure& elt) override;
  // A measure's end: the bar it owes, and a "skipNumber" tag where the count leaves it out.
  void visitEnd(Smeasure& elt) override;
  void visitStart(Sdivisions& elt) override;
  void visitStart(Sbackup& elt) override;
  void visitStart(Sforward& elt) override;
  void visitStart(Sbarline& elt) override;
  void visitEnd(Srepeat& elt) override;
  void visitEnd(MusicXML2::Stime& elt) override;
  void visitEnd(MusicXML2::Sclef& elt) override;
  // A "transpose" among the attributes: the notes from here on sound moved by it, and a
  // "transpose" tag (semitones, diatonic steps) goes before the key the attributes give, in
  // every voice's sequence.
  void visitStart(Sattributes& elt) override;

  // --- directions, texts and endings (PartConverterDirections.cpp)
  void visitStart(Scoda& elt) override;
  void visitStart(Sdirection& elt) override;
  void visitEnd(Sdirection& elt) override;
  void visitEnd(Sending& elt) override;
  void visitStart(Sharmony& elt) override;
  void visitEnd(MusicXML2::Skey& elt) override;
  void visitStart(Ssegno& elt) override;
  void visitEnd(Ssound& elt) override;
  void visitEnd(Stext& elt) override;
  void visitEnd(Ssyllabic& elt) override;
  // A "lyric" tag of a syllable: one that begins or goes on with a word ends in a hyphen.
  static Svornelelement lyricTag(const std::string& text, const std::string& syllabic);
  void visitEnd(Swords& elt) override;
  void visitStart(Spedal& elt) override;

  // --- notes and notations (PartConverterNotes.cpp)
  void visitStart(MusicXML2::Snote& elt) override;
  void visitEnd(MusicXML2::Snote& elt) override;
  void visitStart(Swedge& elt) override;
  void visitStart(Sdynamics& elt) override;
  void visitEnd(MusicXML2::Smetronome& elt) override;

  // The text of an alteration: "#" per semitone up, "&" per semitone down, rounded half toward
  // zero ("#" for 1 and 1.5, nothing for 0.5). Values beyond three semitones count as three;
  // one that is not a number as none.
  static std::string AccidentalText(float alter);

 protected:
  // Fills a voice that lags behind `measureTime` with an "empty" note; a voice ahead of it is
  // reported.
  void checkVoiceTime(const fraction& measureTime, const fraction& voiceTime);
  // Marks a change to `staff` with a "staff-jump" tag.
  void jumpToStaff(int staff);
  // Moves the measure position by a duration in divisions, and the voice position with it when
  // `moveVoice` is set.
  void moveMeasureTime(int32_t duration, bool moveVoice);
  // Adds an "empty" note of `duration` for the target voice.
  void addFiller(const fraction& duration);
  // Takes the grace group off the stack when one is open.
  void closeGrace();
  // Pops down to and including `element` when it is on the stack; an open grace group, beam or
  // volta popped on the way is closed with it.
  void closeContainer(const Svornelelement& element);
  void addDirectionElement(const Svornelelement& element);
  // Adds the current direction's placement ("above" or "below") to a tag, when it has one.
  void addPlacement(const Svornelelement& tag) const;

  // Notes (PartConverterNotes.cpp).
  void emitNote(const MusicXML2::notevisitor& note);
  std::string stepName(const MusicXML2::notevisitor& note) const;
  vornelnoteduration durationOf(const MusicXML2::notevisitor& note) const;
  std::vector<MusicXML2::Sxmlelement> chordNotesAfter(const MusicXML2::Sxmlelement& note);
  void emitLyrics(const MusicXML2::Sxmlelement& note);
  void openTie(const std::vector<MusicXML2::Stied>& tied);
  void closeTie(const std::vector<MusicXML2::Stied>& tied);
  void openSlur(const std::vector<MusicXML2::Sslur>& slurs);
  void closeSlur(const std::vector<MusicXML2::Sslur>& slurs);
  void openBeam(const std::vector<MusicXML2::Sbeam>& beams);
  void closeBeam(const std::vector<MusicXML2::Sbeam>& beams);
  void emitStems();
  void updateGrace();
  void openArticulations();

  std::deque<Svornelelement> stack_;
  size_t stackFloor_ = 0;  // elements of the stack that pop leaves

  // Options.
  bool generateComments_;
  bool generateStems_;
  bool generateBars_;

  // Pending flags.
  bool inGrace_ = false;
  bool inhibitNextBar_ = false;
  bool pendingBar_ = false;
  bool beamOpen_ = false;
  bool measureEmpty_ = true;
  bool crescendoPending_ = false;
  // The open containers, so that each closes itself whatever was pushed after it.
  Svornelelement graceTag_;
  Svornelelement beamTag_;
  Svornelelement voltaTag_;

  MusicXML2::Sxmlelement currentMeasure_;
  // Where the last note was found in the current measure: the search for the next one and for
  // its chord notes goes on from there.
  std::optional<MusicXML2::xmlelement::iterator> measureCursor_;
  bool notesOnly_ = false;
  bool skipDirection_ = false;
  bool insideNote_ = false;  // between the start and the end of a "note" element
  int staffIndex_ = 0;
  int currentStaff_ = 0;
  int targetStaff_ = 0;
  int targetVoice_ = 0;
  int divisions_ = 1;
  int directionOffset_ = 0;
  std::string directionPlacement_;  // the "placement" of the current direction
  std::string syllabic_;            // of the lyric being read, until its text

  // Times in whole notes.
  fraction measureLength_{0, 1};
  fraction measurePosition_{0, 1};
  fraction voicePosition_{0, 1};
  fraction currentTimeSign_{0, 1};

  // The part's transposition in force: sounding pitch less written pitch, in semitones and in
  // diatonic steps.
  int transposeSemitones_ = 0;
  int transposeSteps_ = 0;

  bool previousBarHidden_ = false;  // the measure before ended with a bar line of style "none"
  bool unnumberedMeasure_ = false;  // the measure is left out of the count after a bar line

  int measureNumber_ = 0;
  int beamNumber_ = 0;
  int stemDirection_ = 0;  // last stem tag: 0 auto, 1 up, 2 down, 3 off
};

}  // namespace vornel
