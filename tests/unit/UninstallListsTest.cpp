#include "installer/UninstallLists.h"
#include "installer/SharedFilesText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

const char* kindName(RecordedItemKind kind) {
    switch (kind) {
    case RecordedItemKind::None:
        return "none";
    case RecordedItemKind::File:
        return "file";
    case RecordedItemKind::Directory:
        return "directory";
    case RecordedItemKind::ClassesKey:
        return "key";
    }
    return "?";
}

TEST(UninstallLists, EachLineOfTheFileListIsOneItem) {
    struct Case {
        const char* line;
        const char* kind;
        const char* value;
    } cases[] = {
        {"C:\\Acme\\a.txt", "file", "C:\\Acme\\a.txt"},
        {"\\\\server\\share\\a.txt", "file", "\\\\server\\share\\a.txt"},
        {"C:\\Acme\\..\\Shared\\x.dll", "file", "C:\\Acme\\..\\Shared\\x.dll"},
        {"~C:\\Acme\\sub", "directory", "C:\\Acme\\sub"},
        {"!CLSID\\{12345}", "key", "CLSID\\{12345}"},
        {"", "none", ""},
        // Nothing that could reach beyond what the installation listed.
        {"a.txt", "none", ""},
        {"~sub", "none", ""},
        {" C:\\Acme\\a.txt", "none", ""},
        {"C:\\Acme\\*.*", "none", ""},
        {"C:\\Acme\\a?.txt", "none", ""},
        {"C:\\Acme\\a\tb", "none", ""},
        {"~", "none", ""},
        {"!", "none", ""},
        {"! ", "none", ""},
        {"!\\CLSID", "none", ""},
        {"!CLSID\\", "none", ""},
        {"!CLSID\\\\x", "none", ""},
    };
    for (const Case& c : cases) {
        const RecordedItem item = recordedItem(c.line);
        EXPECT_STREQ(kindName(item.kind), c.kind) << c.line;
        if (item.kind != RecordedItemKind::None) {
            EXPECT_EQ(str(item.value), c.value) << c.line;
        }
    }
    // A zero byte would cut the path short where the system reads it.
    EXPECT_EQ(recordedItem(String("C:\\Acme\\a\0b", 11)).kind, RecordedItemKind::None);
}

TEST(UninstallLists, TheBarMovesFrom10To89OverTheList) {
    EXPECT_EQ(lineCount("a\r\nb\r\n\r\n"), 3);
    EXPECT_EQ(lineCount(""), 0);
    EXPECT_EQ(fileListProgress(0, 3), 10);
    EXPECT_EQ(fileListProgress(1, 3), 36);
    EXPECT_EQ(fileListProgress(2, 3), 63);
    EXPECT_EQ(fileListProgress(0, 0), 10);
    EXPECT_EQ(fileListProgress(99999999, 100000000), 89); // no overflow on long lists
}

std::vector<std::string> fonts(const String& text) {
    std::vector<std::string> found;
    int pos = 0;
    ProductFont font;
    while (nextProductFont(text, pos, font))
        found.push_back(str(font.registryName) + "|" + str(font.fileName));
    return found;
}

using Found = std::vector<std::string>;

TEST(UninstallLists, ProductFontsComeInPairs) {
    struct Case {
        const char* text;
        Found fonts;
    } cases[] = {
        // As the installation writes it.
        {"\"Acme Sans (TrueType)\" \"ACMESANS.TTF\" \"Acme \"\"Mono\"\"\" \"ACMEMONO.TTF\" ",
         {"Acme Sans (TrueType)|ACMESANS.TTF", "Acme \"Mono\"|ACMEMONO.TTF"}},
        {" \r\n\t\"A\"\r\n\"a.ttf\"", {"A|a.ttf"}},
        {"", {}},
        {"\"A\" \"\" \"B\" \"b.ttf\"", {}},
        {"\"\" \"a.ttf\"", {}},
        {"A a.ttf", {}},
        {"\"A\" a.ttf", {}},
        {"\"A\" \"a.ttf", {"A|a.ttf"}}, // an open quote runs to the end
        {"\"A\"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fonts(c.text), c.fonts) << c.text;
}

TEST(UninstallLists, AFontFileNameStaysInTheFontsFolder) {
    for (const char* name : {"ACME.TTF", "acme sans.fon"})
        EXPECT_TRUE(isPlainFileName(name)) << name;
    for (const char* name : {"", " ", "..", ".", "..\\system32\\kernel32.dll", "C:\\x.ttf",
                             "C:x.ttf", "sub/x.ttf", "x\r.ttf"})
        EXPECT_FALSE(isPlainFileName(name)) << name;
}

TEST(UninstallLists, SharedFileMarkersSayWhatHappensToTheFile) {
    struct Case {
        const char* entry;
        const char* path;
        bool comServer, countOnly, typeLibrary;
    } cases[] = {
        {"C:\\S\\a.dll", "C:\\S\\a.dll", false, false, false},
        {"C:\\S\\a.dll^", "C:\\S\\a.dll", true, false, false},
        {"C:\\S\\a.dll ", "C:\\S\\a.dll", false, true, false},
        {"C:\\S\\a.tlb\xA9", "C:\\S\\a.tlb", false, false, true},
        // Markers are taken in the order ^, blank, 0xA9, each once.
        {"C:\\S\\a.dll ^", "C:\\S\\a.dll", true, true, false},
        {"C:\\S\\a.dll^ ", "C:\\S\\a.dll^", false, true, false},
        {"C:\\S\\a\xA9 ^", "C:\\S\\a", true, true, true},
        {"^", "", true, false, false},
    };
    for (const Case& c : cases) {
        const SharedFileRemoval removal = sharedFileRemoval(c.entry);
        EXPECT_EQ(str(removal.path), c.path) << c.entry;
        EXPECT_EQ(removal.comServer, c.comServer) << c.entry;
        EXPECT_EQ(removal.countOnly, c.countOnly) << c.entry;
        EXPECT_EQ(removal.typeLibrary, c.typeLibrary) << c.entry;
    }
}

TEST(UninstallLists, SharedFileEntriesAreWalkedWithoutShorteningTheText) {
    const String text = "\"C:\\S\\a.dll^\";\"C:\\S\\odd\"\"name \";C:\\S\\plain;\"\"";
    std::vector<std::string> entries;
    int pos = 0;
    String entry;
    while (nextSharedFileEntry(text, pos, entry))
        entries.push_back(str(entry));
    EXPECT_EQ(entries, (Found{"C:\\S\\a.dll^", "C:\\S\\odd\"name ", "C:\\S\\plain", ""}));
    EXPECT_EQ(pos, text.length());
}

} // namespace
