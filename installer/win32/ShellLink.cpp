#include "installer/win32/ShellLink.h"

#include "core/Path.h"
#include "installer/ShellNames.h"
#include "installer/win32/ComResult.h"
#include "platform/Directory.h"
#include "platform/KnownFolders.h"
#include "platform/OsVersion.h"

#include <windows.h>

#include <shlobj.h>

namespace {

// Defined here rather than taken from the uuid library, which would pull its
// whole table of interface ids into the installer.
const CLSID kShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kPersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool saveLink(IShellLinkA* link, String& linkPath, const String& target, const String& arguments,
              const String& workingDirectory, const String& iconPath) {
    link->SetPath(target.c_str());
    link->SetIconLocation(iconPath.isEmpty() ? target.c_str() : iconPath.c_str(), 0);
    if (!arguments.isEmpty())
        link->SetArguments(arguments.c_str());
    if (!workingDirectory.isEmpty())
        link->SetWorkingDirectory(workingDirectory.c_str());
    IPersistFile* file = nullptr;
    HRESULT result = link->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file));
    if (FAILED(result) || !file)
        return failedWith(result);
    addLinkExtension(linkPath);
    createDirectoryPath(directoryPart(linkPath));
    WCHAR widePath[MAX_PATH] = {};
    bool saved = false;
    if (toWidePath(linkPath, widePath)) {
        result = file->Save(widePath, TRUE);
        saved = result == S_OK;
        if (!saved)
            failedWith(result);
    }
    file->Release();
    return saved;
}

} // namespace

bool createShellLink(String& linkPath, const String& target, const String& arguments,
                     const String& workingDirectory, const String& iconPath) {
    IShellLinkA* link = nullptr;
    HRESULT result = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER,
                                      kShellLinkInterface, reinterpret_cast<void**>(&link));
    if (FAILED(result) || !link)
        return failedWith(result);
    const bool saved = saveLink(link, linkPath, target, arguments, workingDirectory, iconPath);
    link->Release();
    return saved;
}

bool createDesktopShortcut(const String& name, const String& target, const String& arguments,
                           const String& workingDirectory, const String& iconPath, bool allUsers,
                           String& linkPath) {
    linkPath = joinPath(allUsers ? desktopAllDir() : desktopDir(), name);
    return createShellLink(linkPath, target, arguments, workingDirectory, iconPath);
}

bool programsLinksCopiedForUser(bool allUsers) {
    return allUsers && isWin95Or98() && userProfilesEnabled();
}

bool createProgramsShortcut(const String& name, const String& target, const String& arguments,
                            const String& workingDirectory, const String& iconPath, bool allUsers,
                            String& linkPath, String& userCopyPath) {
    linkPath = joinPath(allUsers ? smProgramsAllDir() : smProgramsDir(), name);
    userCopyPath.clear();
    String userCopy;
    if (programsLinksCopiedForUser(allUsers)) {
        userCopy = joinPath(smProgramsDir(), name);
        if (userCopy.compare(linkPath.c_str(), false) == 0)
            userCopy.clear();
    }
    const bool created = createShellLink(linkPath, target, arguments, workingDirectory, iconPath);
    if (!userCopy.isEmpty()) {
        // The copy is not reported: its failure must not replace the reason
        // the first link failed.
        const DWORD error = GetLastError();
        if (createShellLink(userCopy, target, arguments, workingDirectory, iconPath))
            userCopyPath = userCopy;
        SetLastError(error);
    }
    return created;
}
