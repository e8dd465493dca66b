#include "ShellScratch.h"

#include "installer/UninstallRecord.h"
#include "installer/win32/Associations.h"

namespace {

class Associations : public ShellScratch {
protected:
    void SetUp() override {
        ShellScratch::SetUp();
        InstallSettings& s = installSettings();
        s.productName = "Acme Notes";
        s.languages = {"English", "Deutsch"};
        installation().installDir = at("app");
    }

    static FileAssociation association(const char* extension, const char* fileType,
                                       const char* verb = "open") {
        FileAssociation a;
        a.extension = extension;
        a.fileType = fileType;
        a.fileTypeDescription = "Acme Note";
        a.verb = verb;
        a.verbLabel = "&Open";
        a.commandLine = "\"%InstallDir%\\notes.exe\" \"%1\"";
        return a;
    }
    void associate(std::initializer_list<FileAssociation> list) {
        installSettings().fileAssociations = list;
        createFileAssociations();
    }

    // The default value of a key below the scratch classes root.
    std::string defaultOf(const std::string& key) const { return textOf(classes(), key); }
    std::string backupOf(const std::string& key) const {
        return textOf(classes(), key, "Acme Notes Backup");
    }
    void setDefault(const std::string& key, const std::string& value) const {
        setText(classes(), key, "", value);
    }
    static std::string associationList() { return str(installation().associationList); }

