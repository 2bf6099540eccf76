#include <gtest/gtest.h>

#include "model/events/CMetaEvent.h"
#include "model/events/CMetaEventArray.h"
#include "model/events/MetaEventEditor.h"
#include "model/events/GraceNoteEvent.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/MissingService.h"
#include "support/ScriptedPrompts.h"
#include "model/XmlTestText.h"

namespace vornel {
namespace {

using testing::CompactXml;
using testing::HexBytes;
using testing::ToHex;

TEST(MetaEventXml, WritesTheElementAndReadsItBack) {
  CMetaEvent event(CMetaEvent::kTimeSignature, "Tom & Jérôme", 4294967295u, 3, -4);
  event.location.notation = {1, 2, 3, 4};
  event.location.notationCx = 5;
  event.location.notationCy = 6;
  event.location.tablatureCx = -7;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* e = event.WriteXml(doc);
  EXPECT_EQ(CompactXml(doc, e),
            "<meta-event name=\"Time signature\" type=\"1\" value=\"4294967295\" cx=\"3\" cy=\"-4\">"
            "<location><notation l=\"1\" r=\"3\" t=\"2\" b=\"4\" cx=\"5\" cy=\"6\"/>"
            "<tablature l=\"0\" r=\"0\" t=\"0\" b=\"0\" cx=\"-7\" cy=\"0\"/></location>"
            "<text>Tom &amp; Jérôme</text></meta-event>");
  CMetaEvent read;
  EXPECT_EQ(read.ReadXml(e), nullptr);
  EXPECT_EQ(read, event);
}

struct ValueCase {
  const char* attribute;
  uint32_t value;
};

class MetaEventValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(MetaEventValue, IsReadAsARealTruncatedToThirtyTwoBits) {
  tinyxml2::XMLDocument doc;
  const std::string xml = std::string("<meta-event type=\"300\" value=\"") + GetParam().attribute +
                          "\"><location/><text>a\n\nb</text></meta-event>";
  ASSERT_EQ(doc.Parse(xml.c_str()), tinyxml2::XML_SUCCESS);
  CMetaEvent event;
  event.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(event.value, GetParam().value);
  EXPECT_EQ(event.kind, 300 % 256);
  EXPECT_EQ(event.location, EventLocation{});  // absent parts read as zeros
  EXPECT_EQ(event.text, "a\rb");
}

INSTANTIATE_TEST_SUITE_P(Values, MetaEventValue,
                         ::testing::Values(ValueCase{"3.9", 3}, ValueCase{"-1", 0xFFFFFFFF},
                                           ValueCase{"4294967295", 0xFFFFFFFF}, ValueCase{"4294967296", 0},
                                           ValueCase{"1e300", 0}, ValueCase{"nan", 0}, ValueCase{"", 0}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(MetaEventXml, LocationAndTextChildrenAreRequired) {
  testing::ScriptedPrompts prompts;
  for (const char* xml : {"<meta-event/>", "<meta-event><text/><location/></meta-event>",
                          "<meta-event><location/></meta-event>"}) {
    tinyxml2::XMLDocument doc;
    doc.Parse(xml);
    CMetaEvent event;
    EXPECT_THROW(event.ReadXml(doc.FirstChildElement()), XmlTagMismatch) << xml;
  }
}

// The fixed part of a binary record, and the location that follows from 9.16 on.
std::vector<uint8_t> MetaRecord(std::string_view text, uint8_t kind, uint32_t value, int32_t cx, int32_t cy,
                                bool withLocation) {
  ArchiveWriter w;
  w.WriteText(text);
  w.WriteU8(kind);
  w.WriteU32(value);
  w.WriteI32(cx);
  w.WriteI32(cy);
  if (withLocation) {
    for (int32_t i = 1; i <= 12; ++i) w.WriteI32(i);
  }
  return w.TakeBytes();
}

TEST(MetaEventRecord, ByteExactWithLocation) {
  CMetaEvent event(CMetaEvent::kCaption, "ab", 0x00070000, -1, 2);
  event.location.SetRect(10, 20, 40, 60, EventLocation::kTablature);
  ArchiveWriter w;
  event.Store(w);
  EXPECT_EQ(ToHex(w.Bytes()),
            "FF FE FF 02 61 00 62 00 05 00 00 07 00 FF FF FF FF 02 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "0A 00 00 00 14 00 00 00 28 00 00 00 3C 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  ArchiveReader r(w.Bytes());
  CMetaEvent read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read, event);

  // An old document's version is kept when it is written again: no location then either.
  ArchiveWriter old("9.15");
  event.Store(old);
  EXPECT_EQ(old.Bytes().size(), 21u);
}

struct GateCase {
  const char* version;
  bool hasLocation;
};

class MetaEventLocationGate : public ::testing::TestWithParam<GateCase> {};

TEST_P(MetaEventLocationGate, LocationFollowsFromNineSixteen) {
  const auto bytes = MetaRecord("", CMetaEvent::kTempo, 120, 0, 0, GetParam().hasLocation);
  ArchiveReader r(bytes, GetParam().version);
  CMetaEvent event;
  event.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(event.location.tablatureCy, GetParam().hasLocation ? 12 : 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, MetaEventLocationGate,
                         ::testing::Values(GateCase{"9.15", false}, GateCase{"9.16", true},
                                           GateCase{"9.5.1", true}, GateCase{"10.0", false}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(MetaEventRecord, ShortRecordsEndTheRead) {
  for (const size_t cut : {size_t{12}, size_t{20}, size_t{50}}) {
    auto bytes = MetaRecord("", CMetaEvent::kTempo, 120, 0, 0, true);
    bytes.resize(cut);
    ArchiveReader r(bytes);
    CMetaEvent event;
    EXPECT_THROW(event.Load(r), ArchiveError) << cut;
  }
}

struct ConversionCase {
  const char* version;
  CMetaEvent stored;
  CMetaEvent expected;
};

class MetaEventConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(MetaEventConversion, OldValuesAreBroughtToTheCurrentMeaning) {
  const ConversionCase& c = GetParam();
  const auto bytes = MetaRecord(c.stored.text, c.stored.kind, c.stored.value, c.stored.cx, c.stored.cy,
                                VersionAbove(c.version, "9.15"));
  ArchiveReader r(bytes, c.version);
  CMetaEvent event;
  event.Load(r);
  EXPECT_EQ(event.kind, c.expected.kind);
  EXPECT_EQ(event.text, c.expected.text);
  EXPECT_EQ(event.value, c.expected.value);
  EXPECT_EQ(event.cx, c.expected.cx);
  EXPECT_EQ(event.cy, c.expected.cy);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, MetaEventConversion,
    ::testing::Values(
        // Legato line numbers 0-7 scaled to 0-15 (capped), packed into bytes 1 and 2.
        ConversionCase{"8.5", {6, "x", 0xFF0000AB, 3, 7}, {6, "", 0x00F6F6AB, 3, 3}},
        ConversionCase{"8.5", {6, "", 0x12, -2, 0}, {6, "", 0x12, 0, 0}},
        ConversionCase{"8.5", {12, "", 5, 9, 1}, {12, "", 0x30000, 0, 0}},
        ConversionCase{"8.5", {12, "", 5, 9, 12}, {12, "", 0xE0000, 0, 0}},
        ConversionCase{"8.5", {5, "c", 0, 4, 3}, {5, "c", 0xA0000, 0, 0}},
        // From 8.6 on only the dynamics hidden among endings are converted.
        ConversionCase{"8.6", {6, "x", 0xAB, 3, 7}, {6, "x", 0xAB, 3, 7}},
        ConversionCase{"8.6", {12, "", 5, 9, 12}, {34, "", 5, 9, 0x100AA}},
        ConversionCase{"9.8.1.0", {12, "", 5, 9, 10}, {12, "", 5, 9, 10}},
        // A time signature without values is an empty caption.
        ConversionCase{"9.8.1.0", {1, "true", 0, 0, 0}, {5, "", 0, 0, 0}},
        ConversionCase{"9.8.1.0", {1, "true", 1, 0, 0}, {1, "true", 1, 0, 0}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(MetaEvent, KindNames) {
  EXPECT_EQ(CMetaEvent::KindName(0), "Lyrics");
  EXPECT_EQ(CMetaEvent::KindName(19), "Dynamic Chart");
  EXPECT_EQ(CMetaEvent::KindName(49), "End marker");
  EXPECT_EQ(CMetaEvent::KindName(65), "Stave break");
  EXPECT_EQ(CMetaEvent::KindName(13), "");
  for (uint8_t kind = 26; kind <= 31; ++kind) EXPECT_EQ(CMetaEvent::KindName(kind), "") << int(kind);
  EXPECT_EQ(CMetaEvent::KindName(255), "");
}

TEST(MetaEvent, CopiesKeepOffsetsButNotDrawnRectangles) {
  CMetaEvent event(CMetaEvent::kCaption, "c", 1, 2, 3);
  event.location.SetRect(7, 7, 7, 7, EventLocation::kNotation);
  EXPECT_EQ(event.location.notation, (EventRect{2, 2, 12, 12}));  // widened around the point
  event.location.SetRect(30, 1, 0, 9, EventLocation::kTablature);
  EXPECT_EQ(event.location.tablature, (EventRect{0, 1, 30, 9}));
  event.location.notationCx = 40;
  event.location.tablatureCy = -50;

  const CMetaEvent copy(event);
  EXPECT_EQ(copy.location.notation, EventRect{});
  EXPECT_EQ(copy.location.tablature, EventRect{});
  EXPECT_EQ(copy.location.notationCx, 40);
  EXPECT_EQ(copy.location.tablatureCy, -50);
  EXPECT_EQ(copy.text, "c");
  EXPECT_EQ(copy.cy, 3);
}

class RecordingEditor : public MetaEventEditor {
 public:
  bool RunEditor(CMetaEvent& event, int view) override {
    opened.push_back(event.kind);
    views.push_back(view);
    if (deleteIt) event.kind = CMetaEvent::kDeleteMe;
    return answer;
  }
  void FollowHyperlink(const CMetaEvent& event) override { followed.push_back(event.text); }
  bool answer = true;
  bool deleteIt = false;
  std::vector<uint8_t> opened;
  std::vector<int> views;
  std::vector<std::string> followed;
};

TEST(MetaEventEdit, DispatchesByKind) {
  // Without a front end nothing is edited, and the default says so.
  testing::ScriptedPrompts prompts;
  CMetaEvent lyrics(CMetaEvent::kLyrics, "la", 0, 0, 0);
  EXPECT_MISSING_SERVICE(prompts, EXPECT_FALSE(lyrics.Edit(EventLocation::kNotation)), "meta-event editor");

  RecordingEditor editor;
  const ScopedMetaEventEditor scope(editor);
  EXPECT_TRUE(lyrics.Edit(EventLocation::kTablature));
  editor.answer = false;
  CMetaEvent tempo(CMetaEvent::kTempo, "", 90, 0, 0);
  EXPECT_FALSE(tempo.Edit(EventLocation::kNotation));
  EXPECT_EQ(editor.opened, (std::vector<uint8_t>{0, 14}));
  EXPECT_EQ(editor.views, (std::vector<int>{1, 0}));

  // Kinds without a dialog: a fermata, da capo or segno goes back to the offsets a reset of
  // the locations gives, in the view it was edited in.
  for (const uint8_t kind : {CMetaEvent::kFermata, CMetaEvent::kDaCapo, CMetaEvent::kSegno}) {
    CMetaEvent sign(kind, "", 1, 0, 0);
    EXPECT_TRUE(sign.Edit(EventLocation::kTablature));
    EXPECT_EQ(sign.location.tablatureCx, -200);
    EXPECT_EQ(sign.location.tablatureCy, -750);
    EXPECT_EQ(sign.location.notationCy, 0);
    EXPECT_TRUE(sign.Edit(EventLocation::kNotation));
    EXPECT_EQ(sign.location.notationCx, -100);
    EXPECT_EQ(sign.location.notationCy, -300);
  }
  EXPECT_TRUE(CMetaEvent(CMetaEvent::kDynamicChart, "", 0, 0, 0).Edit(0));
  EXPECT_FALSE(CMetaEvent(13, "", 0, 0, 0).Edit(0));
  EXPECT_FALSE(CMetaEvent(CMetaEvent::kMarker, "", 0, 0, 0).Edit(0));
  EXPECT_EQ(editor.opened.size(), 2u);
}

TEST(MetaEvent, ResetLocation) {
  CMetaEvent fermata(CMetaEvent::kFermata, "", 1, 0, 0);
  fermata.location.SetRect(0, 0, 20, 20, EventLocation::kNotation);
  CMetaEvent caption(CMetaEvent::kCaption, "c", 0, 0, 0);
  caption.location.SetRect(0, 0, 20, 20, EventLocation::kNotation);
  caption.location.notationCx = 9;
  fermata.ResetLocation();
  caption.ResetLocation();
  EXPECT_EQ(fermata.location.notation, (EventRect{0, 0, 20, 20}));
  EXPECT_EQ(fermata.location.tablatureCy, -750);
  EXPECT_EQ(fermata.location.notationCx, -100);
  EXPECT_EQ(caption.location, EventLocation{});
}

// A model of the same kind gives its four offsets; one of another kind changes nothing.
TEST(MetaEvent, ResetLocationFromAModel) {
  CMetaEvent model(CMetaEvent::kLyrics, "m", 0, 0, 0);
  model.location.SetOffset(EventLocation::kNotation, 10, 20);
  model.location.SetOffset(EventLocation::kTablature, 30, 40);
  CMetaEvent lyric(CMetaEvent::kLyrics, "l", 0, 0, 0);
  lyric.location.SetRect(5, 5, 30, 30, EventLocation::kTablature);
  lyric.ResetLocation(&model);
  EXPECT_EQ(lyric.location.notationCx, 10);
  EXPECT_EQ(lyric.location.notationCy, 20);
  EXPECT_EQ(lyric.location.tablatureCx, 30);
  EXPECT_EQ(lyric.location.tablatureCy, 40);
  EXPECT_EQ(lyric.location.tablature, (EventRect{5, 5, 30, 30}));
  CMetaEvent caption(CMetaEvent::kCaption, "c", 0, 0, 0);
  caption.location.SetOffset(EventLocation::kNotation, 7, 8);
  caption.ResetLocation(&model);
  EXPECT_EQ(caption.location.notationCx, 7);
  EXPECT_EQ(caption.location.tablatureCx, 0);
}

// Dragging moves the offset by the distance dropped, divided by the zoom, in hundredths of a
// millimetre of the device; the drawn rectangle stays.
TEST(EventLocation, MoveByTheDropAtTheZoom) {
  struct Case {
    int32_t zoom;
    int32_t moved;     // pixels
    int32_t expected;  // hundredths of a millimetre at 96 dpi
  };
  for (const Case c : {Case{100, 20, 529}, {200, 20, 265}, {0, 20, 529}, {50, 10, 529}}) {
    EventLocation location;
    location.SetRect(100, 50, 120, 70, EventLocation::kTablature);
    ASSERT_TRUE(location.Move(EventLocation::kTablature, {100 + c.moved, 50}, 96, 96, c.zoom)) << c.zoom;
    EXPECT_EQ(location.tablatureCx, c.expected) << c.zoom;
    EXPECT_EQ(location.tablatureCy, 0) << c.zoom;
    EXPECT_EQ(location.tablature, (EventRect{100, 50, 120, 70}));
  }
  // An offset grows on what it was.
  EventLocation location;
  location.notation = {100, 50, 120, 70};
  location.SetOffset(EventLocation::kNotation, 529, -529);
  location.Move(EventLocation::kNotation, {120, 30}, 96, 96, 100);
  EXPECT_EQ(location.notationCx, 1058);
  EXPECT_EQ(location.notationCy, -1058);
}

TEST(EventLocation, AnEventNeverDrawnDoesNotMove) {
  EventLocation location;
  location.SetOffset(EventLocation::kNotation, 11, 12);
  EXPECT_FALSE(location.Move(EventLocation::kNotation, {40, 40}, 96, 96, 100));
  EXPECT_EQ(location.notationCx, 11);
  EXPECT_EQ(location.notationCy, 12);
}

TEST(EventLocation, TheOffsetInDevicePixelsGrowsWithTheZoom) {
  EventLocation location;
  location.SetOffset(EventLocation::kTablature, 100, -254);
  EXPECT_EQ(location.DeviceOffset(EventLocation::kTablature, 96, 96, 100), (Point{4, -10}));
  EXPECT_EQ(location.DeviceOffset(EventLocation::kTablature, 96, 96, 200), (Point{8, -20}));
  EXPECT_EQ(location.DeviceOffset(EventLocation::kTablature, 96, 96, 0), (Point{4, -10}));
}

// Drawing a chord's events: the marked and the empty text events go first, what the drawing
// marks goes after, and the last event drawn is returned.
TEST(MetaEventList, DrawAllRemovesWhatCannotBeDrawn) {
  CMetaEventArray list;
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kDeleteMe, "gone", 0, 0, 0));
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "", 0, 0, 0));
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTempo, "", 60, 0, 0));
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kFootnote, "", 0, 0, 0));
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kChordChart, "", 9, 0, 0));
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kCaption, "kept", 0, 0, 0));
  std::vector<uint8_t> drawn;
  CMetaEvent* last = list.DrawAll([&](CMetaEvent& e) {
    drawn.push_back(e.kind);
    if (e.kind == CMetaEvent::kChordChart) e.kind = CMetaEvent::kDeleteMe;
  });
  // A text event with no text does not stop the walk: the events after it are drawn.
  EXPECT_EQ(drawn, (std::vector<uint8_t>{CMetaEvent::kTempo, CMetaEvent::kChordChart, CMetaEvent::kCaption}));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->kind, CMetaEvent::kTempo);
  EXPECT_EQ(list[1]->kind, CMetaEvent::kCaption);
  EXPECT_EQ(last, list[1]);
}

