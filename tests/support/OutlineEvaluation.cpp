#include "OutlineEvaluation.h"

#include "djvu/PageListing.h"
#include "outline/OutlineMerge.h"

#include <QMultiHash>

namespace {

struct Key
{
    QString title;
    int page = 0;
    QString parent;
    QString text() const
    {
        return QStringLiteral("%1 -> %2 (under %3)")
            .arg(title)
            .arg(page)
            .arg(parent.isEmpty() ? QStringLiteral("the top") : parent);
    }
    QString hashed() const
    {
        return title + QLatin1Char('\t') + QString::number(page) + '\t' + parent;
    }
};

QList<Key> keysOf(const Outline& outline, const PageListing& listing, bool partsByOrder)
{
    QList<Key> keys;
    QStringList parents; // the titles open at each level
    int parts = 0;
    for (qsizetype i = 0; i < outline.bookmarks.size(); ++i) {
        const Bookmark& bookmark = outline.bookmarks[i];
        const QString title = OutlineEvaluation::normalised(bookmark.title);
        parents.resize(bookmark.level);
        int page = Outline::pageOf(bookmark.target);
        if (page == 0 && bookmark.target.startsWith('#'))
            page = listing.positionOf(QString::fromUtf8(bookmark.target.mid(1)));
        keys << Key{title, page, parents.isEmpty() ? QString() : parents.last()};
        const bool part = partsByOrder && bookmark.level == 0 && i + 1 < outline.bookmarks.size() &&
                          outline.bookmarks[i + 1].level > 0;
        parents << (part ? QStringLiteral("part %1").arg(++parts) : title);
    }
    return keys;
}

// How many of `keys` find a partner in `others`, each partner used once.
int matched(const QList<Key>& keys, const QList<Key>& others, QStringList* missed)
{
    QMultiHash<QString, int> open;
    for (int i = 0; i < others.size(); ++i)
        open.insert(others[i].hashed(), i);
    int n = 0;
    for (const Key& key : keys) {
        const auto it = open.find(key.hashed());
        if (it == open.end()) {
            if (missed)
                *missed << key.text();
            continue;
        }
        open.erase(it);
        ++n;
    }
    return n;
}

} // namespace

QString OutlineScore::summary() const
{
    return QStringLiteral("author bookmarks found: %1 of %2 (%3 %); written bookmarks right: "
                          "%4 of %5 (%6 %)")
        .arg(authorMatched)
        .arg(authorCount)
        .arg(100 * found(), 0, 'f', 1)
        .arg(writtenRight)
        .arg(writtenCount)
        .arg(100 * right(), 0, 'f', 1);
}

namespace OutlineEvaluation {

QString normalised(const QByteArray& title)
{
    return OutlineMerge::looseTitle(title);
}

OutlineScore compare(const Outline& author, const Outline& written, const QByteArray& listing,
                     bool partsByOrder)
{
    const PageListing pages = PageListing::parse(listing);
    const QList<Key> authorKeys = keysOf(author, pages, partsByOrder);
    const QList<Key> writtenKeys = keysOf(written, pages, partsByOrder);
    OutlineScore score;
    score.authorCount = int(authorKeys.size());
    score.writtenCount = int(writtenKeys.size());
    score.authorMatched = matched(authorKeys, writtenKeys, &score.missed);
    score.writtenRight = matched(writtenKeys, authorKeys, nullptr);
    return score;
}

} // namespace OutlineEvaluation
