#pragma once
// A complete set of settings that takes every conditional field of the
// stream (MasterProduct, Uninstallable with a patch), holds every kind of
// record, and is already in the form the reader's defaults leave it in.

#include "installer/InstallSettings.h"
#include "installer/SettingsReader.h"
#include "keld/SettingsWriter.h"

inline SettingsInputs sampleInputs() {
    SettingsInputs inputs;
    inputs.windowsDir = "C:\\WINDOWS";
    inputs.programFilesDir = "C:\\Program Files";
    inputs.commonFilesDir = "C:\\Program Files\\Common Files";
    inputs.installerFileSize = 200000;
    return inputs;
}

inline InstallSettings sampleSettings() {
    InstallSettings s;
    s.productFlags = Uninstallable | MasterProduct | BackgroundBitmap | VerifyInstaller |
                     KeepDisplayTitle | ConfirmInstallDir;
    s.taskbarText = "Acme Notes Setup";
    s.stepPause = 250;
    s.shortcutMode = 1;
    s.packageTime = TimeStamp{2005, 7, 3, 14, 5, 59};
    s.publisher = "Acme";
    s.productName = "Acme Notes";
    s.sharedPath = "C:\\Program Files\\Common Files\\Acme";
    s.productStartMenu = "Acme\\Notes";
    s.defaultInstallDir = "C:\\Program Files\\Acme Notes";
    s.displayVersion = "2.05";
    s.productRegistry = "Software\\Acme\\Notes";
    s.bitmapSize = 100;
    s.stretchMode = 3;
    s.licenseTexts = {"Licence one", "", "Licence\r\nthree"};
    s.readmeTexts = {"Read me"};
    s.uninstallSubdir = "Uninstall";
    s.volumeBaseName = "NOTES";
    s.uninstallerName = "Uninst.exe";
    s.uninstallKey = "Acme Notes 2";
    s.titleColor = 0x00FFFFFF;
    s.titleShadow = 1;
    s.titlePosition = 2;
    s.titleFont = "Times New Roman";
    s.topColor = 0x00800000;
    s.bottomColor = -1;
    s.backgroundBitmapData = String("BM\0\x01\x02\xFF", 6);
    s.masterProductName = "Acme Suite";
    s.desktopFolder = "Acme";
    s.desktopFolderIcon = String("\0\0\x01\0icon", 8);
    s.preInstallBatch = "echo pre";
    s.postInstallBatch = "echo post~~pause";
    s.exitBatch = "echo exit";
    s.uninstallBatch1 = "echo u1";
    s.uninstallBatch2 = "echo u2";
    s.dateRecord = SettingsDate{732130, 7, 3, 2005, 1};
    s.excludedSystems = 0x2 | 0x20;
    s.dataBeyondImage = 1;
    s.volumeTag = 0x1234567;
    s.uninstallerPatchOffset = 0x400;
    s.uninstallerPatchBytes = String("\x90\x90\0\xC3", 4);
    s.fileDeletions.append(FileDeletion{"%InstallDir%\\*.tmp", 0, "", 0});
    s.fileDeletions.append(FileDeletion{"old.dll", 1, "7/3/2005", kDeleteAtRestart});
    s.fileAssociations.append(
        FileAssociation{kAssociationDefaultVerb, ".note", "AcmeNote", "Acme note", "open", "&Open",
                        "\"%InstallDir%\\notes.exe\" \"%1\"", "", "%InstallDir%\\notes.exe,1"});
    s.fileAssociations.append(FileAssociation{0, ".note", "AcmeNote", "Acme-Notiz", "print",
                                              "&Drucken", "notes.exe /p \"%1\"", "Deutsch", ""});
    s.uninstallData.append(UninstallData{"HelpLink", UninstallText, "http://acme.example/"});
    s.uninstallData.append(UninstallData{"Readme", UninstallExpandText, "%InstallDir%\\r.txt"});
    s.uninstallData.append(UninstallData{"NoModify", UninstallNumber, "1"});
    s.languages = {"English", "Deutsch"};
    s.messageTable.resize(72, 2);
    for (int id = 0; id < 72; ++id) {
        s.messageTable.set(id, 0, String::formatted("Message %d\r\nfor <product>", id));
        s.messageTable.set(id, 1, String::formatted("Meldung %d", id));
    }
    s.currentLanguage = 0;
    s.monoColor = false;
    return s;
}

// The stream keld writes for `s`; empty when the writer refuses it.
inline String settingsBytes(const InstallSettings& s) {
    SettingsWriter writer;
    return writer.write(s) ? writer.bytes() : String();
}
