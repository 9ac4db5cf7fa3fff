#pragma once
// The legacy patient file NAME.pat (text of "key: value" lines) converted
// into the bytes of NAME.tmp, in the legacy record layouts.
#include <QByteArray>
#include <QString>

namespace ks318 {

// The NAME.tmp bytes for the bytes of a NAME.pat (UTF-8, or CP932). On a bad
// file returns an empty array and sets `error` to the first problem found.
QByteArray convertPatientFile(const QByteArray& patBytes, QString& error);

} // namespace ks318
