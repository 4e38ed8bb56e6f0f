#pragma once

#include <QString>

class CommandLine;

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

    // Declares the batch options, kept out of the arguments the runs of --jobs get.
    void declare(CommandLine& line);
};
