#pragma once
// The names the shell integration makes up from the settings: shortcut file
// names, association keys and the value that keeps what an association
// replaced. Pure text rules, so they are tested on any host.

#include "core/String.h"
#include "format/SettingsLayout.h"

// Appends ".LNK" unless the path already ends in ".lnk" in any letter case.
void addLinkExtension(String& path);

// The value under which an association keeps the value it replaces: the
// product's name and " Backup", without backslashes, CR, LF and tabs (a
// backslash would make it a key path).
String associationBackupName(const String& productName);

// An association applies when it names an extension and either no language
// or exactly the name of the installation's language.
bool associationApplies(const FileAssociation& association, const String& languageName);

// The extension with its leading ".".
String dottedExtension(const String& extension);

// What an association found empty and made its own, so that the uninstaller
// removes that and nothing the user or another product had before: a key it
// created (upper case) or a default value it set where there was none
// (lower case), for the extension, the type, its DefaultIcon, its "shell" and
// the verb (whose value is its command's).
enum AssociationMade : uint16_t {
    MadeExtensionKey = 0x1,
    MadeTypeKey = 0x2,
    MadeIconKey = 0x4,
    MadeShellKey = 0x8,
    MadeVerbKey = 0x10,
    MadeExtensionValue = 0x100,
    MadeTypeValue = 0x200,
    MadeIconValue = 0x400,
    MadeShellValue = 0x800,
    MadeCommandValue = 0x1000,
};

// The letters of `made` ("ETISV" and "etisc"), in that order; and back,
// ignoring any other character.
String associationMadeText(uint16_t made);
uint16_t associationMadeFromText(const String& text);

// One "[Associations]" line of Uninstall.DAT: "extension~!~file type~!~verb",
// and "~!~" with the letters of `made` when it is not 0.
void appendAssociationLine(String& list, const String& extension, const String& fileType,
                           const String& verb, uint16_t made = 0);
