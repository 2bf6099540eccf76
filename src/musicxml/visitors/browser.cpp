#include "musicxml/visitors/browser.h"

#include <typeindex>
#include <unordered_map>
#include <utility>

#include "musicxml/factory/musicxml.h"

namespace vornel::MusicXML2 {

namespace {

struct TypeSet {
  std::bitset<kElementTypeCount + 1> types;
  bool all = false;
};

template <int32_t... I>
void MarkHandled(basevisitor& v, std::bitset<kElementTypeCount + 1>& types, std::integer_sequence<int32_t, I...>) {
  ((types[static_cast<size_t>(I + 1)] = dynamic_cast<visitor<Smusicxml<I + 1>>*>(&v) != nullptr), ...);
}

}  // namespace

handled_types::handled_types(basevisitor& v) {
  // The answer depends on the visitor's class alone.
  thread_local std::unordered_map<std::type_index, TypeSet> known;
  const auto [entry, added] = known.try_emplace(std::type_index(typeid(v)));
  TypeSet& set = entry->second;
  if (added) {
    MarkHandled(v, set.types, std::make_integer_sequence<int32_t, kElementTypeCount>{});
    set.all = dynamic_cast<visitor<Sxmlelement>*>(&v) != nullptr;
  }
  types_ = set.types;
  all_ = set.all;
}

}  // namespace vornel::MusicXML2
