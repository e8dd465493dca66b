// Every check of the settings stream gives its corruption code, keld's writer
// refuses what the reader would refuse, and a stream cut anywhere fails
// without a crash.
#include "SettingsSample.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The sample's stream with the value at `field` overwritten by `width`
// little-endian bytes of `value`.
String withField(SettingsField field, int64_t value, int width) {
    SettingsWriter writer(sampleInputs().installerFileSize);
    EXPECT_TRUE(writer.write(sampleSettings())) << writer.failure().c_str();
    String bytes = writer.bytes();
    const int32_t at = writer.fieldOffset(field);
    EXPECT_GE(at, 0) << settingsFieldName(field);
    for (int i = 0; i < width; ++i)
        *bytes.writablePointer(at + i) = char(uint64_t(value) >> (8 * i));
    return bytes;
}

CorruptionCode readCode(const String& bytes) {
    InstallSettings s;
    return readSettings(bytes, sampleInputs(), s);
}

struct RangeCase {
    SettingsField field;
    int width;
    int64_t value;
    CorruptionCode want;
};

const RangeCase kRanges[] = {
    {SettingsField::StepPause, 2, 9999, NotCorrupt},
    {SettingsField::StepPause, 2, 10000, StepPauseTooLong},
    {SettingsField::StepPause, 2, 0xFFFF, StepPauseTooLong},
    {SettingsField::BitmapSize, 4, 0, NotCorrupt},
    {SettingsField::BitmapSize, 4, -1, BadBitmapSize},
    {SettingsField::BitmapSize, 4, 101, BadBitmapSize},
    {SettingsField::LicenseCount, 4, -1, BadLicenseCount},
    {SettingsField::LicenseCount, 4, 21, BadLicenseCount},
    {SettingsField::ReadmeCount, 4, -1, BadReadmeCount},
    {SettingsField::ReadmeCount, 4, 21, BadReadmeCount},
    {SettingsField::VolumeBaseName, 1, ' ', NotCorrupt}, // " OTES" is not blank
    {SettingsField::UninstallerPatchOffset, 4, 200000, NotCorrupt},
    {SettingsField::UninstallerPatchOffset, 4, 200001, BadUninstallerPatch},
    {SettingsField::UninstallerPatchOffset, 4, -1, BadUninstallerPatch},
    {SettingsField::AssociationCount, 4, -1, BadAssociationCount},
    {SettingsField::AssociationCount, 4, 10001, BadAssociationCount},
    {SettingsField::UninstallDataCount, 4, INT32_MIN, BadUninstallDataCount},
    {SettingsField::UninstallDataCount, 4, 10001, BadUninstallDataCount},
    {SettingsField::LanguageCount, 1, 0, BadLanguageCount},
    {SettingsField::LanguageCount, 1, 101, BadLanguageCount},
    {SettingsField::LanguageCount, 1, 255, BadLanguageCount},
    {SettingsField::MessageCount, 4, 0, BadMessageCount},
    {SettingsField::MessageCount, 4, -1, BadMessageCount},
    {SettingsField::MessageCount, 4, 10001, BadMessageCount},
    // More texts than the stream holds: the end marker is never reached.
    {SettingsField::MessageCount, 4, 10000, MissingSettingsEnd},
    {SettingsField::LanguageCount, 1, 100, MissingSettingsEnd},
    {SettingsField::EndMarker, 4, 0xD3E82B96, MissingSettingsEnd},
    {SettingsField::EndMarker, 4, 0, MissingSettingsEnd},
};

TEST(SettingsChecks, EachRangeGivesItsCode) {
    for (const RangeCase& c : kRanges)
        EXPECT_EQ(readCode(withField(c.field, c.value, c.width)), c.want)
            << settingsFieldName(c.field) << " = " << c.value;
}

