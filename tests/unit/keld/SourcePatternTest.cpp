#include "keld/SourcePattern.h"
#include "keld/PathText.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using keld::PathStyle;

TEST(SourcePattern, NamesMatchAsTheShellMatchesThem) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.html", "index.html", true},
        {"*.html", "index.htm", false},
        {"*.html", "index.HTML", false},
        {"*", "", true},
        {"*", "a", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
        {"?.txt", "a.txt", true},
        {"?.txt", "ab.txt", false},
        {"[ab].txt", "b.txt", true},
        {"[ab].txt", "c.txt", false},
        {"[a-c]x", "bx", true},
        {"[!a-c]x", "bx", false},
        {"[!a-c]x", "dx", true},
        {"[^a-c]x", "dx", true},
        {"[]]x", "]x", true},
        {"[a-]x", "-x", true},
        {"[abc", "[abc", true},
        {"[abc", "a", false},
        {"*", ".hidden", false},
        {"?hidden", ".hidden", false},
        {"[.]hidden", ".hidden", false},
        {".*", ".hidden", true},
        {"**.txt", "a.txt", true},
        {"*\xC3\xA9*", "caf\xC3\xA9.txt", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.name);
        EXPECT_EQ(keld::matchesName(c.pattern, c.name, PathStyle::Posix), c.matches);
        EXPECT_EQ(keld::matchesName(c.pattern, c.name, PathStyle::Windows), c.matches);
    }
}

TEST(SourcePattern, BackslashQuotesOnPosixOnly) {
    EXPECT_TRUE(keld::matchesName("a\\*", "a*", PathStyle::Posix));
    EXPECT_FALSE(keld::matchesName("a\\*", "ab", PathStyle::Posix));
    EXPECT_TRUE(keld::matchesName("\\.*", ".hidden", PathStyle::Posix));
    EXPECT_TRUE(keld::matchesName("[\\]]", "]", PathStyle::Posix));
}

TEST(SourcePattern, ExpandsEveryWildcardFolderOfThisMachine) {
    ProjectTestFolder folder;
    folder.write("dist/help/a.html", "a");
    folder.write("dist/help/b.htm", "b");
    folder.write("dist/help/.c.html", "c");
    folder.write("dist/guide/d.html", "d");
    folder.write("dist/guide.html", "e");
    folder.write("dist/caf\xC3\xA9/f.html", "f");

    auto expand = [&](const std::string& pattern) {
        std::vector<std::string> found = keld::expandPattern(folder.path(pattern));
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(expand("dist/help/*.html"),
              std::vector<std::string>{folder.path("dist/help/a.html")});
    EXPECT_EQ(expand("dist/*/*.html"),
              (std::vector<std::string>{folder.path("dist/caf\xC3\xA9/f.html"),
                                        folder.path("dist/guide/d.html"),
                                        folder.path("dist/help/a.html")}));
    EXPECT_EQ(expand("dist/gui*"), (std::vector<std::string>{folder.path("dist/guide"),
                                                             folder.path("dist/guide.html")}));
    EXPECT_EQ(expand("dist/help/.*"), std::vector<std::string>{folder.path("dist/help/.c.html")});
    EXPECT_TRUE(expand("dist/none/*.html").empty());
    EXPECT_TRUE(expand("dist/*/none.html").empty());
}

} // namespace
