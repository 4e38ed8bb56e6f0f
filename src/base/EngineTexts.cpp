#include "base/EngineTexts.h"

#include "base/EngineDetailTexts.h"
#include "base/TwoLanguageTable.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {

// clang-format off
const TwoLanguageText kEntries[] = {
    {"e_no_file", "Файл %1 не существует.", "The file %1 does not exist."},
    {"e_is_folder", "%1 — это папка, а не файл DjVu.", "%1 is a folder, not a DjVu file."},
    {"e_name_unspelt", "Имя файла %1 записано в кодировке, которую эта система не передаёт (не UTF-8): переименуйте файл.",
     "The name of the file %1 is in an encoding this system cannot pass on (not UTF-8): rename the file."},
    {"e_read_only", "Файл %1 доступен только для чтения.", "The file %1 is read-only."},
    {"e_no_work_folder", "Не удалось создать рабочую папку рядом с %1: %2",
     "Cannot create a working folder beside %1: %2"},
    {"e_no_copy", "Не удалось скопировать %1 в рабочую папку (диск переполнен?).",
     "Cannot copy %1 into a working folder (is the disk full?)."},
    {"e_nothing_to_save", "Нечего сохранять.", "Nothing to save."},
    {"e_no_write", "Не удалось записать изменённый документ на диск (диск переполнен?).",
     "Cannot write the changed document to disk (is the disk full?)."},
    {"e_no_replace", "Не удалось заменить %1: %2", "Cannot replace %1: %2"},
    {"e_rename_refused", "переименование отклонено", "the rename was refused"},
    {"e_stray_file", "Программа записала %1, а это не обычный файл рядом с документом; ничего не изменено.",
     "The tool wrote %1, which is not a plain file beside the document; nothing was changed."},
    {"e_no_aside_folder", "Не удалось создать папку для исходных файлов рядом с %1: %2",
     "Cannot create a folder for the original files beside %1: %2"},
    {"e_no_journal", "Не удалось записать журнал изменения рядом с %1 (диск переполнен?).",
     "Cannot write the change journal beside %1 (is the disk full?)."},
    {"e_no_set_aside", "Не удалось отложить %1: %2", "Cannot set %1 aside: %2"},
    {"e_no_complete", "Не удалось отметить изменение как завершённое рядом с %1 (диск переполнен?)",
     "Cannot record the change as complete beside %1 (is the disk full?)"},
    {"e_tool_crashed", "Программа неожиданно прекратила работу.", "The tool stopped unexpectedly."},
    {"e_tool_status", "Программа завершилась с кодом %1.", "The tool ended with exit status %1."},
    {"e_no_work_file", "Не удалось записать рабочий файл %1 (диск переполнен?) %2",
     "Cannot write the work file %1 (is the disk full?) %2"},
    {"e_not_started", "%1 не запущена: обработка остановлена.", "%1 was not started: the run was stopped."},
    {"e_tool_stopped", "%1 остановлена.", "%1 was stopped."},
    {"e_could_not_read", "djvused не смогла прочитать %1: %2", "djvused could not read %1: %2"},
    {"e_offset_smart_only", "%1 оставлен без изменений: смещение находит само только умное чтение.",
     "%1 was left as it is: only the smart reading finds the offset by itself."},
    {"e_left_look", "%1 оставлен без изменений: %2 (%3).", "%1 was left as it is: %2 (%3)."},
    {"e_the_contents_link", "ссылка на оглавление", "the contents link"},
    {"e_the_links", "ссылки", "the links"},
    {"e_oval_shadow", "у овала не бывает теневой рамки", "an oval cannot have a shadow border"},
    {"e_oval_highlight", "овал нельзя подсветить", "an oval cannot be highlighted"},
    {"e_left_as_is", "%1 оставлен без изменений: %2", "%1 was left as it is: %2"},
    {"e_no_annotations", "Не удалось прочитать аннотации: %1", "Cannot read the annotations: %1"},
    {"e_page_text", "%1 оставлен без изменений: текст страницы %2 не читается: %3",
     "%1 was left as it is: the text of page %2 does not read: %3"},
    {"e_smart_note", "Умное чтение: связано записей %1 из %2, смещение %3.",
     "Smart reading: %1 of %2 entries linked, offset %3."},
    {"e_index_outline", "Записи указателя в закладки не попадают.",
     "The entries of an index are not put into the outline."},
    {"e_pages_outside", "Страницы с %1 по %2 не являются страницами %3, в нём %4.",
     "Pages %1 to %2 are not pages of %3, which has %4."},
    {"e_pages_reversed", "Страницы заданы в обратном порядке (с %1 по %2): первая не может быть после последней.",
     "The pages run backwards (%1 to %2): the first page cannot come after the last."},
    {"e_no_link", "В %1 не создано ни одной ссылки; файл оставлен без изменений.",
     "No link was made in %1; it was left as it is."},
    {"e_no_outline_entry", "В %1 не найдено ни одной записи для закладок; файл оставлен без изменений.",
     "No entry for the outline was found in %1; it was left as it is."},
    {"e_could_not_change", "djvused не смогла изменить %1; файл оставлен без изменений: %2",
     "djvused could not change %1; it was left as it is: %2"},
    {"e_outline_readback", "Закладки, записанные в %1, читаются не так, как задумано; документ оставлен как был.",
     "The outline written into %1 does not read back as it was planned; the document was left as it was."},
    {"e_outline_unreadable", "%1 оставлен без изменений: его закладки не читаются: %2",
     "%1 was left as it is: its outline does not read: %2"},
    {"e_aligned_readback", "Выровненные аннотации не читаются целиком; документ оставлен без изменений.",
     "The aligned annotations do not read back whole; the document was left as it is."},
    {"e_backup_no_read", "Не удалось прочитать %1: %2", "Cannot read %1: %2"},
    {"e_backup_no_write", "Не удалось записать резервную копию %1: %2", "Cannot write the backup copy %1: %2"},
    {"e_backup_full", "Не удалось записать резервную копию %1 (диск переполнен?)",
     "Cannot write the backup copy %1 (is the disk full?)"},
    {"e_backup_over", "Резервная копия %1 легла бы поверх %2, а это файл документа; копия не сделана, документ оставлен без изменений.",
     "The backup copy of %1 would be written over %2, which is a file of the document; no backup was made and the document was left as it is."},
    {"e_busy", "%1 сейчас изменяет другой запуск; файл не тронут. Повторите задание, когда тот закончит.",
     "Another run is changing %1 right now; it was left alone. Run the job again when that run has finished."},
    {"e_changed_meanwhile", "%1 изменён другой программой после того, как этот запуск его прочитал; изменение не сохранено.",
     "%1 was changed by another program since this run read it; this run's change was not saved."},
    {"e_check_no_read", "Не удалось прочитать %1.", "Cannot read %1."},
    {"e_check_damaged", "Файл %1 повреждён (%2); не переполнен ли диск?", "The file %1 %2; is the disk full?"},
    {"e_link_page_outside", "Ссылка на оглавление должна вести на страницу %1, а в %2 всего %3.",
     "The contents link is meant for page %1, but %2 has %3."},
    {"e_link_target_outside", "Ссылка на оглавление должна вести на страницу %1, а в %2 всего %3 стр.; такой страницы нет.",
     "The contents link is meant to lead to page %1, but %2 has %3 pages: there is no such page."},
    {"e_no_page_count", "djvused не сообщила число страниц %1.", "djvused gave no page count for %1."},
    {"e_cell", "Столбец %1 (%2) строки для %3 содержит «%4», а это не %5.",
     "Column %1 (%2) of the row for %3 holds \"%4\", which is not %5."},
    {"e_valid_value", "допустимое значение", "a valid value"},
    {"e_no_header", "нет заголовка DjVu", "has no DjVu header"},
    {"e_incomplete", "файл неполон (%1 из %2 байт)", "is incomplete (%1 of %2 bytes)"},
    {"e_bad_header", "повреждён заголовок", "has a damaged header"},
    {"e_too_deep", "слишком глубокая вложенность блоков", "nests its chunks too deep"},
    {"e_part_without", "часть %1 без блока %2", "has a %1 part without its %2 chunk"},
    {"e_chunk_cut", "заголовок блока обрезан на байте %1", "has a chunk header cut off at byte %1"},
    {"e_chunk_damaged", "повреждён блок на байте %1", "has a damaged chunk at byte %1"},
    {"e_chunk_past_end", "блок %1 на байте %2 выходит за конец", "has a chunk %1 at byte %2 that runs past its end"},
    {"e_empty_form", "пустой FORM на байте %1", "has an empty FORM at byte %1"},
    {"e_no_directory", "нет целого каталога компонентов", "has no whole directory of its components"},
    {"e_directory_cut", "каталог обрезан", "has a directory cut short"},
    {"e_no_component", "компонент назван на байте %1, где его нет", "names a component at byte %1, where none is"},
    {"e_saved", "Сохранено: %1", "Saved: %1"},
    {"e_no_viewer", "Нет программы, которая открывает %1.", "There is no program to open %1."},
    {"e_summary_changed", "Изменено документов: %1", "%1 document changed|%1 documents changed"},
    {"e_summary_unchanged", "без изменений: %1", "%1 unchanged"},
    {"e_summary_skipped", "пропущено: %1", "%1 skipped"},
    {"e_summary_failed", "с ошибкой: %1", "%1 failed"},
    {"e_summary_not_reached", "не обработано: %1", "%1 not reached"},
    {"e_journal_refused", "Прерванное изменение %1 оставило папку %2, но %3; ни один файл не тронут. Уберите эту папку, если она не относится к этой книге.",
     "An earlier change of %1 left the folder %2, but %3; no file was touched. Move that folder away if it does not belong to this book."},
    {"e_journal_unreadable", "её журнал не читается как журнал этой программы", "its journal cannot be read as one this program writes"},
    {"e_journal_mismatch", "файлы %1 не такие, как записано в журнале", "the files %1 are not as its journal says"},
    {"e_journal_not_restored", "Изменение %1 было прервано, и файлы %2 не удалось вернуть; исходные файлы сохранены в %3.",
     "An earlier change of %1 was interrupted, and the files %2 could not be put back as they were; the originals are kept in %3."},
    {"e_journal_finished", "Изменение %1 было прервано во время уборки; изменение было завершено, уборка теперь закончена.",
     "An earlier change of %1 was interrupted while it cleaned up after itself; the change was complete, and its clean-up is now finished."},
    {"e_journal_undone", "Изменение %1 было прервано; все его файлы возвращены в прежний вид.",
     "An earlier change of %1 was interrupted; every file of it was put back as it was before."},
    {"e_indirect_no_tool", "Чтобы перечислить файлы составного документа %1, нужна djvused, а она не найдена.",
     "djvused is needed to list the files of the indirect document %1, and it cannot be found."},
    {"e_indirect_no_list", "djvused не смогла перечислить файлы %1: %2", "djvused could not list the files of %1: %2"},
    {"e_it_failed", "ошибка", "it failed"},
    {"e_indirect_stray", "Составной документ %1 называет файл %2, которого нет в его папке.",
     "The indirect document %1 names a file %2 that is not in its folder."},
    {"e_directory_unclear", "каталог, который она печатает, не называет файлы по одному, сколько их в нём указано",
     "the directory it prints does not name its files one by one, as many as it counts"},
    {"e_listing_cut", "Список страниц от djvused обрывается посреди строки: он обрезан.",
     "djvused's page listing ends in the middle of a line: it was cut short."},
    {"e_listing_line", "В списке страниц от djvused есть строка, которую она не печатает: %1",
     "djvused's page listing holds a line it does not print: %1"},
    {"e_index_outside", "Страница указателя %1 лежит за пределами книги (в ней %2).",
     "Index page %1 lies outside the book, which has %2."},
    {"e_listing_count", "В списке страниц от djvused %1 стр., а в книге их %2: похоже, название страницы содержит перевод строки.",
     "djvused's page listing names %1 pages, while the book has %2: a page title seems to hold a line break."},
    {"e_index_no_text", "На странице указателя %1 нет текстового слоя: сначала нужно распознавание (OCR).",
     "Index page %1 has no text layer: it needs OCR before its references can be read."},
    {"e_index_no_refs", "На страницах указателя нет ссылок на страницы.", "The index pages hold no page references."},
    {"e_reading_layer", "Чтение текстового слоя %1", "Reading the text layer of %1"},
    {"e_wrong_page_count", "Текст рассчитан на документ, в котором %1, а в %2 — %3. Документ не изменён.",
     "The text is for a document of %1; %2 has %3. The document was not changed."},
    {"e_not_changed", "Документ не изменён.", "The document was not changed."},
    {"e_no_word_differs", "Ни одно слово не отличается; документ оставлен как был.",
     "No word differs; the document is left as it was."},
    {"e_pages_changed", "Изменены страницы: %1", "Pages changed: %1"},
    {"e_outline_removed", "Закладки %1 удалены.", "The outline of %1 was removed."},
    {"e_outline_written", "Закладки %1 записаны: %2.",
     "Outline of %1 written: %2."},
    {"e_ocr_changed_since", "%1 изменён другой программой после того, как редактор его прочитал; ничего не сохранено. Прочитать документ заново? Несохранённые правки при этом пропадут.",
     "%1 was changed by another program since the editor read it; nothing was saved. Read the document again? The edits not yet saved are then lost."},
    {"e_ocr_unsaved", "Текстовый слой изменен. Сохранить изменения в документе?",
     "The text layer was changed. Save the changes into the document?"},
    {"e_walk_page", "Страница %1: ", "Page %1: "},
    {"e_walk_made_one", "создана ссылка: %1", "%1 link made"},
    {"e_walk_made", "создано ссылок: %1", "%1 links made"},
    {"e_walk_none", "ни одной ссылки не создано; на странице остались прежние ссылки",
     "no link made; the page keeps the links it had"},
    {"e_walk_skipped_one", ", пропущена запись: %1 (%2).", ", %1 entry skipped (%2)."},
    {"e_walk_skipped", ", пропущено записей: %1 (%2).", ", %1 entries skipped (%2)."},
    {"e_walk_before", "%1 — со страницей раньше первой", "%1 with a target before page 1"},
    {"e_walk_past", "%1 — со страницей после %2-й", "%1 with a target past page %2"},
    {"e_walk_falling", "%1 — с номером меньше, чем у записи выше",
     "%1 with a number smaller than the entry above"},
    {"e_walk_outside", "%1 — с областью за пределами страницы", "%1 with an area outside the page"},
    {"e_offset_by_headings", "Найдено смещение %1: заголовки %2 из %3 записей, найденные в книге, согласуются",
     "Offset %1 found: the headings of %2 of %3 entries found in the book agree"},
    {"e_offset_headings_disagree", "Смещение страниц найти не удалось: найденные в книге заголовки расходятся (смещение %1 записей). Задайте смещение вручную.",
     "The page offset could not be found: the headings found in the book disagree (offset %1 entries). Give the offset by hand."},
    {"e_offset_by_folios", "Найдено смещение %1: ни одного заголовка записей в книге не найдено, но %2 из %3 напечатанных номеров страниц согласуются.",
     "Offset %1 found: no heading of the entries was found in the book, but %2 of %3 printed page numbers agree."},
    {"e_offset_folios_disagree", "Смещение страниц найти не удалось: напечатанные в книге номера страниц расходятся (смещение %1 стр.). Задайте смещение вручную.",
     "The page offset could not be found: the page numbers printed in the book disagree (offset %1 pages). Give the offset by hand."},
    {"e_offset_nothing", "Смещение страниц найти не удалось: ни одного заголовка записей в книге не найдено, а номера страниц в ней не напечатаны. Задайте смещение вручную.",
     "The page offset could not be found: no entry's heading was found in the book and its pages print no page numbers. Give the offset by hand."},
    {"e_check_refused", "Исправления потребовали бы ссылок: %1, а строгая проверка оставляет документ без изменений: %2.",
     "%1 link(s) would need a correction, and strict checking leaves the document unchanged: %2."},
    {"e_djvu_files", "DjVu файлы", "DjVu files"},
    {"e_outline_replace", "Заменить", "Replace"},
    {"e_outline_replace_all", "Заменить во всех", "Replace in all"},
    {"e_outline_merge", "Объединить", "Merge"},
    {"e_outline_skip", "Пропустить", "Skip"},
    {"e_about", "О программе", "About"},
    {"e_about_version", "Версия %1", "Version %1"},
    {"e_about_tools", "Программы DjVuLibre:", "DjVuLibre tools:"},
    {"e_tool_not_found", "не найдена", "not found"},
    {"e_row_done", "Готово", "Done"},
    {"e_row_failed", "Ошибка", "Failed"},
    {"e_row_not_reached", "Не обработан", "Not reached"},
    {"e_row_unchanged", "Без изменений",
     "Unchanged"},
    {"e_row_skipped", "Пропущен",
     "Skipped"},
    {"e_left_unchanged", "%1 оставлен без изменений: менять в нём было нечего.",
     "%1 was left as it was: nothing in it needed changing."},
    {"e_outline_declined", "%1 оставлен без изменений: замена его закладок (%2) отклонена.",
     "%1 was left as it was: replacing its outline (%2) was declined."},
    {"e_n_bookmarks", "%1 закладка|%1 закладки|%1 закладок",
     "%1 bookmark|%1 bookmarks"},
    {"e_n_pages", "%1 страница|%1 страницы|%1 страниц",
     "%1 page|%1 pages"},
    {"e_n_words", "%1 слово|%1 слова|%1 слов",
     "%1 word|%1 words"},
    {"e_n_lines", "%1 строка|%1 строки|%1 строк",
     "%1 line|%1 lines"},
    {"e_n_documents", "%1 документ|%1 документа|%1 документов",
     "%1 document|%1 documents"},
    {"e_n_entries", "%1 запись|%1 записи|%1 записей",
     "%1 entry|%1 entries"},
    {"e_n_links", "%1 ссылка|%1 ссылки|%1 ссылок",
     "%1 link|%1 links"},
    {"e_n_numbers", "%1 номер|%1 номера|%1 номеров",
     "%1 number|%1 numbers"},
    {"e_n_text_lines", "%1 строка текста|%1 строки текста|%1 строк текста",
     "%1 text line|%1 text lines"},
    {"e_doc_no_open", "Не удалось открыть %1: %2.",
     "Cannot open %1: %2."},
    {"e_doc_no_permission", "Нет прав на чтение %1.",
     "You have no permission to read %1."},
    {"e_doc_empty", "Файл %1 пуст: в нём нет ни одного байта.",
     "The file %1 is empty: it holds no bytes."},
    {"e_doc_not_djvu", "%1 — не документ DjVu: он начинается не так, как DjVu. Возможно, это файл другого вида с расширением .djvu.",
     "%1 is not a DjVu document: it does not begin as one. It may be a file of another kind named .djvu."},
    {"e_doc_cut_short", "Файл %1 обрезан: он кончается раньше, чем должен. Возможно, его скопировали или скачали не до конца.",
     "The file %1 is cut short: it ends before it should. It may not have been copied or downloaded whole."},
    {"e_doc_damaged", "Файл %1 повреждён (%2), прочитать его нельзя.",
     "The file %1 is damaged (it %2) and cannot be read."},
};
// clang-format on

