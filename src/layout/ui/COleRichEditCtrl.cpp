#include "layout/ui/COleRichEditCtrl.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include <algorithm>
#include <charconv>

#include "layout/richtext/RichPictures.h"
#include "layout/richtext/RichTextCache.h"
#include "layout/richtext/RichTextLayout.h"
#include "platform/UserPrompts.h"
#include "platform/draw/CairoDevice.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

namespace vornel {

namespace {

constexpr int32_t kScreenDpi = 96;
constexpr std::string_view kDefaultFace = "Times New Roman";

// Names of the exact values kept on the control's objects.
const wxString kLeftIndent = "rtf-li";
const wxString kFirstIndent = "rtf-fi";
const wxString kRightIndent = "rtf-ri";
const wxString kSpaceBefore = "rtf-sb";
const wxString kSpaceAfter = "rtf-sa";
const wxString kTabs = "rtf-tabs";
const wxString kBulletFont = "rtf-bullet-font";
const wxString kBulletIndent = "rtf-bullet-indent";
const wxString kBulletText = "rtf-bullet-text";
const wxString kMark = "rtf-mark";
const wxString kHalfPoints = "rtf-fs";
const wxString kFontNumber = "rtf-f";
const wxString kPicture = "rtf-picture";

wxString Wx(std::string_view utf8) { return wxString::FromUTF8(utf8.data(), utf8.size()); }
std::string Utf8(const wxString& s) {
  const wxScopedCharBuffer buffer = s.utf8_str();
  return std::string(buffer.data(), buffer.length());
}

int TwipsToTenths(int64_t twips) {
  return static_cast<int>(twips >= 0 ? (twips * 254 + 720) / 1440 : -((-twips * 254 + 720) / 1440));
}
int32_t TenthsToTwips(int64_t tenths) {
  return static_cast<int32_t>(tenths >= 0 ? (tenths * 1440 + 127) / 254 : -((-tenths * 1440 + 127) / 254));
}

std::string FormatText(const CharFormat& f) {
  std::string s;
  for (const int32_t v : {f.font, f.halfPoints, int32_t(f.bold), int32_t(f.italic), int32_t(f.underline), f.colour}) {
    if (!s.empty()) s += ',';
    s += std::to_string(v);
  }
  return s;
}

std::optional<CharFormat> ParseFormat(const std::string& text) {
  int32_t v[6] = {};
  const char* p = text.data();
  const char* end = p + text.size();
  for (int i = 0; i < 6; ++i) {
    const auto [next, ec] = std::from_chars(p, end, v[i]);
    if (ec != std::errc()) return std::nullopt;
    p = next;
    if (i < 5) {
      if (p == end || *p != ',') return std::nullopt;
      ++p;
    }
  }
  return CharFormat{v[0], v[1], v[2] != 0, v[3] != 0, v[4] != 0, v[5]};
}

std::string TabsText(const std::vector<int32_t>& tabs) {
  std::string s;
  for (const int32_t t : tabs) {
    if (!s.empty()) s += ',';
    s += std::to_string(t);
  }
  return s;
}

std::vector<int32_t> ParseTabs(const std::string& text) {
  std::vector<int32_t> tabs;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    int32_t v = 0;
    const auto [next, ec] = std::from_chars(p, end, v);
    if (ec != std::errc()) break;
    tabs.push_back(v);
    p = next == end ? end : next + 1;
  }
  return tabs;
}

std::string FaceOf(const RichDocument& doc, int32_t number) {
  const RichFont* font = doc.FindFont(number);
  if (font == nullptr) font = doc.FindFont(doc.defaultFont);
  return font != nullptr && !font->name.empty() ? font->name : std::string(kDefaultFace);
}

wxRichTextAttr CharAttr(const RichDocument& doc, const CharFormat& f) {
  wxRichTextAttr attr;
  attr.SetFontFaceName(Wx(FaceOf(doc, f.font)));
  attr.SetFontPointSize(std::max(1, f.halfPoints / 2));
  attr.SetFontWeight(f.bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
  attr.SetFontStyle(f.italic ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
  attr.SetFontUnderlined(f.underline);
  if (f.colour > 0 && static_cast<size_t>(f.colour) < doc.colours.size() && !doc.colours[f.colour].automatic) {
    const COLORREF c = doc.colours[f.colour].rgb;
    attr.SetTextColour(wxColour(GetRValue(c), GetGValue(c), GetBValue(c)));
  }
  return attr;
}

void SetCharHints(wxRichTextObject& object, const CharFormat& f) {
  object.GetProperties().SetProperty(kHalfPoints, static_cast<long>(f.halfPoints));
  object.GetProperties().SetProperty(kFontNumber, static_cast<long>(f.font));
}

std::string BulletShown(const RichDocument& doc, const ParaFormat& f) {
  // The symbol font's bullet, read through the code page as a middle dot, shows as a bullet.
  const RichFont* font = doc.FindFont(f.bulletFont);
  if (f.bulletText.empty() || (font != nullptr && font->charset == 2 && f.bulletText == "\xC2\xB7")) {
    return "\xE2\x80\xA2";
  }
  return f.bulletText;
}

wxRichTextAttr ParagraphAttr(const RichDocument& doc, const ParaFormat& f) {
  wxRichTextAttr attr;
  static const wxTextAttrAlignment kAlign[] = {wxTEXT_ALIGNMENT_LEFT, wxTEXT_ALIGNMENT_CENTRE, wxTEXT_ALIGNMENT_RIGHT,
                                               wxTEXT_ALIGNMENT_JUSTIFIED};
  attr.SetAlignment(kAlign[f.alignment]);
  attr.SetLeftIndent(TwipsToTenths(int64_t(f.leftIndent) + f.firstIndent), TwipsToTenths(-int64_t(f.firstIndent)));
  attr.SetRightIndent(TwipsToTenths(f.rightIndent));
  attr.SetParagraphSpacingBefore(TwipsToTenths(f.spaceBefore));
  attr.SetParagraphSpacingAfter(TwipsToTenths(f.spaceAfter));
  wxArrayInt tabs;
  for (const int32_t t : f.tabs) tabs.Add(TwipsToTenths(t));
  attr.SetTabs(tabs);
  if (f.bullet) {
    attr.SetBulletStyle(wxTEXT_ATTR_BULLET_STYLE_SYMBOL);
    attr.SetBulletText(Wx(BulletShown(doc, f)));
    attr.SetBulletFont(Wx(FaceOf(doc, f.bulletFont)));
  } else {
    attr.SetBulletStyle(wxTEXT_ATTR_BULLET_STYLE_NONE);
  }
  return attr;
}

void SetParagraphHints(wxRichTextObject& object, const RichParagraph& p) {
  wxRichTextProperties& props = object.GetProperties();
  const ParaFormat& f = p.format;
  props.SetProperty(kLeftIndent, static_cast<long>(f.leftIndent));
  props.SetProperty(kFirstIndent, static_cast<long>(f.firstIndent));
  props.SetProperty(kRightIndent, static_cast<long>(f.rightIndent));
  props.SetProperty(kSpaceBefore, static_cast<long>(f.spaceBefore));
  props.SetProperty(kSpaceAfter, static_cast<long>(f.spaceAfter));
  props.SetProperty(kTabs, Wx(TabsText(f.tabs)));
  if (f.bullet) {
    props.SetProperty(kBulletFont, static_cast<long>(f.bulletFont));
    props.SetProperty(kBulletIndent, static_cast<long>(f.bulletIndent));
    props.SetProperty(kBulletText, Wx(f.bulletText));
  } else {
    props.Remove(kBulletFont);
  }
  props.SetProperty(kMark, Wx(FormatText(p.markFormat)));
}

// A length the control keeps in tenths of a millimetre: the exact hint while it still gives
// the control's value.
int32_t Exact(const wxRichTextProperties& props, const wxString& name, int tenths) {
  if (props.HasProperty(name)) {
    const long hint = props.GetPropertyLong(name);
    if (TwipsToTenths(hint) == tenths) return static_cast<int32_t>(hint);
  }
  return TenthsToTwips(tenths);
}

// The symbol font new bullets are drawn in, added to the table when missing.
int32_t SymbolFont(RichDocument& doc) {
  constexpr int32_t kSymbolCharset = 2;
  const int32_t number = doc.FontIndex("Symbol");
  for (RichFont& font : doc.fonts) {
    if (font.number == number && font.name == "Symbol") font.charset = kSymbolCharset;
  }
  return number;
}

ParaFormat ReadParagraphFormat(const wxRichTextParagraph& para, RichDocument& doc) {
  const wxRichTextAttr& a = para.GetAttributes();
  const wxRichTextProperties& props = para.GetProperties();
  ParaFormat f;
  switch (a.GetAlignment()) {
    case wxTEXT_ALIGNMENT_CENTRE: f.alignment = ParaFormat::kCenter; break;
    case wxTEXT_ALIGNMENT_RIGHT: f.alignment = ParaFormat::kRight; break;
    case wxTEXT_ALIGNMENT_JUSTIFIED: f.alignment = ParaFormat::kJustify; break;
    default: f.alignment = ParaFormat::kLeft; break;
  }
  const int left = a.HasLeftIndent() ? a.GetLeftIndent() : 0;
  const int sub = a.HasLeftIndent() ? a.GetLeftSubIndent() : 0;
  const long liHint = props.HasProperty(kLeftIndent) ? props.GetPropertyLong(kLeftIndent) : LONG_MIN;
  const long fiHint = props.HasProperty(kFirstIndent) ? props.GetPropertyLong(kFirstIndent) : LONG_MIN;
  if (liHint != LONG_MIN && fiHint != LONG_MIN && TwipsToTenths(int64_t(liHint) + fiHint) == left &&
      TwipsToTenths(-int64_t(fiHint)) == sub) {
    f.leftIndent = static_cast<int32_t>(liHint);
    f.firstIndent = static_cast<int32_t>(fiHint);
  } else {
    f.leftIndent = TenthsToTwips(int64_t(left) + sub);
    f.firstIndent = -TenthsToTwips(sub);
  }
  f.rightIndent = Exact(props, kRightIndent, a.HasRightIndent() ? a.GetRightIndent() : 0);
  f.spaceBefore = Exact(props, kSpaceBefore, a.HasParagraphSpacingBefore() ? a.GetParagraphSpacingBefore() : 0);
  f.spaceAfter = Exact(props, kSpaceAfter, a.HasParagraphSpacingAfter() ? a.GetParagraphSpacingAfter() : 0);
  const wxArrayInt& tabs = a.GetTabs();
  const std::vector<int32_t> tabHints = ParseTabs(Utf8(props.GetPropertyString(kTabs)));
  bool hintsHold = tabHints.size() == tabs.size();
  for (size_t i = 0; hintsHold && i < tabs.size(); ++i) hintsHold = TwipsToTenths(tabHints[i]) == tabs[i];
  if (hintsHold) {
    f.tabs = tabHints;
  } else {
    for (const int t : tabs) f.tabs.push_back(TenthsToTwips(t));
  }
  if (a.HasBulletStyle() && a.GetBulletStyle() != wxTEXT_ATTR_BULLET_STYLE_NONE) {
    f.bullet = true;
    if (props.HasProperty(kBulletFont)) {
      f.bulletFont = static_cast<int32_t>(props.GetPropertyLong(kBulletFont));
      f.bulletIndent = static_cast<int32_t>(props.GetPropertyLong(kBulletIndent));
      f.bulletText = Utf8(props.GetPropertyString(kBulletText));
    }
    if (!props.HasProperty(kBulletFont) || Wx(BulletShown(doc, f)) != a.GetBulletText()) {
      // A bullet made in the editor: the symbol font's bullet, as the control writes it.
      f.bulletFont = SymbolFont(doc);
      f.bulletIndent = 0;
      f.bulletText = "\xC2\xB7";
    }
  }
  return f;
}

// The model's format of combined attributes; `colour` is the colour the text itself or its
// paragraph was given (none: the automatic colour, whatever the control shows by default).
CharFormat FormatOf(const wxRichTextAttr& a, const wxColour& colour, const wxRichTextProperties* props,
                    RichDocument& doc) {
  CharFormat f;
  const std::string face = Utf8(a.GetFontFaceName());
  f.font = face.empty() ? doc.defaultFont : doc.FontIndex(face);
  if (props != nullptr && props->HasProperty(kFontNumber)) {
    const RichFont* hinted = doc.FindFont(static_cast<int32_t>(props->GetPropertyLong(kFontNumber)));
    if (hinted != nullptr && Wx(hinted->name).IsSameAs(Wx(face), false)) f.font = hinted->number;
  }
  const int points = a.HasFontPointSize() ? a.GetFontSize() : CharFormat::kDefaultHalfPoints / 2;
  f.halfPoints = points * 2;
  if (props != nullptr && props->HasProperty(kHalfPoints)) {
    const long hint = props->GetPropertyLong(kHalfPoints);
    if (std::max(1L, hint / 2) == points) f.halfPoints = static_cast<int32_t>(hint);
  }
  f.bold = a.HasFontWeight() && a.GetFontWeight() >= wxFONTWEIGHT_BOLD;
  f.italic = a.HasFontItalic() && a.GetFontStyle() == wxFONTSTYLE_ITALIC;
  f.underline = a.HasFontUnderlined() && a.GetFontUnderlined();
  if (colour.IsOk()) f.colour = doc.ColourIndex(RGB(colour.Red(), colour.Green(), colour.Blue()));
  return f;
}

CharFormat ReadCharFormat(const wxRichTextParagraph& para, const wxRichTextObject& object, RichDocument& doc) {
  const wxRichTextAttr& own = object.GetAttributes();
  const wxRichTextAttr& paraOwn = para.GetAttributes();
  const wxColour colour = own.HasTextColour() ? own.GetTextColour()
                                              : (paraOwn.HasTextColour() ? paraOwn.GetTextColour() : wxColour());
  return FormatOf(para.GetCombinedAttributes(own), colour, &object.GetProperties(), doc);
}

// The picture drawn at its display size at 96 pixels per inch, for the control to show.
wxImage DisplayImage(const RichPicture& picture) {
  const int32_t width = std::clamp(TwipsToDevice(picture.DisplayWidth(), kScreenDpi), 1, 4096);
  const int32_t height = std::clamp(TwipsToDevice(picture.DisplayHeight(), kScreenDpi), 1, 4096);
  ImageDevice page(width, height, kScreenDpi);
  PreparedPicture(picture).Draw(page, Rect{0, 0, width, height});
  const DeviceBitmap bitmap = page.ToBitmap();
  wxImage image(width, height);
  image.InitAlpha();
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t p = bitmap.Data()[static_cast<size_t>(y) * width + x];
      const unsigned a = p >> 24;
      const auto un = [&](unsigned c) { return static_cast<unsigned char>(a == 0 ? 0 : std::min(255u, c * 255 / a)); };
      image.SetRGB(x, y, un((p >> 16) & 0xFF), un((p >> 8) & 0xFF), un(p & 0xFF));
      image.SetAlpha(x, y, static_cast<unsigned char>(a));
    }
  }
  return image;
}

// A picture the control holds without one of ours (pasted by the control itself): its image
// as PNG.
std::optional<RichPicture> PictureOfImage(wxRichTextImage& image) {
  wxRichTextImageBlock& block = image.GetImageBlock();
  wxImage decoded;
  if (!block.IsOk() || !block.Load(decoded) || !decoded.IsOk()) return std::nullopt;
  wxMemoryOutputStream out;
  if (!decoded.SaveFile(out, wxBITMAP_TYPE_PNG)) return std::nullopt;
  RichPicture picture;
  picture.format = RichPicture::Format::kPng;
  picture.data.resize(out.GetSize());
  out.CopyTo(picture.data.data(), picture.data.size());
  picture.width = decoded.GetWidth();
  picture.height = decoded.GetHeight();
  picture.goalWidth = picture.width * 15;
  picture.goalHeight = picture.height * 15;
  return picture;
}

}  // namespace

