#include "document/CDocumentSettings.h"

#include <algorithm>

#include "model/StoredPath.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

// The associations the binary record keeps, in their stored order.
constexpr std::array<std::string_view, 3> kStoredAssociations = {CDocumentSettings::kImagesPath,
                                                                 CDocumentSettings::kPdfRendition,
                                                                 CDocumentSettings::kHtmlTable};

// Where a new document places its metadata texts (tenths of a millimetre).
struct Placement {
  CDocumentSettings::TextIndex text;
  int32_t x;
  int32_t y;
};
constexpr std::array<Placement, 5> kDefaultPlacements = {{{CDocumentSettings::kTitle, 200, 200},
                                                          {CDocumentSettings::kAuthor, 200, 100},
                                                          {CDocumentSettings::kSource, 200, 300},
                                                          {CDocumentSettings::kCopyright, 200, 400},
                                                          {CDocumentSettings::kTranscriber, 200, 500}}};

// The binary record keeps neither the small font nor the fingering font.
constexpr std::array<size_t, 2> kUnstoredFonts = {kFontSmall, kFontFingerings};

// Two fonts that draw alike: the zoom of the last drawing and the block laid into aside.
bool SameLook(const dfLogFont& a, const dfLogFont& b) {
  return a.logFont == b.logFont && a.pointSize == b.pointSize && a.zoomScale == b.zoomScale && a.color == b.color &&
         a.microTuning == b.microTuning && a.staveAdjust == b.staveAdjust;
}

}  // namespace

CDocumentSettings::CDocumentSettings() {
  editTexts[kEditAuthor] = "Anonymous";
  editTexts[kEditTitle] = "Untitled";
  for (const std::string_view descriptor : kTextDescriptors) texts.push_back(std::make_unique<CTrackText>(descriptor));
  for (const Placement& p : kDefaultPlacements) {
    Text(p.text).x = p.x;
    Text(p.text).y = p.y;
  }
}

std::string CDocumentSettings::Association(std::string_view type) const {
  const auto found = associations.find(std::string(type));
  return found != associations.end() ? found->second : std::string();
}

void CDocumentSettings::Store(ArchiveWriter& ar) const {
  for (size_t i = 0; i < kStoredTextCount; ++i) texts.at(i)->Store(ar);
  pageSettings.Store(ar);
  midiExport.Store(ar);
  titlePage.Store(ar);
  for (const std::string_view type : kStoredAssociations) ar.WriteText(Association(type));
}

std::vector<std::string> CDocumentSettings::BinaryRecordLosses() const {
  const CDocumentSettings fresh;
  std::vector<std::string> lost;
  const CTrackText& titles = Text(kSystemTitles);
  if (!titles.text.empty() || !SameLook(titles.font, fresh.Text(kSystemTitles).font)) lost.emplace_back("the system titles");
  for (const auto& [type, path] : associations) {
    if (!path.empty() && std::find(kStoredAssociations.begin(), kStoredAssociations.end(), type) == kStoredAssociations.end()) {
      lost.push_back("the \"" + type + "\" association");
    }
  }
  for (const size_t font : kUnstoredFonts) {
    if (!SameLook(pageSettings.DocumentFont(font), fresh.pageSettings.DocumentFont(font))) {
      lost.push_back("the \"" + std::string(kDocumentFontRoles[font]) + "\" font");
    }
  }
  return lost;
}

void CDocumentSettings::Load(ArchiveReader& ar) {
  for (size_t i = 0; i < kStoredTextCount; ++i) texts.at(i)->Load(ar);
  pageSettings.Load(ar);
  midiExport.Load(ar);
  titlePage.Load(ar);
  if (ar.VersionAbove("6.57")) associations[std::string(kImagesPath)] = ar.ReadText();
  if (ar.VersionAtLeast("9.27")) {
    associations[std::string(kPdfRendition)] = ar.ReadText();
    associations[std::string(kHtmlTable)] = ar.ReadText();
  }
}

