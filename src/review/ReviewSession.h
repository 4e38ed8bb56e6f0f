#pragma once

#include "base/MessageTexts.h"
#include "jobs/CreateJob.h"
#include "links/CreatePass.h"

#include <QStringList>

class CancelToken;

// The two runs of a reviewed Create job: the plan, which reads the book and changes nothing,
// and the write, which plans again and applies exactly the reviewed entries through the same
// safe change as a direct run. Either may run off the window's thread; each brings its own
// tool runner over the given folders.
class ReviewSession
{
public:
    ReviewSession(QString exeFolder, QString workFolder, MessageTexts texts);

    struct Result
    {
        bool ok = false;
        ContentsPlan plan; // the plan read, or the plan written
        QString message;   // why it failed, in the texts' language when the pass says so
        QStringList log;
        bool changed = false; // the document was written
    };

    // `stop`, when given, ends the reading early (the window closing meanwhile).
    Result plan(const CreateJob& job, CreateOptions options,
                const CancelToken* stop = nullptr) const;
    // `reviewed`: the plan as the user left it. The outline question is asked when the
    // document has an outline that the new one would replace.
    Result write(const CreateJob& job, const CreateOptions& options, const ContentsPlan& reviewed,
                 CreatePass::OutlineQuestion question = {}) const;

private:
    Result run(const CreateJob& job, const CreateOptions& options,
               const std::function<void(CreatePass&, Result&)>& prepare) const;

    QString exeFolder_;
    QString workFolder_;
    MessageTexts texts_;
};
