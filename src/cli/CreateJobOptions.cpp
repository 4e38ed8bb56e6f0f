#include "cli/CreateJobOptions.h"
#include "base/EngineTexts.h"
#include "cli/CliLanguage.h"
#include "cli/CommandLine.h"

#include "jobs/CreateJob.h"
#include "jobs/PageRanges.h"

#include "ocr/PageRecognizer.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>

// The words of the typed choices, in the order of their numbers.
const QStringList CreateJobOptions::kKinds = {"contents", "index1", "index2"};
const QStringList CreateJobOptions::kReadings = {"classic", "smart"};
const QStringList CreateJobOptions::kShapes = {"rect", "oval"};
const QStringList CreateJobOptions::kBorders = {
    "none", "xor", "border", "shadow-in", "shadow-out", "shadow-ein", "shadow-eout"};

namespace {

// In the order of PageRecognition::Mode.
const QStringList kOcrModes = {"never", "auto", "always"};
const QStringList kOutlineModes = {"merge", "replace"};

using Take = CommandLine::Take;

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

// A whole number from low to high.
Take whole(const QString& option, int low, int high, int* out)
{
    return
        [=](const QString& v, QString* error) { return readInt(option, v, low, high, out, error); };
}

// Six hexadecimal digits, kept in capitals.
Take colour(const QString& option, QString* out)
{
    return [=](const QString& v, QString* error) {
        static const QRegularExpression colour(QStringLiteral("^[0-9A-Fa-f]{6}$"));
        if (!colour.match(v).hasMatch()) {
            *error = EngineTexts::say("e_opt_not_colour").arg(option, v);
            return false;
        }
        *out = v.toUpper();
        return true;
    };
}

// One of the choices, kept as the value of its position.
template <typename E> Take choice(const QString& option, const QStringList& choices, E* out)
{
    return [=](const QString& v, QString* error) {
        const int at = int(choices.indexOf(v));
        if (at < 0) {
            *error = EngineTexts::say("e_opt_not_one_of").arg(option, v, choices.join('|'));
            return false;
        }
        *out = E(at);
        return true;
    };
}

Take text(QString* out)
{
    return [out](const QString& v, QString*) {
        *out = v;
        return true;
    };
}

// Ovals take neither shadows nor highlighting, whichever front end asks.
bool checkStyle(const CreateJobOptions::Style& style, const QString& prefix, QString* error)
{
    const AreaLook::Problem problem = AreaLook::check(style.shape, style.border, style.highlight);
    if (problem == AreaLook::Problem::None)
        return true;
    *error = QStringLiteral("--%1shape oval: %2").arg(prefix, AreaLook::sentence(problem));
    return false;
}

} // namespace

// The words of each option of a link's look, in the order declareLook declares them.
struct CreateJobOptions::LookHelp
{
    OptionHelp shape, border, borderColour, highlightColour, shadowWidth, alwaysVisible, highlight;
};

void CreateJobOptions::declare(CommandLine& line)
{
    line.refuseFlagValues();
    declareEntries(line);
    line.describe("create:look");
    declareLook(line, QString(),
                {"create --shape", "create --border", "create --border-color",
                 "create --highlight-color", "create --shadow-width", "create --always-visible",
                 "create --highlight"},
                &style_);
    line.describe("create:contents-link");
    declareContentsLink(line);
    line.describe("create:outline");
    declareOutline(line);
    line.describe("create:run");
    declareRun(line);
    line.describe("create:end");
}

