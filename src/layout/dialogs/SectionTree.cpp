#include "layout/dialogs/SectionTree.h"

#include <algorithm>

#include "model/score/CSectionArray.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

void Collect(const SectionTreeItem& item, std::vector<int>& order) {
  for (const SectionTreeItem& child : item.children) {
    if (child.section >= 0) order.push_back(child.section);
    Collect(child, order);
  }
}

void Number(SectionTreeItem& item, int& next) {
  for (SectionTreeItem& child : item.children) {
    if (child.section >= 0) child.section = next++;
    Number(child, next);
  }
}

bool StartsWith(const SectionTree::Path& path, const SectionTree::Path& prefix) {
  return path.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

}  // namespace

void SectionTree::Fill(const CSectionArray& sections, std::string_view title) {
  root = SectionTreeItem{std::string(title), -1, {}};
  for (size_t i = 0; i < sections.size(); ++i) {
    root.children.push_back({sections.GetSectionLabel(i), static_cast<int>(i), {}});
  }
}

void SectionTree::AddChapter() { root.children.push_back({std::string(kNewChapter), -1, {}}); }

SectionTreeItem* SectionTree::Item(const Path& path) {
  SectionTreeItem* item = &root;
  for (size_t i : path) {
    if (i >= item->children.size()) return nullptr;
    item = &item->children[i];
  }
  return item;
}

bool SectionTree::Drop(const Path& dragged, const Path& target, CSectionArray& sections) {
  const bool onParent = !dragged.empty() && target == Path(dragged.begin(), dragged.end() - 1);
  if (dragged.empty() || Item(dragged) == nullptr || Item(target) == nullptr || StartsWith(target, dragged) ||
      onParent) {
    Prompts().Beep(BeepKind::kDefault);
    return false;
  }
  SectionTreeItem moved = std::move(*Item(dragged));
  SectionTreeItem& parent = *Item(Path(dragged.begin(), dragged.end() - 1));
  // The target's path may pass through the dragged item's later siblings.
  Path where = target;
  const size_t depth = dragged.size() - 1;
  if (where.size() > depth && StartsWith(where, Path(dragged.begin(), dragged.end() - 1)) &&
      where[depth] > dragged.back()) {
    --where[depth];
  }
  parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(dragged.back()));
  Item(where)->children.push_back(std::move(moved));
  return ApplyOrder(sections);
}

void SectionTree::Sort(bool byText) {
  auto& items = root.children;
  if (byText) {
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.text < b.text; });
  } else {
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.section < b.section; });
  }
}

std::vector<int> SectionTree::DisplayOrder() const {
  std::vector<int> order;
  Collect(root, order);
  return order;
}

void SectionTree::Renumber() {
  int next = 0;
  Number(root, next);
}

bool SectionTree::ApplyOrder(CSectionArray& sections) {
  const std::vector<int> order = DisplayOrder();
  std::vector<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (size_t i = 0; i < sorted.size(); ++i) {
    if (sorted[i] != static_cast<int>(i)) return false;
  }
  if (sorted.size() != sections.size()) return false;
  // Each section in turn to its place; the ones not yet placed keep their relative order.
  std::vector<int> current(sections.size());
  for (size_t i = 0; i < current.size(); ++i) current[i] = static_cast<int>(i);
  for (size_t place = 0; place < order.size(); ++place) {
    const auto at = std::find(current.begin() + static_cast<std::ptrdiff_t>(place), current.end(), order[place]);
    const size_t from = static_cast<size_t>(at - current.begin());
    if (from != place) {
      sections.MoveSection(from, place);
      current.erase(at);
      current.insert(current.begin() + static_cast<std::ptrdiff_t>(place), order[place]);
    }
  }
  sections.Renumber();
  Renumber();
  return true;
}

}  // namespace vornel
