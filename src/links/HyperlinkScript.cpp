#include "links/HyperlinkScript.h"

const QByteArray HyperlinkScript::kSeparator = "# -------------------------------------";

void HyperlinkScript::line(const QByteArray& text)
{
    text_ += text;
    text_ += "\r\n";
}

void HyperlinkScript::removeText()
{
    line("select; remove-txt");
}

void HyperlinkScript::contentsLinkBlock(int pageNumber, const QByteArray& area)
{
    line(kSeparator);
    line("select " + QByteArray::number(pageNumber));
    line("set-ant");
    line(area);
    line(".");
}

void HyperlinkScript::pageBoundary(bool anyPageOpen, bool leavingContentsPage)
{
    if (anyPageOpen)
        line({});
    if (leavingContentsPage)
        line(".");
}

void HyperlinkScript::pageOpening(int pageNumber)
{
    line(kSeparator);
    line("select " + QByteArray::number(pageNumber));
    line("set-ant");
}

void HyperlinkScript::area(const QByteArray& text)
{
    text_ += text;
}

void HyperlinkScript::closing(bool endedOnContentsPage)
{
    if (!endedOnContentsPage)
        return;
    line({});
    line(".");
}
