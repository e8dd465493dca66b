#pragma once
// Which language the language dialog offers first, and where a dialog goes
// on the screen: the choices that need no window.

#include "core/Array.h"
#include "core/String.h"

// The language part of a locale's name: up to the first "(", trailing blanks
// removed ("English (United States)" gives "English").
String languageOfLocaleName(const char* localeName);

// The list index the dialog selects first: the first language whose name
// begins (in any case) with the user's language, else with "English", else 0.
int preselectedLanguage(const Array<String>& languages, const String& userLanguage);

struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A window of that rectangle centred on a screen of that size: no larger than
// the screen, never above or left of its corner.
WindowPlace centredPlace(int left, int top, int right, int bottom, int screenWidth,
                         int screenHeight);
