// ABC tunes into sections: keys, lengths, tempi, bars, broken rhythms, tuplets, slurs, voices,
// tablature lines, and the limits a hostile file meets.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "import/text/AbcText.h"
#include "import/text/CAbcImport.h"
#include "import/text/TextImportSupport.h"
#include "support/Bytes.h"
#include "TextImportFixtures.h"

namespace vornel::testing {
namespace {

class AbcImportTest : public ::testing::Test, public TextImportTest {
 protected:
  // Imports the text; returns the number of sections added.
  size_t Import(std::string_view text) {
    CAbcImport abc(doc);
    return abc.ReadAbcText(text, Lute());
  }
  const nChord& FirstChord() { return *Chords(Last()).at(0); }
};

TEST_F(AbcImportTest, KeysGiveTheirSignaturesAndPitches) {
  struct Case {
    std::string key;
    uint32_t alterations;
    bool flats;
    int pitchOfF;  // "F" in the key
  };
  for (const Case& c : {Case{"Ddor", 0, true, 65}, Case{"D Dorian", 0, true, 65}, Case{"Bb", 2, true, 65},
                        Case{"Em", 1, false, 66}, Case{"F#", 6, false, 66}, Case{"Amix", 2, false, 66},
                        Case{"Amaj", 3, false, 66}, Case{"C clef=bass", 0, true, 65}}) {
    SCOPED_TRACE(c.key);
    ASSERT_EQ(Import("X:1\nK:" + c.key + "\nF\n"), 1u);
    EXPECT_EQ(Last().key.alterations, c.alterations);
    if (c.alterations != 0) {
      EXPECT_EQ(Last().key.bemol != 0, c.flats);
    }
    ASSERT_FALSE(FirstChord().notes.empty());
    EXPECT_EQ(FirstChord().notes.front()->pitch, c.pitchOfF);
  }
}

// The systems an import makes hold no caption of their own.
TEST_F(AbcImportTest, SystemsHoldNoCaption) {
  ASSERT_EQ(Import("X:1\nK:C\n" + std::string(200, 'A') + "\n"), 1u);
  ASSERT_GT(Last().systems.size(), 1u);
  for (const auto& system : Last().systems.items()) EXPECT_EQ(system->OwnCaption(), nullptr);
}

TEST_F(AbcImportTest, LengthsGiveRhythmCodes) {
  struct Case {
    std::string unit;
    std::string note;
    uint16_t rhythm;
  };
  for (const Case& c : {Case{"1/8", "A3/2", 4 | 8}, Case{"1/8", "A2", 3}, Case{"1/8", "A/", 5}, Case{"1/8", "A", 4},
                        Case{"1/8", "A//", 6}, Case{"1/8", "A/4", 6}, Case{"1/4", "A3", 2 | 8}, Case{"1/4", "A16", 0},
                        Case{"1/4", "A0", 3}, Case{"1/64", "A/", 7},
                        // Unit lengths that are no power of two from 1 to 64 are ignored.
                        Case{"1/0", "A", 3}, Case{"1/3", "A", 3}, Case{"1/128", "A", 3}}) {
    SCOPED_TRACE(c.unit + " " + c.note);
    ASSERT_EQ(Import("X:1\nL:" + c.unit + "\nK:C\n" + c.note + "\n"), 1u);
    EXPECT_EQ(Rhythm(FirstChord()), c.rhythm);
  }
}

TEST_F(AbcImportTest, TempoFields) {
  for (const auto& [field, tempo] : {std::pair<std::string, int32_t>{"1/4=120", 120}, {"1/4=400", 100},
                                     {"1/4=20", 100}, {"90", 120}}) {
    SCOPED_TRACE(field);
    ASSERT_EQ(Import("X:1\nQ:" + field + "\nK:C\nA\n"), 1u);
    EXPECT_EQ(Last().tempo, tempo);
  }
  // A tempo given by a word reads like a title.
  ASSERT_EQ(Import("X:1\nT:Gigue\nQ:Allegro\nK:C\nA\n"), 1u);
  EXPECT_EQ(Last().Title().text, "Gigue Allegro");
}

TEST_F(AbcImportTest, MeterFields) {
  for (const auto& [field, numerator, denominator] :
       {std::tuple<std::string, int32_t, int32_t>{"3/4", 3, 4}, {"6/8", 6, 8}, {"C", 4, 4}, {"3", 3, 4},
        // Numerators beyond 64 and denominators that are no power of two leave 4/4.
        {"3/5", 4, 4}, {"65/4", 4, 4}, {"3/0", 4, 4}, {"0/4", 4, 4}, {"none", 4, 4}}) {
    SCOPED_TRACE(field);
    ASSERT_EQ(Import("X:1\nM:" + field + "\nK:C\nA\n"), 1u);
    EXPECT_EQ(Last().numerator, numerator);
    EXPECT_EQ(Last().denominator, denominator);
  }
}

TEST_F(AbcImportTest, EveryTuneHasItsSectionAndTexts) {
  const size_t before = doc.sections.size();
  ASSERT_EQ(Import("X:1\nT:First\nC:Anon\nO:Italy\nB:\nK:C\nABc\nX:2\nT:Second\nK:G\nd\n"), 2u);
  ASSERT_EQ(doc.sections.size(), before + 2);
  EXPECT_EQ(prompts.statusTexts, (std::vector<std::string>{"sect.0", "sect.1"}));
  EXPECT_EQ(Section(before).Title().text, "First");
  EXPECT_EQ(Section(before).Author().text, "Anon");
  EXPECT_EQ(Chords(Section(before)).size(), 3u);
  EXPECT_EQ(Section(before + 1).Title().text, "Second");
  EXPECT_EQ(Chords(Section(before + 1)).size(), 1u);
  EXPECT_EQ(doc.sections.activeSection, static_cast<int32_t>(before + 1));
  // The comments went into the preface, with the title over them; an empty field adds nothing.
  EXPECT_TRUE(Section(before).Comments().text.empty());
  EXPECT_NE(Section(before).couplets.text.find("Origin: Italy"), std::string::npos);
  EXPECT_EQ(Section(before).couplets.text.find("Book:"), std::string::npos);
  // Each tune has a copy of the chosen instrument; the section the document had is untouched.
  EXPECT_EQ(Section(before).Definition(0)->nameText.text, "Lute in G");
  EXPECT_NE(Section(before).Definition(0), Section(before + 1).Definition(0));
  EXPECT_NE(Section(0).Definition(0)->nameText.text, "Lute in G");
  EXPECT_EQ(Section(0).Definition(0)->tabInstrument.tuning.CoursesInUse(), 7u);
}

TEST_F(AbcImportTest, ReadingStopsAfterAThousandTunes) {
  std::string text;
  for (int i = 1; i <= 1005; ++i) text += "X:" + std::to_string(i) + "\nK:C\nA\n";
  EXPECT_EQ(Import(text), 1000u);
  EXPECT_EQ(prompts.statusTexts.back(), "sect.1000");
}

TEST_F(AbcImportTest, BarsAndEndings) {
  ASSERT_EQ(Import("X:1\nL:1/4\nM:4/4\nK:C\n|: ABcd :| ABcd :: ABcd || ABcd |1 ABcd :|[2 ABcd |]\n"), 1u);
  const std::vector<uint16_t> bars = BarStatuses(Last());
  for (const uint16_t status : {0x91, 0x81, 0xA1, 0x31, 0xB1, 0xCD}) {
    EXPECT_NE(std::find(bars.begin(), bars.end(), status), bars.end()) << std::hex << status;
  }
  std::vector<std::string> endings;
  for (const nChord* e : Events(Last())) {
    if (const CMetaEvent* ending = MetaOfKind(*e, CMetaEvent::kEnding)) {
      EXPECT_EQ(e->status, 0xCD);
      endings.push_back(ending->text);
    }
  }
  EXPECT_EQ(endings, (std::vector<std::string>{"1", "2"}));
}

TEST_F(AbcImportTest, BrokenRhythmsAndTuplets) {
  ASSERT_EQ(Import("X:1\nL:1/8\nK:C\nA>B c<d (3efg a\n"), 1u);
  std::vector<uint16_t> rhythms;
  for (const nChord* chord : Chords(Last())) rhythms.push_back(Rhythm(*chord));
  EXPECT_EQ(rhythms, (std::vector<uint16_t>{4 | 8, 5, 5, 4 | 8, 0x14, 0x14, 0x14, 4}));
}

TEST_F(AbcImportTest, TheTupletCountEndsWithItsTune) {
  ASSERT_EQ(Import("X:1\nK:C\n(3A\nX:2\nK:C\nAB\n"), 2u);
  for (const nChord* chord : Chords(Last())) EXPECT_EQ(chord->rhythm & 0xF0, 0);
}

TEST_F(AbcImportTest, SlursTiesAndDecorations) {
  ASSERT_EQ(Import("X:1\nK:C\n(G,c) d- d !trill!e \"Am\"f \"Fine\"g Hg !accent!a\n"), 1u);
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 9u);
  // G, lies on course 4 (fret 2), c on course 1 (fret 5): a span of three, two notes, upwards.
  const nNotes& start = *chords[0]->notes.front();
  EXPECT_EQ(start.string, 3);
  EXPECT_EQ(chords[1]->notes.front()->string, 0);
  EXPECT_EQ(start.slur & 0x7F, 3u * 8 + 0 + 0x40);
  // The tie is on the note it starts from (bit 7 follows the stem).
  EXPECT_EQ(chords[2]->notes.front()->slur & 0x7F, 0x40u);
  EXPECT_EQ(chords[3]->notes.front()->slur, 0u);
  nNotes trill;
  trill.ToggleDecoration(38);
  EXPECT_EQ(chords[4]->notes.front()->ornament, trill.ornament);
  ASSERT_NE(MetaOfKind(*chords[5], CMetaEvent::kChordName), nullptr);
  EXPECT_EQ(MetaOfKind(*chords[5], CMetaEvent::kChordName)->text, "Am");
  ASSERT_NE(MetaOfKind(*chords[6], CMetaEvent::kCaption), nullptr);
  EXPECT_EQ(MetaOfKind(*chords[6], CMetaEvent::kCaption)->text, "Fine");
  EXPECT_NE(MetaOfKind(*chords[7], CMetaEvent::kFermata), nullptr);
  EXPECT_EQ(chords[8]->dy, 0x1542);
}

TEST_F(AbcImportTest, AnnotationLinesAreStacked) {
  // Figured bass writes its figures one above the other with "\n"; a backslash before
  // anything else stays as it stands.
  ASSERT_EQ(Import("X:1\nK:C\n\"6\\n4\\n2\"d \"a\\b\\\"e \"x\\n\"f\n"), 1u);
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 3u);
  const std::string expected[] = {"6\n4\n2", "a\\b\\", "x\n"};
  for (size_t i = 0; i < 3; ++i) {
    const CMetaEvent* caption = MetaOfKind(*chords[i], CMetaEvent::kCaption);
    ASSERT_NE(caption, nullptr) << i;
    EXPECT_EQ(caption->text, expected[i]) << i;
  }
}

