#pragma once

#include "base/TwoLanguageText.h"

// The help of create, as the command declares its options (see CommandLine::help): key,
// Russian, English.
// clang-format off
inline constexpr TwoLanguageText kCreateHelpTexts[] = {
    // What follows a refusal of create's command line, in place of the help.
    {"create:hint",
     "Параметры: 'tocsmith-cli create --help'.\n",
     "Run 'tocsmith-cli create --help' for the options.\n"},
    {"create",
     "Использование: tocsmith-cli create [параметры] FILE.djvu...\n"
     "\n"
     "Превращает страницы оглавления или указателя каждого документа в гиперссылки на\n"
     "страницы, которые называют их записи, и сохраняет документ на месте (документ либо\n"
     "изменяется целиком, либо остаётся точно таким, каким был).\n"
     "\n"
     "Записи:\n",
     "Usage: tocsmith-cli create [options] FILE.djvu...\n"
     "\n"
     "Turns the contents or index pages of each document into hyperlinks to the pages\n"
     "their entries name, and saves the document in place (a document is either changed\n"
     "completely or left exactly as it was).\n"
     "\n"
     "Entries:\n"},
    {"create --pages",
     "  --pages FIRST-LAST[,...] страницы оглавления или указателя (или одна страница N),\n"
     "                          по нумерации документа (по умолчанию 1-1); книга из\n"
     "                          частей с оглавлением у каждой: список по порядку, 1,17-18\n",
     "  --pages FIRST-LAST[,...] pages holding the contents or index (or one page N), as\n"
     "                          numbered in the document (default 1-1); a book in parts\n"
     "                          with a contents for each: a list in page order, 1,17-18\n"},
    {"create --offset",
     "  --offset N|auto[,...]   прибавляется к каждому напечатанному номеру страницы;\n"
     "                          может быть отрицательным (по умолчанию 0); auto: находится\n"
     "                          по напечатанным номерам страниц и заголовкам книги (только\n"
     "                          с --reading smart); книга, где смещение не находится,\n"
     "                          остаётся без изменений с ошибкой; по значению на каждый\n"
     "                          диапазон --pages (0,16) или одно для всех\n",
     "  --offset N|auto[,...]   added to every printed page number; may be negative\n"
     "                          (default 0); auto: found from the book's printed page\n"
     "                          numbers and headings (only with --reading smart); a\n"
     "                          book that shows no offset fails unchanged; one value\n"
     "                          for each range of --pages (0,16), or one for all\n"},
    {"create --reading",
     "  --reading classic|smart classic: правила слов ниже; smart: заголовки с\n"
     "                          отточиями, номера на следующей строке или слитые с\n"
     "                          заголовком, заголовки в две строки, римские номера,\n"
     "                          записи, чей номер потерян при распознавании, находятся\n"
     "                          по заголовкам; указатели: отточия, диапазоны (15-17,\n"
     "                          15ff) и собственный номер страницы не учитывается\n"
     "                          (по умолчанию classic)\n",
     "  --reading classic|smart classic: the word rules below; smart: titles with\n"
     "                          leaders, numbers on the next line or glued to the\n"
     "                          title, titles over two lines, roman numbers, entries\n"
     "                          whose number the OCR lost found by their titles;\n"
     "                          indexes: leaders, ranges (15-17, 15ff) and the\n"
     "                          page's own number left out (default classic)\n"},
    {"create --strict",
     "  --strict                умное чтение: документ, ссылки которого потребовали бы\n"
     "                          исправления (заголовок найден на другой странице),\n"
     "                          остаётся без изменений с ошибкой; без него такие ссылки\n"
     "                          исправляются, и журнал перечисляет каждое исправление\n",
     "  --strict                smart reading: a document whose links would need a\n"
     "                          correction (a heading found on another page) fails\n"
     "                          unchanged; without it such links are corrected and\n"
     "                          the log lists each correction\n"},
    {"create --no-check",
     "  --no-check              умное чтение: не проверять ссылки по заголовкам на их\n"
     "                          страницах\n",
     "  --no-check              smart reading: no check of the links against the\n"
     "                          headings on their pages\n"},
    {"create --roman-offset",
     "  --roman-offset N        умное чтение: римская страница n ведёт на страницу n + N\n"
     "                          (по умолчанию: на страницу, где напечатано это число)\n",
     "  --roman-offset N        smart reading: roman page n leads to page n + N\n"
     "                          (default: the page that prints the numeral)\n"},
    {"create --kind",
     "  --kind contents|index1|index2\n"
     "                          contents: последнее слово строки после заголовка;\n"
     "                          index1: последнее слово каждой строки; index2: каждое\n"
     "                          число, списки вроде 15,17 делятся (по умолчанию contents)\n",
     "  --kind contents|index1|index2\n"
     "                          contents: the last word of a line after its title;\n"
     "                          index1: the last word of each line; index2: every\n"
     "                          number, lists such as 15,17 split (default contents)\n"},
    {"create --halve",
     "  --halve                 делить напечатанные номера страниц на 2\n",
     "  --halve                 divide printed page numbers by 2\n"},
    {"create --no-page-check",
     "  --no-page-check         не исправлять номера страниц за концом документа\n",
     "  --no-page-check         do not correct page numbers beyond the document's end\n"},
    {"create --comment",
     "  --comment TEXT          комментарий ссылок, за ним номер страницы\n"
     "                          (по умолчанию \"Go to page\")\n",
     "  --comment TEXT          comment of the links, followed by the page number\n"
     "                          (default \"Go to page\")\n"},
    {"create:look",
     "\n"
     "Вид ссылок:\n",
     "\n"
     "Look of the links:\n"},
    {"create --shape",
     "  --shape rect|oval       (по умолчанию rect)\n",
     "  --shape rect|oval       (default rect)\n"},
    {"create --border",
     "  --border none|xor|border|shadow-in|shadow-out|shadow-ein|shadow-eout\n"
     "                          (по умолчанию xor; у овалов только none, xor или border)\n",
     "  --border none|xor|border|shadow-in|shadow-out|shadow-ein|shadow-eout\n"
     "                          (default xor; ovals take none, xor or border)\n"},
    {"create --border-color",
     "  --border-color RRGGBB   цвет рамки \"border\" (по умолчанию 000000)\n",
     "  --border-color RRGGBB   colour of the border \"border\" (default 000000)\n"},
    {"create --highlight-color",
     "  --highlight-color RRGGBB  цвет --highlight (по умолчанию 000000)\n",
     "  --highlight-color RRGGBB  colour of --highlight (default 000000)\n"},
    {"create --shadow-width",
     "  --shadow-width N        ширина теневых рамок, от 0 до 100 (по умолчанию 0)\n",
     "  --shadow-width N        width of the shadow borders, 0 to 100 (default 0)\n"},
    {"create --always-visible",
     "  --always-visible        показывать рамку всегда, а не только под мышью\n",
     "  --always-visible        show the border all the time, not only under the mouse\n"},
    {"create --highlight",
     "  --highlight             залить область цветом подсветки (только rect)\n",
     "  --highlight             fill the area with the highlight colour (rect only)\n"},
    {"create:contents-link",
     "\n"
     "Ссылка на оглавление (ссылка обратно на оглавление, только если задана):\n",
     "\n"
     "Contents link (a link back to the contents, off unless asked for):\n"},
    {"create --contents-link",
     "  --contents-link         добавить её\n",
     "  --contents-link         add it\n"},
    {"create --contents-link-page",
     "  --contents-link-page N  страница, на которую она ставится (по умолчанию 1)\n",
     "  --contents-link-page N  the page that gets it (default 1)\n"},
    {"create --contents-link-every-page",
     "  --contents-link-every-page  ставить её на каждую страницу\n",
     "  --contents-link-every-page  put it on every page instead\n"},
    {"create --contents-link-target",
     "  --contents-link-target N    страница, на которую она ведёт (по умолчанию 4)\n",
     "  --contents-link-target N    the page it leads to (default 4)\n"},
    {"create --contents-link-box",
     "  --contents-link-box LEFT,BOTTOM,WIDTH,HEIGHT\n"
     "                          её область в пикселях страницы от левого нижнего угла\n"
     "                          (по умолчанию 100,50,500,50)\n",
     "  --contents-link-box LEFT,BOTTOM,WIDTH,HEIGHT\n"
     "                          its box in page pixels from the bottom-left corner\n"
     "                          (default 100,50,500,50)\n"},
    {"create --contents-link-comment",
     "  --contents-link-comment TEXT  (по умолчанию \"Go to content\")\n",
     "  --contents-link-comment TEXT  (default \"Go to content\")\n"},
    {"create --contents-link-shape",
     "  --contents-link-shape, --contents-link-border, --contents-link-border-color,\n"
     "  --contents-link-highlight-color, --contents-link-shadow-width,\n"
     "  --contents-link-always-visible, --contents-link-highlight\n"
     "                          её вид, как в параметрах выше (по умолчанию rect, xor)\n"
     "  Страница, получающая ссылку на оглавление, сохраняет прочие аннотации;\n"
     "  заменяется лишь ссылка на оглавление, поставленная прежним запуском (та же\n"
     "  цель и подпись). Аннотации страницы оглавления, получающей ссылки, как всегда\n"
     "  пишутся заново.\n",
     "  --contents-link-shape, --contents-link-border, --contents-link-border-color,\n"
     "  --contents-link-highlight-color, --contents-link-shadow-width,\n"
     "  --contents-link-always-visible, --contents-link-highlight\n"
     "                          its look, as the options above (default rect, xor)\n"
     "  A page that gets the contents link keeps its other annotations; only a contents\n"
     "  link an earlier run put there (same target and comment) is replaced. A contents\n"
     "  page that gets links has its annotations written afresh, as always.\n"},
    {"create:outline",
     "\n"
     "Закладки (которые программа просмотра показывает рядом со страницами):\n",
     "\n"
     "Outline (the bookmarks a viewer shows beside the pages):\n"},
    {"create --outline",
     "  --outline               записать и закладки по записям оглавления, в их порядке,\n"
     "                          с вложенностью по их уровням (не с index1 или index2,\n"
     "                          записи которых в закладки не попадают)\n",
     "  --outline               also write the outline from the contents entries, in\n"
     "                          their order, nested by their levels (not with index1 or\n"
     "                          index2, whose entries never go into the outline)\n"},
    {"create --no-links",
     "  --no-links              с --outline: записать только закладки, без гиперссылок\n",
     "  --no-links              with --outline: write the outline alone, no hyperlinks\n"},
    {"create:outline-modes",
     "  --outline replace       заменить закладки, которые в документе уже есть (то же,\n"
     "                          что --replace-outline); без replace или merge такой\n"
     "                          документ остаётся без изменений с ошибкой\n"
     "  --outline merge         добавить новые закладки к тем, что в документе есть:\n"
     "                          закладка с той же страницей и тем же заголовком (без\n"
     "                          учёта регистра, пробелов и знаков) не удваивается,\n"
     "                          остальные встают по порядку страниц на своём уровне\n",
     "  --outline replace       replace the outline the document has (--replace-outline\n"
     "                          says the same); without replace or merge such a\n"
     "                          document fails unchanged\n"
     "  --outline merge         add the new bookmarks to the outline the document has:\n"
     "                          one with the same page and title (case, spaces and\n"
     "                          punctuation aside) is not doubled, the others go in\n"
     "                          page order at the level they read\n"},
    {"create --no-parts",
     "  --no-parts              все главы на верхнем уровне, без закладок частей (по\n"
     "                          умолчанию каждый диапазон списка --pages и каждая строка\n"
     "                          части в оглавлении — закладка над своими записями)\n",
     "  --no-parts              keep every chapter at the top: no part bookmarks (by\n"
     "                          default each range of a list of --pages, and each part\n"
     "                          line of a contents, is a bookmark over its entries)\n"},
    {"create:run",
     "\n"
     "Запуск:\n",
     "\n"
     "The run:\n"},
    {"create --remove-ocr",
     "  --remove-ocr            удалить текстовый слой всего документа\n",
     "  --remove-ocr            remove the text layer of the whole document\n"},
    {"create --ocr",
     "  --ocr auto|always|never распознать страницы, нужные чтению (страницы оглавления\n"
     "                          или указателя, а при умном чтении и страницы рядом с\n"
     "                          каждой целью): auto — без текста или почти без слов,\n"
     "                          always — каждую из них (по умолчанию auto для\n"
     "                          --reading smart, never для classic)\n",
     "  --ocr auto|always|never recognise the pages the reading needs (the contents\n"
     "                          or index pages, and with the smart reading the pages\n"
     "                          near each target): auto those without text or with\n"
     "                          hardly any words, always each of them (default auto\n"
     "                          for --reading smart, never for classic)\n"},
    {"create --ocr-book",
     "  --ocr-book              распознать все страницы без текста, а не только эти\n",
     "  --ocr-book              recognise every page without text, not only those\n"},
    {"create --ocr-language",
     "  --ocr-language L        языки Tesseract через '+' (по умолчанию язык сообщений:\n"
     "                          rus+eng или eng)\n",
     "  --ocr-language L        Tesseract's languages joined by '+' (default: that of\n"
     "                          the messages, rus+eng or eng)\n"},
    {"create --ocr-jobs",
     "  --ocr-jobs N            распознавать до N страниц сразу (по умолчанию — по\n"
     "                          числу процессоров)\n",
     "  --ocr-jobs N            recognise up to N pages at once (default: processors)\n"},
    {"create --keep-ocr",
     "  --keep-ocr              записать распознанные страницы, где не было текста, в\n"
     "                          текстовый слой (с --ocr always — все распознанные)\n",
     "  --keep-ocr              write the recognised pages that had no text into the\n"
     "                          text layer (with --ocr always, every recognised page)\n"},
    {"create --align",
     "  --align                 затем выровнять новые ссылки (не с index2)\n",
     "  --align                 align the new links afterwards (not with index2)\n"},
    {"create --no-backup",
     "  --no-backup             не сохранять копию документа рядом с ним (FILE.djvu.backup —\n"
     "                          исходный, FILE.djvu.backup.2... — следующие изменения)\n",
     "  --no-backup             do not back each document up beside it (FILE.djvu.backup\n"
     "                          holds the original, FILE.djvu.backup.2... later changes)\n"},
    {"create --keep-backups",
     "  --keep-backups N        хранить копию исходного и N последних (по умолчанию 5)\n",
     "  --keep-backups N        keep the original's backup and the N latest (default 5)\n"},
    {"create --language",
     "  --language FILE.lng     тексты сообщений из файла языка (по умолчанию русский,\n"
     "                          если язык сообщений системы русский, иначе английский)\n",
     "  --language FILE.lng     message texts from a language file (default: Russian\n"
     "                          when the messages locale is Russian, else English)\n"},
    {"create --dry-run",
     "  --dry-run               распознать и вывести сценарий каждой гиперссылки (и\n"
     "                          закладки для записи); ничего не менять\n",
     "  --dry-run               recognise and print each hyperlink script (and the\n"
     "                          outline to write); change nothing\n"},
    {"create --plan",
     "  --plan FILE             записать записи каждого документа в FILE, по одной на\n"
     "                          строку, для чтения и правки; ничего не менять\n",
     "  --plan FILE             write each document's entries into FILE, one a line, to\n"
     "                          read and edit; change nothing\n"},
    {"create --from-plan",
     "  --from-plan FILE        записать записи из FILE (как их записал --plan, с правкой\n"
     "                          или без) вместо распознанных; строки \"-\" пропускаются\n",
     "  --from-plan FILE        write the entries of FILE (as --plan wrote them, edited\n"
     "                          or not) instead of those recognised; \"-\" lines are\n"
     "                          left out\n"},
    {"create:end",
     "  -h, --help              эта справка\n"
     "\n"
     "Строки журнала идут в стандартный вывод, ошибки — в стандартный поток ошибок.\n"
     "Документы обрабатываются по порядку, и запуск останавливается на первом\n"
     "документе с ошибкой.\n"
     "Код завершения: 0 все документы изменены, 1 ошибка в документе (документы до него\n"
     "остаются изменёнными), 2 неверная командная строка, 130 остановлено SIGINT или\n"
     "SIGTERM (обрабатываемый документ остаётся как был, документы до него остаются\n"
     "изменёнными).\n",
     "  -h, --help              this text\n"
     "\n"
     "Log lines go to standard output, errors to standard error. The documents are\n"
     "treated in order and the run stops at the first that fails.\n"
     "Exit status: 0 every document was changed, 1 a document failed (those before it\n"
     "stay changed), 2 the command line is wrong, 130 stopped by SIGINT or SIGTERM (the\n"
     "document being worked on stays as it was, those before it stay changed).\n"},
};
// clang-format on
