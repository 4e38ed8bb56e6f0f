#include "jobs/JobPath.h"

#include <QDir>

namespace JobPath {

void split(const QString& path, QString* folder, QString* fileName)
{
    const QString native = QDir::toNativeSeparators(path);
    const QChar sep = QDir::separator();
    qsizetype cut = native.lastIndexOf(sep);
#ifdef Q_OS_WIN
    if (cut < 0)
        cut = native.indexOf(QLatin1Char(':')); // "C:name"
#endif
    *folder = native.left(cut + 1);
    *fileName = native.mid(cut + 1);
}

bool isWholeNumber(const QString& text)
{
    qsizetype i = 0;
    if (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')))
        i = 1;
    if (i >= text.size())
        return false;
    for (qsizetype k = i; k < text.size(); ++k)
        if (text[k] < QLatin1Char('0') || text[k] > QLatin1Char('9'))
            return false;
    bool ok = false;
    text.toInt(&ok, 10);
    return ok;
}

bool isDjvuName(const QString& path)
{
    const QString lower = path.toLower();
    const qsizetype dot = lower.lastIndexOf(QLatin1Char('.'));
    const qsizetype sep =
        std::max(lower.lastIndexOf(QLatin1Char('/')), lower.lastIndexOf(QLatin1Char('\\')));
    if (dot < 0 || dot < sep)
        return false;
    const QString ext = lower.mid(dot);
    return ext == QLatin1String(".djvu") || ext == QLatin1String(".djv");
}

} // namespace JobPath