TEST(MetaEventList, SetUpdatesTheFirstOfItsKindOrAppends) {
  CMetaEventArray list;
  list.SetMetaEvent(CMetaEvent::kLyrics, "one", 0, 0, 0);
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLyrics, "two", 0, 0, 0));
  CMetaEvent* set = list.SetMetaEvent(CMetaEvent::kLyrics, "new", 5, 6, 7);
  EXPECT_EQ(set, list[0]);
  EXPECT_EQ(list[0]->text, "new");
  EXPECT_EQ(list[0]->cy, 7);
  EXPECT_EQ(list[1]->text, "two");
  list.SetMetaEvent(CMetaEvent::kTempo, "", 120, 0, 0);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.Find(CMetaEvent::kTempo)->value, 120u);

  list.AddPedalEvent(3);
  EXPECT_EQ(list.Find(CMetaEvent::kPedal)->value, 3u);
  list[0]->kind = CMetaEvent::kDeleteMe;
  EXPECT_EQ(list.RemoveMarkedForDeletion(), 1u);
  EXPECT_EQ(list.RemoveKind(CMetaEvent::kLyrics), 1u);
  EXPECT_EQ(list.size(), 2u);
}

TEST(MetaEventList, RemovesTheEventsOfANote) {
  nNotes note;
  note.pitch = 64;
  nNotes other;
  other.pitch = 65;
  CMetaEventArray list;
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kFloatingOrnament, "", 0, 0, 0))->referent = &note;
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kFloatingOrnament, "", 0, 0, 0))->referent = &other;
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kGraceNote, "", 64u << 16, 0, 0));
  list.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kGraceNote, "", 64u, 0, 0));
  list.RemoveNoteEvents(note);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->referent, &other);
  EXPECT_EQ(list[1]->value, 64u);
}

