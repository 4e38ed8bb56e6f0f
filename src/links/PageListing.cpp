#include "links/PageListing.h"

#include "tools/EngineTexts.h"

#include <QPair>
#include <QRegularExpression>

#include <algorithm>

namespace {

QString fold(const QString& text)
{
    return text.toCaseFolded();
}

} // namespace

PageListing PageListing::parse(const QByteArray& capture, QString* error)
{
    // "%4d P %8d  %s": the widths grow for big numbers, so read the columns, not offsets.
    static const QRegularExpression pageLine(QStringLiteral("^\\s*(\\d+)\\s+P\\s+\\d+ {1,2}(.*)$"));
    // Included files, shared annotations and thumbnails: a blank number column.
    static const QRegularExpression otherLine(QStringLiteral("^\\s*[IAT?]\\s+\\d+ {1,2}.+$"));
    PageListing listing;
    if (error && (capture.isEmpty() || !capture.endsWith('\n')))
        *error = EngineTexts::say("e_listing_cut");
    QList<QPair<QString, int>> prefixes;
    const QList<QByteArray> lines = capture.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const auto match = pageLine.match(QString::fromUtf8(line));
        if (!match.hasMatch()) {
            if (error && error->isEmpty() && !line.isEmpty() &&
                !otherLine.match(QString::fromUtf8(line)).hasMatch())
                *error = EngineTexts::say("e_listing_line").arg(QString::fromUtf8(line.left(120)));
            continue;
        }
        Page page;
        page.position = int(listing.pages_.size()) + 1;
        page.rest = match.captured(2);
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
        listing.pages_ << page;
    }
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
