#include "DjvuFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <climits>

namespace {

bool runTool(const QString& program, const QStringList& args, QString* error,
             QByteArray* out = nullptr, const QString& stdoutFile = QString())
{
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(program, args);
    if (!p.waitForStarted(-1)) {
        if (error)
            *error = program + ": " + p.errorString();
        return false;
    }
    p.waitForFinished(-1);
    if (out)
        *out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = program + " " + args.join(' ') + ": " +
                     QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    return true;
}

// Appends a chunk to a single-page file's FORM and corrects the FORM's length.
bool appendChunk(const QString& path, const QByteArray& id, const QByteArray& data)
{
    QByteArray bytes = DjvuFixture::readAll(path);
    if (bytes.size() < 16)
        return false;
    if (bytes.size() % 2 != 0)
        bytes += '\0';
    const quint32 length = quint32(data.size());
    bytes += id;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += char((length >> shift) & 0xff);
    bytes += data;
    const quint32 form = quint32(bytes.size() - 12);
    for (int i = 0; i < 4; ++i)
        bytes[8 + i] = char((form >> (24 - 8 * i)) & 0xff);
    return DjvuFixture::writeAll(path, bytes);
}

// A bitonal page with the page's printed lines on it, as a single-page DjVu file.
bool printedPage(const QDir& dir, int index, const FixturePage& page, const QString& djvu,
                 QString* error)
{
    const QString base = dir.filePath(QStringLiteral("printed%1").arg(index));
    const QString text = base + ".txt", small = base + ".pbm", grey = base + ".pgm",
                  big = base + ".big.pbm", placed = base + ".placed.pbm", full = base + ".full.pbm";
    if (!DjvuFixture::writeAll(text, page.printed.join('\n').toUtf8() + '\n'))
        return false;
    QProcess p;
    p.setStandardInputFile(text);
    p.setStandardOutputFile(small);
    p.start("pbmtext", {});
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        *error = "pbmtext: " + QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    return runTool("pamscale", {QString::number(page.printedScale), small}, error, nullptr, grey) &&
           runTool("pamthreshold", {grey}, error, nullptr, big + ".pam") &&
           runTool("pamtopnm", {big + ".pam"}, error, nullptr, big) &&
           runTool("pnmpad",
                   {"-white", "-left", QString::number(page.printedLeft), "-top",
                    QString::number(page.printedTop), big},
                   error, nullptr, placed) &&
           runTool("pnmpad",
                   {"-white", "-width", QString::number(page.width), "-height",
                    QString::number(page.height), "-halign", "0", "-valign", "0", placed},
                   error, nullptr, full) &&
           runTool("cjb2", {full, djvu}, error);
}

} // namespace

FixtureLine FixtureLine::layout(int left, int bottom, const QStringList& words, int height,
                                int charWidth, int gap)
{
    FixtureLine line;
    int x = left;
    for (const QString& w : words) {
        const int width = std::max<int>(1, int(w.size()) * charWidth);
        line.words.append({x, bottom, x + width, bottom + height, w});
        x += width + gap;
    }
    return line;
}

FixtureLine FixtureLine::entry(int left, int bottom, const QStringList& title,
                               const QString& number, const QString& leader, int numberRight)
{
    FixtureLine line = layout(left, bottom, title);
    const int numberLeft = numberRight - std::max<int>(1, int(number.size()) * 24);
    const int titleEnd = line.words.isEmpty() ? left : line.words.last().right;
    if (!leader.isEmpty())
        line.words.append({titleEnd + 20, bottom, numberLeft - 20, bottom + 10, leader});
    if (!number.isEmpty())
        line.words.append({numberLeft, bottom, numberRight, bottom + 40, number});
    return line;
}

QString DjvuFixture::quote(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (unsigned char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            out += QString(QChar('\\')) + QChar(c);
        else if (c < 32 || c > 126)
            out += QStringLiteral("\\%1").arg(int(c), 3, 8, QChar('0'));
        else
            out += QChar(c);
    }
    return out + QChar('"');
}

QString DjvuFixture::textLayer(const FixturePage& page)
{
    QString s = QStringLiteral("(page 0 0 %1 %2").arg(page.width).arg(page.height);
    int lineTop = page.height - 100;
    for (const FixtureLine& line : page.lines) {
        int l = INT_MAX, b = INT_MAX, r = 0, t = 0;
        for (const FixtureWord& w : line.words) {
            l = std::min(l, w.left);
            b = std::min(b, w.bottom);
            r = std::max(r, w.right);
            t = std::max(t, w.top);
        }
        if (line.words.isEmpty()) { // an empty line record still needs a box
            l = 100;
            b = lineTop - 40;
            r = 200;
            t = lineTop;
        }
        // Lines at the very ends of the number range (recognition tests) keep their own boxes.
        lineTop = int(std::max<qint64>(qint64(b) - 10, INT_MIN));
        s += QStringLiteral("\n (line %1 %2 %3 %4").arg(l).arg(b).arg(r).arg(t);
        if (line.words.isEmpty()) // djvused wants the text of a line without words
            s += QStringLiteral(" \"\"");
        for (const FixtureWord& w : line.words)
            s += QStringLiteral("\n  (word %1 %2 %3 %4 %5)")
                     .arg(w.left)
                     .arg(w.bottom)
                     .arg(w.right)
                     .arg(w.top)
                     .arg(quote(w.text));
        s += QChar(')');
    }
    return s + QChar(')');
}

