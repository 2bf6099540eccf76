#include "platform/text/CompactString.h"

#include <cstring>
#include <new>
#include <ostream>

namespace vornel {

void CompactString::assign(std::string_view text) {
  Rep* rep = nullptr;
  if (!text.empty()) {
    rep = static_cast<Rep*>(::operator new(sizeof(Rep) + text.size() + 1));
    rep->size = text.size();
    char* bytes = reinterpret_cast<char*>(rep + 1);
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
  }
  clear();
  rep_ = rep;
}

void CompactString::clear() noexcept {
  ::operator delete(std::exchange(rep_, nullptr));
}

std::ostream& operator<<(std::ostream& out, const CompactString& text) { return out << text.view(); }

}  // namespace vornel
