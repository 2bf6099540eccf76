#include "layout/ui/dialogs/PaperSetup.h"

#include <wx/printdlg.h>

#include <array>
#include <utility>

#include "document/CPageDlg.h"

namespace vornel {

namespace {

constexpr std::array<std::pair<int, wxPaperSize>, 5> kPapers = {{
    {1, wxPAPER_LETTER}, {5, wxPAPER_LEGAL}, {8, wxPAPER_A3}, {9, wxPAPER_A4}, {11, wxPAPER_A5}}};

}  // namespace

wxPaperSize PaperIdForCode(int code) {
  for (const auto& [c, id] : kPapers)
    if (c == code) return id;
  return wxPAPER_A4;
}

int PaperCodeForId(wxPaperSize id) {
  for (const auto& [c, paper] : kPapers)
    if (paper == id) return c;
  return 0;
}

wxPrintData PrintDataForPage(const CPageDlg& page) {
  wxPrintData data;
  data.SetPaperId(PaperIdForCode(page.paperFormat));
  data.SetOrientation(page.landscape != 0 ? wxLANDSCAPE : wxPORTRAIT);
  return data;
}

void TakePrintData(CPageDlg& page, const wxPrintData& data) {
  if (const int code = PaperCodeForId(data.GetPaperId()); code != 0) page.paperFormat = code;
  page.landscape = data.GetOrientation() == wxLANDSCAPE ? 1 : 0;
}

bool RunPageSetup(wxWindow* parent, CPageDlg& page) {
  wxPageSetupDialogData setup(PrintDataForPage(page));
  wxPageSetupDialog dialog(parent, &setup);
  if (dialog.ShowModal() != wxID_OK) return false;
  TakePrintData(page, dialog.GetPageSetupDialogData().GetPrintData());
  return true;
}

}  // namespace vornel