const TwoLanguageTable& table()
{
    static const TwoLanguageTable t(kEntries);
    return t;
}

struct Current
{
    QMutex mutex;
    QHash<QString, QString> texts; // empty: the English built-in texts
};

Current& current()
{
    static Current c;
    return c;
}

} // namespace

namespace EngineTexts {

QString say(const char* key)
{
    const QString k = QString::fromLatin1(key);
    {
        Current& c = current();
        QMutexLocker lock(&c.mutex);
        const auto it = c.texts.constFind(k);
        if (it != c.texts.constEnd())
            return *it;
    }
    return englishText(k);
}

void use(const std::function<QString(const QString& key)>& textOf)
{
    QHash<QString, QString> chosen;
    for (const QString& key : keys())
        chosen.insert(key, textOf(key));
    Current& c = current();
    QMutexLocker lock(&c.mutex);
    c.texts = std::move(chosen);
}

void useEnglish()
{
    Current& c = current();
    QMutexLocker lock(&c.mutex);
    c.texts.clear();
}

const QStringList& keys()
{
    static const QStringList all = table().keys() + engineDetailTexts().keys();
    return all;
}

QString russianText(const QString& key)
{
    const QString text = table().russian(key);
    return text.isNull() ? engineDetailTexts().russian(key) : text;
}

QString englishText(const QString& key)
{
    const QString text = table().english(key);
    return text.isNull() ? engineDetailTexts().english(key) : text;
}

} // namespace EngineTexts
