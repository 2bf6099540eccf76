#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/MIDIControllers.h"
#include "model/OldRecords.h"
#include "model/ScoreText.h"
#include "model/XmlTestText.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/archive/VersionText.h"
#include "support/Bytes.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

template <typename Record>
std::string Xml(const Record& record) {
  tinyxml2::XMLDocument doc;
  return testing::CompactXml(doc, record.WriteXml(doc));
}

template <typename Record>
void ReadXmlText(Record& record, const std::string& xml) {
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.Parse(xml.c_str()), tinyxml2::XML_SUCCESS) << xml;
  record.ReadXml(doc.FirstChildElement());
}

// ---------------------------------------------------------------------------------------------
// MIDI settings

MIDIControllers Unusual() {
  MIDIControllers m;
  m.name = "41. Violin";
  m.patch = 40;
  m.transpose = -3;
  m.mute = 1;
  m.mergeVoices = 1;
  m.monophonic = 1;
  m.ornamentsPlayed = 0;
  m.echoOn = 1;
  m.octaveDoublingOn = 1;
  m.portamentoOn = 1;
  m.volume = 90;
  m.expression = 80;
  m.pan = 10;
  m.velocity = 70;
  m.holdPedal = 1;
  m.equalizer = 5;
  m.brightness = 33;
  m.modulation = 2;
  m.softPedal = 1;
  m.portamentoTime = 9;
  m.attack = 11;
  m.celeste = 12;
  m.chorus = 13;
  m.release = 14;
  m.reverb = 15;
  m.dynamicAmplitude = 55;
  m.octaveChannel = 7;
  m.octaveDelay = 16;
  m.octaveString = 3;
  m.octaveVelocity = 17;
  m.echoChannel = 9;
  m.echoVolume = 18;
  m.echoOctave = 255;
  m.echoPatch = 19;
  m.echoDelay = 20;
  return m;
}

TEST(MidiSettings, RecordRoundTripsAndOldVersionsKeepDefaults) {
  const MIDIControllers m = Unusual();
  ArchiveWriter current;
  m.Store(current);
  ArchiveWriter expected;
  testing::WriteMidiAt(expected, m, kCurrentFormatVersion);
  EXPECT_EQ(ToHex(current.Bytes()), ToHex(expected.Bytes()));
  {
    ArchiveReader r(current.Bytes());
    MIDIControllers read;
    read.Load(r);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(read, m);
  }
  // Version 6.40 holds the first ten fields; the rest keep the constructor's values, and
  // brightness and the echo delay take the conversions of old files.
  ArchiveWriter old;
  testing::WriteMidiAt(old, m, "6.40");
  EXPECT_EQ(old.Bytes().size(), 6u + 4 * 4);
  ArchiveReader r(old.Bytes(), "6.40");
  MIDIControllers read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  MIDIControllers expect;
  expect.volume = m.volume;
  expect.expression = m.expression;
  expect.modulation = m.modulation;
  expect.velocity = m.velocity;
  expect.pan = m.pan;
  expect.softPedal = m.softPedal;
  expect.portamentoOn = m.portamentoOn;
  expect.mergeVoices = m.mergeVoices;
  expect.holdPedal = m.holdPedal;
  expect.brightness = 80;
  expect.echoDelay = 0;
  expect.octaveDoublingOn = 0;
  EXPECT_EQ(read, expect);
}

