#include "core/Array.h"
#include "core/String.h"
#include "core/StringParse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> tokens(const String& source, const char* delimiters, int flags) {
    Array<String> list;
    list.append(String("before"));
    const int added = split(source, list, delimiters, flags);
    std::vector<std::string> out;
    EXPECT_EQ(added, list.count() - 1);
    for (int i = 1; i < list.count(); ++i)
        out.emplace_back(list[i].c_str(), size_t(list[i].length()));
    return out;
}

using Tokens = std::vector<std::string>;

struct SplitCase {
    String source;
    const char* delimiters;
    int flags;
    Tokens expected;
};

TEST(StringParseSplit, FlagTable) {
    const SplitCase cases[] = {
        {"a,,b", ",", 0, {"a", "b"}},
        {"a,,b", ",", kSplitKeepEmpty, {"a", "", "b"}},
        {"a,b,", ",", 0, {"a", "b"}},
        {"a,b,", ",", kSplitKeepEmpty, {"a", "b", ""}},
        {",", ",", kSplitKeepEmpty, {"", ""}},
        {"", ",", kSplitKeepEmpty, {}},
        {"a b;c", " ;", 0, {"a", "b", "c"}},
        {"abc", nullptr, 0, {"abc"}},
        {"abc", "", 0, {"abc"}},
        {String("a\0b,c", 5), ",", 0, {std::string("a\0b", 3), "c"}},
        {String("a\0b,c", 5), ",", kSplitAtZero, {"a", "b", "c"}},
        {"a\r\nb\n\rc\rd\ne", nullptr, kSplitAtLineBreak, {"a", "b", "c", "d", "e"}},
        {"a\r\n\r\nb", nullptr, kSplitAtLineBreak, {"a", "b"}},
        {"a\r\n\r\nb", nullptr, kSplitAtLineBreak | kSplitKeepEmpty, {"a", "", "b"}},
        {" a , b ,  ", ",", kSplitTrim, {"a", "b"}},
        {" a , b ", ",", 0, {" a ", " b "}},
        {"\"a,b\",c", ",", 0, {"\"a", "b\"", "c"}},
        {"\"a,b\",c", ",", kSplitQuotesProtect, {"\"a,b\"", "c"}},
        {"a,b;c", ",;", kSplitKeepDelimiter, {"a,", "b;", "c"}},
        {"a\r\nb", nullptr, kSplitAtLineBreak | kSplitKeepDelimiter, {"a\r\n", "b"}},
        {"\"a\",\"b\"\"c\",d", ",", kSplitUnquote, {"a", "b\"\"c", "d"}},
        {"\"a\",\"b\"\"c\",d", ",", kSplitUnquote | kSplitUndoubleQuotes, {"a", "b\"c", "d"}},
        {"x\"\"y", ",", kSplitUnquote | kSplitUndoubleQuotes, {"x\"\"y"}},
        {" \" a \" ,b", ",", kSplitTrim | kSplitUnquote, {"a", "b"}},
        {"\"\",b", ",", kSplitUnquote, {"b"}},
        {"\"\",b", ",", kSplitUnquote | kSplitKeepEmpty, {"", "b"}},
        {"a,,b,c", ",", kSplitDoubledIsLiteral, {"a,b", "c"}},
        {"a,,,b", ",", kSplitDoubledIsLiteral, {"a,", "b"}},
        {"a\\,b,c\\\\,d", ",", kSplitBackslashEscapes, {"a,b", "c\\", "d"}},
        {"a\\", ",", kSplitBackslashEscapes, {"a\\"}},
        {"\"a\\\",b\",c", ",", kSplitQuotesProtect | kSplitBackslashEscapes, {"\"a\",b\"", "c"}},
        {"\"open,a\nb,c", ",", kSplitQuotesProtect | kSplitAtLineBreak, {"\"open,a", "b", "c"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tokens(c.source, c.delimiters, c.flags), c.expected)
            << std::string(c.source.c_str(), size_t(c.source.length())) << " flags 0x" << std::hex
            << c.flags;
}

TEST(StringParseSplit, SplitLinesKeepsEmptyLinesAndStopsAtZeroBytes) {
    Array<String> lines;
    const char source[] = "one\r\n\r\ntwo\0three\n";
    EXPECT_EQ(splitLines(String(source, int(sizeof source) - 1), lines), 5);
    const char* expected[] = {"one", "", "two", "three", ""};
    ASSERT_EQ(lines.count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(lines[i].c_str(), expected[i]) << i;
}

} // namespace
