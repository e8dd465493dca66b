// The settings stream on the wire and back: a stream assembled by hand from
// the field table, and keld's writer against the installer's reader.
#include "SettingsSample.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

// Little-endian pieces of a hand-made stream.
class Bytes {
public:
    Bytes& u8(unsigned v) { return put(v, 1); }
    Bytes& u16(unsigned v) { return put(v, 2); }
    Bytes& i32(int64_t v) { return put(uint64_t(v), 4); }
    Bytes& u64(uint64_t v) { return put(v, 8); }
    Bytes& text(const char* t) {
        data_.append(t);
        data_.append('\0');
        return *this;
    }
    Bytes& raw(const char* bytes, int n) {
        data_.appendBytes(bytes, n);
        return *this;
    }
    const String& data() const { return data_; }

private:
    Bytes& put(uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            data_.append(char(v >> (8 * i)));
        return *this;
    }
    String data_;
};

// Every field in the order of the stream's table, with each conditional
// field present and values that tell neighbours apart.
Bytes handMadeStream() {
    Bytes b;
    // clang-format off
    b.u64(0x0000010000010004ull)  // 1: Uninstallable | MasterProduct | MaximizeBackground
     .text("Taskbar")             // 2
     .u16(1500)                   // 3: StepPause
     .u8(1)                       // 4: ShortcutMode
     .i32(2005).i32(7).i32(3).i32(14).i32(5).i32(59) // 5: PackageTime
     .text("Pub")                 // 6
     .text("Prod")                // 7
     .text("D:\\Shared")          // 8
     .text("Menu")                // 9
     .text("D:\\Dir")             // 10
     .text("1.2")                 // 11
     .text("Software\\Pub")       // 12
     .i32(55)                     // 13: BitmapSize
     .i32(-7)                     // 14: StretchMode
     .i32(2).text("L1").text("L2") // 15, 16
     .i32(1).text("R1")           // 17, 18
     .text("Sub")                 // 19
     .text("VOL")                 // 20
     .text("un.exe")              // 21
     .text("Key")                 // 22
     .i32(0x112233)               // 23: TitleColor
     .u8(4)                       // 24: TitleShadow
     .u8(5)                       // 25: TitlePosition
     .text("Font")                // 26
     .i32(0x445566)               // 27: TopColor
     .i32(0x778899)               // 28: BottomColor
     .i32(3).raw("BMP", 3)        // 29: BackgroundBitmapData
     .text("Master")              // 30: MasterProductName
     .text("Folder")              // 31
     .i32(2).raw("IC", 2)         // 32: DesktopFolderIcon
     .text("pre").text("post").text("exit").text("u1").text("u2") // 33-37
     .i32(732130).i32(7).i32(3).i32(2005).i32(1) // 38: date record
     .i32(0x240)                  // 39: ExcludedSystems
     .u8(9)                       // 40: DataBeyondImage
     .i32(77)                     // 41: VolumeTag
     .i32(16)                     // 42: UninstallerPatch offset
     .i32(2).raw("\xAA\xBB", 2)   // 43: its bytes
     .text("*.bak").u8(4).text("100").i32(2) // 44: one FileDeletion
     .text("~~THE END~~")
     .i32(1)                      // 45, 46: one FileAssociation
     .i32(1).text(".x").text("XFile").text("X file").text("open").text("&Open")
     .text("x.exe %1").text("English").text("x.ico")
     .i32(1).text("Name").u8(4).text("7") // 47, 48: one UninstallData
     .u8(2).i32(2)                // 49, 50: languages, messages
     .text("English").text("Other") // 51
     .text("m0e").text("m0o").text("m1e\nline").text("m1o") // 52
     .i32(int32_t(0xD3E82B97u));  // 53
    // clang-format on
    return b;
}

