#include "view/ui/instrument/InstrumentSheetWindows.h"

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/colordlg.h>
#include <wx/dcclient.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "document/instruments/InstrumentBaseUse.h"
#include "midi/MidiSection.h"
#include "midi/ui/MidiSettingsDialogs.h"
#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "platform/ui/DialogChecks.h"
#include "platform/ui/WxText.h"
#include "view/draw/FontChooser.h"
#include "view/ui/charts/MusicOrnamentDialog.h"
#include "view/ui/dialogs/CustomOrnamentDialog.h"
#include "view/ui/dialogs/CStaticStaff.h"

namespace vornel {

namespace {

template <size_t N>
wxChoice* ChoiceOf(wxWindow* parent, const std::array<std::string_view, N>& entries) {
  auto* choice = new wxChoice(parent, wxID_ANY);
  for (std::string_view e : entries) choice->Append(WxText(e));
  return choice;
}

void Select(wxChoice* choice, int index) {
  choice->SetSelection(index >= 0 && static_cast<unsigned>(index) < choice->GetCount() ? index : wxNOT_FOUND);
}

void Row(wxWindow* parent, wxSizer* grid, const wxString& label, wxWindow* control) {
  grid->Add(new wxStaticText(parent, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid->Add(control, 0, wxALL, 3);
}

// The colour dialog on a colour; true with the choice on OK, the colour unchanged on Cancel.
bool ChooseColour(wxWindow* parent, uint32_t& colour) {
  wxColourData data;
  data.SetColour(ColourOfColorRef(colour));
  wxColourDialog dialog(parent, &data);
  if (dialog.ShowModal() != wxID_OK) return false;
  colour = ColorRefOfColour(dialog.GetColourData().GetColour());
  return true;
}

wxPanel* Swatch(wxWindow* parent) {
  auto* swatch = new wxPanel(parent, wxID_ANY, wxDefaultPosition, wxSize(36, 18), wxBORDER_SIMPLE);
  return swatch;
}

void Paint(wxPanel* swatch, uint32_t colour) {
  swatch->SetBackgroundColour(ColourOfColorRef(colour));
  swatch->Refresh();
}

InstrumentSheetDialog* SheetOf(wxWindow* page) {
  return dynamic_cast<InstrumentSheetDialog*>(wxGetTopLevelParent(page));
}

// The pages of the sheet that holds `page` read back into the working copy as OK reads them
// (only `page` when it stands alone); false, with the refusing page shown, when one refuses.
bool CommitPages(wxWindow* page, CInstrumentDlg& definition) {
  if (InstrumentSheetDialog* sheet = SheetOf(page)) return sheet->TransferDataFromWindow();
  if (!page->TransferDataFromWindow()) return false;
  InstrumentSheet::Apply(definition);
  return true;
}

// The working copy replaced from elsewhere (the instrument base): its page values opened again
// and every page of the sheet that holds `page` filled from it.
void ReloadPages(wxWindow* page, CInstrumentDlg& definition) {
  InstrumentSheet::Open(definition);
  if (InstrumentSheetDialog* sheet = SheetOf(page)) {
    sheet->TransferDataToWindow();
  } else {
    page->TransferDataToWindow();
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Name

InstrumentNamePanel::InstrumentNamePanel(wxWindow* parent, CInstrumentDlg& definition,
                                         const InstrumentSheetActions& actions)
    : TexturedPage(parent, wxID_ANY), definition_(definition) {
  SetName("Name");
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* grid = FieldGrid();
  auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
  name_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(220, -1));
  auto* font = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
  nameRow->Add(name_, 1);
  nameRow->Add(font, 0, wxLEFT, 3);
  grid->Add(new wxStaticText(this, wxID_ANY, "Name:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid->Add(nameRow, 1, wxEXPAND | wxALL, 3);
  family_ = ChoiceOf(this, CInstrumentName::kFamilies);
  Row(this, grid, "Family:", family_);
  top->Add(grid, 0, wxEXPAND | wxALL, 4);

  auto* checks = new wxStaticBoxSizer(wxVERTICAL, this, "Options");
  wxWindow* box = checks->GetStaticBox();
  bound_.Check(box, checks, "Show barlines", fields_.showBarlines);
  bound_.Check(box, checks, "Hide ornaments ", fields_.hideOrnaments);
  bound_.Check(box, checks, "Close systems", fields_.closeSystems);
  bound_.Check(box, checks, "Short time signatures", fields_.shortSignatures);
  bound_.Check(box, checks, "Slanted note beams", fields_.slantedBeams);
  bound_.Check(box, checks, "Long note stems", fields_.longStems);
  bound_.Check(box, checks, "Fingerings above note stems", fields_.fingeringsAbove);
  top->Add(checks, 0, wxEXPAND | wxALL, 4);

  auto* preview = new wxBoxSizer(wxHORIZONTAL);
  notation_ = new wxRadioButton(this, wxID_ANY, "Notation", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  tablature_ = new wxRadioButton(this, wxID_ANY, "Tablature");
  preview->Add(notation_, 0, wxALL, 3);
  preview->Add(tablature_, 0, wxALL, 3);
  top->Add(preview, 0, wxALL, 4);
  preview_ = new CStaticStaff(this, wxID_ANY, &definition_);
  preview_->SetMinSize(wxSize(420, 190));
  top->Add(preview_, 0, wxEXPAND | wxLEFT | wxRIGHT, 4);

  auto* buttons = new wxGridSizer(2, wxSize(4, 4));
  auto* database = new wxButton(this, wxID_ANY, "View Database");
  auto* setDefault = new wxButton(this, wxID_ANY, "Set as default instrument");
  auto* addDatabase = new wxButton(this, wxID_ANY, "Add to database");
  auto* ornaments = new wxButton(this, wxID_ANY, "Customize ornaments");
  auto* addSection = new wxButton(this, wxID_ANY, "Add to current section");
  for (wxButton* b : {database, setDefault, addDatabase, ornaments, addSection}) buttons->Add(b, 0, wxEXPAND);
  top->Add(buttons, 0, wxEXPAND | wxALL, 4);
  SetSizer(top);

  // A definition of the instrument base, edited from the base's own dialog, does not open the
  // base again.
  database->Enable(definition_.editContext);
  addDatabase->Enable(definition_.editContext);
  database->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { ViewDatabase(); }); });
  addDatabase->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { AddToDatabase(); }); });
  notation_->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { RunGuarded([&] { ShowPreview(); }); });
  tablature_->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { RunGuarded([&] { ShowPreview(); }); });
  ornaments->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      ShowCustomOrnamentDialog(this, definition_.ornaments,
                               [this](COrnamentProps& entry) { return EditOrnamentProperties(entry, this); });
    });
  });
  setDefault->Enable(static_cast<bool>(actions.setAsDefault));
  addSection->Enable(static_cast<bool>(actions.addToSection));

  font->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { EditNameText(); }); });
  setDefault->Bind(wxEVT_BUTTON, [this, action = actions.setAsDefault](wxCommandEvent&) {
    RunGuarded([&] {
      if (Prompts().Ask("Set this instrument as the application's default instrument?", Buttons::kYesNo,
                        MessageKind::kQuestion) != Answer::kYes) {
        return;
      }
      TransferDataFromWindow();
      CInstrumentDlg copy(definition_);
      InstrumentSheet::Apply(copy);
      action(copy);
    });
  });
  addSection->Bind(wxEVT_BUTTON, [this, action = actions.addToSection](wxCommandEvent&) {
    RunGuarded([&] {
      TransferDataFromWindow();
      CInstrumentDlg copy(definition_);
      InstrumentSheet::Apply(copy);
      action(copy);
      if (auto* sheet = dynamic_cast<wxDialog*>(wxGetTopLevelParent(this))) sheet->EndModal(wxID_CANCEL);
    });
  });
}