COleRichEditCtrl::COleRichEditCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxRichTextCtrl(parent, id, wxEmptyString, pos, size, wxRE_MULTILINE | wxVSCROLL | wxWANTS_CHARS) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
}

bool COleRichEditCtrl::SetRtf(std::string_view rtf) {
  const RtfReadResult read = ReadRtf(rtf);
  if (read.stopped) Prompts().ShowMessage(RichTextCache::kReadError, MessageKind::kError);
  SetDocument(read.document);
  return true;
}

std::string COleRichEditCtrl::GetRtf() const { return WriteRtf(GetDocument()); }

std::string COleRichEditCtrl::GetSelText() const { return Utf8(GetStringSelection()); }

wxRichTextObject* COleRichEditCtrl::MakeImage(const RichPicture& picture, const CharFormat& format,
                                              const RichDocument& doc) {
  wxRichTextAttr attr = CharAttr(doc, format);
  wxImage image = DisplayImage(picture);
  wxRichTextImageBlock block;
  block.MakeImageBlock(image, wxBITMAP_TYPE_PNG);
  auto* object = new wxRichTextImage(block, nullptr, &attr);
  object->GetAttributes().GetTextBoxAttr().GetWidth().SetValue(TwipsToTenths(picture.DisplayWidth()),
                                                               wxTEXT_ATTR_UNITS_TENTHS_MM);
  object->GetAttributes().GetTextBoxAttr().GetHeight().SetValue(TwipsToTenths(picture.DisplayHeight()),
                                                                wxTEXT_ATTR_UNITS_TENTHS_MM);
  SetCharHints(*object, format);
  object->GetProperties().SetProperty(kPicture, static_cast<long>(pictures_.size()));
  pictures_.push_back(picture);
  return object;
}

