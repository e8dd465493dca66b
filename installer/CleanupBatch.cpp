#include "installer/CleanupBatch.h"

#include "core/Path.h"

namespace {

String batchPath(const String& path) {
    String escaped = path;
    escaped.replaceAll("%", "%%");
    return escaped;
}

} // namespace

String cleanupBatchText(const String& self, const String& installDir, const String& uninstallSubdir,
                        const String& batchFile, const Array<String>& parents) {
    String text;
    if (!self.isEmpty()) {
        const String program = batchPath(self);
        text.appendFormat(":Repeat\r\ndel \"%s\"\r\nif exist \"%s\" goto Repeat\r\n",
                          program.c_str(), program.c_str());
    }
    if (!uninstallSubdir.isEmpty())
        text.appendFormat("rd \"%s\"\r\n",
                          batchPath(joinPath(installDir, uninstallSubdir)).c_str());
    text.appendFormat("rd \"%s\"\r\n", batchPath(installDir).c_str());
    for (const String& parent : parents)
        text.appendFormat("rd \"%s\"\r\n", batchPath(parent).c_str());
    text.appendFormat("del \"%s\"\r\n", batchPath(batchFile).c_str());
    return text;
}
