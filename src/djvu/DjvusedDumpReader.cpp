#include "djvu/DjvusedDumpReader.h"

#include "base/EngineTexts.h"
#include "djvu/TextDump.h"

namespace {

QString shown(QByteArrayView line)
{
    return QString::fromUtf8(line.toByteArray().left(120)).trimmed();
}

// `select "name"` or the old `select 'name'`, optionally followed by a "#" comment.
bool readSelection(QByteArrayView line, QByteArray* name, int* page)
{
    if (!line.startsWith("select ") || line.size() < 9)
        return false;
    qsizetype open = 7;
    while (open < line.size() && line[open] == ' ')
        ++open;
    if (open >= line.size())
        return false;
    qsizetype after = -1;
    if (line[open] == '"') {
        const qsizetype close = TextDump::closingQuote(line, open);
        if (close < 0)
            return false;
        *name = TextDump::unescapeBytes(line.sliced(open + 1, close - open - 1));
        after = close + 1;
    } else if (line[open] == '\'') {
        const qsizetype close = line.lastIndexOf('\'');
        if (close <= open)
            return false;
        *name = line.sliced(open + 1, close - open - 1).toByteArray();
        after = close + 1;
    } else {
        return false;
    }
    const QByteArrayView rest = line.sliced(after).trimmed();
    *page = 0;
    if (rest.isEmpty())
        return true;
    if (!rest.startsWith('#'))
        return false;
    // djvused names the page of a selection in its comment: "# page 12".
    const QByteArrayView comment = rest.sliced(1).trimmed();
    if (comment.startsWith("page ")) {
        bool ok = false;
        const int number = comment.sliced(5).trimmed().toInt(&ok);
        if (ok && number > 0)
            *page = number;
    }
    return true;
}

} // namespace

DjvusedDumpReader::DjvusedDumpReader(const QByteArray& kind, BlockSink onBlock)
    : removeLine_("select; remove-" + kind), setLine_("set-" + kind), onBlock_(std::move(onBlock))
{
}

void DjvusedDumpReader::feed(QByteArrayView piece)
{
    if (piece.isEmpty() || !error_.isEmpty())
        return;
    anything_ = true;
    qsizetype from = 0;
    for (qsizetype end = piece.indexOf('\n'); end >= 0 && error_.isEmpty();
         end = piece.indexOf('\n', from)) {
        if (partial_.isEmpty()) {
            readLine(piece.sliced(from, end - from));
        } else {
            partial_ += piece.sliced(from, end - from);
            readLine(partial_);
            partial_.clear();
        }
        from = end + 1;
    }
    if (error_.isEmpty())
        partial_ += piece.sliced(from);
}

void DjvusedDumpReader::readLine(QByteArrayView line)
{
    // Carriage returns at a line's end are line-ending blanks, however many: a body line
    // keeping one would lose it when its script is read again.
    while (line.endsWith('\r'))
        line.chop(1);
    if (inBlock_) {
        if (line != ".") {
            block_.body += line;
            block_.body += '\n';
            return;
        }
        const QString why = DjvusedDump::dataError(block_.body);
        if (!why.isEmpty())
            return fault(EngineTexts::say("e_dump_malformed")
                             .arg(QString::fromUtf8(block_.identifier), why));
        inBlock_ = false;
        selected_ = false;
        onBlock_(std::move(block_));
        block_ = DumpBlock();
        return;
    }
    if (line.trimmed().isEmpty() || line.startsWith('#'))
        return;
    if (!removed_) {
        if (line != removeLine_)
            return fault(
                EngineTexts::say("e_dump_bad_start").arg(QString::fromLatin1(removeLine_)));
        removed_ = true;
        return;
    }
    if (readSelection(line, &block_.identifier, &block_.page)) {
        selected_ = true;
        return;
    }
    if (line != setLine_ || !selected_)
        return fault(EngineTexts::say("e_dump_odd_line").arg(shown(line)));
    inBlock_ = true;
}

bool DjvusedDumpReader::finish()
{
    if (!error_.isEmpty())
        return false;
    if (!anything_ || !partial_.isEmpty())
        fault(EngineTexts::say("e_dump_cut"));
    else if (inBlock_)
        fault(EngineTexts::say("e_dump_no_end").arg(QString::fromUtf8(block_.identifier)));
    else if (!removed_)
        fault(EngineTexts::say("e_dump_bad_start").arg(QString::fromLatin1(removeLine_)));
    return error_.isEmpty();
}
