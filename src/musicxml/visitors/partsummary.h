#pragma once
// Walked once over a part: how many staves it declares, which voices its notes carry, on which
// staves each voice has notes and which staff holds most of a voice's notes.

#include <cstdint>
#include <map>

#include "musicxml/visitors/notevisitor.h"
#include "musicxml/visitors/smartlist.h"

namespace vornel::MusicXML2 {

class partsummary : public notevisitor, public visitor<Spart>, public visitor<Sstaves> {
 public:
  partsummary() = default;
  ~partsummary() override = default;

  int32_t countStaves() const { return stavesCount; }
  int32_t countVoices() const { return static_cast<int32_t>(voiceNotes.size()); }
  // The voice numbers, ascending.
  SMARTP<smartlist<int>> getVoices() const;
  // The staves, ascending, on which the voice has notes.
  SMARTP<smartlist<int>> getStaves(int32_t voice) const;
  // The staff with most of the voice's notes (the lowest on equal counts); 0 without notes.
  int32_t getMainStaff(int32_t voice) const;

  void visitStart(Spart& elt) override;
  void visitStart(Sstaves& elt) override;
  void visitEnd(Snote& elt) override;

 protected:
  int32_t stavesCount = 1;
  std::map<int32_t, int32_t> voiceNotes;                         // voice -> notes
  std::map<int32_t, std::map<int32_t, int32_t>> staffVoiceNotes;  // staff -> voice -> notes
};

}  // namespace vornel::MusicXML2
