#include <gtest/gtest.h>

#include <iterator>
#include <utility>

#include "musicxml/factory/factory.h"

namespace vornel::MusicXML2 {
namespace {

// Checks that the element is exactly of class musicxml<N> for the N of its position.
template <size_t... I>
void ExpectEveryClass(std::index_sequence<I...>) {
  factory& f = factory::instance();
  auto check = [&f]<int32_t N>(std::integral_constant<int32_t, N>) {
    const std::string name(kElementNames[N - 1]);
    const Sxmlelement e = f.create(name);
    ASSERT_NE(e, nullptr) << name;
    EXPECT_EQ(e->getType(), N) << name;
    EXPECT_EQ(e->getName(), name);
    EXPECT_NE(dynamic_cast<musicxml<N>*>(e.get()), nullptr) << name;
    EXPECT_EQ(e->refs(), 1u);
    EXPECT_TRUE(e->empty());
    EXPECT_TRUE(e->attributes().empty());

    const Smusicxml<N> fresh = musicxml<N>::new_musicxml();
    EXPECT_EQ(fresh->getType(), N);
    EXPECT_EQ(fresh->getName(), "");  // the factory names it, not the class
    EXPECT_EQ(fresh->refs(), 1u);
  };
  // Expanded into an array rather than folded: 390 terms exceed some compilers' fold limit.
  const int done[] = {(check(std::integral_constant<int32_t, static_cast<int32_t>(I) + 1>()), 0)...};
  EXPECT_EQ(std::size(done), static_cast<size_t>(kElementTypeCount));
}

TEST(Factory, CreatesEveryTypeByNameWithItsOwnClass) {
  ExpectEveryClass(std::make_index_sequence<kElementTypeCount>());
  // Spot checks of the table against the numbers other code relies on.
  EXPECT_EQ(ElementType("comment"), 1);
  EXPECT_EQ(ElementType("pi"), 2);
  EXPECT_EQ(ElementType("accent"), 3);
  EXPECT_EQ(ElementType("beat-type"), 32);
  EXPECT_EQ(ElementType("beater"), 35);
  EXPECT_EQ(ElementType("note"), 215);
  EXPECT_EQ(ElementType("score-partwise"), 289);
  EXPECT_EQ(ElementType("staff-details"), 316);
  EXPECT_EQ(ElementType("work-title"), 390);
  EXPECT_EQ(ElementName(390), "work-title");
  EXPECT_EQ(ElementName(0), "");
  EXPECT_EQ(ElementName(391), "");
}

TEST(Factory, UnknownNamesGiveNullAndOneLine) {
  for (const char* name : {"Note", "note ", "", "glyph"}) {
    ::testing::internal::CaptureStderr();
    const Sxmlelement e = factory::instance().create(name);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(e, nullptr);
    EXPECT_EQ(err, "Sxmlelement factory::create called with unknown element \"" + std::string(name) + "\"\n");
  }
}

TEST(Factory, EachCallCreatesADistinctElement) {
  const Sxmlelement a = factory::instance().create("note");
  const Sxmlelement b = factory::instance().create("note");
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(a->refs(), 1u);
  EXPECT_EQ(b->refs(), 1u);

  newElementFunctor<3> accent;
  const Sxmlelement made = accent();
  EXPECT_EQ(made->getType(), 3);
  EXPECT_EQ(made->refs(), 1u);
}

}  // namespace
}  // namespace vornel::MusicXML2
