#include "RegistryScratch.h"

#include "platform/Registry.h"

namespace {

using RegistryKeys = RegistryScratch;

TEST_F(RegistryKeys, OpenTellsCreatedFromOpenedAndCloseGoesBack) {
    RegistryKey key;
    EXPECT_EQ(key.open(HKEY_CURRENT_USER, at("fresh"), 0), kRegCreated);
    EXPECT_EQ(text(key.name()), "HKEY_CURRENT_USER\\" + below("fresh"));
    EXPECT_TRUE(exists("fresh"));

    EXPECT_EQ(key.open(HKEY_CURRENT_USER, at("fresh"), 0), kRegOpened);
    EXPECT_EQ(key.openRelative("child", 0), kRegCreated);
    EXPECT_EQ(text(key.name()), "HKEY_CURRENT_USER\\" + below("fresh") + "\\child");
    EXPECT_TRUE(exists("fresh\\child"));

    key.close();
    EXPECT_EQ(text(key.name()), "HKEY_CURRENT_USER\\" + below("fresh"));
    key.close();
    key.close();
    EXPECT_FALSE(key.isOpen());
    EXPECT_EQ(text(key.name()), "");
    key.close(); // nothing left: no stack is popped
    EXPECT_FALSE(key.isOpen());
}

TEST_F(RegistryKeys, FailedOpensLeaveTheCurrentKey) {
    RegistryKey key;
    EXPECT_EQ(key.openRelative("x", 0), kRegOpenFailed);
    ASSERT_EQ(key.open(HKEY_CURRENT_USER, at(""), kRegOpenExisting), kRegOpened);
    const String before = key.name();

    SetLastError(0);
    EXPECT_EQ(key.openRelative("missing", kRegOpenExisting), kRegOpenFailed);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(key.openRelative("missing", kRegReadOnly), kRegOpenFailed);
    EXPECT_FALSE(exists("missing"));
    EXPECT_EQ(key.name(), before);
    EXPECT_EQ(key.openRelative("made", 0), kRegCreated);
}

TEST_F(RegistryKeys, SoftwareKeys) {
    RegistryKey key;
    EXPECT_EQ(key.openSoftware(softwarePart("app"), true, 0), kRegCreated);
    EXPECT_EQ(text(key.name()), "HKEY_CURRENT_USER\\" + below("app"));
    key.closeAll();
    EXPECT_TRUE(RegistryKey::softwareKeyExists(softwarePart("app"), true));
    EXPECT_FALSE(RegistryKey::softwareKeyExists(softwarePart("none"), true));
    EXPECT_FALSE(RegistryKey::softwareKeyExists(String(), true));
    EXPECT_FALSE(exists("none"));
}

TEST_F(RegistryKeys, EnterPathOpensEachComponentBeforeTheLastSeparator) {
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    EXPECT_TRUE(key.enterPath("a\\b\\value"));
    EXPECT_EQ(text(key.name()), "HKEY_CURRENT_USER\\" + below("a\\b"));
    EXPECT_TRUE(exists("a\\b"));
    EXPECT_FALSE(exists("a\\b\\value"));

    // The registry has no root of its own.
    EXPECT_FALSE(key.enterPath("\\c\\"));
    EXPECT_FALSE(key.enterPath(""));
    EXPECT_FALSE(key.enterPath(nullptr));
    EXPECT_FALSE(exists("a\\b\\c"));
}

TEST_F(RegistryKeys, TransferReadsOrWritesByDirection) {
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    Variant value(String("out"));
    key.setWriting(true);
    EXPECT_TRUE(key.transferValue("v", value));
    key.setWriting(false);
    Variant back;
    EXPECT_TRUE(key.transferValue("v", back));
    EXPECT_EQ(text(back.text()), "out");
}

TEST_F(RegistryKeys, KeyQueries) {
    RegistryKey key;
    EXPECT_EQ(key.subKeyCount(), -1);
    EXPECT_TRUE(key.isEmptyKey());
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    EXPECT_TRUE(key.isEmptyKey());
    EXPECT_FALSE(key.hasSubKeys());
    setRaw("v", REG_SZ, std::string("x", 2));
    EXPECT_FALSE(key.isEmptyKey());
    EXPECT_TRUE(key.valueExists("v"));
    EXPECT_FALSE(key.valueExists("w"));
    makeKey("k1");
    makeKey("k2");
    EXPECT_EQ(key.subKeyCount(), 2);
    EXPECT_TRUE(key.hasSubKeys());
}

TEST_F(RegistryKeys, EnumerateSubKeysAppendsNamesAndClearsTheLastError) {
    RegistryKey key;
    Array<String> names;
    EXPECT_EQ(key.enumerateSubKeys(names), 0);
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    SetLastError(123);
    EXPECT_EQ(key.enumerateSubKeys(names), 0);
    EXPECT_EQ(GetLastError(), 0u);

    makeKey("one");
    makeKey("two");
    // Longer than a 200-byte buffer holds.
    makeKey(std::string(220, 'n'));
    names.append(String("kept"));
    SetLastError(123);
    EXPECT_EQ(key.enumerateSubKeys(names), 3);
    EXPECT_EQ(GetLastError(), 0u);
    ASSERT_EQ(names.count(), 4);
    EXPECT_EQ(text(names[0]), "kept");
    std::string all;
    for (const String& name : names)
        all += text(name) + "|";
    EXPECT_NE(all.find("|one|"), std::string::npos) << all;
    EXPECT_NE(all.find("|two|"), std::string::npos) << all;
    EXPECT_NE(all.find("|" + std::string(220, 'n') + "|"), std::string::npos);
}

TEST_F(RegistryKeys, ProfileStringsGoToTheNamedFile) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string file =
        std::string(temp) + "varnoke-profile-" + std::to_string(GetCurrentProcessId()) + ".ini";
    DeleteFileA(file.c_str());
    EXPECT_TRUE(writeProfileString("Section", "Key", "Value", String(file.c_str())));
    char back[32] = "";
    GetPrivateProfileStringA("Section", "Key", "", back, sizeof back, file.c_str());
    EXPECT_STREQ(back, "Value");
    DeleteFileA(file.c_str());
}

TEST_F(RegistryKeys, LastErrorHelpers) {
    SetLastError(5);
    clearLastError();
    EXPECT_EQ(GetLastError(), 0u);
    setLastErrorInvalidParameter();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
