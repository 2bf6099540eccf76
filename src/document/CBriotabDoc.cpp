#include "document/CBriotabDoc.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "document/DocumentEnvironment.h"
#include "document/SaveTarget.h"
#include "document/XmlDocumentCheck.h"
#include "document/XmlDocumentReader.h"
#include "document/zip/ZipBundle.h"
#include "model/StoredPath.h"
#include "platform/BuildBudget.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/archive/VersionText.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/NumberText.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

// The section's heading texts and the entries of the document's font list they follow:
// entry 2 goes with the author and entry 6 with the comments, whatever the fonts dialog calls
// them, as documents have always been read and written.
struct HeadingFont {
  size_t text;
  size_t font;
};
constexpr std::array<HeadingFont, 4> kHeadingFonts = {{{CSystemArray::kTitle, kFontTitles},
                                                       {CSystemArray::kAuthor, kFontComments},
                                                       {CSystemArray::kComments, kFontAuthor},
                                                       {CSystemArray::kEndText, kFontEndText}}};

// A stored path as a local one: folders may be written with backslashes.
std::string LocalPath(std::string_view stored) {
  std::string path(stored);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

}  // namespace

// The files of folders, each folder listed once however many names are looked up in it: a
// document naming thousands of missing facsimiles must not list a folder for each.
class CBriotabDoc::FolderListings {
 public:
  // `name` in `folder`, the name matched without regard to case when it is not there as
  // written (names stored by other systems may differ in case from the files).
  std::optional<std::string> Find(const std::string& folder, const std::string& name) {
    if (name.empty()) return std::nullopt;
    const Listing& listing = ListingOf(folder);
    if (const auto exact = listing.exact.find(name); exact != listing.exact.end()) return exact->second;
    if (const auto folded = listing.folded.find(AsciiLower(name)); folded != listing.folded.end()) return folded->second;
    return std::nullopt;
  }

 private:
  struct Listing {
    std::unordered_map<std::string, std::string> exact;
    std::unordered_map<std::string, std::string> folded;  // the first file of each lower-case name
  };

  const Listing& ListingOf(const std::string& folder) {
    const auto [it, added] = listings_.try_emplace(folder);
    if (!added) return it->second;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
      const std::string path = entry->path().string();
      if (!IsFile(path)) continue;
      const std::string file = entry->path().filename().string();
      it->second.exact.emplace(file, path);
      it->second.folded.emplace(AsciiLower(file), path);
    }
    return it->second;
  }

  std::unordered_map<std::string, Listing> listings_;
};

namespace {

void TakeSections(CSectionArray& target, CSectionArray& source) {
  static_cast<OwnedArray<CSystemArray>&>(target) = std::move(static_cast<OwnedArray<CSystemArray>&>(source));
  target.activeSection = source.activeSection;
  target.ClampActiveSection();
  target.Renumber();
}

// A document always has a section to work on.
void EnsureSection(CSectionArray& sections) {
  if (!sections.empty()) return;
  sections.push_back(std::make_unique<CSystemArray>());
  sections.activeSection = 0;
  sections.Renumber();
}

}  // namespace

DocumentFileType GetDocumentFileType(std::string_view path) {
  const size_t dot = path.find_last_of('.');
  const size_t separator = path.find_last_of("\\/");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) return kUnknownFile;
  const std::string extension = AsciiLower(path.substr(dot + 1));
  if (extension == "btb" || extension == "btt") return kBinaryFile;
  if (extension == "btxml" || extension == "bttx") return kXmlFile;
  if (extension == "btz") return kBundleFile;
  return kUnknownFile;
}

// Where an undo puts the user back: the active system, line and stave and the cursor.
struct CBriotabDoc::CursorPlace {
  std::optional<int32_t> system;
  std::optional<int32_t> line;
  std::optional<int32_t> stave;
  std::optional<std::pair<int32_t, int32_t>> cursor;

  static CursorPlace Of(const CSystemArray& section) {
    CursorPlace place;
    place.system = section.activeSystem;
    const CStaveArray* system = nullptr;
    if (section.activeSystem >= 0 && static_cast<size_t>(section.activeSystem) < section.systems.size()) {
      system = section.systems.at(static_cast<size_t>(section.activeSystem));
    }
    if (system == nullptr) return place;
    place.line = system->activeInstrument;
    if (system->activeInstrument < 0 || static_cast<size_t>(system->activeInstrument) >= system->lines.size()) return place;
    const CInstrument* line = system->lines.at(static_cast<size_t>(system->activeInstrument));
    if (line == nullptr) return place;
    place.stave = line->activeStave;
    if (line->activeStave < 0 || static_cast<size_t>(line->activeStave) >= line->staves.size()) return place;
    if (const CClef* stave = line->staves.at(static_cast<size_t>(line->activeStave)); stave != nullptr) {
      place.cursor = std::make_pair(stave->cursorColumn, stave->cursorRow);
    }
    return place;
  }

