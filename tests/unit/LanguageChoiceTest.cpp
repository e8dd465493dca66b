#include "installer/LanguageChoice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LanguageChoice, LocaleNamesLoseTheirCountry) {
    EXPECT_STREQ(languageOfLocaleName("English (United States)").c_str(), "English");
    EXPECT_STREQ(languageOfLocaleName("Deutsch (Deutschland)").c_str(), "Deutsch");
    EXPECT_STREQ(languageOfLocaleName("Nederlands").c_str(), "Nederlands");
    EXPECT_STREQ(languageOfLocaleName(" (x)").c_str(), "");
    EXPECT_STREQ(languageOfLocaleName(nullptr).c_str(), "");
}

TEST(LanguageChoice, TheUsersLanguageThenEnglishThenTheFirst) {
    const Array<String> languages = {"Francais", "English", "Deutsch", "Deutsch (Schweiz)"};
    struct Case {
        const char* user;
        int index;
    } cases[] = {
        {"Deutsch", 2}, {"deutsch", 2},     {"English", 1}, {"Espanol", 1},
        {"Fran", 0},    {"Deutschland", 1}, {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(preselectedLanguage(languages, c.user), c.index) << c.user;
    const Array<String> noEnglish = {"Francais", "Deutsch"};
    EXPECT_EQ(preselectedLanguage(noEnglish, "Svenska"), 0);
    EXPECT_EQ(preselectedLanguage(Array<String>(), "Svenska"), 0);
}

TEST(LanguageChoice, DialogsAreCentredAndKeptOnTheScreen) {
    struct Case {
        int left, top, right, bottom, screenWidth, screenHeight;
        int x, y, width, height;
    } cases[] = {
        {0, 0, 399, 299, 1024, 768, 312, 234, 400, 300},
        {100, 50, 100, 50, 11, 11, 5, 5, 1, 1},
        {0, 0, 1999, 999, 1024, 768, 0, 0, 1024, 768},
        {0, 0, 400, 300, 1024, 768, 311, 233, 401, 301},
    };
    for (const Case& c : cases) {
        const WindowPlace p =
            centredPlace(c.left, c.top, c.right, c.bottom, c.screenWidth, c.screenHeight);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
    }
}

} // namespace
