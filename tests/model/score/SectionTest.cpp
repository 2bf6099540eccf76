#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/score/CSectionArray.h"
#include "model/score/CSystemArray.h"
#include "model/OldRecords.h"
#include "model/ScoreText.h"
#include "model/XmlTestText.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

std::unique_ptr<CSystemArray> LoadSection(const std::vector<uint8_t>& bytes, const std::string& version) {
  ArchiveReader r(bytes, version);
  auto section = std::make_unique<CSystemArray>();
  section->Load(r);
  EXPECT_TRUE(r.AtEnd()) << version;
  return section;
}

std::vector<uint8_t> StoreSection(const CSystemArray& section) {
  ArchiveWriter w;
  section.Store(w);
  return w.TakeBytes();
}

std::string SectionXml(const CSystemArray& section) {
  tinyxml2::XMLDocument doc;
  return testing::CompactXml(doc, section.WriteXml(doc));
}

std::unique_ptr<CSystemArray> SectionFromXml(const std::string& xml) {
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(doc.Parse(xml.c_str()), tinyxml2::XML_SUCCESS);
  auto section = std::make_unique<CSystemArray>();
  section->ReadXml(doc.FirstChildElement());
  return section;
}

std::unique_ptr<nChord> WithMeta(std::unique_ptr<nChord> event, uint8_t kind, std::string_view text, uint32_t value,
                                 int32_t cx, int32_t cy) {
  event->metaEvents.push_back(std::make_unique<CMetaEvent>(kind, text, value, cx, cy));
  return event;
}

