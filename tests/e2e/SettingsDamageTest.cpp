// Installers whose settings stream breaks one of its checks: the stream is
// changed before compression and scrambling, so the block decodes and its
// checksum holds, and only the settings reader can object. Each ends in the
// corruption box with the check's own code.
#include "ArchiveFixture.h"
#include "Wine.h"
#include "format/CorruptionCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <ostream>
#include <string>

namespace e2e {
namespace {

// Overwrites a number field of the stream in place, little-endian.
void overwrite(const SettingsWriter& writer, keld::Bytes& bytes, SettingsField field, int width,
               int64_t value) {
    const int32_t at = writer.fieldOffset(field);
    ASSERT_GE(at, 0) << settingsFieldName(field);
    for (int i = 0; i < width; ++i)
        bytes.at(size_t(at) + size_t(i)) = uint8_t(uint64_t(value) >> (8 * i));
}

struct SettingsDamage {
    const char* name;
    CorruptionCode code;
    // Settings the writer accepts, then the change the reader must refuse.
    std::function<void(InstallSettings&)> adjust;
    std::function<void(const SettingsWriter&, keld::Bytes&)> patch;
};

void PrintTo(const SettingsDamage& d, std::ostream* out) {
    *out << d.name;
}

// A row that only overwrites one number field.
SettingsDamage number(const char* name, SettingsField field, int width, int64_t value,
                      CorruptionCode code) {
    return SettingsDamage{name, code, nullptr,
                          [=](const SettingsWriter& writer, keld::Bytes& bytes) {
                              overwrite(writer, bytes, field, width, value);
                          }};
}

class SettingsDamageTest : public ::testing::TestWithParam<SettingsDamage> {};

TEST_P(SettingsDamageTest, ShowsItsCorruptionCode) {
    const SettingsDamage& d = GetParam();
    InstallSettings settings = archiveTestSettings();
    if (d.adjust)
        d.adjust(settings);
    BuiltSetup setup = buildSetup(settings, keld::ArchiveOptions(), nullptr, d.patch);
    RunResult run = runUnderRobot({setup.exe}, {}, 30);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_EQ(run.windows.size(), 1u);
    EXPECT_EQ(run.windows[0].caption, "FATAL ERROR");
    // The built-in text ends "Error code: N", the archive's own "error N".
    const std::string tail = " " + std::to_string(d.code);
    const std::string& text = run.windows[0].text;
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
    EXPECT_EQ(run.exitCode, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SettingsDamageTest,
    ::testing::Values(
        number("StepPause", SettingsField::StepPause, 2, 10000, StepPauseTooLong),
        number("LicenseCount", SettingsField::LicenseCount, 4, 21, BadLicenseCount),
        number("ReadmeCount", SettingsField::ReadmeCount, 4, -1, BadReadmeCount),
        number("LanguageCount", SettingsField::LanguageCount, 1, 0, BadLanguageCount),
        number("MessageCount", SettingsField::MessageCount, 4, 10001, BadMessageCount),
        number("EndMarker", SettingsField::EndMarker, 4, 0, MissingSettingsEnd),
        number("AssociationCount", SettingsField::AssociationCount, 4, 10001, BadAssociationCount),
        number("UninstallDataCount", SettingsField::UninstallDataCount, 4, -1,
               BadUninstallDataCount),
        number("BitmapSize", SettingsField::BitmapSize, 4, 101, BadBitmapSize),
        // Spaces of the same length as "DISK", so nothing after it moves.
        SettingsDamage{"BlankVolumeBaseName", BlankVolumeBaseName, nullptr,
                       [](const SettingsWriter& writer, keld::Bytes& bytes) {
                           const int32_t at = writer.fieldOffset(SettingsField::VolumeBaseName);
                           ASSERT_GE(at, 0);
                           ASSERT_EQ(std::string(bytes.begin() + at, bytes.begin() + at + 5),
                                     std::string("DISK", 5));
                           std::fill_n(bytes.begin() + at, 4, uint8_t(' '));
                       }},
        // An offset past the end of a file of some hundred kilobytes.
        SettingsDamage{"UninstallerPatchBeyondTheFile", BadUninstallerPatch,
                       [](InstallSettings& s) { s.productFlags |= Uninstallable; },
                       [](const SettingsWriter& writer, keld::Bytes& bytes) {
                           overwrite(writer, bytes, SettingsField::UninstallerPatchOffset, 4,
                                     0x7FFFFF00);
                       }},
        // One record written, then copied until there are 1002.
        SettingsDamage{"OneDeletionTooMany", TooManyDeletions,
                       [](InstallSettings& s) {
                           FileDeletion old;
                           old.pattern = "old.txt";
                           s.fileDeletions.append(old);
                       },
                       [](const SettingsWriter& writer, keld::Bytes& bytes) {
                           const int32_t at = writer.fieldOffset(SettingsField::FileDeletions);
                           ASSERT_GE(at, 0);
                           // "old.txt", condition, empty value, flags.
                           const size_t size = 8 + 1 + 1 + 4;
                           const keld::Bytes record(bytes.begin() + at,
                                                    bytes.begin() + at + long(size));
                           for (int i = 0; i < kMaxFileDeletions; ++i)
                               bytes.insert(bytes.begin() + at, record.begin(), record.end());
                       }}),
    [](const ::testing::TestParamInfo<SettingsDamage>& param) {
        return std::string(param.param.name);
    });

} // namespace
} // namespace e2e
