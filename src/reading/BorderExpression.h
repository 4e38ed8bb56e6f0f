#pragma once

#include "jobs/CreateJob.h"

#include <QByteArray>
#include <QString>

// The annotation texts of the hyperlink areas that the Create pass writes.
namespace BorderExpression {

using Style = AreaStyle;

// "rect" or "oval".
QByteArray shapeWord(AreaShape shape);
// "(xor )", "(border #FF0000 ) (border_avis )  (hilite #FFFF00 )" and so on.
QByteArray build(const Style& style);

struct Box
{
    int x = 0, y = 0, width = 0, height = 0; // x and y: the bottom-left corner
};

// One hyperlink area of an entry, ending in a blank:
// (maparea "#19" "Go to page 15" (rect 310 2874 1650 96 ) (xor ) )
QByteArray area(qint64 targetPage, const QByteArray& escapedComment, const QByteArray& shape,
                const Box& box, const QByteArray& border);

// The contents-link area, from the settings as the row stores them (texts already checked
// to be whole numbers and colour texts):
// (maparea "# 4" "Go to content" (rect 100 50 500 50) (xor  ) )
struct ContentsLink
{
    QString shape = QStringLiteral("0");      // "0" rectangle, otherwise oval
    QString borderType = QStringLiteral("1"); // "0" to "6"; anything else: no border word
    QString alwaysVisible = QStringLiteral("0");
    QString highlight = QStringLiteral("0");
    QString borderWidth = QStringLiteral("0");
    QString colour1 = QStringLiteral("000000");
    QString colour2 = QStringLiteral("000000");
    QString left = QStringLiteral("100"), bottom = QStringLiteral("50"),
            width = QStringLiteral("500"), height = QStringLiteral("50");
    QString targetPage = QStringLiteral("4");
    QString comment = QStringLiteral("Go to content");
};
QByteArray contentsLinkArea(const ContentsLink& link);
// The same from a job's typed settings.
QByteArray contentsLinkArea(const ContentsLinkSettings& link);

} // namespace BorderExpression
