#include "links/ContentsLinkBlocks.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "djvu/PageAnnotations.h"
#include "jobs/CreateJob.h"
#include "links/ContentsPlan.h"
#include "links/HyperlinkScript.h"
#include "reading/BorderExpression.h"

namespace ContentsLinkBlocks {

namespace {

ContentsLinkPlacement placement(const CreateJob& job, int page, const QByteArray& area,
                                const PageAnnotations* current)
{
    ContentsLinkPlacement placed{page, area, current != nullptr, {}};
    if (!current)
        return placed;
    // The contents link replaces only the one an earlier run put there.
    const QString link = QStringLiteral("# ") + QString::number(job.link.targetPage);
    placed.kept = current->of(page);
    placed.kept.removeIf([&](const QByteArray& expression) {
        return PageAnnotations::isAreaWith(expression, link, job.link.comment);
    });
    return placed;
}

} // namespace

bool place(const CreateJob& job, int pageCount, QList<ContentsLinkPlacement>* placements,
           QString* error, const PageAnnotations* current)
{
    if (!job.contentsLink)
        return true;
    // A link to a page the book does not have leads nowhere.
    if (wanted(job) && job.link.targetGiven &&
        (job.link.targetPage < 1 || job.link.targetPage > pageCount)) {
        *error = EngineTexts::say("e_link_target_outside")
                     .arg(job.link.targetPage)
                     .arg(job.path)
                     .arg(pageCount);
        return false;
    }
    const QByteArray area = BorderExpression::contentsLinkArea(job.link);
    if (job.contentsLinkPages == ContentsLinkPages::EveryPage) {
        for (int page = 1; page <= pageCount; ++page)
            placements->append(placement(job, page, area, current));
        return true;
    }
    if (job.contentsLinkPages != ContentsLinkPages::OnePage)
        return true;
    if (job.contentsLinkPage < 1 || job.contentsLinkPage > pageCount) {
        *error = EngineTexts::say("e_link_page_outside")
                     .arg(job.contentsLinkPage)
                     .arg(job.path, Plural::count("e_n_pages", pageCount));
        return false;
    }
    placements->append(placement(job, job.contentsLinkPage, area, current));
    return true;
}

bool write(const CreateJob& job, int pageCount, HyperlinkScript& script, QString* error,
           const PageAnnotations* current)
{
    QList<ContentsLinkPlacement> placements;
    if (!place(job, pageCount, &placements, error, current))
        return false;
    addTo(placements, script);
    return true;
}

void addTo(const QList<ContentsLinkPlacement>& placements, HyperlinkScript& script)
{
    for (const ContentsLinkPlacement& link : placements) {
        script.addContentsLink(link.page, link.area);
        if (link.keepsOthers)
            script.keepAnnotations(link.page, link.kept);
    }
}

bool wanted(const CreateJob& job)
{
    return job.contentsLink && job.contentsLinkPages != ContentsLinkPages::NoPage;
}

} // namespace ContentsLinkBlocks
