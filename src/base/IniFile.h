#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

// A settings or language file in INI form, read and written with the rules of Windows'
// private-profile functions: section and key names match without regard to case; a
// missing file, section or key gives the default; a write replaces one key in place (or
// adds the section or key) and leaves every other line byte for byte; the first write
// creates the file. Files are read as UTF-8 when valid, else as Windows-1251.
class IniFile
{
public:
    static constexpr int kMaxValueLength = 1023;

    explicit IniFile(QString path) : path_(std::move(path)) {}
    // The file as it is now, read once: for many reads in a row (a whole language file).
    // Its reads never see later writes.
    static IniFile snapshotOf(const QString& path);
    QString path() const { return path_; }

    QString readText(const QString& section, const QString& key,
                     const QString& defaultValue = QString()) const;
    // "0x1F" (longer than two characters) is hexadecimal, anything else signed decimal; a
    // text that is not a number gives the default.
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    bool readFlag(const QString& section, const QString& key, bool defaultValue) const;
    // A colour in the platform's order, red in the lowest byte. The file holds its
    // hexadecimal digits (blue, green, red); a value that is not hexadecimal gives the default.
    quint32 readColour(const QString& section, const QString& key, quint32 defaultValue = 0) const;

    bool writeText(const QString& section, const QString& key, const QString& value) const;
    bool writeInt(const QString& section, const QString& key, int value) const;
    bool writeFlag(const QString& section, const QString& key, bool on) const;
    bool writeColour(const QString& section, const QString& key, quint32 colour) const;

    // Whether the key is present at all (an empty value counts as present).
    bool contains(const QString& section, const QString& key) const;

    // The integer rule of readInt on a text; false when it is not a number.
    static bool parseInt(const QString& text, int* value);

private:
    bool find(const QString& section, const QString& key, QString* value) const;
    QString path_;
    // A snapshot's keys by section and name; none: every read reads the file.
    std::shared_ptr<const QHash<QString, QString>> entries_;
};
