#include "jobs/CreateJob.h"

#include "base/EngineTexts.h"

namespace AreaLook {

Problem check(int shape, int borderType, bool highlight)
{
    constexpr int kOval = 1;
    constexpr int kPlainBorder = 2;
    if (shape == kOval && borderType > kPlainBorder)
        return Problem::OvalWithShadow;
    if (shape == kOval && highlight)
        return Problem::OvalWithHighlight;
    return Problem::None;
}

Problem check(const CreateJob& job, bool* inContentsLink)
{
    *inContentsLink = false;
    const Problem own = check(job.shape, job.style.borderType, job.style.highlight);
    if (own != Problem::None || !job.contentsLink)
        return own;
    *inContentsLink = true;
    return check(job.link.shape, job.link.borderType, job.link.highlight);
}

QString sentence(Problem problem)
{
    switch (problem) {
    case Problem::OvalWithShadow:
        return EngineTexts::say("e_oval_shadow");
    case Problem::OvalWithHighlight:
        return EngineTexts::say("e_oval_highlight");
    case Problem::None:
        break;
    }
    return QString();
}

} // namespace AreaLook
