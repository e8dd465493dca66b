#pragma once
// The project reader's shared machinery: typed look-ups in a TOML table that
// report, with the file, line and column, what is wrong and where.

#include "core/String.h"
#include "keld/CodePage.h"
#include "keld/Project.h"

#include <toml++/toml.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

namespace keld {

class ProjectReading {
public:
    ProjectReading(Project& project, ProjectErrors& errors) : project_(project), errors_(errors) {}

    Project& project() { return project_; }

    void error(const toml::source_region& where, const std::string& what);
    void error(const toml::node& node, const std::string& what) { error(node.source(), what); }
    // A problem of the project as a whole, such as a missing [product] table.
    void error(const std::string& what);

    // Reports every key of `table` that is not among `known` (a misspelt
    // key would otherwise be ignored without a word).
    void onlyKeys(const toml::table& table, std::initializer_list<const char*> known,
                  const char* tableName);

    // Each returns false when the key is present but wrong (reported), and
    // leaves `out` alone when the key is absent.
    // A text for the installer: converted to the code page in use (reported
    // at the key when a character does not fit).
    bool text(const toml::table& table, const char* key, String& out);
    // The same for a text the caller holds: `utf8` as said at `where`.
    bool installerText(const toml::node& where, const std::string& utf8, std::string& out);
    // A whole text file for the installer (a page): its characters are
    // reported with the file's own line and column.
    bool installerFile(const std::string& path, const std::string& utf8, std::string& out);

    // The code page of the texts read from now on: the product's, or a
    // language's for its messages.
    int codePage() const { return codePage_; }
    void useCodePage(int codePage) { codePage_ = codePage; }
    // The "codepage" key of `table`; false (reported) for one keld does not write.
    bool codePageKey(const toml::table& table, int& out);
    bool text(const toml::table& table, const char* key, std::string& out);
    bool boolean(const toml::table& table, const char* key, bool& out);
    bool integer(const toml::table& table, const char* key, int64_t min, int64_t max, int64_t& out);
    // "#RRGGBB", stored as the Windows colour 0x00BBGGRR.
    bool colour(const toml::table& table, const char* key, int32_t& out);
    // A TOML date-time, or a date (time of day unknown).
    bool time(const toml::table& table, const char* key, std::optional<TimeStamp>& out);
    // Reads the file named by the key, relative to the project's folder.
    bool fileContents(const toml::table& table, const char* key, String& out);

    // `path` relative to the project's folder.
    std::string resolve(const std::string& path) const;
    // Reads a whole source file; false (reported at `where`) when it cannot.
    bool readSource(const toml::node& where, const std::string& path, std::string& out);

    // A single table under `key`, or null (a wrong type is reported).
    const toml::table* table(const toml::table& parent, const char* key);
    // An array of tables under `key`, or null (a wrong type is reported).
    const toml::array* tables(const toml::table& parent, const char* key);

private:
    Project& project_;
    ProjectErrors& errors_;
    int codePage_ = kDefaultCodePage;
};

// The sections, each in its own file.
void readProductSection(ProjectReading& r, const toml::table& root);
void readDisplaySection(ProjectReading& r, const toml::table& root);
void readPagesAndBatches(ProjectReading& r, const toml::table& root);
void readLanguages(ProjectReading& r, const toml::table& root);
void readRegistryLists(ProjectReading& r, const toml::table& root);
void readFiles(ProjectReading& r, const toml::table& root);
void readOutput(ProjectReading& r, const toml::table& root);

} // namespace keld
