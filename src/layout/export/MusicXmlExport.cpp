#include "layout/export/MusicXmlExport.h"

#include <chrono>
#include <ctime>
#include <string_view>

#include "document/CBriotabDoc.h"
#include "layout/export/CMusicXMLPrinter.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XMLWriter.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

// Builds a section's elements as a tree sink does, except what stands inside "systems": the
// printer takes each voice from the section when it comes to it, so the export never holds a
// tree of the whole section.
class WithoutSystemsSink : public XmlSink {
 public:
  explicit WithoutSystemsSink(tinyxml2::XMLDocument& doc) : tree_(doc) {}

  void Open(const char* name) override {
    if (skipped_ > 0 || insideSystems_) {
      ++skipped_;
      return;
    }
    insideSystems_ = std::string_view(name) == "systems";
    tree_.Open(name);
  }
  void Attribute(const char* name, std::string_view value) override {
    if (skipped_ == 0) tree_.Attribute(name, value);
  }
  void Text(std::string_view text) override {
    if (skipped_ == 0) tree_.Text(text);
  }
  void Close() override {
    if (skipped_ > 0) {
      --skipped_;
      return;
    }
    insideSystems_ = false;
    tree_.Close();
  }
  void Element(tinyxml2::XMLElement* element) override {
    if (skipped_ > 0 || insideSystems_) {
      tree_.Document().DeleteNode(element);
      return;
    }
    tree_.Element(element);
  }
  tinyxml2::XMLDocument& Document() override { return tree_.Document(); }

  tinyxml2::XMLElement* Root() const { return tree_.Root(); }

 private:
  XmlTreeSink tree_;
  bool insideSystems_ = false;  // "systems" is the element open last
  size_t skipped_ = 0;          // depth inside an element left out
};

}  // namespace

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
  const CSystemArray& sectionModel = *doc.sections.at(section);
  WithoutSystemsSink sink(tree);
  sectionModel.WriteXml(sink, index);
  list->InsertEndChild(sink.Root());

  std::string text;
  musicxml_export::CMusicXMLPrinter printer(text, index, sectionModel, date);
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
