#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/DocumentDump.h"
#include "document/DocumentEnvironment.h"
#include "document/DocumentFiles.h"
#include "document/DocumentFixtures.h"
#include "document/OldDocumentRecords.h"
#include "document/SaveTarget.h"
#include "document/zip/ZipReader.h"
#include "document/zip/ZipWriter.h"
#include "platform/io/FileIO.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::ReadText;
using testing::ScriptedPrompts;
using testing::TempDir;

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

// The rich document as an XML document of the editor.
std::unique_ptr<CVornelTabDoc> RichEditorDocument() {
  auto rich = testing::ThroughBinary(*testing::RichDocument());
  auto doc = std::make_unique<CVornelTabDoc>();
  EXPECT_TRUE(doc->ReadXmlText(rich->XmlText()));
  return doc;
}

std::vector<std::string> EntriesOf(const std::string& archive) {
  std::vector<std::string> names;
  const ZipHandlePtr zip = OpenZip(archive);
  ZipEntry entry;
  for (int i = 0; zip != nullptr && GetZipItem(zip.get(), i, entry) == kZipOk; ++i) names.push_back(entry.name);
  return names;
}

TEST(DocumentFiles, ABundleHoldsTheDocumentAndGivesItBackWhole) {
  ScriptedPrompts prompts;
  TempDir dir;
  auto doc = RichEditorDocument();
  testing::WriteText(dir.File("Song.btxml"), "another document");
  ASSERT_TRUE(doc->OnSaveDocument(dir.File("Song.btz")));
  EXPECT_EQ(doc->GetPathName(), dir.File("Song.btz"));
  EXPECT_TRUE(doc->OpenedFromBundle());
  EXPECT_EQ(EntriesOf(dir.File("Song.btz")), std::vector<std::string>{"Song.btxml"});
  // Neither the save nor the open touched the file of the same name beside the bundle.
  CVornelTabDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(dir.File("Song.btz")));
  EXPECT_EQ(ReadText(dir.File("Song.btxml")), "another document");
  EXPECT_TRUE(DumpDocument(reopened) == DumpDocument(*doc));
  EXPECT_EQ(reopened.GetPathName(), dir.File("Song.btz"));
  EXPECT_EQ(reopened.GetTitle(), "Song.btz");
  EXPECT_TRUE(reopened.OpenedFromBundle());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST(DocumentFiles, AMissingXmlDocumentIsLookedForAsItsBundle) {
  ScriptedPrompts prompts;
  TempDir dir;
  auto doc = RichEditorDocument();
  ASSERT_TRUE(doc->OnSaveDocument(dir.File("Pavan.btz")));
  CVornelTabDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(dir.File("Pavan.btxml")));
  EXPECT_EQ(reopened.GetPathName(), dir.File("Pavan.btz"));
  EXPECT_TRUE(DumpDocument(reopened) == DumpDocument(*doc));

  CVornelTabDoc missing;
  EXPECT_FALSE(missing.OnOpenDocument(dir.File("Galliard.btxml")));
  EXPECT_FALSE(missing.OnOpenDocument(dir.File("Galliard.btz")));
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{"This file does not exist.", "This file does not exist."}));
  EXPECT_TRUE(missing.sections.empty());
}

// A bundle its user renamed opens as it was saved, and is saved under its new name.
TEST(DocumentFiles, ARenamedBundleOpens) {
  ScriptedPrompts prompts;
  TempDir dir;
  auto doc = RichEditorDocument();
  ASSERT_TRUE(doc->OnSaveDocument(dir.File("song.btz")));
  std::filesystem::copy_file(dir.File("song.btz"), dir.File("song (1).btz"));
  CVornelTabDoc renamed;
  ASSERT_TRUE(renamed.OnOpenDocument(dir.File("song (1).btz")));
  EXPECT_TRUE(DumpDocument(renamed) == DumpDocument(*doc));
  ASSERT_TRUE(renamed.OnSaveDocument({}));
  EXPECT_EQ(EntriesOf(dir.File("song (1).btz")), std::vector<std::string>{"song (1).btxml"});
  EXPECT_TRUE(prompts.messages.empty()) << ::testing::PrintToString(prompts.messages);
}