// A section with two instruments, four systems (one of them hidden) and every kind of event:
// chords with notes and meta-events, rests, ghost chords, bar lines of several styles, changes
// of time signature and clef, spaces, empty entries and the shared system break.
std::unique_ptr<CSystemArray> RichSection() {
  auto section = std::make_unique<CSystemArray>();
  auto guitar = std::make_unique<CInstrumentDlg>();
  guitar->ApplyNotationPreset(CInstrumentDlg::kGrandStaffPreset);
  guitar->nameText.text = "Guitar";
  guitar->family = 4;
  section->AddInstrument(std::move(guitar));
  while (section->systems.size() > 4) section->systems.erase(section->systems.size() - 1);

  CSystemArray& s = *section;
  s.Title().text = "Pavan";
  s.Author().text = "J. Dowland";
  s.Comments().text = "From a manuscript";
  s.EndText().text = "Finis";
  s.numerator = 3;
  s.denominator = 4;
  s.tempo = (1 << 24) | 72;
  s.movement = 5;
  s.barOffset = 3;
  s.flags = CSystemArray::kExcludedFromContents | CSystemArray::kPageBreakAfter;
  s.excluded = 1;
  s.stavesPerPage = 6;
  s.leftOffset = 7;
  s.horizontalCursor = 33;
  s.captionPosition = 2;
  s.repeats = 0;
  s.midiFilePath = "C:\\midi\\pavan.mid";
  s.activeSystem = 1;
  s.key.alterations = 2;
  s.key.bemol = 0;
  s.couplets.text = "{\\rtf1 couplets}";
  s.rtfComments.text = "{\\rtf1 comments}";
  s.captionPicture.path = "images/title.png";
  s.facsimiles.AddImage("http://www.example.org/f1.jpg");
  s.facsimiles.AddImage("f2.png");
  s.facsimiles.captions[1] = "{\\rtf1 second}";

  nChordArray& lute = s.System(0)->Line(0)->firstVoice;
  lute.push_back(testing::MarkedChord(3, {67, 62}));
  lute.push_back(WithMeta(testing::MarkedChord(4, {60}), CMetaEvent::kLyrics, "la", 0, 1, 2));
  lute.push_back(WithMeta(testing::MarkedChord(4, {}), CMetaEvent::kFermata, "", 0, 0, 0));  // a rest
  lute.push_back(nullptr);
  lute.push_back(WithMeta(std::make_unique<nChord>(0x12), CMetaEvent::kTimeSignature, "true", 1, 2, 4));
  lute.push_back(testing::MarkedChord(2, {55}));
  lute.push_back(WithMeta(std::make_unique<nChord>(0x92), CMetaEvent::kClef, "", 2, 0, 0));
  lute.push_back(testing::MarkedChord(3 | 0x8, {57}));
  lute.push_back(std::make_unique<nChord>(0x91));  // a left repeat
  nChord* ghost = lute.push_back(testing::MarkedChord(3, {}));
  ghost->status |= nChord::kGhostMark << 8;
  lute.push_back(std::make_unique<nChord>(0xB2));  // a space
  lute.push_back(section->SystemBreak());
  s.System(0)->Line(0)->secondVoice.push_back(testing::MarkedChord(1, {43}));

  nChordArray& bass = s.System(0)->Line(1)->secondVoice;
  bass.push_back(testing::MarkedChord(2, {40}));
  bass.push_back(WithMeta(std::make_unique<nChord>(0x21), CMetaEvent::kEnding, "1.", 0x50200, 0, 0));
  bass.push_back(testing::MarkedChord(2 | 0x10, {41}));
  s.System(1)->Line(1)->firstVoice.push_back(testing::MarkedChord(1, {72, 76, 79}));
  s.System(1)->Line(0)->firstVoice.push_back(testing::MarkedChord(1, {64}));
  s.System(1)->Line(0)->firstVoice.push_back(section->SystemBreak());
  s.System(1)->EditCaption().captionString = "Second strain";
  s.System(1)->EditCaption().captionText.text = "Second strain";
  s.System(1)->barSequenceRestart = 1;
  s.System(1)->activeInstrument = 1;
  s.System(2)->hidden = 1;
  s.System(2)->Line(0)->firstVoice.push_back(testing::MarkedChord(0, {50}));
  s.System(3)->EditCaption().rtfBox.text = "{\\rtf1 box}";
  s.System(3)->printTuning = 1;
  s.System(3)->nameInstruments = 1;
  s.System(3)->leftIndents = 20;
  s.System(3)->Line(0)->firstVoice.push_back(testing::MarkedChord(3, {62}));
  // Reading re-bars the music, numbers the bars and gives the ornament tables their stored
  // shape: the section is what a record of it reads back as.
  const auto bytes = StoreSection(s);
  return LoadSection(bytes, "9.8.1.0");
}

bool BreaksAreTheSectionsOwn(const CSystemArray& section, size_t expected) {
  size_t found = 0;
  for (const auto& system : section.systems.items()) {
    for (const auto& line : system->lines.items()) {
      for (const nChordArray* voice : line->Voices()) {
        for (const auto& e : *voice) {
          if (e != nullptr && e->IsStaveBreak()) {
            if (e != section.SystemBreak()) return false;
            ++found;
          }
        }
      }
    }
  }
  return found == expected;
}

// ---------------------------------------------------------------------------------------------

TEST(Section, NewSectionDefaults) {
  const CSystemArray section;
  EXPECT_EQ(section.Title().text, "New section");
  EXPECT_EQ(section.Title().descriptor, "section-name");
  EXPECT_EQ(section.EndText().descriptor, "end-text");
  EXPECT_EQ(section.numerator, 4);
  EXPECT_EQ(section.denominator, 4);
  EXPECT_EQ(section.tempo, 100);
  EXPECT_EQ(CSystemArray::MovementName(section.movement), "Andante");
  EXPECT_EQ(section.stavesPerPage, 8);
  EXPECT_EQ(section.barOffset, 1);
  EXPECT_EQ(section.repeats, 1);
  EXPECT_EQ(section.SystemBreak()->status, 65);
  ASSERT_EQ(section.definitions.size(), 1u);
  ASSERT_EQ(section.systems.size(), 8u);
  for (const auto& system : section.systems.items()) {
    ASSERT_EQ(system->lines.size(), 1u);
    EXPECT_EQ(system->Line(0)->definition, section.Definition(0));
    EXPECT_EQ(system->Line(0)->staves.size(), 1u);
    EXPECT_EQ(system->layoutWords, (std::array<uint32_t, 2>{4, 4}));
  }
}

