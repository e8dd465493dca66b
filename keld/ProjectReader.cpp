#include "keld/ProjectReading.h"

#include "keld/Files.h"
#include "keld/PathText.h"

namespace keld {

std::string describe(const SourceLocation& where, const std::string& what) {
    if (where.line <= 0)
        return where.file + ": " + what;
    return where.file + ":" + std::to_string(where.line) + ":" + std::to_string(where.column) +
           ": " + what;
}

void ProjectReading::error(const toml::source_region& where, const std::string& what) {
    errors_.messages.push_back(describe(
        SourceLocation{project_.path, int(where.begin.line), int(where.begin.column)}, what));
}

void ProjectReading::error(const std::string& what) {
    errors_.messages.push_back(describe(SourceLocation{project_.path, 0, 0}, what));
}

void ProjectReading::onlyKeys(const toml::table& table, std::initializer_list<const char*> known,
                              const char* tableName) {
    for (auto&& [key, value] : table) {
        bool found = false;
        for (const char* name : known)
            found = found || key.str() == name;
        if (!found)
            error(key.source(), "unknown key \"" + std::string(key.str()) + "\" in " + tableName);
    }
}

bool ProjectReading::text(const toml::table& table, const char* key, std::string& out) {
    const toml::node* node = table.get(key);
    if (!node)
        return true;
    const auto* value = node->as_string();
    if (!value) {
        error(*node, std::string("\"") + key + "\" must be a text in double quotes");
        return false;
    }
    if (value->get().find('\0') != std::string::npos) {
        error(*node, std::string("\"") + key + "\" must not hold a zero character");
        return false;
    }
    out = value->get();
    return true;
}

bool ProjectReading::text(const toml::table& table, const char* key, String& out) {
    std::string value;
    if (!table.get(key))
        return true;
    std::string converted;
    if (!text(table, key, value) || !installerText(*table.get(key), value, converted))
        return false;
    out = String(converted.data(), int(converted.size()));
    return true;
}

bool ProjectReading::installerText(const toml::node& where, const std::string& utf8,
                                   std::string& out) {
    CodePageFailure failure;
    if (toCodePage(utf8, codePage_, out, failure))
        return true;
    error(where, "the text \"" + utf8 + "\" " + describeFailure(utf8, codePage_, failure));
    return false;
}

bool ProjectReading::installerFile(const std::string& path, const std::string& utf8,
                                   std::string& out) {
    // Editors on Windows start UTF-8 with a byte order mark, which is no text.
    const bool marked = utf8.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::string text = marked ? utf8.substr(3) : utf8;
    CodePageFailure failure;
    if (toCodePage(text, codePage_, out, failure))
        return true;
    int line = 0, column = 0;
    lineAndColumn(text, failure.offset, line, column);
    errors_.messages.push_back(describe(SourceLocation{path, line, column},
                                        "the page " + describeFailure(text, codePage_, failure)));
    return false;
}

bool ProjectReading::codePageKey(const toml::table& table, int& out) {
    int64_t value = 0;
    if (!table.get("codepage"))
        return true;
    if (!integer(table, "codepage", 0, 65535, value))
        return false;
    if (!codePageTable(int(value))) {
        error(*table.get("codepage"), "keld writes the Windows code pages " + codePageList() +
                                          ", not " + std::to_string(value));
        return false;
    }
    out = int(value);
    return true;
}

bool ProjectReading::boolean(const toml::table& table, const char* key, bool& out) {
    const toml::node* node = table.get(key);
    if (!node)
        return true;
    if (const auto* value = node->as_boolean()) {
        out = value->get();
        return true;
    }
    error(*node, std::string("\"") + key + "\" must be true or false");
    return false;
}

bool ProjectReading::integer(const toml::table& table, const char* key, int64_t min, int64_t max,
                             int64_t& out) {
    const toml::node* node = table.get(key);
    if (!node)
        return true;
    const auto* value = node->as_integer();
    if (!value) {
        error(*node, std::string("\"") + key + "\" must be a whole number");
        return false;
    }
    if (value->get() < min || value->get() > max) {
        error(*node, std::string("\"") + key + "\" must lie between " + std::to_string(min) +
                         " and " + std::to_string(max) + ", not " + std::to_string(value->get()));
        return false;
    }
    out = value->get();
    return true;
}

bool ProjectReading::colour(const toml::table& table, const char* key, int32_t& out) {
    std::string value;
    if (!table.get(key))
        return true;
    if (!text(table, key, value))
        return false;
    const bool shaped = value.size() == 7 && value[0] == '#' &&
                        value.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
    if (!shaped) {
        error(*table.get(key), std::string("\"") + key + "\" must be a colour such as \"#1E90FF\"");
        return false;
    }
    const auto rgb = static_cast<uint32_t>(std::stoul(value.substr(1), nullptr, 16));
    out = static_cast<int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    return true;
}

bool ProjectReading::time(const toml::table& table, const char* key,
                          std::optional<TimeStamp>& out) {
    const toml::node* node = table.get(key);
    if (!node)
        return true;
    TimeStamp stamp;
    if (const auto* dt = node->as_date_time()) {
        const toml::date_time& v = dt->get();
        stamp = TimeStamp{v.date.year, v.date.month,  v.date.day,
                          v.time.hour, v.time.minute, v.time.second};
    } else if (const auto* d = node->as_date()) {
        stamp.year = d->get().year;
        stamp.month = d->get().month;
        stamp.day = d->get().day;
    } else {
        error(*node, std::string("\"") + key +
                         "\" must be a date and time such as 2024-05-01T12:00:00, or a date");
        return false;
    }
    out = stamp;
    return true;
}

std::string ProjectReading::resolve(const std::string& path) const {
    return joinPath(project_.baseDir, path);
}

bool ProjectReading::readSource(const toml::node& where, const std::string& path,
                                std::string& out) {
    if (!readFile(path, out)) {
        error(where, unreadableFile("the file", path));
        return false;
    }
    project_.settingsSources.push_back(path);
    return true;
}

bool ProjectReading::fileContents(const toml::table& table, const char* key, String& out) {
    std::string name;
    if (!table.get(key))
        return true;
    if (!text(table, key, name))
        return false;
    std::string bytes;
    if (!readSource(*table.get(key), resolve(name), bytes))
        return false;
    out = String(bytes.data(), int(bytes.size()));
    return true;
}

const toml::table* ProjectReading::table(const toml::table& parent, const char* key) {
    const toml::node* node = parent.get(key);
    if (!node)
        return nullptr;
    if (const toml::table* t = node->as_table())
        return t;
    error(*node, std::string("\"") + key + "\" must be a table ([" + key + "])");
    return nullptr;
}

const toml::array* ProjectReading::tables(const toml::table& parent, const char* key) {
    const toml::node* node = parent.get(key);
    if (!node)
        return nullptr;
    const toml::array* array = node->as_array();
    if (array && array->is_array_of_tables())
        return array;
    if (array && array->empty())
        return array;
    error(*node, std::string("\"") + key + "\" must be a list of tables ([[" + key + "]])");
    return nullptr;
}

bool readProjectText(const std::string& text, const std::string& path, Project& project,
                     ProjectErrors& errors) {
    project = Project();
    project.path = path;
    project.baseDir = folderOf(path);
    ProjectReading r(project, errors);

    // toml++ is built to return its errors (cmake/HeaderLibraries.cmake).
    toml::parse_result parsed = toml::parse(text, path);
    if (!parsed) {
        r.error(parsed.error().source(), std::string(parsed.error().description()));
        return false;
    }
    const toml::table root = std::move(parsed).table();
    r.onlyKeys(root,
               {"product", "display", "pages", "batches", "languages", "delete", "associations",
                "uninstall-values", "files", "output"},
               "the project");
    // The product's code page first: every name and path is written in it.
    if (const toml::table* product = root.get_as<toml::table>("product")) {
        int codePage = kDefaultCodePage;
        r.codePageKey(*product, codePage);
        r.useCodePage(codePage);
    }
    readProductSection(r, root);
    readDisplaySection(r, root);
    readPagesAndBatches(r, root);
    readLanguages(r, root);
    readRegistryLists(r, root);
    readFiles(r, root);
    readOutput(r, root);
    return errors.empty();
}

bool readProject(const std::string& path, Project& project, ProjectErrors& errors) {
    std::string text;
    if (!readFile(path, text)) {
        project = Project();
        errors.messages.push_back(path + ": " + unreadableFile("the project file", path));
        return false;
    }
    return readProjectText(text, path, project, errors);
}

} // namespace keld
