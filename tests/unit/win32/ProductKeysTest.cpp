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

} // namespace
