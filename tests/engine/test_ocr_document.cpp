#include "ocr/OcrDocument.h"
#include "ocr/OcrWordText.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

using Page = QList<QStringList>; // text lines, each with its words as the XML holds them

// A dump in the shape djvutoxml writes: one element per line.
QByteArray dumpOf(const QList<Page>& pages, const QByteArray& lineEnd = "\n")
{
    const QByteArray url = "file://localhost/tmp/book.djvu";
    QByteArray x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + lineEnd +
                   "<!DOCTYPE DjVuXML PUBLIC \"-//W3C//DTD DjVuXML 1.1//EN\" "
                   "\"pubtext/DjVuXML-s.dtd\">" +
                   lineEnd + "<DjVuXML>" + lineEnd + "<HEAD>" + url + "</HEAD>" + lineEnd +
                   "<BODY>" + lineEnd;
    int box = 1;
    for (int p = 0; p < pages.size(); ++p) {
        const QByteArray id = "p000" + QByteArray::number(p + 1) + ".djvu";
        x += "<OBJECT data=\"" + url +
             "\" type=\"image/x.djvu\" height=\"3508\" width=\"2480\" "
             "usemap=\"" +
             id + "\" >" + lineEnd;
        x += "<PARAM name=\"PAGE\" value=\"" + id + "\" />" + lineEnd;
        x += "    <HIDDENTEXT>" + lineEnd + "      <PAGECOLUMN>" + lineEnd + "        <REGION>" +
             lineEnd + "          <PARAGRAPH>" + lineEnd;
        for (const QStringList& line : pages[p]) {
            x += line.isEmpty() ? "            <LINE coords=\"1,2,3,4\">" + lineEnd
                                : "            <LINE>" + lineEnd;
            for (const QString& word : line) {
                x += "              <WORD coords=\"" + QByteArray::number(box) + "," +
                     QByteArray::number(box + 1) + "," + QByteArray::number(box + 2) + "," +
                     QByteArray::number(box + 3) + "\">" + word.toUtf8() + "</WORD>" + lineEnd;
                box += 10;
            }
            x += "            </LINE>" + lineEnd;
        }
        x += "          </PARAGRAPH>" + lineEnd + "        </REGION>" + lineEnd +
             "      </PAGECOLUMN>" + lineEnd + "    </HIDDENTEXT>" + lineEnd + "</OBJECT>" +
             lineEnd + "<MAP name=\"" + id + "\" >" + lineEnd +
             "<AREA coords=\"1,2,3,4\" shape=\"rect\" href=\"#p0001.djvu\" />" + lineEnd +
             "</MAP>" + lineEnd;
    }
    return x + "</BODY>" + lineEnd + "</DjVuXML>" + lineEnd;
}

OcrDocument load(const QList<Page>& pages)
{
    OcrDocument d;
    QString error;
    EXPECT_TRUE(d.setXml(dumpOf(pages), &error)) << error.toStdString();
    return d;
}

QStringList wordLines(const QByteArray& text)
{
    QStringList out;
    for (const QByteArray& line : text.split('\n'))
        if (line.contains("<WORD"))
            out << QString::fromUtf8(line).trimmed();
    return out;
}

