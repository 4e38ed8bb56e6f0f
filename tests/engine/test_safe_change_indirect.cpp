// Changing an indirect document: the index and its page files are swapped as one set,
// or not at all.
#include "CliRun.h"
#include "DjvuFixture.h"
#include "djvu/BookGuard.h"
#include "djvu/IndirectDocument.h"
#include "djvu/SafeChange.h"
#include "djvu/ToolRunner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

class IndirectChangeTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString folder;
    QString index;
    QMap<QString, QByteArray> before;

    void SetUp() override
    {
        folder = dir.filePath("Книга с пробелом");
        index = QDir(folder).filePath("оглавление книги.djvu");
        QList<FixturePage> pages(3);
        pages[0].id = "стр 1.djvu";
        pages[0].lines << FixtureLine::layout(200, 3000, {"Глава", "1", "5"});
        pages[1].lines << FixtureLine::layout(200, 3000, {"Body"});
        pages[2].title = "Last";
        QString error;
        ASSERT_TRUE(DjvuFixture::buildIndirect(index, pages, &error)) << s(error);
        ASSERT_TRUE(IndirectDocument::isIndirect(index));
        before = DjvuFixture::readFolder(folder);
        ASSERT_EQ(before.keys(),
                  (QStringList{"p0002.djvu", "p0003.djvu", "оглавление книги.djvu", "стр 1.djvu"}));
    }
    void TearDown() override { SafeChange::setRenameFilterForTests({}); }

    QString file(const QString& name) const { return QDir(folder).filePath(name); }

    // Changes the set with the script, and kills the process that commits the change at the
    // first step `dies` picks (a rename, or with an empty `to` the removal of an original
    // after the swap). Returns what the set would have been after the change.
    QMap<QString, QByteArray>
    dieDuring(const QString& script,
              const std::function<bool(const QString&, const QString&)>& dies)
    {
        GTEST_FLAG_SET(death_test_style, "fast"); // the child must share this test's files
        SafeChange change(index);
        QString error;
        EXPECT_TRUE(change.prepare(&error)) << s(error);
        EXPECT_TRUE(DjvuFixture::applyScript(change.workingCopy(), script, &error)) << s(error);
        QMap<QString, QByteArray> changed = DjvuFixture::readFolder(change.workingFolder());
        changed.remove(".tocsmith-lock");
        EXPECT_EXIT(
            {
                SafeChange::setRenameFilterForTests([&](const QString& from, const QString& to) {
                    if (dies(from, to))
                        std::_Exit(7);
                    return true;
                });
                change.commit(&error);
                std::_Exit(0);
            },
            ::testing::ExitedWithCode(7), "");
        return changed;
    }
    // Dies with the pages in and the index set aside, the new index not yet in.
    void dieMidSwap()
    {
        dieDuring("select 2\nremove-txt\nset-page-title \"Two\"\n", [this](const QString& from,
                                                                           const QString& to) {
            return to == index && QFileInfo(from).fileName() == QFileInfo(to).fileName() &&
                   !from.contains("/originals/");
        });
    }
};

TEST_F(IndirectChangeTest, TheIndexAndItsPagesAreCopiedAndOnlyChangedFilesAreSwappedIn)
{
    SafeChange change(index);
    QString error;
    ASSERT_TRUE(change.prepare(&error)) << s(error);
    EXPECT_TRUE(change.isIndirect());
    EXPECT_EQ(QFileInfo(change.workingCopy()).fileName(), QFileInfo(index).fileName());
    EXPECT_EQ(QFileInfo(change.workingCopy()).absolutePath(), change.workingFolder());
    QStringList components = change.components();
    components.sort();
    EXPECT_EQ(components, (QStringList{"p0002.djvu", "p0003.djvu", "стр 1.djvu"}));
    for (const QString& name : components)
        EXPECT_EQ(DjvuFixture::readAll(QDir(change.workingFolder()).filePath(name)), before[name]);

    ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(), "select 2\nremove-txt\n", &error))
        << s(error);
    ASSERT_TRUE(change.commit(&error)) << s(error);

    EXPECT_EQ(DjvuFixture::djvused(index, "select 2; output-txt"), QString());
    EXPECT_TRUE(DjvuFixture::djvused(index, "select 1; output-txt").contains("\\320\\223"));
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(folder);
    EXPECT_EQ(after.keys(), before.keys()); // nothing left behind
    EXPECT_NE(after["p0002.djvu"], before["p0002.djvu"]);
    EXPECT_EQ(after["стр 1.djvu"], before["стр 1.djvu"]);
    EXPECT_EQ(after["p0003.djvu"], before["p0003.djvu"]);
    EXPECT_TRUE(DjvuFixture::djvused(index, "ls").contains("T=Last"));
}