TEST(MidiSettings, VersionGatesAndConversions) {
  struct Case {
    const char* version;
    bool monophonic;  // above 6.42
    bool echo;        // from 6.45
    bool name;        // from 6.51
    bool ornaments;   // from 6.54
    bool attack;      // from 7.0
  };
  const Case cases[] = {{"6.42", false, false, false, false, false}, {"6.43", true, false, false, false, false},
                        {"6.45", true, true, false, false, false},   {"6.51", true, true, true, false, false},
                        {"6.54", true, true, true, true, false},     {"7.0", true, true, true, true, true}};
  const MIDIControllers m = Unusual();
  const MIDIControllers fresh;
  for (const Case& c : cases) {
    ArchiveWriter w;
    testing::WriteMidiAt(w, m, c.version);
    ArchiveReader r(w.Bytes(), c.version);
    MIDIControllers read;
    read.Load(r);
    EXPECT_TRUE(r.AtEnd()) << c.version;
    EXPECT_EQ(read.monophonic, c.monophonic ? m.monophonic : fresh.monophonic) << c.version;
    EXPECT_EQ(read.echoPatch, c.echo ? m.echoPatch : fresh.echoPatch) << c.version;
    EXPECT_EQ(read.name, c.name ? m.name : fresh.name) << c.version;
    EXPECT_EQ(read.ornamentsPlayed, c.ornaments ? m.ornamentsPlayed : fresh.ornamentsPlayed) << c.version;
    EXPECT_EQ(read.attack, c.attack ? m.attack : fresh.attack) << c.version;
    // Up to 6.58 the brightness is 80; before 6.59 there is no echo delay; before 7.96 the
    // octave doubling follows the octave string.
    EXPECT_EQ(read.brightness, c.attack ? m.brightness : 80) << c.version;
    EXPECT_EQ(read.echoDelay, c.attack ? m.echoDelay : 0) << c.version;
    EXPECT_EQ(read.octaveDoublingOn, c.monophonic ? 1 : 0) << c.version;
  }

  MIDIControllers loud = m;
  loud.dynamicAmplitude = 150;
  ArchiveWriter w;
  loud.Store(w);
  ArchiveReader r(w.Bytes());
  MIDIControllers read;
  read.Load(r);
  EXPECT_EQ(read.dynamicAmplitude, 20);
  EXPECT_EQ(read.brightness, m.brightness);
  EXPECT_EQ(read.echoDelay, m.echoDelay);
}

TEST(MidiSettings, XmlKeepsEveryFieldAndOlderFilesKeepTheTwoNewOnes) {
  const MIDIControllers m = Unusual();
  const std::string xml = Xml(m);
  EXPECT_EQ(xml,
            "<midi-controllers name=\"41. Violin\" merge-voices=\"1\" mute=\"1\" transpose=\"-3\" monophonic=\"1\">"
            "<options ornament-enabled=\"0\" echo-enabled=\"1\" octave-enabled=\"1\" portamento-enabled=\"1\"/>"
            "<main-channel patch=\"40\" volume=\"90\" expression=\"80\" pan=\"10\" velocity=\"70\" resonate=\"1\" "
            "equalizer=\"5\" dynamic-amplitude=\"55\"/>"
            "<controllers brightness=\"33\" modwheel=\"2\" legato=\"1\" portamento=\"9\" attack=\"11\" celeste=\"12\" "
            "chorus=\"13\" release=\"14\" reverb=\"15\"/>"
            "<octave channel=\"7\" delay=\"16\" string=\"3\" velocity=\"17\"/>"
            "<echo channel=\"9\" volume=\"18\" octave=\"255\" patch=\"19\" velocity=\"20\"/></midi-controllers>");
  MIDIControllers read;
  ReadXmlText(read, xml);
  EXPECT_EQ(read, m);

  // Files written before the two attributes existed keep the values the settings had.
  MIDIControllers older;
  ReadXmlText(older, "<midi-controllers name=\"x\"><options/><main-channel volume=\"3\"/></midi-controllers>");
  EXPECT_EQ(older.monophonic, 0);
  EXPECT_EQ(older.dynamicAmplitude, 10);
  EXPECT_EQ(older.volume, 3);
  EXPECT_EQ(older.chorus, 0);  // other missing attributes read as 0
  // A transposition beyond the keyboard is kept to ±127 half steps: notes moved by it are
  // then simply not played, where the sum would have overflowed.
  MIDIControllers far;
  ReadXmlText(far, "<midi-controllers transpose=\"2147483647\"/>");
  EXPECT_EQ(far.transpose, 127);
  testing::ExpectXmlReadRefused<MIDIControllers>("<midi-control/>",
                                                 "Mismatch error on tag: <midi-control> should be <midi-controllers>");
}

TEST(MidiSettings, DefaultsCommand) {
  MIDIControllers m = Unusual();
  m.SetDefaults();
  EXPECT_EQ(m.name, "25. Acoustic Guitar (nylon)");
  EXPECT_EQ(m.patch, 24);
  EXPECT_EQ(m.volume, 120);
  EXPECT_EQ(m.reverb, 40);
  EXPECT_EQ(m.echoChannel, 10);
  EXPECT_EQ(m.equalizer, 5);     // unchanged
  EXPECT_EQ(m.echoOctave, 255);  // unchanged
  EXPECT_EQ(m.octaveVelocity, 0);
}

