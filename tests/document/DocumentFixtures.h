#pragma once
// Documents for the document tests: one with a value other than its default in the fields
// that both file forms keep, and helpers that write and read them through either form.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "document/CVornelTabDoc.h"
#include "document/DocumentDump.h"
#include "model/events/CMetaEvent.h"
#include "model/ScoreText.h"
#include "model/voice/nChord.h"
#include "platform/xml/XMLWriter.h"
#include "support/ScriptedPrompts.h"

namespace vornel::testing {

inline void AddMeta(nChord& chord, uint8_t kind, std::string_view text, uint32_t value, int32_t cx, int32_t cy) {
  auto meta = std::make_unique<CMetaEvent>(kind, text, value, cx, cy);
  meta->location.notationCx = 120;
  meta->location.tablatureCy = -40;
  chord.metaEvents.push_back(std::move(meta));
}

// A document whose settings and one section of two instruments hold values other than their
// defaults, with notes and meta-events in both voices.
inline std::unique_ptr<CVornelTabDoc> RichDocument() {
  auto doc = std::make_unique<CVornelTabDoc>();
  CDocumentSettings& s = doc->settings;
  s.Text(CDocumentSettings::kTitle).text = "Lachrimae";
  s.Text(CDocumentSettings::kAuthor).text = "John Dowland";
  s.Text(CDocumentSettings::kSource).text = "London, 1604";
  s.Text(CDocumentSettings::kTranscriber).text = "A. Scribe";
  s.Text(CDocumentSettings::kCopyright).text = "Public domain";
  s.Text(CDocumentSettings::kComments).text = "Seven passionate pavans\nin five parts";
  s.Text(CDocumentSettings::kTitle).font.logFont.lfFaceName = "Garamond";
  s.Text(CDocumentSettings::kTitle).font.pointSize = {240, 0};
  s.Text(CDocumentSettings::kAuthor).dx = 15;
  s.associations["images-path"] = "/home/user/images/";
  s.associations["pdf-rendition"] = "C:\\scores\\lachrimae.pdf";
  s.associations["html-table"] = "";
  s.pageSettings.systemsPerPage = 7;
  s.pageSettings.topMargin = 300;
  s.pageSettings.pageText = "Lachrimae";
  s.pageSettings.landscape = 1;
  s.pageSettings.printAllSections = 1;
  s.titlePage.printTitlepage = 1;
  s.titlePage.dateStamp = 1;
  s.titlePage.columns = 1;
  s.titlePage.Text(CTitlePage::kTitle).text = "Lachrimae, or Seaven Teares";

  doc->sections.push_back(std::make_unique<CSystemArray>());
  doc->sections.activeSection = 0;
  CSystemArray& section = *doc->sections.at(0);
  auto bass = std::make_unique<CInstrumentDlg>();
  bass->nameText.text = "Bass viol";
  bass->family = 5;
  bass->midi.patch = 42;
  bass->midi.volume = 90;
  section.AddInstrument(std::move(bass));
  while (section.systems.size() > 2) section.systems.erase(section.systems.size() - 1);
  section.Title().text = "Lachrimae Antiquae";
  section.Author().text = "J. D.";
  section.numerator = 2;
  section.denominator = 2;
  section.tempo = 80;
  section.movement = 5;
  section.stavesPerPage = 5;
  section.midiFilePath = "lachrimae.mid";
  section.key.alterations = 1;
  section.key.bemol = 1;
  section.Definition(0)->nameText.text = "Lute in G";

  nChordArray& lute = section.System(0)->Line(0)->firstVoice;
  lute.push_back(MarkedChord(2, {67, 62, 55}));
  AddMeta(*lute.back(), CMetaEvent::kLyrics, "Flow", 0, 1, 2);
  lute.push_back(MarkedChord(3, {69}));
  AddMeta(*lute.back(), CMetaEvent::kFermata, "", 0, 0, 0);
  lute.push_back(std::make_unique<nChord>(nChord::kBarLine));
  lute.push_back(MarkedChord(2 | 0x8, {65, 57}));
  section.System(0)->Line(0)->secondVoice.push_back(MarkedChord(1, {43}));
  nChordArray& viol = section.System(0)->Line(1)->firstVoice;
  viol.push_back(MarkedChord(1, {50}));
  AddMeta(*viol.back(), CMetaEvent::kCaption, "Bass", 3, 4, 5);
  section.System(1)->Line(1)->firstVoice.push_back(MarkedChord(1, {48}));
  section.System(1)->EditCaption().captionString = "Second strain";
  section.System(1)->EditCaption().captionText.text = "Second strain";
  return doc;
}

// The document read back from its binary form.
inline std::unique_ptr<CBriotabDoc> ThroughBinary(const CBriotabDoc& doc) {
  auto read = std::make_unique<CBriotabDoc>();
  const std::vector<uint8_t> bytes = doc.StoreBinary();
  EXPECT_TRUE(read->LoadBinary(bytes));
  return read;
}

inline std::string XmlText(CBriotabDoc& doc) { return doc.XmlText(); }

// The document read back from its XML form.
inline std::unique_ptr<CBriotabDoc> ThroughXml(CBriotabDoc& doc) {
  auto read = std::make_unique<CBriotabDoc>();
  EXPECT_TRUE(read->ReadXmlText(XmlText(doc)));
  return read;
}

}  // namespace vornel::testing
