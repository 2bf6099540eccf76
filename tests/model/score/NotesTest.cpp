#include <gtest/gtest.h>

#include "model/voice/nNoteArray.h"
#include "model/voice/nNotes.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

nNotes SampleNote() {
  nNotes n;
  n.pitch = 64;
  n.string = 2;
  n.interval = 37;
  n.ornament = 0x0142;
  n.fingering = 0x21;
  n.slur = 0x00012345;
  n.name = 0x0462;
  n.status = 0x80000001;
  n.flags = 0x0080;
  return n;
}

TEST(NoteRecord, SeventeenBytesInRecordOrderWithoutTheName) {
  const nNotes note = SampleNote();
  ArchiveWriter w;
  note.Store(w);
  // pitch, string, ornament u16, fingering u16, interval, status u32, flags u16, slur u32
  EXPECT_EQ(ToHex(w.Bytes()), "40 02 42 01 21 00 25 01 00 00 80 80 00 45 23 01 00");

  ArchiveReader r(w.Bytes());
  nNotes read;
  read.name = 0x123;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  nNotes expected = note;
  expected.name = 0;
  EXPECT_EQ(read, expected);
}

struct LegacyCase {
  const char* version;
  const char* hex;  // pitch string ornament fingering interval status [flags] [slur u16]
  uint8_t pitch;
  uint16_t ornament;
  uint32_t status;
  uint16_t flags;
  uint32_t slur;
};

class LegacyNoteRecord : public ::testing::TestWithParam<LegacyCase> {};

