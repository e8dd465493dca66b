#include "installer/PathVariables.h"

#include "core/StringParse.h"

namespace {

const char* const kNames[kPathVariableCount] = {
    "BootDrive",        "CommonDir",      "InstallDir",        "InstallDrive",
    "UninstallDir",     "ProgramsDir",    "SharedDir",         "SystemDir",
    "InstallerDir",     "InstallerDrive", "InstallerFilename", "InstallerFilepath",
    "DeviceDir",        "MediaDir",       "FavoritesDir",      "FavoritesAllDir",
    "FontDir",          "DesktopDir",     "DesktopAllDir",     "DocumentDir",
    "DocumentAllDir",   "StartMenuDir",   "StartMenuAllDir",   "SMProgramsDir",
    "SMProgramsAllDir", "StartupDir",     "StartupAllDir",     "Temp",
    "WinDir",
};

// The SET lines after the directory's own, in the batch file's order; there is
// none for Temp and WinDir.
const PathVariable kBatchOrder[] = {
    PathVariable::UninstallDir,    PathVariable::SharedDir,         PathVariable::InstallerFilepath,
    PathVariable::InstallerDir,    PathVariable::InstallerFilename, PathVariable::InstallerDrive,
    PathVariable::SystemDir,       PathVariable::DeviceDir,         PathVariable::MediaDir,
    PathVariable::FavoritesDir,    PathVariable::FavoritesAllDir,   PathVariable::FontDir,
    PathVariable::DesktopDir,      PathVariable::DesktopAllDir,     PathVariable::DocumentDir,
    PathVariable::DocumentAllDir,  PathVariable::ProgramsDir,       PathVariable::StartMenuDir,
    PathVariable::StartMenuAllDir, PathVariable::SMProgramsDir,     PathVariable::SMProgramsAllDir,
    PathVariable::StartupDir,      PathVariable::StartupAllDir,     PathVariable::BootDrive,
    PathVariable::CommonDir,
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void appendSet(String& text, const char* name, const String& value) {
    text += "SET ";
    text += name;
    text += '=';
    text += value;
    text += "\r\n";
}

bool isPauseLine(const String& line) {
    String word = line;
    word.trim();
    word.removeLeadingChar('@');
    word.trimLeft();
    return word.compare("PAUSE", false) == 0;
}

} // namespace

const char* pathVariableName(PathVariable variable) {
    return kNames[int(variable)];
}

void expandPathVariables(String& text, const PathVariableSource& values) {
    if (text.findChar('%') < 0)
        return;
    for (int i = 0; i < kPathVariableCount; ++i) {
        const PathVariable variable = PathVariable(i);
        const String token = String::formatted("%%%s%%", kNames[i]);
        if (text.find(token.c_str(), 0, kFindNoCase) >= 0)
            text.replaceAll(token.c_str(), values.value(variable).c_str(), kFindNoCase);
    }
}

String driveOf(const String& path) {
    if (path.length() < 2 || !isLetter(path.charAt(0)) || path.charAt(1) != ':')
        return String();
    String drive(path.c_str(), 2);
    drive.toUpper();
    return drive;
}

String withoutPauseLines(const String& commands) {
    String rest = commands;
    String kept;
    while (!rest.isEmpty()) {
        const String line = takeLine(rest);
        if (isPauseLine(line))
            continue;
        kept += line;
        kept += "\r\n";
    }
    return kept;
}

String batchFileText(const String& directory, const String& commands, bool removePause,
                     const PathVariableValues& values) {
    String text = "@echo off\r\n";
    if (!directory.isEmpty()) {
        appendSet(text, "InstallDir", directory);
        appendSet(text, "InstallDrive", driveOf(directory));
    }
    for (PathVariable variable : kBatchOrder) {
        String value = values.value(variable);
        // The variable is the bare letter; the environment gets the drive.
        if (variable == PathVariable::InstallerDrive && !value.isEmpty())
            value += ':';
        appendSet(text, pathVariableName(variable), value);
    }
    text += removePause ? withoutPauseLines(commands) : commands;
    text.normalizeLineBreaks();
    return text;
}

String autoexecPathLine(const String& shortInstallDir) {
    String line = "PATH=%PATH%;";
    line += shortInstallDir;
    line += "\r\n";
    return line;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Where the PATH line stands in content, from its first character to past its
// line break: a whole line (its blanks around it and a CR before its LF
// allowed) that is the line without its CR LF, in any case. Elsewhere the
// bare text may be the start of another directory's PATH line, which must
// stay whole. False when no line is that.
bool findPathLine(const String& content, const String& line, int& begin, int& end) {
    const String bare(line.c_str(), line.length() - 2);
    if (bare.isEmpty())
        return false;
    for (int at = 0; at < content.length();) {
        int next = content.findChar('\n', at);
        next = next < 0 ? content.length() : next + 1;
        int first = at;
        int last = next;
        while (last > first &&
               (content.charAt(last - 1) == '\n' || content.charAt(last - 1) == '\r' ||
                isBlank(content.charAt(last - 1))))
            --last;
        while (first < last && isBlank(content.charAt(first)))
            ++first;
        if (last - first == bare.length() &&
            substring(content, first, bare.length()).compare(bare.c_str(), false) == 0) {
            begin = at;
            end = next;
            return true;
        }
        at = next;
    }
    return false;
}

} // namespace

String autoexecAddition(const String& content, const String& line) {
    int begin = 0;
    int end = 0;
    if (findPathLine(content, line, begin, end))
        return String();
    String addition;
    if (content.lastChar() != '\n')
        addition = "\r\n";
    addition += line;
    return addition;
}

bool removeAutoexecPathLine(String& content, const String& line) {
    int begin = 0;
    int end = 0;
    return findPathLine(content, line, begin, end) && content.erase(begin, end - begin);
}

String autoexecProblem(const String& path, bool add, const String& installDir) {
    return String::formatted(
        "Unable to modify %s.  You will need to manually %s %s %s the PATH environment "
        "variable.\r\n\r\n",
        path.c_str(), add ? "add" : "remove", installDir.c_str(), add ? "to" : "from");
}
