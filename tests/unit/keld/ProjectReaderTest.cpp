#include "format/FileEntry.h"
#include "keld/DefaultMessages.h"
#include "keld/PathText.h"
#include "keld/Project.h"
#include "tests/unit/keld/ProjectTestFolder.h"

#include <gtest/gtest.h>

namespace {

using keld::Project;
using keld::ProjectErrors;

struct BrokenProject {
    const char* what;
    std::string toml;
    std::string message; // expected among the errors; ":line:column: ..." right after the path
};

const std::string kProduct = "[product]\nname = \"Acme\"\n";

class ProjectReaderTest : public ::testing::Test {
protected:
    ProjectReaderTest() {
        folder_.write("dist/notes.exe", "MZ program");
        folder_.write("dist/help/a.html", "a");
        folder_.write("dist/help/b.html", "b");
        folder_.write("license.txt", "line one\nline two\n");
        folder_.write("utf16.txt", std::string("\xFF\xFEL\0i", 5));
        folder_.write("picture.bmp", "not a bitmap at all");
    }

    bool read(const std::string& toml, Project& project, ProjectErrors& errors) {
        const std::string path = folder_.write("project.toml", toml);
        return keld::readProject(path, project, errors);
    }

    ProjectTestFolder folder_;
};

TEST_F(ProjectReaderTest, BrokenProjectsSayWhereAndWhat) {
    std::string twentyOne = "license = [";
    for (int i = 0; i < 21; ++i)
        twentyOne += std::string(i ? ", " : "") + "\"license.txt\"";
    twentyOne += "]\n";
    const BrokenProject cases[] = {
        {"TOML syntax", "[product]\nname = \n", ":2:8: "},
        {"no product", "[output]\n", ": the project has no [product] table"},
        {"blank name", "[product]\nname = \"  \"\n", ":2:8: the product needs a \"name\""},
        {"misspelt flag", kProduct + "flags = [\"Uninstalable\"]\n",
         ":3:10: unknown flag \"Uninstalable\""},
        {"misspelt key", kProduct + "pubisher = \"Acme\"\n",
         ":3:1: unknown key \"pubisher\" in [product]"},
        {"number for text", kProduct + "version = 2.1\n",
         ":3:11: \"version\" must be a text in double quotes"},
        {"colour", kProduct + "[display]\ntop-color = \"#12345\"\n",
         ":4:13: \"top-color\" must be a colour such as \"#1E90FF\""},
        {"step pause", kProduct + "step-pause = 10000\n",
         ":3:14: \"step-pause\" must lie between 0 and 9999, not 10000"},
        {"bitmap size", kProduct + "[display]\nbitmap-size = 101\n",
         "\"bitmap-size\" must lie between 0 and 100"},
        {"not a bitmap", kProduct + "[display]\nbitmap = \"picture.bmp\"\n",
         ":4:10: the background bitmap is not a .bmp file"},
        {"21 licence pages", kProduct + "[pages]\n" + twentyOne,
         ":4:11: at most 20 license pages, not 21"},
        {"missing page", kProduct + "[pages]\nreadme = \"gone.txt\"\n",
         ":4:10: cannot read the file"},
        {"UTF-16 page", kProduct + "[pages]\nreadme = \"utf16.txt\"\n",
         "holds a zero byte; save it as UTF-8 text"},
        {"message conversions",
         kProduct + "[[languages]]\nname = \"English\"\n"
                    "messages = { 13 = \"Broken: %s\" }\n",
         ":5:19: message 13 must hold %d (what the installer fills in), not \"%s\""},
        {"message number",
         kProduct + "[[languages]]\nname = \"English\"\n"
                    "messages = { 72 = \"x\" }\n",
         ":5:14: \"72\" is not a message number (0 to 71)"},
        {"partial language",
         kProduct + "[[languages]]\nname = \"Deutsch\"\n"
                    "messages = { 0 = \"<product> Installation\" }\n",
         ":3:1: the language \"Deutsch\" must give every message; it lacks 2, 3,"},
        {"missing source", kProduct + "[[files]]\nsource = \"dist/gone.exe\"\n",
         ":4:10: no file \"dist/gone.exe\""},
        {"pattern matches nothing", kProduct + "[[files]]\nsource = \"dist/*.dll\"\n",
         ":4:10: no file \"dist/*.dll\""},
        {"unknown kind", kProduct + "[[files]]\nsource = \"dist/notes.exe\"\nkind = \"driver\"\n",
         ":5:8: unknown kind \"driver\"; known are \"install-dir\", \"shared\""},
        {"font without name",
         kProduct + "[[files]]\nsource = \"dist/notes.exe\"\nkind = \"font\"\n",
         "a font needs its \"font-name\""},
        {"shortcut on a pattern",
         kProduct + "[[files]]\nsource = \"dist/help/*\"\nstart-menu-shortcut = \"Help\"\n",
         ":4:10: \"name\", \"target\", \"font-name\" and shortcuts need a single source file"},
        {"two shortcut names",
         kProduct + "[[files]]\nsource = \"dist/notes.exe\"\ndesktop-shortcut = \"A\"\n"
                    "start-menu-shortcut = \"B\"\n",
         "a file's shortcuts share one name; \"A\" and \"B\" differ"},
        {"version on a plain file",
         kProduct + "[[files]]\nsource = \"dist/notes.exe\"\nversion = \"1.0\"\n",
         ":5:11: only the kinds \"system\", \"com-server\", \"type-library\" and \"versioned\""},
        {"absolute destination",
         kProduct + "[[files]]\nsource = \"dist/notes.exe\"\nname = \"C:\\\\x.exe\"\n",
         "the destination \"C:\\x.exe\" must be a relative path"},
        {"deletion date",
         kProduct + "[[delete]]\npattern = \"*.tmp\"\ncondition = \"date-equal\"\n"
                    "value = \"yesterday\"\n",
         ":6:9: a date condition needs a date \"value\""},
        {"deletion end marker", kProduct + "[[delete]]\npattern = \"~~THE END~~\"\n",
         "would end the deletion list"},
        {"association language",
         kProduct + "[[associations]]\nextension = \".txt\"\ncommand = \"x\"\n"
                    "language = \"Deutsch\"\n",
         ":6:12: the language \"Deutsch\" is not one of the project's languages"},
        {"association without command", kProduct + "[[associations]]\nextension = \".txt\"\n",
         "an association needs a \"command\""},
        {"uninstall value type",
         kProduct + "[[uninstall-values]]\nname = \"X\"\ntype = \"binary\"\n",
         ":5:8: unknown type \"binary\"; known are \"text\", \"expand-text\" or \"number\""},
        {"compression", kProduct + "[output]\ncompression = \"max\"\n",
         "\"compression\" is \"best\", \"fast\" or \"none\""},
        {"contradicting compression",
         kProduct + "flags = [\"CompressedData\"]\n[output]\ncompression = \"none\"\n",
         "the flag \"CompressedData\" contradicts compression = \"none\""},
        {"blank volume name", kProduct + "[output]\nvolume-name = \" \"\n",
         "\"volume-name\" must not be blank"},
        {"patch without Uninstallable",
         kProduct + "uninstaller-patch = \"license.txt\"\nuninstaller-patch-offset = 16\n",
         "an uninstaller patch needs the flag \"Uninstallable\""},
    };
    for (const BrokenProject& c : cases) {
        SCOPED_TRACE(c.what);
        Project project;
        ProjectErrors errors;
        EXPECT_FALSE(read(c.toml, project, errors));
        std::string all;
        for (const std::string& message : errors.messages)
            all += message + "\n";
        // Every message names the project file; a position follows it where there is one.
        const std::string expected =
            c.message[0] == ':' ? folder_.path("project.toml") + c.message : c.message;
        EXPECT_EQ(all.rfind(folder_.path("project.toml") + ":", 0), 0u) << all;
        EXPECT_NE(all.find(expected), std::string::npos) << all;
    }
}

TEST_F(ProjectReaderTest, MissingProjectFileIsNamed) {
    Project project;
    ProjectErrors errors;
    EXPECT_FALSE(keld::readProject(folder_.path("none.toml"), project, errors));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], folder_.path("none.toml") + ": cannot read the project file \"" +
                                      folder_.path("none.toml") + "\": there is no such file");
}

