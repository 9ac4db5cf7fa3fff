#include "session.h"

#include <new>

namespace ks318 {

SessionData* Session::allocateData()
{
    data_.reset();
    data_.reset(new (std::nothrow) SessionData());
    return data_.get();
}

} // namespace ks318
