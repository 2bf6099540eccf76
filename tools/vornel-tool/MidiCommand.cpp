// midi IN.btxml|.btz OUT.mid [--section N]: the Standard MIDI File of a section of a document.
// midi-import IN.mid OUT.btxml: a MIDI file imported with the default choices (every track
// with notes, the default instrument) into a document of one section.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "ToolCommand.h"
#include "document/CMIDIExportDlg.h"
#include "document/zip/ZipBundle.h"
#include "midi/MidiImport.h"
#include "midi/MidiSection.h"
#include "model/CInstrumentDlg.h"
#include "model/CSectionArray.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XMLWriter.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel::tool {

namespace {

// The system's messages go to the standard error stream.
class PrintedPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view text, MessageKind) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// The sections of an XML document or of the document inside a bundle. The binary document is
// read by the document object, which this tool does not have yet.
std::unique_ptr<CSectionArray> ReadSections(const std::string& path) {
  const std::string ext = Extension(path);
  UnzippedBundle bundle;
  std::string xmlPath = path;
  if (ext == ".btz") {
    bundle = UnzipBundle(path);
    if (bundle.status != BundleStatus::kExtracted) {
      std::fprintf(stderr, "%s: no document in this bundle\n", path.c_str());
      return nullptr;
    }
    xmlPath = bundle.documentPath;
  } else if (ext != ".btxml" && ext != ".xml") {
    std::fprintf(stderr, "%s: only XML documents and bundles are read here\n", path.c_str());
    return nullptr;
  }
  // The sections are read without the whole document's check: the document settings belong
  // to the document object, and the documents this tool writes carry only their fonts.
  const auto bytes = ReadFileBytes(xmlPath);
  tinyxml2::XMLDocument doc;
  if (!bytes || doc.Parse(reinterpret_cast<const char*>(bytes->data()), bytes->size()) != tinyxml2::XML_SUCCESS ||
      doc.RootElement() == nullptr || std::string_view(doc.RootElement()->Name()) != "VornelTabXML") {
    std::fprintf(stderr, "%s: not an XML document of this program\n", path.c_str());
    return nullptr;
  }
  const tinyxml2::XMLElement* sections = doc.RootElement()->FirstChildElement("sections");
  if (sections == nullptr) return nullptr;
  auto list = std::make_unique<CSectionArray>();
  try {
    list->ReadXml(sections);
  } catch (const XmlTagMismatch&) {
    return nullptr;
  } catch (const std::out_of_range&) {
    return nullptr;
  }
  return list;
}

int Midi(const CommandArguments& args) {
  std::optional<long> sectionNumber;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--section" && i + 1 < args.size()) {
      sectionNumber = std::strtol(args[++i].c_str(), nullptr, 10);
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) {
    std::fprintf(stderr, "usage: vornel-tool midi IN.btxml|IN.btz OUT.mid [--section N]\n");
    return 2;
  }
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::unique_ptr<CSectionArray> sections = ReadSections(files[0]);
  if (!sections || sections->empty()) {
    std::fprintf(stderr, "%s: no section could be read\n", files[0].c_str());
    return 1;
  }
  // Sections are numbered from 1 as the sections pane lists them; the active one by default.
  const long index = sectionNumber ? *sectionNumber - 1 : std::max<long>(sections->activeSection, 0);
  if (index < 0 || static_cast<size_t>(index) >= sections->size()) {
    std::fprintf(stderr, "%s: there is no section %ld\n", files[0].c_str(), index + 1);
    return 1;
  }
  return WriteSectionMidiFile(*sections->at(static_cast<size_t>(index)), CMIDIExportDlg{}, MidiExportOptions{},
                              files[1])
             ? 0
             : 1;
}

int MidiImport(const CommandArguments& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: vornel-tool midi-import IN.mid OUT.btxml\n");
    return 2;
  }
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  AllTracksChooser chooser;
  CInstrumentDlg defaultDefinition;
  defaultDefinition.EnsureStave();
  std::unique_ptr<CSystemArray> section = ImportMidiFile(args[0], chooser, nullptr, defaultDefinition);
  if (section == nullptr) return 1;

  size_t notes = 0;
  for (const auto& system : section->systems) {
    for (const auto& line : system->lines) {
      for (size_t v = 0; v < 2; ++v) {
        for (const auto& e : line->Voice(v)) notes += (e != nullptr && e->IsChord()) ? e->notes.size() : 0;
      }
    }
  }
  const size_t lines = section->definitions.size();

  CSectionArray list;
  list.push_back(std::move(section));
  list.activeSection = 0;
  list.Renumber();
  // The document as far as the score goes: its settings are the document object's, which this
  // tool does not have yet; they hold only the section's fonts here, so the file passes the
  // document check once the document object writes them whole.
  XMLWriter doc;
  doc.SetFileName(args[1], true);
  tinyxml2::XMLElement* root = doc.NewElement("VornelTabXML");
  root->SetAttribute("version", "1.0");
  SetIntAttribute(root, "major", 6);
  SetIntAttribute(root, "minor", 0);
  doc.InsertEndChild(root);
  tinyxml2::XMLElement* settings = doc.NewElement("document-settings");
  settings->InsertEndChild(list.at(0)->WriteSectionFontsXml(doc));
  root->InsertEndChild(settings);
  root->InsertEndChild(list.WriteXml(doc));
  if (!doc.SaveToFile(false)) {
    std::fprintf(stderr, "%s: cannot be written\n", args[1].c_str());
    return 1;
  }
  std::printf("lines %zu notes %zu\n", lines, notes);
  return 0;
}

const ToolCommand midiRegistration("midi", "midi IN.btxml|IN.btz OUT.mid [--section N]",
                                   "write a section of a document as a Standard MIDI File", Midi);
const ToolCommand importRegistration("midi-import", "midi-import IN.mid OUT.btxml",
                                     "import a MIDI file into a document of one section", MidiImport);

}  // namespace

}  // namespace vornel::tool
