#include "splashform.h"

#include "artwork.h"
#include "views/windowplacement.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace ks318 {

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    SplashImage = new QLabel(this);
    SplashImage->setObjectName(QStringLiteral("SplashImage"));
    const QPixmap picture = QPixmap::fromImage(splashPicture());
    SplashImage->setPixmap(picture);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SplashImage);
    setFixedSize(picture.size());
    centreOnScreen(this);
}

} // namespace ks318
