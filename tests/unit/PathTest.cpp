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

} // namespace
