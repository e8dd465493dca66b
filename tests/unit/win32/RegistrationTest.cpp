#include "ShellScratch.h"

#include "installer/SharedFilesText.h"
#include "installer/win32/Registration.h"
#include "installer/win32/SharedCounts.h"
#include "platform/ErrorText.h"

#include <oleauto.h>

namespace {

class Registration : public ShellScratch {
protected:
    void SetUp() override {
        ShellScratch::SetUp();
        SetEnvironmentVariableA("VARNOKE_REGISTRATIONS", nullptr);
        SetEnvironmentVariableA("VARNOKE_UNREGISTRATIONS", nullptr);
    }

    static int counted(const char* variable) {
        char text[16] = {};
        GetEnvironmentVariableA(variable, text, sizeof text);
        return atoi(text);
    }
    static int registrations() { return counted("VARNOKE_REGISTRATIONS"); }
    static int unregistrations() { return counted("VARNOKE_UNREGISTRATIONS"); }

    // A type library with a fresh id, written into the scratch directory;
    // `key` gets its registration key below the classes root.
    String makeTypeLibrary(const std::string& name, std::string& key) {
        const std::string file = path(name);
        WCHAR wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
        ICreateTypeLib2* creator = nullptr;
        EXPECT_EQ(CreateTypeLib2(SYS_WIN32, wide, &creator), S_OK);
        if (!creator)
            return String();
        GUID id;
        CoCreateGuid(&id);
        creator->SetGuid(id);
        creator->SetVersion(1, 2);
        creator->SetName(const_cast<LPOLESTR>(L"VarnokeTestLibrary"));
        creator->SetLcid(0);
        EXPECT_EQ(creator->SaveAllChanges(), S_OK);
        creator->Release();
        WCHAR text[64];
        StringFromGUID2(id, text, 64);
        char narrow[64];
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        key = std::string("TypeLib\\") + narrow + "\\1.2";
        return at(name);
    }
};

// Each server is asked whatever the file loop did with it, and what it
// answers is not examined.
TEST_F(Registration, ComServersAreAskedToRegisterThemselves) {
    const String server = besideTests("ComServer.dll");
    const String noEntry = besideTests("VersionFixture.dll");
    const String missing = at("missing.dll");
    installation().comServerList = {server, noEntry, missing, server};
    registerComServers();
    EXPECT_EQ(registrations(), 2);
    EXPECT_EQ(log(), "Registering COM File \"" + str(server) + "\"...OK\r\n" +
                         "Registering COM File \"" + str(noEntry) +
                         "\"...GetProcAddress() Failed\r\n" + "Registering COM File \"" +
                         str(missing) + "\"...LoadLibrary() Failed\r\n" +
                         "Registering COM File \"" + str(server) + "\"...OK\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(Registration, TypeLibrariesRegisterAndUnregister) {
    std::string key;
    const String library = makeTypeLibrary("acme.tlb", key);
    const String missing = at("missing.tlb");
    installation().typeLibraryList = {library, missing};
    registerTypeLibraries();
    EXPECT_TRUE(keyExists(classes(), key)) << key;

    const std::string text = log();
    const std::string first = "Registering Type Library \"" + str(library) + "\"...OK\r\n";
    const std::string second = "Registering Type Library \"" + str(missing) + "\"...FAILED\r\n";
    ASSERT_EQ(text.substr(0, first.size() + second.size()), first + second) << text;
    const std::string reason = text.substr(first.size() + second.size());
    EXPECT_GT(reason.size(), 2u) << "the system's reason";
    EXPECT_EQ(reason.substr(reason.size() - 2), "\r\n");
    EXPECT_EQ(reason.find("\r\n"), reason.size() - 2) << "one line break after the reason";

    EXPECT_TRUE(unregisterTypeLibrary(library));
    EXPECT_FALSE(keyExists(classes(), key));
    EXPECT_FALSE(unregisterTypeLibrary(missing));
}

// When the uninstaller gives back a shared file's last count, a server and a
// type library are unregistered before the file goes; a file only counted
// stays registered.
TEST_F(Registration, SharedServersAndLibrariesAreUnregisteredWhenTheirCountRunsOut) {
    ASSERT_TRUE(CopyFileA(besideTests("ComServer.dll").c_str(), path("server.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(besideTests("ComServer.dll").c_str(), path("kept.dll").c_str(), FALSE));
    std::string key;
    const String library = makeTypeLibrary("acme.tlb", key);
    ASSERT_TRUE(registerTypeLibrary(library));
    String shared;
    appendSharedFileEntry(shared, at("server.dll") + "^");
    appendSharedFileEntry(shared, at("kept.dll") + " ");
    appendSharedFileEntry(shared, library + "\xA9");
    EXPECT_TRUE(releaseSharedFiles(shared));
    EXPECT_EQ(unregistrations(), 1);
    EXPECT_FALSE(keyExists(classes(), key));
    EXPECT_FALSE(exists("server.dll"));
    EXPECT_FALSE(exists("acme.tlb"));
    EXPECT_TRUE(exists("kept.dll"));
}

TEST_F(Registration, ATypeLibraryPathTooLongForTheSystemFails) {
    const String tooLong = at(std::string(260, 't') + ".tlb");
    EXPECT_FALSE(registerTypeLibrary(tooLong));
    EXPECT_EQ(str(lastErrorText()), str(systemErrorText(ERROR_FILENAME_EXCED_RANGE)));
    EXPECT_FALSE(unregisterTypeLibrary(tooLong));
}

} // namespace
