#pragma once

#include <QString>
#include <QStringList>

// The options that make create and fix treat their documents one by one, side by side, and
// write a report: --jobs N, --keep-going, --report FILE.json. --only K (1-based) is what a
// run of --jobs hands each of its own runs: of the documents given, only the K-th.
struct BatchOptions
{
    int jobs = 1;
    bool keepGoing = false;
    QString report;
    int only = 0;

    // Each document is run and recorded on its own.
    bool perDocument() const { return jobs > 1 || keepGoing || !report.isEmpty() || only > 0; }
    // Every document is tried, whatever happened to the others.
    bool triesEvery() const { return jobs > 1 || keepGoing; }

    // Takes the batch options out of args (up to a "--"); false with *error on a bad value.
    static bool take(QStringList* args, BatchOptions* options, QString* error);
    static const char* helpText();
};
