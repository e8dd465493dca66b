#include "keld/SourcePattern.h"

#include "keld/Files.h"

#include <filesystem>

namespace keld {

namespace {

// "[...]" at `at` against `c`; `next` is set past the set. False, with `next`
// left alone, when no "]" closes the set: then "[" is an ordinary character.
bool setMatches(const std::string& pattern, size_t at, unsigned char c, PathStyle style,
                bool& matched, size_t& next) {
    size_t i = at + 1;
    const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (negated)
        ++i;
    bool found = false;
    for (bool first = true; i < pattern.size(); first = false) {
        if (pattern[i] == ']' && !first) {
            matched = found != negated;
            next = i + 1;
            return true;
        }
        if (style == PathStyle::Posix && pattern[i] == '\\' && i + 1 < pattern.size())
            ++i;
        const auto low = static_cast<unsigned char>(pattern[i]);
        auto high = low;
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            i += 2;
            if (style == PathStyle::Posix && pattern[i] == '\\' && i + 1 < pattern.size())
                ++i;
            high = static_cast<unsigned char>(pattern[i]);
        }
        found = found || (low <= c && c <= high);
        ++i;
    }
    return false;
}

// One element of the pattern at `at` (not "*") against `c`; `next` is set past it.
bool elementMatches(const std::string& pattern, size_t at, char c, PathStyle style, size_t& next) {
    const char p = pattern[at];
    next = at + 1;
    if (p == '?')
        return true;
    bool matched = false;
    if (p == '[' && setMatches(pattern, at, static_cast<unsigned char>(c), style, matched, next))
        return matched;
    if (p == '\\' && style == PathStyle::Posix && at + 1 < pattern.size()) {
        next = at + 2;
        return pattern[at + 1] == c;
    }
    return p == c;
}

// A name without wildcards, as the system sees it ("\" quotes on POSIX).
std::string literal(const std::string& part) {
    if (kHostPathStyle == PathStyle::Windows)
        return part;
    std::string out;
    for (size_t i = 0; i < part.size(); ++i) {
        if (part[i] == '\\' && i + 1 < part.size())
            ++i;
        out += part[i];
    }
    return out;
}

} // namespace

bool hasWildcards(const std::string& pattern) {
    return pattern.find_first_of("*?[") != std::string::npos;
}

bool matchesName(const std::string& pattern, const std::string& name, PathStyle style) {
    if (!name.empty() && name[0] == '.') {
        const bool dotted = !pattern.empty() && pattern[0] == '.';
        const bool quoted = style == PathStyle::Posix && pattern.size() >= 2 &&
                            pattern[0] == '\\' && pattern[1] == '.';
        if (!dotted && !quoted)
            return false;
    }
    size_t p = 0, n = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        size_t next = 0;
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
        } else if (p < pattern.size() && elementMatches(pattern, p, name[n], style, next)) {
            p = next;
            ++n;
        } else if (starP != std::string::npos) {
            // The last star takes one more character, and the rest is tried again.
            p = starP;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> expandPattern(const std::string& pattern) {
    const size_t root = rootLength(pattern);
    std::vector<std::string> paths = {pattern.substr(0, root)};
    for (size_t i = root; i < pattern.size() && !paths.empty();) {
        size_t end = i;
        while (end < pattern.size() && !isPathSeparator(pattern[end]))
            ++end;
        size_t after = end;
        while (after < pattern.size() && isPathSeparator(pattern[after]))
            ++after;
        const std::string part = pattern.substr(i, end - i);
        const std::string separators = pattern.substr(end, after - end);
        std::vector<std::string> next;
        for (const std::string& folder : paths) {
            if (!hasWildcards(part)) {
                next.push_back(folder + literal(part) + separators);
                continue;
            }
            std::error_code ec;
            const std::filesystem::path listed = toFsPath(folder.empty() ? "." : folder);
            for (auto it = std::filesystem::directory_iterator(listed, ec);
                 !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
                const std::string name = fromFsPath(it->path().filename());
                if (matchesName(part, name))
                    next.push_back(folder + name + separators);
            }
        }
        paths.swap(next);
        i = after;
    }
    // Names without wildcards were taken as they are: keep those that exist.
    std::vector<std::string> found;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (std::filesystem::exists(toFsPath(path), ec))
            found.push_back(path);
    }
    return found;
}

} // namespace keld
