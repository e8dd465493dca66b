#include "core/Path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

TEST(PathHelpers, JoinUsesExactlyOneSeparator) {
    struct Case {
        const char* dir;
        const char* name;
        const char* joined;
    } cases[] = {
        {"C:\\A", "b.txt", "C:\\A\\b.txt"},
        {"C:\\A\\", "b.txt", "C:\\A\\b.txt"},
        {"C:\\A\\", "\\b.txt", "C:\\A\\b.txt"},
        {"C:", "b.txt", "C:b.txt"},
        {"", "b.txt", "b.txt"},
        {"C:\\A", "", "C:\\A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(joinPath(String(c.dir), String(c.name))), c.joined);
}

TEST(PathHelpers, DirectoryAndNameParts) {
    struct Case {
        const char* path;
        const char* dir;
        const char* name;
    } cases[] = {
        {"C:\\x", "C:\\", "x"},
        {"C:x", "C:", "x"},
        {"C:\\d\\x", "C:\\d", "x"},
        {"x", "", "x"},
        {"C:\\d\\x;C:\\e\\y", "C:\\d", "y"},
        {"\"C:\\a;b\\x\"", "\"C:\\a;b", "x\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(str(directoryPart(String(c.path))), c.dir) << c.path;
        EXPECT_EQ(str(fileNamePart(String(c.path))), c.name) << c.path;
    }
}

TEST(PathHelpers, LastSeparatorStopsAtTheFirstUnquotedSemicolon) {
    struct Case {
        const char* path;
        int index;
    } cases[] = {
        {"a\\b;c\\d", 1}, {"a\\b\\c", 3}, {"C:x", 1},        {"C:\\x", 2},
        {"x", -1},        {"", -1},       {"\"a;b\\c\"", 4}, {"a;b\\c", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lastSeparator(String(c.path)), c.index) << c.path;
}

TEST(PathHelpers, StripAndKeepDirectory) {
    struct Case {
        const char* path;
        const char* name;
        const char* directory; // null: keepDirectory refuses
    } cases[] = {
        {"C:\\d\\x.txt", "x.txt", "C:\\d\\"},
        {"C:x", "x", "C:"},
        {"x", "x", nullptr},
        {"\\x", "x", "\\"},
        {"C:\\d\\", "", "C:\\d\\"},
    };
    for (const Case& c : cases) {
        String stripped(c.path), kept(c.path);
        stripDirectory(stripped);
        EXPECT_EQ(str(stripped), c.name) << c.path;
        EXPECT_EQ(keepDirectory(kept), c.directory != nullptr) << c.path;
        EXPECT_EQ(str(kept), c.directory ? c.directory : c.path) << c.path;
    }
}

TEST(PathHelpers, ExtensionsBelongToTheNameOnly) {
    struct Case {
        const char* path;
        int position;
        const char* stripped;
    } cases[] = {
        {"C:\\d\\x.txt", 6, "C:\\d\\x"},
        {"C:\\d.old\\x", -1, "C:\\d.old\\x"},
        {"a.tar.gz", 5, "a.tar"},
        {"x.", 1, "x"},
        {"", -1, ""},
    };
    for (const Case& c : cases) {
        String path(c.path);
        EXPECT_EQ(extensionPosition(path), c.position) << c.path;
        EXPECT_EQ(stripExtension(path), c.position >= 0) << c.path;
        EXPECT_EQ(str(path), c.stripped) << c.path;
    }
}

TEST(PathHelpers, AddExtensionOnlyWhereThereIsNone) {
    struct Case {
        const char* path;
        const char* extension;
        bool added;
        const char* result;
    } cases[] = {
        {"C:\\d\\x", "txt", true, "C:\\d\\x.txt"},
        {"C:\\d\\x", ".txt", true, "C:\\d\\x.txt"},
        {"C:\\d.old\\x", "txt", true, "C:\\d.old\\x.txt"},
        {"C:\\d\\x.log", "txt", false, "C:\\d\\x.log"},
        {"  ", "txt", false, "  "},
        {"x", nullptr, false, "x"},
    };
    for (const Case& c : cases) {
        String path(c.path);
        EXPECT_EQ(addExtension(path, c.extension), c.added) << c.path;
        EXPECT_EQ(str(path), c.result) << c.path;
    }
}

TEST(PathHelpers, SplitDirectoryKeepsOnlyADriveRootsSeparator) {
    struct Case {
        const char* path;
        const char* directory;
        const char* rest;
    } cases[] = {
        {"C:\\d\\x", "C:\\d", "x"}, {"C:\\x", "C:\\", "x"}, {"\\x", "", "\\x"}, {"x", "", "x"},
        {"a\\b\\", "a\\b", ""},
    };
    for (const Case& c : cases) {
        String path(c.path);
        EXPECT_EQ(str(splitDirectory(path)), c.directory) << c.path;
        EXPECT_EQ(str(path), c.rest) << c.path;
    }
}

TEST(PathHelpers, SplitPathKeepsTheSeparatorWithTheDirectory) {
    struct Case {
        const char* path;
        bool result;
        const char* directory;
        const char* name;
    } cases[] = {
        {"C:\\d\\x", true, "C:\\d\\", "x"},
        {"C:x", true, "C:", "x"},
        {"x", true, "", "x"},
        {"", false, "", ""},
        {"\\", true, "\\", ""},
    };
    for (const Case& c : cases) {
        String directory("old"), name("old");
        EXPECT_EQ(splitPath(String(c.path), directory, name), c.result) << c.path;
        EXPECT_EQ(str(directory), c.directory) << c.path;
        EXPECT_EQ(str(name), c.name) << c.path;
    }
}

TEST(PathHelpers, AbsolutePaths) {
    struct Case {
        const char* text;
        bool absolute;
    } cases[] = {
        {"C:\\x", true}, {" \t\r\nC:\\", true}, {"\\\\server\\share", true},
        {"C:x", false},  {"\\x", false},        {"x", false},
        {"", false},     {"C", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isAbsolutePath(c.text), c.absolute) << c.text;
    EXPECT_FALSE(isAbsolutePath(nullptr));
}

TEST(PathHelpers, ValidPathsByWildcardFlags) {
    struct Case {
        const char* path;
        int flags;
        bool valid;
    } cases[] = {
        {"C:\\a*b", 0, false},
        {"C:\\a*b", kPathAllowStar, true},
        {"C:\\a?b", kPathAllowStar, false},
        {"C:\\a?b", kPathAllowWildcards, true},
        {"C:\\a?b", kPathAllowStar | kPathAllowWildcards, true},
        {"C:\\a b\\c.txt", 0, true},
        {"\"C:\\a b\"", 0, true},
        {"\"C:\\a\"b\"", 0, false},
        {"\"\"", 0, false},
        {"1:\\a", 0, false},
        {"C:\\a:b", 0, false},
        {"C:\\a;b", 0, false},
        {"C:/a", 0, false},
        {"C:\\a|b", 0, false},
        {"C:\\a<b", 0, false},
        {"", 0, false},
        {"  C:\\a", 0, false},
        {" \"C:\\a\" ", 0, false},
        {" \"C:\\a\" ", kPathTrim, true},
        {"   ", kPathTrim, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidPath(String(c.path), c.flags), c.valid) << c.path << " " << c.flags;
}

TEST(PathHelpers, MakeAbsoluteCompletesAgainstTheBase) {
    struct Case {
        const char* path;
        const char* base;
        bool completed;
        const char* result;
    } cases[] = {
        {"sub", "C:\\prog", true, "C:\\prog\\sub"},
        {"sub", "C:\\prog\\", true, "C:\\prog\\sub"},
        {" sub\\x ", "  C:\\prog", true, "C:\\prog\\sub\\x"},
        {"\\sub", "C:\\prog", true, "C:\\sub"},
        {"C:\\x", "C:\\prog", false, "C:\\x"},
        {"D:sub", "C:\\prog", true, "D:\\prog\\sub"},
        {"D:sub", "C:\\", true, "D:\\sub"},
        {"sub", "\\\\srv\\share", true, "\\\\srv\\share\\sub"},
        {"\\sub", "\\\\srv\\share", false, "\\sub"},
        {"D:sub", "\\\\srv\\share", false, "D:sub"},
        {"\\\\srv\\x", "C:\\prog", false, "\\\\srv\\x"},
        {"sub", "prog", false, "sub"},
        {"sub", "C:prog", false, "sub"},
        {"  ", "C:\\prog", false, ""},
    };
    for (const Case& c : cases) {
        String path(c.path);
        EXPECT_EQ(makeAbsolute(path, c.base), c.completed) << c.path << " on " << c.base;
        EXPECT_EQ(str(path), c.result) << c.path << " on " << c.base;
    }
    String path("sub");
    EXPECT_FALSE(makeAbsolute(path, nullptr));
    EXPECT_EQ(str(path), "sub");
}

TEST(PathHelpers, SamePathIgnoresCaseAndTrailingSeparators) {
    EXPECT_TRUE(samePath(String("C:\\Program Files\\"), String("c:\\program files")));
    EXPECT_TRUE(samePath(String("C:\\"), String("C:")));
    EXPECT_TRUE(samePath(String(""), String("")));
    EXPECT_FALSE(samePath(String("C:\\a"), String("C:\\ab")));
    EXPECT_FALSE(samePath(String("C:\\a"), String("")));
}

TEST(PathHelpers, Drives) {
    struct Case {
        const char* path;
        const char* drive;
        char letter;
        const char* root;
    } cases[] = {
        {"c:\\x", "c:", 'C', "c:\\"}, {"D:x", "D:", 'D', "D:"}, {"x\\y", "x:", 0, ""},
        {"\\\\srv", "", 0, ""},       {"1:\\", "", 0, ""},      {"", "", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(str(driveSpec(String(c.path))), c.drive) << c.path;
        EXPECT_EQ(driveLetter(String(c.path)), c.letter) << c.path;
        EXPECT_EQ(str(driveRoot(String(c.path))), c.root) << c.path;
    }
}

} // namespace
