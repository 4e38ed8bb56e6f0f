#include "cli/CliWorkFolder.h"

#include <QDir>

namespace {

const QString kPrefix = QStringLiteral("tocsmith-cli-");

} // namespace

CliWorkFolder::CliWorkFolder() : LockedFolder(QDir::tempPath() + u'/' + kPrefix + "XXXXXX")
{
    // This run's own folder is locked by now, so only dead runs' folders go.
    removeDead(QDir::tempPath(), kPrefix + u'*');
}