TEST(DocumentFiles, BundlesThatDoNotHoldTheirDocumentAreRefused) {
  TempDir dir;
  testing::WriteText(dir.File("inner.txt"), "<x/>");
  const ZipHandlePtr zip = CreateZip(dir.File("Other.btz"));
  ASSERT_EQ(ZipAdd(zip.get(), "inner.txt", dir.File("inner.txt")), kZipOk);
  ASSERT_EQ(CloseZip(zip.get()), kZipOk);
  testing::WriteText(dir.File("Text.btz"), "not an archive");
  for (const auto& [name, message] :
       {std::pair<std::string, std::string>{"Other.btz", "Fatal error: btxml file not included in compressed btz file!"},
        {"Text.btz", "Fatal error: Unable to unzip this file\nThe file is not a zip archive, or its directory is damaged."},
        {"Notes.txt", "Not a recognized Vornel file type"}}) {
    ScriptedPrompts prompts;
    CVornelTabDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(dir.File(name))) << name;
    EXPECT_EQ(prompts.messages, std::vector<std::string>{message});
    EXPECT_TRUE(doc.sections.empty());
  }
}

TEST(DocumentFiles, AnXmlDocumentThatFailsItsCheckOpensNothing) {
  ScriptedPrompts prompts;
  TempDir dir;
  testing::WriteText(dir.File("bad.btxml"), "<VornelTabXML version=\"1.0\"><document-settings/></VornelTabXML>");
  auto doc = RichEditorDocument();
  const std::string before = DumpDocument(*doc);
  EXPECT_FALSE(doc->OnOpenDocument(dir.File("bad.btxml")));
  EXPECT_EQ(DumpDocument(*doc), before);
  EXPECT_EQ(doc->GetPathName(), "");
}

TEST(DocumentFiles, ATemplateKeepsTheActiveSectionOnly) {
  ScriptedPrompts prompts;
  TempDir dir;
  auto doc = RichEditorDocument();
  doc->sections.push_back(std::make_unique<CSystemArray>());
  doc->sections.push_back(std::make_unique<CSystemArray>());
  doc->sections.at(2)->Title().text = "Third";
  doc->sections.activeSection = 2;
  const auto written = doc->WriteXmlTemplate(dir.File("Consort.btt"));
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, dir.File("Consort.bttx"));
  EXPECT_FALSE(Exists(dir.File("Consort.btt")));
  EXPECT_EQ(doc->sections.size(), 3u);

  CVornelTabDoc opened;
  ASSERT_TRUE(opened.OnOpenDocument(*written));
  ASSERT_EQ(opened.sections.size(), 1u);
  EXPECT_EQ(opened.sections.at(0)->Title().text, "Third");
  EXPECT_EQ(opened.xmlMajor, 6);  // so that reading it back changes no note

  prompts.QueueFile(std::nullopt);
  EXPECT_FALSE(doc->SaveAsXmlTemplate().has_value());
  prompts.QueueFile(dir.File("Chosen.bttx"));
  EXPECT_EQ(doc->SaveAsXmlTemplate(), dir.File("Chosen.bttx"));
}

TEST(DocumentFiles, ABinaryDocumentIsConvertedOnlyWhenTheUserAgrees) {
  TempDir dir;
  const std::vector<uint8_t> bytes = testing::SampleDocument("9.8.1.0").Bytes();
  const std::string original(bytes.begin(), bytes.end());
  testing::WriteText(dir.File("old.btb"), original);
  ScriptedPrompts prompts;
  CVornelTabDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(dir.File("old.btb")));
  EXPECT_EQ(doc.xmlFlag, 0);

  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(doc.OnSaveDocument());
  EXPECT_EQ(prompts.questions, std::vector<std::string>{std::string(CVornelTabDoc::kConversionQuestion)});
  EXPECT_EQ(ReadText(dir.File("old.btb")), original);
  EXPECT_FALSE(Exists(dir.File("old.btxml")));
  EXPECT_EQ(doc.GetPathName(), dir.File("old.btb"));

  // Agreed, the document goes into the bundle of its name; the binary file stays.
  prompts.QueueAnswer(Answer::kOk);
  ASSERT_TRUE(doc.OnSaveDocument());
  EXPECT_EQ(doc.GetPathName(), dir.File("old.btz"));
  EXPECT_TRUE(doc.OpenedFromBundle());
  EXPECT_EQ(doc.xmlFlag, 1);
  EXPECT_EQ(ReadText(dir.File("old.btb")), original);
  EXPECT_FALSE(Exists(dir.File("old.btxml")));
  CVornelTabDoc converted;
  ASSERT_TRUE(converted.OnOpenDocument(dir.File("old.btz")));
  EXPECT_TRUE(DumpDocument(converted) == DumpDocument(doc));

  // The batch conversion asks nothing; the extension is told apart without regard to case.
  std::filesystem::remove(dir.File("old.btz"));
  EXPECT_TRUE(ConvertBinaryToXml(dir.File("old.btb")));
  EXPECT_TRUE(Exists(dir.File("old.btz")));
  testing::WriteText(dir.File("LOUD.BTB"), original);
  CVornelTabDoc loud;
  ASSERT_TRUE(loud.OnOpenDocument(dir.File("LOUD.BTB")));
  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_FALSE(loud.OnSaveDocument());
  EXPECT_EQ(prompts.questions.size(), 3u);
}

