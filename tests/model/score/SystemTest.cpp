#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/OldRecords.h"
#include "model/score/StaveRenderer.h"
#include "model/XmlTestText.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/draw/RecordingDevice.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

std::string Compact(const tinyxml2::XMLNode* node) { return testing::PrintXml(node); }

// ---------------------------------------------------------------------------------------------
// Instrument lines

TEST(InstrumentLine, SecondVoiceOnlyAfterSixOne) {
  CInstrument line;
  line.activeStave = 1;
  line.staves.push_back(std::make_unique<CClef>());
  line.staves.push_back(std::make_unique<CClef>());
  line.firstVoice.push_back(std::make_unique<nChord>(0, 3));
  line.secondVoice.push_back(std::make_unique<nChord>(0, 2));

  ArchiveWriter w;
  line.Store(w);
  for (const char* version : {"6.1", "6.05", "6.0.9"}) {
    // Chords of these versions have shorter records: a voice of empty entries stands in.
    nChordArray first;
    first.push_back(nullptr);
    first.push_back(nullptr);
    ArchiveWriter old;
    old.WriteObjectArray(line.staves.items());
    old.WriteI32(1);
    first.Store(old);
    old.WriteU32(0xCAFE);  // the next object of the file
    ArchiveReader r(old.Bytes(), version);
    CInstrument read;
    read.Load(r);
    EXPECT_EQ(r.Remaining(), 4u) << version;
    EXPECT_EQ(read.staves.size(), 2u);
    EXPECT_EQ(read.activeStave, 1);
    EXPECT_EQ(read.firstVoice, first);
    EXPECT_TRUE(read.secondVoice.empty()) << version;
  }
  ArchiveReader r(w.Bytes(), "7.8");
  CInstrument read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.secondVoice, line.secondVoice);
}

TEST(InstrumentLine, XmlKeepsBothVoicesAndTheActiveStave) {
  CInstrumentDlg definition;
  definition.ApplyNotationPreset(CInstrumentDlg::kGrandStaffPreset);
  CInstrument line(definition);
  EXPECT_EQ(line.staves.size(), 2u);
  line.activeStave = 1;
  line.firstVoice.push_back(std::make_unique<nChord>(0, 3));
  line.firstVoice.push_back(nullptr);
  line.secondVoice.push_back(std::make_unique<nChord>(1, 0));
  nNotes note;
  line.lastEnteredNote = &note;

  tinyxml2::XMLDocument doc;
  const std::string xml = testing::CompactXml(doc, line.WriteXml(doc));
  EXPECT_TRUE(xml.starts_with("<instrument active=\"1\"><staff count=\"2\">")) << xml;
  CInstrument read;
  read.lastEnteredNote = &note;
  EXPECT_EQ(read.ReadXml(doc.FirstChildElement()), nullptr);
  EXPECT_EQ(read.activeStave, 1);
  EXPECT_EQ(read.firstVoice, line.firstVoice);
  EXPECT_EQ(read.secondVoice, line.secondVoice);
  EXPECT_EQ(read.lastEnteredNote, nullptr);
  EXPECT_TRUE(read.staves.empty());  // the system attaches them from the definitions

  read.AttachDefinition(definition);
  ASSERT_EQ(read.staves.size(), 2u);
  EXPECT_EQ(read.staves.at(1)->definition, &definition);
  testing::ExpectXmlReadRefused<CInstrument>("<line/>", "Mismatch error on tag: <line> should be <instrument>");
}

// A line of two staves as the renderer left them.
void LayOut(CInstrument& line) {
  line.staves.clear();
  for (int k = 0; k < 2; ++k) {
    auto stave = std::make_unique<CClef>();
    stave->type = k == 0 ? 1 : 0;
    stave->tablatureLayout = k == 0;
    stave->area = k == 0 ? Rect{100, 100, 500, 160} : Rect{100, 200, 500, 240};
    stave->lineSpacing = k == 0 ? 10 : 8;
    stave->leftMargin = 30;
    stave->columnWidth = 20;
    stave->columnCount = 10;
    stave->rowCount = 9;
    line.staves.push_back(std::move(stave));
  }
}

