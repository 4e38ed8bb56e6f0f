#include "links/ToolWords.h"

#include "base/EngineTexts.h"

#include <QRegularExpression>

QString toolWords(const ToolRun& run)
{
    static const QRegularExpression prefix(QStringLiteral("^\\*\\*\\*\\s*(\\[[0-9-]+\\]\\s*)?"));
    QStringList kept;
    const QStringList lines = run.failureText().split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String("*** (")) || line.startsWith(QLatin1String("*** '")))
            continue;
        line.remove(prefix);
        if (!line.isEmpty())
            kept << line;
    }
    return kept.isEmpty() ? run.failureText() : kept.join(QLatin1Char(' '));
}

QString toolFailure(const QString& path, const ToolRun& run)
{
    return EngineTexts::say("e_could_not_read").arg(path, toolWords(run));
}
