#pragma once
// The hooks by which an element is offered to a visitor when a walk enters and leaves it.

namespace vornel::MusicXML2 {

class basevisitor;

class visitable {
 public:
  virtual ~visitable() = default;
  virtual void acceptIn(basevisitor&) {}
  virtual void acceptOut(basevisitor&) {}
};

}  // namespace vornel::MusicXML2
