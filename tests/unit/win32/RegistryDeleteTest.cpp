#include "RegistryScratch.h"

#include "platform/ErrorText.h"
#include "platform/Registry.h"

#include <vector>

namespace {

std::vector<std::string> gBoxes;

void recordBox(const String& text) {
    gBoxes.push_back(text.c_str());
}

class RegistryDeletes : public RegistryScratch {
protected:
    void SetUp() override {
        RegistryScratch::SetUp();
        gBoxes.clear();
        setRegistryErrorBox(recordBox);
    }
    void TearDown() override {
        setRegistryErrorBox(nullptr);
        RegistryScratch::TearDown();
    }

    // A tree three levels deep with values on the way.
    void makeTree(const std::string& top) {
        setRaw(top, "v", REG_SZ, std::string("x\0", 2));
        setRaw(top + "\\a\\deep\\deeper", "v", REG_DWORD, std::string(4, '\0'));
        makeKey(top + "\\b");
        makeKey(top + "\\a\\sibling");
    }
};

TEST_F(RegistryDeletes, ATreeGoesWithEverythingBelowIt) {
    makeTree("tree");
    makeKey("other");
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    EXPECT_EQ(key.deleteSubKey("tree", 0), kRegDeleted);
    EXPECT_FALSE(exists("tree"));
    EXPECT_TRUE(exists("other"));
    EXPECT_EQ(text(key.name()), "HKEY_CURRENT_USER\\" + path());
    EXPECT_TRUE(gBoxes.empty());
}

TEST_F(RegistryDeletes, OnlyIfEmptyKeepsAKeyWithContents) {
    setRaw("valued", "v", REG_SZ, std::string("x\0", 2));
    makeKey("parent\\child");
    makeKey("empty");
    const struct {
        const char* name;
        int result;
        bool kept;
    } cases[] = {
        {"valued", kRegKeyNotEmpty, true},
        {"parent", kRegKeyNotEmpty, true},
        {"empty", kRegDeleted, false},
    };
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    for (const auto& c : cases) {
        EXPECT_EQ(key.deleteSubKey(c.name, kRegOnlyIfEmpty), c.result) << c.name;
        EXPECT_EQ(exists(c.name), c.kept) << c.name;
    }
    DWORD type = 0;
    std::string stored;
    EXPECT_TRUE(raw("valued", "v", type, stored));
    EXPECT_TRUE(exists("parent\\child"));
}

TEST_F(RegistryDeletes, NothingToDeleteAndFailures) {
    RegistryKey key;
    EXPECT_EQ(key.deleteSubKey("x", 0), kRegNothingToDelete);
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    EXPECT_EQ(key.deleteSubKey("", 0), kRegNothingToDelete);
    EXPECT_EQ(key.deleteSubKey("missing", 0), kRegDeleteFailed);
    EXPECT_TRUE(gBoxes.empty());
    // With the box bit, the failing open of the missing key and the failing
    // deletion are both shown, in the system's words.
    EXPECT_EQ(key.deleteSubKey("missing", kRegErrorBox), kRegDeleteFailed);
    ASSERT_EQ(gBoxes.size(), 2u);
    EXPECT_EQ(gBoxes[0], text(systemErrorText(ERROR_FILE_NOT_FOUND)));
}

TEST_F(RegistryDeletes, DeleteByPathAndBelowSoftware) {
    makeTree("p\\tree");
    makeTree("s\\tree");
    makeTree("t");
    RegistryKey key;
    EXPECT_EQ(key.deleteKeyByPath(HKEY_CURRENT_USER, at("p\\tree"), 0), kRegDeleted);
    EXPECT_FALSE(exists("p\\tree"));
    EXPECT_TRUE(exists("p"));
    EXPECT_EQ(key.deleteKeyAt(HKEY_CURRENT_USER, at("nowhere"), "tree", kRegErrorBox),
              kRegNothingToDelete);
    EXPECT_FALSE(exists("nowhere"));
    EXPECT_TRUE(gBoxes.empty()) << "a missing parent is not an error";
    EXPECT_EQ(key.deleteKeyByPath(HKEY_CURRENT_USER, "noparent", 0), kRegNothingToDelete);

    EXPECT_EQ(key.deleteSoftwareKey(softwarePart("s"), "tree", true, 0), kRegDeleted);
    EXPECT_FALSE(exists("s\\tree"));
    EXPECT_EQ(key.deleteSoftwareKeyByPath(softwarePart("t"), true, kRegOnlyIfEmpty),
              kRegKeyNotEmpty);
    EXPECT_EQ(key.deleteSoftwareKeyByPath(softwarePart("t"), true, 0), kRegDeleted);
    EXPECT_FALSE(exists("t"));
    EXPECT_FALSE(key.isOpen());
}

TEST_F(RegistryDeletes, FailedOpenShowsTheSystemTextOnlyWithTheBoxBit) {
    RegistryKey key;
    EXPECT_EQ(key.open(HKEY_CURRENT_USER, at("missing"), kRegOpenExisting), kRegOpenFailed);
    EXPECT_TRUE(gBoxes.empty());
    SetLastError(0);
    EXPECT_EQ(key.open(HKEY_CURRENT_USER, at("missing"), kRegOpenExisting | kRegErrorBox),
              kRegOpenFailed);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_EQ(gBoxes[0], text(systemErrorText(ERROR_FILE_NOT_FOUND)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

} // namespace
