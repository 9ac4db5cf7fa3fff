#include "messages.h"

namespace ks318 {

MessageSink::~MessageSink() = default;

} // namespace ks318
