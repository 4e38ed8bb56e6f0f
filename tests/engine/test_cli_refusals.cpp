// The refusals of tocsmith-cli's command lines, word for word: each wrong argument of each
// command, the exit status 2, nothing on standard output, and after the refusal the
// command's help (or, for create, the line that points to it).
#include "CliRun.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QProcessEnvironment inLocale(const char* locale)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        env.remove(name);
    env.insert("LC_ALL", locale);
    return env;
}

struct Refusal
{
    QStringList args;
    const char* firstLine;
};

// No file named here exists: a refusal comes before any file is looked at.
const Refusal kRefusals[] = {
    {{"bogus"}, "tocsmith-cli: unknown command 'bogus'"},
    {{"create"}, "tocsmith-cli create: no FILE.djvu given"},
    {{"create", "--bogus", "x.djvu"}, "tocsmith-cli create: unknown option --bogus"},
    {{"create", "-x"}, "tocsmith-cli create: unknown option -x"},
    {{"create", "--pages"}, "tocsmith-cli create: --pages needs a value"},
    {{"create", "--pages", "5-2", "x.djvu"},
     "tocsmith-cli create: --pages: \"5-2\" is not a list of page ranges FIRST-LAST in page order, "
     "counted from 1 (1,17-18)"},
    {{"create", "--pages", "x", "x.djvu"},
     "tocsmith-cli create: --pages: \"x\" is not a list of page ranges FIRST-LAST in page order, "
     "counted from 1 (1,17-18)"},
    {{"create", "--kind", "glossary", "x.djvu"},
     "tocsmith-cli create: --kind: \"glossary\" is not one of contents|index1|index2"},
    {{"create", "--kind=index3", "x.djvu"},
     "tocsmith-cli create: --kind: \"index3\" is not one of contents|index1|index2"},
    {{"create", "--shape", "oval", "--border", "shadow-in", "x.djvu"},
     "tocsmith-cli create: --shape oval: an oval cannot have a shadow border"},
    {{"create", "--shape", "oval", "--highlight", "x.djvu"},
     "tocsmith-cli create: --shape oval: an oval cannot be highlighted"},
    {{"create", "--contents-link", "--contents-link-shape", "oval", "--contents-link-border",
      "shadow-out", "x.djvu"},
     "tocsmith-cli create: --contents-link-shape oval: an oval cannot have a shadow border"},
    {{"create", "--border-color", "red", "x.djvu"},
     "tocsmith-cli create: --border-color: \"red\" is not a colour RRGGBB"},
    {{"create", "--highlight-color", "12345", "x.djvu"},
     "tocsmith-cli create: --highlight-color: \"12345\" is not a colour RRGGBB"},
    {{"create", "--contents-link-border-color", "zzzzzz", "--contents-link", "x.djvu"},
     "tocsmith-cli create: --contents-link-border-color: \"zzzzzz\" is not a colour RRGGBB"},
    {{"create", "--offset", "x.djvu"},
     "tocsmith-cli create: --offset: \"x.djvu\" is not a whole number from -1000000 to 1000000"},
    {{"create", "--offset"}, "tocsmith-cli create: --offset needs a value"},
    {{"create", "--offset", "abc", "x.djvu"},
     "tocsmith-cli create: --offset: \"abc\" is not a whole number from -1000000 to 1000000"},
    {{"create", "--offset", "1,2", "x.djvu"},
     "tocsmith-cli create: --offset gives 2 values for 1 ranges of --pages; give one value a "
     "range, or one for all"},
    {{"create", "--offset", "auto", "x.djvu"},
     "tocsmith-cli create: --offset auto needs --reading smart: only the smart reading finds the "
     "offset"},
    {{"create", "--reading", "dumb", "x.djvu"},
     "tocsmith-cli create: --reading: \"dumb\" is not one of classic|smart"},
    {{"create", "--strict", "x.djvu"},
     "tocsmith-cli create: --strict, --no-check and --roman-offset need --reading smart"},
    {{"create", "--strict", "--no-check", "--reading", "smart", "x.djvu"},
     "tocsmith-cli create: --strict and --no-check exclude each other"},
    {{"create", "--no-check", "--no-check", "--reading", "smart", "x.djvu"},
     "tocsmith-cli create: --strict and --no-check exclude each other"},
    {{"create", "--roman-offset", "2", "x.djvu"},
     "tocsmith-cli create: --strict, --no-check and --roman-offset need --reading smart"},
    {{"create", "--roman-offset", "q", "--reading", "smart", "x.djvu"},
     "tocsmith-cli create: --roman-offset: \"q\" is not a whole number from -1000000 to 1000000"},
    {{"create", "--shadow-width", "101", "x.djvu"},
     "tocsmith-cli create: --shadow-width: \"101\" is not a whole number from 0 to 100"},
    {{"create", "--shadow-width", "-1", "x.djvu"},
     "tocsmith-cli create: --shadow-width: \"-1\" is not a whole number from 0 to 100"},
    {{"create", "--shadow-width=+5", "--halve=1", "x.djvu"},
     "tocsmith-cli create: --halve takes no value"},
    {{"create", "--contents-link-page", "2", "x.djvu"},
     "tocsmith-cli create: the --contents-link-... options need --contents-link"},
    {{"create", "--contents-link", "--contents-link-page", "2", "--contents-link-every-page",
      "x.djvu"},
     "tocsmith-cli create: --contents-link-page and --contents-link-every-page exclude each other"},
    {{"create", "--contents-link", "--contents-link-page", "0", "x.djvu"},
     "tocsmith-cli create: --contents-link-page: \"0\" is not a whole number from 1 to 1000000"},
    {{"create", "--contents-link", "--contents-link-target", "x", "x.djvu"},
     "tocsmith-cli create: --contents-link-target: \"x\" is not a whole number from 1 to 1000000"},
    {{"create", "--contents-link", "--contents-link-box", "1,2,3", "x.djvu"},
     "tocsmith-cli create: --contents-link-box: \"1,2,3\" is not LEFT,BOTTOM,WIDTH,HEIGHT"},
    {{"create", "--contents-link", "--contents-link-box", "1,2,3,a", "x.djvu"},
     "tocsmith-cli create: --contents-link-box: \"a\" is not a whole number from 0 to 100000"},
    {{"create", "--contents-link", "--contents-link-box", "1,2,-3,4", "x.djvu"},
     "tocsmith-cli create: --contents-link-box: \"-3\" is not a whole number from 0 to 100000"},
    {{"create", "--halve=1", "x.djvu"}, "tocsmith-cli create: --halve takes no value"},
    {{"create", "--always-visible=yes", "x.djvu"},
     "tocsmith-cli create: --always-visible takes no value"},
    {{"create", "--language", "/no/such.lng", "x.djvu"},
     "tocsmith-cli create: no language file /no/such.lng"},
    {{"create", "--language"}, "tocsmith-cli create: --language needs a value"},
    {{"create", "--ocr", "sometimes", "x.djvu"},
     "tocsmith-cli create: --ocr: \"sometimes\" is not one of never|auto|always"},
    {{"create", "--ocr-jobs", "0", "x.djvu"},
     "tocsmith-cli create: --ocr-jobs: \"0\" is not a whole number from 1 to 256"},
    {{"create", "--ocr-jobs", "257", "x.djvu"},
     "tocsmith-cli create: --ocr-jobs: \"257\" is not a whole number from 1 to 256"},
    {{"create", "--keep-backups", "1001", "x.djvu"},
     "tocsmith-cli create: --keep-backups: \"1001\" is not a whole number from 0 to 1000"},
    {{"create", "--keep-backups=-1", "x.djvu"},
     "tocsmith-cli create: --keep-backups: \"-1\" is not a whole number from 0 to 1000"},
    {{"create", "--outline=bogus", "x.djvu"},
     "tocsmith-cli create: --outline: \"bogus\" is not one of merge|replace"},
    {{"create", "--outline", "merge", "--outline", "replace", "x.djvu"},
     "tocsmith-cli create: --outline merge and --outline replace (--replace-outline) exclude each "
     "other"},
    {{"create", "--outline", "merge", "--replace-outline", "x.djvu"},
     "tocsmith-cli create: --outline merge and --outline replace (--replace-outline) exclude each "
     "other"},
    {{"create", "--replace-outline", "x.djvu"},
     "tocsmith-cli create: --replace-outline needs --outline"},
    {{"create", "--no-links", "x.djvu"}, "tocsmith-cli create: --no-links needs --outline"},
    {{"create", "--outline", "--no-links", "--align", "x.djvu"},
     "tocsmith-cli create: --no-links makes no link: it excludes --align"},
    {{"create", "--outline", "--no-links", "--contents-link", "x.djvu"},
     "tocsmith-cli create: --no-links makes no link: it excludes --contents-link"},
    {{"create", "--outline", "--kind", "index1", "x.djvu"},
     "tocsmith-cli create: --outline is made from a contents: the entries of --kind index1 never "
     "go into the outline"},
    {{"create", "--plan", "p.txt", "--dry-run", "x.djvu"},
     "tocsmith-cli create: --plan excludes --dry-run"},
    {{"create", "--plan", "p.txt", "--from-plan", "q.txt", "x.djvu"},
     "tocsmith-cli create: --plan excludes --from-plan"},
    {{"create", "--jobs", "0", "x.djvu"},
     "tocsmith-cli create: --jobs: \"0\" is not a whole number from 1 to 256"},
    {{"create", "--jobs"}, "tocsmith-cli create: --jobs needs a value"},
    {{"create", "--jobs=x", "x.djvu"},
     "tocsmith-cli create: --jobs: \"x\" is not a whole number from 1 to 256"},
    {{"create", "--report=", "x.djvu"}, "tocsmith-cli create: --report needs a file name"},
    {{"create", "--only", "300", "x.djvu"},
     "tocsmith-cli create: --only: \"300\" is not a whole number from 1 to 256"},
    {{"create", "--bogus", "--help"}, "tocsmith-cli create: unknown option --bogus"},
    {{"create", "--comment"}, "tocsmith-cli create: --comment needs a value"},
    {{"create", "--contents-link-comment"},
     "tocsmith-cli create: --contents-link-comment needs a value"},
    {{"create", "--no-page-check=1", "x.djvu"},
     "tocsmith-cli create: --no-page-check takes no value"},
    {{"fix"}, "tocsmith-cli fix: no file given"},
    {{"fix", "--bogus", "x.djvu"}, "tocsmith-cli fix: unknown option '--bogus'"},
    {{"fix", "--language"}, "tocsmith-cli fix: --language needs a file name"},
    {{"fix", "--language", "/no/such.lng", "x.djvu"},
     "tocsmith-cli fix: cannot read the language file '/no/such.lng'"},
    {{"fix", "--language=/no/such.lng", "x.djvu"},
     "tocsmith-cli fix: cannot read the language file '/no/such.lng'"},
    {{"fix", "--keep-backups", "x", "x.djvu"},
     "tocsmith-cli fix: --keep-backups wants a number from 0 to 1000"},
    {{"fix", "--keep-backups"}, "tocsmith-cli fix: --keep-backups wants a number from 0 to 1000"},
    {{"fix", "--keep-backups=1001", "x.djvu"},
     "tocsmith-cli fix: --keep-backups wants a number from 0 to 1000"},
    {{"fix", "--jobs", "0", "x.djvu"},
     "tocsmith-cli fix: --jobs: \"0\" is not a whole number from 1 to 256"},
    {{"fix", "--jobs"}, "tocsmith-cli fix: --jobs needs a value"},
    {{"fix", "--report=", "x.djvu"}, "tocsmith-cli fix: --report needs a file name"},
    {{"fix", "--only", "0", "x.djvu"},
     "tocsmith-cli fix: --only: \"0\" is not a whole number from 1 to 256"},
    {{"fix", "--no-backup=1", "x.djvu"}, "tocsmith-cli fix: unknown option '--no-backup=1'"},
    {{"fix", "--bogus", "--help"}, "tocsmith-cli fix: unknown option '--bogus'"},
    {{"ocr-export"}, "tocsmith-cli ocr-export: no document given"},
    {{"ocr-export", "--bogus", "x.djvu"}, "tocsmith-cli ocr-export: unknown option"},
    {{"ocr-export", "a.djvu", "b.djvu"}, "tocsmith-cli ocr-export: one document at a time"},
    {{"ocr-export", "--", "a.djvu", "b.djvu"}, "tocsmith-cli ocr-export: one document at a time"},
    {{"ocr-export", "--pages"}, "tocsmith-cli ocr-export: --pages needs a range such as 3-7"},
    {{"ocr-export", "--pages", "x", "x.djvu"},
     "tocsmith-cli ocr-export: --pages wants FIRST-LAST, such as 3-7"},
    {{"ocr-export", "--pages=5-2", "x.djvu"},
     "tocsmith-cli ocr-export: --pages wants FIRST-LAST, such as 3-7"},
    {{"ocr-export", "--pages", "0", "x.djvu"},
     "tocsmith-cli ocr-export: --pages wants FIRST-LAST, such as 3-7"},
    {{"ocr-export", "--route"}, "tocsmith-cli ocr-export: --route wants djvused or xml"},
    {{"ocr-export", "--route", "pdf", "x.djvu"},
     "tocsmith-cli ocr-export: --route wants djvused or xml"},
    {{"ocr-import"}, "tocsmith-cli ocr-import: a document and a text are needed"},
    {{"ocr-import", "x.djvu"}, "tocsmith-cli ocr-import: a document and a text are needed"},
    {{"ocr-import", "x.djvu", "t.txt", "u.txt"},
     "tocsmith-cli ocr-import: a document and a text are needed"},
    {{"ocr-import", "--bogus", "x.djvu", "t.txt"}, "tocsmith-cli ocr-import: unknown option"},
    {{"ocr-import", "--route", "x.djvu", "t.txt"},
     "tocsmith-cli ocr-import: --route wants djvused or xml"},
    {{"ocr-import", "x.djvu", "t.txt", "--route"},
     "tocsmith-cli ocr-import: --route wants djvused or xml"},
    {{"ocr-import", "--route", "pdf", "x.djvu", "t.txt"},
     "tocsmith-cli ocr-import: --route wants djvused or xml"},
    {{"ocr-import", "--keep-backups", "x", "x.djvu", "t.txt"},
     "tocsmith-cli ocr-import: --keep-backups wants a number from 0 to 1000"},
    {{"ocr-import", "--keep-backups"},
     "tocsmith-cli ocr-import: --keep-backups wants a number from 0 to 1000"},
    {{"ocr-import", "--no-backup=1", "x.djvu", "t.txt"}, "tocsmith-cli ocr-import: unknown option"},
    {{"ocr-import", "--keep-backups", "x", "--help"},
     "tocsmith-cli ocr-import: --keep-backups wants a number from 0 to 1000"},
    {{"ocr-recognise"}, "tocsmith-cli ocr-recognise: no document given"},
    {{"ocr-recognise", "a.djvu", "b.djvu"}, "tocsmith-cli ocr-recognise: one document at a time"},
    {{"ocr-recognise", "--bogus", "x.djvu"}, "tocsmith-cli ocr-recognise: unknown option: --bogus"},
    {{"ocr-recognise", "--pages"}, "tocsmith-cli ocr-recognise: --pages needs a value"},
    {{"ocr-recognise", "--jobs"}, "tocsmith-cli ocr-recognise: --jobs needs a value"},
    {{"ocr-recognise", "--ocr-language"},
     "tocsmith-cli ocr-recognise: --ocr-language needs a value"},
    {{"ocr-recognise", "--pages", "5-2", "x.djvu"},
     "tocsmith-cli ocr-recognise: --pages: \"5-2\" is not a list of page ranges FIRST-LAST in page "
     "order, counted from 1 (1,17-18)"},
    {{"ocr-recognise", "--pages=x", "x.djvu"},
     "tocsmith-cli ocr-recognise: --pages: \"x\" is not a list of page ranges FIRST-LAST in page "
     "order, counted from 1 (1,17-18)"},
    {{"ocr-recognise", "--jobs", "0", "x.djvu"},
     "tocsmith-cli ocr-recognise: --jobs: \"0\" is not a whole number from 1 to 256"},
    {{"ocr-recognise", "--jobs=abc", "x.djvu"},
     "tocsmith-cli ocr-recognise: --jobs: \"abc\" is not a whole number from 1 to 256"},
    {{"ocr-recognise", "--keep-backups", "2000", "x.djvu"},
     "tocsmith-cli ocr-recognise: --keep-backups wants a number from 0 to 1000"},
    {{"ocr-recognise", "--all=1", "x.djvu"}, "tocsmith-cli ocr-recognise: unknown option: --all=1"},
    {{"outline-export"}, "tocsmith-cli outline-export: no document given"},
    {{"outline-export", "a.djvu", "b.djvu"}, "tocsmith-cli outline-export: one document at a time"},
    {{"outline-export", "--bogus", "x.djvu"}, "tocsmith-cli outline-export: unknown option"},
    {{"outline-export", "--format"}, "tocsmith-cli outline-export: --format needs a value"},
    {{"outline-export", "--format", "xml", "x.djvu"},
     "tocsmith-cli outline-export: --format: \"xml\" is not one of text|json"},
    {{"outline-export", "--format=xml", "x.djvu"},
     "tocsmith-cli outline-export: --format: \"xml\" is not one of text|json"},
    {{"outline-import"}, "tocsmith-cli outline-import: a document and a text are needed"},
    {{"outline-import", "x.djvu"}, "tocsmith-cli outline-import: a document and a text are needed"},
    {{"outline-import", "--format"}, "tocsmith-cli outline-import: --format needs a value"},
    {{"outline-import", "--format", "xml", "x.djvu", "t.txt"},
     "tocsmith-cli outline-import: --format: \"xml\" is not one of text|json"},
    {{"outline-import", "--bogus", "x.djvu", "t.txt"},
     "tocsmith-cli outline-import: unknown option"},
    {{"outline-import", "--keep-backups", "1001", "x.djvu", "t.txt"},
     "tocsmith-cli outline-import: --keep-backups wants a number from 0 to 1000"},
    {{"outline-import", "a", "b", "c"},
     "tocsmith-cli outline-import: a document and a text are needed"},
};