bool InstrumentNamePanel::TransferDataToWindow() {
  fields_.Load(definition_);
  name_->ChangeValue(WxText(fields_.name));
  Select(family_, fields_.family);
  bound_.ToWindow();
  notation_->SetValue(!fields_.tablaturePreview);
  tablature_->SetValue(fields_.tablaturePreview);
  ShowPreview();
  return true;
}

bool InstrumentNamePanel::TransferDataFromWindow() {
  fields_.name = name_->GetValue().utf8_string();
  if (family_->GetSelection() != wxNOT_FOUND) fields_.family = family_->GetSelection();
  bound_.FromWindow();
  fields_.tablaturePreview = tablature_->GetValue();
  fields_.Store(definition_);
  return true;
}

void InstrumentNamePanel::ShowPreview() {
  fields_.tablaturePreview = tablature_->GetValue();
  // The staves as the "Staves" page left them, without touching the working copy.
  CInstrumentDlg shown(definition_);
  InstrumentSheet::Apply(shown);
  preview_->ShowDefinition(shown, !fields_.tablaturePreview);
}

void InstrumentNamePanel::EditNameText() {
  TransferDataFromWindow();
  SectionEditors().EditTrackFont(definition_);
  fields_.name = definition_.nameText.text;
  name_->ChangeValue(WxText(fields_.name));
}

