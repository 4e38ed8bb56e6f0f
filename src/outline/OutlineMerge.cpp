#include "outline/OutlineMerge.h"

#include "outline/OutlineText.h"

#include <algorithm>
#include <memory>

namespace OutlineMerge {

namespace {

struct Node
{
    Bookmark bookmark;
    QList<std::shared_ptr<Node>> children;
};
using Nodes = QList<std::shared_ptr<Node>>;

// The flat outline as a tree; a bookmark nested too deep hangs under the last one open.
Nodes treeOf(const Outline& outline)
{
    Nodes top;
    QList<Nodes*> open{&top};
    for (const Bookmark& bookmark : outline.bookmarks) {
        const qsizetype level = std::clamp<qsizetype>(bookmark.level, 0, open.size() - 1);
        open.resize(level + 1);
        auto node = std::make_shared<Node>(Node{bookmark, {}});
        *open.last() << node;
        open << &node->children;
    }
    return top;
}

void flatten(const Nodes& nodes, int level, Outline* outline)
{
    for (const auto& node : nodes) {
        Bookmark bookmark = node->bookmark;
        bookmark.level = level;
        outline->bookmarks << bookmark;
        flatten(node->children, level + 1, outline);
    }
}

struct Merger
{
    const QList<QByteArray>& pageIds;

    int pageOf(const Node& node) const
    {
        return OutlineText::pageOfTarget(node.bookmark.target, pageIds);
    }

    void merge(Nodes* into, const Nodes& added) const
    {
        for (const auto& node : added) {
            const int page = pageOf(*node);
            const QString title = looseTitle(node->bookmark.title);
            std::shared_ptr<Node> same;
            for (const auto& kept : std::as_const(*into)) {
                if (pageOf(*kept) == page && looseTitle(kept->bookmark.title) == title) {
                    same = kept;
                    break;
                }
            }
            if (same) {
                merge(&same->children, node->children);
                continue;
            }
            // After the last sibling whose page is not after this one; a target that is
            // no page (a web address) keeps its place.
            qsizetype at = page == 0 ? into->size() : 0;
            for (qsizetype i = 0; page != 0 && i < into->size(); ++i) {
                const int other = pageOf(*into->at(i));
                if (other == 0 || other <= page)
                    at = i + 1;
                else
                    break;
            }
            into->insert(at, node);
        }
    }
};

} // namespace

QString looseTitle(const QByteArray& title)
{
    QString kept;
    for (const QChar c : QString::fromUtf8(title).toLower()) {
        if (c.isLetterOrNumber())
            kept += c;
    }
    return kept;
}

Outline merge(const Outline& current, const Outline& added, const QList<QByteArray>& pageIds)
{
    Nodes tree = treeOf(current);
    Merger{pageIds}.merge(&tree, treeOf(added));
    Outline merged;
    flatten(tree, 0, &merged);
    return merged;
}

} // namespace OutlineMerge
