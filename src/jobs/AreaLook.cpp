#include "jobs/CreateJob.h"

#include "base/EngineTexts.h"

namespace AreaLook {

Problem check(AreaShape shape, std::optional<BorderType> borderType, bool highlight)
{
    const bool oval = shape == AreaShape::Oval;
    if (oval && borderType && JobValue::isShadow(*borderType))
        return Problem::OvalWithShadow;
    if (oval && highlight)
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
