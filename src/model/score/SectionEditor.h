#pragma once
// The dialogs that section operations open (the instrument property sheet, "Parse voices",
// the system options, the texts of a page) belong to the window layer. The model asks for
// them through this interface, which the window layer installs; without it each dialog says
// that no section editor is installed and changes nothing.

namespace vornel {

class CInstrumentDlg;
class CStaveArray;
class CTrackText;
class nTuning;

class SectionEditor {
 public:
  virtual ~SectionEditor() = default;
  // The "Instrument properties" sheet on a definition; true on OK, the edits in it.
  virtual bool EditInstrument(CInstrumentDlg& definition);
  // The "Parse voices" dialog, starting from the proposed split pitch (MIDI 0-127) and high
  // voice range (0-12); true on OK with the chosen values.
  virtual bool ParseVoices(int& splitPitch, int& highRange);
  // The system options dialog of a system; true on OK.
  virtual bool EditSystemOptions(CStaveArray& system);
  // The editor of a text placed on a page; true on OK.
  virtual bool EditTrackText(CTrackText& text);
  // The name text of an instrument (its text and font) in the page text editor above; true on
  // OK.
  virtual bool EditTrackFont(CInstrumentDlg& definition);
  // The "Instrument tuning" dialog on a tuning; true on OK with the edited tuning stored in it
  // (its lines taken from the dialog). Any playing of the strings has stopped by then.
  virtual bool EditTuning(nTuning& tuning);
};

// The editor in force.
SectionEditor& SectionEditors();

// Installs `editor` for its lifetime and restores the previous one after.
class ScopedSectionEditor {
 public:
  explicit ScopedSectionEditor(SectionEditor& editor);
  ~ScopedSectionEditor();
  ScopedSectionEditor(const ScopedSectionEditor&) = delete;
  ScopedSectionEditor& operator=(const ScopedSectionEditor&) = delete;

 private:
  SectionEditor* previous_;
};

}  // namespace vornel
