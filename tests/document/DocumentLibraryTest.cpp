// The per-document index, the zip package and the HTML page.

#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <set>

#include "DocumentFixtures.h"
#include "ZipTestSupport.h"
#include "document/DocumentFiles.h"
#include "document/library/DocumentIndex.h"
#include "document/library/HtmlPage.h"
#include "document/library/ZipPackage.h"
#include "support/Bytes.h"
#include "support/GoldenFile.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;
using testing::TempDir;

using testing::ExpectGoldenAt;
using testing::ReadText;
using testing::WriteText;

std::string Golden(const std::string& name) {
  return ReadText(std::string(VORNEL_SOURCE_DIR) + "/tests/document/golden/" + name);
}

std::unique_ptr<CVornelTabDoc> Lachrimae() {
  OpenedDocument opened = OpenDocumentFile(std::string(VORNEL_SOURCE_DIR) + "/tests/tool/lachrimae.btb");
  EXPECT_NE(opened.document, nullptr) << opened.message;
  return std::move(opened.document);
}

TEST(DocumentIndexTest, MatchesTheGoldenIndex) {
  const auto doc = Lachrimae();
  doc->settings.bundleOptions = CDocumentSettings::kBundleFacsimiles | CDocumentSettings::kBundleMidiFiles;
  XMLWriter index;
  ASSERT_TRUE(WriteDocumentIndex(index, *doc, "/music/lute", "lachrimae.btxml"));
  ExpectGoldenAt("tests/document/golden/lachrimae-index.xml", index.ToXmlText());
}

TEST(DocumentIndexTest, OptionsPruneFacsimilesAndMidiFiles) {
  const auto doc = Lachrimae();
  doc->settings.Text(CDocumentSettings::kAuthor).text.clear();
  struct Case {
    int32_t options;
    bool facsimiles;
    bool midi;
  };
  for (const Case c : {Case{0, false, false}, Case{1, true, false}, Case{2, false, true}, Case{3, true, true}}) {
    doc->settings.bundleOptions = c.options;
    XMLWriter index;
    WriteDocumentIndex(index, *doc, "/m", "a.btxml");
    const tinyxml2::XMLElement* section =
        index.RootElement()->FirstChildElement("sections")->FirstChildElement("section");
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->FirstChildElement("facsimiles") != nullptr, c.facsimiles) << c.options;
    EXPECT_EQ(section->FirstChildElement("midi-file") != nullptr, c.midi) << c.options;
    // No author gives an empty element, not a missing one.
    const tinyxml2::XMLElement* author = index.RootElement()->FirstChildElement("synopsis")->FirstChildElement("document-author");
    ASSERT_NE(author, nullptr);
    EXPECT_EQ(author->GetText(), nullptr);
  }
}

// Writes an empty file (creating its folder).
void Touch(const std::string& path) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path) << "x";
}

TEST(ZipPackageTest, ListsEveryReferredFileOnceUnderAUniqueName) {
  tinyxml2::XMLDocument index;
  ASSERT_EQ(index.Parse(R"(<vornel-document root-path="/d" filename="a.btxml">
  <synopsis/>
  <document-settings><identity/>
    <preliminaries><title-elements><dib-image name="p1.jpg" path="/d/img/"/></title-elements></preliminaries>
    <associations count="3">
      <association type="pdf-rendition" root-path="/d/">a.pdf</association>
      <association type="zip-bundle" root-path="/d/">a.ZIP</association>
      <association type="images-path" root-path="/elsewhere/"/>
    </associations>
  </document-settings>
  <sections count="2">
    <section><facsimiles nb-images="3"><image location="disk" path="/other/" name="p1.jpg"/>
      <image location="web" path="http://x/" name="w.jpg"/><image location="disk" path="/d/img/" name="p1.jpg"/></facsimiles>
      <midi-file file-name="a_0.mid" file-path="/d/"/></section>
    <section><midi-file file-name="" file-path=""/></section>
  </sections></vornel-document>)"),
            tinyxml2::XML_SUCCESS);
  const std::vector<PackageFile> files = ListPackageFiles(index, "/d/a.btxml");
  std::vector<std::tuple<std::string, std::string, std::string>> got;
  for (const PackageFile& f : files) got.emplace_back(f.path, f.type, f.entryName);
  const std::vector<std::tuple<std::string, std::string, std::string>> expected = {
      {"/d/a.btxml", "vornel-file", "a.btxml"},
      {"/d/a.pdf", "pdf-rendition", "a.pdf"},
      {"/d/img/p1.jpg", "titlepage-image", "img/p1.jpg"},
      {"/other/p1.jpg", "facsimile-image", "p1.jpg"},
      {"/d/a_0.mid", "midi", "a_0.mid"},
  };
  EXPECT_EQ(got, expected);
}

