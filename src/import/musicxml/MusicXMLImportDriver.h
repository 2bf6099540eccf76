#pragma once
// Reads a MusicXML file (".xml", ".musicxml", or a compressed ".mxl") once, keeps its element
// tree, learns its parts and the work's texts through the part list, and converts the tree
// into the flat tag list that the import walks.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "import/musicxml/vornelelement.h"
#include "musicxml/factory/musicxml.h"
#include "musicxml/tree/xmlelement.h"
#include "musicxml/visitors/visitor.h"

namespace vornel {

// What the part list says of one part.
struct PartRecord {
  std::string id;
  MusicXML2::Sxmlelement partName;  // its "part-name" element
  std::string name;                 // the (last) instrument name, as the file has it
  std::string abbreviation;         // its "part-abbreviation"
  // The texts of "part-name-display" and "part-abbreviation-display": what the score shows
  // instead of the name and the abbreviation.
  std::string shownName;
  std::string shownAbbreviation;
  int program = 0;                  // the (last) "midi-program", 1 to 128 in a valid file
};

class partlist : public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part-list")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("score-part")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part-name")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part-abbreviation")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part-name-display")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("part-abbreviation-display")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("display-text")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("accidental-text")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("instrument-name")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("midi-instrument")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("movement-title")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("creator")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("work-title")>>,
                 public MusicXML2::visitor<MusicXML2::Smusicxml<MusicXML2::ElementType("work-number")>> {
 public:
  template <int32_t N>
  using S = MusicXML2::Smusicxml<N>;

  // The records by part id, in byte order of the ids.
  std::map<std::string, PartRecord> parts;
  int partCount = 0;  // the records when the part list ended; 0 until then
  std::string movementTitle;
  std::string composer;
  std::string workTitle;
  std::string workNumber;
  std::map<std::string, std::string> otherCreators;  // by the creator's type

  // The work title, then " -- " and the work number when there is one.
  std::string workText() const;

  void visitStart(S<MusicXML2::ElementType("part-list")>& elt) override;
  void visitEnd(S<MusicXML2::ElementType("part-list")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("score-part")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("part-name")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("part-abbreviation")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("part-name-display")>& elt) override;
  void visitEnd(S<MusicXML2::ElementType("part-name-display")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("part-abbreviation-display")>& elt) override;
  void visitEnd(S<MusicXML2::ElementType("part-abbreviation-display")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("display-text")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("accidental-text")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("instrument-name")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("midi-instrument")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("movement-title")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("creator")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("work-title")>& elt) override;
  void visitStart(S<MusicXML2::ElementType("work-number")>& elt) override;

 private:
  PartRecord& current();
  std::string currentId_;
  std::string* shownText_ = nullptr;  // the text a display element being read gathers
  bool inPartList_ = false;  // names shown in the part list, not those a measure's print changes
};

class MusicXMLImportDriver {
 public:
  // Files, and scores inside ".mxl" archives, above this size are not read.
  static constexpr uint64_t kMaxScoreBytes = uint64_t{256} << 20;
  static constexpr size_t kMaxParts = 128;

  // Reads the file and its part list; false when it is not a partwise MusicXML score that
  // the reader takes (a compressed one included), and failure() then says why.
  bool read(const std::string& path);
  const std::string& fileName() const { return fileName_; }
  const std::string& failure() const { return failure_; }

  // One record per "part" element of the score, in document order, each from the part list's
  // entry of its id (an empty record when there is none); none when the part list is missing
  // or lists no part. At most kMaxParts, with a warning.
  std::vector<PartRecord> parts() const;
  const std::string& movementTitle() const { return partList_.movementTitle; }
  const std::string& workTitle() const { return partList_.workTitle; }
  const std::string& composer() const { return partList_.composer; }
  std::string workText() const { return partList_.workText(); }

  // The flat tag list of the score (its "Score" element), kept until the next conversion;
  // null before a successful read.
  Svornelelement convert();

 private:
  std::string fileName_;
  std::string failure_;
  partlist partList_;
  MusicXML2::Sxmlelement root_;
  Svornelelement converted_;
};

}  // namespace vornel
