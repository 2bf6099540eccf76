#include "shell/library/CVornelDatabase.h"

#include <algorithm>
#include <filesystem>

#include "document/CBriotabDoc.h"
#include "document/DocumentFiles.h"
#include "document/library/HtmlPage.h"
#include "model/OwnedArrayRecords.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveError.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/io/FileIO.h"
#include "platform/io/ProgramLauncher.h"
#include "platform/xml/XmlHelpers.h"
#include "shell/files/FileHelpers.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

// A group holds at most this many members and a member this many sections; a file that
// claims more is damaged.
constexpr size_t kMaxEntries = 100000;
constexpr size_t kMaxSections = 100000;
constexpr size_t kMaxTextList = 100000;

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

std::string SingleBackslashes(std::string text) {
  for (size_t at = text.find("\\\\"); at != std::string::npos; at = text.find("\\\\", at)) text.erase(at, 1);
  return text;
}

std::string TrimLeading(std::string text, char c) {
  text.erase(0, text.find_first_not_of(c) == std::string::npos ? text.size() : text.find_first_not_of(c));
  return text;
}

std::string WithoutTrailingSlashes(std::string text) {
  while (text.size() > 1 && (text.back() == '/' || text.back() == '\\')) text.pop_back();
  return text;
}

// `text` with a leading `prefix` taken off, when it starts with it at a separator boundary.
bool StripLeadingFolder(std::string& text, const std::string& prefix) {
  if (prefix.empty() || !text.starts_with(prefix)) return false;
  if (text.size() > prefix.size() && text[prefix.size()] != '\\' && prefix.back() != '\\') return false;
  text.erase(0, prefix.size());
  return true;
}

std::string NormalPath(const std::string& path) { return fs::path(path).lexically_normal().string(); }

tinyxml2::XMLElement* NumberedElement(tinyxml2::XMLDocument& doc, const char* name, const char* attribute,
                                      size_t count) {
  tinyxml2::XMLElement* element = doc.NewElement(name);
  SetIntAttribute(element, attribute, static_cast<int32_t>(count));
  return element;
}

}  // namespace

void CDataBaseSectionForm::Store(ArchiveWriter& ar) const {
  ar.WriteText(title);
  ar.WriteText(secondText);
  ar.WriteText(thirdText);
  ar.WriteI32(index);
  ar.WriteCount(textList.size());
  for (const std::string& text : textList) ar.WriteText(text);
}

void CDataBaseSectionForm::Load(ArchiveReader& ar) {
  title = ar.ReadText();
  secondText = ar.ReadText();
  thirdText = ar.ReadText();
  index = ar.ReadI32();
  const size_t count = ar.ReadCount(1);
  if (count > kMaxTextList) ar.Fail(ArchiveErrorCode::kBadCount, "too many texts in a section entry");
  textList.clear();
  for (size_t i = 0; i < count; ++i) textList.push_back(ar.ReadText());
}

void CDataBaseDocForm::Store(ArchiveWriter& ar) const {
  ar.WriteText(title);
  ar.WriteText(extraText1);
  ar.WriteText(extraText2);
  ar.WriteText(extraText3);
  ar.WriteText(storedPath);
  ar.WriteText(extraText4);
  ar.WriteObjectArray(sections.items());
}

void CDataBaseDocForm::Load(ArchiveReader& ar) {
  title = ar.ReadText();
  extraText1 = ar.ReadText();
  extraText2 = ar.ReadText();
  extraText3 = ar.ReadText();
  storedPath = ar.ReadText();
  extraText4 = ar.ReadText();
  LoadArrayOfParts(ar, sections, kMaxSections);
  sectionCount = static_cast<int32_t>(sections.size());
}

CVornelDatabase::CVornelDatabase(std::string documentRoot)
    : version(kCurrentFormatVersion), documentRoot_(std::move(documentRoot)) {}

std::vector<uint8_t> CVornelDatabase::StoreBytes() const {
  ArchiveWriter ar;
  ar.WriteText(kFileMagic);
  ar.WriteText(kCurrentFormatVersion);
  ar.WriteText(rootPath);
  ar.WriteText(title);
  ar.WriteObjectArray(entries.items());
  return ar.TakeBytes();
}

