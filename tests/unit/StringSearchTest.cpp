#include "core/String.h"

#include <gtest/gtest.h>

namespace {

struct FindCase {
    const char* text;
    const char* pattern;
    int start;
    int flags;
    int patternLength;
    int expected;
};

TEST(StringFind, FlagTable) {
    const int all = kWholeText;
    const FindCase cases[] = {
        {"abcabc", "bc", 0, 0, all, 1},
        {"abcabc", "bc", 2, 0, all, 4},
        {"abcabc", "bc", -7, 0, all, 1},
        {"abcabc", "bc", 5, 0, all, -1},
        {"abcabc", "cab", 0, 0, 1, 2},
        {"abcabc", "abcabcd", 0, 0, all, -1},
        {"abcabc", "", 0, 0, all, -1},
        {"", "a", 0, 0, all, -1},
        // case
        {"abcABC", "BC", 0, 0, all, 4},
        {"abcABC", "BC", 0, kFindNoCase, all, 1},
        // end index
        {"abcabc", "bc", 0, kFindEndIndex, all, 3},
        {"abcabc", "bc", 0, kFindNoCase | kFindEndIndex, all, 3},
        // backward: from start - 1, clamped to the last possible match
        {"abcabc", "bc", 100, kFindBackward, all, 4},
        {"abcabc", "bc", 5, kFindBackward, all, 4},
        {"abcabc", "bc", 4, kFindBackward, all, 1},
        {"abcabc", "a", 0, kFindBackward, all, -1},
        {"abcabc", "bc", 100, kFindBackward | kFindEndIndex, all, 6},
        // whole word
        {"cat concat cat_x cat", "cat", 0, kFindWholeWord, all, 0},
        {"cat concat cat_x cat", "cat", 1, kFindWholeWord, all, 17},
        {"Cat catalog CAT", "cat", 1, kFindWholeWord | kFindNoCase, all, 12},
        {"x-cat-9cat", "cat", 0, kFindWholeWord, all, 2},
        // '?' matches any one character only with the wildcard flag
        {"file1.txt file2.doc", "file?.doc", 0, kFindWildcard, all, 10},
        {"file1.txt file2.doc", "file?.doc", 0, 0, all, -1},
        {"file?.doc file2.doc", "FILE?.DOC", 0, kFindWildcard | kFindNoCase, all, 0},
        // quoted stretches
        {"a \"b;c\" ;", ";", 0, 0, all, 4},
        {"a \"b;c\" ;", ";", 0, kFindSkipQuoted, all, 8},
        {"x \"; ;", ";", 0, kFindSkipQuoted, all, -1},
        {"a;\"b;c\";d", ";", 100, kFindBackward | kFindSkipQuoted, all, 7},
        {"a;\"b;c\";d", ";", 7, kFindBackward | kFindSkipQuoted, all, 1},
        {"a;\"b;c\";d", ";", 7, kFindBackward, all, 4},
        // character sets
        {"path/to\\file", "\\/", 0, kFindCharSet, all, 4},
        {"path/to\\file", "\\/", 100, kFindCharSet | kFindBackward, all, 7},
        {"path/to\\file", "\\/", 0, kFindCharSet | kFindEndIndex, all, 5},
        {"xyzABC", "cb", 0, kFindCharSet, all, -1},
        {"xyzABC", "cb", 0, kFindCharSet | kFindNoCase, all, 4},
        {"a;\";\";", ";", 2, kFindCharSet | kFindSkipQuoted, all, 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(String(c.text).find(c.pattern, c.start, c.flags, c.patternLength), c.expected)
            << '"' << c.text << "\" / \"" << c.pattern << "\" from " << c.start << " flags 0x"
            << std::hex << c.flags;
    }
}

TEST(StringFind, BinaryContentIsSearchedPastZeroBytes) {
    const String s("a\0b\0key", 7);
    EXPECT_EQ(s.find("key"), 4);
    EXPECT_EQ(s.find("\0b", 0, 0, 2), 1);
}

TEST(StringFindChar, ForwardAndBackward) {
    const String quoted("a\"b;\";c");
    EXPECT_EQ(quoted.findChar(';'), 3);
    EXPECT_EQ(quoted.findChar(';', 0, kFindSkipQuoted), 5);
    EXPECT_EQ(quoted.findChar(';', -4), 3);
    EXPECT_EQ(quoted.findChar(';', 7), -1);
    EXPECT_EQ(String("abC").findChar('c'), -1);
    EXPECT_EQ(String("abC").findChar('c', 0, kFindNoCase), 2);
    EXPECT_EQ(String("x \"; ;").findChar(';', 0, kFindSkipQuoted), -1);
    EXPECT_EQ(String().findChar('a'), -1);

    const String list("x;\"a;b\"c");
    EXPECT_EQ(list.findLastChar(';'), 4);
    EXPECT_EQ(list.findLastChar(';', kWholeText, kFindSkipQuoted), 1);
    EXPECT_EQ(list.findLastChar(';', 3), 1);
    EXPECT_EQ(list.findLastChar(';', -1), -1);
    EXPECT_EQ(String("aXbx").findLastChar('X', 100, kFindNoCase), 3);
    EXPECT_EQ(String().findLastChar('a'), -1);
}

TEST(StringFindSets, AnyNotAndNumbers) {
    const String s("  key = v");
    EXPECT_EQ(s.findAnyOf("="), 6);
    EXPECT_EQ(s.findAnyOf("=", 7), -1);
    EXPECT_EQ(s.findNotOf(" "), 2);
    EXPECT_EQ(s.findNotOf(" ", -3), 2);
    EXPECT_EQ(s.findAnyOf(""), -1);
    EXPECT_EQ(s.findNotOf(""), -1);
    EXPECT_EQ(s.findAnyOf(nullptr), -1);
    EXPECT_EQ(s.findNotOf(" ", 100), -1);

    EXPECT_EQ(String("abc -12").findNumberStart(), 4);
    EXPECT_EQ(String("v1.5").findNumberStart(), 1);
    EXPECT_EQ(String("x.5").findNumberStart(), 1);
    EXPECT_EQ(String("a+").findNumberStart(), 1);
    EXPECT_EQ(String("none").findNumberStart(), -1);
}

TEST(StringFindLineBreak, PairsCountAsOne) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"ab\r\ncd", 4}, {"ab\n\rcd", 4}, {"ab\ncd", 3}, {"ab\rcd", 3}, {"ab\r\rcd", 3},
        {"\n\n", 1},     {"none", -1},    {"", -1},      {nullptr, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findFirstLineBreak(c.text), c.expected) << (c.text ? c.text : "(null)");
}

