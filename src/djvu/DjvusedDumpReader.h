#pragma once

#include "djvu/DjvusedDump.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Reads djvused's dump as it arrives, in pieces cut anywhere, with the rules of
// DjvusedDump::parse: each block is handed on once its "." line came and its data proved
// well-formed. After the first fault the rest is ignored. Only finish() tells whether the
// dump read whole; blocks handed on before then are no proof of anything.
class DjvusedDumpReader
{
public:
    using BlockSink = std::function<void(DumpBlock&&)>;
    // kind: "ant" or "txt".
    DjvusedDumpReader(const QByteArray& kind, BlockSink onBlock);

    void feed(QByteArrayView piece);
    // The dump ended here: false (with error()) when it was cut short or held a fault.
    bool finish();
    QString error() const { return error_; }

private:
    void readLine(QByteArrayView line);
    void fault(const QString& error) { error_ = error; }

    QByteArray removeLine_;
    QByteArray setLine_;
    BlockSink onBlock_;
    QByteArray partial_; // a line whose line feed has not come yet
    bool anything_ = false;
    bool removed_ = false;
    bool selected_ = false;
    bool inBlock_ = false;
    DumpBlock block_;
    QString error_;
};
