// MusicXML of small sections built here, compared with golden files checked by hand, and the
// points the golden files show spelled out.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "layout/ExportFixtures.h"
#include "layout/export/MusicXmlExport.h"
#include "model/events/CMetaEvent.h"

namespace vornel {
namespace {

using namespace testing;

const ExportDate kDate{2024, 3, 7};

// One instrument on a tablature: rests, chords, a lyric, accidentals, and the bar lines that
// shape measures (repeats, hidden and unnumbered bars, a stave break, a system ending on a bar).
std::unique_ptr<CVornelTabDoc> MeasuresDocument() {
  auto doc = NewDocument(2);
  doc->settings.Text(CDocumentSettings::kTitle).text = "Lachrimae";
  doc->settings.Text(CDocumentSettings::kAuthor).text = "J. Dowland";
  CSystemArray& section = *doc->sections.at(0);
  section.Title().text = "Pavan";
  section.tempo = 0x1000 | 72;  // a flag above the beats per minute
  section.key.alterations = 2;
  section.key.bemol = 0;
  section.Definition(0)->nameText.text = "Lute";
  section.Definition(0)->midi.patch = 24;

  nChordArray& first = VoiceOf(*doc, 0);
  first.push_back(ChordOf(3, {{67, 0}}));                      // a quarter spelled from its pitch
  first.push_back(ChordOf(2));                                 // a half rest
  auto triad = ChordOf(3 | 8, {{67, 0}, {62, 1}, {58, 2}});    // a dotted quarter with a lyric
  triad->notes.at(2)->name = SpelledName(1, 4, nNotes::kFlat);
  triad->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "la", 0, 0, 0));
  first.push_back(std::move(triad));
  first.push_back(Bar(0x81, 2));                             // a backward repeat
  first.push_back(ChordOf(4, {{69, 0}}));
  first.push_back(Bar(0x21, 3));                             // a hidden bar
  first.push_back(ChordOf(4, {{71, 0}}));
  first.push_back(Bar(1, 0, nChord::kSkipNumber));           // a bar the numbering skips
  first.push_back(ChordOf(4, {{72, 0}}));
  first.push_back(Bar(1, 5));                                // the system ends on a bar

  nChordArray& second = VoiceOf(*doc, 1);
  second.push_back(ChordOf(4, {{67, 0}}));
  second.push_back(Bar(0x91, 6));                            // a forward repeat
  second.push_back(ChordOf(4, {{67, 0}}));
  second.push_back(Bar(0xD1, 7));                            // a dotted bar
  second.push_back(ChordOf(4, {{67, 0}}));
  second.push_back(Bar(0xA1, 8));                            // repeats both ways
  second.push_back(ChordOf(4, {{67, 0}}));
  second.push_back(Bar(0x41, 0));                            // a stave break inside the measure
  second.push_back(ChordOf(4, {{67, 0}}));
  return doc;
}

// Two instruments: a lute shown on a tablature and a G8 staff, and a bass viol on an F clef;
// every header text filled, with characters to escape.
std::unique_ptr<CVornelTabDoc> PartsDocument() {
  auto doc = NewDocument(1);
  const char* texts[] = {"Suite <1>", "Anon. & friends", "MS 31", "A. Copyist", "(c) none", "Première"};
  for (size_t i = 0; i < 6; ++i) doc->settings.texts.at(i)->text = texts[i];
  CSystemArray& section = *doc->sections.at(0);
  CInstrumentDlg& lute = *section.Definition(0);
  lute.ApplyNotationPreset(7);
  lute.nameText.text.clear();
  lute.midi.name = "Acoustic Guitar";
  lute.key.transposePitch = -12;
  CInstrumentDlg& viol = *section.AddInstrument(std::make_unique<CInstrumentDlg>());
  viol.ApplyNotationPreset(3);
  viol.nameText.text = "Bass viol";
  VoiceOf(*doc, 0, 0).push_back(ChordOf(3, {{67, 0}, {60, 2}}));
  VoiceOf(*doc, 0, 1).push_back(ChordOf(2, {{48, 4}}));
  return doc;
}

