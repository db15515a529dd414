#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "JsonTestSupport.h"
#include "json/DataScanner.h"
#include "json/LinebreaksCharacterSet.h"
#include "json/TextScanner.h"
#include "json/value/Exception.h"

namespace vw {
namespace {

using test::bytes;
using test::bytesOf;
using test::expectRaises;
using test::text;

std::unique_ptr<DataScanner> scannerOver(std::string_view s) { return DataScanner::scannerWithData(bytes(s)); }

TEST(DataScannerSetUp, NewScannerIsEmptyAndSetDataKeepsOrReplacesTheBuffer) {
    DataScanner empty;
    EXPECT_TRUE(empty.isAtEnd() && empty.data().isNil());
    EXPECT_EQ(empty.doubleCharacters(), CharacterSet::characterSetWithCharactersInString("0123456789eE-."));
    EXPECT_EQ(empty.scanCharacter(), 0);
    EXPECT_EQ(empty.scanLocation(), 0u);
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

TEST(DataScannerPosition, BytesAreCharactersAndTheEndIsNul) {
    auto s = scannerOver("\xc3\xa9x");
    EXPECT_EQ(s->currentCharacter(), 0xC3);
    EXPECT_FALSE(s->scanCharacter(u'\u00e9'));
    EXPECT_TRUE(s->scanCharacter(0xC3));
    EXPECT_EQ(s->scanCharacter(), 0xA9);
    EXPECT_FALSE(s->scanCharacter(u'\u0178'));  // above 255 never matches
    EXPECT_FALSE(s->isAtEnd());
    EXPECT_TRUE(s->scanCharacter('x'));
    EXPECT_TRUE(s->isAtEnd());
    EXPECT_EQ(s->scanCharacter(), 0);
    EXPECT_EQ(s->scanLocation(), 3u);
    EXPECT_FALSE(s->scanCharacter(0));  // the end is not a NUL byte of the buffer
    s->setScanLocation(1000);  // past the end: at the end, never beyond
    EXPECT_EQ(s->scanLocation(), 3u);
}

TEST(DataScannerLiterals, Utf8StringAndStringNeedEveryByte) {
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
    s = scannerOver("caf\xc3\xa9!");
    const Value t = text("caf\xc3\xa9");
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
    EXPECT_TRUE(s->scanUpToCharactersFromSet(digits, &into));  // stops at the end
    EXPECT_EQ(into.stringView(), "abc");
    EXPECT_TRUE(s->isAtEnd());
    s = scannerOver("\xc3\xa9\xc3");  // a run that is not UTF-8 gives nil
    EXPECT_TRUE(s->scanCharactersFromSet(CharacterSet::characterSetWithRange(0x80, 0xFF), &into));
    EXPECT_TRUE(into.isNil());
    EXPECT_TRUE(s->isAtEnd());
}

TEST(DataScannerSearch, UpToStringStopsOnTheMatchOrANulByte) {
    auto s = scannerOver("abc*/def");
    Value into;
    EXPECT_TRUE(s->scanUpToString(std::string_view("*/"), &into));
    EXPECT_EQ(into.stringView(), "abc");
    EXPECT_TRUE(s->scanUpToString(text("*/"), &into));  // at the match: YES, empty text
    EXPECT_EQ(into.stringView(), "");
    EXPECT_EQ(s->scanLocation(), 3u);
    EXPECT_FALSE(s->scanUpToString(std::string_view("zz"), &into));
    EXPECT_TRUE(s->scanUpToString(std::string_view(""), &into));
    EXPECT_EQ(s->scanLocation(), 3u);
    // Like C strings: the buffer ends at its NUL, a text is searched for up to its NUL.
    s = DataScanner::scannerWithData(bytesOf("ab\0cd*/"));
    EXPECT_FALSE(s->scanUpToString(std::string_view("*/"), nullptr));
    EXPECT_TRUE(s->scanUpToString(std::string_view("b"), nullptr));
    EXPECT_EQ(s->scanLocation(), 1u);
    EXPECT_TRUE(s->scanUpToString(std::string_view("b\0zz", 4), nullptr));
    EXPECT_EQ(s->scanLocation(), 1u);
}

// A run of number characters is read by its longest leading decimal number;
// with number characters that also take signs and letters, a leading "+"
// counts, while words and hexadecimal forms are no decimal numbers.
TEST(DataScannerNumbers, RunReadByItsLeadingNumber) {
    const CharacterSet wide = CharacterSet::characterSetWithCharactersInString("0123456789eE+-.abcdfinptxyINFATY");
    const struct {
        const char* run;
        double value;
        bool wide = false;
        const char* rest = "";
    } runs[] = {
        {"1.5e2,", 150.0, false, ","}, {"1e+5", 1.0, false, "+5"}, {"1-2", 1.0}, {"-", 0.0}, {"--5", 0.0}, {".5", 0.5},
        {"1.5.5", 1.5}, {"00012", 12.0}, {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0},
        {"2.5e-324", 4.9406564584124654e-324}, {"e5", 0.0}, {"0.1", 0.1},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"1e+5", 1e5, true}, {"+5", 5.0, true}, {"+1e+2", 100.0, true}, {"+.5", 0.5, true}, {"-5", -5.0, true},
        {"+5x", 5.0, true}, {"inf", 0.0, true}, {"nan", 0.0, true}, {"infinity", 0.0, true}, {"INF", 0.0, true},
        {"-inf", 0.0, true}, {"+inf", 0.0, true}, {"nan1", 0.0, true}, {"0x1p3", 0.0, true}, {"0x10", 0.0, true},
        {"-0x10", -0.0, true}, {"++5", 0.0, true}, {"+-5", 0.0, true}, {"-+5", 0.0, true}, {"+", 0.0, true},
        {"+.", 0.0, true}, {"+e5", 0.0, true}, {"1e+400", HUGE_VAL, true}, {"+1e-400", 0.0, true},
        {"12abc", 12.0, true},
    };
    for (const auto& r : runs) {
        auto s = scannerOver(r.run);
        if (r.wide) s->setDoubleCharacters(wide);
        Value n;
        ASSERT_TRUE(s->scanNumber(&n)) << r.run;
        EXPECT_EQ(n.numberType(), NumberType::Double);
        EXPECT_EQ(n.doubleValue(), r.value) << r.run;
        EXPECT_EQ(std::signbit(n.doubleValue()), std::signbit(r.value)) << r.run;
        EXPECT_EQ(s->remainingString().stringView(), r.rest) << r.run;
    }
    auto s = scannerOver("x1");
    EXPECT_FALSE(s->scanNumber(nullptr));
    EXPECT_EQ(s->scanLocation(), 0u);
}

TEST(DataScannerWhitespace, CLocaleSpacesOnly) {
    for (const char* spaces : {"  \t\r\n x", " \x0b\x0c x"}) {
        auto s = scannerOver(spaces);
        s->skipWhitespace();
        EXPECT_EQ(s->remainingString().stringView(), "x");
    }
    auto s = scannerOver("\xc2\xa0");
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
    EXPECT_FALSE(s->scanCStyleComment(&comment));
    EXPECT_EQ(s->scanLocation(), 10u);
    s = scannerOver("/**/");
    EXPECT_TRUE(s->scanCStyleComment(&comment));
    EXPECT_EQ(comment.stringView(), "");
    // Failures raise, past the comment text or past the "/*".
    s = scannerOver("/* a /* b */");
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "C style comments should not be nested.");
    EXPECT_EQ(s->scanLocation(), 10u);
    s = scannerOver("/* open");
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "Started to scan a C style comment but it wasn't terminated.");
    EXPECT_EQ(s->scanLocation(), 2u);
    s = DataScanner::scannerWithData(bytesOf("/* a \0 */"));
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "Started to scan a C style comment but it wasn't terminated.");
    s = scannerOver("/* \xff */");
    expectRaises([&] { s->scanCStyleComment(nullptr); }, "C style comments should not be nested.");
}

