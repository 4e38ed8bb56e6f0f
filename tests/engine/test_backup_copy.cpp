// Backups never overwrite a file of the document they keep.
#include "DjvuFixture.h"
#include "app/MessageTexts.h"
#include "links/BackupCopy.h"
#include "links/FixPass.h"
#include "tools/Sinks.h"
#include "tools/ToolRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class BackupCopyTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    // An indirect book whose page files carry the given identifiers.
    QString indirect(const QString& indexName, const QStringList& ids)
    {
        QList<FixturePage> pages;
        for (const QString& id : ids) {
            FixturePage page;
            page.id = id;
            page.annotations = QStringLiteral("(maparea \"\" \"\" (rect 100 900 300 40))\n"
                                              "(maparea \"\" \"\" (rect 110 800 250 40))");
            pages << page;
        }
        const QString index = dir.filePath("set/" + indexName);
        QString error;
        EXPECT_TRUE(DjvuFixture::buildIndirect(index, pages, &error)) << error.toStdString();
        return index;
    }
    QString djvused() const { return QStandardPaths::findExecutable("djvused"); }
};

TEST_F(BackupCopyTest, APageNamedLikeAnotherPagesBackupIsNeverOverwritten)
{
    const QString index = indirect("index.djvu", {"p1.djvu", "p1.djvu.backup"});
    const QString folder = QFileInfo(index).absolutePath();
    const QMap<QString, QByteArray> before = DjvuFixture::readFolder(folder);
    ASSERT_TRUE(before.contains("p1.djvu.backup"));

    QString error;
    EXPECT_FALSE(BackupCopy::make(index, &error, djvused()));
    EXPECT_TRUE(error.contains("p1.djvu.backup")) << error.toStdString();
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);

    // Through the Fix pass: refused with the reason, the set byte for byte as it was.
    QTemporaryDir work;
    MessageTexts texts;
    RecordingLogSink log;
    RecordingMessageSink messages;
    ToolRunner tools(QStringLiteral(TOCSMITH_OUT_DIR), work.path(), &messages, "x");
    const PassOutcome outcome =
        FixPass(tools, texts, log, messages)
            .run({FixRow{folder + QLatin1Char('/'), QStringLiteral("index.djvu")}},
                 FixOptions{true});
    EXPECT_EQ(outcome.filesFailed, 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_TRUE(messages.messages[0].text.contains("p1.djvu.backup"))
        << messages.messages[0].text.toStdString();
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}

TEST_F(BackupCopyTest, APageNamedLikeTheIndexBackupIsNeverOverwritten)
{
    const QString index = indirect("book.djvu", {"book.djvu.backup", "p2.djvu"});
    const QMap<QString, QByteArray> before =
        DjvuFixture::readFolder(QFileInfo(index).absolutePath());
    QString error;
    EXPECT_FALSE(BackupCopy::make(index, &error, djvused()));
    EXPECT_EQ(DjvuFixture::readFolder(QFileInfo(index).absolutePath()), before);
}

TEST_F(BackupCopyTest, AnOlderBackupOfTheSameSetIsReplaced)
{
    const QString index = indirect("index.djvu", {"p1.djvu", "p2.djvu"});
    const QString folder = QFileInfo(index).absolutePath();
    QString error;
    ASSERT_TRUE(DjvuFixture::writeAll(index + ".backup", "old"));
    ASSERT_TRUE(BackupCopy::make(index, &error, djvused())) << error.toStdString();
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(folder);
    for (const QString& name : QStringList{"index.djvu", "p1.djvu", "p2.djvu"})
        EXPECT_EQ(after.value(name + QStringLiteral(".backup")), after.value(name))
            << name.toStdString();
}

} // namespace
