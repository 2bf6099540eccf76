// export DOC OUT.xml|OUT.tab|OUT.brf|OUT.txt [--section N] [--all-sections] [--page-breaks]
//        [--tab-option NAME=VALUE]... [--date YYYY-MM-DD]
// A section of a document as MusicXML, TAB text or Braille text, by OUT's extension.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "layout/export/CTabProperties.h"
#include "layout/export/DocumentExports.h"
#include "model/voice/TabTextReport.h"
#include "layout/export/MusicXmlExport.h"
#include "layout/export/WindowsTextFile.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"

namespace vornel::tool {

namespace {

class PrintedPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view text, MessageKind, std::string_view) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

// A whole number from `text`, or nothing when it is not one.
std::optional<long> ParseNumber(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || end == nullptr || *end != '\0') return std::nullopt;
  return value;
}

// NAME=VALUE of the TAB options, NAME as the member (baroque-style, flags, landscape, stave-lines,
// styles, font-size, page-breaks, bar-numbers, print-on-lines, italian, all-sections).
bool SetTabOption(CTabProperties& options, const std::string& assignment) {
  const size_t equals = assignment.find('=');
  if (equals == std::string::npos) return false;
  const std::string name = assignment.substr(0, equals);
  const std::optional<long> value = ParseNumber(assignment.substr(equals + 1));
  if (!value || *value < 0 || *value > 16) return false;
  const struct {
    const char* name;
    int32_t CTabProperties::*member;
  } kOptions[] = {{"baroque-style", &CTabProperties::baroqueStyle},
                  {"flags", &CTabProperties::flags},
                  {"landscape", &CTabProperties::landscapeOrientation},
                  {"stave-lines", &CTabProperties::staveLines},
                  {"styles", &CTabProperties::styles},
                  {"font-size", &CTabProperties::fontSize},
                  {"page-breaks", &CTabProperties::forcePageBreaks},
                  {"bar-numbers", &CTabProperties::barNumbers},
                  {"print-on-lines", &CTabProperties::printOnLines},
                  {"italian", &CTabProperties::italianTablatureMode},
                  {"all-sections", &CTabProperties::exportAllSections}};
  for (const auto& option : kOptions) {
    if (name == option.name) {
      options.*option.member = static_cast<int32_t>(*value);
      return true;
    }
  }
  return false;
}

std::optional<ExportDate> ParseDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  char extra = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &extra) != 3) return std::nullopt;
  if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
  return ExportDate{year, month, day};
}

int Export(const CommandArguments& args) {
  std::optional<long> sectionNumber;
  CTabProperties options;
  ExportDate date = ExportDate::Today();
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--section" && hasValue) {
      sectionNumber = ParseNumber(args[++i]);
      if (!sectionNumber) return PrintUsage("export");
    } else if (a == "--all-sections") {
      options.exportAllSections = 1;
    } else if (a == "--page-breaks") {
      options.forcePageBreaks = 1;
    } else if (a == "--tab-option" && hasValue) {
      if (!SetTabOption(options, args[++i])) {
        std::fprintf(stderr, "not a TAB option: %s\n", args[i].c_str());
        return 2;
      }
    } else if (a == "--date" && hasValue) {
      const std::optional<ExportDate> parsed = ParseDate(args[++i]);
      if (!parsed) {
        std::fprintf(stderr, "not a date: %s\n", args[i].c_str());
        return 2;
      }
      date = *parsed;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return PrintUsage("export");
  const std::string& out = files[1];
  const bool musicXml = EndsWithNoCase(out, ".xml");
  const bool tab = EndsWithNoCase(out, ".tab");
  const bool braille = EndsWithNoCase(out, ".brf") || EndsWithNoCase(out, ".txt");
  if (!musicXml && !tab && !braille) {
    std::fprintf(stderr, "%s: the output is named .xml, .tab, .brf or .txt\n", out.c_str());
    return 2;
  }

  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(files[0]);
  if (doc == nullptr || doc->sections.empty()) {
    std::fprintf(stderr, "%s: no section could be read\n", files[0].c_str());
    return 1;
  }
  // Sections are numbered from 1 as the sections pane lists them; the active one by default.
  const long number = sectionNumber ? *sectionNumber : std::max<long>(doc->sections.activeSection, 0) + 1;
  if (number < 1 || static_cast<unsigned long>(number) > doc->sections.size()) {
    std::fprintf(stderr, "%s: there is no section %ld\n", files[0].c_str(), number);
    return 1;
  }
  const size_t section = static_cast<size_t>(number - 1);

  try {
    bool written = false;
    if (musicXml) {
      const std::optional<std::string> text = SectionMusicXmlText(*doc, section, date);
      written = text && WriteFileAtomically(out, *text);
    } else if (tab) {
      TabTextReport report;
      written = WriteWindowsTextFile(out, BuildTabFile(*doc, section, options, &report));
      if (const std::string lost = TabExportLossMessage(report); written && !lost.empty()) {
        std::fprintf(stderr, "%s\n", lost.c_str());
      }
    } else {
      const ExportServices defaults;
      written = WriteWindowsTextFile(
          out, BuildBrailleFile(*doc, section, defaults.brailleLines, defaults.brailleColumns));
    }
    if (!written) {
      std::fprintf(stderr, "%s\n%s\n", std::string(kCannotOpenFileMessage).c_str(), out.c_str());
      return 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}

const ToolCommand registration(
    "export",
    "export DOC OUT.xml|OUT.tab|OUT.brf|OUT.txt [--section N] [--all-sections] [--page-breaks] "
    "[--tab-option NAME=VALUE]... [--date YYYY-MM-DD]",
    "write a section of a document as MusicXML, TAB text or Braille text", Export);

}  // namespace

}  // namespace vornel::tool
