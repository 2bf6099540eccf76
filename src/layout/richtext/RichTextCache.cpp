#include "layout/richtext/RichTextCache.h"

#include "platform/UserPrompts.h"
#include "platform/rtf/RtfReader.h"

namespace vornel {

RichTextCache& RichTextCache::Shared() {
  // A cache of immutable resources, kept for the process: parsed texts and layouts keyed by
  // their content, shared read-only under its lock, so no drawing depends on another.
  static RichTextCache cache;
  return cache;
}

RichTextCache::RichTextCache(size_t maxTexts, size_t maxLayouts)
    : maxTexts_(std::max<size_t>(1, maxTexts)), maxLayouts_(std::max<size_t>(1, maxLayouts)) {}

std::shared_ptr<const RichTextContent> RichTextCache::Content(std::string_view rtf) {
  std::unique_lock lock(mutex_);
  if (const auto it = textIndex_.find(rtf); it != textIndex_.end()) {
    texts_.splice(texts_.begin(), texts_, it->second);
    return it->second->second;
  }
  lock.unlock();
  RtfReadResult read = ReadRtf(rtf);
  auto content = std::make_shared<const RichTextContent>(std::move(read.document), read.stopped);
  if (read.stopped) Prompts().ShowMessage(kReadError, MessageKind::kError);
  lock.lock();
  ++reads_;
  if (const auto it = textIndex_.find(rtf); it != textIndex_.end()) return it->second->second;
  texts_.emplace_front(std::string(rtf), content);
  textIndex_.emplace(std::string_view(texts_.front().first), texts_.begin());
  while (texts_.size() > maxTexts_) {
    textIndex_.erase(std::string_view(texts_.back().first));
    texts_.pop_back();
  }
  return content;
}

std::shared_ptr<const RichTextLayout> RichTextCache::Layout(const std::shared_ptr<const RichTextContent>& content,
                                                            int32_t widthTwips, TextEngine& engine) {
  const LayoutKey key{content.get(), widthTwips, &engine};
  std::unique_lock lock(mutex_);
  if (const auto it = layoutIndex_.find(key); it != layoutIndex_.end()) {
    layoutList_.splice(layoutList_.begin(), layoutList_, it->second);
    return it->second->second;
  }
  lock.unlock();
  auto layout = std::make_shared<const RichTextLayout>(content, widthTwips, engine);
  // A text whose end cannot be laid out says so as one cut short by reading does.
  if (layout->Truncated() && !content->ReadStopped()) Prompts().ShowMessage(kReadError, MessageKind::kError);
  lock.lock();
  ++layouts_;
  if (const auto it = layoutIndex_.find(key); it != layoutIndex_.end()) return it->second->second;
  // The layout holds its content, so the key's address stays that content's while listed.
  layoutList_.emplace_front(key, layout);
  layoutIndex_.emplace(key, layoutList_.begin());
  while (layoutList_.size() > maxLayouts_) {
    layoutIndex_.erase(layoutList_.back().first);
    layoutList_.pop_back();
  }
  return layout;
}

void RichTextCache::Clear() {
  std::lock_guard lock(mutex_);
  layoutIndex_.clear();
  layoutList_.clear();
  textIndex_.clear();
  texts_.clear();
}

}  // namespace vornel