void InstrumentNamePanel::ViewDatabase() {
  if (ChooseFromTemplates(definition_)) ReloadPages(this, definition_);
}

void InstrumentNamePanel::AddToDatabase() {
  if (!CommitPages(this, definition_)) return;
  SaveAndShowInstrumentBase(definition_);
  ReloadPages(this, definition_);
}

// ---------------------------------------------------------------------------------------------
// Staves

StavesPanel::StavesPanel(wxWindow* parent, CInstrumentDlg& definition)
    : TexturedPage(parent, wxID_ANY), definition_(definition) {
  SetName("Staves");
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* grid = FieldGrid();
  preset_ = ChoiceOf(this, CInstrumentDlg::kPresetNames);
  Row(this, grid, "Select preset definition", preset_);
  staves_ = new wxChoice(this, wxID_ANY);
  Row(this, grid, "Staff", staves_);
  clef_ = ChoiceOf(this, std::array<std::string_view, 4>{"G8 clef", "G clef", "F clef", "C clef"});
  Row(this, grid, "Clef", clef_);
  mode_ = ChoiceOf(this, std::array<std::string_view, 2>{"Regular Notation", "Tablature"});
  Row(this, grid, "Notation", mode_);
  // The stave's shown voices in the order of their values; merged voices (3) show no entry.
  voices_ = ChoiceOf(this, std::array<std::string_view, 3>{"Upper voice", "Lower voice", "Both voices"});
  Row(this, grid, "Voices shown", voices_);
  clefStyle_ = ChoiceOf(this, std::array<std::string_view, 3>{"Modern", "Baroque", "Renaissance"});
  Row(this, grid, "Clef style", clefStyle_);
  bound_.Number(this, grid, "Spacing below staff", 0, 15, definition_.spacingBelowPage);
  bound_.Number(this, grid, "Raise clef by", -8, 8, definition_.clefLine);
  bound_.Number(this, grid, "Transpose by", -12, 12, definition_.transposePage);
  top->Add(grid, 0, wxEXPAND | wxALL, 4);
  auto* checks = new wxBoxSizer(wxVERTICAL);
  bound_.Check(this, checks, "Square notes", definition_.notesStyle);
  bound_.Check(this, checks, "Bottom note sets flag direction", definition_.stemDirectionPage);
  bound_.Check(this, checks, "Don't show meta-events", definition_.hideMetaEventsPage);
  top->Add(checks, 0, wxALL, 4);
  SetSizer(top);

  staves_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) {
    RunGuarded([&] { SelectStave(static_cast<size_t>(std::max(e.GetSelection(), 0))); });
  });
  preset_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { RunGuarded([&] { ApplyPreset(e.GetSelection()); }); });
}

void StavesPanel::ListStaves() {
  staves_->Clear();
  for (size_t i = 0; i < definition_.staves.size(); ++i) staves_->Append(wxString::Format("Staff %zu", i + 1));
  Select(staves_, static_cast<int>(definition_.currentStave));
}

bool StavesPanel::TransferDataToWindow() {
  ListStaves();
  Select(preset_, definition_.presetIndex);
  Select(clef_, definition_.clefPage);
  Select(mode_, definition_.notationModePage != 0 ? 1 : 0);
  Select(voices_, definition_.voicesShownPage);
  Select(clefStyle_, definition_.clefStylePage);
  bound_.ToWindow();
  return true;
}

bool StavesPanel::TransferDataFromWindow() {
  if (clef_->GetSelection() != wxNOT_FOUND) definition_.clefPage = clef_->GetSelection();
  definition_.notationModePage = mode_->GetSelection() == 1 ? CClef::kTablature : CClef::kStaff;
  if (voices_->GetSelection() != wxNOT_FOUND) definition_.voicesShownPage = voices_->GetSelection();
  if (clefStyle_->GetSelection() != wxNOT_FOUND) definition_.clefStylePage = clefStyle_->GetSelection();
  bound_.FromWindow();
  return true;
}

