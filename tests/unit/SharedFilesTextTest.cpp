#include "installer/SharedFilesText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), static_cast<size_t>(s.length()));
}

// Every path the text gives, in order.
std::vector<std::string> paths(const char* text) {
    String rest(text);
    std::vector<std::string> found;
    String path;
    while (takeSharedFileEntry(rest, path))
        found.push_back(str(path));
    return found;
}

using Paths = std::vector<std::string>;

TEST(SharedFilesText, EntriesLoseTheirQuotesAndMarkers) {
    EXPECT_EQ(paths("\"C:\\S\\a.dll \";\"C:\\S\\b.dll^\";\"C:\\S\\c.tlb\xA9\";\"C:\\S\\d.dll\""),
              (Paths{"C:\\S\\a.dll", "C:\\S\\b.dll", "C:\\S\\c.tlb", "C:\\S\\d.dll"}));
    // Only one marker goes.
    EXPECT_EQ(paths("\"C:\\S\\x^^\""), Paths{"C:\\S\\x^"});
}

TEST(SharedFilesText, TakingApartStopsAtTheFirstEmptyEntry) {
    struct Case {
        const char* text;
        Paths paths;
    } cases[] = {
        {"", {}},
        {"\"\"", {}},
        {"\" \";\"C:\\a\"", {}}, // a marker alone is an empty entry
        {"\"C:\\a\";;\"C:\\b\"", {"C:\\a"}},
        {"\"C:\\a\";\"\";\"C:\\b\"", {"C:\\a"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paths(c.text), c.paths) << c.text;
}

TEST(SharedFilesText, DamagedTextsStillEnd) {
    struct Case {
        const char* text;
        Paths paths;
    } cases[] = {
        {"C:\\a;C:\\b^", {"C:\\a", "C:\\b"}}, // unquoted entries run to the ";"
        {"\"C:\\a;b", {"C:\\a;b"}},           // an open quote runs to the end
        {"\"C:\\a\"x;\"C:\\b\"", {"C:\\a", "x", "C:\\b"}},
        {"\"C:\\a\"\"b\"", {"C:\\a\"b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(paths(c.text), c.paths) << c.text;
}

TEST(SharedFilesText, WhatIsWrittenReadsBack) {
    const std::vector<std::string> entries = {"C:\\S\\a.dll ", "C:\\S\\b.dll^", "C:\\S\\c.tlb\xA9",
                                              "C:\\S\\plain.dll", "C:\\odd\"name"};
    String text;
    for (const std::string& entry : entries)
        appendSharedFileEntry(text, String(entry.c_str()));
    EXPECT_EQ(str(text), "\"C:\\S\\a.dll \";\"C:\\S\\b.dll^\";\"C:\\S\\c.tlb\xA9\";"
                         "\"C:\\S\\plain.dll\";\"C:\\odd\"\"name\"");
    EXPECT_EQ(paths(text.c_str()), (Paths{"C:\\S\\a.dll", "C:\\S\\b.dll", "C:\\S\\c.tlb",
                                          "C:\\S\\plain.dll", "C:\\odd\"name"}));
}

} // namespace
