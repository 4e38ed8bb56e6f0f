#include "djvu/PageTexts.h"
#include "base/EngineTexts.h"

#include "djvu/DjvusedDump.h"

#include <QStringList>

namespace {

const QByteArray kSizeLine = "width=";
const QByteArray kNoText = "(page 0 0 0 0 \"\")";

} // namespace

QString PageTexts::commands(const QList<int>& pageNumbers)
{
    QStringList parts;
    for (int page : pageNumbers)
        parts << QStringLiteral("select %1; size; print-txt").arg(page);
    // One more size line closes the last page's part, so a capture cut anywhere is seen.
    if (!pageNumbers.isEmpty())
        parts << QStringLiteral("select %1; size").arg(pageNumbers.last());
    return parts.join(QStringLiteral("; "));
}

PageTexts PageTexts::parse(const QByteArray& capture, const QList<int>& pageNumbers)
{
    PageTexts texts;
    QList<QByteArray> lines = capture.split('\n');
    if (!capture.endsWith('\n') || lines.size() < 2 ||
        !lines[lines.size() - 2].startsWith(kSizeLine)) {
        texts.error = EngineTexts::say("e_text_cut");
        return texts;
    }
    lines.removeLast(); // after the final line feed
    lines.removeLast(); // the closing size line
    qsizetype sizeLines = 0;
    for (const QByteArray& line : std::as_const(lines)) {
        if (line.startsWith(kSizeLine)) {
            if (++sizeLines > pageNumbers.size())
                break; // more pages than asked for: refused below
            texts.pages.append(Page{pageNumbers[texts.pages.size()], false, {}});
            continue;
        }
        if (texts.pages.isEmpty()) {
            texts.error = EngineTexts::say("e_text_before_size");
            return texts;
        }
        texts.pages.last().text += line + '\n';
    }
    if (sizeLines != pageNumbers.size()) {
        texts.error = EngineTexts::say("e_text_cut_pages").arg(sizeLines).arg(pageNumbers.size());
        texts.pages.clear();
        return texts;
    }
    for (Page& page : texts.pages) {
        const QString why = DjvusedDump::dataError(page.text);
        if (!why.isEmpty()) {
            texts.error = EngineTexts::say("e_text_page_bad").arg(page.number).arg(why);
            texts.pages.clear();
            return texts;
        }
        const QByteArray trimmed = page.text.trimmed();
        page.hasText = !trimmed.isEmpty() && trimmed != kNoText;
        if (!page.hasText)
            page.text.clear();
    }
    return texts;
}
