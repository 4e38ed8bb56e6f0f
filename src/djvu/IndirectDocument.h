#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class ToolRunner;

// An indirect DjVu document: an index file (FORM:DJVM whose directory lacks the "bundled"
// flag) that names component files kept in the same folder. The tools rewrite the index and
// any component in place, so a safe change has to cover every one of these files.
class IndirectDocument
{
public:
    static bool isIndirect(const QString& path);

    // The file names of the components, as the directory of the index names them (read from
    // "djvused <index> -e dump" through the tools, under their cancel token), each an existing
    // file beside the index. Fails when the directory cannot be read whole, or a component is
    // missing or lives outside the index's folder.
    static bool components(const QString& indexPath, const ToolRunner& tools, QStringList* names,
                           QString* error);

    // The names one line of the listing may mean. A line reads "<id>[ F=<name>][ T=<title>]"
    // after the size column, and any of these may itself hold " F=" or " T=", so every cut
    // is a candidate.
    static QStringList candidateNames(const QString& rest);

    // The entries of an indirect directory as "djvused -e dump" prints it: for each file its
    // identifier and, when it differs, its file name. False unless the directory names exactly
    // as many files as its header counts, each on one line that reads one way only.
    static bool directoryEntries(const QByteArray& dump, QList<QStringList>* entries);
};
