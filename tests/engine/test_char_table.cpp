#include "DjvuFixture.h"
#include "base/CharTable.h"
#include "base/Cp1251.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string s(const QString& text)
{
    return text.toStdString();
}

// Undoes the C escapes of a quoted djvused string (without its quotes) into bytes.
QByteArray unescapeC(const QString& quoted)
{
    QByteArray out;
    const QByteArray in = quoted.toUtf8();
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c != '\\' || i + 1 >= in.size()) {
            out += c;
            continue;
        }
        const char e = in[++i];
        if (e >= '0' && e <= '7') {
            int value = 0;
            int digits = 0;
            while (digits < 3 && i < in.size() && in[i] >= '0' && in[i] <= '7') {
                value = value * 8 + (in[i] - '0');
                ++i;
                ++digits;
            }
            --i;
            out += char(value);
            continue;
        }
        static const QByteArray from = "abfnrtv";
        static const QByteArray to = "\a\b\f\n\r\t\v";
        const qsizetype k = from.indexOf(e);
        out += k >= 0 ? to[k] : e;
    }
    return out;
}

// The comments of every maparea in an output-ant dump, in order, decoded.
QStringList commentsOf(const QString& dump)
{
    static const QRegularExpression area(
        QStringLiteral(R"re(\(maparea "(?:[^"\\]|\\.)*" "((?:[^"\\]|\\.)*)")re"));
    QStringList comments;
    auto it = area.globalMatch(dump);
    while (it.hasNext())
        comments << QString::fromUtf8(unescapeC(it.next().captured(1)));
    return comments;
}

// What escaping keeps of a text: every character but those the table drops.
QString withoutDropped(const QString& text)
{
    QString out;
    for (QChar c : text)
        if (!QStringLiteral("\t\n\v\f\r").contains(c) && c != QChar(0xA0) && c != QChar(0xAD) &&
            c != QChar(0))
            out += c;
    return out;
}

// True when the text can stand between double quotes in a djvused script line.
bool safeBetweenQuotes(const QString& escaped)
{
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char16_t c = escaped[i].unicode();
        if (c < 32 || c > 126)
            return false;
        if (c == '"')
            return false;
        if (c == '\\') {
            if (i + 1 >= escaped.size())
                return false;
            const QChar next = escaped[i + 1];
            if (next == '\\' || next == '"' || next == 'b') {
                ++i;
                continue;
            }
            if (i + 3 < escaped.size() && QStringLiteral("0123").contains(next) &&
                QStringLiteral("01234567").contains(escaped[i + 2]) &&
                QStringLiteral("01234567").contains(escaped[i + 3])) {
                i += 3;
                continue;
            }
            return false;
        }
    }
    return true;
}

QString octalOf(const QByteArray& bytes)
{
    QString out;
    for (unsigned char b : bytes)
        out += QStringLiteral("\\%1").arg(int(b), 3, 8, QChar('0'));
    return out;
}

} // namespace

