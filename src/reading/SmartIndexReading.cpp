#include "reading/SmartIndexReading.h"

#include "base/EngineTexts.h"
#include "base/Plural.h"
#include "reading/BookPages.h"
#include "reading/ContentsLine.h"
#include "reading/OffsetFinder.h"
#include "reading/PageLines.h"
#include "reading/RunningLines.h"

#include <QRegularExpression>
#include <QSet>

namespace {

using Piece = ContentsLine::Piece;

// One text line of an index page: its title words, and the references of its words.
struct IndexLine
{
    ZoneBox box;
    QStringList title;
    struct Ref
    {
        SmartIndexReading::Reference reference;
        ZoneBox box; // the number's share of its word
    };
    QList<Ref> refs;
    bool lastIsRef = false; // the line ends in a reference
    int right = 0;          // right edge of its last word
    QString gluedDigits;    // digits closing its last word, when it holds no reference
    ZoneBox gluedBox;
    // Letters that look like ones closing the line ("Itoll", "Brownian ll"): the number they
    // may stand for, and the term that must stand on its page for it to be read so.
    QString lookalike, lookalikeTerm, lookalikeWord;
    ZoneBox lookalikeBox;
};

// "ff.", "f.", "et seq.": what may follow the first page of a reference as its own word.
bool isFollowing(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(ff?|et|seq)\\.?,?;?$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(text).hasMatch();
}

// A line without a reference whose last word ends in two or three letters that look like
// ones, glued to a word of three letters or more or standing alone after the title.
void readLookalike(const QList<Piece>& pieces, IndexLine* out)
{
    static const QRegularExpression glued(QStringLiteral("^(\\w*[^\\W\\dlI|])([lI|]{2,3})$"));
    static const QRegularExpression alone(QStringLiteral("^[lI|]{2,3}$"));
    const Piece& last = pieces.last();
    QString term, tail;
    qsizetype tailStart = 0;
    if (const auto m = glued.match(last.text); m.hasMatch() && m.captured(1).size() >= 3) {
        term = m.captured(1);
        tail = m.captured(2);
        tailStart = m.capturedStart(2);
    } else if (pieces.size() >= 2 && alone.match(last.text).hasMatch() &&
               pieces[pieces.size() - 2].text.size() >= 3) {
        term = pieces[pieces.size() - 2].text;
        tail = last.text;
    } else {
        return;
    }
    out->lookalike = QString(tail.size(), QLatin1Char('1'));
    out->lookalikeTerm = term;
    out->lookalikeWord = last.text;
    out->lookalikeBox = ContentsLine::partOf(last.box, tailStart, qsizetype(last.text.size()),
                                             qsizetype(last.text.size()));
}

// The word as a term is compared: letters only, folded, a possessive "'s" dropped.
QString termOf(const QString& word)
{
    QString t = word.normalized(QString::NormalizationForm_KD).toLower();
    if (t.endsWith(QStringLiteral("'s")) || t.endsWith(QStringLiteral("\u2019s")))
        t.chop(2);
    QString letters;
    for (const QChar c : std::as_const(t))
        if (c.isLetter())
            letters += c;
    return letters;
}

// Whether the page prints the term as a word of its own.
bool pagePrints(const PageText& page, const QString& term)
{
    const QString wanted = termOf(term);
    for (const TextLine& line : page.lines)
        for (const TextWord& w : line.words)
            if (termOf(w.text) == wanted)
                return true;
    return false;
}

IndexLine readLine(const TextLine& line)
{
    IndexLine out;
    out.box = line.box;
    QList<Piece> pieces = ContentsLine::pieces(line);
    while (!pieces.isEmpty() && (pieces.last().leader || isFollowing(pieces.last().text)))
        pieces.removeLast();
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        if (p.leader)
            continue;
        QList<SmartIndexReading::Reference> refs;
        if (!SmartIndexReading::readReferences(p.text, &refs)) {
            if (out.refs.isEmpty() || !isFollowing(p.text))
                out.title << p.text;
            continue;
        }
        for (const SmartIndexReading::Reference& r : std::as_const(refs))
            out.refs.append(
                {r, ContentsLine::partOf(p.box, r.start, r.end, qsizetype(p.text.size()))});
        out.lastIsRef = i == pieces.size() - 1;
    }
    if (!pieces.isEmpty())
        out.right = pieces.last().box.xmax;
    if (out.refs.isEmpty() && !pieces.isEmpty()) {
        static const QRegularExpression glued(QStringLiteral("^(.*[^\\d\\W].*\\D)?(\\d{1,9})$"));
        const QString last = pieces.last().text;
        const auto m = glued.match(last);
        if (m.hasMatch() && !m.captured(1).isEmpty()) {
            out.gluedDigits = m.captured(2);
            out.gluedBox = ContentsLine::partOf(pieces.last().box, m.capturedStart(2),
                                                qsizetype(last.size()), qsizetype(last.size()));
        } else {
            readLookalike(pieces, &out);
        }
    }
    return out;
}

