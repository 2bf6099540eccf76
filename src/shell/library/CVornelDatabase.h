#pragma once
// A document group: a titled collection of documents under one root folder, with each
// member's title and section titles taken from the documents themselves. Stored as a ".vndb"
// binary archive in the document-group folder. The metadata is rebuilt through the XML tree
// "DocumentGroup", made by opening every member; the same tree feeds the group's HTML page.
//
// Paths under the application's document root folder are stored in a portable form: the
// folder replaced by "ROAMINGDIR\", separators written as backslashes. They are resolved
// against the current document root folder when used, splitting on both separators.

#include <tinyxml2.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"
#include "platform/BatchProgress.h"

namespace vornel {

class CBriotabDoc;

class CDataBaseSectionForm : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CDataBaseSectionForm";
  std::string title;
  std::string secondText;
  std::string thirdText;
  std::vector<std::string> textList;
  int32_t index = 0;

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;
};

class CDataBaseDocForm : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CDataBaseDocForm";
  std::string storedPath;
  std::string title;
  std::string extraText1;
  std::string extraText2;
  std::string extraText3;
  std::string displayName;  // not stored
  int32_t sectionCount = 0;  // not stored
  std::string extraText4;
  OwnedArray<CDataBaseSectionForm> sections;
  int32_t index = -1;  // not stored

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;
};

class CVornelDatabase {
 public:
  static constexpr std::string_view kFileMagic = "VornelDatabaseFile";
  static constexpr std::string_view kPortableRoot = "ROAMINGDIR";
  static constexpr std::string_view kAlreadyInGroupMessage = "This document is already in the group. Cannot proceed.";
  static constexpr std::string_view kRecycleQuestion =
      "This document has been removed from the group. Do you also want to send this document to the recycle bin?";

  // `documentRoot` is the application's document root folder (the portable paths' anchor).
  explicit CVornelDatabase(std::string documentRoot = {});

  std::string version;
  OwnedArray<CDataBaseDocForm> entries;
  std::string rootPath;  // possibly portable
  std::string title;

  const std::string& documentRoot() const { return documentRoot_; }
  void SetDocumentRoot(std::string folder) { documentRoot_ = std::move(folder); }
  const std::string& GetPathName() const { return pathName_; }
  void SetPathName(std::string path) { pathName_ = std::move(path); }

  // The ".vndb" archive.
  std::vector<uint8_t> StoreBytes() const;
  // Reads a ".vndb" archive; on a damaged file throws ArchiveError and leaves the group as
  // it was.
  void LoadBytes(std::span<const uint8_t> bytes);
  // Saves to the path name through a temporary file; false after a message when that failed.
  bool Save();
  // Opens the file `name` of `groupFolder` and takes its path; false after "Cannot open
  // database file: " and the name, the group unchanged.
  bool OnOpenDocument(const std::string& groupFolder, const std::string& name);
  bool OpenFile(const std::string& path);

  void DeleteContents() { entries.clear(); }
  void RenumberEntries();

  // The root as a real folder: "ROAMINGDIR" resolved against the document root folder,
  // backslashes turned into '/'.
  std::string ResolveRootPath() const;
  // The stored form of a path: backslashes, single separators, the document root folder
  // replaced by "ROAMINGDIR\".
  std::string MakePortablePath(const std::string& path) const;
  // The real path of a stored path (portable, relative to the root, or absolute).
  std::string ResolveStoredPath(const std::string& stored) const;

  // The "DocumentGroup" tree of the files, each opened in turn. With `forFinder` the root has
  // no "size" and its "root-path" is the root folder as given, with '/' separators. False when
  // the run was cancelled.
  bool BuildGroupXml(const std::vector<std::string>& paths, tinyxml2::XMLDocument& doc, BatchProgress& progress,
                     bool forFinder = false) const;
  // Replaces the entries by those of a tree, the root path by the tree's. A tree of another
  // form raises XmlTagMismatch and leaves the group as it was.
  void ReadGroupXml(const tinyxml2::XMLDocument& doc);
  std::vector<std::string> ListDocumentPaths() const;
  bool IsDocumentInGroup(const std::string& path) const;

  // Appends a member and reindexes; the new entry, or null when the document is already a
  // member (after the message) or the reindex failed.
  CDataBaseDocForm* AddDocument(const std::string& path, BatchProgress& progress);
  // Removes a member, saves and offers to send its file to the trash.
  bool RemoveDocument(int index);
  // Opens member `index` through `open` and makes `section` active (not for -1).
  using DocumentOpener = std::function<CBriotabDoc*(const std::string& path)>;
  bool OpenDocument(int index, int section, const DocumentOpener& open) const;
  // Rebuilds the entries from the member files and saves; the group is left as it was when
  // the run fails or is cancelled.
  bool Reindex(BatchProgress& progress);
  // Asks for a page name and writes the group's HTML page there, then opens it.
  bool ExportHtml(const std::string& rootUrl, BatchProgress& progress);

  // The title as typed, with ':' '\' ' ' '&' replaced by '_' '-' '_' '+'.
  static std::string CleanGroupTitle(std::string text);
  // Asks for a title preset with `text`; on OK `text` becomes the cleaned answer.
  static bool AskGroupTitle(std::string& text);

 private:
  std::string documentRoot_;
  std::string pathName_;
};

}  // namespace vornel
