#include <gtest/gtest.h>

#include "JsonTestSupport.h"
#include "json/TextScanner.h"
#include "json/value/Exception.h"

namespace vw {
namespace {

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
    test::expectRaises([&] { s.backtrack(2); }, "Backtracked too far.");
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

    TextScanner unterminated("/* open");
    // Scanned up to the end.
    test::expectRaises([&] { unterminated.scanCStyleComment(nullptr); }, "C style comment did not end correctly.");
    TextScanner empty("/**/");
    EXPECT_THROW(empty.scanCStyleComment(nullptr), Exception);  // nothing passed over: NO
    TextScanner nested("/* a /* b */");
    test::expectRaises([&] { nested.scanCStyleComment(nullptr); }, "C style comments should not be nested.");
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
