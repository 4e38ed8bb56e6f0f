#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>

// One text in the two built-in languages, under its key.
struct TwoLanguageText
{
    const char* key;
    const char* russian;
    const char* english;
};

// Looks up the built-in texts of a table of keys.
class TwoLanguageTable
{
public:
    template <std::size_t N>
    explicit TwoLanguageTable(const TwoLanguageText (&entries)[N]) : entries_(entries), size_(N)
    {
        for (std::size_t i = 0; i < size_; ++i)
            keys_ << QString::fromLatin1(entries_[i].key);
    }

    const QStringList& keys() const { return keys_; }
    QString russian(const QString& key) const
    {
        const TwoLanguageText* e = find(key);
        return e ? QString::fromUtf8(e->russian) : QString();
    }
    QString english(const QString& key) const
    {
        const TwoLanguageText* e = find(key);
        return e ? QString::fromUtf8(e->english) : QString();
    }

private:
    const TwoLanguageText* find(const QString& key) const
    {
        const qsizetype i = keys_.indexOf(key);
        return i < 0 ? nullptr : &entries_[i];
    }

    const TwoLanguageText* entries_;
    std::size_t size_;
    QStringList keys_;
};
