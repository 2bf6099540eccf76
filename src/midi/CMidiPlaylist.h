#pragma once
// The MIDI play list: the exported MIDI files collected for playing, for handing to the
// external MIDI-to-WAVE player or for packing into a zip bundle. Its window ("MIDI Play list")
// lives in the window layer and calls these actions; messages and questions go through
// Prompts(), programs through Programs().

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class CMidiPlaylist {
 public:
  static constexpr std::string_view kPlayerNotSet =
      "MIDI to WAV player not set.\nPlease set the path to your player in Preferences.";
  static constexpr std::string_view kNoDocument = "Cannot access document";
  static constexpr std::string_view kDeleteAllQuestion = "Delete every file of the play list from the disk?";

  int selected = -1;
  std::string bundlePath;  // the zip bundle of the listed files, once made

  const std::vector<std::string>& Files() const { return files_; }
  // Appends a path as it is given (it must name the file for playing and deleting it);
  // returns its index. A path already listed is not listed twice.
  int AddFile(std::string_view path);
  // The selected path, or nothing without a selection.
  const std::string* SelectedFile() const;

  // "PLAY FILE": the selected file opened with the desktop's program for it. False without a
  // selection.
  bool PlayFile() const;
  // "PLAY ALL": the MIDI-to-WAVE player (the command line of the preferences) started on the
  // bundle, which is made first (asking for its name) when there is none yet or its file is
  // gone. A player that is not set or not found shows kPlayerNotSet.
  bool PlayAll(const std::string& playerCommand, const std::string& documentFolder);
  // "Zip Bundle": the listed files packed into a zip file chosen in the document's folder;
  // its path is kept.
  bool ZipBundle(const std::string& documentFolder);
  // "Create HTML Page": the document's web-page export, or "Cannot access document" when no
  // document is attached (`exportPage` empty).
  static bool CreateHtmlPage(const std::function<bool()>& exportPage);
  // "Delete all": after the user agrees, every listed file is deleted from the disk and the
  // list emptied; returns the files that could not be deleted. Nothing happens on "No".
  std::vector<std::string> DeleteAll();

  // The words of the MIDI-to-WAVE command for a file: the preferences' command line with "{in}"
  // replaced by the file (appended when the line has no "{in}") and "{out}" by the file with
  // the extension ".wav"; nothing (after kPlayerNotSet) when the program is not set or not
  // found.
  static std::optional<std::vector<std::string>> MidiToWaveCommand(const std::string& playerCommand,
                                                                   const std::string& file);

 private:
  std::vector<std::string> files_;
};

}  // namespace vornel
