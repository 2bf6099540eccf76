#include "model/score/CSystemArray.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "model/OwnedArrayRecords.h"
#include "model/StoredPath.h"
#include "model/undo/SystemsSnapshot.h"
#include "platform/BuildBudget.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/TextEdits.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

constexpr std::array<std::string_view, CSystemArray::kTextCount> kTextDescriptors = {
    "section-name", "section-author", "section-comments", "end-text"};
constexpr std::array<std::string_view, CSystemArray::kTextCount> kFontDescriptors = {
    "section-titles", "section-authors", "section-comments", "section-end-texts"};

// Staves per page divide the page: a section keeps at least one, and no more than any page
// could hold (the page layout walks its slots).
int32_t SaneStavesPerPage(int32_t value) { return std::clamp(value, 1, 1000); }

}  // namespace

CSystemArray::CSystemArray() : couplets("couplets"), rtfComments("rtf-comments") {
  for (const std::string_view descriptor : kTextDescriptors) texts.push_back(std::make_unique<CTrackText>(descriptor));
  Title().text = std::string(kNewTitle);
  auto definition = std::make_unique<CInstrumentDlg>();
  definition->EnsureStave();
  definitions.push_back(std::move(definition));
  systemBreak_ = std::make_shared<nChord>(kSystemBreakStatus);
  for (size_t i = 0; i < kNewSystemCount; ++i) NewSystem(kAppend);
  // Numbered as every section read from a file is, so a new one stores what it reads back as.
  NumberBars(0);
}

CSystemArray::CSystemArray(std::unique_ptr<SystemsSnapshot> held)
    : couplets("couplets"), rtfComments("rtf-comments"), systemsOnly(std::move(held)) {
  for (const std::string_view descriptor : kTextDescriptors) texts.push_back(std::make_unique<CTrackText>(descriptor));
  systemBreak_ = std::make_shared<nChord>(kSystemBreakStatus);
}

CSystemArray::~CSystemArray() {
  systems.clear();  // the lines before the definitions they point to
}

std::string_view CSystemArray::MovementName(int32_t m) {
  return m >= 0 && static_cast<size_t>(m) < kMovementNames.size() ? kMovementNames[static_cast<size_t>(m)]
                                                                    : std::string_view();
}

int32_t CSystemArray::SystemsOnAPage() const {
  // Laid out pages all hold as many as the first (the last may hold fewer).
  if (pageStarts.size() >= 2 && pageStarts[1] > pageStarts[0]) {
    return static_cast<int32_t>(std::min<size_t>(pageStarts[1] - pageStarts[0], INT32_MAX));
  }
  return std::max(stavesPerPage, 1);
}

size_t CSystemArray::PageCount() const {
  if (!pageStarts.empty()) return pageStarts.size();
  const size_t perPage = static_cast<size_t>(SystemsOnAPage());
  return std::max<size_t>(1, (systems.size() + perPage - 1) / perPage);
}

size_t CSystemArray::PageOfSystem(size_t system) const {
  if (pageStarts.empty()) return system / static_cast<size_t>(SystemsOnAPage());
  const auto after = std::upper_bound(pageStarts.begin(), pageStarts.end(), system);
  return after == pageStarts.begin() ? 0 : static_cast<size_t>(after - pageStarts.begin()) - 1;
}

size_t CSystemArray::FirstSystemOfPage(size_t page) const {
  if (pageStarts.empty()) return page * static_cast<size_t>(SystemsOnAPage());
  // A page past the last starts where the systems end.
  return page < pageStarts.size() ? pageStarts[page] : systems.size();
}

size_t CSystemArray::SystemsOnPage(size_t page) const {
  if (pageStarts.empty()) return static_cast<size_t>(SystemsOnAPage());
  if (page >= pageStarts.size()) return 0;
  const size_t end = page + 1 < pageStarts.size() ? pageStarts[page + 1] : systems.size();
  return end > pageStarts[page] ? end - pageStarts[page] : 0;
}

size_t CSystemArray::ActiveInstrumentIndex() const {
  const int32_t i = ActiveSystem()->activeInstrument;
  if (i < 0) throw std::out_of_range("no active instrument line");
  return static_cast<size_t>(i);
}

CInstrument* CSystemArray::ActiveLine() const { return ActiveSystem()->Line(ActiveInstrumentIndex()); }

