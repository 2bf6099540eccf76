#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "MxTestSupport.h"
#include "musicxml/visitors/browser.h"
#include "musicxml/visitors/clefvisitor.h"
#include "musicxml/visitors/partsummary.h"
#include "musicxml/visitors/timesignvisitor.h"

namespace vornel::MusicXML2 {
namespace {

using testing::Document;
using testing::Read;

// Parses `body` (one root element) and walks it with `v`; returns the root.
Sxmlelement Walk(basevisitor& v, std::string_view body) {
  const auto result = Read(Document(body));
  EXPECT_TRUE(result.file) << result.errors;
  if (!result.file) return nullptr;
  const Sxmlelement root = result.root();
  xml_tree_browser(&v).browse(*root);
  return root;
}

// Records, at the end of each note, its description and a few of its values.
class NoteRecorder : public notevisitor {
 public:
  struct Note {
    std::string text;
    float pitch;
    int kind, tie, fretString, duration, octave;
    std::string step, type, timeModification, instrument;
    size_t beams, slurs, tied;
    bool stem, accent;
  };
  std::vector<Note> notes;

  void visitEnd(Snote&) override {
    std::ostringstream text;
    print(text);
    notes.push_back({text.str(), getPitchNumber(), getKind(), getTie(), getFretString(), getDuration(), getOctave(),
                     getStep(), getTypeText(), getTimeModification().toString(), getInstrument(), getBeams().size(),
                     getSlurs().size(), getTied().size(), getStem() != nullptr, getAccent() != nullptr});
  }
};

std::vector<NoteRecorder::Note> Notes(std::string_view measure) {
  NoteRecorder v;
  Walk(v, "<measure>" + std::string(measure) + "</measure>");
  return v.notes;
}

TEST(NoteVisitor, DescribesPitchedNotesAndRests) {
  const auto notes = Notes(
      "<note><pitch><step>F</step><alter>1</alter><octave>4</octave></pitch><duration>8</duration></note>"
      "<note><chord/><rest/><duration>4</duration><tie type='stop'/></note>"
      "<note dynamics='80'><pitch><step>c</step><octave>4</octave></pitch><duration>2</duration></note>"
      "<note><grace/><cue/><pitch><step>B</step><alter>-0.5</alter><octave>3</octave></pitch>"
      "<tie type='stop'/><tie type='start'/><instrument id='P1-I1'/></note>"
      "<note><pitch><step>E</step><alter>1.5</alter><octave>2</octave></pitch><tie type='continue'/>"
      "<instrument>P1-I2</instrument></note>");
  ASSERT_EQ(notes.size(), 5u);
  EXPECT_EQ(notes[0].pitch, 54.0f);
  EXPECT_EQ(notes[0].text, "note F#4 (54) - duration 8 ");
  EXPECT_EQ(notes[1].text, "rest - duration 4 in chord - tie stop ");
  EXPECT_EQ(notes[2].pitch, -1.0f);
  EXPECT_EQ(notes[2].text, "note c4 (-1) - duration 2 dynamics 80");
  EXPECT_EQ(notes[3].text, "grace cue note Bb3 (46.5) - duration 0 - tie start - tie stop ");
  EXPECT_EQ(notes[3].tie, 3);
  EXPECT_EQ(notes[3].instrument, "");  // an id attribute is not the text
  EXPECT_EQ(notes[4].text, "note E##2 (29.5) - duration 0 - tie start - tie stop instrument P1-I2 ");
}

TEST(NoteVisitor, KindsAndDisplayPitch) {
  const auto notes = Notes(
      "<note><unpitched><display-step>E</display-step><display-octave>4</display-octave></unpitched>"
      "<duration>3</duration></note>"
      "<note><pitch><step>A</step><alter>1e30</alter><octave>4</octave></pitch></note>"
      "<note><pitch><step>G</step><alter>0.4</alter><octave>0</octave></pitch></note>"
      "<note/>");
  ASSERT_EQ(notes.size(), 4u);
  EXPECT_EQ(notes[0].kind, 2);
  EXPECT_EQ(notes[0].step, "E");
  EXPECT_EQ(notes[0].octave, 4);
  EXPECT_EQ(notes[0].text, "unpitched note - duration 3 ");
  EXPECT_EQ(notes[1].text, "note A################4 (1e+30) - duration 0 ");  // held to 16 signs
  EXPECT_EQ(notes[2].text, "note G0 (7.4) - duration 0 ");
  EXPECT_EQ(notes[3].text, "type undefined");
}

TEST(NoteVisitor, ValuesBelongToTheirNoteOnly) {
  const auto notes = Notes(
      "<duration>9</duration><step>X</step>"  // before any note: ignored
      "<note><pitch><step>C</step></pitch><duration>2</duration><type>eighth</type><stem>up</stem>"
      "<beam number='1'>begin</beam><beam number='2'>begin</beam><notations><slur type='start'/>"
      "<tied type='start'/><articulations><accent/></articulations></notations></note>"
      "<note><rest/><duration>2</duration></note>"
      "<backup><duration>4</duration></backup>");
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].duration, 2);
  EXPECT_EQ(notes[0].type, "eighth");
  EXPECT_EQ(notes[0].beams, 2u);
  EXPECT_EQ(notes[0].slurs, 1u);
  EXPECT_EQ(notes[0].tied, 1u);
  EXPECT_TRUE(notes[0].stem);
  EXPECT_TRUE(notes[0].accent);
  // The next note starts clean; a note without a type has none.
  EXPECT_EQ(notes[1].type, "");
  EXPECT_EQ(notes[1].beams, 0u);
  EXPECT_FALSE(notes[1].stem);

