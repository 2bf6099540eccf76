#pragma once
// The list of open views and their titles behind the window tabs: one tab per view, in the
// order the views were added. The tab strip itself is the window layer's.

#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class TabStrip {
 public:
  virtual ~TabStrip() = default;
  virtual void InsertTab(std::string_view title, const void* view) = 0;
  virtual void DeleteTab(const void* view) = 0;
  virtual void ResizeTabs() = 0;
};

class CViewManager {
 public:
  // Adds a view and its tab, unless the manager is closing.
  void AddView(const void* view, std::string_view title);
  // Removes the first entry of the view and its tab, unless the manager is closing; a view
  // that was never added changes nothing.
  void RemoveView(const void* view);
  // A new title for a view's entry (its document was saved under another name).
  void RenameView(const void* view, std::string_view title);

  void SetClosing(bool closing) { closing_ = closing; }
  bool Closing() const { return closing_; }
  void SetTabStrip(TabStrip* strip) { strip_ = strip; }

  size_t Count() const { return views_.size(); }
  const void* View(size_t index) const { return views_.at(index); }
  const std::string& Title(size_t index) const { return titles_.at(index); }
  // The index of the view's entry; -1 when it has none.
  int IndexOf(const void* view) const;

 private:
  std::vector<const void*> views_;
  std::vector<std::string> titles_;
  bool closing_ = false;
  TabStrip* strip_ = nullptr;
};

}  // namespace vornel