// ---------------------------------------------------------------------------------------------
// Stave object

TEST(StaveObject, RecordFormAndItsNormalisations) {
  CClef stave;
  stave.type = 0;
  stave.lines = 5;
  stave.maxMoves = {2, -3};
  stave.spaceBelow = 15;
  stave.clefId = CClef::kFClef;
  stave.squareNotes = 5;
  stave.oldStyle = 2;
  stave.hideMetaEvents = 1;
  stave.enabledVoices = 3;
  ArchiveWriter w;
  stave.Store(w);
  EXPECT_EQ(ToHex(w.Bytes()),
            "00 00 00 00 05 00 00 00 02 00 00 00 FD FF FF FF 01 00 00 00 02 00 00 00 00 00 00 00 "
            "01 00 00 00 11 10 00 00 00 00 00 00 03 00 00 00");
  ArchiveReader r(w.Bytes());
  CClef read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.spaceBelow, 1u);
  EXPECT_EQ(read.squareNotes, 1);
  EXPECT_EQ(read.oldStyle, 1);
  EXPECT_EQ(read.stemDirection, 0);
  EXPECT_EQ(read.hideMetaEvents, 1);
  EXPECT_EQ(read.maxMoves, (SizePair{2, -3}));
  EXPECT_EQ(read.enabledVoices, 3);

  // A stored 0x1F keeps its low four bits: 15, which stands for 1.
  const auto bytes = HexBytes(
      "01 00 00 00 06 00 00 00 00 00 00 00 00 00 00 00 1F 00 00 00 00 00 00 00 00 00 00 00 "
      "01 00 00 00 00 01 00 00 00 00 00 00 00 00 00 00");
  ArchiveReader r2(bytes);
  read.Load(r2);
  EXPECT_EQ(read.spaceBelow, 1u);
  EXPECT_EQ(read.stemDirection, 1);
  EXPECT_EQ(read.oldStyle, 0);
}

TEST(StaveObject, XmlFormAndMissingChildren) {
  CClef stave;
  stave.type = 1;
  stave.lines = 6;
  stave.spaceBelow = 3;
  stave.stemDirection = 1;
  const std::string xml = Xml(stave);
  EXPECT_EQ(xml,
            "<clef type=\"1\" clef-id=\"0\" lines=\"6\" space-below=\"3\" enabled-voices=\"0\">"
            "<max-moves cx=\"0\" cy=\"0\"/><styles old-style=\"1\" square-notes=\"0\"/>"
            "<options stem-direction=\"1\" hide-metaevents=\"0\" hide-flags=\"0\" linked-flags=\"1\"/></clef>");
  CClef read;
  ReadXmlText(read, xml);
  EXPECT_EQ(read, stave);

  // Children are taken by position; a missing one leaves its settings as they were.
  CClef partial;
  ReadXmlText(partial, "<clef type=\"0\" space-below=\"31\"><a cx=\"4\"/><b old-style=\"0\" square-notes=\"2\"/></clef>");
  EXPECT_EQ(partial.maxMoves.cx, 4);
  EXPECT_EQ(partial.oldStyle, 0);
  EXPECT_EQ(partial.squareNotes, 1);
  EXPECT_EQ(partial.linkedFlags, 1);
  EXPECT_EQ(partial.spaceBelow, 1u);
  EXPECT_EQ(partial.lines, 0);
  testing::ExpectXmlReadRefused<CClef>("<staff/>", "Mismatch error on tag: <staff> should be <clef>");
}

TEST(StaveObject, CopyTakesTheSettingsNotTheDrawingState) {
  CInstrumentDlg owner;
  CClef definition(&owner);
  EXPECT_EQ(definition.type, -1);
  EXPECT_EQ(definition.spaceBelow, 1u);
  definition.clefId = 2;
  definition.clefRaise = -2;
  definition.lineSpacing = 12;
  definition.area = {1, 2, 3, 4};
  const CClef copy(definition);
  EXPECT_EQ(copy, definition);
  EXPECT_EQ(copy.clefRaise, -2);
  EXPECT_EQ(copy.definition, &owner);
  EXPECT_EQ(copy.area, Rect{});

  CVoiceGroup group;
  EXPECT_THROW(group.GetFirstToLastSegment(), std::out_of_range);
  for (const Point p : {Point{10, 20}, Point{25, 0}, Point{40, 5}}) {
    auto note = std::make_unique<CNoteGroup>();
    note->x = p.x;
    note->y = p.y;
    group.push_back(std::move(note));
  }
  const auto segment = group.GetFirstToLastSegment();
  EXPECT_EQ(segment.dx, 30);
  EXPECT_EQ(segment.dy, -15);
}