// The right edge where the page's numbers end, when at least two lines' last references
// end there, within a tolerance; 0 when the numbers stand in no column.
int numberColumn(const QList<IndexLine>& lines, int tolerance)
{
    int column = 0;
    for (const IndexLine& l : lines)
        if (l.lastIsRef)
            column = std::max(column, l.right);
    int aligned = 0;
    for (const IndexLine& l : lines)
        aligned += l.lastIsRef && l.right >= column - tolerance ? 1 : 0;
    return aligned >= 2 ? column : 0;
}

ZoneBox covering(const ZoneBox& a, const ZoneBox& b)
{
    return {std::min(a.xmin, b.xmin), std::min(a.ymin, b.ymin), std::max(a.xmax, b.xmax),
            std::max(a.ymax, b.ymax)};
}

BorderExpression::Box areaOf(const ZoneBox& b)
{
    return {b.xmin, b.ymin, b.xmax - b.xmin, b.ymax - b.ymin};
}

SmartEntry entryOf(int page, const QString& title, const IndexLine::Ref& ref, const ZoneBox& area)
{
    SmartEntry e;
    e.contentsPage = page;
    e.title = title;
    e.words = title.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    e.printed = ref.reference.printed;
    e.number = ref.reference.number;
    e.area = areaOf(area);
    e.left = area.xmin;
    e.lineBoxes << area;
    return e;
}

// The entries of one index page.
QList<SmartEntry> readPage(const PageText& ocrText, int page, WorkKind kind)
{
    const PageText text = PageLines::arrange(ocrText).page;
    const QList<bool> running = RunningLines::flags(text);
    QList<IndexLine> lines;
    for (qsizetype i = 0; i < text.lines.size(); ++i)
        if (!running[i])
            lines << readLine(text.lines[i]);
    int width = text.box.xmax - text.box.xmin;
    for (const IndexLine& l : std::as_const(lines))
        width = std::max(width, l.box.xmax);
    const int tolerance = std::max(width * 3 / 100, 1);
    const int column = numberColumn(lines, tolerance);

    QList<SmartEntry> entries;
    QString lastTitle;      // the title the references of a line of numbers belong to
    bool titleOpen = false; // the line before has a title and no reference yet
    ZoneBox openBox;
    for (IndexLine& l : lines) {
        SmartEntry::Found found = SmartEntry::Found::SameLine;
        // Digits glued to the last word where the page's other numbers end: its number.
        if (l.refs.isEmpty() && !l.gluedDigits.isEmpty() && column > 0 &&
            l.right >= column - tolerance) {
            SmartIndexReading::Reference r;
            r.printed = l.gluedDigits;
            PrintedNumber::readArabic(l.gluedDigits, &r.number);
            l.refs.append({r, l.gluedBox});
            l.title.last().chop(l.gluedDigits.size());
            found = SmartEntry::Found::Glued;
        }
        // Look-alike letters are read as a number only when the reference is confirmed on
        // its page; the term goes with the entry until then.
        QString lookalikeTerm;
        if (l.refs.isEmpty() && !l.lookalike.isEmpty()) {
            SmartIndexReading::Reference r;
            r.printed = l.lookalike;
            PrintedNumber::readArabic(l.lookalike, &r.number);
            l.refs.append({r, l.lookalikeBox});
            // The title keeps the glued word's letters, and loses a number standing alone.
            if (!l.title.isEmpty() && l.title.last() == l.lookalikeWord) {
                if (l.lookalikeWord.size() > l.lookalike.size())
                    l.title.last() = l.lookalikeTerm;
                else
                    l.title.removeLast();
            }
            lookalikeTerm = l.lookalikeWord;
        }
        ZoneBox lineBox = l.box;
        if (!l.title.isEmpty()) {
            lastTitle = l.title.join(QLatin1Char(' '));
            while (!lastTitle.isEmpty() && QStringLiteral(",;:").contains(lastTitle.back()))
                lastTitle.chop(1); // "Ferrite, 47": the comma goes with the number
        } else if (titleOpen) {
            found = SmartEntry::Found::NextLine; // numbers alone under their title
            lineBox = covering(openBox, l.box);
        }
        titleOpen = l.refs.isEmpty() && !l.title.isEmpty();
        openBox = l.box;
        if (l.refs.isEmpty())
            continue;
        if (kind == WorkKind::Index1) {
            entries << entryOf(page, lastTitle, l.refs.last(), lineBox);
            entries.last().found = found;
            entries.last().misreadAs = lookalikeTerm;
            continue;
        }
        for (const IndexLine::Ref& ref : std::as_const(l.refs)) {
            entries << entryOf(page, lastTitle, ref, ref.box);
            entries.last().found = found;
            entries.last().misreadAs = lookalikeTerm;
        }
    }
    return entries;
}

} // namespace

