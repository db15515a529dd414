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
using test::outcome;
using test::text;

std::unique_ptr<DataScanner> scannerOver(std::string_view s) { return DataScanner::scannerWithData(bytes(s)); }

const Value none;

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
    EXPECT_FALSE(s->scanCharacter(0));  // the end is not a NUL byte of the buffer
    s->setScanLocation(1000);  // past the end: at the end, never beyond
    EXPECT_EQ(s->scanLocation(), 3u);
}

TEST(DataScannerLiterals, Utf8StringAndStringNeedEveryByte) {
    auto s = scannerOver("nul");
    Value into;
    EXPECT_EQ(outcome(*s, s->scanUTF8String("null", &into), into), "NO nil @0");
    s = scannerOver("nullx");
    EXPECT_EQ(outcome(*s, s->scanUTF8String("null", &into), into), "YES 'null' @4");
    EXPECT_EQ(outcome(*s, s->scanUTF8String("y", nullptr), none), "NO nil @4");
    EXPECT_EQ(outcome(*s, s->scanUTF8String("", nullptr), none), "YES nil @4");
    s = scannerOver("caf\xc3\xa9!");
    const Value t = text("caf\xc3\xa9");
    EXPECT_EQ(outcome(*s, s->scanString(t, &into), into), "YES 'caf\xc3\xa9' @5");
    EXPECT_TRUE(into.isIdentical(t));
    EXPECT_EQ(outcome(*s, s->scanString(text("!?"), &into), into), "NO 'caf\xc3\xa9' @5");
    EXPECT_EQ(outcome(*s, s->scanString(std::string_view("!"), &into), into), "YES '!' @6");
    EXPECT_THROW(s->scanString(Value::number(1), nullptr), std::invalid_argument);
}

TEST(DataScannerRuns, CharactersFromSetAndUpToSet) {
    const CharacterSet digits = CharacterSet::characterSetWithCharactersInString("0123456789");
    auto s = scannerOver("123abc");
    Value into = text("untouched");
    EXPECT_EQ(outcome(*s, s->scanUpToCharactersFromSet(digits, &into), into), "NO 'untouched' @0");
    EXPECT_EQ(outcome(*s, s->scanCharactersFromSet(digits, &into), into), "YES '123' @3");
    EXPECT_EQ(outcome(*s, s->scanCharactersFromSet(digits, &into), into), "NO '123' @3");
    EXPECT_EQ(outcome(*s, s->scanUpToCharactersFromSet(digits, &into), into), "YES 'abc' @6");  // stops at the end
    s = scannerOver("\xc3\xa9\xc3");  // a run that is not UTF-8 gives nil
    EXPECT_EQ(outcome(*s, s->scanCharactersFromSet(CharacterSet::characterSetWithRange(0x80, 0xFF), &into), into), "YES nil @3");
}

TEST(DataScannerSearch, UpToStringStopsOnTheMatchOrANulByte) {
    auto s = scannerOver("abc*/def");
    Value into;
    EXPECT_EQ(outcome(*s, s->scanUpToString(std::string_view("*/"), &into), into), "YES 'abc' @3");
    EXPECT_EQ(outcome(*s, s->scanUpToString(text("*/"), &into), into), "YES '' @3");  // at the match: an empty text
    EXPECT_EQ(outcome(*s, s->scanUpToString(std::string_view("zz"), &into), into), "NO '' @3");
    EXPECT_EQ(outcome(*s, s->scanUpToString(std::string_view(""), &into), into), "YES '' @3");
    // Like C strings: the buffer ends at its NUL, a text is searched for up to its NUL.
    s = DataScanner::scannerWithData(bytesOf("ab\0cd*/"));
    EXPECT_EQ(outcome(*s, s->scanUpToString(std::string_view("*/"), nullptr), none), "NO nil @0");
    EXPECT_EQ(outcome(*s, s->scanUpToString(std::string_view("b"), nullptr), none), "YES nil @1");
    EXPECT_EQ(outcome(*s, s->scanUpToString(std::string_view("b\0zz", 4), nullptr), none), "YES nil @1");
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
        {"1.5E2,", 150.0, false, ","}, {"1e+5", 1.0, false, "+5"}, {"-", 0.0}, {".5", 0.5}, {"1.5.5", 1.5},
        {"00012", 12.0}, {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0.0}, {"0.1", 0.1},
        {"2.5e-324", 4.9406564584124654e-324},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"1e+5", 1e5, true}, {"+5", 5.0, true}, {"+1e+2", 100.0, true}, {"+.5", 0.5, true}, {"-5", -5.0, true},
        {"+5x", 5.0, true}, {"inf", 0.0, true}, {"nan", 0.0, true}, {"-inf", 0.0, true}, {"+inf", 0.0, true},
        {"0x1p3", 0.0, true}, {"-0x10", -0.0, true}, {"++5", 0.0, true}, {"+-5", 0.0, true}, {"-+5", 0.0, true}, {"+", 0.0, true},
        {"+.", 0.0, true}, {"+e5", 0.0, true}, {"1e+400", HUGE_VAL, true}, {"+1e-400", 0.0, true}, {"12abc", 12.0, true},
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
    EXPECT_EQ(outcome(*s, s->scanNumber(nullptr), none), "NO nil @0");
}

