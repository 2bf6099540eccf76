#include <gtest/gtest.h>

#include "model/instrument/CAlfabeto.h"
#include "model/events/CMetaEvent.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

nChord ChordWithLetters(std::initializer_list<char16_t> letters, uint8_t pitch = 40) {
  nChord chord;
  for (const char16_t letter : letters) {
    chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kAlfabeto, "", letter, 0, 0));
  }
  auto note = std::make_unique<nNotes>();
  note->pitch = pitch;
  chord.AddNote(std::move(note));
  return chord;
}

TEST(Alfabeto, OnlyTheFirstAlfabetoEventCarriesTheLetter) {
  CAlfabeto chart;
  chart.chart.push_back(std::make_unique<nChord>(ChordWithLetters({})));
  chart.chart.push_back(std::make_unique<nChord>(ChordWithLetters({u'B', u'A'})));
  chart.chart.push_back(std::make_unique<nChord>(ChordWithLetters({u'A'})));
  size_t index = 99;
  EXPECT_EQ(chart.FindChordByLetter(u'A', &index), chart.chart[2]);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(chart.FindChordByLetter(u'B'), chart.chart[1]);
  EXPECT_EQ(chart.FindChordByLetter(u'C'), nullptr);
  EXPECT_EQ(chart.ProposeLetter(), u'C');
}

TEST(Alfabeto, LetterProposalAndInput) {
  CAlfabeto chart;
  for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
    chart.chart.push_back(std::make_unique<nChord>(ChordWithLetters({letter})));
  }
  EXPECT_EQ(chart.ProposeLetter(), u'[');
  EXPECT_EQ(CAlfabeto::NormalizeLetter(u'c'), u'C');
  EXPECT_EQ(CAlfabeto::NormalizeLetter(u'+'), u'[');
  EXPECT_EQ(CAlfabeto::NormalizeLetter(u'\\'), u'\\');
  EXPECT_EQ(CAlfabeto::NormalizeLetter(u'5'), 0);
  EXPECT_EQ(CAlfabeto::NormalizeLetter(u']'), 0);
}

TEST(Alfabeto, AssigningAsksBeforeReplacing) {
  testing::ScriptedPrompts prompts;
  CAlfabeto chart;
  chart.description = "G major";
  nChord* first = chart.AssignChord(u'G', ChordWithLetters({}, 43));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->name, "G major");
  EXPECT_EQ(first->status, 0);
  const CMetaEvent* event = first->metaEvents.Find(CMetaEvent::kAlfabeto);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(event->value, u'G');
  EXPECT_EQ(event->text, "G major");

  prompts.QueueAnswer(Answer::kCancel);
  nChord replacement = ChordWithLetters({u'Q'}, 45);
  replacement.status = 1;
  EXPECT_EQ(chart.AssignChord(u'G', replacement), nullptr);
  EXPECT_EQ(chart.chart.size(), 1u);
  EXPECT_EQ(chart.chart[0]->notes[0]->pitch, 43);

  prompts.QueueAnswer(Answer::kOk);
  nChord* second = chart.AssignChord(u'G', replacement);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(chart.chart.size(), 1u);
  EXPECT_EQ(chart.chart[0]->notes[0]->pitch, 45);
  EXPECT_EQ(second->metaEvents[0]->value, u'G');  // the chord's own alfabeto event takes the letter
  EXPECT_EQ(second->status, 0);
  EXPECT_EQ(prompts.questions, (std::vector<std::string>(2, "Do you want to replace the existing chord chart?")));
  EXPECT_EQ(prompts.captions, (std::vector<std::string>(2, "Letter is already assigned")));
}

CAlfabeto TwoChords() {
  CAlfabeto chart;
  chart.showAlfabeto = 0;
  chart.letterFont.logFont.lfFaceName = "Garamond";
  chart.chart.push_back(std::make_unique<nChord>(ChordWithLetters({u'A'}, 40)));
  chart.chart.push_back(std::make_unique<nChord>(ChordWithLetters({u'B'}, 42)));
  return chart;
}

TEST(AlfabetoRecord, FontChartAndSwitch) {
  const CAlfabeto stored = TwoChords();
  ArchiveWriter w;
  stored.Store(w);
  ArchiveReader r(w.Bytes());
  CAlfabeto read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.showAlfabeto, 0);
  EXPECT_EQ(read.letterFont.logFont.lfFaceName, "Garamond");
  EXPECT_EQ(read.chart, stored.chart);
}

TEST(AlfabetoXml, RoundTripAndCountsBeyondTheElements) {
  const CAlfabeto stored = TwoChords();
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = stored.WriteXml(doc);
  doc.InsertEndChild(element);
  EXPECT_STREQ(element->FirstChildElement()->Name(), "track-font");
  EXPECT_STREQ(element->FirstChildElement("chord-definitions")->Attribute("count"), "2");

  CAlfabeto read = TwoChords();
  EXPECT_EQ(read.ReadXml(element), nullptr);
  EXPECT_EQ(read.chart, stored.chart);
  EXPECT_EQ(read.showAlfabeto, 0);

  element->FirstChildElement("chord-definitions")->SetAttribute("count", "500");
  read.ReadXml(element);
  EXPECT_EQ(read.chart.size(), 2u);

  testing::ScriptedPrompts prompts;
  tinyxml2::XMLDocument other;
  other.Parse("<chord-definitions/>");
  EXPECT_THROW(read.ReadXml(other.FirstChildElement()), XmlTagMismatch);
}

TEST(Alfabeto, CopiesAreDeep) {
  const CAlfabeto source = TwoChords();
  CAlfabeto copy;
  copy.CopyFrom(source);
  ASSERT_EQ(copy.chart.size(), 2u);
  EXPECT_NE(copy.chart[0], source.chart[0]);
  EXPECT_EQ(*copy.chart[0], *source.chart[0]);
  copy.RemoveAllChords();
  EXPECT_EQ(copy.chart.size(), 0u);
  EXPECT_EQ(source.chart.size(), 2u);
}

}  // namespace
}  // namespace vornel
