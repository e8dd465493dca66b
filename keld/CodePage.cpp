#include "keld/CodePage.h"

#include <cstdio>

namespace keld {

namespace {

// The code point at `at` and its length; 0 bytes for a sequence that is not
// UTF-8 (overlong forms and surrogates included).
uint32_t decodeAt(const std::string& text, size_t at, size_t& length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    length = 0;
    size_t count = 0;
    uint32_t c = 0;
    uint32_t least = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        count = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at <= count)
        return 0;
    for (size_t i = 1; i <= count; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    length = count + 1;
    return c;
}

} // namespace

std::string codePageList() {
    return "874 and 1250 to 1258";
}

bool toCodePage(const std::string& utf8, int codePage, std::string& out, CodePageFailure& failure) {
    out.clear();
    const uint16_t* table = codePageTable(codePage);
    for (size_t at = 0; at < utf8.size();) {
        size_t length = 0;
        const uint32_t c = decodeAt(utf8, at, length);
        failure = CodePageFailure{at, c};
        if (length == 0 || !table) {
            failure.character = 0;
            out.clear();
            return false;
        }
        at += length;
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        int found = -1;
        for (int i = 0; i < 128 && found < 0; ++i)
            if (table[i] == c)
                found = i;
        if (found < 0) {
            out.clear();
            return false;
        }
        out += char(0x80 + found);
    }
    return true;
}

std::string describeFailure(const std::string& utf8, int codePage, const CodePageFailure& failure) {
    if (failure.character == 0)
        return "is not UTF-8 text (save it as UTF-8)";
    size_t length = 0;
    decodeAt(utf8, failure.offset, length);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", unsigned(failure.character));
    return "holds the character \"" + utf8.substr(failure.offset, length) + "\" (" + code +
           "), which Windows code page " + std::to_string(codePage) +
           " cannot hold (the project's \"codepage\" names the one to use)";
}

void lineAndColumn(const std::string& text, size_t offset, int& line, int& column) {
    line = 1;
    column = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;
        }
    }
}

} // namespace keld
