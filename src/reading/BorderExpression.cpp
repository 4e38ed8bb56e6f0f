#include "reading/BorderExpression.h"

#include "base/CharTable.h"

namespace BorderExpression {

QByteArray shapeWord(AreaShape shape)
{
    return shape == AreaShape::Oval ? "oval" : "rect";
}

QByteArray build(const Style& style)
{
    QByteArray expression;
    const QByteArray width = QByteArray::number(style.shadowWidth);
    switch (style.borderType) {
    case BorderType::None:
        expression = "(none";
        break;
    case BorderType::Xor:
        expression = "(xor";
        break;
    case BorderType::Border:
        expression = "(border #" + style.borderColour.toLatin1();
        break;
    case BorderType::ShadowIn:
        expression = "(shadow_in " + width;
        break;
    case BorderType::ShadowOut:
        expression = "(shadow_out " + width;
        break;
    case BorderType::ShadowEtchedIn:
        expression = "(shadow_ein " + width;
        break;
    case BorderType::ShadowEtchedOut:
        expression = "(shadow_eout " + width;
        break;
    }
    expression += " )";
    if (style.alwaysVisible)
        expression += " (border_avis ) ";
    if (style.highlight)
        expression += " (hilite #" + style.highlightColour.toLatin1() + " )";
    return expression;
}

QByteArray area(qint64 targetPage, const QByteArray& escapedComment, const QByteArray& shape,
                const Box& box, const QByteArray& border)
{
    QByteArray text = "(maparea \"#";
    text += QByteArray::number(targetPage);
    text += "\" \"";
    text += escapedComment;
    text += "\" (";
    text += shape;
    text += ' ' + QByteArray::number(box.x) + ' ' + QByteArray::number(box.y) + ' ' +
            QByteArray::number(box.width) + ' ' + QByteArray::number(box.height);
    text += " ) ";
    text += border;
    text += " ) ";
    return text;
}

QByteArray contentsLinkArea(const ContentsLink& link)
{
    QByteArray text = "(maparea \"# ";
    text += link.targetPage.toLatin1();
    text += "\" \"";
    text += CharTable::escape(link.comment).toLatin1();
    text += "\" (";
    text += link.shape == QLatin1String("0") ? "rect " : "oval ";
    text += link.left.toLatin1() + ' ' + link.bottom.toLatin1() + ' ' + link.width.toLatin1() +
            ' ' + link.height.toLatin1();
    text += ") (";
    static const char* const kBorderWords[] = {
        "none ", "xor ", "border #", "shadow_in ", "shadow_out ", "shadow_ein ", "shadow_eout "};
    for (int type = 0; type <= 6; ++type) {
        if (link.borderType != QString::number(type))
            continue;
        text += kBorderWords[type];
        if (type == 2)
            text += link.colour1.toLatin1();
        else if (type >= 3)
            text += link.borderWidth.toLatin1();
    }
    text += " )";
    if (link.alwaysVisible == QLatin1String("1"))
        text += " (border_avis )";
    if (link.highlight == QLatin1String("1"))
        text += " (hilite #" + link.colour2.toLatin1() + " )";
    text += " )";
    return text;
}

QByteArray contentsLinkArea(const ContentsLinkSettings& settings)
{
    ContentsLink link;
    link.shape = QString::number(JobValue::number(settings.shape));
    link.borderType =
        settings.borderType ? QString::number(JobValue::number(*settings.borderType)) : QString();
    link.alwaysVisible = settings.alwaysVisible ? QStringLiteral("1") : QStringLiteral("0");
    link.highlight = settings.highlight ? QStringLiteral("1") : QStringLiteral("0");
    link.borderWidth = QString::number(settings.borderWidth);
    link.colour1 = settings.colour1;
    link.colour2 = settings.colour2;
    link.left = QString::number(settings.left);
    link.bottom = QString::number(settings.bottom);
    link.width = QString::number(settings.width);
    link.height = QString::number(settings.height);
    link.targetPage = QString::number(settings.targetPage);
    link.comment = settings.comment;
    return contentsLinkArea(link);
}

} // namespace BorderExpression