TEST_F(AbcImportTest, SlurSpansKeepToTheirThreeBits) {
  // A slur from the first course to the tenth: the span is cut to three bits instead of
  // reaching the direction bit.
  CAbcImport abc(doc);
  ASSERT_EQ(abc.ReadAbcText("X:1\nK:C\n(g A,,,)\n", Theorbo()), 1u);
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 2u);
  ASSERT_EQ(chords[0]->notes.front()->string, 0);
  ASSERT_EQ(chords[1]->notes.front()->string, 9);
  EXPECT_EQ(chords[0]->notes.front()->slur & 0x7F, (9u & 7) * 8);
}

TEST_F(AbcImportTest, VoicesBecomeInstruments) {
  ASSERT_EQ(Import("X:1\nK:C\nV:S clef=treble name=Canto\nV:L clef=frenchtab name=Liuto\n"
                   "[V:S] c d e\n[V:L] [a,,c1] ,,d/ ,a\n[V:S] f\n"),
            1u);
  ASSERT_EQ(Last().definitions.size(), 2u);
  EXPECT_EQ(Last().Definition(0)->nameText.text, "Canto");
  EXPECT_EQ(Last().Definition(0)->staves.at(0)->type, CClef::kStaff);
  EXPECT_EQ(Last().Definition(0)->staves.at(0)->clefId, CClef::kGClef);
  EXPECT_EQ(Last().Definition(1)->nameText.text, "Liuto");
  EXPECT_EQ(Last().Definition(1)->staves.at(0)->type, CClef::kTablature);
  EXPECT_EQ(Chords(Last(), 0).size(), 4u);
  EXPECT_EQ(Chords(Last(), 1).size(), 3u);
}

