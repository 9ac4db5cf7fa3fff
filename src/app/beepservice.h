#pragma once
// The exclamation beep of the recorder commands and of the dialogs that warn
// with it. Counted, so that tests can tell that it sounded, and silenced
// there.
#include <QApplication>

namespace ks318 {

class BeepService {
public:
    void beep()
    {
        ++count_;
        if (audible_)
            QApplication::beep();
    }
    void setAudible(bool on) { audible_ = on; }
    int count() const { return count_; }

private:
    int count_ = 0;
    bool audible_ = true;
};

} // namespace ks318
