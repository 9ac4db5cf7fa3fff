#pragma once
// The application object: the program's name and icon. Its title
// "KS318P-15 V2.2" is what the desktop shows for the program, from the
// desktop entry; it is not given to Qt as the display name, which Qt on
// Linux would append to every window's caption.
#include <QApplication>

namespace ks318 {

class TMyApplication : public QApplication {
    Q_OBJECT
public:
    TMyApplication(int& argc, char** argv);
};

} // namespace ks318
