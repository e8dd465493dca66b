#include "core/StringParse.h"
#include "core/String.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string text(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}
String bytes(const char* p, int n) {
    return String(p, n);
}

TEST(StringParseLines, TakeLineHandlesEveryBreak) {
    struct Case {
        String source;
        const char* line;
        const char* withBreak;
        const char* rest;
    } cases[] = {
        {"one\r\ntwo", "one", "one\r\n", "two"},
        {"one\n\rtwo", "one", "one\n\r", "two"},
        {"one\r\rtwo", "one", "one\r", "\rtwo"},
        {"one\n\ntwo", "one", "one\n", "\ntwo"},
        {"one\rtwo", "one", "one\r", "two"},
        {bytes("one\0two", 7), "one", nullptr, "two"},
        {"\r\n", "", "\r\n", ""},
        {"last", "last", "last", ""},
        {"", "", "", ""},
    };
    for (auto& c : cases) {
        String s = c.source;
        EXPECT_EQ(text(takeLine(s)), c.line) << text(c.source);
        EXPECT_EQ(text(s), c.rest) << text(c.source);
        if (c.withBreak) {
            String t = c.source;
            EXPECT_EQ(text(takeLineWithBreak(t)), c.withBreak) << text(c.source);
            EXPECT_EQ(text(t), c.rest) << text(c.source);
        }
    }
    String zero = bytes("one\0two", 7);
    EXPECT_EQ(text(takeLineWithBreak(zero)), std::string("one\0", 4));
}

TEST(StringParseLines, TakingLinesInTurnSeesEveryLine) {
    String s = "a\r\nb\n\rc\rd\n\ne";
    const char* expected[] = {"a", "b", "c", "d", "", "e"};
    for (const char* line : expected)
        EXPECT_EQ(text(takeLine(s)), line);
    EXPECT_TRUE(s.isEmpty());
}

TEST(StringParseTake, UntilFromAndFirstChar) {
    String s = "key=value=more";
    EXPECT_EQ(text(takeUntil(s, '=')), "key");
    EXPECT_EQ(text(s), "value=more");
    EXPECT_EQ(text(takeUntil(s, '#')), "value=more");
    EXPECT_TRUE(s.isEmpty());

    String t = "path\\Sub~!~Type~!~open";
    EXPECT_EQ(text(takeFrom(t, "~!~")), "~!~Type~!~open");
    EXPECT_EQ(text(t), "path\\Sub");
    EXPECT_EQ(text(takeFrom(t, "SUB")), "");
    EXPECT_EQ(text(t), "path\\Sub");
    EXPECT_EQ(text(takeFrom(t, "SUB", kFindNoCase)), "Sub");
    EXPECT_EQ(text(t), "path\\");

    String u = "ab";
    EXPECT_EQ(takeFirstChar(u), 'a');
    EXPECT_EQ(takeFirstChar(u), 'b');
    EXPECT_EQ(takeFirstChar(u), '\0');
    EXPECT_TRUE(u.isEmpty());
}

