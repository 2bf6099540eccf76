#include "shell/bars/UndoList.h"

#include <cstdio>

namespace vornel::bars {

std::vector<std::string> UndoListLines(const std::vector<std::string>& names) {
  std::vector<std::string> lines;
  lines.reserve(names.size());
  for (const std::string& name : names) lines.push_back(name.empty() ? kUnnamedAction : name);
  return lines;
}

UndoHover HoverUndoList(int item, int count) {
  UndoHover hover;
  if (item < 0 || item >= count) return hover;
  hover.selected = item + 1;
  char text[48];
  std::snprintf(text, sizeof text, kUndoCountFormat, hover.selected);
  hover.label = text;
  return hover;
}

}  // namespace vornel::bars
