#pragma once
// Messages the core would show in a message box, printed as one stderr line.
#include "commands.h"

#include "records/messages.h"
#include "records/stringtable.h"

namespace ks318::cli {

struct StderrMessages : MessageSink {
    void show(int stringId, int /*captionId*/, MessageIcon /*icon*/) override
    {
        err(StringTable::text(stringId).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }
};

} // namespace ks318::cli
