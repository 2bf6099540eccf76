#pragma once
// What a part's staff details say about a fretted instrument: its number of staff lines, its
// capo and the pitch of each tuned line. Browsed over one part; every "staff-details" of the
// part feeds the same fields (the last staff lines and capo win; tunings share one map).

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

#include "musicxml/factory/musicxml.h"
#include "musicxml/visitors/visitor.h"

namespace vornel {

class staffdetails : public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part")>>,
                     public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("staff-lines")>>,
                     public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("staff-tuning")>>,
                     public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("capo")>> {
 public:
  using Spart = MusicXML2::Smusicxml<MusicXML2::ElementType("part")>;
  using Sstaff_lines = MusicXML2::Smusicxml<MusicXML2::ElementType("staff-lines")>;
  using Sstaff_tuning = MusicXML2::Smusicxml<MusicXML2::ElementType("staff-tuning")>;
  using Scapo = MusicXML2::Smusicxml<MusicXML2::ElementType("capo")>;

  // -1 while the part has no "staff-lines" element.
  int32_t staffLines() const { return staffLines_; }
  int32_t capo() const { return capo_; }
  // Line number (1 the lowest) to MIDI pitch.
  const std::map<int32_t, int32_t>& tuning() const { return tuning_; }

  void visitStart(Spart& elt) override;
  void visitStart(Sstaff_lines& elt) override;
  void visitStart(Sstaff_tuning& elt) override;
  void visitStart(Scapo& elt) override;

 private:
  int32_t staffLines_ = -1;
  int32_t capo_ = 0;
  std::map<int32_t, int32_t> tuning_;
};

// The MIDI pitch of a tuning step ("A" to "G", first letter), octave and alteration in
// semitones; nothing for a step outside A to G.
std::optional<int32_t> TuningPitch(std::string_view step, int32_t octave, int32_t alter);

}  // namespace vornel
