#include "ShellScratch.h"

#include "installer/win32/ProductKeys.h"

namespace {

using ProductKeys = ShellScratch;

TEST_F(ProductKeys, TheKeyIsMadeEmptyForTheMachineAndTheUser) {
    installSettings().productRegistry = "Acme\\Notes\\2.1";
    setText(user(), "Software\\Acme\\Notes\\2.1", "Kept", "by the user");
    createProductRegistryKeys();
    EXPECT_TRUE(keyExists(machine(), "Software\\Acme\\Notes\\2.1"));
    EXPECT_EQ(textOf(user(), "Software\\Acme\\Notes\\2.1", "Kept"), "by the user");
    EXPECT_EQ(problems(), "");
}

TEST_F(ProductKeys, AKeyThatCannotBeMadeIsReportedOnce) {
    installSettings().productRegistry = "Acme\\Notes";
    makeInaccessible(HKEY_LOCAL_MACHINE);
    createProductRegistryKeys();
    EXPECT_EQ(problems(), "Error creating registry keys:\r\nAcme\\Notes\r\n\r\n");
    EXPECT_TRUE(keyExists(user(), "Software\\Acme\\Notes"));
}

TEST_F(ProductKeys, RemovalTakesTheKeyAndTheParentsItLeavesEmpty) {
    setText(machine(), "Software\\Acme\\Notes\\2.1\\Options", "Colour", "blue");
    setText(machine(), "Software\\Acme\\Other", "Kept", "yes");
    setText(user(), "Software\\Acme\\Notes\\2.1", "Recent", "a.note");
    removeProductRegistryKeys("Acme\\Notes\\2.1\\");
    EXPECT_FALSE(keyExists(machine(), "Software\\Acme\\Notes"));
    EXPECT_EQ(textOf(machine(), "Software\\Acme\\Other", "Kept"), "yes");
    EXPECT_FALSE(keyExists(user(), "Software\\Acme"));
    EXPECT_TRUE(keyExists(user(), "Software"));
}

// A damaged entry must not take keys of Windows itself, nor all of "Software".
TEST_F(ProductKeys, RemovalLeavesKeysThatCannotBeTheProducts) {
    setText(machine(), "Software\\Microsoft\\Windows", "Kept", "yes");
    setText(machine(), "Software\\Acme", "Kept", "yes");
    for (const char* path : {"Microsoft", "Microsoft\\Windows", "\\", "\\Acme", "", " "})
        removeProductRegistryKeys(path);
    EXPECT_EQ(textOf(machine(), "Software\\Microsoft\\Windows", "Kept"), "yes");
    EXPECT_EQ(textOf(machine(), "Software\\Acme", "Kept"), "yes");
}

} // namespace
