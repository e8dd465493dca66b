#include "core/String.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

struct ReplaceCase {
    const char* name;
    const char* before;
    const char* pattern;
    const char* replacement;
    int flags;
    int start;
    int maxCount;
    int skip;
    int result;
    const char* after;
};

TEST(StringReplaceAll, Table) {
    const int all = kWholeText;
    const ReplaceCase cases[] = {
        {"token in both cases, longer", "<os>\\a;<OS>\\b", "<os>", "C:\\WINDOWS", kFindNoCase, 0,
         all, 0, 2, "C:\\WINDOWS\\a;C:\\WINDOWS\\b"},
        {"case-sensitive by default", "<os>\\a;<OS>\\b", "<os>", "C:\\WINDOWS", 0, 0, all, 0, 1,
         "C:\\WINDOWS\\a;<OS>\\b"},
        {"equal lengths in place", "a~~b~~c", "~~", "\r\n", 0, 0, all, 0, 2, "a\r\nb\r\nc"},
        {"shorter", "xxAAyyAAzz", "AA", "b", 0, 0, all, 0, 2, "xxbyybzz"},
        {"to nothing", "AAxAA", "AA", "", 0, 0, all, 0, 2, "x"},
        {"null replacement is nothing", "a-b", "-", nullptr, 0, 0, all, 0, 1, "ab"},
        {"everything removed", "AAAA", "AA", "", 0, 0, all, 0, 2, ""},
        {"occurrences do not overlap", "aaa", "aa", "x", 0, 0, all, 0, 1, "xa"},
        {"skip counts in the result", "a.b.c.d", ".", "-", 0, 0, all, 1, 3, "a.b-c-d"},
        {"maxCount", "a.b.c.d", ".", "-", 0, 0, 2, 0, 2, "a-b-c.d"},
        {"skip and maxCount", "a.b.c.d", ".", "--", 0, 0, 1, 1, 2, "a.b--c.d"},
        {"maxCount 0", "a.b", ".", "-", 0, 0, 0, 0, 0, "a.b"},
        {"first only gives its index", "a.b.c.d", ".", "--", kReplaceFirstOnly, 0, all, 0, 1,
         "a--b.c.d"},
        {"first only after skipping", "a.b.c.d", ".", "", kReplaceFirstOnly, 0, all, 2, 5,
         "a.b.cd"},
        {"first only, none there", "abc", ".", "-", kReplaceFirstOnly, 0, all, 0, -1, "abc"},
        {"from a start", "a.b.c", ".", "", 0, 2, all, 0, 1, "a.bc"},
        {"whole words", "cat concat cat", "cat", "dog", kFindWholeWord, 0, all, 0, 2,
         "dog concat dog"},
        {"wildcards carried over", "file1.txt file2.txt", "file?.txt", "doc?.bak", kFindWildcard, 0,
         all, 0, 2, "doc1.bak doc2.bak"},
        {"wildcards, longer", "x1y x2y", "x?y", "[?-?]", kFindWildcard, 0, all, 0, 2,
         "[1-?] [2-?]"},
        {"wildcards, shorter", "<1><22>",
         "<?"
         "?>",
         "?", kFindWildcard, 0, all, 0, 1, "<1>2"},
        {"wildcards in order", "ab", "??", "??", kFindWildcard, 0, all, 0, 1, "ab"},
        {"'?' is literal without the flag", "a?b", "?", "!", 0, 0, all, 0, 1, "a!b"},
        {"quoted stretches left alone", "a;\"b;c\";d", ";", ",", kFindSkipQuoted, 0, all, 0, 2,
         "a,\"b;c\",d"},
        {"character set", "a,b;c", ",;", ", ", kFindCharSet, 0, all, 0, 2, "a, b, c"},
        {"backward and end-index ignored", "aXbX", "X", "yy", kFindBackward | kFindEndIndex, 0, all,
         0, 2, "ayybyy"},
        {"empty text", "", "x", "y", 0, 0, all, 0, 0, ""},
        {"empty pattern", "abc", "", "y", 0, 0, all, 0, 0, "abc"},
    };
    for (const auto& c : cases) {
        String s(c.before);
        EXPECT_EQ(s.replaceAll(c.pattern, c.replacement, c.flags, c.start, c.maxCount, c.skip),
                  c.result)
            << c.name;
        EXPECT_EQ(text(s), c.after) << c.name;
        if (s.length() > 0)
            EXPECT_EQ(s.c_str()[s.length()], '\0') << c.name;
        else
            EXPECT_EQ(s.capacity(), 0) << c.name;
    }
}

