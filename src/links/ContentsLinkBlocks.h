#pragma once

#include <QString>

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
// The row puts a contents link on at least one page.
bool wanted(const CreateJob& job);
} // namespace ContentsLinkBlocks
