#include "view/draw/TestCard.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/MulDiv.h"
#include "model/text/dfLogFont.h"
#include "view/draw/CCurvicule.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

namespace {

// The card is laid out in units of 1/96 inch at zoom 100.
constexpr int32_t kCardWidth = 800;
constexpr int32_t kCardHeight = 1130;

class Card {
 public:
  Card(DeviceContext& device, int32_t zoomPercent)
      : dc(device), zoom(zoomPercent < 1 ? 100 : zoomPercent), g(device, zoom) {}

  int32_t U(int32_t v) const { return MulDiv(v, dc.LogPixelsX() * zoom, 96 * 100); }
  Point P(int32_t x, int32_t y) const { return {U(x), U(y)}; }
  Rect R(int32_t l, int32_t t, int32_t r, int32_t b) const { return {U(l), U(t), U(r), U(b)}; }

  void Font(const char* face, int32_t sizePoints, int32_t weight = FW_NORMAL, bool italic = false,
            int32_t escapement = 0, bool underline = false) {
    FontSpec f;
    f.lfFaceName = face;
    f.lfHeight = -MulDiv(MulDiv(sizePoints, zoom, 100), dc.LogPixelsY(), 72);
    f.lfWeight = weight;
    f.lfItalic = italic ? 1 : 0;
    f.lfUnderline = underline ? 1 : 0;
    f.lfEscapement = escapement;
    f.lfOrientation = escapement;
    dc.SelectFont(f);
  }

  // A music face at an em given in card units.
  void MusicFace(const char* face, int32_t em) {
    FontSpec f;
    f.lfFaceName = face;
    f.lfHeight = -U(em);
    dc.SelectFont(f);
  }

  void Label(int32_t x, int32_t y, const char* text) {
    Font("Arial", 8);
    dc.SetTextColor(0x505050);
    dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    dc.TextOut(U(x), U(y), text);
    dc.SetTextColor(0);
  }

  void Cross(int32_t x, int32_t y) {
    const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, 1, 0x0000FF));
    dc.MoveTo(U(x) - 4, U(y));
    dc.LineTo(U(x) + 5, U(y));
    dc.MoveTo(U(x), U(y) - 4);
    dc.LineTo(U(x), U(y) + 5);
    dc.SelectPen(old);
  }

  void Title();
  void Pens();
  void Brushes();
  void Shapes();
  void TextAlignment();
  void TextBoxes();
  void Glyphs();
  void Primitives();
  void Brackets();
  void Curves();
  void Bitmaps();
  void Texts();

  DeviceContext& dc;
  int32_t zoom;
  GraphicUtil g;
};

void Card::Title() {
  Font("Times New Roman", 18, FW_BOLD);
  dc.SetTextAlign(TA_LEFT | TA_BASELINE);
  dc.TextOut(U(20), U(34), "Drawing layer test card");
  char line[96];
  std::snprintf(line, sizeof line, "%d dpi, zoom %d%%%s", dc.LogPixelsX(), zoom, dc.IsPrinting() ? ", printing" : "");
  Label(560, 34, line);
}

void Card::Pens() {
  Label(20, 60, "Pens: cosmetic 1 px, wide round, styles, user dashes, caps and joins");
  const uint32_t styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
  for (int i = 0; i < 5; ++i) {
    dc.SelectPen(Pen::Create(styles[i], 1, 0));
    dc.MoveTo(U(20), U(70 + 8 * i));
    dc.LineTo(U(200), U(70 + 8 * i));
  }
  dc.SelectPen(Pen::Extended(PS_COSMETIC | PS_ALTERNATE, 1, 0x0000C8));
  dc.MoveTo(U(20), U(112));
  dc.LineTo(U(200), U(112));
  dc.SelectPen(Pen::Extended(PS_GEOMETRIC | PS_USERSTYLE, 2, 0x008000, {12, 4, 2, 4}));
  dc.MoveTo(U(20), U(120));
  dc.LineTo(U(200), U(120));
  const int widths[] = {2, 4, 8, 12};
  for (int i = 0; i < 4; ++i) {
    dc.SelectPen(Pen::Create(PS_SOLID, U(widths[i]), RGB(static_cast<uint8_t>(60 * i), 0, 160)));
    dc.MoveTo(U(230 + 40 * i), U(70));
    dc.LineTo(U(250 + 40 * i), U(120));
  }
  const uint32_t caps[] = {PS_ENDCAP_ROUND | PS_JOIN_ROUND, PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                           PS_ENDCAP_FLAT | PS_JOIN_BEVEL};
  for (int i = 0; i < 3; ++i) {
    dc.SelectPen(Pen::Extended(PS_GEOMETRIC | PS_SOLID | caps[i], U(10), 0x808080));
    const Point zig[] = {P(420 + 60 * i, 120), P(440 + 60 * i, 76), P(460 + 60 * i, 120)};
    dc.Polyline(zig);
    dc.SelectPen(Pen::Create(PS_SOLID, 1, 0x0000FF));
    dc.Polyline(zig);
  }
  dc.SelectStockPen(StockObject::kBlackPen);
}