TEST(DocumentFiles, SavesThatFailSaySoAndKeepTheDocumentsState) {
  ScriptedPrompts prompts;
  TempDir dir;
  auto doc = RichEditorDocument();
  doc->SetPathName(dir.File("kept.btz"));
  doc->SetModifiedFlag(true);
  EXPECT_FALSE(doc->OnSaveDocument(dir.File("missing/song.btz")));
  EXPECT_FALSE(doc->OnSaveDocument(dir.File("missing/song.btxml")));
  // Each says which file, and why when the system said so.
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"Zip file creation failed\n" + dir.File("missing/song.btz") + ": No such file or directory",
                                      "Unable to save this btxml file..\n" + dir.File("missing/song.btz"),
                                      "Unable to save this btxml file..\n" + dir.File("missing/song.btxml") +
                                          ":\ncannot create a temporary file: No such file or directory"}));
  EXPECT_EQ(doc->GetPathName(), dir.File("kept.btz"));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_FALSE(Exists(dir.File("kept.btz")));
}

// Saving through a symbolic link, in each form, writes the document the link names: the link
// stays a link, and opening it again gives what was saved.
TEST(DocumentFiles, SavingThroughALinkWritesItsTarget) {
  namespace fs = std::filesystem;
  ScriptedPrompts prompts;
  TempDir dir;
  fs::create_directory(dir.File("real"));
  auto doc = RichEditorDocument();
  for (const char* extension : {".btxml", ".btz", ".btb"}) {
    SCOPED_TRACE(extension);
    const std::string real = dir.File(std::string("real/song") + extension);
    const std::string link = dir.File(std::string("song") + extension);
    testing::WriteText(real, "old content");
    fs::create_symlink(real, link);
    ASSERT_TRUE(SaveDocumentFile(*doc, link).has_value());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(ReadText(real), "old content");
    OpenedDocument opened = OpenDocumentFile(link);
    ASSERT_NE(opened.document, nullptr) << opened.message;
    EXPECT_EQ(opened.document->settings.Text(CDocumentSettings::kTitle).text, "Lachrimae");
  }
  // The editor's save of a document opened through a link.
  CVornelTabDoc linked;
  ASSERT_TRUE(linked.OnOpenDocument(dir.File("song.btxml")));
  linked.settings.Text(CDocumentSettings::kTitle).text = "Flow my tears";
  ASSERT_TRUE(linked.OnSaveDocument({}));
  EXPECT_TRUE(fs::is_symlink(dir.File("song.btxml")));
  EXPECT_NE(ReadText(dir.File("real/song.btxml")).find("Flow my tears"), std::string::npos);
  EXPECT_TRUE(prompts.messages.empty()) << ::testing::PrintToString(prompts.messages);
}

// A read-only document is replaced only when the user says so; No saves it under another name,
// Cancel saves nothing and keeps the document's state.
TEST(DocumentFiles, AReadOnlyDocumentAsksBeforeItIsReplaced) {
  ScriptedPrompts prompts;
  TempDir dir;
  for (const std::string extension : {".btxml", ".btz", ".btb", ".bttx"}) {
    SCOPED_TRACE(extension);
    const std::string path = dir.File("kept" + extension);
    const std::string elsewhere = dir.File("copy" + extension);
    testing::WriteText(path, "old content");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    auto doc = RichEditorDocument();
    doc->SetPathName(path);
    doc->SetModifiedFlag(true);
    // The binary form and templates are written beside the document, which keeps its name.
    const bool beside = extension == ".btb" || extension == ".bttx";
    const auto save = [&] {
      if (extension == ".btb") return doc->SaveBinary(path);
      if (extension == ".bttx") return doc->SaveXmlTemplate(path).has_value();
      return doc->OnSaveDocument({});
    };

    prompts.QueueAnswer(Answer::kCancel);
    EXPECT_FALSE(save());
    EXPECT_EQ(ReadText(path), "old content");
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_TRUE(doc->IsModified());

    prompts.QueueAnswer(Answer::kNo);
    prompts.QueueFile(elsewhere);
    EXPECT_TRUE(save());
    EXPECT_EQ(ReadText(path), "old content");
    EXPECT_TRUE(OpenDocumentFile(elsewhere).document != nullptr);
    if (!beside) {
      // Saved elsewhere, the document is that file from now on.
      EXPECT_EQ(doc->GetPathName(), elsewhere);
      doc->SetPathName(path);
    }

    // Saving by the file's form gives back the file the user chose.
    const std::string other = dir.File("other" + extension);
    prompts.QueueAnswer(Answer::kNo);
    prompts.QueueFile(other);
    EXPECT_EQ(SaveDocumentFile(*doc, path), other);
    EXPECT_EQ(ReadText(path), "old content");

    prompts.QueueAnswer(Answer::kYes);
    EXPECT_TRUE(save());
    EXPECT_NE(ReadText(path), "old content");
    EXPECT_TRUE(IsReadOnlyFile(path));  // replaced, with the permissions it had

    ASSERT_EQ(prompts.questions.size(), 4u);
    for (const std::string& question : prompts.questions) {
      EXPECT_EQ(question, std::string(kReadOnlyQuestion) + "\n" + path + "\n\n" + std::string(kReadOnlyChoices));
    }
    EXPECT_EQ(prompts.filePrompts.back(), "Save as|*" + extension + "|kept" + extension + "|" +
                                              dir.path());
    prompts.questions.clear();
    prompts.messages.clear();
  }
}

