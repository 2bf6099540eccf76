#include "document/library/DocumentIndex.h"

#include <filesystem>

#include "document/CBriotabDoc.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

void RemoveFirstChildOfEachSection(tinyxml2::XMLElement* sections, const char* name) {
  for (tinyxml2::XMLElement* section = sections->FirstChildElement("section"); section != nullptr;
       section = section->NextSiblingElement("section")) {
    if (tinyxml2::XMLElement* child = section->FirstChildElement(name)) section->DeleteChild(child);
  }
}

}  // namespace

bool WriteDocumentIndex(XMLWriter& writer, const CBriotabDoc& doc, const std::string& folder,
                        const std::string& fileName) {
  writer.Clear();
  writer.InsertEndChild(writer.NewDeclaration(R"(xml version="1.0" encoding="UTF-8")"));
  tinyxml2::XMLElement* root = writer.NewElement("vornel-document");
  SetTextAttribute(root, "root-path", folder);
  SetTextAttribute(root, "filename", fileName);

  tinyxml2::XMLElement* synopsis = writer.NewElement("synopsis");
  synopsis->InsertEndChild(
      AddTextElement(writer, "document-title", doc.settings.Text(CDocumentSettings::kTitle).text));
  synopsis->InsertEndChild(
      AddTextElement(writer, "document-author", doc.settings.Text(CDocumentSettings::kAuthor).text));
  root->InsertEndChild(synopsis);
  writer.InsertEndChild(root);

  tinyxml2::XMLElement* settings = doc.settings.WriteMetadataXml(writer);
  tinyxml2::XMLElement* sections = doc.sections.WriteMetadataXml(writer);
  const int32_t options = doc.settings.bundleOptions;
  if ((options & CDocumentSettings::kBundleFacsimiles) == 0) RemoveFirstChildOfEachSection(sections, "facsimiles");
  if ((options & CDocumentSettings::kBundleMidiFiles) == 0) RemoveFirstChildOfEachSection(sections, "midi-file");
  root->InsertEndChild(settings);
  root->InsertEndChild(sections);
  return true;
}

bool WriteDocumentIndex(XMLWriter& writer, const CBriotabDoc& doc, const std::string& documentPath) {
  const std::filesystem::path path(documentPath);
  return WriteDocumentIndex(writer, doc, path.parent_path().string(), path.filename().string());
}

}  // namespace vornel
