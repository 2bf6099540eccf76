#include "shell/files/FileHelpers.h"

#include <gio/gio.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "document/zip/ZipWriter.h"
#include "platform/UserPrompts.h"
#include "platform/text/AsciiCase.h"
#include "shell/files/PathHelpers.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The names of the regular files in `folder` whose extension is one of `extensions` (compared
// without regard to case); nothing when the folder cannot be read.
std::optional<std::vector<std::string>> FilesWithExtensions(const std::string& folder,
                                                            std::initializer_list<std::string_view> extensions) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  std::vector<std::string> names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) return std::nullopt;
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    for (const std::string_view extension : extensions) {
      if (name.size() > extension.size() && EndsWithNoCase(name, extension)) {
        names.push_back(name);
        break;
      }
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string TemplateFileName(std::string_view name) {
  std::string result(name);
  if (EndsWith(result, ".btt")) {
    result += 'x';
  } else if (!EndsWith(result, ".bttx")) {
    result += ".bttx";
  }
  return result;
}

std::optional<std::string> ChooseTemplateFile(bool save, const std::string& dataFolder,
                                              const std::string& templatesFolder) {
  if (!save) return ChooseTemplateInFolder(templatesFolder);
  std::optional<std::string> name = Prompts().PromptSaveFile("Save to a Vornel template file", "*.bttx", {}, dataFolder);
  if (!name || name->empty()) return std::nullopt;
  return TemplateFileName(*name);
}

std::optional<std::string> ChooseTemplateInFolder(const std::string& templatesFolder) {
  return Prompts().PromptOpenFile("Templates Directory Location", "*.btt;*.bttx", templatesFolder);
}

std::optional<std::vector<std::string>> ListTemplateFiles(const std::string& templatesFolder) {
  std::optional<std::vector<std::string>> names = FilesWithExtensions(templatesFolder, {".btt", ".bttx"});
  if (!names) Prompts().ShowMessage("Cannot change to template directory: " + templatesFolder, MessageKind::kError);
  return names;
}

std::optional<std::vector<std::string>> ListDocumentGroups(const std::string& xmlFolder) {
  std::optional<std::vector<std::string>> names = FilesWithExtensions(xmlFolder, {".vndb"});
  if (!names) {
    Prompts().ShowMessage("Cannot navigate to the Vornel XML directory: please check your Preferences settings",
                          MessageKind::kError, "Unable to load document groups");
    return std::nullopt;
  }
  for (std::string& name : *names) name.resize(name.size() - 5);
  return names;
}

std::optional<std::string> PromptOpenFileOfType(std::string_view title, std::string_view extension,
                                                std::string_view initialFolder) {
  return Prompts().PromptOpenFile(title, "*." + std::string(extension), initialFolder);
}

std::optional<std::string> PromptDatabaseFileName(const std::string& xmlFolder) {
  std::optional<std::string> name = Prompts().PromptSaveFile("Open Vornel file database", "*.vndb", {}, xmlFolder);
  if (!name || name->empty()) return std::nullopt;
  if (!EndsWith(*name, ".vndb")) *name += ".vndb";
  return name;
}

std::optional<std::string> ChooseXmlFolder(const std::string& xmlFolder) {
  std::optional<std::string> folder = Prompts().PromptFolder("XML Directory Path", xmlFolder);
  if (!folder || folder->empty()) return std::nullopt;
  return WithTrailingSeparator(*folder);
}

bool DeleteDataFile(const std::string& dataFolder, std::string_view name) {
  const std::string path = WithTrailingSeparator(dataFolder) + std::string(name);
  return ::unlink(path.c_str()) == 0;
}

bool DeleteToRecycleBin(const std::string& path) {
  GFile* file = g_file_new_for_path(path.c_str());
  GError* error = nullptr;
  const gboolean trashed = g_file_trash(file, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  g_object_unref(file);
  return trashed != FALSE;
}

bool MoveBinaryFileToBackup(std::string& path) {
  const std::string folder = GetPathFolder(path) + "btb/";
  std::error_code ec;
  if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
    // A file stands where the folder belongs.
    Prompts().ShowMessage(folder + ":\nUnable to process this directory path. The btb file will not be moved there. ",
                          MessageKind::kError);
    return false;
  }
  if (!fs::is_directory(folder, ec) && !fs::create_directory(folder, ec)) {
    Prompts().ShowMessage(folder + ":\nUnable to process this directory path. The btb file will not be moved there. ",
                          MessageKind::kError);
    return false;
  }
  const std::string target = folder + GetPathFileName(path);
  fs::rename(path, target, ec);
  if (ec == std::errc::cross_device_link) {
    ec.clear();
    if (fs::copy_file(path, target, fs::copy_options::overwrite_existing, ec)) fs::remove(path, ec);
  }
  if (ec) {
    Prompts().ShowMessage("Unable to move btb file to backup folder!", MessageKind::kError);
    return false;
  }
  path = target;
  return true;
}

void OfferCopyImageToDocumentFolder(std::string& imagePath, const std::string& documentFolder) {
  if (imagePath.empty() || documentFolder.empty()) return;
  const std::string folder = WithTrailingSeparator(documentFolder);
  if (GetPathFolder(imagePath) == folder) return;
  const std::string name = GetPathFileName(imagePath);
  if (Prompts().Ask(name + ": It is recommended that you make a copy of this image in the document's folder.\n"
                           "Do you want to do that?",
                    Buttons::kOkCancel) != Answer::kOk) {
    return;
  }
  const std::string target = folder + name;
  std::error_code ec;
  if (fs::exists(target, ec) &&
      Prompts().Ask(target + "\nA file of this name is already in the document's folder. Replace it?",
                    Buttons::kYesNo, MessageKind::kWarning) != Answer::kYes) {
    return;
  }
  if (!fs::copy_file(imagePath, target, fs::copy_options::overwrite_existing, ec)) {
    Prompts().ShowMessage("Unable to copy " + imagePath + " to " + folder, MessageKind::kError);
    return;
  }
  imagePath = target;
}

}  // namespace vornel
