// The [[delete]], [[associations]] and [[uninstall-values]] lists.
#include "core/DateTime.h"
#include "keld/ProjectNames.h"
#include "keld/ProjectReading.h"

namespace keld {

namespace {

// The deletion conditions 1 to 3 compare dates, 4 to 6 sizes.
constexpr uint64_t kFirstDateCondition = 1, kLastDateCondition = 3;
constexpr uint64_t kFirstSizeCondition = 4, kLastSizeCondition = 6;

bool named(ProjectReading& r, const toml::table& table, const char* key,
           const std::vector<NamedValue>& names, uint64_t& out) {
    std::string name;
    if (!table.get(key))
        return true;
    if (!r.text(table, key, name))
        return false;
    const std::optional<uint64_t> value = valueOf(names, name);
    if (!value) {
        r.error(*table.get(key),
                "unknown " + std::string(key) + " \"" + name + "\"; known are " + nameList(names));
        return false;
    }
    out = *value;
    return true;
}

void required(ProjectReading& r, const toml::table& table, const char* key, const String& value,
              const char* what) {
    if (value.isBlank())
        r.error(table.get(key) ? table.get(key)->source() : table.source(),
                std::string(what) + " needs a \"" + key + "\"");
}

void readDeletions(ProjectReading& r, const toml::table& root, InstallSettings& s) {
    const toml::array* list = r.tables(root, "delete");
    if (!list)
        return;
    if (int64_t(list->size()) > kMaxFileDeletions)
        r.error(list->source(), "at most " + std::to_string(kMaxFileDeletions) +
                                    " [[delete]] entries, not " + std::to_string(list->size()));
    for (const toml::node& node : *list) {
        const toml::table& t = *node.as_table();
        r.onlyKeys(t, {"pattern", "condition", "value", "at-restart"}, "[[delete]]");
        FileDeletion d;
        r.text(t, "pattern", d.pattern);
        required(r, t, "pattern", d.pattern, "a [[delete]] entry");
        if (d.pattern.equals(kDeletionListEnd))
            r.error(*t.get("pattern"), std::string("the pattern \"") + kDeletionListEnd +
                                           "\" would end the deletion list");
        uint64_t condition = 0;
        named(r, t, "condition", deletionConditionNames(), condition);
        d.condition = uint8_t(condition);
        r.text(t, "value", d.conditionValue);
        DateTime date;
        if (condition >= kFirstDateCondition && condition <= kLastDateCondition &&
            !date.parse(d.conditionValue.c_str()))
            r.error(t.get("value") ? t.get("value")->source() : t.source(),
                    "a date condition needs a date \"value\" such as \"2024-05-01 12:00\"");
        if (condition >= kFirstSizeCondition && condition <= kLastSizeCondition &&
            d.conditionValue.isBlank())
            r.error(t.source(), "a size condition needs a size \"value\" in bytes");
        bool atRestart = false;
        r.boolean(t, "at-restart", atRestart);
        d.flags = atRestart ? kDeleteAtRestart : 0;
        s.fileDeletions.append(d);
    }
}

void readAssociations(ProjectReading& r, const toml::table& root, InstallSettings& s) {
    const toml::array* list = r.tables(root, "associations");
    if (!list)
        return;
    if (int64_t(list->size()) > kAssociationCountRange.max)
        r.error(list->source(), "too many [[associations]]: " + std::to_string(list->size()));
    for (const toml::node& node : *list) {
        const toml::table& t = *node.as_table();
        r.onlyKeys(t,
                   {"extension", "type", "description", "verb", "label", "command", "language",
                    "icon", "default"},
                   "[[associations]]");
        FileAssociation a;
        a.verb = "open";
        r.text(t, "extension", a.extension);
        r.text(t, "type", a.fileType);
        r.text(t, "description", a.fileTypeDescription);
        r.text(t, "verb", a.verb);
        r.text(t, "label", a.verbLabel);
        r.text(t, "command", a.commandLine);
        r.text(t, "language", a.language);
        r.text(t, "icon", a.defaultIcon);
        bool isDefault = false;
        r.boolean(t, "default", isDefault);
        a.flags = isDefault ? kAssociationDefaultVerb : 0;
        required(r, t, "extension", a.extension, "an association");
        required(r, t, "verb", a.verb, "an association");
        required(r, t, "command", a.commandLine, "an association");
        // An association for a language the installer does not carry never applies.
        bool known = a.language.isEmpty();
        for (const String& language : s.languages)
            known = known || language.equalsString(a.language);
        if (!known)
            r.error(*t.get("language"), std::string("the language \"") + a.language.c_str() +
                                            "\" is not one of the project's languages");
        s.fileAssociations.append(a);
    }
}

void readUninstallValues(ProjectReading& r, const toml::table& root, InstallSettings& s) {
    const toml::array* list = r.tables(root, "uninstall-values");
    if (!list)
        return;
    if (int64_t(list->size()) > kUninstallDataCountRange.max)
        r.error(list->source(), "too many [[uninstall-values]]: " + std::to_string(list->size()));
    for (const toml::node& node : *list) {
        const toml::table& t = *node.as_table();
        r.onlyKeys(t, {"name", "type", "value"}, "[[uninstall-values]]");
        UninstallData d;
        r.text(t, "name", d.name);
        required(r, t, "name", d.name, "an uninstall value");
        uint64_t type = UninstallText;
        named(r, t, "type", uninstallValueTypeNames(), type);
        d.type = uint8_t(type);
        if (const toml::node* value = t.get("value");
            value && value->is_integer() && type == UninstallNumber) {
            d.value = String(std::to_string(value->as_integer()->get()).c_str());
        } else {
            r.text(t, "value", d.value);
        }
        s.uninstallData.append(d);
    }
}

} // namespace

void readRegistryLists(ProjectReading& r, const toml::table& root) {
    InstallSettings& s = r.project().settings;
    readDeletions(r, root, s);
    readAssociations(r, root, s);
    readUninstallValues(r, root, s);
}

} // namespace keld