class CliRefusal : public ::testing::TestWithParam<Refusal>
{
};

TEST_P(CliRefusal, IsSaidWordForWordWithExitStatusTwo)
{
    const Refusal& row = GetParam();
    const CliRun run = runCli(row.args, inLocale("C.UTF-8"));
    const std::string what = row.args.join(' ').toStdString();
    EXPECT_EQ(run.status, 2) << what;
    EXPECT_TRUE(run.out.isEmpty()) << what << "\n" << run.out.toStdString();
    EXPECT_EQ(run.err.section('\n', 0, 0), QString::fromUtf8(row.firstLine)) << what;
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, CliRefusal, ::testing::ValuesIn(kRefusals));

// What follows a refusal: the help the command prints for --help (fix leaves its batch
// options out), or for create the line that names it.
TEST(CliRefusals, AreFollowedByTheHelpInTheLocalesLanguage)
{
    for (const char* locale : {"C.UTF-8", "ru_RU.UTF-8"}) {
        for (const char* command : {"fix", "ocr-export", "ocr-import", "ocr-recognise",
                                    "outline-export", "outline-import"}) {
            const CliRun help = runCli({command, "--help"}, inLocale(locale));
            const CliRun run = runCli({command, "--bogus", "x.djvu"}, inLocale(locale));
            const QString tail = run.err.section('\n', 2);
            EXPECT_EQ(run.err.section('\n', 1, 1), QString()) << command;
            EXPECT_FALSE(tail.isEmpty()) << command;
            EXPECT_TRUE(help.out.startsWith(tail)) << command << " " << locale << "\n"
                                                   << run.err.toStdString();
        }
        const CliRun create = runCli({"create", "--bogus"}, inLocale(locale));
        EXPECT_TRUE(create.err.endsWith(QString::fromUtf8(
            QByteArray(locale).startsWith("ru") ? "\n\nПараметры: 'tocsmith-cli create --help'.\n"
                                                : "\n\nRun 'tocsmith-cli create --help' for the "
                                                  "options.\n")))
            << create.err.toStdString();
    }
}

