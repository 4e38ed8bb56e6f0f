#include "base/IniFile.h"

#include "base/Cp1251.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

struct RawLine
{
    QByteArray text;   // without its line ending
    QByteArray ending; // "\r\n", "\n", "\r" or "" for a last line without one
};

QList<RawLine> splitLines(const QByteArray& bytes)
{
    QList<RawLine> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] == '\n' || bytes[i] == '\r') {
            RawLine line{bytes.mid(start, i - start), {}};
            if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') {
                line.ending = "\r\n";
                ++i;
            } else {
                line.ending = QByteArray(1, bytes[i]);
            }
            lines.append(line);
            start = i + 1;
        }
    }
    if (start < n)
        lines.append({bytes.mid(start), {}});
    return lines;
}

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    return !utf8.hasError();
}

// "[name]" gives name; anything else gives a null string.
QString sectionOf(const QString& line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

bool splitEntry(const QString& line, QString* key, QString* value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    QString v = line.mid(eq + 1).trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    *value = v;
    return !key->isEmpty();
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList textLines(const QString& path)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    return Cp1251::decodeUtf8OrCp1251(readBytes(path)).split(lineEnd);
}

// Section and key as one text that matches without regard to case, as the lookups do.
QString entryKey(const QString& section, const QString& key)
{
    return section.toCaseFolded() + QChar(0) + key.toCaseFolded();
}

} // namespace

IniFile IniFile::snapshotOf(const QString& path)
{
    // Every key of every section, the first of its name winning, as a lookup finds it.
    auto entries = std::make_shared<QHash<QString, QString>>();
    QString section;
    bool inSection = false;
    for (const QString& line : textLines(path)) {
        const QString name = sectionOf(line);
        if (!name.isNull()) {
            section = name;
            inSection = true;
            continue;
        }
        QString k, v;
        if (!inSection || !splitEntry(line, &k, &v))
            continue;
        const QString at = entryKey(section, k);
        if (!entries->contains(at))
            entries->insert(at, v.left(kMaxValueLength));
    }
    IniFile file(path);
    file.entries_ = std::move(entries);
    return file;
}

bool IniFile::find(const QString& section, const QString& key, QString* value) const
{
    if (entries_) {
        const auto found = entries_->constFind(entryKey(section, key));
        if (found == entries_->constEnd())
            return false;
        *value = *found;
        return true;
    }
    bool inSection = false;
    const QStringList lines = textLines(path_);
    for (const QString& line : lines) {
        const QString name = sectionOf(line);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && splitEntry(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            *value = v.left(kMaxValueLength);
            return true;
        }
    }
    return false;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    QString ignored;
    return find(section, key, &ignored);
}

QString IniFile::readText(const QString& section, const QString& key,
                          const QString& defaultValue) const
{
    QString value;
    return find(section, key, &value) ? value : defaultValue.left(kMaxValueLength);
}

bool IniFile::parseInt(const QString& text, int* value)
{
    bool ok = false;
    int v = 0;
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
        const QString digits = text.mid(2);
        const qlonglong wide = digits.toLongLong(&ok, 16);
        ok = ok && !digits.startsWith(QLatin1Char('-')) && !digits.startsWith(QLatin1Char('+')) &&
             wide <= 0xFFFFFFFFLL;
        v = int(quint32(wide));
    } else {
        v = text.toInt(&ok, 10);
    }
    if (ok)
        *value = v;
    return ok;
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const
{
    QString text;
    int value = defaultValue;
    if (find(section, key, &text) && parseInt(text, &value))
        return value;
    return defaultValue;
}

bool IniFile::readFlag(const QString& section, const QString& key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

quint32 IniFile::readColour(const QString& section, const QString& key, quint32 defaultValue) const
{
    QString text;
    if (!find(section, key, &text))
        return defaultValue;
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok, 16);
    if (!ok || text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-')) ||
        v > 0xFFFFFFFFULL)
        return defaultValue;
    return quint32(v);
}

bool IniFile::writeText(const QString& section, const QString& key, const QString& value) const
{
    const QByteArray original = readBytes(path_);
    QList<RawLine> lines = splitLines(original);
    const bool legacy = !original.isEmpty() && !isUtf8(original);
    auto encode = [legacy](const QString& s) {
        QByteArray out;
        if (legacy && Cp1251::encode(s, &out))
            return out;
        return s.toUtf8();
    };
    auto decode = [legacy](const QByteArray& b) {
        return legacy ? Cp1251::decode(b) : QString::fromUtf8(b);
    };
#ifdef Q_OS_WIN
    QByteArray eol = "\r\n";
#else
    QByteArray eol = "\n";
#endif
    for (const RawLine& l : lines)
        if (!l.ending.isEmpty()) {
            eol = l.ending;
            break;
        }
    const RawLine entry{encode(key + QLatin1Char('=') + value.left(kMaxValueLength)), eol};

    qsizetype sectionLine = -1, lastEntry = -1, insertAt = -1;
    bool inSection = false, replaced = false;
    for (qsizetype i = 0; i < lines.size() && !replaced; ++i) {
        const QString line = decode(lines[i].text);
        const QString name = sectionOf(line);
        if (!name.isNull()) {
            if (inSection)
                break; // the next section begins
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionLine = lastEntry = i;
            continue;
        }
        if (!inSection)
            continue;
        QString k, v;
        if (splitEntry(line, &k, &v)) {
            if (k.compare(key, Qt::CaseInsensitive) == 0) {
                lines[i].text = entry.text;
                replaced = true;
            }
            lastEntry = i;
        } else if (!line.trimmed().isEmpty()) {
            lastEntry = i;
        }
    }
    if (!replaced) {
        if (sectionLine >= 0) {
            insertAt = lastEntry + 1;
            if (lines[lastEntry].ending.isEmpty())
                lines[lastEntry].ending = eol;
            lines.insert(insertAt, entry);
        } else {
            if (!lines.isEmpty() && lines.last().ending.isEmpty())
                lines.last().ending = eol;
            lines.append({encode(QLatin1Char('[') + section + QLatin1Char(']')), eol});
            lines.append(entry);
        }
    }

    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (const RawLine& l : lines) {
        out.write(l.text);
        out.write(l.ending);
    }
    return out.commit();
}

bool IniFile::writeInt(const QString& section, const QString& key, int value) const
{
    return writeText(section, key, QString::number(value));
}

bool IniFile::writeFlag(const QString& section, const QString& key, bool on) const
{
    return writeText(section, key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::writeColour(const QString& section, const QString& key, quint32 colour) const
{
    return writeText(section, key,
                     QStringLiteral("%1").arg(colour, 6, 16, QLatin1Char('0')).toUpper());
}