TEST_F(AbcImportTest, TablatureLines) {
  ASSERT_EQ(Import("X:1\nL:1/4\nK:C frenchtab\n[a,,c1] ,,d/ U,b \"Fine\"c |(3aba {7 {,, {99 {9 z2\n"), 1u);
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 12u);
  // A letter takes the course and moves on; commas move on.
  EXPECT_EQ(CoursesAndPitches(*chords[0]), (std::vector<std::pair<int, int>>{{0, 67}, {3, 55}}));
  EXPECT_EQ(Rhythm(*chords[0]), 3);
  EXPECT_EQ(CoursesAndPitches(*chords[1]), (std::vector<std::pair<int, int>>{{2, 60}}));
  EXPECT_EQ(Rhythm(*chords[1]), 4);
  // The decoration comes to the note after it; the length stays.
  nNotes marked;
  marked.ToggleDecoration(0x12);
  ASSERT_EQ(CoursesAndPitches(*chords[2]), (std::vector<std::pair<int, int>>{{1, 63}}));
  EXPECT_EQ(chords[2]->notes.front()->fingering, marked.fingering);
  EXPECT_EQ(Rhythm(*chords[2]), 4);
  ASSERT_NE(MetaOfKind(*chords[3], CMetaEvent::kLyrics), nullptr);
  EXPECT_EQ(MetaOfKind(*chords[3], CMetaEvent::kLyrics)->text, "Fine");
  // A "|" before a chord marks it; a triplet is marked as on note lines.
  EXPECT_EQ(chords[4]->status & 0x1000, 0x1000);
  for (size_t i = 4; i < 7; ++i) EXPECT_EQ(Rhythm(*chords[i]), 0x14) << i;
  // Bourdons: the six-course lute is given "{7" and the ninth course "{,," names (each a
  // natural step below the course above); no instrument has "{99".
  EXPECT_EQ(CoursesAndPitches(*chords[7]), (std::vector<std::pair<int, int>>{{6, 41}}));
  EXPECT_EQ(CoursesAndPitches(*chords[8]), (std::vector<std::pair<int, int>>{{8, 38}}));
  EXPECT_TRUE(chords[9]->notes.empty());
  EXPECT_EQ(CoursesAndPitches(*chords[10]), (std::vector<std::pair<int, int>>{{8, 38}}));
  EXPECT_EQ(Rhythm(*chords[11]), 2);
  EXPECT_TRUE(chords[11]->notes.empty());
}

