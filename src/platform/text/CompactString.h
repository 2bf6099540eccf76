#pragma once
// A string in one pointer for fields that are nearly always empty (a chord's name): an empty
// string holds nothing, any other holds one heap block with its length and its bytes (zero
// bytes included) and a terminating zero. It reads as a std::string_view.

#include <compare>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace vornel {

class CompactString {
 public:
  CompactString() noexcept = default;
  explicit CompactString(std::string_view text) { assign(text); }
  CompactString(const CompactString& other) { assign(other.view()); }
  CompactString(CompactString&& other) noexcept : rep_(std::exchange(other.rep_, nullptr)) {}
  CompactString& operator=(const CompactString& other) {
    if (this != &other) assign(other.view());
    return *this;
  }
  CompactString& operator=(CompactString&& other) noexcept {
    std::swap(rep_, other.rep_);
    return *this;
  }
  CompactString& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  CompactString& operator=(const std::string& text) { return *this = std::string_view(text); }
  CompactString& operator=(const char* text) { return *this = std::string_view(text); }
  ~CompactString() { clear(); }

  void assign(std::string_view text);
  void clear() noexcept;

  size_t size() const noexcept { return rep_ != nullptr ? rep_->size : 0; }
  size_t length() const noexcept { return size(); }
  bool empty() const noexcept { return rep_ == nullptr; }
  const char* data() const noexcept { return rep_ != nullptr ? Text(rep_) : ""; }
  const char* c_str() const noexcept { return data(); }
  std::string_view view() const noexcept { return {data(), size()}; }
  std::string str() const { return std::string(view()); }
  operator std::string_view() const noexcept { return view(); }

  friend bool operator==(const CompactString& a, const CompactString& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const CompactString& a, std::string_view b) noexcept { return a.view() == b; }
  friend std::strong_ordering operator<=>(const CompactString& a, const CompactString& b) noexcept {
    return a.view() <=> b.view();
  }
  friend std::strong_ordering operator<=>(const CompactString& a, std::string_view b) noexcept {
    return a.view() <=> b;
  }
  friend std::ostream& operator<<(std::ostream& out, const CompactString& text);

 private:
  // The length, followed by the bytes and a zero.
  struct Rep {
    size_t size;
  };
  static const char* Text(const Rep* rep) noexcept { return reinterpret_cast<const char*>(rep + 1); }
  Rep* rep_ = nullptr;
};

}  // namespace vornel