TEST(InstrumentLine, HitTestingStaves) {
  struct Case {
    int32_t x;
    int32_t y;
    int32_t active;  // the active stave after the test
    int32_t column;  // cursor column of that stave (starts at 7)
    int32_t row;     // cursor row (starts at 7)
  };
  const Case cases[] = {
      {150, 95, 0, 2, 0},    // above the first stave by less than a spacing
      {80, 120, 0, 7, 2},    // left of the columns, within the margin
      {105, 235, 1, 0, 8},   // the second stave: rows of half a spacing
      {400, 140, 0, 7, 4},   // in the stave but right of its last column
      {150, 198, 1, 2, 0},   // just above the second stave
      {150, 239, 1, 2, 7},   // below its last line, within six spacings of its top; no such row
      {60, 130, 1, 7, 7},    // no stave: the active one stays, its row and column out of range
  };
  for (const Case& c : cases) {
    CInstrument line;
    LayOut(line);
    line.activeStave = 1;
    for (const auto& s : line.staves.items()) {
      s->cursorColumn = 7;
      s->cursorRow = 7;
    }
    EXPECT_EQ(line.HitTestStave(c.x, c.y), 1);
    EXPECT_EQ(line.activeStave, c.active) << c.x << "," << c.y;
    EXPECT_EQ(line.GetCurrentStave()->cursorColumn, c.column) << c.x << "," << c.y;
    EXPECT_EQ(line.GetCurrentStave()->cursorRow, c.row) << c.x << "," << c.y;
  }
  // A stave that was never laid out has no column width to divide by.
  CInstrument blank;
  blank.staves.push_back(std::make_unique<CClef>());
  EXPECT_EQ(blank.HitTestStave(10, 10), 1);
  CInstrument none;
  EXPECT_EQ(none.HitTestStave(10, 10), 1);
}

// Draws nothing and records what the line asked for; every stave is 40 high.
class FakeRenderer : public StaveRenderer {
 public:
  std::vector<std::string> calls;
  std::optional<int32_t> ApplicationZoom(const DeviceContext&) const override { return 150; }
  bool HighlightingOn() const override { return true; }
  void DrawStave(DeviceContext&, CClef& stave, int32_t zoom, const CVoicesArray& voices, const Rect& rect,
                 int32_t nameWidth, const CKey* key, int32_t columnWidth) override {
    stave.area = {rect.left, rect.top, rect.right, rect.top + 40};
    stave.lineSpacing = 6;
    calls.push_back("stave " + std::to_string(rect.top) + " zoom " + std::to_string(zoom) + " code " +
                    std::to_string(stave.positionCode) + " columns " + std::to_string(stave.columnCount) +
                    (stave.highlighted ? " lit" : "") + " voices " + std::to_string(voices.size()) + " name " +
                    std::to_string(nameWidth) + " width " + std::to_string(columnWidth) + (key ? " key" : ""));
  }
  int32_t DrawTuningLabels(DeviceContext&, const CTabInstrument&, int32_t x, int32_t y) override {
    calls.push_back("labels " + std::to_string(x) + "," + std::to_string(y));
    return 7;
  }
  void DrawStaveJoin(DeviceContext&, int32_t x, int32_t top, int32_t bottom, int32_t width) override {
    calls.push_back("join " + std::to_string(x) + " " + std::to_string(top) + "-" + std::to_string(bottom) + " " +
                    std::to_string(width));
  }
  void DrawName(DeviceContext&, const CTrackText& name, int32_t zoom, int32_t x, int32_t y) override {
    calls.push_back("name " + name.text + " " + std::to_string(zoom) + " " + std::to_string(x) + "," +
                    std::to_string(y));
  }
};

