#include "installer/PathSet.h"

namespace {

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

uint32_t foldedHash(const String& path) {
    uint32_t hash = 2166136261u;
    // Up to the first zero byte, where the comparison stops too.
    for (const char* text = path.c_str(); *text; ++text)
        hash = (hash ^ static_cast<unsigned char>(folded(*text))) * 16777619u;
    return hash;
}

} // namespace

// The slot that holds the path, or the free slot where it would go.
int PathSet::slotOf(const String& path, uint32_t hash) const {
    const int mask = slots_.count() - 1;
    for (int slot = static_cast<int>(hash) & mask;; slot = (slot + 1) & mask) {
        const int entry = slots_[slot];
        if (entry == 0 || paths_[entry - 1].compare(path.c_str(), false) == 0)
            return slot;
    }
}

void PathSet::rehash(int slotCount) {
    slots_.clear();
    slots_.resize(slotCount);
    for (int i = 0; i < paths_.count(); ++i)
        slots_[slotOf(paths_[i], foldedHash(paths_[i]))] = i + 1;
}

bool PathSet::insert(const String& path) {
    // At most half the slots are taken, so a probe always meets a free one.
    if (2 * (paths_.count() + 1) > slots_.count())
        rehash(slots_.count() < 16 ? 16 : 2 * slots_.count());
    const int slot = slotOf(path, foldedHash(path));
    if (slots_[slot] != 0)
        return false;
    paths_.append(path);
    slots_[slot] = paths_.count();
    return true;
}

bool PathSet::contains(const String& path) const {
    return paths_.count() > 0 && slots_[slotOf(path, foldedHash(path))] != 0;
}

void PathSet::clear() {
    paths_.clear();
    slots_.clear();
}
