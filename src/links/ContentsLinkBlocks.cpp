#include "links/ContentsLinkBlocks.h"

#include "links/CreateRowReader.h"
#include "links/HyperlinkScript.h"

namespace ContentsLinkBlocks {

bool write(const CreateJob& job, int pageCount, HyperlinkScript& script, QString* error)
{
    if (!job.contentsLink)
        return true;
    const QByteArray area = BorderExpression::contentsLinkArea(job.link);
    if (job.contentsLinkEveryPage == 1) {
        for (int page = 1; page <= pageCount; ++page)
            script.contentsLinkBlock(page, area);
        return true;
    }
    if (job.contentsLinkEveryPage != 0)
        return true;
    if (job.contentsLinkPage < 1 || job.contentsLinkPage > pageCount) {
        *error = QStringLiteral("The contents link is meant for page %1, but %2 has %3 pages.")
                     .arg(job.contentsLinkPage)
                     .arg(job.path)
                     .arg(pageCount);
        return false;
    }
    script.contentsLinkBlock(job.contentsLinkPage, area);
    return true;
}

} // namespace ContentsLinkBlocks
