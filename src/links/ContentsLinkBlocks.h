#pragma once

#include <QList>
#include <QString>

struct ContentsLinkPlacement;
struct CreateJob;
class HyperlinkScript;
class PageAnnotations;

// Puts the contents link of a row on one page or on every page of the document: the script
// writes it into the block of a contents page, or beside what another page keeps.
namespace ContentsLinkBlocks {
// false when the one page the row names is not a page of the document. `current`: the
// annotations the pages have now; each page keeps them, apart from an earlier contents
// link with the same target and comment.
bool write(const CreateJob& job, int pageCount, HyperlinkScript& script, QString* error,
           const PageAnnotations* current = nullptr);
// The pages that get the contents link, each with what it keeps.
bool place(const CreateJob& job, int pageCount, QList<ContentsLinkPlacement>* placements,
           QString* error, const PageAnnotations* current = nullptr);
// Hands the placements to the script, which writes their blocks when it closes.
void addTo(const QList<ContentsLinkPlacement>& placements, HyperlinkScript& script);
// The row puts a contents link on at least one page.
bool wanted(const CreateJob& job);
} // namespace ContentsLinkBlocks
