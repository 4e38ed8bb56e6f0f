#include "review/PlanText.h"
#include "base/EngineTexts.h"

#include "review/ReviewModel.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kSeparator = QStringLiteral(" | ");
const QString kUnnumbered = QStringLiteral("unnumbered");

QString lineError(int line, const QString& what)
{
    return EngineTexts::say("e_line_what").arg(line).arg(what);
}

bool readNumber(const QString& text, qint64 low, qint64* out)
{
    static const QRegularExpression digits(QStringLiteral("^[-+]?\\d{1,9}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *out = text.toLongLong();
    return *out >= low;
}

// The comment stands in double quotes; inside them a backslash escapes the next character,
// as in the hyperlink script. Returns where the closing quote stands, -1 when none does.
qsizetype closingQuote(const QString& text)
{
    if (!text.startsWith(QLatin1Char('"')))
        return -1;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\'))
            ++i;
        else if (text[i] == QLatin1Char('"'))
            return i;
    }
    return -1;
}

bool parseEntry(const QString& line, int number, PlanText::Entry* out, QString* error)
{
    PlanEntry& e = out->entry;
    out->line = number;
    if (!line.startsWith(QLatin1String("+ ")) && !line.startsWith(QLatin1String("- "))) {
        *error = lineError(number, EngineTexts::say("e_plantext_sign"));
        return false;
    }
    out->ticked = line.startsWith(QLatin1Char('+'));
    QStringList fields = line.mid(2).split(kSeparator);
    if (fields.size() < 7) {
        *error = lineError(number, EngineTexts::say("e_plantext_fields"));
        return false;
    }
    // The comment and the title may hold the separator themselves.
    const QString rest = QStringList(fields.mid(5)).join(kSeparator);
    fields = fields.mid(0, 5);
    qint64 page = 0, level = 0;
    if (!readNumber(fields[0].trimmed(), 1, &page)) {
        *error = lineError(number, EngineTexts::say("e_plantext_page").arg(fields[0].trimmed()));
        return false;
    }
    QStringList levelWords = fields[1].simplified().split(QLatin1Char(' '));
    e.numbered = !(levelWords.size() == 2 && levelWords[1] == kUnnumbered);
    if (levelWords.size() > (e.numbered ? 1 : 2) || !readNumber(levelWords[0], 0, &level)) {
        *error = lineError(number, EngineTexts::say("e_plantext_level").arg(fields[1].trimmed()));
        return false;
    }
    e.printed = fields[2].trimmed().toUtf8();
    if (!readNumber(fields[3].trimmed(), 1, &e.targetPage)) {
        *error = lineError(number, EngineTexts::say("e_plantext_target").arg(fields[3].trimmed()));
        return false;
    }
    const QStringList box = fields[4].simplified().split(QLatin1Char(' '));
    qint64 values[4] = {};
    bool boxOk = box.size() == 4;
    for (int i = 0; boxOk && i < 4; ++i)
        boxOk = readNumber(box[i], i < 2 ? 0 : 1, &values[i]);
    if (!boxOk) {
        *error = lineError(number, EngineTexts::say("e_plantext_area").arg(fields[4].trimmed()));
        return false;
    }
    e.area = BorderExpression::Box{int(values[0]), int(values[1]), int(values[2]), int(values[3])};
    const qsizetype quote = closingQuote(rest);
    if (quote < 0 || rest.mid(quote + 1, kSeparator.size()) != kSeparator) {
        *error = lineError(number, EngineTexts::say("e_plantext_comment"));
        return false;
    }
    const QString comment = rest.mid(1, quote - 1);
    for (const QChar c : comment) {
        if (c.unicode() < 32 || c.unicode() > 126) {
            *error = lineError(number, EngineTexts::say("e_plantext_char"));
            return false;
        }
    }
    e.comment = comment.toLatin1();
    e.title = rest.mid(quote + 1 + kSeparator.size()).simplified();
    if (e.title.isEmpty()) {
        *error = lineError(number, EngineTexts::say("e_plantext_no_title"));
        return false;
    }
    e.words = e.title.split(QLatin1Char(' '));
    e.contentsPage = int(page);
    e.level = int(level);
    return true;
}

} // namespace

