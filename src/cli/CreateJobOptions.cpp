#include "cli/CreateJobOptions.h"
#include "base/EngineTexts.h"
#include "cli/CliLanguage.h"
#include "cli/CreateHelpRussian.h"

#include "jobs/CreateJob.h"
#include "jobs/PageRanges.h"

#include "ocr/PageRecognizer.h"

#include <QFileInfo>
#include <QThread>

#include <QRegularExpression>
#include <algorithm>

namespace {

const QStringList kKinds = {"contents", "index1", "index2"};
const QStringList kReadings = {"classic", "smart"};
// In the order of PageRecognition::Mode.
const QStringList kOcrModes = {"never", "auto", "always"};
const QStringList kShapes = {"rect", "oval"};
const QStringList kBorders = {"none",       "xor",        "border",     "shadow-in",
                              "shadow-out", "shadow-ein", "shadow-eout"};

// The look of a link as the window's border group holds it: the same option names serve
// the entries' links and, prefixed "contents-link-", the contents link.
struct Style
{
    int shape = 0;
    int border = 1;
    QString borderColour = QStringLiteral("000000");
    QString highlightColour = QStringLiteral("000000");
    int shadowWidth = 0;
    bool alwaysVisible = false;
    bool highlight = false;
};

class ArgumentReader
{
public:
    explicit ArgumentReader(const QStringList& args) : args_(args) {}

    bool atEnd() const { return index_ >= args_.size(); }
    QString next() { return args_[index_++]; }
    // The next argument when it is one of `words`, taken; empty otherwise.
    QString takeIf(const QStringList& words)
    {
        if (atEnd() || !words.contains(args_[index_]))
            return QString();
        return next();
    }
    // The value of an option given as "--name VALUE" or "--name=VALUE".
    bool value(const QString& option, const QString& inlineValue, bool hasInline, QString* out,
               QString* error)
    {
        if (hasInline) {
            *out = inlineValue;
            return true;
        }
        if (atEnd()) {
            *error = EngineTexts::say("e_opt_needs_value").arg(option);
            return false;
        }
        *out = next();
        return true;
    }

private:
    const QStringList& args_;
    qsizetype index_ = 0;
};

bool readInt(const QString& option, const QString& text, int low, int high, int* out,
             QString* error)
{
    static const QRegularExpression integer(QStringLiteral("^[-+]?\\d+$"));
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!integer.match(text).hasMatch() || !ok || v < low || v > high) {
        *error = EngineTexts::say("e_opt_not_in_range").arg(option, text).arg(low).arg(high);
        return false;
    }
    *out = v;
    return true;
}

bool readColour(const QString& option, const QString& text, QString* out, QString* error)
{
    static const QRegularExpression colour(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    if (!colour.match(text).hasMatch()) {
        *error = EngineTexts::say("e_opt_not_colour").arg(option, text);
        return false;
    }
    *out = text.toUpper();
    return true;
}

bool readChoice(const QString& option, const QString& text, const QStringList& choices, int* out,
                QString* error)
{
    const int at = int(choices.indexOf(text));
    if (at < 0) {
        *error = EngineTexts::say("e_opt_not_one_of").arg(option, text, choices.join('|'));
        return false;
    }
    *out = at;
    return true;
}

const QStringList kOutlineModes = {"merge", "replace"};

// Ovals take neither shadows nor highlighting, whichever front end asks.
bool checkStyle(const Style& style, const QString& prefix, QString* error)
{
    const AreaLook::Problem problem = AreaLook::check(style.shape, style.border, style.highlight);
    if (problem == AreaLook::Problem::None)
        return true;
    *error = QStringLiteral("--%1shape oval: %2").arg(prefix, AreaLook::sentence(problem));
    return false;
}

} // namespace

const char* CreateJobOptions::usageHint()
{
    return CliLanguage::inLocale("Run 'tocsmith-cli create --help' for the options.\n",
                                 "Параметры: 'tocsmith-cli create --help'.\n");
}