TEST(DataScannerComments, CPlusPlusStyle) {
    const struct {
        const char* text;
        const char* comment;  // null: nil
        const char* rest;
    } cases[] = {{"// note\r\n\r\nnext", " note", "next"}, {"//\nx", nullptr, "x"}, {"// at the end", " at the end", ""},
                 // 0x85 is a line break, also inside a UTF-8 sequence (U+0105 is C4 85): " a\xc4" is no UTF-8.
                 {"// a\xc4\x85z", nullptr, "z"}};
    for (const auto& c : cases) {
        auto s = scannerOver(c.text);
        Value comment = text("before");
        EXPECT_TRUE(s->scanCPlusPlusStyleComment(&comment)) << c.text;
        EXPECT_EQ(comment, c.comment ? text(c.comment) : Value()) << c.text;
        EXPECT_EQ(s->remainingString().stringView(), c.rest) << c.text;
    }
    auto s = scannerOver("/ x");
    EXPECT_FALSE(s->scanCPlusPlusStyleComment(nullptr));
    EXPECT_EQ(s->scanLocation(), 0u);
}

TEST(LinebreaksCharacterSet, HoldsExactlySixCharacters) {
    const CharacterSet lb = linebreaksCharacterSet();
    int members = 0;
    for (char32_t c = 0; c < 0x3000; ++c) members += lb.characterIsMember(c);
    EXPECT_EQ(members, 6);
    for (char32_t c : {0x0A, 0x0C, 0x0D, 0x85, 0x2028, 0x2029}) EXPECT_TRUE(lb.characterIsMember(c));
}


