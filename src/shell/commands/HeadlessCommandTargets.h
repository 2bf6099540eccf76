#pragma once
// The editor's command route built without windows, filled by the same functions the main
// frame and its tabs call (CommandRoute.h): the score view's table of one document, the
// document's, the main frame's (with the palettes' and the document groups' commands), the
// application's and the catalogue of commands still to come. Tools and tests ask it which ids
// of the windows a handler reaches.

#include <memory>
#include <vector>

#include "view/commands/CommandTable.h"

namespace vornel {

class HeadlessCommandTargets {
 public:
  HeadlessCommandTargets();
  ~HeadlessCommandTargets();
  HeadlessCommandTargets(const HeadlessCommandTargets&) = delete;
  HeadlessCommandTargets& operator=(const HeadlessCommandTargets&) = delete;

  // The route in routing order, the catalogue last.
  std::vector<const view::CommandTable*> Route() const;
  // The catalogue's table: every id still to come, carried but disabled.
  const view::CommandTable& Pending() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vornel
