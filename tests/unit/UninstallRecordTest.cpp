#include "installer/UninstallRecord.h"
#include "installer/InstallRecords.h"
#include "installer/ShellNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), size_t(s.length()));
}

String bytes(const std::string& s) {
    return String(s.data(), int(s.size()));
}

// The text of message `id`, or "<none>" when the table has no row for it.
std::string stringOf(const UninstallRecord& record, int id) {
    const String* text = record.strings.find(id, 0);
    return text ? str(*text) : "<none>";
}

std::vector<std::string> associationLines(const UninstallRecord& record) {
    std::vector<std::string> lines;
    for (const RecordedAssociation& a : record.associations)
        lines.push_back(str(a.extension) + "|" + str(a.fileType) + "|" + str(a.verb) +
                        (a.made ? "|" + str(associationMadeText(a.made)) : ""));
    return lines;
}

std::vector<std::string> lines(const std::string& text) {
    const String source = bytes(text);
    LineReader reader(source);
    std::vector<std::string> found;
    String line;
    while (reader.next(line))
        found.push_back(str(line) + "/" + std::to_string(reader.breakLength()));
    return found;
}

using Lines = std::vector<std::string>;

TEST(UninstallRecord, WhatTheInstallationWritesReadsBack) {
    Array<String> strings;
    for (int i = 0; i < kUninstallStringCount; ++i)
        strings.append(String::formatted("Text %d", kUninstallStringIds[i]));
    strings[2] = "Two\r\nlines";
    strings[3] = "";
    const String list = "C:\\Acme\\a.txt\r\n~C:\\Acme\\sub\r\n";
    const String associations = ".acme~!~Acme.Note~!~open\r\n.txt~!~txtfile~!~edit\r\n";
    const UninstallRecord record =
        readUninstallRecord(uninstallDataText(list, strings, associations));
    EXPECT_EQ(str(record.fileList), str(list) + "\r\n\r\n");
    for (int i = 0; i < kUninstallStringCount; ++i)
        EXPECT_EQ(stringOf(record, kUninstallStringIds[i]), str(strings[i]))
            << kUninstallStringIds[i];
    EXPECT_EQ(stringOf(record, 11), "");
    EXPECT_EQ(associationLines(record), (Lines{".acme|Acme.Note|open", ".txt|txtfile|edit"}));
    EXPECT_EQ(str(record.unreadAssociations), "");
}

TEST(UninstallRecord, SectionsAreFoundInAnyLetterCase) {
    struct Case {
        const char* text;
        const char* fileList;
        const char* message;
        Lines associations;
    } cases[] = {
        {"", "", "<none>", {}},
        {"C:\\a\r\n", "C:\\a\r\n", "<none>", {}},
        // Without [Strings] an [Associations] heading is just a line of the list.
        {"C:\\a\r\n[Associations]\r\n.x~!~t~!~v\r\n",
         "C:\\a\r\n[Associations]\r\n.x~!~t~!~v\r\n",
         "<none>",
         {}},
        {"C:\\a\r\n[sTRINGS]\r\n~10\r\nTen\r\n[associations]\r\n.x~!~t~!~v",
         "C:\\a\r\n",
         "Ten",
         {".x|t|v"}},
        {"[STRINGS]~10\r\nTen", "", "Ten", {}},
    };
    for (const Case& c : cases) {
        const UninstallRecord record = readUninstallRecord(c.text);
        EXPECT_EQ(str(record.fileList), c.fileList) << c.text;
        EXPECT_EQ(stringOf(record, 10), c.message) << c.text;
        EXPECT_EQ(associationLines(record), c.associations) << c.text;
    }
}

TEST(UninstallRecord, MessagesRunToTheNextIdLine) {
    struct Case {
        const char* strings;
        int id;
        const char* text;
    } cases[] = {
        {"~10\r\nFirst\r\nSecond\r\n~15\r\nNext", 10, "First\r\nSecond"},
        {"~10\nA\n\rB\rC \t\r\n\r\n", 10, "A\n\rB\rC"}, // each break kept as it was
        {"~ 1,0\r\nTen", 10, "Ten"},                    // the number from its first digit
        {"~10 and more\r\nTen", 10, "Ten"},
        {"~10\r\n~15\r\nFifteen", 10, ""},
        {"~10\r\n  Indented\r\n", 10, "  Indented"},
        {"~1000\r\nLast", 1000, "Last"},
        // Ids outside 1 to 1000 are skipped; their lines are read as id lines.
        {"~0\r\n~10\r\nTen", 10, "Ten"},
        {"~1001\r\nX\r\n~10\r\nTen", 1001, "<none>"},
        {"~-10\r\nX", 10, "<none>"},
        {"~x\r\nX", 0, "<none>"},
        {"10\r\nTen", 10, "<none>"},
        {"~10\r\nOld\r\n~10\r\nNew", 10, "New"},
    };
    for (const Case& c : cases) {
        const UninstallRecord record = readUninstallRecord(String("[Strings]\r\n") + c.strings);
        EXPECT_EQ(stringOf(record, c.id), c.text) << c.strings;
    }
}