TEST(InstrumentLine, LayoutHandsEachStaveItsPlace) {
  CInstrumentDlg definition;
  definition.ApplyNotationPreset(7);  // tablature and a staff
  definition.nameText.text = "Lute";
  CInstrument line(definition);
  line.columnCount = 12;
  FakeRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  RecordingDevice dc(254);  // 100 device units to a millimetre... of a tenth: 1 mm is 10 units
  Rect rect{200, 1000, 900, 5000};
  EXPECT_EQ(line.LayoutAndDraw(dc, rect, 0x1200, 3, 50, 20, CInstrument::kDrawName | CInstrument::kDrawTuning), 1);
  EXPECT_EQ(rect.top, 1080);
  EXPECT_EQ(rect.bottom, 1080);
  EXPECT_EQ(line.lineRect, (Rect{200, 1000, 900, 1080}));
  EXPECT_EQ(line.GetHeight(), 80);
  const std::vector<std::string> expected = {
      "stave 1000 zoom 150 code 4624 columns 12 lit voices 2 name 50 width 20 key",
      "labels 150,1012",
      "stave 1040 zoom 150 code 4625 columns 12 lit voices 2 name 50 width 20 key",
      // At the start of the staff lines (left less the name width), left of the tuning labels.
      "join 116 1000-1064 15",
      // The name ends 4 mm left of the start of the staff lines, or a mm left of the brace
      // (twice 15 wide) when that is further: 116 - 30 - 10.
      "name Lute 150 76,1032",
  };
  EXPECT_EQ(renderer.calls, expected);
  EXPECT_EQ(definition.nameText.x, 76);  // a name without a place takes this one

  // Printing, or full size, draws at zoom 100 without highlighting.
  renderer.calls.clear();
  Rect again{200, 1000, 900, 5000};
  line.LayoutAndDraw(dc, again, 0, 0, 0, 0, CInstrument::kFullSize);
  EXPECT_EQ(renderer.calls.front(), "stave 1000 zoom 100 code 16 columns 12 voices 2 name 0 width 0 key");
  EXPECT_EQ(renderer.calls.back(), "join 190 1000-1064 15");
}

// ---------------------------------------------------------------------------------------------
// Systems

TEST(System, MeasuringSkipsHiddenInstrumentsAndHitTestingFindsTheLine) {
  CInstrumentDlg lute;
  lute.EnsureStave();
  CInstrumentDlg hidden;
  hidden.ApplyNotationPreset(5);
  hidden.visible = 0;
  CInstrumentDlg guitar;
  guitar.ApplyNotationPreset(2);
  CStaveArray system;
  system.RebuildLines({&lute, &hidden, &guitar});

  FakeRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  EXPECT_EQ(system.MeasureLines(nullptr, 100, 500, 900, 2000), 80);
  EXPECT_EQ(system.area, (Rect{100, 500, 900, 580}));
  EXPECT_EQ(renderer.calls.size(), 2u);
  EXPECT_EQ(system.Line(2)->lineRect.top, 540);

  system.activeInstrument = 0;
  EXPECT_EQ(system.HitTestLine(150, 511), 1);  // 29 units above the third line's top
  EXPECT_EQ(system.activeInstrument, 2);
  EXPECT_EQ(system.HitTestLine(150, 499), 0);  // outside the system
  EXPECT_EQ(system.activeInstrument, 2);
  EXPECT_EQ(system.HitTestLine(150, 505), 1);
  EXPECT_EQ(system.activeInstrument, 0);
}

TEST(System, MeasuringRendererLaysOutFrames) {
  CInstrumentDlg lute;
  lute.EnsureStave();  // a tablature: 50 tenths of a millimetre between lines
  lute.staves.at(0)->lines = 6;
  lute.staves.at(0)->spaceBelow = 2;
  CStaveArray system(lute);
  RecordingDevice dc(254);
  // From the top line (one line thickness down) over 5 spaces of 50 units to the last line,
  // and 2 × 4 mm below.
  EXPECT_EQ(system.MeasureLines(&dc, 0, 0, 1000, 1000), 1 + 5 * 50 + 2 * 40);
  const CClef& stave = *system.Line(0)->staves.at(0);
  EXPECT_TRUE(stave.tablatureLayout);
  EXPECT_EQ(stave.lineSpacing, 50);
  EXPECT_EQ(stave.rowCount, 6);
  EXPECT_TRUE(dc.Log().empty());  // measuring draws nothing on the device
}

