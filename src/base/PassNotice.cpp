#include "base/PassNotice.h"

#include "base/MessageTexts.h"

NoticeWords NoticeWords::of(const PassNotice& notice, const MessageTexts& texts)
{
    const QString error = texts.text("mes3");
    switch (notice.kind) {
    case PassNotice::Kind::NoFiles:
        return {texts.text("mes1"), QString()};
    case PassNotice::Kind::NoBorderChoice:
        return {texts.text("mes4"), QString()};
    case PassNotice::Kind::NoKindChoice:
        return {texts.text("mes5"), QString()};
    case PassNotice::Kind::ToolMissing:
        return {texts.text("mes2"), QString()};
    case PassNotice::Kind::ToolNotStarted:
    case PassNotice::Kind::DocumentFailed:
        return {notice.reason, error};
    case PassNotice::Kind::FileFailed:
        return {notice.reason.isEmpty() ? notice.path
                                        : notice.path + QLatin1Char('\n') + notice.reason,
                error};
    }
    return {notice.reason, error};
}