bool DjvuFixture::build(const QString& path, const QList<FixturePage>& pages, QString* error,
                        bool singlePageFile)
{
    QTemporaryDir tmp;
    if (!tmp.isValid() || pages.isEmpty()) {
        *error = QStringLiteral("no temporary folder or no pages");
        return false;
    }
    QDir dir(tmp.path());
    // One blank page per distinct size, copied under every page's identifier.
    QHash<QString, QString> blanks;
    QStringList components;
    for (int i = 0; i < pages.size(); ++i) {
        const FixturePage& page = pages[i];
        const QString size = QStringLiteral("%1x%2").arg(page.width).arg(page.height);
        if (!blanks.contains(size)) {
            const QString pbm = dir.filePath(size + ".pbm");
            const QString djvu = dir.filePath(size + ".blank");
            if (!runTool("pbmmake",
                         {"-white", QString::number(page.width), QString::number(page.height)},
                         error, nullptr, pbm) ||
                !runTool("cjb2", {pbm, djvu}, error))
                return false;
            blanks.insert(size, djvu);
        }
        QString id =
            page.id.isEmpty() ? QStringLiteral("p%1.djvu").arg(i + 1, 4, 10, QChar('0')) : page.id;
        QDir pageDir(dir.filePath(QString::number(i)));
        pageDir.mkpath(".");
        const QString component = pageDir.filePath(id);
        if (!page.printed.isEmpty()) {
            if (!printedPage(dir, i, page, component, error))
                return false;
        } else if (!QFile::copy(blanks.value(size), component)) {
            *error = QStringLiteral("cannot copy a blank page to ") + component;
            return false;
        }
        if (!page.rawAnnotations.isEmpty() &&
            !appendChunk(component, "ANTa", page.rawAnnotations)) {
            *error = QStringLiteral("cannot add annotations to ") + component;
            return false;
        }
        components << component;
    }
    QFile::remove(path);
    if (singlePageFile && pages.size() == 1) {
        if (!QFile::copy(components.first(), path)) {
            *error = QStringLiteral("cannot write ") + path;
            return false;
        }
    } else if (!runTool("djvm", QStringList{"-c", path} + components, error)) {
        return false;
    }

    QString script;
    for (int i = 0; i < pages.size(); ++i) {
        const FixturePage& page = pages[i];
        QString block;
        if (page.hasText && !page.lines.isEmpty())
            block += "set-txt\n" + textLayer(page) + "\n.\n";
        if (!page.annotations.isEmpty())
            block += "set-ant\n" + page.annotations + "\n.\n";
        if (!page.title.isEmpty())
            block += "set-page-title " + quote(page.title) + "\n";
        if (!block.isEmpty())
            script += QStringLiteral("select %1\n").arg(i + 1) + block;
    }
    return script.isEmpty() || applyScript(path, script, error);
}

bool DjvuFixture::buildIndirect(const QString& indexPath, const QList<FixturePage>& pages,
                                QString* error)
{
    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    const QString bundled = QDir(tmp.path()).filePath("bundled.djvu");
    if (!build(bundled, pages, error))
        return false;
    const QFileInfo index(indexPath);
    if (!QDir().mkpath(index.absolutePath())) {
        *error = QStringLiteral("cannot make the folder ") + index.absolutePath();
        return false;
    }
    QFile::remove(indexPath);
    return runTool("djvmcvt", {"-i", bundled, index.absolutePath(), index.fileName()}, error);
}

bool DjvuFixture::addThumbnailsAndSharedAnnotations(const QString& path, QString* error)
{
    return applyScript(
        path, "set-thumbnails 64\ncreate-shared-ant\nset-ant\n(background #ffffff)\n.\n", error);
}

bool DjvuFixture::applyScript(const QString& path, const QString& script, QString* error)
{
    QTemporaryDir tmp;
    const QString file = QDir(tmp.path()).filePath("script.dsed");
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write a script");
        return false;
    }
    f.write(script.toUtf8());
    f.close();
    return runTool("djvused", {path, "-f", file, "-s"}, error);
}

bool DjvuFixture::setOutline(const QString& path, const QString& expression, QString* error)
{
    return applyScript(path, QStringLiteral("set-outline\n") + expression + QStringLiteral("\n.\n"),
                       error);
}

QString DjvuFixture::djvused(const QString& path, const QString& commands)
{
    QByteArray out;
    QString error;
    if (!runTool("djvused", {path, "-e", commands}, &error, &out))
        return {};
    return QString::fromUtf8(out);
}

