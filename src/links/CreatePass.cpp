#include "links/CreatePass.h"

#include "app/MessageTexts.h"
#include "app/Sinks.h"

CreatePass::CreatePass(ToolRunner& tools, const MessageTexts& texts, LogSink& log,
                       MessageSink& messages)
    : tools_(tools), texts_(texts), log_(log), messages_(messages)
{
}

CreateOutcome CreatePass::run(const QList<CreateRow>&, const CreateOptions&)
{
    (void)tools_;
    log_.clear();
    messages_.showMessage(QStringLiteral("Not available yet."), texts_.text("mes3"));
    return {};
}
