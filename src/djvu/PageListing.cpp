#include "djvu/PageListing.h"

#include "base/EngineTexts.h"

#include <QPair>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString fold(const QString& text)
{
    return text.toCaseFolded();
}

} // namespace

PageListing PageListing::parse(const QByteArray& capture, QString* error, int expectedPages)
{
    // "%4d P %8d  %s": the widths grow for big numbers, so read the columns, not offsets.
    static const QRegularExpression pageLine(QStringLiteral("^\\s*(\\d+)\\s+P\\s+\\d+ {1,2}(.*)$"));
    // Included files, shared annotations, thumbnails and components of no known kind: a blank
    // number column. The thumbnails of the whole book close the listing without a size.
    static const QRegularExpression otherLine(
        QStringLiteral("^\\s*(?:[IAT?]\\s+\\d+ {1,2}.+|T\\s+<thumbnails>)$"));
    PageListing listing;
    if (error && (capture.isEmpty() || !capture.endsWith('\n')))
        *error = EngineTexts::say("e_listing_cut");
    // A page title may hold line breaks: a line that is no component line, after the line
    // of a page with a title, continues that title. Lines a title makes look like component
    // lines are told apart by the page numbers and the page count.
    bool titled = false;
    const QList<QByteArray> lines = capture.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const auto match = pageLine.match(QString::fromUtf8(line));
        if (!match.hasMatch()) {
            const bool component = otherLine.match(QString::fromUtf8(line)).hasMatch();
            if (titled && !component && !line.isEmpty()) {
                listing.pages_.last().rest += QLatin1Char('\n') + QString::fromUtf8(line);
                continue;
            }
            titled = titled && line.isEmpty();
            if (error && error->isEmpty() && !line.isEmpty() && !component)
                *error = EngineTexts::say("e_listing_line").arg(QString::fromUtf8(line.left(120)));
            continue;
        }
        Page page;
        page.position = int(listing.pages_.size()) + 1;
        // Pages are numbered in order; a number out of turn is a line a page title made.
        if (error && error->isEmpty() && match.captured(1).toLongLong() != page.position)
            *error = EngineTexts::say("e_listing_line").arg(QString::fromUtf8(line.left(120)));
        page.rest = match.captured(2);
        titled = page.rest.contains(QStringLiteral(" T="));
        listing.pages_ << page;
    }
    QList<QPair<QString, int>> prefixes;
    for (Page& page : listing.pages_) {
        page.identifier = page.rest;
        // The suffixes come after the name; a name may itself hold " F=" or " T=", so
        // every cut is a candidate when matching, and the first is shown.
        QList<qsizetype> cuts;
        for (const QString& suffix : {QStringLiteral(" F="), QStringLiteral(" T=")}) {
            for (qsizetype at = page.rest.indexOf(suffix); at >= 0;
                 at = page.rest.indexOf(suffix, at + 1))
                cuts << at;
        }
        std::sort(cuts.begin(), cuts.end());
        if (!cuts.isEmpty())
            page.identifier = page.rest.left(cuts.first());
        listing.byIdentifier_.insert(fold(page.rest), page.position);
        for (qsizetype cut : cuts)
            prefixes.append({fold(page.rest.left(cut)), page.position});
    }
    if (error && error->isEmpty() && expectedPages >= 0 && listing.pageCount() != expectedPages)
        *error = EngineTexts::say("e_listing_count").arg(listing.pageCount()).arg(expectedPages);
    // Whole names first, so that a cut of one line never hides another page's full name.
    for (const auto& [candidate, position] : prefixes) {
        if (!listing.byIdentifier_.contains(candidate))
            listing.byIdentifier_.insert(candidate, position);
    }
    return listing;
}

int PageListing::positionOf(const QString& identifier) const
{
    return byIdentifier_.value(fold(identifier), 0);
}
