#include "keld/PathText.h"

#include <gtest/gtest.h>

namespace {

using keld::PathStyle;

const PathStyle kPosix = PathStyle::Posix;
const PathStyle kWindows = PathStyle::Windows;

TEST(PathText, RootsOfEachStyle) {
    struct Case {
        const char* path;
        PathStyle style;
        size_t root;
    };
    const Case cases[] = {
        {"", kPosix, 0},
        {"a/b", kPosix, 0},
        {"/a/b", kPosix, 1},
        {"C:\\a", kPosix, 0},
        {"\\a", kPosix, 0},
        {"a\\b", kWindows, 0},
        {"C:\\a", kWindows, 3},
        {"c:/a", kWindows, 3},
        {"C:a", kWindows, 2},
        {"C:", kWindows, 2},
        {"\\a", kWindows, 1},
        {"/a", kWindows, 1},
        {"\\\\server\\share\\a", kWindows, 15},
        {"//server/share", kWindows, 14},
        {"1:\\a", kWindows, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(keld::rootLength(c.path, c.style), c.root);
        EXPECT_EQ(keld::hasRoot(c.path, c.style), c.root > 0);
    }
}

TEST(PathText, FolderNameAndStem) {
    struct Case {
        const char* path;
        PathStyle style;
        const char* folder;
        const char* name;
        const char* stem;
    };
    const Case cases[] = {
        {"acme.toml", kPosix, "", "acme.toml", "acme"},
        {"a/b/acme.toml", kPosix, "a/b", "acme.toml", "acme"},
        {"a//acme.toml", kPosix, "a", "acme.toml", "acme"},
        {"/acme.toml", kPosix, "/", "acme.toml", "acme"},
        {"a\\acme.toml", kPosix, "", "a\\acme.toml", "a\\acme"},
        {"a/.profile", kPosix, "a", ".profile", ".profile"},
        {"a/setup.tar.gz", kPosix, "a", "setup.tar.gz", "setup.tar"},
        {"C:\\work\\acme.toml", kWindows, "C:\\work", "acme.toml", "acme"},
        {"C:\\work/dist\\setup.exe", kWindows, "C:\\work/dist", "setup.exe", "setup"},
        {"C:\\acme.toml", kWindows, "C:\\", "acme.toml", "acme"},
        {"C:acme.toml", kWindows, "C:", "acme.toml", "acme"},
        {"\\\\server\\share\\acme.toml", kWindows, "\\\\server\\share\\", "acme.toml", "acme"},
        {"a\\acme", kWindows, "a", "acme", "acme"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(keld::folderOf(c.path, c.style), c.folder);
        EXPECT_EQ(keld::fileNameOf(c.path, c.style), c.name);
        EXPECT_EQ(keld::fileStemOf(c.path, c.style), c.stem);
    }
}

TEST(PathText, JoinKeepsRootedPathsAndAddsOneSeparator) {
    struct Case {
        const char* folder;
        const char* path;
        PathStyle style;
        const char* joined;
    };
    const Case cases[] = {
        {"", "dist/a.txt", kPosix, "dist/a.txt"},
        {"proj", "dist/a.txt", kPosix, "proj/dist/a.txt"},
        {"proj/", "a.txt", kPosix, "proj/a.txt"},
        {"/", "a.txt", kPosix, "/a.txt"},
        {"proj", "/abs/a.txt", kPosix, "/abs/a.txt"},
        {"proj", "C:\\a.txt", kPosix, "proj/C:\\a.txt"},
        {"proj", "", kPosix, ""},
        {"C:\\proj", "dist/a.txt", kWindows, "C:\\proj\\dist/a.txt"},
        {"C:\\proj\\", "a.txt", kWindows, "C:\\proj\\a.txt"},
        {"C:\\", "a.txt", kWindows, "C:\\a.txt"},
        {"C:", "a.txt", kWindows, "C:a.txt"},
        {"C:\\proj", "D:\\a.txt", kWindows, "D:\\a.txt"},
        {"C:\\proj", "D:a.txt", kWindows, "D:a.txt"},
        {"C:\\proj", "\\a.txt", kWindows, "\\a.txt"},
        {"C:\\proj", "/a.txt", kWindows, "/a.txt"},
        {"C:\\proj", "\\\\server\\share\\a.txt", kWindows, "\\\\server\\share\\a.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " + " + c.path);
        EXPECT_EQ(keld::joinPath(c.folder, c.path, c.style), c.joined);
    }
}

} // namespace
