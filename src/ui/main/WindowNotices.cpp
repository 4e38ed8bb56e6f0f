#include "ui/main/WindowNotices.h"

#include <QStringList>

void WindowNotices::notice(const PassNotice& notice)
{
    {
        const QMutexLocker lock(&mutex_);
        if (gathering_) {
            kept_.append(notice);
            return;
        }
    }
    const NoticeWords words = NoticeWords::of(notice, texts_);
    boxes_.showMessage(words.text, words.caption);
}

void WindowNotices::beginRun(const MessageTexts& runTexts)
{
    const QMutexLocker lock(&mutex_);
    runTexts_ = runTexts;
    gathering_ = true;
    kept_.clear();
}

void WindowNotices::endRun()
{
    QList<PassNotice> kept;
    {
        const QMutexLocker lock(&mutex_);
        gathering_ = false;
        kept.swap(kept_);
    }
    if (kept.isEmpty())
        return;
    // Several notices make one box: each in its own paragraph, under the first caption given.
    QStringList texts;
    QString caption;
    for (const PassNotice& notice : std::as_const(kept)) {
        const NoticeWords words = NoticeWords::of(notice, runTexts_);
        texts << words.text;
        if (caption.isEmpty())
            caption = words.caption;
    }
    boxes_.showMessage(texts.join(QStringLiteral("\n\n")), caption);
}