TEST_F(ProjectReaderTest, EnglishDefaultsFillWhatTheProjectLeavesOut) {
    Project project;
    ProjectErrors errors;
    ASSERT_TRUE(read(kProduct + "[[languages]]\nname = \"English\"\n"
                                "messages = { 42 = \"Done: <product>.\" }\n",
                     project, errors))
        << errors.messages[0];
    const MessageTable& table = project.settings.messageTable;
    ASSERT_EQ(table.languageCount(), 1);
    ASSERT_EQ(table.messageCount(), keld::kMessageIdCount);
    EXPECT_STREQ(table.find(42, 0)->c_str(), "Done: <product>.");
    EXPECT_EQ(table.find(13, 0)->c_str(), keld::defaultMessage(13));
    EXPECT_STREQ(project.settings.languages[0].c_str(), "English");
}

TEST_F(ProjectReaderTest, EveryDefaultMessageCarriesTheConversionsOfItsRole) {
    // A default that did not match its role would be refused in a project.
    for (int id = 0; id < keld::kMessageIdCount; ++id) {
        Project project;
        ProjectErrors errors;
        std::string text = keld::defaultMessage(id);
        std::string escaped;
        for (char c : text)
            escaped += c == '\\'   ? "\\\\"
                       : c == '\r' ? "\\r"
                       : c == '\n' ? "\\n"
                                   : std::string(1, c);
        EXPECT_TRUE(read(kProduct + "[[languages]]\nname = \"English\"\nmessages = { " +
                             std::to_string(id) + " = \"" + escaped + "\" }\n",
                         project, errors))
            << id << ": " << (errors.messages.empty() ? "" : errors.messages[0]);
    }
}

