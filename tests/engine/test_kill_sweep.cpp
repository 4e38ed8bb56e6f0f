// A writing run killed before any one of its file-system calls (rename, unlink, rmdir, mkdir,
// fsync, link): once the next run has read the book it is all as before or all as changed,
// no lock blocks that run, and after the next change nothing of the killed run is left.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "WritingCommands.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>

namespace {

struct Case
{
    int command;
    bool indirect;
};

std::string nameOf(const testing::TestParamInfo<Case>& info)
{
    return QString("%1_%2")
        .arg(WritingCommands::all()[info.param.command].name,
             info.param.indirect ? "indirect" : "bundled")
        .remove('-')
        .toStdString();
}

QList<Case> cases()
{
    QList<Case> list;
    for (int c = 0; c < int(WritingCommands::all().size()); ++c)
        list << Case{c, false} << Case{c, true};
    return list;
}

bool isBackup(const QString& name)
{
    static const QRegularExpression backup(QStringLiteral("\\.backup(\\.\\d+)?$"));
    return backup.match(name).hasMatch();
}

// The book's own files, by name.
QMap<QString, QByteArray> bookFiles(const QString& folder)
{
    QMap<QString, QByteArray> files = DjvuFixture::readFolder(folder);
    for (auto it = files.begin(); it != files.end();)
        it = it.key().startsWith('.') || isBackup(it.key()) ? files.erase(it) : std::next(it);
    return files;
}

// What is in the folder besides the book and its backups.
QStringList leftovers(const QString& folder, const QMap<QString, QByteArray>& book)
{
    QStringList left;
    for (const QString& name : DjvuFixture::readFolder(folder).keys())
        if (!book.contains(name) && !isBackup(name))
            left << name;
    return left;
}

void copyFolder(const QString& from, const QString& to)
{
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}

class KillSweep : public ::testing::TestWithParam<Case>
{
};

TEST_P(KillSweep, EveryKillPointLeavesTheBookWholeAndNothingBehind)
{
#ifndef TOCSMITH_KILL_SHIM
    GTEST_SKIP() << "the preload library is not built with the sanitizers";
#else
    const WritingCommand& command = WritingCommands::all()[GetParam().command];
    QTemporaryDir root;
    const QString original = root.filePath("original");
    const QString folder = root.filePath("book");
    const QString book = folder + "/book.djvu";
    ASSERT_TRUE(QDir(root.path()).mkpath("original") && QDir(root.path()).mkpath("inputs") &&
                QDir(root.path()).mkpath("tmp"));
    QString error;
    const QString built = original + "/book.djvu";
    ASSERT_TRUE(GetParam().indirect
                    ? DjvuFixture::buildIndirect(built, FixturePage::everyChangeBook(), &error)
                    : DjvuFixture::build(built, FixturePage::everyChangeBook(), &error))
        << error.toStdString();
    copyFolder(original, folder);
    const QStringList args = command.arguments(book, root.filePath("inputs"));
    const QMap<QString, QByteArray> before = bookFiles(folder);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", root.filePath("tmp"));
    ASSERT_EQ(runCli(args, env).status, 0);
    const QMap<QString, QByteArray> after = bookFiles(folder);
    ASSERT_NE(after, before);

    QProcessEnvironment killing = env;
    killing.insert("LD_PRELOAD", TOCSMITH_KILL_SHIM);
    int point = 1;
    for (;; ++point) {
        copyFolder(original, folder);
        killing.insert("TOCSMITH_KILL_AT", QString::number(point));
        const CliRun killed = runCli(args, killing);
        if (killed.status != -1) {
            EXPECT_EQ(killed.status, 0) << killed.err.toStdString();
            EXPECT_EQ(bookFiles(folder), after);
            break;
        }
        const CliRun read = runCli({"ocr-export", book}, env);
        EXPECT_EQ(read.status, 0) << "killed at call " << point << ": " << read.err.toStdString();
        const QMap<QString, QByteArray> now = bookFiles(folder);
        EXPECT_TRUE(now == before || now == after) << "killed at call " << point;
        const CliRun next = runCli(args, env);
        EXPECT_EQ(next.status, 0) << "killed at call " << point << ": " << next.err.toStdString();
        EXPECT_EQ(leftovers(folder, now), QStringList()) << "killed at call " << point;
        EXPECT_EQ(QDir(root.filePath("tmp"))
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList())
            << "killed at call " << point;
        ASSERT_LT(point, 500) << "the run never ends";
    }
    std::cout << command.name << (GetParam().indirect ? " indirect" : " bundled") << ": "
              << point - 1 << " kill points\n";
    RecordProperty("killPoints", point - 1);
#endif
}

INSTANTIATE_TEST_SUITE_P(EachCommand, KillSweep, ::testing::ValuesIn(cases()), nameOf);

} // namespace