// The refusals speak the locale's language.
TEST(CliRefusals, SpeakRussianInARussianLocale)
{
    const struct
    {
        QStringList args;
        const char* firstLine;
    } rows[] = {
        {{"create", "--pages", "5-2", "x.djvu"},
         "tocsmith-cli create: --pages: «5-2» — не список диапазонов страниц FIRST-LAST по "
         "порядку, считая с 1 (1,17-18)"},
        {{"fix"}, "tocsmith-cli fix: не указан ни один файл"},
        {{"ocr-export", "--bogus", "x.djvu"}, "tocsmith-cli ocr-export: неизвестный параметр"},
        {{"ocr-recognise", "--bogus", "x.djvu"},
         "tocsmith-cli ocr-recognise: неизвестный параметр: --bogus"},
        {{"outline-export", "--format", "xml", "x.djvu"},
         "tocsmith-cli outline-export: --format: «xml» — не одно из значений text|json"},
    };
    for (const auto& row : rows) {
        const CliRun run = runCli(row.args, inLocale("ru_RU.UTF-8"));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.section('\n', 0, 0), QString::fromUtf8(row.firstLine));
    }
}

// Every command's help goes to standard output, alone, with status 0, for -h and --help, in
// either language: an option whose help key names words that do not name it would be said on
// standard error.
TEST(CliHelp, IsPrintedAloneForEitherSpellingInEitherLanguage)
{
    for (const char* locale : {"C.UTF-8", "ru_RU.UTF-8"}) {
        for (const char* command : {"create", "fix", "ocr-export", "ocr-import", "ocr-recognise",
                                    "outline-export", "outline-import"}) {
            for (const char* spelling : {"-h", "--help"}) {
                const CliRun run = runCli({command, spelling}, inLocale(locale));
                EXPECT_EQ(run.status, 0) << command;
                EXPECT_TRUE(run.err.isEmpty()) << command << run.err.toStdString();
                EXPECT_TRUE(run.out.contains(QStringLiteral("tocsmith-cli ") + command)) << command;
            }
        }
    }
}

} // namespace