// A grace-note event's value names its note; its flags sit in cy, whatever the pitch byte holds.
TEST(GraceNoteEvent, BelongsToTheNoteItNamesAndReadsItsFlagsFromCy) {
  nChord chord(0, 3);
  chord.notes.push_back(std::make_unique<nNotes>());
  chord.notes.push_back(std::make_unique<nNotes>());
  chord.notes[0]->pitch = 60;
  chord.notes[1]->pitch = 67;
  chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kGraceNote, "", 67u << 16 | 0x0203, 4, 0));
  const CMetaEvent& grace = *chord.metaEvents[0];
  EXPECT_EQ(GraceNoteOf(grace, chord), chord.notes[1]);
  EXPECT_EQ(GraceEventOf(chord, *chord.notes[1]), &grace);
  EXPECT_EQ(GraceEventOf(chord, *chord.notes[0]), nullptr);
  // A pitch no note has: the group goes to the first note.
  const CMetaEvent stray(CMetaEvent::kGraceNote, "", 50u << 16, 4, 0);
  EXPECT_EQ(GraceNoteOf(stray, chord), chord.notes[0]);

  struct Case {
    uint32_t flags;
    int valueCode, rotations, startOffset;
  };
  for (const Case& c : {Case{0, 2, 0, 0},                 // no flags: half notes
                        Case{3u << 16, 5, 0, 0},          // "16th note", the dialog's default
                        Case{5u << 16, 7, 0, 0},          // "64th note"
                        Case{9u << 16, 1, 0, 0},          // a negative offset from elsewhere
                        Case{0x9A000000u, 2, -2, -1},     // sign and magnitude in both nibbles
                        Case{0x77000000u, 2, 7, 7}}) {
    EXPECT_EQ(GraceValueCode(c.flags), c.valueCode) << std::hex << c.flags;
    EXPECT_EQ(GraceRotations(c.flags), c.rotations) << std::hex << c.flags;
    EXPECT_EQ(GraceStartOffset(c.flags), c.startOffset) << std::hex << c.flags;
  }
  for (int n = -7; n <= 7; ++n) EXPECT_EQ(ReadSignedNibble(MakeSignedNibble(n)), n);
}

