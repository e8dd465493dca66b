#include "installer/win32/ArchiveFiles.h"

#include "installer/InstallSettings.h"
#include "installer/win32/Program.h"
#include "installer/win32/Progress.h"

#include <windows.h>

namespace {

bool readAt(File& file, int64_t offset, int32_t length, void* out) {
    return offset >= 0 && offset <= INT32_MAX && file.seek(static_cast<int32_t>(offset)) &&
           file.readBlock(out, length);
}

} // namespace

bool InstallerArchiveFiles::readInstaller(int64_t offset, int32_t length, void* out) {
    return readAt(installer_, offset, length, out);
}

int64_t InstallerArchiveFiles::openVolume(const String& path) {
    if (volume_.open(path.c_str(), OpenExisting | NoWrite | ShareRead) != FileOpened)
        return -1;
    return volume_.size();
}

bool InstallerArchiveFiles::readVolume(int64_t offset, int32_t length, void* out) {
    return readAt(volume_, offset, length, out);
}

bool InstallerArchiveFiles::askForVolume(const String& text, const String& caption) {
    return MessageBoxA(ownerWindow(), text.c_str(), caption.c_str(),
                       MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

bool InstallerArchiveFiles::confirmCancel() {
    ::confirmCancel();
    return false;
}

String InstallerArchiveFiles::message(int id) {
    return ::message(id);
}

void InstallerArchiveFiles::setProgress(int percent) {
    ::setProgress(percent);
}

void InstallerArchiveFiles::progressStep(int messageId, int percent) {
    ::progressStep(messageId, percent);
}

void InstallerArchiveFiles::pauseStep() {
    ::pauseStep(installSettings().stepPause);
}
