#include "model/text/CFacsimileListDlg.h"

#include <algorithm>
#include <stdexcept>

#include "model/Scaling.h"
#include "model/StoredPath.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

std::vector<std::string> ReadStringArray(ArchiveReader& ar) {
  const size_t count = ar.ReadCount(1);
  std::vector<std::string> strings;
  strings.reserve(count);
  for (size_t i = 0; i < count; ++i) strings.push_back(ar.ReadText());
  return strings;
}

// Device sizes beyond this are no device.
constexpr int32_t kMaxDeviceExtent = 1 << 24;

}  // namespace

bool IsImageExtension(std::string_view extension) {
  if (extension.size() != 4) return false;
  const std::string lower = AsciiLower(extension);
  return lower == ".tif" || lower == ".gif" || lower == ".jpg" || lower == ".bmp" || lower == ".png";
}

bool IsImagePath(std::string_view path) { return path.size() >= 4 && IsImageExtension(path.substr(path.size() - 4)); }

std::string CFacsimileListDlg::GetImagePath(size_t index) const {
  if (index >= imagePaths.size()) throw std::out_of_range("facsimile index out of range");
  return imagePaths[index];
}

std::string CFacsimileListDlg::GetImageName(size_t index) const {
  const std::string path = GetImagePath(index);
  size_t cut = path.rfind('\\');
  if (cut == std::string::npos) cut = path.rfind('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

size_t CFacsimileListDlg::CountImageFiles() const {
  return static_cast<size_t>(std::count_if(imagePaths.begin(), imagePaths.end(), IsImagePath));
}

size_t CFacsimileListDlg::FindImageFile(size_t start) const {
  for (size_t i = start; i < imagePaths.size(); ++i) {
    if (IsImagePath(imagePaths[i])) return i;
  }
  return imagePaths.size();
}

void CFacsimileListDlg::AddImage(std::string_view path) {
  MatchCaptionsToPaths();
  imagePaths.emplace_back(path);
  captions.emplace_back();
}

void CFacsimileListDlg::RemoveImage(size_t index) {
  if (index >= imagePaths.size()) throw std::out_of_range("facsimile index out of range");
  MatchCaptionsToPaths();
  imagePaths.erase(imagePaths.begin() + static_cast<std::ptrdiff_t>(index));
  captions.erase(captions.begin() + static_cast<std::ptrdiff_t>(index));
}

void CFacsimileListDlg::MatchCaptionsToPaths() { captions.resize(imagePaths.size()); }

tinyxml2::XMLElement* CFacsimileListDlg::WriteXml(tinyxml2::XMLDocument& doc) const {
  tinyxml2::XMLElement* element = doc.NewElement("facsimiles");
  SetIntAttribute(element, "nb-images", static_cast<int32_t>(imagePaths.size()));
  for (size_t i = 0; i < imagePaths.size(); ++i) {
    const SplitPath parts = SplitStoredPath(imagePaths[i]);
    tinyxml2::XMLElement* image =
        AddTextElement(doc, "image", i < captions.size() ? std::string_view(captions[i]) : std::string_view());
    SetTextAttribute(image, "path", parts.folder);
    SetTextAttribute(image, "name", parts.name);
    SetTextAttribute(image, "location", parts.folder.starts_with("http") ? "web" : "disk");
    element->InsertEndChild(image);
  }
  return element;
}

const tinyxml2::XMLElement* CFacsimileListDlg::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "facsimiles");
  MatchCaptionsToPaths();
  const int32_t count = ReadIntAttribute(element, "nb-images");
  const tinyxml2::XMLElement* image = element->FirstChildElement();
  for (int32_t i = 0; i < count && image != nullptr; ++i, image = image->NextSiblingElement()) {
    std::string folder = ReadTextAttribute(image, "path");
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    std::string path = JoinStoredPath(folder, ReadTextAttribute(image, "name"));
    ReplaceAll(path, "\\/", "/");
    ReplaceAll(path, kOldImageFolderPrefix, kImageFolderPrefix);
    imagePaths.push_back(std::move(path));
    captions.push_back(Decode8BitText(ElementText(image)));
  }
  return element->NextSiblingElement();
}

