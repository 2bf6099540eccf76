#pragma once
// The MusicXML element tree: elements with a name, a text value, attributes, children and the
// type number that says which of the element types they are.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BuildBudget.h"
#include "musicxml/tree/ctree.h"
#include "musicxml/tree/smartable.h"
#include "musicxml/tree/visitable.h"

namespace vornel::MusicXML2 {

class xmlattribute : public smartable {
 public:
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<112> buildCharge;

  static SMARTP<xmlattribute> create();

  void setName(std::string_view name) { name_ = name; }
  void setValue(std::string_view value) { value_ = value; }
  const std::string& getName() const { return name_; }
  const std::string& getValue() const { return value_; }

 protected:
  xmlattribute() = default;

 private:
  std::string name_;
  std::string value_;
};
using Sxmlattribute = SMARTP<xmlattribute>;

class xmlelement;
using Sxmlelement = SMARTP<xmlelement>;

class xmlelement : public ctree<xmlelement>, public visitable {
 public:
  // What one costs a reading under way (see BuildBudget): the element, its handle in its
  // parent and its name.
  [[no_unique_address]] BuildCharge<224> buildCharge;

  // A plain element of type 0; the typed element classes are made through the factory.
  static Sxmlelement create();

  void setName(std::string_view name) { name_ = name; }
  void setValue(std::string_view value) { value_ = value; }
  void appendValue(std::string_view more) { value_ += more; }
  // Appends an attribute and returns its index.
  int32_t add(const Sxmlattribute& attribute);

  const std::string& getName() const { return name_; }
  const std::string& getValue() const { return value_; }
  int32_t getType() const { return type_; }
  const std::vector<Sxmlattribute>& attributes() const { return attributes_; }

  int32_t getIntValue() const;
  long getLongValue() const;
  float getFloatValue() const;

  // Lookups stop at the first attribute of exactly that name.
  Sxmlattribute getAttribute(std::string_view name) const;
  std::string getAttributeValue(std::string_view name) const;
  int32_t getAttributeIntValue(std::string_view name, int32_t defaultValue) const;
  long getAttributeLongValue(std::string_view name, long defaultValue) const;
  float getAttributeFloatValue(std::string_view name, float defaultValue) const;

  // The first element of `type` below this one in depth-first document order (never this
  // element itself), or end().
  iterator find(int32_t type);
  iterator find(int32_t type, iterator start);
  int32_t getChildIntValue(int32_t type, int32_t defaultValue);
  long getChildLongValue(int32_t type, long defaultValue);

  // No children and no text.
  bool empty() const override;

  void acceptIn(basevisitor& visitor) override;
  void acceptOut(basevisitor& visitor) override;

 protected:
  xmlelement() = default;
  explicit xmlelement(int32_t type) : type_(type) {}

 private:
  const xmlattribute* findAttribute(std::string_view name) const;

  std::string name_;
  std::string value_;
  std::vector<Sxmlattribute> attributes_;
  int32_t type_ = 0;
};

}  // namespace vornel::MusicXML2

#include "musicxml/tree/treeIterator.h"
