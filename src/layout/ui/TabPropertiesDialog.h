#pragma once
// Dialog 353, "Tab formatting options": the TAB export's choices, edited in a CTabProperties.
// "Export all sections" stays disabled, so an export through the dialog holds the active
// section only.

#include <wx/dialog.h>

#include "layout/export/CTabProperties.h"

class wxCheckBox;
class wxChoice;

namespace vornel {

class TabPropertiesDialog : public wxDialog {
 public:
  // Control ids.
  enum : int {
    kBaroqueStyle = 1703,
    kFlags = 1043,
    kLandscape = 1073,
    kStaveLines = 1140,
    kStyles = 1138,
    kFontSize = 1139,
    kForcePageBreaks = 1340,
    kBarNumbers = 1142,
    kPrintOnLines = 1141,
    kItalianMode = 1157,
    kExportAllSections = 1737,
  };

  // `options` is read when the dialog's data go to the window and written when they come back.
  TabPropertiesDialog(wxWindow* parent, CTabProperties& options);

  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

 private:
  wxCheckBox* AddCheck(wxWindow* parent, int id, const char* label);
  wxChoice* AddChoice(wxWindow* parent, int id, const std::string_view* entries, size_t count);

  CTabProperties& options_;
};

}  // namespace vornel
