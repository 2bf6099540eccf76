#pragma once
// The zip package of a document: the document file, every file it refers to (associated
// files, the title-page image, facsimile images on disk, MIDI files) and the manifest
// "xmlpackage.xml", which is the document's index with a "files-list" of what was packed.

#include <tinyxml2.h>

#include <string>
#include <vector>

namespace vornel {

class CBriotabDoc;

struct PackageFile {
  std::string path;       // the file on disk
  std::string type;       // "vornel-file", an association's type, "titlepage-image", ...
  std::string entryName;  // its unique name in the archive
};

inline constexpr const char* kPackageManifestName = "xmlpackage.xml";

// The files the index of the document at `documentPath` names, in the order found, each path
// once. Associations whose file name ends in "zip" (any case) are left out; facsimiles only
// when the index holds them, and only those stored on disk. Each file gets a unique entry
// name: its path inside the document's folder, else its file name, numbered when taken.
std::vector<PackageFile> ListPackageFiles(const tinyxml2::XMLDocument& index, const std::string& documentPath);

// Appends "files-list" ("count" and one "file" per entry: the path as text, "type" and the
// entry's "name" in the archive) as the last child of the index's "synopsis".
void AddFilesList(tinyxml2::XMLDocument& index, const std::vector<PackageFile>& files);

// Writes the package of `doc`, saved at `documentPath`, to `zipPath`: the index with its
// files list becomes the manifest. False, after the system's message, when the manifest or
// the archive could not be written; no archive is left then.
bool WriteZipPackage(const CBriotabDoc& doc, const std::string& documentPath, const std::string& zipPath);

}  // namespace vornel
