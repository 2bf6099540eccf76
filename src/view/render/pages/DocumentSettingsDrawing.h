#pragma once
// What the document settings draw on printed pages: the title page with the metadata texts,
// the header and page number of a music page, the statement under a preliminary block, the
// centring of the title texts, the count of the preliminary pages (with the block of the
// sections' comments) and the fonts matched against those installed.

#include <cstdint>
#include <string>
#include <vector>

#include "document/PageSequencing.h"
#include "platform/draw/DeviceContext.h"
#include "view/render/pages/FacsimileDrawing.h"

namespace vornel {

class CDocumentSettings;
class CSectionArray;

// Draws the title page in its frame with the metadata texts (unless the title page leaves
// them off); returns the frame moved to the left edge 0. Printing a document whose title page
// is not printed draws nothing and returns an empty rectangle.
Rect DrawTitlePage(CDocumentSettings& settings, DeviceContext& dc);

// The header of a music page: "<title> : p. <page + 1>", on one line with single blanks.
std::string PageHeaderText(const CDocumentSettings& settings, int32_t pageIndex);
// Draws the page text at the top of `printable` and the header as the page number.
void DrawPageHeader(CDocumentSettings& settings, DeviceContext& dc, int32_t pageIndex, const Rect& printable);

// Centres the metadata and title-page texts, the formatted title and the picture between the
// box's horizontal limits.
void CenterTitleTexts(CDocumentSettings& settings, DeviceContext& dc, int32_t left, int32_t top, int32_t right,
                      int32_t bottom);

// The statement on the first page of a preliminary block when dates are stamped, then the
// preliminary page itself.
void DrawPrintStatement(CDocumentSettings& settings, DeviceContext& dc, const PageSequencing::stPageSequence& entry,
                        const std::vector<std::string>& entries, const FacsimileResolver& resolve);

// The block of the sections' comments, printed apart when the page settings print section
// comments at the end: one bullet per section with comments, followed by them.
void BuildCommentsBlock(CDocumentSettings& settings, const CSectionArray& sections);

// The title page's preliminary pages and the comments block appended to the sequence;
// nothing when the title page is not printed. Returns the pages added.
int32_t CountPreliminaryPages(CDocumentSettings& settings, PageSequencing& sequence,
                              const std::vector<std::string>& entries, const CSectionArray& sections);

// Every metadata and title-page font, and the title, author and comments document fonts,
// take the installed spelling of their face.
void RecreateFonts(CDocumentSettings& settings);

}  // namespace vornel
