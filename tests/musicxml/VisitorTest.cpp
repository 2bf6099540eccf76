#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "MxTestSupport.h"
#include "musicxml/factory/factory.h"
#include "musicxml/visitors/browser.h"

namespace vornel::MusicXML2 {
namespace {

using Snote = Smusicxml<ElementType("note")>;
using Spitch = Smusicxml<ElementType("pitch")>;
using Sstep = Smusicxml<ElementType("step")>;
using Sduration = Smusicxml<ElementType("duration")>;
using Sclef = Smusicxml<ElementType("clef")>;
using Schord = Smusicxml<ElementType("chord")>;

Sxmlelement MakeElement(std::string_view name) { return factory::instance().create(name); }

Sxmlelement Tree(std::string_view name, std::initializer_list<Sxmlelement> children) {
  Sxmlelement e = MakeElement(name);
  for (const Sxmlelement& c : children) e->push(c);
  return e;
}

// Records "+name" on start and "-name" on end for the four types it declares.
class NoteLog : public visitor<Snote>, public visitor<Spitch>, public visitor<Sstep>, public visitor<Sduration> {
 public:
  std::string log;
  void visitStart(Snote& e) override { log += "+" + e->getName() + " "; }
  void visitEnd(Snote& e) override { log += "-" + e->getName() + " "; }
  void visitStart(Spitch& e) override { log += "+" + e->getName() + " "; }
  void visitEnd(Spitch& e) override { log += "-" + e->getName() + " "; }
  void visitStart(Sstep& e) override { log += "+" + e->getName() + " "; }
  void visitEnd(Sstep& e) override { log += "-" + e->getName() + " "; }
  void visitStart(Sduration& e) override { log += "+" + e->getName() + " "; }
  void visitEnd(Sduration& e) override { log += "-" + e->getName() + " "; }
};

std::string Browse(basevisitor& v, const Sxmlelement& e, std::string& log) {
  xml_tree_browser browser(&v);
  log.clear();
  browser.browse(*e);
  return log;
}

TEST(Browser, CallsStartsInDocumentOrderAndEndsAfterTheSubtree) {
  NoteLog v;
  const Sxmlelement note = Tree("note", {Tree("pitch", {MakeElement("step")}), MakeElement("duration")});
  EXPECT_EQ(Browse(v, note, v.log), "+note +pitch +step -step -pitch +duration -duration -note ");

  // An undeclared parent is passed over; its declared children are not.
  const Sxmlelement measure = Tree("measure", {Tree("chord", {MakeElement("step")}), MakeElement("duration")});
  EXPECT_EQ(Browse(v, measure, v.log), "+step -step +duration -duration ");

  // Elements of one type nest as they stand.
  const Sxmlelement nested = Tree("note", {Tree("note", {MakeElement("note")})});
  EXPECT_EQ(Browse(v, nested, v.log), "+note +note +note -note -note -note ");

  // A visitor without any interface walks everything and calls nothing.
  basevisitor nothing;
  xml_tree_browser(&nothing).browse(*note);
  EXPECT_EQ(note->refs(), 1u);
}

// Declares note; everything else arrives through the generic interface.
class Mixed : public visitor<Snote>, public visitor<Sxmlelement> {
 public:
  std::string log;
  void visitStart(Snote&) override { log += "+NOTE "; }
  void visitEnd(Snote&) override { log += "-NOTE "; }
  void visitStart(Sxmlelement& e) override { log += "+" + e->getName() + " "; }
  void visitEnd(Sxmlelement& e) override { log += "-" + e->getName() + " "; }
};

TEST(Browser, TheGenericInterfaceSeesOnlyUndeclaredTypes) {
  Mixed v;
  const Sxmlelement note = Tree("note", {Tree("pitch", {MakeElement("step")})});
  EXPECT_EQ(Browse(v, note, v.log), "+NOTE +pitch +step -step -pitch -NOTE ");
}

TEST(Browser, DispatchFollowsTheClassNotTheName) {
  NoteLog notes;
  Sxmlelement clef = MakeElement("clef");
  clef->setName("note");
  EXPECT_EQ(Browse(notes, clef, notes.log), "");

  class ClefOnly : public visitor<Sclef> {
   public:
    std::string log;
    void visitStart(Sclef& e) override { log += "+clef:" + e->getName() + " "; }
  } clefs;
  EXPECT_EQ(Browse(clefs, clef, clefs.log), "+clef:note ");
}

TEST(Browser, AnOverrideOfAnInheritedTypeReplacesTheBaseOperation) {
  class Derived : public NoteLog {
   public:
    void visitStart(Spitch& e) override {
      log += "[";
      NoteLog::visitStart(e);
      log += "]";
    }
    void visitStart(Sstep&) override { log += "step! "; }
  } v;
  const Sxmlelement pitch = Tree("pitch", {MakeElement("step")});
  EXPECT_EQ(Browse(v, pitch, v.log), "[+pitch ]step! -step -pitch ");
}

TEST(Browser, TheTypedBrowserMakesTheSameCalls) {
  const Sxmlelement plain = xmlelement::create();
  plain->setName("plain");
  const Sxmlelement tree = Tree("measure", {Tree("note", {Tree("pitch", {MakeElement("step")}), MakeElement("duration")}),
                                            Tree("chord", {MakeElement("step")}), plain});
  const auto both = [&]<typename V>(V& v, std::string& log) {
    const std::string all = Browse(v, tree, log);
    log.clear();
    typed_tree_browser<V>(&v).browse(*tree);
    EXPECT_EQ(log, all);
    return all;
  };
  NoteLog notes;
  EXPECT_EQ(both(notes, notes.log), "+note +pitch +step -step -pitch +duration -duration -note +step -step ");
  Mixed mixed;  // takes every element, plain ones included
  EXPECT_EQ(both(mixed, mixed.log),
            "+measure +NOTE +pitch +step -step -pitch +duration -duration -NOTE +chord +step -step -chord +plain -plain "
            "-measure ");
  // A visitor of a derived class, browsed as its base, still reaches its own interfaces.
  class Wider : public NoteLog, public visitor<Schord> {
   public:
    void visitStart(Schord&) override { log += "+CHORD "; }
  } wider;
  wider.log.clear();
  NoteLog& base = wider;
  typed_tree_browser<NoteLog>(&base).browse(*tree);
  EXPECT_EQ(wider.log, "+note +pitch +step -step -pitch +duration -duration -note +CHORD +step -step ");
}

TEST(Browser, ATreeTenThousandsOfLevelsDeepIsWalkedIteratively) {
  constexpr int kDepth = 100000;
  class Counter : public visitor<Snote> {
   public:
    int starts = 0, ends = 0;
    void visitStart(Snote&) override { ++starts; }
    void visitEnd(Snote&) override { ++ends; }
  } v;
  testing::RunOnSmallStack([&] {
    Sxmlelement root = MakeElement("note");
    Sxmlelement tip = root;
    for (int i = 0; i < kDepth; ++i) {
      Sxmlelement next = MakeElement(i % 2 ? "note" : "measure");
      tip->push(next);
      tip = next;
    }
    tip = nullptr;
    xml_tree_browser(&v).browse(*root);
  });
  EXPECT_EQ(v.starts, kDepth / 2 + 1);
  EXPECT_EQ(v.ends, kDepth / 2 + 1);
}

// A note element whose destruction can be observed.
class ProbeNote : public musicxml<ElementType("note")> {
 public:
  static inline bool destroyed = false;
  static SMARTP<ProbeNote> create() { return new ProbeNote; }
  ~ProbeNote() override { destroyed = true; }
};

TEST(Hooks, TheElementLivesUntilTheVisitorOperationReturns) {
  class Dropper : public visitor<Snote> {
   public:
    Sxmlelement held;
    bool intactDuringCall = false;
    void visitStart(Snote& e) override {
      held = nullptr;  // the last handle besides the hook's own
      intactDuringCall = !ProbeNote::destroyed && e->refs() == 1;
    }
  } v;
  ProbeNote::destroyed = false;
  v.held = ProbeNote::create();
  xmlelement* raw = v.held.get();
  raw->acceptIn(v);
  EXPECT_TRUE(v.intactDuringCall);
  EXPECT_TRUE(ProbeNote::destroyed);
}

TEST(Hooks, AThrowingVisitorLeavesTheCountAsItWas) {
  class Thrower : public visitor<Snote> {
   public:
    void visitStart(Snote&) override { throw std::runtime_error("stop"); }
  } v;
  const Sxmlelement note = Tree("note", {MakeElement("note")});
  EXPECT_THROW(xml_tree_browser(&v).browse(*note), std::runtime_error);
  EXPECT_EQ(note->refs(), 1u);
  EXPECT_EQ(note->elements()[0]->refs(), 1u);
}

}  // namespace
}  // namespace vornel::MusicXML2