void StavesPanel::SelectStave(size_t index) {
  if (index >= definition_.staves.size()) return;
  TransferDataFromWindow();
  definition_.StoreStaveSettings();
  definition_.currentStave = index;
  definition_.LoadStaveSettings();
  TransferDataToWindow();
}

void StavesPanel::ApplyPreset(int index) {
  if (index < 0 || index >= static_cast<int>(CInstrumentDlg::kPresetNames.size())) return;
  definition_.ApplyNotationPreset(index);
  definition_.currentStave = 0;
  definition_.LoadStaveSettings();
  TransferDataToWindow();
}

// ---------------------------------------------------------------------------------------------
// Tablature

TablaturePanel::TablaturePanel(wxWindow* parent, CInstrumentDlg& definition, const InstrumentSheetActions& actions)
    : TexturedPage(parent, wxID_ANY), definition_(definition), editAlfabeto_(actions.editAlfabeto) {
  SetName("Tablature");
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  auto* left = new wxBoxSizer(wxVERTICAL);
  auto* grid = FieldGrid();
  auto* tuningRow = new wxBoxSizer(wxHORIZONTAL);
  tuningText_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(170, -1));
  tuningText_->SetMaxLength(TabInstrumentDlg::kMaxTuningText);
  auto* change = new wxButton(this, wxID_ANY, "Change tuning");
  tuningRow->Add(tuningText_, 1);
  tuningRow->Add(change, 0, wxLEFT, 3);
  grid->Add(new wxStaticText(this, wxID_ANY, "Tuning:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid->Add(tuningRow, 1, wxEXPAND | wxALL, 3);
  style_ = ChoiceOf(this, TabInstrumentDlg::kStyles);
  Row(this, grid, "Style:", style_);
  flags_ = ChoiceOf(this, CTabInstrument::kFlagStyleNames);
  Row(this, grid, "Flags:", flags_);
  flagGroups_ = ChoiceOf(this, TabInstrumentDlg::kFlagGroups);
  Row(this, grid, "Flag groups:", flagGroups_);
  fretScale_ = ChoiceOf(this, TabInstrumentDlg::kFretScales);
  Row(this, grid, "Frets scale:", fretScale_);
  diapasons_ = ChoiceOf(this, TabInstrumentDlg::kDiapasonStyles);
  Row(this, grid, "Diapason styles:", diapasons_);
  bound_.Slider(this, grid, "Vertical line spacing", 15, 50, fields_.lineSpacing, "x0.10mm");
  bound_.Slider(this, grid, "Time signature size:", 50, 120, fields_.signatureSize, "%");
  bound_.Number(this, grid, "Flags distance", 0, 12, fields_.flagDistance);
  bound_.Number(this, grid, "Diapasons distance", 0, 12, fields_.diapasonDistance);
  bound_.Number(this, grid, "Letters adjustment", -5, 5, fields_.letterAdjust);
  bound_.Number(this, grid, "Numbers adjustment", -5, 5, fields_.numberAdjust);
  left->Add(grid, 0, wxEXPAND | wxALL, 4);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* alfabeto = new wxButton(this, wxID_ANY, "Edit alfabeto");
  auto* font = new wxButton(this, wxID_ANY, "Font");
  buttons->Add(alfabeto, 0, wxRIGHT, 4);
  buttons->Add(font);
  left->Add(buttons, 0, wxALL, 4);
  top->Add(left, 1, wxEXPAND);

  auto* checks = new wxBoxSizer(wxVERTICAL);
  bound_.Check(this, checks, "Draw on lines", fields_.drawOnLines);
  bound_.Check(this, checks, "No flag group numbers", fields_.noGroupNumbers);
  bound_.Check(this, checks, "Show first flags of bar", fields_.firstFlags);
  bound_.Check(this, checks, "Show alfabeto symbols", fields_.alfabeto);
  bound_.Check(this, checks, "Colored ornaments", fields_.coloredOrnaments);
  bound_.Check(this, checks, "Colored flags", fields_.coloredFlags);
  bound_.Check(this, checks, "Show all flags", fields_.allFlags);
  bound_.Check(this, checks, "Quarter note to double flag", fields_.quarterToDouble);
  bound_.Check(this, checks, "Baroque guitar strumming", fields_.strumming);
  bound_.Check(this, checks, "Baroque rests", fields_.baroqueRests);
  bound_.Check(this, checks, "Draw opaque", fields_.opaque);
  bound_.Check(this, checks, "Print tuning on staff", fields_.printTuning);
  bound_.Check(this, checks, "Rests on tablature staff", fields_.restsOnTab);
  top->Add(checks, 0, wxALL, 4);
  SetSizer(top);

  alfabeto->Enable(static_cast<bool>(editAlfabeto_));
  alfabeto->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { EditAlfabeto(); }); });
  font->Enable(static_cast<bool>(actions.documentTabFont));
  font->Bind(wxEVT_BUTTON, [action = actions.documentTabFont](wxCommandEvent&) { RunGuarded([&] { action(); }); });
  change->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunGuarded([&] { ChangeTuning(); }); });
}

