#pragma once
// "MIDI Play list": the modeless window over the play list. The main frame keeps it (created
// on first use); "Close", OK and Cancel only hide it.

#include <wx/dialog.h>
#include <wx/listbox.h>

#include <functional>
#include <string>

#include "midi/CMidiPlaylist.h"

namespace vornel {

class MidiPlaylistWindow : public wxDialog {
 public:
  static constexpr int kResourceId = 760;

  // What the window needs of the editor: the MIDI-to-WAVE command line of the preferences,
  // the folder of the owning document, and that document's web-page export (empty when no
  // document is attached).
  struct Owner {
    std::function<std::string()> playerCommand;
    std::function<std::string()> documentFolder;
    std::function<std::function<bool()>()> htmlExport;
  };

  MidiPlaylistWindow(wxWindow* parent, CMidiPlaylist& list, Owner owner);
  // Adds a file to the list and shows it.
  void AddFile(const std::string& path);
  bool TransferDataToWindow() override;
  wxListBox* List() const { return listBox_; }

  // The buttons, as the window's controls run them.
  void PlayFile();
  void PlayAll();
  void ZipBundle();
  void CreateHtmlPage();
  void DeleteAll();

 private:
  CMidiPlaylist& list_;
  Owner owner_;
  wxListBox* listBox_;
};

}  // namespace vornel
