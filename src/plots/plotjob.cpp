#include "plotjob.h"

#include "records/bpdatafile.h"
#include "session/session.h"

namespace ks318 {

PlotLayout windowLayout(UtilityService& u)
{
    PlotLayout l;
    u.SetFontKind(-1);
    l.h = u.TextHeightOf(QStringLiteral("Gg"));
    l.m = l.h / 4;
    l.printing = u.printing();
    return l;
}

PlotJob::PlotJob(UtilityService& u_, Session& session_, const PlotLayout& layout_)
    : u(u_), session(session_), layout(layout_), thresholds(thresholdsOf(session_.settings.analysis)),
      spanMinutes(session_.graphView.visibleMinutes), scrollHours(session_.graphView.scrollHours)
{
    u.recorderType = session.state.recorderType;
}

BlockAtHand::BlockAtHand(Session& session, const SessionData* given) : session_(session), data_(given)
{
    if (data_)
        return;
    SessionData* d = session_.allocateData();
    if (!d)
        return;
    own_ = true;
    const SessionState& st = session_.state;
    if (!st.currentFilePath.isEmpty())
        readBpDataFile(session_, st.currentFilePath, st.bpMode);
    data_ = d;
}

BlockAtHand::~BlockAtHand()
{
    if (own_)
        session_.freeData();
}

QString bpModeNameOf(const SessionData& data)
{
    return data.bpModeName.toQString();
}

} // namespace ks318