TEST(SettingsStream, ReadsEveryFieldOfAHandMadeStreamInTableOrder) {
    InstallSettings s;
    ASSERT_EQ(readSettings(handMadeStream().data(), sampleInputs(), s), NotCorrupt);
    EXPECT_EQ(s.productFlags, Uninstallable | MasterProduct | MaximizeBackground);
    EXPECT_EQ(str(s.taskbarText), "Taskbar");
    EXPECT_EQ(s.stepPause, 1500);
    EXPECT_EQ(s.shortcutMode, 1);
    EXPECT_EQ(s.packageTime.year, 2005);
    EXPECT_EQ(s.packageTime.second, 59);
    EXPECT_EQ(str(s.publisher), "Pub");
    EXPECT_EQ(str(s.productName), "Prod");
    EXPECT_EQ(str(s.sharedPath), "D:\\Shared");
    EXPECT_EQ(str(s.productStartMenu), "Menu");
    EXPECT_EQ(str(s.defaultInstallDir), "D:\\Dir");
    EXPECT_EQ(str(s.displayVersion), "1.2");
    EXPECT_EQ(str(s.productRegistry), "Software\\Pub");
    EXPECT_EQ(s.bitmapSize, 55);
    EXPECT_EQ(s.stretchMode, -7);
    ASSERT_EQ(s.licenseTexts.count(), 2);
    EXPECT_EQ(str(s.licenseTexts[1]), "L2");
    ASSERT_EQ(s.readmeTexts.count(), 1);
    EXPECT_EQ(str(s.readmeTexts[0]), "R1");
    EXPECT_EQ(str(s.uninstallSubdir), "Sub");
    EXPECT_EQ(str(s.volumeBaseName), "VOL");
    EXPECT_EQ(str(s.uninstallerName), "un.exe");
    EXPECT_EQ(str(s.uninstallKey), "Key");
    EXPECT_EQ(s.titleColor, 0x112233);
    EXPECT_EQ(s.titleShadow, 4);
    EXPECT_EQ(s.titlePosition, 5);
    EXPECT_EQ(str(s.titleFont), "Font");
    EXPECT_EQ(s.topColor, 0x445566);
    EXPECT_EQ(s.bottomColor, 0x778899);
    EXPECT_FALSE(s.monoColor);
    EXPECT_EQ(str(s.backgroundBitmapData), "BMP");
    EXPECT_EQ(str(s.masterProductName), "Master");
    EXPECT_EQ(str(s.desktopFolder), "Folder");
    EXPECT_EQ(str(s.desktopFolderIcon), "IC");
    EXPECT_EQ(str(s.preInstallBatch), "pre");
    EXPECT_EQ(str(s.postInstallBatch), "post");
    EXPECT_EQ(str(s.exitBatch), "exit");
    EXPECT_EQ(str(s.uninstallBatch1), "u1");
    EXPECT_EQ(str(s.uninstallBatch2), "u2");
    EXPECT_EQ(s.dateRecord.dayNumber, 732130);
    EXPECT_EQ(s.dateRecord.weekday, 1);
    EXPECT_EQ(s.excludedSystems, 0x240);
    EXPECT_EQ(s.dataBeyondImage, 9);
    EXPECT_EQ(s.volumeTag, 77);
    EXPECT_EQ(s.uninstallerPatchOffset, 16);
    EXPECT_EQ(str(s.uninstallerPatchBytes), "\xAA\xBB");
    ASSERT_EQ(s.fileDeletions.count(), 1);
    EXPECT_EQ(str(s.fileDeletions[0].pattern), "*.bak");
    EXPECT_EQ(s.fileDeletions[0].condition, 4);
    EXPECT_EQ(str(s.fileDeletions[0].conditionValue), "100");
    EXPECT_EQ(s.fileDeletions[0].flags, kDeleteAtRestart);
    ASSERT_EQ(s.fileAssociations.count(), 1);
    const FileAssociation& a = s.fileAssociations[0];
    EXPECT_EQ(a.flags, kAssociationDefaultVerb);
    EXPECT_EQ(str(a.extension) + "|" + str(a.fileType) + "|" + str(a.fileTypeDescription) + "|" +
                  str(a.verb) + "|" + str(a.verbLabel) + "|" + str(a.commandLine) + "|" +
                  str(a.language) + "|" + str(a.defaultIcon),
              ".x|XFile|X file|open|&Open|x.exe %1|English|x.ico");
    ASSERT_EQ(s.uninstallData.count(), 1);
    EXPECT_EQ(str(s.uninstallData[0].name), "Name");
    EXPECT_EQ(s.uninstallData[0].type, UninstallNumber);
    EXPECT_EQ(str(s.uninstallData[0].value), "7");
    ASSERT_EQ(s.languages.count(), 2);
    EXPECT_EQ(str(s.languages[1]), "Other");
    EXPECT_EQ(s.currentLanguage, 0);
    EXPECT_EQ(str(*s.messageTable.find(0, 1)), "m0o");
    EXPECT_EQ(str(*s.messageTable.find(1, 0)), "m1e\r\nline");
    EXPECT_EQ(s.messageTable.messageCount(), 2);
}

TEST(SettingsStream, WriterProducesTheHandMadeStream) {
    InstallSettings s;
    ASSERT_EQ(readSettings(handMadeStream().data(), sampleInputs(), s), NotCorrupt);
    // The reader made the table's line break CR LF; put the original back.
    s.messageTable.set(1, 0, String("m1e\nline"));
    EXPECT_EQ(str(settingsBytes(s)), str(handMadeStream().data()));
}