void CVornelDatabase::LoadBytes(std::span<const uint8_t> bytes) {
  ArchiveReader ar(bytes);
  ar.ReadText();  // the file's name for itself, not checked
  std::string readVersion = ar.ReadText();
  std::string readRoot = ar.ReadText();
  // Groups written up to "7.5" had no title: the root stands for it.
  std::string readTitle = VersionAtMost(readVersion, "7.5") ? readRoot : ar.ReadText();
  ar.SetVersion(readVersion);
  OwnedArray<CDataBaseDocForm> read;
  LoadArrayOfParts(ar, read, kMaxEntries);
  version = std::move(readVersion);
  rootPath = std::move(readRoot);
  title = std::move(readTitle);
  entries = std::move(read);
  RenumberEntries();
}

bool CVornelDatabase::Save() {
  std::string error;
  if (WriteFileAtomically(pathName_, StoreBytes(), &error)) return true;
  Prompts().ShowMessage("Cannot save database file: " + pathName_ + (error.empty() ? "" : "\n" + error),
                        MessageKind::kError);
  return false;
}

bool CVornelDatabase::OpenFile(const std::string& path) {
  // A group file is small: a cap keeps a stray large file from being read whole.
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, size_t(64) << 20);
  if (!bytes) return false;
  try {
    LoadBytes(*bytes);
  } catch (const ArchiveError&) {
    return false;
  }
  pathName_ = path;
  return true;
}

bool CVornelDatabase::OnOpenDocument(const std::string& groupFolder, const std::string& name) {
  if (!OpenFile((fs::path(groupFolder) / name).string())) {
    Prompts().ShowMessage("Cannot open database file: " + name, MessageKind::kError);
    return false;
  }
  return true;
}

void CVornelDatabase::RenumberEntries() {
  for (size_t i = 0; i < entries.size(); ++i) entries.at(i)->index = static_cast<int32_t>(i);
}

std::string CVornelDatabase::ResolveStoredPath(const std::string& stored) const {
  std::string text = stored;
  if (text.starts_with(kPortableRoot)) {
    text = WithoutTrailingSlashes(documentRoot_) + "/" + TrimLeading(text.substr(kPortableRoot.size()), '\\');
  }
  return NormalPath(Replaced(text, '\\', '/'));
}

std::string CVornelDatabase::ResolveRootPath() const { return WithoutTrailingSlashes(ResolveStoredPath(rootPath)); }

std::string CVornelDatabase::MakePortablePath(const std::string& path) const {
  std::string text = SingleBackslashes(Replaced(path, '/', '\\'));
  const std::string root = WithoutTrailingSlashes(SingleBackslashes(Replaced(documentRoot_, '/', '\\')));
  if (!root.empty() && StripLeadingFolder(text, root)) text = std::string(kPortableRoot) + "\\" + TrimLeading(text, '\\');
  return text;
}

std::vector<std::string> CVornelDatabase::ListDocumentPaths() const {
  std::vector<std::string> paths;
  const std::string portableRoot = MakePortablePath(rootPath);
  const std::string root = ResolveRootPath();
  for (const auto& entry : entries) {
    std::string stored = MakePortablePath(entry->storedPath);
    // Only a leading root is taken off: the root's text may occur inside a name.
    if (StripLeadingFolder(stored, portableRoot) || !(stored.starts_with('\\') || stored.starts_with(kPortableRoot))) {
      paths.push_back(NormalPath(root + "/" + Replaced(TrimLeading(stored, '\\'), '\\', '/')));
    } else {
      paths.push_back(ResolveStoredPath(stored));
    }
  }
  return paths;
}

bool CVornelDatabase::IsDocumentInGroup(const std::string& path) const {
  const std::string wanted = NormalPath(path);
  const std::vector<std::string> paths = ListDocumentPaths();
  return std::find(paths.begin(), paths.end(), wanted) != paths.end();
}