bool TablaturePanel::TransferDataToWindow() {
  fields_.Load(definition_.tabInstrument);
  tuningText_->ChangeValue(WxText(fields_.tuningText));
  Select(style_, fields_.tabStyle);
  Select(flags_, fields_.flagStyle);
  Select(flagGroups_, fields_.flagGroup);  // a mode the list cannot show selects nothing
  Select(fretScale_, fields_.fretScale);
  Select(diapasons_, fields_.diapasonStyle);
  bound_.ToWindow();
  return true;
}

bool TablaturePanel::TransferDataFromWindow() {
  const TabInstrumentDlg before = fields_;
  bound_.FromWindow();
  fields_.tuningText = tuningText_->GetValue().utf8_string();
  fields_.tabStyle = style_->GetSelection();
  fields_.flagStyle = flags_->GetSelection();
  fields_.flagGroup = flagGroups_->GetSelection();
  fields_.fretScale = std::max(fretScale_->GetSelection(), 0);
  fields_.diapasonStyle = std::max(diapasons_->GetSelection(), 0);
  if (!PassesCheck(fields_)) {
    fields_ = before;
    return false;
  }
  fields_.Store(definition_.tabInstrument);
  return true;
}

void TablaturePanel::ChangeTuning() {
  fields_.tuningText = tuningText_->GetValue().utf8_string();
  nTuning tuning;
  tuning.CopyFrom(fields_.tuning);
  if (fields_.tuningText != fields_.tuning.GetTuningText()) tuning.SetTuning(fields_.tuningText);
  if (!tuning.EditTuning()) return;
  fields_.TakeTuning(tuning);
  tuningText_->ChangeValue(WxText(fields_.tuningText));
}

void TablaturePanel::EditAlfabeto() {
  // The chart's chords are placed on the tuning the page shows.
  if (!TransferDataFromWindow()) return;
  editAlfabeto_(this, definition_.tabInstrument);
}

// ---------------------------------------------------------------------------------------------
// Fonts and colours