TEST(System, RecordVersionGates) {
  struct Case {
    const char* version;
    bool layout;     // from 6.59
    bool active;     // from 7.9
    bool caption;    // from 9.175
    bool switches;   // from 9.6.5.9
  };
  const Case cases[] = {{"6.58", false, false, false, false}, {"7.8", true, false, false, false},
                        {"7.9", true, true, false, false},    {"9.17", true, true, false, false},
                        {"9.22", true, true, true, false},    {"9.6.5.9", true, true, true, true}};
  for (const Case& c : cases) {
    testing::OldSystem record(c.version);
    record.lines.push_back(std::make_unique<CInstrument>());
    record.active = 3;
    record.captionString = "Caption";
    record.caption.text = "Caption";
    record.restart = 1;
    record.printTuning = 1;
    record.picture.path = "c:\\images\\a.png";
    ArchiveWriter w(c.version);
    w.WriteObject(&record);
    const auto bytes = w.TakeBytes();
    ArchiveReader r(bytes, c.version);
    std::unique_ptr<CStaveArray> read;
    r.ReadObject<CStaveArray>(read);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(r.AtEnd()) << c.version;
    EXPECT_EQ(read->lines.size(), 1u);
    EXPECT_EQ(read->area, (c.layout ? Rect{1, 2, 3, 4} : Rect{})) << c.version;
    EXPECT_EQ(read->leftIndents, c.layout ? 11 : 0) << c.version;
    EXPECT_EQ(read->Caption().captionPicture.path, c.layout ? "c:\\images\\a.png" : "") << c.version;
    EXPECT_EQ(read->activeInstrument, c.active ? 3 : 0) << c.version;
    EXPECT_EQ(read->Caption().captionString, c.caption ? "Caption" : "") << c.version;
    EXPECT_EQ(read->barSequenceRestart, c.switches ? 1 : 0) << c.version;
    EXPECT_EQ(read->printTuning, c.switches ? 1 : 0) << c.version;
  }
}

// A system holds its own caption, rich-text box and picture only once one is set; until then
// it shows the empty ones a new system always held, and both forms write those as they did.
TEST(System, CaptionBlockOnlyOnceSet) {
  CSystemArray section;
  CInstrumentDlg lute;
  const CStaveArray plain;
  const CStaveArray forDefinition(lute);
  const std::unique_ptr<CStaveArray> made = section.MakeSystem();
  for (const CStaveArray* system : {&plain, &forDefinition, static_cast<const CStaveArray*>(made.get())}) {
    EXPECT_EQ(system->OwnCaption(), nullptr);
  }
  EXPECT_EQ(plain.Caption().captionText.descriptor, "caption");
  EXPECT_EQ(forDefinition.Caption().captionText.descriptor, "");
  EXPECT_EQ(plain.Caption().captionPicture.text, "Caption");

  // Built from the empty one it stood for, the system's own writes the same bytes and XML.
  CStaveArray edited;
  edited.EditCaption();
  ASSERT_NE(edited.OwnCaption(), nullptr);
  ArchiveWriter a, b;
  plain.Store(a);
  edited.Store(b);
  EXPECT_EQ(a.Bytes(), b.Bytes());
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(Compact(plain.WriteXml(doc, 0)), Compact(edited.WriteXml(doc, 0)));

  // Read back from either form, a system without texts holds none and shows the same empty
  // one; one with a rich text keeps it.
  edited.EditCaption().rtfBox.text = "{\\rtf1 box}";
  for (const CStaveArray* original : {&plain, &forDefinition, static_cast<const CStaveArray*>(&edited)}) {
    ArchiveWriter w;
    original->Store(w);
    ArchiveReader r(w.Bytes());
    CStaveArray binary;
    binary.Load(r);
    tinyxml2::XMLDocument xml;
    CStaveArray fromXml;
    fromXml.ReadXml(original->WriteXml(xml, 0));
    for (const CStaveArray* read : {&binary, &fromXml}) {
      EXPECT_EQ(read->OwnCaption() != nullptr, original == &edited);
      EXPECT_EQ(read->Caption().rtfBox.text, original->Caption().rtfBox.text);
      ArchiveWriter again;
      read->Store(again);
      EXPECT_EQ(again.Bytes(), w.Bytes());
    }
  }
}

