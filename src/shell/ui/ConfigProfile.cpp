#include "shell/ui/ConfigProfile.h"

#include <wx/fileconf.h>

#include <filesystem>
#include <system_error>

#include "shell/app/XdgFolders.h"

namespace vornel {

namespace {

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

// "/section/key": the sections of the profile are the file's groups.
wxString EntryPath(std::string_view section, std::string_view key) {
  return "/" + FromUtf8(section) + "/" + FromUtf8(key);
}

}  // namespace

ConfigProfile::ConfigProfile(std::string path) : path_(path.empty() ? ProfileFolder() + kFileName : std::move(path)) {
  config_ = std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, FromUtf8(path_), wxEmptyString,
                                           wxCONFIG_USE_LOCAL_FILE, wxConvUTF8);
  // Paths and texts are kept as written: no "$VAR" expansion.
  config_->SetExpandEnvVars(false);
}

ConfigProfile::~ConfigProfile() { Flush(); }

std::optional<std::string> ConfigProfile::ReadText(std::string_view section, std::string_view key) const {
  wxString value;
  if (!config_->Read(EntryPath(section, key), &value)) return std::nullopt;
  return std::string(value.utf8_str());
}

void ConfigProfile::WriteText(std::string_view section, std::string_view key, std::string_view value) {
  config_->Write(EntryPath(section, key), FromUtf8(value));
  changed_ = true;
}

void ConfigProfile::Remove(std::string_view section, std::string_view key) {
  changed_ = config_->DeleteEntry(EntryPath(section, key), false) || changed_;
}

bool ConfigProfile::Flush() {
  // A profile only read leaves no file and no folder behind.
  if (!changed_) return true;
  changed_ = false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
  return config_->Flush();
}

}  // namespace vornel
