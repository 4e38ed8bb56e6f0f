#include "cli/DocumentReport.h"

#include "base/EngineTexts.h"
#include "base/Version.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

QJsonObject DocumentRecord::toJson() const
{
    QJsonObject o{{"path", path},
                  {"outcome", outcome},
                  {"message", message},
                  {"seconds", qRound(seconds * 1000) / 1000.0}};
    if (planned) {
        o.insert("offset", offset);
        QJsonArray list;
        for (const Entry& e : entries) {
            QJsonObject entry{{"title", e.title},
                              {"printed", e.printed},
                              {"targetPage", e.targetPage},
                              {"level", e.level},
                              {"checked", e.checked},
                              {"page", e.page},
                              {"area", QJsonArray{e.area[0], e.area[1], e.area[2], e.area[3]}}};
            if (e.correctedFrom > 0)
                entry.insert("correctedFrom", e.correctedFrom);
            list.append(entry);
        }
        o.insert("entries", list);
        if (linesCounted >= 0) {
            QJsonArray notLinked;
            for (const Line& l : linesNotLinked)
                notLinked.append(
                    QJsonObject{{"page", l.page}, {"text", l.text}, {"reason", l.reason}});
            o.insert("lines", QJsonObject{{"counted", linesCounted},
                                          {"linked", linesLinked},
                                          {"notLinked", notLinked}});
        }
    }
    return o;
}

namespace DocumentReport {

bool write(const QString& file, const QString& command, const QList<QJsonObject>& records,
           QString* error)
{
    QJsonArray documents;
    for (const QJsonObject& record : records)
        documents.append(record);
    const QJsonObject root{{"command", command},
                           {"version", QLatin1String(kTocsmithVersion)},
                           {"documents", documents}};
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) < 0 || !out.commit()) {
        *error = EngineTexts::say("e_report_no_write").arg(file, out.errorString());
        return false;
    }
    return true;
}

bool read(const QString& file, QList<QJsonObject>* records)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll());
    if (!doc.isObject() || !doc.object().value("documents").isArray())
        return false;
    for (const QJsonValue& v : doc.object().value("documents").toArray())
        records->append(v.toObject());
    return true;
}

} // namespace DocumentReport