// The bottom line's pitch of each clef, spelt in the definition's key, and the pitch that
// divides stems up from down.
TEST(StaveObject, PositionAndStemDividingPitches) {
  struct Case {
    int32_t clef;
    int32_t stepOffset;
    uint32_t flats;
    int position;
    int dividing;
  };
  const Case cases[] = {
      {0, 0, 0, 52, 58}, {1, 0, 0, 64, 70}, {2, 0, 0, 43, 49}, {3, 0, 0, 53, 60},
      {4, 0, 0, 59, 59}, {7, 0, 0, 16, 16}, {1, 0, 2, 63, 69}, {1, 2, 0, 60, 66},
  };
  for (const Case& c : cases) {
    CInstrumentDlg owner;
    owner.key.alterations = c.flats;
    CClef stave(&owner);
    stave.clefId = c.clef;
    stave.stepOffset = c.stepOffset;
    EXPECT_EQ(stave.GetPositionPitch(), c.position) << c.clef << "/" << c.stepOffset << "/" << c.flats;
    EXPECT_EQ(stave.GetStemDividingPitch(), c.dividing) << c.clef << "/" << c.stepOffset << "/" << c.flats;
  }
}

// ---------------------------------------------------------------------------------------------
// Instrument definition

TEST(InstrumentDefinition, NamesOfFamiliesNotationsAndFlags) {
  CInstrumentDlg d;
  d.family = 11;
  EXPECT_EQ(d.GetFamilyName(), "Renaissance lute");
  EXPECT_EQ(d.family, 0);
  d.family = 5;
  EXPECT_EQ(d.GetFamilyName(), "Viols");

  EXPECT_EQ(d.GetNotationName(), "Notation");  // no stave yet
  d.EnsureStave();
  EXPECT_EQ(d.GetNotationName(), "French tablature");
  // The twelve styles the flag-style commands set, by number.
  d.tabInstrument.flagStyle = 3;
  EXPECT_EQ(d.GetFlagStyleName(), "Plimsonne");
  d.tabInstrument.flagStyle = 9;
  EXPECT_EQ(d.GetFlagStyleName(), "Baroque");
  d.tabInstrument.flagStyle = 11;
  EXPECT_EQ(d.GetFlagStyleName(), "Tessamont");
  d.tabInstrument.flagStyle = 12;
  EXPECT_EQ(d.GetFlagStyleName(), "Unknown");
  d.tabInstrument.tabStyle = 7;
  EXPECT_EQ(d.GetNotationName(), "Unknown");

  d.ApplyNotationPreset(3);
  EXPECT_EQ(d.GetNotationName(), "F clef");
  EXPECT_EQ(d.GetFlagStyleName(), "Square flags");  // old style 1 by default
  d.staves.at(0)->oldStyle = 0;
  EXPECT_EQ(d.GetFlagStyleName(), "Round flags");
}

