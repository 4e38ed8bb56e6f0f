// Settings and language files: the INI reader on any file, a write that must leave every
// other line as it was, and the Windows-1251 code page both ways.
#include "FuzzChecks.h"

#include "base/Cp1251.h"
#include "base/IniFile.h"
#include "base/LanguageFile.h"
#include "base/MessageTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

QString workFile(const char* name)
{
    static const QString folder = [] {
        const QString path = QDir::temp().filePath(
            QStringLiteral("tocsmith-fuzz-%1").arg(QCoreApplication::applicationPid()));
        QDir().mkpath(path);
        return path;
    }();
    return folder + QLatin1Char('/') + QLatin1String(name);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

void checkCodePage(const QByteArray& bytes)
{
    const QString text = Cp1251::decode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    QByteArray back;
    FUZZ_CHECK(Cp1251::encode(text, &back) && back == bytes);
    Cp1251::decodeUtf8OrCp1251(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzChecks::bytes(data, size);
    checkCodePage(bytes);
    int number = 0;
    IniFile::parseInt(FuzzChecks::text(data, size), &number);

    const QString path = workFile("language.lng");
    writeFile(path, bytes);
    // Most reads go through one snapshot, which parses the file once; a few read the file
    // itself, and both ways must agree.
    const IniFile file(path);
    const IniFile snapshot = IniFile::snapshotOf(path);
    MessageTexts texts;
    LanguageFile::loadMessages(path, texts);
    LanguageFile::noteLines(snapshot, {QStringLiteral("note")});
    LanguageFile::listItems(snapshot, QStringLiteral("create"),
                            {QStringLiteral("ComboBox1"), QStringLiteral("ComboBox2")}, {});
    FUZZ_CHECK(file.readInt(QStringLiteral("Main"), QStringLiteral("Left"), 7) ==
               snapshot.readInt(QStringLiteral("Main"), QStringLiteral("Left"), 7));
    file.readFlag(QStringLiteral("Main"), QStringLiteral("Check"), true);
    file.readColour(QStringLiteral("Main"), QStringLiteral("Colour"), 0xFF);

    // A write replaces or adds one key and leaves what every other key reads.
    const QStringList keys = MessageTexts::namesOf(MessageTexts::memoKeys().mid(0, 6));
    QStringList before;
    for (const QString& key : keys)
        before << snapshot.readText(QStringLiteral("Memo"), key, QStringLiteral("-"));
    FUZZ_CHECK(file.readText(QStringLiteral("Memo"), keys.first(), QStringLiteral("-")) ==
               before.first());
    FUZZ_CHECK(file.writeText(QStringLiteral("Main"), QStringLiteral("FuzzKey"),
                              QStringLiteral("written")));
    const IniFile after = IniFile::snapshotOf(path);
    FUZZ_CHECK(after.readText(QStringLiteral("Main"), QStringLiteral("fuzzkey")) ==
               QLatin1String("written"));
    for (qsizetype i = 0; i < keys.size(); ++i)
        FUZZ_CHECK(after.readText(QStringLiteral("Memo"), keys[i], QStringLiteral("-")) ==
                   before[i]);
    return 0;
}
