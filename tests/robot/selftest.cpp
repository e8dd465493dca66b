// A small GUI program for testing the robot itself:
//
//   robot_selftest.exe box STYLE CAPTION TEXT [STYLE CAPTION TEXT]...
//       shows the message boxes one after the other; the exit code holds their
//       results, one hexadecimal digit each, the first box's the highest
//   robot_selftest.exe sleep SECONDS     shows nothing and waits
//   robot_selftest.exe crash             writes through a null pointer
//
// STYLE is a MessageBox style number (0x24 is MB_YESNO | MB_ICONQUESTION). In CAPTION
// and TEXT, "\xHH" stands for the byte HH, so that any byte can be shown.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string decode(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'x' && std::strchr("0123456789abcdefABCDEF", p[2]) && p[2] &&
            std::strchr("0123456789abcdefABCDEF", p[3]) && p[3]) {
            char digits[3] = {p[2], p[3], '\0'};
            out += static_cast<char>(std::strtoul(digits, nullptr, 16));
            p += 3;
        } else {
            out += *p;
        }
    }
    return out;
}

int showBoxes(int count, char** args) {
    int code = 0;
    for (int i = 0; i + 2 < count; i += 3) {
        UINT style = static_cast<UINT>(std::strtoul(args[i], nullptr, 0));
        int result =
            MessageBoxA(nullptr, decode(args[i + 2]).c_str(), decode(args[i + 1]).c_str(), style);
        code = code * 16 + result;
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "box" && argc >= 5)
        return showBoxes(argc - 2, argv + 2);
    if (mode == "sleep" && argc == 3) {
        Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) * 1000);
        return 0;
    }
    if (mode == "crash") {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 0;
    }
    return 100;
}