TabFontsPanel::TabFontsPanel(wxWindow* parent, CInstrumentDlg& definition)
    : TexturedPage(parent, wxID_ANY), definition_(definition) {
  SetName("Fonts and Colors");
  auto* top = new wxBoxSizer(wxVERTICAL);
  const char* groups[] = {"Tablature", "Flags and Ornaments ", "Notation", "Alfabeto"};
  for (size_t f = 0; f < CTabFontsDlg::kFontCount; ++f) {
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, groups[f]);
    wxWindow* box = group->GetStaticBox();
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* family = new wxButton(box, wxID_ANY, "Family");
    const int limit = CTabFontsDlg::MicroLimit(f);
    micro_[f] = new wxSlider(box, wxID_ANY, 0, -limit, limit, wxDefaultPosition, wxSize(160, -1));
    micro_[f]->SetTickFreq(4);
    microEdit_[f] = new wxSpinCtrl(box, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(120, -1), wxSP_ARROW_KEYS,
                                   -limit, limit, 0);
    auto* colour = new wxButton(box, wxID_ANY, "?", wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    fontSwatches_[f] = Swatch(box);
    row->Add(family, 0, wxRIGHT, 4);
    row->Add(micro_[f], 0, wxRIGHT, 4);
    row->Add(microEdit_[f], 0, wxRIGHT, 4);
    row->Add(colour, 0, wxRIGHT, 4);
    row->Add(fontSwatches_[f], 0, wxALIGN_CENTER_VERTICAL);
    group->Add(row, 0, wxEXPAND | wxALL, 2);
    descriptions_[f] = new wxStaticText(box, wxID_ANY, wxEmptyString);
    group->Add(descriptions_[f], 0, wxALL, 2);
    top->Add(group, 0, wxEXPAND | wxALL, 3);

    micro_[f]->Bind(wxEVT_SLIDER, [this, f](wxCommandEvent&) {
      fields_.micro[f] = micro_[f]->GetValue();
      microEdit_[f]->SetValue(fields_.micro[f]);
    });
    microEdit_[f]->Bind(wxEVT_SPINCTRL, [this, f](wxSpinEvent&) {
      fields_.micro[f] = CTabFontsDlg::ClampMicro(f, microEdit_[f]->GetValue());
      micro_[f]->SetValue(fields_.micro[f]);
    });
    colour->Bind(wxEVT_BUTTON, [this, f](wxCommandEvent&) {
      RunGuarded([&] {
        if (ChooseColour(this, fields_.fontColors[f])) Paint(fontSwatches_[f], fields_.fontColors[f]);
      });
    });
    family->Bind(wxEVT_BUTTON, [this, f](wxCommandEvent&) {
      RunGuarded([&] {
        TransferDataFromWindow();
        CTabInstrument& tab = definition_.tabInstrument;
        bool chosen = false;
        if (f == CTabFontsDlg::kTablature) chosen = ChooseFont(tab.tabFont);
        if (f == CTabFontsDlg::kAlfabeto) chosen = ChooseFont(tab.alfabeto.letterFont);
        if (f == CTabFontsDlg::kFlags) chosen = ChooseFont(tab.flagsFont);
        if (f == CTabFontsDlg::kNotation && ChooseFont(definition_.notationFont)) {
          definition_.notationFont.logFont.lfHeight =
              CTabFontsDlg::NotationPixelHeight(definition_.notationFont, GetDPI().GetHeight());
          chosen = true;
        }
        if (chosen) TransferDataToWindow();
      });
    });
  }

  auto* colours = new wxStaticBoxSizer(wxVERTICAL, this, "Ornaments color");
  auto* grid = new wxFlexGridSizer(4, wxSize(6, 3));
  for (size_t g = 0; g < CTabFontsDlg::kGlyphColors.size(); ++g) {
    const auto index = CTabFontsDlg::kGlyphColors[g].index;
    auto* button = new wxButton(colours->GetStaticBox(), wxID_ANY, WxText(CTabFontsDlg::kGlyphColors[g].label));
    glyphSwatches_[index] = Swatch(colours->GetStaticBox());
    grid->Add(button, 0, wxEXPAND);
    grid->Add(glyphSwatches_[index], 0, wxALIGN_CENTER_VERTICAL);
    button->Bind(wxEVT_BUTTON, [this, index](wxCommandEvent&) {
      RunGuarded([&] {
        if (ChooseColour(this, fields_.glyphColors[index])) Paint(glyphSwatches_[index], fields_.glyphColors[index]);
      });
    });
  }
  colours->Add(grid, 0, wxALL, 3);
  auto* defaults = new wxButton(colours->GetStaticBox(), wxID_ANY, "Default colors");
  colours->Add(defaults, 0, wxALL, 3);
  defaults->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { DefaultColors(); });
  top->Add(colours, 0, wxEXPAND | wxALL, 3);
  SetSizer(top);
}

bool TabFontsPanel::TransferDataToWindow() {
  fields_.Load(definition_);
  for (size_t f = 0; f < CTabFontsDlg::kFontCount; ++f) {
    const int value = CTabFontsDlg::ClampMicro(f, fields_.micro[f]);
    micro_[f]->SetValue(value);
    microEdit_[f]->SetValue(value);
  }
  ShowColors();
  ShowDescriptions();
  return true;
}

bool TabFontsPanel::TransferDataFromWindow() {
  for (size_t f = 0; f < CTabFontsDlg::kFontCount; ++f) fields_.micro[f] = micro_[f]->GetValue();
  if (!PassesCheck(fields_)) return false;
  fields_.Store(definition_);
  return true;
}

void TabFontsPanel::DefaultColors() {
  fields_.DefaultColors();
  ShowColors();
}

void TabFontsPanel::ShowColors() {
  for (size_t f = 0; f < CTabFontsDlg::kFontCount; ++f) Paint(fontSwatches_[f], fields_.fontColors[f]);
  for (size_t g = 0; g < glyphSwatches_.size(); ++g) {
    if (glyphSwatches_[g] != nullptr) Paint(glyphSwatches_[g], fields_.glyphColors[g]);
  }
}

