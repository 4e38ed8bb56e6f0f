#include "base/CaptionKeys.h"
#include "base/IniFile.h"
#include "base/LanguageList.h"
#include "base/MessageTexts.h"
#include "base/ReviewCaptions.h"
#include "base/TipTexts.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>
#include <gtest/gtest.h>

// The two language files that travel with the program: each must give every key of all nine
// sections, so that choosing one relabels everything and choosing Russian brings every
// built-in text back.

namespace {

using Sections = QMap<QString, QStringList>;

const Sections& expectedKeys()
{
    static const Sections keys = [] {
        Sections s;
        s["Main"] = {"name"};
        s["Menu"] = kMenuSection.keyNames();
        s["edit"] = kEditSection.keyNames();
        s["create"] = kCreateSection.keyNames();
        s["OCR"] = MessageTexts::namesOf(MessageTexts::ocrKeys());
        s["Memo"] = MessageTexts::namesOf(MessageTexts::memoKeys());
        s["Review"] = ReviewCaptions::builtIn().keys();
        s["Engine"] = MessageTexts::namesOf(MessageTexts::engineKeys());
        s["Tips"] = TipTexts::names();
        return s;
    }();
    return keys;
}

QString shipped(const QString& name)
{
    return QStringLiteral(TOCSMITH_SOURCE_DIR "/language/") + name;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every section and key the file holds, as written (a plain reading for the check only).
Sections keysIn(const QString& path)
{
    Sections found;
    QString section;
    const QStringList lines = QString::fromUtf8(bytesOf(path)).split('\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith('[') && line.endsWith(']'))
            section = line.mid(1, line.size() - 2);
        else if (line.contains('='))
            found[section] << line.left(line.indexOf('=')).trimmed();
    }
    return found;
}

class ShippedLanguage : public ::testing::TestWithParam<const char*>
{
};

TEST_P(ShippedLanguage, GivesEveryKeyOfEverySectionOnceAndNoOther)
{
    const QString path = shipped(GetParam());
    ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
    const Sections found = keysIn(path);
    EXPECT_EQ(found.keys(), expectedKeys().keys());
    for (auto it = expectedKeys().begin(); it != expectedKeys().end(); ++it) {
        QStringList want = it.value(), have = found.value(it.key());
        want.sort();
        have.sort();
        EXPECT_EQ(have, want) << it.key().toStdString();
    }
    const IniFile file(path);
    for (auto it = expectedKeys().begin(); it != expectedKeys().end(); ++it) {
        for (const QString& key : it.value()) {
            EXPECT_TRUE(file.contains(it.key(), key)) << key.toStdString();
            EXPECT_FALSE(file.readText(it.key(), key).isEmpty()) << key.toStdString();
        }
    }
}

TEST_P(ShippedLanguage, IsWrittenInUtf8AndListedAsALanguage)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytesOf(shipped(GetParam())));
    EXPECT_FALSE(utf8.hasError());
    const LanguageList list = LanguageList::find(QStringLiteral(TOCSMITH_SOURCE_DIR "/language"));
    EXPECT_FALSE(
        list.fileNameFor("&" + IniFile(shipped(GetParam())).readText("Main", "name")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(BothFiles, ShippedLanguage,
                         ::testing::Values("English.lng", "Russian.lng"));

TEST(ShippedLanguages, RussianGivesTheBuiltInMessagesBack)
{
    const IniFile russian(shipped("Russian.lng"));
    EXPECT_EQ(russian.readText("Main", "name"), QString::fromUtf8("Русский"));
    for (const MessageKey key : MessageTexts::memoKeys())
        EXPECT_EQ(russian.readText("Memo", key.name()), MessageTexts::defaultText(key))
            << key.name();
    for (const MessageKey key : MessageTexts::ocrKeys()) {
        if (!MessageTexts::defaultText(key).isEmpty()) {
            EXPECT_EQ(russian.readText("OCR", key.name()), MessageTexts::defaultText(key));
        }
    }
    // The editor's own captions, which have no message default.
    EXPECT_EQ(russian.readText("OCR", "cap"), QString::fromUtf8("Редактор OCR"));
    EXPECT_EQ(russian.readText("OCR", "b1"), QString::fromUtf8("Сохранить DjVu"));
    EXPECT_EQ(russian.readText("OCR", "b2"), QString::fromUtf8("Шрифт"));
    EXPECT_EQ(russian.readText("OCR", "l1"), QString::fromUtf8("Страница"));
    // The review window's captions are its built-in ones.
    for (auto it = ReviewCaptions::builtIn().begin(); it != ReviewCaptions::builtIn().end(); ++it)
        EXPECT_EQ(russian.readText("Review", it.key()), it.value()) << it.key().toStdString();
    // A trailing space is part of this caption and must survive the reading.
    EXPECT_EQ(russian.readText("create", "l4"), QString::fromUtf8("Страницы с "));
}

TEST(ShippedLanguages, EnglishIsTranslatedThroughout)
{
    const IniFile english(shipped("English.lng"));
    EXPECT_EQ(english.readText("Main", "name"), QString("English"));
    const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    for (auto it = expectedKeys().begin(); it != expectedKeys().end(); ++it) {
        for (const QString& key : it.value()) {
            const QString text = english.readText(it.key(), key);
            EXPECT_FALSE(text.contains(cyrillic))
                << key.toStdString() << ": " << text.toStdString();
        }
    }
}

} // namespace
