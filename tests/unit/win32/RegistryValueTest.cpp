#include "RegistryScratch.h"

#include "core/ProgramName.h"
#include "platform/Registry.h"

namespace {

using RegistryValues = RegistryScratch;

std::string sz(const std::string& s) {
    return s + std::string(1, '\0');
}

TEST_F(RegistryValues, ReadsEveryTypeIntoAVariant) {
    const std::string c31(31, 'a'), c32(32, 'b'), c40(40, 'c'), c5000(5000, 'd');
    struct Case {
        const char* name;
        DWORD type;
        std::string stored;
        bool read;
        bool integer;
        std::string text; // or the integer in decimal
    } cases[] = {
        // 31 characters and the zero fill the first 32-byte query exactly.
        {"sz31", REG_SZ, sz(c31), true, false, c31},
        {"sz32", REG_SZ, sz(c32), true, false, c32},
        {"sz40", REG_SZ, sz(c40), true, false, c40},
        {"sz5000", REG_SZ, sz(c5000), true, false, c5000},
        {"empty", REG_SZ, sz(""), true, false, ""},
        {"nothing", REG_SZ, "", true, false, ""},
        // Written without its zero: nothing is cut off.
        {"bare", REG_SZ, "abc", true, false, "abc"},
        {"bare40", REG_SZ, c40, true, false, c40},
        {"expand", REG_EXPAND_SZ, sz("%TEMP%\\x"), true, false, "%TEMP%\\x"},
        {"expand40", REG_EXPAND_SZ, sz(c40), true, false, c40},
        {"multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5), true, false, std::string("a\0b\0", 4)},
        {"multi40", REG_MULTI_SZ, c40 + std::string("\0\0", 2), true, false,
         c40 + std::string(1, '\0')},
        {"binary", REG_BINARY, std::string("\x01\0\x02\0", 4), true, false,
         std::string("\x01\0\x02\0", 4)},
        {"binary40", REG_BINARY, c40 + std::string(1, '\0'), true, false,
         c40 + std::string(1, '\0')},
        {"dword", REG_DWORD, std::string("\xfe\xff\xff\xff", 4), true, true, "-2"},
        {"qword", REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8), false, false, ""},
        {"shortdword", REG_DWORD, std::string("\x01\0", 2), false, false, ""},
        {"none", REG_NONE, "xy", false, false, ""},
    };
    for (const Case& c : cases)
        setRaw(c.name, c.type, c.stored);

    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), kRegOpenExisting));
    for (const Case& c : cases) {
        Variant value;
        value.setInt32(99);
        ASSERT_EQ(key.readValue(c.name, value, 0), c.read) << c.name;
        if (!c.read)
            continue;
        if (c.integer) {
            EXPECT_EQ(value.kind(), VariantKind::Int32) << c.name;
            EXPECT_EQ(std::to_string(value.toInt32()), c.text) << c.name;
        } else {
            EXPECT_EQ(value.kind(), VariantKind::Text) << c.name;
            EXPECT_EQ(text(value.text()), c.text) << c.name;
        }
    }
    Variant missing;
    EXPECT_FALSE(key.readValue("missing", missing, 0));
    key.close();
    EXPECT_FALSE(key.readValue("sz31", missing, 0));
}

TEST_F(RegistryValues, TypedReadsFallBackToTheDefault) {
    setRaw("yes", REG_SZ, sz("yes"));
    setRaw("no", REG_SZ, sz("no"));
    setRaw("number", REG_SZ, sz("42"));
    setRaw("dword", REG_DWORD, std::string("\x07\0\0\0", 4));
    setRaw("qword", REG_QWORD, std::string(8, '\0'));

    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    EXPECT_TRUE(key.readBool("yes", false, 0));
    EXPECT_FALSE(key.readBool("no", true, 0));
    EXPECT_TRUE(key.readBool("missing", true, 0));
    EXPECT_EQ(key.readInt("number", -1, 0), 42);
    EXPECT_EQ(key.readInt("dword", -1, 0), 7);
    EXPECT_EQ(key.readInt("qword", -1, 0), -1);
    EXPECT_EQ(text(key.readString("dword", "d", 0)), "7");
    EXPECT_EQ(text(key.readString("missing", "d", 0)), "d");
}