TEST(InstrumentDefinition, NotationPresets) {
  struct Expected {
    int32_t type;
    int32_t clef;
    int32_t voices;
    uint32_t space;
  };
  const std::vector<std::vector<Expected>> presets = {
      {{1, 0, 0, 1}},
      {{0, 0, 2, 1}},
      {{0, 1, 0, 1}},
      {{0, 2, 1, 1}},
      {{0, 3, 0, 1}},
      {{0, 1, 0, 3}, {0, 2, 1, 1}},
      {{1, 0, 2, 1}, {0, 1, 0, 3}, {0, 3, 1, 1}},
      {{1, 0, 2, 1}, {0, 0, 3, 1}},
      {{0, 0, 0, 3}, {0, 2, 1, 2}},
      {{0, 1, 0, 1}},
      {{0, 2, 0, 1}},
  };
  for (size_t p = 0; p < presets.size(); ++p) {
    CInstrumentDlg d;
    d.ApplyNotationPreset(static_cast<int>(p));
    ASSERT_EQ(d.staves.size(), presets[p].size()) << "preset " << p;
    for (size_t k = 0; k < presets[p].size(); ++k) {
      const CClef& s = *d.staves.at(k);
      EXPECT_EQ(s.type, presets[p][k].type) << p << "/" << k;
      EXPECT_EQ(s.clefId, presets[p][k].clef) << p << "/" << k;
      EXPECT_EQ(s.enabledVoices, presets[p][k].voices) << p << "/" << k;
      EXPECT_EQ(s.spaceBelow, presets[p][k].space) << p << "/" << k;
      EXPECT_EQ(s.definition, &d);
    }
    EXPECT_EQ(d.presetIndex, static_cast<int>(p));
  }
  CInstrumentDlg grand;
  grand.ApplyNotationPreset(CInstrumentDlg::kGrandStaffPreset);
  EXPECT_EQ(grand.staves.at(1)->hideMetaEvents, 1);
  CInstrumentDlg merged;
  merged.ApplyNotationPreset(CInstrumentDlg::kMergedStavesPreset);
  EXPECT_EQ(merged.staves.at(0)->stemDirection, 1);
}

TEST(InstrumentDefinition, StavePageValuesFollowTheCurrentStave) {
  CInstrumentDlg d;
  EXPECT_EQ(d.spacingBelowPage, 4);
  EXPECT_THROW(d.LoadStaveSettings(), std::out_of_range);
  d.EnsureStave();
  d.LoadStaveSettings();
  EXPECT_EQ(d.spacingBelowPage, 1);
  d.clefPage = 3;
  d.notationModePage = 0;
  d.voicesShownPage = 2;
  d.StoreStaveSettings();
  EXPECT_EQ(d.staves.at(0)->clefId, 3);
  EXPECT_EQ(d.staves.at(0)->type, 0);
  EXPECT_EQ(d.staves.at(0)->enabledVoices, 2);

  EXPECT_EQ(d.ToggleMidiOption(CInstrumentDlg::kMonophonicCommand), 1);
  EXPECT_EQ(d.midi.monophonic, 1);
  EXPECT_EQ(d.ToggleMidiOption(CInstrumentDlg::kOrnamentsCommand), 0);
  EXPECT_EQ(d.ToggleMidiOption(33978), 0);
  d.ornaments.table.colors[6] = 0x123;
  d.notationFont.color = 0x456;
  EXPECT_EQ(d.GetElementColor(7), 0x123u);
  EXPECT_EQ(d.GetElementColor(27), 0x456u);
  EXPECT_EQ(d.GetElementColor(8), 0u);
}

