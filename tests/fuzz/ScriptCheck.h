#pragma once

#include "FuzzChecks.h"

#include <QByteArray>
#include <QRegularExpression>

// Every line of a hyperlink script written from document text is one of the script's own
// commands or a line of inert area expressions: no text from the document becomes a
// command of its own.
inline bool isSafeHyperlinkScript(const QByteArray& script)
{
    static const QRegularExpression command(
        QStringLiteral("^(|\\.|set-ant|select \\d+|select; remove-txt|# -+)$"));
    if (!script.isEmpty() && !script.endsWith("\r\n"))
        return false;
    QList<QByteArray> lines = script.split('\n');
    lines.removeLast(); // after the final line break
    for (QByteArray line : lines) {
        if (!line.endsWith('\r'))
            return false;
        line.chop(1);
        if (command.match(QString::fromLatin1(line)).hasMatch())
            continue;
        if (!line.startsWith("(maparea ") || !FuzzChecks::isInertExpression(line))
            return false;
    }
    return true;
}