QString CreateJobOptions::helpText()
{
    if (CliLanguage::localeIsRussian())
        return QString::fromUtf8(createHelpRussian());
    return QStringLiteral(
        "Usage: tocsmith-cli create [options] FILE.djvu...\n"
        "\n"
        "Turns the contents or index pages of each document into hyperlinks to the pages\n"
        "their entries name, and saves the document in place (a document is either changed\n"
        "completely or left exactly as it was).\n"
        "\n"
        "Entries:\n"
        "  --pages FIRST-LAST[,...] pages holding the contents or index (or one page N), as\n"
        "                          numbered in the document (default 1-1); a book in parts\n"
        "                          with a contents for each: a list in page order, 1,17-18\n"
        "  --offset N|auto[,...]   added to every printed page number; may be negative\n"
        "                          (default 0); auto: found from the book's printed page\n"
        "                          numbers and headings (only with --reading smart); a\n"
        "                          book that shows no offset fails unchanged; one value\n"
        "                          for each range of --pages (0,16), or one for all\n"
        "  --reading classic|smart classic: the word rules below; smart: titles with\n"
        "                          leaders, numbers on the next line or glued to the\n"
        "                          title, titles over two lines, roman numbers, entries\n"
        "                          whose number the OCR lost found by their titles;\n"
        "                          indexes: leaders, ranges (15-17, 15ff) and the\n"
        "                          page's own number left out (default classic)\n"
        "  --strict                smart reading: a document whose links would need a\n"
        "                          correction (a heading found on another page) fails\n"
        "                          unchanged; without it such links are corrected and\n"
        "                          the log lists each correction\n"
        "  --no-check              smart reading: no check of the links against the\n"
        "                          headings on their pages\n"
        "  --roman-offset N        smart reading: roman page n leads to page n + N\n"
        "                          (default: the page that prints the numeral)\n"
        "  --kind contents|index1|index2\n"
        "                          contents: the last word of a line after its title;\n"
        "                          index1: the last word of each line; index2: every\n"
        "                          number, lists such as 15,17 split (default contents)\n"
        "  --halve                 divide printed page numbers by 2\n"
        "  --no-page-check         do not correct page numbers beyond the document's end\n"
        "  --comment TEXT          comment of the links, followed by the page number\n"
        "                          (default \"Go to page\")\n"
        "\n"
        "Look of the links:\n"
        "  --shape rect|oval       (default rect)\n"
        "  --border none|xor|border|shadow-in|shadow-out|shadow-ein|shadow-eout\n"
        "                          (default xor; ovals take none, xor or border)\n"
        "  --border-color RRGGBB   colour of the border \"border\" (default 000000)\n"
        "  --highlight-color RRGGBB  colour of --highlight (default 000000)\n"
        "  --shadow-width N        width of the shadow borders, 0 to 100 (default 0)\n"
        "  --always-visible        show the border all the time, not only under the mouse\n"
        "  --highlight             fill the area with the highlight colour (rect only)\n"
        "\n"
        "Contents link (a link back to the contents, off unless asked for):\n"
        "  --contents-link         add it\n"
        "  --contents-link-page N  the page that gets it (default 1)\n"
        "  --contents-link-every-page  put it on every page instead\n"
        "  --contents-link-target N    the page it leads to (default 4)\n"
        "  --contents-link-box LEFT,BOTTOM,WIDTH,HEIGHT\n"
        "                          its box in page pixels from the bottom-left corner\n"
        "                          (default 100,50,500,50)\n"
        "  --contents-link-comment TEXT  (default \"Go to content\")\n"
        "  --contents-link-shape, --contents-link-border, --contents-link-border-color,\n"
        "  --contents-link-highlight-color, --contents-link-shadow-width,\n"
        "  --contents-link-always-visible, --contents-link-highlight\n"
        "                          its look, as the options above (default rect, xor)\n"
        "  A page that gets the contents link keeps its other annotations; only a contents\n"
        "  link an earlier run put there (same target and comment) is replaced. A contents\n"
        "  page that gets links has its annotations written afresh, as always.\n"
        "\n"
        "Outline (the bookmarks a viewer shows beside the pages):\n"
        "  --outline               also write the outline from the contents entries, in\n"
        "                          their order, nested by their levels (not with index1 or\n"
        "                          index2, whose entries never go into the outline)\n"
        "  --no-links              with --outline: write the outline alone, no hyperlinks\n"
        "  --outline replace       replace the outline the document has (--replace-outline\n"
        "                          says the same); without replace or merge such a\n"
        "                          document fails unchanged\n"
        "  --outline merge         add the new bookmarks to the outline the document has:\n"
        "                          one with the same page and title (case, spaces and\n"
        "                          punctuation aside) is not doubled, the others go in\n"
        "                          page order at the level they read\n"
        "  --no-parts              keep every chapter at the top: no part bookmarks (by\n"
        "                          default each range of a list of --pages, and each part\n"
        "                          line of a contents, is a bookmark over its entries)\n"
        "\n"
        "The run:\n"
        "  --remove-ocr            remove the text layer of the whole document\n"
        "  --ocr auto|always|never recognise the pages the reading needs (the contents\n"
        "                          or index pages, and with the smart reading the pages\n"
        "                          near each target): auto those without text or with\n"
        "                          hardly any words, always each of them (default auto\n"
        "                          for --reading smart, never for classic)\n"
        "  --ocr-book              recognise every page without text, not only those\n"
        "  --ocr-language L        Tesseract's languages joined by '+' (default: that of\n"
        "                          the messages, rus+eng or eng)\n"
        "  --ocr-jobs N            recognise up to N pages at once (default: processors)\n"
        "  --keep-ocr              write the recognised pages that had no text into the\n"
        "                          text layer (with --ocr always, every recognised page)\n"
        "  --align                 align the new links afterwards (not with index2)\n"
        "  --no-backup             do not back each document up beside it (FILE.djvu.backup\n"
        "                          holds the original, FILE.djvu.backup.2... later changes)\n"
        "  --keep-backups N        keep the original's backup and the N latest (default 5)\n"
        "  --language FILE.lng     message texts from a language file (default: Russian\n"
        "                          when the messages locale is Russian, else English)\n"
        "  --dry-run               recognise and print each hyperlink script (and the\n"
        "                          outline to write); change nothing\n"
        "  --plan FILE             write each document's entries into FILE, one a line, to\n"
        "                          read and edit; change nothing\n"
        "  --from-plan FILE        write the entries of FILE (as --plan wrote them, edited\n"
        "                          or not) instead of those recognised; \"-\" lines are\n"
        "                          left out\n"
        "  -h, --help              this text\n"
        "\n"
        "Log lines go to standard output, errors to standard error. The documents are\n"
        "treated in order and the run stops at the first that fails.\n"
        "Exit status: 0 every document was changed, 1 a document failed (those before it\n"
        "stay changed), 2 the command line is wrong, 130 stopped by SIGINT or SIGTERM (the\n"
        "document being worked on stays as it was, those before it stay changed).\n");
}

