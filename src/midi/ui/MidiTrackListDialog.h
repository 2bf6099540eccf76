#pragma once
// "Imported Midi tracks": the tracks of a MIDI file with a check per row (import or skip) and
// an in-place box choosing the row's instrument, with the import's values below. It edits a
// CMidiTrackList.

#include <wx/dataview.h>
#include <wx/dialog.h>
#include <wx/stattext.h>

#include "midi/MidiDialogs.h"
#include "midi/ui/DialogFields.h"

namespace vornel {

class MidiTrackListDialog : public wxDialog {
 public:
  static constexpr int kResourceId = 743;
  // Columns of the list.
  enum Column : unsigned { kImportColumn, kInstrumentColumn, kNameColumn, kNumeratorColumn, kDenominatorColumn,
                           kKeyColumn, kProgramColumn, kTextColumn };

  MidiTrackListDialog(wxWindow* parent, CMidiTrackList& data);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  wxDataViewListCtrl* Tracks() const { return tracks_; }

 private:
  CMidiTrackList& data_;
  DialogFields fields_;
  wxStaticText* header_;
  wxDataViewListCtrl* tracks_;
};

}  // namespace vornel