TEST(SettingsChecks, BlankVolumeBaseNameGives21) {
    InstallSettings s = sampleSettings();
    s.volumeBaseName = "V";
    SettingsWriter writer;
    ASSERT_TRUE(writer.write(s));
    for (char blank : {' ', '\t', '\r', '\n'}) {
        String bytes = writer.bytes();
        *bytes.writablePointer(writer.fieldOffset(SettingsField::VolumeBaseName)) = blank;
        EXPECT_EQ(readCode(bytes), BlankVolumeBaseName) << int(blank);
    }
    String empty = writer.bytes();
    empty.erase(writer.fieldOffset(SettingsField::VolumeBaseName), 1);
    EXPECT_EQ(readCode(empty), BlankVolumeBaseName);
}

// A length beyond the stream claims no memory (the largest would end the
// test program through the out-of-memory report); the zeros after the end
// then run the deletion list to its limit.
TEST(SettingsChecks, LengthsBeyondTheStreamClaimNothing) {
    const SettingsField fields[] = {SettingsField::BackgroundBitmapData,
                                    SettingsField::DesktopFolderIcon,
                                    SettingsField::UninstallerPatchBytes};
    for (SettingsField field : fields)
        for (int64_t length : {int64_t(INT32_MAX), int64_t(1) << 24})
            EXPECT_EQ(readCode(withField(field, length, 4)), TooManyDeletions)
                << settingsFieldName(field) << " " << length;
}

// The 1001st record is still taken; one more gives 38.
TEST(SettingsChecks, DeletionListHoldsAtMost1001Records) {
    InstallSettings s = sampleSettings();
    s.fileDeletions.clear();
    for (int i = 0; i < kMaxFileDeletions; ++i)
        s.fileDeletions.append(FileDeletion{String::formatted("f%d", i), 0, "", 0});
    SettingsWriter writer;
    ASSERT_TRUE(writer.write(s));
    InstallSettings back;
    ASSERT_EQ(readSettings(writer.bytes(), sampleInputs(), back), NotCorrupt);
    EXPECT_EQ(back.fileDeletions.count(), kMaxFileDeletions);
    EXPECT_EQ(std::string(back.fileDeletions[1000].pattern.c_str()), "f1000");

    String more = writer.bytes();
    const int endText = writer.fieldOffset(SettingsField::AssociationCount) - 12;
    ASSERT_EQ(std::string(more.c_str() + endText), kDeletionListEnd);
    const char extra[] = "g\0\0\0\0\0\0\0";
    more.splice(endText, 0, extra, 8);
    EXPECT_EQ(readCode(more), TooManyDeletions);
}

