#pragma once

#include "cli/BatchOptions.h"

#include <QString>
#include <QStringList>

// --jobs N: runs this program once per document, up to N at a time, each run with its own
// work folder and working copy (--only K), and prints each run's lines together, prefixed with
// its document's name, when the run ends. The runs' reports become one. SIGINT or SIGTERM
// stops the running ones (their documents stay as they were) and starts no more.
class BatchRunner
{
public:
    // args: the command's arguments without the batch options; paths: its documents in order.
    BatchRunner(QString command, QStringList args, QStringList paths, BatchOptions options);
    int run();

private:
    QString command_;
    QStringList args_;
    QStringList paths_;
    BatchOptions options_;
};