TEST(InstrumentDefinition, RecordVersionGates) {
  struct Case {
    const char* version;
    bool midiName;   // below 6.51 the string and family go to the MIDI settings
    int32_t clefLine;  // 0 below 6.53
    bool ornaments;  // from 6.595, else the built-in table
    bool close;      // from 7.4
    uint8_t family;  // lowered by 2 below 7.99
    bool pedals;     // from 8.00
    bool slanted;    // from 8.4
    bool notation;   // above 8.47
    bool longStems;  // from 9.5
  };
  const Case cases[] = {
      {"6.5", true, 0, false, false, 5, false, false, false, false},
      {"6.52", false, 0, false, false, 5, false, false, false, false},
      {"6.53", false, 3, false, false, 5, false, false, false, false},
      {"6.595", false, 3, true, false, 5, false, false, false, false},
      {"7.4", false, 3, true, true, 5, false, false, false, false},
      {"7.5", false, 3, true, true, 5, false, false, false, false},
      {"7.99", false, 3, true, true, 7, false, false, false, false},
      {"8.0", false, 3, true, true, 7, false, false, false, false},  // "8.0" sorts before "8.00"
      {"8.00", false, 3, true, true, 7, true, false, false, false},
      {"8.05", false, 3, true, true, 7, true, false, false, false},
      {"8.4", false, 3, true, true, 7, true, true, false, false},
      {"8.47", false, 3, true, true, 7, true, true, false, false},
      {"8.5", false, 3, true, true, 7, true, true, true, false},
      {"9.5", false, 3, true, true, 7, true, true, true, true},
      {"9.16", false, 3, true, true, 7, true, true, true, false},  // "9.16" sorts before "9.5"
  };
  for (const Case& c : cases) {
    const testing::OldDefinition record(c.version, "Lute");
    const auto bytes = record.Bytes();
    ArchiveReader r(bytes, c.version);
    CInstrumentDlg d;
    d.Load(r);
    EXPECT_TRUE(r.AtEnd()) << c.version;
    EXPECT_EQ(d.midi.name, c.midiName ? "Old patch" : "") << c.version;
    EXPECT_EQ(d.midi.family, c.midiName ? 7 : 0) << c.version;
    EXPECT_EQ(d.clefLine, c.clefLine) << c.version;
    EXPECT_EQ(d.ornaments.table.colors[0], c.ornaments && VersionAtLeast(c.version, "9.53.1") ? 0xABCDEFu : 0x507D00u)
        << c.version;
    EXPECT_EQ(d.ornaments.glyphCodes.size(), c.ornaments ? 2u : 0u) << c.version;
    EXPECT_EQ(d.closeSystems, c.close ? 1 : 0) << c.version;
    EXPECT_EQ(d.family, c.family) << c.version;
    EXPECT_EQ(d.pedals[2]->action, c.pedals ? 2 : 0) << c.version;
    EXPECT_EQ(d.slantedBeams, c.slanted ? 1 : 0) << c.version;
    EXPECT_EQ(d.notationFont.face, c.notation ? "OtherNotation" : "VornelNotation") << c.version;
    EXPECT_EQ(d.longStems, c.longStems ? 1 : 0) << c.version;
    ASSERT_EQ(d.staves.size(), 1u);
    EXPECT_EQ(d.staves.at(0)->definition, &d);
    EXPECT_EQ(d.staves.at(0)->clefRaise, c.clefLine);
  }
}

TEST(InstrumentDefinition, AnEmptyNameTakesTheTuningsName) {
  const testing::OldDefinition record("9.8.1.0", "");
  const auto bytes = record.Bytes();
  ArchiveReader r(bytes);
  CInstrumentDlg d;
  d.Load(r);
  EXPECT_EQ(d.nameText.text, "7-course Lute in G");
  EXPECT_EQ(d.nameText.font.logFont.lfWeight, 400);  // the stored font

  CInstrumentDlg fresh;
  EXPECT_EQ(fresh.nameText.font.logFont.lfWeight, 700);
}

TEST(InstrumentDefinition, RecordAndXmlRoundTrip) {
  CInstrumentDlg d;
  d.ApplyNotationPreset(6);
  d.family = 4;
  d.visible = 0;
  d.nameText.text = "Guitar";
  d.tabInstrument.tabStyle = CTabInstrument::kItalian;
  d.midi = Unusual();
  d.key.alterations = 2;
  d.notationFont.color = 0x10;
  d.ornaments.table.colors[3] = 0x20;
  d.ornaments.FillGlyphList(true);
  d.pedals[4]->caption = "E";
  d.closeSystems = 1;
  d.slantedBeams = 1;
  d.longStems = 1;
  d.hideOrnaments = 1;
  d.notesStyle = 1;
  d.clefLine = -2;
  d.notationOptions = 1;

  // A record read back stores what it was read from (a fresh ornament table keeps rows that
  // a stored one drops, so the comparison starts from a read record).
  ArchiveWriter first;
  d.Store(first);
  ArchiveReader r1(first.Bytes());
  CInstrumentDlg once;
  once.Load(r1);
  EXPECT_TRUE(r1.AtEnd());
  ArchiveWriter w;
  once.Store(w);
  ArchiveReader r(w.Bytes());
  CInstrumentDlg read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  ArchiveWriter again;
  read.Store(again);
  EXPECT_TRUE(again.Bytes() == w.Bytes());
  EXPECT_EQ(read.ornaments.glyphCodes, d.ornaments.glyphCodes);
  EXPECT_EQ(read.staves.size(), 3u);
  EXPECT_EQ(read.staves.at(2)->clefRaise, -2);

  const std::string xml = Xml(d);
  EXPECT_TRUE(xml.starts_with("<instrument family=\"4\" category=\"Guitar\" hidden=\"1\"><track-text")) << xml;
  EXPECT_NE(xml.find("</track-text><track-font descriptor=\"name-font\""), std::string::npos) << xml;
  CInstrumentDlg fromXml;
  ReadXmlText(fromXml, xml);
  const std::string rewritten = Xml(fromXml);
  CInstrumentDlg twice;
  ReadXmlText(twice, rewritten);
  EXPECT_EQ(Xml(twice), rewritten);
  EXPECT_EQ(fromXml.visible, 0);
  EXPECT_EQ(fromXml.midi, d.midi);
  ASSERT_EQ(fromXml.staves.size(), 3u);
  EXPECT_EQ(*fromXml.staves.at(1), *d.staves.at(1));
}