bool wellFormed(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

// ---- Showing a page

TEST(OcrPageDisplay, ShowsOneLinePerTextLineWithSingleSpacesAndNoTrailingSpace)
{
    const OcrDocument d = load({{{"Глава", "1", "5"}, {"Введение", "7"}}});
    const OcrPageText page = d.page(1);
    EXPECT_EQ(page.lines, (QStringList{"Глава 1 5", "Введение 7"}));
    EXPECT_EQ(page.textLines(), 2);
    EXPECT_EQ(page.words, 5);
    EXPECT_EQ(page.separators(), (QList<int>{2, 1}));
}

TEST(OcrPageDisplay, TextLinesWithoutWordsKeepTheirOwnShownLineAnywhereOnThePage)
{
    const OcrDocument d = load({{{}, {"a", "b"}, {}, {"c"}, {}}});
    const OcrPageText page = d.page(1);
    EXPECT_EQ(page.lines, (QStringList{"", "a b", "", "c", ""}));
    EXPECT_EQ(page.textLines(), 5);
    EXPECT_EQ(page.words, 3);
    EXPECT_EQ(page.separators(), (QList<int>{0, 1, 0, 0, 0}));
}

TEST(OcrPageDisplay, APageWithoutWordsHasNothingToShow)
{
    const OcrDocument d = load({{{"x"}}, {}, {{}, {}}});
    EXPECT_EQ(d.pageCount(), 3);
    EXPECT_FALSE(d.page(2).hasWords());
    EXPECT_TRUE(d.page(2).lines.isEmpty());
    EXPECT_FALSE(d.page(3).hasWords());
    EXPECT_EQ(d.page(3).textLines(), 2);
}

TEST(OcrPageDisplay, ASinglePageDocumentIsOnePage)
{
    const OcrDocument d = load({{{"only", "page"}}});
    EXPECT_EQ(d.pageCount(), 1);
    EXPECT_EQ(d.page(1).lines, QStringList{"only page"});
}

TEST(OcrPageDisplay, ADumpWithoutPagesHasNone)
{
    OcrDocument d;
    QString error;
    ASSERT_TRUE(d.setXml("<?xml version=\"1.0\"?>\n<DjVuXML>\n</DjVuXML>\n", &error));
    EXPECT_EQ(d.pageCount(), 0);
    EXPECT_FALSE(d.page(1).hasWords());
}

TEST(OcrPageDisplay, CharacterReferencesShowAsTheirLettersAndUnicodeStaysWhole)
{
    const OcrDocument d = load(
        {{{"a&amp;b", "&lt;x&gt;", "&quot;&apos;", "&#x3b1;&#946;"}, {"číslo", "Ωμέγα", "😀"}}});
    EXPECT_EQ(d.page(1).lines, (QStringList{"a&b <x> \"' αβ", "číslo Ωμέγα 😀"}));
}

TEST(OcrPageDisplay, SpacesAndLineBreaksInsideAWordShowAsNoBreakSpaces)
{
    const OcrDocument d = load({{{"c d", "e&#10;f", "g"}}});
    const OcrPageText page = d.page(1);
    EXPECT_EQ(page.lines.first(), QString("c\u00a0d e\u00a0f g"));
    EXPECT_EQ(page.separators(), QList<int>{2});
}

TEST(OcrPageDisplay, CarriageReturnLineEndsAreReadLikeLineFeeds)
{
    OcrDocument d;
    QString error;
    ASSERT_TRUE(d.setXml(dumpOf({{{"abc", "def"}}}, "\r\n"), &error));
    EXPECT_EQ(d.page(1).lines, QStringList{"abc def"});
}

TEST(OcrPageDisplay, AWordLineWithoutAFourNumberBoxIsRefusedAtLoading)
{
    QByteArray xml = dumpOf({{{"abc"}}});
    xml.replace("coords=\"1,2,3,4\">abc", "coords=\"1,2,3\">abc");
    OcrDocument d;
    QString error;
    EXPECT_FALSE(d.setXml(xml, &error));
    EXPECT_TRUE(error.contains("Line 13")) << error.toStdString();
}

// A word line is rewritten whole on saving, so anything else on it would be lost: the page
// it opens, a second word, a text line.
TEST(OcrPageDisplay, AWordLineHoldingAnyOtherElementIsRefusedAtLoading)
{
    const QByteArray word = "<WORD coords=\"1,2,3,4\">abc</WORD>";
    const QList<QByteArray> crowded = {
        "<WORD coords=\"0,2,6,8\"><OBJECT data",
        word + " <WORD coords=\"5,6,7,8\">def</WORD>",
        "<LINE>" + word,
        word + "</LINE>",
        "&  " + word,
        word + "<OBJECT data=\"p2.djvu\">x</WORD>",
    };
    for (const QByteArray& line : crowded) {
        QByteArray xml = dumpOf({{{"abc"}}});
        xml.replace(word, line);
        OcrDocument d;
        QString error;
        EXPECT_FALSE(d.setXml(xml, &error)) << line.toStdString();
        EXPECT_TRUE(error.contains("Line 13")) << error.toStdString();
    }
    // Only the page's element is saved, so a word after it would never reach the document.
    OcrDocument d;
    QString error;
    EXPECT_FALSE(d.setXml("<WORDcoords=\"0,2,6,8\"><OBJECT data", &error));
    EXPECT_FALSE(
        d.setXml("<OBJECT data=\"x\">\n</OBJECT>\n<WORD coords=\"0,7,0,7\"></WORD>\n", &error));
    EXPECT_TRUE(error.contains("Line 3")) << error.toStdString();
    // A page's opening tag is rewritten on saving, so it too must stand alone on its line.
    for (const QByteArray& line : {QByteArray("<LINE><OBJECT data=\"x\">"),
                                   QByteArray("<OBJECT data=\"a<OBJECT data=\"b\">"),
                                   QByteArray("<OBJECT data=\"x\"> <WORD coords=\"1,2,3,4\">a"),
                                   QByteArray("<OBJECT data")}) {
        EXPECT_FALSE(d.setXml("<BODY>\n" + line + "\n</OBJECT>\n", &error)) << line.toStdString();
        EXPECT_TRUE(error.contains("Line 2")) << error.toStdString();
    }
}

// ---- Writing a page back

TEST(OcrWriteBack, LettersChangeAndEveryWordKeepsItsBox)
{
    OcrDocument d = load({{{"abc", "def"}, {"ghi"}}});
    const QStringList boxesBefore =
        wordLines(d.text()).replaceInStrings(QRegularExpression(">.*"), "");
    QString error;
    ASSERT_TRUE(d.writeBack(1, {"abx def", "GHI"}, &error)) << error.toStdString();
    const QStringList lines = wordLines(d.text());
    EXPECT_EQ(lines, (QStringList{"<WORD coords=\"1,2,3,4\">abx</WORD>",
                                  "<WORD coords=\"11,12,13,14\">def</WORD>",
                                  "<WORD coords=\"21,22,23,24\">GHI</WORD>"}));
    EXPECT_EQ(QStringList(lines).replaceInStrings(QRegularExpression(">.*"), ""), boxesBefore);
    EXPECT_EQ(d.page(1).lines, (QStringList{"abx def", "GHI"}));
}

TEST(OcrWriteBack, LeavingAPageUneditedRewritesItsWordLinesWithTheSameBoxesAndText)
{
    OcrDocument d = load({{{"abc", "def"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, d.page(1).lines, &error));
    const QByteArray text = d.text();
    EXPECT_TRUE(text.contains("\r\n           <WORD coords=\"1,2,3,4\">abc</WORD>\r\n"));
    EXPECT_FALSE(d.isModified());
    EXPECT_TRUE(d.changesXml("/tmp/book.djvu").isEmpty());
}

TEST(OcrWriteBack, AnEmptiedFirstWordStaysAnEmptyWordElement)
{
    OcrDocument d = load({{{"abc", "def"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, {" def"}, &error));
    EXPECT_EQ(wordLines(d.text()), (QStringList{"<WORD coords=\"1,2,3,4\"></WORD>",
                                                "<WORD coords=\"11,12,13,14\">def</WORD>"}));
}

TEST(OcrWriteBack, AMovedSpaceMovesLettersBetweenWordsButNotTheBoxes)
{
    OcrDocument d = load({{{"abc", "def"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, {"ab ef"}, &error));
    EXPECT_EQ(wordLines(d.text()), (QStringList{"<WORD coords=\"1,2,3,4\">ab</WORD>",
                                                "<WORD coords=\"11,12,13,14\">ef</WORD>"}));
}

TEST(OcrWriteBack, WordsOnPagesStartingAndEndingWithEmptyTextLinesStayOnTheirLines)
{
    OcrDocument d = load({{{}, {}, {"one", "two"}, {"three"}, {}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, {"", "", "ONE two", "three", ""}, &error)) << error.toStdString();
    EXPECT_EQ(d.page(1).lines, (QStringList{"", "", "ONE two", "three", ""}));
    EXPECT_EQ(wordLines(d.text()).size(), 3);
}

TEST(OcrWriteBack, TextThatDoesNotPairWithTheTextLinesIsRefusedAndChangesNothing)
{
    OcrDocument d = load({{{"abc", "def"}, {}, {"ghi"}}});
    const QByteArray before = d.text();
    QString error;
    EXPECT_FALSE(d.writeBack(1, {"abc def", "ghi"}, &error)); // a line lost
    EXPECT_TRUE(error.contains("3 text lines")) << error.toStdString();
    EXPECT_FALSE(d.writeBack(1, {"abc  def", "", "ghi"}, &error)); // an empty word
    EXPECT_TRUE(error.contains("line 1")) << error.toStdString();
    EXPECT_FALSE(d.writeBack(1, {"abc def", "x", "ghi"}, &error)); // text on a wordless line
    EXPECT_TRUE(error.contains("line 2")) << error.toStdString();
    EXPECT_FALSE(d.writeBack(1, {"abc def", "", "g h i"}, &error)); // a box too narrow for three
    EXPECT_TRUE(error.contains("line 3")) << error.toStdString();
    EXPECT_FALSE(d.writeBack(1, {"abc def", "\u2028", "ghi"}, &error));
    EXPECT_EQ(d.text(), before);
    EXPECT_FALSE(d.isModified());
}

TEST(OcrWriteBack, ReferencesAndTypedMarkupAreWrittenAsValidXml)
{
    OcrDocument d = load({{{"a&amp;b", "x"}, {"&lt;y&gt;"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, {"a&b <typed>", "<y>"}, &error));
    const QStringList lines = wordLines(d.text());
    EXPECT_EQ(lines[0], "<WORD coords=\"1,2,3,4\">a&amp;b</WORD>");
    EXPECT_EQ(lines[1], "<WORD coords=\"11,12,13,14\">&lt;typed&gt;</WORD>");
    EXPECT_EQ(lines[2], "<WORD coords=\"21,22,23,24\">&lt;y&gt;</WORD>");
    EXPECT_TRUE(wellFormed(d.text()));
    EXPECT_TRUE(wellFormed(d.changesXml("/tmp/a b.djvu")));
    EXPECT_EQ(d.changedPages(), QList<int>{1}); // only the typed word differs
}

TEST(OcrWriteBack, CzechGreekAndOtherLettersRoundTripUnchanged)
{
    OcrDocument d = load({{{"Příliš", "žluťoučký"}, {"Ελληνικά", "😀"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, {"Příliš žluťoučký", "Ελληνικά 😀"}, &error));
    EXPECT_FALSE(d.isModified());
    ASSERT_TRUE(d.writeBack(1, {"Přílišx žluťoučký", "Ελληνικό 😀"}, &error));
    EXPECT_TRUE(d.text().contains("Přílišx</WORD>"));
    EXPECT_TRUE(d.text().contains("Ελληνικό</WORD>"));
    EXPECT_FALSE(wordLines(d.text()).join("").contains('?'));
}

TEST(OcrWriteBack, AWordWithAnInnerSpaceKeepsItUnlessEdited)
{
    OcrDocument d = load({{{"c d", "e&#9;f"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, d.page(1).lines, &error));
    EXPECT_FALSE(d.isModified());
    EXPECT_EQ(wordLines(d.text())[0], "<WORD coords=\"1,2,3,4\">c d</WORD>");
    EXPECT_EQ(wordLines(d.text())[1], "<WORD coords=\"11,12,13,14\">e&#9;f</WORD>");
}

// ---- What a save hands on

TEST(OcrSaving, EditsOnPageTwoThenPageFiveAreBothSaved)
{
    OcrDocument d = load({{{"p1"}}, {{"p2", "x"}}, {{"p3"}}, {{"p4"}}, {{"p5", "y"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(2, {"P2 x"}, &error));
    ASSERT_TRUE(d.writeBack(5, {"p5 Y"}, &error));
    EXPECT_EQ(d.changedPages(), (QList<int>{2, 5}));
    const QByteArray text = d.text();
    EXPECT_TRUE(text.contains(">P2</WORD>"));
    EXPECT_TRUE(text.contains(">Y</WORD>"));
    EXPECT_EQ(d.page(2).lines, QStringList{"P2 x"}); // coming back shows the edit

    const QByteArray xml = d.changesXml("/work/Книга с пробелом & #1.djvu");
    EXPECT_EQ(xml.count("<OBJECT"), 2);
    EXPECT_TRUE(xml.contains("value=\"p0002.djvu\""));
    EXPECT_TRUE(xml.contains("value=\"p0005.djvu\""));
    EXPECT_FALSE(xml.contains("usemap"));
    EXPECT_FALSE(xml.contains("<MAP"));
    EXPECT_FALSE(xml.contains("book.djvu"));
    EXPECT_TRUE(
        xml.contains("data=\"file://localhost/work/"
                     "%D0%9A%D0%BD%D0%B8%D0%B3%D0%B0%20%D1%81%20"
                     "%D0%BF%D1%80%D0%BE%D0%B1%D0%B5%D0%BB%D0%BE%D0%BC%20%26%20%231.djvu\""));
    EXPECT_TRUE(xml.endsWith("</OBJECT>\r\n</BODY>\r\n</DjVuXML>\r\n"));
    EXPECT_TRUE(wellFormed(xml));
}

TEST(OcrSaving, SavingTwiceWithoutChangesGivesTheSameText)
{
    OcrDocument d = load({{{"abc", "def"}}, {{"ghi"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, {"abx def"}, &error));
    const QByteArray first = d.text();
    const QByteArray firstXml = d.changesXml("/tmp/b.djvu");
    ASSERT_TRUE(d.writeBack(1, d.page(1).lines, &error));
    EXPECT_EQ(d.text(), first);
    EXPECT_EQ(d.changesXml("/tmp/b.djvu"), firstXml);
    EXPECT_TRUE(first.endsWith("</DjVuXML>\r\n"));
}

TEST(OcrSaving, AfterASaveOnlyNewEditsCount)
{
    OcrDocument d = load({{{"abc"}}, {{"def"}}});
    QString error;
    ASSERT_TRUE(d.writeBack(1, {"ABC"}, &error));
    d.markSaved();
    EXPECT_FALSE(d.isModified());
    ASSERT_TRUE(d.writeBack(2, {"DEF"}, &error));
    EXPECT_EQ(d.changedPages(), QList<int>{2});
    ASSERT_TRUE(d.writeBack(2, {"def"}, &error)); // edited back: nothing to save
    EXPECT_FALSE(d.isModified());
}

TEST(OcrSaving, FileUrlsKeepSpacesAndLettersOfAnyScript)
{
    EXPECT_EQ(OcrDocument::fileUrl("/a b/č#%.djvu"), "file://localhost/a%20b/%C4%8D%23%25.djvu");
    EXPECT_EQ(OcrDocument::fileUrl("C:/x y/a.djvu"), "file://localhost/C:/x%20y/a.djvu");
}

TEST(OcrWordTextTest, EncodingEscapesMarkupAndControlCharacters)
{
    EXPECT_EQ(OcrWordText::encode("a&b<c>\"d\t"), "a&amp;b&lt;c&gt;\"d&#9;");
    EXPECT_EQ(OcrWordText::decode("&unknown; & &#xZZ;"), "&unknown; & &#xZZ;");
    EXPECT_EQ(OcrWordText::decode("&#128512;"), "😀");
}

// Every character the encoder writes as a reference reads back as itself, U+0000 included,
// so a page left as it was never counts as changed.
TEST(OcrWordTextTest, EveryControlCharacterRoundTripsAndLeavesItsPageUnchanged)
{
    for (char16_t c = 0; c < 0x20; ++c) {
        const QString word = QStringLiteral("a") + QChar(c) + QStringLiteral("b");
        EXPECT_EQ(OcrWordText::decode(OcrWordText::encode(word)), word) << int(c);
    }
    OcrDocument d;
    QString error;
    ASSERT_TRUE(d.setXml(
        QByteArray("<OBJECT data=\"x\">\n<WORD coords=\"3,2,6,4\">\0</WORD>\n", 51), &error));
    ASSERT_TRUE(d.writeBack(1, d.page(1).lines, &error));
    EXPECT_FALSE(d.isModified());
}

} // namespace
