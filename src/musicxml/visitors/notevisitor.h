#pragma once
// Collects one note while a browser walks it: kind, pitch, duration, dots and type, the grace,
// cue, chord and fermata marks, ties, slurs, beams, articulations, time modification, staff,
// voice, instrument, the "dynamics" attribute and the tablature fret and string. The values are
// cleared as a note is entered and stay readable after its end, for derived visitors.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "musicxml/tree/fraction.h"
#include "musicxml/visitors/typedefs.h"
#include "musicxml/visitors/visitor.h"

namespace vornel::MusicXML2 {

// "C" 0, "D" 1 ... "B" 6; -1 for any other text.
int32_t stepIndex(const std::string& step);

class notevisitor : public visitor<Saccent>,
                    public visitor<Salter>,
                    public visitor<Sbeam>,
                    public visitor<Sbreath_mark>,
                    public visitor<Schord>,
                    public visitor<Scue>,
                    public visitor<Sdisplay_octave>,
                    public visitor<Sdisplay_step>,
                    public visitor<Sdot>,
                    public visitor<Sduration>,
                    public visitor<Sfermata>,
                    public visitor<Sgrace>,
                    public visitor<Sinstrument>,
                    public visitor<Snote>,
                    public visitor<Soctave>,
                    public visitor<Spitch>,
                    public visitor<Srest>,
                    public visitor<Sslur>,
                    public visitor<Sstaccato>,
                    public visitor<Sstaff>,
                    public visitor<Sstem>,
                    public visitor<Sstep>,
                    public visitor<Sstrong_accent>,
                    public visitor<Stenuto>,
                    public visitor<Stie>,
                    public visitor<Stied>,
                    public visitor<Stime_modification>,
                    public visitor<Stype>,
                    public visitor<Sunpitched>,
                    public visitor<Svoice>,
                    public visitor<Stechnical> {
 public:
  enum { kUndefined = 0, kPitched = 1, kUnpitched = 2, kRest = 3 };

  notevisitor();
  ~notevisitor() override;

  // Every value to its empty state.
  void reset();

  virtual float getPitchNumber() const;  // octave x 12 + step + alter; -1 when not pitched
  virtual float getAlter() const { return alter; }
  virtual int32_t getOctave() const { return octave; }
  virtual const std::string& getStep() const { return step; }
  virtual const std::string& getInstrument() const { return instrument; }
  virtual const std::string& getTypeText() const { return typeText; }
  virtual const fraction& getTimeModification() const { return timeModification; }
  virtual void setStep(const std::string& text) { step = text; }
  virtual void setOctave(int32_t value) { octave = value; }
  virtual void setAlter(float value) { alter = value; }
  virtual int32_t getDynamics() const { return dynamics; }
  virtual int32_t getDuration() const { return duration; }
  virtual int32_t getDots() const { return dots; }
  virtual void print(std::ostream& out) const;
  virtual const std::vector<Stied>& getTied() const { return tied; }
  virtual const std::vector<Sslur>& getSlurs() const { return slurs; }
  virtual const std::vector<Sbeam>& getBeams() const { return beams; }

  int32_t getKind() const { return kind; }
  bool isGrace() const { return grace; }
  bool isCue() const { return cue; }
  bool inChord() const { return chord; }
  bool hasFermata() const { return fermata; }
  int32_t getTie() const { return tie; }
  int32_t getStaff() const { return staff; }
  int32_t getVoice() const { return voice; }
  int32_t getFretString() const { return fretString; }
  const Sstem& getStem() const { return stem; }
  const Saccent& getAccent() const { return accent; }
  const Sstrong_accent& getStrongAccent() const { return strongAccent; }
  const Sstaccato& getStaccato() const { return staccato; }
  const Stenuto& getTenuto() const { return tenuto; }
  const Sbreath_mark& getBreathMark() const { return breathMark; }

  void visitStart(Snote& elt) override;
  void visitStart(Spitch& elt) override;
  void visitStart(Sunpitched& elt) override;
  void visitStart(Srest& elt) override;
  void visitStart(Sstep& elt) override;
  void visitStart(Sdisplay_step& elt) override;
  void visitStart(Salter& elt) override;
  void visitStart(Soctave& elt) override;
  void visitStart(Sdisplay_octave& elt) override;
  void visitStart(Sduration& elt) override;
  void visitStart(Sdot& elt) override;
  void visitStart(Stype& elt) override;
  void visitStart(Sinstrument& elt) override;
  void visitStart(Sstaff& elt) override;
  void visitStart(Svoice& elt) override;
  void visitStart(Schord& elt) override;
  void visitStart(Scue& elt) override;
  void visitStart(Sgrace& elt) override;
  void visitStart(Sfermata& elt) override;
  void visitStart(Stie& elt) override;
  void visitStart(Stied& elt) override;
  void visitStart(Sslur& elt) override;
  void visitStart(Sbeam& elt) override;
  void visitStart(Sstem& elt) override;
  void visitStart(Saccent& elt) override;
  void visitStart(Sstrong_accent& elt) override;
  void visitStart(Sstaccato& elt) override;
  void visitStart(Stenuto& elt) override;
  void visitStart(Sbreath_mark& elt) override;
  void visitStart(Stime_modification& elt) override;
  void visitStart(Stechnical& elt) override;

 protected:
  Sstem stem;
  Saccent accent;
  Sstrong_accent strongAccent;
  Sstaccato staccato;
  Stenuto tenuto;
  Sbreath_mark breathMark;
  bool inNote = false;  // true from the start of the first note on
  bool grace = false;
  bool cue = false;
  bool chord = false;
  bool fermata = false;
  int32_t kind = kUndefined;
  int32_t dots = 0;
  int32_t tie = 0;  // StartStop bits of the note's ties
  int32_t duration = 0;
  int32_t dynamics = -1;
  std::string step;
  std::string typeText;
  float alter = 0;
  int32_t octave = 0;
  int32_t staff = 0;
  int32_t voice = 0;
  int32_t fretString = 0;  // string x 256 + fret
  fraction timeModification{0, 1};
  std::string instrument;
  std::vector<Stied> tied;
  std::vector<Sslur> slurs;
  std::vector<Sbeam> beams;
};

}  // namespace vornel::MusicXML2
