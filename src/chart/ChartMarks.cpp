#include "chart/ChartMarks.h"

namespace nimbrel {

std::vector<TargetLine> targetLines(const PriceTargets& targets) {
    return {{QStringLiteral("N"), targets.nTarget},
            {QStringLiteral("V"), targets.vTarget},
            {QStringLiteral("E"), targets.eTarget},
            {QStringLiteral("NT"), targets.ntTarget}};
}

} // namespace nimbrel