TEST(System, StoringWritesEveryField) {
  CStaveArray system;
  system.EditCaption().captionString = "Gigue";
  system.EditCaption().captionText.text = "Gigue";
  system.barSequenceRestart = 1;
  system.printTuning = 1;
  system.activeInstrument = 2;
  system.area = {5, 6, 7, 8};
  ArchiveWriter current;
  system.Store(current);
  ArchiveReader r(current.Bytes());
  CStaveArray read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.Caption().captionString, "Gigue");
  EXPECT_EQ(read.barSequenceRestart, 1);
  EXPECT_EQ(read.printTuning, 1);
  EXPECT_EQ(read.activeInstrument, 2);
  EXPECT_EQ(read.area, (Rect{5, 6, 7, 8}));
}

TEST(System, XmlFormAndItsOlderLayout) {
  CStaveArray system;
  system.hidden = 1;
  system.leftIndents = 3;
  system.activeInstrument = 1;
  system.lines.push_back(std::make_unique<CInstrument>());
  system.lines.push_back(std::make_unique<CInstrument>());
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = system.WriteXml(doc, 4);
  doc.InsertEndChild(element);
  const std::string xml = Compact(element);
  EXPECT_TRUE(xml.starts_with(
      "<system index=\"4\" active-instrument=\"1\" bar-sequence-restart=\"0\" print-tuning=\"0\">"
      "<stave-layout left-indents=\"3\" right-indents=\"0\" hidden=\"1\" name-instruments=\"0\">"
      "<area left=\"0\" right=\"0\" top=\"0\" bottom=\"0\"/></stave-layout><texts><caption/>"
      "<rtf-track-text name=\"rtf-text-box\">"))
      << xml;
  CStaveArray read;
  read.EditCaption().captionString = "kept";
  EXPECT_EQ(read.ReadXml(element), nullptr);
  EXPECT_EQ(read.Caption().captionString, "kept");  // an empty caption changes nothing
  EXPECT_EQ(read.Caption().captionText.descriptor, "caption");
  EXPECT_EQ(read.hidden, 1);
  EXPECT_EQ(read.activeInstrument, 1);
  EXPECT_EQ(read.lines.size(), 2u);
  tinyxml2::XMLDocument again;
  EXPECT_EQ(Compact(read.WriteXml(again, 4)), xml);

  // A caption with its font; the caption string follows the text.
  system.EditCaption().captionString = "Courante";
  system.EditCaption().captionText.text = "old wording";
  system.EditCaption().captionText.font.logFont.lfFaceName = "Georgia";
  tinyxml2::XMLDocument withCaption;
  tinyxml2::XMLElement* captioned = system.WriteXml(withCaption, 0);
  CStaveArray read2;
  read2.ReadXml(captioned);
  EXPECT_EQ(read2.Caption().captionString, "Courante");
  EXPECT_EQ(read2.Caption().captionText.text, "Courante");
  EXPECT_EQ(read2.Caption().captionText.font.logFont.lfFaceName, "Georgia");

  // Older documents: the caption text first, then the rich-text box and the picture; missing
  // attributes read as 0; more lines counted than present stop at the last.
  tinyxml2::XMLDocument old;
  old.Parse(
      "<system><stave-layout><area/></stave-layout><texts><track-text>Prelude</track-text>"
      "<rtf-track-text/><dib-image name=\"p.png\" path=\"c:/\"/></texts>"
      "<instruments count=\"5\"><instrument><staff count=\"0\"/><staff count=\"0\"/></instrument></instruments>"
      "</system>");
  CStaveArray read3;
  read3.ReadXml(old.FirstChildElement());
  EXPECT_EQ(read3.Caption().captionText.text, "Prelude");
  EXPECT_EQ(read3.Caption().captionString, "");
  EXPECT_EQ(read3.Caption().captionPicture.path, "c:/p.png");
  EXPECT_EQ(read3.lines.size(), 1u);
  EXPECT_EQ(read3.activeInstrument, 0);

  testing::ExpectXmlReadRefused<CStaveArray>("<system><a/><texts/><lines/></system>",
                                             "Mismatch error on tag: <lines> should be <instruments>");
}

}  // namespace
}  // namespace vornel