struct GoldenCase {
  const char* name;
  std::function<std::unique_ptr<CVornelTabDoc>()> build;
};

TEST(MusicXmlExport, GoldenSections) {
  const GoldenCase cases[] = {{"measures.xml", MeasuresDocument}, {"parts.xml", PartsDocument}};
  for (const GoldenCase& c : cases) {
    auto doc = c.build();
    const std::optional<std::string> text = SectionMusicXmlText(*doc, 0, kDate);
    ASSERT_TRUE(text) << c.name;
    EXPECT_EQ(text->find('\r'), std::string::npos) << c.name;
    ExpectGoldenFile(c.name, *text);
  }
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(MusicXmlExport, MeasuresCloseWhereTheirBarLinesStand) {
  auto doc = MeasuresDocument();
  const std::string text = *SectionMusicXmlText(*doc, 0, kDate);
  EXPECT_TRUE(Contains(text, "<encoding-date>2024-03-07</encoding-date>"));
  EXPECT_TRUE(Contains(text, "<midi-program>25</midi-program>"));
  EXPECT_TRUE(Contains(text, "<fifths>+2</fifths>"));
  EXPECT_TRUE(Contains(text, "<sound tempo=\"72\" dynamics=\"71\"/>"));
  EXPECT_TRUE(Contains(text, "<duration>144</duration>"));
  EXPECT_TRUE(Contains(text, "<alter>-1</alter>"));
  // The header has no comments, so no credit of its own; the section's title makes one.
  EXPECT_EQ(text.find("<credit "), text.rfind("<credit "));
  // The backward repeat ends measure 1; the hidden bar's measure has no bar line.
  EXPECT_TRUE(Contains(text, "<bar-style>light-heavy</bar-style>\n                <repeat direction=\"backward\"/>\n"
                             "            </barline>\n        </measure>\n        <measure number=\"2\">"));
  EXPECT_TRUE(Contains(text, "<measure number=\"3\">"));
  EXPECT_TRUE(Contains(text, "<measure number=\"3X1\" implicit=\"yes\">"));
  // The first system ends on bar 5: the second system starts measure 5, with its print first.
  EXPECT_TRUE(Contains(text, "<measure number=\"5\">\n            <print new-system=\"yes\"/>"));
  EXPECT_TRUE(Contains(text, "<barline location=\"left\">\n                <bar-style>heavy-light</bar-style>\n"
                             "                <repeat direction=\"forward\"/>"));
  EXPECT_TRUE(Contains(text, "<bar-style>dotted</bar-style>"));
  EXPECT_FALSE(Contains(text, "light-dotted-light"));
  EXPECT_FALSE(Contains(text, "<measure>"));
}

TEST(MusicXmlExport, EachStaffIsAPartOfOneStaff) {
  auto doc = PartsDocument();
  const std::string text = *SectionMusicXmlText(*doc, 0, kDate);
  for (const char* id : {"P1-0", "P1-1", "P2-0"}) {
    EXPECT_TRUE(Contains(text, std::string("<part id=\"") + id + "\">")) << id;
  }
  EXPECT_FALSE(Contains(text, "<staves>2</staves>"));
  EXPECT_FALSE(Contains(text, "<clef number=\"2\">"));
  EXPECT_TRUE(Contains(text, "<sign>G</sign>\n                    <line>2</line>\n"
                             "                    <clef-octave-change>-1</clef-octave-change>"));
  EXPECT_TRUE(Contains(text, "<sign>F</sign>\n                    <line>4</line>"));
  EXPECT_TRUE(Contains(text, "<instrument-name>Acoustic Guitar</instrument-name>"));
  EXPECT_TRUE(Contains(text, "<movement-title>Suite &lt;1&gt;</movement-title>"));
  EXPECT_TRUE(Contains(text, "Première</credit-words>"));
}

// The text between the first "<note>" holding `marker` and its "</note>".
std::string NoteWith(const std::string& text, const std::string& marker, size_t from = 0) {
  const size_t at = text.find(marker, from);
  if (at == std::string::npos) return {};
  const size_t start = text.rfind("<note>", at);
  return text.substr(start, text.find("</note>", at) - start);
}

std::string Pitch(const char* step, int alter, int octave) {
  std::string pitch = std::string("<step>") + step + "</step>\n";
  if (alter != 0) pitch += "                    <alter>" + std::to_string(alter) + "</alter>\n";
  return pitch + "                    <octave>" + std::to_string(octave) + "</octave>";
}

TEST(MusicXmlExport, PitchesSoundAsTheySoundInTheKey) {
  // Two sharps: an F spelled without an accidental sounds F sharp; B sharp and C flat take the
  // octave of their step; a name far from its pitch is spelled from the pitch.
  auto doc = NewDocument(1);
  CSystemArray& section = *doc->sections.at(0);
  section.key.alterations = 2;
  section.key.bemol = 0;
  nChordArray& voice = VoiceOf(*doc, 0);
  const struct {
    uint8_t pitch;
    uint16_t name;
  } notes[] = {{66, SpelledName(5, 5)},                    // F sharp by the key
               {72, SpelledName(1, 5, nNotes::kSharp)},    // B sharp 4
               {59, SpelledName(2, 5, nNotes::kFlat)},     // C flat 4
               {61, SpelledName(2, 5, nNotes::kSharp)},    // C sharp shown
               {72, SpelledName(1, 6, nNotes::kSharp)}};   // an old name an octave off
  for (const auto& n : notes) {
    voice.push_back(ChordOf(4, {{n.pitch, 0}}));
    voice.back()->notes.at(0)->name = n.name;
  }
  const std::string text = *SectionMusicXmlText(*doc, 0, kDate);
  const std::string expected[] = {Pitch("F", 1, 4), Pitch("B", 1, 4), Pitch("C", -1, 4), Pitch("C", 1, 4),
                                  Pitch("C", 0, 5)};
  size_t at = 0;
  for (const std::string& pitch : expected) {
    at = text.find("<step>", at);
    ASSERT_NE(at, std::string::npos) << pitch;
    EXPECT_EQ(text.substr(at, pitch.size()), pitch);
    ++at;
  }
}

TEST(MusicXmlExport, ValuesTupletsHeldNotesAndTimeChanges) {
  auto doc = NewDocument(1);
  nChordArray& voice = VoiceOf(*doc, 0);
  for (int i = 0; i < 3; ++i) voice.push_back(ChordOf(0x14, {{60, 2}}));  // triplet eighths
  for (int i = 0; i < 5; ++i) voice.push_back(ChordOf(0x24, {{62, 1}}));  // quintuplet sixteenths
  voice.push_back(ChordOf(4 | 8));                                        // a dotted eighth rest
  voice.push_back(ChordOf(5, {{64, 1}}));
  auto bar = Bar(0x35, 2);
  bar->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTimeSignature, "true", 1, 3, 4));
  voice.push_back(bar);
  voice.push_back(ChordOf(2, {{67, 0}}));
  voice.push_back(ChordOf(3, {{67, 0}}));
  voice.back()->notes.at(0)->slur = 0x800;  // held from the half
  voice.push_back(ChordOf(3, {{67, 0}}));
  voice.RebarVoice(4, 4);  // as the editor has it: the first quintuplet marked to take the remainder
  const std::string text = *SectionMusicXmlText(*doc, 0, kDate);

  const std::string triplet = NoteWith(text, "<step>C</step>");
  EXPECT_TRUE(Contains(triplet, "<duration>32</duration>"));
  EXPECT_TRUE(Contains(triplet, "<type>eighth</type>\n                <time-modification>\n"
                                "                    <actual-notes>3</actual-notes>\n"
                                "                    <normal-notes>2</normal-notes>"));
  // Five sixteenths in the time of four: 96 divisions between them, each ending where its exact
  // length ends, rounded down.
  size_t at = 0;
  std::string durations;
  for (int i = 0; i < 5; ++i) {
    const std::string note = NoteWith(text, "<step>D</step>", at);
    at = text.find("<step>D</step>", at) + 1;
    EXPECT_TRUE(Contains(note, "<type>16th</type>")) << i;
    EXPECT_TRUE(Contains(note, "<actual-notes>5</actual-notes>")) << i;
    EXPECT_TRUE(Contains(note, "<normal-notes>4</normal-notes>")) << i;
    durations += note.substr(note.find("<duration>") + 10, 2) + " ";
  }
  EXPECT_EQ(durations, "19 19 19 19 20 ");
  EXPECT_TRUE(Contains(text, "<rest/>\n                <duration>72</duration>\n                <type>eighth</type>\n"
                             "                <dot/>"));
  // The new time opens the measure it starts.
  EXPECT_TRUE(Contains(text, "<measure number=\"2\">\n            <attributes>\n                <time>\n"
                             "                    <beats>3</beats>\n                    <beat-type>4</beat-type>"));
  const std::string half = NoteWith(text, "<type>half</type>");
  EXPECT_TRUE(Contains(half, "<tie type=\"start\"/>"));
  EXPECT_TRUE(Contains(half, "<tied type=\"start\"/>"));
  EXPECT_FALSE(Contains(half, "stop"));
  const std::string held = NoteWith(text, "<tie type=\"stop\"/>");
  EXPECT_TRUE(Contains(held, "<type>quarter</type>"));
  EXPECT_TRUE(Contains(held, "<tied type=\"stop\"/>"));
  EXPECT_FALSE(Contains(held, "start"));
}

