#pragma once
// The clinical report: one sheet per recording with the patient, the
// recording period, the table of clinical measures, the flags, the readings
// they rest on and the 24-hour profile.
namespace ks318 {

struct ReportJob;

// Draws the sheet on the job's current sheet, from the job's block and the
// session's sleep and wake times.
void printClinicalSheet(ReportJob& job);

} // namespace ks318
