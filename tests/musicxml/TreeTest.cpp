#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MxTestSupport.h"
#include "musicxml/factory/factory.h"
#include "musicxml/tree/xmlelement.h"

namespace vornel::MusicXML2 {
namespace {

// An element that counts the live instances of its class.
class Probe : public xmlelement {
 public:
  static inline int live = 0;
  static SMARTP<Probe> create(std::string_view name = "probe") {
    SMARTP<Probe> p = new Probe;
    p->setName(name);
    return p;
  }
  ~Probe() override { --live; }

 private:
  Probe() { ++live; }
};

Sxmlelement Make(std::string_view name, std::string_view value = {}) {
  Sxmlelement e = factory::instance().create(name);
  e->setValue(value);
  return e;
}

TEST(Handles, AssigningTheHeldPointerOrTheSameHandleChangesNothing) {
  Probe::live = 0;
  SMARTP<Probe> only = Probe::create();
  only = only.get();
  auto& alias = only;
  only = alias;
  EXPECT_EQ(Probe::live, 1);
  EXPECT_EQ(only->refs(), 1u);
  only = nullptr;  // the only handle: destroyed at once
  EXPECT_EQ(Probe::live, 0);
  EXPECT_EQ(only.get(), nullptr);
}

TEST(Handles, AssigningAChildOfTheCurrentObjectKeepsTheChild) {
  Probe::live = 0;
  Sxmlelement current = Probe::create("parent");
  current->push(Probe::create("child"));
  current = current->elements()[0];  // retained before the parent goes
  EXPECT_EQ(Probe::live, 1);
  EXPECT_EQ(current->getName(), "child");
  EXPECT_EQ(current->refs(), 1u);
}

TEST(Handles, CopiesDestroyTheObjectOnceAtTheLastRelease) {
  Probe::live = 0;
  {
    SMARTP<Probe> first = Probe::create();
    {
      SMARTP<Probe> second = first;
      Sxmlelement third(second);  // converted to the base class
      EXPECT_EQ(first->refs(), 3u);
    }
    EXPECT_EQ(Probe::live, 1);
  }
  EXPECT_EQ(Probe::live, 0);

  Sxmlelement none(nullptr);
  Sxmlelement copy = none;
  EXPECT_EQ(copy, nullptr);

  // Identity, not content.
  Sxmlelement a = Make("step", "C");
  Sxmlelement b = Make("step", "C");
  EXPECT_FALSE(a == b);
  EXPECT_TRUE(a == a.get());
}

TEST(Handles, ReleasingTheRootFreesTheTreeButNotAHeldSubtree) {
  Probe::live = 0;
  Sxmlelement root = Probe::create("root");
  Sxmlelement kept = Probe::create("kept");
  for (int i = 0; i < 3; ++i) {
    Sxmlelement child = Probe::create();
    child->push(Probe::create());
    root->push(child);
  }
  kept->push(Probe::create("kept-child"));
  root->push(kept);
  EXPECT_EQ(Probe::live, 9);

  root = nullptr;
  EXPECT_EQ(Probe::live, 2);
  ASSERT_EQ(kept->size(), 1);
  EXPECT_EQ(kept->elements()[0]->getName(), "kept-child");
  kept = nullptr;
  EXPECT_EQ(Probe::live, 0);
}

TEST(Handles, ADeepChainIsDestroyedAndWalkedWithoutExhaustingTheStack) {
  constexpr int kDepth = 100000;
  Probe::live = 0;
  int visited = 0;
  bool found = true;
  testing::RunOnSmallStack([&] {
    Sxmlelement root = Probe::create();
    Sxmlelement tip = root;
    for (int i = 0; i < kDepth; ++i) {
      Sxmlelement next = Probe::create();
      tip->push(next);
      tip = next;
    }
    tip = nullptr;
    for (auto it = root->begin(); it != root->end(); ++it) ++visited;
    found = root->find(1) != root->end();
    root = nullptr;
  });
  EXPECT_EQ(visited, kDepth);
  EXPECT_FALSE(found);
  EXPECT_EQ(Probe::live, 0);
}

Sxmlattribute Attribute(std::string_view name, std::string_view value) {
  Sxmlattribute a = xmlattribute::create();
  a->setName(name);
  a->setValue(value);
  return a;
}

TEST(Attributes, LookupIsByExactNameAndTheFirstOneWins) {
  Sxmlelement e = Make("note");
  EXPECT_EQ(e->add(Attribute("default-x", "12")), 0);
  EXPECT_EQ(e->add(Attribute("default-x", "99")), 1);
  EXPECT_EQ(e->add(Attribute("Dynamics", "80")), 2);

  EXPECT_EQ(e->getAttributeValue("default-x"), "12");
  EXPECT_EQ(e->getAttributeIntValue("default-x", -1), 12);
  EXPECT_EQ(e->getAttribute("default-x")->getValue(), "12");
  EXPECT_EQ(e->getAttribute("default-x")->refs(), 2u);  // the element's and the returned one

  for (const char* variant : {"default", "default-x ", "dynamics", "DYNAMICS", ""}) {
    SCOPED_TRACE(variant);
    EXPECT_EQ(e->getAttribute(variant), nullptr);
    EXPECT_EQ(e->getAttributeValue(variant), "");
    EXPECT_EQ(e->getAttributeIntValue(variant, 7), 7);
    EXPECT_EQ(e->getAttributeLongValue(variant, 8), 8);
    EXPECT_EQ(e->getAttributeFloatValue(variant, 0.5f), 0.5f);
  }
}

struct NumberCase {
  const char* text;
  int32_t integer;
  float real;
  friend void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << '"';
    for (const char* p = c.text; *p; ++p) *os << (*p == '\n' ? "\\n" : *p == '\t' ? "\\t" : std::string(1, *p));
    *os << '"';
  }
};

class NumberConversion : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberConversion, AttributeAndValueFollowTheCRules) {
  const NumberCase& c = GetParam();
  Sxmlelement e = Make("duration", c.text);
  e->add(Attribute("n", c.text));
  EXPECT_EQ(e->getIntValue(), c.integer);
  EXPECT_EQ(e->getLongValue(), c.integer);
  EXPECT_EQ(e->getFloatValue(), c.real);
  EXPECT_EQ(e->getAttributeIntValue("n", 1), c.integer);  // present: never the default
  EXPECT_EQ(e->getAttributeLongValue("n", 1), c.integer);
  EXPECT_EQ(e->getAttributeFloatValue("n", 1.0f), c.real);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberConversion,
    ::testing::Values(NumberCase{"a", 0, 0.0f}, NumberCase{" 3", 3, 3.0f}, NumberCase{"\n\t-12x", -12, -12.0f},
                      NumberCase{"+7", 7, 7.0f}, NumberCase{"3.9", 3, 3.9f}, NumberCase{"0.1", 0, 0.1f},
                      NumberCase{"", 0, 0.0f}, NumberCase{"-", 0, 0.0f}, NumberCase{"1e3", 1, 1000.0f},
                      NumberCase{"99999999999", 2147483647, 99999999999.0f},
                      NumberCase{"-2147483648", -2147483648, -2147483648.0f},
                      NumberCase{"-99999999999", -2147483648, -99999999999.0f}));

