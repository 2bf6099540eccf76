#pragma once
// Helpers of the part converter tests: small partwise scores of one part written from their
// measures, and the flat tag list the converters make of them, as `vornel-tool mx2tags`
// prints it, with the warnings they wrote.

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "ImportTestSupport.h"
#include "import/musicxml/TagListText.h"
#include "import/musicxml/xml2vornelvisitor.h"

namespace vornel::testing {

// A pitched note of `duration` divisions: `step` with an optional alteration sign ("F#4",
// "Bb3"), then the octave; `extra` goes after the voice (type, dots, stem, staff, notations).
inline std::string PitchedNote(std::string_view pitch, int duration, int voice = 1, std::string_view extra = "",
                               std::string_view before = "") {
  std::string step(1, pitch.front());
  std::string alter;
  size_t at = 1;
  if (at < pitch.size() && (pitch[at] == '#' || pitch[at] == 'b')) alter = pitch[at++] == '#' ? "1" : "-1";
  std::string note = "<note>" + std::string(before) + "<pitch><step>" + step + "</step>";
  if (!alter.empty()) note += "<alter>" + alter + "</alter>";
  note += "<octave>" + std::string(pitch.substr(at)) + "</octave></pitch><duration>" + std::to_string(duration) +
          "</duration><voice>" + std::to_string(voice) + "</voice>";
  return note + std::string(extra) + "</note>";
}

inline std::string Rest(int duration, int voice = 1, std::string_view extra = "") {
  return "<note><rest/><duration>" + std::to_string(duration) + "</duration><voice>" + std::to_string(voice) +
         "</voice>" + std::string(extra) + "</note>";
}

// Measures numbered from 1, one per text; a text that is a whole "measure" element stands as
// it is.
inline std::string Measures(const std::vector<std::string>& contents) {
  std::string xml;
  for (size_t i = 0; i < contents.size(); ++i) {
    if (contents[i].starts_with("<measure")) {
      xml += contents[i];
    } else {
      xml += "<measure number=\"" + std::to_string(i + 1) + "\">" + contents[i] + "</measure>";
    }
  }
  return xml;
}

// A score of one part holding `measures`.
inline std::string OnePartScore(std::string_view measures) {
  return Score("<part-list><score-part id=\"P1\"><part-name>Lute</part-name></score-part></part-list><part id=\"P1\">" +
               std::string(measures) + "</part>");
}

struct ConvertedTags {
  std::string list;      // the flat list, one element per line, without its closing "endgroup Score"
  std::string warnings;  // the lines written to the warning sink
};

// The flat list of a whole score, converted with the driver's options (no comments, bars).
inline ConvertedTags ConvertScore(std::string_view score, bool comments = false) {
  const auto read = MusicXML2::testing::Read(score);
  std::ostringstream sink;
  ScopedImportWarnings scope(sink);
  xml2vornelvisitor converter(comments, true, true);
  const Svornelelement tree = converter.convert(read.root());
  ConvertedTags result;
  result.list = tree ? TagListToText(*flattenTree(tree)) : "null\n";
  const std::string_view close = "endgroup Score\n";
  if (result.list.ends_with(close)) result.list.resize(result.list.size() - close.size());
  result.warnings = sink.str();
  return result;
}

// The flat list of one part made of `measures`; of a part of one voice, only what lies between
// its "staff 1 1 1 0 0" and its "endstaff".
inline ConvertedTags ConvertMeasures(const std::vector<std::string>& measures, bool comments = false) {
  ConvertedTags result = ConvertScore(OnePartScore(Measures(measures)), comments);
  const std::string_view open = "staff 1 1 1 0 0\n";
  const std::string_view close = "endstaff staff\n";
  std::string& list = result.list;
  if (list.starts_with(open) && list.ends_with(close) && list.find(close) == list.size() - close.size()) {
    list = list.substr(open.size(), list.size() - open.size() - close.size());
  }
  return result;
}

// A case of the tables of golden lists: the measures of a part of one voice (see
// ConvertMeasures), the list they make and the warnings.
struct TagCase {
  const char* label;
  std::vector<std::string> measures;
  const char* list;
  const char* warnings = "";
};

inline void CheckTagCases(const std::vector<TagCase>& cases) {
  for (const TagCase& c : cases) {
    const ConvertedTags got = ConvertMeasures(c.measures);
    EXPECT_EQ(got.list, c.list) << c.label;
    EXPECT_EQ(got.warnings, c.warnings) << c.label;
  }
}

}  // namespace vornel::testing