  // Each position only when it lies inside its array and the one before it was restored;
  // the cursor goes to whichever stave is then active.
  void RestoreInto(CSystemArray& section) const {
    const auto inside = [](const std::optional<int32_t>& value, size_t count) {
      return value && *value >= 0 && static_cast<size_t>(*value) < count;
    };
    if (inside(system, section.systems.size())) {
      section.activeSystem = *system;
      if (CStaveArray* s = section.systems.at(static_cast<size_t>(*system)); s != nullptr && inside(line, s->lines.size())) {
        s->activeInstrument = *line;
        if (CInstrument* l = s->lines.at(static_cast<size_t>(*line)); l != nullptr && inside(stave, l->staves.size())) {
          l->activeStave = *stave;
        }
      }
    }
    if (!cursor || section.activeSystem < 0 || static_cast<size_t>(section.activeSystem) >= section.systems.size()) return;
    const CStaveArray* s = section.systems.at(static_cast<size_t>(section.activeSystem));
    if (s == nullptr || s->activeInstrument < 0 || static_cast<size_t>(s->activeInstrument) >= s->lines.size()) return;
    const CInstrument* l = s->lines.at(static_cast<size_t>(s->activeInstrument));
    if (l == nullptr || l->activeStave < 0 || static_cast<size_t>(l->activeStave) >= l->staves.size()) return;
    if (CClef* st = l->staves.at(static_cast<size_t>(l->activeStave)); st != nullptr) {
      st->cursorColumn = cursor->first;
      st->cursorRow = cursor->second;
    }
  }
};

CBriotabDoc::CBriotabDoc() : versionText_(kCurrentFormatVersion), binaryFileVersion_(kCurrentFormatVersion) {
  // Bundles are packed by the zip library, which lives beside the documents.
  static const bool packerInstalled = (InstallBundlePacker(), true);
  (void)packerInstalled;
  const int32_t depth = std::max<int32_t>(Environment().undoDepth, 0);
  undoStack.limit = depth;
  redoStack.limit = depth / 2;
}

CBriotabDoc::~CBriotabDoc() = default;

void CBriotabDoc::SetPathName(const std::string& path) {
  pathName_ = path;
  title_ = SplitStoredPath(path).name;
}

void CBriotabDoc::AddObserver(DocumentObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) observers_.push_back(observer);
}

