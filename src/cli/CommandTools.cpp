#include "cli/CommandTools.h"
#include "base/EngineTexts.h"

#include "cli/CliLanguage.h"

#include <QCoreApplication>
#include <QFile>

CommandTools::CommandTools()
    : runner_(QCoreApplication::applicationDirPath(), folder_.path(), &messages, QString())
{
    CliLanguage::choose(QString(), &texts);
    runner_.setErrorCaption(texts.text("mes3"));
}

CommandTools::CommandTools(const MessageTexts& chosen)
    : texts(chosen),
      runner_(QCoreApplication::applicationDirPath(), folder_.path(), &messages, QString())
{
    runner_.setErrorCaption(texts.text("mes3"));
}

int CommandTools::fail(const QString& text)
{
    messages.showMessage(text, QString());
    return 1;
}

bool readKeepBackups(const QString& value, int* keep, QString* problem)
{
    bool ok = false;
    *keep = value.toInt(&ok);
    if (!ok || *keep < 0 || *keep > 1000 || !value.front().isDigit()) {
        *problem = EngineTexts::say("e_cli_keep_backups");
        return false;
    }
    return true;
}

bool readTextArgument(const QString& name, QByteArray* text, QString* error)
{
    QFile file;
    const bool ok = name == QLatin1String("-")
                        ? file.open(stdin, QIODevice::ReadOnly)
                        : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!ok) {
        *error = EngineTexts::say("e_backup_no_read").arg(name, file.errorString());
        return false;
    }
    *text = file.readAll();
    return true;
}