void COleRichEditCtrl::AppendParagraphs(wxRichTextParagraphLayoutBox& box, const RichDocument& doc) {
  for (const RichParagraph& p : doc.paragraphs) {
    wxRichTextAttr paraAttr = ParagraphAttr(doc, p.format);
    wxRichTextAttr markAttr = CharAttr(doc, p.markFormat);
    auto* para = new wxRichTextParagraph(wxEmptyString, &box, &paraAttr, &markAttr);
    SetParagraphHints(*para, p);
    if (!para->GetChildren().IsEmpty()) SetCharHints(*para->GetChildren().GetFirst()->GetData(), p.markFormat);
    bool first = true;
    for (const RichRun& run : p.runs) {
      wxRichTextObject* object = nullptr;
      if (run.IsPicture()) {
        object = MakeImage(*run.picture, run.format, doc);
      } else if (!run.text.empty()) {
        wxString text = Wx(run.text);
        text.Replace("\n", wxString(wxRichTextLineBreakChar));
        wxRichTextAttr attr = CharAttr(doc, run.format);
        object = new wxRichTextPlainText(text, nullptr, &attr);
        SetCharHints(*object, run.format);
      }
      if (object == nullptr) continue;
      if (first) {
        // The empty text the paragraph was made with gives way to the first run.
        para->DeleteChildren();
        first = false;
      }
      para->AppendChild(object);
    }
    box.AppendChild(para);
  }
}

