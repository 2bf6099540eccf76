// props DOC [--section N] [--set NO=VALUE ...] [--out FILE]: the rows of the properties window
// for a document and one of its sections (number, name, value), after storing the given
// values through the property model as the window does; --out saves the edited document.

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CVornelTabDoc.h"
#include "shell/properties/PropertyModel.h"

namespace vornel::tool {

namespace {

using properties::PropertyKind;
using properties::PropertyValue;

std::optional<int32_t> Number(std::string_view text) {
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string Show(PropertyKind kind, const PropertyValue& value) {
  switch (kind) {
    case PropertyKind::kText:
      return value.text;
    case PropertyKind::kFont: {
      char text[48];
      std::snprintf(text, sizeof text, ",%d,%d,%d", value.font.lfHeight, value.font.lfWeight, value.font.lfItalic);
      return value.font.lfFaceName + text;
    }
    default:
      return std::to_string(value.number);
  }
}

// A typed value for property `number`: a text as it stands, a number, or a font as
// "FACE[,HEIGHT]" (the height in pixels, the rest of the shown font kept).
std::optional<PropertyValue> Parse(const properties::PropertyModel& model, int number, const std::string& text) {
  const properties::PropertyRow* row = properties::FindProperty(number);
  if (number >= properties::kFirstVisibleCheck || (row != nullptr && row->kind != PropertyKind::kText &&
                                                   row->kind != PropertyKind::kFont)) {
    const std::optional<int32_t> n = Number(text);
    if (!n) return std::nullopt;
    return PropertyValue::Number(*n);
  }
  if (row != nullptr && row->kind == PropertyKind::kFont) {
    LogFont font = model.Value(number) ? model.Value(number)->font : LogFont{};
    const size_t comma = text.find(',');
    font.lfFaceName = text.substr(0, comma);
    if (comma != std::string::npos) {
      const std::optional<int32_t> height = Number(std::string_view(text).substr(comma + 1));
      if (!height) return std::nullopt;
      font.lfHeight = *height;
    }
    return PropertyValue::Font(font);
  }
  return PropertyValue::Text(text);
}

void PrintRows(const properties::PropertyModel& model) {
  for (const properties::PropertyRow& row : properties::PropertyTable()) {
    const std::string name(row.name);
    if (row.kind == PropertyKind::kGroup) {
      std::printf("%d\t[%s]\n", row.number, name.c_str());
      continue;
    }
    const std::optional<PropertyValue> value = model.Value(row.number);
    std::printf("%d\t%s\t%s\n", row.number, name.c_str(), value ? Show(row.kind, *value).c_str() : "");
  }
  for (const properties::InstrumentGroup& group : model.Instruments()) {
    std::printf("%d\t[%s]\tFamily\t%s\n", group.number, group.name.c_str(), group.family.c_str());
    if (group.visibleNumber) std::printf("%d\tVisible\t%d\n", *group.visibleNumber, group.visible ? 1 : 0);
  }
}

int Props(const CommandArguments& args) {
  if (args.empty()) return PrintUsage("props");
  std::optional<long> section;
  std::vector<std::pair<int, std::string>> edits;
  std::string out;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--section") {
      int32_t n = 0;
      if (!ReadNumberOption(args, i, 1, 1 << 20, n)) return PrintUsage("props");
      section = n;
    } else if (args[i] == "--set" && i + 1 < args.size()) {
      const std::string& edit = args[++i];
      const size_t equals = edit.find('=');
      const std::optional<int32_t> number =
          equals == std::string::npos ? std::nullopt : Number(std::string_view(edit).substr(0, equals));
      if (!number) return PrintUsage("props");
      edits.emplace_back(*number, edit.substr(equals + 1));
    } else if (args[i] == "--out" && i + 1 < args.size()) {
      out = args[++i];
    } else {
      return PrintUsage("props");
    }
  }
  PrintedPrompts prompts;
  ScopedPrompts scope(prompts);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(args[0]);
  if (doc == nullptr) return 1;
  CSystemArray* shown = ChooseSection(doc.get(), section, args[0]);
  if (shown == nullptr) return 1;
  properties::PropertyModel model;
  model.Show(doc.get(), shown);
  for (const auto& [number, text] : edits) {
    const std::optional<PropertyValue> value = Parse(model, number, text);
    if (!value) {
      std::fprintf(stderr, "%d: \"%s\" is not a value of this property\n", number, text.c_str());
      return 1;
    }
    model.Store(number, *value);
  }
  PrintRows(model);
  if (!out.empty() && !SaveDocumentFile(*doc, out)) return 1;
  return 0;
}

const ToolCommand registration("props", "props DOC [--section N] [--set NO=VALUE ...] [--out FILE]",
                               "list a section's properties, storing edits through the property model", Props);

}  // namespace

}  // namespace vornel::tool
