#pragma once

#include "base/TwoLanguageText.h"

// The help of tocsmith-cli: its usage ("main"), the batch options' text ("batch") and the help
// of every command but create, as each command declares its options (see CommandLine::help):
// key, Russian, English.
// clang-format off
inline constexpr TwoLanguageText kHelpTexts[] = {
    {"main",
     "Использование: tocsmith-cli КОМАНДА [параметры] ...\n"
     "\n"
     "Команды:\n"
     "  create          превратить страницу оглавления или указателя в гиперссылки\n"
     "  fix             выровнять гиперссылки, которые в документе уже есть\n"
     "  ocr-export      вывести текстовый слой документа, по строке на строку текста\n"
     "  ocr-import      записать исправленный текстовый слой обратно в документ\n"
     "  ocr-recognise   распознать страницы без текста и сохранить их текст\n"
     "  outline-export  вывести закладки документа текстом\n"
     "  outline-import  записать такой текст как закладки документа\n"
     "\n"
     "С --verbose сказанное программами DjVuLibre об ошибке выводится и в стандартный\n"
     "поток ошибок (подробный журнал).\n"
     "Параметры команды: 'tocsmith-cli КОМАНДА --help', версия: 'tocsmith-cli --version'.\n",
     "Usage: tocsmith-cli COMMAND [options] ...\n"
     "\n"
     "Commands:\n"
     "  create          turn a contents or index page into hyperlinks\n"
     "  fix             align the hyperlinks a document already has\n"
     "  ocr-export      print a document's text layer, one line per text line\n"
     "  ocr-import      write a corrected text layer back into a document\n"
     "  ocr-recognise   recognise pages without text and keep their text\n"
     "  outline-export  print a document's outline (bookmarks) as text\n"
     "  outline-import  write such a text as a document's outline\n"
     "\n"
     "With --verbose, what the DjVuLibre tools said of a failure goes to\n"
     "standard error too (the detailed log).\n"
     "Run 'tocsmith-cli COMMAND --help' for the options of a command,\n"
     "'tocsmith-cli --version' for the version.\n"},
    {"batch",
     "Пакеты:\n"
     "  --jobs N              обрабатывать до N документов сразу (по умолчанию 1: один за\n"
     "                        другим, до первой ошибки); строки журнала каждого\n"
     "                        документа идут вместе, с его именем в начале\n"
     "  --keep-going          обрабатывать все документы и после ошибки в одном из них\n"
     "  --report FILE.json    записать по одной записи на документ (см. README)\n"
     "  --only K              из заданных документов обработать только K-й\n"
     "С --jobs N > 1 или --keep-going обрабатывается каждый документ; документ с ошибкой\n"
     "остаётся как был, а код завершения равен 1, если ошибка была хоть в одном.\n",
     "Batches:\n"
     "  --jobs N              work on up to N documents at once (default 1: one after\n"
     "                        another, stopping at the first failure); the log lines of\n"
     "                        each document stay together, prefixed with its name\n"
     "  --keep-going          try every document even after one failed\n"
     "  --report FILE.json    write one record per document (see the README)\n"
     "  --only K              of the documents given, work on the K-th alone\n"
     "With --jobs N > 1 or --keep-going every document is tried; a failed one stays as\n"
     "it was, and the exit status is 1 when any failed.\n"},
    {"fix",
     "Использование: tocsmith-cli fix [--no-backup] [--keep-backups N] [--language FILE.lng] FILE.djvu...\n"
     "\n"
     "Выравнивает прямоугольные и овальные гиперссылки каждого документа постранично:\n"
     "ссылки страницы делятся на левый и правый столбцы, и каждая ссылка столбца получает\n"
     "его левый край и ширину. Остальные аннотации не меняются.\n"
     "Файлы обрабатываются по порядку; первая ошибка останавливает запуск, а файлы до неё\n"
     "остаются обработанными.\n"
     "\n"
     "С --jobs N > 1 или --keep-going обрабатывается каждый файл.\n"
     "\n"
     "Параметры:\n",
     "Usage: tocsmith-cli fix [--no-backup] [--keep-backups N] [--language FILE.lng] FILE.djvu...\n"
     "\n"
     "Aligns the rectangle and oval hyperlinks of each document page by page: the links of\n"
     "a page fall into a left and a right column, and every link of a column gets the\n"
     "column's left edge and width. Nothing else of the annotations changes.\n"
     "The files are treated in order; the first failure stops the run, and the files\n"
     "before it stay done.\n"
     "\n"
     "With --jobs N > 1 or --keep-going every file is tried instead.\n"
     "\n"
     "Options:\n"},
    {"fix --no-backup",
     "  --no-backup           не сохранять копию файла рядом с ним (FILE.djvu.backup —\n"
     "                        исходный файл, FILE.djvu.backup.2... — каждое следующее изменение)\n",
     "  --no-backup           do not back each file up beside it (FILE.djvu.backup holds\n"
     "                        the original, FILE.djvu.backup.2... each later change)\n"},
    {"fix --keep-backups",
     "  --keep-backups N      хранить копию исходного файла и N последних (по умолчанию 5)\n",
     "  --keep-backups N      keep the original's backup and the N latest (default 5)\n"},
    {"fix --language",
     "  --language FILE.lng   брать тексты журнала и сообщений из этого файла языка\n",
     "  --language FILE.lng   take the log and message texts from this language file\n"},
    {"fix:end",
     "  -h, --help            показать эту справку\n"
     "\n"
     "Файл, ссылки которого уже выровнены, не трогается и считается оставленным без\n"
     "изменений. Запуск кончается строкой с числом изменённых, оставленных без изменений\n"
     "и ошибочных файлов.\n"
     "\n"
     "Код завершения: 0 все файлы выровнены, 1 ошибка в файле, 2 неверный вызов, 130\n"
     "остановлено SIGINT или SIGTERM (обрабатываемый файл остаётся как был).\n",
     "  -h, --help            show this help\n"
     "\n"
     "A file whose links are already aligned is left untouched and reported unchanged.\n"
     "The run ends with a line that counts the files changed, unchanged and failed.\n"
     "\n"
     "Exit status: 0 every file was aligned, 1 a file failed, 2 wrong usage, 130 stopped by\n"
     "SIGINT or SIGTERM (the file being worked on stays as it was).\n"},
    {"ocr-export",
     "Использование: tocsmith-cli ocr-export FILE.djvu [--pages FIRST-LAST] [--route djvused|xml]\n"
     "\n"
     "Выводит текстовый слой FILE.djvu так, как его показывает редактор OCR: по строке на\n"
     "строку текста, слова строки через один пробел, перед каждой страницей строка\n"
     "'=== page N/M ==='. Исправьте слова и верните текст командой ocr-import.\n"
     "\n",
     "Usage: tocsmith-cli ocr-export FILE.djvu [--pages FIRST-LAST] [--route djvused|xml]\n"
     "\n"
     "Prints the text layer of FILE.djvu as the OCR editor shows it: one line per text\n"
     "line, the words of a line separated by single spaces, each page preceded by a line\n"
     "'=== page N/M ==='. Correct the words and read the text back with ocr-import.\n"
     "\n"},
    {"ocr-export --pages",
     "  --pages FIRST-LAST  только эти страницы (с 1; одно число для одной страницы)\n",
     "  --pages FIRST-LAST  only these pages (1-based; a single number for one page)\n"},
    {"ocr-export --route",
     "  --route xml         читать текст через djvutoxml, а не в текстовой форме djvused\n"
     "                      (медленнее; по умолчанию djvused, а путь через XML выбирается\n"
     "                      и сам, где форма djvused не передаёт слова)\n",
     "  --route xml         read the text through djvutoxml instead of djvused's own text\n"
     "                      form (slower; djvused is the default, and the XML route is taken\n"
     "                      anyway where djvused's form cannot carry the words)\n"},
    {"ocr-export:end",
     "\n"
     "Код завершения: 0 готово, 1 текстовый слой не читается, 2 неверный вызов.\n",
     "\n"
     "Exit status: 0 done, 1 the text layer could not be read, 2 usage error.\n"},
    {"ocr-import",
     "Использование: tocsmith-cli ocr-import FILE.djvu TEXT [--no-backup] [--keep-backups N] [--route djvused|xml]\n"
     "\n"
     "Записывает исправленные слова из TEXT (как его вывела ocr-export, '-' для\n"
     "стандартного ввода) в текстовый слой FILE.djvu. Меняются только буквы: каждое слово\n"
     "сохраняет свою рамку, поэтому в каждой строке страницы должно остаться столько же\n"
     "слов (пробелов). Страницы, которых нет в TEXT, не меняются. Если хоть одна страница\n"
     "не совпадает, документ не меняется вовсе.\n"
     "Перед изменением копия документа сохраняется рядом с ним, если не задан --no-backup:\n"
     "FILE.djvu.backup — исходный, FILE.djvu.backup.2... — каждое следующее изменение;\n"
     "--keep-backups N хранит копию исходного и N последних (по умолчанию 5).\n"
     "'--' завершает параметры: имена после него берутся как есть.\n"
     "\n",
     "Usage: tocsmith-cli ocr-import FILE.djvu TEXT [--no-backup] [--keep-backups N] [--route djvused|xml]\n"
     "\n"
     "Writes the corrected words of TEXT (as ocr-export printed it, '-' for standard input)\n"
     "into the text layer of FILE.djvu. Only letters change: every word keeps its box, so\n"
     "each line of a page must keep its number of words (spaces). Pages missing from TEXT\n"
     "stay as they are. If any page does not match, the document is not changed at all.\n"
     "Before its change the document is backed up beside it, unless --no-backup:\n"
     "FILE.djvu.backup holds the original, FILE.djvu.backup.2... each later change;\n"
     "--keep-backups N keeps the original's and the N latest (default 5).\n"
     "'--' ends the options: the names after it are taken as they are.\n"
     "\n"},
    {"ocr-import --route",
     "  --route xml  читать и писать через djvutoxml и djvuxmlparser, а не через djvused\n",
     "  --route xml  read and write through djvutoxml and djvuxmlparser instead of djvused\n"},
    {"ocr-import:end",
     "\n"
     "Код завершения: 0 готово, 1 текст не совпал или документ не удалось изменить,\n"
     "2 неверный вызов.\n",
     "\n"
     "Exit status: 0 done, 1 the text did not match or the document could not be changed,\n"
     "2 usage error.\n"},
    {"ocr-recognise",
     "Использование: tocsmith-cli ocr-recognise FILE.djvu [--pages LIST] [--all] [--jobs N] [--ocr-language L] [--no-backup] [--keep-backups N]\n"
     "\n"
     "Распознаёт напечатанный текст страниц FILE.djvu и записывает его в текстовый слой\n"
     "документа, чтобы по нему можно было искать и выделять. По умолчанию распознаются все\n"
     "страницы без текстового слоя; --pages LIST (1,17-18) называет страницы, и из них\n"
     "распознаются только страницы без текста, если --all не велит распознать и остальные.\n"
     "Страницы рисует ddjvu, читает библиотека Tesseract.\n"
     "\n",
     "Usage: tocsmith-cli ocr-recognise FILE.djvu [--pages LIST] [--all] [--jobs N] [--ocr-language L] [--no-backup] [--keep-backups N]\n"
     "\n"
     "Recognises the printed text of pages of FILE.djvu and writes it into the document's\n"
     "text layer, so that viewers can search and select it. By default every page without\n"
     "a text layer is recognised; --pages LIST (1,17-18) names the pages, and only those\n"
     "of them without text are recognised unless --all asks to recognise them anyway.\n"
     "Pages are drawn by ddjvu and read by the Tesseract library.\n"
     "\n"},
    {"ocr-recognise --jobs",
     "  --jobs N          распознавать до N страниц сразу (по умолчанию — по числу процессоров)\n",
     "  --jobs N          recognise up to N pages at once (default: the processors)\n"},
    {"ocr-recognise --ocr-language",
     "  --ocr-language L  языки Tesseract через '+' (по умолчанию rus+eng в русской локали,\n"
     "                    иначе eng)\n",
     "  --ocr-language L  Tesseract's languages joined by '+' (default: rus+eng in a\n"
     "                    Russian locale, eng otherwise)\n"},
    {"ocr-recognise:end",
     "Перед изменением копия документа сохраняется рядом с ним, если не задан --no-backup:\n"
     "FILE.djvu.backup — исходный, FILE.djvu.backup.2... — каждое следующее изменение;\n"
     "--keep-backups N хранит копию исходного и N последних (по умолчанию 5).\n"
     "Ошибка или остановка (SIGINT, SIGTERM) оставляют документ без изменений.\n"
     "\n"
     "Код завершения: 0 готово, 1 страницы не удалось распознать или записать, 2 неверный\n"
     "вызов, 130 остановлено.\n",
     "Before its change the document is backed up beside it, unless --no-backup:\n"
     "FILE.djvu.backup holds the original, FILE.djvu.backup.2... each later change;\n"
     "--keep-backups N keeps the original's and the N latest (default 5).\n"
     "A failure or a stop (SIGINT, SIGTERM) leaves the document unchanged.\n"
     "\n"
     "Exit status: 0 done, 1 the pages could not be recognised or written, 2 usage error,\n"
     "130 stopped.\n"},
    {"outline-export",
     "Использование: tocsmith-cli outline-export [--format text|json] FILE.djvu\n"
     "\n"
     "Выводит закладки FILE.djvu, по закладке на строку: по два пробела на уровень,\n"
     "заголовок, табуляция, цель. Цель, которая является страницей документа (по номеру\n"
     "или имени файла), выводится номером страницы; любая другая цель (например,\n"
     "веб-адрес) — так, как она записана в документе. Заголовки передаются точно:\n"
     "\\\\ для обратной косой черты, \\t, \\n, \\r и \\xHH для других управляющих\n"
     "символов и байтов не в UTF-8. Исправьте текст и запишите его обратно командой\n"
     "outline-import. Для документа без закладок не выводится ничего.\n"
     "\n",
     "Usage: tocsmith-cli outline-export [--format text|json] FILE.djvu\n"
     "\n"
     "Prints the outline (bookmarks) of FILE.djvu, one bookmark a line: two spaces per\n"
     "level, the title, a tab, the target. A target that is a page of the document (by\n"
     "its number or its file name) shows as its page number; any other target (a web\n"
     "address, say) as the document holds it. Escapes keep every title exact: \\\\ for a backslash, \\t, \\n,\n"
     "\\r, and \\xHH for other control characters and bytes that are not UTF-8. Correct\n"
     "the text and write it back with outline-import. A document without an outline\n"
     "prints nothing.\n"
     "\n"},
    {"outline-export --format",
     "  --format json  вывести закладки в JSON: список закладок\n"
     "                 {\"title\": ..., \"page\": N, \"children\": [...]}, \"url\" вместо\n"
     "                 \"page\" для цели, которая не страница (docs/outline.schema.json)\n",
     "  --format json  print the outline as JSON instead: a list of bookmarks\n"
     "                 {\"title\": ..., \"page\": N, \"children\": [...]}, \"url\" in place of\n"
     "                 \"page\" for a target that is not a page (docs/outline.schema.json)\n"},
    {"outline-export:end",
     "\n"
     "Код завершения: 0 готово, 1 закладки не читаются, 2 неверный вызов.\n",
     "\n"
     "Exit status: 0 done, 1 the outline could not be read, 2 usage error.\n"},
    {"outline-import",
     "Использование: tocsmith-cli outline-import [--no-backup] [--keep-backups N]\n"
     "       [--format text|json] FILE.djvu TEXT\n"
     "\n"
     "Записывает TEXT (как его выводит outline-export, '-' для стандартного ввода) как\n"
     "закладки FILE.djvu вместо прежних; пустой TEXT удаляет их.\n"
     "Каждая строка: по два пробела на уровень, заголовок, табуляция, цель. Цель-число —\n"
     "это страница документа, записанная в том виде, в каком закладки документа уже её\n"
     "называют; любая другая цель записывается как есть.\n"
     "Строка без табуляции, отступ глубже предыдущей строки больше чем на уровень,\n"
     "страница вне документа или неизвестная последовательность с обратной косой чертой\n"
     "сообщаются с номером строки, и документ не меняется вовсе.\n"
     "\n",
     "Usage: tocsmith-cli outline-import [--no-backup] [--keep-backups N] [--format text|json]\n"
     "       FILE.djvu TEXT\n"
     "\n"
     "Writes TEXT (as outline-export prints it, '-' for standard input) as the outline\n"
     "(bookmarks) of FILE.djvu, replacing the outline it has; an empty TEXT removes it.\n"
     "Each line: two spaces per level, the title, a tab, the target. A target that is a\n"
     "number is that page of the document, written in the form the document's outline\n"
     "already uses for it; any other target is written as it stands.\n"
     "A line without a tab, an indent deeper by more than one level than the line before,\n"
     "a page outside the document or an unknown backslash escape is reported with its line\n"
     "number, and the document is not changed at all.\n"
     "\n"},
    {"outline-import --no-backup",
     "  --no-backup         не сохранять копию документа рядом с ним (FILE.djvu.backup —\n"
     "                      исходный, FILE.djvu.backup.2... — каждое следующее изменение)\n",
     "  --no-backup         do not back the document up beside it (FILE.djvu.backup holds\n"
     "                      the original, FILE.djvu.backup.2... each later change)\n"},
    {"outline-import --keep-backups",
     "  --keep-backups N    хранить копию исходного и N последних (по умолчанию 5)\n",
     "  --keep-backups N    keep the original's backup and the N latest (default 5)\n"},
    {"outline-import --format",
     "  --format json       TEXT — JSON, как его выводит outline-export --format json; ошибка\n"
     "                      сообщается со строкой и столбцом или с закладкой, где она есть\n",
     "  --format json       TEXT is JSON as outline-export --format json prints it; a fault\n"
     "                      is reported with its line and column or the bookmark it is in\n"},
    {"outline-import:end",
     "\n"
     "Код завершения: 0 готово, 1 текст не читается или документ не удалось изменить,\n"
     "2 неверный вызов.\n",
     "\n"
     "Exit status: 0 done, 1 the text did not read or the document could not be changed,\n"
     "2 usage error.\n"},
};
// clang-format on
