// score_samples: runs tocsmith-cli's reading (create --dry-run --report) on each contents and
// index of the sample books and scores what it would link against a reader's truth: the
// samples' truth.json, and for the Russian manual the outline its author made by hand.
//
//   score_samples [--reading classic|smart] [--offset N|auto] [--only TEXT]
//                 [--samples DIR] [--cli PATH] [--quiet] [--strip-text]
//                 [-- more create options]
// --strip-text: the reading runs on a copy of each book whose text layer is removed, and its
// links are also compared with those the same reading makes with the text layer.
//
// Per contents or index it prints the entries of the truth, how many were found with the
// right title and target page (recall), how many written links are right (precision), and
// lists the misses and the wrong links. The exit status is 0 when every case ran.

#include "djvu/PageListing.h"
#include "outline/OutlineScript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>

namespace {

QTextStream out(stdout);

struct Truth
{
    QString title; // empty for an index target
    int page = 0;
};

struct Written
{
    QString title;
    QString printed;
    int page = 0;       // where its link leads
    int sourcePage = 0; // the page it stands on
    QRect area;         // its link's area there
};

enum class TruthSource
{
    Outline,      // the part of the book's outline whose top bookmark names the first page
    JsonContents, // truth.json: <book>.contents.entries
    JsonIndex     // truth.json: <book>.index.targets
};

struct Case
{
    QString name;
    QString book;
    int first = 0, last = 0;
    int offset = 0;
    QString kind; // contents, index1, index2
    TruthSource truth;
};

const QList<Case>& cases()
{
    static const QList<Case> all = {
        {QStringLiteral("ru contents p1"), QStringLiteral("djvulibre-book-ru.djvu"), 1, 1, 0,
         QStringLiteral("contents"), TruthSource::Outline},
        {QStringLiteral("ru contents p17-18"), QStringLiteral("djvulibre-book-ru.djvu"), 17, 18, 16,
         QStringLiteral("contents"), TruthSource::Outline},
        {QStringLiteral("malliavin contents p7-8"), QStringLiteral("malliavin.djvu"), 7, 8, 10,
         QStringLiteral("contents"), TruthSource::JsonContents},
        {QStringLiteral("malliavin index p115"), QStringLiteral("malliavin.djvu"), 115, 115, 10,
         QStringLiteral("index2"), TruthSource::JsonIndex},
        {QStringLiteral("testE009 contents p3-9"), QStringLiteral("testE009.djvu"), 3, 9, 14,
         QStringLiteral("contents"), TruthSource::JsonContents},
    };
    return all;
}

QByteArray run(const QString& program, const QStringList& args, int* status = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    if (status)
        *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

QByteArray djvused(const QString& path, const QString& commands)
{
    return run(QStringLiteral("djvused"), {path, QStringLiteral("-e"), commands});
}

// Lower case, letters and digits only: the form titles are compared in.
QString normalised(const QString& title)
{
    // Compatibility forms folded and accents dropped: "Hörmander" and "Hormander", "¹" and "1".
    QString n;
    for (const QChar c : title.normalized(QString::NormalizationForm_KD).toLower())
        if (c.isLetterOrNumber())
            n += c == QChar(0x0451) ? QChar(0x0435) : c; // ё → е
    return n;
}

int distance(const QString& a, const QString& b)
{
    QList<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// Same title: equal when compared loosely, allowing a letter the OCR misread in fifteen.
bool sameTitle(const QString& truth, const QString& written)
{
    const QString a = normalised(truth), b = normalised(written);
    if (a.isEmpty() || b.isEmpty())
        return false;
    return distance(a, b) <= std::max<qsizetype>(1, a.size() / 15);
}

struct Score
{
    int truth = 0, found = 0, written = 0, right = 0;
    QStringList misses, wrong;
};

// Contents: a truth entry is found when a written entry has its title and its page; a
// written link is right when its title and page are a truth entry's, or (for a part of
// an outline) when it names no entry and leads to the part's own top page.
Score scoreContents(const QList<Truth>& truth, const QList<Written>& written, int rootPage)
{
    Score s;
    s.truth = int(truth.size());
    QList<bool> used(written.size(), false);
    for (const Truth& t : truth) {
        qsizetype hit = -1, named = -1;
        for (qsizetype i = 0; i < written.size() && hit < 0; ++i) {
            if (used[i] || !sameTitle(t.title, written[i].title))
                continue;
            if (written[i].page == t.page)
                hit = i;
            else if (named < 0)
                named = i;
        }
        if (hit >= 0) {
            used[hit] = true;
            ++s.found;
        } else if (named >= 0) {
            s.misses << QStringLiteral("%1 -> %2: linked to %3 (printed \"%4\")")
                            .arg(t.title)
                            .arg(t.page)
                            .arg(written[named].page)
                            .arg(written[named].printed);
        } else {
            s.misses << QStringLiteral("%1 -> %2: not found").arg(t.title).arg(t.page);
        }
    }
    for (qsizetype i = 0; i < written.size(); ++i) {
        const Written& w = written[i];
        if (w.page <= 0)
            continue;
        ++s.written;
        bool right = used[i], named = false;
        for (const Truth& t : truth) {
            if (!sameTitle(t.title, w.title))
                continue;
            named = true;
            right = right || t.page == w.page;
        }
        if (!named && rootPage > 0 && w.page == rootPage)
            right = true;
        if (right)
            ++s.right;
        else
            s.wrong << QStringLiteral("\"%1\" (printed \"%2\") -> %3")
                           .arg(w.title, w.printed)
                           .arg(w.page);
    }
    return s;
}

// Index: the truth is a bag of target pages; links match them one for one.
Score scoreIndex(const QList<Truth>& truth, const QList<Written>& written)
{
    Score s;
    s.truth = int(truth.size());
    QMap<int, int> wanted;
    for (const Truth& t : truth)
        ++wanted[t.page];
    for (const Written& w : written) {
        if (w.page <= 0)
            continue;
        ++s.written;
        if (wanted.value(w.page) > 0) {
            --wanted[w.page];
            ++s.right;
        } else {
            s.wrong << QStringLiteral("\"%1\" -> %2").arg(w.printed).arg(w.page);
        }
    }
    s.found = s.right;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        for (int k = 0; k < it.value(); ++k)
            s.misses << QStringLiteral("page %1: not linked").arg(it.key());
    return s;
}

// The outline part whose top bookmark leads to the contents' first page, without the
// entries deeper than the contents lists (their numbering not printed on its pages).
QList<Truth> outlineTruth(const QString& path, const Case& c, int* rootPage)
{
    const PageListing listing = PageListing::parse(djvused(path, QStringLiteral("ls")));
    QString error;
    const Outline outline =
        OutlineScript::parse(djvused(path, QStringLiteral("print-outline")), &error);
    auto pageOf = [&](const QByteArray& target) {
        return listing.positionOf(QString::fromUtf8(target.mid(1)));
    };
    // The contents' text, "8.3.4 .1.2" read as the numbering "8.3.4.1.2".
    QString printed;
    for (int p = c.first; p <= c.last; ++p)
        printed +=
            QString::fromUtf8(djvused(path, QStringLiteral("select %1; print-pure-txt").arg(p)))
                .remove(QRegularExpression(QStringLiteral("(?<=\\d)\\s+(?=\\.\\d)")));
    static const QRegularExpression numbering(QStringLiteral("^(\\d+(?:\\.\\d+)*)\\.?\\s"));
    auto isPrinted = [&](const QString& n) {
        return printed.contains(QRegularExpression(QStringLiteral("(?<![\\S])") +
                                                   QRegularExpression::escape(n) +
                                                   QStringLiteral("(?!\\.?\\d)")));
    };
    QList<Truth> truth;
    bool inPart = false;
    for (const Bookmark& b : outline.bookmarks) {
        if (b.level == 0) {
            inPart = pageOf(b.target) == c.first;
            if (inPart)
                *rootPage = c.first;
            continue;
        }
        const QString title = QString::fromUtf8(b.title).trimmed();
        const auto m = numbering.match(title + QLatin1Char(' '));
        if (inPart && (!m.hasMatch() || isPrinted(m.captured(1))))
            truth.append({title, pageOf(b.target)});
    }
    return truth;
}

QList<Truth> jsonTruth(const QJsonObject& all, const Case& c)
{
    QList<Truth> truth;
    const QJsonObject book = all.value(c.book).toObject();
    if (c.truth == TruthSource::JsonIndex) {
        for (const QJsonValue v : book.value(QStringLiteral("index"))
                                      .toObject()
                                      .value(QStringLiteral("targets"))
                                      .toArray())
            truth.append({QString(), v.toInt()});
        return truth;
    }
    for (const QJsonValue v : book.value(QStringLiteral("contents"))
                                  .toObject()
                                  .value(QStringLiteral("entries"))
                                  .toArray()) {
        const QJsonObject e = v.toObject();
        truth.append(
            {e.value(QStringLiteral("title")).toString(), e.value(QStringLiteral("page")).toInt()});
    }
    return truth;
}

struct Options
{
    QString reading = QStringLiteral("smart");
    std::optional<QString> offset; // none: each case's own
    QString only;
    QString samples;
    QString cli;
    QStringList extra;
    bool quiet = false;
    bool stripText = false; // the reading runs on a copy without any text layer
};

QString percent(int part, int whole)
{
    return whole ? QString::number(100.0 * part / whole, 'f', 1) + QLatin1Char('%')
                 : QStringLiteral("-");
}

struct Reading
{
    QList<Written> written;
    QJsonObject document; // the report's record; empty when the run wrote none
    QString log;
};

// The reading of a case's pages in a book, as the report of a dry run gives it.
Reading readCase(const Options& o, const Case& c, const QString& book, const QTemporaryDir& dir)
{
    const QString report = dir.filePath(QStringLiteral("report.json"));
    QFile::remove(report);
    QStringList args = {QStringLiteral("create"),
                        book,
                        QStringLiteral("--pages"),
                        QStringLiteral("%1-%2").arg(c.first).arg(c.last),
                        QStringLiteral("--offset"),
                        o.offset ? *o.offset : QString::number(c.offset),
                        QStringLiteral("--kind"),
                        c.kind,
                        QStringLiteral("--reading"),
                        o.reading,
                        QStringLiteral("--dry-run"),
                        QStringLiteral("--report"),
                        report};
    args << o.extra;
    QProcess cli;
    cli.start(o.cli, args);
    cli.waitForFinished(-1);
    Reading r;
    r.log = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    QFile file(report);
    if (file.open(QIODevice::ReadOnly))
        r.document = QJsonDocument::fromJson(file.readAll())
                         .object()
                         .value(QStringLiteral("documents"))
                         .toArray()
                         .first()
                         .toObject();
    for (const QJsonValue v : r.document.value(QStringLiteral("entries")).toArray()) {
        const QJsonObject e = v.toObject();
        const QJsonArray a = e.value(QStringLiteral("area")).toArray();
        r.written.append(
            {e.value(QStringLiteral("title")).toString(),
             e.value(QStringLiteral("printed")).toString(),
             e.value(QStringLiteral("targetPage")).toInt(), e.value(QStringLiteral("page")).toInt(),
             QRect(a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt())});
    }
    return r;
}

// The links made with the text layer that a reading without it makes too: on the same page,
// over the same place (half of the smaller area shared) and to the same target.
int sameLinks(const QList<Written>& withText, const QList<Written>& without, QStringList* misses)
{
    int same = 0;
    QList<bool> used(without.size(), false);
    for (const Written& w : withText) {
        if (w.page <= 0)
            continue;
        bool hit = false;
        for (qsizetype i = 0; i < without.size() && !hit; ++i) {
            const Written& x = without[i];
            if (used[i] || x.sourcePage != w.sourcePage || x.page != w.page)
                continue;
            const QRect common = x.area.intersected(w.area);
            const qint64 smaller = std::min(qint64(x.area.width()) * x.area.height(),
                                            qint64(w.area.width()) * w.area.height());
            hit = smaller > 0 && 2 * qint64(common.width()) * common.height() >= smaller;
            used[i] = hit;
        }
        if (hit)
            ++same;
        else
            *misses << QStringLiteral("\"%1\" (printed \"%2\", p. %3) -> %4")
                           .arg(w.title, w.printed)
                           .arg(w.sourcePage)
                           .arg(w.page);
    }
    return same;
}

bool scoreCase(const Options& o, const Case& c, const QJsonObject& truthJson)
{
    const QString source = QDir(o.samples).filePath(c.book);
    if (!QFile::exists(source)) {
        out << c.name << ": " << source << " is missing\n";
        return false;
    }
    QTemporaryDir dir;
    const QString copy = dir.filePath(c.book);
    QFile::copy(source, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    const QString offset = o.offset ? *o.offset : QString::number(c.offset);
    // The truth is read from the book as it is; the reading may get it without its text.
    QString read = copy;
    if (o.stripText) {
        read = dir.filePath(QStringLiteral("stripped-") + c.book);
        QFile::copy(source, read);
        QFile::setPermissions(read, QFile::ReadOwner | QFile::WriteOwner);
        run(QStringLiteral("djvused"),
            {read, QStringLiteral("-e"), QStringLiteral("remove-txt"), QStringLiteral("-s")});
    }
    const Reading reading = readCase(o, c, read, dir);
    const QList<Written>& written = reading.written;
    const QJsonObject& document = reading.document;
    const QString& log = reading.log;
    int rootPage = 0;
    const QList<Truth> truth = c.truth == TruthSource::Outline ? outlineTruth(copy, c, &rootPage)
                                                               : jsonTruth(truthJson, c);
    const Score s = c.truth == TruthSource::JsonIndex ? scoreIndex(truth, written)
                                                      : scoreContents(truth, written, rootPage);
    out << c.name << " (" << o.reading << ", offset " << offset << "): found " << s.found << "/"
        << s.truth << " = " << percent(s.found, s.truth) << ", links right " << s.right << "/"
        << s.written << " = " << percent(s.right, s.written) << "\n";
    const QString outcome = document.value(QStringLiteral("outcome")).toString();
    if (outcome == QLatin1String("failed") || document.isEmpty()) {
        out << "  the run failed: "
            << (document.isEmpty() ? log.trimmed()
                                   : document.value(QStringLiteral("message")).toString())
            << "\n";
    }
    if (!o.quiet) {
        for (const QString& m : s.misses)
            out << "  miss: " << m << "\n";
        for (const QString& w : s.wrong)
            out << "  wrong: " << w << "\n";
    }
    if (o.stripText) {
        QStringList lost;
        const QList<Written> withText = readCase(o, c, copy, dir).written;
        const int same = sameLinks(withText, written, &lost);
        int linked = 0;
        for (const Written& w : withText)
            linked += w.page > 0 ? 1 : 0;
        out << "  links as with the text layer: " << same << "/" << linked << " = "
            << percent(same, linked) << "\n";
        if (!o.quiet)
            for (const QString& m : lost)
                out << "  not as with text: " << m << "\n";
    }
    out.flush();
    return true;
}

// The whole-book outline of the Russian manual: both contents read in one run into one
// outline, on a copy whose own outline was removed first. Every bookmark the author made
// that the contents print should be there with its page, under its part's bookmark.
bool scoreWholeOutline(const Options& o)
{
    const QString book = QStringLiteral("djvulibre-book-ru.djvu");
    const QString source = QDir(o.samples).filePath(book);
    const QList<Case> parts = {cases()[0], cases()[1]};
    if (!QFile::exists(source)) {
        out << "ru whole-book outline: " << source << " is missing\n";
        return false;
    }
    QTemporaryDir dir;
    const QString copy = dir.filePath(book);
    QFile::copy(source, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QList<QList<Truth>> truth;
    QList<int> roots;
    for (const Case& c : parts) {
        int root = 0;
        truth << outlineTruth(copy, c, &root);
        roots << root;
    }
    const QString empty = dir.filePath(QStringLiteral("empty.outline"));
    QFile(empty).open(QIODevice::WriteOnly);
    run(QStringLiteral("djvused"),
        {copy, QStringLiteral("-e"), QStringLiteral("set-outline ") + empty, QStringLiteral("-s")});
    QStringList args = {QStringLiteral("create"),    copy,
                        QStringLiteral("--pages"),   QStringLiteral("1,17-18"),
                        QStringLiteral("--offset"),  o.offset ? *o.offset : QStringLiteral("0,16"),
                        QStringLiteral("--reading"), o.reading,
                        QStringLiteral("--outline")};
    args << o.extra;
    run(o.cli, args);

    const PageListing listing = PageListing::parse(djvused(copy, QStringLiteral("ls")));
    QString error;
    const Outline written =
        OutlineScript::parse(djvused(copy, QStringLiteral("print-outline")), &error);
    struct Mark
    {
        QString title;
        int page = 0, level = 0, part = -1; // part: the index of its top bookmark
    };
    QList<Mark> marks;
    int part = -1;
    for (const Bookmark& b : written.bookmarks) {
        const QByteArray target = b.target.mid(1);
        bool number = false;
        int page = target.toInt(&number);
        if (!number)
            page = listing.positionOf(QString::fromUtf8(target));
        if (b.level == 0)
            ++part;
        marks.append({QString::fromUtf8(b.title).trimmed(), page, b.level, part});
    }
    int truthCount = 0, found = 0, nested = 0, right = 0, count = 0;
    QStringList misses, wrong, partTitles;
    QList<bool> used(marks.size(), false);
    for (qsizetype k = 0; k < truth.size(); ++k) {
        for (const Truth& t : truth[k]) {
            ++truthCount;
            qsizetype hit = -1;
            for (qsizetype i = 0; i < marks.size() && hit < 0; ++i)
                if (!used[i] && marks[i].level > 0 && marks[i].page == t.page &&
                    sameTitle(t.title, marks[i].title))
                    hit = i;
            if (hit < 0) {
                misses << QStringLiteral("%1 -> %2").arg(t.title).arg(t.page);
                continue;
            }
            used[hit] = true;
            ++found;
            nested += marks[hit].part == k ? 1 : 0;
        }
    }
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const Mark& m = marks[i];
        ++count;
        if (m.level == 0) {
            partTitles << QStringLiteral("\"%1\" -> %2").arg(m.title).arg(m.page);
            if (m.part < roots.size() && m.page == roots[m.part])
                ++right;
            else
                wrong << QStringLiteral("part \"%1\" -> %2").arg(m.title).arg(m.page);
        } else if (used[i]) {
            ++right;
        } else {
            wrong << QStringLiteral("\"%1\" -> %2").arg(m.title).arg(m.page);
        }
    }
    out << "ru whole-book outline p1,17-18 (" << o.reading << "): found " << found << "/"
        << truthCount << " = " << percent(found, truthCount) << ", under their part " << nested
        << "/" << found << ", bookmarks right " << right << "/" << count << " = "
        << percent(right, count) << "\n  parts: " << partTitles.join(QStringLiteral(", ")) << "\n";
    if (!o.quiet) {
        for (const QString& m : misses)
            out << "  miss: " << m << "\n";
        for (const QString& w : wrong)
            out << "  wrong: " << w << "\n";
    }
    out.flush();
    return !written.bookmarks.isEmpty();
}

int usage()
{
    out << "usage: score_samples [--reading classic|smart] [--offset N|auto] [--only TEXT]\n"
           "                     [--samples DIR] [--cli PATH] [--quiet] [--strip-text]\n"
           "                     [-- create options]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString here = QCoreApplication::applicationDirPath();
    Options o;
    o.cli = QDir(here).filePath(QStringLiteral("tocsmith-cli"));
    o.samples = QDir(QStringLiteral(TOCSMITH_SOURCE_DIR "/../shared/samples")).absolutePath();
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString* into) {
            if (i + 1 >= args.size())
                return false;
            *into = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--")) {
            o.extra = args.mid(i + 1);
            break;
        } else if (a == QLatin1String("--reading") && value(&o.reading)) {
        } else if (a == QLatin1String("--offset") && value(&v)) {
            o.offset = v;
        } else if (a == QLatin1String("--only") && value(&o.only)) {
        } else if (a == QLatin1String("--samples") && value(&o.samples)) {
        } else if (a == QLatin1String("--cli") && value(&o.cli)) {
        } else if (a == QLatin1String("--quiet")) {
            o.quiet = true;
        } else if (a == QLatin1String("--strip-text")) {
            o.stripText = true;
        } else {
            return usage();
        }
    }
    QFile truthFile(QDir(o.samples).filePath(QStringLiteral("truth.json")));
    QJsonObject truthJson;
    if (truthFile.open(QIODevice::ReadOnly))
        truthJson = QJsonDocument::fromJson(truthFile.readAll()).object();
    bool ok = true;
    for (const Case& c : cases())
        if (o.only.isEmpty() || c.name.contains(o.only, Qt::CaseInsensitive))
            ok = scoreCase(o, c, truthJson) && ok;
    if (o.only.isEmpty() ||
        QStringLiteral("ru whole-book outline").contains(o.only, Qt::CaseInsensitive))
        ok = scoreWholeOutline(o) && ok;
    return ok ? 0 : 1;
}