TEST_F(IndirectChangeTest, AFileTheToolAddsIsMovedInBesideTheIndex)
{
    SafeChange change(index);
    QString error;
    ASSERT_TRUE(change.prepare(&error)) << s(error);
    ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(),
                                         "create-shared-ant\nset-ant\n"
                                         "(maparea \"http://x.org\" \"\" (rect 1 1 5 5))\n.\n",
                                         &error))
        << s(error);
    ASSERT_TRUE(change.commit(&error)) << s(error);
    const QMap<QString, QByteArray> after = DjvuFixture::readFolder(folder);
    EXPECT_EQ(after.size(), before.size() + 1) << s(QStringList(after.keys()).join(", "));
    EXPECT_TRUE(after.contains("shared_anno.iff"));
    EXPECT_TRUE(DjvuFixture::djvused(index, "ls").contains("shared_anno.iff"));
    EXPECT_NE(after["p0002.djvu"], before["p0002.djvu"]); // every page now includes it
    EXPECT_TRUE(DjvuFixture::djvused(index, "output-ant").contains("http://x.org"));

    SafeChange next(index); // the added file now belongs to the set
    ASSERT_TRUE(next.prepare(&error)) << s(error);
    EXPECT_TRUE(next.components().contains("shared_anno.iff"));
}

TEST_F(IndirectChangeTest, TheRunnersDjvusedListsTheFilesAndItsFailureIsRefused)
{
    QTemporaryDir exe;
    QDir(exe.path()).mkpath("bin");
    QFile fake(QDir(exe.path()).filePath("bin/djvused"));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("#!/bin/sh\necho 'cannot read the directory' >&2\nexit 1\n");
    fake.close();
    fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ToolRunner tools(exe.path(), dir.path(), nullptr);

    SafeChange change(index, &tools);
    QString error;
    EXPECT_FALSE(change.prepare(&error));
    EXPECT_TRUE(error.contains("cannot read the directory")) << s(error);
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}

TEST_F(IndirectChangeTest, ATruncatedPageFileLeavesTheWholeSetByteForByte)
{
    {
        SafeChange change(index);
        QString error;
        ASSERT_TRUE(change.prepare(&error)) << s(error);
        ASSERT_TRUE(
            DjvuFixture::applyScript(change.workingCopy(), "select 1\nremove-txt\n", &error));
        QFile page(QDir(change.workingFolder()).filePath("стр 1.djvu"));
        ASSERT_TRUE(page.resize(page.size() / 2));
        EXPECT_FALSE(change.commit(&error));
        EXPECT_TRUE(error.contains("incomplete")) << s(error);
        EXPECT_EQ(DjvuFixture::readFolder(folder).size(), before.size() + 1); // the copies
    }
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}

TEST_F(IndirectChangeTest, AFailedRenameMidwayPutsEveryOriginalBack)
{
    // The index goes last: refusing its rename fails the swap after a page file is in.
    QStringList renames;
    SafeChange change(index);
    QString error;
    ASSERT_TRUE(change.prepare(&error)) << s(error);
    ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(),
                                         "select 2\nremove-txt\nset-page-title \"Two\"\n", &error))
        << s(error);
    SafeChange::setRenameFilterForTests([&](const QString& from, const QString& to) {
        renames << QFileInfo(from).fileName() + " -> " + QFileInfo(to).fileName();
        // Refuses only moving the changed index copy in; the restores go through.
        return !(to == index && QFileInfo(from).absolutePath() == change.workingFolder());
    });
    EXPECT_FALSE(change.commit(&error));
    EXPECT_TRUE(error.contains("left as it was")) << s(error);
    // page aside, page in, index aside, index in (refused), index back, page back
    EXPECT_EQ(renames.size(), 6) << s(renames.join("; "));
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
    EXPECT_FALSE(change.commit(&error)); // nothing half-swapped is left to commit
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}