// A plain replacement written the obvious way, to check the in-place rebuilds against.
std::string replacedNaively(std::string s, const std::string& pattern, const std::string& with) {
    for (size_t at = s.find(pattern); at != std::string::npos;
         at = s.find(pattern, at + with.size()))
        s.replace(at, pattern.size(), with);
    return s;
}

TEST(StringReplaceAll, RebuildsMatchAPlainReplacementForEveryLength) {
    std::string original;
    for (int i = 0; i < 300; ++i)
        original += std::string(size_t(i % 7), char('a' + i % 5)) + "<tok>";
    for (const char* with : {"", "x", "xy", "<tk>", "<tok>", "[12345]", "a much longer text"}) {
        String s(original.c_str());
        EXPECT_EQ(s.replaceAll("<tok>", with), 300) << with;
        EXPECT_EQ(text(s), replacedNaively(original, "<tok>", with)) << with;
    }
}

TEST(StringReplaceAll, ArgumentsInsideTheStringItself) {
    String s("abab-ab");
    EXPECT_EQ(s.replaceAll(s.c_str() + 5, "xyz"), 3);
    EXPECT_EQ(text(s), "xyzxyz-xyz");
    String t("a.b.c");
    EXPECT_EQ(t.replaceAll(".", t.c_str()), 2);
    EXPECT_EQ(text(t), "aa.b.cba.b.cc");
}

TEST(StringReplaceAll, WithCharAndRemoveSubstrings) {
    String s("a<>b<>c");
    EXPECT_EQ(s.replaceAllWithChar("<>", '|'), 2);
    EXPECT_EQ(text(s), "a|b|c");
    String z("a..b");
    EXPECT_EQ(z.replaceAllWithChar("..", '\0'), 1);
    EXPECT_EQ(text(z), std::string("a\0b", 3));
    String from("x-y-z");
    EXPECT_EQ(from.replaceAllWithChar("-", '+', 0, 2), 1);
    EXPECT_EQ(text(from), "x-y+z");
}

TEST(StringLineBreaks, NormalizeToCrLf) {
    const struct {
        const char* before;
        int changes;
        const char* after;
    } cases[] = {
        {"a\nb\rc\n\rd", 3, "a\r\nb\r\nc\r\nd"},
        {"a\r\nb\r\n", 0, "a\r\nb\r\n"},
        {"\n", 1, "\r\n"},
        {"\r", 1, "\r\n"},
        {"\n\r", 1, "\r\n"},
        {"x\n\rx\n\r", 2, "x\r\nx\r\n"},
        {"\r\n\r", 1, "\r\n\r\n"},
        {"x\n\n", 2, "x\r\n\r\n"},
        {"", 0, ""},
        {"plain", 0, "plain"},
    };
    for (const auto& c : cases) {
        String s(c.before);
        EXPECT_EQ(s.normalizeLineBreaks(), c.changes) << c.after;
        EXPECT_EQ(text(s), c.after);
    }
}

TEST(StringFormat, PrintfConventions) {
    String s;
    s.format("%s=%d", "x", 5);
    EXPECT_EQ(text(s), "x=5");
    s.appendFormat("%%%c%u", 'z', 7u);
    EXPECT_EQ(text(s), "x=5%z7");
    s.format("[%s]", s.c_str());
    EXPECT_EQ(text(s), "[x=5%z7]");
    s.appendFormat("%s", s.c_str());
    EXPECT_EQ(text(s), "[x=5%z7][x=5%z7]");
    EXPECT_EQ(text(String::formatted("%08X|%-3d|%5.1f", 0xBEEFu, 4, 2.26)), "0000BEEF|4  |  2.3");
    s.format("%s", "");
    EXPECT_EQ(s.capacity(), 0);
}

TEST(StringFormat, TextsUpToTheBufferArriveWhole) {
    const std::string fits(65535, 'f');
    EXPECT_EQ(text(String::formatted("%s", fits.c_str())), fits);
    // Past the format buffer, whatever is kept must be the text's own beginning.
    const std::string longer(70000, 'l');
    String s("head:");
    s.appendFormat("%s:%s", longer.c_str(), "tail");
    ASSERT_GE(s.length(), 5 + 65535);
    EXPECT_EQ(text(s).substr(0, 5 + 65535), "head:" + longer.substr(0, 65535));
    EXPECT_EQ(s.c_str()[s.length()], '\0');
}

} // namespace
