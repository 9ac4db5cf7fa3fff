#pragma once
// The summary page as lines of text: one block per analysis period with its
// title, interval, counts, statistics table, thresholds and extremes. The
// columns line up in a fixed-pitch face where a Japanese character takes two
// columns, so the command line prints the lines as they are and the printed
// report draws them in its fixed-pitch printer face.
#include <QString>
#include <QStringList>

namespace ks318 {

class Session;
struct BpThresholds;

// The title of a period's block: "全区間サマリー", "区間解析サマリー", and for the
// awake and asleep periods "昼間サマリー"/"夜間サマリー" for the KS-318P,
// "起床時サマリー"/"睡眠時サマリー" for the other recorders.
QString summaryPeriodTitle(int period, bool ks318);

// The block of `period` from the session's statistics table and the block
// in use (both filled by the caller). The percentages above threshold and
// of readings not counted end in a literal "%".
QStringList summaryBlockLines(const Session& session, const BpThresholds& thresholds, int period);

// The first line of the page: "血圧測定法:" and the BpMode's name.
QString summaryModeLine(int bpMode);

// The line that closes a block: 68 hyphens.
QString summaryClosingLine();

} // namespace ks318
