#include "core/StringChars.h"

CharSet::CharSet(const char* set, int length, bool foldingCase) : folding_(foldingCase) {
    for (int i = 0; i < length; ++i)
        add(set[i]);
}
