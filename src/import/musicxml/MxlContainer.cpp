#include "import/musicxml/MxlContainer.h"

#include <tinyxml2.h>

#include <string_view>

#include "document/zip/ZipBundle.h"
#include "document/zip/ZipReader.h"
#include "platform/xml/XmlScanner.h"

namespace vornel {

namespace {

constexpr std::string_view kContainerEntry = "META-INF/container.xml";
constexpr uint64_t kMaxContainerBytes = uint64_t{1} << 20;
constexpr std::string_view kMusicXmlMediaTypes[] = {"application/vnd.recordare.musicxml+xml",
                                                     "application/vnd.recordare.musicxml"};

// Inflates entry `name` into `text` within `limits`; false with `reason` saying why not.
bool InflateEntry(ZipHandle* zip, std::string_view name, const ZipLimits& limits, std::string& text,
                  std::string& reason) {
  int index = -1;
  ZipEntry entry;
  if (FindZipItem(zip, name, index, entry) != kZipOk) {
    reason = std::string(name) + " is missing";
    return false;
  }
  if ((entry.attributes & kZipAttrDirectory) != 0) {
    reason = std::string(name) + " is a folder";
    return false;
  }
  std::string why;
  if (UnzipItemToMemory(zip, index, text, limits, &why) == kZipOk) return true;
  reason = std::string(name) + ": " + (why.empty() ? "it cannot be unpacked" : why);
  return false;
}

// The score's path in the archive, from the container document; empty with `reason` saying why.
std::string RootFilePath(const std::string& containerText, std::string& reason) {
  tinyxml2::XMLDocument container;
  std::string error;
  if (!ParseCheckedXml(container, containerText, &error)) {
    reason = std::string(kContainerEntry) + ": " + error;
    return {};
  }
  const tinyxml2::XMLElement* root = container.RootElement();
  const tinyxml2::XMLElement* files = root != nullptr ? root->FirstChildElement("rootfiles") : nullptr;
  for (const tinyxml2::XMLElement* file = files != nullptr ? files->FirstChildElement("rootfile") : nullptr;
       file != nullptr; file = file->NextSiblingElement("rootfile")) {
    const char* type = file->Attribute("media-type");
    bool musicXml = type == nullptr;
    for (const std::string_view known : kMusicXmlMediaTypes) musicXml = musicXml || known == type;
    if (!musicXml) continue;
    const char* fullPath = file->Attribute("full-path");
    if (fullPath == nullptr || !IsSafeRelativePath(fullPath)) {
      reason = std::string(kContainerEntry) + ": the score's path \"" + (fullPath != nullptr ? fullPath : "") +
               "\" is no path inside the archive";
      return {};
    }
    return fullPath;
  }
  reason = std::string(kContainerEntry) + " names no MusicXML score";
  return {};
}

}  // namespace

bool HasZipSignature(std::span<const uint8_t> head) {
  return head.size() >= 4 && head[0] == 'P' && head[1] == 'K' &&
         ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6));
}

bool ExtractMxlScore(const std::string& path, uint64_t maxBytes, std::string& score, std::string& reason) {
  const ZipHandlePtr zip = OpenZip(path);
  if (zip == nullptr) {
    reason = "it is not a zip archive, or its directory is damaged";
    return false;
  }
  std::string container;
  if (!InflateEntry(zip.get(), kContainerEntry, {kMaxContainerBytes, 0, 0}, container, reason)) return false;
  const std::string scorePath = RootFilePath(container, reason);
  if (scorePath.empty()) return false;
  const ZipLimits limits{std::min(maxBytes, kBundleLimits.maxBytes), kBundleLimits.maxRatio, kBundleLimits.baseBytes};
  return InflateEntry(zip.get(), scorePath, limits, score, reason);
}

}  // namespace vornel