void CreateJobOptions::declareEntries(CommandLine& line)
{
    line.value(QStringLiteral("--pages"), "create --pages",
               [this](const QString& v, QString* error) {
                   if (!PageRanges::read(v, &ranges_))
                       *error = EngineTexts::say("e_opt_bad_pages").arg(v);
                   return error->isEmpty();
               });
    line.value(
        QStringLiteral("--offset"), "create --offset", [this](const QString& v, QString* error) {
            for (const QString& one : v.split(QLatin1Char(','))) {
                int unused = 0;
                if (one != QLatin1String("auto") &&
                    !readInt(QStringLiteral("--offset"), one, -1000000, 1000000, &unused, error))
                    return false;
            }
            offsets_ = v;
            return true;
        });
    line.value(QStringLiteral("--reading"), "create --reading",
               choice(QStringLiteral("--reading"), kReadings, &reading_));
    const auto check = [this](SmartCheck::Mode mode) {
        return [this, mode](const QString&, QString* error) {
            if (checkSeen_)
                *error = EngineTexts::say("e_opt_strict_no_check");
            checkSeen_ = true;
            options_.smartCheck = mode;
            return error->isEmpty();
        };
    };
    line.flag(QStringLiteral("--strict"), "create --strict", check(SmartCheck::Mode::Strict));
    line.flag(QStringLiteral("--no-check"), "create --no-check", check(SmartCheck::Mode::Off));
    line.value(QStringLiteral("--roman-offset"), "create --roman-offset",
               [this](const QString& v, QString* error) {
                   int romanOffset = 0;
                   if (!readInt(QStringLiteral("--roman-offset"), v, -1000000, 1000000,
                                &romanOffset, error))
                       return false;
                   options_.romanOffset = romanOffset;
                   return true;
               });
    line.value(QStringLiteral("--kind"), "create --kind",
               choice(QStringLiteral("--kind"), kKinds, &kind_));
    line.flag(QStringLiteral("--halve"), "create --halve", &halve_);
    line.flag(QStringLiteral("--no-page-check"), "create --no-page-check", &options_.checkPageCount,
              false);
    line.value(QStringLiteral("--comment"), "create --comment", text(&comment_));
}

void CreateJobOptions::declareLook(CommandLine& line, const QString& prefix, const LookHelp& help,
                                   Style* style)
{
    const auto name = [&prefix](const char* option) {
        return QStringLiteral("--") + prefix + QLatin1String(option);
    };
    line.value(name("shape"), help.shape, choice(name("shape"), kShapes, &style->shape));
    line.value(name("border"), help.border, choice(name("border"), kBorders, &style->border));
    line.value(name("border-color"), help.borderColour,
               colour(name("border-color"), &style->borderColour));
    line.value(name("highlight-color"), help.highlightColour,
               colour(name("highlight-color"), &style->highlightColour));
    line.value(name("shadow-width"), help.shadowWidth,
               whole(name("shadow-width"), 0, 100, &style->shadowWidth));
    line.flag(name("always-visible"), help.alwaysVisible, &style->alwaysVisible);
    line.flag(name("highlight"), help.highlight, &style->highlight);
}

void CreateJobOptions::declareContentsLink(CommandLine& line)
{
    line.flag(QStringLiteral("--contents-link"), "create --contents-link", &contentsLink_);
    line.value(QStringLiteral("--contents-link-page"), "create --contents-link-page",
               whole(QStringLiteral("--contents-link-page"), 1, 1000000, &linkPage_));
    line.flag(QStringLiteral("--contents-link-every-page"), "create --contents-link-every-page",
              &everyPage_);
    line.value(QStringLiteral("--contents-link-target"), "create --contents-link-target",
               whole(QStringLiteral("--contents-link-target"), 1, 1000000, &linkTarget_));
    line.value(QStringLiteral("--contents-link-box"), "create --contents-link-box",
               [this](const QString& v, QString* error) {
                   const QStringList parts = v.split(QLatin1Char(','));
                   for (int i = 0; parts.size() == 4 && i < 4; ++i) {
                       if (!readInt(QStringLiteral("--contents-link-box"), parts[i].trimmed(),
                                    i < 2 ? -100000 : 0, 100000, &linkBox_[i], error))
                           return false;
                   }
                   if (parts.size() != 4)
                       *error = EngineTexts::say("e_opt_bad_box").arg(v);
                   return parts.size() == 4;
               });
    line.value(QStringLiteral("--contents-link-comment"), "create --contents-link-comment",
               text(&linkComment_));
    // The contents link's look is told of in one block, that of its shape.
    constexpr OptionHelp inShape = CommandLine::describedIn("create --contents-link-shape");
    declareLook(
        line, QStringLiteral("contents-link-"),
        {"create --contents-link-shape", inShape, inShape, inShape, inShape, inShape, inShape},
        &link_);
}

