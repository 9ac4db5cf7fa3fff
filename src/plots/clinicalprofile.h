#pragma once
// The 24-hour profile of the clinical measures: the hourly means of SYS and
// DIA by clock hour over all days, the night hours (sleep to wake) shaded,
// drawn through the drawing layer so it shows in the summary window and
// prints on the clinical sheet alike.
#include "utilityservice.h"

#include "analysis/clinicalmeasures.h"

#include <QImage>
#include <QRect>

namespace ks318 {

// Draws the profile inside `area` (device pixels of the layer's canvas);
// nothing leaves the area. On the screen the area is cleared first.
void drawClinicalProfile(UtilityService& u, const QRect& area, const ClinicalMeasures& m);

// The profile in an image of `size` at 96 dots per inch, as the window
// shows it.
QImage renderClinicalProfile(const ClinicalMeasures& m, const QSize& size);

} // namespace ks318