TEST_F(RegistryValues, OneCallReadsOpenReadAndClose) {
    setRaw("sub", "name", REG_SZ, sz("value"));
    setRaw("sub", "flag", REG_DWORD, std::string("\x01\0\0\0", 4));
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    const String outer = key.name();

    String out("stale");
    EXPECT_TRUE(key.readStringAt(HKEY_CURRENT_USER, at("sub"), "name", out, 0));
    EXPECT_EQ(text(out), "value");
    EXPECT_TRUE(key.readStringAt(HKEY_CURRENT_USER, at("sub"), "missing", out, 0));
    EXPECT_EQ(text(out), "");
    out = "stale";
    EXPECT_FALSE(key.readStringAt(HKEY_CURRENT_USER, at("absent"), "name", out, kRegOpenExisting));
    EXPECT_EQ(text(out), "");
    EXPECT_FALSE(exists("absent"));
    // Without the open-only bit the key is made.
    EXPECT_TRUE(key.readStringAt(HKEY_CURRENT_USER, at("made"), "name", out, 0));
    EXPECT_TRUE(exists("made"));

    EXPECT_TRUE(key.readBoolAt(HKEY_CURRENT_USER, at("sub"), "flag", false, 0));
    EXPECT_TRUE(key.readBoolAt(HKEY_CURRENT_USER, at("sub"), "missing", true, 0));

    EXPECT_EQ(text(key.readStringByPath(HKEY_CURRENT_USER, at("sub\\name"), "d", 0)), "value");
    EXPECT_EQ(text(key.readStringByPath(HKEY_CURRENT_USER, at("sub\\gone"), "d", 0)), "");
    EXPECT_EQ(
        text(key.readStringByPath(HKEY_CURRENT_USER, at("nokey\\name"), "d", kRegOpenExisting)),
        "d");
    EXPECT_EQ(text(key.readStringByPath(HKEY_CURRENT_USER, "name", "d", 0)), "d");

    EXPECT_EQ(key.name(), outer);
}

TEST_F(RegistryValues, WritesTakeTheirTypeFromTheVariantAndTheFlags) {
    struct Case {
        const char* name;
        Variant value;
        uint32_t flags;
        DWORD type;
        std::string stored;
    };
    Variant i32, u64, yes, txt, dbl, zero, blank;
    i32.setInt32(-2);
    u64.setUInt64(0x100000005ull);
    yes.setBool(true);
    txt.setText("C:\\x");
    dbl.setDouble(2.5);
    zero.setInt32(0);
    blank.setText(String());
    const Case cases[] = {
        {"i32", i32, 0, REG_DWORD, std::string("\xfe\xff\xff\xff", 4)},
        {"u64", u64, 0, REG_DWORD, std::string("\x05\0\0\0", 4)},
        {"bool", yes, 0, REG_DWORD, std::string("\x01\0\0\0", 4)},
        {"zero", zero, 0, REG_DWORD, std::string(4, '\0')},
        {"text", txt, 0, REG_SZ, sz("C:\\x")},
        {"expand", txt, kRegExpandText, REG_EXPAND_SZ, sz("C:\\x")},
        {"binary", txt, kRegBinary, REG_BINARY, "C:\\x"},
        {"double", dbl, 0, REG_SZ, sz("2.5")},
        {"blank", blank, 0, REG_SZ, sz("")},
    };
    RegistryKey key;
    EXPECT_FALSE(key.writeValue("x", i32, 0));
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    for (const Case& c : cases) {
        EXPECT_TRUE(key.writeValue(c.name, c.value, c.flags)) << c.name;
        DWORD type = 0;
        std::string stored;
        ASSERT_TRUE(raw("", c.name, type, stored)) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(stored, c.stored) << c.name;
    }
}