void COleRichEditCtrl::SetDocument(const RichDocument& doc) {
  base_ = doc;
  base_.paragraphs.clear();
  pictures_.clear();
  wxRichTextBuffer& buffer = GetBuffer();
  buffer.ResetAndClearCommands();
  buffer.DeleteChildren();
  wxRichTextAttr basic = CharAttr(doc, CharFormat{doc.defaultFont});
  SetBasicStyle(basic);
  RichDocument content = doc;
  if (content.paragraphs.empty()) content.paragraphs.emplace_back();
  AppendParagraphs(buffer, content);
  buffer.UpdateRanges();
  buffer.Invalidate(wxRICHTEXT_ALL);
  SelectNone();
  SetInsertionPoint(0);
  LayoutContent();
  Refresh();
}

RichDocument COleRichEditCtrl::GetDocument() const {
  RichDocument doc = base_;
  for (const wxRichTextObject* child : GetBuffer().GetChildren()) {
    const auto* para = wxDynamicCast(child, wxRichTextParagraph);
    if (para == nullptr) continue;
    RichParagraph p;
    p.format = ReadParagraphFormat(*para, doc);
    for (wxRichTextObject* object : para->GetChildren()) {
      if (auto* image = wxDynamicCast(object, wxRichTextImage)) {
        RichRun run;
        run.format = ReadCharFormat(*para, *image, doc);
        const wxRichTextProperties& props = image->GetProperties();
        if (props.HasProperty(kPicture)) {
          const long index = props.GetPropertyLong(kPicture);
          if (index >= 0 && static_cast<size_t>(index) < pictures_.size()) run.picture = pictures_[static_cast<size_t>(index)];
        }
        if (!run.picture) run.picture = PictureOfImage(*image);
        if (run.picture) p.runs.push_back(std::move(run));
        continue;
      }
      const auto* text = wxDynamicCast(object, wxRichTextPlainText);
      if (text == nullptr || text->GetText().empty()) continue;
      wxString value = text->GetText();
      value.Replace(wxString(wxRichTextLineBreakChar), "\n");
      RichRun run;
      run.format = ReadCharFormat(*para, *text, doc);
      run.text = Utf8(value);
      // Neighbours of one format are one run, as reading RTF makes them.
      if (!p.runs.empty() && !p.runs.back().IsPicture() && p.runs.back().format == run.format) {
        p.runs.back().text += run.text;
      } else {
        p.runs.push_back(std::move(run));
      }
    }
    // The paragraph mark keeps the format it was given; a paragraph made in the editor takes
    // its last run's.
    const wxRichTextProperties& props = para->GetProperties();
    std::optional<CharFormat> mark;
    if (props.HasProperty(kMark)) mark = ParseFormat(Utf8(props.GetPropertyString(kMark)));
    if (mark) {
      p.markFormat = *mark;
    } else if (!p.runs.empty()) {
      p.markFormat = p.runs.back().format;
    } else if (!para->GetChildren().IsEmpty()) {
      p.markFormat = ReadCharFormat(*para, *para->GetChildren().GetFirst()->GetData(), doc);
    }
    doc.paragraphs.push_back(std::move(p));
  }
  if (doc.paragraphs.empty()) doc.paragraphs.emplace_back();
  return doc;
}

