#pragma once

#include <QString>

struct CreateJob;
class HyperlinkScript;

// Puts the contents link of a row on one page or on every page of the document. Each
// block replaces the annotations of its page, so it comes before the contents blocks,
// which then replace it on the contents pages.
namespace ContentsLinkBlocks {
// false when the one page the row names is not a page of the document.
bool write(const CreateJob& job, int pageCount, HyperlinkScript& script, QString* error);
} // namespace ContentsLinkBlocks