struct CompareCase {
    const char* self;
    const char* other;
    bool caseSensitive;
    int maxLength;
    int expected;
};

TEST(StringCompare, TextForm) {
    const int all = kWholeText;
    const CompareCase cases[] = {
        {"pause", "PAUSE", false, all, 0}, {"pauses", "PAUSE", false, all, 1},
        {"paus", "PAUSE", false, all, -1}, {"pause", "PAUSE", true, all, 1},
        {"", "", false, all, 0},           {"", nullptr, false, all, 0},
        {"x", "", false, all, 1},          {"x", nullptr, true, all, 1},
        {"", "x", false, all, -1},         {"abcdef", "abcxyz", true, 3, 0},
        {"abcdef", "abcxyz", true, 4, -1}, {"abcdef", "xyz", true, 0, 0},
        {"\xE4", "a", true, all, 1},       {"\xE4", "\xC4", false, all, 1},
        {"_", "A", false, all, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(String(c.self).compare(c.other, c.caseSensitive, c.maxLength), c.expected)
            << '"' << c.self << "\" vs \"" << (c.other ? c.other : "(null)") << '"';
    }
}

TEST(StringCompare, StringFormTreatsAnEmptySelfAsLess) {
    EXPECT_EQ(String().compare(String(), false), -1);
    EXPECT_EQ(String().compare(String("a"), false), -1);
    EXPECT_EQ(String("a").compare(String(), false), 1);
    EXPECT_EQ(String("Setup").compare(String("SETUP"), false), 0);
    EXPECT_EQ(String("Setup").compare(String("SETUP"), true), 1);
    EXPECT_EQ(String("a\0b", 3).compare(String("a\0c", 3), true), -1)
        << "binary content compares past zero bytes";
    EXPECT_EQ(String("ab").compare(String("abc"), true, 2), 0);
}

TEST(StringCompare, EqualityAndPrefixes) {
    EXPECT_TRUE(String("abc").equals("abc"));
    EXPECT_FALSE(String("abc").equals("ab"));
    EXPECT_FALSE(String("abc").equals("ABC"));
    EXPECT_TRUE(String().equals(nullptr));
    EXPECT_TRUE(String().equals(""));
    EXPECT_TRUE(String("a\0b", 3).differs("a"));
    EXPECT_TRUE(String("a").equalsString(String("a")));
    EXPECT_TRUE(String("a").differsString(String("a\0", 2)));

    const String key("Software\\X");
    EXPECT_TRUE(key.startsWith("Soft"));
    EXPECT_FALSE(key.startsWith("soft"));
    EXPECT_FALSE(key.startsWith("Sx", 2));
    EXPECT_TRUE(key.startsWith("Sox", 2));
    EXPECT_FALSE(key.startsWith(""));
    EXPECT_FALSE(key.startsWith("S", 0));
    EXPECT_FALSE(String("ab").startsWith("abc"));

    String path("C:\\Windows\\System");
    EXPECT_TRUE(path.removePrefix("c:\\windows\\"));
    EXPECT_EQ(path, "System");
    EXPECT_FALSE(path.removePrefix("x"));
    EXPECT_FALSE(path.removePrefix(""));
    EXPECT_EQ(path, "System");
    String file("setup.exe");
    EXPECT_TRUE(file.removeSuffix(".EXE"));
    EXPECT_EQ(file, "setup");
    EXPECT_FALSE(file.removeSuffix("longer than the text"));
    String limited("abcdef");
    EXPECT_TRUE(limited.removePrefix("ABCxyz", 3));
    EXPECT_EQ(limited, "def");
    EXPECT_TRUE(limited.removeSuffix("DEF"));
    EXPECT_EQ(limited.capacity(), 0);
}

} // namespace