TEST(Section, WholeSectionRoundTripsThroughXml) {
  const auto section = RichSection();
  ASSERT_TRUE(BreaksAreTheSectionsOwn(*section, 2));
  const std::string xml = SectionXml(*section);
  const auto read = SectionFromXml(xml);
  EXPECT_EQ(SectionXml(*read), xml);
  EXPECT_TRUE(BreaksAreTheSectionsOwn(*read, 2));
  EXPECT_EQ(read->definitions.size(), 2u);
  EXPECT_EQ(read->System(0)->Line(1)->staves.size(), 2u);
  EXPECT_EQ(read->System(0)->Line(1)->definition, read->Definition(1));
  EXPECT_EQ(read->System(0)->Line(0)->firstVoice, section->System(0)->Line(0)->firstVoice);
  EXPECT_EQ(read->System(2)->hidden, 1);
  EXPECT_EQ(read->excluded, 1);
  EXPECT_EQ(read->System(1)->Caption().captionString, "Second strain");
}

TEST(Section, WholeSectionRoundTripsThroughItsRecord) {
  const auto section = RichSection();
  const auto bytes = StoreSection(*section);
  const auto read = LoadSection(bytes, "9.8.1.0");
  EXPECT_TRUE(StoreSection(*read) == bytes);
  EXPECT_TRUE(BreaksAreTheSectionsOwn(*read, 2));
  EXPECT_EQ(SectionXml(*read), SectionXml(*section));
  EXPECT_EQ(read->System(0)->Line(1)->staves.at(0)->definition, read->Definition(1));
}

TEST(Section, RecordOfSevenTwoKeepsTheNewerDefaults) {
  testing::OldSection record("7.2");
  record.definitions.push_back(std::make_unique<testing::OldDefinition>("7.2", "Lute"));
  record.definitions.at(0)->stave.spaceBelow = 5;
  record.AddSystemWithMusic();
  record.images = {"c:\\f\\a.png"};
  const auto section = LoadSection(record.Bytes(), "7.2");
  EXPECT_EQ(section->numerator, 3);
  EXPECT_EQ(section->denominator, 2);
  EXPECT_EQ(section->tempo, 90);
  EXPECT_EQ(section->movement, 5);
  EXPECT_EQ(section->horizontalCursor, 40);
  EXPECT_EQ(section->Comments().text, "Old comments");
  EXPECT_EQ(section->EndText().text, "Fine");
  EXPECT_EQ(section->Author().text, "");  // from 7.4
  EXPECT_EQ(section->facsimiles.imagePaths, std::vector<std::string>{"c:\\f\\a.png"});
  EXPECT_EQ(section->stavesPerPage, 8);
  EXPECT_EQ(section->barOffset, 1);
  EXPECT_EQ(section->activeSystem, 0);
  EXPECT_EQ(section->repeats, 1);
  EXPECT_EQ(section->midiFilePath, "");
  EXPECT_EQ(section->flags, 0);
  // A lone instrument of one stave showing one voice gets the narrow spacing.
  const CInstrumentDlg& lute = *section->Definition(0);
  EXPECT_EQ(lute.spacingBelowPage, 1);
  EXPECT_EQ(lute.staves.at(0)->spaceBelow, 1u);
  EXPECT_EQ(section->System(0)->Line(0)->staves.at(0)->spaceBelow, 1u);
  EXPECT_EQ(section->System(0)->Line(0)->definition, &lute);
}

