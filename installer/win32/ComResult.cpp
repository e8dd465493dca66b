#include "installer/win32/ComResult.h"

#include "platform/ErrorText.h"

bool failedWith(HRESULT result) {
    const DWORD code = static_cast<DWORD>(result);
    if (HRESULT_FACILITY(result) == FACILITY_WIN32)
        SetLastError(HRESULT_CODE(result));
    else if (!systemErrorText(code).isEmpty())
        SetLastError(code);
    return false;
}

bool toWidePath(const String& path, WCHAR (&wide)[MAX_PATH]) {
    for (WCHAR& unit : wide)
        unit = 0;
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), path.length() + 1, wide, MAX_PATH) == 0) {
        for (WCHAR& unit : wide)
            unit = 0;
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return true;
}