TEST(DataScannerWhitespace, CLocaleSpacesOnlyAndTheRestFromTheCursor) {
    for (const auto& [spaces, rest] : {std::pair{"  \t\r\n x", "x"}, {" \x0b\x0c ", ""}, {"\xc2\xa0x", "\xc2\xa0x"}}) {
        auto s = scannerOver(spaces);
        s->skipWhitespace();
        EXPECT_EQ(s->remainingString().stringView(), rest) << spaces;
    }
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
    EXPECT_EQ(outcome(*s, s->scanCStyleComment(&comment), comment), "YES ' note ' @10");
    EXPECT_EQ(outcome(*s, s->scanCStyleComment(&comment), comment), "NO ' note ' @10");
    s = scannerOver("/**/");
    EXPECT_EQ(outcome(*s, s->scanCStyleComment(&comment), comment), "YES '' @4");
    // Failures raise, past the comment text or past the "/*".
    const struct {
        std::string text;
        const char* message;
        uint32_t at;
    } failures[] = {{"/* a /* b */", "C style comments should not be nested.", 10},
                    {"/* open", "Started to scan a C style comment but it wasn't terminated.", 2},
                    {std::string("/* a \0 */", 9), "Started to scan a C style comment but it wasn't terminated.", 2},
                    {"/* \xff */", "C style comments should not be nested.", 5}};
    for (const auto& f : failures) {
        s = scannerOver(f.text);
        expectRaises([&] { s->scanCStyleComment(nullptr); }, f.message);
        EXPECT_EQ(s->scanLocation(), f.at) << f.text;
    }
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
    EXPECT_EQ(outcome(*s, s->scanCPlusPlusStyleComment(nullptr), none), "NO nil @0");
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
    EXPECT_EQ(outcome(s, s.scanString("world", &into), into), "NO nil @0");
    EXPECT_EQ(outcome(s, s.scanString("hello", &into), into), "YES 'hello' @8");
    EXPECT_EQ(outcome(s, s.scanUpToString("d", &into), into), "YES 'worl' @13");  // the skipped space is not part of it
    EXPECT_EQ(outcome(s, s.scanUpToString("d", &into), into), "NO 'worl' @13");   // nothing passed over
    EXPECT_EQ(outcome(s, s.scanUpToString("zzz", &into), into), "YES 'd' @14");   // not found: up to the end
    TextScanner t("x \n\t");  // at the end when only skipped characters remain
    t.scanCharacter();
    EXPECT_TRUE(t.isAtEnd());
    t.setCharactersToBeSkipped(std::nullopt);
    EXPECT_FALSE(t.isAtEnd());
    EXPECT_EQ(outcome(t, t.scanString("\n", nullptr), none), "NO nil @1");
    EXPECT_EQ(outcome(t, t.scanString(" \n", nullptr), none), "YES nil @3");
}

TEST(TextScanner, LocationsCountUtf16UnitsAndBacktrackRaisesWhenTooFar) {
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
    s.setScanLocation(99);
    EXPECT_EQ(s.scanLocation(), 4u);
    s.backtrack(3);
    EXPECT_EQ(s.scanLocation(), 1u);
    expectRaises([&] { s.backtrack(2); }, "Backtracked too far.");
    EXPECT_EQ(s.scanLocation(), 1u);
    s.backtrack(1);
    EXPECT_EQ(s.scanLocation(), 0u);
}

TEST(TextScannerComments, FollowTheSkippingRules) {
    TextScanner s("  /* note */ x");
    Value comment;
    EXPECT_EQ(outcome(s, s.scanCStyleComment(&comment), comment), "YES 'note ' @12");  // leading white space skipped
    TextScanner unterminated("/* open");  // scanned up to the end
    expectRaises([&] { unterminated.scanCStyleComment(nullptr); }, "C style comment did not end correctly.");
    TextScanner empty("/**/");
    EXPECT_THROW(empty.scanCStyleComment(nullptr), Exception);  // nothing passed over: NO
    TextScanner nested("/* a /* b */");
    expectRaises([&] { nested.scanCStyleComment(nullptr); }, "C style comments should not be nested.");
    TextScanner none("x /**/");
    EXPECT_EQ(outcome(none, none.scanCStyleComment(nullptr), Value()), "NO nil @0");
    // The line-break scan first skips all the line breaks as white space, then
    // finds none and gives NO, which leaves the location on the first one.
    TextScanner line("// note\r\n\r\nnext");
    EXPECT_EQ(outcome(line, line.scanCPlusPlusStyleComment(&comment), comment), "YES 'note' @7");
    TextScanner bare("//");
    comment = text("before");
    EXPECT_EQ(outcome(bare, bare.scanCPlusPlusStyleComment(&comment), comment), "YES nil @2");
}

}  // namespace
}  // namespace vw