TEST_F(RegistryValues, EmptyValuesDeleteWhenAsked) {
    Variant none, zero, blank, number;
    zero.setInt32(0);
    blank.setText(String());
    number.setInt32(3);
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));

    const struct {
        const Variant* value;
        uint32_t flags;
        bool kept;
    } cases[] = {
        {&none, 0, false},
        {&zero, kRegEmptyDeletes, false},
        {&blank, kRegEmptyDeletes, false},
        {&number, kRegEmptyDeletes, true},
        {&zero, 0, true},
    };
    for (const auto& c : cases) {
        setRaw("v", REG_SZ, sz("old"));
        EXPECT_TRUE(key.writeValue("v", *c.value, c.flags));
        EXPECT_EQ(hasValue("v"), c.kept) << static_cast<int>(c.value->kind());
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, path().c_str(), "v");
    EXPECT_TRUE(key.writeValue("v", none, 0)) << "nothing to delete still succeeds";

    setRaw("n", REG_DWORD, std::string(4, '\1'));
    EXPECT_TRUE(key.writeInt("n", 0, kRegEmptyDeletes));
    EXPECT_FALSE(hasValue("n"));
    EXPECT_TRUE(key.writeInt("n", 0, kRegEmptyDeletes));
    EXPECT_TRUE(key.writeInt("n", 0, 0));
    EXPECT_TRUE(hasValue("n"));
    EXPECT_TRUE(key.writeBoolAsInt("b", true));
    EXPECT_EQ(key.readInt("b", -1, 0), 1);
}

TEST_F(RegistryValues, WriteTextDeletesAnEmptyTextOnlyWhenThereWasAValue) {
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    setRaw("t", REG_SZ, sz("old"));
    EXPECT_TRUE(key.writeText("t", "", kRegEmptyDeletes));
    EXPECT_FALSE(hasValue("t"));
    EXPECT_FALSE(key.writeText("t", nullptr, kRegEmptyDeletes));

    EXPECT_TRUE(key.writeText("t", "", 0));
    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(raw("", "t", type, stored));
    EXPECT_EQ(stored, sz(""));
    EXPECT_TRUE(key.writeText("e", "%TEMP%", kRegExpandText));
    ASSERT_TRUE(raw("", "e", type, stored));
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    // What is written comes back as it was.
    EXPECT_EQ(text(key.readString("e", "", 0)), "%TEMP%");
    EXPECT_TRUE(key.writeText("b", String("a\0b", 3), kRegBinary));
    ASSERT_TRUE(raw("", "b", type, stored));
    EXPECT_EQ(stored, std::string("a\0b", 3));
}

TEST_F(RegistryValues, DeleteValueResults) {
    RegistryKey key;
    EXPECT_EQ(key.deleteValue("v"), kRegNothingToDelete);
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    setRaw("v", REG_SZ, sz("x"));
    EXPECT_EQ(key.deleteValue("v"), kRegDeleted);
    EXPECT_EQ(key.deleteValue("v"), kRegDeleteFailed);
}

// The child process of a death test never runs TearDown, so this one reads
// from a key that is there anyway and makes nothing.
TEST(RegistryValuesDeathTest, AMissingRequiredValueEndsTheProgram) {
    setProgramName("Varnoke");
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, "Software", kRegOpenExisting));
    Variant out;
    EXPECT_DEATH(key.readValue("VarnokeNoSuchValue", out, kRegRequired),
                 "FATAL ERROR: The following registry key is required by Varnoke, but is "
                 "invalid or does not exist:\n\nHKEY_CURRENT_USER\\\\SoftwareVarnokeNoSuchValue"
                 "\n\nIf you have tried moving this program to a different computer by copying "
                 "files, this will not work.  This program must be reinstalled.");
    EXPECT_FALSE(key.readValue("VarnokeNoSuchValue", out, 0));
}

TEST_F(RegistryValues, AnUnreadableTypeIsNotAMissingRequiredValue) {
    setRaw("q", REG_QWORD, std::string(8, '\0'));
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_CURRENT_USER, at(""), 0));
    Variant value;
    EXPECT_FALSE(key.readValue("q", value, kRegRequired));
}

} // namespace