TEST(Elements, EmptyLooksAtTextAndChildren) {
  Sxmlelement e = Make("words");
  EXPECT_TRUE(e->empty());
  e->setValue(" ");
  EXPECT_FALSE(e->empty());                   // white space is text
  EXPECT_TRUE(e->ctree<xmlelement>::empty());  // the child list alone ignores the text
  e->setValue("");
  e->push(Make("words"));
  EXPECT_FALSE(e->empty());
  EXPECT_EQ(e->size(), 1);
}

// Names of the walk from `e`, in order.
std::string Walk(const Sxmlelement& e) {
  std::string names;
  for (auto it = e->begin(); it != e->end(); ++it) names += (*it)->getName() + " ";
  return names;
}

TEST(Iteration, WalksDepthFirstInDocumentOrderWithoutTheStart) {
  Sxmlelement leaf = Make("rest");
  EXPECT_TRUE(leaf->begin() == leaf->end());
  EXPECT_EQ(leaf->find(ElementType("rest")), leaf->end());  // never the element itself
  EXPECT_EQ(leaf->getChildIntValue(ElementType("octave"), 42), 42);

  // R(A(B, C), D)
  Sxmlelement r = Make("measure"), a = Make("note"), b = Make("pitch"), c = Make("duration"), d = Make("note");
  a->push(b);
  a->push(c);
  r->push(a);
  r->push(d);
  EXPECT_EQ(Walk(r), "note pitch duration note ");

  // A single chain R, A, B.
  Sxmlelement chainB = Make("step");
  Sxmlelement chainA = Make("pitch");
  chainA->push(chainB);
  Sxmlelement chain = Make("note");
  chain->push(chainA);
  EXPECT_EQ(Walk(chain), "pitch step ");
  auto it = chain->begin();
  ++it;
  ++it;
  EXPECT_TRUE(it == chain->end());
  EXPECT_EQ(it.getParent(), chain);

  // Equal positions compare equal; the ends of different roots do not.
  auto first = r->begin();
  auto copy = first;
  ++first;
  auto later = r->begin();
  ++later;
  EXPECT_TRUE(first == later);
  EXPECT_FALSE(copy == first);
  EXPECT_FALSE(r->end() == chain->end());
}

TEST(Iteration, FindSearchesTheWholeSubtreeByTypeNumber) {
  Sxmlelement note = Make("note");
  Sxmlelement pitch = Make("pitch");
  pitch->push(Make("step", "G"));
  pitch->push(Make("octave", "4"));
  note->push(pitch);
  note->push(Make("duration", "x"));
  note->push(Make("octave", "7"));

  EXPECT_EQ(note->getChildIntValue(ElementType("octave"), -1), 4);  // the nested one comes first
  EXPECT_EQ(note->getChildLongValue(ElementType("octave"), -1), 4);
  EXPECT_EQ(note->getChildIntValue(ElementType("duration"), -1), 0);  // found, not a number
  EXPECT_EQ(note->getChildIntValue(ElementType("note"), -1), -1);     // not itself

  // A further search starts at the found element, so the caller steps once first.
  auto found = note->find(ElementType("octave"));
  EXPECT_EQ((*found)->getValue(), "4");
  EXPECT_EQ(note->find(ElementType("octave"), found), found);
  auto second = note->find(ElementType("octave"), ++found);
  ASSERT_NE(second, note->end());
  EXPECT_EQ((*second)->getValue(), "7");
  EXPECT_EQ(note->find(ElementType("octave"), ++second), note->end());
}

TEST(Iteration, AnIteratorKeepsItsElementsAlive) {
  Probe::live = 0;
  Sxmlelement root = Probe::create("root");
  Sxmlelement child = Probe::create("child");
  child->push(Probe::create("grandchild"));
  root->push(child);
  child = nullptr;
  {
    auto it = root->begin();
    ++it;  // on the grandchild, with root and child on its stack
    root = nullptr;
    EXPECT_EQ(Probe::live, 3);
    EXPECT_EQ((*it)->getName(), "grandchild");
  }
  EXPECT_EQ(Probe::live, 0);
}

}  // namespace
}  // namespace vornel::MusicXML2