void Card::Brushes() {
  Label(20, 148, "Brushes: solid, stock, null, pattern; even-odd and winding fills");
  const COLORREF colours[] = {0x0000FF, 0x00C000, 0xFF0000, 0x00C8C8};
  for (int i = 0; i < 4; ++i) {
    dc.SelectBrush(Brush::Solid(colours[i]));
    dc.Rectangle(R(20 + 34 * i, 156, 50 + 34 * i, 186));
  }
  dc.SelectStockBrush(StockObject::kBlackBrush);
  dc.Rectangle(R(160, 156, 190, 186));
  dc.SelectStockBrush(StockObject::kNullBrush);
  dc.Rectangle(R(196, 156, 226, 186));
  auto checker = std::make_shared<DeviceBitmap>(8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) checker->SetPixel(x, y, ((x / 4 + y / 4) % 2) ? 0xC86432 : 0xF0F0F0);
  }
  dc.SelectBrush(Brush::Pattern(checker));
  dc.Ellipse(R(234, 156, 300, 186));
  // A five-pointed star: the middle is left open by the even-odd rule only.
  for (int mode = 0; mode < 2; ++mode) {
    dc.SetPolyFillMode(mode == 0 ? ALTERNATE : WINDING);
    dc.SelectBrush(Brush::Solid(0x3070E0));
    const int cx = 340 + 50 * mode;
    const Point star[] = {P(cx, 154), P(cx + 13, 188), P(cx - 20, 166), P(cx + 20, 166), P(cx - 13, 188)};
    dc.Polygon(star);
  }
  dc.SetPolyFillMode(ALTERNATE);
  dc.FillRect(R(440, 156, 480, 186), Brush::Solid(0xE0E0E0));
  dc.FrameRect(R(440, 156, 480, 186), Brush::Solid(0));
  dc.Draw3dRect(R(490, 156, 530, 186), 0xFFFFFF, 0x404040);
  dc.FillSolidRect(R(492, 158, 528, 184), 0xC0C0C0);
  dc.SelectStockBrush(StockObject::kWhiteBrush);
}

void Card::Shapes() {
  Label(20, 214, "Paths with Bezier segments, clipping, rectangles excluding right and bottom");
  dc.SelectBrush(Brush::Solid(0x60A060));
  dc.SelectPen(Pen::Create(PS_SOLID, U(2), 0x205020));
  dc.BeginPath();
  dc.MoveTo(U(20), U(260));
  const Point wave[] = {P(50, 210), P(80, 310), P(110, 260), P(130, 230), P(150, 240), P(160, 260)};
  dc.PolyBezierTo(wave);
  dc.CloseFigure();
  dc.EndPath();
  dc.StrokeAndFillPath();
  dc.SaveDC();
  dc.IntersectClipRect(R(180, 222, 240, 262));
  dc.SelectBrush(Brush::Solid(0xD07020));
  dc.SelectPen(Pen::Create(PS_SOLID, 1, 0));
  dc.Ellipse(R(170, 212, 260, 282));
  dc.RestoreDC(-1);
  dc.SelectPen(Pen::Create(PS_SOLID, 1, 0));
  dc.SelectStockBrush(StockObject::kNullBrush);
  dc.Rectangle(R(180, 222, 240, 262));
  // Pixel-exact squares side by side: each one's right edge is the next one's left.
  for (int i = 0; i < 4; ++i) dc.FillSolidRect(R(260 + 10 * i, 222, 270 + 10 * i, 232), i % 2 ? 0 : 0x808080);
  dc.SelectStockBrush(StockObject::kWhiteBrush);
}

