#include "document/library/ZipPackage.h"

#include <filesystem>
#include <set>

#include "document/CBriotabDoc.h"
#include "document/library/DocumentIndex.h"
#include "document/zip/ZipBundle.h"
#include "model/StoredPath.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

std::string Attribute(const tinyxml2::XMLElement* element, const char* name) {
  const char* value = element->Attribute(name);
  return value != nullptr ? std::string(value) : std::string();
}

// Collects the files in the order found, one entry per path, and names them uniquely.
class PackageList {
 public:
  explicit PackageList(const std::string& documentPath)
      : folder_(fs::path(documentPath).parent_path().lexically_normal()) {
    names_.insert(kPackageManifestName);  // the manifest's name is kept for it
  }

  void Add(const std::string& path, const std::string& type) {
    if (path.empty() || !seen_.insert(path).second) return;
    files_.push_back({path, type, UniqueName(path)});
  }

  std::vector<PackageFile> Take() { return std::move(files_); }

 private:
  std::string UniqueName(const std::string& path) {
    const fs::path file = fs::path(path).lexically_normal();
    std::string name;
    const fs::path relative = file.lexically_relative(folder_);
    if (!folder_.empty() && !relative.empty() && *relative.begin() != "..") name = relative.generic_string();
    if (name.empty()) name = SplitStoredPath(path).name;
    if (name.empty()) name = "file";
    std::string candidate = name;
    const fs::path named(name);
    for (int n = 2; names_.count(AsciiLower(candidate)) != 0; ++n) {
      candidate = (named.parent_path() / (named.stem().string() + "-" + std::to_string(n) +
                                          named.extension().string())).generic_string();
    }
    names_.insert(AsciiLower(candidate));
    return candidate;
  }

  fs::path folder_;
  std::set<std::string> seen_;
  std::set<std::string> names_;  // compared without regard to case, as unpacking may
  std::vector<PackageFile> files_;
};

const tinyxml2::XMLElement* Child(const tinyxml2::XMLElement* element, const char* name) {
  return element != nullptr ? element->FirstChildElement(name) : nullptr;
}

}  // namespace

std::vector<PackageFile> ListPackageFiles(const tinyxml2::XMLDocument& index, const std::string& documentPath) {
  PackageList list(documentPath);
  list.Add(documentPath, "vornel-file");
  const tinyxml2::XMLElement* root = index.RootElement();
  const tinyxml2::XMLElement* settings = Child(root, "document-settings");

  for (const tinyxml2::XMLElement* association = Child(Child(settings, "associations"), "association");
       association != nullptr; association = association->NextSiblingElement("association")) {
    const std::string name = ElementText(association);
    if (name.empty() || EndsWithNoCase(name, "zip")) continue;
    list.Add(JoinStoredPath(Attribute(association, "root-path"), name), Attribute(association, "type"));
  }

  const tinyxml2::XMLElement* image = Child(Child(Child(settings, "preliminaries"), "title-elements"), "dib-image");
  if (image != nullptr && !Attribute(image, "name").empty()) {
    list.Add(JoinStoredPath(Attribute(image, "path"), Attribute(image, "name")), "titlepage-image");
  }

  for (const tinyxml2::XMLElement* section = Child(Child(root, "sections"), "section"); section != nullptr;
       section = section->NextSiblingElement("section")) {
    // The index holds facsimiles only when its option asks for them.
    for (const tinyxml2::XMLElement* facsimile = Child(Child(section, "facsimiles"), "image"); facsimile != nullptr;
         facsimile = facsimile->NextSiblingElement("image")) {
      if (Attribute(facsimile, "location") != "disk") continue;
      list.Add(JoinStoredPath(Attribute(facsimile, "path"), Attribute(facsimile, "name")), "facsimile-image");
    }
    const tinyxml2::XMLElement* midi = Child(section, "midi-file");
    if (midi != nullptr && !Attribute(midi, "file-name").empty()) {
      list.Add(JoinStoredPath(Attribute(midi, "file-path"), Attribute(midi, "file-name")), "midi");
    }
  }
  return list.Take();
}

void AddFilesList(tinyxml2::XMLDocument& index, const std::vector<PackageFile>& files) {
  tinyxml2::XMLElement* synopsis = index.RootElement() != nullptr ? index.RootElement()->FirstChildElement("synopsis") : nullptr;
  if (synopsis == nullptr) return;
  tinyxml2::XMLElement* list = index.NewElement("files-list");
  SetIntAttribute(list, "count", static_cast<int32_t>(files.size()));
  for (const PackageFile& file : files) {
    tinyxml2::XMLElement* element = AddTextElement(index, "file", file.path);
    SetTextAttribute(element, "type", file.type);
    SetTextAttribute(element, "name", file.entryName);
    list->InsertEndChild(element);
  }
  synopsis->InsertEndChild(list);
}

bool WriteZipPackage(const CBriotabDoc& doc, const std::string& documentPath, const std::string& zipPath) {
  XMLWriter index;
  WriteDocumentIndex(index, doc, documentPath);
  std::vector<PackageFile> files = ListPackageFiles(index, documentPath);
  // Paths of other systems and files moved away cannot be packed: they are left out, and
  // the user is told which.
  std::string missing;
  std::erase_if(files, [&missing](const PackageFile& file) {
    std::error_code ec;
    if (fs::is_regular_file(file.path, ec)) return false;
    missing += "\n" + file.path;
    return true;
  });
  if (!missing.empty()) {
    Prompts().ShowMessage("These files were not found and are left out of the package:" + missing,
                          MessageKind::kWarning);
  }
  AddFilesList(index, files);

  // The manifest is written in a folder of ours, so that no file of the document's folder is
  // replaced by it.
  TemporaryFolder folder;
  const std::string manifest = folder.Create() ? folder.Path() + "/" + kPackageManifestName : std::string();
  if (manifest.empty() || !WriteFileAtomically(manifest, index.ToXmlText())) {
    Prompts().ShowMessage("Unable to write the package manifest " + std::string(kPackageManifestName),
                          MessageKind::kError);
    return false;
  }
  std::vector<ZipEntrySource> entries;
  for (const PackageFile& file : files) entries.push_back({file.entryName, file.path});
  entries.push_back({kPackageManifestName, manifest});
  return WriteZipOfFiles(entries, zipPath);
}

}  // namespace vornel