// Our earlier files name the two font elements after their descriptors.
TEST(InstrumentDefinition, FontElementsOfEarlierFilesAreRead) {
  CInstrumentDlg d;
  d.nameText.font.pointSize.cx = 222;
  d.tabInstrument.tabFont.pointSize.cx = 333;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = d.WriteXml(doc);
  doc.InsertEndChild(element);
  tinyxml2::XMLElement* nameFont = element->FirstChildElement("track-font");
  tinyxml2::XMLElement* tabFont = element->FirstChildElement("tablature-definition")->FirstChildElement()->FirstChildElement();
  for (auto [font, name] : {std::pair{nameFont, "name-font"}, std::pair{tabFont, "tablature-font"}}) {
    ASSERT_STREQ(font->Attribute("descriptor"), name);
    font->SetName(name);
    font->DeleteAttribute("descriptor");
  }
  CInstrumentDlg read;
  read.ReadXml(element);
  EXPECT_EQ(read.nameText.font.pointSize.cx, 222);
  EXPECT_EQ(read.tabInstrument.tabFont.pointSize.cx, 333);
}

TEST(InstrumentDefinition, XmlReaderNeedsItsOptions) {
  CInstrumentDlg d;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = d.WriteXml(doc);
  doc.InsertEndChild(element);
  tinyxml2::XMLElement* options = element->FirstChildElement("options");
  options->SetName("settings");
  testing::ScriptedPrompts prompts;
  CInstrumentDlg read;
  EXPECT_THROW(read.ReadXml(element), XmlTagMismatch);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Mismatch error on tag: <settings> should be <options>"});

}

// Every line takes a copy of each stave of its definition, and a stave's position code has
// room for 16 staves: adding stops there, the XML reader takes the first 16 and a record with
// more is refused, so a small file cannot multiply staves over every system.
TEST(InstrumentDefinition, StavesStopAtSixteen) {
  CInstrumentDlg full;
  while (full.AddStave() != nullptr) {
  }
  EXPECT_EQ(full.staves.size(), CInstrument::kMaxStaves);

  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = full.WriteXml(doc);
  doc.InsertEndChild(element);
  tinyxml2::XMLElement* clefs = element->FirstChildElement("clefs");
  clefs->InsertEndChild(clefs->FirstChildElement()->DeepClone(&doc));
  clefs->SetAttribute("count", 17);
  CInstrumentDlg fromXml;
  fromXml.ReadXml(element);
  EXPECT_EQ(fromXml.staves.size(), CInstrument::kMaxStaves);

  full.staves.push_back(std::make_unique<CClef>(&full));
  CInstrument line(full);
  ArchiveWriter definitionRecord;
  full.Store(definitionRecord);
  ArchiveWriter lineRecord;
  line.Store(lineRecord);
  const std::vector<uint8_t> definitionBytes = definitionRecord.TakeBytes();
  const std::vector<uint8_t> lineBytes = lineRecord.TakeBytes();
  ArchiveReader definitionReader(definitionBytes);
  ArchiveReader lineReader(lineBytes);
  CInstrumentDlg readDefinition;
  CInstrument readLine;
  EXPECT_THROW(readDefinition.Load(definitionReader), ArchiveError);
  EXPECT_THROW(readLine.Load(lineReader), ArchiveError);
}

