#pragma once

#include "jobs/CreateRow.h"
#include "links/CreatePass.h"

#include <QList>
#include <QString>
#include <QStringList>

// The options of "tocsmith-cli create", turned into Create-list rows (with the columns'
// own encodings) and job-wide options, so the command line runs the window's engine.
class CreateRowOptions
{
public:
    bool parse(const QStringList& args, QString* error);

    bool helpRequested() const { return help_; }
    const QList<CreateRow>& rows() const { return rows_; }
    const CreateOptions& options() const { return options_; }
    QString languageFile() const { return languageFile_; }

    static QString helpText();
    static const char* usageHint();

private:
    bool help_ = false;
    QList<CreateRow> rows_;
    CreateOptions options_;
    QString languageFile_;
};
