#include "installer/InstallRecords.h"

#include "core/Path.h"
#include "core/StringParse.h"
#include "format/ArchiveLayout.h"

String installLogHeadText(const InstallLogHead& head) {
    String text;
    text.appendFormat("\r\nInstallation log for: %s\r\n", head.productName.c_str());
    text.appendFormat("Install date: %s\r\n", head.installDate.c_str());
    if (head.uninstallable)
        text.appendFormat("Install type: %s\r\n", head.reinstall ? "Reinstall" : "New");
    text.appendFormat("Install location: %s\r\n", head.installDir.c_str());
    text.appendFormat("Installer version: %.1f\r\n", kInstallerVersion);
    if (!head.displayVersion.isBlank())
        text.appendFormat("Product version: %s\r\n", head.displayVersion.c_str());
    text += "\r\n";
    return text;
}

String installLogBlock(const InstallLogHead& head, const String& installLog, const String& report) {
    String block = installLogHeadText(head);
    if (!installLog.isBlank()) {
        block += installLog;
        block += "\r\n";
    }
    block += report;
    return block;
}

String uninstallDataText(const String& uninstallList, const Array<String>& strings,
                         const String& associations) {
    String text = uninstallList;
    text += "\r\n\r\n[Strings]\r\n";
    for (int i = 0; i < kUninstallStringCount; ++i) {
        text.appendFormat("~%d\r\n", kUninstallStringIds[i]);
        if (const String* s = strings.tryAt(i))
            text += *s;
        text += "\r\n";
    }
    if (!associations.isEmpty()) {
        text += "\r\n\r\n[Associations]\r\n";
        text += associations;
    }
    return text;
}

bool hasVersionNumbers(const String& displayVersion) {
    return displayVersion.findChar('.') >= 0;
}

int32_t versionMajor(const String& displayVersion) {
    return toInt(displayVersion);
}

int32_t versionMinor(const String& displayVersion) {
    int pos = displayVersion.findChar('.') + 1;
    return parseIntAt(displayVersion, pos);
}

String quotedCommandLine(const String& program, const String& arguments) {
    String line = "\"";
    line += program;
    line += '"';
    if (!arguments.isEmpty()) {
        line += ' ';
        line += arguments;
    }
    return line;
}

String unwrittenLogReport(const String& report, const String& logPath, const String& error) {
    const bool cut = report.length() > kShownReportLength;
    String text(report.c_str(), cut ? kShownReportLength : report.length());
    if (cut)
        text += "...";
    text.trimRight();
    text += "\r\n\r\nThe installation log could not be written:\r\n";
    text += logPath;
    if (!error.isBlank()) {
        text += "\r\n";
        text += error;
    }
    return text;
}

String logViewerCommand(const String& windowsDir, const String& logPath) {
    String command = "\"";
    command += joinPath(windowsDir, "notepad.exe");
    command += "\" ";
    command += logPath;
    return command;
}