  // After the walk, a backup's duration has overwritten the last note's.
  NoteRecorder v;
  Walk(v, "<measure><note><duration>2</duration></note><backup><duration>4</duration></backup></measure>");
  EXPECT_EQ(v.getDuration(), 4);
}

TEST(NoteVisitor, TimeModificationOfPositiveCountsOnly) {
  const auto notes = Notes(
      "<note/>"
      "<note><time-modification><actual-notes>3</actual-notes></time-modification></note>"
      "<note><time-modification><actual-notes>3</actual-notes><normal-notes>2</normal-notes></time-modification></note>"
      "<note><time-modification><actual-notes>0</actual-notes><normal-notes>2</normal-notes></time-modification></note>"
      "<note><time-modification><actual-notes>3</actual-notes><normal-notes>-2</normal-notes></time-modification></note>");
  ASSERT_EQ(notes.size(), 5u);
  EXPECT_EQ(notes[0].timeModification, "1/1");
  EXPECT_EQ(notes[1].timeModification, "1/3");
  EXPECT_EQ(notes[2].timeModification, "2/3");
  EXPECT_EQ(notes[3].timeModification, "1/1");
  EXPECT_EQ(notes[4].timeModification, "1/1");
}

TEST(NoteVisitor, FretAndStringInRangeOnly) {
  const auto notes = Notes(
      "<note><notations><technical><string>2</string><fret>5</fret></technical></notations></note>"
      "<note><notations><technical><fret>5</fret><string>2</string></technical>"
      "<technical><up-bow/></technical></notations></note>"
      "<note><notations><technical><fret>256</fret><string>1</string></technical></notations></note>"
      "<note><notations><technical><fret>-1</fret><string>3</string></technical></notations></note>"
      "<note><notations><technical><fret>7</fret><string>0</string></technical></notations></note>"
      "<note><notations><technical><fret>7</fret><string>-3</string></technical></notations></note>");
  ASSERT_EQ(notes.size(), 6u);
  EXPECT_EQ(notes[0].fretString, 517);
  EXPECT_EQ(notes[1].fretString, 0);  // the second technical element has neither
  EXPECT_EQ(notes[2].fretString, 256);
  EXPECT_EQ(notes[3].fretString, 768);
  EXPECT_EQ(notes[4].fretString, 7);
  EXPECT_EQ(notes[5].fretString, 7);
  EXPECT_EQ(stepIndex("A"), 5);
  EXPECT_EQ(stepIndex("AB"), -1);
  EXPECT_EQ(stepIndex("H"), -1);
}

std::string List(const SMARTP<smartlist<int>>& list) {
  std::string out;
  for (const int v : *list) out += std::to_string(v) + " ";
  return out;
}

TEST(PartSummary, CountsVoicesAndStaves) {
  partsummary s;
  Walk(s,
       "<part><measure><attributes><staves>2</staves></attributes>"
       "<note><voice>3</voice><staff>1</staff></note>"
       "<note><voice>1</voice><staff>2</staff></note><note><chord/><voice>1</voice><staff>2</staff></note>"
       "<note><chord/><rest/><voice>1</voice><staff>2</staff></note>"
       "<note><voice>1</voice><staff>1</staff></note><note><voice>1</voice><staff>1</staff></note>"
       "<note><voice>2</voice><staff>4</staff></note><note/>"
       "<attributes><staves>3</staves></attributes></measure></part>");
  EXPECT_EQ(s.countStaves(), 3);
  EXPECT_EQ(s.countVoices(), 4);
  EXPECT_EQ(List(s.getVoices()), "0 1 2 3 ");
  EXPECT_EQ(List(s.getStaves(1)), "1 2 ");
  EXPECT_EQ(s.getMainStaff(1), 2);  // three notes on staff 2, two on staff 1
  EXPECT_EQ(s.getMainStaff(2), 4);
  EXPECT_EQ(s.getMainStaff(0), 0);
  EXPECT_EQ(s.getMainStaff(9), 0);
  EXPECT_EQ(List(s.getStaves(9)), "");
  EXPECT_EQ(s.countVoices(), 4);  // queries insert nothing

  // Equal counts: the lower staff. A second part starts afresh; a list outlives its summary.
  SMARTP<smartlist<int>> kept;
  {
    partsummary t;
    Walk(t, "<part><note><voice>1</voice><staff>2</staff></note><note><voice>1</voice><staff>1</staff></note></part>");
    EXPECT_EQ(t.getMainStaff(1), 1);
    kept = t.getVoices();
    Walk(t, "<part><measure/></part>");
    EXPECT_EQ(t.countVoices(), 0);
    EXPECT_EQ(t.countStaves(), 1);
  }
  EXPECT_EQ(List(kept), "1 ");
  EXPECT_EQ(kept->refs(), 1u);
}

