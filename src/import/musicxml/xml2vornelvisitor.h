#pragma once
// The score converter: a parsed partwise MusicXML score to the converted tree. Under its top
// chord "Score" it puts, per part, a "tuning" tag when the part tunes its staff lines, then one
// sequence per voice of the part, which a part converter fills.

#include <string>
#include <vector>

#include "import/musicxml/vornelelement.h"
#include "musicxml/factory/musicxml.h"
#include "musicxml/tree/fraction.h"
#include "musicxml/visitors/visitor.h"

namespace vornel {

class xml2vornelvisitor
    : public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("score-partwise")>>,
      public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("score-part")>>,
      public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part")>> {
 public:
  using Sscore_partwise = MusicXML2::Smusicxml<MusicXML2::ElementType("score-partwise")>;
  using Sscore_part = MusicXML2::Smusicxml<MusicXML2::ElementType("score-part")>;
  using Spart = MusicXML2::Smusicxml<MusicXML2::ElementType("part")>;

  // Parts and voices of a part beyond these are left out, with a warning.
  static constexpr int kMaxParts = 128;
  static constexpr size_t kMaxVoices = 32;

  // The options handed to every part converter (see xmlpart2vornel).
  xml2vornelvisitor(bool generateComments, bool generateStems, bool generateBars);

  // The converted tree of a score: its "Score" chord; null for a null root or a root that is
  // not a partwise score. The parts are the root's "part" children, in document order.
  Svornelelement convert(const MusicXML2::Sxmlelement& root);

  void visitStart(Sscore_partwise& elt) override;
  void visitStart(Sscore_part& elt) override;
  // Converts one part (see the file's head).
  void visitStart(Spart& elt) override;

 private:
  void add(const Svornelelement& element);

  bool generateComments_;
  bool generateStems_;
  bool generateBars_;
  std::vector<Svornelelement> stack_;
  std::string currentPartId_;
  int staffIndex_ = 0;
  int partIndex_ = 0;
  MusicXML2::fraction timeSignature_{0, 1};  // carried from voice to voice and part to part
};

}  // namespace vornel
