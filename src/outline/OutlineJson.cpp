#include "outline/OutlineJson.h"

#include "base/EngineTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <functional>

namespace OutlineJson {

namespace {

// The string as JSON, quotes and escapes included.
QByteArray quoted(const QString& text)
{
    const QByteArray list = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return list.mid(1, list.size() - 2);
}

bool isUtf8(const QByteArray& bytes, QString* text)
{
    *text = QString::fromUtf8(bytes);
    return text->toUtf8() == bytes;
}

// Where a bookmark stands: "[2].children[0]".
QString placeOf(const QList<int>& indexes)
{
    QString place;
    for (qsizetype i = 0; i < indexes.size(); ++i)
        place += (i ? QStringLiteral(".children[%1]") : QStringLiteral("[%1]")).arg(indexes[i]);
    return place;
}

struct Reader
{
    int pageCount = 0;
    OutlineText::Parsed parsed;

    void refuse(const QString& place, const QString& why)
    {
        parsed.errors << QStringLiteral("%1: %2").arg(place, why);
    }

    void readList(const QJsonArray& list, QList<int> indexes)
    {
        indexes << 0;
        for (qsizetype i = 0; i < list.size(); ++i) {
            indexes.last() = int(i);
            readBookmark(list[i], indexes);
        }
    }

    void readBookmark(const QJsonValue& value, const QList<int>& indexes)
    {
        const QString place = placeOf(indexes);
        if (!value.isObject()) {
            refuse(place, EngineTexts::say("e_outjson_not_object"));
            return;
        }
        const QJsonObject object = value.toObject();
        for (const QString& key : object.keys()) {
            if (key != QLatin1String("title") && key != QLatin1String("page") &&
                key != QLatin1String("url") && key != QLatin1String("children"))
                refuse(place, EngineTexts::say("e_outjson_key").arg(key));
        }
        Bookmark bookmark;
        bookmark.level = int(indexes.size()) - 1;
        const QJsonValue title = object.value(QLatin1String("title"));
        if (!title.isString())
            refuse(place, EngineTexts::say("e_outjson_title"));
        bookmark.title = title.toString().toUtf8();
        const bool hasPage = object.contains(QLatin1String("page"));
        if (hasPage == object.contains(QLatin1String("url"))) {
            refuse(place, EngineTexts::say("e_outjson_target"));
        } else if (hasPage) {
            const QJsonValue page = object.value(QLatin1String("page"));
            const double n = page.toDouble(-1);
            if (!page.isDouble() || n != std::floor(n) || n < 1 || n > pageCount)
                refuse(place + QStringLiteral(".page"),
                       EngineTexts::say("e_outtext_page")
                           .arg(QString::fromUtf8(QJsonDocument(QJsonArray{page})
                                                      .toJson(QJsonDocument::Compact)
                                                      .chopped(1)
                                                      .mid(1)))
                           .arg(pageCount));
            else
                bookmark.target = Outline::pageTarget(int(n));
        } else {
            const QJsonValue url = object.value(QLatin1String("url"));
            if (!url.isString())
                refuse(place + QStringLiteral(".url"), EngineTexts::say("e_outjson_url"));
            bookmark.target = url.toString().toUtf8();
        }
        if (bookmark.title.contains('\0') || bookmark.target.contains('\0'))
            refuse(place, EngineTexts::say("e_outtext_nul"));
        parsed.outline.bookmarks << bookmark;
        const QJsonValue children = object.value(QLatin1String("children"));
        if (children.isUndefined())
            return;
        if (!children.isArray()) {
            refuse(place + QStringLiteral(".children"), EngineTexts::say("e_outjson_children"));
            return;
        }
        readList(children.toArray(), indexes);
    }
};

} // namespace

QByteArray write(const Outline& outline, int pageCount, const QList<QByteArray>& pageIds,
                 QString* error)
{
    const QList<Bookmark>& bookmarks = outline.bookmarks;
    qsizetype next = 0;
    QList<int> indexes; // the place of the bookmark being written
    // One bookmark a line; its children follow on the lines after it, indented.
    std::function<bool(int, QByteArray*)> list = [&](int level, QByteArray* json) {
        const QByteArray pad(2 * level, ' ');
        if (next >= bookmarks.size() || bookmarks[next].level != level) {
            *json += "[]";
            return true;
        }
        *json += "[\n";
        indexes << -1;
        while (next < bookmarks.size() && bookmarks[next].level == level) {
            const Bookmark& bookmark = bookmarks[next++];
            ++indexes.last();
            QString title;
            QString target;
            if (!isUtf8(bookmark.title, &title) || !isUtf8(bookmark.target, &target)) {
                *error = EngineTexts::say("e_outjson_not_utf8").arg(placeOf(indexes));
                return false;
            }
            if (indexes.last() > 0)
                *json += ",\n";
            *json += pad + "  {\"title\": " + quoted(title);
            const int page = OutlineText::pageOfTarget(bookmark.target, pageIds);
            if (page >= 1 && page <= pageCount)
                *json += ", \"page\": " + QByteArray::number(page);
            else
                *json += ", \"url\": " + quoted(target);
            *json += ", \"children\": ";
            if (!list(level + 1, json))
                return false;
            *json += "}";
        }
        indexes.removeLast();
        *json += "\n" + pad + "]";
        return true;
    };
    QByteArray json;
    if (!list(0, &json))
        return {};
    if (next < bookmarks.size()) {
        *error = EngineTexts::say("e_outline_nesting");
        return {};
    }
    return json + "\n";
}

OutlineText::Parsed read(const QByteArray& json, int pageCount)
{
    Reader reader;
    reader.pageCount = pageCount;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = json.left(error.offset);
        const int line = int(before.count('\n')) + 1;
        const int column =
            int(QString::fromUtf8(before.mid(before.lastIndexOf('\n') + 1)).size()) + 1;
        reader.parsed.errors
            << EngineTexts::say("e_outjson_syntax").arg(line).arg(column).arg(error.errorString());
        return reader.parsed;
    }
    if (!document.isArray()) {
        reader.parsed.errors << EngineTexts::say("e_outjson_not_list");
        return reader.parsed;
    }
    reader.readList(document.array(), {});
    return reader.parsed;
}

} // namespace OutlineJson