TEST(TextScanner, OwnScansSkipWhitespaceFirstAndRestoreOnNo) {
    TextScanner s("   hello world");
    Value into;
    EXPECT_FALSE(s.scanString("world", &into));
    EXPECT_EQ(s.scanLocation(), 0u);
    EXPECT_TRUE(s.scanString("hello", &into));
    EXPECT_EQ(into.stringView(), "hello");
    EXPECT_EQ(s.scanLocation(), 8u);
    EXPECT_TRUE(s.scanUpToString("d", &into));
    EXPECT_EQ(into.stringView(), "worl");  // the skipped space is not part of it
    EXPECT_FALSE(s.scanUpToString("d", &into));  // nothing passed over
    EXPECT_EQ(s.scanLocation(), 13u);
    EXPECT_TRUE(s.scanUpToString("zzz", &into));  // not found: up to the end
    EXPECT_EQ(into.stringView(), "d");
    EXPECT_TRUE(s.isAtEnd());
}

TEST(TextScanner, IsAtEndWhenOnlySkippedCharactersRemain) {
    TextScanner s("x \n\t");
    s.scanCharacter();
    EXPECT_TRUE(s.isAtEnd());
    s.setCharactersToBeSkipped(std::nullopt);
    EXPECT_FALSE(s.isAtEnd());
    EXPECT_FALSE(s.scanString("\n", nullptr));
    EXPECT_TRUE(s.scanString(" \n", nullptr));
}

TEST(TextScanner, LocationsCountUtf16Units) {
    TextScanner s("a\xf0\x9d\x84\x9e" "b");  // a, U+1D11E (two units), b
    EXPECT_EQ(s.string().size(), 4u);
    s.setScanLocation(1);
    EXPECT_EQ(s.currentCharacter(), 0xD834);
    EXPECT_EQ(s.remainingString().stringView(), "\xf0\x9d\x84\x9e" "b");
    s.setScanLocation(2);
    EXPECT_EQ(s.remainingString().stringView(), "\xef\xbf\xbd" "b");  // half a pair becomes U+FFFD
    EXPECT_TRUE(s.scanCharacter(0xDD1E));
    EXPECT_EQ(s.scanCharacter(), 'b');
    EXPECT_EQ(s.scanCharacter(), 0);
    EXPECT_EQ(s.currentCharacter(), 0);
    EXPECT_EQ(s.scanLocation(), 4u);
    s.setScanLocation(99);
    EXPECT_EQ(s.scanLocation(), 4u);
}

TEST(TextScanner, BacktrackRaisesWhenTooFarAndDoesNotMove) {
    TextScanner s("abcdef");
    s.setScanLocation(3);
    s.backtrack(2);
    EXPECT_EQ(s.scanLocation(), 1u);
    expectRaises([&] { s.backtrack(2); }, "Backtracked too far.");
    EXPECT_EQ(s.scanLocation(), 1u);
    s.backtrack(1);
    EXPECT_EQ(s.scanLocation(), 0u);
}

TEST(TextScannerComments, CStyleFollowsTheSkippingRules) {
    TextScanner s("  /* note */ x");
    Value comment;
    EXPECT_TRUE(s.scanCStyleComment(&comment));
    EXPECT_EQ(comment.stringView(), "note ");  // leading white space skipped, trailing kept
    EXPECT_TRUE(s.scanString("x", nullptr));
    TextScanner unterminated("/* open");  // scanned up to the end
    expectRaises([&] { unterminated.scanCStyleComment(nullptr); }, "C style comment did not end correctly.");
    TextScanner empty("/**/");
    EXPECT_THROW(empty.scanCStyleComment(nullptr), Exception);  // nothing passed over: NO
    TextScanner nested("/* a /* b */");
    expectRaises([&] { nested.scanCStyleComment(nullptr); }, "C style comments should not be nested.");
    TextScanner none("x /**/");
    EXPECT_FALSE(none.scanCStyleComment(nullptr));
    EXPECT_EQ(none.scanLocation(), 0u);
}

TEST(TextScannerComments, CPlusPlusStyle) {
    TextScanner s("// note\r\n\r\nnext");
    Value comment;
    EXPECT_TRUE(s.scanCPlusPlusStyleComment(&comment));
    EXPECT_EQ(comment.stringView(), "note");
    // The line-break scan first skips all the line breaks as white space, then
    // finds none and gives NO, which leaves the location on the first one.
    EXPECT_EQ(s.currentCharacter(), '\r');
    EXPECT_TRUE(s.scanString("next", nullptr));
    TextScanner bare("//");
    comment = Value::string("before");
    EXPECT_TRUE(bare.scanCPlusPlusStyleComment(&comment));
    EXPECT_TRUE(comment.isNil());
}

}  // namespace
}  // namespace vw
