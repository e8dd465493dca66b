#include "installer/win32/Associations.h"

#include "installer/InstallSettings.h"
#include "installer/Installation.h"
#include "installer/ShellNames.h"
#include "installer/UninstallRecord.h"
#include "installer/win32/Batch.h"
#include "installer/win32/ShellNotify.h"
#include "platform/Registry.h"

#include <windows.h>

namespace {

// Sets the key's default value, first keeping the value it replaces under the
// backup name: unless it is blank or the same but for case, and unless an
// earlier installation already kept one there, which must survive for the
// uninstaller to put back. `made` gets `filled` when there was no value to keep.
bool writeWithBackup(RegistryKey& key, const String& value, const String& backupName,
                     uint16_t& made, uint16_t filled) {
    const String old = key.readString(String(), String(), 0);
    if (old.isBlank())
        made = uint16_t(made | filled);
    else if (old.compare(value.c_str(), false) != 0 &&
             key.readString(backupName, String(), 0).isBlank())
        key.writeText(backupName, old, 0);
    return key.writeText(String(), value, 0);
}

// openRelative that notes in `made` a key it had to create.
bool openNoting(RegistryKey& key, const char* name, uint16_t& made, uint16_t created) {
    const int opened = key.openRelative(name, 0);
    if (opened == kRegCreated)
        made = uint16_t(made | created);
    return opened != kRegOpenFailed;
}

// The type's icon, description and verb, in the type key that is open.
// True when the verb's command was written.
bool describeFileType(RegistryKey& key, const FileAssociation& association, bool adopt,
                      const String& backupName, uint16_t& made) {
    if (!adopt && !association.fileTypeDescription.isBlank())
        writeWithBackup(key, association.fileTypeDescription, backupName, made, MadeTypeValue);
    if (!association.defaultIcon.isBlank() && openNoting(key, "DefaultIcon", made, MadeIconKey)) {
        String icon = association.defaultIcon;
        expandPathVariables(icon);
        writeWithBackup(key, icon, backupName, made, MadeIconValue);
        key.close();
    }
    // A blank verb would put its label and command on "shell" itself.
    if (association.verb.isBlank() || !openNoting(key, "shell", made, MadeShellKey))
        return false;
    if (association.flags & kAssociationDefaultVerb)
        writeWithBackup(key, association.verb, backupName, made, MadeShellValue);
    bool written = false;
    if (openNoting(key, association.verb.c_str(), made, MadeVerbKey)) {
        key.writeText(String(), association.verbLabel, 0);
        if (key.openRelative("command", 0)) {
            String command = association.commandLine;
            expandPathVariables(command);
            written = writeWithBackup(key, command, backupName, made, MadeCommandValue);
            key.close();
        }
        key.close();
    }
    key.close();
    return written;
}

// Deletes a key of the classes root with everything below it.
void deleteClassesKey(const String& name) {
    RegistryKey root;
    root.deleteKeyAt(HKEY_CLASSES_ROOT, String(), name, 0);
}

// What an earlier installation of the product recorded as made for the same
// line: its keys are still the product's after this one finds them in place.
uint16_t madeBefore(const String& extension, const String& fileType, const String& verb) {
    for (const RecordedAssociation& earlier : installation().previousAssociations)
        if (earlier.extension.compare(extension, false) == 0 &&
            earlier.fileType.compare(fileType, false) == 0 &&
            earlier.verb.compare(verb, false) == 0)
            return earlier.made;
    return 0;
}

void associate(const FileAssociation& association, const String& backupName) {
    Installation& state = installation();
    const String extension = dottedExtension(association.extension);
    String fileType = association.fileType;
    bool adopt = fileType.isEmpty() || fileType.firstChar() == '!';
    uint16_t made = 0;

    RegistryKey key;
    const int extensionOpened =
        key.open(HKEY_CLASSES_ROOT, extension, fileType.isEmpty() ? kRegOpenExisting : 0);
    if (extensionOpened == kRegOpenFailed) {
        if (adopt) {
            state.problemReport.appendFormat(
                "Association failed/key inaccessible:  \"%s\".\r\n\r\n", extension.c_str());
            return;
        }
    } else {
        if (extensionOpened == kRegCreated)
            made |= MadeExtensionKey;
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
                key.close();
                if (made & MadeExtensionKey)
                    deleteClassesKey(extension);
                return;
            }
        }
        if (!adopt)
            writeWithBackup(key, fileType, backupName, made, MadeExtensionValue);
        key.close();
    }

    bool associated = false;
    const int typeOpened = key.open(HKEY_CLASSES_ROOT, fileType, 0);
    if (typeOpened != kRegOpenFailed) {
        if (typeOpened == kRegCreated)
            made |= MadeTypeKey;
        associated = describeFileType(key, association, adopt, backupName, made);
        key.close();
    }
    made |= madeBefore(extension, fileType, association.verb);
    appendAssociationLine(state.associationList, extension, fileType, association.verb, made);
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