// Each system's voice is written on its own: a note held across the system break still ends
// the tie of the chord before the break, and a tie is started only where a held note follows.
TEST(MusicXmlExport, TiesReachAcrossSystems) {
  auto doc = NewDocument(2);
  VoiceOf(*doc, 0).push_back(ChordOf(2, {{60, 1}}));
  nChordArray& second = VoiceOf(*doc, 1);
  for (const uint32_t slur : {0x800u, 0u, 0x800u}) {
    second.push_back(ChordOf(3, {{60, 1}}));
    second.back()->notes.at(0)->slur = slur;
  }
  const std::string text = *SectionMusicXmlText(*doc, 0, kDate);
  const char* const expected[] = {"start", "stop", "start", "stop"};
  size_t at = 0;
  for (size_t i = 0; i < std::size(expected); ++i) {
    const std::string note = NoteWith(text, "<step>C</step>", at);
    at = text.find("<step>C</step>", at) + 1;
    EXPECT_TRUE(Contains(note, std::string("<tie type=\"") + expected[i] + "\"/>")) << i;
    EXPECT_FALSE(Contains(note, std::string("<tie type=\"") + expected[1 - i % 2] + "\"/>")) << i;
  }
  EXPECT_EQ(text.find("<step>C</step>", at), std::string::npos);
}

