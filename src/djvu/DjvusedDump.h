#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// One data block of a dump: the component it selects and its lines up to the "." line.
struct DumpBlock
{
    QByteArray identifier; // the selected name, unescaped
    int page = 0;          // the page number djvused's comment gives; 0 for none
    QByteArray body;       // the block's lines, each ending in a line feed
};

// A dump that "djvused -e output-ant" or "-e output-txt" printed, read strictly: a
// "select; remove-<kind>" line, then blocks of a `select "name"` line, a "set-<kind>" line,
// the data and a lone "." line, with comment and blank lines between. The data of every block
// must be a sequence of parenthesised expressions with closed strings. A dump cut short (mid
// line, mid block, mid expression) or holding any other line is refused: the text comes from
// the document, so it is never replayed as it stands. script() writes the blocks back with
// names quoted afresh, which makes a script whose only commands are the ones written here.
class DjvusedDump
{
public:
    // kind: "ant" or "txt".
    static DjvusedDump parse(const QByteArray& capture, const QByteArray& kind);

    bool ok() const { return error.isEmpty(); }
    QByteArray script() const;

    // Why a block's data is not a sequence of well-formed expressions; empty when it is.
    static QString dataError(QByteArrayView data);
    // A name in djvused's double-quoted form: \" \\ and octal escapes for other bytes
    // outside printable ASCII.
    static QByteArray quote(QByteArrayView name);

    QByteArray kind;
    QList<DumpBlock> blocks;
    QString error;
};
