#pragma once
// Character classes shared by the String sources. ASCII only: the installer
// works in the ANSI code page and folds no other letters.

inline char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

inline char upperCase(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

inline bool isWhiteSpace(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

inline bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

inline bool sameChar(char a, char b, bool foldingCase) {
    return a == b || (foldingCase && foldCase(a) == foldCase(b));
}

// A set of bytes for the set searches, folded when asked.
class CharSet {
public:
    // Out of line: several String sources build sets, one copy serves them.
    CharSet(const char* set, int length, bool foldingCase);
    bool contains(char c) const {
        unsigned char u = static_cast<unsigned char>(folding_ ? foldCase(c) : c);
        return (bits_[u >> 5] >> (u & 31)) & 1u;
    }

private:
    void add(char c) {
        unsigned char u = static_cast<unsigned char>(folding_ ? foldCase(c) : c);
        bits_[u >> 5] |= 1u << (u & 31);
    }
    unsigned bits_[8] = {};
    bool folding_;
};
