#include "installer/MessageTable.h"

void MessageTable::resize(int messageCount, int languageCount) {
    if (messageCount < 0)
        messageCount = 0;
    if (languageCount < 0)
        languageCount = 0;
    rows_.resize(messageCount);
    for (Array<String>& row : rows_)
        row.resize(languageCount);
    languages_ = languageCount;
}

void MessageTable::clear() {
    rows_.clear();
    languages_ = 0;
}

void MessageTable::set(int id, int language, const String& text) {
    if (id < 0 || language < 0)
        return;
    if (id >= messageCount() || language >= languages_)
        resize(id >= messageCount() ? id + 1 : messageCount(),
               language >= languages_ ? language + 1 : languages_);
    rows_.at(id).at(language) = text;
}

const String* MessageTable::find(int id, int language) const {
    const Array<String>* row = rows_.tryAt(id);
    return row ? row->tryAt(language) : nullptr;
}

String messageFrom(const MessageTable& table, int id, int language, const String& productName,
                   const String& windowsDir) {
    const String* text = table.find(id, language);
    if (!text)
        return String();
    String result = *text;
    result.replaceAll("<product>", productName.c_str(), kFindNoCase);
    result.replaceAll("<os>", windowsDir.c_str(), kFindNoCase);
    return result;
}

String formatWithCode(const String& format, int code) {
    String result;
    const int n = format.length();
    for (int i = 0; i < n; ++i) {
        char c = format.charAt(i);
        if (c == '%' && format.charAt(i + 1) == 'd') {
            result.appendFormat("%d", code);
            ++i;
        } else if (c == '%' && format.charAt(i + 1) == '%') {
            result.append('%');
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

String formatWithText(const String& format, const String& text) {
    String result;
    const int n = format.length();
    for (int i = 0; i < n; ++i) {
        const char c = format.charAt(i);
        if (c == '%' && format.charAt(i + 1) == 's') {
            result.append(text);
            ++i;
        } else if (c == '%' && format.charAt(i + 1) == '%') {
            result.append('%');
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

String formatMessage(const String& format, std::initializer_list<MessageArgument> arguments) {
    String result;
    const MessageArgument* next = arguments.begin();
    const int n = format.length();
    for (int i = 0; i < n; ++i) {
        const char c = format.charAt(i);
        const char conversion = c == '%' ? format.charAt(i + 1) : 0;
        if (conversion == 's' || conversion == 'c' || conversion == 'd') {
            if (next != arguments.end())
                result.append((next++)->text);
            ++i;
        } else if (conversion == '%') {
            result.append('%');
            ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}
