// Writes the sample book of the command-line demo: a cover without text, a contents page
// whose entries end in printed page numbers, and the chapters they name.
#include "DjvuFixture.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("Usage: tocsmith-demo-book OUT.djvu\n", stderr);
        return 2;
    }
    QList<FixturePage> pages;
    pages << FixturePage{}; // the cover: no text layer
    pages.last().hasText = false;

    FixturePage contents;
    contents.lines << FixtureLine::layout(900, 3200, {"Оглавление"}, 60, 40);
    const QList<QStringList> entries = {
        {"Глава", "1.", "Введение", "........", "1"},
        {"Глава", "2.", "Первые", "шаги", "........", "3"},
        {"Глава", "3.", "Ссылки", "и", "закладки", "........", "5"},
        {"Chapter", "4.", "Text", "layers", "........", "7"},
        {"Указатель", "........", "9"},
    };
    int bottom = 2900;
    for (const QStringList& words : entries) {
        contents.lines << FixtureLine::layout(300, bottom, words);
        bottom -= 80;
    }
    pages << contents;
    for (int printed = 1; printed <= 10; ++printed) {
        FixturePage page;
        page.lines << FixtureLine::layout(300, 3300, {"Страница", QString::number(printed)});
        pages << page;
    }
    QString error;
    if (!DjvuFixture::build(QString::fromLocal8Bit(argv[1]), pages, &error)) {
        std::fprintf(stderr, "tocsmith-demo-book: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