TEST(SettingsStream, RoundTripGivesBackEveryField) {
    const InstallSettings original = sampleSettings();
    const String written = settingsBytes(original);
    ASSERT_FALSE(written.isEmpty());
    InstallSettings back;
    ASSERT_EQ(readSettings(written, sampleInputs(), back), NotCorrupt);
    EXPECT_EQ(str(settingsBytes(back)), str(written));
    EXPECT_EQ(str(back.masterProductName), "Acme Suite");
    EXPECT_EQ(str(back.uninstallerPatchBytes), str(original.uninstallerPatchBytes));
    EXPECT_EQ(str(back.backgroundBitmapData), str(original.backgroundBitmapData));
    EXPECT_EQ(back.fileDeletions.count(), 2);
    EXPECT_EQ(back.fileAssociations.count(), 2);
    EXPECT_EQ(back.uninstallData.count(), 3);
    EXPECT_EQ(str(*back.messageTable.find(71, 1)), "Meldung 71");
}

// The fields a flag leaves out of the stream are neither written nor read.
TEST(SettingsStream, ConditionalFieldsFollowTheirFlags) {
    struct Case {
        uint64_t flags;
        int32_t patchOffset;
        bool master, offset, patch;
    } cases[] = {
        {Uninstallable | MasterProduct, 0x400, true, true, true},
        {Uninstallable, 0, false, true, false},
        {Uninstallable, 7, false, true, true},
        {MasterProduct, 0x400, true, false, false},
        {0, 0x400, false, false, false},
    };
    for (const Case& c : cases) {
        InstallSettings s = sampleSettings();
        s.productFlags = c.flags;
        s.uninstallerPatchOffset = c.patchOffset;
        if (!hasFlag(c.flags, Uninstallable))
            s.sharedPath.clear();
        SettingsWriter writer;
        ASSERT_TRUE(writer.write(s));
        EXPECT_EQ(writer.fieldOffset(SettingsField::MasterProductName) >= 0, c.master);
        EXPECT_EQ(writer.fieldOffset(SettingsField::UninstallerPatchOffset) >= 0, c.offset);
        EXPECT_EQ(writer.fieldOffset(SettingsField::UninstallerPatchBytes) >= 0, c.patch);

        InstallSettings back;
        ASSERT_EQ(readSettings(writer.bytes(), sampleInputs(), back), NotCorrupt) << c.flags;
        EXPECT_EQ(str(back.masterProductName), c.master ? "Acme Suite" : "");
        EXPECT_EQ(back.uninstallerPatchOffset, c.offset ? c.patchOffset : 0);
        EXPECT_EQ(back.uninstallerPatchBytes.length(), c.patch ? 4 : 0);
        EXPECT_EQ(str(back.volumeBaseName), "NOTES") << "the fields after them stay in step";
        EXPECT_EQ(back.messageTable.messageCount(), 72);
    }
}

// A bitmap or icon of length 0 or below is its length alone.
TEST(SettingsStream, EmptyOrNegativeLengthsReadOnlyTheLength) {
    const SettingsField fields[] = {SettingsField::BackgroundBitmapData,
                                    SettingsField::DesktopFolderIcon};
    for (SettingsField field : fields) {
        for (int32_t length : {0, -1, -100000}) {
            InstallSettings s = sampleSettings();
            s.backgroundBitmapData.clear();
            s.desktopFolderIcon.clear();
            SettingsWriter writer;
            ASSERT_TRUE(writer.write(s));
            String bytes = writer.bytes();
            const int32_t at = writer.fieldOffset(field);
            for (int i = 0; i < 4; ++i)
                *bytes.writablePointer(at + i) = char(uint32_t(length) >> (8 * i));
            InstallSettings back;
            EXPECT_EQ(readSettings(bytes, sampleInputs(), back), NotCorrupt) << length;
            EXPECT_TRUE(back.backgroundBitmapData.isEmpty());
            EXPECT_TRUE(back.desktopFolderIcon.isEmpty());
            EXPECT_EQ(str(back.preInstallBatch), "echo pre");
        }
    }
}

TEST(SettingsStream, ReaderTakesTheHeadBeforeTheRest) {
    const String written = settingsBytes(sampleSettings());
    InstallSettings s;
    s.productName = "left over";
    SettingsReader reader(written, sampleInputs(), s);
    ASSERT_EQ(reader.readHead(), NotCorrupt);
    EXPECT_EQ(s.productFlags, sampleSettings().productFlags);
    EXPECT_EQ(str(s.taskbarText), "Acme Notes Setup");
    EXPECT_TRUE(s.productName.isEmpty()) << "the head starts from fresh settings";
    EXPECT_EQ(str(reader.bytes()), str(written));
    ASSERT_EQ(reader.readRest(), NotCorrupt);
    EXPECT_EQ(str(s.productName), "Acme Notes");
}

} // namespace