void TabFontsPanel::ShowDescriptions() {
  const CTabInstrument& tab = definition_.tabInstrument;
  descriptions_[CTabFontsDlg::kTablature]->SetLabel(WxText(tab.tabFont.GetDescription()));
  descriptions_[CTabFontsDlg::kFlags]->SetLabel(WxText(tab.flagsFont.GetDescription()));
  descriptions_[CTabFontsDlg::kNotation]->SetLabel(WxText(definition_.notationFont.GetDescription()));
  descriptions_[CTabFontsDlg::kAlfabeto]->SetLabel(WxText(tab.alfabeto.letterFont.GetDescription()));
}

// ---------------------------------------------------------------------------------------------
// Pedals

PedalsPanel::PedalsPanel(wxWindow* parent, CInstrumentDlg& definition)
    : TexturedPage(parent, wxID_ANY), definition_(definition) {
  SetName("Pedals");
  auto* top = new wxBoxSizer(wxVERTICAL);
  pedals_ = ChoiceOf(this, CPedalArray::kLabels);
  top->Add(pedals_, 0, wxALL, 4);
  strings_ = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxSize(280, 200), wxLC_REPORT | wxLC_SINGLE_SEL);
  strings_->EnableCheckBoxes();
  strings_->AppendColumn("String", wxLIST_FORMAT_LEFT, 100);
  strings_->AppendColumn("Tuning", wxLIST_FORMAT_LEFT, 80);
  strings_->AppendColumn("Note", wxLIST_FORMAT_LEFT, 80);
  top->Add(strings_, 1, wxEXPAND | wxALL, 4);
  auto* grid = FieldGrid();
  persistent_ = new wxCheckBox(this, wxID_ANY, "Persistent");
  grid->AddSpacer(1);
  grid->Add(persistent_, 0, wxALL, 3);
  action_ = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, -12, 12, 0);
  Row(this, grid, "String action (half-steps)", action_);
  caption_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(160, -1));
  Row(this, grid, "Caption", caption_);
  top->Add(grid, 0, wxEXPAND | wxALL, 4);
  auto* colourRow = new wxBoxSizer(wxHORIZONTAL);
  auto* colour = new wxButton(this, wxID_ANY, "Tablature text color");
  sample_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(160, 24), wxBORDER_SIMPLE);
  sample_->SetBackgroundColour(wxColour(0xFA, 0xFA, 0xFA));
  colourRow->Add(colour, 0, wxRIGHT, 4);
  colourRow->Add(sample_);
  top->Add(colourRow, 0, wxALL, 4);
  SetSizer(top);

  sample_->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
    wxPaintDC dc(sample_);
    dc.SetTextForeground(ColourOfColorRef(fields_.Current().color));
    dc.DrawText("  0 1 2 3 4 5   ", 2, 2);
  });
  pedals_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { RunGuarded([&] { SelectPedal(e.GetSelection()); }); });
  colour->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    RunGuarded([&] {
      if (ChooseColour(this, fields_.Current().color)) sample_->Refresh();
    });
  });
}

bool PedalsPanel::TransferDataToWindow() {
  fields_.Load(definition_.pedals, definition_.tabInstrument.tuning);
  strings_->DeleteAllItems();
  for (int i = 0; i < fields_.shownStrings; ++i) {
    const size_t s = static_cast<size_t>(i);
    strings_->InsertItem(i, WxText(fields_.stringNames[s]));
    strings_->SetItem(i, 1, WxText(definition_.tabInstrument.tuning.FormatStringWithPitch(i)));
    strings_->SetItem(i, 2, WxText(fields_.stringNotes[s]));
  }
  ShowPedal();
  return true;
}

bool PedalsPanel::TransferDataFromWindow() {
  ReadPedal();
  if (!PassesCheck(fields_)) return false;
  fields_.Store(definition_.pedals);
  return true;
}

void PedalsPanel::SelectPedal(int index) {
  ReadPedal();
  fields_.Select(index);
  ShowPedal();
}

