#pragma once

#include "jobs/CreateJob.h"
#include "links/CreatePass.h"

#include <QList>
#include <QString>
#include <QStringList>

class CommandLine;

// The options of "tocsmith-cli create", turned into one Create job per document and the
// job-wide options, so the command line runs the window's engine.
class CreateJobOptions
{
public:
    // Declares the options on a command line.
    void declare(CommandLine& line);
    // After the line is read: the options checked against each other and a job made for each
    // document. False with *error when they do not go together.
    bool finish(const CommandLine& line, QString* error);
    // Declares, reads and finishes at once; true with helpRequested() for -h or --help.
    bool parse(const QStringList& args, QString* error);

    bool helpRequested() const { return help_; }
    const QList<CreateJob>& jobs() const { return jobs_; }
    const CreateOptions& options() const { return options_; }
    QString languageFile() const { return languageFile_; }
    // --plan FILE and --from-plan FILE; empty when not given.
    QString planFile() const { return planFile_; }
    QString fromPlanFile() const { return fromPlanFile_; }

    // The words of --kind, --reading, --shape and --border, each at its value's number.
    static const QStringList kKinds;
    static const QStringList kReadings;
    static const QStringList kShapes;
    static const QStringList kBorders;

    // The look of a link as the window's border group holds it: the same option names serve
    // the entries' links and, prefixed "contents-link-", the contents link.
    struct Style
    {
        AreaShape shape = JobDefaults::shape;
        BorderType border = JobDefaults::borderType;
        QString borderColour = QStringLiteral("000000");
        QString highlightColour = QStringLiteral("000000");
        int shadowWidth = 0;
        bool alwaysVisible = false;
        bool highlight = false;
    };

private:
    struct LookHelp;
    void declareEntries(CommandLine& line);
    void declareLook(CommandLine& line, const QString& prefix, const LookHelp& help, Style* style);
    void declareContentsLink(CommandLine& line);
    void declareOutline(CommandLine& line);
    void declareRun(CommandLine& line);
    bool check(const CommandLine& line, QString* error);
    CreateJob jobFor(const QString& file) const;

    bool help_ = false;
    QList<CreateJob> jobs_;
    CreateOptions options_;
    QString languageFile_;
    QString planFile_;
    QString fromPlanFile_;

    // As given, until the jobs are made.
    WorkKind kind_ = JobDefaults::kind;
    ContentsReading reading_ = JobDefaults::reading;
    QList<ContentsRange> ranges_{ContentsRange()};
    QString offsets_ = QStringLiteral("0");
    bool checkSeen_ = false; // --strict or --no-check
    bool halve_ = false;
    QString comment_ = QStringLiteral("Go to page");
    Style style_;
    Style link_;
    bool contentsLink_ = false;
    bool everyPage_ = JobDefaults::linkPages == ContentsLinkPages::EveryPage;
    int linkPage_ = CreateJob().contentsLinkPage;
    int linkTarget_ = ContentsLinkSettings().targetPage;
    int linkBox_[4] = {ContentsLinkSettings().left, ContentsLinkSettings().bottom,
                       ContentsLinkSettings().width, ContentsLinkSettings().height};
    QString linkComment_ = ContentsLinkSettings().comment;
    bool outline_ = false;
    bool noLinks_ = false;
    bool noParts_ = false;
};
