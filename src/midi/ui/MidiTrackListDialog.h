#pragma once
// "Imported Midi tracks": the tracks of a MIDI file with a check per row (import or skip) and
// the list control's cell combo choosing the row's instrument over its label, with the
// import's values below. It edits a CMidiTrackList.

#include <wx/dialog.h>
#include <wx/stattext.h>

#include "midi/MidiDialogs.h"
#include "midi/ui/DialogFields.h"
#include "platform/ui/CListCtrlExt.h"

namespace vornel {

class MidiTrackListDialog : public wxDialog {
 public:
  static constexpr int kResourceId = 743;
  // Columns of the list; the instrument is the label, with the import check beside it.
  enum Column : unsigned { kInstrumentColumn, kNameColumn, kNumeratorColumn, kDenominatorColumn, kKeyColumn,
                           kProgramColumn, kTextColumn };

  MidiTrackListDialog(wxWindow* parent, CMidiTrackList& data);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  CListCtrlExt* Tracks() const { return tracks_; }

 private:
  CMidiTrackList& data_;
  DialogFields fields_;
  wxStaticText* header_;
  CListCtrlExt* tracks_;
};

}  // namespace vornel
