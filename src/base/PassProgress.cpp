#include "base/PassProgress.h"

#include <algorithm>

int PassProgress::permille() const
{
    if (documents <= 0)
        return 0;
    constexpr int kSteps = int(Step::Aligning) + 1;
    double withinDocument = double(int(step)) / kSteps;
    if (pages > 0)
        withinDocument += double(std::clamp(page, 0, pages)) / pages / kSteps;
    const double done = (std::max(document, 1) - 1 + withinDocument) / documents;
    return std::clamp(int(done * 1000), 0, 1000);
}
