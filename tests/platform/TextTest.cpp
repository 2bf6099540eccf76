#include <gtest/gtest.h>

#include <cstdarg>
#include <limits>

#include "platform/text/AsciiCase.h"
#include "platform/text/FormatText.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"

namespace vornel {
namespace {

std::string Appended(std::string out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(out, format, args);
  va_end(args);
  return out;
}

TEST(NumberText, WritesTheFilesForms) {
  EXPECT_EQ(FormatInt(-1), "-1");
  EXPECT_EQ(FormatInt(static_cast<int32_t>(0xFFFFFFFFu)), "-1");
  EXPECT_EQ(FormatUnsigned(4294967295u), "4294967295");
  EXPECT_EQ(FormatReal(0.1), "0.10000000000000001");
  EXPECT_EQ(FormatReal(1536), "1536");
  EXPECT_EQ(FormatReal(4294967295.0), "4294967295");
  EXPECT_EQ(FormatReal(1e21), "1e+21");
  EXPECT_EQ(FormatReal(0.25), "0.25");
}

TEST(NumberText, ScansLikeTheCLibrary) {
  struct Case {
    const char* text;
    bool found;
    uint32_t value;
  };
  for (const Case c : {Case{"12", true, 12}, Case{"  -1", true, 0xFFFFFFFFu}, Case{"3.9", true, 3},
                       Case{"+7", true, 7}, Case{"4294967295", true, 0xFFFFFFFFu},
                       Case{"4294967296", true, 0},  // wraps modulo 2^32
                       Case{"99999999999999999999", true, 1661992959u}, Case{"", false, 0},
                       Case{"x1", false, 0}, Case{"-", false, 0}, Case{"12abc", true, 12}}) {
    uint32_t value = 0;
    EXPECT_EQ(ScanInt(c.text, value), c.found) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
  double real = 0;
  EXPECT_TRUE(ScanReal(" 1536.75xyz", real));
  EXPECT_EQ(real, 1536.75);
  EXPECT_TRUE(ScanReal("+2e3", real));
  EXPECT_EQ(real, 2000);
  EXPECT_TRUE(ScanReal("1e999", real));
  EXPECT_EQ(real, std::numeric_limits<double>::infinity());
  real = 5;
  EXPECT_FALSE(ScanReal("abc", real));
  EXPECT_EQ(real, 5);
}

TEST(TextConversion, Utf16AndUtf8) {
  EXPECT_EQ(WideToUtf8(u""), "");
  EXPECT_EQ(WideToUtf8(u"Luth \u00E0 \u0152"), "Luth \xC3\xA0 \xC5\x92");
  EXPECT_EQ(WideToUtf8(u"\U0001D11E"), "\xF0\x9D\x84\x9E");
  EXPECT_EQ(WideToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
  EXPECT_EQ(Utf8ToWide("\xF0\x9D\x84\x9E"), u"\U0001D11E");
  EXPECT_EQ(Utf8ToWide("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToWide("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong form
}

TEST(TextConversion, EightBitTextIsUtf8WhenValidElseWindows1252) {
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
  EXPECT_FALSE(IsValidUtf8("caf\xE9"));
  EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));
  EXPECT_EQ(Decode8BitText("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(Decode8BitText("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(Cp1252ToUtf8("\x80\x9F\x81"), "\xE2\x82\xAC\xC5\xB8\xC2\x81");
}

TEST(AsciiCase, FoldsOnlyAsciiLettersAndChecksLengths) {
  EXPECT_TRUE(EqualsNoCase("VornelFg", "VORNELFG"));
  EXPECT_FALSE(EqualsNoCase("VornelFg", "VornelFgx"));
  // Bytes of UTF-8 text never fold, whatever the locale.
  EXPECT_FALSE(EqualsNoCase("\xC3\xA9", "\xC3\x89"));
  EXPECT_EQ(AsciiLower("QX_Lute \xC3\x89"), "qx_lute \xC3\x89");
  EXPECT_TRUE(StartsWithNoCase("qx_Lute", "QX_"));
  EXPECT_FALSE(StartsWithNoCase("QX", "QX_"));
  EXPECT_TRUE(EndsWithNoCase("/a/PIECE.Btb", ".btb"));
  EXPECT_FALSE(EndsWithNoCase("btb", ".btb"));
}

TEST(FormatText, AppendsShortAndLongTexts) {
  EXPECT_EQ(Appended("log: ", "%d,%s", -3, "x"), "log: -3,x");
  // Beyond the stack buffer the text is formatted a second time, after what was there.
  const std::string longWord(1000, 'w');
  EXPECT_EQ(Appended("log: ", "[%s] %d", longWord.c_str(), 7), "log: [" + longWord + "] 7");
}

}  // namespace
}  // namespace vornel
