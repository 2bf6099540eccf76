// A document the program wrote, opened and saved again, gives the same bytes: documents made
// new, built in code, read from our earlier files and holding awkward texts, in both forms.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "document/DocumentDump.h"
#include "document/DocumentFiles.h"
#include "document/DocumentFixtures.h"
#include "document/OldDocumentRecords.h"
#include "document/RoundTrip.h"
#include "document/XmlDocumentCheck.h"
#include "platform/text/TextEdits.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ScriptedPrompts;

// A carriage return alone and before a line feed, a tab, spaces at both ends, characters
// outside the Basic Multilingual Plane (a G clef and a lute emoji), control characters XML
// cannot hold and a picture of a control standing for itself.
constexpr std::string_view kAwkward =
    "  Flow\rmy\r\ntears\tfall \xF0\x9D\x84\x9E \xF0\x9F\xAA\x95 \x01\x1B[0m \xE2\x90\x81  ";

void SetAwkward(std::string& text) { text = std::string(kAwkward); }

void SetEveryText(CTextStack& texts) {
  for (const auto& text : texts.items()) {
    if (text != nullptr) SetAwkward(text->text);
  }
}

// Every text the document stores, from the metadata down to the meta-events of each chord.
void FillEveryText(CBriotabDoc& doc) {
  CDocumentSettings& s = doc.settings;
  SetEveryText(s.texts);
  SetEveryText(s.titlePage.texts);
  SetAwkward(s.pageSettings.pageText);
  SetAwkward(s.pageSettings.footnoteText);
  SetAwkward(s.pageSettings.systemNameText.text);
  for (auto& [type, value] : s.associations) SetAwkward(value);
  for (const auto& section : doc.sections.items()) {
    SetEveryText(section->texts);
    for (const auto& definition : section->definitions.items()) {
      SetAwkward(definition->nameText.text);
      for (const auto& pedal : definition->pedals.items()) {
        if (pedal != nullptr) SetAwkward(pedal->caption);
      }
    }
    for (const auto& system : section->systems.items()) {
      SetAwkward(system->EditCaption().captionText.text);
      SetAwkward(system->EditCaption().captionString);
      for (const auto& line : system->lines.items()) {
        for (nChordArray* voice : {&line->firstVoice, &line->secondVoice}) {
          for (size_t i = 0; i < voice->size(); ++i) {
            nChord* chord = voice->at(i);
            if (chord == nullptr || !chord->IsChord()) continue;
            chord->name = kAwkward;
            for (const uint8_t kind : {CMetaEvent::kLyrics, CMetaEvent::kCaption, CMetaEvent::kChordName,
                                       CMetaEvent::kFootnote, CMetaEvent::kHyperlink}) {
              chord->metaEvents.SetMetaEvent(kind, kAwkward, 0, 0, 0);
            }
          }
        }
      }
    }
  }
}

std::unique_ptr<CVornelTabDoc> NewDocument() {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  return doc;
}

// The rich document with its sections laid out as the editing commands leave them.
std::unique_ptr<CVornelTabDoc> Rich() {
  auto doc = testing::RichDocument();
  for (const auto& section : doc->sections.items()) section->RecalculateSection(false);
  return doc;
}

constexpr std::string_view kBlanksOnly = " \t \r\n ";

std::unique_ptr<CVornelTabDoc> AwkwardTexts() {
  auto doc = Rich();
  FillEveryText(*doc);
  doc->settings.Text(CDocumentSettings::kSource).text = std::string(kBlanksOnly);
  doc->sections.at(0)->System(0)->Line(0)->firstVoice.at(1)->metaEvents.SetMetaEvent(CMetaEvent::kLyrics,
                                                                                       kBlanksOnly, 0, 0, 0);
  return doc;
}

