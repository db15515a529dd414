#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "JsonTestSupport.h"
#include "json/DataScanner.h"
#include "json/LinebreaksCharacterSet.h"
#include "json/value/Exception.h"

namespace vw {
namespace {

using test::bytes;
using test::bytesOf;
using test::expectRaises;
using test::text;

std::unique_ptr<DataScanner> scannerOver(std::string_view s) { return DataScanner::scannerWithData(bytes(s)); }

TEST(DataScannerSetUp, NewScannerIsEmptyWithNumberCharacters) {
    DataScanner s;
    EXPECT_TRUE(s.isAtEnd());
    EXPECT_EQ(s.scanLocation(), 0u);
    EXPECT_TRUE(s.data().isNil());
    EXPECT_EQ(s.doubleCharacters(), CharacterSet::characterSetWithCharactersInString("0123456789eE-."));
    EXPECT_FALSE(s.doubleCharacters().characterIsMember('+'));
    EXPECT_EQ(s.currentCharacter(), 0);
    EXPECT_EQ(s.scanCharacter(), 0);
    EXPECT_EQ(s.scanLocation(), 0u);
}

TEST(DataScannerSetUp, SetDataKeepsOrReplacesTheBuffer) {
    const Value first = bytes("abc");
    auto s = DataScanner::scannerWithData(first);
    s->scanCharacter();
    s->setData(first);  // the buffer already held: nothing changes, the cursor included
    EXPECT_EQ(s->scanLocation(), 1u);
    s->setData(bytes("xyz"));
    EXPECT_EQ(s->scanLocation(), 0u);
    EXPECT_EQ(s->currentCharacter(), 'x');
    s->setData(Value());
    EXPECT_TRUE(s->isAtEnd());
    EXPECT_EQ(s->currentCharacter(), 0);
    EXPECT_THROW(s->setData(text("not bytes")), std::invalid_argument);
}

TEST(DataScannerPosition, LocationMovesWithinTheBuffer) {
    auto s = scannerOver("hello");
    s->setScanLocation(4);
    EXPECT_FALSE(s->isAtEnd());
    EXPECT_EQ(s->scanCharacter(), 'o');
    EXPECT_TRUE(s->isAtEnd());
    s->setScanLocation(1000);  // past the end: at the end, never beyond
    EXPECT_EQ(s->scanLocation(), 5u);
    EXPECT_EQ(s->currentCharacter(), 0);
}

TEST(DataScannerCharacters, BytesAreCharactersAndTheEndIsNul) {
    auto s = scannerOver("\xc3\xa9x");
    EXPECT_EQ(s->currentCharacter(), 0xC3);
    EXPECT_FALSE(s->scanCharacter(u'\u00e9'));
    EXPECT_TRUE(s->scanCharacter(0xC3));
    EXPECT_EQ(s->scanCharacter(), 0xA9);
    EXPECT_FALSE(s->scanCharacter(u'\u0178'));  // above 255 never matches
    EXPECT_TRUE(s->scanCharacter('x'));
    EXPECT_EQ(s->scanCharacter(), 0);
    EXPECT_EQ(s->scanLocation(), 3u);
    EXPECT_FALSE(s->scanCharacter(0));  // the end is not a NUL byte of the buffer
}

TEST(DataScannerLiterals, Utf8StringNeedsEveryByte) {
    auto s = scannerOver("nul");
    Value into;
    EXPECT_FALSE(s->scanUTF8String("null", &into));
    EXPECT_EQ(s->scanLocation(), 0u);
    EXPECT_TRUE(into.isNil());
    s = scannerOver("nullx");
    EXPECT_TRUE(s->scanUTF8String("null", &into));
    EXPECT_EQ(into.stringView(), "null");
    EXPECT_EQ(s->currentCharacter(), 'x');
    EXPECT_FALSE(s->scanUTF8String("y", nullptr));
    EXPECT_TRUE(s->scanUTF8String("", nullptr));
}

TEST(DataScannerLiterals, ScanStringStoresTheSameText) {
    auto s = scannerOver("caf\xc3\xa9!");
    const Value t = text("caf\xc3\xa9");
    Value into;
    EXPECT_TRUE(s->scanString(t, &into));
    EXPECT_TRUE(into.isIdentical(t));
    EXPECT_EQ(s->scanLocation(), 5u);
    EXPECT_FALSE(s->scanString(text("!?"), &into));
    EXPECT_EQ(s->scanLocation(), 5u);
    EXPECT_TRUE(s->scanString(std::string_view("!"), &into));
    EXPECT_EQ(into.stringView(), "!");
    EXPECT_THROW(s->scanString(Value::number(1), nullptr), std::invalid_argument);
}

TEST(DataScannerRuns, CharactersFromSetAndUpToSet) {
    const CharacterSet digits = CharacterSet::characterSetWithCharactersInString("0123456789");
    auto s = scannerOver("123abc");
    Value into = text("untouched");
    EXPECT_FALSE(s->scanUpToCharactersFromSet(digits, &into));
    EXPECT_EQ(into.stringView(), "untouched");
    EXPECT_TRUE(s->scanCharactersFromSet(digits, &into));
    EXPECT_EQ(into.stringView(), "123");
    EXPECT_FALSE(s->scanCharactersFromSet(digits, &into));
    EXPECT_EQ(into.stringView(), "123");
    EXPECT_TRUE(s->scanUpToCharactersFromSet(digits, &into));  // stops at the end
    EXPECT_EQ(into.stringView(), "abc");
    EXPECT_TRUE(s->isAtEnd());
}

TEST(DataScannerRuns, RunThatIsNotUtf8GivesNil) {
    auto s = scannerOver("\xc3\xa9\xc3");
    const CharacterSet high = CharacterSet::characterSetWithRange(0x80, 0xFF);
    Value into = text("x");
    EXPECT_TRUE(s->scanCharactersFromSet(high, &into));
    EXPECT_TRUE(into.isNil());
    EXPECT_TRUE(s->isAtEnd());
}

TEST(DataScannerSearch, UpToStringStopsOnTheMatch) {
    auto s = scannerOver("abc*/def");
    Value into;
    EXPECT_TRUE(s->scanUpToString(std::string_view("*/"), &into));
    EXPECT_EQ(into.stringView(), "abc");
    EXPECT_EQ(s->currentCharacter(), '*');
    EXPECT_TRUE(s->scanUpToString(text("*/"), &into));  // at the match: YES, empty text
    EXPECT_EQ(into.stringView(), "");
    EXPECT_EQ(s->scanLocation(), 3u);
    EXPECT_FALSE(s->scanUpToString(std::string_view("zz"), &into));
    EXPECT_EQ(s->scanLocation(), 3u);
    EXPECT_TRUE(s->scanUpToString(std::string_view(""), &into));
    EXPECT_EQ(s->scanLocation(), 3u);
}

TEST(DataScannerSearch, UpToStringStopsAtANulByteLikeACString) {
    auto s = DataScanner::scannerWithData(bytesOf("ab\0cd*/"));
    EXPECT_FALSE(s->scanUpToString(std::string_view("*/"), nullptr));
    EXPECT_TRUE(s->scanUpToString(std::string_view("b"), nullptr));
    EXPECT_EQ(s->scanLocation(), 1u);
    // A text with a NUL is searched for up to its NUL.
    EXPECT_TRUE(s->scanUpToString(std::string_view("b\0zz", 4), nullptr));
    EXPECT_EQ(s->scanLocation(), 1u);
}

TEST(DataScannerNumbers, RunReadByItsLeadingNumber) {
    auto s = scannerOver("1.5e2,");
    Value n;
    EXPECT_TRUE(s->scanNumber(&n));
    EXPECT_EQ(n.numberType(), NumberType::Double);
    EXPECT_EQ(n.doubleValue(), 150.0);
    EXPECT_EQ(s->currentCharacter(), ',');

    s = scannerOver("1e+5");
    EXPECT_TRUE(s->scanNumber(&n));
    EXPECT_EQ(n.doubleValue(), 1.0);
    EXPECT_EQ(s->currentCharacter(), '+');

    s = scannerOver("x1");
    EXPECT_FALSE(s->scanNumber(&n));
    EXPECT_EQ(s->scanLocation(), 0u);

    const struct {
        const char* run;
        double value;
    } runs[] = {{"1-2", 1.0}, {"-", 0.0}, {"--5", 0.0}, {".5", 0.5}, {"1.5.5", 1.5}, {"00012", 12.0},
                {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0}, {"2.5e-324", 4.9406564584124654e-324},
                {"e5", 0.0}, {"0.1", 0.1}, {"123456789012345678901234567890", 1.2345678901234568e29}};
    for (const auto& r : runs) {
        s = scannerOver(r.run);
        ASSERT_TRUE(s->scanNumber(&n)) << r.run;
        EXPECT_EQ(n.doubleValue(), r.value) << r.run;
        EXPECT_TRUE(s->isAtEnd()) << r.run;
    }
}

TEST(DataScannerNumbers, NumberCharactersCanBeChanged) {
    auto s = scannerOver("1e+5");
    s->setDoubleCharacters(CharacterSet::characterSetWithCharactersInString("0123456789eE+-."));
    Value n;
    EXPECT_TRUE(s->scanNumber(&n));
    EXPECT_EQ(n.doubleValue(), 1e5);
}

// With number characters that also take signs and letters, a run is still
// read by its longest leading decimal number: a leading "+" counts, while
// words and hexadecimal forms are no decimal numbers.
TEST(DataScannerNumbers, CustomCharactersReadOnlyDecimalNumbers) {
    const CharacterSet wide = CharacterSet::characterSetWithCharactersInString("0123456789eE+-.abcdfinptxyINFATY");
    const struct {
        const char* run;
        double value;
    } runs[] = {{"+5", 5.0},       {"+1e+2", 100.0}, {"+.5", 0.5},   {"-5", -5.0},      {"+5x", 5.0},
                {"inf", 0.0},      {"nan", 0.0},     {"infinity", 0.0}, {"INF", 0.0},   {"-inf", 0.0},
                {"+inf", 0.0},     {"nan1", 0.0},    {"0x1p3", 0.0}, {"0x10", 0.0},     {"-0x10", -0.0},
                {"++5", 0.0},      {"+-5", 0.0},     {"-+5", 0.0},   {"+", 0.0},        {"+.", 0.0},
                {"+e5", 0.0},      {"1e+400", HUGE_VAL}, {"+1e-400", 0.0}, {"12abc", 12.0}};
    for (const auto& r : runs) {
        auto s = scannerOver(r.run);
        s->setDoubleCharacters(wide);
        Value n;
        ASSERT_TRUE(s->scanNumber(&n)) << r.run;
        EXPECT_EQ(n.doubleValue(), r.value) << r.run;
        EXPECT_EQ(std::signbit(n.doubleValue()), std::signbit(r.value)) << r.run;
        EXPECT_TRUE(s->isAtEnd()) << r.run;
    }
}

TEST(DataScannerWhitespace, CLocaleSpacesOnly) {
    auto s = scannerOver("  \t\r\n x");
    s->skipWhitespace();
    EXPECT_EQ(s->currentCharacter(), 'x');
    s = scannerOver(" \x0b\x0c ");
    s->skipWhitespace();
    EXPECT_TRUE(s->isAtEnd());
    s = scannerOver("\xc2\xa0");
    s->skipWhitespace();
    EXPECT_EQ(s->scanLocation(), 0u);
}

TEST(DataScannerRemaining, TextFromTheCursorWithoutMoving) {
    auto s = scannerOver("ab\xc3\xa9");
    s->setScanLocation(1);
    EXPECT_EQ(s->remainingString().stringView(), "b\xc3\xa9");
    EXPECT_EQ(s->scanLocation(), 1u);
    s->setScanLocation(3);
    EXPECT_TRUE(s->remainingString().isNil());  // starts inside a sequence
    s->setScanLocation(4);
    EXPECT_EQ(s->remainingString().stringView(), "");
}

TEST(DataScannerComments, CStyle) {
    auto s = scannerOver("/* note */x");
    Value comment;
    EXPECT_TRUE(s->scanCStyleComment(&comment));
    EXPECT_EQ(comment.stringView(), " note ");
    EXPECT_EQ(s->currentCharacter(), 'x');
    EXPECT_FALSE(s->scanCStyleComment(&comment));
    EXPECT_EQ(s->scanLocation(), 10u);

    s = scannerOver("/**/");
    EXPECT_TRUE(s->scanCStyleComment(&comment));
    EXPECT_EQ(comment.stringView(), "");
}

TEST(DataScannerComments, CStyleFailuresRaise) {
    auto s = scannerOver("/* a /* b */");
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "C style comments should not be nested.");
    EXPECT_EQ(s->scanLocation(), 10u);  // past the comment text
    s = scannerOver("/* open");
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "Started to scan a C style comment but it wasn't terminated.");
    EXPECT_EQ(s->scanLocation(), 2u);  // past the "/*"
    s = DataScanner::scannerWithData(bytesOf("/* a \0 */"));
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "Started to scan a C style comment but it wasn't terminated.");
    s = scannerOver("/* \xff */");
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "C style comments should not be nested.");
}

