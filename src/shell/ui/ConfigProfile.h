#pragma once
// The editor's profile: an INI file of the XDG config folder kept by wxFileConfig, with the
// profile's section and key names. Written when flushed and when the object goes.

#include <memory>
#include <string>

#include "shell/app/Profile.h"

class wxFileConfig;

namespace vornel {

class ConfigProfile : public ProfileStore {
 public:
  static constexpr const char* kFileName = "vornel.ini";

  // The profile file at `path` (made with its folder on the first flush); by default
  // ProfileFolder() + "vornel.ini".
  explicit ConfigProfile(std::string path = {});
  ~ConfigProfile() override;

  std::optional<std::string> ReadText(std::string_view section, std::string_view key) const override;
  void WriteText(std::string_view section, std::string_view key, std::string_view value) override;
  void Remove(std::string_view section, std::string_view key) override;
  bool Flush() override;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::unique_ptr<wxFileConfig> config_;
  bool changed_ = false;
};

}  // namespace vornel
