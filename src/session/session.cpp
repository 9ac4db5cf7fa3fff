#include "session.h"

namespace ks318 {

void computePeriodStatistics(Session& session, const BpThresholds& thresholds)
{
    computePeriodStatistics(session.stats, session.data(), thresholds);
}

} // namespace ks318
