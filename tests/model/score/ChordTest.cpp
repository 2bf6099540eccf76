#include <gtest/gtest.h>

#include "model/voice/nChord.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "model/XmlTestText.h"

namespace vornel {
namespace {

using testing::CompactXml;
using testing::HexBytes;
using testing::ToHex;

std::unique_ptr<nNotes> Note(uint8_t pitch, uint8_t string = 0) {
  auto note = std::make_unique<nNotes>();
  note->pitch = pitch;
  note->string = string;
  return note;
}

struct DurationCase {
  uint16_t rhythm;
  uint32_t ticks;
};

class ChordDuration : public ::testing::TestWithParam<DurationCase> {};

TEST_P(ChordDuration, TicksOfTheRhythmWord) {
  EXPECT_EQ(nChord::DurationTicks(GetParam().rhythm), GetParam().ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Words, ChordDuration,
    ::testing::Values(DurationCase{0x03, 192},    // quarter
                      DurationCase{0x0B, 288},    // dotted quarter
                      DurationCase{0x14, 64},     // triplet eighth
                      DurationCase{0x25, 19},     // quintuplet sixteenth
                      DurationCase{0x1025, 20},   // ... taking its group's remainder
                      DurationCase{0x1014, 64},   // triplets have no remainder to take
                      DurationCase{0x00, 1536},   // breve
                      DurationCase{0x07, 12},     // sixty-fourth
                      DurationCase{0x44, 64},     // sextuplet eighth: two thirds
                      DurationCase{0x34, 54},     // septuplet eighth: 384 / 7
                      DurationCase{0x1034, 60},   // ... with the remainder, 6
                      DurationCase{0x83, 102},    // 15 in the time of 8: 1536 / 15
                      DurationCase{0x93, 22},     // 17 in the time of 2: 384 / 17
                      DurationCase{0xA3, 192},    // selectors beyond the table read as plain
                      DurationCase{0xF3, 192}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

struct FromTicksCase {
  uint32_t length;
  uint16_t before;
  uint16_t rhythm;
  uint32_t left;
};

class ChordRhythmFromTicks : public ::testing::TestWithParam<FromTicksCase> {};

TEST_P(ChordRhythmFromTicks, WordAndTicksLeftOver) {
  const FromTicksCase& c = GetParam();
  nChord chord(0, c.before);
  EXPECT_EQ(chord.SetRhythmFromTicks(c.length), c.left);
  EXPECT_EQ(chord.rhythm, c.rhythm);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ChordRhythmFromTicks,
    ::testing::Values(FromTicksCase{288, 0x1F00, 0x0B, 0},  // dotted quarter; the whole word is replaced
                      FromTicksCase{64, 0, 0x14, 0},        // triplet eighth
                      FromTicksCase{1536, 5, 0, 0},         // breve
                      FromTicksCase{4608, 5, 0, 0},         // however many breves
                      FromTicksCase{1728, 0, 0x03, 1536},   // quarter, a breve left over
                      FromTicksCase{192, 0, 0x03, 0},
                      FromTicksCase{0, 0x33, 0x33, 0},      // nothing changes
                      FromTicksCase{100, 0, 0x04, 4},       // eighth and four ticks
                      FromTicksCase{5, 0, 0x07, 2}),        // below a sixty-fourth: 1536 >> 9 taken
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ChordStatus, MarkForMetaEvent) {
  nChord bar(0x89);  // a left repeat carrying a change of clef
  bar.MarkForMetaEvent(CMetaEvent::kTimeSignature);
  EXPECT_EQ(bar.status, 0x85);
  bar.MarkForMetaEvent(CMetaEvent::kClef);
  EXPECT_EQ(bar.status, 0x89);
  bar.MarkForMetaEvent(CMetaEvent::kBarPause);
  EXPECT_EQ(bar.status, 0x24D);
  bar.MarkForMetaEvent(CMetaEvent::kGraphicOrnament);
  EXPECT_EQ(bar.status, 0x7D);
  bar.MarkForMetaEvent(CMetaEvent::kLyrics);
  EXPECT_EQ(bar.status, 0x7D);
  EXPECT_TRUE(nChord(0x45).IsStaveBreak());
  EXPECT_TRUE(nChord(0x182).IsShared());
  EXPECT_FALSE(nChord(0x40).IsStaveBreak());
}

TEST(ChordNotes, AtMostThirtyTwoInPitchOrder) {
  nChord chord;
  EXPECT_EQ(chord.AddNote(Note(60)), 0);
  EXPECT_EQ(chord.AddNote(Note(67)), 0);
  EXPECT_EQ(chord.AddNote(Note(60, 3)), 2);  // after the note of equal pitch
  for (uint8_t p = 30; chord.notes.size() < nNoteArray::kMaxNotes; ++p) chord.AddNote(Note(p));
  EXPECT_EQ(chord.AddNote(Note(90)), -1);
  EXPECT_EQ(chord.notes.size(), 32u);
  EXPECT_EQ(chord.notes[0]->pitch, 67);
}

// A chord with one note, a pedal event and a name, as this version writes it.
constexpr const char* kChordRecord =
    "08 00 03 10 "                                      // status, rhythm
    "01 00 FF FF 00 00 06 00 6E 4E 6F 74 65 73 "        // one note, class nNotes
    "40 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "01 00 FF FF 00 00 0A 00 43 4D 65 74 61 45 76 65 6E 74 "  // one meta-event, class CMetaEvent
    "FF FE FF 00 0A 02 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "05 00 FF FE FF 02 41 00 6D 00 07";  // dy, name "Am", al

nChord SampleChord() {
  nChord chord(0x08, 0x1003);
  chord.AddNote(Note(64, 2));
  chord.metaEvents.AddPedalEvent(2);
  chord.dy = 5;
  chord.name = "Am";
  chord.al = 7;
  return chord;
}

TEST(ChordRecord, ByteExactAndBack) {
  const nChord chord = SampleChord();
  ArchiveWriter w;
  chord.Store(w);
  EXPECT_EQ(ToHex(w.Bytes()), ToHex(HexBytes(kChordRecord)));
  ArchiveReader r(w.Bytes());
  nChord read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read, chord);
}

struct OldChordCase {
  const char* version;
  const char* hex;
  uint16_t status;
  uint16_t rhythm;
  uint16_t dy;
  const char* name;
  uint8_t al;
  // Meta-events after loading: kind, text, value, cx.
  std::vector<std::tuple<uint8_t, std::string, uint32_t, int32_t>> events;
};

class OldChordRecord : public ::testing::TestWithParam<OldChordCase> {};

TEST_P(OldChordRecord, FieldsAndConversions) {
  const OldChordCase& c = GetParam();
  const auto bytes = HexBytes(c.hex);
  ArchiveReader r(bytes, c.version);
  nChord chord;
  chord.Load(r);
  EXPECT_TRUE(r.AtEnd()) << "record length";
  EXPECT_EQ(chord.status, c.status);
  EXPECT_EQ(chord.rhythm, c.rhythm);
  EXPECT_EQ(chord.dy, c.dy);
  EXPECT_EQ(chord.name, c.name);
  EXPECT_EQ(chord.al, c.al);
  ASSERT_EQ(chord.metaEvents.size(), c.events.size());
  for (size_t i = 0; i < c.events.size(); ++i) {
    const CMetaEvent* e = chord.metaEvents[i];
    EXPECT_EQ(e->kind, std::get<0>(c.events[i])) << i;
    EXPECT_EQ(e->text, std::get<1>(c.events[i])) << i;
    EXPECT_EQ(e->value, std::get<2>(c.events[i])) << i;
    EXPECT_EQ(e->cx, std::get<3>(c.events[i])) << i;
    EXPECT_EQ(e->referent, e->kind == CMetaEvent::kDynamicChart ? &chord : nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OldChordRecord,
    ::testing::Values(
        // 6.45: status, rhythm, notes and meta-events only.
        OldChordCase{"6.45", "00 00 03 00 00 00 00 00", 0, 3, 0, "", 0, {}},
        // 6.46 adds dy.
        OldChordCase{"6.46", "00 00 03 00 00 00 00 00 04 00", 0, 3, 4, "", 0, {}},
        // 7.8 adds name and al; names, fermatas and dynamic marks of al become meta-events.
        OldChordCase{"7.8",
                     "30 00 03 00 00 00 00 00 04 00 FF FE FF 02 41 00 6D 00 07",
                     0,
                     3,
                     4,
                     "",
                     0,
                     {{16, "Am", 0, 0}, {18, "", 1, 0}, {19, "", 0, 0}}},
        // 8.45 kept dynamics in dy: code 7 is "ff".
        OldChordCase{"8.45", "00 00 03 00 00 00 00 00 87 00 FF FE FF 00 00", 0, 3, 7, "", 0, {{4, "ff", 120, 1}}},
        OldChordCase{"8.45", "00 00 03 00 00 00 00 00 A0 00 FF FE FF 00 00", 0, 3, 0, "", 0, {{4, "", 100, 1}}},
        OldChordCase{"8.45", "00 00 03 00 00 00 00 00 C5 00 FF FE FF 00 00", 0, 3, 5, "", 0, {}},
        OldChordCase{"8.5", "00 00 03 00 00 00 00 00 87 00 FF FE FF 00 00", 0, 3, 0x87, "", 0, {}},
        // Before 9.5 chord marks lived in status bits 4-7. Versions compare as text: 9.4 is
        // after 9.16, so its mark 2 is recoded, while 9.1 makes it a reprise.
        OldChordCase{"9.4", "50 00 03 00 00 00 00 00 00 00 FF FE FF 00 00", 0x30, 3, 0, "", 0, {}},
        OldChordCase{"9.4", "20 00 03 00 00 00 00 00 00 00 FF FE FF 00 00", 0x200, 3, 0, "", 0, {}},
        OldChordCase{"9.1", "20 00 03 00 00 00 00 00 00 00 FF FE FF 00 00", 0, 3, 0, "", 0, {{17, "", 1, 0}}},
        OldChordCase{"9.5", "50 00 03 00 00 00 00 00 00 00 FF FE FF 00 00", 0x50, 3, 0, "", 0, {}},
        // al marks after 9.5 stay.
        OldChordCase{"9.6", "00 00 03 00 00 00 00 00 00 00 FF FE FF 00 03", 0, 3, 0, "", 3, {}},
        // 9.16 names become chord-name events; 9.17 keeps them.
        OldChordCase{"9.16",
                     "00 00 03 00 00 00 00 00 00 00 FF FE FF 02 41 00 6D 00 00",
                     0,
                     3,
                     0,
                     "",
                     0,
                     {{16, "Am", 0, 0}}},
        OldChordCase{"9.17", "00 00 03 00 00 00 00 00 00 00 FF FE FF 02 41 00 6D 00 00", 0, 3, 0, "Am", 0, {}},
        // Before 9.7.2.0 bit 2 of a bar line marked a repeat.
        OldChordCase{"9.7.1.0", "05 00 00 00 00 00 00 00 00 00 FF FE FF 00 00", 0x81, 0, 0, "", 0, {}},
        // Before 9.7.5.0 fixed bars were not numbered.
        OldChordCase{"9.7.4.0", "11 00 00 00 00 00 00 00 00 00 FF FE FF 00 00", 0x11, 128, 0, "", 0, {}},
        OldChordCase{"9.7.5.0", "11 00 00 00 00 00 00 00 00 00 FF FE FF 00 00", 0x11, 0, 0, "", 0, {}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ChordRecord, OldNotesAreConvertedAndNullMetaEventsDropped) {
  // 7.9: one legacy note (pitch 60, ornament 0x38, fingering 0x02, status 0x09) and a null
  // meta-event entry.
  const auto bytes = HexBytes(
      "00 00 03 00 01 00 FF FF 00 00 06 00 6E 4E 6F 74 65 73 3C 01 38 02 10 09 00 "
      "01 00 00 00 00 00 FF FE FF 00 00");
  ArchiveReader r(bytes, "7.9");
  nChord chord;
  chord.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_TRUE(chord.metaEvents.empty());
  ASSERT_EQ(chord.notes.size(), 1u);
  const nNotes& note = *chord.notes[0];
  // Ornament 0x38 before 8.2: its low nibble 8 is fingering 1 (bits 4-7); then old ornament
  // code 3 becomes 0x24, fingering 2 adds 0x2000 to the slur, status bits 0 and 3 give flags.
  EXPECT_EQ(note.ornament, 0x24);
  EXPECT_EQ(note.fingering, 0x10);
  EXPECT_EQ(note.slur, 0x2000u);
  EXPECT_EQ(note.flags, 0x89);
  EXPECT_EQ(note.status, 0u);
}

struct BarXmlCase {
  uint16_t status;
  uint16_t rhythm;
  const char* attributes;  // after "number"
};

class BarLineXml : public ::testing::TestWithParam<BarXmlCase> {};

TEST_P(BarLineXml, StyleAttributesForOtherReaders) {
  nChord bar(GetParam().status, GetParam().rhythm);
  bar.number = 12;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* e = bar.WriteXml(doc);
  const std::string expected = "<event type=\"bar\" status=\"" + std::to_string(GetParam().status) + "\" flag=\"" +
                               std::to_string(GetParam().rhythm) + "\" dy=\"0\" delta=\"0\" number=\"12\"" +
                               GetParam().attributes + "/>";
  EXPECT_EQ(CompactXml(doc, e), expected);
  nChord read;
  read.ReadXml(e);
  EXPECT_EQ(read, bar);
  EXPECT_EQ(read.number, 12u);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, BarLineXml,
    ::testing::Values(BarXmlCase{0x81, 0, " bar-type=\"repeat\" repeat-type=\"left\""},
                      BarXmlCase{0xA1, 0, " bar-type=\"repeat\" repeat-type=\"both\""},
                      BarXmlCase{0xE5, 0, " bar-type=\"repeat\" repeat-type=\"thick\""},
                      BarXmlCase{0xF1, 0, " bar-type=\"repeat\""},
                      BarXmlCase{0x31, 0, " repeat-type=\"double\""},
                      BarXmlCase{0x39, 0, " repeat-type=\"double\""},
                      BarXmlCase{0x51, 0, " repeat-type=\"nodot\""},
                      BarXmlCase{0x41, 0, " stave-break=\"yes\""},
                      BarXmlCase{0x11, 128, " style=\"fixed\" skip-number=\"yes\""},
                      BarXmlCase{0x21, 0, " style=\"hidden\""},
                      BarXmlCase{0x01, 96, ""}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ChordXml, EventElementAndBack) {
  nChord chord = SampleChord();
  chord.delta = 4294967295u;
  chord.metaEvents[0]->value = 0x80000000u;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* e = chord.WriteXml(doc);
  EXPECT_EQ(CompactXml(doc, e),
            "<event type=\"chord\" status=\"8\" flag=\"4099\" dy=\"5\" delta=\"4294967295\" name=\"Am\" al=\"7\">"
            "<notes count=\"1\"><note word=\"\" pitch=\"64\" string=\"2\" interval=\"0\" ornament=\"0\" "
            "fingering=\"0\" status=\"0\" flags=\"0\" slur=\"0\" name=\"0\"/></notes>"
            "<meta-events count=\"1\"><meta-event name=\"Pedal\" type=\"10\" value=\"2147483648\" cx=\"0\" cy=\"0\">"
            "<location><notation l=\"0\" r=\"0\" t=\"0\" b=\"0\" cx=\"0\" cy=\"0\"/>"
            "<tablature l=\"0\" r=\"0\" t=\"0\" b=\"0\" cx=\"0\" cy=\"0\"/></location><text/></meta-event>"
            "</meta-events></event>");
  nChord read;
  EXPECT_EQ(read.ReadXml(e), nullptr);
  EXPECT_EQ(read, chord);
  EXPECT_EQ(read.delta, 4294967295u);

  nChord special(0x12);
  special.metaEvents.SetMetaEvent(CMetaEvent::kTimeSignature, "true", 1, 3, 4);
  e = special.WriteXml(doc);
  EXPECT_EQ(std::string(e->Attribute("type")), "special-event");
  EXPECT_EQ(e->FirstChildElement("notes"), nullptr);
  nChord readSpecial;
  readSpecial.ReadXml(e);
  EXPECT_EQ(readSpecial, special);
}

TEST(ChordXml, HostileNoteListsAreBounded) {
  tinyxml2::XMLDocument doc;
  std::string xml = "<event status=\"0\"><notes count=\"100\">";
  for (int p = 20; p < 60; ++p) xml += "<note pitch=\"" + std::to_string(p) + "\"/>";
  xml += "</notes></event>";
  ASSERT_EQ(doc.Parse(xml.c_str()), tinyxml2::XML_SUCCESS);
  nChord chord;
  chord.ReadXml(doc.FirstChildElement());
  ASSERT_EQ(chord.notes.size(), 32u);  // the 32 highest of the 40 that are there
  EXPECT_EQ(chord.notes[0]->pitch, 59);
  EXPECT_EQ(chord.notes[31]->pitch, 28);

  testing::ScriptedPrompts prompts;
  doc.Parse("<chord/>");
  EXPECT_THROW(chord.ReadXml(doc.FirstChildElement()), XmlTagMismatch);
}

TEST(ChordCopy, DeepWithBeamIndexReset) {
  nChord chord = SampleChord();
  chord.beamIndex = 3;
  chord.position = 17;
  const nChord copy(chord);
  EXPECT_EQ(copy, chord);
  EXPECT_EQ(copy.beamIndex, 0);
  EXPECT_EQ(copy.position, 17u);
  EXPECT_NE(copy.notes[0], chord.notes[0]);
  EXPECT_NE(copy.metaEvents[0], chord.metaEvents[0]);
}

}  // namespace
}  // namespace vornel
