// Scores made to hurt the import: absurd alterations, octaves and divisions, endings without
// end, a measure of 50,000 notes. Each imports, or is refused with the system's message,
// without harm (the sanitizer build runs these too).

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "PartConverterSupport.h"
#include "document/CBriotabDoc.h"
#include "model/voice/RhythmValues.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::PitchedNote;

size_t NotesOf(const CSystemArray& section) {
  size_t notes = 0;
  for (const auto& system : section.systems.items()) {
    for (size_t line = 0; line < system->lines.size(); ++line) {
      for (const auto& e : system->Line(line)->firstVoice) notes += e != nullptr && e->IsChord() ? e->notes.size() : 0;
    }
  }
  return notes;
}

std::string Repeated(const std::string& text, int times) {
  std::string all;
  all.reserve(text.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

TEST(HostileScores, ImportOrAreRefusedCleanly) {
  const auto altered = [](const std::string& alter) {
    return "<note><pitch><step>C</step><alter>" + alter + "</alter><octave>4</octave></pitch><duration>1</duration>"
           "<voice>1</voice></note>";
  };
  struct Case {
    const char* label;
    std::string measures;
    size_t notes;  // in the section
  };
  const std::vector<Case> cases = {
      {"alterations of 1e30, inf and nan", altered("1e30") + altered("inf") + altered("nan") + PitchedNote("D4", 1), 1},
      {"divisions of 0 and -4",
       "<attributes><divisions>0</divisions></attributes>" + PitchedNote("C4", 1) +
           "<attributes><divisions>-4</divisions></attributes>" + PitchedNote("D4", 2147483647),
       // The longest duration is held over the most values a length takes, no further.
       1 + kMaxRhythmValues},
      {"an octave of 2147483647",
       "<note><pitch><step>C</step><octave>2147483647</octave></pitch><duration>1</duration></note>" +
           PitchedNote("E4", 1),
       1},
      {"10,000 ending starts", Repeated("<barline><ending type=\"start\" number=\"1\"/></barline>", 10000) +
                                   PitchedNote("C4", 1) + "<barline><ending type=\"stop\"/></barline>",
       1},
      {"a measure of 50,000 notes", Repeated(PitchedNote("C4", 1) + PitchedNote("E4", 1, 1, "", "<chord/>"), 25000),
       50000},
  };
  for (const Case& c : cases) {
    testing::ScriptedPrompts prompts;
    std::ostringstream warnings;
    ScopedImportWarnings scope(warnings);
    const testing::TempFile file(testing::OnePartScore("<measure number=\"1\">" + c.measures + "</measure>"));
    CBriotabDoc doc;
    MusicXMLImport import;
    import.target = &doc;
    ASSERT_TRUE(import.ImportFile(file.path())) << c.label;
    EXPECT_TRUE(prompts.messages.empty()) << c.label;
    EXPECT_EQ(NotesOf(*doc.GetActiveSection()), c.notes) << c.label;
  }
}

}  // namespace
}  // namespace vornel
