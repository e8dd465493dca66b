#include "installer/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> atomsOf(const char* text) {
    String rest(text);
    std::vector<std::string> atoms;
    for (;;) {
        String atom = takeCommandLineAtom(rest);
        if (atom.isEmpty())
            return atoms;
        atoms.emplace_back(atom.c_str(), atom.length());
    }
}

TEST(CommandLineAtoms, SplitsOnWhiteSpaceAndKeepsQuotedSections) {
    struct Case {
        const char* text;
        std::vector<std::string> atoms;
    } cases[] = {
        {"", {}},
        {"  \t\r\n ", {}},
        {"/a", {"/a"}},
        {"/a\t/d:x\n-n:y", {"/a", "/d:x", "-n:y"}},
        {"/d:\"C:\\Program Files\\X\" /a", {"/d:\"C:\\Program Files\\X\"", "/a"}},
        {"/d:\"C:\\X", {"/d:\"C:\\X\""}},
        {"/d:C:\\X\"", {"/d:C:\\X\"\""}},
        {"/b2:\"say \"\"hi\"\"\"", {"/b2:\"say \"hi\"\""}},
        {"a\"b c\"d e", {"a\"b c\"d", "e"}},
        {"\"\"", {"\"\""}},
        {"x\vy\fz", {"x", "y", "z"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(atomsOf(c.text), c.atoms) << "text: " << c.text;
}

struct Parsed {
    bool ok;
    CommandLine line;
    std::string heading;
};

Parsed parse(const char* text) {
    Parsed p;
    String heading;
    p.ok = parseCommandLine(text, p.line, heading);
    p.heading.assign(heading.c_str(), heading.length());
    return p;
}

std::string str(const String& s) {
    return std::string(s.c_str(), s.length());
}

TEST(CommandLineSwitches, SetTheirValues) {
    struct Case {
        const char* text;
        bool automatic;
        bool uninstall;
        const char* installDir;
        const char* productName;
        const char* uninstallName;
        const char* runOnExit;
        const char* batch[3];
    } cases[] = {
        {"", false, false, "", "", "", "", {"", "", ""}},
        {"/a /a", true, false, "", "", "", "", {"", "", ""}},
        {"-A", true, false, "", "", "", "", {"", "", ""}},
        {"/d:\"C:\\Program Files\\Acme\"",
         false,
         false,
         "C:\\Program Files\\Acme",
         "",
         "",
         "",
         {"", "", ""}},
        {"/D:C:\\Acme", false, false, "C:\\Acme", "", "", "", {"", "", ""}},
        {"/d:\"C:\\Acme", false, false, "C:\\Acme", "", "", "", {"", "", ""}},
        {"/d:C:\\Acme\"", false, false, "C:\\Acme\"\"", "", "", "", {"", "", ""}},
        {"/d:x /d:y", false, false, "y", "", "", "", {"", "", ""}},
        {"/n:\"Acme Notes\" /n:Other", false, false, "", "Other", "", "", {"", "", ""}},
        {"/uninstall", false, true, "", "", "", "", {"", "", ""}},
        {"/u:\"Acme Notes\" /a", true, true, "", "", "Acme Notes", "", {"", "", ""}},
        {"-U:acme", false, true, "", "", "acme", "", {"", "", ""}},
        {"/u:first /u", false, true, "", "", "first", "", {"", "", ""}},
        {"/r:\"notepad.exe `c:\\a b.txt`\"",
         false,
         false,
         "",
         "",
         "",
         "notepad.exe \"c:\\a b.txt\"",
         {"", "", ""}},
        {"/b1:\"echo one~~echo two\"",
         false,
         false,
         "",
         "",
         "",
         "",
         {"echo one\r\necho two", "", ""}},
        {"/B2:\"echo \"\"quoted\"\"\" /b3:\"del `x y`\"",
         false,
         false,
         "",
         "",
         "",
         "",
         {"", "echo \"quoted\"", "del \"x y\""}},
        {"/", false, false, "", "", "", "", {"", "", ""}},
        {"/ /a", true, false, "", "", "", "", {"", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Parsed p = parse(c.text);
        ASSERT_TRUE(p.ok) << p.heading;
        EXPECT_EQ(p.line.automaticMode, c.automatic);
        EXPECT_EQ(p.line.uninstallMode, c.uninstall);
        EXPECT_EQ(str(p.line.installDir), c.installDir);
        EXPECT_EQ(str(p.line.productName), c.productName);
        EXPECT_EQ(str(p.line.uninstallName), c.uninstallName);
        EXPECT_EQ(str(p.line.runOnExit), c.runOnExit);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(str(p.line.extraBatch[i]), c.batch[i]) << "batch " << i + 1;
    }
}

TEST(CommandLineSwitches, RejectWithTheUsageHeading) {
    struct Case {
        const char* text;
        const char* heading;
    } cases[] = {
        {"hello", "Unexpected command line parameter:\nhello"},
        {"/a \"quoted arg\"", "Unexpected command line parameter:\n\"quoted arg\""},
        {"/x", "Illegal command line atom:\nx"},
        {"/auto", "Illegal command line atom:\nauto"},
        {"-r:notepad", "Illegal command line atom:\nr:notepad"},
        {"/b4:\"x\"", "Illegal command line atom:\nb4:\"x\""},
        {"/a /x /y", "Illegal command line atom:\nx"},
    };
    for (const Case& c : cases) {
        Parsed p = parse(c.text);
        EXPECT_FALSE(p.ok) << c.text;
        EXPECT_EQ(p.heading, c.heading) << c.text;
    }
}

TEST(CommandLineSwitches, OnlyNineteenAtomsAreTaken) {
    std::string text;
    for (int i = 0; i < 19; ++i)
        text += "/a ";
    Parsed p = parse((text + "/illegal").c_str());
    EXPECT_TRUE(p.ok) << p.heading;
    p = parse((text.substr(3) + "/illegal").c_str());
    EXPECT_FALSE(p.ok);
}

TEST(CommandLineUsage, ListsTheSwitchesAndNamesTheInstaller) {
    String text = usageText("Product name required", "setup.exe");
    const char* expected =
        "Product name required\r\n"
        "\r\n"
        "Usage:\r\n"
        "setup.exe [/a] [/b1:\"commands\"] [/b2:\"commands\"] [/b3:\"commands\"] [/d:\"dir\"] "
        "[/n:\"name\"] [/u:\"name\"] [/r:\"program\"]\r\n"
        "\r\n"
        "/a                  \tAutomatic mode.\r\n"
        "/d:\"dir\"        \tOverride installation directory.\r\n"
        "/b1:\"commands\"\tAdd commands to the end of the Pre-Installation Batch.\r\n"
        "/b2:\"commands\"\tAdd commands to the end of the Post-Installation Batch.\r\n"
        "/b3:\"commands\"\tAdd commands to the end of the Installation-Exit Batch.\r\n"
        "/n:\"name\"\tOverride product name.\r\n"
        "/u:\"name\"\tUninstall product by name.\r\n"
        "/r:\"program\"\tRun the specified program after a successful installation.";
    EXPECT_EQ(str(text), expected);
    // A heading holding printf directives is shown as it stands.
    EXPECT_EQ(str(usageText("Unexpected command line parameter:\n%s%n", "a.exe")).substr(0, 39),
              "Unexpected command line parameter:\n%s%n");
}

TEST(CommandLineSelfName, TakesTheFirstWordAndAddsExe) {
    struct Case {
        const char* commandLine;
        const char* file;
    } cases[] = {
        {"\"C:\\Down loads\\setup\" /a", "C:\\Down loads\\setup.EXE"},
        {"\"C:\\my.dir\\setup\"", "C:\\my.dir\\setup.EXE"},
        {"C:\\x\\setup.exe /a", "C:\\x\\setup.exe"},
        {"  \t setup", "setup.EXE"},
        {"\"C:\\a \"\"b\"\"\\setup.exe\" x", "C:\\a \"b\"\\setup.exe"},
        {"\"C:\\unclosed\\setup", "C:\\unclosed\\setup.EXE"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(installerFileFromCommandLine(c.commandLine)), c.file) << c.commandLine;
}

} // namespace
