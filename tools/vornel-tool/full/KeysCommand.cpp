// keys IN OUT [--section N] --script FILE: opens IN, replays key events and commands on the
// score view headless, as the editor's window would hand them over, and saves OUT through the
// editor's save path. Script lines: "key Shift+Enter" (a key going down and up), "char 3" (a
// typed character), "cmd 32845" (a command id, with an optional value), "answer yes" (the
// next question's answer), "#" comments and blank lines.

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/CVornelTabDoc.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "view/core/CBriotabView.h"
#include "view/core/HeadlessViewWindow.h"
#include "view/entry/KeyScript.h"
#include "view/render/DrawingStaveRenderer.h"

namespace vornel::tool {

namespace {

int Keys(const CommandArguments& args) {
  std::vector<std::string> positional;
  std::optional<long> section;
  std::string script;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--section" && i + 1 < args.size()) {
      uint32_t number = 0;
      if (!ScanInt(args[++i], number) || number > 100000) return PrintUsage("keys");
      section = static_cast<long>(number);
    } else if (args[i] == "--script" && i + 1 < args.size()) {
      script = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return PrintUsage("keys");
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2 || script.empty()) return PrintUsage("keys");
  std::ifstream in(script, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "vornel-tool keys: %s cannot be read\n", script.c_str());
    return 1;
  }
  std::stringstream lines;
  lines << in.rdbuf();
  std::unique_ptr<CVornelTabDoc> doc = OpenDocument(positional[0]);
  if (doc == nullptr) return 1;
  CSystemArray* chosen = ChooseSection(doc.get(), section, positional[0]);
  if (chosen == nullptr) return 1;
  doc->sections.activeSection = static_cast<int32_t>(doc->sections.IndexOf(chosen));
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  view::HeadlessViewWindow window;
  view::CBriotabView view(*doc, window);
  view.OnInitialUpdate();
  std::string error;
  if (!view::ReplayKeyScript(view, lines.str(), &error)) {
    std::fprintf(stderr, "vornel-tool keys: %s\n", error.c_str());
    return 1;
  }
  return SaveDocumentFile(*doc, positional[1]) ? 0 : 1;
}

const ToolCommand registration("keys", "keys IN OUT [--section N] --script FILE",
                               "replay key events and commands on the score view and save the result", Keys);

}  // namespace

}  // namespace vornel::tool