    // What the uninstaller reads back from the lines the installation recorded.
    static void removeRecorded() {
        const UninstallRecord record = readUninstallRecord(
            String("[Strings]\r\n[Associations]\r\n") + installation().associationList);
        removeFileAssociations(record.associations, installSettings().productName);
    }
};

TEST_F(Associations, ANewTypeGetsItsDescriptionIconVerbAndCommand) {
    FileAssociation a = association("acmenote", "Acme.Note");
    a.flags = kAssociationDefaultVerb;
    a.defaultIcon = "%InstallDir%\\notes.exe,0";
    associate({a});
    const std::string notes = path("app\\notes.exe");
    EXPECT_EQ(defaultOf(".acmenote"), "Acme.Note");
    EXPECT_EQ(defaultOf("Acme.Note"), "Acme Note");
    EXPECT_EQ(defaultOf("Acme.Note\\DefaultIcon"), notes + ",0");
    EXPECT_EQ(defaultOf("Acme.Note\\shell"), "open");
    EXPECT_EQ(defaultOf("Acme.Note\\shell\\open"), "&Open");
    EXPECT_EQ(defaultOf("Acme.Note\\shell\\open\\command"), "\"" + notes + "\" \"%1\"");
    for (const char* key : {".acmenote", "Acme.Note", "Acme.Note\\shell\\open\\command"})
        EXPECT_EQ(backupOf(key), "<none>") << key;
    // It made every key and value it wrote.
    EXPECT_EQ(associationList(), ".acmenote~!~Acme.Note~!~open~!~ETISVetisc\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(Associations, WithoutIconOrDefaultFlagThoseKeysStayAlone) {
    setDefault("Acme.Note\\shell", "edit");
    associate({association(".acmenote", "Acme.Note")});
    EXPECT_FALSE(keyExists(classes(), "Acme.Note\\DefaultIcon"));
    EXPECT_EQ(defaultOf("Acme.Note\\shell"), "edit");
    EXPECT_EQ(defaultOf("Acme.Note\\shell\\open\\command"),
              "\"" + path("app\\notes.exe") + "\" \"%1\"");
}

TEST_F(Associations, ReplacedValuesAreKeptUnderTheBackupValue) {
    setDefault(".txt", "txtfile");
    setDefault("Acme.Text", "Old text");
    setDefault("Acme.Text\\DefaultIcon", "C:\\APP\\NOTES.EXE,0");
    setDefault("Acme.Text\\shell", "   ");
    setDefault("Acme.Text\\shell\\open", "Old label");
    setDefault("Acme.Text\\shell\\open\\command", "old.exe %1");
    FileAssociation a = association(".txt", "Acme.Text");
    a.flags = kAssociationDefaultVerb;
    a.defaultIcon = "c:\\app\\notes.exe,0";
    associate({a});
    EXPECT_EQ(backupOf(".txt"), "txtfile");
    EXPECT_EQ(backupOf("Acme.Text"), "Old text");
    EXPECT_EQ(backupOf("Acme.Text\\shell\\open\\command"), "old.exe %1");
    // The same but for case, a blank value, and the verb's label: no backup.
    EXPECT_EQ(backupOf("Acme.Text\\DefaultIcon"), "<none>");
    EXPECT_EQ(backupOf("Acme.Text\\shell"), "<none>");
    EXPECT_EQ(backupOf("Acme.Text\\shell\\open"), "<none>");
    EXPECT_EQ(defaultOf("Acme.Text\\shell\\open"), "&Open");
    EXPECT_EQ(defaultOf(".txt"), "Acme.Text");
}

// An update with a new command must not overwrite the value the first
// installation kept: the uninstaller would then put back the product's own.
TEST_F(Associations, AnEarlierBackupSurvivesAReinstallation) {
    setDefault(".txt", "txtfile");
    associate({association(".txt", "Acme.Text")});
    FileAssociation update = association(".txt", "Acme.Text2");
    associate({update});
    EXPECT_EQ(defaultOf(".txt"), "Acme.Text2");
    EXPECT_EQ(backupOf(".txt"), "txtfile");
}

TEST_F(Associations, AnExtensionsOwnTypeCanBeAdopted) {
    struct Case {
        const char* fileType;
        const char* existing; // the extension's type before, or null for no key
        const char* usedType;
        const char* problem;
        const char* made; // what the association line says it made
    } cases[] = {
        {"!Acme.Note", "txtfile", "txtfile", "", "SVc"},
        {"", "txtfile", "txtfile", "", "SVc"},
        {"!Acme.Note", nullptr, "Acme.Note", "", "ETSVetc"},
        {"!Acme.Note", "", "Acme.Note", "", "TSVetc"},
        {"", nullptr, nullptr, "Association failed/key inaccessible:  \".ext\".\r\n\r\n", ""},
        {"", "", nullptr, "Association failed/no label:  \".ext\".\r\n\r\n", ""},
        // A bare "!" would name the classes root itself.
        {"!", "", nullptr, "Association failed/no label:  \".ext\".\r\n\r\n", ""},
    };
    for (const Case& c : cases) {
        RegDeleteTreeA(classes(), nullptr);
        installation() = Installation();
        installation().installDir = at("app");
        if (c.existing)
            setDefault(".ext", c.existing);
        if (c.existing && *c.existing)
            setDefault(std::string(c.existing), "Text Document");
        associate({association("ext", c.fileType)});
        const std::string label = std::string("\"") + c.fileType + "\" on " +
                                  (c.existing ? std::string("\"") + c.existing + "\"" : "none");
        EXPECT_EQ(problems(), c.problem) << label;
        if (!c.usedType) {
            EXPECT_EQ(associationList(), "") << label;
            EXPECT_EQ(defaultOf("shell"), "<none>") << label;
            EXPECT_FALSE(keyExists(classes(), "shell")) << label;
            continue;
        }
        const std::string type = c.usedType;
        EXPECT_EQ(associationList(), ".ext~!~" + type + "~!~open~!~" + c.made + "\r\n") << label;
        EXPECT_EQ(defaultOf(".ext"), type) << label;
        EXPECT_EQ(backupOf(".ext"), "<none>") << label;
        EXPECT_EQ(defaultOf(type + "\\shell\\open"), "&Open") << label;
        // An adopted type keeps its own description.
        EXPECT_EQ(defaultOf(type), type == "txtfile" ? "Text Document" : "Acme Note") << label;
    }
}

TEST_F(Associations, OnlyTheChosenLanguagesAssociationsApply) {
    installSettings().currentLanguage = 1;
    FileAssociation english = association("en", "Acme.En");
    english.language = "English";
    FileAssociation german = association("de", "Acme.De");
    german.language = "Deutsch";
    associate({english, german, association("", "Acme.None")});
    EXPECT_FALSE(keyExists(classes(), ".en"));
    EXPECT_FALSE(keyExists(classes(), "Acme.En"));
    EXPECT_FALSE(keyExists(classes(), "Acme.None"));
    EXPECT_EQ(defaultOf(".de"), "Acme.De");
    EXPECT_EQ(associationList(), ".de~!~Acme.De~!~open~!~ETSVetc\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(Associations, WhatCannotBeWrittenIsReportedAndListed) {
    struct Case {
        bool inaccessible;
        const char* verb;
        const char* made;
    } cases[] = {{true, "open", ""}, {false, "", "~!~ETet"}};
    for (const Case& c : cases) {
        installation() = Installation();
        if (c.inaccessible)
            makeInaccessible(HKEY_CLASSES_ROOT);
        associate({association("ext", "Acme.Note", c.verb)});
        RegOverridePredefKey(HKEY_CLASSES_ROOT, classes());
        EXPECT_EQ(problems(), "Failed to associate file type:  \".ext\".\r\n\r\n") << c.verb;
        EXPECT_EQ(associationList(), std::string(".ext~!~Acme.Note~!~") + c.verb + c.made + "\r\n");
    }
    // A blank verb would have put its label on "shell" itself.
    EXPECT_EQ(defaultOf("Acme.Note\\shell"), "<none>");
    EXPECT_FALSE(keyExists(classes(), "Acme.Note\\shell\\command"));
}

TEST_F(Associations, RemovalPutsBackWhatWasThereAndTakesAwayWhatWasNew) {
    setDefault(".txt", "txtfile");
    setDefault("txtfile\\shell\\open\\command", "notepad.exe %1");
    setDefault("Acme.Old", "Old description");
    setDefault("Acme.Old\\shell\\open\\command", "old.exe %1");
    setDefault("Acme.Old\\DefaultIcon", "old.exe,1");
    setDefault(".log", "logfile");
    setDefault("logfile\\shell\\open\\command", "notepad.exe %1");
    FileAssociation fresh = association("acmenote", "Acme.Note");
    fresh.flags = kAssociationDefaultVerb;
    fresh.defaultIcon = "%InstallDir%\\notes.exe,0";
    FileAssociation takeOver = association(".txt", "Acme.Old");
    takeOver.defaultIcon = "%InstallDir%\\notes.exe,0";
    associate({fresh, takeOver, association(".log", "", "acmeedit")});
    ASSERT_EQ(problems(), "");
    removeRecorded();

    // A type the installation made goes, with its extension.
    EXPECT_FALSE(keyExists(classes(), ".acmenote"));
    EXPECT_FALSE(keyExists(classes(), "Acme.Note"));
    // A type that was there gets its values back and stays.
    EXPECT_EQ(defaultOf(".txt"), "txtfile");
    EXPECT_EQ(defaultOf("Acme.Old"), "Old description");
    EXPECT_EQ(defaultOf("Acme.Old\\shell\\open\\command"), "old.exe %1");
    EXPECT_EQ(defaultOf("Acme.Old\\DefaultIcon"), "old.exe,1");
    EXPECT_EQ(defaultOf("txtfile\\shell\\open\\command"), "notepad.exe %1");
    for (const char* key : {".txt", "Acme.Old", "Acme.Old\\shell\\open\\command"})
        EXPECT_EQ(backupOf(key), "<none>") << key;
    // An adopted type loses only the verb that was added to it.
    EXPECT_FALSE(keyExists(classes(), "logfile\\shell\\acmeedit"));
    EXPECT_EQ(defaultOf("logfile\\shell\\open\\command"), "notepad.exe %1");
    EXPECT_EQ(defaultOf(".log"), "logfile");
}

// Another product took the extension over after this installation: putting
// back this product's backup, or deleting the extension with the type, would
// break that product's association.
TEST_F(Associations, AnExtensionTakenOverSinceIsLeftToItsNewOwner) {
    setDefault(".acme", "Plain.Type");
    associate({association(".acme", "Acme.Note")});
    setDefault(".acme", "Other.Type");
    setText(classes(), ".acme", "Other Product Backup", "Acme.Note");
    removeRecorded();
    EXPECT_FALSE(keyExists(classes(), "Acme.Note"));
    EXPECT_EQ(defaultOf(".acme"), "Other.Type");
    EXPECT_EQ(backupOf(".acme"), "<none>");
    EXPECT_EQ(textOf(classes(), ".acme", "Other Product Backup"), "Acme.Note");
}

TEST_F(Associations, RemovalLeavesTypesThatStillHoldOtherKeys) {
    associate({association(".acme", "Acme.Note"), association(".acme2", "Acme.Note", "print")});
    setDefault("Acme.Note\\shell\\edit\\command", "other.exe %1");
    setDefault(".gone", "Gone.Type");
    installation().associationList += ".gone~!~Gone.Type~!~open\r\n";
    removeRecorded();
    EXPECT_TRUE(keyExists(classes(), "Acme.Note\\shell\\edit"));
    EXPECT_FALSE(keyExists(classes(), "Acme.Note\\shell\\open"));
    EXPECT_FALSE(keyExists(classes(), "Acme.Note\\shell\\print"));
    EXPECT_EQ(defaultOf(".acme"), "Acme.Note");
    EXPECT_EQ(defaultOf(".acme2"), "Acme.Note");
    // A type that is no longer there leaves its extension alone.
    EXPECT_EQ(defaultOf(".gone"), "Gone.Type");
}

// Keys and values the installation found stay, whatever it wrote over them;
// a line without what it made (an older record, or one the entry does not
// vouch for) takes nothing away but the backups.
TEST_F(Associations, RemovalKeepsWhatTheInstallationFound) {
    setDefault(".lone", "Lone.Type");
    setDefault("Lone.Type\\DefaultIcon", "lone.exe,0");
    setDefault(".same", "Same.Type");
    setDefault("Same.Type", "Same description");
    setDefault("Same.Type\\DefaultIcon", path("app\\notes.exe") + ",0");
    FileAssociation lone = association(".lone", "!Acme.Lone");
    FileAssociation same = association(".same", "");
    same.defaultIcon = "%InstallDir%\\notes.exe,0";
    associate({lone, same});
    ASSERT_EQ(problems(), "");
    removeRecorded();
    EXPECT_EQ(defaultOf(".lone"), "Lone.Type");
    EXPECT_EQ(defaultOf("Lone.Type\\DefaultIcon"), "lone.exe,0");
    EXPECT_FALSE(keyExists(classes(), "Lone.Type\\shell"));
    EXPECT_EQ(defaultOf(".same"), "Same.Type");
    EXPECT_EQ(defaultOf("Same.Type"), "Same description");
    EXPECT_EQ(defaultOf("Same.Type\\DefaultIcon"), path("app\\notes.exe") + ",0");

    RegDeleteTreeA(classes(), nullptr);
    associate({association(".acme", "Acme.Note")});
    installation().associationList = ".acme~!~Acme.Note~!~open\r\n";
    removeRecorded();
    EXPECT_EQ(defaultOf(".acme"), "Acme.Note");
    EXPECT_TRUE(keyExists(classes(), "Acme.Note\\shell\\open\\command"));
}

// The second line finds the type the first one made: the type and both
// extensions still go.
TEST_F(Associations, ExtensionsSharingAMadeTypeGoWithIt) {
    FileAssociation second = association(".acme2", "Acme.Note", "print");
    second.defaultIcon = "%InstallDir%\\notes.exe,0";
    associate({association(".acme", "Acme.Note"), second});
    removeRecorded();
    for (const char* key : {".acme", ".acme2", "Acme.Note"})
        EXPECT_FALSE(keyExists(classes(), key)) << key;
}

TEST_F(Associations, NoAssociationsTouchNothing) {
    associate({});
    EXPECT_EQ(associationList(), "");
    EXPECT_EQ(problems(), "");
}

} // namespace
