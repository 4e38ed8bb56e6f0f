#pragma once

#include <QString>
#include <QStringList>

// An indirect DjVu document: an index file (FORM:DJVM whose directory lacks the "bundled"
// flag) that names component files kept in the same folder. The tools rewrite the index and
// any component in place, so a safe change has to cover every one of these files.
class IndirectDocument
{
public:
    static bool isIndirect(const QString& path);

    // The file names of the components, as "<djvused> <index> -e ls" lists them, each an
    // existing file beside the index. Fails when the listing fails or a component is
    // missing or lives outside the index's folder.
    static bool components(const QString& indexPath, const QString& djvused, QStringList* names,
                           QString* error);

    // The names one line of the listing may mean. A line reads "<id>[ F=<name>][ T=<title>]"
    // after the size column, and any of these may itself hold " F=" or " T=", so every cut
    // is a candidate.
    static QStringList candidateNames(const QString& rest);
};
