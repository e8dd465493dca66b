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

// Puts back the default value kept under the backup name; true when there
// was one.
bool restoreBackup(RegistryKey& key, const String& backupName) {
    const String backup = key.readString(backupName, String(), 0);
    if (backup.isBlank())
        return false;
    key.writeText(String(), backup, 0);
    key.deleteValue(backupName);
    return true;
}

// Deletes a key of the classes root with everything below it.
void deleteClassesKey(const String& name) {
    RegistryKey root;
    root.deleteKeyAt(HKEY_CLASSES_ROOT, String(), name, 0);
}

// The extension key: true when it must stay, because it held a value of its
// own before or now points to another product's type. That type is left
// alone: putting back what this product replaced would take the extension
// from the product that took it over since.
bool restoreExtension(const FileAssociation& association, const String& backupName) {
    RegistryKey key;
    if (key.open(HKEY_CLASSES_ROOT, association.extension, kRegOpenExisting) == kRegOpenFailed)
        return false;
    const String current = key.readString(String(), String(), 0);
    if (!current.isBlank() && current.compare(association.fileType, false) != 0) {
        key.deleteValue(backupName);
        return true;
    }
    return restoreBackup(key, backupName);
}

// In the open "shell" key: the verb goes unless its command held a value of
// its own before.
void removeVerb(RegistryKey& key, const String& verb, const String& backupName) {
    if (key.openRelative(verb, 0) == kRegOpenFailed)
        return;
    bool restored = false;
    if (key.openRelative("command", kRegOpenExisting) != kRegOpenFailed) {
        restored = restoreBackup(key, backupName);
        key.close();
    }
    key.close();
    if (!restored)
        key.deleteSubKey(verb, 0);
}

void removeAssociation(const FileAssociation& association, const String& backupName) {
    const bool extensionStays = restoreExtension(association, backupName);
    RegistryKey key;
    if (key.open(HKEY_CLASSES_ROOT, association.fileType, kRegOpenExisting) == kRegOpenFailed)
        return;
    restoreBackup(key, backupName);
    // An icon without a value of its own from before is the product's: left
    // in place it would keep the type alive, showing an icon that is gone.
    if (key.openRelative("DefaultIcon", kRegOpenExisting) != kRegOpenFailed) {
        const bool restored = restoreBackup(key, backupName);
        key.close();
        if (!restored)
            key.deleteSubKey("DefaultIcon", 0);
    }
    if (key.openRelative("shell", kRegOpenExisting) != kRegOpenFailed) {
        restoreBackup(key, backupName);
        removeVerb(key, association.verb, backupName);
        const bool empty = key.subKeyCount() == 0;
        key.close();
        if (empty)
            key.deleteSubKey("shell", 0);
    }
    const bool empty = key.subKeyCount() == 0;
    key.close();
    if (!empty)
        return;
    deleteClassesKey(association.fileType);
    if (!extensionStays)
        deleteClassesKey(association.extension);
}

} // namespace

void removeFileAssociations(const Array<FileAssociation>& associations, const String& productName) {
    const String backupName = associationBackupName(productName);
    for (const FileAssociation& association : associations)
        removeAssociation(association, backupName);
    notifyAssociationsChanged();
}

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
