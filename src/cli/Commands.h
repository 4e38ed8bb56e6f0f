#pragma once

#include <QStringList>

// Each sub-command takes its own arguments (without the program and command names) and
// returns the process exit status: 0 done, 1 a file failed, 2 a usage error, 130 stopped by
// SIGINT or SIGTERM (create and fix).
int runCreateCommand(const QStringList& args);
int runFixCommand(const QStringList& args);
int runOcrExportCommand(const QStringList& args);
int runOcrImportCommand(const QStringList& args);
int runOcrRecogniseCommand(const QStringList& args);
int runOutlineExportCommand(const QStringList& args);
int runOutlineImportCommand(const QStringList& args);
