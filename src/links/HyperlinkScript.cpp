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

void HyperlinkScript::addContentsLink(int pageNumber, const QByteArray& area)
{
    contentsLinks_.insert(pageNumber, area);
}

void HyperlinkScript::keepAnnotations(int pageNumber, const QList<QByteArray>& expressions)
{
    kept_.insert(pageNumber, expressions);
}

void HyperlinkScript::contentsLinkLine(int pageNumber)
{
    const auto link = contentsLinks_.constFind(pageNumber);
    if (link == contentsLinks_.cend())
        return;
    line(*link);
    contentsLinks_.erase(link);
    ++contentsLinksWritten_;
}

void HyperlinkScript::closeContentsBlock()
{
    if (pendingAreas_ > 0) {
        text_ += pending_;
        line({});
        contentsLinkLine(pendingPage_);
        line(".");
    }
    pending_.clear();
    pendingPage_ = 0;
    pendingAreas_ = 0;
}

void HyperlinkScript::pageBoundary(bool anyPageOpen, bool leavingContentsPage)
{
    if (leavingContentsPage)
        closeContentsBlock();
    else if (anyPageOpen)
        line({});
}

void HyperlinkScript::pageOpening(int pageNumber)
{
    pending_ = kSeparator + "\r\nselect " + QByteArray::number(pageNumber) + "\r\nset-ant\r\n";
    pendingPage_ = pageNumber;
    pendingAreas_ = 0;
}

void HyperlinkScript::area(const QByteArray& text)
{
    pending_ += text;
    ++pendingAreas_;
}

void HyperlinkScript::closing(bool endedOnContentsPage)
{
    if (endedOnContentsPage)
        closeContentsBlock();
    const QList<int> pages = contentsLinks_.keys();
    for (int page : pages) {
        line(kSeparator);
        line("select " + QByteArray::number(page));
        line("set-ant");
        for (const QByteArray& expression : kept_.value(page))
            line(expression);
        contentsLinkLine(page);
        line(".");
    }
}
