#pragma once
// The pages before the music: the title page (its frames, picture, texts and formatted
// title), the table of contents (as RTF printed through the rich-text pages, or drawn line by
// line), the preface and the facsimile pages of the title page's image list. The contents
// list one entry per section; an entry that begins with "[x]" is left out but keeps its
// index for the page lookup.

#include <cstdint>
#include <string>
#include <vector>

#include "document/PageSequencing.h"
#include "platform/draw/DeviceContext.h"
#include "view/render/pages/FacsimileDrawing.h"

namespace vornel {

class CPageDlg;
class CTitlePage;

// The contents entries per page when the stored value cannot divide.
int32_t ContentsLinesPerPage(const CTitlePage& titlePage);

// Appends the title page, the contents pages, the preface pages and one page per image file
// (those only when the page settings print facsimiles); notes the image count in the
// sequence and returns its size.
int32_t BuildPreliminaryPages(CTitlePage& titlePage, PageSequencing& sequence, CPageDlg& page,
                              const std::vector<std::string>& entries);

// Draws the title page into `frame` at `zoom` (screen) and returns the origin used.
Point DrawTitlePageContent(CTitlePage& titlePage, DeviceContext& dc, const Rect& frame, int32_t zoom);

// Prints one preliminary page by its entry's kind: a preface page, a contents page or a
// facsimile page.
void PrintPreliminaryPage(CTitlePage& titlePage, DeviceContext& dc, const PageSequencing::stPageSequence& entry,
                          CPageDlg& page, const std::vector<std::string>& entries, const FacsimileResolver& resolve);

// The table of contents as RTF into the title page's contents block, for the document's paper
// at 1440 twips per inch, with the pages the sequence gives each section.
void BuildContentsRtf(CTitlePage& titlePage, const std::vector<std::string>& entries, const PageSequencing& sequence,
                      const CPageDlg& page);

// Draws page `pageIndex` of the table of contents line by line.
void DrawContentsPage(CTitlePage& titlePage, DeviceContext& dc, int32_t pageIndex, CPageDlg& page,
                      const std::vector<std::string>& entries, const PageSequencing& sequence);

}  // namespace vornel
