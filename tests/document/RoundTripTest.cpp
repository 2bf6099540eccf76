// A document the program wrote, opened and saved again, gives the same bytes: documents made
// new, built in code, read from our earlier files and holding awkward texts, in both forms.

#include <gtest/gtest.h>

#include <functional>
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

// A carriage return alone and before a line feed, a tab, spaces at both ends and characters
// outside the Basic Multilingual Plane (a G clef and a lute emoji).
constexpr std::string_view kAwkward = "  Flow\rmy\r\ntears\tfall \xF0\x9D\x84\x9E \xF0\x9F\xAA\x95  ";

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
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(RoundTrip, SecondSaveIsByteIdentical) {
  for (const char* extension : {".btxml", ".btb"}) {
    ScriptedPrompts prompts;
    std::unique_ptr<CVornelTabDoc> doc = GetParam().make();
    ASSERT_NE(doc, nullptr);
    testing::ExpectStableResave(*doc, extension);
    EXPECT_TRUE(prompts.messages.empty()) << extension << ": " << ::testing::PrintToString(prompts.messages);
  }
}

INSTANTIATE_TEST_SUITE_P(Documents, RoundTrip,
                         ::testing::Values(Case{"new", NewDocument}, Case{"rich", Rich},
                                           Case{"awkward_texts", AwkwardTexts}, Case{"generated", Generated},
                                           Case{"version_7_2", FromOldFile("7.2")},
                                           Case{"version_9_16", FromOldFile("9.16")},
                                           Case{"version_9_8_1_0", FromOldFile("9.8.1.0")},
                                           Case{"our_binary_fixture", FromOurBinaryFixture}),
                         [](const auto& info) { return std::string(info.param.name); });

// The texts keep every character, carriage returns included; only the XML reader trims the
// ends of a section's title.
TEST(RoundTrip, AwkwardTextsSurviveBothForms) {
  ScriptedPrompts prompts;
  auto doc = AwkwardTexts();
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

// The dumped fields of `a` that differ in `b`, each named by its path ("settings / pageSettings
// / fonts / font 14 / lfWeight").
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
  const std::vector<std::string> left = paths(a);
  const std::vector<std::string> right = paths(b);
  std::vector<std::string> differing;
  for (size_t i = 0; i < left.size(); ++i) {
    if (i >= right.size() || left[i] != right[i]) differing.push_back(left[i].substr(0, left[i].rfind(' ')));
  }
  return differing;
}

// An XML document converted to the binary form and back keeps every value the binary form can
// hold: the fonts' zoom and the ornament definitions' types among them. What it cannot hold
// comes back as the binary reader makes it: page fonts 6, 7, 12, 14 and 15 are not in the
// binary form (the page-number text takes font 12), and a stored face "TabDefault" stands for
// the face the font had before.
TEST(RoundTrip, TheBinaryFormKeepsWhatItCanHold) {
  ScriptedPrompts prompts;
  auto rich = Rich();
  CPageDlg& page = rich->settings.pageSettings;
  for (size_t font = 0; font < kDocumentFontCount; ++font) page.DocumentFont(font).zoom = 100.0f;
  rich->sections.at(0)->Title().font.zoom = 75.0f;
  COrnamentTable& ornaments = rich->sections.at(0)->definitions.at(0)->ornaments.table;
  for (size_t i = 0; i < ornaments.size(); ++i) ornaments[i]->type = static_cast<int32_t>(i % 32);
  const auto fromXml = testing::ThroughXml(*rich);
  const auto converted = testing::ThroughXml(*testing::ThroughBinary(*fromXml));

  std::vector<std::string> lost;
  for (const std::string& field : DifferingFields(DumpDocument(*fromXml), DumpDocument(*converted))) {
    const bool notInBinary = field.find("pageSettings / fonts / font 6 /") != std::string::npos ||
                             field.find("pageSettings / fonts / font 7 /") != std::string::npos ||
                             field.find("pageSettings / fonts / font 12 /") != std::string::npos ||
                             field.find("pageSettings / fonts / font 14 /") != std::string::npos ||
                             field.find("pageSettings / fonts / font 15 /") != std::string::npos ||
                             field.find("pageSettings / pageNumberText / font /") != std::string::npos;
    if (!notInBinary) lost.push_back(field);
  }
  EXPECT_EQ(lost, std::vector<std::string>{});
}

}  // namespace
}  // namespace vornel