QByteArray DjvuFixture::readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QMap<int, PageText> DjvuFixture::pageTexts(const QList<FixturePage>& pages)
{
    QMap<int, PageText> texts;
    for (int i = 0; i < pages.size(); ++i) {
        PageText text;
        QString error;
        if (pages[i].hasText && !PageText::parse(textLayer(pages[i]).toUtf8(), &text, &error))
            qFatal("a fixture page does not read: %s", qPrintable(error));
        texts.insert(i + 1, text);
    }
    return texts;
}

FixturePage FixturePage::ofLines(const QList<QStringList>& lines, int left, int top)
{
    FixturePage page;
    for (const QStringList& words : lines) {
        page.lines << FixtureLine::layout(left, top, words);
        top -= 100;
    }
    return page;
}

FixturePage FixturePage::headed(const QStringList& heading, const QString& folio)
{
    FixturePage page = ofLines(
        {heading, {"Some", "running", "text", "of", "the", "page."}, {"More", "text", "here."}});
    if (!folio.isEmpty())
        page.lines << FixtureLine::layout(2150, 100, {folio});
    return page;
}

bool DjvuFixture::writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QMap<QString, QByteArray> DjvuFixture::readFolder(const QString& folder)
{
    QMap<QString, QByteArray> entries;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        entries.insert(name, QFileInfo(path).isDir() ? QByteArray("<folder>") : readAll(path));
    }
    return entries;
}

bool DjvuFixture::writeSleepingDjvused(const QString& folder, const QString& word,
                                       const QString& marker, const QString& gate)
{
    return writeSleepingTool(folder, QStringLiteral("djvused"), word, marker, gate);
}

bool DjvuFixture::writeSleepingTool(const QString& folder, const QString& tool, const QString& word,
                                    const QString& marker, const QString& gate)
{
    const QString real = QStandardPaths::findExecutable(tool);
    if (real.isEmpty() || !QDir(folder).mkpath(QStringLiteral("bin")))
        return false;
    const QString path = QDir(folder).filePath(QStringLiteral("bin/") + tool);
    // The marker is written whole under another name first, so a reader never sees half.
    const QByteArray script =
        "#!/bin/sh\n"
        "for a in \"$@\" ''; do\n"
        "  if [ \"$a\" = '" +
        word.toUtf8() +
        "' ]; then\n"
        "    echo $$ > '" +
        marker.toUtf8() + ".part' && mv '" + marker.toUtf8() + ".part' '" + marker.toUtf8() +
        "'\n"
        "    " +
        (gate.isEmpty() ? QByteArray("exec sleep 600")
                        : "i=0; while [ ! -e '" + gate.toUtf8() +
                              "' ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done; [ -e '" +
                              gate.toUtf8() + "' ] || exit 1; break") +
        "\n"
        "  fi\n"
        "done\n"
        "exec '" +
        real.toUtf8() + "' \"$@\"\n";
    if (!writeAll(path, script))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool DjvuFixture::writeMisreadingDjvused(const QString& folder, const QString& word,
                                         const QByteArray& printed)
{
    const QString real = QStandardPaths::findExecutable(QStringLiteral("djvused"));
    if (real.isEmpty() || !QDir(folder).mkpath(QStringLiteral("bin")))
        return false;
    const QString output = QDir(folder).filePath(QStringLiteral("bin/djvused.printed"));
    const QString path = QDir(folder).filePath(QStringLiteral("bin/djvused"));
    const QByteArray script = "#!/bin/sh\n"
                              "for a in \"$@\"; do\n"
                              "  [ \"$a\" = '" +
                              word.toUtf8() + "' ] && exec cat '" + output.toUtf8() +
                              "'\n"
                              "done\n"
                              "exec '" +
                              real.toUtf8() + "' \"$@\"\n";
    if (!writeAll(output, printed) || !writeAll(path, script))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

qint64 DjvuFixture::waitForMarker(const QString& marker)
{
    while (!QFileInfo::exists(marker))
        QThread::msleep(10);
    return readAll(marker).trimmed().toLongLong();
}

bool DjvuFixture::processAlive(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = status.readAll();
    const qsizetype end = fields.lastIndexOf(')');
    return end >= 0 && fields.mid(end + 2, 1) != "Z";
}

QList<FixturePage> FixturePage::everyChangeBook()
{
    QList<FixturePage> pages = twoChapterBook(4);
    pages[1].annotations = QStringLiteral("(maparea \"#3\" \"\" (rect 100 900 300 40))\n"
                                          "(maparea \"#4\" \"\" (rect 110 800 250 40))");
    return pages;
}

QList<FixturePage> FixturePage::twoChapterBook(int count)
{
    FixturePage contents;
    contents.lines << FixtureLine::layout(300, 3000, {"Chapter", "one", "1"});
    contents.lines << FixtureLine::layout(300, 2900, {"Chapter", "two", "3"});
    FixturePage body;
    body.lines << FixtureLine::layout(300, 3000, {"Body"});
    QList<FixturePage> pages{contents};
    while (pages.size() < count)
        pages << body;
    return pages;
}
