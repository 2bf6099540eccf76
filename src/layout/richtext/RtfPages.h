#pragma once
// Rich texts printed page by page: prefaces, section texts and the contents. The text is laid
// out in the printed rectangle of the document's paper at 1440 twips per inch (no printer is
// needed to count pages) and cut into pages between lines; a line or picture taller than the
// printed rectangle takes a page of its own and is clipped.
//
//   RtfPage paper = RtfPage::FromPageSettings(pageSettings);
//   const int32_t pages = CountPages(block, paper);          // also block.pageCount
//   block.printInfo.currentPage = 2;
//   Print(block, printerDc, paper);                          // draws page 2 of the block

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "layout/richtext/CRichDrawText.h"
#include "model/text/CRTFPreface.h"

namespace vornel {

class CPageDlg;

// The paper, in twips, as the document's page settings give it.
struct RtfPage {
  static constexpr int32_t kA4Width = 11906;
  static constexpr int32_t kA4Height = 16838;

  int32_t widthTwips = kA4Width;
  int32_t heightTwips = kA4Height;
  bool landscape = false;

  // A4, or the printer paper code of the settings (letter, legal, A3, A5), turned when the
  // settings are in landscape.
  static RtfPage FromPageSettings(const CPageDlg& settings);
  // The portrait paper turned when `landscape`.
  static RtfPage A4(bool landscape = false);
};

// The printed rectangle in twips: the page inset on every side by a twelfth of its width (of
// its height in landscape), then moved right and down by a quarter of that inset.
Rect RtfPrintedRect(const RtfPage& page);

// The first line of each page when `layout`'s lines are cut into pages `pageHeight` twips
// high; empty for a layout without lines.
std::vector<size_t> PaginateLines(const RichTextLayout& layout, int32_t pageHeight);

// An RTF laid out for printing on one paper.
class RtfPages {
 public:
  RtfPages(std::string_view rtf, const RtfPage& page, TextEngine& engine,
           RichTextCache& cache = RichTextCache::Shared());

  int32_t Count() const { return static_cast<int32_t>(starts_.size()); }
  const Rect& PrintedRect() const { return printed_; }
  const RichTextLayout& Layout() const { return *layout_; }
  // Draws page `page` (from 1) on a device whose origin is the paper's top-left corner;
  // nothing for a page out of range.
  void DrawPage(DeviceContext& dc, int32_t page) const;

 private:
  Rect printed_;
  std::shared_ptr<const RichTextLayout> layout_;
  std::vector<size_t> starts_;
};

// The pages the block's RTF takes on the paper, measured with `engine` (the one the printing
// device uses); 0 for an empty text. Also stored as the block's page count and the print
// info's last page, with the printed rectangle.
int32_t CountPages(CRTFPreface& block, const RtfPage& page, TextEngine& engine = PangoTextEngine::Shared());

// Measures as CountPages with the engine of `dc`, then prints the print info's current page
// of the block on `dc`; returns the page count.
int32_t Print(CRTFPreface& block, DeviceContext& dc, const RtfPage& page);

}  // namespace vornel
