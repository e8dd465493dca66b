#include "installer/ShellNames.h"

void addLinkExtension(String& path) {
    const int length = path.length();
    if (length >= 4 && String(path.c_str() + length - 4).compare(".lnk", false) == 0)
        return;
    path += ".LNK";
}

String associationBackupName(const String& productName) {
    String name = productName;
    name += " Backup";
    name.removeChars("\\\r\n\t");
    return name;
}

bool associationApplies(const FileAssociation& association, const String& languageName) {
    if (association.extension.isEmpty())
        return false;
    return association.language.isEmpty() || association.language == languageName;
}

String dottedExtension(const String& extension) {
    String dotted = extension;
    dotted.prependCharOnce('.');
    return dotted;
}

void appendAssociationLine(String& list, const String& extension, const String& fileType,
                           const String& verb) {
    list += extension;
    list += "~!~";
    list += fileType;
    list += "~!~";
    list += verb;
    list += "\r\n";
}
