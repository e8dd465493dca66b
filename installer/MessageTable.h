#pragma once
// Every sentence the installer shows: rows by message id, columns by language.

#include "core/Array.h"
#include "core/String.h"

#include <initializer_list>

class MessageTable {
public:
    int messageCount() const { return rows_.count(); }
    int languageCount() const { return languages_; }

    // Sets the table's shape; existing texts that still fit are kept.
    void resize(int messageCount, int languageCount);
    void clear();

    // Stores `text` at (id, language), growing the table to hold it.
    void set(int id, int language, const String& text);
    // Null when the row or the column is missing.
    const String* find(int id, int language) const;

private:
    Array<Array<String>> rows_;
    int languages_ = 0;
};

// The text of message `id` in `language`, with every "<product>" and "<os>"
// (in any letter case) replaced; empty when the table has no such text.
String messageFrom(const MessageTable& table, int id, int language, const String& productName,
                   const String& windowsDir);

// `format` with each "%d" replaced by `code` and "%%" by "%". The corruption
// text may come from a damaged archive, so it never reaches printf.
String formatWithCode(const String& format, int code);
// The same for texts: each "%s" replaced by `text`, "%%" by "%", anything
// else kept, so that an archive's message is never taken as a format.
String formatWithText(const String& format, const String& text);

// One value for a message's conversions.
struct MessageArgument {
    MessageArgument(const String& value) : text(value) {}
    MessageArgument(const char* value) : text(value) {}
    MessageArgument(char value) : text(&value, 1) {}
    String text;
};

// A message with several values: each "%s", "%c" or "%d" takes the next value
// as text (none left: nothing), "%%" is "%", anything else stays as it is.
String formatMessage(const String& format, std::initializer_list<MessageArgument> arguments);