tinyxml2::XMLElement* CDocumentSettings::WriteIdentityXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* identity = doc.NewElement("identity");
  tinyxml2::XMLElement* metadata = texts.WriteXml(doc);
  SetTextAttribute(metadata, "target", "meta-data");
  identity->InsertEndChild(metadata);
  return identity;
}

tinyxml2::XMLElement* CDocumentSettings::WriteXml(tinyxml2::XMLDocument& doc) {
  tinyxml2::XMLElement* element = doc.NewElement("document-settings");
  element->InsertEndChild(WriteIdentityXml(doc));
  element->InsertEndChild(pageSettings.WriteXml(doc));
  element->InsertEndChild(titlePage.WriteXml(doc));
  element->InsertEndChild(WriteAssociationsXml(doc));
  element->InsertEndChild(texts.WriteFontsXml(doc, "metadata-fonts"));
  return element;
}

tinyxml2::XMLElement* CDocumentSettings::WriteMetadataXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("document-settings");
  element->InsertEndChild(WriteIdentityXml(doc));
  element->InsertEndChild(titlePage.WriteMetadataXml(doc));
  element->InsertEndChild(WriteAssociationsXml(doc));
  return element;
}

const tinyxml2::XMLElement* CDocumentSettings::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "document-settings");
  const tinyxml2::XMLElement* identity = ExpectChildElement(element->FirstChild(), "identity");
  texts.ReadXml(identity->FirstChildElement());
  const tinyxml2::XMLElement* next = pageSettings.ReadXml(identity->NextSiblingElement());
  next = titlePage.ReadXml(next);
  next = ReadAssociationsXml(ExpectChildElement(next, "associations"));
  texts.ReadFontsXml(next);
  return element->NextSiblingElement();
}

tinyxml2::XMLElement* CDocumentSettings::WriteAssociationsXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("associations");
  SetIntAttribute(element, "count", static_cast<int32_t>(associations.size()));
  for (const auto& [type, path] : associations) {
    const SplitPath split = SplitStoredPath(path);
    tinyxml2::XMLElement* association = AddTextElement(doc, "association", split.name);
    SetTextAttribute(association, "type", type);
    SetTextAttribute(association, "root-path", split.folder);
    element->InsertEndChild(association);
  }
  return element;
}

const tinyxml2::XMLElement* CDocumentSettings::ReadAssociationsXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "associations");
  int32_t count = ReadIntAttribute(element, "count");
  if (count == 0) count = 3;
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i, child = child->NextSiblingElement()) {
    // The folder counts even without a file name: an association may name a folder, and a
    // folder written without its file must not come back empty.
    associations[ReadTextAttribute(child, "type")] = ReadTextAttribute(child, "root-path") + ElementText(child);
  }
  return element->NextSiblingElement();
}

void CDocumentSettings::ClearTexts() {
  for (std::string& text : editTexts) text.clear();
  texts.ClearTexts();
  titlePage.texts.ClearTexts();
  linearMode = 0;
}

void CDocumentSettings::CopyFormatFrom(const CDocumentSettings& other) {
  texts.CopyFormatFrom(other.texts);
  titlePage.texts.CopyFormatFrom(other.titlePage.texts);
  titlePage.frameStyle = other.titlePage.frameStyle;
  titlePage.columns = other.titlePage.columns;
  titlePage.sectionPosition = other.titlePage.sectionPosition;
  titlePage.printTitlepage = (titlePage.printTitlepage & ~1) | (other.titlePage.printTitlepage & 1);
  pageSettings.CopySettings(other.pageSettings);
}

int32_t CDocumentSettings::GetCursorStepsPerPage() const {
  const int64_t width = pageSettings.PaperSizeTenths().cx;
  return static_cast<int32_t>(std::max<int64_t>(1, width / std::max<uint32_t>(pageSettings.cursorWidth, 1)));
}

}  // namespace vornel
