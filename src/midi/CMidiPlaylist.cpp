#include "midi/CMidiPlaylist.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "document/zip/ZipBundle.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"

namespace vornel {

int CMidiPlaylist::AddFile(std::string_view path) {
  // A file written again (the same export run twice) keeps its one place.
  const auto listed = std::find(files_.begin(), files_.end(), path);
  if (listed != files_.end()) return static_cast<int>(listed - files_.begin());
  files_.emplace_back(path);
  return static_cast<int>(files_.size()) - 1;
}

const std::string* CMidiPlaylist::SelectedFile() const {
  if (selected < 0 || static_cast<size_t>(selected) >= files_.size()) return nullptr;
  return &files_[static_cast<size_t>(selected)];
}

bool CMidiPlaylist::PlayFile() const {
  const std::string* file = SelectedFile();
  return file != nullptr && Programs().OpenWithDefault(*file);
}

namespace {

bool PlayerIsSet(const std::vector<std::string>& words) {
  if (!words.empty() && FindProgram(words[0])) return true;
  Prompts().ShowMessage(CMidiPlaylist::kPlayerNotSet, MessageKind::kWarning);
  return false;
}

}  // namespace

std::optional<std::vector<std::string>> CMidiPlaylist::MidiToWaveCommand(const std::string& playerCommand,
                                                                         const std::string& file) {
  std::vector<std::string> words = SplitCommandLine(playerCommand);
  if (!PlayerIsSet(words)) return std::nullopt;
  const std::string wave = std::filesystem::path(file).replace_extension(".wav").string();
  bool placed = false;
  for (std::string& w : words) {
    for (const auto& [mark, value] : {std::pair<std::string_view, const std::string&>{"{in}", file}, {"{out}", wave}}) {
      for (size_t at = w.find(mark); at != std::string::npos; at = w.find(mark, at + value.size())) {
        w.replace(at, mark.size(), value);
        placed = placed || mark == "{in}";
      }
    }
  }
  if (!placed) words.push_back(file);
  return words;
}

bool CMidiPlaylist::PlayAll(const std::string& playerCommand, const std::string& documentFolder) {
  if (!PlayerIsSet(SplitCommandLine(playerCommand))) return false;
  std::error_code ec;
  if (bundlePath.empty() || !std::filesystem::is_regular_file(bundlePath, ec)) {
    if (!ZipBundle(documentFolder)) return false;
  }
  const auto command = MidiToWaveCommand(playerCommand, bundlePath);
  return command && Programs().Start(*command, documentFolder, {});
}

bool CMidiPlaylist::ZipBundle(const std::string& documentFolder) {
  const std::optional<std::string> zip = CreateZipFromFiles(files_, documentFolder, "zip");
  if (!zip) return false;
  bundlePath = *zip;
  return true;
}

bool CMidiPlaylist::CreateHtmlPage(const std::function<bool()>& exportPage) {
  if (!exportPage) {
    Prompts().ShowMessage(kNoDocument, MessageKind::kWarning);
    return false;
  }
  return exportPage();
}

std::vector<std::string> CMidiPlaylist::DeleteAll() {
  std::vector<std::string> failed;
  if (files_.empty()) return failed;
  if (Prompts().Ask(kDeleteAllQuestion, Buttons::kYesNo, MessageKind::kQuestion) != Answer::kYes) return failed;
  for (const std::string& f : files_) {
    std::error_code ec;
    std::filesystem::remove(f, ec);
    if (ec) failed.push_back(f);
  }
  files_.clear();
  selected = -1;
  return failed;
}

}  // namespace vornel