CInstrumentDlg* CSystemArray::ActiveDefinition() const { return definitions.at(ActiveInstrumentIndex()); }

// ---------------------------------------------------------------------------------------------
// Binding lines to definitions

void CSystemArray::CheckLineCount(const CStaveArray& system) const {
  if (system.lines.size() != definitions.size()) {
    throw std::out_of_range("a system holds " + std::to_string(system.lines.size()) + " instrument lines for " +
                            std::to_string(definitions.size()) + " instruments");
  }
}

void CSystemArray::CheckLineCounts() const {
  for (const auto& system : systems.items()) {
    if (system != nullptr) CheckLineCount(*system);
  }
}

void CSystemArray::AdoptSystemBreaks() {
  for (const auto& system : systems.items()) AdoptSystemBreaks(*system);
}

void CSystemArray::AdoptSystemBreaks(CStaveArray& system) {
  for (const auto& line : system.lines.items()) {
    for (nChordArray* voice : line->Voices()) {
      // The voice is rebuilt once: taking each break out and putting the shared one in its
      // place would move the rest of the voice for every break.
      std::vector<nChordArray::Handle> events(voice->begin(), voice->end());
      bool adopted = false;
      for (nChordArray::Handle& event : events) {
        if (event == nullptr || event == systemBreak_ || !(*event == *systemBreak_)) continue;
        event = systemBreak_;
        adopted = true;
      }
      if (!adopted) continue;
      voice->DeleteChords();
      for (nChordArray::Handle& event : events) voice->push_back(std::move(event));
    }
  }
}

namespace {

int32_t Within(int32_t value, size_t count) { return count == 0 ? 0 : std::clamp(value, 0, static_cast<int32_t>(count) - 1); }

void ClampActiveIndexes(CStaveArray& system) {
  system.activeInstrument = Within(system.activeInstrument, system.lines.size());
  for (const auto& line : system.lines.items()) line->activeStave = Within(line->activeStave, line->staves.size());
}

}  // namespace

void CSystemArray::ClampActiveIndexes() {
  activeSystem = Within(activeSystem, systems.size());
  for (const auto& system : systems.items()) vornel::ClampActiveIndexes(*system);
}

void CSystemArray::BindLinesAfterXml() {
  CheckLineCounts();
  for (const auto& system : systems.items()) {
    for (size_t j = 0; j < definitions.size(); ++j) system->Line(j)->AttachDefinition(*definitions.at(j));
  }
  AdoptSystemBreaks();
  ClampActiveIndexes();
}

bool CSystemArray::ApplyLoneDefinitionSpacing() {
  if (definitions.size() != 1) return false;
  CInstrumentDlg& only = *definitions.at(0);
  if (only.voicesShownPage == CClef::kBothVoices || only.staves.size() != 1) return false;
  only.spacingBelowPage = 1;
  only.staves.at(0)->spaceBelow = 1;
  return true;
}

void CSystemArray::BindLinesAfterArchive(bool normalise) {
  CheckLineCounts();
  TakeDefinitionStaves(normalise);
  AdoptSystemBreaks();
  ClampActiveIndexes();
}

void CSystemArray::TakeDefinitionStaves(bool normalise) {
  if (normalise) ApplyLoneDefinitionSpacing();
  for (const auto& system : systems.items()) TakeDefinitionStaves(*system);
}

void CSystemArray::TakeDefinitionStaves(CStaveArray& system) {
  for (size_t j = 0; j < definitions.size(); ++j) {
    CInstrumentDlg& definition = *definitions.at(j);
    CInstrument& line = *system.Line(j);
    line.definition = &definition;
    for (size_t k = 0; k < line.staves.size(); ++k) {
      CClef* stave = line.staves.at(k);
      if (stave == nullptr) continue;
      if (k >= definition.staves.size()) definition.staves.push_back(std::make_unique<CClef>(*stave));
      CClef& definitionStave = *definition.staves.at(k);
      definitionStave.definition = &definition;
      definitionStave.tabInstrument = &definition.tabInstrument;
      definitionStave.clefRaise = definition.clefLine;
      stave->CopySettingsFrom(definitionStave);
    }
  }
}

