// The whole print run of an edition into a PDF, read back with the poppler tools: as many
// pages as the sequence, the title on the first, each music page's number where the sequence
// puts it, every font embedded. With VORNEL_RENDER_PNG_DIR set the PDF and the document are
// written there too.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "PageFixtures.h"
#include "document/DocumentFiles.h"
#include "platform/draw/CairoDevice.h"
#include "platform/draw/RecordingDevice.h"
#include "support/ScriptedPrompts.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/DocumentSettingsDrawing.h"
#include "view/render/pages/PrintDate.h"

namespace vornel {
namespace {

std::string Shell(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  std::array<char, 4096> buffer{};
  while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
  ::pclose(pipe);
  return out;
}

std::string PageText(const std::string& pdf, int page) {
  return Shell("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf + "' - 2>/dev/null");
}

TEST(EditionPdf, PrintsTheWholeSequence) {
  if (Shell("command -v pdfinfo").empty()) GTEST_SKIP() << "the poppler tools are not installed";
  testing::ScriptedPrompts prompts;
  const ScopedPrintClock clock([] { return std::time_t{1767268800}; });
  testing::EditionOptions options;
  options.corpus = VORNEL_CORPUS_DIR;
  const auto doc = testing::EditionDocument(options);
  ASSERT_EQ(doc->sections.size(), 3u);
  DrawingStaveRenderer renderer;
  const ScopedStaveRenderer installed(renderer);

  constexpr int32_t kDpi = 150;
  const int32_t pages = BuildPrintPages(*doc, 1);
  const PageSequencing& sequence = doc->settings.pageSettings.pageSequence;
  ASSERT_EQ(static_cast<size_t>(pages), sequence.size());
  RecordingDevice like(kDpi, true);
  const Rect paper = PaperRect(doc->settings.pageSettings, like);
  PdfDevice device(paper.Width(), paper.Height(), kDpi, true);
  for (int32_t p = 0; p < pages; ++p) {
    if (p != 0) device.NextPage();
    DrawPage(*doc, device, p);
  }
  const PageSequencing printed = sequence;
  BuildPrintPages(*doc, 0);
  EXPECT_TRUE(doc->printSystems.empty());

  const char* out = std::getenv("VORNEL_RENDER_PNG_DIR");
  const std::filesystem::path folder = out != nullptr ? std::filesystem::path(out) : std::filesystem::temp_directory_path();
  const std::string pdf = (folder / "edition.pdf").string();
  ASSERT_TRUE(device.Finish(pdf));
  if (out != nullptr) SaveDocumentFile(*doc, (folder / "edition.btxml").string());
  EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();

  EXPECT_NE(Shell("pdfinfo '" + pdf + "'").find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos);
  EXPECT_NE(PageText(pdf, 1).find("Lachrimae Pavans"), std::string::npos);
  // Title page, contents, preface, two facsimiles, then the music of three sections each on
  // pages of its own.
  ASSERT_GE(printed.size(), 8u);
  EXPECT_EQ(printed.at(0).kind, PageSequencing::kTitlePage);
  EXPECT_EQ(printed.at(1).kind, PageSequencing::kContentsPage);
  EXPECT_EQ(printed.at(2).kind, PageSequencing::kDocumentPreface);
  EXPECT_EQ(printed.at(3).kind, PageSequencing::kFacsimilePage);
  EXPECT_EQ(printed.at(4).kind, PageSequencing::kFacsimilePage);
  EXPECT_EQ(printed.base, 5);
  int musicPages = 0;
  for (const auto& entry : printed.entries()) {
    if (entry.kind != PageSequencing::kMusicPage) continue;
    ++musicPages;
    const std::string header = PageHeaderText(doc->settings, entry.position - printed.base);
    EXPECT_NE(PageText(pdf, entry.position + 1).find(header), std::string::npos) << header;
  }
  EXPECT_EQ(musicPages, pages - 5);
  // The contents give each section the page its music begins on.
  const std::string contents = PageText(pdf, 2);
  EXPECT_NE(contents.find("Pavan 1"), std::string::npos);
  EXPECT_NE(contents.find("p. " + std::to_string(printed.FindSectionPage(1))), std::string::npos);

  const std::string fonts = Shell("pdffonts '" + pdf + "'");
  size_t lines = 0;
  size_t start = fonts.find('\n', fonts.find("----"));
  for (size_t end = fonts.find('\n', start + 1); end != std::string::npos; end = fonts.find('\n', start + 1)) {
    const std::string line = fonts.substr(start + 1, end - start - 1);
    ++lines;
    EXPECT_NE(line.find(" yes "), std::string::npos) << "not embedded: " << line;
    start = end;
  }
  EXPECT_GT(lines, 1u);
}

}  // namespace
}  // namespace vornel
