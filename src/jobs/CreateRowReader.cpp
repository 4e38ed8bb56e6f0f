#include "jobs/CreateRowReader.h"

#include "base/ColourText.h"
#include "base/EngineTexts.h"
#include "jobs/PageRanges.h"

#include <algorithm>
#include <climits>

namespace {

namespace C = CreateColumn;

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

    // A typed choice by its stored number.
    template <typename E> bool choice(int column, E* value, const char* what)
    {
        int n = 0;
        if (!number(column, &n, what, 0, JobValue::kCount<E> - 1))
            return false;
        *value = E(n);
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

    // A "0"/"1" column that rows made before it existed leave empty or out: off.
    bool newFlag(int column, bool* value, const char* what)
    {
        const QString text = row_.columns.value(column).trimmed();
        if (!text.isEmpty() && text != QLatin1String("0") && text != QLatin1String("1")) {
            fail(column, what);
            return false;
        }
        *value = text == QLatin1String("1");
        return true;
    }

    bool flag(int column) const { return row_.columns.value(column) == QLatin1String("1"); }
    QString text(int column) const { return row_.columns.value(column); }

    void fail(int column, const char* what)
    {
        *error_ = EngineTexts::say("e_cell").arg(column).arg(
            QString::fromLatin1(what), row_.fullPath(), row_.columns.value(column),
            EngineTexts::say("e_valid_value"));
    }

private:
    const CreateRow& row_;
    QString* error_;
};

// The contents link's shape and border columns are read as the tab stores them: "0" is a
// rectangle and anything else an oval; a border type other than "0" to "6" writes no
// border word.
std::optional<BorderType> linkBorderType(const QString& text)
{
    bool ok = false;
    const int type = text.toInt(&ok);
    if (!ok || text != QString::number(type))
        return std::nullopt;
    return JobValue::fromNumber<BorderType>(type);
}

// The pages column holds one first page, or a list of ranges ("1,17-18") that leaves the
// last-page column out; the offset column one offset, or one for each range ("0,16").
bool readRanges(Reader& r, const CreateRow& row, CreateJob* job)
{
    const QString pages = row.columns.value(C::FirstPage);
    const QString offsets = row.columns.value(C::Offset);
    const bool list = PageRanges::isList(pages, offsets);
    QList<ContentsRange> ranges;
    switch (PageRanges::readFields(pages, row.columns.value(C::LastPage), offsets, &ranges)) {
    case PageRanges::Field::Pages:
        r.fail(C::FirstPage, list ? "pages" : "first page");
        return false;
    case PageRanges::Field::LastPage:
        r.fail(C::LastPage, "last page");
        return false;
    case PageRanges::Field::Offset:
        r.fail(C::Offset, "offset");
        return false;
    case PageRanges::Field::None:
        break;
    }
    job->firstPage = ranges[0].firstPage;
    job->lastPage = ranges[0].lastPage;
    job->offset = ranges[0].offset;
    job->offsetAuto = ranges[0].offsetAuto;
    job->moreRanges = ranges.mid(1);
    return true;
}

} // namespace

namespace CreateRowReader {

bool read(const CreateRow& row, CreateJob* job, QString* error)
{
    Reader r(row, error);
    *job = CreateJob();
    job->path = row.fullPath();
    int always = 0, highlight = 0, halve = 0, linkPages = 0;
    if (!readRanges(r, row, job))
        return false;
    if (!r.choice(C::Kind, &job->kind, "kind of work") ||
        !r.choice(C::BorderType, &job->style.borderType, "border type") ||
        !r.choice(C::Shape, &job->shape, "shape") ||
        !r.colour(C::BorderColour, &job->style.borderColour, "border colour") ||
        !r.colour(C::HighlightColour, &job->style.highlightColour, "highlight colour") ||
        !r.number(C::ShadowWidth, &job->style.shadowWidth, "shadow width") ||
        !r.number(C::AlwaysVisible, &always, "always visible") ||
        !r.number(C::Highlight, &highlight, "highlight") ||
        !r.number(C::Halve, &halve, "halving") ||
        !r.number(C::LinkPage, &job->contentsLinkPage, "contents-link page") ||
        !r.number(C::LinkEveryPage, &linkPages, "contents link on every page"))
        return false;
    job->contentsLinkPages =
        JobValue::fromNumber<ContentsLinkPages>(linkPages).value_or(ContentsLinkPages::NoPage);
    job->style.alwaysVisible = always == 1;
    job->style.highlight = highlight == 1;
    job->halve = halve == 1;
    job->comment = r.text(C::Comment);
    job->contentsLink = r.flag(C::ContentsLink);
    job->outline = r.flag(C::Outline);
    bool smart = false, offsetAuto = false;
    if (!r.newFlag(C::Reading, &smart, "reading") ||
        !r.newFlag(C::OffsetAuto, &offsetAuto, "offset found by itself"))
        return false;
    const QString recognise = r.text(C::Recognise).trimmed();
    if (!recognise.isEmpty()) {
        bool on = false;
        if (!r.newFlag(C::Recognise, &on, "recognise pages without text"))
            return false;
        job->recognise = on;
    }
    job->offsetAuto = job->offsetAuto || offsetAuto; // "auto" in the column, or the box
    job->reading = smart ? ContentsReading::Smart : ContentsReading::Classic;
    for (ContentsRange& range : job->moreRanges)
        range.offsetAuto = range.offsetAuto || job->offsetAuto;
    if (!job->contentsLink)
        return true;

    // The contents link's numbers and colours go into the script, so they must be what the
    // tab stores: whole numbers and colour texts.
    ContentsLinkSettings& link = job->link;
    link.shape =
        r.text(C::LinkShape) == QLatin1String("0") ? AreaShape::Rectangle : AreaShape::Oval;
    link.borderType = linkBorderType(r.text(C::LinkBorderType));
    link.alwaysVisible = r.flag(C::LinkAlwaysVisible);
    link.highlight = r.flag(C::LinkHighlight);
    link.comment = r.text(C::LinkComment);
    return r.number(C::LinkBorderWidth, &link.borderWidth, "contents-link border width") &&
           r.colour(C::LinkColour1, &link.colour1, "contents-link colour 1") &&
           r.colour(C::LinkColour2, &link.colour2, "contents-link colour 2") &&
           r.number(C::LinkLeft, &link.left, "contents-link left offset") &&
           r.number(C::LinkBottom, &link.bottom, "contents-link bottom offset") &&
           r.number(C::LinkWidth, &link.width, "contents-link width") &&
           r.number(C::LinkHeight, &link.height, "contents-link height") &&
           r.number(C::LinkTarget, &link.targetPage, "contents-link target page");
}

QList<CreateJob> jobsOf(const QList<CreateRow>& rows)
{
    QList<CreateJob> jobs;
    for (const CreateRow& row : rows) {
        CreateJob job;
        QString error;
        if (!read(row, &job, &error)) {
            job = CreateJob();
            job.path = row.fullPath();
            job.rowError = error;
        }
        jobs << job;
    }
    return jobs;
}

} // namespace CreateRowReader