void CSystemArray::AddDefinitionStaves(CStaveArray& system, ArchiveReader* ar) const {
  for (size_t j = 0; j < definitions.size(); ++j) {
    CInstrument& line = *system.Line(j);
    const CInstrumentDlg& definition = *definitions.at(j);
    for (size_t k = line.staves.size(); k < definition.staves.size(); ++k) {
      // A copy that takes no byte of the file.
      if (ar != nullptr) ar->ChargeBuilt(ArchiveReader::BuildWeight<CClef>());
      line.staves.push_back(std::make_unique<CClef>(*definition.staves.at(k)));
    }
  }
}

void CSystemArray::BindCopiedSystem(CStaveArray& system) {
  CheckLineCount(system);
  TakeDefinitionStaves(system);
  AdoptSystemBreaks(system);
  vornel::ClampActiveIndexes(system);
  AddDefinitionStaves(system, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Binary form

void CSystemArray::Store(ArchiveWriter& ar) const {
  const std::string& version = ar.Version();
  ar.WriteObjectArray(systems.items());
  Title().Store(ar);
  key.Store(ar);
  ar.WriteObjectArray(definitions.items());
  couplets.Store(ar);
  captionPicture.Store(ar);
  if (VersionAbove(version, "6.2")) Comments().Store(ar);
  if (VersionAbove(version, "6.51")) EndText().Store(ar);
  if (VersionAbove(version, "6.55")) facsimiles.Store(ar);
  if (VersionAtLeast(version, "7.4")) Author().Store(ar);
  if (VersionAbove(version, "9.6.5.7")) rtfComments.Store(ar);
  for (const int32_t v : {denominator, numerator, tempo, movement, horizontalCursor, captionPosition, stavesPerPage,
                          leftOffset, barOffset, activeSystem, repeats}) {
    ar.WriteI32(v);
  }
  ar.WriteText(midiFilePath);
  ar.WriteI32(flags);
}

void CSystemArray::Load(ArchiveReader& ar) {
  systems.clear();
  definitions.clear();
  LoadArrayOfParts(ar, systems);
  Title().Load(ar);
  key.Load(ar);
  LoadArrayOfParts(ar, definitions);
  couplets.Load(ar);
  captionPicture.Load(ar);
  if (ar.VersionAbove("6.2")) Comments().Load(ar);
  if (ar.VersionAbove("6.51")) EndText().Load(ar);
  if (ar.VersionAbove("6.55")) facsimiles.Load(ar);
  if (ar.VersionAtLeast("7.4")) Author().Load(ar);
  if (ar.VersionAbove("9.6.5.7")) rtfComments.Load(ar);

  denominator = ar.ReadI32();
  numerator = ar.ReadI32();
  tempo = ar.ReadI32();
  movement = ar.ReadI32();
  horizontalCursor = ar.ReadI32();
  captionPosition = ar.ReadI32();
  if (ar.VersionAtLeast("7.3")) stavesPerPage = SaneStavesPerPage(ar.ReadI32());
  if (ar.VersionAtLeast("7.35")) leftOffset = ar.ReadI32();
  if (ar.VersionAtLeast("7.36")) barOffset = ar.ReadI32();
  if (ar.VersionAtLeast("7.9")) activeSystem = ar.ReadI32();
  if (ar.VersionAtLeast("8.3")) repeats = ar.ReadI32();
  if (ar.VersionAbove("9.22")) midiFilePath = ar.ReadText();
  if (ar.VersionAbove("9.6.5.7")) flags = ar.ReadI32();

  if (ar.VersionBelow("9.7.3.1")) leftOffset = 0;
  if (ar.VersionAbove("9.7.4.0") && ar.VersionAtMost("9.7.5.0") && denominator == 2 && ((tempo >> 24) & 0xFF) == 0) {
    tempo |= 0x1000;
  }
  excluded = (flags & kExcludedFromContents) ? 1 : 0;
  if (tempo < 30 && !ar.ExactCopy()) tempo = 120;

  BindLinesAfterArchive(!ar.ExactCopy());
  definitions.LinkAll();
  for (const auto& system : systems.items()) AddDefinitionStaves(*system, &ar);
  // An exact copy takes the computed state of its original instead (CopySection): re-barring
  // here would remake bar lines and bits that the original holds as they are.
  if (ar.ExactCopy()) return;
  try {
    RecalculateSection(false);
  } catch (const BuildBudgetExceeded&) {
    throw;
  } catch (const std::exception&) {
    Prompts().ShowMessage("Error setting instruments", MessageKind::kError);
    numerator = 2;
    denominator = 2;
  }
}

// ---------------------------------------------------------------------------------------------
// XML form

tinyxml2::XMLElement* CSystemArray::WriteTextsXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("section-texts");
  SetIntAttribute(element, "count", kTextCount);
  // The reader trims the title's ends; it is written as it will be read.
  CTrackText title = Title();
  title.text = std::string(TrimBlanks(title.text));
  element->InsertEndChild(title.WriteXml(doc));
  for (const size_t t : {kAuthor, kComments, kEndText}) element->InsertEndChild(texts.at(t)->WriteXml(doc));
  return element;
}

tinyxml2::XMLElement* CSystemArray::WriteSettingsXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("section-settings");
  tinyxml2::XMLElement* signature = doc.NewElement("signature");
  SetIntAttribute(signature, "numerator", numerator);
  SetIntAttribute(signature, "denominator", denominator);
  element->InsertEndChild(signature);
  tinyxml2::XMLElement* tempoElement = doc.NewElement("tempo");
  SetIntAttribute(tempoElement, "movement", movement);
  SetTextAttribute(tempoElement, "movement-name", MovementName(movement));
  SetIntAttribute(tempoElement, "tempo", tempo);
  element->InsertEndChild(tempoElement);
  element->InsertEndChild(key.WriteXml(doc));
  return element;
}

