// The annotations of every page, cut into whole top-level expressions to be kept beside the
// contents link: each kept expression is one line of paired parentheses and closed quotes,
// so written back into a set-ant block it can neither end the block nor add a command.
#include "FuzzChecks.h"

#include "djvu/DjvusedDump.h"
#include "djvu/PageAnnotations.h"
#include "djvu/PageListing.h"

#include <QSet>

namespace {

const PageListing& listing()
{
    static const PageListing pages = [] {
        QByteArray capture = "     A       81  shared_anno.iff\n";
        for (int n = 1; n <= 12; ++n)
            capture += QByteArray::number(n).rightJustified(4) + " P    10262  p" +
                       QByteArray::number(n).rightJustified(4, '0') + ".djvu\n";
        return PageListing::parse(capture);
    }();
    return pages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray capture = FuzzChecks::bytes(data, size);
    PageAnnotations annotations;
    QString error;
    if (!PageAnnotations::parse(capture, listing(), &annotations, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    // Pages named by number only in djvused's comment may lie past the listing.
    QSet<int> pages;
    for (int page = 0; page <= listing().pageCount(); ++page)
        pages << page;
    for (const DumpBlock& block : DjvusedDump::parse(capture, "ant").blocks)
        pages << block.page;
    for (int page : std::as_const(pages))
        for (const QByteArray& expression : annotations.of(page)) {
            FUZZ_CHECK(expression.startsWith('(') && expression.endsWith(')'));
            FUZZ_CHECK(FuzzChecks::isInertExpression(expression));
            PageAnnotations::isAreaWith(expression, QStringLiteral("#p0001.djvu"), QString());
        }
    return 0;
}