// Records the fields at the end of each clef, key, time and metronome.
class Marks : public clefvisitor, public keysignvisitor, public timesignvisitor, public metronomevisitor {
 public:
  std::vector<std::string> log;
  void visitEnd(Sclef&) override {
    log.push_back("clef " + sign + " " + std::to_string(line) + " " + std::to_string(octaveChange) + " " +
                  std::to_string(clefvisitor::staffNumber));
  }
  void visitEnd(Skey&) override {
    log.push_back("key " + std::to_string(fifths) + " " + std::to_string(cancel) + " '" + mode + "'");
  }
  void visitEnd(Stime&) override {
    std::string text = "time '" + symbol + "' " + std::to_string(timesignvisitor::staffNumber) + (senzaMisura ? " senza" : "");
    for (uint32_t i = 0; i <= timeSigns.size(); ++i) {
      text += ' ';
      if (i < timeSigns.size()) text.append(timeSigns[i].first).append(":").append(timeSigns[i].second).append("=");
      text += getTimeSign(i).toString();
    }
    log.push_back(text);
  }
  void visitEnd(Smetronome& e) override {
    metronomevisitor::visitEnd(e);
    std::string text = "metronome " + std::to_string(perMinute);
    for (const beat& b : beats) text += " " + b.unit + "." + std::to_string(b.dots);
    log.push_back(text);
  }
};

using Log = std::vector<std::string>;

TEST(ClefAndKeyVisitors, CollectEachElementAfresh) {
  Marks m;
  Walk(m,
       "<attributes><clef><sign>G</sign><line>2</line></clef>"
       "<clef number='2'><sign>F</sign><line>4</line><clef-octave-change>-1</clef-octave-change></clef>"
       "<clef><sign>percussion</sign></clef><clef number='x'/>"
       "<key><fifths>-3</fifths><mode>minor</mode></key><key><cancel>2</cancel><fifths>0</fifths></key>"
       "<key><fifths>1</fifths></key></attributes>");
  EXPECT_EQ(m.log, (Log{"clef G 2 0 -1", "clef F 4 -1 2", "clef percussion 0 0 -1", "clef  0 0 0", "key -3 0 'minor'",
                        "key 0 2 ''", "key 1 0 ''"}));
  clefvisitor fresh;
  EXPECT_EQ(fresh.staffNumber, -1);
  EXPECT_EQ(fresh.sign, "");
}

TEST(TimeAndMetronomeVisitors, CollectRawTextsAndBeats) {
  Marks m;
  EXPECT_EQ(m.getTimeSign(0).toString(), "0/1");
  EXPECT_EQ(m.timesignvisitor::staffNumber, -1);
  Walk(m,
       "<measure><time><beats>3</beats><beat-type>4</beat-type></time>"
       "<time number='2' symbol='common'><beats>12</beats><beat-type>8</beat-type><beats>3+2</beats>"
       "<beat-type>8</beat-type><beat-type>4</beat-type></time>"
       "<time><beats>0</beats><beat-type>4</beat-type><beats>x</beats><beat-type>4</beat-type>"
       "<beats>2</beats><beat-type>0</beat-type></time>"
       "<time><senza-misura/></time>"
       "<metronome><beat-unit>quarter</beat-unit><beat-unit-dot/><per-minute>60</per-minute></metronome>"
       "<metronome><beat-unit>half</beat-unit><beat-unit>quarter</beat-unit><beat-unit-dot/>"
       "<per-minute>132.5</per-minute></metronome>"
       "<metronome><per-minute>M60</per-minute></metronome></measure>");
  EXPECT_EQ(m.log, (Log{"time '' -1 3:4=3/4 0/1", "time 'common' 2 12:8=12/8 3+2:8=3/8 3+2:4=3/4 0/1",
                        "time '' -1 0:4=0/1 x:4=0/1 2:0=0/1 0/1", "time '' -1 senza 0/1", "metronome 60 quarter.1",
                        "metronome 132 half.0 quarter.1", "metronome 0"}));
}

}  // namespace
}  // namespace vornel::MusicXML2
