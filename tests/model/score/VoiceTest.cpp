#include <gtest/gtest.h>

#include "model/score/CVoicesArray.h"
#include "model/events/MetaEventEditor.h"
#include "model/voice/nChordArray.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "model/ScoreText.h"
#include "model/XmlTestText.h"

namespace vornel {
namespace {

using testing::CompactXml;
using testing::ToHex;

using testing::kQuarter;
using testing::kEighth;

std::unique_ptr<nChord> Chord(uint16_t rhythm, uint8_t pitch = 60) {
  auto chord = std::make_unique<nChord>(nChord::kChord, rhythm);
  auto note = std::make_unique<nNotes>();
  note->pitch = pitch;
  chord->AddNote(std::move(note));
  return chord;
}

std::unique_ptr<nChord> Event(uint16_t status, uint16_t rhythm = 0) { return std::make_unique<nChord>(status, rhythm); }

std::unique_ptr<nChord> WithMeta(std::unique_ptr<nChord> event, uint8_t kind, int32_t cx, int32_t cy,
                                 uint32_t value = 1) {
  event->metaEvents.SetMetaEvent(kind, "", value, cx, cy);
  return event;
}

std::unique_ptr<nChord> Timed(std::unique_ptr<nChord> event, uint32_t time) {
  event->time = time;
  return event;
}

nChordArray Quarters(int count) {
  nChordArray voice;
  for (int i = 0; i < count; ++i) voice.push_back(Chord(kQuarter));
  return voice;
}

// Kinds of a voice as text: q chord, | bar line, s special event, _ null.
std::string VoiceShape(const nChordArray& voice) {
  std::string shape;
  for (const auto& e : voice) shape += e == nullptr ? '_' : e->IsChord() ? 'q' : e->IsBarLine() ? '|' : 's';
  return shape;
}

std::vector<uint32_t> Times(const nChordArray& voice) {
  std::vector<uint32_t> times;
  for (const auto& e : voice) times.push_back(e != nullptr ? e->time : 0xDEAD);
  return times;
}

CVoicesArray ListOf(std::initializer_list<nChordArray*> voices) {
  CVoicesArray list;
  for (nChordArray* voice : voices) list.push_back(voice);
  return list;
}

struct MeterCase {
  int numerator;
  int denominator;
  uint32_t barLength;
  uint32_t beat;
};

class VoiceMeter : public ::testing::TestWithParam<MeterCase> {};

TEST_P(VoiceMeter, BarLengthAndBeat) {
  const MeterCase& c = GetParam();
  const Meter meter = Meter::From(c.numerator, c.denominator);
  EXPECT_EQ(meter.barLength, c.barLength);
  EXPECT_EQ(meter.beat, c.beat);

  // Bar cutting by that signature, from the arguments or from a signature event in force.
  nChordArray voice = Quarters(9);
  EXPECT_EQ(voice.RebarVoice(c.numerator, c.denominator), c.barLength);
  const CMetaEvent signature(CMetaEvent::kTimeSignature, "true", 1, c.numerator, c.denominator);
  voice.SetCurrentTimeSignature(&signature);
  EXPECT_EQ(voice.RebarVoice(4, 4), c.barLength);
  EXPECT_EQ(voice.CurrentTimeSignature()->cx, c.numerator);  // the stored values are kept
}

INSTANTIATE_TEST_SUITE_P(Signatures, VoiceMeter,
                         ::testing::Values(MeterCase{3, 4, 576, 192}, MeterCase{6, 8, 576, 288},
                                           MeterCase{2, 2, 768, 384}, MeterCase{7, 64, 84, 192},
                                           MeterCase{1, 1, 768, 192},
                                           // Signatures that cannot cut bars count as 4/4.
                                           MeterCase{0, 4, 768, 192}, MeterCase{4, 0, 768, 192},
                                           MeterCase{4, 3, 768, 192}, MeterCase{4, 128, 768, 192},
                                           MeterCase{-3, 4, 768, 192}, MeterCase{1000, 4, 768, 192}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(VoiceRebar, FiveQuartersGetABarLineBeforeTheFifth) {
  nChordArray voice = Quarters(5);
  for (int pass = 0; pass < 2; ++pass) {  // the plain bar line is removed and made again
    EXPECT_EQ(voice.RebarVoice(4, 4), 768u);
    ASSERT_EQ(VoiceShape(voice), "qqqq|q");
    EXPECT_EQ(voice[4]->status, 1);
    EXPECT_EQ(voice[4]->rhythm, 0);
    EXPECT_EQ(voice[4]->position, 0u);
    EXPECT_EQ(Times(voice), (std::vector<uint32_t>{0, 192, 384, 576, 768, 768}));
    EXPECT_EQ(voice.TotalLength(), 960u);
    for (size_t i : {0, 1, 2, 3, 5}) EXPECT_EQ(voice[i]->status, 8) << i;  // each ends a beat group
  }
  EXPECT_EQ(voice.Shortest(), 192u);
  EXPECT_EQ(voice.Longest(), 192u);
}

TEST(VoiceRebar, CuttingAgainMovesRemovesAndAddsBarLines) {
  // The bar lines of one cutting are removed and made again where the next meter ends bars:
  // fewer, more, or as many in other places.
  nChordArray voice = Quarters(8);
  for (const auto& [numerator, shape] : std::vector<std::pair<int, std::string>>{
           {4, "qqqq|qqqq"}, {2, "qq|qq|qq|qq"}, {3, "qqq|qqq|qq"}, {1, "q|q|q|q|q|q|q|q"}, {4, "qqqq|qqqq"}}) {
    voice.RebarVoice(numerator, 4);
    EXPECT_EQ(VoiceShape(voice), shape) << numerator;
    EXPECT_EQ(voice.TotalLength(), 8 * 192u);
  }
}

TEST(VoiceRebar, ABarThatAPlacedBarLineClosesKeepsItsLength) {
  // Six quarters in 4/4: a fixed, a double or a repeat bar line after them closes one long bar
  // (the bar lines of a file read in are data); a plain one or none lets the cutting split it.
  struct Case {
    uint16_t closing;  // 0: none
    const char* shape;
  };
  for (const Case& c : {Case{0x11, "qqqqqq|qqqq"}, Case{0x31, "qqqqqq|qqqq"}, Case{0xE1, "qqqqqq|qqqq"},
                        Case{0x51, "qqqq|qq|qqqq"}, Case{0, "qqqq|qqqq|qq"}}) {
    nChordArray voice = Quarters(6);
    if (c.closing != 0) voice.push_back(Event(c.closing));
    for (int i = 0; i < 4; ++i) voice.push_back(Chord(kQuarter));
    for (int pass = 0; pass < 2; ++pass) {
      voice.RebarVoice(4, 4);
      EXPECT_EQ(VoiceShape(voice), c.shape) << c.closing;
    }
  }
}

TEST(VoiceRebar, OverrunIsCarriedByTheInsertedBarLine) {
  nChordArray voice = Quarters(3);
  voice.push_back(Chord(kQuarter | 8));  // dotted: the bar is overrun by 96
  voice.push_back(Chord(kQuarter));
  voice.RebarVoice(4, 4);
  ASSERT_EQ(VoiceShape(voice), "qqqq|q");
  EXPECT_EQ(voice[4]->rhythm, 96);
  EXPECT_EQ(voice[4]->time, 864u);
}

struct BeamCase {
  int numerator;
  int denominator;
  const char* beams;  // beam index of each of eight eighths
  const char* groupEnds;
};

class VoiceBeams : public ::testing::TestWithParam<BeamCase> {};

TEST_P(VoiceBeams, EighthsAreGroupedByBeats) {
  nChordArray voice;
  for (int i = 0; i < 6; ++i) voice.push_back(Chord(kEighth));
  voice.RebarVoice(GetParam().numerator, GetParam().denominator);
  std::string beams;
  std::string ends;
  for (const auto& e : voice) {
    if (!e->IsChord()) continue;
    beams += static_cast<char>('0' + e->beamIndex);
    ends += (e->status & 8) ? 'x' : '.';
  }
  EXPECT_EQ(beams, GetParam().beams);
  EXPECT_EQ(ends, GetParam().groupEnds);
}

INSTANTIATE_TEST_SUITE_P(Signatures, VoiceBeams,
                         ::testing::Values(BeamCase{4, 4, "010101", ".x.x.x"}, BeamCase{6, 8, "012012", "..x..x"},
                                           BeamCase{2, 2, "012301", "...x.."}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(VoiceRebar, TupletGroupsAndTheirRemainder) {
  nChordArray voice;
  for (int i = 0; i < 3; ++i) voice.push_back(Chord(0x14));  // triplet eighths
  voice[1]->rhythm |= nChord::kTakesRemainder;               // stale: only a group's first keeps it
  for (int i = 0; i < 5; ++i) voice.push_back(Chord(0x25));  // quintuplet sixteenths
  voice.push_back(Chord(0x14));
  voice.RebarVoice(4, 4);
  std::string firsts;
  for (const auto& e : voice) firsts += (e->rhythm & nChord::kTakesRemainder) ? '1' : '0';
  EXPECT_EQ(firsts, "100100001");
  EXPECT_EQ(Times(voice), (std::vector<uint32_t>{0, 64, 128, 192, 212, 231, 250, 269, 288}));
  EXPECT_EQ(voice.Shortest(), 19u);
  EXPECT_EQ(voice.Longest(), 64u);
}

TEST(VoiceRebar, RightRepeatThenLeftRepeatBecomeOneBothSides) {
  nChordArray voice = Quarters(4);
  voice.push_back(Event(0x91));  // right
  voice.push_back(Event(0x81));  // left
  for (int i = 0; i < 4; ++i) voice.push_back(Chord(kQuarter));
  voice.RebarVoice(4, 4);
  EXPECT_EQ(VoiceShape(voice), "qqqq|qqqq");
  EXPECT_EQ(voice[4]->status, 0xA1);
  EXPECT_EQ(voice[4]->position, 0u);

  nChordArray other = Quarters(2);
  other.push_back(Event(0x81));
  other.push_back(Event(0x95, 0));  // a right repeat that also carries a signature stays a bar line
  other.back()->metaEvents.SetMetaEvent(CMetaEvent::kTimeSignature, "", 1, 3, 4);
  other.RebarVoice(4, 4);
  EXPECT_EQ(VoiceShape(other), "qq||");
  EXPECT_EQ(other[2]->status, 0xA1);
  EXPECT_EQ(other[3]->status, 0x05);
  EXPECT_EQ(other[2]->position, 384u);
}

TEST(VoiceRebar, BarPausesAndOldDynamicsOnBarLines) {
  nChordArray voice = Quarters(3);
  voice.push_back(WithMeta(Event(0x24D), CMetaEvent::kBarPause, 3, 0));
  voice.back()->metaEvents.SetMetaEvent(CMetaEvent::kDynamics, "", 0, 0, 9);
  // A plain bar line is made again where bars end, but not when it carries meta-events.
  voice.push_back(WithMeta(Event(0x01), CMetaEvent::kDynamics, 0, 9));
  voice.back()->metaEvents.SetMetaEvent(CMetaEvent::kEnding, "", 0, 0, 5);
  voice.push_back(Chord(kQuarter));
  voice.push_back(Event(0x01));
  voice.RebarVoice(3, 4);
  ASSERT_EQ(VoiceShape(voice), "qqq||q");
  const CMetaEvent* pause = voice[3]->metaEvents.Find(CMetaEvent::kBarPause);
  EXPECT_EQ(pause->value, 3u * 576u);
  EXPECT_EQ(pause->cy, (4 << 4) | 3);
  EXPECT_EQ(voice[3]->metaEvents[1]->kind, CMetaEvent::kDynamics);  // only the first event changes
  EXPECT_EQ(voice[4]->metaEvents[0]->kind, CMetaEvent::kEnding);
  EXPECT_EQ(voice[4]->metaEvents[0]->cy, 0);
}

TEST(VoiceRebar, ChangesOfTimeSignature) {
  nChordArray voice = Quarters(4);
  voice.push_back(WithMeta(Event(0x05), CMetaEvent::kTimeSignature, 3, 4));
  for (int i = 0; i < 4; ++i) voice.push_back(Chord(kQuarter));
  EXPECT_EQ(voice.RebarVoice(4, 4), 576u);
  EXPECT_EQ(VoiceShape(voice), "qqqq|qqq|q");
  EXPECT_EQ(voice.CurrentTimeSignature()->cx, 3);

  // A change without its signature ends the cutting there.
  nChordArray broken = Quarters(1);
  broken.push_back(Event(0x12));
  for (int i = 0; i < 5; ++i) broken.push_back(Timed(Chord(kQuarter), 7));
  broken.RebarVoice(4, 4);
  EXPECT_EQ(VoiceShape(broken), "qsqqqqq");
  EXPECT_EQ(broken[6]->time, 7u);
  EXPECT_EQ(broken.TotalLength(), 192u);

  // Timeless chords and special events take no time.
  nChordArray timeless = Quarters(1);
  timeless.push_back(Chord(kQuarter));
  timeless.back()->status = nChord::kTimelessMark << 8;
  timeless.push_back(WithMeta(Event(0x92), CMetaEvent::kClef, 0, 0));
  timeless.push_back(Chord(kQuarter));
  timeless.RebarVoice(4, 4);
  EXPECT_EQ(Times(timeless), (std::vector<uint32_t>{0, 192, 192, 192}));
}

TEST(VoiceTicks, DeltasAndBarIndices) {
  nChordArray voice = Quarters(1);
  voice.push_back(Event(0x01));
  voice.push_back(Chord(2 | 8));  // dotted half
  voice.push_back(nullptr);
  voice.push_back(Chord(kQuarter));
  voice.UpdateTickPositions(3, 4);
  EXPECT_EQ(voice[1]->delta, 192u);
  EXPECT_EQ(voice[2]->delta, 192u);
  EXPECT_EQ(voice[4]->delta, 768u);
  EXPECT_EQ(voice[2]->number, 0u);
  EXPECT_EQ(voice[4]->number, 1u);
  voice.UpdateTickPositions(0, 0);  // counted as 4/4
  EXPECT_EQ(voice[4]->number, 1u);
}

TEST(VoiceBars, NumberingFillsTheBarList) {
  // q |(skip) q |(pause of 3) q |
  nChordArray voice;
  voice.push_back(Timed(Chord(kQuarter), 0));
  voice.push_back(Timed(Event(0x11, nChord::kSkipNumber), 192));
  voice.push_back(Timed(Chord(kQuarter), 192));
  voice.push_back(Timed(WithMeta(Event(0x24D), CMetaEvent::kBarPause, 3, 0), 384));
  voice.push_back(nullptr);
  voice.push_back(Timed(Chord(kQuarter), 384));
  voice.push_back(Timed(Event(0x01), 576));
  CBarArray bars;
  EXPECT_EQ(voice.NumberBars(0, bars), 5u);
  EXPECT_EQ(voice[3]->number, 4u);
  EXPECT_EQ(voice[6]->number, 5u);
  ASSERT_EQ(bars.size(), 4u);
  EXPECT_EQ(bars[0]->eventCount, 1);
  EXPECT_EQ(bars[2]->eventCount, 2);  // the null entry counts
  EXPECT_EQ(bars[2]->elementIndex, 3);
  EXPECT_EQ(bars[2]->tickPosition, 384u);
  EXPECT_EQ(bars[2]->statusWord, 0x24Du);
  EXPECT_EQ(bars[2]->barNumber, 4);
  EXPECT_EQ(bars[2]->items.Find(CMetaEvent::kBarPause)->cx, 3);
  EXPECT_EQ(bars[1]->statusWord, (128u << 8) | 0x11u);
  EXPECT_EQ(bars.largestElementCount, 7);
  EXPECT_EQ(bars.largestTickLength, 576u);
  EXPECT_EQ(voice.TotalLength(), 576u);

  // A skip-number final bar line loses its mark and the count does not step back.
  voice[6]->rhythm = nChord::kSkipNumber;
  EXPECT_EQ(voice.NumberBars(0, bars), 5u);
  EXPECT_EQ(voice[6]->rhythm, 0);
}

TEST(VoiceBars, RecordsOfSeveralVoicesAndMerges) {
  CBarArray bars;
  const CBar* created = bars.GetOrCreateBar(7);  // one record appended, whatever the index
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(created, bars[0]);

  nChordArray plain = Quarters(3);
  bars.DeleteAll();
  plain.RebarVoice(4, 4);
  plain.NumberBars(1, bars);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(bars[0]->eventCount, 3);

  nChordArray longer = Quarters(6);
  longer.RebarVoice(4, 4);
  longer.NumberBars(1, bars);
  plain.NumberBars(1, bars);  // a shorter voice never lowers what a longer one set
  ASSERT_EQ(bars.size(), 2u);
  EXPECT_EQ(bars[0]->eventCount, 4);
  EXPECT_EQ(bars[1]->eventCount, 2);
  EXPECT_EQ(bars.largestElementCount, 7);
  EXPECT_EQ(bars.largestTickLength, 1152u);

  // Two bar lines at one time make one record; the first bar line of a voice gets no number.
  nChordArray doubled;
  doubled.push_back(Timed(Event(0x01, 5), 0));
  doubled.push_back(Timed(Chord(kQuarter), 0));
  doubled.push_back(Timed(Event(0x31), 192));
  doubled.push_back(Timed(Event(0x81), 192));
  doubled.push_back(Timed(Chord(kQuarter), 192));
  CBarArray merged;
  EXPECT_EQ(doubled.NumberBars(0, merged), 3u);
  EXPECT_EQ(doubled[0]->rhythm, 0);
  EXPECT_EQ(doubled[0]->number, 0u);
  ASSERT_EQ(merged.size(), 3u);
  EXPECT_EQ(merged[2]->elementIndex, 3);
  EXPECT_EQ(merged[2]->statusWord, 0x81u);
}

TEST(VoiceXml, StaffElementAndBack) {
  nChordArray voice = Quarters(1);
  voice.push_back(nullptr);
  voice.push_back(Event(0x11, nChord::kSkipNumber));
  voice[2]->number = 2;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* e = voice.WriteXml(doc);
  EXPECT_EQ(CompactXml(doc, e),
            "<staff count=\"3\"><event type=\"chord\" status=\"0\" flag=\"3\" dy=\"0\" delta=\"0\" name=\"\" al=\"0\" "
            "i=\"1\"><notes count=\"1\"><note word=\"\" pitch=\"60\" string=\"0\" interval=\"0\" ornament=\"0\" "
            "fingering=\"0\" status=\"0\" flags=\"0\" slur=\"0\" name=\"0\"/></notes></event>"
            "<event type=\"blank\" status=\"-1\" i=\"2\"/>"
            "<event type=\"bar\" status=\"17\" flag=\"128\" dy=\"0\" delta=\"0\" number=\"2\" style=\"fixed\" "
            "skip-number=\"yes\" i=\"3\"/></staff>");
  nChordArray read;
  EXPECT_EQ(read.ReadXml(e), nullptr);
  EXPECT_EQ(read, voice);
  EXPECT_EQ(read[1], nullptr);
  EXPECT_EQ(read[2]->number, 2u);

  // A count beyond the children stops at the last child; a smaller one reads that many.
  e->SetAttribute("count", 1000);
  read.ReadXml(e);
  EXPECT_EQ(read.size(), 3u);
  e->SetAttribute("count", 1);
  read.ReadXml(e);
  EXPECT_EQ(VoiceShape(read), "q");

  testing::ScriptedPrompts prompts;
  doc.Parse("<voice count=\"0\"/>");
  EXPECT_THROW(read.ReadXml(doc.FirstChildElement()), XmlTagMismatch);
  doc.Parse("<staff count=\"2\"><event status=\"0\"/><note/></staff>");
  EXPECT_THROW(read.ReadXml(doc.FirstChildElement()), XmlTagMismatch);
}

TEST(VoiceRecord, TheStaveBreakIsSharedAndWrittenOnce) {
  const auto staveBreak = std::make_shared<nChord>(0x41);
  nChordArray first = Quarters(1);
  first.push_back(staveBreak);
  first.push_back(Chord(kQuarter));
  nChordArray second;
  second.push_back(staveBreak);
  second.push_back(Chord(kQuarter));

  ArchiveWriter w;
  first.Store(w);
  const size_t firstLength = w.Bytes().size();
  second.Store(w);
  const std::vector<uint8_t> secondBytes(w.Bytes().begin() + static_cast<std::ptrdiff_t>(firstLength),
                                         w.Bytes().end());
  // Count 2, a back reference to object 5 (nChord is class 1, the first chord object 2, its
  // note's class and object 3 and 4), then another chord of class 1.
  EXPECT_EQ(ToHex(secondBytes).substr(0, 17), "02 00 05 00 01 80");

  ArchiveReader r(w.Bytes());
  nChordArray readFirst;
  nChordArray readSecond;
  readFirst.Load(r);
  readSecond.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(readFirst, first);
  EXPECT_EQ(readSecond, second);
  EXPECT_EQ(readFirst.HandleAt(1), readSecond.HandleAt(0));

  // Deleting one voice's events leaves the stave break to the other.
  readFirst.DeleteChords();
  EXPECT_EQ(readSecond[0]->status, 0x41);
  EXPECT_EQ(readSecond.HandleAt(0).use_count(), 1);

  // A copy shares the stave break and copies everything else.
  const nChordArray copy(first);
  EXPECT_EQ(copy.HandleAt(1), staveBreak);
  EXPECT_NE(copy[0], first[0]);
  EXPECT_EQ(copy, first);
}

TEST(VoiceRecord, OtherEventsMayNotStandTwice) {
  nChordArray voice;
  const auto chord = std::make_shared<nChord>(0x00, kQuarter);
  voice.push_back(chord);
  voice.push_back(chord);
  ArchiveWriter w;
  voice.Store(w);
  ArchiveReader r(w.Bytes());
  nChordArray read;
  EXPECT_THROW(read.Load(r), ArchiveError);

  // A count beyond the data is refused before anything is allocated.
  const auto bytes = testing::HexBytes("FF FF FF FF FF 7F 00 00");
  ArchiveReader huge(bytes);
  EXPECT_THROW(read.Load(huge), ArchiveError);
}

TEST(VoiceAlign, ChordsOfOneTimeStandAtOneIndex) {
  nChordArray first;
  for (uint32_t t : {0u, 192u, 384u}) first.push_back(Timed(Chord(kQuarter), t));
  nChordArray second;
  second.push_back(Timed(Chord(kQuarter), 384));
  ListOf({&first, &second}).AlignVoices(768);
  EXPECT_EQ(VoiceShape(first), "qqq");
  EXPECT_EQ(VoiceShape(second), "__q");

  // A clef change of the chord's time stays in front of it.
  nChordArray third;
  third.push_back(Timed(WithMeta(Event(0x92), CMetaEvent::kClef, 0, 0), 384));
  third.push_back(Timed(Chord(kQuarter), 384));
  ListOf({&first, &third}).AlignVoices(768);
  EXPECT_EQ(VoiceShape(third), "__sq");
  EXPECT_EQ(VoiceShape(first), "qqq_");  // padded to the longest
}

TEST(VoiceAlign, BarLinesArePutBackInEveryVoice) {
  nChordArray first = Quarters(5);
  nChordArray second;
  second.push_back(Chord(1));  // whole
  second.push_back(Chord(kQuarter));
  second.push_back(Event(0x51));  // a bar line of its own is replaced by the first voice's
  CVoicesArray voices = ListOf({&first, &second});
  voices.SetTimeSignatureAndRebar(nullptr, 4, 4);
  EXPECT_EQ(VoiceShape(second), "q|q|");
  voices.AlignVoices(voices.barLength);
  EXPECT_EQ(VoiceShape(first), "qqqq|q");
  EXPECT_EQ(VoiceShape(second), "q___|q");
  EXPECT_EQ(second[4]->status, 1);
}

TEST(VoiceAlign, FinalBarLinesAndMultiBarRestsComeBackWhole) {
  nChordArray first = Quarters(4);
  first.push_back(WithMeta(Event(0x24D), CMetaEvent::kBarPause, 2, 0));
  first.push_back(Chord(1));
  first.push_back(Event(0x31));  // the final double bar: nothing follows it
  nChordArray second;
  second.push_back(Chord(1));
  second.push_back(Chord(kQuarter));
  CVoicesArray voices = ListOf({&first, &second});
  voices.SetTimeSignatureAndRebar(nullptr, 4, 4);
  voices.AlignVoices(voices.barLength);
  EXPECT_EQ(VoiceShape(first), "qqqq|q|");
  EXPECT_EQ(VoiceShape(second), "q___|q|");
  EXPECT_EQ(first[4]->status, 0x24D);
  EXPECT_EQ(first[4]->metaEvents.Find(CMetaEvent::kBarPause)->cx, 2);
  EXPECT_EQ(second[6]->status, 0x31);
}

TEST(VoiceAlign, SignatureChangesAreFoldedBackIntoBarLines) {
  nChordArray first = Quarters(4);
  first.push_back(WithMeta(Event(0x05), CMetaEvent::kTimeSignature, 3, 4));
  for (int i = 0; i < 3; ++i) first.push_back(Chord(kQuarter));
  nChordArray second;
  second.push_back(Chord(1));
  second.push_back(Chord(2 | 8));
  CVoicesArray voices = ListOf({&first, &second});
  voices.SetTimeSignatureAndRebar(nullptr, 4, 4);
  voices.AlignVoices(voices.barLength);
  EXPECT_EQ(VoiceShape(first), "qqqq|qqq");
  EXPECT_EQ(VoiceShape(second), "q___|q___");  // padded before the change was folded back
  EXPECT_EQ(first[4]->status, 0x05);
  EXPECT_EQ(first[4]->metaEvents.Find(CMetaEvent::kTimeSignature)->value, 0x81u);
  EXPECT_EQ(second[4]->status, 0x05);
}

TEST(VoiceBarLines, SpecialEventsAndBack) {
  nChordArray voice = Quarters(1);
  voice.push_back(WithMeta(Event(0x09), CMetaEvent::kClef, 2, 0));
  voice.push_back(Chord(kQuarter));
  voice.push_back(WithMeta(Event(0x05), CMetaEvent::kTimeSignature, 3, 4));
  voice.push_back(Event(0x24D));
  voice.push_back(Chord(kQuarter));
  voice.push_back(Event(0x01));
  EXPECT_EQ(voice.CountBarsAndEvents(), 4u);  // the multi-bar rest twice, the last not at all
  EXPECT_EQ(voice.CountSpecialBars(), 1u);
  EXPECT_EQ(voice.CountClefBars(), 1u);
  EXPECT_TRUE(voice.RemarkBarLine(1));
  EXPECT_FALSE(voice.RemarkBarLine(4));

  voice.BarsToSpecialEvents();
  EXPECT_EQ(VoiceShape(voice), "qsqsq");
  EXPECT_EQ(voice[1]->status, 0x92);
  EXPECT_EQ(voice[3]->status, 0x12);

  voice.insert(1, Event(0x01));
  voice.insert(4, Event(0x21));
  voice[2]->rhythm = 7;
  voice.push_back(Event(0x01));
  voice.push_back(Event(0x12));  // a change without its event stays
  voice.FoldSpecialEventsIntoBars();
  EXPECT_EQ(VoiceShape(voice), "q|q|q|s");
  EXPECT_EQ(voice[1]->status, 0x09);
  EXPECT_EQ(voice[1]->rhythm, 7);
  EXPECT_EQ(voice[1]->metaEvents.Find(CMetaEvent::kClef)->cx, 2);
  EXPECT_EQ(voice[3]->status, 0x25);
  EXPECT_EQ(voice[3]->metaEvents.Find(CMetaEvent::kTimeSignature)->value, 0x81u);
}

TEST(VoiceBarLines, ImportersAndFixedBars) {
  nChordArray voice;
  for (int code : {0, 1, 4, 11, 12, -1}) voice.AppendBarLine(code);
  std::vector<uint16_t> statuses;
  for (const auto& e : voice) statuses.push_back(e->status);
  EXPECT_EQ(statuses, (std::vector<uint16_t>{0x11, 0x81, 0x31, 0xF1, 0, 0}));
  voice.MarkFixedBarsUnnumbered();
  EXPECT_EQ(voice[0]->rhythm, nChord::kSkipNumber);
  const nChord* signature = voice.AppendTimeSignature(6, 8);
  EXPECT_EQ(signature->status, 0x12);
  EXPECT_EQ(*signature->metaEvents[0], CMetaEvent(CMetaEvent::kTimeSignature, "true", 1, 6, 8));

  // Fixed bar lines on bar ends are freed; one inside a bar stays.
  nChordArray fixed = Quarters(4);
  fixed.push_back(Event(0x11));
  fixed.push_back(Chord(kQuarter));
  fixed.push_back(Chord(kQuarter));
  fixed.push_back(Event(0x11));
  fixed.push_back(Chord(kQuarter));
  fixed.RebarAndFreeFixedBars(4, 4);
  EXPECT_EQ(VoiceShape(fixed), "qqqq|qq|q");
  EXPECT_EQ(fixed[4]->status, 1);
  EXPECT_EQ(fixed[7]->status, 0x11);
  // Cut again, the freed bar line is made again before the fixed one, not joined to its bar.
  fixed.RebarVoice(4, 4);
  EXPECT_EQ(VoiceShape(fixed), "qqqq|qq|q");

  // The same before a bar closed by a bar line that carries a clef.
  nChordArray beforeClef = Quarters(4);
  beforeClef.push_back(Event(0x11));
  for (int i = 0; i < 4; ++i) beforeClef.push_back(Chord(kQuarter));
  beforeClef.push_back(WithMeta(Event(0x19), CMetaEvent::kClef, 3, 4));
  beforeClef.push_back(Chord(kQuarter));
  for (int pass = 0; pass < 2; ++pass) beforeClef.RebarAndFreeFixedBars(4, 4);
  EXPECT_EQ(VoiceShape(beforeClef), "qqqq|qqqq|q");
}

class DeletingEditor : public MetaEventEditor {
 public:
  bool RunEditor(CMetaEvent& event, int) override {
    event.kind = CMetaEvent::kDeleteMe;
    return true;
  }
  void FollowHyperlink(const CMetaEvent& event) override { followed = event.text; }
  std::string followed;
};

TEST(VoiceMetaEvents, EditAtAPoint) {
  DeletingEditor editor;
  const ScopedMetaEventEditor scope(editor);
  nChordArray voice = Quarters(1);
  voice[0]->metaEvents.SetMetaEvent(CMetaEvent::kHyperlink, "http://x|X", 0, 0, 0);
  voice[0]->metaEvents[0]->location.SetRect(0, 0, 20, 20, EventLocation::kTablature);
  voice.push_back(WithMeta(Event(0x12), CMetaEvent::kTimeSignature, 3, 4));
  voice[1]->metaEvents[0]->location.SetRect(50, 0, 70, 20, EventLocation::kTablature);
  voice.push_back(WithMeta(Event(0x09), CMetaEvent::kClef, 3, 4));
  voice[2]->metaEvents[0]->location.SetRect(50, 0, 70, 20, EventLocation::kTablature);

  EXPECT_FALSE(voice.EditMetaEventAt(10, 10, false));  // only notation rectangles
  EXPECT_TRUE(voice.EditMetaEventAt(10, 10, true));
  EXPECT_EQ(editor.followed, "http://x|X");
  EXPECT_TRUE(voice.EditMetaEventAt(60, 10, true));  // the special event goes with its event
  EXPECT_EQ(VoiceShape(voice), "q|");
  EXPECT_TRUE(voice.EditMetaEventAt(60, 10, true));  // the bar line loses its clef mark
  EXPECT_EQ(voice[1]->status, 0x01);
  EXPECT_FALSE(voice.EditMetaEventAt(60, 10, true));

  voice[0]->metaEvents[0]->location.notationCx = 5;
  voice.ResetMetaEventLocations();
  EXPECT_EQ(voice[0]->metaEvents[0]->location, EventLocation{});
}

TEST(VoiceList, Measures) {
  nChordArray first = Quarters(5);
  nChordArray second = Quarters(2);
  second.push_back(Chord(kEighth));
  second.push_back(Event(0x01));
  nChordArray third;
  CVoicesArray voices = ListOf({&first, &second, &third});
  EXPECT_EQ(voices.ShortestAndLongest(), (std::pair<uint32_t, uint32_t>{65535, 0}));
  voices.RebarAll(4, 4);
  EXPECT_EQ(voices.ShortestAndLongest(), (std::pair<uint32_t, uint32_t>{96, 192}));
  EXPECT_EQ(voices.LongestVoice(), 6u);
  EXPECT_EQ(voices.MeasureVoices(), 960u);
  EXPECT_EQ(voices.largestBarCount, 2);
  EXPECT_EQ(voices.GetMaxEventCount(), 1u);
  first.push_back(nullptr);
  voices.Compact();
  EXPECT_EQ(first.size(), 6u);
  voices.DeleteAllChords();
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(first.CurrentTimeSignature(), nullptr);
}

}  // namespace
}  // namespace vornel
