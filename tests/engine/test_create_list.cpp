#include "jobs/CreateList.h"
#include "jobs/FixList.h"
#include "jobs/JobPath.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QStringList parameters(const QString& fill)
{
    return QStringList(CreateRow::kColumnCount - 1, fill);
}

TEST(JobPath, SplitsIntoAFolderEndingInTheSeparatorAndABareFileName)
{
    QString folder;
    QString name;
    JobPath::split(QStringLiteral("/home/a b/Книги/Book.DJVU"), &folder, &name);
    EXPECT_EQ(folder, QDir::toNativeSeparators(QStringLiteral("/home/a b/Книги/")));
    EXPECT_EQ(name, QStringLiteral("Book.DJVU"));
    EXPECT_TRUE(folder.endsWith(QDir::separator()));
    EXPECT_FALSE(name.contains(QDir::separator()));
}

TEST(JobPath, WholeNumbersAreSignedDecimalsThatFit32Bits)
{
    for (const char* ok : {"0", "12", "-5", "+7", "2147483647", "-2147483648"})
        EXPECT_TRUE(JobPath::isWholeNumber(QString::fromLatin1(ok))) << ok;
    for (const char* bad : {"", "-", "1,5", "12a", " 1", "0x1F", "2147483648", "1.0"})
        EXPECT_FALSE(JobPath::isWholeNumber(QString::fromLatin1(bad))) << bad;
}

TEST(JobPath, DjvuNamesAreRecognisedWithoutRegardToCase)
{
    EXPECT_TRUE(JobPath::isDjvuName(QStringLiteral("/x/Book.DJVU")));
    EXPECT_TRUE(JobPath::isDjvuName(QStringLiteral("/x/a.Djv")));
    EXPECT_FALSE(JobPath::isDjvuName(QStringLiteral("/x/a.djvu.txt")));
    EXPECT_FALSE(JobPath::isDjvuName(QStringLiteral("/x.djvu/readme")));
    EXPECT_FALSE(JobPath::isDjvuName(QStringLiteral("/x/djvu")));
}

TEST(CreateList, ARowHasItsFolderAsCaptionAndThirtyColumns)
{
    CreateList list;
    list.append(QStringLiteral("/books/A.djvu"), parameters(QStringLiteral("p")));
    ASSERT_EQ(list.count(), 1);
    const CreateRow& row = list.at(0);
    EXPECT_EQ(row.columns.size(), CreateRow::kColumnCount);
    EXPECT_EQ(row.columns[0], QStringLiteral("A.djvu"));
    EXPECT_EQ(row.columns[29], QStringLiteral("p"));
    EXPECT_EQ(row.columns[CreateColumn::Outline], QStringLiteral("p"));
    EXPECT_EQ(row.fullPath(), QDir::toNativeSeparators(QStringLiteral("/books/A.djvu")));
    // The table shows the caption first, then the columns.
    EXPECT_EQ(list.columnCount(), 35); // the outline, reading and recognition columns came last
    EXPECT_EQ(list.data(list.index(0, 1)).toString(), QStringLiteral("A.djvu"));
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Путь"));
    EXPECT_EQ(list.headerData(13, Qt::Horizontal).toString(), QStringLiteral("del2"));
    EXPECT_EQ(list.headerData(14, Qt::Horizontal).toString(), QString());
}

TEST(CreateList, ChangesGoToTheSelectedRowElseTheLastAndNowhereWhenEmpty)
{
    CreateList list;
    EXPECT_EQ(list.targetIndex(), -1);
    EXPECT_FALSE(list.store(1, QStringLiteral("9")));

    list.append(QStringLiteral("/b/A.djvu"), parameters(QStringLiteral("0")));
    list.append(QStringLiteral("/b/B.djvu"), parameters(QStringLiteral("0")));
    EXPECT_TRUE(list.store(1, QStringLiteral("7")));
    EXPECT_EQ(list.at(1).columns[1], QStringLiteral("7"));
    EXPECT_EQ(list.at(0).columns[1], QStringLiteral("0"));

    list.setSelected(0);
    list.store(1, QStringLiteral("3"));
    EXPECT_EQ(list.at(0).columns[1], QStringLiteral("3"));
    EXPECT_EQ(list.at(1).columns[1], QStringLiteral("7"));
}

TEST(CreateList, NumberFieldsStoreOnlyWholeNumbersAsTyped)
{
    CreateList list;
    list.append(QStringLiteral("/b/A.djvu"), parameters(QStringLiteral("1")));
    EXPECT_FALSE(list.storeNumber(24, QStringLiteral("12a")));
    EXPECT_EQ(list.at(0).columns[24], QStringLiteral("1"));
    EXPECT_TRUE(list.storeNumber(24, QStringLiteral("+12")));
    EXPECT_EQ(list.at(0).columns[24], QStringLiteral("+12"));
    EXPECT_TRUE(list.storeNumber(24, QStringLiteral("-3")));
    EXPECT_EQ(list.at(0).columns[24], QStringLiteral("-3"));
}

TEST(CreateList, RemovingARowKeepsTheSelectionOnTheSameRow)
{
    CreateList list;
    for (const char* name : {"/b/A.djvu", "/b/B.djvu", "/b/C.djvu"})
        list.append(QString::fromLatin1(name), parameters(QStringLiteral("0")));
    list.setSelected(2);
    list.removeAt(0);
    EXPECT_EQ(list.selected(), 1);
    EXPECT_EQ(list.at(list.selected()).columns[0], QStringLiteral("C.djvu"));
    list.removeAt(1);
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(list.targetIndex(), 0);
    list.clear();
    EXPECT_EQ(list.targetIndex(), -1);
}

TEST(CreateList, EveryStoreIsAnnouncedForItsCell)
{
    CreateList list;
    list.append(QStringLiteral("/b/A.djvu"), parameters(QStringLiteral("0")));
    QList<int> columns;
    QObject::connect(&list, &QAbstractItemModel::dataChanged,
                     [&columns](const QModelIndex& from) { columns << from.column(); });
    list.store(6, QStringLiteral("1"));
    EXPECT_EQ(columns, QList<int>{7});
}

TEST(FixList, KeepsRowsInOrderWithDuplicates)
{
    FixList list;
    list.append(QStringLiteral("/b/A.djvu"));
    list.append(QStringLiteral("/b/A.djvu"));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(1).fileName, QStringLiteral("A.djvu"));
    EXPECT_TRUE(list.at(1).folder.endsWith(QDir::separator()));
    EXPECT_TRUE(list.setHeaderData(1, Qt::Horizontal, QStringLiteral("File")));
    EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), QStringLiteral("File"));
}

} // namespace
