#pragma once
// The pages that look at the distribution of the readings rather than their
// course in time: SYS against DIA and against pulse with their regression
// lines, the SYS, DIA and pulse histograms, and SYS against DIA on the zones
// of the WHO-ISH 1999 classification. Each draws inside its rectangle on the
// job's device; `data` null fills a block from the current file and frees
// it at the end. Each first recomputes the session's statistics table.
#include "plotjob.h"

namespace ks318 {

struct SessionData;

void drawCorrelationPage(PlotJob& job, const QRect& page, const SessionData* data);
void drawHistogramPage(PlotJob& job, const QRect& page, const SessionData* data);
void drawGradePage(PlotJob& job, const QRect& page, const SessionData* data);

} // namespace ks318
