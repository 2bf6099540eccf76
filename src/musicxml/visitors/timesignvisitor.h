#pragma once
// Collects what a time signature and a metronome mark say, in the raw form of the document.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "musicxml/tree/fraction.h"
#include "musicxml/visitors/typedefs.h"
#include "musicxml/visitors/visitor.h"

namespace vornel::MusicXML2 {

class timesignvisitor : public visitor<Stime>, public visitor<Sbeats>, public visitor<Sbeat_type>,
                        public visitor<Ssenza_misura> {
 public:
  timesignvisitor() { reset(); }
  ~timesignvisitor() override = default;

  void reset();
  // Pair `index` as beats over beat type, as written (not reduced); 0/1 when there is no such
  // pair or a term is 0.
  fraction getTimeSign(uint32_t index) const;

  void visitStart(Stime& elt) override;
  void visitStart(Sbeats& elt) override { currentBeats = elt->getValue(); }
  void visitStart(Sbeat_type& elt) override { timeSigns.emplace_back(currentBeats, elt->getValue()); }
  void visitStart(Ssenza_misura&) override { senzaMisura = true; }

  std::string currentBeats;
  std::vector<std::pair<std::string, std::string>> timeSigns;  // (beats, beat-type) texts
  std::string symbol;
  int32_t staffNumber = -1;
  bool senzaMisura = false;
};

class metronomevisitor : public visitor<Smetronome>, public visitor<Sbeat_unit>, public visitor<Sbeat_unit_dot>,
                         public visitor<Sper_minute> {
 public:
  struct beat {
    std::string unit;
    int32_t dots = 0;
  };

  metronomevisitor() { reset(); }
  ~metronomevisitor() override = default;

  void reset();
  virtual void resetBeat(beat& b);

  void visitStart(Smetronome&) override { reset(); }
  void visitEnd(Smetronome&) override;
  void visitStart(Sbeat_unit& elt) override;
  void visitStart(Sbeat_unit_dot&) override { ++currentBeat.dots; }
  void visitStart(Sper_minute& elt) override { perMinute = elt->getIntValue(); }

  beat currentBeat;
  std::vector<beat> beats;
  int32_t perMinute = 0;

 private:
  // Appends the beat in progress when it has a unit.
  void closeBeat();
};

}  // namespace vornel::MusicXML2
