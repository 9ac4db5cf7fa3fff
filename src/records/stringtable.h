#pragma once
// The program's string table: every caption and message the user sees, by id.
#include <QString>
#include <string>

namespace ks318 {

class StringTable {
public:
    // The text of `id`; empty when the table has no such entry.
    static QString text(int id);
    // The same text in CP932, as record fields and files hold it.
    static std::string cp932(int id);
    static bool contains(int id);
};

} // namespace ks318
