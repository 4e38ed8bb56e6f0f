#include "base/MessageTexts.h"

#include "base/EngineTexts.h"

namespace {

struct Entry
{
    const char* key;
    const char* text;
};

const Entry kMemo[] = {
    {"m1", "Начало обработки файла"},
    {"m2", "Получение данных из файла, создание скрипта"},
    {"m3", "Нахождение максимальных и минимальных значений координат"},
    {"m4", "Исправление скрипта"},
    {"m5", "Исправление исходного DjVu файла"},
    {"m6", "Редактирование файла"},
    {"m7", "завершено"},
    {"m8", "Создание содержания"},
    {"m9", "Операция не завершена по причине ошибки"},
    {"m10", "Возможно в файле отсутствует содержание (гиперссылки)"},
    {"m11", "Ошибка преобразования. Возможно имя файла или путь к нему содержит русские "
            "символы"},
    {"m12", "Получение текстового слоя. Подождите..."},
    {"mes1", "Ни один файл не выбран !"},
    {"mes2", "Файл djvused.exe не найден"},
    {"mes3", "Ошибка !!!"},
    {"mes4", "Неверно задан тип границы"},
    {"mes5", "Неверно задан вид работы"},
    {"mes6", "Неверно заданы страницы"},
    {"m13", "Остановлено пользователем:"},
    {"m14", "Шаг (файл на нём не изменён):"},
    {"mes7", "Идёт обработка. Остановить её и закрыть окно?"},
    {"mes8", "В файле %1 уже есть оглавление (%2). Заменить его, добавить к нему новые закладки "
             "или пропустить файл?"},
};

const Entry kOcr[] = {
    {"st1", "На странице нет текста"},
    {"st2", "Строк"},
    {"st3", "Слов"},
    {"st4", "Идет сохранение..."},
    {"st5", "Загрузка страниц…"},
    {"b3", "Распознать страницу"},
    {"b4", "Остановить"},
    {"st6", "Распознавание страницы…"},
    {"st7", "Страница распознана; сохраните, чтобы записать её текст"},
    {"st8", "На странице ничего не распознано"},
    {"cap", ""},
    {"b1", ""},
    {"b2", ""},
    {"l1", ""},
};

template <size_t N> QStringList keysOf(const Entry (&entries)[N])
{
    QStringList keys;
    for (const Entry& e : entries)
        keys << QString::fromLatin1(e.key);
    return keys;
}

} // namespace

MessageTexts::MessageTexts()
{
    for (const Entry& e : kMemo)
        texts_.insert(QString::fromLatin1(e.key), QString::fromUtf8(e.text));
    for (const Entry& e : kOcr)
        texts_.insert(QString::fromLatin1(e.key), QString::fromUtf8(e.text));
    for (const QString& key : EngineTexts::keys())
        texts_.insert(key, EngineTexts::russianText(key));
}

QString MessageTexts::text(const QString& key) const
{
    return texts_.value(key);
}

void MessageTexts::setText(const QString& key, const QString& value)
{
    texts_[key] = value;
}

const QStringList& MessageTexts::memoKeys()
{
    static const QStringList keys = keysOf(kMemo);
    return keys;
}

const QStringList& MessageTexts::ocrKeys()
{
    static const QStringList keys = keysOf(kOcr);
    return keys;
}

void MessageTexts::lendToEngine() const
{
    EngineTexts::use([this](const QString& key) { return text(key); });
}

const QStringList& MessageTexts::engineKeys()
{
    return EngineTexts::keys();
}

QString MessageTexts::defaultText(const QString& key)
{
    static const MessageTexts defaults;
    return defaults.text(key);
}