bool CVornelDatabase::BuildGroupXml(const std::vector<std::string>& paths, tinyxml2::XMLDocument& doc,
                                    BatchProgress& progress, bool forFinder) const {
  doc.Clear();
  const std::string root = ResolveRootPath();
  tinyxml2::XMLElement* group = doc.NewElement("DocumentGroup");
  if (!forFinder) SetIntAttribute(group, "size", static_cast<int32_t>(paths.size()));
  SetTextAttribute(group, "root-path", forFinder ? WithoutTrailingSlashes(Replaced(rootPath, '\\', '/')) : root);
  doc.InsertEndChild(group);
  tinyxml2::XMLElement* synopsis = doc.NewElement("synopsis");
  synopsis->InsertEndChild(AddTextElement(doc, "document-title", title));
  synopsis->InsertEndChild(AddTextElement(doc, "document-author", "Created by..."));
  group->InsertEndChild(synopsis);
  tinyxml2::XMLElement* documents = NumberedElement(doc, "documents", "count", paths.size());
  group->InsertEndChild(documents);

  ProgressRun run(progress, static_cast<int>(paths.size()), "Document group");
  for (size_t i = 0; i < paths.size(); ++i) {
    std::string shown = paths[i];
    StripLeadingFolder(shown, root);
    if (!run.Step(static_cast<int>(i + 1), "Processing file " + std::to_string(i + 1) + " - " + shown)) return false;
    const fs::path file(paths[i]);
    std::string folder = file.parent_path().string();
    if (folder.starts_with(root)) folder.erase(0, root.size());
    folder = Replaced(folder, '\\', '/');
    folder.erase(0, folder.find_first_not_of('/') == std::string::npos ? folder.size() : folder.find_first_not_of('/'));
    while (!folder.empty() && folder.back() == '/') folder.pop_back();

    tinyxml2::XMLElement* document = doc.NewElement("document");
    SetTextAttribute(document, "name", file.filename().string());
    SetTextAttribute(document, "subdirectory", folder);
    SetIntAttribute(document, "index", static_cast<int32_t>(i));
    SetTextAttribute(document, "version", kCurrentFormatVersion);

    // A member that does not open gives what an empty document gives; its messages are
    // collected by the open and not shown one by one.
    OpenedDocument opened = OpenDocumentFile(paths[i]);
    const CVornelTabDoc empty;
    const CBriotabDoc& member = opened.document ? *opened.document : empty;
    tinyxml2::XMLElement* metadata = doc.NewElement("metadata");
    metadata->InsertEndChild(member.settings.texts.WriteXml(doc));
    metadata->InsertEndChild(member.settings.WriteAssociationsXml(doc));
    document->InsertEndChild(metadata);
    document->InsertEndChild(member.sections.WriteMetadataXml(doc));
    documents->InsertEndChild(document);
  }
  return true;
}

void CVornelDatabase::ReadGroupXml(const tinyxml2::XMLDocument& doc) {
  const tinyxml2::XMLElement* group = ExpectChildElement(doc.FirstChildElement(), "DocumentGroup");
  const std::string root = MakePortablePath(ReadTextAttribute(group, "root-path"));
  const tinyxml2::XMLElement* synopsis = group->FirstChildElement();
  const tinyxml2::XMLElement* documents =
      ExpectChildElement(synopsis != nullptr ? synopsis->NextSiblingElement() : nullptr, "documents");
  const int32_t count = ReadIntAttribute(documents, "count");

  OwnedArray<CDataBaseDocForm> read;
  const tinyxml2::XMLElement* element = documents->FirstChildElement();
  for (int32_t i = 0; i < count; ++i, element = element->NextSiblingElement()) {
    element = ExpectChildElement(element, "document");
    auto entry = std::make_unique<CDataBaseDocForm>();
    std::string full = root;
    for (const std::string& part : {ReadTextAttribute(element, "subdirectory"), ReadTextAttribute(element, "name")}) {
      if (!part.empty()) full += "\\" + part;
    }
    entry->storedPath = MakePortablePath(full);
    // Only the leading root is taken off: the root's text may occur inside a name.
    if (StripLeadingFolder(entry->storedPath, root)) entry->storedPath = TrimLeading(entry->storedPath, '\\');
    entry->index = i;
    const tinyxml2::XMLElement* metadata = ExpectChildElement(element->FirstChildElement(), "metadata");
    const tinyxml2::XMLElement* texts = ExpectChildElement(metadata->FirstChildElement(), "track-texts");
    entry->title = ElementText(texts->FirstChildElement());
    const tinyxml2::XMLElement* sections = ExpectChildElement(metadata->NextSiblingElement(), "sections");
    entry->sectionCount = ReadIntAttribute(sections, "count");
    const tinyxml2::XMLElement* sectionElement = sections->FirstChildElement();
    for (int32_t s = 0; s < entry->sectionCount; ++s, sectionElement = sectionElement->NextSiblingElement()) {
      sectionElement = ExpectChildElement(sectionElement, "section");
      const tinyxml2::XMLElement* first = sectionElement->FirstChildElement();
      const tinyxml2::XMLElement* text =
          ExpectChildElement(first != nullptr ? first->FirstChildElement() : nullptr, "track-text");
      auto section = std::make_unique<CDataBaseSectionForm>();
      section->title = ElementText(text);
      section->secondText = ElementText(text->NextSiblingElement());
      section->index = s;
      entry->sections.push_back(std::move(section));
    }
    read.push_back(std::move(entry));
  }
  rootPath = root;
  entries = std::move(read);
}

