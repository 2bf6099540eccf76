#include "midi/CMidiPlaylist.h"

#include <filesystem>
#include <system_error>

#include "platform/UserPrompts.h"

namespace vornel {

int CMidiPlaylist::AddFile(std::string_view path) {
  static constexpr std::string_view kEAcute = "\xC3\xA9";
  std::string cleaned;
  cleaned.reserve(path.size());
  for (size_t i = 0; i < path.size();) {
    if (path.substr(i, kEAcute.size()) == kEAcute) {
      cleaned += 'e';
      i += kEAcute.size();
    } else {
      cleaned += path[i++];
    }
  }
  files_.push_back(std::move(cleaned));
  return static_cast<int>(files_.size()) - 1;
}

const std::string* CMidiPlaylist::SelectedFile() const {
  if (selected < 0 || static_cast<size_t>(selected) >= files_.size()) return nullptr;
  return &files_[static_cast<size_t>(selected)];
}

std::vector<std::string> CMidiPlaylist::DeleteAll() {
  std::vector<std::string> failed;
  for (const std::string& f : files_) {
    std::error_code ec;
    std::filesystem::remove(f, ec);
    if (ec) failed.push_back(f);
  }
  files_.clear();
  selected = -1;
  return failed;
}

bool CMidiPlaylist::CheckPlayer(const std::string& playerPath) {
  std::error_code ec;
  if (!playerPath.empty() && std::filesystem::is_regular_file(playerPath, ec)) return true;
  Prompts().ShowMessage(kPlayerNotSet, MessageKind::kWarning);
  return false;
}

}  // namespace vornel