void PedalsPanel::ShowPedal() {
  const CPedal& pedal = fields_.Current();
  Select(pedals_, fields_.current);
  persistent_->SetValue(pedal.persistent != 0);
  action_->SetValue(pedal.action);
  caption_->ChangeValue(WxText(pedal.caption));
  for (int i = 0; i < strings_->GetItemCount(); ++i) strings_->CheckItem(i, ((pedal.stringMask >> i) & 1) != 0);
  sample_->Refresh();
}

void PedalsPanel::ReadPedal() {
  CPedal& pedal = fields_.Current();
  pedal.persistent = persistent_->GetValue();
  pedal.action = action_->GetValue();
  pedal.caption = caption_->GetValue().utf8_string();
  uint32_t mask = pedal.stringMask & ~((fields_.shownStrings >= 32 ? 0u : (1u << fields_.shownStrings)) - 1u);
  for (int i = 0; i < strings_->GetItemCount() && i < 32; ++i) {
    if (strings_->IsItemChecked(i)) mask |= 1u << i;
  }
  pedal.stringMask = mask;
}

// ---------------------------------------------------------------------------------------------
// The sheet

InstrumentSheetDialog::InstrumentSheetDialog(wxWindow* parent, CInstrumentDlg& working, InstrumentSheetActions actions)
    : TexturedPropertySheet(parent, WxText(InstrumentSheet::kTitle)), working_(working), actions_(std::move(actions)) {
  CreateButtons(wxOK | wxCANCEL);
  wxBookCtrlBase* book = GetBookCtrl();
  name_ = new InstrumentNamePanel(book, working_, actions_);
  staves_ = new StavesPanel(book, working_);
  tablature_ = new TablaturePanel(book, working_, actions_);
  fonts_ = new TabFontsPanel(book, working_);
  midiFields_.ExchangeSettings(working_.midi, true);
  midiFields_.channel = PatchChooserChannel(working_);
  midi_ = new MidiControlsPage(book, midiFields_);
  pedals_ = new PedalsPanel(book, working_);
  wxWindow* pages[] = {name_, staves_, tablature_, fonts_, midi_, pedals_};
  for (size_t i = 0; i < InstrumentSheet::kPages.size(); ++i) book->AddPage(pages[i], WxText(InstrumentSheet::kPages[i]));
  LayoutDialog();
  // A page is read back when it is left, as OK reads it; one that refuses its fields stays.
  // The name page's preview then shows what the other pages did.
  book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGING, [this](wxBookCtrlEvent& e) {
    const int left = e.GetOldSelection();
    if (left == wxNOT_FOUND) return;
    bool read = false;
    RunGuarded([&] { read = GetBookCtrl()->GetPage(static_cast<size_t>(left))->TransferDataFromWindow(); });
    if (!read) e.Veto();
  });
  book->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, [this](wxBookCtrlEvent& e) {
    e.Skip();
    if (e.GetSelection() != wxNOT_FOUND && GetBookCtrl()->GetPage(static_cast<size_t>(e.GetSelection())) == name_) {
      RunGuarded([&] { name_->ShowPreview(); });
    }
  });
}

InstrumentSheetDialog::~InstrumentSheetDialog() = default;

wxWindow* InstrumentSheetDialog::Page(size_t index) const {
  return index < GetBookCtrl()->GetPageCount() ? GetBookCtrl()->GetPage(index) : nullptr;
}

bool InstrumentSheetDialog::TransferDataToWindow() {
  midiFields_.ExchangeSettings(working_.midi, true);
  for (size_t i = 0; i < GetBookCtrl()->GetPageCount(); ++i) GetBookCtrl()->GetPage(i)->TransferDataToWindow();
  return true;
}

bool InstrumentSheetDialog::TransferDataFromWindow() {
  for (size_t i = 0; i < GetBookCtrl()->GetPageCount(); ++i) {
    if (!GetBookCtrl()->GetPage(i)->TransferDataFromWindow()) {
      GetBookCtrl()->ChangeSelection(i);
      return false;
    }
  }
  midiFields_.ExchangeSettings(working_.midi, false);
  InstrumentSheet::Apply(working_);
  return true;
}

bool ShowInstrumentSheet(wxWindow* parent, CInstrumentDlg& definition, const InstrumentSheetActions& actions) {
  CInstrumentDlg working(definition);
  InstrumentSheet::Open(working);
  InstrumentSheetDialog sheet(parent, working, actions);
  if (sheet.ShowModal() != wxID_OK) return false;
  definition.CopyFrom(working);
  return true;
}

}  // namespace vornel
