// The IFF walk that checks a saved DjVu file is whole, on any bytes. It reads from a path,
// so each input is written once to a scratch file of this process first.
#include "FuzzChecks.h"

#include "djvu/DjvuFileCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {

const QString& scratchPath()
{
    static const QString path = [] {
        const QString folder = QDir(QStringLiteral("/dev/shm")).exists()
                                   ? QStringLiteral("/dev/shm")
                                   : QDir::tempPath();
        return folder + QStringLiteral("/tocsmith-fuzz-file-check-%1.djvu")
                            .arg(QCoreApplication::applicationPid());
    }();
    // Gone when the run ends.
    static const bool removedAtExit = std::atexit([] { QFile::remove(scratchPath()); }) == 0;
    Q_UNUSED(removedAtExit);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzChecks::bytes(data, size);
    {
        QFile file(scratchPath());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }
    QString error;
    if (DjvuFileCheck::isWhole(scratchPath(), &error)) {
        FUZZ_CHECK(error.isEmpty());
        FUZZ_CHECK(bytes.startsWith("AT&TFORM"));
    } else {
        FUZZ_CHECK(error.contains(scratchPath()));
    }
    return 0;
}
