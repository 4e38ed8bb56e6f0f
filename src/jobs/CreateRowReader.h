#pragma once

#include "jobs/CreateJob.h"
#include "jobs/CreateRow.h"

#include <QList>
#include <QString>

// Turns the text columns of Create-list rows into typed jobs.
namespace CreateRowReader {
// false with a sentence naming the column and its text when a column does not read.
bool read(const CreateRow& row, CreateJob* job, QString* error);
// Every row becomes a job; a row that does not read becomes a job carrying its sentence in
// rowError, so the run stops at its turn, after the rows before it are done.
QList<CreateJob> jobsOf(const QList<CreateRow>& rows);
} // namespace CreateRowReader
