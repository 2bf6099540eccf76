// ".ft2" files built byte by byte after their layout, and the same bytes gzipped as ".ft3":
// versions, strings, records and their escapes, bars with legatos, time signatures, tunings,
// titles, folders, and files cut short or grown huge.

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>

#include "import/ft2/Ft2Import.h"
#include "import/ft2/Ft2Importer.h"
#include "import/text/TextImportCommands.h"
#include "support/Bytes.h"
#include "TextImportFixtures.h"

namespace vornel::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

struct Writer {
  Bytes bytes;
  Writer& U8(int v) {
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Writer& U16(int v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
  Writer& Zeros(size_t n) {
    bytes.insert(bytes.end(), n, 0);
    return *this;
  }
  Writer& Raw(const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
  Writer& Text(std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  // A length byte, or 0xFF and a length word, then the text.
  Writer& String(std::string_view text) {
    if (text.size() >= 0xFF) {
      U8(0xFF).U16(static_cast<int>(text.size()));
    } else {
      U8(static_cast<int>(text.size()));
    }
    return Text(text);
  }
  Writer& LongString(std::string_view text) { return U16(static_cast<int>(text.size())).Text(text); }
};

// Event records.
Bytes Chord(int rhythm, bool dotted, std::vector<std::array<uint8_t, 4>> notes) {
  Writer w;
  w.U8(static_cast<int>(notes.size() + 1)).U8(0).U8(rhythm).U8(dotted ? 0x10 : 0).U8(0).U8(0);
  for (const auto& n : notes) w.U8(n[0] + 2).U8(n[1]).U8(n[2]).U8(n[3]).U8(0);
  return w.bytes;
}
// A bar (an extended record) with the next bar's header: its numerator and denominator code;
// `legato` = (chords back, course, length).
Bytes Bar(int numerator, int denominatorCode, std::optional<std::array<int, 3>> legato = {},
          std::string_view text = {}) {
  Writer w;
  w.U8(1).U8(0).U8(0x40).U8(0).U8(0).U8(0);
  if (legato) {
    w.U8((*legato)[0]).U8((*legato)[1]).U8((*legato)[2] + 2).U8(1).Zeros(5).Zeros(9);
  } else {
    w.Zeros(9);
  }
  w.U16(0).U16(text.empty() ? 0 : 1);
  if (!text.empty()) w.String(text).U16(0).U16(0);
  w.U8(0).U8(denominatorCode).U8(numerator).Zeros(5).Zeros(15);
  return w.bytes;
}
const Bytes kEndOfEvents = {0, 0, 0};

// One track: its header (bars announced, tempo), the first bar's header, the records and the
// end of its events.
Bytes Track(int bars, int tempo, int numerator, int denominatorCode, const std::vector<Bytes>& records) {
  Writer w;
  w.U16(bars).U8(0).U8(0).U8(tempo).U8(0).U8(0);
  w.U8(0).U8(denominatorCode).U8(numerator).Zeros(5).Zeros(15);
  for (const Bytes& r : records) w.Raw(r);
  w.Raw(kEndOfEvents);
  return w.bytes;
}

struct Ft2Layout {
  int version = 21;
  std::string author = "A. Lutenist";
  std::string rich1 = "{\\rtf1 Played slowly\\par}";
  std::string rich2 = "\\viewkind4 line\n{\\rtf1 The end\\par}";
  std::vector<Bytes> tracks;
  int pieces = 1;
  std::string title = "Fantasia prima";
  Bytes tuning = {0, 0, 0, 40, 45, 50, 55, 59, 64};
  bool padTitleBlock = true;
};

Bytes Ft2(const Ft2Layout& f) {
  Writer w;
  w.U16(f.version).Zeros(17 * 2).Zeros(294).Zeros(f.version == 22 ? 38 : 34);
  w.String("x").String(f.author);
  w.Zeros(22).U16(0).U16(0).LongString("").Zeros(8);
  w.String(f.rich1).String("").String(f.rich2).String("").String("").String("");
  const size_t tracks = std::max<size_t>(f.tracks.size(), 1);
  w.U16(0).U16(static_cast<int>(tracks)).Zeros(4 * tracks).Zeros(12);
  for (size_t t = 0; t < tracks; ++t) w.String("t");
  w.Zeros(11 * tracks).Zeros(20);
  w.U16(1).U16(2).U16(0xFFFF);
  w.U16(0).LongString("");
  for (const Bytes& track : f.tracks) w.Raw(track);
  // The trailer: the title before the marker, far enough from the header's strings.
  if (f.padTitleBlock) w.Zeros(2600);
  w.String(f.title).Zeros(3).U16(f.pieces).U8(0x03).U8(0x80);
  Bytes tuning = f.tuning;
  tuning.resize(58, 0);
  w.Raw(tuning).Zeros(6);
  return w.bytes;
}

Bytes Gzip(const Bytes& bytes) {
  Bytes out(compressBound(bytes.size()) + 64);
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  z.next_in = const_cast<Bytef*>(bytes.data());
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string SectionXml(const CSystemArray& section) {
  tinyxml2::XMLDocument xml;
  xml.InsertEndChild(section.WriteXml(xml));
  tinyxml2::XMLPrinter printer;
  xml.Print(&printer);
  return printer.CStr();
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  WriteText(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

class Ft2ImportTest : public ::testing::Test, public TextImportTest {
 protected:
  size_t Read(const Bytes& bytes) {
    Ft2Import ft2(doc);
    return ft2.ReadBytes(bytes, "test.ft2");
  }
  // A piece of one track in 4/4: a quarter on course 1 at fret 2, a bar, an eighth chord.
  static Ft2Layout Simple() {
    Ft2Layout f;
    f.tracks = {Track(2, 96, 4, 2,
                      {Chord(3, false, {{0, '2', 0, 0}}), Bar(4, 2), Chord(4, true, {{0, 'a', 0, 0}, {2, 'c', 0, 0}})})};
    return f;
  }
};

TEST_F(Ft2ImportTest, APieceBecomesASection) {
  const size_t before = doc.sections.size();
  ASSERT_EQ(Read(Ft2(Simple())), 1u);
  ASSERT_EQ(doc.sections.size(), before + 1);
  const CSystemArray& section = Last();
  EXPECT_EQ(section.Title().text, "Fantasia prima");
  EXPECT_EQ(section.Author().text, "A. Lutenist");
  EXPECT_EQ(section.EndText().text, "The end");
  EXPECT_NE(section.couplets.text.find("Played slowly"), std::string::npos);
  EXPECT_EQ(section.tempo, 96);
  // The tuning after the leading zeros, lowest course first.
  const nTuning& tuning = section.Definition(0)->tabInstrument.tuning;
  ASSERT_EQ(tuning.CoursesInUse(), 6u);
  EXPECT_EQ(tuning.courses[0].pitch + kCoursePitchOffset, 64);
  EXPECT_EQ(tuning.courses[5].pitch + kCoursePitchOffset, 40);
  const std::vector<const nChord*> chords = Chords(section);
  ASSERT_EQ(chords.size(), 2u);
  EXPECT_EQ(Rhythm(*chords[0]), 3);
  EXPECT_EQ(CoursesAndPitches(*chords[0]), (std::vector<std::pair<int, int>>{{0, 66}}));
  EXPECT_EQ(Rhythm(*chords[1]), 4 | 8);
  EXPECT_EQ(CoursesAndPitches(*chords[1]), (std::vector<std::pair<int, int>>{{0, 64}, {2, 57}}));
}

TEST_F(Ft2ImportTest, Versions) {
  for (const int version : {19, 20, 21, 22, 23}) {
    SCOPED_TRACE(version);
    Ft2Layout f = Simple();
    f.version = version;
    prompts.messages.clear();
    const bool accepted = version >= 20 && version <= 22;
    EXPECT_EQ(Read(Ft2(f)), accepted ? 1u : 0u);
    EXPECT_EQ(prompts.messages.empty(), accepted);
    if (!accepted) {
      EXPECT_EQ(prompts.messages[0], "This ft2 file version cannot be read: " + std::to_string(version));
    }
  }
}

TEST_F(Ft2ImportTest, LongStringsAndTitles) {
  Ft2Layout f = Simple();
  f.author = std::string(300, 'a');
  f.title = "Pa\x01vane";  // not a readable title
  ASSERT_EQ(Read(Ft2(f)), 1u);
  EXPECT_EQ(Last().Author().text, std::string(300, 'a'));
  EXPECT_EQ(Last().Title().text, "No title found");
}

TEST_F(Ft2ImportTest, RecordEscapesAndTexts) {
  Ft2Layout f;
  Writer text;
  text.U8(0x90).Zeros(7).U8(2).Zeros(4).String("dolce").Zeros(3);
  Writer nibble;  // a count byte with the high nibble 0xF: the count follows
  nibble.U8(0xF3).U8(0).U8(2).Raw(Bytes{0, 5, 0, 0, 0}).Raw(Bytes{2 + 1, 'b', 0, 0, 0});
  Writer zero;  // a count of 0: the count follows
  zero.U8(0).U8(0).U8(2).Raw(Bytes{0, 4, 0, 0, 0}).Raw(Bytes{2 + 2, '0', 0, 0, 0});
  f.tracks = {Track(1, 0, 4, 2, {text.bytes, Chord(3, false, {{0, '0', 0, 0}}), nibble.bytes, zero.bytes})};
  ASSERT_EQ(Read(Ft2(f)), 1u);
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 3u);
  ASSERT_NE(MetaOfKind(*chords[0], CMetaEvent::kCaption), nullptr);
  EXPECT_EQ(MetaOfKind(*chords[0], CMetaEvent::kCaption)->text, "dolce");
  EXPECT_EQ(CoursesAndPitches(*chords[1]), (std::vector<std::pair<int, int>>{{1, 60}}));
  EXPECT_EQ(Rhythm(*chords[1]), 5);
  EXPECT_EQ(CoursesAndPitches(*chords[2]), (std::vector<std::pair<int, int>>{{2, 55}}));
}

TEST_F(Ft2ImportTest, FretsDecorationsAndMissingCourses) {
  Ft2Layout f;
  f.tracks = {Track(1, 0, 4, 2,
                    {Chord(3, false,
                           {{0, 'k', 0x22, 0x01}, {1, ':', 0x40, 24}, {2, ' ', 0, 0}, {3, 'j', 0, 0}, {9, 'a', 0, 0}})})};
  ASSERT_EQ(Read(Ft2(f)), 1u);
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 1u);
  // "k" is fret 9, ":" moves up to "l" (10), "j" is 8 like "i"; course 10 does not exist.
  EXPECT_EQ(CoursesAndPitches(*chords[0]), (std::vector<std::pair<int, int>>{{0, 73}, {1, 69}, {3, 58}}));
  nNotes first;
  first.ToggleDecoration(15);
  first.ToggleDecoration(1);
  first.ToggleDecoration(4);
  const nNotes& high = *chords[0]->notes.NoteOnCourse(0);
  EXPECT_EQ(high.fingering, first.fingering);
  EXPECT_EQ(high.ornament, first.ornament);
  nNotes second;
  second.ToggleDecoration(2);
  second.ToggleDecoration(32);
  EXPECT_EQ(chords[0]->notes.NoteOnCourse(1)->fingering, second.fingering);
  EXPECT_EQ(chords[0]->notes.NoteOnCourse(1)->ornament, second.ornament);
}

TEST_F(Ft2ImportTest, BarsLegatosAndTimeSignatures) {
  Ft2Layout f;
  f.tracks = {Track(3, 0, 3, 2,
                    {Chord(3, false, {{0, '0', 0, 0}}), Chord(3, false, {{1, '0', 0, 0}}), Chord(3, false, {{2, '0', 0, 0}}),
                     Bar(2, 2, std::array<int, 3>{1, 2, 3}, "rit."), Chord(3, false, {{0, '1', 0, 0}}),
                     Chord(3, false, {{0, '2', 0, 0}}), Bar(2, 2, std::array<int, 3>{200, 1, 1}),
                     Chord(3, false, {{0, '3', 0, 0}}), Chord(3, false, {{0, '4', 0, 0}})})};
  ASSERT_EQ(Read(Ft2(f)), 1u);
  EXPECT_EQ(Last().numerator, 3);
  EXPECT_EQ(Last().denominator, 4);
  std::vector<const nChord*> events = Events(Last());
  // The first bar's 3/4 is an event of its own; the change to 2/4 rides on a bar line, and a
  // right static space follows it.
  std::vector<std::pair<uint16_t, std::string>> meters;
  bool spaceAfterChange = false;
  for (size_t i = 0; i < events.size(); ++i) {
    if (const CMetaEvent* m = MetaOfKind(*events[i], CMetaEvent::kTimeSignature)) {
      meters.emplace_back(events[i]->status, std::to_string(m->cx) + "/" + std::to_string(m->cy));
      EXPECT_EQ(m->value & 0xF0004u, 0xF0004u);
      if (events[i]->status == 5 && i + 1 < events.size()) spaceAfterChange = events[i + 1]->status == 0x182;
    }
  }
  EXPECT_EQ(meters, (std::vector<std::pair<uint16_t, std::string>>{{0x12, "3/4"}, {5, "2/4"}}));
  EXPECT_TRUE(spaceAfterChange);
  // The legato counted one chord back from the bar marks the second chord on course 2; one
  // counted back beyond the voice's start marks nothing.
  const std::vector<const nChord*> chords = Chords(Last());
  ASSERT_EQ(chords.size(), 7u);
  EXPECT_EQ(chords[1]->notes.front()->slur & ~0x80u, 3u | 0x710);
  EXPECT_EQ(chords[0]->notes.front()->slur, 0u);
  // The bar's text stays with the chord after it, as re-barring takes bar lines away.
  ASSERT_NE(MetaOfKind(*chords[3], CMetaEvent::kCaption), nullptr);
  EXPECT_EQ(MetaOfKind(*chords[3], CMetaEvent::kCaption)->text, "rit.");
}

TEST_F(Ft2ImportTest, TracksBecomeInstruments) {
  Ft2Layout f;
  f.tracks = {Track(1, 0, 4, 2, {Chord(3, false, {{0, '0', 0, 0}})}),
              Track(1, 0, 4, 2, {Chord(3, false, {{1, '0', 0, 0}}), Chord(3, false, {{1, '1', 0, 0}})})};
  ASSERT_EQ(Read(Ft2(f)), 1u);
  ASSERT_EQ(Last().definitions.size(), 2u);
  EXPECT_EQ(Last().stavesPerPage, 4);
  EXPECT_EQ(Chords(Last(), 0).size(), 1u);
  EXPECT_EQ(Chords(Last(), 1).size(), 2u);
}

TEST_F(Ft2ImportTest, TuningsThatCannotBeRead) {
  Ft2Layout f = Simple();
  f.tuning = Bytes(16, 0);
  f.tuning.push_back(60);
  const size_t before = doc.sections.size();
  EXPECT_EQ(Read(Ft2(f)), 0u);
  EXPECT_EQ(doc.sections.size(), before);
  EXPECT_EQ(prompts.messages, (Lines{"Corrupt tuning found"}));
  EXPECT_EQ(prompts.captions, (Lines{"Error: Cannot proceed"}));
  Bytes tiny(63, 0);
  tiny[0] = 21;
  EXPECT_EQ(Read(tiny), 0u);
  EXPECT_EQ(prompts.messages.back(), "The ft2 file ends inside a piece: test.ft2");
  EXPECT_EQ(doc.sections.size(), before);
}

TEST_F(Ft2ImportTest, EveryTruncationEndsWithAMessageOrAPartialSection) {
  Ft2Layout f = Simple();
  f.padTitleBlock = false;
  const Bytes whole = Ft2(f);
  for (size_t size = 0; size < whole.size(); ++size) {
    prompts.messages.clear();
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    const size_t added = Read(cut);
    EXPECT_TRUE(added == 1 || !prompts.messages.empty()) << size;
  }
}

TEST_F(Ft2ImportTest, Ft3FilesAreReadInMemoryAndLeftAsTheyWere) {
  TempDir dir;
  const Bytes plain = Ft2(Simple());
  const Bytes packed = Gzip(plain);
  WriteBytes(dir.File("piece.ft3"), packed);
  WriteBytes(dir.File("piece.ft2"), plain);
  const auto listing = [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = listing();
  const Ft2Importer importer;
  ASSERT_EQ(importer.Import(dir.File("piece.ft3"), doc), 1u);
  ASSERT_EQ(importer.Import(dir.File("piece.ft2"), doc), 1u);
  EXPECT_EQ(listing(), before);
  EXPECT_EQ(ReadText(dir.File("piece.ft3")), std::string(packed.begin(), packed.end()));
  EXPECT_EQ(ReadText(dir.File("piece.ft2")), std::string(plain.begin(), plain.end()));
  // Both gave the same section.
  const size_t n = doc.sections.size();
  EXPECT_EQ(SectionXml(Section(n - 2)), SectionXml(Section(n - 1)));
}

TEST_F(Ft2ImportTest, AGzipBombIsRefused) {
  TempDir dir;
  // A gigabyte of zeros in about a megabyte.
  {
    gzFile out = gzopen(dir.File("bomb.ft3").c_str(), "wb1");
    ASSERT_NE(out, nullptr);
    const std::vector<char> zeros(1 << 20, 0);
    for (int i = 0; i < 1024; ++i) ASSERT_EQ(gzwrite(out, zeros.data(), static_cast<unsigned>(zeros.size())), 1 << 20);
    gzclose(out);
  }
  const size_t before = doc.sections.size();
  EXPECT_EQ(Ft2Importer().Import(dir.File("bomb.ft3"), doc), 0u);
  EXPECT_EQ(prompts.messages, (Lines{"Cannot unzip this file"}));
  EXPECT_EQ(doc.sections.size(), before);
}

TEST_F(Ft2ImportTest, AFolderStopsAtTheFirstFileThatFails) {
  TempDir dir;
  Ft2Layout refused = Simple();
  refused.version = 30;
  WriteBytes(dir.File("1.ft2"), Ft2(Simple()));
  WriteBytes(dir.File("2.ft2"), Ft2(refused));
  WriteBytes(dir.File("3.ft2"), Ft2(Simple()));
  WriteBytes(dir.File("4.ft3"), Gzip(Ft2(Simple())));
  const size_t before = doc.sections.size();
  prompts.QueueFolder(dir.path());
  EXPECT_EQ(OnImportFt2Folder(doc), 1u);
  EXPECT_EQ(doc.sections.size(), before + 1);
  EXPECT_EQ(prompts.messages, (Lines{"This ft2 file version cannot be read: 30"}));
}

TEST_F(Ft2ImportTest, BinaryGarbage) {
  Bytes garbage(70000);
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>((i * 131 + 7) % 251);
  garbage[0] = 21;
  garbage[1] = 0;
  Read(garbage);
  Bytes words(70000, 0xFF);
  words[0] = 22;
  words[1] = 0;
  Read(words);
}

}  // namespace
}  // namespace vornel::testing
