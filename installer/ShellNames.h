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

// One "[Associations]" line of Uninstall.DAT: "extension~!~file type~!~verb".
void appendAssociationLine(String& list, const String& extension, const String& fileType,
                           const String& verb);