TEST(DocumentFiles, ANewDocumentIsSavedAsUnnamedInTheDefaultFolder) {
  ScriptedPrompts prompts;
  TempDir dir;
  Environment().defaultFolder = dir.path();
  CVornelTabDoc doc;
  ASSERT_TRUE(doc.OnNewDocument());
  ASSERT_EQ(doc.sections.size(), 1u);
  EXPECT_EQ(doc.sections.activeSection, 0);
  EXPECT_EQ(doc.GetActiveSection()->Title().text, "New section");
  ASSERT_TRUE(doc.OnSaveDocument());
  Environment().defaultFolder.clear();
  EXPECT_EQ(doc.GetPathName(), dir.File("unnamed.btz"));
  EXPECT_TRUE(Exists(dir.File("unnamed.btz")));
}

TEST(DocumentFiles, FilesOfTheDataFolderOpenWithoutTheirName) {
  ScriptedPrompts prompts;
  TempDir dir;
  Environment().dataFolder = dir.path();
  auto doc = RichEditorDocument();
  ASSERT_TRUE(doc->WriteXmlTemplate(dir.File("Lute.bttx")).has_value());
  CVornelTabDoc opened;
  ASSERT_TRUE(opened.OpenDocumentInFolder("Lute.bttx"));
  Environment().dataFolder.clear();
  EXPECT_EQ(opened.GetPathName(), "");
  EXPECT_EQ(opened.sections.size(), 1u);
}

TEST(DocumentFiles, ATemplateGivesItsSettingsToEverySection) {
  ScriptedPrompts prompts;
  TempDir dir;
  auto source = RichEditorDocument();
  source->settings.pageSettings.topMargin = 333;
  CSystemArray& model = *source->GetActiveSection();
  model.stavesPerPage = 3;
  model.Definition(0)->nameText.text = "Theorbo";
  ASSERT_TRUE(source->WriteXmlTemplate(dir.File("Theorbo.bttx")).has_value());

  CVornelTabDoc doc;
  doc.OnNewDocument();
  doc.sections.push_back(std::make_unique<CSystemArray>());
  ASSERT_TRUE(doc.ApplyTemplate(dir.File("Theorbo.bttx")));
  EXPECT_EQ(doc.settings.pageSettings.topMargin, 333u);
  for (const auto& section : doc.sections.items()) {
    EXPECT_EQ(section->stavesPerPage, 3);
    EXPECT_EQ(section->Definition(0)->nameText.text, "Theorbo");
  }
  EXPECT_TRUE(doc.IsModified());

  EXPECT_FALSE(doc.ApplyTemplate(dir.File("None.bttx")));
  EXPECT_EQ(prompts.messages.back(), "Unable to open this template");
}

TEST(DocumentFiles, ToolsOpenAnyFormAndHearItsMessages) {
  TempDir dir;
  ScriptedPrompts prompts;
  const OpenedDocument missing = OpenDocumentFile(dir.File("none.btz"));
  EXPECT_EQ(missing.document, nullptr);
  EXPECT_EQ(missing.message, "This file does not exist.");
  EXPECT_TRUE(prompts.messages.empty());

  auto doc = RichEditorDocument();
  for (const char* name : {"a.btb", "a.btxml", "a.btz", "a.bttx"}) {
    ASSERT_TRUE(SaveDocumentFile(*doc, dir.File(name)).has_value()) << name;
    const OpenedDocument opened = OpenDocumentFile(dir.File(name));
    ASSERT_NE(opened.document, nullptr) << name;
    EXPECT_TRUE(DumpDocument(*opened.document) == DumpDocument(*doc)) << name;
  }
  EXPECT_EQ(SaveDocumentFile(*doc, dir.File("b.btt")), dir.File("b.bttx"));
  EXPECT_FALSE(SaveDocumentFile(*doc, dir.File("b.txt")).has_value());
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"Not a recognized Vornel file type"});
}

}  // namespace
}  // namespace vornel
