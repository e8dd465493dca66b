#include "installer/ShellNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), static_cast<size_t>(s.length()));
}

TEST(ShellNames, LinksEndInLnkOnce) {
    struct Case {
        const char* path;
        const char* link;
    } cases[] = {
        {"C:\\Desk\\Notes", "C:\\Desk\\Notes.LNK"},
        {"C:\\Desk\\Notes.lnk", "C:\\Desk\\Notes.lnk"},
        {"C:\\Desk\\Notes.LnK", "C:\\Desk\\Notes.LnK"},
        {"C:\\Desk\\Notes.txt", "C:\\Desk\\Notes.txt.LNK"},
        // ".lnk" elsewhere in the path does not make the file a shortcut.
        {"C:\\My.lnk files\\Notes", "C:\\My.lnk files\\Notes.LNK"},
        {"C:\\Desk\\Notes.lnk.bak", "C:\\Desk\\Notes.lnk.bak.LNK"},
        {"lnk", "lnk.LNK"},
    };
    for (const Case& c : cases) {
        String path(c.path);
        addLinkExtension(path);
        EXPECT_EQ(str(path), c.link) << c.path;
    }
}

TEST(ShellNames, BackupValueNameHasNoKeySeparatorsOrBreaks) {
    EXPECT_EQ(str(associationBackupName("Acme Notes")), "Acme Notes Backup");
    EXPECT_EQ(str(associationBackupName("Acme\\Notes\r\n\t2")), "AcmeNotes2 Backup");
    EXPECT_EQ(str(associationBackupName("")), " Backup");
}

TEST(ShellNames, AnAssociationAppliesToItsLanguageOnly) {
    struct Case {
        const char* extension;
        const char* language;
        const char* current;
        bool applies;
    } cases[] = {
        {"txt", "", "English", true},         {"txt", "English", "English", true},
        {"txt", "english", "English", false}, {"txt", "Deutsch", "English", false},
        {"", "", "English", false},           {"txt", "English", "", false},
    };
    for (const Case& c : cases) {
        FileAssociation a;
        a.extension = c.extension;
        a.language = c.language;
        EXPECT_EQ(associationApplies(a, String(c.current)), c.applies)
            << c.extension << "/" << c.language << "/" << c.current;
    }
}

TEST(ShellNames, ExtensionsAndListLines) {
    EXPECT_EQ(str(dottedExtension("txt")), ".txt");
    EXPECT_EQ(str(dottedExtension(".txt")), ".txt");
    String list;
    appendAssociationLine(list, ".txt", "txtfile", "open");
    appendAssociationLine(list, ".acme", "Acme.Note", "print", MadeCommandValue | MadeTypeKey);
    EXPECT_EQ(str(list), ".txt~!~txtfile~!~open\r\n.acme~!~Acme.Note~!~print~!~Tc\r\n");
}

} // namespace