TEST_F(IndirectChangeTest, AnOriginalThatCannotBePutBackIsKeptAndNamed)
{
    SafeChange change(index);
    QString error;
    ASSERT_TRUE(change.prepare(&error)) << s(error);
    ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(),
                                         "select 2\nremove-txt\nset-page-title \"Two\"\n", &error));
    const QString work = change.workingFolder();
    SafeChange::setRenameFilterForTests([&](const QString& from, const QString& to) {
        const bool placingIndex = to == index && QFileInfo(from).absolutePath() == work;
        const bool restoringPage =
            to == file("p0002.djvu") && QFileInfo(from).absolutePath() != work;
        return !placingIndex && !restoringPage;
    });
    EXPECT_FALSE(change.commit(&error));
    EXPECT_TRUE(error.contains("p0002.djvu") && error.contains("kept in")) << s(error);
    const QString kept = error.section("kept in ", 1).chopped(1);
    EXPECT_EQ(DjvuFixture::readAll(QDir(kept).filePath("p0002.djvu")), before["p0002.djvu"]);
    EXPECT_EQ(DjvuFixture::readAll(index), before[QFileInfo(index).fileName()]);
}

TEST_F(IndirectChangeTest, ASwapCutShortByADeadProcessIsUndoneByTheNextChange)
{
    GTEST_FLAG_SET(death_test_style, "fast"); // the child must share this test's files
    {
        SafeChange change(index);
        QString error;
        ASSERT_TRUE(change.prepare(&error)) << s(error);
        ASSERT_TRUE(DjvuFixture::applyScript(
            change.workingCopy(),
            "create-shared-ant\nset-ant\n(maparea \"http://x.org\" \"\" (rect 1 1 5 5))\n.\n"
            "select 2\nremove-txt\n",
            &error));
        const QString work = change.workingFolder();
        // Dies with the added file and the changed pages in and the index set aside, the new
        // index not yet in.
        EXPECT_EXIT(
            {
                SafeChange::setRenameFilterForTests([&](const QString& from, const QString& to) {
                    if (to == index && QFileInfo(from).absolutePath() == work)
                        std::_Exit(7);
                    return true;
                });
                change.commit(&error);
                std::_Exit(0);
            },
            ::testing::ExitedWithCode(7), "");
    }
    ASSERT_FALSE(QFileInfo::exists(index)); // the book is unreadable as the crash left it
    EXPECT_TRUE(QFileInfo::exists(file("shared_anno.iff")));
    EXPECT_NE(DjvuFixture::readAll(file("p0002.djvu")), before["p0002.djvu"]);

    SafeChange next(index);
    QString error;
    EXPECT_FALSE(next.prepare(&error));
    EXPECT_TRUE(error.contains("interrupted") && error.contains("run the job again")) << s(error);
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);

    SafeChange again(index);
    EXPECT_TRUE(again.prepare(&error)) << s(error);
}