void CreateJobOptions::declareOutline(CommandLine& line)
{
    // "--outline merge" or "--outline replace"; a bare "--outline" refuses a book that has an
    // outline.
    line.optionalWord(QStringLiteral("--outline"), "create --outline", kOutlineModes,
                      [this](const QString& mode, QString* error) {
                          if (!mode.isEmpty() && !kOutlineModes.contains(mode)) {
                              *error = EngineTexts::say("e_opt_not_one_of")
                                           .arg(QStringLiteral("--outline"), mode,
                                                kOutlineModes.join(QLatin1Char('|')));
                              return false;
                          }
                          outline_ = true;
                          options_.mergeOutline |= mode == QLatin1String("merge");
                          options_.replaceOutline |= mode == QLatin1String("replace");
                          return true;
                      });
    line.flag(QStringLiteral("--no-links"), "create --no-links", &noLinks_);
    line.describe("create:outline-modes");
    line.flag(QStringLiteral("--replace-outline"), CommandLine::describedIn("create:outline-modes"),
              &options_.replaceOutline);
    line.flag(QStringLiteral("--no-parts"), "create --no-parts", &noParts_);
}

void CreateJobOptions::declareRun(CommandLine& line)
{
    line.flag(QStringLiteral("--remove-ocr"), "create --remove-ocr", &options_.removeOcr);
    line.value(QStringLiteral("--ocr"), "create --ocr", [this](const QString& v, QString* error) {
        PageRecognition::Mode mode = PageRecognition::Mode::Never;
        if (!choice(QStringLiteral("--ocr"), kOcrModes, &mode)(v, error))
            return false;
        options_.ocr = mode;
        return true;
    });
    line.flag(QStringLiteral("--ocr-book"), "create --ocr-book", &options_.ocrBook);
    line.value(QStringLiteral("--ocr-language"), "create --ocr-language",
               [this](const QString& v, QString*) {
                   options_.ocrLanguages = v;
                   options_.ocrFindLanguage = false;
                   return true;
               });
    line.value(QStringLiteral("--ocr-jobs"), "create --ocr-jobs",
               whole(QStringLiteral("--ocr-jobs"), 1, 256, &options_.ocrJobs));
    line.flag(QStringLiteral("--keep-ocr"), "create --keep-ocr", &options_.keepOcr);
    line.flag(QStringLiteral("--align"), "create --align", &options_.align);
    line.flag(QStringLiteral("--no-backup"), "create --no-backup", &options_.backup, false);
    line.value(QStringLiteral("--keep-backups"), "create --keep-backups",
               whole(QStringLiteral("--keep-backups"), 0, 1000, &options_.keepBackups));
    line.value(QStringLiteral("--language"), "create --language", text(&languageFile_));
    line.flag(QStringLiteral("--dry-run"), "create --dry-run", &options_.dryRun);
    line.value(QStringLiteral("--plan"), "create --plan", text(&planFile_));
    line.value(QStringLiteral("--from-plan"), "create --from-plan", text(&fromPlanFile_));
}

bool CreateJobOptions::check(const CommandLine& line, QString* error)
{
    const auto refuse = [error](const QString& sentence) {
        *error = sentence;
        return false;
    };
    using EngineTexts::say;
    if (line.names().isEmpty())
        return refuse(say("e_opt_no_djvu"));
    if (!planFile_.isEmpty() && (!fromPlanFile_.isEmpty() || options_.dryRun))
        return refuse(say("e_opt_plan_excludes")
                          .arg(options_.dryRun ? QStringLiteral("--dry-run")
                                               : QStringLiteral("--from-plan")));
    if (!planFile_.isEmpty())
        options_.dryRun = true; // the plan is written, the documents stay as they are
    const bool linkOptionSeen =
        std::any_of(line.given().begin(), line.given().end(), [](const QString& name) {
            return name.startsWith(QLatin1String("--contents-link-"));
        });
    if (linkOptionSeen && !contentsLink_)
        return refuse(say("e_opt_link_options"));
    if (options_.mergeOutline && options_.replaceOutline)
        return refuse(say("e_opt_merge_replace"));
    const qsizetype offsetCount = offsets_.split(QLatin1Char(',')).size();
    if (offsetCount != 1 && offsetCount != ranges_.size())
        return refuse(say("e_opt_offsets").arg(offsetCount).arg(ranges_.size()));
    PageRanges::readOffsets(offsets_, -1000000, 1000000, &ranges_);
    const bool offsetAuto = std::any_of(ranges_.begin(), ranges_.end(),
                                        [](const ContentsRange& r) { return r.offsetAuto; });
    if ((noLinks_ || options_.replaceOutline) && !outline_)
        return refuse(say("e_opt_needs_outline")
                          .arg(noLinks_ ? QStringLiteral("--no-links")
                                        : QStringLiteral("--replace-outline")));
    if (noLinks_ && (contentsLink_ || options_.align))
        return refuse(say("e_opt_no_links")
                          .arg(contentsLink_ ? QStringLiteral("--contents-link")
                                             : QStringLiteral("--align")));
    if (outline_ && kind_ != WorkKind::Contents)
        return refuse(say("e_opt_outline_kind").arg(kKinds[JobValue::number(kind_)]));
    if ((checkSeen_ || options_.romanOffset) && reading_ != ContentsReading::Smart)
        return refuse(say("e_opt_need_smart"));
    if (offsetAuto && reading_ != ContentsReading::Smart)
        return refuse(say("e_opt_auto_smart"));
    if (everyPage_ && line.given(QStringLiteral("--contents-link-page")))
        return refuse(say("e_opt_link_pages"));
    return checkStyle(style_, QString(), error) &&
           checkStyle(link_, QStringLiteral("contents-link-"), error);
}

