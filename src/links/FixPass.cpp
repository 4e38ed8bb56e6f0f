#include "links/FixPass.h"

#include "app/MessageTexts.h"
#include "app/Sinks.h"

FixPass::FixPass(ToolRunner& tools, const MessageTexts& texts, LogSink& log,
                 MessageSink& messages)
    : tools_(tools), texts_(texts), log_(log), messages_(messages)
{
}

PassOutcome FixPass::run(const QList<FixRow>&, const FixOptions&)
{
    (void)tools_;
    log_.clear();
    messages_.showMessage(QStringLiteral("Not available yet."), texts_.text("mes3"));
    return {};
}
