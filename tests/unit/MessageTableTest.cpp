#include "installer/MessageTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

TEST(MessageTable, MissingRowOrColumnGivesEmptyText) {
    MessageTable table;
    EXPECT_EQ(str(messageFrom(table, 0, 0, String("P"), String("C:\\W"))), "");
    table.resize(2, 1);
    table.set(1, 0, String("Hello"));
    EXPECT_EQ(str(messageFrom(table, 1, 0, String("P"), String("C:\\W"))), "Hello");
    EXPECT_EQ(str(messageFrom(table, 1, 1, String("P"), String("C:\\W"))), "");
    EXPECT_EQ(str(messageFrom(table, 2, 0, String("P"), String("C:\\W"))), "");
    EXPECT_EQ(str(messageFrom(table, -1, 0, String("P"), String("C:\\W"))), "");
}

TEST(MessageTable, SetGrowsAndKeepsExistingTexts) {
    MessageTable table;
    table.set(0, 0, String("zero"));
    table.set(40, 2, String("forty"));
    EXPECT_EQ(table.messageCount(), 41);
    EXPECT_EQ(table.languageCount(), 3);
    EXPECT_EQ(str(*table.find(0, 0)), "zero");
    EXPECT_EQ(str(*table.find(40, 2)), "forty");
    EXPECT_EQ(str(*table.find(40, 0)), "");
}

TEST(MessageTable, FillsProductAndWindowsDirectoryInAnyCase) {
    MessageTable table;
    table.set(5, 0, String("Install <Product> into <os>\\<PRODUCT>? <OS> <prod>"));
    EXPECT_EQ(str(messageFrom(table, 5, 0, String("Acme Notes"), String("C:\\WINDOWS"))),
              "Install Acme Notes into C:\\WINDOWS\\Acme Notes? C:\\WINDOWS <prod>");
}

TEST(MessageTable, CorruptionTextTakesOnlyTheCode) {
    struct Case {
        const char* format;
        int code;
        const char* text;
    } cases[] = {
        {"Error code: %d", 42, "Error code: 42"},
        {"%d%% done, %d again", 7, "7% done, 7 again"},
        {"hostile %s %n %x", 3, "hostile %s %n %x"},
        {"trailing %", 1, "trailing %"},
        {"", 9, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(formatWithCode(String(c.format), c.code)), c.text) << c.format;
}

TEST(MessageTable, TextMessagesTakeOnlyTheText) {
    struct Case {
        const char* format;
        const char* text;
        const char* result;
    } cases[] = {
        {"Shortcut to %s", "notes.exe", "Shortcut to notes.exe"},
        {"%s and %s, 100%%", "x", "x and x, 100%"},
        {"hostile %d %n %x %", "y", "hostile %d %n %x %"},
        {"no argument", "z", "no argument"},
        {"%s", "%s %d", "%s %d"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(formatWithText(String(c.format), String(c.text))), c.result) << c.format;
}

TEST(MessageTable, MessagesTakeTheirValuesInOrder) {
    EXPECT_EQ(str(formatMessage("<product> needs %s, but drive %c: has only %s free.",
                                {"3 MB", 'C', "1 MB"})),
              "<product> needs 3 MB, but drive C: has only 1 MB free.");
    EXPECT_EQ(str(formatMessage("%s %s %s", {"one"})), "one  ");
    EXPECT_EQ(str(formatMessage("%n%x%%%d", {"7"})), "%n%x%7");
    EXPECT_EQ(str(formatMessage("no values", {})), "no values");
}

} // namespace
