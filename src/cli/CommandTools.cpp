#include "cli/CommandTools.h"

#include "app/MessageTexts.h"

#include <QCoreApplication>
#include <QFile>

CommandTools::CommandTools()
    : runner_(QCoreApplication::applicationDirPath(), folder_.path(), &messages,
              MessageTexts::defaultText(QStringLiteral("mes3")))
{
}

bool readTextArgument(const QString& name, QByteArray* text, QString* error)
{
    QFile file;
    const bool ok = name == QLatin1String("-")
                        ? file.open(stdin, QIODevice::ReadOnly)
                        : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!ok) {
        *error = QStringLiteral("Cannot read %1: %2").arg(name, file.errorString());
        return false;
    }
    *text = file.readAll();
    return true;
}
