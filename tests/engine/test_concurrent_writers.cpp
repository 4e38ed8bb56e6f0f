// Two writing runs on one book at once: both changes stand, or one run failed and the book
// is as the other left it. TOCSMITH_CONCURRENT_ROUNDS sets the rounds per pair (default 2;
// scripts/concurrent-writers.sh runs 20).
#include "CliRun.h"
#include "DjvuFixture.h"
#include "WritingCommands.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>

namespace {

struct Pair
{
    int first;
    int second;
    bool indirect;
};

std::string nameOf(const testing::TestParamInfo<Pair>& info)
{
    const auto& all = WritingCommands::all();
    QString name = QString("%1_%2_%3")
                       .arg(all[info.param.first].name, all[info.param.second].name,
                            info.param.indirect ? "indirect" : "bundled");
    return name.remove('-').toStdString();
}

QList<Pair> pairs()
{
    QList<Pair> list;
    const int n = int(WritingCommands::all().size());
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            for (bool indirect : {false, true})
                list << Pair{a, b, indirect};
    return list;
}

class ConcurrentWriters : public ::testing::TestWithParam<Pair>
{
};

TEST_P(ConcurrentWriters, NoChangeIsLost)
{
    const WritingCommand& a = WritingCommands::all()[GetParam().first];
    const WritingCommand& b = WritingCommands::all()[GetParam().second];
    const int rounds = qEnvironmentVariableIntValue("TOCSMITH_CONCURRENT_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("TOCSMITH_CONCURRENT_ROUNDS")
                           : 2;
    int bothDone = 0;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkpath("book") && QDir(dir.path()).mkpath("inputs"));
        const QString book = dir.filePath("book/book.djvu");
        QString error;
        ASSERT_TRUE(GetParam().indirect
                        ? DjvuFixture::buildIndirect(book, FixturePage::everyChangeBook(), &error)
                        : DjvuFixture::build(book, FixturePage::everyChangeBook(), &error))
            << error.toStdString();
        const QStringList argsA = a.arguments(book, dir.filePath("inputs"));
        const QStringList argsB = b.arguments(book, dir.filePath("inputs"));
        QProcess runA;
        QProcess runB;
        runA.start(TOCSMITH_OUT_DIR "/tocsmith-cli", argsA);
        runB.start(TOCSMITH_OUT_DIR "/tocsmith-cli", argsB);
        ASSERT_TRUE(runA.waitForFinished(-1) && runB.waitForFinished(-1));
        const bool doneA = runA.exitStatus() == QProcess::NormalExit && runA.exitCode() == 0;
        const bool doneB = runB.exitStatus() == QProcess::NormalExit && runB.exitCode() == 0;
        ASSERT_TRUE(doneA || doneB) << runA.readAllStandardError().toStdString()
                                    << runB.readAllStandardError().toStdString();
        EXPECT_EQ(a.present(book), doneA)
            << "round " << round << ": " << a.name << " exit " << runA.exitCode() << ", " << b.name
            << " exit " << runB.exitCode();
        EXPECT_EQ(b.present(book), doneB)
            << "round " << round << ": " << a.name << " exit " << runA.exitCode() << ", " << b.name
            << " exit " << runB.exitCode();
        bothDone += doneA && doneB;
    }
    std::cout << "pair " << nameOf({GetParam(), 0}) << ": " << rounds
              << " rounds, both changes kept in " << bothDone << ", one run refused in "
              << rounds - bothDone << "\n";
}

INSTANTIATE_TEST_SUITE_P(EachPair, ConcurrentWriters, ::testing::ValuesIn(pairs()), nameOf);

} // namespace
