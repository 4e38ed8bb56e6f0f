// Create-list rows: the reader of a row's text columns (as the list or the command line
// gives them) and the annotation expressions made from what it accepts, which must stay
// inert whatever the columns held. Fix-list rows split their path the same way.
#include "FuzzChecks.h"

#include "base/CharTable.h"
#include "cli/CreateJobOptions.h"
#include "jobs/CreateList.h"
#include "jobs/CreateRowReader.h"
#include "jobs/FixList.h"
#include "reading/BorderExpression.h"

namespace {

void checkJob(const CreateJob& job)
{
    const QByteArray border = BorderExpression::build(job.style);
    FUZZ_CHECK(FuzzChecks::isInertExpression(border));
    const BorderExpression::Box box{job.firstPage, job.lastPage, job.offset,
                                    static_cast<int>(job.kind)};
    FUZZ_CHECK(FuzzChecks::isInertExpression(
        BorderExpression::area(job.firstPage, CharTable::escape(job.comment).toLatin1(),
                               BorderExpression::shapeWord(job.shape), box, border)));
    if (job.contentsLink)
        FUZZ_CHECK(FuzzChecks::isInertExpression(BorderExpression::contentsLinkArea(job.link)));
}

void checkRow(const CreateRow& row)
{
    CreateJob job;
    QString error;
    if (!CreateRowReader::read(row, &job, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return;
    }
    checkJob(job);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = FuzzChecks::text(data, size);

    // Columns separated by tabs: the path, then the parameters as the tab stores them.
    QStringList fields = text.split(u'\t');
    const QString path = fields.takeFirst();
    CreateList list;
    list.append(path, fields);
    const CreateRow& row = list.at(0);
    FUZZ_CHECK(row.columns.size() == CreateRow::kColumnCount);
    FUZZ_CHECK(!row.columns[0].contains(u'/'));
    checkRow(row);
    FixList fixes;
    fixes.append(path);
    FUZZ_CHECK(fixes.at(0).fullPath() == row.fullPath());

    // One argument per line: what the command line accepts gives inert expressions too.
    CreateJobOptions options;
    QString error;
    if (options.parse(text.split(u'\n'), &error))
        for (const CreateJob& job : options.jobs())
            checkJob(job);
    return 0;
}
