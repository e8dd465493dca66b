#include "FileScratch.h"

#include "core/Path.h"
#include "installer/DisplaySettings.h"
#include "installer/InstallRecords.h"
#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/win32/InstallRecords.h"
#include "installer/win32/Program.h"
#include "platform/Registry.h"

namespace {

class InstallRecords : public FileScratch {
protected:
    void SetUp() override {
        FileScratch::SetUp();
        savedInstallation_ = installation();
        savedSettings_ = installSettings();
        savedDisplay_ = displaySettings();
        InstallSettings& s = installSettings();
        s = InstallSettings();
        s.productName = "Acme Notes";
        s.uninstallKey = String::formatted("VarnokeTest-%lu", GetCurrentProcessId());
        s.uninstallerName = "uninst.exe";
        s.uninstallSubdir = "Uninstall";
        s.languages = {"English"};
        s.messageTable.resize(72, 1);
        for (int id = 0; id < 72; ++id)
            s.messageTable.set(id, 0, String::formatted("Message %d", id));
        s.messageTable.set(10, 0, "Remove <product>?");
        s.messageTable.set(43, 0, "Done");
        installation() = Installation();
        installation().installDir = at("app");
        installation().uninstallDir = at("app\\Uninstall");
        makeDir("app");
        makeDir("app\\Uninstall");
        entryKey_ = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
                    s.uninstallKey.c_str();
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, entryKey_.c_str());
        programState().automaticMode = false;
        installation() = savedInstallation_;
        installSettings() = savedSettings_;
        displaySettings() = savedDisplay_;
        FileScratch::TearDown();
    }

    // A value of the entry as text (numbers in decimal), or "<missing>".
    std::string value(const char* name) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, entryKey_.c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return "<no key>";
        char data[1024] = {};
        DWORD size = sizeof data - 1;
        DWORD type = 0;
        std::string result = "<missing>";
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS) {
            if (type == REG_DWORD)
                result = "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
            else
                result = std::string(type == REG_EXPAND_SZ ? "expand:" : "") + data;
        }
        RegCloseKey(key);
        return result;
    }

    std::string entryKey_;

private:
    Installation savedInstallation_;
    InstallSettings savedSettings_;
    DisplaySettings savedDisplay_;
};

