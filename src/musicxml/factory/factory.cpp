#include "musicxml/factory/factory.h"

#include <array>
#include <cstdio>
#include <utility>

namespace vornel::MusicXML2 {

namespace {

using NameTable = std::map<std::string, std::unique_ptr<functor<Sxmlelement>>, std::less<>>;
using FunctorMaker = std::unique_ptr<functor<Sxmlelement>> (*)();

template <int32_t N>
std::unique_ptr<functor<Sxmlelement>> MakeFunctor() {
  return std::make_unique<newElementFunctor<N>>();
}

// One maker per type number, in type order (a pack expansion, not a fold: 390 terms).
template <size_t... I>
constexpr std::array<FunctorMaker, sizeof...(I)> FunctorMakers(std::index_sequence<I...>) {
  return {{&MakeFunctor<static_cast<int32_t>(I) + 1>...}};
}

factory::UnknownElementReporter& Reporter() {
  static factory::UnknownElementReporter reporter;
  return reporter;
}

}  // namespace

void factory::SetUnknownElementReporter(UnknownElementReporter reporter) { Reporter() = std::move(reporter); }

void factory::ReportUnknownElement(std::string_view name) {
  std::fprintf(stderr, "Sxmlelement factory::create called with unknown element \"%.*s\"\n",
               static_cast<int>(name.size()), name.data());
}

factory::factory() {
  static constexpr auto kMakers = FunctorMakers(std::make_index_sequence<kElementTypeCount>());
  for (size_t i = 0; i < kMakers.size(); ++i) nameTable_.emplace(std::string(kElementNames[i]), kMakers[i]());
}

factory::~factory() { nameTable_.clear(); }

Sxmlelement factory::create(std::string_view name) const {
  const auto found = nameTable_.find(name);
  if (found == nameTable_.end() || !found->second) {
    if (Reporter()) {
      Reporter()(name);
    } else {
      ReportUnknownElement(name);
    }
    return nullptr;
  }
  Sxmlelement element = (*found->second)();
  element->setName(name);
  return element;
}

}  // namespace vornel::MusicXML2
