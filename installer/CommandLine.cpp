#include "installer/CommandLine.h"

#include "core/Path.h"

namespace {

bool isLeadingSpace(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

// The C library's blanks, without its locale tables.
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

void skipLeadingSpace(String& text) {
    int n = 0;
    while (n < text.length() && isLeadingSpace(text.charAt(n)))
        ++n;
    text.removeFirst(n);
}

// Reads a quoted section starting at the opening quote at `pos`; appends its
// content to `out` and returns the index just past the closing quote (or the
// end of the text when the section is never closed).
int readQuotedSection(const String& text, int pos, String& out) {
    const int end = text.length();
    ++pos;
    while (pos < end) {
        char c = text.charAt(pos);
        if (c == '"') {
            if (pos + 1 < end && text.charAt(pos + 1) == '"') {
                out.append('"');
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        out.append(c);
        ++pos;
    }
    return end;
}

bool startsWithNoCase(const String& text, const char* prefix, int prefixLength) {
    return text.length() >= prefixLength && text.compare(prefix, false, prefixLength) == 0;
}

// "D:" and "N:" values and the uninstall name lose one pair of enclosing quotes.
String unquotedValue(const String& rest, int prefixLength) {
    String value(rest.c_str() + prefixLength, rest.length() - prefixLength);
    if (value.length() >= 2)
        value.stripEnclosing('"');
    return value;
}

// "R:\"" and "B1:\"" values: the opening quote goes with the prefix, one
// trailing quote goes, and a backquote stands for a double quote.
String commandValue(const String& rest, int prefixLength) {
    String value(rest.c_str() + prefixLength, rest.length() - prefixLength);
    value.removeTrailingChar('"');
    value.replaceChar('`', '"', true);
    return value;
}

} // namespace

String takeCommandLineAtom(String& text) {
    skipLeadingSpace(text);
    String atom;
    int pos = 0;
    const int end = text.length();
    while (pos < end) {
        char c = text.charAt(pos);
        if (c == '"') {
            atom.append('"');
            pos = readQuotedSection(text, pos, atom);
            atom.append('"');
            continue;
        }
        ++pos;
        if (isBlank(c))
            break;
        atom.append(c);
    }
    text.removeFirst(pos);
    return atom;
}

bool parseCommandLine(const char* argumentText, CommandLine& out, String& usageHeading) {
    String text(argumentText);
    for (int count = 1; count <= kMaxCommandLineAtoms; ++count) {
        String atom = takeCommandLineAtom(text);
        if (atom.isEmpty())
            break;
        char first = atom.firstChar();
        if (first != '/' && first != '-') {
            usageHeading = String("Unexpected command line parameter:\n") + atom;
            return false;
        }
        String rest(atom.c_str() + 1, atom.length() - 1);
        if (rest.isEmpty())
            continue;
        if (rest.compare("A", false, 0x7FFFFFFF) == 0) {
            out.automaticMode = true;
        } else if (startsWithNoCase(rest, "D:", 2)) {
            out.installDir = unquotedValue(rest, 2);
        } else if (startsWithNoCase(rest, "N:", 2)) {
            out.productName = unquotedValue(rest, 2);
        } else if (startsWithNoCase(rest, "U", 1)) {
            out.uninstallMode = true;
            if (rest.charAt(1) == ':')
                out.uninstallName = unquotedValue(rest, 2);
        } else if (startsWithNoCase(rest, "R:\"", 3)) {
            out.runOnExit = commandValue(rest, 3);
        } else if (startsWithNoCase(rest, "B1:\"", 4) || startsWithNoCase(rest, "B2:\"", 4) ||
                   startsWithNoCase(rest, "B3:\"", 4)) {
            String commands = commandValue(rest, 4);
            commands.replaceAll("~~", "\r\n", 0, 0, 0x7FFFFFFF, 0);
            out.extraBatch[rest.charAt(1) - '1'] = commands;
        } else {
            usageHeading = String("Illegal command line atom:\n") + rest;
            return false;
        }
    }
    return true;
}

String usageText(const char* heading, const char* installerFileName) {
    return String::formatted(
        "%s\r\n"
        "\r\n"
        "Usage:\r\n"
        "%s [/a] [/b1:\"commands\"] [/b2:\"commands\"] [/b3:\"commands\"] [/d:\"dir\"] "
        "[/n:\"name\"] [/u:\"name\"] [/r:\"program\"]\r\n"
        "\r\n"
        "/a                  \tAutomatic mode.\r\n"
        "/d:\"dir\"        \tOverride installation directory.\r\n"
        "/b1:\"commands\"\tAdd commands to the end of the Pre-Installation Batch.\r\n"
        "/b2:\"commands\"\tAdd commands to the end of the Post-Installation Batch.\r\n"
        "/b3:\"commands\"\tAdd commands to the end of the Installation-Exit Batch.\r\n"
        "/n:\"name\"\tOverride product name.\r\n"
        "/u:\"name\"\tUninstall product by name.\r\n"
        "/r:\"program\"\tRun the specified program after a successful installation.",
        heading, installerFileName);
}

String installerFileFromCommandLine(const char* fullCommandLine) {
    String text(fullCommandLine);
    skipLeadingSpace(text);
    String name;
    if (text.firstChar() == '"') {
        readQuotedSection(text, 0, name);
    } else {
        int blank = text.findChar(' ', 0, 0);
        name.assignBytes(text.c_str(), blank < 0 ? text.length() : blank);
    }
    if (name.findChar('.', nameStart(name), 0) < 0)
        name.append(".EXE");
    return name;
}
