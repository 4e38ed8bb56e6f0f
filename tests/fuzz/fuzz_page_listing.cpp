// The page listing of "djvused -e ls": every page it reads can be found by its name.
#include "FuzzChecks.h"

#include "djvu/PageListing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray capture = FuzzChecks::bytes(data, size);
    const PageListing listing = PageListing::parse(capture);
    FUZZ_CHECK(listing.pageCount() <= capture.count('\n') + 1);
    int position = 0;
    for (const PageListing::Page& page : listing.pages()) {
        FUZZ_CHECK(page.position == ++position);
        FUZZ_CHECK(page.rest.startsWith(page.identifier));
        FUZZ_CHECK(listing.positionOf(page.rest) != 0);
        FUZZ_CHECK(listing.positionOf(page.identifier) != 0);
    }
    listing.positionOf(FuzzChecks::text(data, size));
    // Read strictly against its own page count, a listing that passes numbers its pages in
    // turn and reads to the same pages.
    QString error;
    const PageListing checked = PageListing::parse(capture, &error, listing.pageCount());
    if (error.isEmpty()) {
        FUZZ_CHECK(checked.pageCount() == listing.pageCount());
        FUZZ_CHECK(PageListing::parse(capture, &error, listing.pageCount() + 1).pageCount() ==
                   listing.pageCount());
        FUZZ_CHECK(!error.isEmpty());
    }
    return 0;
}
