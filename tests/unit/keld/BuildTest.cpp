#include "keld/Build.h"
#include "format/FileEntry.h"
#include "keld/DefaultMessages.h"
#include "keld/Files.h"
#include "keld/VerifyArchive.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// One blue pixel, with the 40-byte header the installer draws from.
const std::string kPackedBitmap = std::string("\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 16) +
                                  std::string(24, '\0') + std::string("\xFF\0\0\0", 4);

using keld::BuildOptions;
using keld::BuildResult;
using keld::Project;
using keld::ProjectErrors;
using keld::SetupReading;
using keld::SetupVerdict;

// A project that touches every section the settings stream and the data area hold.
const char kFullProject[] = R"TOML(
[product]
name = "Acme Notes"
publisher = "Acme"
version = "2.1"
install-dir = "Acme\\Notes"
uninstall-key = "AcmeNotes2"
uninstall-subdir = "Uninstall"
uninstaller-name = "Remove Notes.exe"
shared-path = "Acme Shared"
start-menu = "Acme\\Notes"
registry = "Acme\\Notes"
master-product = "Acme Suite"
flags = ["Uninstallable", "AskInstallDir", "VerifyWrites", "KeepDisplayTitle"]
all-users = true
step-pause = 250
excluded-systems = ["Win32s", "Windows 95"]
desktop-folder = "Acme"
desktop-folder-icon = "folder.ico"

[display]
taskbar-text = "Installing Acme Notes"
title-color = "#FF8000"
top-color = "#102030"
bottom-color = "#000000"
title-shadow = true
title-position = 2
title-font = "Tahoma"
bitmap = "back.bmp"
bitmap-size = 40
stretch-mode = 3

[pages]
license = ["license.txt", "license2.txt"]
readme = "readme.txt"

[batches]
pre-install = "echo before\necho still before"
uninstall-2 = "echo gone"

[[languages]]
name = "English"
messages = { 42 = "All done: <product>." }

[[languages]]
name = "Deutsch"
messages = { LANGUAGE }

[[delete]]
pattern = "%InstallDir%\\*.tmp"
condition = "size-at-least"
value = "1,024"
at-restart = true

[[associations]]
extension = ".acmenote"
type = "AcmeNotes.Note"
description = "Acme Note"
label = "&Open"
command = "\"%InstallDir%\\notes.exe\" \"%1\""
language = "Deutsch"
icon = "%InstallDir%\\notes.exe,0"
default = true

[[uninstall-values]]
name = "NoModify"
type = "number"
value = 1

[[uninstall-values]]
name = "HelpLink"
type = "expand-text"
value = "%InstallDir%\\help.html"

[[files]]
source = "dist/notes.exe"
desktop-shortcut = "Acme Notes"
start-menu-shortcut = "Acme Notes"
shortcut-icon = "notes.ico"
shortcut-arguments = "/fresh"
shortcut-working-dir = "%InstallDir%"
attributes = ["read-only"]

[[files]]
source = "dist/lib.dll"
kind = "com-server"
exists = "when-absent"
permanent = true

[[files]]
source = "dist/notes.exe"
name = "agent.exe"
kind = "versioned"
version = "7.0"
target = "%InstallDir%\\bin\\"

[[files]]
source = "dist/acme.ttf"
kind = "font"
font-name = "Acme Sans (TrueType)"

[[files]]
source = "dist/help/img/logo.bmp"
in-uninstall-dir = true

[[files]]
source = "dist/help/index.html"
into = "help"

[output]
compression = "fast"
volume-tag = 0x12345678
verify-installer = true
)TOML";

std::string germanMessages() {
    std::string list;
    for (int id = 0; id < keld::kMessageIdCount; ++id)
        list += (id ? ", " : "") + std::to_string(id) + " = \"" + keld::messageArguments(id) +
                " de" + std::to_string(id) + "\"";
    return list;
}

class BuildTest : public ::testing::Test {
protected:
    BuildTest() {
        std::string program = "MZ";
        program.resize(5000, 'p');
        folder_.write("dist/notes.exe", program, 1600000000);
        folder_.write("dist/lib.dll", std::string("\xFF\x00\x7F", 3), 1600000100);
        folder_.write("dist/acme.ttf", "font bytes", 1600000200);
        folder_.write("dist/help/index.html", "<p>help</p>", 1600000300);
        folder_.write("dist/help/img/logo.bmp", "logo", 1600000400);
        folder_.write("folder.ico", "icon bytes");
        folder_.write("back.bmp", "BM" + std::string(12, '\0') + kPackedBitmap);
        folder_.write("license.txt", "Licence one\nsecond line\n");
        folder_.write("license2.txt", "Licence two\r\n");
        folder_.write("readme.txt", "Read me\n");
    }

