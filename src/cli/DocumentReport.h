#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

// One document's line of a batch report: what became of it and, for Create, what was found.
struct DocumentRecord
{
    struct Entry
    {
        QString title;
        QString printed; // the page number as printed
        qint64 targetPage = 0;
        int level = 0;
        bool checked = false;     // confirmed by its heading on the target page
        qint64 correctedFrom = 0; // the page the check moved the link from; 0: not moved
        int page = 0;             // the contents page it stands on
        int area[4] = {};         // its link's x, y (bottom-left), width, height on that page
    };

    QString path;
    QString outcome; // "changed", "unchanged", "failed" or "cancelled"
    QString message; // the failure's message; empty when there was none
    double seconds = 0;
    bool planned = false; // Create read the document: offset and entries hold
    int offset = 0;
    QList<Entry> entries;
    // The smart reading of a contents: its printed lines, those linked, and the others.
    struct Line
    {
        int page = 0;
        QString text;
        QString reason;
    };
    int linesCounted = -1; // -1: not counted
    int linesLinked = 0;
    QList<Line> linesNotLinked;

    QJsonObject toJson() const;
};

// The report file of --report: {"command": ..., "documents": [record, ...]}, written whole
// through a temporary file so a reader never sees half of it. Its schema is
// docs/report.schema.json.
namespace DocumentReport {
bool write(const QString& file, const QString& command, const QList<QJsonObject>& records,
           QString* error);
// The records of a report file; false when it does not read.
bool read(const QString& file, QList<QJsonObject>* records);
} // namespace DocumentReport
