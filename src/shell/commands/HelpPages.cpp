#include "shell/commands/HelpPages.h"

#include <array>
#include <utility>

#include <filesystem>
#include <span>
#include <utility>

#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "shell/files/PathHelpers.h"
#include "view/commands/Accelerators.h"
#include "view/entry/EntryKeys.h"

namespace vornel {

std::optional<std::string_view> HelpPageName(int command) {
  static constexpr std::array<std::pair<int, std::string_view>, 7> kPages = {{
      {34355, "accelerators.html"},
      {34357, "keyboard.html"},
      {34358, "software.html"},
      {34359, "documents.html"},
      {34360, "sections.html"},
      {34361, "instruments.html"},
      {34362, "editing.html"},
  }};
  for (const auto& [id, page] : kPages) {
    if (id == command) return page;
  }
  return std::nullopt;
}

std::optional<std::string> FindHelpPage(int command, const std::string& documentationFolder) {
  const std::string folder = WithTrailingSeparator(documentationFolder);
  if (!FolderExists(folder)) {
    Prompts().ShowMessage("Cannot find documentation directory: " + folder, MessageKind::kError);
    return std::nullopt;
  }
  const std::optional<std::string_view> page = HelpPageName(command);
  if (!page) return std::nullopt;
  std::string path = folder + std::string(*page);
  if (!FileExists(path)) {
    Prompts().ShowMessage("Missing file: " + path, MessageKind::kError);
    return std::nullopt;
  }
  return path;
}

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
  return out;
}

// The frame every page of the "Documentation" folder shares, round `body`.
std::string Page(std::string_view title, std::string_view body) {
  std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  page += title;
  page += " - Vornel Tablature Composer</title>\n<style>body { font-family: serif; max-width: 44em; margin: 2em auto; "
          "line-height: 1.4; } h1 { font-size: 1.5em; } h2 { font-size: 1.2em; } td { padding: 0.1em 1em 0.1em 0; "
          "vertical-align: top; } kbd { font-family: sans-serif; white-space: nowrap; }</style>\n</head>\n<body>\n<h1>";
  page += title;
  page += "</h1>\n";
  page += body;
  page += "<p><a href=\"software.html\">Vornel Tablature Composer</a> &middot; <a href=\"documents.html\">Documents</a> "
          "&middot;\n<a href=\"sections.html\">Sections</a> &middot; <a href=\"instruments.html\">Instruments</a> "
          "&middot;\n<a href=\"editing.html\">Editing</a> &middot; <a href=\"keyboard.html\">Keyboard input</a> "
          "&middot;\n<a href=\"accelerators.html\">Accelerators</a></p>\n</body>\n</html>\n";
  return page;
}

// One table a heading, the rows in the order given.
template <typename Row, typename Group, typename Keys, typename What>
std::string Tables(std::span<const Row> rows, Group group, Keys keys, What what) {
  std::string body;
  std::string_view heading;
  for (const Row& row : rows) {
    if (group(row) != heading) {
      if (!heading.empty()) body += "</table>\n";
      heading = group(row);
      body += "<h2>" + Escaped(heading) + "</h2>\n<table>\n";
    }
    body += "<tr><td><kbd>" + Escaped(keys(row)) + "</kbd></td><td>" + Escaped(what(row)) + "</td></tr>\n";
  }
  if (!heading.empty()) body += "</table>\n";
  return body;
}

}  // namespace

std::string AcceleratorsPage() {
  std::string body =
      "<p>The shortcut keys of the program's commands. They work wherever the main window has the keys; "
      "<kbd>{</kbd> and <kbd>}</kbd> are typed into the score. Menus and tool tips show the same keys.</p>\n";
  body += Tables(
      view::Accelerators(), [](const view::Accelerator& a) { return a.group; },
      [](const view::Accelerator& a) { return a.keys; }, [](const view::Accelerator& a) { return a.text; });
  return Page("Accelerators", body);
}

std::string KeyboardPage() {
  std::string body =
      "<p>The keys the score takes while it has the keyboard (click into the score, or choose its tab): notes are "
      "typed at the cursor of the active line, with the note value shown by the cursor. Keys that are not listed "
      "here or among the <a href=\"accelerators.html\">accelerators</a> change nothing.</p>\n";
  body += Tables(
      view::EntryKeys(), [](const view::EntryKey& k) { return k.group; }, [](const view::EntryKey& k) { return k.keys; },
      [](const view::EntryKey& k) { return k.what; });
  return Page("Keyboard input", body);
}

std::optional<std::vector<std::string>> WriteGeneratedHelpPages(const std::string& documentationFolder,
                                                                std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(documentationFolder, ec);
  std::vector<std::string> written;
  const std::string folder = WithTrailingSeparator(documentationFolder);
  for (const auto& [name, text] : {std::pair{"accelerators.html", AcceleratorsPage()}, {"keyboard.html", KeyboardPage()}}) {
    const std::string path = folder + name;
    if (!WriteFileAtomically(path, std::string_view(text), error)) return std::nullopt;
    written.push_back(path);
  }
  return written;
}

}  // namespace vornel
