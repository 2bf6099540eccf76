#include "musicxml/tree/xmlelement.h"

#include "musicxml/tree/TextNumbers.h"
#include "musicxml/visitors/visitor.h"

namespace vornel::MusicXML2 {

Sxmlattribute xmlattribute::create() { return new xmlattribute; }

Sxmlelement xmlelement::create() { return new xmlelement; }

int32_t xmlelement::add(const Sxmlattribute& attribute) {
  attributes_.push_back(attribute);
  return static_cast<int32_t>(attributes_.size()) - 1;
}

int32_t xmlelement::getIntValue() const { return AtoI(value_); }
long xmlelement::getLongValue() const { return AtoI(value_); }
float xmlelement::getFloatValue() const { return static_cast<float>(AtoF(value_)); }

const xmlattribute* xmlelement::findAttribute(std::string_view name) const {
  for (const Sxmlattribute& attribute : attributes_) {
    if (attribute->getName() == name) return attribute.get();
  }
  return nullptr;
}

Sxmlattribute xmlelement::getAttribute(std::string_view name) const {
  return const_cast<xmlattribute*>(findAttribute(name));
}

std::string xmlelement::getAttributeValue(std::string_view name) const {
  const xmlattribute* attribute = findAttribute(name);
  return attribute ? attribute->getValue() : std::string();
}

int32_t xmlelement::getAttributeIntValue(std::string_view name, int32_t defaultValue) const {
  const xmlattribute* attribute = findAttribute(name);
  return attribute ? AtoI(attribute->getValue()) : defaultValue;
}

long xmlelement::getAttributeLongValue(std::string_view name, long defaultValue) const {
  const xmlattribute* attribute = findAttribute(name);
  return attribute ? AtoI(attribute->getValue()) : defaultValue;
}

float xmlelement::getAttributeFloatValue(std::string_view name, float defaultValue) const {
  const xmlattribute* attribute = findAttribute(name);
  return attribute ? static_cast<float>(AtoF(attribute->getValue())) : defaultValue;
}

xmlelement::iterator xmlelement::find(int32_t type) { return find(type, begin()); }

xmlelement::iterator xmlelement::find(int32_t type, iterator start) {
  const iterator last = end();
  while (start != last && (*start)->getType() != type) start.forward();
  return start;
}

int32_t xmlelement::getChildIntValue(int32_t type, int32_t defaultValue) {
  const iterator found = find(type);
  return found != end() ? (*found)->getIntValue() : defaultValue;
}

long xmlelement::getChildLongValue(int32_t type, long defaultValue) {
  const iterator found = find(type);
  return found != end() ? (*found)->getLongValue() : defaultValue;
}

bool xmlelement::empty() const { return value_.empty() && ctree<xmlelement>::empty(); }

void xmlelement::acceptIn(basevisitor& visitor) { offerToVisitor<Sxmlelement, xmlelement, true>(this, visitor); }

void xmlelement::acceptOut(basevisitor& visitor) { offerToVisitor<Sxmlelement, xmlelement, false>(this, visitor); }

}  // namespace vornel::MusicXML2