TEST_P(LegacyNoteRecord, IsConvertedOnReading) {
  const LegacyCase& c = GetParam();
  const auto bytes = HexBytes(c.hex);
  ArchiveReader r(bytes, c.version);
  nNotes note;
  note.Load(r);
  EXPECT_TRUE(r.AtEnd()) << "record length for " << c.version;
  EXPECT_EQ(note.pitch, c.pitch);
  EXPECT_EQ(note.ornament, c.ornament);
  EXPECT_EQ(note.status, c.status);
  EXPECT_EQ(note.flags, c.flags);
  EXPECT_EQ(note.slur, c.slur);
  EXPECT_EQ(note.name, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, LegacyNoteRecord,
    ::testing::Values(
        // Before 7.9: six bytes. Pitch 20 is raised by 13; status loses bit 6.
        LegacyCase{"7.5", "14 01 00 00 10 41", 33, 0, 0x01, 0, 0},
        // 7.9 adds the flags byte; 0xA4 ornaments become 0x42.
        LegacyCase{"7.9", "3C 00 A4 00 10 00 05", 60, 0x42, 0, 5, 0},
        // 9.7.3.0 adds the u16 slur.
        LegacyCase{"9.7.3.0", "3C 00 24 00 10 00 00 34 12", 60, 0x24, 0, 0, 0x1234},
        // Between 9.7.5.0 and 9.8.0.0 (exclusive), ornament 0x24 becomes 2 ...
        LegacyCase{"9.7.6", "3C 00 24 00 10 00 00 00 00", 60, 2, 0, 0, 0},
        // ... but not at the bounds themselves.
        LegacyCase{"9.7.5.0", "3C 00 24 00 10 00 00 00 00", 60, 0x24, 0, 0, 0},
        LegacyCase{"9.8.0.0", "3C 00 24 00 10 00 00 00 00", 60, 0x24, 0, 0, 0},
        // Pitch 24 is kept; 23 is raised.
        LegacyCase{"8.0", "18 00 00 00 00 00 00", 24, 0, 0, 0, 0},
        LegacyCase{"8.0", "17 00 00 00 00 00 00", 36, 0, 0, 0, 0}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(NoteRecord, CurrentFormAfterNineEightZero) {
  ArchiveWriter w;
  SampleNote().Store(w);
  ArchiveReader r(w.Bytes(), "9.8.0.1");
  nNotes note;
  note.Load(r);
  EXPECT_TRUE(r.AtEnd());
}

TEST(NoteName, TextOfTheSpelledName) {
  EXPECT_EQ(nNotes::NameText(0x0462), "C6#");
  EXPECT_EQ(nNotes::NameText(0), "");
  EXPECT_EQ(nNotes::NameText(0x0150), "A5b");
  EXPECT_EQ(nNotes::NameText(0x0236), "G3bb");
  EXPECT_EQ(nNotes::NameText(0x0841), "B4x");
  EXPECT_EQ(nNotes::NameText(0x0341), "B4");  // no text for other accidental values
  EXPECT_EQ(nNotes::NameText(0x0010), "A1");
}

TEST(NoteXml, WritesEveryAttributeInOrderAndReadsThemBack) {
  tinyxml2::XMLDocument doc;
  const nNotes note = SampleNote();
  tinyxml2::XMLElement* e = note.WriteXml(doc);
  doc.InsertEndChild(e);
  tinyxml2::XMLPrinter printer(nullptr, true);
  doc.Print(&printer);
  EXPECT_STREQ(printer.CStr(),
               "<note word=\"C6#\" pitch=\"64\" string=\"2\" interval=\"37\" ornament=\"322\" fingering=\"33\" "
               "status=\"-2147483647\" flags=\"128\" slur=\"74565\" name=\"1122\"/>");
  nNotes read;
  EXPECT_EQ(read.ReadXml(e), nullptr);
  EXPECT_EQ(read, note);
}

TEST(NoteXml, MissingAttributesReadZeroAndValuesAreTruncated) {
  tinyxml2::XMLDocument doc;
  doc.Parse("<notes><note pitch=\"316\" word=\"ignored\"/><note/></notes>");
  const tinyxml2::XMLElement* first = doc.FirstChildElement()->FirstChildElement();
  nNotes note = SampleNote();
  const tinyxml2::XMLElement* next = note.ReadXml(first);
  EXPECT_EQ(next, first->NextSiblingElement());
  EXPECT_EQ(note.pitch, 60);  // 316 truncated to 8 bits
  EXPECT_EQ(note.slur, 0u);
  EXPECT_EQ(note.name, 0);
}

TEST(NoteArray, ReadsSortsDescendingAndKeepsAtMost32) {
  nNoteArray notes;
  for (int i = 0; i < 40; ++i) {
    auto n = std::make_unique<nNotes>();
    n->pitch = static_cast<uint8_t>(30 + i);
    notes.push_back(std::move(n));
  }
  ArchiveWriter w;
  notes.Store(w);
  ArchiveReader r(w.Bytes());
  nNoteArray read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(read.size(), 32u);
  EXPECT_EQ(read[0]->pitch, 69);
  EXPECT_EQ(read[31]->pitch, 38);
}

TEST(NoteArray, NullEntriesAreDroppedAndSharedNotesRefused) {
  // count 3: note, null, note (0x8000 | class 1) — the class name is written once.
  nNoteArray notes;
  notes.push_back(std::make_unique<nNotes>(SampleNote()));
  notes.push_back(nullptr);
  notes.push_back(std::make_unique<nNotes>());
  ArchiveWriter w;
  w.WriteObjectArray(notes.items());  // as it stands: Store itself leaves the empty entry out
  const std::string hex = ToHex(w.Bytes());
  EXPECT_EQ(hex.substr(0, 35), "03 00 FF FF 00 00 06 00 6E 4E 6F 74");
  EXPECT_NE(hex.find("00 00 01 80"), std::string::npos);
  ArchiveReader r(w.Bytes());
  nNoteArray read;
  read.Load(r);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0]->pitch, 64);

  // The same note twice in one chord would have two owners.
  const auto twice = HexBytes(
      "02 00 FF FF 00 00 06 00 6E 4E 6F 74 65 73"
      "40 02 42 01 21 00 25 01 00 00 80 80 00 45 23 01 00"
      "02 00");
  ArchiveReader bad(twice);
  nNoteArray refused;
  EXPECT_THROW(refused.Load(bad), ArchiveError);
}

}  // namespace
}  // namespace vornel