TEST(InstrumentDefinition, ListXmlIndexesAndLinksEveryDefinition) {
  CInstrumentArray list;
  list.push_back(std::make_unique<CInstrumentDlg>());
  list.push_back(std::make_unique<CInstrumentDlg>());
  list.at(1)->ApplyNotationPreset(5);
  list.at(0)->EnsureStave();
  list.at(0)->staves.clear();  // written without clefs
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = list.WriteXml(doc);
  doc.InsertEndChild(element);
  EXPECT_STREQ(element->Attribute("count"), "2");
  EXPECT_STREQ(element->LastChildElement()->Attribute("index"), "1");
  element->SetAttribute("count", 5);  // more than the children present

  CInstrumentArray read;
  EXPECT_EQ(read.ReadXml(element), nullptr);
  ASSERT_EQ(read.size(), 2u);
  ASSERT_EQ(read.at(0)->staves.size(), 1u);  // a definition always has a stave
  EXPECT_EQ(read.at(0)->staves.at(0)->definition, read.at(0));
  EXPECT_EQ(read.at(1)->staves.size(), 2u);
  EXPECT_EQ(read.at(1)->staves.at(1)->tabInstrument, &read.at(1)->tabInstrument);
}

// Stems of a grand staff: each stave's voice divides at its own clef's middle.
TEST(InstrumentDefinition, VoiceStemDirectionsFollowEachStave) {
  CInstrumentDlg d;
  d.ApplyNotationPreset(CInstrumentDlg::kGrandStaffPreset);
  for (const uint8_t pitch : {72, 62}) d.gathered[0].push_back(testing::ChordOf(3, {{pitch, 1}}));
  for (const uint8_t pitch : {55, 40}) d.gathered[1].push_back(testing::ChordOf(3, {{pitch, 1}}));
  d.SetVoiceStemDirections();
  const auto down = [](const nChord* chord) { return (chord->status & 0x80) != 0; };
  EXPECT_TRUE(down(d.gathered[0][0]));
  EXPECT_FALSE(down(d.gathered[0][1]));
  EXPECT_TRUE(down(d.gathered[1][0]));
  EXPECT_FALSE(down(d.gathered[1][1]));

  // A stave with both voices leaves the stems alone.
  CInstrumentDlg both;
  both.ApplyNotationPreset(1);
  both.gathered[0].push_back(testing::ChordOf(3, {{80, 1}}));
  both.SetVoiceStemDirections();
  EXPECT_FALSE(down(both.gathered[0][0]));
}

TEST(InstrumentDefinition, MarkedAreaCopyAndDelete) {
  const auto build = [](CInstrumentDlg& d) {
    for (uint8_t pitch = 60; pitch < 65; ++pitch) d.gathered[0].push_back(testing::ChordOf(3, {{pitch, 1}}));
    for (uint8_t pitch = 40; pitch < 43; ++pitch) d.gathered[1].push_back(testing::ChordOf(2, {{pitch, 5}}));
    for (nChordArray& voice : d.gathered) voice.UpdateTickPositions(4, 4);
  };
  CInstrumentDlg d;
  build(d);
  CInstrumentDlg buffer;
  buffer.gathered[0].push_back(testing::ChordOf(3));
  EXPECT_FALSE(d.CopyMarkedArea(buffer));  // no marked area
  EXPECT_FALSE(d.DeleteMarkedArea());

  d.markers = {1, 3};
  ASSERT_TRUE(d.CopyMarkedArea(buffer));
  EXPECT_EQ(testing::VoiceText(buffer.gathered[0]), "3(61) 3(62) 3(63)");
  EXPECT_EQ(testing::VoiceText(buffer.gathered[1]), "2(41) 2(42)");
  EXPECT_NE(buffer.gathered[0][0], d.gathered[0][1]);  // copies, not the same chords
  ASSERT_TRUE(d.DeleteMarkedArea());
  EXPECT_EQ(testing::VoiceText(d.gathered[0]), "3(60) 3(64)");
  EXPECT_EQ(testing::VoiceText(d.gathered[1]), "2(40)");

  // An end beyond the voice ends at its last chord; an end before the begin marks nothing.
  CInstrumentDlg clamped;
  build(clamped);
  clamped.markers = {3, 99};
  ASSERT_TRUE(clamped.DeleteMarkedArea());
  EXPECT_EQ(testing::VoiceText(clamped.gathered[0]), "3(60) 3(61) 3(62)");
  clamped.markers = {2, 1};
  EXPECT_FALSE(clamped.DeleteMarkedArea());
}

}  // namespace
}  // namespace vornel