TEST(MusicXmlExport, KeyboardStavesWalkOneVoiceEach) {
  auto doc = NewDocument(1);
  CSystemArray& section = *doc->sections.at(0);
  section.Definition(0)->ApplyNotationPreset(5);  // a G and an F clef
  VoiceOf(*doc, 0).push_back(ChordOf(3, {{72, 0}}));
  doc->sections.at(0)->System(0)->Line(0)->secondVoice.push_back(ChordOf(3, {{48, 5}}));
  std::string text = *SectionMusicXmlText(*doc, 0, kDate);
  const size_t lower = text.find("<part id=\"P1-1\">");
  ASSERT_NE(lower, std::string::npos);
  EXPECT_TRUE(Contains(text.substr(0, lower), "<octave>5</octave>"));
  EXPECT_FALSE(Contains(text.substr(0, lower), "<octave>3</octave>"));
  EXPECT_TRUE(Contains(text.substr(lower), "<octave>3</octave>"));
  EXPECT_FALSE(Contains(text.substr(lower), "<octave>5</octave>"));

  // A tablature and its notation show the same music: both walk the first voice.
  section.Definition(0)->ApplyNotationPreset(7);
  text = *SectionMusicXmlText(*doc, 0, kDate);
  const size_t second = text.find("<part id=\"P1-1\">");
  ASSERT_NE(second, std::string::npos);
  EXPECT_TRUE(Contains(text.substr(second), "<octave>5</octave>"));
  EXPECT_FALSE(Contains(text, "<octave>3</octave>"));
}

