#include "review/ReviewSession.h"

#include "base/Sinks.h"
#include "djvu/ToolRunner.h"
#include "review/ReviewModel.h"

ReviewSession::ReviewSession(QString exeFolder, QString workFolder, MessageTexts texts)
    : exeFolder_(std::move(exeFolder)), workFolder_(std::move(workFolder)), texts_(std::move(texts))
{
}

ReviewSession::Result
ReviewSession::run(const CreateJob& job, const CreateOptions& options,
                   const std::function<void(CreatePass&, Result&)>& prepare) const
{
    Result result;
    RecordingLogSink log;
    RecordingMessageSink messages;
    messages.texts = &texts_;
    ToolRunner tools(exeFolder_, workFolder_, &messages, texts_.text("mes3"));
    CreatePass pass(tools, texts_, log, messages);
    prepare(pass, result);
    const CreateOutcome outcome = pass.run({job}, options);
    result.log = log.lines;
    result.changed = outcome.filesChanged > 0;
    result.ok = outcome.ranToEnd && outcome.filesFailed == 0 && messages.messages.isEmpty();
    if (!messages.messages.isEmpty())
        result.message = messages.messages.last().text;
    else if (!result.ok)
        result.message = log.lines.isEmpty() ? QString() : log.lines.last();
    return result;
}

ReviewSession::Result ReviewSession::plan(const CreateJob& job, CreateOptions options,
                                          const CancelToken* stop) const
{
    // Nothing is written: an outline the document has would only be replaced at the write.
    options.dryRun = true;
    options.replaceOutline = true;
    options.align = false;
    return run(job, options, [stop](CreatePass& pass, Result& result) {
        if (stop)
            pass.setControl(PassControl(nullptr, stop));
        pass.setPlanSink([&result](const ContentsPlan& plan) { result.plan = plan; });
    });
}

ReviewSession::Result ReviewSession::write(const CreateJob& job, const CreateOptions& options,
                                           const ContentsPlan& reviewed,
                                           CreatePass::OutlineQuestion question) const
{
    CreateOptions written = options;
    written.dryRun = false;
    return run(job, written, [&](CreatePass& pass, Result& result) {
        pass.setOutlineQuestion(std::move(question));
        pass.setPlanReview([&](ContentsPlan& plan, QString* reason) {
            QList<PlanEntry> entries;
            for (const PlanPage& page : reviewed.pages)
                entries << page.entries;
            int bad = 0;
            if (!ReviewModel::placeEntries(&plan, entries, &bad, reason))
                return false;
            result.plan = plan;
            return true;
        });
    });
}