TEST_F(ProjectReaderTest, FoldersAndPatternsExpandInByteOrderUnderTheirDestination) {
    Project project;
    ProjectErrors errors;
    folder_.write("dist/help/sub/c.html", "c");
    ASSERT_TRUE(read(kProduct + "[[files]]\nsource = \"dist/help\"\ninto = \"docs/\"\n"
                                "[[files]]\nsource = \"dist/help/*.html\"\ninto = \"flat\"\n"
                                "permanent = true\nattributes = [\"read-only\", \"hidden\"]\n",
                     project, errors))
        << errors.messages[0];
    std::vector<std::string> names;
    for (const keld::ProjectFile& f : project.files)
        names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"docs\\a.html", "docs\\b.html", "docs\\sub\\c.html",
                                               "flat\\a.html", "flat\\b.html"}));
    EXPECT_EQ(project.files[3].options, Permanent);
    EXPECT_EQ(project.files[3].attributes, 0x3);
    EXPECT_EQ(project.files[0].attributes, -1);
}

// Sources named in each form the building machine takes: a folder with a final
// separator, a rooted path (a drive letter on Windows), Windows's backslashes,
// and names outside ASCII, which reach the archive as the project spells them.
TEST_F(ProjectReaderTest, SourcesAreFoundInEveryFormOfPath) {
    Project project;
    ProjectErrors errors;
    folder_.write("dist/caf\xC3\xA9.txt", "e");
    folder_.write("dist/guide/a.html", "g");
    folder_.write("dist/help0/a.html", "h");
    const bool windows = keld::kHostPathStyle == keld::PathStyle::Windows;
    const std::string pattern = windows ? "dist\\*\\a.html" : "dist/*/a.html";
    // TOML literal strings ('...') take backslashes as they are.
    ASSERT_TRUE(read(
        kProduct + "[[files]]\nsource = 'dist/help/'\n" + "[[files]]\nsource = '" +
            folder_.path("dist/notes.exe") + "'\n" + "[[files]]\nsource = '" + pattern + "'\n" +
            "[[files]]\nsource = 'dist/caf\xC3\xA9.txt'\ninto = 'd\xC3\xA9j\xC3\xA0'\n",
        project, errors))
        << errors.messages[0];
    std::vector<std::string> names;
    for (const keld::ProjectFile& f : project.files)
        names.push_back(f.name);
    // The installer's names are in the product's code page, Windows-1252 here.
    EXPECT_EQ(names, (std::vector<std::string>{"a.html", "b.html", "notes.exe", "a.html", "a.html",
                                               "a.html", "d\xE9j\xE0\\caf\xE9.txt"}));
    // Equal names keep the order of their folders, the same with either separator
    // ("help\" sorts after "help0\" as "help/" would not).
    ASSERT_EQ(project.files.size(), 7u);
    EXPECT_EQ(keld::fileNameOf(keld::folderOf(project.files[3].source)), "guide");
    EXPECT_EQ(keld::fileNameOf(keld::folderOf(project.files[4].source)), "help0");
    EXPECT_EQ(keld::fileNameOf(keld::folderOf(project.files[5].source)), "help");
}

} // namespace

