// Installers whose settings stream breaks one of its checks: the stream is
// changed before compression and scrambling, so the block decodes and its
// checksum holds, and only the settings reader can object. Each ends in the
// corruption box with the check's own code.
#include "ArchiveFixture.h"
#include "Wine.h"
#include "format/CorruptionCode.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace e2e {
namespace {

struct SettingsDamage {
    const char* name;
    SettingsField field;
    int width;
    int64_t value;
    CorruptionCode code;
};

void PrintTo(const SettingsDamage& d, std::ostream* out) {
    *out << d.name;
}

class SettingsDamageTest : public ::testing::TestWithParam<SettingsDamage> {};

TEST_P(SettingsDamageTest, ShowsItsCorruptionCode) {
    const SettingsDamage& d = GetParam();
    BuiltSetup setup = buildSetup(archiveTestSettings(), keld::ArchiveOptions(), nullptr,
                                  [&d](const SettingsWriter& writer, keld::Bytes& bytes) {
                                      const int32_t at = writer.fieldOffset(d.field);
                                      ASSERT_GE(at, 0) << settingsFieldName(d.field);
                                      for (int i = 0; i < d.width; ++i)
                                          bytes.at(size_t(at) + size_t(i)) =
                                              uint8_t(uint64_t(d.value) >> (8 * i));
                                  });
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
        SettingsDamage{"StepPause", SettingsField::StepPause, 2, 10000, StepPauseTooLong},
        SettingsDamage{"LicenseCount", SettingsField::LicenseCount, 4, 21, BadLicenseCount},
        SettingsDamage{"ReadmeCount", SettingsField::ReadmeCount, 4, -1, BadReadmeCount},
        SettingsDamage{"LanguageCount", SettingsField::LanguageCount, 1, 0, BadLanguageCount},
        SettingsDamage{"MessageCount", SettingsField::MessageCount, 4, 10001, BadMessageCount},
        SettingsDamage{"EndMarker", SettingsField::EndMarker, 4, 0, MissingSettingsEnd},
        SettingsDamage{"AssociationCount", SettingsField::AssociationCount, 4, 10001,
                       BadAssociationCount},
        SettingsDamage{"UninstallDataCount", SettingsField::UninstallDataCount, 4, -1,
                       BadUninstallDataCount},
        SettingsDamage{"BitmapSize", SettingsField::BitmapSize, 4, 101, BadBitmapSize}),
    [](const ::testing::TestParamInfo<SettingsDamage>& param) {
        return std::string(param.param.name);
    });

} // namespace
} // namespace e2e
