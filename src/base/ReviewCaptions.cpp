#include "base/ReviewCaptions.h"

#include "base/IniFile.h"

#include <QFileInfo>

const QHash<QString, QString>& ReviewCaptions::builtIn()
{
    static const QHash<QString, QString> texts = {
        {QStringLiteral("title"), QStringLiteral("Просмотр оглавления")},
        {QStringLiteral("b1"), QStringLiteral("Просмотр")},
        {QStringLiteral("b2"), QStringLiteral("Записать")},
        {QStringLiteral("b3"), QStringLiteral("Отмена")},
        {QStringLiteral("z1"), QStringLiteral("Крупнее")},
        {QStringLiteral("z2"), QStringLiteral("Мельче")},
        {QStringLiteral("h1"), QStringLiteral("Заголовок")},
        {QStringLiteral("h2"), QStringLiteral("Номер")},
        {QStringLiteral("h3"), QStringLiteral("Страница")},
        {QStringLiteral("h4"), QStringLiteral("Проверка")},
        {QStringLiteral("c1"), QStringLiteral("найден")},
        {QStringLiteral("c2"), QStringLiteral("не найден")},
        {QStringLiteral("c3"), QStringLiteral("слишком короткий")},
        {QStringLiteral("c4"), QStringLiteral("нет текста")},
        {QStringLiteral("c5"), QStringLiteral("перенесена со стр. %1")},
        {QStringLiteral("l1"), QStringLiteral("Уровень")},
        {QStringLiteral("l2"), QStringLiteral("Смещение")},
        {QStringLiteral("l3"), QStringLiteral("Страница назначения")},
        {QStringLiteral("s1"), QStringLiteral("Чтение книги...")},
        {QStringLiteral("s2"), QStringLiteral("На странице %1 нет текстового слоя: ссылки на ней "
                                              "не найдены.")},
        {QStringLiteral("s3"), QStringLiteral("Нет программы ddjvu из DjVuLibre: страницы не "
                                              "показать.")},
        {QStringLiteral("s4"), QStringLiteral("Запись...")},
        {QStringLiteral("s5"), QStringLiteral("Записей: %1 из %2. Не найдено на своей странице: "
                                              "%3.")},
        {QStringLiteral("s6"), QStringLiteral("Выберите строку списка.")},
        {QStringLiteral("a1"), QStringLiteral("Сделать записью")},
        {QStringLiteral("a2"), QStringLiteral("Удалить запись")},
        {QStringLiteral("a3"), QStringLiteral("Строки без ссылки")},
        {QStringLiteral("h5"), QStringLiteral("Строка")},
        {QStringLiteral("h6"), QStringLiteral("Причина")},
        {QStringLiteral("r1"), QStringLiteral("нет номера страницы")},
        {QStringLiteral("r2"), QStringLiteral("номер без заголовка")},
        {QStringLiteral("r3"), QStringLiteral("номер не читается")},
        {QStringLiteral("r4"), QStringLiteral("заголовок ни на одной странице")},
    };
    return texts;
}

ReviewCaptions::ReviewCaptions(const QString& languageFile)
{
    if (!QFileInfo(languageFile).isFile())
        return;
    const IniFile file = IniFile::snapshotOf(languageFile);
    for (auto it = builtIn().begin(); it != builtIn().end(); ++it) {
        const QString text = file.readText(QStringLiteral("Review"), it.key());
        if (!text.isEmpty())
            texts_.insert(it.key(), text);
    }
}

QString ReviewCaptions::text(const char* key) const
{
    const QString name = QLatin1String(key);
    return texts_.value(name, builtIn().value(name));
}
