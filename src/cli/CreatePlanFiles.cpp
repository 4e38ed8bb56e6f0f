#include "cli/CreatePlanFiles.h"
#include "base/EngineTexts.h"

#include "cli/CreateJobOptions.h"
#include "links/CreatePass.h"

#include <QFile>
#include <QSaveFile>

bool CreatePlanFiles::prepare(const CreateJobOptions& parsed, CreatePass& pass, QString* error)
{
    planFile_ = parsed.planFile();
    if (!planFile_.isEmpty()) {
        collected_ = PlanText::heading();
        pass.setPlanSink([this](const ContentsPlan& plan) { collected_ += PlanText::write(plan); });
    }
    const QString from = parsed.fromPlanFile();
    if (from.isEmpty())
        return true;
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = EngineTexts::say("e_plan_no_read").arg(from, file.errorString());
        return false;
    }
    QString why;
    if (!PlanText::parse(file.readAll(), &reviewed_, &why)) {
        *error = EngineTexts::say("e_plan_bad").arg(from, why);
        return false;
    }
    for (const PlanText::Document& document : std::as_const(reviewed_)) {
        const bool given = std::any_of(parsed.jobs().begin(), parsed.jobs().end(),
                                       [&](const CreateJob& j) { return j.path == document.path; });
        if (!given) {
            *error = EngineTexts::say("e_plan_stray").arg(from, document.path);
            return false;
        }
    }
    pass.setPlanReview([this, from](ContentsPlan& plan, QString* reason) {
        for (const PlanText::Document& document : std::as_const(reviewed_)) {
            if (document.path != plan.path)
                continue;
            if (PlanText::apply(document, &plan, reason))
                return true;
            *reason = EngineTexts::say("e_plan_reason").arg(from, *reason);
            return false;
        }
        *reason = EngineTexts::say("e_plan_no_entries").arg(from);
        return false;
    });
    return true;
}

bool CreatePlanFiles::finish(QString* error)
{
    if (planFile_.isEmpty())
        return true;
    QSaveFile file(planFile_);
    if (!file.open(QIODevice::WriteOnly) || file.write(collected_) != collected_.size() ||
        !file.commit()) {
        *error = EngineTexts::say("e_plan_no_write").arg(planFile_, file.errorString());
        return false;
    }
    return true;
}