    std::string writeProject(std::string text) {
        const size_t at = text.find("LANGUAGE");
        if (at != std::string::npos)
            text.replace(at, 8, germanMessages());
        return folder_.write("project.toml", text);
    }

    // Builds the project in `text`; the installer's reading of the result.
    SetupReading buildAndRead(const std::string& text, const std::string& output = "setup.exe") {
        Project project;
        ProjectErrors errors;
        EXPECT_TRUE(keld::readProject(writeProject(text), project, errors))
            << (errors.messages.empty() ? "" : errors.messages[0]);
        BuildOptions options;
        options.stub = testStub();
        options.outputPath = folder_.path(output);
        std::vector<std::string> problems;
        EXPECT_TRUE(keld::buildProject(project, options, result_, problems))
            << (problems.empty() ? "" : problems[0]);
        std::string error;
        EXPECT_TRUE(keld::writeBuild(result_, options.outputPath, error)) << error;
        return keld::readSetup(options.outputPath);
    }

    ProjectTestFolder folder_;
    BuildResult result_;
};

TEST_F(BuildTest, TheInstallerReadsWhatTheProjectSaid) {
    const SetupReading r = buildAndRead(kFullProject);
    ASSERT_EQ(r.verdict, SetupVerdict::Accepted) << r.problem;
    const InstallSettings& s = r.settings;
    EXPECT_EQ(s.productFlags,
              uint64_t(Uninstallable | AskInstallDir | VerifyWrites | KeepDisplayTitle |
                       MasterProduct | BackgroundBitmap | CompressedData | VerifyInstaller));
    EXPECT_STREQ(s.taskbarText.c_str(), "Installing Acme Notes");
    EXPECT_EQ(s.stepPause, 250);
    EXPECT_EQ(s.shortcutMode, 1);
    EXPECT_EQ(s.packageTime.year, 2023); // the newest source: the pages, 1700000000
    EXPECT_STREQ(s.publisher.c_str(), "Acme");
    EXPECT_STREQ(s.productName.c_str(), "Acme Notes");
    EXPECT_STREQ(s.sharedPath.c_str(), "C:\\Program Files\\Common Files\\Acme Shared");
    EXPECT_STREQ(s.productStartMenu.c_str(), "Acme\\Notes");
    EXPECT_STREQ(s.defaultInstallDir.c_str(), "C:\\Program Files\\Acme\\Notes");
    EXPECT_STREQ(s.displayVersion.c_str(), "2.1");
    EXPECT_STREQ(s.productRegistry.c_str(), "Acme\\Notes");
    EXPECT_EQ(s.bitmapSize, 40);
    EXPECT_EQ(s.stretchMode, 3);
    ASSERT_EQ(s.licenseTexts.count(), 2);
    EXPECT_STREQ(s.licenseTexts[0].c_str(), "Licence one\r\nsecond line\r\n");
    EXPECT_STREQ(s.licenseTexts[1].c_str(), "Licence two\r\n");
    ASSERT_EQ(s.readmeTexts.count(), 1);
    EXPECT_STREQ(s.uninstallSubdir.c_str(), "Uninstall");
    EXPECT_STREQ(s.volumeBaseName.c_str(), "setup");
    EXPECT_STREQ(s.uninstallerName.c_str(), "Remove Notes.exe");
    EXPECT_STREQ(s.uninstallKey.c_str(), "AcmeNotes2");
    EXPECT_EQ(s.titleColor, 0x0080FF);
    EXPECT_EQ(s.titleShadow, 1);
    EXPECT_EQ(s.titlePosition, 2);
    EXPECT_STREQ(s.titleFont.c_str(), "Tahoma");
    EXPECT_EQ(s.topColor, 0x302010);
    EXPECT_EQ(s.bottomColor, 0);
    EXPECT_EQ(std::string(s.backgroundBitmapData.c_str(), size_t(s.backgroundBitmapData.length())),
              kPackedBitmap);
    EXPECT_STREQ(s.masterProductName.c_str(), "Acme Suite");
    EXPECT_STREQ(s.desktopFolder.c_str(), "Acme");
    EXPECT_STREQ(s.desktopFolderIcon.c_str(), "icon bytes");
    EXPECT_STREQ(s.preInstallBatch.c_str(), "echo before\r\necho still before");
    EXPECT_STREQ(s.uninstallBatch2.c_str(), "echo gone");
    EXPECT_EQ(s.excludedSystems, 0x2 | 0x4);
    EXPECT_EQ(s.dataBeyondImage, 0);
    EXPECT_EQ(uint32_t(s.volumeTag), 0x12345678u);

    ASSERT_EQ(s.fileDeletions.count(), 1);
    EXPECT_STREQ(s.fileDeletions[0].pattern.c_str(), "%InstallDir%\\*.tmp");
    EXPECT_EQ(s.fileDeletions[0].condition, 5);
    EXPECT_STREQ(s.fileDeletions[0].conditionValue.c_str(), "1,024");
    EXPECT_EQ(s.fileDeletions[0].flags, kDeleteAtRestart);
    ASSERT_EQ(s.fileAssociations.count(), 1);
    const FileAssociation& a = s.fileAssociations[0];
    EXPECT_EQ(a.flags, kAssociationDefaultVerb);
    EXPECT_STREQ(a.extension.c_str(), ".acmenote");
    EXPECT_STREQ(a.verb.c_str(), "open");
    EXPECT_STREQ(a.commandLine.c_str(), "\"%InstallDir%\\notes.exe\" \"%1\"");
    EXPECT_STREQ(a.language.c_str(), "Deutsch");
    ASSERT_EQ(s.uninstallData.count(), 2);
    EXPECT_STREQ(s.uninstallData[0].name.c_str(), "NoModify");
    EXPECT_EQ(s.uninstallData[0].type, UninstallNumber);
    EXPECT_STREQ(s.uninstallData[0].value.c_str(), "1");
    EXPECT_EQ(s.uninstallData[1].type, UninstallExpandText);

    ASSERT_EQ(s.languages.count(), 2);
    EXPECT_STREQ(s.languages[1].c_str(), "Deutsch");
    EXPECT_EQ(s.currentLanguage, 0);
    EXPECT_STREQ(s.messageTable.find(42, 0)->c_str(), "All done: <product>.");
    EXPECT_EQ(s.messageTable.find(13, 0)->c_str(), keld::defaultMessage(13));
    EXPECT_STREQ(s.messageTable.find(13, 1)->c_str(), "%d de13");
}

