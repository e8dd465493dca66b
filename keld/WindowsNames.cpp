#include "keld/WindowsNames.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace keld {

namespace {

std::string upper(std::string text) {
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever extension
// follows, and with blanks before the extension too.
bool isDeviceName(const std::string& name) {
    std::string stem = upper(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

} // namespace

std::string fileNameProblem(const std::string& name) {
    if (name.empty())
        return "has an empty name (two backslashes in a row, or none at all)";
    if (name == "..")
        return "climbs out of its folder with \"..\"";
    if (name == ".")
        return "names a folder \".\", which Windows does not keep";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", byte);
            return std::string("holds the control character ") + hex +
                   ", which Windows does not take in a name";
        }
        if (std::strchr("<>:\"|?*/", c))
            return std::string("holds the character '") + c +
                   "', which Windows does not take in a name";
    }
    if (name.back() == '.' || name.back() == ' ')
        return "\"" + name + "\" ends with a " + (name.back() == '.' ? "dot" : "blank") +
               ", which Windows drops from a name";
    if (isDeviceName(name))
        return "\"" + name + "\" is the name of a device in Windows, not of a file";
    return std::string();
}

std::string pathProblem(const std::string& path, PathForm form) {
    size_t start = 0;
    if (form == PathForm::Override) {
        if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
            start = 2;
        while (start < path.size() && path[start] == '\\')
            ++start;
    }
    if (path.empty())
        return "is empty";
    if (form == PathForm::Relative && (path[0] == '\\' || path.find(':') != std::string::npos))
        return "must be a relative path";
    for (;;) {
        const size_t end = path.find('\\', start);
        const std::string name = path.substr(start, end - start);
        const bool last = end == std::string::npos;
        if (!(form == PathForm::Override && name.empty() && last && start > 0)) {
            // A path variable such as %InstallDir% stands for a whole folder.
            const bool variable = name.size() > 2 && name.front() == '%' && name.back() == '%';
            const std::string problem = variable ? std::string() : fileNameProblem(name);
            if (!problem.empty())
                return problem;
        }
        if (last)
            return std::string();
        start = end + 1;
    }
}

} // namespace keld