TEST(Section, RecordConversionsByVersion) {
  struct Case {
    const char* version;
    int32_t leftOffset;   // 0 below 9.7.3.1
    bool tempoFlag;       // 9.7.4.0 < version <= 9.7.5.0 in 2/x with a quarter beat
    bool late;            // rtf comments and flags above 9.6.5.7
    bool midiPath;        // above 9.22
  };
  const Case cases[] = {{"9.7.3.0", 0, false, true, true},  {"9.7.3.1", 12, false, true, true},
                        {"9.7.4.0", 12, false, true, true}, {"9.7.5.0", 12, true, true, true},
                        {"9.7.5.1", 12, false, true, true}, {"9.16", 0, false, false, false},
                        {"9.23", 0, false, false, true}};
  for (const Case& c : cases) {
    testing::OldSection record(c.version);
    record.definitions.push_back(std::make_unique<testing::OldDefinition>(c.version, "Lute"));
    record.AddSystemWithMusic();
    record.rtfComments.text = "{\\rtf1 late}";
    const auto section = LoadSection(record.Bytes(), c.version);
    EXPECT_EQ(section->leftOffset, c.leftOffset) << c.version;
    EXPECT_EQ(section->tempo, c.tempoFlag ? 90 | 0x1000 : 90) << c.version;
    EXPECT_EQ(section->flags, c.late ? 0x110 : 0) << c.version;
    EXPECT_EQ(section->excluded, c.late ? 1 : 0) << c.version;
    EXPECT_EQ(section->rtfComments.text, c.late ? "{\\rtf1 late}" : "") << c.version;
    EXPECT_EQ(section->midiFilePath, c.midiPath ? "C:\\music\\piece.mid" : "") << c.version;
    EXPECT_EQ(section->barOffset, 5) << c.version;
    EXPECT_EQ(section->System(0)->Line(0)->firstVoice.size(), 2u) << c.version;
  }
}

TEST(Section, LinesStoredWithoutStavesTakeTheirDefinitions) {
  testing::OldSection record("9.8.1.0");
  record.definitions.push_back(std::make_unique<testing::OldDefinition>("9.8.1.0", "Lute"));
  record.AddSystemWithMusic();
  record.systems.at(0)->lines.at(0)->staves.clear();
  const auto section = LoadSection(record.Bytes(), "9.8.1.0");
  ASSERT_EQ(section->System(0)->Line(0)->staves.size(), 1u);
  EXPECT_EQ(section->System(0)->Line(0)->staves.at(0)->definition, section->Definition(0));
  EXPECT_EQ(section->GetPlaybackStartTick(), 0);
}

TEST(Section, TempoWordsOnLoading) {
  for (const auto& [stored, loaded] : std::vector<std::pair<int32_t, int32_t>>{
           {20, 120}, {29, 120}, {30, 30}, {(1 << 24) | 20, (1 << 24) | 20}}) {
    testing::OldSection record("9.8.1.0");
    record.tempo = stored;
    record.denominator = 4;
    const auto section = LoadSection(record.Bytes(), "9.8.1.0");
    EXPECT_EQ(section->tempo, loaded) << stored;
  }
}

TEST(Section, LinesMustMatchTheDefinitions) {
  testing::OldSection record("9.8.1.0");
  record.definitions.push_back(std::make_unique<testing::OldDefinition>("9.8.1.0", "Lute"));
  record.definitions.push_back(std::make_unique<testing::OldDefinition>("9.8.1.0", "Viol"));
  record.AddSystemWithMusic();
  record.systems.at(0)->lines.erase(1);
  const auto bytes = record.Bytes();
  ArchiveReader r(bytes);
  CSystemArray section;
  EXPECT_THROW(section.Load(r), std::out_of_range);

  // The same in XML: a system of one line in a section of two instruments.
  const auto rich = RichSection();
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = rich->WriteXml(doc);
  doc.InsertEndChild(element);
  tinyxml2::XMLElement* instruments =
      element->FirstChildElement("systems")->FirstChildElement("system")->FirstChildElement("instruments");
  instruments->DeleteChild(instruments->LastChildElement());
  CSystemArray fromXml;
  EXPECT_THROW(fromXml.ReadXml(element), std::out_of_range);
}

