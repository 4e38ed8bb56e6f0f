#pragma once

#include "jobs/CreateJob.h"
#include "links/ContentsPlan.h"
#include "links/FixPass.h"
#include "links/PassControl.h"
#include "links/PassOutcome.h"
#include "ocr/PageRecognition.h"
#include "outline/OutlineAnswer.h"
#include "reading/SmartCheck.h"

#include <QByteArray>

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

#include <functional>

class BookGuard;
class LogSink;
class NoticeSink;
class MessageTexts;
class PageListing;
class PageTexts;
class ToolRunner;

// The job-wide options of the Create tab; everything per file comes from the rows.
struct CreateOptions
{
    bool backup = true; // "Создавать резервную копию"
    int keepBackups = BackupCopy::kKeepDefault; // numbered backups kept besides the original
    bool removeOcr = false;                     // "Удалять OCR"
    bool checkPageCount = true; // "Проверять количество страниц"
    bool align = false;         // "Выровнять содержание"
    // The choices of the tab's three drop-down lists, none when a list has nothing chosen.
    // They are checked before the first job; each job brings its own values.
    std::optional<BorderType> borderType = JobDefaults::borderType;
    std::optional<AreaShape> shape = JobDefaults::shape;
    std::optional<WorkKind> kind = JobDefaults::kind;
    // The edit tab's options, for the alignment step.
    FixOptions fixOptions;
    // Recognise and hand each file's plan and script to the sinks; change nothing.
    bool dryRun = false;
    // A document's outline is written over the one it has, without asking.
    bool replaceOutline = false;
    // The new bookmarks are added to the outline a document has (see OutlineMerge).
    bool mergeOutline = false;
    // The smart reading checks every link against the heading on its page and corrects it
    // (Check), fails a document that would need a correction (Strict), or trusts the numbers.
    SmartCheck::Mode smartCheck = SmartCheck::Mode::Check;
    // Roman page n of the front matter leads to page n + this; none: found from the book.
    std::optional<int> romanOffset;
    // Recognition of the pages the reading needs: none given, as the job says, else Auto for
    // the smart reading and Never for the classic one.
    std::optional<PageRecognition::Mode> ocr;
    QString ocrLanguages; // Tesseract's names ("rus+eng"); empty: English
    // The languages above are only preferred: the book's first recognised page is read with
    // each language set recognition has, and the surest one reads the book.
    bool ocrFindLanguage = true;
    bool ocrBook = false; // every page without text, not only those the reading needs
    bool keepOcr = false; // the recognised pages are written into the text layer
    int ocrJobs = 1;      // pages recognised at once
    PageRecognition::Mode ocrMode(const CreateJob& job) const
    {
        using Mode = PageRecognition::Mode;
        if (ocr)
            return *ocr;
        if (job.recognise)
            return *job.recognise ? Mode::Auto : Mode::Never;
        return job.reading == ContentsReading::Smart ? Mode::Auto : Mode::Never;
    }
};

struct CreateOutcome : PassOutcome
{
    // The alignment step ran; the window empties its Fix list afterwards.
    bool alignmentRan = false;
    // The last alignment step ran to its end (so the edit tab's end options apply).
    bool alignmentRanToEnd = false;
};

// Turns the contents or index pages of each job's document into hyperlinks. Each job is
// planned (the book read, its entries recognised) and then applied (the hyperlink script
// written from the plan and run on a copy that replaces the document when it is complete).
class CreatePass
{
public:
    // notices: told of each notice as the pass meets it; the outcome holds them too.
    CreatePass(ToolRunner& tools, const MessageTexts& texts, LogSink& log, NoticeSink& notices);
    CreateOutcome run(const QList<CreateJob>& jobs, const CreateOptions& options);

    // Receives each file's hyperlink script (its path, the script text) before the script
    // runs, or instead of running it in a dry run.
    using ScriptSink = std::function<void(const QString&, const QByteArray&)>;
    void setScriptSink(ScriptSink sink) { scriptSink_ = std::move(sink); }
    // A further reading of each plan's entries once they are recognised: it may give them
    // their titles, levels and numbering before the outline is made from them.
    using EntryReading = std::function<void(ContentsPlan&)>;
    void setEntryReading(EntryReading reading) { entryReading_ = std::move(reading); }
    // Receives each file's plan, before its script.
    using PlanSink = std::function<void(const ContentsPlan&)>;
    void setPlanSink(PlanSink sink) { planSink_ = std::move(sink); }
    // The last word on each plan before its outline is made and it is applied: it may replace
    // the entries by those a person reviewed. False, with the reason set, leaves the document
    // as it is.
    using PlanReview = std::function<bool(ContentsPlan&, QString* reason)>;
    void setPlanReview(PlanReview review) { planReview_ = std::move(review); }
    PlanSink planSink() const { return planSink_; }
    // Asked when a document that is to get an outline has one already; without it such a
    // document fails unchanged unless the options say to replace.
    using OutlineQuestion = std::function<OutlineAnswer(const QString& path, int bookmarks)>;
    void setOutlineQuestion(OutlineQuestion question) { outlineQuestion_ = std::move(question); }
    // Progress reports and the cancel token; the tool runner is given the same token.
    void setControl(const PassControl& control) { control_ = control; }