TEST(UninstallRecord, OnlyTheFirst500IdLinesAreRead) {
    // Id line 1 is the rest of the heading's line, id line 2 the first id,
    // whose 600 text lines do not count.
    std::string text = "[Strings]\r\n~10\r\n";
    for (int i = 0; i < 600; ++i)
        text += "line\r\n";
    // Id lines 3 to 499.
    for (int id = 101; id <= 597; ++id)
        text += "~" + std::to_string(id) + "\r\nT\r\n";
    text += "~20\r\nTwenty\r\n~30\r\nThirty\r\n";
    const UninstallRecord record = readUninstallRecord(bytes(text));
    EXPECT_EQ(stringOf(record, 10).size(), 600u * 6 - 2);
    EXPECT_EQ(stringOf(record, 597), "T");
    EXPECT_EQ(stringOf(record, 20), "Twenty"); // id line 500
    EXPECT_EQ(stringOf(record, 30), "");       // id line 501
}

// A fourth part says what the installation made; lines written before it
// was recorded read as having made nothing.
TEST(UninstallRecord, AssociationLinesNeedAllThreeParts) {
    struct Case {
        const char* line;
        const char* read; // null: dropped
    } cases[] = {
        {".acme~!~Acme.Note~!~open", ".acme|Acme.Note|open"},
        {".acme~!~Acme.Note~!~open~!~ETISVetisc", ".acme|Acme.Note|open|ETISVetisc"},
        {".acme~!~Acme.Note~!~open~!~cVx?T", ".acme|Acme.Note|open|TVc"},
        {".acme~!~Acme.Note~!~open~!~", ".acme|Acme.Note|open"},
        {".acme~!~Acme.Note~!~open~!~ETI~!~S", ".acme|Acme.Note|open|ETIS"},
        {" .acme ~!~ Acme ~!~ open ", " .acme | Acme | open "},
        {".acme~!~Acme.Note", nullptr},
        {".acme~!~~!~open", nullptr},
        {"~!~Acme.Note~!~open", nullptr},
        {".acme~!~Acme.Note~!~ \t", nullptr},
        {".acme~!~ ~!~open", nullptr},
        {".acme~!~Acme.Note~!~", nullptr},
        {".acme~~Acme~~open", nullptr},
        {".acme~!~A~!~B~!~", ".acme|A|B"},
    };
    for (const Case& c : cases) {
        const UninstallRecord record =
            readUninstallRecord(String("[Strings]\r\n[Associations]\r\n") + c.line);
        EXPECT_EQ(associationLines(record), c.read ? Lines{c.read} : Lines{}) << c.line;
    }
}

// The lines beyond the first 500 stay for the next run; empty lines count,
// the rest of the heading's line too.
TEST(UninstallRecord, AssociationsBeyond500LinesAreKeptUnread) {
    std::string text = "[Strings]\r\n[Associations]\r\n";
    for (int i = 1; i < 500; ++i)
        text += ".e" + std::to_string(i) + "~!~t~!~v\r\n";
    text += ".late~!~t~!~v\r\n.later~!~t~!~v\r\n";
    const UninstallRecord record = readUninstallRecord(bytes(text));
    ASSERT_EQ(record.associations.count(), 499);
    EXPECT_EQ(str(record.associations[498].extension), ".e499");
    EXPECT_EQ(str(record.unreadAssociations), ".late~!~t~!~v\r\n.later~!~t~!~v\r\n");
}

TEST(UninstallRecord, LinesEndAtEveryKindOfBreak) {
    EXPECT_EQ(lines("a\r\nb\nc\rd\n\re"), (Lines{"a/2", "b/1", "c/1", "d/2", "e/0"}));
    EXPECT_EQ(lines("a\r\rb\n\nc"), (Lines{"a/1", "/1", "b/1", "/1", "c/0"}));
    EXPECT_EQ(lines(std::string("a\0b\r\n", 5)), (Lines{std::string("a\0b/2", 5)}));
    EXPECT_EQ(lines(""), Lines{});
    EXPECT_EQ(lines("\r\n"), Lines{"/2"});
}

} // namespace
