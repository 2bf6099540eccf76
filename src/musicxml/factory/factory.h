#pragma once
// The element factory: turns an element name into a new element of that name's type.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "musicxml/factory/functor.h"
#include "musicxml/tree/xmlelement.h"

namespace vornel {

// One instance for the whole run, created at its first use and destroyed at exit.
template <typename T>
class singleton {
 public:
  static T& instance() {
    static T theInstance;
    return theInstance;
  }

 protected:
  singleton() = default;
  ~singleton() = default;
};

}  // namespace vornel

namespace vornel::MusicXML2 {

class factory : public singleton<factory> {
 public:
  virtual ~factory();

  // A new element of the name's type carrying that name, held by the returned handle alone;
  // for a name not in the table, a report (by default one line on the standard error stream)
  // and a null handle.
  Sxmlelement create(std::string_view name) const;

  // Where names outside the table are reported; an empty reporter restores the default line.
  using UnknownElementReporter = std::function<void(std::string_view name)>;
  static void SetUnknownElementReporter(UnknownElementReporter reporter);
  // The default report: "Sxmlelement factory::create called with unknown element "NAME"".
  static void ReportUnknownElement(std::string_view name);

 private:
  friend class singleton<factory>;
  factory();

  std::map<std::string, std::unique_ptr<functor<Sxmlelement>>, std::less<>> nameTable_;
};

}  // namespace vornel::MusicXML2
