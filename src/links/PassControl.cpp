#include "links/PassControl.h"

#include "base/CancelToken.h"
#include "base/MessageTexts.h"

namespace {

// Each step is named in the log by the line that begins it.
MessageKey stepKey(PassProgress::Step step)
{
    using Step = PassProgress::Step;
    switch (step) {
    case Step::Starting:
        return "m1";
    case Step::Listing:
    case Step::ReadingText:
    case Step::ReadingAnnotations:
        return "m2";
    case Step::Recognising:
        return "m8";
    case Step::MeasuringPages:
        return "m3";
    case Step::Saving:
    case Step::Replacing:
        return "m5";
    case Step::Aligning:
        return "m4";
    }
    return "m1";
}

} // namespace

bool PassControl::cancelled() const
{
    return token_ && token_->isCancelled();
}

bool PassControl::startDocument(int document, int documents, const QString& path)
{
    if (!nested_) {
        where_.document = document;
        where_.documents = documents;
        where_.path = path;
    }
    return enter(PassProgress::Step::Starting);
}

bool PassControl::enter(PassProgress::Step step)
{
    where_.step = step;
    where_.page = 0;
    where_.pages = 0;
    report();
    return !cancelled();
}

bool PassControl::page(int page, int pages)
{
    where_.page = page;
    where_.pages = pages;
    report();
    return !cancelled();
}

void PassControl::report()
{
    if (!sink_)
        return;
    if (!nested_) {
        sink_->progress(where_);
        return;
    }
    PassProgress shown = where_;
    shown.step = PassProgress::Step::Aligning;
    shown.page = 0;
    shown.pages = 0;
    sink_->progress(shown);
}

QStringList PassControl::stopLines(const MessageTexts& texts) const
{
    QString step = texts.text(stepKey(where_.step));
    if (where_.pages > 0)
        step += QStringLiteral(" (%1/%2)").arg(where_.page).arg(where_.pages);
    return {texts.text("m13") + QLatin1Char(' ') + where_.path,
            texts.text("m14") + QLatin1Char(' ') + step};
}