TEST(DataScannerComments, CPlusPlusStyle) {
    auto s = scannerOver("// note\r\n\r\nnext");
    Value comment;
    EXPECT_TRUE(s->scanCPlusPlusStyleComment(&comment));
    EXPECT_EQ(comment.stringView(), " note");
    EXPECT_EQ(s->currentCharacter(), 'n');

    s = scannerOver("//\nx");
    comment = text("before");
    EXPECT_TRUE(s->scanCPlusPlusStyleComment(&comment));
    EXPECT_TRUE(comment.isNil());
    EXPECT_EQ(s->currentCharacter(), 'x');

    s = scannerOver("// at the end");
    EXPECT_TRUE(s->scanCPlusPlusStyleComment(&comment));
    EXPECT_EQ(comment.stringView(), " at the end");
    EXPECT_TRUE(s->isAtEnd());

    s = scannerOver("/ x");
    EXPECT_FALSE(s->scanCPlusPlusStyleComment(&comment));
    EXPECT_EQ(s->scanLocation(), 0u);
}

TEST(LinebreaksCharacterSet, HoldsExactlySixCharacters) {
    const CharacterSet lb = linebreaksCharacterSet();
    int members = 0;
    for (char32_t c = 0; c < 0x3000; ++c) members += lb.characterIsMember(c);
    EXPECT_EQ(members, 6);
    for (char32_t c : {0x0A, 0x0C, 0x0D, 0x85, 0x2028, 0x2029}) EXPECT_TRUE(lb.characterIsMember(c));
    EXPECT_FALSE(lb.characterIsMember(0x0B));
    // Against bytes: 0x85 counts, also inside a UTF-8 sequence (U+2026 is E2 80 A6, U+0105 is C4 85).
    auto s = scannerOver("// a\xc4\x85z");
    Value comment;
    EXPECT_TRUE(s->scanCPlusPlusStyleComment(&comment));
    EXPECT_TRUE(comment.isNil());  // " a\xc4" is not valid UTF-8
    EXPECT_EQ(s->currentCharacter(), 'z');
}

}  // namespace
}  // namespace vw
