#pragma once

#include "djvu/DjvusedDumpReader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

class OcrDocument;
struct OcrPageText;

// Reads what `djvused FILE -e 'n; output-txt'` prints, as it arrives: the number of pages on
// the first line, then the text dump, each page turned into the document's lines as soon as
// its block is complete, so the whole dump is never held. Nothing reaches a document unless
// finish() found the dump whole.
class TextLayerReader
{
public:
    TextLayerReader();

    // Each page is handed on as the editor shows it once its block is complete, and not
    // kept: takeInto() then gives pages without text only.
    using PageSink = std::function<void(int number, const OcrPageText& page)>;
    void setPageSink(PageSink onPage) { onPage_ = std::move(onPage); }

    void feed(QByteArrayView piece);

    enum class Outcome
    {
        Read,     // the lines are ready for takeInto()
        NoCount,  // the first line is not a number of pages
        Faulty,   // the dump does not read (cut short, a stray line ...): error()
        FallBack, // whole, but it cannot be carried in this form (pages not named by number,
                  // a word record not alone on its line: then error() says so)
    };
    // The output ended here.
    Outcome finish();
    QString error() const { return error_; }
    void takeInto(OcrDocument& document);
    int pageCount() const { return count_; }

private:
    void takeBlock(DumpBlock&& block);

    QByteArray head_; // the first line, until its line feed has come
    int count_ = -1;  // the number of pages, once read
    bool countFault_ = false;
    DjvusedDumpReader dump_;
    PageSink onPage_;
    QList<QList<QByteArray>> pages_;
    QList<bool> seen_;
    bool pagesUnnamed_ = false; // a block without a page number of this book, or twice
    QString wordError_;
    QString error_;
};
