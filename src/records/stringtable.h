#pragma once
// The program's string table: every caption and message the user sees, by id,
// in Japanese and in English.
#include "language.h"

#include <QString>
#include <string>

namespace ks318 {

class StringTable {
public:
    // The text of `id` in the interface language; empty when the table has
    // no such entry.
    static QString text(int id);
    static QString text(int id, Language language);
    // The Japanese text in CP932, as record fields and files hold it: files
    // do not change with the interface language.
    static std::string cp932(int id);
    static bool contains(int id);
};

} // namespace ks318
