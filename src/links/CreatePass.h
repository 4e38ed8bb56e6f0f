#pragma once

#include "jobs/CreateRow.h"
#include "links/FixPass.h"
#include "links/PassControl.h"
#include "links/PassOutcome.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class LogSink;
class MessageSink;
class MessageTexts;
class ToolRunner;

// The job-wide options of the Create tab; everything per file comes from the rows.
struct CreateOptions
{
    bool backup = true;         // "Создавать резервную копию"
    bool removeOcr = false;     // "Удалять OCR"
    bool checkPageCount = true; // "Проверять количество страниц"
    bool align = false;         // "Выровнять содержание"
    // Chosen positions of the tab's three drop-down lists, -1 when none is chosen.
    int borderTypeIndex = 1;
    int shapeIndex = 0;
    int kindIndex = 0;
    // The edit tab's options, for the alignment step.
    FixOptions fixOptions;
    // Recognise and hand each file's script to the script sink; change nothing.
    bool dryRun = false;
};

struct CreateOutcome : PassOutcome
{
    // The alignment step ran; the window empties its Fix list afterwards.
    bool alignmentRan = false;
    // The last alignment step ran to its end (so the edit tab's end options apply).
    bool alignmentRanToEnd = false;
};

// Turns the contents or index pages of each row's document into hyperlinks.
class CreatePass
{
public:
    CreatePass(ToolRunner& tools, const MessageTexts& texts, LogSink& log, MessageSink& messages);
    CreateOutcome run(const QList<CreateRow>& rows, const CreateOptions& options);

    // Receives each file's hyperlink script (its path, the script text) before the script
    // runs, or instead of running it in a dry run.
    using ScriptSink = std::function<void(const QString&, const QByteArray&)>;
    void setScriptSink(ScriptSink sink) { scriptSink_ = std::move(sink); }
    // Progress reports and the cancel token; the tool runner is given the same token.
    void setControl(const PassControl& control) { control_ = control; }

    // The fixed names of the work files inside the tool runner's work folder.
    static const QString kDumpFile;    // "myfile.dsed": the text dump
    static const QString kScriptFile;  // "myfile1.dsed": the hyperlink script
    static const QString kListingFile; // "myfile2.dsed": the page listing

private:
    enum class Turn
    {
        Changed,
        DryRun,
        Failed,
        Stop,
        Cancelled
    };
    Turn runFile(const CreateRow& row, const CreateOptions& options);
    Turn fail(const QString& reason);
    Turn stopped();
    void removeWorkFiles(const QStringList& names);

    ToolRunner& tools_;
    const MessageTexts& texts_;
    LogSink& log_;
    MessageSink& messages_;
    ScriptSink scriptSink_;
    PassControl control_;
};