TEST_F(AbcImportTest, BourdonsOnAnInstrumentThatHasThem) {
  CAbcImport abc(doc);
  ASSERT_EQ(abc.ReadAbcText("X:1\nK:frenchtab\n{7 {, {,,,,\n", Theorbo()), 1u);
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 3u);
  EXPECT_EQ(CoursesAndPitches(*chords[0]), (std::vector<std::pair<int, int>>{{6, 38}}));
  EXPECT_EQ(CoursesAndPitches(*chords[1]), (std::vector<std::pair<int, int>>{{7, 36}}));
  EXPECT_EQ(CoursesAndPitches(*chords[2]), (std::vector<std::pair<int, int>>{{10, 31}}));
}

// The steps of a "w:" line written out: a syllable as itself, "*" a note without one, "|" the
// rest of the bar without one.
std::string Steps(std::string_view words) {
  std::string out;
  for (const AbcSyllable& step : SplitAbcWords(words)) {
    if (!out.empty()) out += ' ';
    out += step.kind == AbcSyllable::Kind::kText       ? "[" + step.text + "]"
           : step.kind == AbcSyllable::Kind::kSkipNote ? std::string("*")
                                                       : std::string("|");
  }
  return out;
}

TEST(AbcWordsTest, SyllablesHoldsAndSkips) {
  const struct {
    std::string_view words;
    std::string_view steps;
  } cases[] = {
      {"la-la li", "[la-] [la] [li]"},
      {"  Do-mi-num.  ", "[Do-] [mi-] [num.]"},
      // A hyphen after a blank or another hyphen is a note of its own, and the word before goes on.
      {"Ma-gni - - fi-cat", "[Ma-] [gni-] * * [fi-] [cat]"},
      {"lied*** a", "[lied] * * * [a]"},
      // After "*" a hyphen only ends the skipped note.
      {"me**- * a", "[me] * * * [a]"},
      {"Do*** -*** *-* mi-", "[Do-] * * * * * * * * * [mi-]"},
      {"Kyr_ _ie", "[Kyr] * * [ie]"},
      {"one | two", "[one] | [two]"},
      {"1.~~Nun bin", "[1.  Nun] [bin]"},
      {"well\\-known", "[well-known]"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Steps(c.words), c.steps) << c.words;
}

TEST(AbcWordsTest, AccentedLetters) {
  const struct {
    std::string_view text;
    std::string_view decoded;
  } cases[] = {
      {"Tom\\'as", "Tom\xC3\xA1s"},
      {"l\\'e-ge-re re-\\cce-vour O\\`u", "l\xC3\xA9-ge-re re-\xC3\xA7" "e-vour O\xC3\xB9"},
      {"hin-f\\\"ur Stra\\sse \\AEther \\~n", "hin-f\xC3\xBCr Stra\xC3\x9F" "e \xC3\x86ther \xC3\xB1"},
      // Escapes it does not know stay for the readers that know them; so does a closing backslash.
      {"a\\-b \\\\'e \\q end\\", "a\\-b \\\\'e \\q end\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeAbcEscapes(c.text), c.decoded) << c.text;
}

TEST_F(AbcImportTest, WordsGoUnderTheNotesOfTheLineBefore) {
  ASSERT_EQ(Import("X:1\nT:Tom\\'as\nK:C\nAB z c | d e f |\nw:la-la li | do*\nw:2.~Ver-se\\-two\n"
                   "w:three _ _ e\n"),
            1u);
  EXPECT_EQ(Last().Title().text, "Tom\xC3\xA1s");
  std::vector<std::string> words;
  for (const nChord* chord : Chords(Last())) {
    if (chord->notes.empty()) continue;
    const CMetaEvent* lyric = MetaOfKind(*chord, CMetaEvent::kLyrics);
    words.push_back(lyric != nullptr ? lyric->text : "-");
  }
  // Rests and bars get nothing; each verse is a further line; "|" skips to the next bar.
  EXPECT_EQ(words, (std::vector<std::string>{"la-\r2. Ver-\rthree", "la\rse-two", "li", "do\r\re", "-", "-"}));
}

TEST_F(AbcImportTest, TextsInWindows1252AreReadAsSuch) {
  ASSERT_EQ(Import("X:1\nT:Pavane d\xE9" "di\xE9" "e\nK:C\nA\n"), 1u);
  EXPECT_EQ(Last().Title().text, "Pavane d\xC3\xA9" "di\xC3\xA9" "e");
  ASSERT_EQ(Import("X:1\nT:Caf\xC3\xA9\nK:C\nA\n"), 1u);
  EXPECT_EQ(Last().Title().text, "Caf\xC3\xA9");
}

TEST_F(AbcImportTest, AFileThatCannotBeOpenedAddsNothing) {
  TempDir dir;
  const size_t before = doc.sections.size();
  CAbcImport abc(doc);
  EXPECT_EQ(abc.ReadAbcFile(dir.File("missing.abc")), 0u);
  EXPECT_EQ(doc.sections.size(), before);
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"Unable to open abc file: " + dir.File("missing.abc") + ":\nNo such file or directory"}));
  // A file past the size an import reads says so, with the limit (a sparse file: no disk used).
  std::ofstream(dir.File("large.abc")) << "X:1\n";
  std::filesystem::resize_file(dir.File("large.abc"), kMaxImportFileBytes + 1);
  EXPECT_EQ(abc.ReadAbcFile(dir.File("large.abc")), 0u);
  EXPECT_EQ(prompts.messages.back(), "Unable to open abc file: " + dir.File("large.abc") +
                                         ":\nFile too large: 67108865 bytes, more than the 67108864 bytes it may have");
  EXPECT_EQ(doc.sections.size(), before);
}

