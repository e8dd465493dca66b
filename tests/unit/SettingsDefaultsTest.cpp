// The defaults the settings reader applies as it goes, the current language
// and the message texts' line breaks.
#include "SettingsSample.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

String expandProgramsDir(const String& text) {
    String result = text;
    result.replaceAll("%ProgramsDir%", "E:\\Apps", kFindNoCase);
    return result;
}

struct DefaultsCase {
    const char* name;
    bool uninstallable;
    const char* commandLineName;
    const char* publisher;
    const char* productName;
    const char* sharedPath;
    const char* startMenu;
    const char* installDir;
    const char* uninstallKey;
    // After reading:
    const char* wantProduct;
    const char* wantShared;
    const char* wantStartMenu;
    const char* wantInstallDir;
    const char* wantKey;
};

const DefaultsCase kDefaults[] = {
    {"all empty", true, "", "Acme", "Notes", "", "", "", "", "Notes", "C:\\PF\\Common Files\\Acme",
     "Acme\\Notes", "C:\\PF\\Notes", "Notes"},
    {"/n names the product everywhere", true, "Other", "Acme", "Notes", "", "", "", "  ", "Other",
     "C:\\PF\\Common Files\\Acme", "Acme\\Other", "C:\\PF\\Other", "Other"},
    {"blank publisher", true, "", "  ", "Notes", "", "", "", "", "Notes",
     "C:\\PF\\Common Files\\Notes", "  \\Notes", "C:\\PF\\Notes", "Notes"},
    {"empty publisher", true, "", "", "Notes", "", "", "", "", "Notes",
     "C:\\PF\\Common Files\\Notes", "Notes", "C:\\PF\\Notes", "Notes"},
    {"no uninstall support, no shared path", false, "", "Acme", "Notes", "Shared", "", "", "",
     "Notes", "", "Acme\\Notes", "C:\\PF\\Notes", "Notes"},
    {"given values stay", true, "", "Acme", "Notes", "D:\\Shared", "Menu", "D:\\Notes", "Key",
     "Notes", "D:\\Shared", "Menu", "D:\\Notes", "Key"},
    {"relative paths are completed", true, "", "Acme", "Notes", "Acme\\Bin", "", "Acme\\Notes", "",
     "Notes", "C:\\PF\\Common Files\\Acme\\Bin", "Acme\\Notes", "C:\\PF\\Acme\\Notes", "Notes"},
    {"<os> in any case", true, "", "Acme", "Notes", "", "", "<OS>\\Notes", "", "Notes",
     "C:\\PF\\Common Files\\Acme", "Acme\\Notes", "C:\\WINDOWS\\Notes", "Notes"},
    {"<master> stays as written", true, "", "Acme", "Notes", "", "", "<MASTER>", "", "Notes",
     "C:\\PF\\Common Files\\Acme", "Acme\\Notes", "<MASTER>", "Notes"},
    {"path variables", true, "", "Acme", "Notes", "", "", "%ProgramsDir%\\Notes", "", "Notes",
     "C:\\PF\\Common Files\\Acme", "Acme\\Notes", "E:\\Apps\\Notes", "Notes"},
    {"a default install dir of the product name keeps its tokens", true, "", "Acme", "<os> Notes",
     "", "", "", "", "<os> Notes", "C:\\PF\\Common Files\\Acme", "Acme\\<os> Notes",
     "C:\\PF\\<os> Notes", "<os> Notes"},
};

TEST(SettingsDefaults, AppliedInStreamOrderWithTheCommandLineName) {
    for (const DefaultsCase& c : kDefaults) {
        InstallSettings s = sampleSettings();
        s.productFlags = c.uninstallable ? uint64_t(Uninstallable) : 0;
        s.publisher = c.publisher;
        s.productName = c.productName;
        s.sharedPath = c.sharedPath;
        s.productStartMenu = c.startMenu;
        s.defaultInstallDir = c.installDir;
        s.uninstallKey = c.uninstallKey;
        SettingsInputs inputs = sampleInputs();
        inputs.productName = c.commandLineName;
        inputs.programFilesDir = "C:\\PF";
        inputs.commonFilesDir = "C:\\PF\\Common Files";
        inputs.expandPathVariables = expandProgramsDir;

        InstallSettings back;
        ASSERT_EQ(readSettings(settingsBytes(s), inputs, back), NotCorrupt) << c.name;
        EXPECT_EQ(str(back.productName), c.wantProduct) << c.name;
        EXPECT_EQ(str(back.sharedPath), c.wantShared) << c.name;
        EXPECT_EQ(str(back.productStartMenu), c.wantStartMenu) << c.name;
        EXPECT_EQ(str(back.defaultInstallDir), c.wantInstallDir) << c.name;
        EXPECT_EQ(str(back.uninstallKey), c.wantKey) << c.name;
    }
}

TEST(SettingsDefaults, MonoColorWhenTopEqualsBottom) {
    for (int32_t bottom : {0x00800000, 0x00800001, -1}) {
        InstallSettings s = sampleSettings();
        s.topColor = 0x00800000;
        s.bottomColor = bottom;
        InstallSettings back;
        ASSERT_EQ(readSettings(settingsBytes(s), sampleInputs(), back), NotCorrupt);
        EXPECT_EQ(back.monoColor, bottom == 0x00800000) << bottom;
        EXPECT_EQ(back.bottomColor, bottom);
    }
}

TEST(SettingsDefaults, CurrentLanguageIsTheLastExactEnglish) {
    struct Case {
        Array<String> languages;
        int want;
    } cases[] = {
        {{"English"}, 0},
        {{"Deutsch", "English", "Nederlands"}, 1},
        {{"English", "Deutsch", "English"}, 2},
        {{"Deutsch", "english", "ENGLISH", "English "}, 0},
    };
    for (const Case& c : cases) {
        InstallSettings s = sampleSettings();
        s.languages = c.languages;
        s.messageTable.resize(3, c.languages.count());
        InstallSettings back;
        ASSERT_EQ(readSettings(settingsBytes(s), sampleInputs(), back), NotCorrupt);
        EXPECT_EQ(back.currentLanguage, c.want) << str(c.languages[c.languages.count() - 1]);
    }
}

TEST(SettingsDefaults, MessageLineBreaksBecomeCrLf) {
    struct Case {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"one\ntwo", "one\r\ntwo"},   {"one\rtwo", "one\r\ntwo"}, {"one\n\rtwo", "one\r\ntwo"},
        {"one\r\ntwo", "one\r\ntwo"}, {"\n\n", "\r\n\r\n"},       {"end\r", "end\r\n"},
        {"no break", "no break"},
    };
    for (const Case& c : cases) {
        InstallSettings s = sampleSettings();
        s.messageTable.set(13, 1, String(c.stored));
        InstallSettings back;
        ASSERT_EQ(readSettings(settingsBytes(s), sampleInputs(), back), NotCorrupt);
        EXPECT_EQ(str(*back.messageTable.find(13, 1)), c.shown);
    }
}

TEST(SettingsDefaults, SmallestTableIsOneMessageInOneLanguage) {
    InstallSettings s = sampleSettings();
    s.languages = {"Deutsch"};
    s.messageTable.clear();
    s.messageTable.resize(1, 1);
    s.messageTable.set(0, 0, String("Titel"));
    InstallSettings back;
    ASSERT_EQ(readSettings(settingsBytes(s), sampleInputs(), back), NotCorrupt);
    EXPECT_EQ(back.messageTable.messageCount(), 1);
    EXPECT_EQ(back.currentLanguage, 0);
    EXPECT_EQ(str(*back.messageTable.find(0, 0)), "Titel");
}

} // namespace
