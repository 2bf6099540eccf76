#include "shell/app/Profile.h"

#include <charconv>

#include "platform/text/TextEdits.h"

namespace vornel {

std::string ProfileStore::GetText(std::string_view section, std::string_view key, std::string_view fallback) const {
  std::optional<std::string> value = ReadText(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

int32_t ProfileStore::GetInt(std::string_view section, std::string_view key, int32_t fallback) const {
  const std::optional<std::string> value = ReadText(section, key);
  if (!value) return fallback;
  const std::string_view text = TrimBlanks(*value);
  // Colours are written as unsigned 32-bit numbers by older profiles; both forms are read.
  int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < INT32_MIN || number > UINT32_MAX) {
    return fallback;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(number));
}

void ProfileStore::WriteInt(std::string_view section, std::string_view key, int32_t value) {
  WriteText(section, key, std::to_string(value));
}

std::optional<std::string> MemoryProfile::ReadText(std::string_view section, std::string_view key) const {
  const auto found = values_.find(std::pair<std::string, std::string>(section, key));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

void MemoryProfile::WriteText(std::string_view section, std::string_view key, std::string_view value) {
  values_[{std::string(section), std::string(key)}] = std::string(value);
  writes.push_back(std::string(section) + "/" + std::string(key) + "=" + std::string(value));
}

void MemoryProfile::Remove(std::string_view section, std::string_view key) {
  values_.erase(std::pair<std::string, std::string>(section, key));
}

}  // namespace vornel
