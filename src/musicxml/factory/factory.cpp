#include "musicxml/factory/factory.h"

#include <cstdio>
#include <utility>

namespace vornel::MusicXML2 {

namespace {

template <size_t... I>
void FillNameTable(std::map<std::string, std::unique_ptr<functor<Sxmlelement>>, std::less<>>& table,
                   std::index_sequence<I...>) {
  (table.emplace(std::string(kElementNames[I]), std::make_unique<newElementFunctor<static_cast<int32_t>(I) + 1>>()),
   ...);
}

}  // namespace

factory::factory() { FillNameTable(nameTable_, std::make_index_sequence<kElementTypeCount>()); }

factory::~factory() { nameTable_.clear(); }

Sxmlelement factory::create(std::string_view name) const {
  const auto found = nameTable_.find(name);
  if (found == nameTable_.end() || !found->second) {
    std::fprintf(stderr, "Sxmlelement factory::create called with unknown element \"%.*s\"\n",
                 static_cast<int>(name.size()), name.data());
    return nullptr;
  }
  Sxmlelement element = (*found->second)();
  element->setName(name);
  return element;
}

}  // namespace vornel::MusicXML2
