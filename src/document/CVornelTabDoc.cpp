#include "document/CVornelTabDoc.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "document/DocumentEnvironment.h"
#include "document/SaveTarget.h"
#include "document/XmlDocumentCheck.h"
#include "document/zip/ZipBundle.h"
#include "platform/BuildBudget.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

void ShowError(std::string_view message) { Prompts().ShowMessage(message, MessageKind::kError); }

// The file a template asked for under `path` goes to: ".btt" becomes ".bttx", a document's
// ".btb" or ".btz" the XML document's ".btxml".
std::string TemplateFileOf(const std::string& path) {
  const std::string target = ReplaceFinalExtension(path, ".btt", ".bttx");
  return ReplaceFinalExtension(ReplaceFinalExtension(target, ".btb", ".btxml"), ".btz", ".btxml");
}

}  // namespace

std::string SaveFailedMessage(const std::string& path, const std::string& error) {
  std::string message = std::string(CVornelTabDoc::kSaveFailedMessage) + "\n" + path;
  if (!error.empty()) message += ":\n" + error;
  return message;
}

CVornelTabDoc::CVornelTabDoc() { xmlFlag = 1; }

bool CVornelTabDoc::OnNewDocument() {
  DeleteContents();
  ClearPathName();
  SetTitle({});
  sections.push_back(std::make_unique<CSystemArray>());
  sections.activeSection = -1;
  SetActiveSection(0);
  SyncHeadingFonts();
  SetModifiedFlag(false);
  openedFromBundle_ = false;
  return true;
}

bool CVornelTabDoc::OpenXmlFile(const std::string& xmlPath) {
  std::string error;
  const std::optional<std::string> text = ReadFileText(xmlPath, kMaxFileBytes, &error);
  if (!text) {
    ShowError(std::string(kUnparsableXmlMessage) + "\n" + xmlPath + ":\n" + error);
    return false;
  }
  const HeldBuild held(text->size());
  return ReadXmlText(*text, xmlPath);
}

bool CVornelTabDoc::OnOpenDocument(const std::string& requested) {
  std::string path = requested;
  DocumentFileType kind = GetDocumentFileType(path);
  if (kind == kUnknownFile) {
    ShowError(kUnknownTypeMessage);
    return false;
  }
  if (kind == kBinaryFile) {
    if (!CBriotabDoc::OnOpenDocument(path)) return false;
    openedFromBundle_ = false;
    return true;
  }
  if (!Exists(path)) {
    // A document saved as a bundle is still asked for by the name of its XML file.
    const std::string bundle = ReplaceFinalExtension(path, ".btxml", ".btz");
    if (kind != kXmlFile || bundle == path || !Exists(bundle)) {
      ShowError(kMissingFileMessage);
      return false;
    }
    kind = kBundleFile;
    path = bundle;
  }
  // What the reading may build grows with the file as it is stored, a bundle's packed bytes
  // counted as they are.
  BuildBudget budget = BuildBudget::OfFile(path);
  try {
    const ScopedBuildBudget scope(budget);
    if (!ReadDocumentFile(path, kind)) return false;
  } catch (const BuildBudgetExceeded& exceeded) {
    ShowError(path + ":\n" + exceeded.what());
    return false;
  }
  openedFromBundle_ = kind == kBundleFile;
  SetPathName(path);
  UpdateSectionList();
  UpdateAllViews(kHintRepaintAll, nullptr);
  return true;
}

bool CVornelTabDoc::ReadDocumentFile(const std::string& path, DocumentFileType kind) {
  if (kind == kBundleFile) {
    const UnzippedBundle bundle = UnzipBundle(path);
    if (bundle.status == BundleStatus::kNoDocument) {
      ShowError(kNotInBundleMessage);
      return false;
    }
    if (bundle.status != BundleStatus::kExtracted) {
      ShowError(bundle.reason.empty() ? std::string(kUnzipFailedMessage)
                                      : std::string(kUnzipFailedMessage) + "\n" + bundle.reason);
      return false;
    }
    const HeldBuild held(bundle.document.size());
    return ReadXmlText(bundle.document, path);
  }
  return OpenXmlFile(path);
}

