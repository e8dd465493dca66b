#include "keld/DefaultMessages.h"

#include <array>

namespace keld {

namespace {

struct DefaultText {
    const char* text;
    const char* arguments; // the printf conversions the installer passes
};

// Indexed by message id. Texts joined to a path or a file name by the
// installer ("Could not write C:\...") end without punctuation.
const std::array<DefaultText, kMessageIdCount> kTexts = {{
    /* 0 title */ {"<product> Setup", ""},
    /* 1 unused */ {"", ""},
    /* 2 */ {"Existing Installation", ""},
    /* 3 */ {"<product> is already installed in this folder:", ""},
    /* 4 */ {"This version of <product> is already installed in this folder:", ""},
    /* 5 */ {"An older version of <product> is installed in this folder:", ""},
    /* 6 */ {"A newer version of <product> is installed in this folder:", ""},
    /* 7 */ {"Do you want to install <product> again?", ""},
    /* 8 */ {"Preparing the installation...", ""},
    /* 9 */ {"<product> is already installed. Uninstall it before installing it again.", ""},
    /* 10 */
    {"<product> has been removed, but some of its items could not be:\r\n\r\n%s", "%s"},
    /* 11 */ {"Choose the folder to install <product> in:", ""},
    /* 12 */
    {"<product> needs %s, which is not installed on this computer. Install it first, then "
     "run this setup again.",
     "%s"},
    /* 13 */
    {"This setup program is damaged, most likely during its download. The installation "
     "cannot go on.\r\n\r\nDelete this copy and download it again. If the problem persists, "
     "check your computer for viruses.\r\n\r\nError code: %d",
     "%d"},
    /* 14 */ {"This is not a valid folder name. Enter a full path such as C:\\<product>:", ""},
    /* 15 */ {"Uninstall Complete", ""},
    /* 16 */ {"Drive %c: does not exist. Choose another folder.", "%c"},
    /* 17 */ {"Choose a folder, not the root of a drive.", ""},
    /* 18 */ {"<product> cannot be installed in %s itself. Choose a folder inside it.", "%s"},
    /* 19 */
    {"<product> needs %s of disk space, but drive %c: has only %s free.\r\n\r\nInstall "
     "anyway?",
     "%s%c%s"},
    /* 20 */ {"<product> Setup", ""},
    /* 21 */ {"<product> Setup Error", ""},
    /* 22 */ {"<product> will be installed in the existing folder %s.\r\n\r\nContinue?", "%s"},
    /* 23 */ {"The folder %s does not exist yet and will be created.\r\n\r\nContinue?", "%s"},
    /* 24 */ {"Installation Folder", ""},
    /* 25 */ {"Could not create the folder", ""},
    /* 26 */ {"Insert disk %d in drive %c: and choose OK.", "%d%c"},
    /* 27 */ {"Next Disk", ""},
    /* 28 */ {"Do you want to stop the installation of <product>?", ""},
    /* 29 */ {"Unpacking the files...", ""},
    /* 30 */ {"This is not the disk that comes next.", ""},
    /* 31 */ {"Could not write", ""},
    /* 32 */ {"Registering the components...", ""},
    /* 33 */ {"Uninstall <product>", ""},
    /* 34 */ {"<product> has been removed from your computer.", ""},
    /* 35 */ {"Remove Shared File", ""},
    /* 36 */ {"Saving the uninstall information...", ""},
    /* 37 */
    {"Windows must be restarted to finish the installation of <product>.\r\n\r\nRestart "
     "now?",
     ""},
    /* 38 */ {"%s", "%s"},
    /* 39 */ {"Installing <product>. Please wait...", ""},
    /* 40 */
    {"Some parts of <product> could not be installed. The details are in %s.\r\n\r\nDo you "
     "want to read them now?",
     "%s"},
    /* 41 */ {"Installation Problems", ""},
    /* 42 */ {"<product> has been installed.", ""},
    /* 43 */ {"Installation Complete", ""},
    /* 44 */ {"License Agreement", ""},
    /* 45 */ {"I Agree", ""},
    /* 46 */ {"I Do Not Agree", ""},
    /* 47 */ {"Please read the license agreement of <product>:", ""},
    /* 48 */ {"OK", ""},
    /* 49 */ {"Cancel", ""},
    /* 50 */ {"Read Me", ""},
    /* 51 */ {"Please read this information about <product>:", ""},
    /* 52 */ {"Browse...", ""},
    /* 53 */ {"Do you want to remove <product> and all of its parts from your computer?", ""},
    /* 54 */ {"Installing <product>", ""},
    /* 55 */ {"Uninstall <product>", ""},
    /* 56 */ {"<product> no longer needs the font %s. Remove it?", "%s"},
    /* 57 */ {"Remove Font", ""},
    /* 58 */ {"Could not remove", ""},
    /* 59 */
    {"No other program uses the shared file %s any more. Remove it?\r\n\r\nWhen in "
     "doubt, choose No.",
     "%s"},
    /* 60 unused */ {"", ""},
    /* 61 */ {"<product> cannot be installed on %s.", "%s"},
    /* 62 */ {"Checking the files...", ""},
    // 63 and 64 are extra pages in front of the project's licence and readme
    // texts; empty ones are not shown.
    /* 63 */ {"", ""},
    /* 64 */ {"", ""},
    /* 65 unused */ {"", ""},
    /* 66 */
    {"<product> cannot be installed on a network drive. Choose a folder on this computer.", ""},
    /* 67 */ {"Removing fonts...", ""},
    /* 68 */ {"Removing the installation records...", ""},
    /* 69 */ {"Removing the registry entries...", ""},
    /* 70 */ {"Removing file associations...", ""},
    /* 71 */ {"Removing <product>. Please wait...", ""},
}};

const std::string kEmpty;

} // namespace

const std::string& defaultMessage(int id) {
    static const std::array<std::string, kMessageIdCount> texts = [] {
        std::array<std::string, kMessageIdCount> out;
        for (int i = 0; i < kMessageIdCount; ++i)
            out[i] = kTexts[i].text;
        return out;
    }();
    return id >= 0 && id < kMessageIdCount ? texts[id] : kEmpty;
}

const char* messageArguments(int id) {
    return id >= 0 && id < kMessageIdCount ? kTexts[id].arguments : "";
}

} // namespace keld
