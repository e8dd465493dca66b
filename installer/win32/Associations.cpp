#include "installer/win32/Associations.h"

#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/ShellNames.h"
#include "installer/win32/Batch.h"
#include "installer/win32/ShellNotify.h"
#include "platform/Registry.h"

#include <windows.h>

namespace {

// Sets the key's default value, first keeping the value it replaces under the
// backup name: unless it is blank or the same but for case, and unless an
// earlier installation already kept one there, which must survive for the
// uninstaller to put back.
bool writeWithBackup(RegistryKey& key, const String& value, const String& backupName) {
    const String old = key.readString(String(), String(), 0);
    if (!old.isBlank() && old.compare(value.c_str(), false) != 0 &&
        key.readString(backupName, String(), 0).isBlank())
        key.writeText(backupName, old, 0);
    return key.writeText(String(), value, 0);
}

// The type's icon, description and verb, in the type key that is open.
// True when the verb's command was written.
bool describeFileType(RegistryKey& key, const FileAssociation& association, bool adopt,
                      const String& backupName) {
    if (!adopt && !association.fileTypeDescription.isBlank())
        writeWithBackup(key, association.fileTypeDescription, backupName);
    if (!association.defaultIcon.isBlank() && key.openRelative("DefaultIcon", 0)) {
        String icon = association.defaultIcon;
        expandPathVariables(icon);
        writeWithBackup(key, icon, backupName);
        key.close();
    }
    // A blank verb would put its label and command on "shell" itself.
    if (association.verb.isBlank() || !key.openRelative("shell", 0))
        return false;
    if (association.flags & kAssociationDefaultVerb)
        writeWithBackup(key, association.verb, backupName);
    bool written = false;
    if (key.openRelative(association.verb, 0)) {
        key.writeText(String(), association.verbLabel, 0);
        if (key.openRelative("command", 0)) {
            String command = association.commandLine;
            expandPathVariables(command);
            written = writeWithBackup(key, command, backupName);
            key.close();
        }
        key.close();
    }
    key.close();
    return written;
}

void associate(const FileAssociation& association, const String& backupName) {
    Installation& state = installation();
    const String extension = dottedExtension(association.extension);
    String fileType = association.fileType;
    bool adopt = fileType.isEmpty() || fileType.firstChar() == '!';

    RegistryKey key;
    if (key.open(HKEY_CLASSES_ROOT, extension, fileType.isEmpty() ? kRegOpenExisting : 0) ==
        kRegOpenFailed) {
        if (adopt) {
            state.problemReport.appendFormat(
                "Association failed/key inaccessible:  \"%s\".\r\n\r\n", extension.c_str());
            return;
        }
    } else {
        if (adopt) {
            const String existing = key.readString(String(), String(), 0);
            if (!existing.isEmpty()) {
                fileType = existing;
            } else if (fileType.firstChar() == '!' && !String(fileType.c_str() + 1).isBlank()) {
                // No type yet: the extension takes the name after the "!".
                fileType.removeFirst(1);
                adopt = false;
            } else {
                // Also a bare "!": a blank type would be the classes root itself.
                state.problemReport.appendFormat("Association failed/no label:  \"%s\".\r\n\r\n",
                                                 extension.c_str());
                return;
            }
        }
        if (!adopt)
            writeWithBackup(key, fileType, backupName);
        key.close();
    }

    bool associated = false;
    if (key.open(HKEY_CLASSES_ROOT, fileType, 0) != kRegOpenFailed) {
        associated = describeFileType(key, association, adopt, backupName);
        key.close();
    }
    appendAssociationLine(state.associationList, extension, fileType, association.verb);
    if (!associated)
        state.problemReport.appendFormat("Failed to associate file type:  \"%s\".\r\n\r\n",
                                         extension.c_str());
}

} // namespace

void createFileAssociations() {
    const InstallSettings& settings = installSettings();
    if (settings.fileAssociations.count() == 0)
        return;
    const String backupName = associationBackupName(settings.productName);
    const String* language = settings.languages.tryAt(settings.currentLanguage);
    const String languageName = language ? *language : String();
    for (const FileAssociation& association : settings.fileAssociations)
        if (associationApplies(association, languageName))
            associate(association, backupName);
    notifyAssociationsChanged();
}
