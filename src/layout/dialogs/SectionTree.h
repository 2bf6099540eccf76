#pragma once
// The "Sections" tree: a root with the document's title and one item per section, which the
// user reorders by dragging an item onto another. Items are addressed by their path of child
// indices from the root. "NEW CHAPTER" items are headings of the tree only: the document's
// section order is always the order in which the section items show, so every rebuild is a
// permutation of the sections and none is dropped or held twice.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class CSectionArray;

struct SectionTreeItem {
  std::string text;
  int section = -1;  // the section's index; -1 for a heading
  std::vector<SectionTreeItem> children;
};

class SectionTree {
 public:
  static constexpr std::string_view kNewChapter = "NEW CHAPTER";
  using Path = std::vector<size_t>;

  SectionTreeItem root;

  // The root with `title` and one child per section in document order.
  void Fill(const CSectionArray& sections, std::string_view title);
  // "NEW CHAPTER" as the root's last child.
  void AddChapter();
  // The item at a path; null when the path leads nowhere.
  SectionTreeItem* Item(const Path& path);
  // The dragged item and its children become the last children of the target; the sections
  // are put into the tree's display order and the items renumbered. A drop onto the item itself,
  // one of its descendants or its parent, or onto nothing, beeps and changes nothing.
  bool Drop(const Path& dragged, const Path& target, CSectionArray& sections);
  // The root's children sorted by their text, or back in section order.
  void Sort(bool byText);
  // "Apply sorted order ": the sections in the tree's display order; false (nothing changed)
  // when the items are not a permutation of the sections.
  bool ApplyOrder(CSectionArray& sections);
  // The section indices in display order, headings left out.
  std::vector<int> DisplayOrder() const;
  // The section items numbered from 0 in display order.
  void Renumber();
};

}  // namespace vornel