// Undoes the default value of the open key: the kept one comes back, or the
// value goes when the installation set it where there was none.
void undoDefault(RegistryKey& key, const String& backupName, bool filled) {
    if (!restoreBackup(key, backupName) && filled)
        key.deleteValue(String());
}

bool has(uint16_t made, uint16_t bit) {
    return (made & bit) != 0;
}

// The extension key, made or not. One that now points to another product's
// type is left alone: putting back what this product replaced would take the
// extension from the product that took it over since. The key, or the value
// the installation set, goes only when the type is gone too.
void restoreExtension(const RecordedAssociation& association, const String& backupName,
                      bool typeGone) {
    RegistryKey key;
    if (key.open(HKEY_CLASSES_ROOT, association.extension, kRegOpenExisting) == kRegOpenFailed)
        return;
    const String current = key.readString(String(), String(), 0);
    if (!current.isBlank() && current.compare(association.fileType, false) != 0) {
        key.deleteValue(backupName);
        return;
    }
    if (has(association.made, MadeExtensionKey) && typeGone) {
        key.close();
        deleteClassesKey(association.extension);
        return;
    }
    // While the type stays for another product's keys, the extension keeps
    // leading to it.
    undoDefault(key, backupName, typeGone && has(association.made, MadeExtensionValue));
}

// In the open "shell" key: the verb goes when the installation made it;
// otherwise only its command's value is undone.
void removeVerb(RegistryKey& key, const RecordedAssociation& association,
                const String& backupName) {
    if (key.openRelative(association.verb, kRegOpenExisting) == kRegOpenFailed)
        return;
    bool restored = false;
    if (key.openRelative("command", kRegOpenExisting) != kRegOpenFailed) {
        restored = restoreBackup(key, backupName);
        if (!restored && !has(association.made, MadeVerbKey) &&
            has(association.made, MadeCommandValue))
            key.deleteValue(String());
        key.close();
    }
    key.close();
    if (!restored && has(association.made, MadeVerbKey))
        key.deleteSubKey(association.verb, 0);
}

// A key below the open type: its value undone, and the key itself removed
// when the installation made it and nothing else lives below it.
void undoTypePart(RegistryKey& key, const char* name, const String& backupName, bool madeKey,
                  bool filled) {
    if (key.openRelative(name, kRegOpenExisting) == kRegOpenFailed)
        return;
    const bool restored = restoreBackup(key, backupName);
    if (!restored && filled)
        key.deleteValue(String());
    const bool empty = key.subKeyCount() == 0;
    key.close();
    if (!restored && madeKey && empty)
        key.deleteSubKey(name, 0);
}

// The verb of one line, in its type's "shell".
void removeLineVerb(const RecordedAssociation& association, const String& backupName) {
    RegistryKey key;
    if (key.open(HKEY_CLASSES_ROOT, association.fileType, kRegOpenExisting) == kRegOpenFailed)
        return;
    if (key.openRelative("shell", kRegOpenExisting) != kRegOpenFailed) {
        removeVerb(key, association, backupName);
        key.close();
    }
}

// The type's own values and keys, once its verbs are gone; `made` joins what
// every line of the type made.
void removeTypeParts(const String& fileType, uint16_t made, const String& backupName) {
    RegistryKey key;
    if (key.open(HKEY_CLASSES_ROOT, fileType, kRegOpenExisting) == kRegOpenFailed)
        return;
    undoDefault(key, backupName, has(made, MadeTypeValue));
    undoTypePart(key, "DefaultIcon", backupName, has(made, MadeIconKey), has(made, MadeIconValue));
    undoTypePart(key, "shell", backupName, has(made, MadeShellKey), has(made, MadeShellValue));
    // A type the installation made goes once nothing of anyone else's is
    // left below it; one it found stays whatever it holds.
    const bool gone = has(made, MadeTypeKey) && key.subKeyCount() == 0;
    key.close();
    if (gone)
        deleteClassesKey(fileType);
}

bool classesKeyExists(const String& name) {
    RegistryKey key;
    return key.open(HKEY_CLASSES_ROOT, name, kRegOpenExisting | kRegReadOnly) != kRegOpenFailed;
}

} // namespace

void removeFileAssociations(const Array<RecordedAssociation>& associations,
                            const String& productName) {
    const String backupName = associationBackupName(productName);
    // Verbs first, then each type once with what all its lines made, then
    // the extensions: several extensions may share one type.
    for (const RecordedAssociation& association : associations)
        removeLineVerb(association, backupName);
    for (int i = 0; i < associations.count(); ++i) {
        const String& fileType = associations[i].fileType;
        bool seen = false;
        uint16_t made = 0;
        for (int j = 0; j < associations.count(); ++j) {
            if (associations[j].fileType.compare(fileType, false) != 0)
                continue;
            seen = seen || j < i;
            made = uint16_t(made | associations[j].made);
        }
        if (!seen)
            removeTypeParts(fileType, made, backupName);
    }
    for (const RecordedAssociation& association : associations)
        restoreExtension(association, backupName, !classesKeyExists(association.fileType));
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
