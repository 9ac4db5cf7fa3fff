#include "defaultbpsettingszireform.h"

#include "records/messages.h"
#include "session/session.h"
#include "views/windowplacement.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <climits>

namespace ks318 {

int decimalValue(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > INT_MAX)
            value = INT_MAX;  // a field holds three digits; this only guards odd input
        ++i;
    }
    return static_cast<int>(negative ? -value : value);
}

namespace {

// A threshold field: up to three digits, blank as the empty position.
QLineEdit* thresholdEdit(const char* name, const char* designText, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setInputMask(QStringLiteral("990; "));
    edit->setMaxLength(3);
    edit->setText(QString::fromLatin1(designText));
    edit->setFixedWidth(48);
    return edit;
}

QGroupBox* thresholdGroup(const QString& caption, const char* name, QLineEdit* sys, QLineEdit* dia, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(TDefaultBpSettingsZireForm::tr("最高血圧:"), box), 0, 0);
    grid->addWidget(sys, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("mmHg"), box), 0, 2);
    grid->addWidget(new QLabel(TDefaultBpSettingsZireForm::tr("最低血圧:"), box), 1, 0);
    grid->addWidget(dia, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("mmHg"), box), 1, 2);
    return box;
}

} // namespace

TDefaultBpSettingsZireForm::TDefaultBpSettingsZireForm(Session& session, MessageSink* messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), session_(session), messages_(messages)
{
    setObjectName(QStringLiteral("DefaultBpSettingsZireForm"));
    setWindowTitle(tr("血圧解析パラメータ設定"));
    setModal(true);

    HypertensiveLimitsLabel = new QLabel(tr("血圧閾値"), this);
    HypertensiveLimitsLabel->setObjectName(QStringLiteral("HypertensiveLimitsLabel"));
    QFont bold = HypertensiveLimitsLabel->font();
    bold.setBold(true);
    HypertensiveLimitsLabel->setFont(bold);

    HyperAwakeSysLimitMaskEdit = thresholdEdit("HyperAwakeSysLimitMaskEdit", "140", this);
    HyperAwakeDiaLimitMaskEdit = thresholdEdit("HyperAwakeDiaLimitMaskEdit", "90", this);
    HyperSleepSysLimitMaskEdit = thresholdEdit("HyperSleepSysLimitMaskEdit", "120", this);
    HyperSleepDiaLimitMaskEdit = thresholdEdit("HyperSleepDiaLimitMaskEdit", "70", this);
    HyperDayIntervalGroupBox = thresholdGroup(tr("昼間（閾値1）"), "HyperDayIntervalGroupBox",
                                              HyperAwakeSysLimitMaskEdit, HyperAwakeDiaLimitMaskEdit, this);
    HyperNightIntervalGroupBox = thresholdGroup(tr("夜間（閾値2）"), "HyperNightIntervalGroupBox",
                                                HyperSleepSysLimitMaskEdit, HyperSleepDiaLimitMaskEdit, this);

    DefaultBpSaveButton = new QPushButton(tr("保存(&S)"), this);
    DefaultBpSaveButton->setObjectName(QStringLiteral("DefaultBpSaveButton"));
    DefaultBpSaveButton->setDefault(true);
    DefaultBpCancelButton = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    DefaultBpCancelButton->setObjectName(QStringLiteral("DefaultBpCancelButton"));
    DefaultBpHelpButton = new QPushButton(tr("ﾍﾙﾌﾟ(&H)"), this);
    DefaultBpHelpButton->setObjectName(QStringLiteral("DefaultBpHelpButton"));
    connect(DefaultBpSaveButton, &QPushButton::clicked, this, &TDefaultBpSettingsZireForm::DefaultBpSaveButtonClick);
    connect(DefaultBpCancelButton, &QPushButton::clicked, this,
            &TDefaultBpSettingsZireForm::DefaultBpCancelButtonClick);
    connect(DefaultBpHelpButton, &QPushButton::clicked, this, &TDefaultBpSettingsZireForm::DefaultBpHelpButtonClick);

    auto* groups = new QHBoxLayout;
    groups->addWidget(HyperDayIntervalGroupBox);
    groups->addWidget(HyperNightIntervalGroupBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(DefaultBpSaveButton);
    buttons->addWidget(DefaultBpCancelButton);
    buttons->addWidget(DefaultBpHelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HypertensiveLimitsLabel);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TDefaultBpSettingsZireForm::FormPaint()
{
    const AnalysisSettings& a = session_.settings.analysis;
    if (a.valid != 1)
        return;
    HyperAwakeSysLimitMaskEdit->setText(QString::number(a.sysThreshold1));
    HyperAwakeDiaLimitMaskEdit->setText(QString::number(a.diaThreshold1));
    HyperSleepSysLimitMaskEdit->setText(QString::number(a.sysThreshold2));
    HyperSleepDiaLimitMaskEdit->setText(QString::number(a.diaThreshold2));
}

void TDefaultBpSettingsZireForm::showEvent(QShowEvent* event)
{
    // The fields are refilled each time the dialog appears. Refilling at every
    // repaint would overwrite the digits while they are being typed, since
    // an edit field repaints its parent here.
    FormPaint();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TDefaultBpSettingsZireForm::DefaultBpSaveButtonClick()
{
    const int awakeSys = decimalValue(HyperAwakeSysLimitMaskEdit->text());
    const int awakeDia = decimalValue(HyperAwakeDiaLimitMaskEdit->text());
    const int sleepSys = decimalValue(HyperSleepSysLimitMaskEdit->text());
    const int sleepDia = decimalValue(HyperSleepDiaLimitMaskEdit->text());
    if (awakeSys > awakeDia && sleepSys > sleepDia) {
        AnalysisSettings& a = session_.settings.analysis;
        a.sysThreshold1 = awakeSys;
        a.diaThreshold1 = awakeDia;
        a.sysThreshold2 = sleepSys;
        a.diaThreshold2 = sleepDia;
        accept();
        return;
    }
    showMessage(messages_, kThresholdErrorId, kErrorCaptionId, MessageIcon::Exclamation);
}

void TDefaultBpSettingsZireForm::DefaultBpCancelButtonClick()
{
    reject();
}

void TDefaultBpSettingsZireForm::DefaultBpHelpButtonClick()
{
    if (helpHandler_)
        helpHandler_(kHelpContext);
}

} // namespace ks318
