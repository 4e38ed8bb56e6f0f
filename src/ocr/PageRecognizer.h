#pragma once

#include "reading/PageText.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CancelToken;
class ToolRunner;

// Recognises the printed text of a page that has no text layer: ddjvu draws the page grey
// at a resolution fit for recognition into memory, Tesseract's library reads it, and the
// result is the page's text structure (lines of words) with boxes in the page's own
// coordinates, origin at the bottom-left, as a text layer made elsewhere would hold it.
class PageRecognizer
{
public:
    // languages: Tesseract's names joined by '+' ("rus+eng").
    PageRecognizer(ToolRunner& tools, QString languages);
    ~PageRecognizer();
    PageRecognizer(const PageRecognizer&) = delete;
    PageRecognizer& operator=(const PageRecognizer&) = delete;

    // The folder that holds every named language's data; empty, with *error naming the
    // first language whose data is not installed, when there is none.
    static QString dataFolder(const QString& languages, QString* error);
    // The languages of a user interface language ("Russian", "ru_RU", ...): its own, if
    // recognition knows it, and English.
    static QString languagesFor(const QString& uiLanguage);
    // The language sets a book in an unknown language is tried with: the preferred one first,
    // then each other one recognition knows whose data is installed.
    static QStringList languageChoices(const QString& preferred);

    // Loads the language data; done by the first recognise() if not before.
    bool ready(QString* error);
    // Recognises one page (counted from 1). The cancel token, when set, stops the tool and
    // the recognition within the page; *error then says so.
    bool recognise(const QString& path, int page, PageText* text, QString* error);
    void setCancelToken(const CancelToken* token) { cancel_ = token; }
    // How sure the library was of the last page it read: the mean of its words' confidence
    // (0 to 100), each word counting by its letters; 0 when it read nothing.
    double confidence() const { return confidence_; }
    // Each page is also read as one block of lines, and the reading surer of more letters
    // kept: for pages such as a contents, whose column of numbers the layout may leave out.
    void setOneBlockToo(bool on) { oneBlockToo_ = on; }
    // Only the top and bottom margins are read, for the page numbers printed there: a
    // fraction of the work of the whole page. The text then holds the margins' lines and
    // hasLayer false, since the page itself is still unread.
    void setMarginsOnly(bool on) { marginsOnly_ = on; }

    // The resolution pages are drawn at, in dots per inch.
    static constexpr int kDpi = 300;
    // A page drawn bigger than this many pixels is refused: it bounds the memory per page.
    static constexpr qint64 kMaxPixels = 60'000'000;

    // Pages of words read from a grey PGM picture of a page of the given size (tests feed
    // their own pictures through this).
    bool recogniseImage(const QByteArray& pgm, int pageWidth, int pageHeight, PageText* text,
                        QString* error);

    // A word as the library read it, and how sure it was of it (0 to 100).
    struct ReadWord
    {
        TextWord word;
        float confidence = 0;
        bool known = false; // a word of the language's own word list
        // Where each of its letters ends on the page, when the library gave one box a letter.
        QList<int> letterEnds = {};
    };
    // One line of words as read, its leader (dots, or dots read as letters or guessed
    // digits) made one word of dots. usual: the height of the page's letters.
    static TextLine lineOf(const QList<ReadWord>& words, int usual);
    // A title word glued to its leader ("ЗАПУСК..........нннии") cut in two: the word, and
    // the rest as a leader.
    static QList<ReadWord> unglued(const QList<ReadWord>& words);
    // Whether a word read again alone with another language is kept for the first reading:
    // when it is a number, a word of the other language's list, or letters alone where the
    // first reading mixed symbols into its letters, the library is much surer
    // of it, the first reading is no word of its own list, and the two differ in more than
    // letters that look alike in both alphabets.
    static bool surerElsewhere(const ReadWord& own, const ReadWord& other);

private:
    struct Engine;
    ToolRunner& tools_;
    QString languages_;
    std::unique_ptr<Engine> engine_;
    const CancelToken* cancel_ = nullptr;
    double confidence_ = 0;
    bool oneBlockToo_ = false;
    bool marginsOnly_ = false;
};
