#pragma once
// The splash window: the splash picture alone, no border, on top, centred.
#include <QWidget>

class QLabel;

namespace ks318 {

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(QWidget* parent = nullptr);

private:
    QLabel* SplashImage;
};

} // namespace ks318
