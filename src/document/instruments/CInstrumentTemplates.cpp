#include "document/instruments/CInstrumentTemplates.h"

#include <filesystem>
#include <system_error>

#include "document/DocumentEnvironment.h"
#include "model/instrument/InstrumentTemplateTable.h"
#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/io/DataPaths.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XMLWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlScanner.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kXmlEnding = ".btix";
constexpr std::string_view kBinaryEnding = ".btbi";
// The version a binary base without the header texts was written in.
constexpr std::string_view kHeaderlessVersion = "6.58";
// The header's first archived text begins with these characters.
constexpr std::string_view kMagicStart = "Vorne";

bool EndsWith(std::string_view text, std::string_view ending) { return text.ends_with(ending); }

// Whether the archive opens with the header text, written as UTF-16 (after the 0xFF 0xFFFE
// mark and a length byte, at offset 4) or as 8-bit text (after its length byte, at offset 1).
bool HasVersionHeader(std::span<const uint8_t> bytes) {
  bool wide = bytes.size() >= 4 + 2 * kMagicStart.size();
  for (size_t i = 0; wide && i < kMagicStart.size(); ++i) {
    wide = bytes[4 + 2 * i] == static_cast<uint8_t>(kMagicStart[i]) && bytes[5 + 2 * i] == 0;
  }
  if (wide) return true;
  if (bytes.size() < 1 + kMagicStart.size()) return false;
  for (size_t i = 0; i < kMagicStart.size(); ++i) {
    if (bytes[1 + i] != static_cast<uint8_t>(kMagicStart[i])) return false;
  }
  return true;
}

void ShowCorrupt(const std::string& path) {
  Prompts().ShowMessage(std::string(CInstrumentTemplates::kCorruptBaseMessage) + path, MessageKind::kError);
}

}  // namespace

std::string BaseFileName(const std::string& path) {
  std::string result = path;
  if (EndsWith(result, kBinaryEnding)) result.replace(result.size() - kBinaryEnding.size(), kBinaryEnding.size(), kXmlEnding);
  if (!EndsWith(result, kXmlEnding)) result += kXmlEnding;
  return result;
}

std::string ConfiguredBasePath() {
  const DocumentEnvironment& environment = Environment();
  if (!environment.instrumentBasePath.empty()) return environment.instrumentBasePath;
  if (environment.dataFolder.empty()) return {};
  return (fs::path(environment.dataFolder) / CInstrumentTemplates::kUnnamedBaseName).string();
}

std::string ShippedDefaultBasePath() {
  return (fs::path(ShippedDataDirectory()) / "Templates" / CInstrumentTemplates::kDefaultBaseName).string();
}

void CInstrumentTemplates::OpenConfiguredBase() {
  const std::string& path = Environment().instrumentBasePath;
  if (path.empty()) {
    instruments.FillFromTemplates();
    return;
  }
  const LoadResult result = LoadBaseFile(path, *this, *this);
  // A configured base that is not there yet, or cannot be read, leaves the built-in templates
  // to start from; a save then writes the configured file.
  if ((result == LoadResult::kUnopened || result == LoadResult::kBroken) && instruments.empty()) {
    instruments.FillFromTemplates();
  }
}

bool CInstrumentTemplates::LoadConfiguredBase() {
  const std::string& path = Environment().instrumentBasePath;
  if (path.empty()) return false;
  LoadBaseFile(path, *this, *this);
  return true;
}

CInstrumentTemplates::LoadResult CInstrumentTemplates::LoadBaseFile(const std::string& path,
                                                                    CInstrumentTemplates& target,
                                                                    CInstrumentTemplates& owner) {
  if (EndsWith(path, kXmlEnding)) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return LoadResult::kUnopened;
    return owner.ReadBaseFile(path) ? LoadResult::kRead : LoadResult::kBroken;
  }
  if (!EndsWith(path, kBinaryEnding)) return LoadResult::kIgnored;
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, kMaxBaseFileBytes);
  if (!bytes) return LoadResult::kUnopened;
  target.basePath = path;
  if (!target.ReadBinaryBase(*bytes)) {
    // What was read stays; nothing is saved over the user's files from a broken read.
    ShowCorrupt(path);
    return LoadResult::kBroken;
  }
  if (&target == &owner) owner.SaveInstrumentBase();
  return LoadResult::kRead;
}

