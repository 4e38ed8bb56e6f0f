#include "cli/BatchOptions.h"
#include "base/EngineTexts.h"
#include "cli/CliLanguage.h"

namespace {

// "--name VALUE" or "--name=VALUE" at args[*i]; false when args[*i] is another option.
bool optionValue(QStringList* args, qsizetype i, const QString& name, QString* value, bool* missing)
{
    const QString& arg = (*args)[i];
    *missing = false;
    if (arg.startsWith(name + u'=')) {
        *value = arg.mid(name.size() + 1);
        args->removeAt(i);
        return true;
    }
    if (arg != name)
        return false;
    if (i + 1 >= args->size()) {
        *missing = true;
        return true;
    }
    *value = (*args)[i + 1];
    args->remove(i, 2);
    return true;
}

bool readCount(const QString& name, const QString& text, int* out, QString* error)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1 || n > 256) {
        *error = EngineTexts::say("e_opt_not_whole").arg(name, text);
        return false;
    }
    *out = n;
    return true;
}

} // namespace

bool BatchOptions::take(QStringList* args, BatchOptions* options, QString* error)
{
    for (qsizetype i = 0; i < args->size();) {
        const QString arg = (*args)[i];
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("--keep-going")) {
            options->keepGoing = true;
            args->removeAt(i);
            continue;
        }
        QString value;
        bool missing = false;
        bool taken = false;
        for (const QString& name :
             {QStringLiteral("--jobs"), QStringLiteral("--report"), QStringLiteral("--only")}) {
            if (!optionValue(args, i, name, &value, &missing))
                continue;
            taken = true;
            if (missing) {
                *error = EngineTexts::say("e_opt_needs_value").arg(name);
                return false;
            }
            if (name == QLatin1String("--report")) {
                if (value.isEmpty()) {
                    *error = EngineTexts::say("e_opt_report_name");
                    return false;
                }
                options->report = value;
            } else if (!readCount(name, value,
                                  name == QLatin1String("--jobs") ? &options->jobs : &options->only,
                                  error)) {
                return false;
            }
            break;
        }
        if (!taken)
            ++i;
    }
    return true;
}

const char* BatchOptions::helpText()
{
    static const char english[] =
        "Batches:\n"
        "  --jobs N              work on up to N documents at once (default 1: one after\n"
        "                        another, stopping at the first failure); the log lines of\n"
        "                        each document stay together, prefixed with its name\n"
        "  --keep-going          try every document even after one failed\n"
        "  --report FILE.json    write one record per document (see the README)\n"
        "  --only K              of the documents given, work on the K-th alone\n"
        "With --jobs N > 1 or --keep-going every document is tried; a failed one stays as\n"
        "it was, and the exit status is 1 when any failed.\n";
    static const char russian[] =
        "Пакеты:\n"
        "  --jobs N              обрабатывать до N документов сразу (по умолчанию 1: один за\n"
        "                        другим, до первой ошибки); строки журнала каждого\n"
        "                        документа идут вместе, с его именем в начале\n"
        "  --keep-going          обрабатывать все документы и после ошибки в одном из них\n"
        "  --report FILE.json    записать по одной записи на документ (см. README)\n"
        "  --only K              из заданных документов обработать только K-й\n"
        "С --jobs N > 1 или --keep-going обрабатывается каждый документ; документ с ошибкой\n"
        "остаётся как был, а код завершения равен 1, если ошибка была хоть в одном.\n";
    return CliLanguage::inLocale(english, russian);
}
