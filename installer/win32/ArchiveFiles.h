#pragma once
// The data-area assembly's view of the machine: the installer file, the
// volume files beside it, and the user who is asked for them.

#include "installer/ArchiveData.h"
#include "platform/File.h"

class InstallerArchiveFiles : public ArchiveFiles {
public:
    explicit InstallerArchiveFiles(File& installer) : installer_(installer) {}

    bool readInstaller(int64_t offset, int32_t length, void* out) override;
    int64_t openVolume(const String& path) override;
    bool readVolume(int64_t offset, int32_t length, void* out) override;
    void closeVolume() override { volume_.close(); }
    bool askForVolume(const String& text, const String& caption) override;
    bool confirmCancel() override;
    String message(int id) override;
    void setProgress(int percent) override;
    void progressStep(int messageId, int percent) override;
    void pauseStep() override;

private:
    File& installer_;
    File volume_;
};
