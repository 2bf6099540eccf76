#include "layout/ui/dialogs/ChordDialogWindows.h"

namespace vornel {

ChordEffectDialog::ChordEffectDialog(wxWindow* parent, CChordEffectDlg& fields)
    : StructDialog(parent, "Chord effect", fields) {
  CChordEffectDlg& w = working_;
  controls_.Choice(kType, "Type:", CChordEffectDlg::kTypes, w.type);
  controls_.Check(kUp, "Up", w.up);
  controls_.Choice(kDivision, "Flag division:", CChordEffectDlg::kDivisions, w.division);
  // The word keeps three bits of steps.
  controls_.Number(kSteps, "Steps:", 0, 7, w.steps);
  static constexpr std::array<std::string_view, 2> kAlignments = {"Left", "Right"};
  controls_.Choice(kAlignment, "Alignment:", kAlignments, w.alignment);
  controls_.Check(kVisible, "Visible", w.visible);
  FinishLayout();
}

ChordPropertiesDialog::ChordPropertiesDialog(wxWindow* parent, CChordProperties& fields)
    : StructDialog(parent, "Chord Properties", fields) {
  // Each course row spans the grid's two columns: the label, then fret, note and barre.
  for (int r = 0; r < CChordProperties::kRows; ++r) {
    const RowIds& ids = kRowIds[static_cast<size_t>(r)];
    RowControls& row = rows_[static_cast<size_t>(r)];
    const std::string_view name = CChordProperties::kRowNames[static_cast<size_t>(r)];
    row.label = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(name.data(), name.size()));
    auto* cells = new wxBoxSizer(wxHORIZONTAL);
    row.fret = new wxSpinCtrl(this, ids.fret, wxEmptyString, wxDefaultPosition, wxSize(130, -1), wxSP_ARROW_KEYS,
                              CChordProperties::kNoNote, CChordProperties::kMaxFret, CChordProperties::kNoNote);
    row.note = new wxStaticText(this, ids.note, wxEmptyString, wxDefaultPosition, wxSize(80, -1));
    row.barre = new wxCheckBox(this, ids.barre, "Barre");
    cells->Add(row.fret, 0, wxRIGHT, 6);
    row.midi = new wxStaticText(this, wxID_ANY, "MIDI");
    cells->Add(row.midi, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    cells->Add(row.note, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    cells->Add(row.barre, 0, wxALIGN_CENTER_VERTICAL);
    grid_->Add(row.label, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid_->Add(cells, 0, wxALL, 3);
    row.fret->Bind(wxEVT_SPINCTRL, [this, r](wxSpinEvent& event) {
      working_.StepSpin(r, event.GetPosition());
      UpdateControls();
    });
    controls_.Exchange(
        [this, r] {
          const CChordProperties::Row& data = working_.rows[static_cast<size_t>(r)];
          RowControls& c = rows_[static_cast<size_t>(r)];
          c.fret->SetValue(data.fret);
          c.note->SetLabel(wxString::FromUTF8(data.noteText));
          c.barre->SetValue(data.barre);
        },
        [this, r] {
          CChordProperties::Row& data = working_.rows[static_cast<size_t>(r)];
          const RowControls& c = rows_[static_cast<size_t>(r)];
          if (!data.shown) return;
          data.fret = c.fret->GetValue();
          data.barre = c.barre->GetValue();
        });
  }
  CChordProperties& w = working_;
  controls_.Text(kDescription, "Chord description:", w.description);
  controls_.Check(kAllowDiapason, "Allow diapason", w.allowDiapason);
  diapason_ = controls_.Number(kDiapason, "Diapason:", -1, 16, w.diapason);
  controls_.Check(kAsterixed, "Asterixed", w.asterixed);
  grid_->AddSpacer(1);
  grid_->Add(new wxStaticText(this, kFurtherText, wxEmptyString), 0, wxALL, 3);
  FinishLayout();
}

void ChordPropertiesDialog::UpdateControls() {
  for (int r = 0; r < CChordProperties::kRows; ++r) {
    const CChordProperties::Row& data = working_.rows[static_cast<size_t>(r)];
    RowControls& c = rows_[static_cast<size_t>(r)];
    for (wxWindow* control : {static_cast<wxWindow*>(c.label), static_cast<wxWindow*>(c.fret),
                              static_cast<wxWindow*>(c.midi), static_cast<wxWindow*>(c.note),
                              static_cast<wxWindow*>(c.barre)}) {
      control->Show(data.shown);
    }
    c.fret->SetValue(data.fret);
    c.barre->Enable(data.Editable());
  }
  diapason_->SetRange(-1, std::max(working_.diapasonMaximum, -1));
  diapason_->Enable(working_.diapasonMaximum > 0);
  Layout();
}

GraceNotesDialog::GraceNotesDialog(wxWindow* parent, CGraceNotesDlg& fields)
    : StructDialog(parent, "Grace notes group", fields) {
  CGraceNotesDlg& w = working_;
  controls_.Choice(kType, "Ornament type:", CGraceNotesDlg::kTypes, w.type);
  controls_.Check(kDescending, "Descending", w.descending);
  controls_.Check(kDrawLigature, "Draw ligature", w.drawLigature);
  controls_.Check(kLigatureAbove, "Ligature above notes", w.ligatureAbove);
  controls_.Check(kStraightLigature, "Straight ligature", w.straightLigature);
  controls_.Check(kTernaryGroup, "Ternary group", w.ternaryGroup);
  controls_.Check(kDownwardStem, "Downward stem", w.downwardStem);
  controls_.Check(kShowTablatureFlag, "Show tablature flag", w.showTablatureFlag);
  controls_.Check(kDeleteMe, "Delete me", w.deleteMe);
  controls_.Choice(kFlagValue, "Flag value:", CGraceNotesDlg::kFlagValues, w.flagValue);
  wxSpinCtrl* rotations = controls_.Number(kRotations, "Key rotations:", -7, 7, w.rotations);
  grid_->AddSpacer(1);
  rotationText_ = new wxTextCtrl(this, kRotationText, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
  grid_->Add(rotationText_, 0, wxEXPAND | wxALL, 3);
  controls_.Number(kStartOffset, "Start position offset:", -7, 7, w.startOffset);
  rotations->Bind(wxEVT_SPINCTRL, [this, rotations](wxSpinEvent&) {
    working_.rotations = rotations->GetValue();
    UpdateControls();
  });
  FinishLayout();
}

void GraceNotesDialog::UpdateControls() { rotationText_->ChangeValue(wxString::FromUTF8(working_.RotationText())); }

SwapOrnamentDialog::SwapOrnamentDialog(wxWindow* parent, CSwapOrnamentDlg& fields)
    : StructDialog(parent, "Swap ornament", fields) {
  controls_.Choice(kSelect, "Select ornament:", CSwapOrnamentDlg::kOrnaments, working_.select);
  controls_.Choice(kReplaceWith, "Replace with:", CSwapOrnamentDlg::kOrnaments, working_.replaceWith);
  FinishLayout();
}

bool WxChordDialogs::EditChordProperties(CChordProperties& dialog) {
  return ShowStructDialog<ChordPropertiesDialog>(parent_, dialog);
}

bool WxChordDialogs::EditGraceNotes(CGraceNotesDlg& dialog) { return ShowStructDialog<GraceNotesDialog>(parent_, dialog); }

bool WxChordDialogs::SwapOrnament(CSwapOrnamentDlg& dialog) { return ShowStructDialog<SwapOrnamentDialog>(parent_, dialog); }

}  // namespace vornel