namespace {

// Each project is refused, at the key that says it, before anything is built.
TEST_F(ProjectReaderTest, NamesWindowsCannotHoldAreRefusedWhereTheyAreSaid) {
    const std::string file = kProduct + "[[files]]\nsource = \"dist/notes.exe\"\n";
    const BrokenProject cases[] = {
        {"name climbing out", file + "name = \"..\\\\..\\\\Windows\\\\notes.exe\"\n",
         ":5:8: the destination \"..\\..\\Windows\\notes.exe\" climbs out of its folder"},
        {"into climbing out", file + "into = \"bin/../../..\"\n",
         ":5:8: the destination "
         "\"bin\\..\\..\\..\\notes.exe\" "
         "climbs out of its folder"},
        {"target climbing out", file + "target = \"%InstallDir%\\\\..\\\\..\\\\x.exe\"\n",
         ":5:10: the target \"%InstallDir%\\..\\..\\x.exe\" climbs out of its folder"},
        {"uninstaller name climbing out",
         kProduct + "flags = [\"Uninstallable\"]\nuninstaller-name = \"..\\\\Un.exe\"\n",
         ":4:20: \"uninstaller-name\" climbs out of its folder"},
        {"uninstall folder climbing out", kProduct + "uninstall-subdir = \"..\"\n",
         ":3:20: \"uninstall-subdir\" climbs out of its folder"},
        {"device", file + "name = \"NUL\"\n",
         ":5:8: the destination \"NUL\" \"NUL\" is the name "
         "of a device"},
        {"device with an extension", file + "name = \"com1.txt\"\n",
         "\"com1.txt\" is the name of a device in Windows"},
        {"device in a folder name", file + "into = \"Lpt9\"\n", "\"Lpt9\" is the name of a device"},
        {"device before blanks", file + "name = \"aux .log\"\n",
         "\"aux .log\" is the name of a "
         "device"},
        {"question mark", file + "name = \"what?.exe\"\n", "holds the character '?'"},
        {"less than", file + "into = \"a<b\"\n", "holds the character '<'"},
        {"pipe", file + "name = \"a|b.exe\"\n", "holds the character '|'"},
        {"double quote", file + "name = 'a\"b.exe'\n", "holds the character '\"'"},
        {"control character", file + "name = \"a\\tb.exe\"\n", "holds the control character 0x09"},
        {"colon inside", file + "name = \"a:b.exe\"\n", "must be a relative path"},
        {"trailing dot", file + "name = \"notes.\"\n", "\"notes.\" ends with a dot"},
        {"trailing blank", file + "into = \"docs \"\n", "\"docs \" ends with a blank"},
        {"empty folder name", file + "into = \"a//b\"\n", "has an empty name"},
        {"shortcut name", file + "start-menu-shortcut = \"Acme: Notes\"\n",
         ":5:23: the shortcut name \"Acme: Notes\" holds the character ':'"},
        {"start menu folder", kProduct + "start-menu = \"Acme\\\\Notes.\"\n",
         ":3:14: \"start-menu\" \"Notes.\" ends with a dot"},
        {"shared file in a folder",
         kProduct + "[[files]]\nsource = \"dist/notes.exe\"\nkind = \"shared\"\ninto = \"sub\"\n",
         ":6:8: the destination \"sub\\notes.exe\" has a folder, but the installer places files of "
         "the kind \"shared\" straight into their folder"},
        {"system files from a folder",
         kProduct + "[[files]]\nsource = \"dist\"\nkind = \"system\"\n",
         ":4:10: the destination \"help\\a.html\" has a folder, but the installer places files of "
         "the kind \"system\""},
        {"uninstall folder file in a folder",
         file + "in-uninstall-dir = true\nname = \"x\\\\notes.exe\"\n",
         "places files marked \"in-uninstall-dir\" straight into their folder"},
    };
    for (const BrokenProject& c : cases) {
        SCOPED_TRACE(c.what);
        Project project;
        ProjectErrors errors;
        EXPECT_FALSE(read(c.toml, project, errors));
        std::string all;
        for (const std::string& message : errors.messages)
            all += message + "\n";
        const std::string expected =
            c.message[0] == ':' ? folder_.path("project.toml") + c.message : c.message;
        EXPECT_NE(all.find(expected), std::string::npos) << all;
    }
}

// Names close to the refused ones are ordinary names, and a target override
// may start at a path variable or a drive and end at a folder.
TEST_F(ProjectReaderTest, OrdinaryNamesNearTheRefusedOnesAreTaken) {
    const std::string file = "[[files]]\nsource = \"dist/notes.exe\"\n";
    const char* const entries[] = {
        "name = \"console.txt\"\n",
        "name = \"nul2\"\n",
        "name = \"COM0\"\n",
        "name = \"lpt10.txt\"\n",
        "name = \"a.b.c\"\n",
        "name = \".profile\"\n",
        "into = \"..data\"\n",
        "target = \"%InstallDir%\\\\bin\\\\\"\n",
        "target = \"C:\\\\Tools\\\\notes.exe\"\n",
        "kind = \"system\"\ntarget = \"%SystemDir%\\\\acme\\\\\"\n",
        "kind = \"shared\"\n",
    };
    for (const char* entry : entries) {
        SCOPED_TRACE(entry);
        Project project;
        ProjectErrors errors;
        EXPECT_TRUE(read(kProduct + "uninstall-subdir = \"Uninstall\\\\Data\"\n" + file + entry,
                         project, errors))
            << errors.messages[0];
    }
}

} // namespace
