#include "cli/CommandTools.h"
#include "base/EngineTexts.h"

#include "cli/CliLanguage.h"

#include <QCoreApplication>
#include <QFile>

CommandTools::CommandTools()
    : runner_(QCoreApplication::applicationDirPath(), folder_.path(), &messages, QString())
{
    CliLanguage::choose(QString(), &texts);
    runner_.setErrorCaption(texts.text(QStringLiteral("mes3")));
}

CommandArguments CommandArguments::split(const QStringList& args)
{
    CommandArguments split;
    bool optionsEnd = false;
    for (const QString& arg : args) {
        if (optionsEnd || !arg.startsWith(u'-') || arg == QLatin1String("-"))
            split.names << arg;
        else if (arg == QLatin1String("--"))
            optionsEnd = true;
        else
            split.options << arg;
    }
    return split;
}

bool takeKeepBackups(QStringList* args, int* keep, QString* problem)
{
    const QString option = QStringLiteral("--keep-backups");
    for (qsizetype i = 0; i < args->size() && args->at(i) != QLatin1String("--"); ++i) {
        const QString& arg = args->at(i);
        QString value;
        qsizetype taken = 1;
        if (arg == option) {
            value = args->value(i + 1);
            taken = std::min<qsizetype>(2, args->size() - i);
        } else if (arg.startsWith(option + u'=')) {
            value = arg.mid(option.size() + 1);
        } else {
            continue;
        }
        bool ok = false;
        *keep = value.toInt(&ok);
        if (!ok || *keep < 0 || *keep > 1000 || !value.front().isDigit()) {
            *problem = EngineTexts::say("e_cli_keep_backups");
            return false;
        }
        args->remove(i, taken);
        --i;
    }
    return true;
}

bool ImportArguments::read(const QStringList& given, ImportArguments* read, QString* problem)
{
    QStringList args = given;
    if (!takeKeepBackups(&args, &read->keepBackups, problem))
        return false;
    const CommandArguments split = CommandArguments::split(args);
    if (split.has("--help") || split.has("-h")) {
        read->help = true;
        return true;
    }
    for (const QString& option : split.options) {
        if (option != QLatin1String("--no-backup")) {
            *problem = EngineTexts::say("e_cli_unknown_option");
            return false;
        }
        read->backup = false;
    }
    if (split.names.size() != 2) {
        *problem = EngineTexts::say("e_cli_document_and_text");
        return false;
    }
    read->file = split.names[0];
    read->text = split.names[1];
    return true;
}

bool takeFormat(QStringList* args, bool* json, QString* problem)
{
    const QString option = QStringLiteral("--format");
    *json = false;
    for (qsizetype i = 0; i < args->size() && args->at(i) != QLatin1String("--"); ++i) {
        const QString arg = args->at(i);
        QString value;
        if (arg == option && i + 1 < args->size()) {
            value = args->at(i + 1);
            args->remove(i, 2);
        } else if (arg.startsWith(option + u'=')) {
            value = arg.mid(option.size() + 1);
            args->remove(i);
        } else if (arg == option) {
            *problem = EngineTexts::say("e_opt_needs_value").arg(option);
            return false;
        } else {
            continue;
        }
        if (value != QLatin1String("text") && value != QLatin1String("json")) {
            *problem = EngineTexts::say("e_opt_not_one_of").arg(option, value, "text|json");
            return false;
        }
        *json = value == QLatin1String("json");
        --i;
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
