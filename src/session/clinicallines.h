#pragma once
// The clinical measures as texts: the fixed table (caption and up to four
// cells per row), the flags in words, the adequacy line and the sources of
// the thresholds. The summary window's page, the command line's text page
// and the printed sheet all show these texts; "---" stands for a measure
// whose inputs are missing.
#include "analysis/clinicalmeasures.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace ks318 {

// Column heads of the table, after the caption column: SYS, DIA, pulse,
// pulse pressure.
constexpr int kClinicalColumns = 4;
QStringList clinicalColumnHeads();

struct ClinicalRow {
    QString caption;
    QString cells[kClinicalColumns];   // empty: nothing in that column
};

// The page's title, "臨床指標".
QString clinicalTitle();
std::vector<ClinicalRow> clinicalTableRows(const ClinicalMeasures& m);
// The dipping class and the guideline flags, one line each.
QStringList clinicalFlagLines(const ClinicalMeasures& m);
// The readings the measures rest on, and when they are too few to judge,
// the line that says so.
QStringList clinicalAdequacyLines(const ClinicalMeasures& m);
// Where the thresholds come from.
QString clinicalSourcesLine();

// The whole page as lines of text, the columns lined up in a fixed-pitch
// face where a Japanese character takes two columns.
QStringList clinicalTextLines(const ClinicalMeasures& m);

// The width of `text` in such a face.
int displayWidth(const QString& text);

} // namespace ks318
