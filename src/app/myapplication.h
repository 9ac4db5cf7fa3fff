#pragma once
// The application object: title "KS318P-15 V2.2" and the program icon.
#include <QApplication>

namespace ks318 {

class TMyApplication : public QApplication {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "KS318P-15 V2.2";

    TMyApplication(int& argc, char** argv);
};

} // namespace ks318
