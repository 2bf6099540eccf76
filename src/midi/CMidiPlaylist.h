#pragma once
// The MIDI play list: the exported MIDI files collected for playing, handing to the external
// MIDI-to-WAVE player or packing into a bundle. The window that shows it comes with the shell.

#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class CMidiPlaylist {
 public:
  static constexpr std::string_view kPlayerNotSet =
      "MIDI to WAV player not set.\nPlease set the path to your player in Preferences.";
  static constexpr std::string_view kNoDocument = "Cannot access document";

  int selected = -1;
  std::string bundlePath;  // the zip bundle of the listed files, once made

  const std::vector<std::string>& Files() const { return files_; }
  // Appends a path with every 'é' written as 'e' (the external players choke on it); returns
  // its index.
  int AddFile(std::string_view path);
  // The selected path, or nothing without a selection.
  const std::string* SelectedFile() const;
  // Deletes every listed file from the disk and empties the list; returns the files that
  // could not be deleted.
  std::vector<std::string> DeleteAll();
  // True when `playerPath` names an existing program; otherwise shows the "not set" message.
  static bool CheckPlayer(const std::string& playerPath);

 private:
  std::vector<std::string> files_;
};

}  // namespace vornel
