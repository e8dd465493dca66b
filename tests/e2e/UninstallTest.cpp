// Whole uninstallations under Wine: a product installed by a real installer,
// then removed by the Uninstall.exe the installation left, as Add/Remove
// Programs starts it; what is left on disk and in the registry afterwards,
// and the questions and reports as a person sees them.
#include "ArchiveFixture.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

// The progress dialog and the first question share their caption, message 55.
const char kWatchProgress[] = "progress:Message 55";
const char kUninstallRoot[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kSharedDlls[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kFontsKey[] = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::string fileText(const std::string& path) {
    const keld::Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A path the installer wrote ("C:\..." or "Z:\...") as the test sees it.
std::string unixPath(const std::string& windowsPath) {
    std::string rest = windowsPath.substr(2);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    const char drive = char(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    if (drive == 'z')
        return rest;
    return std::string(std::getenv("WINEPREFIX")) + "/drive_" + std::string(1, drive) + rest;
}

std::string tag() {
    return std::to_string(getpid());
}

// An uninstallable product with a file in a subfolder, shortcuts on the desktop
// and in its Start Menu folder, a shared file, a font, an association and a
// registry key of its own, under names no other test uses.
struct Product {
    InstallSettings settings;
    std::vector<keld::FileRecord> files;
    std::string fontName;
    std::string fontFile;
    std::string extension;
    std::string fileType;
    std::string registryKey;

    explicit Product(const std::string& name) {
        const std::string unique = name + " " + tag();
        settings = archiveTestSettings();
        settings.productName = unique.c_str();
        settings.uninstallKey = unique.c_str();
        settings.uninstallerName = "Uninstall.exe";
        settings.uninstallSubdir = "Uninstall";
        settings.productFlags |= Uninstallable | UninstallerStartMenuShortcut | DetailedLog;
        settings.productStartMenu = unique.c_str();
        registryKey = "Varnoke Tests\\" + unique;
        settings.productRegistry = registryKey.c_str();
        for (int id : {53, 63, 64})
            settings.messageTable.set(id, 0, id == 53 ? "Remove <product>?" : "");
        settings.messageTable.set(10, 0, "Problems:\r\n%s");

        files = standardFiles();
        files[1].detail = ("Tool " + unique).c_str();
        keld::FileRecord guide;
        guide.name = "docs\\guide.txt";
        guide.data.assign(100, 'g');
        files.push_back(guide);
        keld::FileRecord shared;
        shared.name = "shared" + tag() + ".dll";
        shared.kind = 1;
        shared.data.assign(300, 's');
        files.push_back(shared);
        fontName = "Varnoke Test " + unique + " (TrueType)";
        fontFile = "VK" + tag() + name.substr(0, 3) + ".TTF";
        keld::FileRecord font;
        font.name = fontFile;
        font.kind = 4;
        font.detail = fontName;
        font.data.assign(64, 'f');
        files.push_back(font);

        extension = ".vk" + tag() + name.substr(0, 3);
        fileType = "Varnoke.Test" + tag() + name.substr(0, 3);
        FileAssociation association;
        association.extension = extension.c_str();
        association.fileType = fileType.c_str();
        association.fileTypeDescription = "Varnoke test document";
        association.verb = "open";
        association.verbLabel = "&Open";
        association.commandLine = "\"%InstallDir%\\tool.exe\" \"%1\"";
        association.defaultIcon = "%InstallDir%\\tool.exe,0";
        settings.fileAssociations = {association};
    }

    std::string entry() const {
        return kUninstallRoot + std::string(settings.uninstallKey.c_str());
    }
};

struct Installed {
    BuiltSetup setup;
    std::string dir;         // the install directory
    std::string uninstaller; // Uninstall.exe
    std::string record;      // Uninstall.DAT as the installation wrote it
    std::string sharedFile;  // Windows path
};

Installed install(const Product& product) {
    Installed installed;
    installed.setup = buildSetupWithFiles(product.settings, product.files);
    RunResult run = runUnderRobot(silentInstall(installed.setup), {"watch:Message 54"}, 60);
    EXPECT_EQ(run.error, "") << run.output;
    installed.dir = installedDir(installed.setup);
    installed.uninstaller = installed.dir + "/Uninstall/Uninstall.exe";
    EXPECT_TRUE(exists(installed.uninstaller));
    installed.record = fileText(installed.dir + "/Uninstall/Uninstall.DAT");
    const auto shared = readRegistry32(product.entry(), "SharedFiles");
    EXPECT_TRUE(shared.has_value());
    if (shared)
        installed.sharedFile = shared->data.substr(1, shared->data.size() - 2);
    EXPECT_TRUE(exists(unixPath(installed.sharedFile))) << installed.sharedFile;
    const auto count = readRegistry32(kSharedDlls, installed.sharedFile);
    EXPECT_TRUE(count.has_value() && count->data == "0x1") << installed.sharedFile;
    return installed;
}

std::string uninstallArgument(const Product& product, bool automatic) {
    return std::string(automatic ? "/a " : "") + "/u:\"" + product.settings.uninstallKey.c_str() +
           "\"";
}

// The clean-up batch runs on after the uninstaller; it is gone once it has
// deleted itself.
bool cleanupFinished() {
    return cleanupBatchesFinished();
}

// Every file and directory Uninstall.DAT listed.
std::vector<std::string> listedPaths(const std::string& record) {
    std::vector<std::string> paths;
    std::istringstream lines(record.substr(0, record.find("[Strings]")));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        paths.push_back(unixPath(line[0] == '~' ? line.substr(1) : line));
    }
    return paths;
}

void dropProgress(RunResult& run) {
    run.windows.erase(std::remove_if(run.windows.begin(), run.windows.end(),
                                     [](const Window& w) {
                                         return w.caption == "Message 55" &&
                                                w.text.rfind("Message 71", 0) == 0;
                                     }),
                      run.windows.end());
}

void expectProductGone(const Product& product, const Installed& installed) {
    for (const std::string& path : listedPaths(installed.record))
        EXPECT_FALSE(exists(path)) << path;
    EXPECT_FALSE(readRegistry32(product.entry(), "UninstallString").has_value());
    EXPECT_FALSE(readRegistry32(kSharedDlls, installed.sharedFile).has_value());
    EXPECT_FALSE(exists(unixPath(installed.sharedFile)));
    EXPECT_FALSE(
        exists(unixPath(installed.sharedFile.substr(0, installed.sharedFile.rfind('\\')))));
    EXPECT_FALSE(readRegistry32(kFontsKey, product.fontName).has_value());
    EXPECT_FALSE(exists(std::string(std::getenv("WINEPREFIX")) + "/drive_c/windows/Fonts/" +
                        product.fontFile));
    EXPECT_FALSE(registryKeyExists32("HKCR\\" + product.extension));
    EXPECT_FALSE(registryKeyExists32("HKCR\\" + product.fileType));
    EXPECT_FALSE(registryKeyExists32("HKLM\\Software\\" + product.registryKey));
    EXPECT_FALSE(registryKeyExists32("HKCU\\Software\\" + product.registryKey));
}

TEST(UninstallTest, ASilentUninstallRemovesWhatTheInstallationMadeAndThenItself) {
    const Product product("Silent");
    const Installed installed = install(product);
    // What the installation made is all there, and a file of the user's beside it.
    ASSERT_GE(listedPaths(installed.record).size(), 6u) << installed.record;
    for (const std::string& path : listedPaths(installed.record))
        ASSERT_TRUE(exists(path)) << path;
    ASSERT_TRUE(registryKeyExists32("HKCR\\" + product.fileType));
    ASSERT_TRUE(readRegistry32(kFontsKey, product.fontName).has_value());
    ASSERT_TRUE(registryKeyExists32("HKLM\\Software\\" + product.registryKey));
    std::ofstream(installed.dir + "/notes of mine.txt") << "mine";

    RunResult run = runUnderRobotRaw(installed.uninstaller, uninstallArgument(product, true),
                                     {kWatchProgress}, 60);
    ASSERT_EQ(run.error, "") << run.output;
    dropProgress(run);
    EXPECT_TRUE(run.windows.empty()) << windowsSeen(run);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_TRUE(cleanupFinished());

    expectProductGone(product, installed);
    EXPECT_FALSE(exists(installed.uninstaller));
    EXPECT_FALSE(exists(installed.dir + "/Uninstall"));
    EXPECT_EQ(fileText(installed.dir + "/notes of mine.txt"), "mine");
}

// An update installed over the product, then the uninstall: what only the
// earlier version placed goes too, folder and all.
TEST(UninstallTest, AfterAnUpdateNothingOfEitherVersionStays) {
    Product product("Update");
    keld::FileRecord earlier;
    earlier.name = "old\\only in 1.0.txt";
    earlier.data.assign(20, 'o');
    product.files.push_back(earlier);
    const Installed installed = install(product);
    ASSERT_TRUE(exists(installed.dir + "/old/only in 1.0.txt"));

    Product update = product;
    update.files.pop_back();
    keld::FileRecord later;
    later.name = "new\\only in 2.0.txt";
    later.data.assign(20, 'n');
    update.files.push_back(later);
    const BuiltSetup second = buildSetupWithFiles(update.settings, update.files);
    RunResult run = runUnderRobot(silentInstall(second), {"watch:Message 54"}, 60);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_TRUE(exists(installed.dir + "/new/only in 2.0.txt"));

    run = runUnderRobotRaw(installed.uninstaller, uninstallArgument(product, true),
                           {kWatchProgress}, 60);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_TRUE(cleanupFinished());
    expectProductGone(product, installed);
    EXPECT_FALSE(exists(installed.dir + "/new"));
    EXPECT_FALSE(exists(installed.dir + "/old"));
    EXPECT_FALSE(exists(installed.dir));
}

TEST(UninstallTest, AskedFirstThenRemovedWithAClosingReport) {
    const Product product("Asked");
    const Installed installed = install(product);

    RunResult declined =
        runUnderRobotRaw(installed.uninstaller, uninstallArgument(product, false), {"No"}, 60);
    ASSERT_EQ(declined.error, "") << declined.output;
    ASSERT_EQ(declined.windows.size(), 1u) << windowsSeen(declined);
    EXPECT_EQ(declined.windows[0].caption, "Message 55");
    EXPECT_EQ(declined.windows[0].text,
              "Remove " + std::string(product.settings.productName.c_str()) + "?");
    EXPECT_EQ(declined.exitCode, 1);
    EXPECT_TRUE(exists(installed.dir + "/readme.txt"));
    EXPECT_TRUE(readRegistry32(product.entry(), "UninstallString").has_value());

    RunResult accepted = runUnderRobotRaw(installed.uninstaller, uninstallArgument(product, false),
                                          {"Yes", kWatchProgress, "OK"}, 60);
    ASSERT_EQ(accepted.error, "") << accepted.output;
    dropProgress(accepted);
    ASSERT_EQ(accepted.windows.size(), 2u) << windowsSeen(accepted);
    EXPECT_EQ(accepted.windows[1].caption, "Message 15");
    EXPECT_EQ(accepted.windows[1].text, "Message 34");
    ASSERT_TRUE(cleanupFinished());
    expectProductGone(product, installed);
    EXPECT_FALSE(exists(installed.dir));
}

// A file in use stays, is reported, and is what the kept Uninstall.DAT lists; the
// uninstaller stays for the second run, which finishes the job.
TEST(UninstallTest, AFileInUseIsReportedAndTheSecondRunFinishes) {
    const Product product("InUse");
    const Installed installed = install(product);
    const std::string readme = toWinePath(installed.dir + "/readme.txt");

    RunResult first = runUnderRobotHolding(installed.uninstaller, uninstallArgument(product, false),
                                           readme, {"Yes", kWatchProgress, "OK"}, 60);
    ASSERT_EQ(first.error, "") << first.output;
    dropProgress(first);
    ASSERT_EQ(first.windows.size(), 2u) << windowsSeen(first);
    EXPECT_EQ(first.windows[1].caption, "Question"); // message 20
    EXPECT_EQ(first.windows[1].text, "Problems:\r\nMessage 58 " + readme + "\r\n");
    EXPECT_TRUE(exists(installed.dir + "/readme.txt"));
    EXPECT_FALSE(exists(installed.dir + "/tool.exe"));
    EXPECT_TRUE(exists(installed.uninstaller));
    EXPECT_TRUE(readRegistry32(product.entry(), "UninstallString").has_value());
    const std::string left = fileText(installed.dir + "/Uninstall/Uninstall.DAT");
    EXPECT_EQ(left.substr(0, left.find("[Strings]")), readme + "\r\n\r\n\r\n") << left;
    // The counts were given back once, and are not given back again.
    EXPECT_FALSE(readRegistry32(kSharedDlls, installed.sharedFile).has_value());
    EXPECT_FALSE(readRegistry32(product.entry(), "SharedFiles").has_value());

    RunResult second = runUnderRobotRaw(installed.uninstaller, uninstallArgument(product, true),
                                        {kWatchProgress}, 60);
    ASSERT_EQ(second.error, "") << second.output << windowsSeen(second);
    ASSERT_TRUE(cleanupFinished());
    expectProductGone(product, installed);
    EXPECT_FALSE(exists(installed.dir));
}

// With ConfirmFontRemoval and ConfirmUninstallDeletion each font and each shared
// file whose count runs out is asked about.
TEST(UninstallTest, FontsAndSharedFilesAreAskedAboutOneByOne) {
    Product product("Confirm");
    product.settings.productFlags |= ConfirmFontRemoval | ConfirmUninstallDeletion;
    product.settings.messageTable.set(56, 0, "Remove the font %s?");
    product.settings.messageTable.set(57, 0, "Font");
    product.settings.messageTable.set(59, 0, "Delete %s?");
    product.settings.messageTable.set(35, 0, "Shared file");
    const Installed installed = install(product);

    RunResult run = runUnderRobotRaw(installed.uninstaller, uninstallArgument(product, false),
                                     {"Yes", kWatchProgress, "No", "Yes", "OK"}, 60);
    ASSERT_EQ(run.error, "") << run.output << windowsSeen(run);
    dropProgress(run);
    ASSERT_EQ(run.windows.size(), 4u) << windowsSeen(run);
    EXPECT_EQ(run.windows[1].caption, "Font");
    EXPECT_EQ(run.windows[1].text, "Remove the font " + product.fontName + "?");
    EXPECT_EQ(run.windows[2].caption, "Shared file");
    EXPECT_EQ(run.windows[2].text, "Delete " + installed.sharedFile + "?");
    EXPECT_EQ(run.windows[3].caption, "Message 15");
    ASSERT_TRUE(cleanupFinished());
    // The font the user kept stays registered, with its file.
    const std::string fontPath =
        std::string(std::getenv("WINEPREFIX")) + "/drive_c/windows/Fonts/" + product.fontFile;
    EXPECT_TRUE(readRegistry32(kFontsKey, product.fontName).has_value());
    EXPECT_TRUE(exists(fontPath));
    std::filesystem::remove(fontPath);
    EXPECT_FALSE(exists(unixPath(installed.sharedFile)));
    EXPECT_FALSE(readRegistry32(product.entry(), "UninstallString").has_value());
}

TEST(UninstallTest, AProductThatIsNotThereOrNotWhereItSaysIsReported) {
    const std::string missing = "Never Installed " + tag();
    RunResult none = runUnderRobotRaw(varnokeExe(), "/u:\"" + missing + "\"", {"OK"}, 60);
    ASSERT_EQ(none.error, "") << none.output;
    ASSERT_EQ(none.windows.size(), 1u) << windowsSeen(none);
    EXPECT_EQ(none.windows[0].caption, "Error");
    EXPECT_EQ(none.windows[0].text, "No product named '" + missing + "' is installed.");
    EXPECT_EQ(none.exitCode, 1);

    const Product product("Damaged");
    const Installed installed = install(product);
    writeRegistry32(product.entry(), "InstallLocation", "installed");
    RunResult damaged =
        runUnderRobotRaw(installed.uninstaller, uninstallArgument(product, false), {"OK"}, 60);
    ASSERT_EQ(damaged.error, "") << damaged.output;
    ASSERT_EQ(damaged.windows.size(), 1u) << windowsSeen(damaged);
    EXPECT_EQ(damaged.windows[0].caption, "Error");
    EXPECT_EQ(damaged.windows[0].text,
              "The uninstall information for " + std::string(product.settings.productName.c_str()) +
                  " is corrupt.\r\n\r\nThe uninstallation cannot be performed.");
    EXPECT_TRUE(exists(installed.dir + "/readme.txt"));
    EXPECT_TRUE(exists(installed.uninstaller));
}

} // namespace
} // namespace e2e