TEST_F(AbcImportTest, HostileTexts) {
  std::string sparse;
  for (int i = 0; i < 1024; ++i) sparse += std::string(1023, ' ') + "A";
  for (const std::string& text : std::vector<std::string>{
           "X:1\nK:C\n" + sparse, "X:1\nK:C\n" + std::string(1 << 20, '!'), "X:1\nK:C\n" + std::string(1 << 20, '"'),
           "X:1\nK:C frenchtab\n" + std::string(1 << 20, ',') + "a", "X:1\nL:1/0\nK:C\nA,,,,,,,,,,,,,,,,,,,,,,,,,,A''",
           std::string("X:1\nK:C frenchtab\n{99 {,,,,,,,,,,,,,,,,,,,,,,,,, (99999999 aaaaa"),
           std::string("X:1\nK:C\n(((((((((()))))))))) [[[[ ]]]] |1,2,3 \"unclosed\n!never"),
           std::string("X:1\nK:C\nA99999999999999999999/99999999999999999 B///////////////////////////////// [V:"),
           std::string("X:1\nK:C\n(9999999 A B C\nV:\nV:1\nV:2\nV:1 clef=bass\n[V:2] A"),
           std::string("\0\xFF\x80\n\x01X:\n", 7), std::string("K:\xC3\nM:/\nL:/\nQ:=\nX:\n")}) {
    EXPECT_GE(Import(text), 1u);
  }
}

}  // namespace
}  // namespace vornel::testing