TEST_F(InstallRecords, UninstallEntryHoldsWhatTheUninstallerReadsBack) {
    InstallSettings& s = installSettings();
    s.productFlags = Uninstallable | RestartRequired;
    s.displayVersion = "2.05";
    s.publisher = "Acme";
    s.topColor = s.bottomColor = 0x102030;
    s.monoColor = true;
    s.shortcutMode = 1;
    UninstallData size{"EstimatedSize", UninstallNumber, "1024"};
    UninstallData zero{"Zero", UninstallNumber, "0"};
    UninstallData help{"HelpLink", UninstallExpandText, "%InstallDir%\\help"};
    s.uninstallData = {size, zero, help};
    displaySettings().displayTitle = "Acme Notes Setup";
    // A value an older installation left, which a zero now removes.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, entryKey_.c_str(), &key), ERROR_SUCCESS);
    const DWORD one = 1;
    RegSetValueExA(key, "Zero", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    RegSetValueExA(key, "BottomColor", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                   sizeof one);
    RegCloseKey(key);

    const std::string digest(64, 'a');
    installation().createdFolder = at("app");
    ASSERT_TRUE(writeUninstallEntry(digest.c_str()));
    // Quoted, so that a space in the path cannot start another program.
    const std::string program = "\"" + root() + "\\app\\Uninstall\\uninst.exe\"";
    const std::string argument = std::string("/u:\"") + s.uninstallKey.c_str() + "\"";
    EXPECT_EQ(value("UninstallString"), program + " " + argument);
    EXPECT_EQ(value("QuietUninstallString"), program + " /a " + argument);
    EXPECT_EQ(value("UninstallDataDigest"), digest);
    EXPECT_EQ(value("CreatedFolder"), root() + "\\app");
    EXPECT_EQ(value("DisplayName"), "Acme Notes");
    EXPECT_EQ(value("DisplayVersion"), "2.05");
    EXPECT_EQ(value("VersionMajor"), "dword:2");
    EXPECT_EQ(value("VersionMinor"), "dword:5");
    EXPECT_EQ(value("ProductFlags"), std::to_string(Uninstallable | RestartRequired));
    EXPECT_EQ(value("ShortcutMode"), "dword:1");
    EXPECT_EQ(value("ProductRegistry"), "<missing>");
    EXPECT_EQ(value("DisplayTitle"), "Acme Notes Setup");
    EXPECT_EQ(value("TopColor"), "dword:" + std::to_string(0x102030));
    EXPECT_EQ(value("BottomColor"), "<missing>");
    EXPECT_EQ(value("MonoColor"), "dword:1");
    EXPECT_EQ(value("BitmapSize"), "<missing>");
    EXPECT_EQ(value("EstimatedSize"), "dword:1024");
    EXPECT_EQ(value("Zero"), "<missing>");
    EXPECT_EQ(value("HelpLink"), "expand:" + root() + "\\app\\help");
    EXPECT_EQ(value("InstallLocation"), root() + "\\app");
    EXPECT_NE(value("InstallDate"), "<missing>");
    EXPECT_EQ(str(installation().problemReport), "");

    // A later installation without a version drops it; the numbers stay.
    s.displayVersion = "";
    s.monoColor = false;
    installation().createdFolder = "";
    ASSERT_TRUE(writeUninstallEntry(digest.c_str()));
    EXPECT_EQ(value("DisplayVersion"), "<missing>");
    EXPECT_EQ(value("CreatedFolder"), root() + "\\app");
    EXPECT_EQ(value("BottomColor"), "dword:" + std::to_string(0x102030));
    EXPECT_EQ(value("MonoColor"), "dword:0");
}

TEST_F(InstallRecords, UninstallDataIsWrittenWhole) {
    makeFile("app\\Uninstall\\Uninstall.DAT", std::string(5000, 'x'));
    installation().uninstallList = "C:\\Acme\\a.txt\r\n";
    installation().associationList = ".acn~!~AcmeNote~!~open\r\n";
    String digest;
    ASSERT_TRUE(writeUninstallData(digest));
    const std::string text = contentOf("app\\Uninstall\\Uninstall.DAT");
    EXPECT_EQ(str(digest).size(), 64u);
    EXPECT_EQ(
        text.rfind("C:\\Acme\\a.txt\r\n\r\n\r\n[Strings]\r\n~10\r\nRemove Acme Notes?\r\n~15\r\n",
                   0),
        0u)
        << text;
    EXPECT_EQ(text.find("xxxx"), std::string::npos);
    EXPECT_NE(text.find("[Associations]\r\n.acn~!~AcmeNote~!~open\r\n"), std::string::npos);

    installation().uninstallDir = at("missing");
    installSettings().uninstallSubdir = "missing\\deeper";
    EXPECT_FALSE(writeUninstallData(digest));
    EXPECT_EQ(str(digest), "");
}

// The entry vouches for the record it was written with, and for no other:
// neither one changed since, nor one without a digest in the entry.
TEST_F(InstallRecords, TheEntryVouchesOnlyForTheRecordWrittenWithIt) {
    installation().uninstallList = "C:\\Acme\\a.txt\r\n";
    String digest;
    ASSERT_TRUE(writeUninstallData(digest));
    ASSERT_TRUE(writeUninstallEntry(digest));
    RegistryKey entry;
    ASSERT_NE(
        entry.openSoftware(joinPath(kUninstallEntryRoot, installSettings().uninstallKey), false, 0),
        kRegOpenFailed);
    const String path = at("app\\Uninstall\\Uninstall.DAT");
    String text;
    EXPECT_TRUE(readVouchedRecord(entry, path, text));
    EXPECT_EQ(str(text), contentOf("app\\Uninstall\\Uninstall.DAT"));
    const std::string original = contentOf("app\\Uninstall\\Uninstall.DAT");
    makeFile("app\\Uninstall\\Uninstall.DAT", "C:\\Windows\\win.ini\r\n" + original);
    EXPECT_FALSE(readVouchedRecord(entry, path, text));
    EXPECT_EQ(str(text).rfind("C:\\Windows\\win.ini", 0), 0u); // still read, for its messages
    makeFile("app\\Uninstall\\Uninstall.DAT", original);
    EXPECT_TRUE(readVouchedRecord(entry, path, text));
    entry.deleteValue(kUninstallDataDigestValue);
    EXPECT_FALSE(readVouchedRecord(entry, path, text));
}

// An uninstaller or record that did not land whole registers nothing.
TEST_F(InstallRecords, NoEntryWithoutAWholeRecord) {
    EXPECT_FALSE(writeUninstallEntry(String()));
    EXPECT_EQ(value("UninstallString"), "<no key>");
    EXPECT_NE(str(installation().problemReport).find("Unable to save the uninstall information"),
              std::string::npos);
}

TEST_F(InstallRecords, TheLogGrowsByABlockWhenThereWereProblemsOrItIsAlwaysWanted) {
    programState().automaticMode = true;
    InstallSettings& s = installSettings();
    s.productFlags = Uninstallable;
    installation().installLog = "Deleted file: old.txt\r\n";

    finishInstallation(false, "");
    EXPECT_EQ(contentOf("app\\Uninstall\\Install.LOG"), "<missing>");

    finishInstallation(false, "Cannot write x\r\n");
    finishInstallation(true, "Cannot write y\r\n");
    const std::string log = contentOf("app\\Uninstall\\Install.LOG");
    EXPECT_EQ(log.rfind("\r\nInstallation log for: Acme Notes\r\nInstall date: ", 0), 0u) << log;
    const size_t second = log.find("\r\nInstallation log for: Acme Notes", 2);
    ASSERT_NE(second, std::string::npos) << log;
    EXPECT_NE(log.find("Install type: New\r\n"), std::string::npos);
    EXPECT_NE(log.find("Install type: Reinstall\r\n", second), std::string::npos);
    EXPECT_NE(log.find("\r\n\r\nDeleted file: old.txt\r\n\r\nCannot write x\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.substr(log.size() - 16), "Cannot write y\r\n");

    s.productFlags |= AlwaysWriteLog;
    finishInstallation(false, "");
    const std::string always = contentOf("app\\Uninstall\\Install.LOG");
    EXPECT_EQ(always.substr(always.size() - 8), "Done\r\n\r\n") << always;
}

} // namespace
