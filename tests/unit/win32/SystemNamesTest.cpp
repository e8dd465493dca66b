#include "FileScratch.h"

#include "platform/ErrorText.h"
#include "platform/SystemNames.h"

namespace {

using SystemNames = FileScratch;

TEST_F(SystemNames, ExpandEnvironment) {
    SetEnvironmentVariableA("VARNOKE_TEST_VALUE", "expanded");
    String text("[%VARNOKE_TEST_VALUE%] [%VARNOKE_NO_SUCH_VALUE%]");
    EXPECT_TRUE(expandEnvironment(text));
    EXPECT_EQ(str(text), "[expanded] [%VARNOKE_NO_SUCH_VALUE%]");

    // More than the buffer holds: the text stays as it was.
    std::string longText(20000, 'x');
    longText += "%VARNOKE_TEST_VALUE%";
    SetEnvironmentVariableA("VARNOKE_TEST_VALUE", std::string(15000, 'y').c_str());
    String tooLong(longText.c_str());
    EXPECT_FALSE(expandEnvironment(tooLong));
    EXPECT_EQ(str(tooLong), longText);
    SetEnvironmentVariableA("VARNOKE_TEST_VALUE", nullptr);
}

TEST_F(SystemNames, ShortPathName) {
    makeDir("A Long Directory Name");
    makeFile("A Long Directory Name\\a long file name.text");
    String shortName = shortPathName(at("A Long Directory Name\\a long file name.text"));
    EXPECT_LT(shortName.length(), static_cast<int>(path("A Long Directory Name\\a long file "
                                                        "name.text")
                                                       .size()));
    EXPECT_EQ(str(shortName).find(' '), std::string::npos) << str(shortName);
    EXPECT_NE(GetFileAttributesA(shortName.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(str(shortPathName(at("missing file.txt"))), path("missing file.txt"));
    EXPECT_EQ(shortPathName(String()).length(), 0);
}

TEST_F(SystemNames, ErrorTexts) {
    EXPECT_EQ(systemErrorText(0).length(), 0);
    String text = systemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_GT(text.length(), 2);
    EXPECT_EQ(text.lastChar(), '\n');
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(str(lastErrorText()), str(systemErrorText(ERROR_ACCESS_DENIED)));
}

} // namespace
