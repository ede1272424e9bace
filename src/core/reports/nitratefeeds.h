#pragma once

#include "core/reports/reportfeed.h"

#include <memory>

struct NitrateCheck;

// The feeds of the summary's nitrate action programme section. Each reads the check it is
// given when its rows are asked for, so the check must outlive it.
namespace NitrateFeeds {

// "Nitrat": per soil column the N level, the limit, the corrected dose, the scheduled N and
// the remark.
std::unique_ptr<ReportFeed> limitFeed(const NitrateCheck &check);
// "NitratTilalom": the applications of N-containing material inside the closed period.
std::unique_ptr<ReportFeed> closedPeriodFeed(const NitrateCheck &check);

} // namespace NitrateFeeds