TEST(Section, XmlReaderLimitsAndChecks) {
  CSystemArray section;
  section.movement = 9;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = section.WriteXml(doc);
  doc.InsertEndChild(element);
  tinyxml2::XMLElement* tempo = element->FirstChildElement("section-settings")->FirstChildElement("tempo");
  EXPECT_STREQ(tempo->Attribute("movement-name"), "");
  element->FirstChildElement("section-layout")->DeleteAttribute("staves-per-page");
  element->FirstChildElement("section-texts")->FirstChildElement()->SetText("  Gigue \t");
  // Active indexes beyond what they index would fail every later command: they are kept within.
  element->SetAttribute("active-system", 99);
  tinyxml2::XMLElement* system = element->FirstChildElement("systems")->FirstChildElement();
  system->SetAttribute("active-instrument", 5);
  system->FirstChildElement("instruments")->FirstChildElement()->SetAttribute("active", -3);
  CSystemArray read;
  read.ReadXml(element);
  EXPECT_EQ(read.activeSystem, 7);
  EXPECT_EQ(read.System(0)->activeInstrument, 0);
  EXPECT_EQ(read.System(0)->Line(0)->activeStave, 0);
  EXPECT_EQ(read.stavesPerPage, 1);  // it divides the systems into pages
  EXPECT_EQ(read.Title().text, "Gigue");
  EXPECT_EQ(read.movement, 9);

  element->FirstChildElement("accessories")->SetName("extras");
  testing::ScriptedPrompts prompts;
  CSystemArray refused;
  EXPECT_THROW(refused.ReadXml(element), XmlTagMismatch);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Mismatch error on tag: <extras> should be <accessories>"});
}

// An empty entry where a whole section, system, definition, line or stave belongs is a
// damaged file: it is refused, never filled with a default part many times its size.
TEST(Section, EmptyEntriesInListsOfPartsAreRefused) {
  const auto emptyEntry = testing::HexBytes("01 00 00 00");
  ArchiveWriter sectionHead;  // no systems, then the title and the key before the definitions
  sectionHead.WriteCount(0);
  CTrackText().Store(sectionHead);
  CKey().Store(sectionHead);
  sectionHead.WriteBytes(emptyEntry);
  ArchiveWriter definitionHead;  // the name and the tablature instrument before the staves
  CTrackText().Store(definitionHead);
  CTabInstrument().Store(definitionHead);
  definitionHead.WriteBytes(emptyEntry);

  struct Case {
    const char* list;
    std::vector<uint8_t> bytes;
    std::function<void(ArchiveReader&)> load;
  };
  const std::vector<Case> cases = {
      {"sections", testing::HexBytes("01 00 00 00 00 00 00 00"), [](ArchiveReader& r) { CSectionArray().Load(r); }},
      {"systems", emptyEntry, [](ArchiveReader& r) { CSystemArray().Load(r); }},
      {"definitions", sectionHead.TakeBytes(), [](ArchiveReader& r) { CSystemArray().Load(r); }},
      {"lines", emptyEntry, [](ArchiveReader& r) { CStaveArray().Load(r); }},
      {"staves of a line", emptyEntry, [](ArchiveReader& r) { CInstrument().Load(r); }},
      {"staves of a definition", definitionHead.TakeBytes(), [](ArchiveReader& r) { CInstrumentDlg().Load(r); }},
  };
  for (const Case& c : cases) {
    ArchiveReader r(c.bytes);
    try {
      c.load(r);
      ADD_FAILURE() << c.list << " with an empty entry were read";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.Code(), ArchiveErrorCode::kBadData) << c.list;
    }
  }
}