bool CreateJobOptions::parse(const QStringList& args, QString* error)
{
    ArgumentReader reader(args);
    QStringList files;
    int kind = 0, reading = CreateJob::Classic;
    QList<ContentsRange> ranges{ContentsRange()};
    QString offsets = QStringLiteral("0");
    bool checkSeen = false; // --strict or --no-check
    bool ocrJobsGiven = false;
    bool halve = false;
    QString comment = QStringLiteral("Go to page");
    Style style;
    Style link;
    bool contentsLink = false, everyPage = false, linkOptionSeen = false, pageGiven = false;
    int linkPage = 1, linkTarget = 4;
    bool targetGiven = false;
    int linkBox[4] = {100, 50, 500, 50};
    QString linkComment = QStringLiteral("Go to content");
    bool onlyFiles = false;
    bool outline = false, noLinks = false, noParts = false;

    while (!reader.atEnd()) {
        const QString arg = reader.next();
        if (onlyFiles || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            help_ = true;
            return true;
        }
        QString name = arg;
        QString inlineValue;
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const bool hasInline = eq > 0;
        if (hasInline) {
            name = arg.left(eq);
            inlineValue = arg.mid(eq + 1);
        }
        QString v;
        auto value = [&]() { return reader.value(name, inlineValue, hasInline, &v, error); };
        auto noValue = [&]() {
            if (hasInline)
                *error = EngineTexts::say("e_opt_no_value").arg(name);
            return !hasInline;
        };

        // The look options exist twice: plain and prefixed "--contents-link-".
        Style* target = &style;
        QString styleName = name;
        if (name.startsWith(QLatin1String("--contents-link-"))) {
            linkOptionSeen = true;
            target = &link;
            styleName = QStringLiteral("--") + name.mid(16);
        }
        if (styleName == QLatin1String("--shape")) {
            if (!value() || !readChoice(name, v, kShapes, &target->shape, error))
                return false;
        } else if (styleName == QLatin1String("--border")) {
            if (!value() || !readChoice(name, v, kBorders, &target->border, error))
                return false;
        } else if (styleName == QLatin1String("--border-color")) {
            if (!value() || !readColour(name, v, &target->borderColour, error))
                return false;
        } else if (styleName == QLatin1String("--highlight-color")) {
            if (!value() || !readColour(name, v, &target->highlightColour, error))
                return false;
        } else if (styleName == QLatin1String("--shadow-width")) {
            if (!value() || !readInt(name, v, 0, 100, &target->shadowWidth, error))
                return false;
        } else if (styleName == QLatin1String("--always-visible")) {
            if (!noValue())
                return false;
            target->alwaysVisible = true;
        } else if (styleName == QLatin1String("--highlight")) {
            if (!noValue())
                return false;
            target->highlight = true;
        } else if (name == QLatin1String("--pages")) {
            if (!value())
                return false;
            if (!PageRanges::read(v, &ranges)) {
                *error = EngineTexts::say("e_opt_bad_pages").arg(v);
                return false;
            }
        } else if (name == QLatin1String("--offset")) {
            if (!value())
                return false;
            for (const QString& one : v.split(QLatin1Char(','))) {
                int unused = 0;
                if (one != QLatin1String("auto") &&
                    !readInt(name, one, -1000000, 1000000, &unused, error))
                    return false;
            }
            offsets = v;
        } else if (name == QLatin1String("--reading")) {
            if (!value() || !readChoice(name, v, kReadings, &reading, error))
                return false;
        } else if (name == QLatin1String("--kind")) {
            if (!value() || !readChoice(name, v, kKinds, &kind, error))
                return false;
        } else if (name == QLatin1String("--halve")) {
            if (!noValue())
                return false;
            halve = true;
        } else if (name == QLatin1String("--strict") || name == QLatin1String("--no-check")) {
            if (!noValue())
                return false;
            if (checkSeen) {
                *error = EngineTexts::say("e_opt_strict_no_check");
                return false;
            }
            checkSeen = true;
            options_.smartCheck = name == QLatin1String("--strict") ? SmartCheck::Mode::Strict
                                                                    : SmartCheck::Mode::Off;
        } else if (name == QLatin1String("--roman-offset")) {
            int romanOffset = 0;
            if (!value() || !readInt(name, v, -1000000, 1000000, &romanOffset, error))
                return false;
            options_.romanOffset = romanOffset;
        } else if (name == QLatin1String("--comment")) {
            if (!value())
                return false;
            comment = v;
        } else if (name == QLatin1String("--ocr")) {
            int mode = 0;
            if (!value() || !readChoice(name, v, kOcrModes, &mode, error))
                return false;
            options_.ocr = PageRecognition::Mode(mode);
        } else if (name == QLatin1String("--ocr-language")) {
            if (!value())
                return false;
            options_.ocrLanguages = v;
            options_.ocrFindLanguage = false;
        } else if (name == QLatin1String("--ocr-jobs")) {
            if (!value() || !readInt(name, v, 1, 256, &options_.ocrJobs, error))
                return false;
            ocrJobsGiven = true;
        } else if (name == QLatin1String("--ocr-book")) {
            if (!noValue())
                return false;
            options_.ocrBook = true;
        } else if (name == QLatin1String("--keep-ocr")) {
            if (!noValue())
                return false;
            options_.keepOcr = true;
        } else if (name == QLatin1String("--remove-ocr")) {
            if (!noValue())
                return false;
            options_.removeOcr = true;
        } else if (name == QLatin1String("--align")) {
            if (!noValue())
                return false;
            options_.align = true;
        } else if (name == QLatin1String("--no-backup")) {
            if (!noValue())
                return false;
            options_.backup = false;
        } else if (name == QLatin1String("--keep-backups")) {
            if (!value() || !readInt(name, v, 0, 1000, &options_.keepBackups, error))
                return false;
        } else if (name == QLatin1String("--no-page-check")) {
            if (!noValue())
                return false;
            options_.checkPageCount = false;
        } else if (name == QLatin1String("--contents-link")) {
            if (!noValue())
                return false;
            contentsLink = true;
        } else if (name == QLatin1String("--contents-link-page")) {
            if (!value() || !readInt(name, v, 1, 1000000, &linkPage, error))
                return false;
            pageGiven = true;
        } else if (name == QLatin1String("--contents-link-every-page")) {
            if (!noValue())
                return false;
            everyPage = true;
        } else if (name == QLatin1String("--contents-link-target")) {
            if (!value() || !readInt(name, v, 1, 1000000, &linkTarget, error))
                return false;
            targetGiven = true;
        } else if (name == QLatin1String("--contents-link-box")) {
            if (!value())
                return false;
            const QStringList parts = v.split(QLatin1Char(','));
            int n = 0;
            for (int i = 0; parts.size() == 4 && i < 4; ++i) {
                if (!readInt(name, parts[i].trimmed(), i < 2 ? -100000 : 0, 100000, &n, error))
                    return false;
                linkBox[i] = n;
            }
            if (parts.size() != 4) {
                *error = EngineTexts::say("e_opt_bad_box").arg(v);
                return false;
            }
        } else if (name == QLatin1String("--contents-link-comment")) {
            if (!value())
                return false;
            linkComment = v;
        } else if (name == QLatin1String("--language")) {
            if (!value())
                return false;
            languageFile_ = v;
        } else if (name == QLatin1String("--outline")) {
            // "--outline merge" or "--outline replace"; a bare "--outline" refuses a book
            // that has an outline.
            const QString mode = hasInline ? inlineValue : reader.takeIf(kOutlineModes);
            if (!mode.isEmpty() && !kOutlineModes.contains(mode)) {
                *error = EngineTexts::say("e_opt_not_one_of")
                             .arg(name, mode, kOutlineModes.join(QLatin1Char('|')));
                return false;
            }
            outline = true;
            if (mode == QLatin1String("merge"))
                options_.mergeOutline = true;
            else if (mode == QLatin1String("replace"))
                options_.replaceOutline = true;
        } else if (name == QLatin1String("--no-parts")) {
            if (!noValue())
                return false;
            noParts = true;
        } else if (name == QLatin1String("--no-links")) {
            if (!noValue())
                return false;
            noLinks = true;
        } else if (name == QLatin1String("--replace-outline")) {
            if (!noValue())
                return false;
            options_.replaceOutline = true;
        } else if (name == QLatin1String("--dry-run")) {
            if (!noValue())
                return false;
            options_.dryRun = true;
        } else if (name == QLatin1String("--plan")) {
            if (!value())
                return false;
            planFile_ = v;
        } else if (name == QLatin1String("--from-plan")) {
            if (!value())
                return false;
            fromPlanFile_ = v;
        } else {
            *error = EngineTexts::say("e_opt_unknown").arg(arg);
            return false;
        }
    }

    if (files.isEmpty()) {
        *error = EngineTexts::say("e_opt_no_djvu");
        return false;
    }
    if (!planFile_.isEmpty() && (!fromPlanFile_.isEmpty() || options_.dryRun)) {
        *error =
            EngineTexts::say("e_opt_plan_excludes")
                .arg(options_.dryRun ? QStringLiteral("--dry-run") : QStringLiteral("--from-plan"));
        return false;
    }
    if (!planFile_.isEmpty())
        options_.dryRun = true; // the plan is written, the documents stay as they are
    if (linkOptionSeen && !contentsLink) {
        *error = EngineTexts::say("e_opt_link_options");
        return false;
    }
    if (options_.mergeOutline && options_.replaceOutline) {
        *error = EngineTexts::say("e_opt_merge_replace");
        return false;
    }
    const qsizetype offsetCount = offsets.split(QLatin1Char(',')).size();
    if (offsetCount != 1 && offsetCount != ranges.size()) {
        *error = EngineTexts::say("e_opt_offsets").arg(offsetCount).arg(ranges.size());
        return false;
    }
    PageRanges::readOffsets(offsets, -1000000, 1000000, &ranges);
    const bool offsetAuto = std::any_of(ranges.begin(), ranges.end(),
                                        [](const ContentsRange& r) { return r.offsetAuto; });
    if ((noLinks || options_.replaceOutline) && !outline) {
        *error =
            EngineTexts::say("e_opt_needs_outline")
                .arg(noLinks ? QStringLiteral("--no-links") : QStringLiteral("--replace-outline"));
        return false;
    }
    if (noLinks && (contentsLink || options_.align)) {
        *error =
            EngineTexts::say("e_opt_no_links")
                .arg(contentsLink ? QStringLiteral("--contents-link") : QStringLiteral("--align"));
        return false;
    }
    if (outline && kind != CreateJob::Contents) {
        *error = EngineTexts::say("e_opt_outline_kind").arg(kKinds[kind]);
        return false;
    }
    if ((checkSeen || options_.romanOffset) && reading != CreateJob::Smart) {
        *error = EngineTexts::say("e_opt_need_smart");
        return false;
    }
    if (offsetAuto && reading != CreateJob::Smart) {
        *error = EngineTexts::say("e_opt_auto_smart");
        return false;
    }
    if (everyPage && pageGiven) {
        *error = EngineTexts::say("e_opt_link_pages");
        return false;
    }
    if (!checkStyle(style, QString(), error) ||
        !checkStyle(link, QStringLiteral("contents-link-"), error))
        return false;

    options_.kindIndex = kind;
    options_.borderTypeIndex = style.border;
    options_.shapeIndex = style.shape;
    options_.fixOptions.backup = options_.backup;
    options_.fixOptions.keepBackups = options_.keepBackups;
    for (const QString& file : std::as_const(files)) {
        CreateJob job;
        job.path = QFileInfo(file).absoluteFilePath();
        job.firstPage = ranges[0].firstPage;
        job.lastPage = ranges[0].lastPage;
        job.offset = ranges[0].offset;
        job.offsetAuto = ranges[0].offsetAuto;
        job.moreRanges = ranges.mid(1);
        job.parts = !noParts;
        job.reading = reading;
        job.kind = kind;
        job.shape = style.shape;
        job.style.borderType = style.border;
        job.style.borderColour = style.borderColour;
        job.style.highlightColour = style.highlightColour;
        job.style.shadowWidth = style.shadowWidth;
        job.style.alwaysVisible = style.alwaysVisible;
        job.style.highlight = style.highlight;
        job.halve = halve;
        job.comment = comment;
        job.contentsLink = contentsLink;
        job.contentsLinkPage = linkPage;
        job.contentsLinkEveryPage = everyPage ? 1 : 0;
        ContentsLinkSettings& l = job.link;
        l.shape = link.shape;
        l.borderType = link.border;
        l.alwaysVisible = link.alwaysVisible;
        l.highlight = link.highlight;
        l.borderWidth = link.shadowWidth;
        l.colour1 = link.borderColour;
        l.colour2 = link.highlightColour;
        l.left = linkBox[0];
        l.bottom = linkBox[1];
        l.width = linkBox[2];
        l.height = linkBox[3];
        l.targetPage = linkTarget;
        l.targetGiven = targetGiven;
        l.comment = linkComment;
        job.outline = outline;
        job.links = !noLinks;
        jobs_ << job;
    }
    // Recognition reads the language of the messages, and English beside it.
    if (options_.ocrLanguages.isEmpty())
        options_.ocrLanguages = PageRecognizer::languagesFor(
            !languageFile_.isEmpty()         ? QFileInfo(languageFile_).baseName()
            : CliLanguage::localeIsRussian() ? QStringLiteral("ru")
                                             : QStringLiteral("en"));
    if (!ocrJobsGiven)
        options_.ocrJobs = std::max(1, QThread::idealThreadCount());
    return true;
}