TEST(CharTable, TellingRowsOfTheUpperHalf)
{
    const struct
    {
        int code;
        const char* entry;
    } rows[] = {
        {128, R"(\320\202)"},     {130, R"(\342\200\232)"}, {136, R"(\342\202\254)"},
        {150, R"(\342\200\223)"}, {152, R"(\302\230)"},     {153, R"(\342\204\242)"},
        {168, R"(\320\201)"},     {184, R"(\321\221)"},     {185, R"(\342\204\226)"},
        {192, R"(\320\220)"},     {223, R"(\320\257)"},     {224, R"(\320\260)"},
        {255, R"(\321\217)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(s(CharTable::entry(static_cast<unsigned char>(row.code))), row.entry)
            << "code " << row.code;
}

TEST(CharTable, LowerHalfEscapesControlsAndQuotesAndKeepsPrintableAscii)
{
    EXPECT_EQ(s(CharTable::entry(1)), R"(\001)");
    EXPECT_EQ(s(CharTable::entry(7)), R"(\007)");
    EXPECT_EQ(s(CharTable::entry(8)), R"(\b)");
    for (int code = 9; code <= 13; ++code)
        EXPECT_TRUE(CharTable::entry(static_cast<unsigned char>(code)).isEmpty()) << code;
    EXPECT_EQ(s(CharTable::entry(14)), R"(\016)");
    EXPECT_EQ(s(CharTable::entry(31)), R"(\037)");
    EXPECT_EQ(s(CharTable::entry(34)), R"(\")");
    EXPECT_EQ(s(CharTable::entry(92)), R"(\\)");
    EXPECT_EQ(s(CharTable::entry(127)), R"(\177)");
    EXPECT_TRUE(CharTable::entry(160).isEmpty());
    EXPECT_TRUE(CharTable::entry(173).isEmpty());
    for (int code = 33; code <= 126; ++code) {
        if (code == '"' || code == '\\')
            continue;
        EXPECT_EQ(CharTable::entry(static_cast<unsigned char>(code)), QString(QChar(code)));
    }
}

TEST(CharTable, EveryCodeEscapesToTheUtf8OfItsCharacterOrIsDropped)
{
    for (int code = 1; code <= 255; ++code) {
        const QString character(QChar(Cp1251::toUnicode(static_cast<unsigned char>(code))));
        const QString entry = CharTable::entry(static_cast<unsigned char>(code));
        EXPECT_EQ(CharTable::escape(character), entry) << "code " << code;
        EXPECT_TRUE(safeBetweenQuotes(entry)) << "code " << code << ": " << s(entry);
        const bool dropped = (code >= 9 && code <= 13) || code == 160 || code == 173;
        if (dropped) {
            EXPECT_TRUE(entry.isEmpty()) << code;
            continue;
        }
        EXPECT_EQ(unescapeC(entry), character.toUtf8()) << "code " << code;
        if (code >= 128) {
            EXPECT_EQ(entry, octalOf(character.toUtf8())) << "code " << code;
        }
    }
}

TEST(CharTable, EscapesTextsAsTheToolsReadThem)
{
    EXPECT_EQ(s(CharTable::escape(QStringLiteral("Глава 1"))),
              R"(\320\223\320\273\320\260\320\262\320\260 1)");
    EXPECT_EQ(CharTable::escape(QString()), QString());
    EXPECT_EQ(CharTable::escape(QStringLiteral("Go to page")), QStringLiteral("Go to page"));
    EXPECT_EQ(CharTable::escape(QStringLiteral("a\tb")), QStringLiteral("ab"));
    EXPECT_EQ(CharTable::escape(QStringLiteral("a\r\nb\n")), QStringLiteral("ab"));
    EXPECT_EQ(s(CharTable::escape(QStringLiteral("\\"))), R"(\\)");
    EXPECT_EQ(s(CharTable::escape(QStringLiteral("\""))), R"(\")");
    EXPECT_EQ(CharTable::escape(QStringLiteral("a\u00A0b c\u00ADd")), QStringLiteral("ab cd"));
    const QString euro = CharTable::escape(QStringLiteral("€"));
    EXPECT_EQ(s(euro), R"(\342\202\254)");
    EXPECT_EQ(euro.size(), 12);
}

TEST(CharTable, CharactersOutsideTheCodePageKeepTheirUtf8)
{
    // Polish, Greek, CJK and a character beyond the basic plane: none turns into "?".
    EXPECT_EQ(s(CharTable::escape(QStringLiteral("ł"))), R"(\305\202)");
    EXPECT_EQ(s(CharTable::escape(QStringLiteral("Ω"))), R"(\316\251)");
    EXPECT_EQ(s(CharTable::escape(QStringLiteral("目"))), R"(\347\233\256)");
    EXPECT_EQ(s(CharTable::escape(QString::fromUtf8("\xF0\x9F\x98\x80"))), R"(\360\237\230\200)");
    // C1 controls other than the one Windows-1251 carries are escaped too.
    EXPECT_EQ(s(CharTable::escape(QString(QChar(0x85)))), R"(\302\205)");
    // A lone surrogate is no character; it stands as the replacement character.
    EXPECT_EQ(s(CharTable::escape(QString(QChar(0xD800)) + "x")), R"(\357\277\275x)");
    // NUL would end the tool's string early, so it is dropped like the other breaks.
    EXPECT_EQ(CharTable::escape(QString(QChar(0)) + "x"), QStringLiteral("x"));
}

TEST(CharTable, AnyEscapedCommentSurvivesARoundTripThroughDjvused)
{
    // Characters that tend to break quoting, controls, Cyrillic, letters of other scripts
    // and characters beyond the basic plane.
    const QList<char32_t> alphabet = {
        U'"',    U'\\',   U'\t',   U'\n',   U'\r',   U' ', U'\'',   U'(',    U')',
        U';',    U'#',    U'a',    U'Z',    U'0',    U'.', U'\x01', U'\x08', U'\x1b',
        U'\x7f', U'\x98', U'\xa0', U'\xad', U'\x85', U'Г', U'я',    U'Ё',    U'№',
        U'€',    U'—',    U'ł',    U'Ω',    U'目',   U'ß', U'é',    U'🙂', U'𝄞',
    };
    QRandomGenerator random(20261208);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (int round = 0; round < 5; ++round) {
        QStringList texts;
        QString annotations;
        for (int i = 0; i < 60; ++i) {
            QString text;
            const int length = int(random.bounded(0, 24));
            for (int k = 0; k < length; ++k) {
                const char32_t c = random.bounded(4) == 0
                                       ? char32_t(random.bounded(0x20, 0x2FFF))
                                       : alphabet[random.bounded(int(alphabet.size()))];
                text += QString::fromUcs4(&c, 1);
            }
            texts << text;
            const QString escaped = CharTable::escape(text);
            ASSERT_TRUE(safeBetweenQuotes(escaped)) << s(escaped);
            annotations += QStringLiteral("(maparea \"#+1\" \"%1\" (rect %2 10 50 20))\n")
                               .arg(escaped)
                               .arg(i * 10);
        }
        FixturePage page;
        page.annotations = annotations.trimmed();
        const QString book = QDir(dir.path()).filePath(QStringLiteral("r%1.djvu").arg(round));
        QString error;
        ASSERT_TRUE(DjvuFixture::build(book, {page, FixturePage{}}, &error)) << s(error);
        const QStringList comments = commentsOf(DjvuFixture::djvused(book, "output-ant"));
        ASSERT_EQ(comments.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i)
            EXPECT_EQ(comments[i], withoutDropped(texts[i])) << "text " << s(texts[i]);
    }
}