TEST(SectionList, XmlCountActiveSectionAndLabels) {
  CSectionArray list;
  for (int i = 0; i < 3; ++i) list.push_back(std::make_unique<CSystemArray>());
  list.at(1)->Title().text = "Almain";
  list.at(1)->flags = CSystemArray::kExcludedFromContents;
  list.at(1)->excluded = 1;
  list.activeSection = 2;
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = list.WriteXml(doc);
  doc.InsertEndChild(element);
  EXPECT_STREQ(element->LastChildElement()->Attribute("index"), "2");

  element->SetAttribute("count", 2);
  element->SetAttribute("active-section", 7);
  CSectionArray read;
  read.ReadXml(element);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read.activeSection, 1);  // kept within the list
  EXPECT_EQ(read.at(1)->index, 1);
  EXPECT_EQ(read.GetSectionLabel(1), "[x] Almain");
  EXPECT_EQ(read.GetSectionLabel(0), "New section");
  EXPECT_THROW(read.GetSectionLabel(2), std::out_of_range);

  element->SetAttribute("active-section", -4);
  read.ReadXml(element);
  EXPECT_EQ(read.activeSection, 0);
}

TEST(SectionList, RecordDeleteAndMove) {
  CSectionArray list;
  for (const char* title : {"A", "B", "C"}) {
    list.push_back(std::make_unique<CSystemArray>());
    list.back()->Title().text = title;
  }
  list.activeSection = 2;
  ArchiveWriter w;
  list.Store(w);
  ArchiveReader r(w.Bytes());
  CSectionArray read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read.activeSection, 2);
  EXPECT_EQ(read.at(2)->index, 2);

  read.MoveSection(0, 2);
  EXPECT_EQ(read.GetSectionLabel(2), "A");
  EXPECT_EQ(read.at(2)->index, 2);
  EXPECT_EQ(read.DeleteSection(2), 1);
  EXPECT_EQ(read.activeSection, 1);
  EXPECT_EQ(read.DeleteSection(0), 1);
  EXPECT_EQ(read.DeleteSection(0), 0);  // the only section stays
  EXPECT_EQ(read.size(), 1u);
  EXPECT_EQ(read.at(0)->index, 0);
  read.ResetSections();
  EXPECT_EQ(read.activeSection, -1);
}

TEST(Section, MetadataAndFonts) {
  const auto section = RichSection();
  section->facsimiles.AddImage("httpfile.png");
  tinyxml2::XMLDocument doc;
  const std::string xml = testing::CompactXml(doc, section->WriteMetadataXml(doc));
  EXPECT_NE(xml.find("<instruments count=\"2\"><instrument family=\"Renaissance lute\">7-course Lute in G</instrument>"
                     "<instrument family=\"Guitar\">Guitar</instrument></instruments>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<facsimiles nb-images=\"3\"><image path=\"http://www.example.org/\" name=\"f1.jpg\" "
                     "location=\"web\"/><image path=\"\" name=\"f2.png\" location=\"disk\">{\\rtf1 second}</image>"
                     "<image path=\"\" name=\"httpfile.png\" location=\"disk\"/></facsimiles>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<midi-file file-name=\"pavan.mid\" file-path=\"C:\\midi\\\"/>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<section-settings><signature numerator=\"3\" denominator=\"4\"/>"), std::string::npos);

  section->Author().font.logFont.lfFaceName = "Georgia";
  tinyxml2::XMLDocument fonts;
  const std::string fontXml = testing::CompactXml(fonts, section->WriteSectionFontsXml(fonts));
  EXPECT_TRUE(fontXml.starts_with("<section-fonts count=\"4\"><track-font descriptor=\"section-titles\""))
      << fontXml;
  EXPECT_NE(fontXml.find("descriptor=\"section-authors\""), std::string::npos);
  EXPECT_NE(fontXml.find("typeface=\"Georgia\""), std::string::npos);
}

}  // namespace
}  // namespace vornel
