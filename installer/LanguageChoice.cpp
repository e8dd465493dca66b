#include "installer/LanguageChoice.h"

namespace {

// What a list box's prefix search finds: the first entry starting with text.
int firstStartingWith(const Array<String>& names, const String& text) {
    if (text.isEmpty())
        return names.count() > 0 ? 0 : -1;
    for (int i = 0; i < names.count(); ++i)
        if (names[i].compare(text.c_str(), false, text.length()) == 0)
            return i;
    return -1;
}

} // namespace

String languageOfLocaleName(const char* localeName) {
    String name = localeName;
    name.truncateAtChar('(');
    name.trimRight();
    return name;
}

int preselectedLanguage(const Array<String>& languages, const String& userLanguage) {
    int index = firstStartingWith(languages, userLanguage);
    if (index < 0)
        index = firstStartingWith(languages, "English");
    return index < 0 ? 0 : index;
}

WindowPlace centredPlace(int left, int top, int right, int bottom, int screenWidth,
                         int screenHeight) {
    WindowPlace place;
    place.width = right - left + 1;
    place.height = bottom - top + 1;
    if (place.width > screenWidth)
        place.width = screenWidth;
    if (place.height > screenHeight)
        place.height = screenHeight;
    place.x = (screenWidth - place.width) >> 1;
    place.y = (screenHeight - place.height) >> 1;
    if (place.x < 0)
        place.x = 0;
    if (place.y < 0)
        place.y = 0;
    return place;
}