// Sections of several systems with chords, lyrics, bars and both voices, as the document
// benchmark builds them.
std::unique_ptr<CVornelTabDoc> Generated() {
  auto doc = std::make_unique<CVornelTabDoc>();
  for (int s = 0; s < 2; ++s) {
    auto section = std::make_unique<CSystemArray>();
    section->Title().text = "Section " + std::to_string(s + 1);
    section->AddInstrument(std::make_unique<CInstrumentDlg>());
    for (size_t system = 0; system < section->systems.size(); ++system) {
      for (size_t line = 0; line < 2; ++line) {
        nChordArray& voice = section->System(system)->Line(line)->Voice(line);
        for (int c = 0; c < 12; ++c) {
          voice.push_back(testing::MarkedChord(c % 3 + 1, {static_cast<uint8_t>(48 + (c * 5) % 30), 60}));
          if (c % 4 == 0) testing::AddMeta(*voice.back(), CMetaEvent::kLyrics, "la", 0, 0, 0);
        }
      }
    }
    section->RecalculateSection(false);
    doc->sections.push_back(std::move(section));
  }
  doc->sections.activeSection = 1;
  doc->sections.Renumber();
  return doc;
}

// A document read from a binary file of an earlier version.
std::function<std::unique_ptr<CVornelTabDoc>()> FromOldFile(std::string version) {
  return [version] {
    auto doc = std::make_unique<CVornelTabDoc>();
    EXPECT_TRUE(doc->LoadBinary(testing::SampleDocument(version).Bytes()));
    return doc;
  };
}

std::unique_ptr<CVornelTabDoc> FromOurBinaryFixture() {
  OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/tests/tool/lachrimae.btb");
  EXPECT_NE(opened.document, nullptr) << opened.message;
  return std::move(opened.document);
}

