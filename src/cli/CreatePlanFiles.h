#pragma once

#include "review/PlanText.h"

#include <QByteArray>
#include <QList>
#include <QString>

class CreateJobOptions;
class CreatePass;

// The plan files of "tocsmith-cli create": --plan collects each document's entries and writes
// them when the run is over; --from-plan reads a plan before the run and puts its entries in
// place of those recognised.
class CreatePlanFiles
{
public:
    // Reads the --from-plan file and hooks both into the pass. False, with *error set, when
    // the plan does not read or names a document that was not given.
    bool prepare(const CreateJobOptions& parsed, CreatePass& pass, QString* error);
    // Writes the --plan file from the plans collected (whole or not at all).
    bool finish(QString* error);

private:
    QString planFile_;
    QByteArray collected_;
    QList<PlanText::Document> reviewed_;
};