bool CVornelTabDoc::OnSaveDocument(const std::string& path) {
  std::string target = path.empty() ? GetPathName() : path;
  if (target.empty()) {
    const std::string& folder = Environment().defaultFolder;
    target = folder.empty() ? std::string(kDefaultName) : (fs::path(folder) / kDefaultName).string();
  }
  const size_t dot = target.find_last_of('.');
  const std::string extension = dot == std::string::npos ? std::string() : target.substr(dot + 1);
  if (xmlFlag == 0 && EqualsNoCase(extension, "btb") &&
      Prompts().Ask(kConversionQuestion, Buttons::kOkCancel) != Answer::kOk) {
    return false;
  }
  // A read-only document is replaced only when the user says so, or saved elsewhere.
  const std::string destination = xmlFlag == 0 ? XmlPathOfBinary(target) : target;
  std::string pattern = fs::path(destination).extension().string();
  pattern.insert(pattern.begin(), '*');
  const std::optional<std::string> confirmed = ConfirmSaveTarget(destination, pattern);
  if (!confirmed) return false;
  if (*confirmed != destination) target = *confirmed;
  const std::string previous = GetPathName();
  SetPathName(target);
  std::optional<std::string> written;
  std::string error;
  try {
    written = WriteXml(&error);
  } catch (const std::exception& e) {
    written.reset();
    error = e.what();
  }
  if (!written) {
    SetPathName(previous);
    ShowError(SaveFailedMessage(target, error));
    return false;
  }
  // The document is an XML document from now on, under the name it was written to.
  SetPathName(*written);
  xmlFlag = 1;
  openedFromBundle_ = GetDocumentFileType(*written) == kBundleFile;
  return true;
}

std::optional<std::string> CVornelTabDoc::SaveAsXmlTemplate() {
  const auto name = Prompts().PromptSaveFile("Save document template", "*.bttx", "");
  if (!name) return std::nullopt;
  return SaveXmlTemplate(*name);
}

std::optional<std::string> CVornelTabDoc::SaveXmlTemplate(const std::string& path) {
  const std::optional<std::string> confirmed = ConfirmSaveTarget(TemplateFileOf(path), "*.bttx");
  if (!confirmed) return std::nullopt;
  return WriteXmlTemplate(*confirmed);
}

std::optional<std::string> CVornelTabDoc::WriteXmlTemplate(const std::string& path) {
  const std::string target = TemplateFileOf(path);
  SyncHeadingFonts();
  CSectionArray one;
  one.push_back(CopySection(*GetActiveSection()));
  one.activeSection = 0;
  one.Renumber();
  std::string error;
  if (!SaveXmlText(target, &one, &error)) {
    ShowError(SaveFailedMessage(target, error));
    return std::nullopt;
  }
  return target;
}

bool CVornelTabDoc::OpenDocumentInFolder(const std::string& name) {
  if (!OnOpenDocument((fs::path(Environment().dataFolder) / name).string())) return false;
  ClearPathName();
  return true;
}

bool CVornelTabDoc::ApplyTemplate(const std::string& path) {
  CVornelTabDoc source;
  if (!source.OnOpenDocument(path)) {
    ShowError(kTemplateFailedMessage);
    return false;
  }
  if (!source.sections.empty()) {
    settings.CopyFormatFrom(source.settings);
    const CSystemArray& model = *source.sections.at(0);
    for (const auto& section : sections.items()) {
      if (section != nullptr) section->CopySettingsFrom(model);
    }
  }
  NotifyChanged(kHintRepaintAll);
  return true;
}

bool ConvertBinaryToXml(const std::string& path) {
  CVornelTabDoc doc;
  if (!doc.CBriotabDoc::OnOpenDocument(path)) return false;
  std::string error;
  if (doc.WriteXml(&error)) return true;
  Prompts().ShowMessage(SaveFailedMessage(doc.GetPathName(), error), MessageKind::kError);
  return false;
}

}  // namespace vornel
