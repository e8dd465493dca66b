// What the uninstaller must leave alone: things of the user's and of other
// programs' that an installation met, or that someone wrote into its record
// since. Each product is installed by a real setup.exe and removed through
// the command its uninstall entry registers, as Add/Remove Programs runs it.
#include "ArchiveFixture.h"
#include "Wine.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace e2e {
namespace {

namespace fs = std::filesystem;

const char kUninstallRoot[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool exists(const std::string& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

std::string fileText(const std::string& path) {
    const keld::Bytes bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string tag() {
    return std::to_string(getpid());
}

std::string prefixPath(const std::string& rest) {
    return std::string(std::getenv("WINEPREFIX")) + rest;
}

std::string valueOf(const std::string& key, const std::string& name) {
    const auto value = readRegistry32(key, name);
    return value ? value->data : "<none>";
}

std::string defaultOf(const std::string& key) {
    return valueOf(key, "");
}

// The windows that are not the uninstaller's own progress dialog.
std::vector<Window> withoutProgress(const RunResult& run) {
    std::vector<Window> seen;
    for (const Window& w : run.windows)
        if (!(w.caption == "Message 55" && w.text.rfind("Message 71", 0) == 0))
            seen.push_back(w);
    return seen;
}

// An uninstallable product of readme.txt and tool.exe under a name of its own.
struct Product {
    InstallSettings settings;
    std::vector<keld::FileRecord> files = standardFiles();

    explicit Product(const std::string& name) {
        const std::string unique = name + " " + tag();
        settings = archiveTestSettings();
        settings.productName = unique.c_str();
        settings.uninstallKey = unique.c_str();
        settings.uninstallerName = "Uninstall.exe";
        settings.uninstallSubdir = "Uninstall";
        settings.productFlags |= Uninstallable;
        for (int id : {63, 64})
            settings.messageTable.set(id, 0, "");
    }

    std::string entry() const {
        return kUninstallRoot + std::string(settings.uninstallKey.c_str());
    }
};

struct Installed {
    BuiltSetup setup;
    std::string dir; // the install directory, as the test sees it
};

// A silent installation into `windowsDir` (default: "installed" beside setup.exe).
Installed install(const Product& product, const std::string& windowsDir = "") {
    Installed installed;
    installed.setup = buildSetupWithFiles(product.settings, product.files);
    installed.dir = installedDir(installed.setup);
    const std::string target = windowsDir.empty() ? toWinePath(installed.dir) : windowsDir;
    RunResult run =
        runUnderRobot({installed.setup.exe, "/a", "/d:" + target}, {"watch:Message 54"}, 60);
    EXPECT_EQ(run.error, "") << run.output;
    return installed;
}

// Runs the entry's QuietUninstallString as it stands, and waits for the
// clean-up batch it leaves.
RunResult uninstallQuietly(const Product& product) {
    const auto command = readRegistry32(product.entry(), "QuietUninstallString");
    EXPECT_TRUE(command.has_value()) << product.entry();
    if (!command)
        return RunResult();
    RunResult run = runCommandLineUnderRobot(command->data, {"progress:Message 55"}, 60);
    EXPECT_EQ(run.error, "") << run.output;
    EXPECT_TRUE(cleanupBatchesFinished());
    return run;
}

// Types that existed before the product adopted them keep everything but the
// verb it added: the "" form finds the extension's type, the "!name" form
// too when there is one.
TEST(UninstallSafety, AdoptedFileTypesAreLeftAsTheyWere) {
    Product product("Adopt");
    struct Adopted {
        std::string extension;
        std::string type;
        const char* asked; // the association's file type
        bool withVerb;     // the type had a verb of its own before
    };
    const std::vector<Adopted> adopted = {
        {".vkad" + tag(), "VkAdopted.Doc" + tag(), "", true},
        {".vkal" + tag(), "VkAdopted.Lone" + tag(), "!Acme.Lone", false},
    };
    for (const Adopted& a : adopted) {
        writeRegistry32("HKCR\\" + a.extension, "", a.type);
        writeRegistry32("HKCR\\" + a.type, "", "The user's type");
        writeRegistry32("HKCR\\" + a.type + "\\DefaultIcon", "", "C:\\users.ico,0");
        if (a.withVerb)
            writeRegistry32("HKCR\\" + a.type + "\\shell\\edit\\command", "", "edit.exe \"%1\"");
        FileAssociation association;
        association.extension = a.extension.c_str();
        association.fileType = a.asked;
        association.fileTypeDescription = "Acme document";
        association.verb = "acmeopen";
        association.verbLabel = "Open with Acme";
        association.commandLine = "\"%InstallDir%\\tool.exe\" \"%1\"";
        product.settings.fileAssociations.append(association);
    }
    const Installed installed = install(product);
    for (const Adopted& a : adopted)
        ASSERT_EQ(defaultOf("HKCR\\" + a.type + "\\shell\\acmeopen\\command"),
                  "\"" + toWinePath(installed.dir) + "\\tool.exe\" \"%1\"")
            << a.type;

    const RunResult run = uninstallQuietly(product);
    EXPECT_TRUE(withoutProgress(run).empty()) << windowsSeen(run);
    EXPECT_FALSE(readRegistry32(product.entry(), "UninstallString").has_value());
    for (const Adopted& a : adopted) {
        EXPECT_EQ(defaultOf("HKCR\\" + a.extension), a.type);
        EXPECT_EQ(defaultOf("HKCR\\" + a.type), "The user's type");
        EXPECT_EQ(defaultOf("HKCR\\" + a.type + "\\DefaultIcon"), "C:\\users.ico,0");
        EXPECT_FALSE(registryKeyExists32("HKCR\\" + a.type + "\\shell\\acmeopen")) << a.type;
        if (a.withVerb) {
            EXPECT_EQ(defaultOf("HKCR\\" + a.type + "\\shell\\edit\\command"), "edit.exe \"%1\"");
        }
        deleteRegistryKey32("HKCR\\" + a.extension);
        deleteRegistryKey32("HKCR\\" + a.type);
    }
}

// A file of the user's that the installation could not replace (held open
// here) stays the user's: the uninstaller must not take it away.
TEST(UninstallSafety, AUsersFileThatCouldNotBeReplacedIsNotRemoved) {
    const Product product("Locked");
    BuiltSetup setup = buildSetupWithFiles(product.settings, product.files);
    const std::string dir = installedDir(setup);
    fs::create_directories(dir);
    writeText(dir + "/readme.txt", "the user's own readme");
    RunResult run = runUnderRobotHolding(setup.exe, "/a /d:\"" + toWinePath(dir) + "\"",
                                         toWinePath(dir + "/readme.txt"), {"watch:Message 54"}, 60);
    ASSERT_EQ(run.error, "") << run.output;
    ASSERT_EQ(fileText(dir + "/readme.txt"), "the user's own readme");
    ASSERT_TRUE(exists(dir + "/tool.exe"));

    uninstallQuietly(product);
    EXPECT_FALSE(exists(dir + "/tool.exe"));
    EXPECT_FALSE(readRegistry32(product.entry(), "UninstallString").has_value());
    EXPECT_EQ(fileText(dir + "/readme.txt"), "the user's own readme");
}

// Lines added to Uninstall.DAT after the installation name a file and a
// folder of someone else's, a key of the classes root and a type the
// association part claims to have made: none of them goes, while the
// product's own files still do. So too when the product is installed again
// over the forged record first: a record its entry does not vouch for hands
// nothing on to the next.
TEST(UninstallSafety, LinesAddedToTheRecordRemoveNothingOutsideTheProduct) {
    for (const bool installedAgain : {false, true}) {
        SCOPED_TRACE(installedAgain ? "installed again" : "as forged");
        const Product product(installedAgain ? "Reforged" : "Forged");
        const Installed installed = install(product);
        const std::string record = installed.dir + "/Uninstall/Uninstall.DAT";
        ASSERT_TRUE(exists(record));
        const std::string victim = installed.setup.dir + "/someone else's.txt";
        const std::string victimDir = installed.setup.dir + "/someone else's folder";
        writeText(victim, "keep me");
        fs::create_directories(victimDir);
        const std::string type = "VkVictim.Type" + tag();
        const std::string extension = ".vkvi" + tag();
        writeRegistry32("HKCR\\" + extension, "", type);
        writeRegistry32("HKCR\\" + type + "\\shell\\open\\command", "", "victim.exe \"%1\"");

        std::string text = fileText(record);
        const size_t strings = text.find("[Strings]");
        ASSERT_NE(strings, std::string::npos) << text;
        text.insert(strings, toWinePath(victim) + "\r\n~" + toWinePath(victimDir) + "\r\n!" + type +
                                 "\\shell\r\n");
        if (text.find("[Associations]") == std::string::npos)
            text += "[Associations]\r\n";
        text += extension + "~!~" + type + "~!~open~!~ETISVetisc\r\n";
        writeText(record, text);

        if (installedAgain) {
            const RunResult again =
                runUnderRobot({installed.setup.exe, "/a", "/d:" + toWinePath(installed.dir)},
                              {"watch:Message 54"}, 60);
            ASSERT_EQ(again.error, "") << again.output;
        }
        const RunResult run = uninstallQuietly(product);
        EXPECT_TRUE(withoutProgress(run).empty()) << windowsSeen(run);
        EXPECT_EQ(fileText(victim), "keep me");
        EXPECT_TRUE(exists(victimDir));
        EXPECT_EQ(defaultOf("HKCR\\" + extension), type);
        EXPECT_EQ(defaultOf("HKCR\\" + type + "\\shell\\open\\command"), "victim.exe \"%1\"");
        // The product itself is gone.
        EXPECT_FALSE(exists(installed.dir + "/readme.txt"));
        EXPECT_FALSE(exists(installed.dir + "/tool.exe"));
        EXPECT_FALSE(readRegistry32(product.entry(), "UninstallString").has_value());
        deleteRegistryKey32("HKCR\\" + extension);
        deleteRegistryKey32("HKCR\\" + type);
    }
}

// A free drive letter of the prefix, mapped to `target` for one test.
class MappedDrive {
public:
    explicit MappedDrive(const std::string& target) {
        for (char c = 'y'; c >= 'm' && letter_ == 0; --c) {
            const std::string link = prefixPath(std::string("/dosdevices/") + c + ":");
            std::error_code error;
            if (!exists(link) && (fs::create_directory_symlink(target, link, error), !error))
                letter_ = c;
        }
    }
    ~MappedDrive() {
        if (letter_)
            fs::remove(prefixPath(std::string("/dosdevices/") + letter_ + ":"));
    }
    std::string root() const { return std::string(1, char(std::toupper(letter_))) + ":\\"; }
    bool mapped() const { return letter_ != 0; }

private:
    char letter_ = 0;
};

TEST(UninstallSafety, AProductInstalledAtADriveRootCanBeRemoved) {
    const Product product("Root");
    char folder[] = "/tmp/varnoke-drive-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string drive = folder;
    writeText(drive + "/the user's.txt", "mine");
    const MappedDrive mapping(drive);
    ASSERT_TRUE(mapping.mapped());
    install(product, mapping.root());
    ASSERT_TRUE(exists(drive + "/readme.txt"));
    ASSERT_TRUE(exists(drive + "/Uninstall/Uninstall.exe"));
    ASSERT_EQ(valueOf(product.entry(), "InstallLocation"), mapping.root());

    const RunResult run = uninstallQuietly(product);
    EXPECT_TRUE(withoutProgress(run).empty()) << windowsSeen(run);
    EXPECT_FALSE(readRegistry32(product.entry(), "UninstallString").has_value());
    EXPECT_FALSE(exists(drive + "/readme.txt"));
    EXPECT_FALSE(exists(drive + "/tool.exe"));
    EXPECT_FALSE(exists(drive + "/Uninstall"));
    // The root and what else it holds stay.
    EXPECT_EQ(fileText(drive + "/the user's.txt"), "mine");
    fs::remove_all(drive);
}

// A folder squatting on each fixed batch name (the clean-up batch on the
// system drive's root, the second uninstall batch in the install drive's
// root) stops neither batch.
TEST(UninstallSafety, SquattedBatchNamesStopNeitherBatch) {
    Product product("Squat");
    char folder[] = "/tmp/varnoke-squat-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string marker = std::string(folder) + "/second batch ran.txt";
    product.settings.uninstallBatch2 = ("echo ran> \"" + toWinePath(marker) + "\"").c_str();
    product.settings.productFlags |= HideUninstallBatch2;
    const std::string base = "VkSquat" + tag();
    const Installed installed = install(product, "C:\\" + base + "\\Acme");
    const std::string dir = prefixPath("/drive_c/" + base + "/Acme");
    ASSERT_TRUE(exists(dir + "/Uninstall/Uninstall.exe"));
    const std::vector<std::string> squatters = {prefixPath("/drive_c/delunins.bat"),
                                                prefixPath("/drive_c/KELDBAT.BAT")};
    for (const std::string& squatter : squatters)
        fs::create_directories(squatter);

    const RunResult run = uninstallQuietly(product);
    EXPECT_TRUE(withoutProgress(run).empty()) << windowsSeen(run);
    EXPECT_TRUE(exists(marker));
    EXPECT_FALSE(exists(dir + "/Uninstall/Uninstall.exe"));
    EXPECT_FALSE(exists(dir));
    for (const std::string& squatter : squatters) {
        EXPECT_TRUE(fs::is_empty(squatter)) << squatter;
        fs::remove_all(squatter);
    }
    fs::remove_all(prefixPath("/drive_c/" + base));
    fs::remove_all(folder);
}

// A path with a space is quoted in both registered commands: a program named
// after the path's first word, planted beside it (another program that ends
// with its own exit code), never runs.
TEST(UninstallSafety, TheRegisteredCommandsQuoteTheUninstallersPath) {
    const Product product("Quoted");
    BuiltSetup setup = buildSetupWithFiles(product.settings, product.files);
    const std::string dir = setup.dir + "/My Apps/Acme";
    fs::copy_file(robotExe(), setup.dir + "/My.exe");
    // The folder holds a blank: /d takes it in quotes.
    RunResult installRun =
        runUnderRobotRaw(setup.exe, "/a /d:\"" + toWinePath(dir) + "\"", {"watch:Message 54"}, 60);
    ASSERT_EQ(installRun.error, "") << installRun.output;
    const std::string uninstaller = toWinePath(dir) + "\\Uninstall\\Uninstall.exe";
    const std::string key = product.settings.uninstallKey.c_str();
    EXPECT_EQ(valueOf(product.entry(), "UninstallString"),
              "\"" + uninstaller + "\" /u:\"" + key + "\"");
    EXPECT_EQ(valueOf(product.entry(), "QuietUninstallString"),
              "\"" + uninstaller + "\" /a /u:\"" + key + "\"");

    const RunResult run = uninstallQuietly(product);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(withoutProgress(run).empty()) << windowsSeen(run);
    EXPECT_FALSE(readRegistry32(product.entry(), "UninstallString").has_value());
    EXPECT_FALSE(exists(dir + "/readme.txt"));
    EXPECT_FALSE(exists(dir));
}

// The installation into a folder whose parents it had to create removes
// those parents once empty, and never a parent that was there before.
TEST(UninstallSafety, TheParentsTheInstallationCreatedGoToo) {
    struct Case {
        const char* existing; // below the setup folder, made before installing
        const char* target;   // the install directory below the setup folder
        const char* gone;     // made by the installation: removed
        const char* stays;    // there before: kept
    } cases[] = {
        {"", "made/Acme/Notes", "made", nullptr},
        {"kept", "kept/Acme/Notes", "kept/Acme", "kept"},
    };
    int index = 0;
    for (const Case& c : cases) {
        const Product product("Parents" + std::to_string(index++));
        BuiltSetup setup = buildSetupWithFiles(product.settings, product.files);
        if (*c.existing)
            fs::create_directories(setup.dir + "/" + c.existing);
        const std::string dir = setup.dir + "/" + c.target;
        RunResult installRun =
            runUnderRobot({setup.exe, "/a", "/d:" + toWinePath(dir)}, {"watch:Message 54"}, 60);
        ASSERT_EQ(installRun.error, "") << installRun.output;
        ASSERT_TRUE(exists(dir + "/readme.txt")) << c.target;

        const RunResult run = uninstallQuietly(product);
        EXPECT_TRUE(withoutProgress(run).empty()) << windowsSeen(run);
        EXPECT_FALSE(exists(dir)) << c.target;
        EXPECT_FALSE(exists(setup.dir + "/" + c.gone)) << c.target;
        if (c.stays) {
            EXPECT_TRUE(exists(setup.dir + "/" + c.stays)) << c.target;
        }
        EXPECT_TRUE(exists(setup.exe));
    }
}

// Without its record the uninstaller would remove nothing: an Uninstall.DAT
// that cannot be written (a folder stands in its place) leaves the product
// unregistered, and says so.
TEST(UninstallSafety, NoEntryIsRegisteredWithoutItsRecord) {
    const Product product("NoRecord");
    BuiltSetup setup = buildSetupWithFiles(product.settings, product.files);
    const std::string dir = installedDir(setup);
    fs::create_directories(dir + "/Uninstall/Uninstall.DAT");
    RunResult run =
        runUnderRobot({setup.exe, "/a", "/d:" + toWinePath(dir)}, {"watch:Message 54"}, 60);
    ASSERT_EQ(run.error, "") << run.output;
    EXPECT_TRUE(exists(dir + "/readme.txt"));
    EXPECT_FALSE(registryKeyExists32(product.entry()));
    const std::string log = fileText(dir + "/Uninstall/Install.LOG");
    EXPECT_NE(log.find("Unable to save the uninstall information"), std::string::npos) << log;
}

} // namespace
} // namespace e2e
