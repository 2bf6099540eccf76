#pragma once
// The recent-file list: twelve document paths, newest first, kept in the profile section
// "Recent File List" as "File1" to "File12".

#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class ProfileStore;

class RecentFileList {
 public:
  static constexpr size_t kCapacity = 12;

  // True for the paths the list takes: documents, templates and bundles (".btb", ".btt",
  // ".bttx", ".btxml", ".btz") that exist as files.
  static bool Accepts(const std::string& path);

  void Load(const ProfileStore& profile);
  void Save(ProfileStore& profile) const;

  // Puts an accepted path first (moving it when listed); other paths are ignored. Returns
  // whether the list took it.
  bool Add(const std::string& path);
  void Remove(std::string_view path);
  const std::vector<std::string>& Paths() const { return paths_; }

  // The profile key of entry `index` (0-based): "File1" ...
  static std::string Key(size_t index);

 private:
  std::vector<std::string> paths_;
};

}  // namespace vornel
