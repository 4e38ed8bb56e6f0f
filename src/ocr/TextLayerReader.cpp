#include "ocr/TextLayerReader.h"

#include "ocr/OcrDocument.h"

TextLayerReader::TextLayerReader()
    : dump_("txt", [this](DumpBlock&& block) { takeBlock(std::move(block)); })
{
}

void TextLayerReader::feed(QByteArrayView piece)
{
    if (countFault_)
        return;
    if (count_ < 0) {
        const qsizetype end = piece.indexOf('\n');
        head_ += piece.sliced(0, end < 0 ? piece.size() : end);
        if (end < 0)
            return;
        bool ok = false;
        count_ = head_.trimmed().toInt(&ok);
        if (!ok || count_ < 0) {
            countFault_ = true;
            return;
        }
        pages_.resize(count_);
        seen_.resize(count_);
        piece = piece.sliced(end + 1);
    }
    dump_.feed(piece);
}

void TextLayerReader::takeBlock(DumpBlock&& block)
{
    // Pages without text have no block; a release that does not name the page of a block
    // leaves the pages to the XML route. Once either is known the rest is not worth reading.
    if (pagesUnnamed_ || !wordError_.isEmpty())
        return;
    if (block.page < 1 || block.page > count_ || seen_[block.page - 1]) {
        pagesUnnamed_ = true;
        return;
    }
    seen_[block.page - 1] = true;
    if (!onPage_) {
        OcrDocument::expressionLines(block.body, block.page, &pages_[block.page - 1], &wordError_);
        return;
    }
    // The page alone makes a document of one page: it shows as it would in the whole book.
    // Its lines borrow the block's bytes, which outlive it.
    QList<QByteArray> lines;
    if (!OcrDocument::expressionLines(block.body, block.page, &lines, &wordError_,
                                      OcrDocument::LineBytes::Borrowed))
        return;
    OcrDocument page;
    page.setPageLines({std::move(lines)});
    onPage_(block.page, page.page(1));
}

TextLayerReader::Outcome TextLayerReader::finish()
{
    if (count_ < 0 || countFault_)
        return Outcome::NoCount;
    if (!dump_.finish()) {
        error_ = dump_.error();
        return Outcome::Faulty;
    }
    if (pagesUnnamed_)
        return Outcome::FallBack;
    if (!wordError_.isEmpty()) {
        error_ = wordError_;
        return Outcome::FallBack;
    }
    return Outcome::Read;
}

void TextLayerReader::takeInto(OcrDocument& document)
{
    document.setPageLines(std::move(pages_));
    pages_.clear();
}
