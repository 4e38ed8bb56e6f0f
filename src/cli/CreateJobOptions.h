#pragma once

#include "jobs/CreateJob.h"
#include "links/CreatePass.h"

#include <QList>
#include <QString>
#include <QStringList>

// The options of "tocsmith-cli create", turned into one Create job per document and the
// job-wide options, so the command line runs the window's engine.
class CreateJobOptions
{
public:
    bool parse(const QStringList& args, QString* error);

    bool helpRequested() const { return help_; }
    const QList<CreateJob>& jobs() const { return jobs_; }
    const CreateOptions& options() const { return options_; }
    QString languageFile() const { return languageFile_; }
    // --plan FILE and --from-plan FILE; empty when not given.
    QString planFile() const { return planFile_; }
    QString fromPlanFile() const { return fromPlanFile_; }

    static QString helpText();
    static const char* usageHint();

private:
    bool help_ = false;
    QList<CreateJob> jobs_;
    CreateOptions options_;
    QString languageFile_;
    QString planFile_;
    QString fromPlanFile_;
};