void CBriotabDoc::RemoveObserver(DocumentObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CBriotabDoc::UpdateAllViews(int hint, const CStaveArray* system) const {
  for (DocumentObserver* observer : observers_) observer->OnUpdate(*this, hint, system);
}

// ---------------------------------------------------------------------------------------------
// The binary document

bool CBriotabDoc::OnOpenDocument(const std::string& path) {
  if (GetDocumentFileType(path) != kBinaryFile) return false;
  std::error_code error;
  if (!fs::exists(path, error)) {
    Prompts().ShowMessage(kMissingFileMessage, MessageKind::kError);
    return false;
  }
  std::string reason;
  const auto bytes = ReadFileBytes(path, kMaxFileBytes, &reason);
  if (!bytes) {
    Prompts().ShowMessage("Unable to open " + path + ":\n" + reason, MessageKind::kError);
    return false;
  }
  BuildBudget budget(bytes->size());
  try {
    const ScopedBuildBudget scope(budget);
    if (!LoadBinary(*bytes, path)) return false;
  } catch (const BuildBudgetExceeded& exceeded) {
    Prompts().ShowMessage(path + ":\n" + exceeded.what(), MessageKind::kError);
    return false;
  }
  SetPathName(path);
  UpdateSectionList();
  UpdateAllViews(kHintRepaintAll, nullptr);
  return true;
}

void CBriotabDoc::DeleteContents() {
  settings.ClearTexts();
  sections.DeleteAllSections();
  UpdateSectionList();
}

bool CBriotabDoc::LoadBinary(std::span<const uint8_t> bytes, std::string_view path) {
  ArchiveReader ar(bytes, versionText_);
  std::string magic;
  std::string version;
  bool headerRead = true;
  try {
    magic = ar.ReadText();
    version = ar.ReadText();
  } catch (const ArchiveError&) {
    headerRead = false;
  }

  std::string message;
  if (!headerRead || !magic.starts_with(kMagic)) {
    message = kWrongFormatMessage;
    const std::string_view start(reinterpret_cast<const char*>(bytes.data()), std::min<size_t>(bytes.size(), 5));
    if (magic.starts_with("?xml") || start == "<?xml") message += kXmlHint;
  }
  if (headerRead && VersionAbove(version, versionText_)) message = kNewerVersionMessage;
  if (!message.empty()) {
    // A file opened by its name is named in the message.
    Prompts().ShowMessage(path.empty() ? message : std::string(path) + ":\n" + message, MessageKind::kError);
    return false;
  }

  // Everything is read into new objects: a file that fails half-way changes nothing.
  ar.SetVersion(version);
  auto loadedSettings = std::make_unique<CDocumentSettings>();
  CSectionArray loadedSections;
  try {
    loadedSettings->Load(ar);
    if (magic == kTemplateMagic) {
      auto section = std::make_unique<CSystemArray>();
      section->Load(ar);
      loadedSections.push_back(std::move(section));
      loadedSections.activeSection = 0;
    } else {
      loadedSections.Load(ar);
    }
  } catch (const BuildBudgetExceeded&) {
    throw;
  } catch (const std::bad_alloc&) {
    Prompts().ShowMessage("Memory exception found: " + std::string(path), MessageKind::kError);
    return false;
  } catch (const ArchiveError& error) {
    // A file that would build far beyond its size is refused as memory it cannot have. Either
    // way the message says what the reader found and where.
    const bool overBudget = error.Code() == ArchiveErrorCode::kOverBudget;
    Prompts().ShowMessage((overBudget ? "Memory exception found: " : "Corrupt or invalid file found: ") +
                              std::string(path) + "\n" + error.what(),
                          MessageKind::kError);
    return false;
  } catch (const std::exception& error) {
    Prompts().ShowMessage("Corrupt or invalid file found: " + std::string(path) + "\n" + error.what(),
                          MessageKind::kError);
    return false;
  }

  settings = std::move(*loadedSettings);
  TakeSections(sections, loadedSections);
  EnsureSection(sections);
  xmlFlag = 0;
  binaryFileVersion_ = version;
  if (VersionBelow(version, "7.3")) ApplySystemsPerPageToSections();
  ApplySectionFonts(0);
  const std::string previousPath = pathName_;
  pathName_ = std::string(path);  // facsimiles are also looked for beside the file being read
  CheckFacsimilePaths();
  pathName_ = previousPath;
  // The after-open refresh: every section takes the document's heading fonts.
  ApplySectionFonts(1);
  ClearHistory();
  SetModifiedFlag(false);
  return true;
}

void CBriotabDoc::Store(ArchiveWriter& ar) const {
  ar.WriteText(kMagic);
  ar.WriteText(versionText_);
  settings.Store(ar);
  sections.Store(ar);
}

std::vector<uint8_t> CBriotabDoc::StoreBinary() const {
  ArchiveWriter writer(versionText_);
  Store(writer);
  return writer.TakeBytes();
}

bool CBriotabDoc::SaveBinary(const std::string& requested) { return SaveBinaryTo(requested).has_value(); }

std::optional<std::string> CBriotabDoc::SaveBinaryTo(const std::string& requested) {
  // A read-only document is replaced only when the user says so, or saved elsewhere.
  const std::optional<std::string> confirmed = ConfirmSaveTarget(requested, "*.btb");
  if (!confirmed) return std::nullopt;
  const std::string& path = *confirmed;
  SyncHeadingFonts();
  for (const auto& section : sections.items()) {
    if (section != nullptr) section->TakeDefinitionStaves();
  }
  std::string error;
  AtomicFile file;
  bool written = file.Open(path, &error);
  if (written) {
    // Written a megabyte at a time: a large document never stands whole in memory as bytes.
    ArchiveWriter writer(versionText_);
    writer.SetFlush([&](std::span<const uint8_t> bytes) { written = written && file.Write(bytes, &error); });
    Store(writer);
    writer.Flush();
    written = written && file.Commit(&error);
  }
  if (!written) {
    Prompts().ShowMessage("Unable to save " + path + ":\n" + error, MessageKind::kError);
    return std::nullopt;
  }
  const std::vector<std::string> lost = settings.BinaryRecordLosses();
  if (!lost.empty()) {
    std::string message = path + "\n" + std::string(kBinaryLossMessage) + " ";
    for (size_t i = 0; i < lost.size(); ++i) {
      message += (i == 0 ? "" : i + 1 == lost.size() ? " and " : ", ") + lost[i];
    }
    Prompts().ShowMessage(message + ": it was saved without them.", MessageKind::kWarning);
  }
  return path;
}

// ---------------------------------------------------------------------------------------------
// The XML document

tinyxml2::XMLElement* CBriotabDoc::BuildXmlHead(XMLWriter& writer) {
  SyncHeadingFonts();
  const CSystemArray& active = *GetActiveSection();
  const DocumentEnvironment& environment = Environment();
  writer.InsertEndChild(writer.NewDeclaration());
  tinyxml2::XMLElement* root = writer.NewElement(std::string(kXmlRoot).c_str());
  SetTextAttribute(root, "version", "1.0");
  SetIntAttribute(root, "major", environment.xmlMajor);
  SetIntAttribute(root, "minor", environment.xmlMinor);
  writer.versionMajor = environment.xmlMajor;
  writer.versionMinor = environment.xmlMinor;
  writer.InsertEndChild(root);
  tinyxml2::XMLElement* settingsElement = settings.WriteXml(writer);
  settingsElement->InsertEndChild(active.WriteSectionFontsXml(writer));
  root->InsertEndChild(settingsElement);
  return root;
}

void CBriotabDoc::BuildXml(XMLWriter& writer) { BuildXmlHead(writer)->InsertEndChild(sections.WriteXml(writer)); }

void CBriotabDoc::PrintXml(const CSectionArray& list, const std::function<void(std::string& text)>& take) {
  XMLWriter head;
  const tinyxml2::XMLElement* root = BuildXmlHead(head);
  std::string text;
  XmlTextPrinter printer(text);
  head.FirstChild()->Accept(&printer);
  printer.VisitEnter(*root, root->FirstAttribute());
  root->FirstChildElement()->Accept(&printer);
  // The sections are printed as they are written, without a tree: a large document never
  // stands in memory as XML, only the last megabyte of its text.
  XmlPrintSink sink(printer, text, take);
  list.WriteXml(sink);
  printer.VisitExit(*root);
  take(text);
}

std::string CBriotabDoc::XmlText() {
  std::string all;
  PrintXml(sections, [&all](std::string& text) {
    all += text;
    text.clear();
  });
  return all;
}

bool CBriotabDoc::SaveXmlText(const std::string& path, const CSectionArray* list, std::string* error) {
  AtomicFile file;
  if (!file.Open(path, error)) return false;
  bool written = true;
  PrintXml(list != nullptr ? *list : sections, [&](std::string& text) {
    written = written && file.Write(text, error);
    text.clear();
  });
  return written && file.Commit(error);
}

std::string CBriotabDoc::XmlPathOfBinary(const std::string& path) {
  // A document read from a binary file becomes an XML document packed in its bundle.
  return ReplaceFinalExtension(ReplaceFinalExtension(path, ".btb", ".btz"), ".btt", ".bttx");
}

std::optional<std::string> CBriotabDoc::WriteXml(std::string* error) {
  const std::string result = xmlFlag == 0 ? XmlPathOfBinary(pathName_) : pathName_;
  bool saved = false;
  if (GetDocumentFileType(result) == kBundleFile) {
    saved = SaveBundle(result, [&](const std::string& documentPath) { return SaveXmlText(documentPath, nullptr, error); });
  } else {
    saved = SaveXmlText(result, nullptr, error);
  }
  if (!saved) return std::nullopt;
  SetModifiedFlag(false);
  return result;
}

bool CBriotabDoc::ReadXmlText(std::string_view text, std::string_view path) {
  auto loadedSettings = std::make_unique<CDocumentSettings>();
  CSectionArray loadedSections;
  XmlDocumentVersion version;
  // A file read by its name is named in the message.
  const auto unparsable = [path](std::string_view why) {
    std::string message(kUnparsableXmlMessage);
    if (!path.empty()) message += "\n" + std::string(path) + ":";
    Prompts().ShowMessage(message + "\n" + std::string(why), MessageKind::kError);
  };
  try {
    version = ReadXmlDocument(text, *loadedSettings, loadedSections);
  } catch (const XmlTagMismatch& mismatch) {
    // A misplaced element has shown its message already; a missing one has not.
    if (!mismatch.Shown()) unparsable(mismatch.what());
    return false;
  } catch (const BuildBudgetExceeded&) {
    throw;  // the opening names the file and the limit
  } catch (const std::bad_alloc&) {
    Prompts().ShowMessage("Memory exception found: " + std::string(path), MessageKind::kError);
    return false;
  } catch (const std::exception& e) {
    unparsable(e.what());
    return false;
  }
  settings = std::move(*loadedSettings);
  TakeSections(sections, loadedSections);
  EnsureSection(sections);
  xmlFlag = 1;
  binaryFileVersion_ = kCurrentFormatVersion;
  xmlMajor = static_cast<uint16_t>(version.major);
  xmlMinor = static_cast<uint16_t>(version.minor);
  xmlVersionText = "1." + FormatInt(xmlMajor) + "." + FormatInt(xmlMinor);
  ApplySectionFonts(1);
  ClearHistory();
  SetModifiedFlag(false);
  ApplyConversionsByMajor(version.major);
  return true;
}

void CBriotabDoc::ApplyConversionsByMajor(int32_t major) {
  if (major == 0) {
    // Files without version numbers used bit 6 of the note flags for something else.
    sections.ApplyCommandToAllSections(ClearCommand::kNoteFlag6);
  } else if (major > 6) {
    sections.ApplyCommandToAllSections(ClearCommand::kPackSlurs);
    Prompts().ShowMessage(kOldXmlMessage, MessageKind::kWarning);
  }
}

// ---------------------------------------------------------------------------------------------
// The active path and the common end of commands

CSystemArray* CBriotabDoc::GetActiveSection() const {
  if (sections.activeSection < 0) throw std::out_of_range("no active section");
  CSystemArray* section = sections.at(static_cast<size_t>(sections.activeSection));
  if (section == nullptr) throw std::out_of_range("no active section");
  return section;
}

CStaveArray* CBriotabDoc::GetActiveSystem() const {
  const CSystemArray* section = GetActiveSection();
  if (section->systems.empty()) return nullptr;
  if (section->activeSystem < 0) throw std::out_of_range("active system outside the section");
  return section->systems.at(static_cast<size_t>(section->activeSystem));
}

CInstrument* CBriotabDoc::GetActiveInstrument() const {
  const CStaveArray* system = GetActiveSystem();
  if (system == nullptr) return nullptr;
  if (system->activeInstrument < 0) throw std::out_of_range("active line outside the system");
  return system->lines.at(static_cast<size_t>(system->activeInstrument));
}

nChord* CBriotabDoc::GetActiveChord() const {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return nullptr;
  if (line->activeStave < 0) throw std::out_of_range("active stave outside the line");
  const CClef* stave = line->GetCurrentStave();
  const nChordArray& voice = line->GetSelectedVoice();
  if (stave == nullptr || stave->cursorColumn < 0 || static_cast<size_t>(stave->cursorColumn) >= voice.size()) {
    return nullptr;
  }
  return voice.at(static_cast<size_t>(stave->cursorColumn));
}

void CBriotabDoc::NotifyChanged(int hint) {
  SetModifiedFlag(true);
  const CStaveArray* system = nullptr;
  const CSystemArray* section = GetActiveSection();
  if (!section->systems.empty()) system = GetActiveSystem();
  UpdateAllViews(hint, system);
}

void CBriotabDoc::SetModifiedFlag(bool modified) {
  if (modified) {
    state_ = ++lastState_;
  } else {
    savedState_ = state_;
  }
  modified_ = modified;
}

int CBriotabDoc::SaveSnapshot(bool toUndo) {
  CUndoSectionArray& stack = toUndo ? undoStack : redoStack;
  return stack.SaveSnapshot(*GetActiveSection(), actionName_, state_);
}

int CBriotabDoc::SaveActivePageSnapshot() {
  CSystemArray& section = *GetActiveSection();
  const int32_t active = section.activeSystem;
  const size_t count = section.systems.size();
  if (active < 0 || static_cast<size_t>(active) >= count) return SaveSnapshot();
  const size_t system = static_cast<size_t>(active);
  const size_t page = section.PageOfSystem(system);
  size_t first = std::min(section.FirstSystemOfPage(page), count);
  size_t end = std::min(first + section.SystemsOnPage(page), count);
  if (system < first || system >= end) {
    first = system;
    end = system + 1;
  }
  return undoStack.SaveSystemsSnapshot(section, first, end - first, actionName_, state_);
}

void CBriotabDoc::BeginSectionEdit(std::shared_ptr<SnapshotExtra> extra) {
  undoStack.SaveSnapshot(*GetActiveSection(), actionName_, state_);
  if (extra != nullptr && !undoStack.empty()) undoStack.front()->snapshotExtra = std::move(extra);
  redoStack.clear();
}

namespace {

// What an entry of a change of every section keeps besides its copy of the active section:
// the other sections and the page settings. Undo and redo exchange them with the document's.
// The zoom stays as the user has it.
class EverySectionSnapshot : public SnapshotExtra {
 public:
  explicit EverySectionSnapshot(CBriotabDoc& doc)
      : doc_(doc), active_(doc.sections.activeSection), page_(doc.settings.pageSettings) {
    for (size_t i = 0; i < doc.sections.size(); ++i) {
      if (static_cast<int32_t>(i) != active_) others_.push_back(CopySection(*doc.sections.at(i)));
    }
  }

  // The document's sections but the active one go into the entry and the entry's come back,
  // round the active one, which its own copy in the entry then replaces.
  void Exchange() override {
    CSectionArray& sections = doc_.sections;
    const int32_t active = sections.activeSection;
    std::vector<std::unique_ptr<CSystemArray>> live;
    std::unique_ptr<CSystemArray> activeSection;
    while (!sections.empty()) {
      std::unique_ptr<CSystemArray> section = sections.release(0);
      if (static_cast<int32_t>(live.size()) == active && activeSection == nullptr) {
        activeSection = std::move(section);
      } else {
        live.push_back(std::move(section));
      }
    }
    const size_t place = std::min(static_cast<size_t>(std::max(active_, 0)), others_.size());
    for (size_t i = 0; i < others_.size(); ++i) {
      if (i == place && activeSection != nullptr) sections.push_back(std::move(activeSection));
      sections.push_back(std::move(others_[i]));
    }
    if (activeSection != nullptr) sections.push_back(std::move(activeSection));
    sections.activeSection = static_cast<int32_t>(place);
    sections.Renumber();
    others_ = std::move(live);
    active_ = active;
    const int32_t zoom = doc_.settings.pageSettings.zoom;
    std::swap(page_, doc_.settings.pageSettings);
    doc_.settings.pageSettings.zoom = zoom;
  }

 private:
  CBriotabDoc& doc_;
  int32_t active_;
  CPageDlg page_;
  std::vector<std::unique_ptr<CSystemArray>> others_;
};

}  // namespace

void CBriotabDoc::BeginEverySectionEdit() { BeginSectionEdit(std::make_shared<EverySectionSnapshot>(*this)); }

CBriotabDoc::ActionName::ActionName(CBriotabDoc& doc, std::string name)
    : doc_(doc), previous_(std::exchange(doc.actionName_, std::move(name))) {}

CBriotabDoc::ActionName::~ActionName() { doc_.actionName_ = std::move(previous_); }

namespace {

std::vector<uint8_t> SettingsRecord(const CDocumentSettings& settings) {
  ArchiveWriter writer;
  writer.SetExactCopy(true);
  settings.Store(writer);
  return writer.TakeBytes();
}

}  // namespace

CBriotabDoc::UnchangedStepCheck::UnchangedStepCheck(CBriotabDoc& doc)
    : doc_(doc), outermost_(doc.stepChecks_++ == 0) {
  if (!outermost_) return;
  pushes_ = doc_.undoStack.pushes;
  pops_ = doc_.undoStack.pops;
  activeSection_ = doc_.sections.activeSection;
  state_ = doc_.state_;
  settings_ = SettingsRecord(doc_.settings);
}

CBriotabDoc::UnchangedStepCheck::~UnchangedStepCheck() {
  --doc_.stepChecks_;
  if (!outermost_) return;
  // One entry put in front, none taken, for the section that is still the active one.
  CUndoSectionArray& undo = doc_.undoStack;
  if (undo.pushes != pushes_ + 1 || undo.pops != pops_ || undo.empty() || undo.at(0)->snapshotExtra != nullptr ||
      doc_.sections.activeSection != activeSection_) {
    return;
  }
  const int32_t active = doc_.sections.activeSection;
  if (active < 0 || static_cast<size_t>(active) >= doc_.sections.size()) return;
  const CSystemArray* section = doc_.sections.at(static_cast<size_t>(active));
  if (section == nullptr || !HoldsSnapshot(*section, *undo.at(0))) return;
  undo.PopFront();
  // Nothing else changed either: the document is in the state it was.
  if (settings_ == SettingsRecord(doc_.settings)) {
    doc_.state_ = state_;
    doc_.modified_ = state_ != doc_.savedState_;
  }
}

namespace {

std::vector<std::string> EntryNames(const CUndoSectionArray& stack) {
  std::vector<std::string> names;
  for (size_t i = 0; i < stack.size(); ++i) names.push_back(stack.Label(i));
  return names;
}

}  // namespace

std::vector<std::string> CBriotabDoc::UndoNames() const { return EntryNames(undoStack); }

std::vector<std::string> CBriotabDoc::RedoNames() const { return EntryNames(redoStack); }

// ---------------------------------------------------------------------------------------------
// Undo, redo and the section buffer

void CBriotabDoc::PutSectionInPlace(std::unique_ptr<CSystemArray> section) {
  const size_t index = static_cast<size_t>(sections.activeSection);
  CursorPlace::Of(*sections.at(index)).RestoreInto(*section);
  sections.replace(index, std::move(section));
  sections.Renumber();
  UpdateSectionList();
  NotifyChanged(kHintRepaintAll);
}

void CBriotabDoc::RestoreSnapshot(CUndoSectionArray& from, CUndoSectionArray& to) {
  if (from.empty()) return;
  CSystemArray& current = *GetActiveSection();
  std::string name;
  uint64_t state = 0;
  std::unique_ptr<CSystemArray> snapshot = from.PopFront(&name, &state);
  if (snapshot == nullptr) return;
  if (snapshot->systemsOnly != nullptr) {
    // Only the systems the edit changed come back, and those they replace make the entry
    // that brings the edit back: nothing is copied.
    const CursorPlace place = CursorPlace::Of(current);
    std::unique_ptr<CSystemArray> replaced = ExchangeSystems(current, *snapshot);
    if (replaced == nullptr) return;
    to.PushFront(std::move(replaced), std::move(name), state_);
    place.RestoreInto(current);
    UpdateSectionList();
    NotifyChanged(kHintRepaintAll);
  } else {
    std::shared_ptr<SnapshotExtra> extra = std::move(snapshot->snapshotExtra);
    to.SaveSnapshot(current, std::move(name), state_);
    if (extra != nullptr) {
      extra->Exchange();
      // The entry that brings the change back keeps what was live until now.
      if (!to.empty()) to.front()->snapshotExtra = std::move(extra);
    }
    PutSectionInPlace(std::move(snapshot));
  }
  // Back in a state known by its number: modified unless it is the one saved.
  state_ = state != 0 ? state : ++lastState_;
  modified_ = state_ != savedState_;
}

void CBriotabDoc::OnEditUndo() { RestoreSnapshot(undoStack, redoStack); }

// The net effect of redoing: the redo snapshot takes the section's place and the section as it
// was becomes the newest undo entry.
void CBriotabDoc::OnEditRedo() { RestoreSnapshot(redoStack, undoStack); }

void CBriotabDoc::OnCopySection() { Environment().sectionBuffer.SaveSnapshot(*GetActiveSection()); }

void CBriotabDoc::CopySectionRange(int first, int last) {
  const int from = std::max(first, 1);
  const int to = std::min<int64_t>(last, static_cast<int64_t>(sections.size()));
  if (from > to) {
    Prompts().ShowMessage("No sections available to copy", MessageKind::kInformation);
    return;
  }
  CUndoSectionArray& buffer = Environment().sectionBuffer;
  buffer.clear();
  buffer.limit = to - from + 1;
  for (int i = from; i <= to; ++i) buffer.SaveSnapshot(*sections.at(static_cast<size_t>(i - 1)));
}

void CBriotabDoc::ClearSectionBuffer() {
  CUndoSectionArray& buffer = Environment().sectionBuffer;
  buffer.clear();
  buffer.activeSection = -1;
}

bool CBriotabDoc::CanPasteSection() { return !Environment().sectionBuffer.empty(); }

bool CBriotabDoc::CanPasteAllSections() { return Environment().sectionBuffer.size() >= 2; }

void CBriotabDoc::OnPasteSections() {
  CUndoSectionArray& buffer = Environment().sectionBuffer;
  if (buffer.empty()) return;
  const CSystemArray* model = GetActiveSection();
  const bool reformat = Prompts().Ask("Reformat data to match this document?", Buttons::kYesNo) == Answer::kYes;
  const size_t position = static_cast<size_t>(sections.activeSection) + 1;
  // One undo takes the pasted sections away again.
  BeginEverySectionEdit();
  // Every copy goes to the same place, so the oldest copy ends up first.
  while (!buffer.empty()) {
    std::unique_ptr<CSystemArray> section = buffer.PopFront();
    if (section == nullptr) break;
    if (reformat) section->CopySettingsFrom(*model);
    sections.insert(position, std::move(section));
  }
  sections.activeSection = static_cast<int32_t>(position);
  sections.Renumber();
  UpdateSectionList();
  NotifyChanged(kHintRepaintAll);
}

void CBriotabDoc::ClearHistory() {
  undoStack.clear();
  redoStack.clear();
}

// ---------------------------------------------------------------------------------------------
// Sections

CSystemArray* CBriotabDoc::AppendNewSection() { return AppendSection(std::make_unique<CSystemArray>()); }

CSystemArray* CBriotabDoc::AppendSection(std::unique_ptr<CSystemArray> section) {
  CSystemArray* added = sections.push_back(std::move(section));
  added->index = static_cast<int32_t>(sections.size() - 1);
  // A list that was empty has no active section to keep either.
  SetActiveSection(added->index);
  return added;
}

int CBriotabDoc::SetActiveSection(int index) {
  if (index < 0 || static_cast<size_t>(index) >= sections.size() || index == sections.activeSection) return 0;
  if (settings.linearMode != 0) {
    if (sections.activeSection >= 0 && static_cast<size_t>(sections.activeSection) < sections.size()) {
      GetActiveSection()->ReflowSystems(false, 20);
    }
    settings.linearMode = 0;
  }
  ClearHistory();
  sections.activeSection = index;
  GetActiveSection()->activeSystem = 0;
  UpdateAllViews(kHintSectionChanged, nullptr);
  return 1;
}

std::vector<std::string> CBriotabDoc::SectionListLines() const {
  std::vector<std::string> lines;
  lines.reserve(sections.size());
  for (size_t i = 0; i < sections.size(); ++i) {
    const std::string label = sections.GetSectionLabel(i);
    lines.push_back(Environment().numberSections ? FormatInt(static_cast<int32_t>(i + 1)) + ". " + label : label);
  }
  return lines;
}

void CBriotabDoc::UpdateSectionList() const {
  if (observers_.empty()) return;
  const std::vector<std::string> lines = SectionListLines();
  for (DocumentObserver* observer : observers_) observer->OnSectionListChanged(lines, sections.activeSection);
}

void CBriotabDoc::ApplySectionFonts(int direction) {
  CPageDlg& page = settings.pageSettings;
  if (direction == 1) {
    for (const auto& section : sections.items()) {
      if (section == nullptr) continue;
      for (const HeadingFont& h : kHeadingFonts) section->texts.at(h.text)->font = page.DocumentFont(h.font);
    }
    return;
  }
  const CSystemArray& active = *GetActiveSection();
  for (const HeadingFont& h : kHeadingFonts) page.DocumentFont(h.font) = active.texts.at(h.text)->font;
}

void CBriotabDoc::SyncHeadingFonts() {
  if (sections.activeSection < 0 || static_cast<size_t>(sections.activeSection) >= sections.size() ||
      sections.at(static_cast<size_t>(sections.activeSection)) == nullptr) {
    return;
  }
  ApplySectionFonts(1);
  ApplySectionFonts(0);  // the document's entries as the sections hold them
}

void CBriotabDoc::ApplySystemsPerPageToSections() {
  for (const auto& section : sections.items()) {
    if (section != nullptr) section->stavesPerPage = static_cast<int32_t>(settings.pageSettings.systemsPerPage);
  }
}

bool CBriotabDoc::ResolveFacsimilePath(std::string& name) const {
  FolderListings listings;
  return ResolveFacsimilePath(name, listings);
}

bool CBriotabDoc::ResolveFacsimilePath(std::string& name, FolderListings& listings) const {
  if (name.starts_with("http")) return false;
  const std::string local = LocalPath(name);
  if (IsFile(local)) return true;
  const std::string file = SplitStoredPath(name).name;
  std::vector<std::string> folders;
  if (const std::string images = settings.Association(CDocumentSettings::kImagesPath); !images.empty()) {
    folders.push_back(LocalPath(images));
  }
  if (!Environment().dataFolder.empty()) folders.push_back((fs::path(Environment().dataFolder) / "Images").string());
  const std::string documentFolder = LocalPath(SplitStoredPath(pathName_).folder);
  if (!documentFolder.empty()) {
    folders.push_back(documentFolder);
    folders.push_back(documentFolder + "images");
  }
  for (const std::string& folder : folders) {
    if (const auto found = listings.Find(folder, file)) {
      name = *found;
      return true;
    }
  }
  return false;
}

std::string MissingFacsimilesMessage(const std::vector<std::string>& names) {
  constexpr size_t kNamesShown = 5;
  std::string message;
  for (size_t i = 0; i < names.size() && i < kNamesShown; ++i) {
    if (i > 0) message += "\n";
    message += names[i];
  }
  if (names.size() > kNamesShown) {
    message += "\n(and " + std::to_string(names.size() - kNamesShown) + " more, " + std::to_string(names.size()) +
               " in all)";
  } else if (names.size() > 1) {
    message += "\n(" + std::to_string(names.size()) + " in all)";
  }
  return message + std::string(CBriotabDoc::kMissingFacsimileMessage);
}

void CBriotabDoc::CheckFacsimilePaths() {
  std::vector<std::string> missing;
  FolderListings listings;
  const auto check = [&](CFacsimileListDlg& list) {
    for (std::string& name : list.imagePaths) {
      if (name.starts_with("http") || ResolveFacsimilePath(name, listings)) continue;
      missing.push_back(name);
    }
  };
  check(settings.titlePage.imageList);
  for (const auto& section : sections.items()) {
    if (section != nullptr) check(section->facsimiles);
  }
  // One message for all of them: a file naming many missing images must not bury the user.
  if (!missing.empty()) Prompts().ShowMessage(MissingFacsimilesMessage(missing), MessageKind::kWarning);
}

}  // namespace vornel