    // The fixed names of the work files inside the tool runner's work folder.
    static const QString kDumpFile;    // "myfile.dsed": left from older runs, removed
    static const QString kScriptFile;  // "myfile1.dsed": the hyperlink script
    static const QString kListingFile; // "myfile2.dsed": the annotations kept by the contents link

private:
    enum class Turn
    {
        Planned,
        Changed,
        Unchanged, // the change left every byte as it was
        DryRun,
        Skipped, // the user chose to leave it as it is
        Failed,
        Stop,
        Cancelled
    };
    CreateOutcome runJobs(const QList<CreateJob>& jobs, const CreateOptions& options);
    Turn runJob(const CreateJob& job, const CreateOptions& options);
    Turn plan(const CreateJob& job, const CreateOptions& options, ContentsPlan* plan);
    Turn apply(const ContentsPlan& plan, const CreateOptions& options, BookGuard* guard);
    // The last line of a run whose reading left printed lines without a link says so.
    void sayLinesLeft(const ContentsPlan& plan);
    // The steps of a job, in this order.
    bool readListing(const QString& path, PageListing* listing, QString* error);
    bool readText(const QString& path, int first, int last, PageTexts* texts, QString* error);
    bool placeContentsLink(const CreateJob& job, const PageListing& listing, ContentsPlan* plan,
                           QString* error);
    bool recognise(const CreateJob& job, const CreateOptions& options, const PageListing& listing,
                   const PageTexts& texts, int first, int last, ContentsPlan* plan, QString* error);
    // Recognises the contents pages that have no text (or plainly poor text) when the
    // options ask for it, and puts what was read into their texts.
    bool recogniseContents(const CreateJob& job, const CreateOptions& options,
                           QList<PageTexts>* rangeTexts, QString* error);
    // Reads the entries of each contents range into the plan.
    bool readRanges(const CreateJob& job, const CreateOptions& options, const PageListing& listing,
                    const QList<ContentsRange>& ranges, const QList<PageTexts>& rangeTexts,
                    ContentsPlan* plan, QString* error);
    // The outline the document has now, and whether a new one may replace it.
    Turn checkOutline(const CreateJob& job, const CreateOptions& options, ContentsPlan* plan);
    bool change(const ContentsPlan& plan, int backups, BookGuard* guard, QString* error,
                bool* changedNothing);
    bool readOutline(const QString& path, Outline* outline, QString* error);
    // The part line and page title that name a contents range's part in the outline.
    bool nameRange(const QString& path, const PageTexts& texts, const ContentsPlan& read,
                   bool severalRanges, PlanRange* range, QString* error);
    bool recogniseSmart(const CreateJob& job, const CreateOptions& options,
                        const PageListing& listing, const PageTexts& texts, ContentsPlan* plan,
                        QString* error);
    // What recognised pages are for: the reading's own pages, read as well as can be; the
    // pages the check reads, where a page that fails is told in the log and left out; or
    // only the page numbers in the pages' margins, for finding the offset.
    enum class Recognised
    {
        Read,
        Checked,
        Margins,
    };
    // Recognises the pages, telling the log of each; false with *error on a failure or a
    // stop (the caller sees the stop). Pages read whole go into recognised_ as well.
    bool recognisePages(const QString& path, const CreateOptions& options, const QList<int>& pages,
                        const QMap<int, PageText>& layers, QMap<int, PageText>* read,
                        QString* error, Recognised use = Recognised::Read);
    // Recognises, of the pages given, those the check would read without text and that were
    // not recognised yet (not the contents, not the targets'); names the pages it replaced.
    // The first failure is kept in *error and ends the recognition.
    QList<int> recogniseMore(const CreateJob& job, const CreateOptions& options,
                             PageRecognition::Mode mode, const QMap<int, PageText>& contents,
                             const QSet<int>& targets, QMap<int, PageText>* pages, QString* error);
    // An offset to be found in a book mostly without text: has the margins of some of its
    // pages read for the page numbers printed there (see CheckPages::forPageNumbers).
    bool recogniseMargins(const CreateJob& job, const CreateOptions& options,
                          PageRecognition::Mode mode, const QMap<int, PageText>& contents,
                          int pageCount, QMap<int, PageText>* pages, QString* error);
    // false when the run was stopped during the alignment.
    bool align(const CreateJob& job, const CreateOptions& options, CreateOutcome* outcome);

    Turn fail(const QString& reason);
    Turn stopped();
    void removeWorkFiles(const QStringList& names);

    ToolRunner& tools_;
    const MessageTexts& texts_;
    LogSink& log_;
    RunNotices notices_; // of this run
    QString path_;       // of the job being worked on
    ScriptSink scriptSink_;
    PlanSink planSink_;
    EntryReading entryReading_;
    PlanReview planReview_;
    PassControl control_;
    OutlineQuestion outlineQuestion_;
    QString lastFailure_; // the reason the last failed or skipped document gave
    bool replaceEveryOutline_ = false;
    bool mergeEveryOutline_ = false;
    // The pages of this document the reading had recognised, and which of them had no text
    // layer before.
    QMap<int, PageText> recognised_;
    QSet<int> hadNoLayer_;
    QString ocrLanguagesUsed_; // once chosen, for every later page of the book
};