void CFacsimileListDlg::Store(ArchiveWriter& ar) const {
  ar.WriteCount(imagePaths.size());
  for (const std::string& path : imagePaths) ar.WriteText(path);
  ar.WriteCount(imagePaths.size());
  for (size_t i = 0; i < imagePaths.size(); ++i) ar.WriteText(i < captions.size() ? captions[i] : std::string());
}

void CFacsimileListDlg::Load(ArchiveReader& ar) {
  std::vector<std::string> paths = ReadStringArray(ar);
  std::vector<std::string> read;
  if (ar.VersionAtLeast("9.6.7.5")) read = ReadStringArray(ar);
  for (std::string& path : paths) ReplaceAll(path, kOldCollectionsPrefix, kWebRoot);
  imagePaths = std::move(paths);
  captions = std::move(read);
  MatchCaptionsToPaths();
}

void CFacsimileListDlg::LoadPathsOnly(ArchiveReader& ar) {
  imagePaths = ReadStringArray(ar);
  for (std::string& path : imagePaths) ReplaceAll(path, kOldCollectionsPrefix, kWebRoot);
  captions.assign(imagePaths.size(), std::string());
}

std::optional<FacsimileLayout> LayoutFacsimile(int32_t width, int32_t height, const FacsimileDevice& device) {
  const FacsimileDevice& d = device;
  if (width <= 0 || height <= 0) return std::nullopt;
  if (d.horzRes <= 0 || d.vertRes <= 0 || d.horzRes > kMaxDeviceExtent || d.vertRes > kMaxDeviceExtent) {
    return std::nullopt;
  }
  if (d.logPixelsX <= 0 || d.logPixelsY <= 0 || d.screenDpiX <= 0 || d.screenDpiY <= 0) return std::nullopt;

  // Natural size: the screen's pixels become the device's.
  int32_t w = ScaleRounded(width, d.logPixelsX, d.screenDpiX);
  int32_t h = ScaleRounded(height, d.logPixelsY, d.screenDpiY);
  if (w > d.horzRes || h > d.vertRes) {
    // Fitted to the full width, or to the full height when that is too tall; the sizes in
    // inches keep the image's proportions.
    const int64_t inchWidth = static_cast<int64_t>(d.logPixelsX) * width;
    const int64_t inchHeight = static_cast<int64_t>(d.logPixelsY) * height;
    bool widthBound = true;
    w = d.horzRes;
    h = ScaleRounded(inchHeight, d.horzRes, inchWidth);
    if (h > d.vertRes) {
      widthBound = false;
      h = d.vertRes;
      w = ScaleRounded(inchWidth, d.vertRes, inchHeight);
    }
    // The page's margin comes off the bound side; the other side follows in proportion so
    // that the picture is not distorted.
    const int64_t reduction = 4 * static_cast<int64_t>(std::max(d.pageLeft, 0));
    if (reduction > 0) {
      if (widthBound) {
        const int64_t reduced = w - reduction;
        h = ScaleRounded(h, reduced, w);
        w = static_cast<int32_t>(std::max<int64_t>(reduced, 0));
      } else {
        const int64_t reduced = h - reduction;
        w = ScaleRounded(w, reduced, h);
        h = static_cast<int32_t>(std::max<int64_t>(reduced, 0));
      }
    }
  }
  if (w <= 0 || h <= 0) return std::nullopt;

  FacsimileLayout layout;
  layout.image.left = (d.horzRes - w) / 2;
  layout.image.top = (d.vertRes - h) / 2;
  layout.image.right = layout.image.left + w;
  layout.image.bottom = layout.image.top + h;
  layout.caption = {layout.image.left, layout.image.bottom, layout.image.right, layout.image.bottom + h};
  return layout;
}

}  // namespace vornel