bool CInstrumentTemplates::ReadBinaryBase(std::span<const uint8_t> bytes) {
  const std::string version = HasVersionHeader(bytes) ? std::string(kCurrentFormatVersion) : std::string(kHeaderlessVersion);
  try {
    ArchiveReader ar(bytes, version);
    instruments.LoadBase(ar);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

std::vector<uint8_t> CInstrumentTemplates::BinaryBaseBytes(std::string_view version) const {
  ArchiveWriter ar{std::string(version)};
  instruments.StoreBase(ar);
  return ar.TakeBytes();
}

bool CInstrumentTemplates::ReadBaseFile(const std::string& path, bool missingIsQuiet) {
  std::string error;
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path, kMaxBaseFileBytes, &error);
  if (!bytes) {
    std::error_code ec;
    if (!(missingIsQuiet && !fs::exists(path, ec))) ShowCorrupt(path);
    return false;
  }
  return ReadBaseXml(*bytes, path);
}

bool CInstrumentTemplates::ReadBaseXml(std::span<const uint8_t> bytes, const std::string& path) {
  tinyxml2::XMLDocument xml;
  CInstrumentArray read;
  try {
    std::string error;
    if (!ParseCheckedXml(xml, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &error)) {
      throw XmlTagMismatch(error);
    }
    const tinyxml2::XMLElement* root = ExpectChildElement(xml.FirstChildElement(), kRootElement);
    read.ReadXml(root->FirstChildElement());
  } catch (const XmlTagMismatch& mismatch) {
    if (!mismatch.Shown()) ShowCorrupt(path);
    return false;
  } catch (const std::exception&) {
    ShowCorrupt(path);
    return false;
  }
  for (auto& definition : read.items()) instruments.push_back(std::move(definition));
  instruments.LinkAll();
  basePath = path;
  return true;
}

std::string CInstrumentTemplates::BaseFileText(std::string_view pathName) const {
  XMLWriter xml;
  xml.SetFileName(std::string(pathName), true);
  tinyxml2::XMLElement* root = xml.NewElement(std::string(kRootElement).c_str());
  SetTextAttribute(root, "path-name", pathName);
  SetTextAttribute(root, "xml-version", "1.0");
  root->InsertEndChild(instruments.WriteXml(xml));
  xml.InsertEndChild(root);
  return xml.ToXmlText();
}

std::optional<std::string> CInstrumentTemplates::WriteBaseFile(const std::string& path, std::string* error) {
  const std::string target = BaseFileName(path);
  const std::string text = BaseFileText(target);
  if (!WriteFileAtomically(target, text, error)) return std::nullopt;
  basePath = target;
  return target;
}

bool CInstrumentTemplates::SaveInstrumentBase() {
  const std::string path = ConfiguredBasePath();
  if (path.empty()) {
    Prompts().ShowMessage(std::string(kSaveFailedMessage) + "\nNo data folder is set.", MessageKind::kError);
    return false;
  }
  return SaveInstrumentBaseAs(path);
}

bool CInstrumentTemplates::SaveInstrumentBaseAs(const std::string& path) {
  std::string error;
  std::optional<std::string> written;
  try {
    written = WriteBaseFile(path, &error);
  } catch (const std::exception& e) {
    error = e.what();
  }
  if (written) return true;
  std::string message = std::string(kSaveFailedMessage) + "\n" + BaseFileName(path);
  if (!error.empty()) message += ":\n" + error;
  Prompts().ShowMessage(message, MessageKind::kError);
  return false;
}

void CInstrumentTemplates::ResetToDefaultBase() {
  SetTemplateSetInUse(kModernSet);
  instruments.clear();
  if (!ReadBaseFile(ShippedDefaultBasePath())) instruments.FillFromTemplates();
  modified = true;
}

size_t CInstrumentTemplates::InsertByFamily(const CInstrumentDlg& definition) {
  size_t at = instruments.size();
  for (size_t i = 0; i < instruments.size(); ++i) {
    if (instruments.at(i)->family == definition.family) {
      at = i;
      break;
    }
  }
  instruments.insert(at, definition.Clone());
  instruments.at(at)->EnsureStave();
  return at;
}

std::vector<CInstrumentDlg*> CInstrumentTemplates::ListedFor(size_t tab) const {
  std::vector<CInstrumentDlg*> listed;
  for (const auto& definition : instruments.items()) {
    if (tab == 0 || definition->family + 1u == tab) listed.push_back(definition.get());
  }
  return listed;
}

bool CInstrumentTemplates::DeleteDefinition(const CInstrumentDlg* definition) {
  if (!instruments.RemoveDefinition(definition)) return false;
  modified = true;
  return true;
}

bool CInstrumentTemplates::ImportBase(const std::string& path) {
  // The imported file is read into a base of its own that starts empty: only its own
  // definitions are appended, and it never writes the stored base.
  CInstrumentTemplates imported;
  const LoadResult result = EndsWith(path, kXmlEnding) ? LoadBaseFile(path, imported, imported)
                                                        : LoadBaseFile(path, imported, *this);
  if (result == LoadResult::kUnopened || result == LoadResult::kIgnored) return false;
  if (Prompts().Ask(kAppendQuestion, Buttons::kOkCancel) != Answer::kOk) return false;
  for (auto& definition : imported.instruments.items()) instruments.push_back(std::move(definition));
  imported.instruments.clear();
  modified = true;
  return true;
}

bool CInstrumentTemplates::EditInBaseContext(CInstrumentDlg& definition) {
  struct Restore {
    CInstrumentDlg& definition;
    ~Restore() { definition.editContext = true; }
  } restore{definition};
  definition.editContext = false;
  return SectionEditors().EditInstrument(definition);
}

bool CInstrumentTemplates::EditDefinition(CInstrumentDlg& definition) {
  if (!EditInBaseContext(definition)) return false;
  modified = true;
  return true;
}

CInstrumentDlg* CInstrumentTemplates::AddDefinition(const CInstrumentDlg* selected) {
  auto added = selected != nullptr ? selected->Clone() : std::make_unique<CInstrumentDlg>();
  added->EnsureStave();
  if (!EditInBaseContext(*added)) return nullptr;
  modified = true;
  return instruments.insert(0, std::move(added));
}

bool CInstrumentTemplates::ExportBase() {
  const std::optional<std::string> path =
      Prompts().PromptSaveFile(kExportTitle, "*.btbi", {}, Environment().dataFolder);
  if (!path || path->empty()) return false;
  return SaveInstrumentBaseAs(*path);
}

bool CInstrumentTemplates::SaveDatabase() {
  if (!SaveInstrumentBase()) return false;
  modified = false;
  return true;
}

bool CInstrumentTemplates::AskToSaveChanges() {
  if (!modified) return true;
  if (Prompts().Ask(kSaveQuestion, Buttons::kYesNo, MessageKind::kQuestion, kSaveQuestionCaption) != Answer::kYes) {
    return true;
  }
  if (SaveDatabase()) return true;
  Prompts().ShowMessage("Your changes to the instrument database are kept; the dialog stays open.",
                        MessageKind::kWarning);
  return false;
}

}  // namespace vornel