// What the reader refuses, keld refuses to write, with the reader's code.
TEST(SettingsChecks, WriterRefusesWhatTheReaderWould) {
    struct Case {
        const char* name;
        void (*change)(InstallSettings&);
        SettingsField field;
        CorruptionCode code;
    } cases[] = {
        {"step pause", [](InstallSettings& s) { s.stepPause = 10000; }, SettingsField::StepPause,
         StepPauseTooLong},
        {"bitmap size", [](InstallSettings& s) { s.bitmapSize = 101; }, SettingsField::BitmapSize,
         BadBitmapSize},
        {"licences",
         [](InstallSettings& s) {
             while (s.licenseTexts.count() <= 20)
                 s.licenseTexts.append("x");
         },
         SettingsField::LicenseCount, BadLicenseCount},
        {"readmes",
         [](InstallSettings& s) {
             while (s.readmeTexts.count() <= 20)
                 s.readmeTexts.append("x");
         },
         SettingsField::ReadmeCount, BadReadmeCount},
        {"volume base", [](InstallSettings& s) { s.volumeBaseName = " \t"; },
         SettingsField::VolumeBaseName, BlankVolumeBaseName},
        {"patch offset", [](InstallSettings& s) { s.uninstallerPatchOffset = -4; },
         SettingsField::UninstallerPatchOffset, BadUninstallerPatch},
        {"patch past the installer", [](InstallSettings& s) { s.uninstallerPatchOffset = 200001; },
         SettingsField::UninstallerPatchOffset, BadUninstallerPatch},
        {"deletions",
         [](InstallSettings& s) {
             while (s.fileDeletions.count() <= kMaxFileDeletions)
                 s.fileDeletions.append(FileDeletion{"x", 0, "", 0});
         },
         SettingsField::FileDeletions, TooManyDeletions},
        {"a pattern that would end the list",
         [](InstallSettings& s) { s.fileDeletions[0].pattern = kDeletionListEnd; },
         SettingsField::FileDeletions, NotCorrupt},
        {"no languages",
         [](InstallSettings& s) {
             s.languages.clear();
             s.messageTable.clear();
         },
         SettingsField::LanguageCount, BadLanguageCount},
        {"names and columns differ", [](InstallSettings& s) { s.languages.append("Dansk"); },
         SettingsField::LanguageCount, NotCorrupt},
        {"no messages", [](InstallSettings& s) { s.messageTable.resize(0, 2); },
         SettingsField::MessageCount, BadMessageCount},
        {"a text with a zero byte", [](InstallSettings& s) { s.titleFont = String("A\0B", 3); },
         SettingsField::TitleFont, NotCorrupt},
    };
    for (const auto& c : cases) {
        InstallSettings s = sampleSettings();
        c.change(s);
        SettingsWriter writer(sampleInputs().installerFileSize);
        EXPECT_FALSE(writer.write(s)) << c.name;
        EXPECT_EQ(writer.failedField(), c.field) << c.name;
        EXPECT_EQ(writer.failedCode(), c.code) << c.name;
        EXPECT_EQ(std::string(writer.failure().c_str()).rfind(settingsFieldName(c.field), 0), 0u)
            << writer.failure().c_str();
    }
}

// A short stream reads on as zeros: cut anywhere, it fails, and with the
// very code that the same stream padded with zero bytes gives.
TEST(SettingsChecks, EveryPrefixFailsAsIfPaddedWithZeros) {
    InstallSettings s = sampleSettings();
    s.messageTable.resize(6, 2);
    const String whole = settingsBytes(s);
    ASSERT_EQ(readCode(whole), NotCorrupt);
    String padding;
    padding.setLength(1 << 16);
    for (int i = 0; i < padding.length(); ++i)
        *padding.writablePointer(i) = '\0';
    for (int n = 0; n < whole.length(); ++n) {
        const String prefix(whole.c_str(), n);
        const CorruptionCode code = readCode(prefix);
        ASSERT_NE(code, NotCorrupt) << n;
        ASSERT_EQ(code, readCode(prefix + padding)) << n;
    }
}

// Where a cut lands decides the code: the zeros after it pass some checks
// and fail the first one that zero cannot pass.
TEST(SettingsChecks, ACutStreamFailsAtTheFirstCheckZeroFails) {
    SettingsWriter writer;
    ASSERT_TRUE(writer.write(sampleSettings()));
    const String& whole = writer.bytes();
    struct Case {
        SettingsField cutAt;
        CorruptionCode want;
    } cases[] = {
        {SettingsField::ProductFlags, BlankVolumeBaseName},
        {SettingsField::VolumeBaseName, BlankVolumeBaseName},
        {SettingsField::UninstallerName, TooManyDeletions},
        {SettingsField::FileDeletions, TooManyDeletions},
        {SettingsField::AssociationCount, BadLanguageCount},
        {SettingsField::LanguageCount, BadLanguageCount},
        {SettingsField::MessageCount, BadMessageCount},
        {SettingsField::Languages, MissingSettingsEnd},
        {SettingsField::EndMarker, MissingSettingsEnd},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readCode(String(whole.c_str(), writer.fieldOffset(c.cutAt))), c.want)
            << settingsFieldName(c.cutAt);
}

} // namespace
