#pragma once
// The "Instrument properties" sheet: six pages over a working copy of an instrument
// definition (name, "Staves", tablature, fonts and colours, MIDI, pedals). Each page edits its
// struct (model/dialogs/InstrumentPages.h) or the definition's stave page values through
// TransferDataToWindow and TransferDataFromWindow; OK of the sheet reads every page, copies
// the page values back (InstrumentSheet::Apply) and hands the copy to the caller.

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/propdlg.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

#include <array>
#include <functional>
#include <memory>

#include "layout/ui/dialogs/TexturedDialog.h"
#include "midi/MidiDialogs.h"
#include "midi/ui/DialogFields.h"
#include "model/dialogs/InstrumentPages.h"
#include "view/ui/charts/ChordChartDialog.h"

namespace vornel {

class CStaticStaff;
class MidiControlsPage;

// What the sheet's buttons reach beyond the definition; an action left empty disables its
// button.
struct InstrumentSheetActions {
  // "Set as default instrument": the definition becomes the application's default.
  std::function<void(const CInstrumentDlg&)> setAsDefault;
  // "Add to current section": the same, then the default instrument is imported.
  std::function<void(const CInstrumentDlg&)> addToSection;
  // "Font" of the tablature page: the document's font of time signatures on tablature.
  std::function<void()> documentTabFont;
  // "Edit alfabeto" of the tablature page: the chart dialog on the tablature instrument.
  std::function<void(wxWindow*, CTabInstrument&)> editAlfabeto = ShowChordChartDlg;
};

class InstrumentNamePanel : public TexturedPage {
 public:
  InstrumentNamePanel(wxWindow* parent, CInstrumentDlg& definition, const InstrumentSheetActions& actions);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  CInstrumentName& Fields() { return fields_; }
  wxTextCtrl* NameText() const { return name_; }
  CStaticStaff* Preview() const { return preview_; }
  wxRadioButton* TablatureRadio() const { return tablature_; }
  // The preview drawn again from the definition, as the radio buttons ask.
  void ShowPreview();
  // "...": the name text in "Track text settings"; the name shown again afterwards.
  void EditNameText();
  // "View Database": the templates dialog; its choice replaces the definition.
  void ViewDatabase();
  // "Add to database": every page read, the definition saved into the instrument base, which
  // is then shown.
  void AddToDatabase();

 private:
  CInstrumentDlg& definition_;
  CInstrumentName fields_;
  DialogFields bound_;
  wxTextCtrl* name_;
  wxChoice* family_;
  wxRadioButton* notation_;
  wxRadioButton* tablature_;
  CStaticStaff* preview_;
};

// "Staves": a tab per stave, the notation presets and the current stave's settings.
class StavesPanel : public TexturedPage {
 public:
  StavesPanel(wxWindow* parent, CInstrumentDlg& definition);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  wxChoice* Staves() const { return staves_; }
  wxChoice* Preset() const { return preset_; }
  // Another stave: the page's values into the current stave, then the other loaded.
  void SelectStave(size_t index);
  void ApplyPreset(int index);

 private:
  void ListStaves();
  CInstrumentDlg& definition_;
  DialogFields bound_;
  wxChoice* staves_;
  wxChoice* preset_;
  wxChoice* clef_;
  wxChoice* mode_;
  wxChoice* voices_;
  wxChoice* clefStyle_;
};

class TablaturePanel : public TexturedPage {
 public:
  TablaturePanel(wxWindow* parent, CInstrumentDlg& definition, const InstrumentSheetActions& actions);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  TabInstrumentDlg& Fields() { return fields_; }
  wxChoice* FlagGroups() const { return flagGroups_; }
  wxTextCtrl* TuningText() const { return tuningText_; }
  // "Change tuning": the tuning dialog on the page's tuning.
  void ChangeTuning();
  // "Edit alfabeto": the page read into the instrument, then its chart dialog.
  void EditAlfabeto();

 private:
  CInstrumentDlg& definition_;
  std::function<void(wxWindow*, CTabInstrument&)> editAlfabeto_;
  TabInstrumentDlg fields_;
  DialogFields bound_;
  wxTextCtrl* tuningText_;
  wxChoice* style_;
  wxChoice* flags_;
  wxChoice* flagGroups_;
  wxChoice* fretScale_;
  wxChoice* diapasons_;
};

class TabFontsPanel : public TexturedPage {
 public:
  TabFontsPanel(wxWindow* parent, CInstrumentDlg& definition);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  CTabFontsDlg& Fields() { return fields_; }
  wxSlider* Micro(size_t font) const { return micro_[font]; }
  // "Default colors".
  void DefaultColors();

 private:
  void ShowColors();
  void ShowDescriptions();
  CInstrumentDlg& definition_;
  CTabFontsDlg fields_;
  std::array<wxSlider*, CTabFontsDlg::kFontCount> micro_{};
  std::array<wxSpinCtrl*, CTabFontsDlg::kFontCount> microEdit_{};
  std::array<wxPanel*, CTabFontsDlg::kFontCount> fontSwatches_{};
  std::array<wxStaticText*, CTabFontsDlg::kFontCount> descriptions_{};
  std::array<wxPanel*, COrnamentTable::kColorCount> glyphSwatches_{};
};

class PedalsPanel : public TexturedPage {
 public:
  PedalsPanel(wxWindow* parent, CInstrumentDlg& definition);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  CPedalControl& Fields() { return fields_; }
  wxChoice* Pedals() const { return pedals_; }
  wxListCtrl* Strings() const { return strings_; }
  wxSpinCtrl* Action() const { return action_; }
  // Another tab: the controls into the current pedal, then the other shown.
  void SelectPedal(int index);

 private:
  void ShowPedal();
  void ReadPedal();
  CInstrumentDlg& definition_;
  CPedalControl fields_;
  wxChoice* pedals_;
  wxListCtrl* strings_;
  wxCheckBox* persistent_;
  wxSpinCtrl* action_;
  wxTextCtrl* caption_;
  wxPanel* sample_;
};

class InstrumentSheetDialog : public TexturedPropertySheet {
 public:
  // The sheet edits `working`, a copy the caller made and opened (InstrumentSheet::Open).
  InstrumentSheetDialog(wxWindow* parent, CInstrumentDlg& working, InstrumentSheetActions actions = {});
  ~InstrumentSheetDialog() override;
  bool TransferDataToWindow() override;
  // Every page back into the working copy; the copy-back of OK. False, with the page shown,
  // when a page refuses its fields.
  bool TransferDataFromWindow() override;
  wxWindow* Page(size_t index) const;
  InstrumentNamePanel* NamePage() const { return name_; }
  StavesPanel* StavesPage() const { return staves_; }
  TablaturePanel* TablaturePage() const { return tablature_; }
  TabFontsPanel* FontsPage() const { return fonts_; }
  MidiControlsPage* MidiPage() const { return midi_; }
  PedalsPanel* PedalsPage() const { return pedals_; }

 private:
  CInstrumentDlg& working_;
  InstrumentSheetActions actions_;
  MIDIControlsDlg midiFields_;
  InstrumentNamePanel* name_;
  StavesPanel* staves_;
  TablaturePanel* tablature_;
  TabFontsPanel* fonts_;
  MidiControlsPage* midi_;
  PedalsPanel* pedals_;
};

// Runs the sheet on a copy of the definition; on OK the definition takes the copy.
bool ShowInstrumentSheet(wxWindow* parent, CInstrumentDlg& definition, const InstrumentSheetActions& actions = {});

}  // namespace vornel
