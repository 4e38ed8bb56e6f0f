#pragma once

// The command-line runs that change a book, each with a change that can be told apart from
// the others' on the book that FixturePage::everyChangeBook() builds.

#include "CliRun.h"
#include "DjvuFixture.h"

#include <QDir>
#include <QString>
#include <QStringList>

struct WritingCommand
{
    const char* name;
    // The arguments that change `book`; the texts they read are written into `inputs`.
    QStringList (*arguments)(const QString& book, const QString& inputs);
    // The book holds this command's change.
    bool (*present)(const QString& book);
};

namespace WritingCommands {

inline QStringList create(const QString& book, const QString&)
{
    return {"create", book};
}
inline bool created(const QString& book)
{
    return DjvuFixture::djvused(book, "select 1; print-ant").contains("maparea");
}

inline QStringList fix(const QString& book, const QString&)
{
    return {"fix", book};
}
inline bool fixed(const QString& book)
{
    return !DjvuFixture::djvused(book, "select 2; print-ant").contains("110 800 250 40");
}

inline QStringList ocrImport(const QString& book, const QString& inputs)
{
    const QString text = QDir(inputs).filePath("words.txt");
    const CliRun exported = runCli({"ocr-export", book});
    QString words = exported.out;
    DjvuFixture::writeAll(text, words.replace("Body", "Bodx").toUtf8());
    return {"ocr-import", book, text};
}
inline bool ocrImported(const QString& book)
{
    return DjvuFixture::djvused(book, "select 3; print-txt").contains("Bodx");
}

inline QStringList outlineImport(const QString& book, const QString& inputs)
{
    const QString text = QDir(inputs).filePath("outline.txt");
    DjvuFixture::writeAll(text, "Imported\t1\n");
    return {"outline-import", book, text};
}
inline bool outlineImported(const QString& book)
{
    return DjvuFixture::djvused(book, "print-outline").contains("Imported");
}

inline const QList<WritingCommand>& all()
{
    static const QList<WritingCommand> commands = {
        {"create", create, created},
        {"fix", fix, fixed},
        {"ocr-import", ocrImport, ocrImported},
        {"outline-import", outlineImport, outlineImported},
    };
    return commands;
}

} // namespace WritingCommands
