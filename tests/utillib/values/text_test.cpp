#include "utillib/values/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "utillib/values/values_support.h"

namespace utillib {
namespace {

using values_test::HugeText;

// Runs an in-place operation on a copy of text.
std::string InPlace(char* (*operation)(char*), const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  EXPECT_EQ(buffer.data(), operation(buffer.data()));
  return buffer.data();
}

TEST(TextInPlace, Cleaning) {
  struct Case {
    char* (*operation)(char*);
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {TrimBlanks, " \t a  b \t ", "a  b"},
      {TrimBlanks, " \t\t ", ""},
      {TrimBlanks, "", ""},
      {TrimBlanks, "x", "x"},
      {CollapseSpaces, "  a   b ", "a b"},
      {CollapseSpaces, "a \t  b", "a \t b"},
      {Unquote, "'abc'", "abc"},
      {Unquote, "'abc", "abc"},
      {Unquote, "abc'", "abc"},
      {Unquote, "'ab'cd'", "ab"},
      {Unquote, "''", ""},
      {Unquote, "'", ""},
      {Unquote, "", ""},
      {Unquote, "a'b", "a'b"},
      {CutAtSemicolon, "a;b;c", "a"},
      {CutAtSemicolon, "abc", "abc"},
      {CutAtSemicolon, ";", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, InPlace(c.operation, c.text)) << c.text;
}

TEST(TextInPlace, ExpandCharCodes) {
  struct Case {
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {"x(CHR 65)y", "xAy"},
      {"(chr 65)", "(chr 65)"},
      {"(CHR 65", "(CHR 65"},
      {"a(b(CHR 66)c", "a(bBc"},
      {"x(CHR 0)y", "x"},
      {"(CHR 321)", "A"},
      {"(CHR )z", ""},
      {"(CHR x)z", ""},
      {"(CHR   66)", "B"},
      {"(CHR65)", "(CHR65)"},
      {"(a)(CHR 67)(b", "(a)C(b"},
      {"((CHR 68)", "(D"},
      {"(CHR 69)(CHR 70)", "EF"},
      {"(CHR 4294967361)", "A"},  // the low 8 bits of the number
      {"plain (text)", "plain (text)"},
      {"(CHR 65)(CHR 66", "A(CHR 66"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, InPlace(ExpandCharCodes, c.text)) << c.text;
}

TEST(TextInPlace, Umlauts) {
  const std::string latin1 = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF \xE9 x";
  const std::string utf8 = "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xE9 x";
  EXPECT_EQ(utf8, InPlace(Latin1UmlautsToUtf8, latin1));
  EXPECT_EQ(latin1, InPlace(Utf8UmlautsToLatin1, utf8));
  // Other UTF-8 sequences stay: é is C3 A9, and a lone lead byte at the end.
  EXPECT_EQ("\xC3\xA9\xC3", InPlace(Utf8UmlautsToLatin1, "\xC3\xA9\xC3"));

  // The bounded form never leaves a letter half expanded.
  char buffer[6] = "a\xE4\xF6";
  EXPECT_STREQ("a\xC3\xA4", Latin1UmlautsToUtf8(buffer, 5));
  std::strcpy(buffer, "a\xE4\xF6");
  EXPECT_STREQ("a\xC3\xA4\xC3\xB6", Latin1UmlautsToUtf8(buffer, sizeof(buffer)));
  std::strcpy(buffer, "abcd");
  EXPECT_STREQ("abc", Latin1UmlautsToUtf8(buffer, 4));
}

TEST(TextCopies, Table) {
  struct Case {
    std::function<char*(const char*)> operation;
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {UpperCopy,
       "\xE4"
       "bc",
       "\xE4"
       "BC"},
      {LowerCopy, "A\xC4Z[", "a\xC4z["},
      {JoinLines, "a\r\nb<br>c\n", "a b c"},
      {JoinLines, "a<BR>b", "a<BR>b"},
      {JoinLines, "a\rb\t\nc\td", "a b c\td"},
      {JoinLines, "a\n\n", "a "},
      {JoinLines, "", ""},
      {TransliterateUmlauts,
       "Gr\xF6\xDF"
       "e",
       "Groe\xDF"
       "e"},
      {TransliterateUmlauts, "\xC4\xD6\xDC\xE4\xF6\xFC", "AeOeUeaeoeue"},
      {[](const char* t) { return ReplaceAll(t, "aa", "b"); }, "aaa", "ba"},
      {[](const char* t) { return ReplaceAll(t, "", "b"); }, "aaa", "aaa"},
      {[](const char* t) { return ReplaceAll(t, "ab", ""); }, "aabab", "a"},
      {[](const char* t) { return ReplaceAll(t, "aab", "x"); }, "aaab aab", "ax x"},
      {[](const char* t) { return ReplaceAll(t, "abcd", "x"); }, "abc", "abc"},
      {[](const char* t) { return ReplaceAll(t, "a", "aa"); }, "aba", "aabaa"},
      {[](const char* t) { return WrapText(t, false, 7); }, "aaa bbb ccc", "aaa \nbbb ccc"},
      {[](const char* t) { return WrapText(t, true, 7); }, "aaa bbb ccc", "aaa <br>bbb ccc"},
      {[](const char* t) { return WrapText(t, false, 11); }, "aaa bbb ccc", "aaa bbb ccc"},
      {[](const char* t) { return WrapText(t, false, 2); }, "aaaaa b", "aaaaa \nb"},
      {[](const char* t) { return WrapText(t, false, 0); }, "a b c", "a \nb \nc"},
      {[](const char* t) { return WrapText(t, false, 0); }, "", ""},
      {[](const char* t) { return WrapTextWith(t, '|', 7); }, "aaa bbb ccc", "aaa |bbb ccc"},
      // A newline in the text does not start a new line for the count.
      {[](const char* t) { return WrapTextWith(t, '|', 6); }, "a\nb cc dd", "a\nb |cc dd"},
      {[](const char* t) { return GetField(t, 1, ';'); }, "a;;c", ""},
      {[](const char* t) { return GetField(t, 2, ';'); }, "a;;c", "c"},
      {[](const char* t) { return GetField(t, 3, ';'); }, "a;;c", ""},
      {[](const char* t) { return GetField(t, -1, ';'); }, "a;;c", ""},
      {[](const char* t) { return GetField(t, 0, ';'); }, "a(CHR 59)b;c", "a;b"},
      {[](const char* t) { return GetField(t, 2147483647, ';'); }, "a;b", ""},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.result, c.operation(c.text)) << c.text;
}

TEST(TextFields, CountFields) {
  EXPECT_EQ(0, CountFields("", ';'));
  EXPECT_EQ(1, CountFields("a", ';'));
  EXPECT_EQ(2, CountFields("a;b", ';'));
  EXPECT_EQ(3, CountFields(";;", ';'));
}

TEST(TextTruncation, CopyAndAppend) {
  char buffer[8];
  EXPECT_EQ(0, CopyTruncated(buffer, 6, "abcde"));
  EXPECT_STREQ("abcde", buffer);
  EXPECT_EQ(1, CopyTruncated(buffer, 5, "abcde"));
  EXPECT_STREQ("abcd", buffer);
  EXPECT_EQ(1, CopyTruncated(buffer, 1, "a"));
  EXPECT_STREQ("", buffer);
  std::strcpy(buffer, "xyz");
  EXPECT_EQ(1, CopyTruncated(buffer, 0, "a"));  // nothing written
  EXPECT_STREQ("xyz", buffer);

  std::strcpy(buffer, "ab");
  EXPECT_EQ(0, AppendTruncated(buffer, 6, "cde"));
  EXPECT_STREQ("abcde", buffer);
  std::strcpy(buffer, "ab");
  EXPECT_EQ(1, AppendTruncated(buffer, 5, "cde"));
  EXPECT_STREQ("abcd", buffer);
  std::strcpy(buffer, "abcdefg");
  EXPECT_EQ(1, AppendTruncated(buffer, 4, ""));  // the held text is too long already
  EXPECT_STREQ("abc", buffer);
  std::strcpy(buffer, "abc");
  EXPECT_EQ(0, AppendTruncated(buffer, 4, ""));
  EXPECT_EQ(1, AppendTruncated(buffer, 0, "x"));
  EXPECT_STREQ("abc", buffer);
}

TEST(TextWide, WideToNarrow) {
  EXPECT_STREQ("", WideToNarrow(u" null"));
  EXPECT_STREQ("NULL", WideToNarrow(u"NULL"));
  EXPECT_STREQ("nulls", WideToNarrow(u"nulls"));
  EXPECT_STREQ(
      "Gr\xF6\xDF"
      "e \x80",
      WideToNarrow(u"\t Gr\u00F6\u00DFe \u20AC  "));
  EXPECT_STREQ("", WideToNarrow(nullptr));
}

// Every operation with a text far beyond its buffers cuts or rejects.
TEST(TextBounds, HugeTextsAreCutToTheBuffers) {
  for (const std::string unit : {"a b;", "(CHR 65", "(CHR 66)", "\xE4 ", "'", "  \r\n<br>"}) {
    const std::string huge = HugeText(unit);
    for (auto operation : {TrimBlanks, CollapseSpaces, Unquote, CutAtSemicolon, Utf8UmlautsToLatin1,
                           ExpandCharCodes}) {
      EXPECT_LE(InPlace(operation, huge).size(), huge.size());
    }
    std::vector<char> grown(huge.begin(), huge.end());
    grown.resize(huge.size() + 10, '\0');
    EXPECT_LT(std::strlen(Latin1UmlautsToUtf8(grown.data(), grown.size())), grown.size());

    const char* text = huge.c_str();
    EXPECT_LT(std::strlen(UpperCopy(text)), TEXT_LINE_SIZE);
    EXPECT_LT(std::strlen(LowerCopy(text)), TEXT_LINE_SIZE);
    EXPECT_LT(std::strlen(JoinLines(text)), TEXT_LINE_SIZE);
    EXPECT_LT(std::strlen(WrapText(text, true, 0)), TEXT_LINE_SIZE);
    EXPECT_LT(std::strlen(WrapText(text, false, 5)), TEXT_LINE_SIZE);
    EXPECT_LT(std::strlen(WrapTextWith(text, '|', 200000)), TEXT_LINE_SIZE);
    EXPECT_LT(std::strlen(TransliterateUmlauts(text)), TEXT_RESULT_SIZE);
    EXPECT_LT(std::strlen(ReplaceAll(text, " ", "<space>")), TEXT_RESULT_SIZE);
    EXPECT_LT(std::strlen(ReplaceAll(text, text, "")), TEXT_RESULT_SIZE);
    EXPECT_LT(std::strlen(GetField(text, 0, '\x01')), TEXT_RESULT_SIZE);
    EXPECT_LT(std::strlen(GetField(text, 2147483647, ';')), TEXT_RESULT_SIZE);
    EXPECT_GE(CountFields(text, ';'), 1);

    char small[16];
    EXPECT_EQ(1, CopyTruncated(small, sizeof(small), text));
    EXPECT_EQ(15u, std::strlen(small));
    EXPECT_EQ(1, AppendTruncated(small, sizeof(small), text));
  }
  const std::string upper = HugeText("a");
  EXPECT_EQ(std::string(TEXT_LINE_SIZE - 1, 'A'), UpperCopy(upper.c_str()));
  EXPECT_EQ(std::string(TEXT_RESULT_SIZE - 1, 'a'), GetField(upper.c_str(), 0, ';'));

  std::u16string wide(100000, u'x');
  EXPECT_EQ(std::string(NARROW_TEXT_SIZE - 1, 'x'), WideToNarrow(wide.c_str()));
}

TEST(TextBounds, ReplaceAllStaysLinear) {
  // A search text that almost matches everywhere: a naive scan would
  // compare about 2.5e9 characters here.
  const std::string text(100000, 'a');
  const std::string search = std::string(50000, 'a') + "b";
  EXPECT_EQ(std::string(TEXT_RESULT_SIZE - 1, 'a'), ReplaceAll(text.c_str(), search.c_str(), "x"));
  EXPECT_STREQ("xc", ReplaceAll((search + "c").c_str(), search.c_str(), "x"));
}

}  // namespace
}  // namespace utillib
