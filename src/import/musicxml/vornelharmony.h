#pragma once
// The chord name of one "harmony" element: root step, root alteration, the kind's "text"
// attribute and the last degree-value's "text" attribute, joined ("D#m7", "Bb", "Gadd9").

#include <string>

#include "musicxml/factory/musicxml.h"
#include "musicxml/visitors/visitor.h"

namespace vornel {

class vornelharmony : public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("harmony")>>,
                      public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("root-step")>>,
                      public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("root-alter")>>,
                      public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("kind")>>,
                      public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("degree-value")>> {
 public:
  using Sharmony = MusicXML2::Smusicxml<MusicXML2::ElementType("harmony")>;
  using Sroot_step = MusicXML2::Smusicxml<MusicXML2::ElementType("root-step")>;
  using Sroot_alter = MusicXML2::Smusicxml<MusicXML2::ElementType("root-alter")>;
  using Skind = MusicXML2::Smusicxml<MusicXML2::ElementType("kind")>;
  using Sdegree_value = MusicXML2::Smusicxml<MusicXML2::ElementType("degree-value")>;

  std::string getChordName() const { return rootStep_ + rootAlter_ + kindText_ + degreeText_; }

  // A new harmony clears the fields.
  void visitStart(Sharmony& elt) override;
  void visitStart(Sroot_step& elt) override { rootStep_ = elt->getValue(); }
  // n semitones give n sharps, -n n flats (at most two), 0 nothing.
  void visitStart(Sroot_alter& elt) override;
  void visitStart(Skind& elt) override { kindText_ = elt->getAttributeValue("text"); }
  void visitStart(Sdegree_value& elt) override { degreeText_ = elt->getAttributeValue("text"); }

 private:
  std::string rootStep_;
  std::string rootAlter_;
  std::string kindText_;
  std::string degreeText_;
};

}  // namespace vornel