CreateJob CreateJobOptions::jobFor(const QString& file) const
{
    CreateJob job;
    job.path = QFileInfo(file).absoluteFilePath();
    job.firstPage = ranges_[0].firstPage;
    job.lastPage = ranges_[0].lastPage;
    job.offset = ranges_[0].offset;
    job.offsetAuto = ranges_[0].offsetAuto;
    job.moreRanges = ranges_.mid(1);
    job.parts = !noParts_;
    job.reading = reading_;
    job.kind = kind_;
    job.shape = style_.shape;
    job.style.borderType = style_.border;
    job.style.borderColour = style_.borderColour;
    job.style.highlightColour = style_.highlightColour;
    job.style.shadowWidth = style_.shadowWidth;
    job.style.alwaysVisible = style_.alwaysVisible;
    job.style.highlight = style_.highlight;
    job.halve = halve_;
    job.comment = comment_;
    job.contentsLink = contentsLink_;
    job.contentsLinkPage = linkPage_;
    job.contentsLinkPages = everyPage_ ? ContentsLinkPages::EveryPage : ContentsLinkPages::OnePage;
    ContentsLinkSettings& l = job.link;
    l.shape = link_.shape;
    l.borderType = link_.border;
    l.alwaysVisible = link_.alwaysVisible;
    l.highlight = link_.highlight;
    l.borderWidth = link_.shadowWidth;
    l.colour1 = link_.borderColour;
    l.colour2 = link_.highlightColour;
    l.left = linkBox_[0];
    l.bottom = linkBox_[1];
    l.width = linkBox_[2];
    l.height = linkBox_[3];
    l.targetPage = linkTarget_;
    l.comment = linkComment_;
    job.outline = outline_;
    job.links = !noLinks_;
    return job;
}

bool CreateJobOptions::finish(const CommandLine& line, QString* error)
{
    if (!check(line, error))
        return false;
    options_.kind = kind_;
    options_.borderType = style_.border;
    options_.shape = style_.shape;
    options_.fixOptions.backup = options_.backup;
    options_.fixOptions.keepBackups = options_.keepBackups;
    for (const QString& file : line.names()) {
        jobs_ << jobFor(file);
        jobs_.last().link.targetGiven = line.given(QStringLiteral("--contents-link-target"));
    }
    // Recognition reads the language of the messages, and English beside it.
    if (options_.ocrLanguages.isEmpty())
        options_.ocrLanguages = PageRecognizer::languagesFor(
            !languageFile_.isEmpty()         ? QFileInfo(languageFile_).baseName()
            : CliLanguage::localeIsRussian() ? QStringLiteral("ru")
                                             : QStringLiteral("en"));
    if (!line.given(QStringLiteral("--ocr-jobs")))
        options_.ocrJobs = std::max(1, QThread::idealThreadCount());
    return true;
}

bool CreateJobOptions::parse(const QStringList& args, QString* error)
{
    CommandLine line(
        [](const QString& argument) { return EngineTexts::say("e_opt_unknown").arg(argument); });
    declare(line);
    switch (line.read(args)) {
    case CommandLine::Outcome::Help:
        help_ = true;
        return true;
    case CommandLine::Outcome::Refused:
        *error = line.problem();
        return false;
    case CommandLine::Outcome::Read:
        break;
    }
    return finish(line, error);
}