TEST_F(IndirectChangeTest, ALiveSwapAndAnotherDocumentsSwapAreLeftAlone)
{
    // Journals as a swap writes them: one held by a live owner, one of another index.
    const auto journal = [&](const QString& folderName, const QByteArray& indexLine) {
        QDir(folder).mkpath(folderName + "/originals");
        QFile f(QDir(folder).filePath(folderName + "/journal"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(indexLine + "\nreplace p0002.djvu\nadd new.djvu\n");
        DjvuFixture::writeAll(QDir(folder).filePath(folderName + "/originals/p0002.djvu"), "old");
    };
    journal(".tocsmith-live", "index " + QUrl::toPercentEncoding(QFileInfo(index).fileName()));
    journal(".tocsmith-other", "index other.djvu");
    QLockFile owner(QDir(folder).filePath(".tocsmith-live/lock"));
    ASSERT_TRUE(owner.tryLock(0));
    const QMap<QString, QByteArray> withJournals = DjvuFixture::readFolder(folder);

    SafeChange change(index);
    QString error;
    EXPECT_TRUE(change.prepare(&error)) << s(error);
    QMap<QString, QByteArray> now = DjvuFixture::readFolder(folder);
    now.remove(QFileInfo(change.workingFolder()).fileName());
    EXPECT_EQ(now, withJournals);
}

TEST_F(IndirectChangeTest, AReadOnlyOrMissingPageFileIsRefusedBeforeAnyCopy)
{
    QFile::setPermissions(file("p0003.djvu"), QFile::ReadOwner | QFile::ReadGroup);
    {
        SafeChange change(index);
        QString error;
        EXPECT_FALSE(change.prepare(&error));
        EXPECT_TRUE(error.contains("read-only") && error.contains("p0003.djvu")) << s(error);
    }
    QFile::setPermissions(file("p0003.djvu"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);

    ASSERT_TRUE(QFile::rename(file("p0003.djvu"), dir.filePath("p0003.djvu")));
    SafeChange change(index);
    QString error;
    EXPECT_FALSE(change.prepare(&error));
    EXPECT_TRUE(error.contains("p0003.djvu")) << s(error);
    EXPECT_EQ(DjvuFixture::readFolder(folder).size(), before.size() - 1);
}

TEST_F(IndirectChangeTest, EveryCommandPutsAnInterruptedSwapBackBeforeItReadsTheBook)
{
    // The fix command, and the OCR export (which reads through djvutoxml).
    dieMidSwap();
    ASSERT_FALSE(QFileInfo::exists(index));
    CliRun run = runCli({"fix", "--no-backup", index});
    EXPECT_EQ(run.status, 0) << s(run.err);
    EXPECT_TRUE((run.out + run.err).contains("was interrupted")) << s(run.out + run.err);
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);

    dieMidSwap();
    ASSERT_FALSE(QFileInfo::exists(index));
    run = runCli({"ocr-export", index});
    EXPECT_EQ(run.status, 0) << s(run.err);
    EXPECT_TRUE(run.out.contains("Глава")) << s(run.out);
    EXPECT_EQ(DjvuFixture::readFolder(folder), before);
}

TEST_F(IndirectChangeTest, AKillDuringTheCleanUpLeavesTheChangeWholeAndTheNextRunFinishesIt)
{
    // Three files change (the index and two pages); the kill comes as the second original
    // set aside is removed, the change being complete.
    int removals = 0;
    const QMap<QString, QByteArray> changed = dieDuring(
        "select 1\nremove-txt\nselect 2\nremove-txt\nset-page-title \"Two\"\n",
        [&](const QString&, const QString& to) { return to.isEmpty() && ++removals == 2; });
    QMap<QString, QByteArray> after = before;
    for (auto it = after.begin(); it != after.end(); ++it)
        it.value() = changed.value(it.key());
    ASSERT_NE(after, before);

    SafeChange next(index);
    QString error;
    EXPECT_TRUE(next.prepare(&error)) << s(error); // the book is whole: the change goes on
    EXPECT_FALSE(error.contains("put back")) << s(error);
    QMap<QString, QByteArray> now = DjvuFixture::readFolder(folder);
    now.remove(QFileInfo(next.workingFolder()).fileName());
    EXPECT_EQ(now, after); // every file new, and nothing of the swap left
    EXPECT_EQ(DjvuFixture::djvused(index, "select 1; output-txt"), QString());
}

TEST_F(IndirectChangeTest, AJournalThatCannotProveItsFilesTouchesNone)
{
    DjvuFixture::writeAll(file("notes.txt"), "the user's own notes");
    const QByteArray indexLine = "index " + QUrl::toPercentEncoding(QFileInfo(index).fileName());
    const auto sha = [](const QByteArray& bytes) {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    };
    const QByteArray junk = "not the page";
    const QByteArray size = QByteArray::number(before["p0002.djvu"].size());
    // As an older swap wrote it, with no sizes or hashes; and in today's form, where the
    // page could be proven but the other file is not what the journal says it made.
    const QList<QByteArray> journals = {indexLine + "\nreplace p0002.djvu\nadd notes.txt\n",
                                        indexLine + "\nreplace p0002.djvu " +
                                            QByteArray::number(junk.size()) + ' ' + sha(junk) +
                                            ' ' + size + ' ' + sha(before["p0002.djvu"]) +
                                            "\nadd notes.txt 5 " + sha("notes") + "\n"};
    for (const QByteArray& text : journals) {
        const QString planted = file(".tocsmith-shipped");
        ASSERT_TRUE(QDir(planted).mkpath("originals"));
        DjvuFixture::writeAll(planted + "/journal", text);
        DjvuFixture::writeAll(planted + "/originals/p0002.djvu", junk);
        const QMap<QString, QByteArray> all = DjvuFixture::readFolder(folder);

        SafeChange change(index);
        QString error;
        EXPECT_FALSE(change.prepare(&error));
        EXPECT_TRUE(error.contains(".tocsmith-shipped") && error.contains("no file was touched"))
            << s(error);
        EXPECT_EQ(DjvuFixture::readFolder(folder), all);
        EXPECT_EQ(DjvuFixture::readAll(planted + "/originals/p0002.djvu"), junk);
        EXPECT_EQ(DjvuFixture::readAll(planted + "/journal"), text);
        QDir(planted).removeRecursively();
    }
}

TEST_F(IndirectChangeTest, APageChangedByAnotherProgramSinceTheReadIsNotOverwritten)
{
    QTemporaryDir exe;
    ToolRunner tools(exe.path(), dir.path(), nullptr);
    BookGuard guard(index, &tools);
    QString error;
    ASSERT_TRUE(guard.open(&error)) << s(error);
    SafeChange change(index, &tools, &guard);
    ASSERT_TRUE(change.prepare(&error)) << s(error);
    ASSERT_TRUE(DjvuFixture::applyScript(change.workingCopy(), "select 2\nremove-txt\n", &error));
    // Meanwhile another program rewrites a page this change leaves alone.
    ASSERT_TRUE(DjvuFixture::applyScript(file("стр 1.djvu"), "remove-txt\n", &error)) << s(error);
    QMap<QString, QByteArray> theirs = DjvuFixture::readFolder(folder);
    theirs.remove(QFileInfo(change.workingFolder()).fileName());
    ASSERT_EQ(theirs[QFileInfo(index).fileName()], before[QFileInfo(index).fileName()]);
    ASSERT_NE(theirs["стр 1.djvu"], before["стр 1.djvu"]);

    EXPECT_FALSE(change.commit(&error));
    EXPECT_TRUE(error.contains("стр 1.djvu") && error.contains("another program")) << s(error);
    QMap<QString, QByteArray> now = DjvuFixture::readFolder(folder);
    now.remove(QFileInfo(change.workingFolder()).fileName());
    EXPECT_EQ(now, theirs);
}

TEST(IndirectListing, EveryReadingOfAListedNameIsACandidate)
{
    EXPECT_EQ(IndirectDocument::candidateNames("a.djvu"), QStringList{"a.djvu"});
    EXPECT_EQ(IndirectDocument::candidateNames("a b.djvu T=Title one"),
              (QStringList{"a b.djvu", "a b.djvu T=Title one"}));
    EXPECT_EQ(
        IndirectDocument::candidateNames("id F=name.djvu T=t"),
        (QStringList{"id", "id F=name.djvu", "id F=name.djvu T=t", "name.djvu", "name.djvu T=t"}));
}

TEST(IndirectListing, BundledAndSinglePageDocumentsAreNotIndirect)
{
    QTemporaryDir dir;
    QString error;
    const QString bundled = dir.filePath("b.djvu");
    const QString single = dir.filePath("s.djvu");
    ASSERT_TRUE(DjvuFixture::build(bundled, {FixturePage{}, FixturePage{}}, &error));
    ASSERT_TRUE(DjvuFixture::build(single, {FixturePage{}}, &error, true));
    EXPECT_FALSE(IndirectDocument::isIndirect(bundled));
    EXPECT_FALSE(IndirectDocument::isIndirect(single));
    EXPECT_FALSE(IndirectDocument::isIndirect(dir.filePath("none.djvu")));
}

} // namespace
