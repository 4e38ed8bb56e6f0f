#include "djvu/PageRender.h"
#include "base/EngineTexts.h"

#include "djvu/ToolRunner.h"

#include <QRegularExpression>

namespace PageRender {

bool pageSize(ToolRunner& tools, const QString& path, int page, QSize* size, QString* error)
{
    const ToolRun printed =
        tools.capture(QStringLiteral("djvused"),
                      {path, QStringLiteral("-e"), QStringLiteral("select %1; size").arg(page)});
    static const QRegularExpression words(QStringLiteral("width=(\\d+) height=(\\d+)"));
    const QRegularExpressionMatch m = words.match(QString::fromLatin1(printed.standardOutput));
    if (!printed.succeeded() || !m.hasMatch()) {
        *error = EngineTexts::say("e_render_no_size").arg(page).arg(path, printed.failureText());
        return false;
    }
    *size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return size->width() > 0 && size->height() > 0;
}

bool render(ToolRunner& tools, const QString& path, int page, QSize size, QByteArray* ppm,
            QString* error)
{
    const QString ddjvu = QStringLiteral("ddjvu");
    if (!tools.available(ddjvu)) {
        *error = EngineTexts::say("e_render_no_tool");
        return false;
    }
    const ToolRun drawn =
        tools.capture(ddjvu, {QStringLiteral("-format=ppm"), QStringLiteral("-page=%1").arg(page),
                              QStringLiteral("-size=%1x%2").arg(size.width()).arg(size.height()),
                              path, QStringLiteral("-")});
    if (!drawn.succeeded() || !drawn.standardOutput.startsWith("P6")) {
        *error = EngineTexts::say("e_render_failed").arg(page).arg(path, drawn.failureText());
        return false;
    }
    *ppm = drawn.standardOutput;
    return true;
}

} // namespace PageRender
