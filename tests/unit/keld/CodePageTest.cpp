#include "keld/CodePage.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <iconv.h>
#endif

namespace {

TEST(CodePageTest, TextsBecomeTheBytesOfTheirCodePage) {
    struct Case {
        const char* utf8;
        int codePage;
        std::string bytes;
    };
    const Case cases[] = {
        {"plain ASCII\r\n", 1252, "plain ASCII\r\n"},
        {"caf\xC3\xA9.txt", 1252, "caf\xE9.txt"},
        {"Prod\xC3\xBC"
         "ct",
         1252,
         "Prod\xFC"
         "ct"},
        {"\xE2\x82\xAC 5", 1252, "\x80 5"},
        {"\xE2\x80\x9Cquoted\xE2\x80\x9D", 1252, "\x93quoted\x94"},
        {"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", 1251, "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {"\xC5\x81\xC3\xB3\xC5\xBA", 1250, "\xA3\xF3\x9F"},
        {"\xCE\xA9", 1253, "\xD9"},
        {"\xC4\x9F", 1254, "\xF0"},
        {"\xE0\xB8\x81", 874, "\xA1"},
        {"", 1252, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out;
        keld::CodePageFailure failure;
        ASSERT_TRUE(keld::toCodePage(c.utf8, c.codePage, out, failure));
        EXPECT_EQ(out, c.bytes);
    }
}

TEST(CodePageTest, CharactersOutsideTheCodePageAndBrokenUtf8AreFoundWhereTheyStand) {
    struct Case {
        const char* what;
        std::string utf8;
        int codePage;
        size_t offset;
        uint32_t character; // 0: not UTF-8
    };
    const Case cases[] = {
        {"Cyrillic in 1252", "ab\xD0\x9F", 1252, 2, 0x41F},
        {"e acute in 1251", "x\xC3\xA9", 1251, 1, 0xE9},
        {"outside the BMP", "ok \xF0\x9F\x98\x80", 1252, 3, 0x1F600},
        {"undefined byte's place", "\xC2\x81", 1252, 0, 0x81},
        {"Latin-1 byte", "caf\xE9", 1252, 3, 0},
        {"overlong slash", "a\xC0\xAF", 1252, 1, 0},
        {"surrogate", "\xED\xA0\x80", 1252, 0, 0},
        {"cut short", "z\xE2\x82", 1252, 1, 0},
        {"stray continuation", "\x80", 1252, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out = "left over";
        keld::CodePageFailure failure;
        EXPECT_FALSE(keld::toCodePage(c.utf8, c.codePage, out, failure));
        EXPECT_EQ(out, "");
        EXPECT_EQ(failure.offset, c.offset);
        EXPECT_EQ(failure.character, c.character);
    }
}

#ifndef _WIN32
// The tables against the C library's own converter, byte by byte.
TEST(CodePageTest, TablesAgreeWithTheSystemsConverter) {
    for (int codePage : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
        SCOPED_TRACE(codePage);
        const std::string name = "CP" + std::to_string(codePage);
        iconv_t cd = iconv_open("UTF-32LE", name.c_str());
        ASSERT_NE(cd, iconv_t(-1));
        const uint16_t* table = keld::codePageTable(codePage);
        ASSERT_NE(table, nullptr);
        for (int byte = 0x80; byte < 0x100; ++byte) {
            char in = char(byte);
            unsigned char out[8] = {};
            char* inPtr = &in;
            char* outPtr = reinterpret_cast<char*>(out);
            size_t inLeft = 1, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            // 1255 and 1258 hold a letter back for the marks that may follow it.
            const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) &&
                                   iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != size_t(-1);
            const uint32_t c = converted ? uint32_t(out[0] | out[1] << 8 | out[2] << 16) : 0;
            // glibc maps a few bytes the code page leaves open to C1 controls.
            if (c >= 0x80 && c < 0xA0 && table[byte - 0x80] == 0)
                continue;
            EXPECT_EQ(table[byte - 0x80], c) << "byte " << byte;
        }
        iconv_close(cd);
    }
}
#endif

} // namespace
