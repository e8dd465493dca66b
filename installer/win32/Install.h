#pragma once
// The installation's main line, from the read settings to the end of the
// process: language, system check, master product, existing installation,
// pages, directory, batches, files, records, finishing report and restart.

class File;
struct CommandLine;

// Never returns: every way out is exitInstaller.
[[noreturn]] void runInstallation(File& installer, const CommandLine& commandLine);