// Key rotations turn the stave's key along the circle of fifths, never past seven.
TEST(GraceNoteEvent, RotationsTurnTheKey) {
  CKey g;
  g.SetSignature(1, false);
  const CKey same = GraceKey(g, 0);
  EXPECT_EQ(same, g);
  const CKey d = GraceKey(g, 1u << 24);  // one sharp more: C# as well
  EXPECT_EQ(d.StepToPitch(0), 1);
  const CKey f = GraceKey(g, 0xAu << 24);  // two flats from one sharp: F major, B flat
  EXPECT_EQ(f.StepToPitch(6), 10);
  EXPECT_EQ(f.StepToPitch(3), 5);
  const CKey most = GraceKey(g, 7u << 24);  // eight sharps stay seven
  EXPECT_EQ(most.alterations, 7u);
  EXPECT_EQ(most.bemol, 0);
}

TEST(MetaEventList, XmlCountBeyondTheChildrenStopsAtTheLast) {
  CMetaEventArray list;
  list.SetMetaEvent(CMetaEvent::kLyrics, "la", 0, 0, 0);
  list.SetMetaEvent(CMetaEvent::kTempo, "", 96, 0, 0);
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* e = list.WriteXml(doc);
  EXPECT_EQ(e->IntAttribute("count"), 2);
  CMetaEventArray read;
  read.SetMetaEvent(CMetaEvent::kCaption, "old", 0, 0, 0);
  read.ReadXml(e);
  EXPECT_EQ(read, list);

  e->SetAttribute("count", 9);
  read.ReadXml(e);
  EXPECT_EQ(read, list);
  e->SetAttribute("count", 1);
  read.ReadXml(e);
  EXPECT_EQ(read.size(), 1u);
}

}  // namespace
}  // namespace vornel