TEST_F(BuildTest, FileRecordsCarryTheSourcesAndTheirOptions) {
    const SetupReading r = buildAndRead(kFullProject);
    ASSERT_EQ(r.verdict, SetupVerdict::Accepted) << r.problem;
    ASSERT_EQ(r.files.size(), 6u);
    const keld::ReadFileEntry& notes = r.files[0];
    EXPECT_EQ(notes.name, "notes.exe");
    EXPECT_EQ(notes.kind, InstallDirFile);
    EXPECT_EQ(notes.options, DesktopShortcut | StartMenuShortcut);
    EXPECT_EQ(notes.attributes, 0x1);
    EXPECT_EQ(notes.size, 5000);
    EXPECT_EQ(notes.detail, "Acme Notes");
    EXPECT_EQ(notes.icon, "notes.ico");
    EXPECT_EQ(notes.arguments, "/fresh");
    EXPECT_EQ(notes.workingDirectory, "%InstallDir%");
    // 1600000000 is 2020-09-13 12:26:40 UTC.
    EXPECT_EQ(notes.time.year, 2020);
    EXPECT_EQ(notes.time.month, 9);
    EXPECT_EQ(notes.time.day, 13);
    EXPECT_EQ(notes.time.hour, 12);
    EXPECT_EQ(notes.time.minute, 26);
    EXPECT_EQ(notes.time.second, 40);

    EXPECT_EQ(r.files[1].kind, ComServerFile);
    EXPECT_EQ(r.files[1].options, InstallWhenAbsent | Permanent);
    EXPECT_EQ(r.files[1].detail, ""); // no version resource in the source
    EXPECT_EQ(r.files[1].size, 3);
    EXPECT_EQ(r.files[2].name, "agent.exe");
    EXPECT_EQ(r.files[2].detail, "7.0");
    EXPECT_EQ(r.files[2].target, "%InstallDir%\\bin\\");
    EXPECT_EQ(r.files[3].kind, FontFile);
    EXPECT_EQ(r.files[3].detail, "Acme Sans (TrueType)");
    EXPECT_EQ(r.files[4].name, "logo.bmp");
    EXPECT_EQ(r.files[4].options, InUninstallDir);
    EXPECT_EQ(r.files[5].name, "help\\index.html");
}

TEST_F(BuildTest, VersionsComeFromTheSourcesVersionResource) {
    // The example's program carries FileVersion "2, 1, 0, 0".
    std::string program;
    ASSERT_TRUE(keld::readFile(VARNOKE_SOURCE_DIR "/examples/acme-notes/dist/notes.exe", program));
    folder_.write("dist/sys.dll", program);
    const SetupReading r = buildAndRead("[product]\nname = \"V\"\n[[files]]\n"
                                        "source = \"dist/sys.dll\"\nkind = \"system\"\n");
    ASSERT_EQ(r.verdict, SetupVerdict::Accepted) << r.problem;
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].detail, "2.1.0.0");
}

