#include "links/ContentsLinkBlocks.h"

#include "links/CreateRowReader.h"
#include "links/HyperlinkScript.h"
#include "links/PageAnnotations.h"

namespace ContentsLinkBlocks {

namespace {

void put(const CreateJob& job, int page, const QByteArray& area, HyperlinkScript& script,
         const PageAnnotations* current)
{
    script.addContentsLink(page, area);
    if (!current)
        return;
    // The contents link replaces only the one an earlier run put there.
    const QString link = QStringLiteral("# ") + job.link.targetPage;
    QList<QByteArray> kept = current->of(page);
    kept.removeIf([&](const QByteArray& expression) {
        return PageAnnotations::isAreaWith(expression, link, job.link.comment);
    });
    script.keepAnnotations(page, kept);
}

} // namespace

bool write(const CreateJob& job, int pageCount, HyperlinkScript& script, QString* error,
           const PageAnnotations* current)
{
    if (!job.contentsLink)
        return true;
    const QByteArray area = BorderExpression::contentsLinkArea(job.link);
    if (job.contentsLinkEveryPage == 1) {
        for (int page = 1; page <= pageCount; ++page)
            put(job, page, area, script, current);
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
    put(job, job.contentsLinkPage, area, script, current);
    return true;
}

bool wanted(const CreateJob& job)
{
    return job.contentsLink && (job.contentsLinkEveryPage == 0 || job.contentsLinkEveryPage == 1);
}

} // namespace ContentsLinkBlocks
