#include "shell/app/RecentFileList.h"

#include <sys/stat.h>

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "shell/app/Profile.h"

namespace vornel {

bool RecentFileList::Accepts(const std::string& path) {
  if (GetDocumentFileType(path) == kUnknownFile) return false;
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string RecentFileList::Key(size_t index) { return "File" + std::to_string(index + 1); }

void RecentFileList::Load(const ProfileStore& profile) {
  paths_.clear();
  for (size_t i = 0; i < kCapacity; ++i) {
    std::string path = profile.GetText(kRecentFileSection, Key(i));
    if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
      paths_.push_back(std::move(path));
    }
  }
}

void RecentFileList::Save(ProfileStore& profile) const {
  for (size_t i = 0; i < kCapacity; ++i) {
    if (i < paths_.size()) {
      profile.WriteText(kRecentFileSection, Key(i), paths_[i]);
    } else {
      profile.Remove(kRecentFileSection, Key(i));
    }
  }
}

bool RecentFileList::Add(const std::string& path) {
  if (!Accepts(path)) return false;
  Remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kCapacity) paths_.resize(kCapacity);
  return true;
}

void RecentFileList::Remove(std::string_view path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

}  // namespace vornel
