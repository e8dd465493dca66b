#include "platform/RegistryStore.h"

bool HierarchicalStore::enterPath(const char* path) {
    if (!path)
        return false;
    if (*path == '\0')
        return toRoot();
    if (*path == separator_ && !toRoot())
        return false;
    String component;
    for (const char* p = path; *p; ++p) {
        if (*p != separator_) {
            component.append(*p);
            continue;
        }
        // The leading separator only chose the root.
        if (p == path)
            continue;
        if (!enter(component))
            return false;
        component.clear();
    }
    return true;
}
