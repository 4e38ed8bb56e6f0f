#pragma once

#include "base/MessageTextTable.h"
#include "base/TextKey.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <iterator>

// The built-in (Russian) captions of the review window and of the button that opens it.
// clang-format off
inline constexpr MessageText kReviewTexts[] = {
    {"title", "Просмотр оглавления"},
    {"b1", "Просмотр"},
    {"b2", "Записать"},
    {"b3", "Отмена"},
    {"z1", "Крупнее"},
    {"z2", "Мельче"},
    {"h1", "Заголовок"},
    {"h2", "Номер"},
    {"h3", "Страница"},
    {"h4", "Проверка"},
    {"c1", "найден"},
    {"c2", "не найден"},
    {"c3", "слишком короткий"},
    {"c4", "нет текста"},
    {"c5", "перенесена со стр. %1"},
    {"l1", "Уровень"},
    {"l2", "Смещение"},
    {"l3", "Страница назначения"},
    {"s1", "Чтение книги..."},
    {"s2", "На странице %1 нет текстового слоя: ссылки на ней не найдены."},
    {"s3", "Нет программы ddjvu из DjVuLibre: страницы не показать."},
    {"s4", "Запись..."},
    {"s5", "Записей: %1 из %2. Не найдено на своей странице: %3."},
    {"s6", "Выберите строку списка."},
    {"a1", "Сделать записью"},
    {"a2", "Удалить запись"},
    {"a3", "Строки без ссылки"},
    {"h5", "Строка"},
    {"h6", "Причина"},
    {"r1", "нет номера страницы"},
    {"r2", "номер без заголовка"},
    {"r3", "номер не читается"},
    {"r4", "заголовок ни на одной странице"},
};
// clang-format on

struct ReviewTable
{
    static constexpr const char* section = "Review";
    static constexpr std::size_t size = std::size(kReviewTexts);
    static constexpr const char* nameAt(std::size_t i) { return kReviewTexts[i].key; }
};
using ReviewKey = TextKey<ReviewTable>;

// The captions of the review window and of the button that opens it: section [Review] of a
// language file, each key falling back to its built-in Russian text.
class ReviewCaptions
{
public:
    ReviewCaptions(); // every key at its built-in text
    // Reads the keys a language file gives; a missing or empty key keeps its built-in text.
    explicit ReviewCaptions(const QString& languageFile);

    QString text(ReviewKey key) const;
    // Every key with its built-in text.
    static const QHash<QString, QString>& builtIn();

private:
    QStringList texts_; // by key index
};
