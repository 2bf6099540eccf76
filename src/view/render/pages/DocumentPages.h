#pragma once
// A document's pages as the window shows them and as they are printed. On screen, and when
// only the active section is printed, a page is one page of the active section. When every
// section is printed, the pages follow the print sequence built when printing begins: title
// page, contents, preface, facsimiles, then the music of every section (run on, or each
// section on pages of its own with its own systems per page), with blank pages where the
// sections ask for them.
//
//   const int32_t pages = BuildPrintPages(doc, 1);
//   for (int32_t p = 0; p < pages; ++p) DrawPage(doc, dc, p);   // a page of the device each
//   BuildPrintPages(doc, 0);

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CBriotabDoc;
class CPageDlg;

// The message of a page that could not be printed; printing goes on.
inline constexpr const char* kPrintingError = "An error occured while printing";

// The paper of the page settings in device units of `dc` (at the page zoom on screen).
Rect PaperRect(const CPageDlg& page, const DeviceContext& dc);

// The contents entries: one label per section, "[x] " before those left out.
std::vector<std::string> ContentsEntries(const CBriotabDoc& doc);

// With `printing` 1 builds the print sequence and returns its pages; with 0 empties it and
// returns 0.
int32_t BuildPrintPages(CBriotabDoc& doc, int printing);

// Draws page `pageIndex`: on screen, or printing the active section alone, a page of the
// active section; printing every section, the sequence's page. A failure on a printed page is
// reported as kPrintingError. On screen the active section is measured only as far as the
// page (see PageFitting.h).
void DrawPage(CBriotabDoc& doc, DeviceContext& dc, int32_t pageIndex);
// On screen: measures on, about `budget` systems, the pages of the active section a drawing
// left unmeasured. True when every page is measured (then and after).
bool ContinuePageLayout(CBriotabDoc& doc, DeviceContext& dc, size_t budget);

// The title page alone, as the title-page view shows it: the paper at the page zoom with the
// title page and the metadata texts in its frame (pictures found as the pages find them).
// Returns the frame moved to the left edge 0 (the bounds the title texts are centred in).
Rect DrawTitlePageView(CBriotabDoc& doc, DeviceContext& dc);

// The size of the active section's page.
Size GetPageSize(const CBriotabDoc& doc);

// The active section's systems per page worked out on a device like `dc` for the printable
// height of its paper; sections then keep their own systems per page on pages of their own.
void RecomputeSystemsPerPage(CBriotabDoc& doc, DeviceContext& dc);

}  // namespace vornel
