// The [[languages]] list and its message tables.
#include "keld/DefaultMessages.h"
#include "keld/ProjectReading.h"

#include <cstring>

namespace keld {

namespace {

// The printf conversions of `text`, such as "%s%d"; "%%" is not one.
std::string conversionsOf(const std::string& text) {
    std::string found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        size_t j = i + 1;
        while (j < text.size() && std::strchr("-+ #0123456789.lhz", text[j]))
            ++j;
        if (j >= text.size())
            break;
        if (text[j] != '%' || j != i + 1)
            found += std::string("%") + text[j];
        i = j;
    }
    return found;
}

bool readMessages(ProjectReading& r, const toml::table& language, const std::string& name,
                  bool english, std::vector<std::string>& texts) {
    texts.assign(kMessageIdCount, std::string());
    if (english)
        for (int id = 0; id < kMessageIdCount; ++id)
            texts[id] = defaultMessage(id);
    std::vector<bool> given(kMessageIdCount, false);
    bool ok = true;
    if (const toml::table* messages = r.table(language, "messages")) {
        for (auto&& [key, value] : *messages) {
            const std::string id = std::string(key.str());
            const bool numeric = !id.empty() && id.size() <= 2 &&
                                 id.find_first_not_of("0123456789") == std::string::npos;
            const int number = numeric ? std::stoi(id) : -1;
            if (number < 0 || number >= kMessageIdCount) {
                r.error(key.source(), "\"" + id + "\" is not a message number (0 to " +
                                          std::to_string(kMessageIdCount - 1) + ")");
                ok = false;
                continue;
            }
            std::string utf8, text;
            if (!r.text(*messages, key.str().data(), utf8) || !r.installerText(value, utf8, text)) {
                ok = false;
                continue;
            }
            const std::string expected = messageArguments(number);
            if (!expected.empty() && conversionsOf(text) != expected) {
                r.error(value, "message " + id + " must hold " + expected +
                                   " (what the installer fills in), not \"" + conversionsOf(text) +
                                   "\"");
                ok = false;
            }
            texts[number] = text;
            given[number] = true;
        }
    }
    if (english)
        return ok;
    std::string missing;
    for (int id = 0; id < kMessageIdCount; ++id)
        if (!given[id] && !defaultMessage(id).empty())
            missing += (missing.empty() ? "" : ", ") + std::to_string(id);
    if (!missing.empty()) {
        r.error(language.source(),
                "the language \"" + name + "\" must give every message; it lacks " + missing);
        ok = false;
    }
    return ok;
}

void useLanguages(InstallSettings& s, const std::vector<std::string>& names,
                  const std::vector<std::vector<std::string>>& tables) {
    s.languages = Array<String>();
    s.messageTable.clear();
    s.messageTable.resize(kMessageIdCount, int(names.size()));
    for (size_t language = 0; language < names.size(); ++language) {
        s.languages.append(String(names[language].c_str()));
        for (int id = 0; id < kMessageIdCount; ++id) {
            const std::string& text = tables[language][id];
            s.messageTable.set(id, int(language), String(text.data(), int(text.size())));
        }
    }
}

} // namespace

void readLanguages(ProjectReading& r, const toml::table& root) {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> tables;
    const toml::array* languages = r.tables(root, "languages");
    if (languages) {
        for (const toml::node& node : *languages) {
            const toml::table& language = *node.as_table();
            r.onlyKeys(language, {"name", "messages", "codepage"}, "[[languages]]");
            // A language's name and messages are written in its own code page,
            // the product's unless it names one.
            const int productCodePage = r.codePage();
            int codePage = productCodePage;
            r.codePageKey(language, codePage);
            r.useCodePage(codePage);
            std::string utf8, name;
            r.text(language, "name", utf8);
            if (utf8.empty()) {
                r.error(language.source(), "a language needs a \"name\"");
                r.useCodePage(productCodePage);
                continue;
            }
            if (!r.installerText(*language.get("name"), utf8, name)) {
                r.useCodePage(productCodePage);
                continue;
            }
            for (const std::string& earlier : names)
                if (earlier == name)
                    r.error(*language.get("name"), "the language \"" + name + "\" comes twice");
            tables.emplace_back();
            readMessages(r, language, name, name == kDefaultLanguage, tables.back());
            names.push_back(name);
            r.useCodePage(productCodePage);
        }
    }
    if (names.empty()) {
        names.push_back(kDefaultLanguage);
        tables.emplace_back();
        for (int id = 0; id < kMessageIdCount; ++id)
            tables.back().push_back(defaultMessage(id));
    }
    if (int64_t(names.size()) > kLanguageCountRange.max)
        r.error(languages->source(), "at most " + std::to_string(kLanguageCountRange.max) +
                                         " languages, not " + std::to_string(names.size()));
    useLanguages(r.project().settings, names, tables);
}

} // namespace keld