TEST(ZipPackageTest, NamesTakenTwiceAreNumbered) {
  tinyxml2::XMLDocument index;
  ASSERT_EQ(index.Parse(R"(<vornel-document><synopsis/><document-settings/><sections count="1"><section>
    <facsimiles nb-images="2"><image location="disk" path="/x/" name="p1.jpg"/><image location="disk" path="/y/" name="P1.jpg"/>
    <image location="disk" path="/z/" name="xmlpackage.xml"/></facsimiles></section></sections></vornel-document>)"),
            tinyxml2::XML_SUCCESS);
  const std::vector<PackageFile> files = ListPackageFiles(index, "/d/a.btxml");
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[1].entryName, "p1.jpg");
  EXPECT_EQ(files[2].entryName, "P1-2.jpg");
  EXPECT_EQ(files[3].entryName, "xmlpackage-2.xml");
}

TEST(ZipPackageTest, PacksTheDocumentItsFilesAndTheManifest) {
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  TempDir dir;
  auto doc = Lachrimae();
  doc->settings.bundleOptions = CDocumentSettings::kBundleFacsimiles | CDocumentSettings::kBundleMidiFiles;
  doc->settings.associations.clear();
  doc->settings.associations["pdf-rendition"] = dir.File("a.pdf");
  doc->settings.associations["zip-bundle"] = dir.File("a.zip");
  doc->settings.titlePage.picture.path = dir.File("title.png");
  doc->sections.at(0)->midiFilePath = dir.File("midi/a_0.mid");
  doc->sections.at(0)->facsimiles.imagePaths = {dir.File("f/p1.jpg"), "/nowhere/lost.jpg"};
  for (const char* name : {"a.pdf", "a.zip", "title.png", "midi/a_0.mid", "f/p1.jpg"}) Touch(dir.File(name));
  const std::string documentPath = dir.File("a.btxml");
  ASSERT_TRUE(SaveDocumentFile(*doc, documentPath));

  ASSERT_TRUE(WriteZipPackage(*doc, documentPath, dir.File("out.zip")));
  ZipHandlePtr zip = OpenZip(dir.File("out.zip"));
  ASSERT_NE(zip, nullptr);
  ZipEntry all;
  GetZipItem(zip.get(), -1, all);
  std::set<std::string> names;
  for (int i = 0; i < all.index; ++i) {
    ZipEntry entry;
    GetZipItem(zip.get(), i, entry);
    names.insert(entry.name);
  }
  EXPECT_EQ(names, (std::set<std::string>{"a.btxml", "a.pdf", "title.png", "f/p1.jpg", "midi/a_0.mid",
                                          "xmlpackage.xml"}));
  // The lost facsimile is named in one warning.
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].find("/nowhere/lost.jpg"), std::string::npos);
}

TEST(ZipPackageTest, AManifestThatCannotBeWrittenFailsAndKeepsTheOldPackage) {
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  TempDir dir;
  auto doc = Lachrimae();
  const std::string documentPath = dir.File("a.btxml");
  ASSERT_TRUE(SaveDocumentFile(*doc, documentPath));
  const std::string zipPath = dir.File("out.zip");
  WriteText(zipPath, "old package");

  // The manifest is written in a temporary folder; with no usable one it cannot be written.
  const char* saved = std::getenv("TMPDIR");
  const std::string savedTmp = saved ? saved : "";
  ::setenv("TMPDIR", dir.File("no-such-folder").c_str(), 1);
  const bool written = WriteZipPackage(*doc, documentPath, zipPath);
  if (saved) ::setenv("TMPDIR", savedTmp.c_str(), 1); else ::unsetenv("TMPDIR");

  EXPECT_FALSE(written);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_NE(prompts.messages.back().find("xmlpackage.xml"), std::string::npos);
  EXPECT_EQ(ReadText(zipPath), "old package");
}

TEST(HtmlPageTest, DocumentPageMatchesTheGoldenPage) {
  tinyxml2::XMLDocument index;
  ASSERT_EQ(index.Parse(Golden("page-index.xml").c_str()), tinyxml2::XML_SUCCESS);
  TempDir dir;
  ASSERT_TRUE(SaveDocumentHtmlPage(index, dir.File("page.html"), "http://example.org/lute"));
  ExpectGoldenAt("tests/document/golden/page.html", ReadText(dir.File("page.html")));
}

TEST(HtmlPageTest, GroupPageMatchesTheGoldenPage) {
  tinyxml2::XMLDocument group;
  ASSERT_EQ(group.Parse(Golden("group-tree.xml").c_str()), tinyxml2::XML_SUCCESS);
  TempDir dir;
  ASSERT_TRUE(SaveGroupHtmlPage(group, dir.File("group.html"), "file:///music"));
  ExpectGoldenAt("tests/document/golden/group.html", ReadText(dir.File("group.html")));
}

TEST(HtmlPageTest, UnwritablePageIsRefused) {
  tinyxml2::XMLDocument group;
  group.Parse("<DocumentGroup/>");
  EXPECT_FALSE(SaveGroupHtmlPage(group, "/nonexistent-folder/x.html", "file:///"));
}

TEST(HtmlPageTest, JavaScriptStringsCannotEndTheScript) {
  const std::pair<std::string, std::string> cases[] = {
      {"/music/lute", "\"/music/lute\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"x</script><b>&", "\"x\\u003C/script\\u003E\\u003Cb\\u003E\\u0026\""},
      {"line\nend", "\"line\\nend\""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(JavaScriptString(text), expected);
}

}  // namespace
}  // namespace vornel
