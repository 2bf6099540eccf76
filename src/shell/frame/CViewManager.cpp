#include "shell/frame/CViewManager.h"

#include <algorithm>

namespace vornel {

void CViewManager::AddView(const void* view, std::string_view title) {
  if (closing_) return;
  views_.push_back(view);
  titles_.emplace_back(title);
  if (strip_ != nullptr) {
    strip_->InsertTab(title, view);
    strip_->ResizeTabs();
  }
}

void CViewManager::RemoveView(const void* view) {
  if (closing_) return;
  const int index = IndexOf(view);
  if (index < 0) return;
  if (strip_ != nullptr) strip_->DeleteTab(view);
  views_.erase(views_.begin() + index);
  titles_.erase(titles_.begin() + index);
}

void CViewManager::RenameView(const void* view, std::string_view title) {
  const int index = IndexOf(view);
  if (index >= 0) titles_[static_cast<size_t>(index)] = std::string(title);
}

int CViewManager::IndexOf(const void* view) const {
  const auto found = std::find(views_.begin(), views_.end(), view);
  return found == views_.end() ? -1 : static_cast<int>(found - views_.begin());
}

}  // namespace vornel