TEST(MusicXmlExport, ATransposingInstrumentIsWrittenAtWrittenPitch) {
  struct Case {
    const char* label;
    int transpose;         // the key's: written less sounding pitch
    uint8_t pitch;         // sounding
    int step;              // its spelling's step (octave x 7 + step from C)
    const char* fifths;    // the written key of C major
    const char* moved;     // the "transpose" element's children
    std::string written;
  };
  const Case cases[] = {
      {"a clarinet in A", 3, 69, 40, "-3", "<diatonic>-2</diatonic>\n                    <chromatic>-3</chromatic>",
       Pitch("C", 0, 5)},
      {"its C sharp, a written E", 3, 73, 42, "-3", "<diatonic>-2</diatonic>", Pitch("E", 0, 5)},
      {"a bass clarinet in B flat, an octave and a step below", 14, 58, 34, "+2",
       "<diatonic>-1</diatonic>\n                    <chromatic>-2</chromatic>\n"
       "                    <octave-change>-1</octave-change>",
       Pitch("C", 0, 5)},
  };
  for (const Case& c : cases) {
    auto doc = NewDocument(1);
    CSystemArray& section = *doc->sections.at(0);
    section.Definition(0)->ApplyNotationPreset(3);
    section.Definition(0)->key.transpose = c.transpose;
    VoiceOf(*doc, 0).push_back(ChordOf(3, {{c.pitch, 0}}));
    ASSERT_TRUE(VoiceOf(*doc, 0).back()->notes.at(0)->SetWrittenSpelling(c.step, section.key)) << c.label;
    const std::string text = *SectionMusicXmlText(*doc, 0, kDate);
    EXPECT_TRUE(Contains(text, std::string("<fifths>") + c.fifths + "</fifths>")) << c.label;
    EXPECT_TRUE(Contains(text, std::string("<transpose>\n                    ") + c.moved)) << c.label;
    EXPECT_TRUE(Contains(text, c.written)) << c.label << "\n" << text;
  }
}