QByteArray PlanText::heading()
{
    return "# Tocsmith plan. One entry a line; \"+\" is written, \"-\" left out:\n"
           "# mark page | level | printed number | target page | area (left bottom width "
           "height) | \"comment\" | title\n"
           "# A line the reading did not link follows the entries as one left out, under its "
           "reason.\n";
}

QByteArray PlanText::write(const ContentsPlan& plan, const QList<bool>& ticked)
{
    QString text = QStringLiteral("@ %1\n").arg(plan.path);
    auto entryLine = [&text](const PlanEntry& e, bool written) {
        text += QStringLiteral("%1 %2 | %3%4 | %5 | %6 | %7 %8 %9 %10 | \"%11\" | %12\n")
                    .arg(written ? QLatin1Char('+') : QLatin1Char('-'))
                    .arg(e.contentsPage)
                    .arg(e.level)
                    .arg(e.numbered ? QString() : QLatin1Char(' ') + kUnnumbered)
                    .arg(QString::fromUtf8(e.printed))
                    .arg(e.targetPage)
                    .arg(e.area.x)
                    .arg(e.area.y)
                    .arg(e.area.width)
                    .arg(e.area.height)
                    .arg(QString::fromLatin1(e.comment), e.title.simplified());
    };
    QList<PlanEntry> entries;
    for (const PlanPage& page : plan.pages)
        entries << page.entries;
    for (qsizetype i = 0; i < entries.size(); ++i)
        entryLine(entries[i], ticked.isEmpty() || ticked.value(i, true));
    // Each line the reading left without a link follows as an entry left out, under its
    // reason: a "+" makes it an entry.
    const QList<LineAccount::Line>& lines = plan.lines.lines;
    if (!lines.isEmpty())
        text += QStringLiteral("# %1\n").arg(plan.lines.summary());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const LineAccount::Line& line = lines[i];
        if (!LineAccount::isUnlinked(line))
            continue;
        text += QStringLiteral("# %1\n").arg(LineAccount::describe(line).simplified());
        const int place = ReviewModel::placeOfLine(plan, int(i), entries);
        entryLine(ReviewModel::entryOfLine(plan, int(i), entries, place, plan.offset), false);
    }
    return text.toUtf8();
}

bool PlanText::parse(const QByteArray& text, QList<Document>* documents, QString* error)
{
    documents->clear();
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int number = int(i + 1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("@ "))) {
            const QString path = line.mid(2).trimmed();
            if (path.isEmpty()) {
                *error = lineError(number, EngineTexts::say("e_plantext_at"));
                return false;
            }
            const QString absolute = QFileInfo(path).absoluteFilePath();
            // A second block of one document would be dropped unseen: refused instead.
            if (std::any_of(documents->begin(), documents->end(),
                            [&](const Document& d) { return d.path == absolute; })) {
                *error = lineError(number, EngineTexts::say("e_plantext_twice").arg(path));
                return false;
            }
            documents->append(Document{absolute, {}});
            continue;
        }
        if (documents->isEmpty()) {
            *error = lineError(number, EngineTexts::say("e_plantext_no_document"));
            return false;
        }
        Entry entry;
        if (!parseEntry(line, number, &entry, error))
            return false;
        documents->last().entries << entry;
    }
    return true;
}

bool PlanText::apply(const Document& document, ContentsPlan* plan, QString* error)
{
    QList<PlanEntry> entries;
    QList<int> lines;
    for (const Entry& e : document.entries) {
        if (!e.ticked)
            continue;
        entries << e.entry;
        lines << e.line;
    }
    int bad = 0;
    QString why;
    if (ReviewModel::placeEntries(plan, entries, &bad, &why))
        return true;
    *error = lineError(lines.value(bad), why);
    return false;
}
