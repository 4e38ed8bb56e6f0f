#pragma once

#include "base/TextKey.h"
#include "base/TwoLanguageText.h"

#include <QString>
#include <QStringList>

#include <iterator>

// The tooltip of every option of the window, under the control's object name: what the
// option does (section Tips of a language file).
// clang-format off
inline constexpr TwoLanguageText kTipTexts[] = {
    {"CheckBox1", "Закрыть окно, когда все файлы списка выровнены", "Close the window once every file of the list is aligned"},
    {"CheckBox2", "Очистить список, когда все его файлы выровнены", "Empty the list once all its files are aligned"},
    {"CheckBox3", "Перед изменением скопировать каждый файл в ФАЙЛ.djvu.backup", "Copy each file to FILE.djvu.backup before changing it"},
    {"xpButton3", "Добавить файл DjVu в список", "Add a DjVu file to the list"},
    {"xpButton4", "Выровнять гиперссылки всех файлов списка", "Align the hyperlinks of every file of the list"},
    {"Button4", "Добавить файл DjVu в список", "Add a DjVu file to the list"},
    {"Button3", "Создать гиперссылки во всех файлах списка", "Make the hyperlinks in every file of the list"},
    {"previewButton", "Показать записи выбранной строки на странице и поправить их перед записью", "Show the selected row's entries on the page and correct them before writing"},
    {"Edit1", "Первая страница оглавления или указателя (номер страницы файла)", "The first page of the contents or index (the file's page number)"},
    {"Edit2", "Последняя страница оглавления или указателя", "The last page of the contents or index"},
    {"Edit3", "На сколько номер страницы файла отличается от напечатанного номера", "How far the file's page numbers are from the printed ones"},
    {"radioPlus", "Страница файла = напечатанный номер + смещение", "File page = printed number + offset"},
    {"radioMinus", "Страница файла = напечатанный номер − смещение", "File page = printed number − offset"},
    {"CheckBox11", "Разделить напечатанные номера на 2 (две страницы книги на одной странице файла)", "Halve the printed numbers (two book pages on one file page)"},
    {"offsetAutoCheckBox", "Найти смещение по самой книге (только при умном чтении)", "Find the offset from the book itself (smart reading only)"},
    {"Edit13", "Подсказка, которую показывает просмотрщик над ссылкой", "The hint a viewer shows over a link"},
    {"CheckBox14", "Поставить ссылку назад на оглавление (настройки на третьей вкладке)", "Put a link back to the contents (set up on the third tab)"},
    {"CheckBox5", "Закрыть окно, когда все файлы списка обработаны", "Close the window once every file of the list is done"},
    {"CheckBox4", "Очистить список, когда все его файлы обработаны", "Empty the list once all its files are done"},
    {"smartReadingCheckBox", "Читать оглавление как читатель: переносы, отточия, римские номера, уровни", "Read the contents as a reader does: wrapped titles, leaders, roman numbers, levels"},
    {"recogniseCheckBox", "Распознать страницы оглавления, у которых нет текстового слоя (или он скуден)", "Recognise the contents pages that have no text layer (or hardly any text)"},
    {"ComboBox3", "Что превращать в ссылки: оглавление или алфавитный указатель", "What to turn into links: a contents or an alphabetical index"},
    {"ComboBox2", "Форма ссылки: прямоугольник или овал", "The link's shape: rectangle or oval"},
    {"ComboBox1", "Как просмотрщик рисует границу ссылки", "How a viewer draws the link's border"},
    {"Edit4", "Толщина теневой границы в пикселях", "The width of a shadow border in pixels"},
    {"CheckBox8", "Граница видна всегда, а не только под указателем мыши", "The border always shows, not only under the mouse pointer"},
    {"colour1Button", "Цвет границы ссылки", "The colour of the link's border"},
    {"colour2Button", "Цвет подсветки области ссылки", "The colour that highlights the link's area"},
    {"CheckBox9", "Подсвечивать область ссылки цветом 2", "Highlight the link's area in colour 2"},
    {"CheckBox6", "Перед изменением скопировать каждый файл в ФАЙЛ.djvu.backup; так же при сохранении в редакторе OCR", "Copy each file to FILE.djvu.backup before changing it; the OCR editor's save does so too"},
    {"CheckBox16", "Отказаться, если в оглавлении есть страницы за пределами книги", "Refuse when the contents names pages beyond the book"},
    {"CheckBox7", "Затем выровнять созданные ссылки в столбцы", "Then align the links made into columns"},
    {"CheckBox12", "Удалить текстовый слой (OCR) со страниц оглавления", "Remove the text layer (OCR) from the contents pages"},
    {"outlineCheckBox", "Создать также закладки документа из записей оглавления", "Also make the document's bookmarks from the contents entries"},
    {"ComboBox5", "Форма ссылки на оглавление", "The shape of the contents link"},
    {"ComboBox4", "Граница ссылки на оглавление", "The border of the contents link"},
    {"Edit5", "Толщина теневой границы ссылки на оглавление", "The shadow border width of the contents link"},
    {"CheckBox10", "Граница ссылки на оглавление видна всегда", "The contents link's border always shows"},
    {"CheckBox13", "Подсвечивать область ссылки на оглавление", "Highlight the contents link's area"},
    {"Button10", "Цвет границы ссылки на оглавление", "The colour of the contents link's border"},
    {"Button20", "Цвет подсветки ссылки на оглавление", "The highlight colour of the contents link"},
    {"CheckBox15", "Поставить ссылку на оглавление на каждую страницу", "Put the contents link on every page"},
    {"Edit6", "Страница, на которую ставится ссылка на оглавление", "The page that gets the contents link"},
    {"Edit7", "Отступ ссылки от левого края страницы, в пикселях", "The link's distance from the page's left edge, in pixels"},
    {"Edit8", "Отступ ссылки от нижнего края страницы, в пикселях", "The link's distance from the page's bottom edge, in pixels"},
    {"Edit9", "Ширина ссылки в пикселях", "The link's width in pixels"},
    {"Edit10", "Высота ссылки в пикселях", "The link's height in pixels"},
    {"Edit11", "Страница, на которую ведёт ссылка (оглавление)", "The page the link leads to (the contents)"},
    {"Edit12", "Подсказка над ссылкой на оглавление", "The hint over the contents link"},
    {"N8", "Окно остаётся поверх других окон", "The window stays above other windows"},
    {"N9", "Показывать протокол под вкладками", "Show the log under the tabs"},
};
// clang-format on

struct TipTable
{
    static constexpr const char* section = "Tips";
    static constexpr std::size_t size = std::size(kTipTexts);
    static constexpr const char* nameAt(std::size_t i) { return kTipTexts[i].key; }
};
using TipKey = TextKey<TipTable>;

namespace TipTexts {

// The object names that carry a tip, in table order.
const QStringList& names();
QString russianText(TipKey key);
QString englishText(TipKey key);

} // namespace TipTexts
