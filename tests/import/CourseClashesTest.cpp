// Two notes of one chord on one course: one stays, the other moves to a free course or leaves.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "import/CourseClashes.h"
#include "import/ImportWarnings.h"
#include "import/Importer.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/CSystemArray.h"
#include "model/voice/RhythmValues.h"
#include "model/voice/nChordArray.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

// A guitar: course 0 is E4 (64), course 5 E2 (40).
CTabInstrument Guitar() {
  CTabInstrument tab;
  const int pitches[6] = {40, 45, 50, 55, 59, 64};
  tab.tuning.SetFromPitches(6, pitches);
  return tab;
}

struct PlacedNote {
  int course;
  int pitch;
  char kind = 's';  // 's' struck in the first voice, 'l' joined from the lower voice, 'h' held
};

std::unique_ptr<nChord> Chord(const std::vector<PlacedNote>& notes) {
  auto chord = std::make_unique<nChord>(nChord::kChord, 3);
  for (const PlacedNote& n : notes) {
    auto note = std::make_unique<nNotes>();
    note->string = static_cast<uint8_t>(n.course);
    note->pitch = static_cast<uint8_t>(n.pitch);
    if (n.kind == 'l') note->flags = nNotes::kLowerVoiceFlag;
    if (n.kind == 'h') note->slur = kHeldSlurWord;
    chord->notes.push_back(std::move(note));
  }
  return chord;
}

// "pitch@course" of each note, in the chord's order; "~" marks a held note.
std::string Text(const nChord& chord) {
  std::string text;
  for (const auto& note : chord.notes) {
    if (!text.empty()) text += ' ';
    text += std::to_string(note->pitch) + "@" + std::to_string(note->string);
    if (note->slur == kHeldSlurWord) text += '~';
  }
  return text;
}

TEST(CourseClashesTest, EachCourseKeepsOneNote) {
  struct Case {
    const char* what;
    std::vector<PlacedNote> notes;
    const char* kept;
    size_t moved, doubled, dropped;
  };
  const Case cases[] = {
      {"no clash", {{2, 60}, {3, 57}}, "60@2 57@3", 0, 0, 0},
      {"the same note twice", {{2, 60}, {2, 60, 'l'}}, "60@2", 0, 1, 0},
      // Course 1 (B3) cannot stop G#3; course 3 (D3) is as near and can, at its sixth fret.
      {"another pitch moves to the nearest free course", {{2, 60}, {2, 56, 'l'}}, "60@2 56@3", 1, 0, 0},
      {"the first voice stays wherever it stands", {{2, 56, 'l'}, {2, 60}}, "56@3 60@2", 1, 0, 0},
      {"nothing below the lowest course", {{5, 40}, {5, 43, 'l'}}, "40@5", 0, 0, 1},
      {"taken courses are not free", {{0, 64}, {1, 62}, {1, 63, 'l'}, {2, 57}, {3, 52}, {4, 47}, {5, 42}},
       "64@0 62@1 57@2 52@3 47@4 42@5", 0, 0, 1},
      {"a stroke moves off a held note", {{2, 60, 'h'}, {2, 62, 'l'}}, "60@2~ 62@1", 1, 0, 0},
      {"with no course free a stroke ends the held note", {{5, 40, 'h'}, {5, 43, 'l'}}, "43@5", 0, 0, 0},
      {"the same note struck again ends the held one", {{2, 60, 'h'}, {2, 60, 'l'}}, "60@2", 0, 0, 0},
      {"a stroke before the held note in the chord ends it too", {{5, 41, 'l'}, {5, 43, 'h'}}, "41@5", 0, 0, 0},
      {"past the 24th fret is no place", {{0, 64}, {0, 90, 'l'}}, "64@0", 0, 0, 1},
      {"notes on no course are left alone", {{nNotes::kNoCourse, 60}, {nNotes::kNoCourse, 61}}, "60@255 61@255", 0, 0, 0},
  };
  const CTabInstrument tab = Guitar();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    nChordArray voice;
    nChord* chord = voice.push_back(Chord(c.notes));
    std::ostringstream warnings;
    const ScopedImportWarnings scope(warnings);
    const CourseClashes counts = SeparateCourses(voice, tab, "part 1");
    EXPECT_EQ(Text(*chord), c.kept);
    EXPECT_EQ(counts.moved, c.moved);
    EXPECT_EQ(counts.doubled, c.doubled);
    EXPECT_EQ(counts.dropped, c.dropped);
    EXPECT_EQ(warnings.str().empty(), c.moved == 0);
  }
}

TEST(CourseClashesTest, LossesAreCountedAndMovesTold) {
  nChordArray voice;
  voice.push_back(Chord({{2, 60}, {2, 60, 'l'}, {5, 40}, {5, 43, 'l'}}));
  voice.push_back(Chord({{2, 60}, {2, 56, 'l'}, {0, 64}, {0, 90, 'l'}}));
  std::ostringstream warnings;
  const ScopedImportWarnings scope(warnings);
  const ImportReport report("song.gp5");
  SeparateCourses(voice, Guitar(), "track 2");
  EXPECT_EQ(report.Summary(),
            "warning: song.gp5: not imported: 1 note doubling the note of its course, "
            "2 notes on courses other notes of their chords hold");
  EXPECT_EQ(warnings.str(), "warning: track 2: 1 note moved to a free course: another note of its chord held its own\n");
}

// Files whose voices, or whose chords, put two notes on one course.
class ImportedCourses : public ::testing::TestWithParam<const char*> {};

TEST_P(ImportedCourses, NoChordHoldsTwoNotesOnACourse) {
  const std::filesystem::path path = std::filesystem::path(VORNEL_CORPUS_DIR) / GetParam();
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus file " << path;
  testing::ScriptedPrompts prompts;
  std::ostringstream warnings;
  const ScopedImportWarnings scope(warnings);
  CVornelTabDoc doc;
  doc.OnNewDocument();
  const Importer* importer = FindImporter(path.string());
  ASSERT_NE(importer, nullptr);
  ASSERT_GT(importer->Import(path.string(), doc), 0u);
  size_t chords = 0;
  for (const auto& section : doc.sections) {
    for (const auto& system : section->systems) {
      for (const auto& line : system->lines) {
        for (size_t v = 0; v < 2; ++v) {
          for (const auto& e : line->Voice(v)) {
            if (e == nullptr || !e->IsChord() || e->notes.empty()) continue;
            ++chords;
            std::set<int> courses;
            for (const auto& note : e->notes) {
              if (note->string != nNotes::kNoCourse) {
                EXPECT_TRUE(courses.insert(note->string).second);
              }
            }
          }
        }
      }
    }
  }
  EXPECT_GT(chords, 0u);
  EXPECT_NE(warnings.str().find("course"), std::string::npos) << warnings.str();
}

INSTANTIATE_TEST_SUITE_P(Corpus, ImportedCourses,
                         ::testing::Values("guitarpro/Voices.gp5", "musicxml/71e-TabStaves.xml"),
                         [](const auto& info) { return "file" + std::to_string(info.index); });

}  // namespace
}  // namespace vornel