void Card::TextAlignment() {
  Label(20, 300, "TextOut alignment (cross = reference point), escapement, faces and styles");
  const unsigned horizontal[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
  const unsigned vertical[] = {TA_TOP, TA_BASELINE, TA_BOTTOM};
  dc.SetBkMode(TRANSPARENT);
  for (int v = 0; v < 3; ++v) {
    for (int h = 0; h < 3; ++h) {
      const int x = 60 + 80 * h;
      const int y = 322 + 28 * v;
      Font("Arial", 11);
      dc.SetTextAlign(horizontal[h] | vertical[v]);
      dc.TextOut(U(x), U(y), "Align");
      Cross(x, y);
    }
  }
  const int32_t angles[] = {0, 300, 900, -450};
  for (int i = 0; i < 4; ++i) {
    Font("Times New Roman", 12, FW_NORMAL, false, angles[i]);
    dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    dc.TextOut(U(340 + 45 * i), U(380), "Rotated");
    Cross(340 + 45 * i, 380);
  }
  const char* faces[] = {"Arial", "Times New Roman", "Arial Narrow", "Courier New", "VN_Quintelle"};
  for (int i = 0; i < 5; ++i) {
    Font(faces[i], 11, i == 1 ? FW_BOLD : FW_NORMAL, i == 2, 0, i == 3);
    dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    dc.TextOut(U(560), U(320 + 18 * i), faces[i]);
  }
  dc.SetBkMode(OPAQUE);
  dc.SetBkColor(0xA0FFFF);
  Font("Arial", 11);
  dc.TextOut(U(560), U(420), "Opaque background");
  dc.SetBkMode(TRANSPARENT);
}

void Card::TextBoxes() {
  Label(20, 440, "DrawText in rectangles: left/centre/right x top/vcentre/bottom, word wrap");
  const unsigned h[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  const unsigned v[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
  Font("Arial", 10);
  dc.SetTextAlign(TA_LEFT | TA_TOP);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      Rect box = R(20 + 84 * j, 450 + 30 * i, 100 + 84 * j, 476 + 30 * i);
      g.DrawRectOutline({box.left, box.top, box.right - 1, box.bottom - 1}, 0xC0C0C0);
      dc.DrawText("Text", box, h[j] | v[i] | DT_SINGLELINE);
    }
  }
  Rect wrap = R(290, 450, 420, 540);
  g.DrawRectOutline({wrap.left, wrap.top, wrap.right - 1, wrap.bottom - 1}, 0xC0C0C0);
  dc.DrawText("Several words wrapped at the width of the box, centred.", wrap, DT_CENTER | DT_WORDBREAK);
  Rect calc = R(440, 456, 0, 0);
  dc.DrawText("Measured &box", calc, DT_CALCRECT | DT_SINGLELINE);
  dc.FillSolidRect(calc, 0xD0F0D0);
  dc.DrawText("Measured &box", calc, DT_SINGLELINE);
  g.DrawGlyphsInRect("VornelNotation", "\xC2\xA5", 1, 0x0000C0, false, R(440, 490, 480, 530));
  g.DrawRectOutline(R(440, 490, 479, 529), 0xC0C0C0);
  g.DrawGlyphsInRect("VornelTabFlags", "T", 1, 0, false, R(490, 490, 530, 530));
  g.DrawRectOutline(R(490, 490, 529, 529), 0xC0C0C0);
  g.DrawGlyphsInRect("TabDefault", "3", 1, 0, true, R(540, 490, 580, 530));
  g.DrawRectOutline(R(540, 490, 579, 529), 0xC0C0C0);
}

void Card::Glyphs() {
  Label(20, 560, "Glyph faces: notation, flags, tablature letters, figures, a missing code");
  // A five-line staff with a clef, notes, accidentals, dots and rests.
  const int top = 590;
  const int space = 8;
  dc.SelectPen(Pen::Create(PS_SOLID, 1, 0));
  for (int i = 0; i < 5; ++i) {
    dc.MoveTo(U(20), U(top + space * i));
    dc.LineTo(U(420), U(top + space * i));
  }
  MusicFace("VornelNotation", 4 * space);
  dc.SetTextAlign(TA_LEFT | TA_BASELINE);
  const int bottom = top + 4 * space;
  dc.TextOut(U(24), U(bottom), "\x22");  // G clef on the bottom line
  dc.TextOut(U(60), U(bottom), "\xC2\x96");
  dc.TextOut(U(74), U(bottom - space * 3 / 2), "\xC2\x97");
  const char* notes[] = {"d", "e", "f", "g", "h", "n", "o"};  // codes 100..104, 110, 111
  for (int i = 0; i < 7; ++i) dc.TextOut(U(100 + 26 * i), U(bottom - space / 2 * (i % 5)), notes[i]);
  dc.TextOut(U(136), U(bottom - space), "\xC2\x9A");
  const char* rests[] = {"y", "z", "{", "|", "}"};  // codes 121..125
  for (int i = 0; i < 5; ++i) dc.TextOut(U(290 + 24 * i), U(top + 2 * space), rests[i]);
  dc.TextOut(U(400), U(bottom), "\xEF\xBF\xBD");  // a code the table does not know
  // Flags above a tablature, letters and numbers on it.
  MusicFace("VornelTabFlags", 2 * 14);
  const char* flags[] = {"o", "p", "q", "r", "s", "\xC2\x82", "\xC2\x83"};  // 111..115, 130, 131
  for (int i = 0; i < 7; ++i) dc.TextOut(U(450 + 24 * i), U(bottom), flags[i]);
  Font("VN_Quintelle", 14);
  dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  const char* letters[] = {"a", "b", "c", "d", "e", "f", "p", "3", "10", "L"};
  for (int i = 0; i < 10; ++i) dc.TextOut(U(450 + 30 * i), U(bottom + 26), letters[i]);
  Font("VornelFg", 14);
  dc.SetTextAlign(TA_LEFT | TA_BASELINE);
  dc.TextOut(U(450), U(bottom + 52), "6 5# 4+ $7 6\" ! p i m a");
  Font("VAVADURURA", 20);
  dc.TextOut(U(700), U(bottom + 52), "C");
}

void Card::Primitives() {
  Label(20, 700, "GraphicUtil: lines, tuplet bracket, frames, arrow, triangle, texts");
  g.DrawLine(30, 0x0000C0, PS_SOLID, U(20), U(712), U(180), U(712));
  g.DrawLine(30, 0, 1, U(20), U(720), U(180), U(720));
  g.DrawLine(0, 0x008000, 2, U(20), U(728), U(180), U(728));
  g.DrawThinLine(10, 0xC00000, U(20), U(736), U(180), U(736));
  g.DrawTwoSegmentLine(40, U(20), U(746), U(120), U(746), U(120), U(762));
  g.DrawTupletBracket(U(-8), 3, false, U(200), U(740), U(320), U(730));
  g.DrawVerticalLine(35, 0, U(340), U(708), U(54), false);
  g.DrawFilledRect(0x808080, U(10), 1, U(360), U(708), U(54));
  Rect frame = R(390, 708, 520, 762);
  for (int i = 0; i < 3; ++i) frame = g.DrawBorderFrame(5, frame);
  g.DrawArrow(U(100), U(540), U(720));
  g.DrawTriangle(0, 0x64FA64, U(680), U(712), U(8), U(12));
  g.DrawTriangle(1, 0x0000C8, U(710), U(724), U(8), U(12));
  g.DrawTextAt(U(540), U(756), "DrawTextAt", 10, 0, 0x800000, TA_LEFT | TA_BASELINE);
}

void Card::Texts() {
  Label(20, 1046, "Text drawing: boxed and framed, justified block, hyperlink, label, stacked, circled");
  dfLogFont font;
  font.InitFont("Times New Roman", 110, 0);
  font.color = 0x400000;
  DrawFontText("Boxed and framed", font, dc, TA_LEFT | TA_BASELINE, static_cast<float>(zoom), 0,
               kTextBox | kTextFrame | kTextDarkFrame, U(24), U(1070));
  font.parentSize.cx = 600;  // 60 mm
  DrawFontText("Left@centre@right@\n", font, dc, TA_LEFT | TA_TOP, static_cast<float>(zoom), 0, kTextFrame, U(190),
               U(1058));
  dfLogFont link;
  link.InitFont("Arial", 100, 0);
  link.color = 0xC00000;
  DrawHyperlinkLabel(link, "https://example.org|A hyperlink", static_cast<float>(zoom), true, U(440), U(1070), dc);
  DrawLabelBox(link, "Label box", U(580), U(1058), dc);
  DrawStackedText(font, "ABC", static_cast<float>(zoom), U(680), U(1052), true, dc);
  dfLogFont signature;
  signature.InitFont("TabDefault", 120, 0);
  DrawStackedNumbers(signature, g, R(700, 1050, 724, 1074), 3, 4);
  g.DrawCircledNumber(7, U(760), U(1070));
}

void Card::Brackets() {
  Label(20, 786, "Brackets 0-7 and the system brace");
  const int y = 800;
  const int h = 120;
  g.DrawSquareBracket(6, 0, U(30), U(y), U(h));
  g.DrawSystemBrace(U(h), 3, 0, U(100), U(y));
  g.DrawCurvedBracket(5, 0, U(150), U(y), U(h));
  g.DrawThickBracket(3, 5, 0, U(200), U(y), U(h));
  g.DrawThickBracket(4, 5, 0, U(260), U(y), U(h));
  g.DrawArcBracket(5, 0, U(330), U(y), U(h), U(10));
  g.DrawBlockBracket(6, 5, 0, U(370), U(y), U(h), U(24));
  g.DrawBlockBracket(7, 5, 1, U(440), U(y), U(h), U(24));
  g.DrawSquareBracket(6, 1, U(490), U(y), U(h));
}

void Card::Curves() {
  Label(520, 786, "Curves");
  g.DrawSlur(U(-16), 1, U(530), U(830), U(760), U(820));
  g.DrawSlur(U(14), 0, U(530), U(850), U(640), U(870));
  g.DrawSlur(0, 1, U(660), U(860), U(760), U(860));
  g.DrawTupletCurve(U(-14), 3, 0, 0, U(530), U(900), U(650));
  g.DrawTupletCurve(U(-14), 6, 0x100, 0, U(660), U(900), U(780));
  CCurvicule chain(&dc);
  chain.height = U(6);
  chain.middleThickness = U(2);
  chain.endThickness = U(1);
  chain.chord.Set(U(530), U(940), U(770), U(940));
  chain.DrawArcChain(5, false);
  CCurvicule pointed(&dc);
  pointed.height = U(-20);
  pointed.middleThickness = U(4);
  pointed.endThickness = U(3);
  pointed.pointedEnds = true;
  pointed.SetColour(0x0000C8);
  pointed.Draw(U(530), U(990), U(650), U(980));
  CCurvicule construction(&dc);
  construction.height = U(18);
  construction.outlineMode = true;
  Font("Arial", 8);
  construction.Draw(U(670), U(960), U(770), U(960));
}

void Card::Bitmaps() {
  Label(20, 950, "Bitmaps: copied, stretched, with a colour key");
  DeviceBitmap image(16, 16, 0xFF00FF);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      if ((x - 8) * (x - 8) + (y - 8) * (y - 8) < 40) image.SetPixel(x, y, RGB(static_cast<uint8_t>(x * 16), 80, 200));
    }
  }
  dc.BitBlt(U(20), U(960), 16, 16, image, 0, 0);
  dc.StretchBlt(R(50, 960, 114, 1024), image, {0, 0, 16, 16});
  dc.FillSolidRect(R(130, 960, 194, 1024), 0x30C030);
  dc.TransparentBlt(R(130, 960, 194, 1024), image, {0, 0, 16, 16}, 0xFF00FF);
  TileBitmapBackground(dc, image, R(210, 960, 330, 1024), {0, 0});
  g.DrawBitmapResource(&image, U(400), U(1024));
}

}  // namespace

Size TestCardSize(int32_t dpi, int32_t zoom) {
  if (zoom < 1) zoom = 100;
  if (dpi < 1) dpi = 96;
  return {MulDiv(kCardWidth, dpi * zoom, 96 * 100), MulDiv(kCardHeight, dpi * zoom, 96 * 100)};
}

void DrawTestCard(DeviceContext& dc, int32_t zoom) {
  Card card(dc, zoom);
  dc.SaveDC();
  card.Title();
  card.Pens();
  card.Brushes();
  card.Shapes();
  card.TextAlignment();
  card.TextBoxes();
  card.Glyphs();
  card.Primitives();
  card.Brackets();
  card.Curves();
  card.Bitmaps();
  card.Texts();
  dc.RestoreDC(-1);
}

}  // namespace vornel
