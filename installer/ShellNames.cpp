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

namespace {

const char kMadeLetters[] = "ETISVetisc";
const uint16_t kMadeBits[] = {MadeExtensionKey, MadeTypeKey,        MadeIconKey,   MadeShellKey,
                              MadeVerbKey,      MadeExtensionValue, MadeTypeValue, MadeIconValue,
                              MadeShellValue,   MadeCommandValue};

} // namespace

String associationMadeText(uint16_t made) {
    String text;
    for (int i = 0; kMadeLetters[i]; ++i)
        if (made & kMadeBits[i])
            text += kMadeLetters[i];
    return text;
}

uint16_t associationMadeFromText(const String& text) {
    uint16_t made = 0;
    for (int i = 0; i < text.length(); ++i)
        for (int j = 0; kMadeLetters[j]; ++j)
            if (text.charAt(i) == kMadeLetters[j])
                made = uint16_t(made | kMadeBits[j]);
    return made;
}

void appendAssociationLine(String& list, const String& extension, const String& fileType,
                           const String& verb, uint16_t made) {
    list += extension;
    list += "~!~";
    list += fileType;
    list += "~!~";
    list += verb;
    if (made != 0) {
        list += "~!~";
        list += associationMadeText(made);
    }
    list += "\r\n";
}