bool SmartIndexReading::readReferences(const QString& word, QList<Reference>* references)
{
    // A first page, then perhaps the end of a range or "ff"; a list is split at its commas.
    static const QRegularExpression one(
        QStringLiteral("^\\(?(\\d+)(?:[-\u2010\u2011\u2012\u2013\u2014]\\d+|ff?\\.?)?\\)?$"));
    references->clear();
    qsizetype start = 0;
    while (start <= word.size()) {
        qsizetype end = word.indexOf(QLatin1Char(','), start);
        const qsizetype next = end < 0 ? word.size() + 1 : end + 1;
        if (end < 0)
            end = word.size();
        QString part = word.mid(start, end - start);
        while (!part.isEmpty() && QStringLiteral(";.:").contains(part.back()))
            part.chop(1);
        if (!part.isEmpty()) {
            const auto m = one.match(part);
            if (!m.hasMatch())
                return false;
            Reference r;
            r.start = start + m.capturedStart(1);
            r.end = start + m.capturedEnd(1);
            r.printed = m.captured(1);
            PrintedNumber::readArabic(r.printed, &r.number);
            references->append(r);
        } else if (end < word.size() || references->isEmpty()) {
            return false; // ",," or a word of punctuation only
        }
        start = next;
    }
    return !references->isEmpty();
}

SmartReading::Result SmartIndexReading::read(PageTextSource& source, const Settings& settings)
{
    SmartReading::Result result;
    BookPages book(source);
    const int pageCount = book.pageCount();
    QSet<int> indexPages;
    for (const int p : settings.indexPages) {
        if (p < 1 || p > pageCount) {
            result.error = EngineTexts::say("e_index_outside")
                               .arg(p)
                               .arg(Plural::count("e_n_pages", pageCount));
            return result;
        }
        const PageText& text = book.text(p);
        if (!text.hasLayer || text.lines.isEmpty()) {
            result.error = EngineTexts::say("e_index_no_text").arg(p);
            return result;
        }
        indexPages.insert(p);
        result.entries << readPage(text, p, settings.kind);
    }
    if (result.entries.isEmpty()) {
        result.error = EngineTexts::say("e_index_no_refs");
        return result;
    }

    if (settings.offset) {
        result.offset = *settings.offset;
    } else {
        const OffsetFinder::Outcome found =
            OffsetFinder::find({}, book, indexPages, settings.halve);
        if (!found.found) {
            result.error = found.error;
            return result;
        }
        result.offset = found.offset;
        result.notes << found.note;
    }

    // A number that leads outside the book (a year, a too long run of digits) is no page.
    int outside = 0;
    QString example;
    for (SmartEntry& e : result.entries) {
        const int target =
            e.number.tooLong ? 0
                             : SmartReading::target(e.number.value, result.offset, settings.halve);
        if (!e.misreadAs.isEmpty()) {
            // "Itoll" is "Ito 11" only when page 11 speaks of Ito.
            const QString term = e.words.isEmpty() ? QString() : e.words.last();
            if (target >= 1 && target <= pageCount && pagePrints(book.text(target), term)) {
                e.target = target;
                result.notes << EngineTexts::say("e_index_lookalike_read")
                                    .arg(e.misreadAs, e.printed)
                                    .arg(e.contentsPage);
            } else {
                result.notes << EngineTexts::say("e_index_lookalike_unread")
                                    .arg(e.misreadAs)
                                    .arg(e.contentsPage);
            }
            continue;
        }
        if (target >= 1 && target <= pageCount) {
            e.target = target;
            continue;
        }
        if (outside++ == 0)
            example = EngineTexts::say("e_index_number_after")
                          .arg(e.printed.left(20))
                          .arg(e.title)
                          .arg(e.contentsPage);
    }
    if (outside > 0)
        result.notes << EngineTexts::say("e_index_numbers_outside")
                            .arg(outside)
                            .arg(Plural::count("e_n_pages", pageCount))
                            .arg(example);
    return result;
}
