// What a user reads when a document cannot be opened: the file and what is wrong with it in
// plain words first, the program's own messages after, for the files people do end up with.

#include <gtest/gtest.h>

#include <string>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "document/OpenFailure.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::TempDir;

std::string Saved(const TempDir& dir, const std::string& name) {
  CVornelTabDoc doc;
  doc.OnNewDocument();
  const std::string path = dir.File(name);
  EXPECT_TRUE(SaveDocumentFile(doc, path));
  return path;
}

// The message the editor shows for `path`, from what its opening said.
std::string Told(const std::string& path) {
  const OpenedDocument opened = OpenDocumentFile(path);
  EXPECT_EQ(opened.document, nullptr) << path;
  return OpenFailureMessage(path, opened.message);
}

TEST(OpenFailure, TheFileAndTheCauseComeFirstAndTheProgramsMessageAfter) {
  testing::ScriptedPrompts prompts;
  TempDir dir;
  // A document cut short while it was copied.
  const std::string whole = testing::ReadText(Saved(dir, "Whole.btxml"));
  const std::string cut = dir.File("Cut.btxml");
  testing::WriteText(cut, whole.substr(0, whole.size() / 2));
  int lines = 0;
  for (const char c : whole.substr(0, whole.size() / 2)) lines += c == '\n' ? 1 : 0;
  // A bundle cut short.
  const std::string bundle = testing::ReadText(Saved(dir, "Whole.btz"));
  const std::string cutBundle = dir.File("Cut.btz");
  testing::WriteText(cutBundle, bundle.substr(0, bundle.size() / 2));
  // Files of other kinds under a document's name.
  const std::string picture = dir.File("Picture.btxml");
  testing::WriteText(picture, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  const std::string score = dir.File("Score.btxml");
  testing::WriteText(score, "<?xml version=\"1.0\"?>\n<score-partwise version=\"3.0\"><part-list/></score-partwise>\n");
  const std::string empty = dir.File("Empty.btxml");
  testing::WriteText(empty, "");

  struct Case {
    std::string path;
    std::string start;    // the first line
    std::string details;  // the program's own message, kept after the path
  };
  const Case cases[] = {
      {cut,
       "\"Cut.btxml\" cannot be opened: it breaks off at line " + std::to_string(lines + 1) +
           ", before its end: it was perhaps not saved, copied or downloaded whole.",
       "Unable to parse this XML file!"},
      {cutBundle,
       "\"Cut.btz\" cannot be opened: the bundle is damaged or incomplete (it may have been cut short while it was "
       "copied or downloaded).",
       "Fatal error: Unable to unzip this file"},
      {picture, "\"Picture.btxml\" cannot be opened: it is a PNG picture, not a score: only its name says otherwise.",
       "Unable to parse this XML file!"},
      {score,
       "\"Score.btxml\" cannot be opened: it is a MusicXML score, not a document of this program (bring it in with "
       "\"Import a MusicXML file...\").",
       ""},
      {empty, "\"Empty.btxml\" cannot be opened: the file is empty.", ""},
      {dir.File("Gone.btxml"),
       "\"Gone.btxml\" cannot be opened: it is not there (it may have been moved, renamed or deleted).",
       std::string(CBriotabDoc::kMissingFileMessage)},
  };
  for (const Case& c : cases) {
    const std::string message = Told(c.path);
    EXPECT_EQ(message.substr(0, message.find('\n')), c.start) << message;
    EXPECT_EQ(message.find("\n\n" + c.path), c.start.size()) << message;
    EXPECT_NE(message.find(c.details), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace vornel
