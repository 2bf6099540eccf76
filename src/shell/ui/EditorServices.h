#pragma once
// Every service the editor's windows give the other areas, made and installed in one place
// when the shell starts and put back when it ends: the score canvas, title-page and facsimile
// factories of the tabs, the dialogs of every area (sections, systems, meta-events, chords,
// settings, MIDI, wizards, templates, associations, rich text), the font chooser, the image
// viewer, the chord clipboard, the programs, the sounds, the exports and the hooks of drawing
// and playback. The process's prompts are installed before it (by the program or a test).
//
// Each service lives in a slot of its area (platform/ServiceSlots.h); `Missing()` names the
// slots that hold no object of the window layer once the main frame is attached, which a
// debug build checks at start-up and the editor's window test asserts.

#include <memory>
#include <string>
#include <vector>

class wxWindow;

namespace vornel {

class CVornelTabApp;

class EditorServices {
 public:
  explicit EditorServices(CVornelTabApp& app);
  ~EditorServices();
  EditorServices(const EditorServices&) = delete;
  EditorServices& operator=(const EditorServices&) = delete;

  // The main frame is built: the dialogs belong to it from now on, and every slot is checked.
  void AttachFrame(wxWindow* frame);
  // The names of the slots in force that hold no service of the window layer.
  std::vector<std::string> Missing() const;

 private:
  struct Installed;
  std::unique_ptr<Installed> installed_;
};

}  // namespace vornel