TEST(StringParseTake, RangesClampToTheString) {
    const String s = "abcdef";
    const struct {
        int start, count;
        const char* expected;
    } cases[] = {{0, 3, "abc"}, {2, 100, "cdef"}, {-2, 3, "abc"}, {6, 1, ""},
                 {5, 1, "f"},   {1, 0, ""},       {1, -4, ""},    {100, 2, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(text(substring(s, c.start, c.count)), c.expected) << c.start << "," << c.count;
        String out = "stale";
        EXPECT_EQ(copyRange(s, out, c.start, c.count), *c.expected != '\0');
        EXPECT_EQ(text(out), c.expected);
        String cutFrom = s;
        EXPECT_EQ(text(cut(cutFrom, c.start, c.count)), c.expected);
        EXPECT_EQ(cutFrom.length() + int(std::strlen(c.expected)), s.length());
    }
    String t = "abcdef";
    EXPECT_EQ(text(cut(t, 1, 2)), "bc");
    EXPECT_EQ(text(t), "adef");
}

TEST(StringParseTake, RemoveLeadingCharOf) {
    const struct {
        const char* source;
        const char* set;
        bool removed;
        const char* rest;
    } cases[] = {{"/a", "/-", true, "a"},     {"-a", "/-", true, "a"},  {"a/", "/-", false, "a/"},
                 {"", "/-", false, ""},       {"//a", "/", true, "/a"}, {"/a", "", false, "/a"},
                 {"/a", nullptr, false, "/a"}};
    for (const auto& c : cases) {
        String s = c.source;
        EXPECT_EQ(removeLeadingCharOf(s, c.set), c.removed) << c.source;
        EXPECT_EQ(text(s), c.rest) << c.source;
    }
    String zero = bytes("\0a", 2);
    EXPECT_FALSE(removeLeadingCharOf(zero, "/"));
}

TEST(StringParseTake, TakeDelimited) {
    const struct {
        const char* source;
        int pos;
        const char* content;
        const char* rest;
    } cases[] = {
        {"\"abc\" tail", 0, "abc", " tail"},
        {"x\"a\"\"b\"y", 1, "a\"b", "xy"},
        {"\"\"\"\"", 0, "\"", ""},
        {"\"\"", 0, "", ""},
        {"\"open to the end", 0, "open to the end", ""},
        {"\"ends with doubled\"\"", 0, "ends with doubled\"", ""},
        {"abc", 0, "", "abc"},
        {"\"abc\"", 1, "", "\"abc\""},
        {"\"abc\"", -1, "", "\"abc\""},
        {"\"abc\"", 5, "", "\"abc\""},
    };
    for (const auto& c : cases) {
        String s = c.source;
        EXPECT_EQ(text(takeDelimited(s, '"', c.pos)), c.content) << c.source;
        EXPECT_EQ(text(s), c.rest) << c.source;
    }
    String other = "|a||b| c";
    EXPECT_EQ(text(takeDelimited(other, '|', 0)), "a|b");
    EXPECT_EQ(text(other), " c");
}

TEST(StringParseTake, TakeArgumentInTurn) {
    String s = "  /a  /d:\"C:\\Program Files\\x\"  \"say \"\"hi\"\"\"\tlast";
    const char* expected[] = {"/a", "/d:\"C:\\Program Files\\x\"", "\"say \"hi\"\"", "last", ""};
    for (const char* argument : expected)
        EXPECT_EQ(text(takeArgument(s)), argument);
    EXPECT_TRUE(s.isEmpty());
    String open = "\"no end";
    EXPECT_EQ(text(takeArgument(open)), "\"no end\"");
}

TEST(StringParseNumbers, ToIntAndToInt64) {
    const struct {
        const char* source;
        int32_t int32;
        int64_t int64;
    } cases[] = {
        {"1,234 words", 1234, 1234},
        {"Version 4.2", 4, 4},
        {"words only", 0, 0},
        {"", 0, 0},
        {"  -17", -17, -17},
        {"+8x", 8, 8},
        {"-,5", -5, -5},
        {".5", 0, 0},
        {"+-5", 0, 0},
        {"2147483647", INT32_MAX, INT32_MAX},
        {"4294967295", -1, 4294967295LL},
        {"9,223,372,036,854,775,807", -1, INT64_MAX},
        {"99999999999999999999999", int32_t(0xF67FFFFFu), int64_t(0x02C7E14AF67FFFFFULL)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toInt(c.source), c.int32) << c.source;
        EXPECT_EQ(toInt64(c.source), c.int64) << c.source;
    }
}

TEST(StringParseNumbers, ParseIntAt) {
    const String s = "x-12+7 9";
    const struct {
        int pos;
        int32_t value;
        int newPos;
    } cases[] = {{1, -12, 4}, {4, 7, 6},         {7, 9, 8},          {0, 0, 0},
                 {6, 0, 6},   {8, INT32_MIN, 8}, {-1, INT32_MIN, -1}};
    for (const auto& c : cases) {
        int pos = c.pos;
        EXPECT_EQ(parseIntAt(s, pos), c.value) << c.pos;
        EXPECT_EQ(pos, c.newPos) << c.pos;
    }
}

TEST(StringParseNumbers, ParseIntFlags) {
    const struct {
        const char* source;
        int flags;
        int32_t value;
        const char* rest;
    } cases[] = {
        {"12 ,3", 0, 12, " ,3"},
        {"  12", 0, 0, "  12"},
        {"  12  x", kParseSkipBefore, 12, "  x"},
        {"  12  x", kParseSkipBefore | kParseSkipAfter, 12, "x"},
        {"-12", 0, -12, ""},
        {"-12", kParseNoSign, 0, "-12"},
        {"x", 0, 0, "x"},
        {"x", kParseRequired, INT32_MIN, "x"},
        {"-", kParseRequired, INT32_MIN, "-"},
        {"3, 4", kParseEatComma, 3, " 4"},
        {"3 , 4", kParseEatComma | kParseSkipAfter, 3, "4"},
        {"3 4", kParseEatComma | kParseSkipAfter, 3, "4"},
        {"3;4", kParseEatComma, 3, ";4"},
    };
    for (const auto& c : cases) {
        const char* cursor = c.source;
        EXPECT_EQ(parseInt(cursor, c.flags), c.value) << c.source << " flags " << c.flags;
        EXPECT_STREQ(cursor, c.rest) << c.source << " flags " << c.flags;
    }
    EXPECT_EQ(parseInt(String("12abc")), 12);
    EXPECT_EQ(parseInt(String("abc")), 0);
}

TEST(StringParseNumbers, ToBool) {
    const struct {
        const char* source;
        bool value;
    } cases[] = {{"", false},  {"   ", false},   {"0", false},        {" No ", false}, {"n", false},
                 {"F", false}, {"fAlSe", false}, {"\tno\r\n", false}, {"yes", true},   {"1", true},
                 {"00", true}, {"nope", true},   {"true", true},      {"-1", true},    {"x", true}};
    for (const auto& c : cases)
        EXPECT_EQ(toBool(c.source), c.value) << "'" << c.source << "'";
}

} // namespace
