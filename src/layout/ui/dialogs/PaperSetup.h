#pragma once
// The paper of the document settings and the window system's print setup: paper codes as the
// settings keep them (the printer's codes) and the toolkit's paper ids, and "Page format",
// which runs the page setup dialog and takes its paper and orientation into the settings.

#include <wx/defs.h>
#include <wx/cmndata.h>

class wxWindow;

namespace vornel {

class CPageDlg;

// Letter, legal, A3, A4 and A5; any other code is A4.
wxPaperSize PaperIdForCode(int code);
// The code of a paper id; nothing (0) for a paper the settings do not know.
int PaperCodeForId(wxPaperSize id);

// The settings' paper and orientation as print data.
wxPrintData PrintDataForPage(const CPageDlg& page);
// The paper and orientation of print data into the settings (landscape for a landscape
// orientation); a paper the settings do not know leaves the paper code as it was.
void TakePrintData(CPageDlg& page, const wxPrintData& data);
// The page setup dialog on the settings, modal; true on OK with the choice taken.
bool RunPageSetup(wxWindow* parent, CPageDlg& page);

}  // namespace vornel
