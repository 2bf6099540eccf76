#pragma once
// The printed document's pages in order: which kind of page stands at each position of the
// sequence, from which block (a section, the contents, the preface ...) and which page of
// that block it is. Built when printing starts and emptied when it ends; the page drawing
// looks each printed page up here, the contents look up where each section begins.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vornel {

class PageSequencing {
 public:
  // The kinds of pages.
  enum Kind : int32_t {
    kTitlePage = 0,
    kContentsPage = 1,
    kDocumentPreface = 2,
    kFacsimilePage = 3,
    kSectionPreface = 4,
    kBlankPage = 5,
    kMusicPage = 6,
    kCommentsPage = 8,
    kEndTextPage = 9,
  };

  struct stPageSequence {
    int32_t position = -1;      // in the sequence
    int32_t kind = -1;
    int32_t block = -1;         // section or block number
    int32_t index = -1;         // page within the block
    int32_t runningTotal = 0;   // the sequence's running total before this entry
    int32_t pages = 0;          // what this entry covers (systems of a music page)
  };

  int32_t base = 0;          // entries before the first music page
  int32_t runningTotal = 0;
  int32_t imageCount = 0;    // image paths of the title page's list, noted when it was counted

  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  // An entry; std::out_of_range outside the sequence.
  const stPageSequence& at(size_t position) const { return entries_.at(position); }
  const std::vector<stPageSequence>& entries() const { return entries_; }

  // Every entry goes; the base and the running total return to 0.
  void RemoveAll();
  // One entry at the end with the running total so far and no pages.
  void AddEntry(int32_t kind, int32_t block, int32_t index);
  // `count` entries of one block, each covering `pagesPerEntry`; their indexes run from
  // `firstIndex` by `indexStep` (a section's music pages carry their first system).
  void AddPages(int32_t kind, int32_t block, int32_t count, int32_t pagesPerEntry, int32_t indexStep = 1,
                int32_t firstIndex = 0);
  // For each music page: the first position in `pages` (the page each section starts on,
  // counted from the base) that names this page becomes its block; a page on which no
  // section starts keeps the last one found before it.
  void MapContentsPages(const std::vector<int32_t>& pages);
  // The page number, from 1 at the base, of the first music page of `section`; 0 when none.
  // A section that starts on a page another section started on first is found through the
  // pages last mapped.
  int32_t FindSectionPage(int32_t section) const;

 private:
  std::vector<stPageSequence> entries_;
  std::vector<int32_t> mapped_;
};

}  // namespace vornel
