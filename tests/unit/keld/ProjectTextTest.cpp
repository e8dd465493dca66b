#include "keld/DefaultMessages.h"
#include "keld/Project.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

namespace {

class ProjectTextTest : public ::testing::Test {
protected:
    bool read(const std::string& toml) {
        errors_ = keld::ProjectErrors();
        return keld::readProject(folder_.write("project.toml", toml), project_, errors_);
    }
    std::string all() const {
        std::string text;
        for (const std::string& message : errors_.messages)
            text += message + "\n";
        return text;
    }

    ProjectTestFolder folder_;
    keld::Project project_;
    keld::ProjectErrors errors_;
};

std::string tomlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += std::string("\\") + c;
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

std::string bytesOf(const String& text) {
    return std::string(text.c_str(), size_t(text.length()));
}

TEST_F(ProjectTextTest, NamesPagesAndMessagesAreWrittenInTheirCodePages) {
    folder_.write("caf\xC3\xA9.txt", "menu");
    // A byte order mark, then "Привет" and "ünd" on two lines.
    folder_.write("readme.txt", "\xEF\xBB\xBF\xC3\xBC"
                                "nd\n\xE2\x82\xAC\n");
    ASSERT_TRUE(read("[product]\nname = \"Prod\xC3\xBC"
                     "ct\"\npublisher = \"Caf\xC3\xA9\"\n"
                     "[pages]\nreadme = \"readme.txt\"\n"
                     "[[languages]]\nname = \"English\"\n"
                     "[[files]]\nsource = \"caf\xC3\xA9.txt\"\n"
                     "start-menu-shortcut = \"Men\xC3\xBC\"\n"))
        << all();
    const InstallSettings& s = project_.settings;
    EXPECT_EQ(bytesOf(s.productName), "Prod\xFC"
                                      "ct");
    EXPECT_EQ(bytesOf(s.publisher), "Caf\xE9");
    ASSERT_EQ(s.readmeTexts.count(), 1);
    EXPECT_EQ(bytesOf(s.readmeTexts[0]), "\xFCnd\r\n\x80\r\n");
    ASSERT_EQ(project_.files.size(), 1u);
    EXPECT_EQ(project_.files[0].name, "caf\xE9.txt");
    EXPECT_EQ(project_.files[0].detail, "Men\xFC");

    // A product in Windows-1250 with a second language in its own code page,
    // Windows-1251: "ж" before each of the English texts.
    std::string russian = "[[languages]]\nname = \"\xD0\xA0\xD1\x83\xD1\x81\"\ncodepage = 1251\n"
                          "messages = {";
    for (int id = 0; id < keld::kMessageIdCount; ++id)
        russian += (id ? ", " : " ") + std::to_string(id) + " = \"\xD0\xB6" +
                   tomlEscaped(keld::defaultMessage(id)) + "\"";
    russian += " }\n";
    ASSERT_TRUE(read("[product]\nname = \"\xC5\x81\"\ncodepage = 1250\n"
                     "[[languages]]\nname = \"English\"\n" +
                     russian))
        << all();
    EXPECT_EQ(bytesOf(project_.settings.productName), "\xA3");
    ASSERT_EQ(project_.settings.languages.count(), 2);
    EXPECT_EQ(bytesOf(project_.settings.languages[1]), "\xD0\xF3\xF1");
    const String* text = project_.settings.messageTable.find(42, 1);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(bytesOf(*text), "\xE6" + keld::defaultMessage(42));
}

TEST_F(ProjectTextTest, ACharacterTheCodePageLacksIsRefusedWithItsPosition) {
    folder_.write("readme.txt", "line one\nab\xD0\x96 three\n");
    folder_.write("latin1.txt", "caf\xE9\n");
    folder_.write("a.txt", "a");
    folder_.write("\xD0\xB6.txt", "a");
    struct Case {
        const char* what;
        std::string toml;
        std::string message; // after the project's path when it starts with ':'
    };
    const Case cases[] = {
        {"product name", "[product]\nname = \"Acme \xD0\x96\"\n",
         ":2:8: the text \"Acme \xD0\x96\" holds the character \"\xD0\x96\" (U+0416), which "
         "Windows "
         "code page 1252 cannot hold"},
        {"the product's code page", "[product]\nname = \"caf\xC3\xA9\"\ncodepage = 1251\n",
         ":2:8: the text \"caf\xC3\xA9\" holds the character \"\xC3\xA9\" (U+00E9), which Windows "
         "code page 1251"},
        {"a message",
         "[product]\nname = \"A\"\n[[languages]]\nname = \"English\"\n"
         "messages = { 42 = \"Fertig \xE2\x9C\x93\" }\n",
         ":5:19: the text \"Fertig \xE2\x9C\x93\" holds the character \"\xE2\x9C\x93\" (U+2713)"},
        {"a file name", "[product]\nname = \"A\"\n[[files]]\nsource = \"\xD0\xB6.txt\"\n",
         ":4:10: the text \"\xD0\xB6.txt\" holds the character \"\xD0\xB6\" (U+0436)"},
        {"a batch", "[product]\nname = \"A\"\n[batches]\nexit = \"echo \xE2\x9C\x93\"\n",
         ":4:8: the text \"echo \xE2\x9C\x93\" holds the character"},
        {"a page", "[product]\nname = \"A\"\n[pages]\nreadme = \"readme.txt\"\n",
         folder_.path("readme.txt") + ":2:3: the page holds the character \"\xD0\x96\" (U+0416)"},
        {"a page that is not UTF-8", "[product]\nname = \"A\"\n[pages]\nlicense = \"latin1.txt\"\n",
         folder_.path("latin1.txt") + ":1:4: the page is not UTF-8 text (save it as UTF-8)"},
        {"a double-byte code page", "[product]\nname = \"A\"\ncodepage = 932\n",
         ":3:12: keld writes the Windows code pages 874 and 1250 to 1258, not 932"},
        {"a language's code page",
         "[product]\nname = \"A\"\n[[languages]]\nname = \"English\"\ncodepage = 65001\n",
         ":5:12: keld writes the Windows code pages"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(read(c.toml));
        const std::string expected =
            c.message[0] == ':' ? folder_.path("project.toml") + c.message : c.message;
        EXPECT_NE(all().find(expected), std::string::npos) << all();
    }
}

} // namespace
