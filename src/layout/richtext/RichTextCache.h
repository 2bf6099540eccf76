#pragma once
// Rich texts are drawn on every repaint of every page that shows them: the cache reads each
// text once and lays it out once per width and text engine, keeping the most recently used
// ones. A text whose reading was stopped by a limit says "Error reading RTF text" once, when
// it is read, never on a repaint; so does one too tall to lay out whole, when it is laid out.

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "layout/richtext/RichTextLayout.h"

namespace vornel {

class RichTextCache {
 public:
  static constexpr std::string_view kReadError = "Error reading RTF text";

  // The cache of the drawing thread.
  static RichTextCache& Shared();

  explicit RichTextCache(size_t maxTexts = 32, size_t maxLayouts = 64);

  std::shared_ptr<const RichTextContent> Content(std::string_view rtf);
  std::shared_ptr<const RichTextLayout> Layout(const std::shared_ptr<const RichTextContent>& content,
                                               int32_t widthTwips, TextEngine& engine);
  void Clear();

  // How many texts were read and layouts made since the cache was made (for tests and
  // benchmarks).
  size_t ReadCount() const { return reads_; }
  size_t LayoutCount() const { return layouts_; }

 private:
  struct LayoutKey {
    const RichTextContent* content;
    int32_t width;
    const TextEngine* engine;
    friend bool operator==(const LayoutKey&, const LayoutKey&) = default;
  };
  struct LayoutKeyHash {
    size_t operator()(const LayoutKey& k) const {
      return std::hash<const void*>()(k.content) ^ (std::hash<int32_t>()(k.width) * 31) ^
             (std::hash<const void*>()(k.engine) * 131);
    }
  };
  using TextList = std::list<std::pair<std::string, std::shared_ptr<const RichTextContent>>>;
  using LayoutList = std::list<std::pair<LayoutKey, std::shared_ptr<const RichTextLayout>>>;

  size_t maxTexts_;
  size_t maxLayouts_;
  std::mutex mutex_;
  TextList texts_;  // most recent first
  std::unordered_map<std::string_view, TextList::iterator> textIndex_;
  LayoutList layoutList_;
  std::unordered_map<LayoutKey, LayoutList::iterator, LayoutKeyHash> layoutIndex_;
  size_t reads_ = 0;
  size_t layouts_ = 0;
};

}  // namespace vornel
