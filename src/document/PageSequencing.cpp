#include "document/PageSequencing.h"

#include <algorithm>

namespace vornel {

void PageSequencing::RemoveAll() {
  entries_.clear();
  mapped_.clear();
  base = 0;
  runningTotal = 0;
}

void PageSequencing::AddEntry(int32_t kind, int32_t block, int32_t index) {
  stPageSequence entry;
  entry.position = static_cast<int32_t>(entries_.size());
  entry.kind = kind;
  entry.block = block;
  entry.index = index;
  entry.runningTotal = runningTotal;
  entries_.push_back(entry);
}

void PageSequencing::AddPages(int32_t kind, int32_t block, int32_t count, int32_t pagesPerEntry, int32_t indexStep,
                              int32_t firstIndex) {
  for (int32_t i = 0; i < count; ++i) {
    AddEntry(kind, block, firstIndex + i * indexStep);
    entries_.back().pages = pagesPerEntry;
    runningTotal += pagesPerEntry;
  }
}

void PageSequencing::MapContentsPages(const std::vector<int32_t>& pages) {
  if (pages.empty()) return;
  mapped_ = pages;
  int32_t last = 0;
  for (stPageSequence& entry : entries_) {
    if (entry.kind != kMusicPage) continue;
    const auto found = std::find(pages.begin(), pages.end(), entry.position - base);
    if (found != pages.end()) {
      last = static_cast<int32_t>(found - pages.begin());
      entry.block = last;
    } else if (entry.block == 0) {
      entry.block = last;
    }
  }
}

int32_t PageSequencing::FindSectionPage(int32_t section) const {
  for (const stPageSequence& entry : entries_) {
    if (entry.kind == kMusicPage && entry.block == section) return entry.position - base + 1;
  }
  if (section >= 0 && static_cast<size_t>(section) < mapped_.size()) {
    const int32_t page = mapped_[static_cast<size_t>(section)];
    const int32_t position = base + page;
    if (page >= 0 && static_cast<size_t>(position) < entries_.size() && entries_[position].kind == kMusicPage) {
      return page + 1;
    }
  }
  return 0;
}

}  // namespace vornel