TEST_F(BuildTest, TheSameProjectAndSourcesGiveTheSameBytes) {
    buildAndRead(kFullProject);
    const std::string first = folder_.read("setup.exe");
    buildAndRead(kFullProject);
    EXPECT_EQ(folder_.read("setup.exe"), first);
    // A source touched later moves the package time, so the bytes change.
    folder_.write("dist/help/index.html", "<p>help</p>", 1700000000);
    buildAndRead(kFullProject);
    EXPECT_NE(folder_.read("setup.exe"), first);
}

TEST_F(BuildTest, PackageTimeComesFromTheProjectThenSourceDateEpoch) {
    Project project;
    ProjectErrors errors;
    ASSERT_TRUE(keld::readProject(
        writeProject("[product]\nname = \"T\"\n[[files]]\nsource = \"dist/lib.dll\"\n"), project,
        errors));
    BuildOptions options;
    options.stub = testStub();
    options.outputPath = folder_.path("setup.exe");
    std::vector<std::string> problems;
    ASSERT_TRUE(keld::buildProject(project, options, result_, problems));
    EXPECT_EQ(result_.settings.packageTime.year, 2020); // the source's time
    options.sourceDateEpoch = 0;
    ASSERT_TRUE(keld::buildProject(project, options, result_, problems));
    EXPECT_EQ(result_.settings.packageTime.year, 1970);
    EXPECT_EQ(result_.settings.dateRecord.year, 1970);
    project.packageTime = TimeStamp{2024, 5, 1, 12, 0, 0};
    ASSERT_TRUE(keld::buildProject(project, options, result_, problems));
    EXPECT_EQ(result_.settings.packageTime.year, 2024);
}

TEST_F(BuildTest, LayoutsTheInstallerReadsBack) {
    struct Layout {
        const char* what;
        const char* output;
        size_t volumes;
    };
    std::string big;
    for (int i = 0; i < 3000; ++i)
        big += std::to_string(i * 7919 % 10007) + ",";
    folder_.write("dist/big.txt", big);
    const std::string product = "[product]\nname = \"L\"\n[[files]]\nsource = \"dist/big.txt\"\n"
                                "[[files]]\nsource = \"dist/help\"\n";
    const Layout layouts[] = {
        {"plain, in the section", "[output]\ncompression = \"none\"\n", 0},
        {"beyond the image", "[output]\ndata = \"beyond-image\"\n", 0},
        {"volumes", "[output]\ncompression = \"none\"\nvolume-size = 4096\n", 3},
        {"volumes beyond the image",
         "[output]\ncompression = \"none\"\ndata = \"beyond-image\"\nvolume-size = 4096\n", 3},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.what);
        const SetupReading r = buildAndRead(product + layout.output, "disk.exe");
        EXPECT_EQ(r.verdict, SetupVerdict::Accepted) << r.problem;
        EXPECT_EQ(r.files.size(), 3u);
        EXPECT_EQ(result_.installer.volumes.size(), layout.volumes);
        EXPECT_EQ(r.volumes.size(), layout.volumes);
        if (layout.volumes > 0) {
            EXPECT_EQ(result_.installer.volumes[0].name, "disk2.ZEP");
        }
    }
}

TEST_F(BuildTest, LimitsOfTheFormatAreCaughtBeforeWriting) {
    // A sparse file just over the largest stored size.
    const std::string huge = folder_.write("dist/huge.bin", "");
    std::filesystem::resize_file(keld::toFsPath(huge), 0x40000001);
    Project project;
    ProjectErrors errors;
    ASSERT_TRUE(keld::readProject(
        writeProject("[product]\nname = \"H\"\n[[files]]\nsource = \"dist/huge.bin\"\n"), project,
        errors));
    BuildOptions options;
    options.stub = testStub();
    options.outputPath = folder_.path("huge.exe");
    std::vector<std::string> problems;
    EXPECT_FALSE(keld::buildProject(project, options, result_, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], folder_.path("project.toml") + ":4:10: the file \"" + huge +
                               "\" is larger than the installer takes (1 GB, 1073741824 bytes)");

    ASSERT_TRUE(keld::readProject(
        writeProject("[product]\nname = \"P\"\nflags = [\"Uninstallable\"]\n"
                     "uninstaller-patch = \"readme.txt\"\nuninstaller-patch-offset = 900000\n"),
        project, errors));
    problems.clear();
    EXPECT_FALSE(keld::buildProject(project, options, result_, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("the uninstaller patch offset lies beyond setup.exe"),
              std::string::npos);
}

} // namespace