CDataBaseDocForm* CVornelDatabase::AddDocument(const std::string& path, BatchProgress& progress) {
  if (IsDocumentInGroup(path)) {
    Prompts().ShowMessage(kAlreadyInGroupMessage, MessageKind::kWarning);
    return nullptr;
  }
  auto entry = std::make_unique<CDataBaseDocForm>();
  entry->storedPath = MakePortablePath(path);
  const std::string portableRoot = MakePortablePath(rootPath);
  if (StripLeadingFolder(entry->storedPath, portableRoot)) entry->storedPath = TrimLeading(entry->storedPath, '\\');
  entries.push_back(std::move(entry));
  if (!Reindex(progress)) {
    entries.erase(entries.size() - 1);
    return nullptr;
  }
  return entries.empty() ? nullptr : entries.back();
}

bool CVornelDatabase::RemoveDocument(int index) {
  if (index < 0 || static_cast<size_t>(index) >= entries.size()) return false;
  const std::string path = ListDocumentPaths()[static_cast<size_t>(index)];
  entries.erase(static_cast<size_t>(index));
  RenumberEntries();
  Save();
  if (Prompts().Ask(kRecycleQuestion, Buttons::kOkCancel) == Answer::kOk) DeleteToRecycleBin(path);
  return true;
}

bool CVornelDatabase::OpenDocument(int index, int section, const DocumentOpener& open) const {
  if (index < 0 || static_cast<size_t>(index) >= entries.size()) return false;
  std::string path = ListDocumentPaths()[static_cast<size_t>(index)];
  if (!fs::exists(path)) {
    path = entries.at(static_cast<size_t>(index))->storedPath;
    if (!fs::exists(path)) {
      Prompts().ShowMessage(path, MessageKind::kError, "Cannot open file");
      return false;
    }
  }
  CBriotabDoc* doc = open(path);
  if (doc == nullptr) return false;
  if (section != -1 && section >= 0 && static_cast<size_t>(section) < doc->sections.size()) {
    doc->SetActiveSection(section);
  }
  return true;
}

bool CVornelDatabase::Reindex(BatchProgress& progress) {
  tinyxml2::XMLDocument tree;
  if (!BuildGroupXml(ListDocumentPaths(), tree, progress)) return false;
  // Read into a copy: a tree that does not read leaves this group, and its file, as they were.
  CVornelDatabase rebuilt(documentRoot_);
  rebuilt.title = title;
  try {
    rebuilt.ReadGroupXml(tree);
  } catch (const XmlTagMismatch&) {
    return false;
  }
  rootPath = std::move(rebuilt.rootPath);
  entries = std::move(rebuilt.entries);
  RenumberEntries();
  return Save();
}

bool CVornelDatabase::ExportHtml(const std::string& rootUrl, BatchProgress& progress) {
  std::optional<std::string> name = Prompts().PromptSaveFile("Create HTML page from this group:" + title, "*.html",
                                                             title + ".html", ResolveRootPath());
  if (!name || name->empty()) return false;
  if (!name->ends_with(".html")) *name += ".html";
  tinyxml2::XMLDocument tree;
  if (!BuildGroupXml(ListDocumentPaths(), tree, progress)) return false;
  if (!SaveGroupHtmlPage(tree, *name, rootUrl)) {
    Prompts().ShowMessage("Unable to write the HTML page " + *name, MessageKind::kError);
    return false;
  }
  Programs().OpenWithDefault(*name);
  return true;
}

std::string CVornelDatabase::CleanGroupTitle(std::string text) {
  for (char& c : text) {
    switch (c) {
      case ':': c = '_'; break;
      case '\\': c = '-'; break;
      case ' ': c = '_'; break;
      case '&': c = '+'; break;
      default: break;
    }
  }
  return text;
}

bool CVornelDatabase::AskGroupTitle(std::string& text) {
  const std::optional<std::string> answer = Prompts().PromptText("Title:", text, "Document group title");
  if (!answer) return false;
  text = CleanGroupTitle(*answer);
  return true;
}

}  // namespace vornel
