#pragma once
// A section's pages: its systems stacked down the printable rectangle of a page (spread over
// the page's height when the page settings ask for it), its headings above its first system,
// its end text after its last, the system under a point, how many systems fit on a page,
// and the pages the section adds to the printed sequence.
//
// Headings stand in a band above the first system: the band is as tall as the texts at
// their offsets need, and the texts are placed from its top left.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CPageDlg;
class CStaveArray;
class CSystemArray;
class PageSequencing;

// One slot of a page: a section's system, or an empty slot (no section).
struct PageSlot {
  CSystemArray* section = nullptr;
  size_t system = 0;
  bool headings = false;  // the section's headings stand above this system
};

// What a system covers: its area's height and the ink it draws above the area's top and below
// its bottom (flags, bar numbers, time signatures, letters of the bass courses, lyrics, texts).
struct SystemReach {
  int32_t above = 0;
  int32_t height = 0;
  int32_t below = 0;
  int64_t Total() const { return int64_t{above} + height + below; }
};

// The section's pages as laid out from the room each system takes: each page holds the systems
// that fit in `height` with `gap` between them, `most` at the most; a system that would pass
// the foot starts the next page, and a page holds at least one, however tall.
void KeepFittingPageStarts(CSystemArray& section, const std::vector<int64_t>& rooms, int64_t height, int64_t gap,
                           int32_t most);
// The slots page `page` of the section is laid out with: its systems, and on the last page at
// least as many as the first page holds (it is spread and placed as a full page).
size_t SlotsOfPage(const CSystemArray& section, size_t page);

// The least room between the ink of one system and the ink of the next: 6 mm.
int32_t GapBetweenSystems(const DeviceContext& dc, const CPageDlg& page);

// System `s` of the section measured as it would be drawn at the top of `printable`, with the
// clefs and footnotes of the page left as they were.
SystemReach MeasureSystem(CSystemArray& section, size_t s, DeviceContext& dc, CPageDlg& page, uint32_t placement,
                          const Rect& printable);

// Draws the frame of page `pageIndex` and the slots' systems down its printable rectangle,
// the headings and end texts that belong to them, and the footnotes the page collected. Each
// system stands below the ink of the one before it, with at least 6 mm between them; with
// spreading on, the room left is shared out between the systems.
// Returns the systems drawn; each section drawn keeps the page's rectangle, its bottom at its
// last system's. A page of fewer slots than `slotsPerPage` (the last of a section or of the
// run) is spread and placed as a full page.
int DrawPageSlots(DeviceContext& dc, CPageDlg& page, int32_t pageIndex, const std::vector<PageSlot>& slots,
                  int32_t slotsPerPage = 0);

// One page of a section: `count` systems from `first` (fewer at the section's end); with
// `headings` the section's headings above its first system. Nothing (0) when `first` is past
// the last system.
int DrawSystems(CSystemArray& section, DeviceContext& dc, CPageDlg& page, int32_t pageIndex, size_t first,
                size_t count, bool headings);

// The height of the band the section's headings take above its first system.
int32_t HeadingBand(CSystemArray& section, DeviceContext& dc, const CPageDlg& page);
// Draws the title, the comments and the author at their offsets from the top left of the band
// above the first system (as last drawn). A section without systems has no headings.
// `above` is the ink the first system draws over its staves: the band stands above it.
void DrawSectionHeadings(CSystemArray& section, DeviceContext& dc, CPageDlg& page, int32_t above = 0);

// Places the title, the author and the comments across the printable width of the section's
// first page, each by its mode (CTrackText::PlaceMode: left, right, centre), measured on `dc`,
// on which the first system is laid out first. Their heights are kept; a text never placed
// takes its first height. Texts without content or hidden are left alone.
void PlaceSectionHeadings(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const std::array<int, 3>& modes);

// The system whose lines take the point, among `count` from `first`; it becomes the active
// system. Nothing for a point off the section's page, a hidden system or empty room.
CStaveArray* HitTestSystem(CSystemArray& section, size_t first, size_t count, Point point);

// The room each system of the section takes on a page (the first with the headings' band, the
// last with its end text), measured on a device like `dc`.
std::vector<int64_t> MeasureSystemRooms(CSystemArray& section, DeviceContext& dc, CPageDlg& page,
                                        const Rect& printable);
// The most systems per page, `most` at the most and 1 at the least, for which every page of
// systems of these rooms, `gap` apart, fits in `height`.
int32_t FitSystemsPerPage(const std::vector<int64_t>& rooms, int64_t height, int64_t gap, int32_t most);
// Lays the section out on pages of `printable`, each holding what fits and no more than the
// stored systems per page (which is left alone); returns the systems of its first page.
int32_t FitSystemsOfSection(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const Rect& printable);

// How many systems fit in `pageRect` (drawn on a device like `dc`): as many as a system of
// the typical height would take, at least 1; the section keeps it, is laid out on pages of
// what fits, and its systems take the first system's stave settings.
int32_t ComputeSystemsPerPage(CSystemArray& section, DeviceContext& dc, CPageDlg& page, const Rect& pageRect);

// Appends the section's printed pages: its preface (when the page settings print section
// comments before their sections), its music pages as laid out (at least one, each with its
// first system and its slots), its end text when it has a page, and a blank page when its
// flags ask. Returns the number of pages added.
int32_t BuildSectionPrintPages(CSystemArray& section, PageSequencing& sequence, CPageDlg& page);

// The section's comments as a block to print: its rich comments, or a small rich text of its
// title and plain comments; empty when it has neither.
std::string SectionPrefaceText(const CSystemArray& section);

}  // namespace vornel