tinyxml2::XMLElement* CSystemArray::WriteXml(tinyxml2::XMLDocument& doc, std::optional<int32_t> position) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out, position); });
}

void CSystemArray::WriteXml(XmlSink& out, std::optional<int32_t> position) const {
  tinyxml2::XMLDocument& doc = out.Document();
  out.Open("section");
  out.Int("active-system", activeSystem);
  if (position) out.Int("index", *position);

  out.Element(WriteTextsXml(doc));

  out.Open("section-layout");
  out.Int("page-break", flags);
  out.Int("bar-offset", barOffset);
  out.Int("left-offset", leftOffset);
  out.Int("horizontal-cursor", horizontalCursor);
  out.Int("caption-position", captionPosition);
  out.Int("staves-per-page", stavesPerPage);
  out.Close();

  out.Open("midi-options");
  out.Int("repeats", repeats != 0 ? 1 : 0);
  out.Attribute("file-path", midiFilePath);
  out.Close();

  out.Element(WriteSettingsXml(doc));
  out.Element(definitions.WriteXml(doc));

  out.Open("accessories");
  out.Element(couplets.WriteXml(doc, "couplets"));
  out.Element(captionPicture.WriteXml(doc));
  out.Element(Comments().WriteXml(doc));
  out.Element(EndText().WriteXml(doc));
  out.Element(facsimiles.WriteXml(doc));
  out.Element(rtfComments.WriteXml(doc, "rtf-comments"));
  out.Close();

  // The systems one at a time: a printing sink never holds more than one system's text.
  out.Open("systems");
  out.Int("count", static_cast<int32_t>(systems.size()));
  int32_t i = 0;
  for (const auto& system : systems.items()) system->WriteXml(out, i++);
  out.Close();
  out.Close();
}

const tinyxml2::XMLElement* CSystemArray::ReadXml(const tinyxml2::XMLElement* element) {
  if (element == nullptr) return nullptr;
  const tinyxml2::XMLElement* systemsElement = ReadXmlHead(element);
  const int32_t count = ReadIntAttribute(systemsElement, "count");
  const tinyxml2::XMLElement* child = systemsElement->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i, child = child->NextSiblingElement()) ReadSystemXml(child);
  FinishXmlRead();
  return element->NextSiblingElement();
}

void CSystemArray::ReadSystemXml(const tinyxml2::XMLElement* element) {
  auto system = std::make_unique<CStaveArray>();
  system->ReadXml(element);
  systems.push_back(std::move(system));
}

void CSystemArray::FinishXmlRead() {
  BindLinesAfterXml();
  RecalculateSection(false);
}

