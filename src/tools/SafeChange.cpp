#include "tools/SafeChange.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool flushToDisk(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

SafeChange::SafeChange(QString documentPath) : documentPath_(std::move(documentPath)) {}

SafeChange::~SafeChange() = default;

QString SafeChange::workingFolder() const { return folder_ ? folder_->path() : QString(); }

bool SafeChange::prepare(QString* error)
{
    QFileInfo original(documentPath_);
    if (!original.isFile()) {
        *error = QStringLiteral("The file %1 does not exist.").arg(documentPath_);
        return false;
    }
    // Renaming over the file would succeed even when the user protected it.
    if (!original.isWritable() || !(original.permissions() & QFileDevice::WriteOwner)) {
        *error = QStringLiteral("The file %1 is read-only.").arg(documentPath_);
        return false;
    }
    folder_ = std::make_unique<QTemporaryDir>(original.absolutePath() +
                                              QStringLiteral("/.tocsmith-XXXXXX"));
    if (!folder_->isValid()) {
        *error = QStringLiteral("Cannot create a working folder beside %1: %2")
                     .arg(documentPath_, folder_->errorString());
        folder_.reset();
        return false;
    }
    copyPath_ = QDir(folder_->path()).filePath(original.fileName());
    if (!QFile::copy(documentPath_, copyPath_) ||
        QFileInfo(copyPath_).size() != original.size()) {
        *error = QStringLiteral("Cannot copy %1 into a working folder (is the disk full?).")
                     .arg(documentPath_);
        folder_.reset();
        copyPath_.clear();
        return false;
    }
    QFile::setPermissions(copyPath_, QFile::permissions(documentPath_) | QFile::WriteOwner);
    return true;
}

bool SafeChange::looksComplete(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1.").arg(path);
        return false;
    }
    const QByteArray head = file.read(12);
    if (head.size() < 12 || !head.startsWith("AT&TFORM")) {
        *error = QStringLiteral("The tool left %1 without a DjVu header.").arg(path);
        return false;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(head.constData()) + 8;
    const qint64 declared =
        (qint64(b[0]) << 24 | qint64(b[1]) << 16 | qint64(b[2]) << 8 | qint64(b[3])) + 12;
    const qint64 actual = file.size();
    // The format pads the last chunk to an even length; a writer may leave the pad byte off.
    if (actual != declared && actual != declared + 1) {
        *error = QStringLiteral("The tool left an incomplete file (%1 of %2 bytes); is the "
                                "disk full?")
                     .arg(actual)
                     .arg(declared);
        return false;
    }
    return true;
}

bool SafeChange::commit(QString* error)
{
    if (!folder_) {
        *error = QStringLiteral("Nothing to save.");
        return false;
    }
    if (!looksComplete(copyPath_, error))
        return false;
    if (!flushToDisk(copyPath_)) {
        *error = QStringLiteral("Cannot write the changed document to disk (is the disk full?).");
        return false;
    }
    QFile::setPermissions(copyPath_, QFile::permissions(documentPath_));
    std::error_code ec;
    std::filesystem::rename(nativePath(copyPath_), nativePath(documentPath_), ec);
    if (ec) {
        *error = QStringLiteral("Cannot replace %1: %2")
                     .arg(documentPath_, QString::fromStdString(ec.message()));
        return false;
    }
    folder_.reset();
    copyPath_.clear();
    return true;
}