TEST(MusicXmlExport, MeasuresAreNumberedFromTheFirstBarAndOpenInTheirTime) {
  // A pickup numbered 0 in a time that does not show, then bars over a system break.
  auto doc = NewDocument(2);
  CSystemArray& section = *doc->sections.at(0);
  section.barOffset = 0;
  nChordArray& first = VoiceOf(*doc, 0);
  first.AppendTimeSignature(1, 4)->metaEvents.at(0)->value = 0;
  first.push_back(ChordOf(3, {{60, 2}}));
  first.push_back(Bar(0x11, 1));
  first.AppendTimeSignature(4, 4);
  first.push_back(ChordOf(1, {{62, 1}}));
  nChordArray& second = VoiceOf(*doc, 1);
  second.push_back(Bar(1, 0));  // the bar a system starts with is not numbered
  second.push_back(ChordOf(1, {{64, 1}}));
  second.push_back(Bar(1, 3));
  second.push_back(ChordOf(1, {{65, 1}}));
  const std::string text = *SectionMusicXmlText(*doc, 0, kDate);
  EXPECT_TRUE(Contains(text, "<measure number=\"0\" implicit=\"yes\">"));
  EXPECT_TRUE(Contains(text, "<time print-object=\"no\">\n                    <beats>1</beats>"));
  EXPECT_TRUE(Contains(text, "<measure number=\"1\">\n            <attributes>\n                <time>\n"
                             "                    <beats>4</beats>"));
  EXPECT_TRUE(Contains(text, "<measure number=\"2\">\n            <print new-system=\"yes\"/>"));
  EXPECT_TRUE(Contains(text, "<measure number=\"3\">"));
  EXPECT_EQ(text.find("<beats>4</beats>"), text.rfind("<beats>4</beats>"));  // no invented 4/4 before
}

TEST(MusicXmlExport, VoltaEndingsOpenTheirMeasuresAndStopWhereTheyReach) {
  auto doc = NewDocument(1);
  nChordArray& voice = VoiceOf(*doc, 0);
  const auto ending = [](uint16_t status, uint32_t number, const char* text, uint32_t reach, int open) {
    auto bar = Bar(status, number);
    bar->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kEnding, text, reach, open, 0));
    return bar;
  };
  voice.push_back(ChordOf(1, {{60, 2}}));
  voice.push_back(ending(0x11, 2, "1.", 2, 0));
  voice.push_back(ChordOf(1, {{62, 1}}));
  voice.push_back(ending(0x81, 3, "2.", 2, 1));  // a backward repeat ends the first ending
  voice.push_back(ChordOf(1, {{64, 1}}));
  voice.push_back(Bar(1, 4));
  voice.push_back(ChordOf(1, {{65, 1}}));
  const std::string text = *SectionMusicXmlText(*doc, 0, kDate);
  EXPECT_TRUE(Contains(text, "<measure number=\"2\">\n            <barline location=\"left\">\n"
                             "                <ending number=\"1\" type=\"start\">1.</ending>"));
  EXPECT_TRUE(Contains(text, "<bar-style>light-heavy</bar-style>\n                <ending number=\"1\" type=\"stop\"/>\n"
                             "                <repeat direction=\"backward\"/>"));
  EXPECT_TRUE(Contains(text, "<ending number=\"2\" type=\"start\">2.</ending>"));
  EXPECT_TRUE(Contains(text, "<bar-style>regular</bar-style>\n                <ending number=\"2\" type=\"discontinue\"/>"
                             "\n            </barline>\n        </measure>\n        <measure number=\"4\">"));
}

TEST(MusicXmlExport, MissingSectionWritesNothing) {
  auto doc = MeasuresDocument();
  EXPECT_FALSE(SectionMusicXmlText(*doc, 1, kDate));
  TempDir dir;
  EXPECT_EQ(WriteSectionMusicXml(*doc, dir.File("out.xml"), 3, kDate), 0);
  EXPECT_EQ(WriteSectionMusicXml(*doc, dir.File("out.xml"), -1, kDate), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.xml")));
  EXPECT_EQ(WriteSectionMusicXml(*doc, dir.File("out.xml"), 0, kDate), 1);
  EXPECT_TRUE(std::filesystem::exists(dir.File("out.xml")));
  EXPECT_EQ(WriteSectionMusicXml(*doc, dir.File("no/such/folder/out.xml"), 0, kDate), 0);
}

TEST(MusicXmlExport, DateText) {
  EXPECT_EQ((ExportDate{987, 12, 31}.Text()), "0987-12-31");
  const ExportDate today = ExportDate::Today();
  EXPECT_GE(today.year, 2024);
  EXPECT_EQ(today.Text().size(), 10u);
}

}  // namespace
}  // namespace vornel