struct Case {
  const char* name;
  std::function<std::unique_ptr<CVornelTabDoc>()> make;
  // What the first binary save says it left out; nothing when it keeps everything.
  const char* binaryLoss = nullptr;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTrip, SecondSaveIsByteIdentical) {
  for (const char* extension : {".btxml", ".btb"}) {
    ScriptedPrompts prompts;
    std::unique_ptr<CVornelTabDoc> doc = GetParam().make();
    ASSERT_NE(doc, nullptr);
    testing::ExpectStableResave(*doc, extension);
    std::vector<std::string> expected;
    if (extension == std::string(".btb") && GetParam().binaryLoss != nullptr) expected.push_back(GetParam().binaryLoss);
    ASSERT_EQ(prompts.messages.size(), expected.size()) << extension << ": " << ::testing::PrintToString(prompts.messages);
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(prompts.messages[i].ends_with(expected[i])) << prompts.messages[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Documents, RoundTrip,
                         ::testing::Values(Case{"new", NewDocument}, Case{"rich", Rich},
                                           Case{"awkward_texts", AwkwardTexts,
                                                "\nThe binary document has no place for the system titles: it was "
                                                "saved without them."},
                                           Case{"generated", Generated},
                                           Case{"version_7_2", FromOldFile("7.2")},
                                           Case{"version_9_16", FromOldFile("9.16")},
                                           Case{"version_9_8_1_0", FromOldFile("9.8.1.0")},
                                           Case{"our_binary_fixture", FromOurBinaryFixture}),
                         [](const auto& info) { return std::string(info.param.name); });

// The texts keep every character, carriage returns and controls included; only the XML reader
// trims the ends of a section's title. The XML text holds no character XML refuses.
TEST(RoundTrip, AwkwardTextsSurviveBothForms) {
  ScriptedPrompts prompts;
  auto doc = AwkwardTexts();
  const std::string xml = doc->XmlText();
  EXPECT_EQ(std::count_if(xml.begin(), xml.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r'; }),
            0);
  EXPECT_EQ(testing::ThroughBinary(*doc)->sections.at(0)->Title().text, kAwkward);
  EXPECT_EQ(testing::ThroughXml(*doc)->sections.at(0)->Title().text, TrimBlanks(kAwkward));
  for (const auto& read : {testing::ThroughXml(*doc), testing::ThroughBinary(*doc)}) {
    const CSystemArray& section = *read->sections.at(0);
    EXPECT_EQ(read->settings.Text(CDocumentSettings::kComments).text, kAwkward);
    EXPECT_EQ(read->settings.Text(CDocumentSettings::kSource).text, kBlanksOnly);
    EXPECT_EQ(section.System(0)->Line(0)->firstVoice.at(1)->metaEvents.Find(CMetaEvent::kLyrics)->text, kBlanksOnly);
    EXPECT_EQ(section.Author().text, kAwkward);
    EXPECT_EQ(section.Definition(0)->nameText.text, kAwkward);
    const nChord& chord = *section.System(0)->Line(0)->firstVoice.at(0);
    EXPECT_EQ(chord.name, kAwkward);
    EXPECT_EQ(chord.metaEvents.Find(CMetaEvent::kLyrics)->text, kAwkward);
    EXPECT_EQ(chord.metaEvents.Find(CMetaEvent::kCaption)->text, kAwkward);
    EXPECT_EQ(section.System(1)->Caption().captionText.text, kAwkward);
  }
}

// Read from either form, only the systems that carry a caption hold their own; the caption
// comes back.
TEST(RoundTrip, OnlySystemsWithCaptionsHoldOne) {
  ScriptedPrompts prompts;
  for (const auto& original : {NewDocument(), Rich()}) {
    for (const auto& read : {testing::ThroughXml(*original), testing::ThroughBinary(*original)}) {
      const CSystemArray& section = *read->sections.at(0);
      ASSERT_EQ(section.systems.size(), original->sections.at(0)->systems.size());
      for (size_t s = 0; s < section.systems.size(); ++s) {
        const CStaveArray& system = *section.System(s);
        const CStaveArray& before = *original->sections.at(0)->System(s);
        EXPECT_EQ(system.OwnCaption() != nullptr, !before.Caption().captionText.text.empty()) << s;
        EXPECT_EQ(system.Caption().captionText.text, before.Caption().captionText.text);
        EXPECT_EQ(system.Caption().captionString, before.Caption().captionString);
      }
    }
  }
}

// What we write passes the document check as it stands.
TEST(RoundTrip, WrittenDocumentsPassTheCheck) {
  ScriptedPrompts prompts;
  for (const auto& doc : {NewDocument(), Rich(), Generated()}) {
    const std::string text = doc->XmlText();
    tinyxml2::XMLDocument parsed;
    ASSERT_EQ(parsed.Parse(text.c_str(), text.size()), tinyxml2::XML_SUCCESS);
    EXPECT_TRUE(CheckDocumentXml(parsed));
  }
  EXPECT_TRUE(prompts.messages.empty());
}

// The dumped fields of `a` that `b` lacks or holds with another value, each named by its path
// ("document / settings / pageSettings / fonts / font 14 / lfWeight"), in the order of `a`.
std::vector<std::string> DifferingFields(const std::string& a, const std::string& b) {
  const auto paths = [](const std::string& dump) {
    std::vector<std::string> lines;
    std::vector<std::pair<size_t, std::string>> outer;  // indent and name of the enclosing fields
    size_t start = 0;
    while (start < dump.size()) {
      size_t end = dump.find('\n', start);
      if (end == std::string::npos) end = dump.size();
      const std::string line = dump.substr(start, end - start);
      start = end + 1;
      const size_t indent = line.find_first_not_of(' ');
      if (indent == std::string::npos) continue;
      while (!outer.empty() && outer.back().first >= indent) outer.pop_back();
      std::string path;
      for (const auto& [depth, name] : outer) path += name + " / ";
      lines.push_back(path + line.substr(indent));
      outer.emplace_back(indent, line.substr(indent));
    }
    return lines;
  };
  std::multiset<std::string> right;
  for (std::string& line : paths(b)) right.insert(std::move(line));
  std::vector<std::string> differing;
  for (const std::string& line : paths(a)) {
    const auto found = right.find(line);
    if (found != right.end()) {
      right.erase(found);
    } else {
      differing.push_back(line.substr(0, line.rfind(' ')));
    }
  }
  return differing;
}

// An XML document converted to the binary form and back keeps every value the binary form can
// hold: the fonts' zoom and the ornament definitions' types among them, the page-number font
// (in the page-number text's record) and the fonts the sections' heading texts carry. What it
// has no place for comes back as the binary reader makes it, and saving says so: the system
// titles, an association other than the three it stores, and the small and fingering fonts.
TEST(RoundTrip, TheBinaryFormKeepsWhatItCanHold) {
  ScriptedPrompts prompts;
  auto rich = Rich();
  CDocumentSettings& settings = rich->settings;
  CPageDlg& page = settings.pageSettings;
  for (size_t font = 0; font < kDocumentFontCount; ++font) {
    page.DocumentFont(font).zoom = 100.0f;
    page.DocumentFont(font).pointSize.cx = static_cast<int32_t>(100 + font);
    page.DocumentFont(font).logFont.lfHeight = -static_cast<int32_t>(20 + font);
  }
  rich->sections.at(0)->Title().font.zoom = 75.0f;
  COrnamentTable& ornaments = rich->sections.at(0)->definitions.at(0)->ornaments.table;
  for (size_t i = 0; i < ornaments.size(); ++i) ornaments[i]->type = static_cast<int32_t>(i % 32);
  settings.Text(CDocumentSettings::kSystemTitles).text = "Superius";
  settings.associations["zip-bundle"] = "/home/user/lachrimae.zip";
  const auto fromXml = testing::ThroughXml(*rich);
  const auto converted = testing::ThroughXml(*testing::ThroughBinary(*fromXml));

  std::vector<std::string> expected = {"document / settings / texts / text 6 / text",
                                       "document / settings / associations / zip-bundle"};
  for (const char* font : {"font 14", "font 15"}) {
    for (const char* field : {"lfHeight", "zoom", "pointSize.cx"}) {
      expected.push_back(std::string("document / settings / pageSettings / fonts / ") + font + " / " + field);
    }
  }
  EXPECT_EQ(DifferingFields(DumpDocument(*fromXml), DumpDocument(*converted)), expected);

  EXPECT_EQ(fromXml->settings.BinaryRecordLosses(),
            (std::vector<std::string>{"the system titles", "the \"zip-bundle\" association", "the \"Small font\" font",
                                      "the \"Fingerings\" font"}));
  EXPECT_TRUE(converted->settings.BinaryRecordLosses().empty());
  testing::TempDir dir;
  ASSERT_TRUE(rich->SaveBinary(dir.File("lachrimae.btb")));
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{dir.File("lachrimae.btb") +
                                      "\nThe binary document has no place for the system titles, the \"zip-bundle\" "
                                      "association, the \"Small font\" font and the \"Fingerings\" font: it was saved "
                                      "without them."}));
}

// A font stored with a negative height (an em height) keeps it through a resave and through
// the binary form: the sections' heading fonts, copied from the document's at every open and
// save, among them.
TEST(RoundTrip, FontHeightsStayAsStored) {
  ScriptedPrompts prompts;
  auto doc = Rich();
  for (size_t font = 0; font < kDocumentFontCount; ++font) doc->settings.pageSettings.DocumentFont(font).logFont.lfHeight = -12;
  for (const auto& section : doc->sections.items()) {
    for (const auto& text : section->texts.items()) text->font.logFont.lfHeight = -12;
  }
  const std::string text = doc->XmlText();
  ASSERT_EQ(text.find("lfHeight=\"12\""), std::string::npos);
  for (const auto& read : {testing::ThroughXml(*doc), testing::ThroughXml(*testing::ThroughBinary(*doc))}) {
    EXPECT_EQ(testing::XmlText(*read), text);
  }
}

}  // namespace
}  // namespace vornel
