#include "import/musicxml/MxlContainer.h"

#include <tinyxml2.h>

#include <string_view>

#include "document/zip/ZipBundle.h"
#include "document/zip/ZipReader.h"

namespace vornel {

namespace {

constexpr std::string_view kContainerEntry = "META-INF/container.xml";
constexpr uint64_t kMaxContainerBytes = uint64_t{1} << 20;
constexpr std::string_view kMusicXmlMediaTypes[] = {"application/vnd.recordare.musicxml+xml",
                                                     "application/vnd.recordare.musicxml"};

// Extracts entry `name` under `destination` when it exists and declares at most `maxBytes`.
bool ExtractEntry(ZipHandle* zip, std::string_view name, const std::string& destination, uint64_t maxBytes) {
  int index = -1;
  ZipEntry entry;
  if (FindZipItem(zip, name, index, entry) != kZipOk) return false;
  if (entry.uncompressedSize > maxBytes || (entry.attributes & kZipAttrDirectory) != 0) return false;
  return UnzipItem(zip, index, destination) == kZipOk;
}

// The score's path in the archive, from the container document.
std::optional<std::string> RootFilePath(const std::string& containerPath) {
  tinyxml2::XMLDocument container;
  if (container.LoadFile(containerPath.c_str()) != tinyxml2::XML_SUCCESS) return std::nullopt;
  const tinyxml2::XMLElement* root = container.RootElement();
  const tinyxml2::XMLElement* files = root != nullptr ? root->FirstChildElement("rootfiles") : nullptr;
  if (files == nullptr) return std::nullopt;
  for (const tinyxml2::XMLElement* file = files->FirstChildElement("rootfile"); file != nullptr;
       file = file->NextSiblingElement("rootfile")) {
    const char* type = file->Attribute("media-type");
    bool musicXml = type == nullptr;
    for (const std::string_view known : kMusicXmlMediaTypes) musicXml = musicXml || known == type;
    if (!musicXml) continue;
    const char* fullPath = file->Attribute("full-path");
    if (fullPath == nullptr || !IsSafeRelativePath(fullPath)) return std::nullopt;
    return std::string(fullPath);
  }
  return std::nullopt;
}

}  // namespace

bool HasZipSignature(std::span<const uint8_t> head) {
  return head.size() >= 4 && head[0] == 'P' && head[1] == 'K' &&
         ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6));
}

std::optional<std::string> ExtractMxlScore(const std::string& path, const TemporaryFolder& folder, uint64_t maxBytes) {
  const ZipHandlePtr zip = OpenZip(path, folder.Path());
  if (zip == nullptr) return std::nullopt;
  if (!ExtractEntry(zip.get(), kContainerEntry, "container.xml", kMaxContainerBytes)) return std::nullopt;
  const std::optional<std::string> score = RootFilePath(folder.Path() + "/container.xml");
  if (!score || !ExtractEntry(zip.get(), *score, "score.xml", maxBytes)) return std::nullopt;
  CloseZipReader(zip.get());
  return folder.Path() + "/score.xml";
}

}  // namespace vornel