const tinyxml2::XMLElement* CSystemArray::ReadXmlHead(const tinyxml2::XMLElement* element) {
  systems.clear();
  activeSystem = ReadIntAttribute(element, "active-system");

  const tinyxml2::XMLElement* sectionTexts = element->FirstChildElement();
  if (sectionTexts != nullptr) {
    const tinyxml2::XMLElement* text = sectionTexts->FirstChildElement();
    for (const size_t t : {kTitle, kAuthor, kComments, kEndText}) text = texts.at(t)->ReadXml(text);
    Title().text = std::string(TrimBlanks(Title().text));
  }

  const tinyxml2::XMLElement* layout = sectionTexts != nullptr ? sectionTexts->NextSiblingElement() : nullptr;
  if (layout != nullptr) {
    flags = ReadIntAttribute(layout, "page-break");
    barOffset = ReadIntAttribute(layout, "bar-offset");
    leftOffset = ReadIntAttribute(layout, "left-offset");
    horizontalCursor = ReadIntAttribute(layout, "horizontal-cursor");
    captionPosition = ReadIntAttribute(layout, "caption-position");
    stavesPerPage = SaneStavesPerPage(ReadIntAttribute(layout, "staves-per-page"));
    excluded = (flags & kExcludedFromContents) ? 1 : 0;
  }

  const tinyxml2::XMLElement* midi = layout != nullptr ? layout->NextSiblingElement() : nullptr;
  if (midi != nullptr) {
    repeats = ReadIntAttribute(midi, "repeats");
    midiFilePath = ReadTextAttribute(midi, "file-path");
  }

  const tinyxml2::XMLElement* settings = midi != nullptr ? midi->NextSiblingElement() : nullptr;
  if (settings != nullptr) {
    const tinyxml2::XMLElement* signature = settings->FirstChildElement();
    if (signature != nullptr) {
      numerator = ReadIntAttribute(signature, "numerator");
      denominator = ReadIntAttribute(signature, "denominator");
      if (const tinyxml2::XMLElement* tempoElement = signature->NextSiblingElement()) {
        movement = ReadIntAttribute(tempoElement, "movement");
        tempo = ReadIntAttribute(tempoElement, "tempo");
        key.ReadXml(tempoElement->NextSiblingElement());
      }
    }
  }

  const tinyxml2::XMLElement* instruments = settings != nullptr ? settings->NextSiblingElement() : nullptr;
  definitions.clear();
  const tinyxml2::XMLElement* accessories = ExpectChildElement(definitions.ReadXml(instruments), "accessories");
  const tinyxml2::XMLElement* accessory = accessories->FirstChildElement();
  accessory = couplets.ReadXml(accessory);
  accessory = captionPicture.ReadXml(accessory);
  accessory = Comments().ReadXml(accessory);
  accessory = EndText().ReadXml(accessory);
  accessory = facsimiles.ReadXml(accessory);
  rtfComments.ReadXml(accessory);

  return ExpectChildElement(accessories->NextSiblingElement(), "systems");
}

tinyxml2::XMLElement* CSystemArray::WriteMetadataXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("section");

  element->InsertEndChild(WriteTextsXml(doc));

  element->InsertEndChild(WriteSettingsXml(doc));

  tinyxml2::XMLElement* instruments = doc.NewElement("instruments");
  SetIntAttribute(instruments, "count", static_cast<int32_t>(definitions.size()));
  for (const auto& definition : definitions.items()) {
    tinyxml2::XMLElement* instrument = AddTextElement(doc, "instrument", definition->nameText.text);
    SetTextAttribute(instrument, "family", CInstrumentDlg::FamilyName(definition->family));
    instruments->InsertEndChild(instrument);
  }
  element->InsertEndChild(instruments);

  element->InsertEndChild(facsimiles.WriteXml(doc));

  tinyxml2::XMLElement* midiFile = doc.NewElement("midi-file");
  const SplitPath midiParts = SplitStoredPath(midiFilePath);
  SetTextAttribute(midiFile, "file-name", midiParts.name);
  SetTextAttribute(midiFile, "file-path", midiParts.folder);
  element->InsertEndChild(midiFile);
  return element;
}

tinyxml2::XMLElement* CSystemArray::WriteSectionFontsXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("section-fonts");
  SetIntAttribute(element, "count", kTextCount);
  for (size_t t = 0; t < kTextCount; ++t) {
    element->InsertEndChild(texts.at(t)->font.WriteXml(doc, "track-font", kFontDescriptors[t]));
  }
  return element;
}

}  // namespace vornel
