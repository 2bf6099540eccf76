// The converted element tree: the text of notes against each voice's last octave and value,
// and the flat list made of the tree.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/musicxml/TagListText.h"
#include "import/musicxml/vornelelement.h"
#include "musicxml/MxTestSupport.h"

namespace vornel {
namespace {

Svornelelement Note(int voice, const char* name, int octave, const vornelnoteduration& d, const char* accidental = "") {
  return vornelnote::create(voice, name, octave, 48, d, 0, accidental);
}

TEST(ConvertedNote, TextRepeatsOnlyWhatChangedInItsVoice) {
  VoiceNoteStatus().reset();
  const vornelnoteduration quarter(1, 4, 0);
  const vornelnoteduration eighth(1, 8, 0);
  const vornelnoteduration dottedEighth(1, 8, 1);
  struct Case {
    int voice;
    const char* name;
    int octave;
    vornelnoteduration duration;
    const char* accidental;
    const char* text;
  };
  const std::vector<Case> cases = {
      {1, "c", 1, quarter, "", "c"},            // the reset state: octave 1, a quarter
      {1, "d", 2, eighth, "", "d2/8"},          // both changed
      {1, "e", 2, dottedEighth, "#", "e#/8."},  // the dot makes another value
      {1, "f", 2, dottedEighth, "", "f."},      // the same dotted eighth: only its dot
      {1, "_", 2, vornelnoteduration(3, 8, 0), "", "_*3/8"},  // a rest has no octave
      {1, "empty", 5, quarter, "", "empty/4"},                // nor has a filler
      {200, "g", 1, quarter, "", "g1/4"},                     // voices past 127 keep no state
      {200, "g", 1, quarter, "", "g1/4"},
      {-1, "a", 1, quarter, "&", "a&1/4"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Note(c.voice, c.name, c.octave, c.duration, c.accidental)->getName(), c.text) << c.text;
  }
  // A reset puts every voice back to octave 1 and a quarter.
  VoiceNoteStatus().reset();
  EXPECT_EQ(Note(1, "c", 1, quarter)->getName(), "c");
}

TEST(ConvertedNote, PackedWordAndFlatForm) {
  const vornelnoteduration dotted(3, 16, 1);
  EXPECT_EQ(dotted.packed, (1 << 12) | (3 << 8) | 16);
  // The word keeps four bits of numerator: the flat form carries the exact value as well.
  const vornelnoteduration long_(17, 256, 0);
  EXPECT_EQ(long_.packed, (1 << 8) | 0);
  const Svornelelement note = vornelnote::create(1, "b", 1, 59, long_, (6 << 8) | 3, "&");
  EXPECT_EQ(TagLineText(*note->flatten()), "note 59 b 4 & 256 1539 17 256 0");
  const Svornelelement rest = vornelnote::create(1, "_", 0, -1, vornelnoteduration(1, 4, 0), 0, "");
  EXPECT_EQ(TagLineText(*rest->flatten()), "note -1 _ 3 \"\" 260 0 1 4 0");
}

TEST(FlatList, ContainersOpenAndClose) {
  Svornelelement score = vornelchord::create();
  score->setName("Score");
  Svornelelement tuning = vorneltag::create("tuning");
  tuning->add(vornelparam::create(0, false));
  Svornelelement lines = vorneltag::create("staff_lines");
  lines->add(vornelparam::create(6, true));
  tuning->add(lines);
  score->add(tuning);
  Svornelelement sequence = vornelseq::create(1);
  for (long p : {1, 1, 0, 0}) sequence->add(vornelparam::create(p, false));
  score->add(sequence);
  sequence->add(vorneltag::create("bar"));  // a tag without children closes nothing
  Svornelelement chord = vornelchord::create();
  chord->add(Note(1, "c", 1, vornelnoteduration()));
  chord->add(Note(1, "e", 1, vornelnoteduration()));
  sequence->add(chord);
  Svornelelement grace = vorneltag::create("grace");
  grace->add(Note(1, "d", 1, vornelnoteduration()));
  sequence->add(grace);

  const Svornelelement flat = flattenTree(score);
  EXPECT_EQ(TagListToText(*flat),
            "\\tuning 0\n"
            "\\staff_lines 6\n"
            "endgroup \\tuning\n"
            "staff 1 1 1 0 0\n"
            "\\bar\n"
            "chord\n"
            "note 48 c 4 \"\" 260 0 1 4 0\n"
            "note 48 e 4 \"\" 260 0 1 4 0\n"
            "endchord chord\n"
            "\\grace\n"
            "note 48 d 4 \"\" 260 0 1 4 0\n"
            "endgroup \\grace\n"
            "endstaff staff\n"
            "endgroup Score\n");
}

TEST(FlatList, DeepNestingFlattensAndReleasesWithoutRecursion) {
  MusicXML2::testing::RunOnSmallStack([] {
    Svornelelement score = vornelchord::create();
    score->setName("Score");
    vornelelement* inner = score.get();
    constexpr int kDepth = 200000;
    for (int i = 0; i < kDepth; ++i) {
      Svornelelement volta = vorneltag::create("volta");
      inner->add(volta);
      inner = volta.get();
    }
    const Svornelelement flat = flattenTree(score);
    // Each volta but the innermost closes; the "Score" closes last.
    EXPECT_EQ(flat->elements().size(), 2u * kDepth);
    EXPECT_EQ(flat->elements().back()->getName(), "endgroup");
  });
}

TEST(FlatList, TextFormReadsBack) {
  const char* text =
      "staff 1 1 1 0 0\n"
      "# a comment line\n"
      "\n"
      "\\words \"two words\" \"say \\\"hi\\\"\\n\" \"\" \\x\n";
  const Svornelelement list = TagListFromText(text);
  ASSERT_EQ(list->elements().size(), 2u);
  const vornelelement& words = *list->elements()[1];
  EXPECT_EQ(words.getName(), "\\words");
  EXPECT_EQ(words.param(0), "two words");
  EXPECT_EQ(words.param(1), "say \"hi\"\n");
  EXPECT_EQ(words.param(2), "");
  EXPECT_EQ(words.param(3), "\\x");
  EXPECT_EQ(TagLineText(words), "\\words \"two words\" \"say \\\"hi\\\"\\n\" \"\" \\x");
  EXPECT_EQ(TagListFromText("a\nb\nc\n", 2)->elements().size(), 2u);
}

}  // namespace
}  // namespace vornel