void COleRichEditCtrl::InsertDocument(const RichDocument& doc) {
  if (HasSelection()) DeleteSelection();
  wxRichTextParagraphLayoutBox box;
  AppendParagraphs(box, doc);
  // What follows the last \par joins the text after the insertion point.
  box.SetPartialParagraph(true);
  box.UpdateRanges();
  GetFocusObject()->InsertParagraphsWithUndo(&GetBuffer(), GetInsertionPoint(), box, this, 0);
}

void COleRichEditCtrl::InsertPicture(const RichPicture& picture) {
  if (HasSelection()) DeleteSelection();
  const long pos = GetInsertionPoint();
  wxRichTextAttr style;
  GetStyle(pos, style);
  RichDocument doc = base_;
  const CharFormat format = FormatOf(style, wxColour(), nullptr, doc);
  base_.fonts = doc.fonts;
  wxRichTextObject* object = MakeImage(picture, format, doc);
  GetFocusObject()->InsertObjectWithUndo(&GetBuffer(), pos, object, this, 0);
}

void COleRichEditCtrl::ToggleBullets() {
  const long pos = GetInsertionPoint();
  const wxRichTextRange range = HasSelection() ? GetSelectionRange() : wxRichTextRange(pos, pos);
  wxRichTextAttr current;
  GetStyle(range.GetStart(), current);
  const bool on = current.HasBulletStyle() && current.GetBulletStyle() != wxTEXT_ATTR_BULLET_STYLE_NONE;
  ParaFormat format;
  if (!on) {
    format.bullet = true;
    format.leftIndent = 720;
    format.firstIndent = -360;
    format.bulletFont = SymbolFont(base_);
    format.bulletText = "\xC2\xB7";
  }
  wxRichTextAttr attr = ParagraphAttr(base_, format);
  attr.SetFlags(wxTEXT_ATTR_BULLET_STYLE | wxTEXT_ATTR_BULLET_TEXT | wxTEXT_ATTR_LEFT_INDENT);
  SetStyleEx(range, attr, wxRICHTEXT_SETSTYLE_WITH_UNDO | wxRICHTEXT_SETSTYLE_PARAGRAPHS_ONLY);
  // The exact indents and the bullet ride along with each paragraph changed.
  for (wxRichTextObject* child : GetFocusObject()->GetChildren()) {
    auto* para = wxDynamicCast(child, wxRichTextParagraph);
    if (para == nullptr || !!para->GetRange().IsOutside(range)) continue;
    wxRichTextProperties& props = para->GetProperties();
    props.SetProperty(kLeftIndent, static_cast<long>(format.leftIndent));
    props.SetProperty(kFirstIndent, static_cast<long>(format.firstIndent));
    if (format.bullet) {
      props.SetProperty(kBulletFont, static_cast<long>(format.bulletFont));
      props.SetProperty(kBulletIndent, 0L);
      props.SetProperty(kBulletText, Wx(format.bulletText));
    } else {
      props.Remove(kBulletFont);
    }
  }
}

}  // namespace vornel
