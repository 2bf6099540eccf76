#include "layout/export/MusicXmlExport.h"

#include <chrono>
#include <ctime>

#include "document/CBriotabDoc.h"
#include "layout/export/CMusicXMLPrinter.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

std::string ExportDate::Text() const {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

ExportDate ExportDate::Today() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  return ExportDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::optional<std::string> SectionMusicXmlText(CBriotabDoc& doc, size_t section, const ExportDate& date) {
  if (section >= doc.sections.size()) return std::nullopt;
  // The document as its own writer writes it: the settings, then the one section under its
  // place in the list.
  XMLWriter tree;
  tree.InsertEndChild(tree.NewDeclaration("xml version=\"1.0\" encoding=\"UTF-8\""));
  tinyxml2::XMLElement* root = tree.NewElement(std::string(CBriotabDoc::kXmlRoot).c_str());
  tree.InsertEndChild(root);
  root->InsertEndChild(doc.settings.WriteXml(tree));
  tinyxml2::XMLElement* list = tree.NewElement("sections");
  root->InsertEndChild(list);
  const int32_t index = static_cast<int32_t>(section);
  list->InsertEndChild(doc.sections.at(section)->WriteXml(tree, index));

  std::string text;
  musicxml_export::CMusicXMLPrinter printer(text, index, date);
  tree.Accept(&printer);
  if (!printer.SectionWritten()) return std::nullopt;
  return text;
}

int WriteSectionMusicXml(CBriotabDoc& doc, const std::string& path, int section, const ExportDate& date) {
  if (section < 0) return 0;
  const std::optional<std::string> text = SectionMusicXmlText(doc, static_cast<size_t>(section), date);
  return text && WriteFileAtomically(path, *text) ? 1 : 0;
}

}  // namespace vornel
