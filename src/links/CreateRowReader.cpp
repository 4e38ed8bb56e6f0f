#include "links/CreateRowReader.h"

#include "app/ColourText.h"

#include <algorithm>
#include <climits>

namespace {

class Reader
{
public:
    Reader(const CreateRow& row, QString* error) : row_(row), error_(error) {}

    bool number(int column, int* value, const char* what, int low = INT_MIN, int high = INT_MAX)
    {
        bool ok = false;
        const QString text = row_.columns.value(column);
        const int v = text.trimmed().toInt(&ok);
        if (!ok || v < low || v > high) {
            fail(column, what);
            return false;
        }
        *value = v;
        return true;
    }

    // A number used as text in the contents link: checked, kept as stored.
    bool numberText(int column, QString* value, const char* what)
    {
        int unused = 0;
        if (!number(column, &unused, what))
            return false;
        *value = QString::number(unused);
        return true;
    }

    bool colour(int column, QString* value, const char* what)
    {
        QString text = row_.columns.value(column).trimmed();
        if (text.isEmpty())
            text = QStringLiteral("FFFFFF");
        quint32 unused = 0;
        const bool hexOnly = std::all_of(text.begin(), text.end(), [](QChar c) {
            const QChar u = c.toUpper();
            return (u >= QLatin1Char('0') && u <= QLatin1Char('9')) ||
                   (u >= QLatin1Char('A') && u <= QLatin1Char('F'));
        });
        if (!hexOnly || !ColourText::toValue(text, &unused)) {
            fail(column, what);
            return false;
        }
        *value = text.toUpper();
        return true;
    }

    bool flag(int column) const { return row_.columns.value(column) == QLatin1String("1"); }
    QString text(int column) const { return row_.columns.value(column); }

private:
    void fail(int column, const char* what)
    {
        *error_ = QStringLiteral("Column %1 (%2) of the row for %3 holds \"%4\", which is not "
                                 "a valid value.")
                      .arg(column)
                      .arg(QString::fromLatin1(what), row_.fullPath(), row_.columns.value(column));
    }

    const CreateRow& row_;
    QString* error_;
};

} // namespace

namespace CreateRowReader {

bool read(const CreateRow& row, CreateJob* job, QString* error)
{
    Reader r(row, error);
    job->path = row.fullPath();
    int always = 0, highlight = 0, halve = 0;
    if (!r.number(1, &job->firstPage, "first page") || !r.number(2, &job->lastPage, "last page") ||
        !r.number(3, &job->offset, "offset") || !r.number(4, &job->kind, "kind of work", 0, 2) ||
        !r.number(5, &job->style.borderType, "border type", 0, 6) ||
        !r.number(6, &job->shape, "shape", 0, 1) ||
        !r.colour(7, &job->style.borderColour, "border colour") ||
        !r.colour(8, &job->style.highlightColour, "highlight colour") ||
        !r.number(9, &job->style.shadowWidth, "shadow width") ||
        !r.number(10, &always, "always visible") || !r.number(11, &highlight, "highlight") ||
        !r.number(12, &halve, "halving") ||
        !r.number(21, &job->contentsLinkPage, "contents-link page") ||
        !r.number(29, &job->contentsLinkEveryPage, "contents link on every page"))
        return false;
    job->style.alwaysVisible = always == 1;
    job->style.highlight = highlight == 1;
    job->halve = halve == 1;
    job->comment = r.text(28);
    job->contentsLink = r.flag(13);
    if (!job->contentsLink)
        return true;

    // The contents link's texts go into the script as they stand, so they must be what
    // the tab stores: whole numbers and colour texts.
    BorderExpression::ContentsLink& link = job->link;
    link.shape = r.text(14);
    link.borderType = r.text(15);
    link.alwaysVisible = r.text(16);
    link.highlight = r.text(17);
    link.comment = r.text(27);
    return r.numberText(18, &link.borderWidth, "contents-link border width") &&
           r.colour(19, &link.colour1, "contents-link colour 1") &&
           r.colour(20, &link.colour2, "contents-link colour 2") &&
           r.numberText(22, &link.left, "contents-link left offset") &&
           r.numberText(23, &link.bottom, "contents-link bottom offset") &&
           r.numberText(24, &link.width, "contents-link width") &&
           r.numberText(25, &link.height, "contents-link height") &&
           r.numberText(26, &link.targetPage, "contents-link target page");
}

} // namespace CreateRowReader
