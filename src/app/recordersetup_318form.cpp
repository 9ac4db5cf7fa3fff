#include "recordersetup_318form.h"

#include "beepservice.h"
#include "busycursor.h"
#include "mainform.h"
#include "messageservice.h"
#include "recorder/recorderflows.h"
#include "views/windowplacement.h"

#include <QAction>
#include <algorithm>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace ks318 {

namespace {

constexpr int kClearQuestionId = 99;
constexpr int kClockQuestionId = 258;
constexpr int kDuplicateId = 266;
constexpr int kNoAnswerId = 224;
constexpr int kCautionCaptionId = 267;

const QString kOff = QStringLiteral("off");

// The duplicate mark: the colour of the classic desktop background.
const QColor kDesktopColour(0x00, 0x80, 0x80);

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

MinuteUpDown::MinuteUpDown(QLineEdit* buddy, QWidget* parent) : QWidget(parent), buddy_(buddy)
{
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFixedSize(16, 11);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(true); });
    connect(down_, &QToolButton::clicked, this, [this] { step(false); });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(up_);
    column->addWidget(down_);
}

void MinuteUpDown::step(bool up)
{
    // The position follows the edit; text that is no number counts as 0.
    int value = std::clamp(buddy_->text().trimmed().toInt(), kMin, kMax);
    if (up)
        value = value >= kMax ? kMin : value + 1;
    else
        value = value <= kMin ? kMax : value - 1;
    buddy_->setText(QString::number(value));
    Q_EMIT clicked();
}

TRecorderSetup_318Form::TRecorderSetup_318Form(TMainForm* mainForm, bool& firstPaintDone,
                                               GuiMessageService* messages, BeepService* beeps)
    : QDialog(mainForm, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), main_(mainForm),
      firstPaintDone_(firstPaintDone), messages_(messages), beeps_(beeps)
{
    setObjectName(QStringLiteral("RecorderSetup_318Form"));
    setWindowTitle(tr("レコーダ-設定"));
    setModal(true);

    TimeEditLabel = label(this, "TimeEditLabel", tr("時刻:"));
    TimeMaskEdit = new QLineEdit(this);
    TimeMaskEdit->setObjectName(QStringLiteral("TimeMaskEdit"));
    TimeMaskEdit->setMaxLength(10);
    DateEditLabel = label(this, "DateEditLabel", tr("月日:"));
    DateMaskEdit = new QLineEdit(this);
    DateMaskEdit->setObjectName(QStringLiteral("DateMaskEdit"));
    DateMaskEdit->setMaxLength(20);
    for (QLineEdit* e : {TimeMaskEdit, DateMaskEdit}) {
        e->setEnabled(false);
        e->setFixedWidth(110);
    }

    BPMeasurementTimesGroupBox = new QGroupBox(tr("血圧測定"), this);
    BPMeasurementTimesGroupBox->setObjectName(QStringLiteral("BPMeasurementTimesGroupBox"));
    QGroupBox* group = BPMeasurementTimesGroupBox;
    MeasurementtimeLabel = label(group, "MeasurementtimeLabel", tr("測定時刻"));
    Label1 = label(group, "Label1", tr("(ビープ音)"));
    HourLabel = label(group, "HourLabel", tr("時"));
    MinuteLabel = label(group, "MinuteLabel", tr("分"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(MeasurementtimeLabel, 0, 0, 1, 2);
    grid->addWidget(Label1, 0, 2, 1, 2);
    grid->addWidget(HourLabel, 1, 1, Qt::AlignHCenter);
    grid->addWidget(MinuteLabel, 1, 2, Qt::AlignHCenter);
    QStringList hours{kOff};
    for (int h = 0; h < 24; ++h)
        hours << QString::number(h);
    for (int n = 0; n < kScheduleSlots; ++n) {
        const QString number = QString::number(n + 1);
        PeriodLabel[n] = new QLabel(number, group);
        PeriodLabel[n]->setObjectName(QStringLiteral("Period%1Label").arg(number));
        auto* box = new QComboBox(group);
        box->setObjectName(QStringLiteral("Interval%1HourComboBox").arg(number));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(hours);
        box->setMaxVisibleItems(12);
        box->setFixedWidth(70);
        IntervalHourComboBox[n] = box;
        auto* minute = new QLineEdit(QStringLiteral("0"), group);
        minute->setObjectName(QStringLiteral("Interval%1MinuteEdit").arg(number));
        minute->setFixedWidth(44);
        minute->setMaxLength(3);
        IntervalMinuteEdit[n] = minute;
        auto* upDown = new MinuteUpDown(minute, group);
        upDown->setObjectName(QStringLiteral("Interval%1MinuteUpDown").arg(number));
        IntervalMinuteUpDown[n] = upDown;
        connect(box, &QComboBox::editTextChanged, this, [this, n] { IntervalHourComboBoxChange(n); });
        connect(upDown, &MinuteUpDown::clicked, this, [this, n] { IntervalMinuteUpDownClick(n); });
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        minute->installEventFilter(this);
        auto* minuteWithUpDown = new QHBoxLayout;
        minuteWithUpDown->setSpacing(0);
        minuteWithUpDown->addWidget(minute);
        minuteWithUpDown->addWidget(upDown);
        grid->addWidget(PeriodLabel[n], n + 2, 0);
        grid->addWidget(box, n + 2, 1);
        grid->addLayout(minuteWithUpDown, n + 2, 2);
        setSlot(n, {kOff, QStringLiteral("0")});
    }

    RecorderSetupOkButton = new QPushButton(QStringLiteral("&OK"), this);
    RecorderSetupOkButton->setObjectName(QStringLiteral("RecorderSetupOkButton"));
    RecorderSetupOkButton->setDefault(true);
    RecorderSetupCancelButton = new QPushButton(tr("取消し(&C)"), this);
    RecorderSetupCancelButton->setObjectName(QStringLiteral("RecorderSetupCancelButton"));
    RecorderSetupHelpButton = new QPushButton(tr("ヘルプ(&H)"), this);
    RecorderSetupHelpButton->setObjectName(QStringLiteral("RecorderSetupHelpButton"));
    connect(RecorderSetupOkButton, &QPushButton::clicked, this, [this] { RecorderSetupOkButtonClick(); });
    connect(RecorderSetupCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(RecorderSetupHelpButton, &QPushButton::clicked, this,
            &TRecorderSetup_318Form::RecorderSetupHelpButtonClick);

    auto* clock = new QGridLayout;
    clock->addWidget(TimeEditLabel, 0, 0);
    clock->addWidget(TimeMaskEdit, 0, 1);
    clock->addWidget(DateEditLabel, 1, 0);
    clock->addWidget(DateMaskEdit, 1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(RecorderSetupOkButton);
    buttons->addWidget(RecorderSetupCancelButton);
    buttons->addWidget(RecorderSetupHelpButton);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(clock);
    left->addWidget(group);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence::HelpContents);
    connect(f1, &QAction::triggered, this, &TRecorderSetup_318Form::RecorderSetupHelpButtonClick);
    addAction(f1);
}

void TRecorderSetup_318Form::showEvent(QShowEvent* event)
{
    FormPaint();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TRecorderSetup_318Form::FormPaint()
{
    if (firstPaintDone_)
        return;
    firstPaintDone_ = true;
    for (int n = 0; n < kScheduleSlots; ++n)
        setSlot(n, {kOff, QStringLiteral("0")});
    // OK waits for the recorder's schedule: what the dialog shows before is
    // no schedule, and sending it would switch off every measurement.
    RecorderSetupOkButton->setEnabled(false);
    BPMeasurementTimesGroupBox->setEnabled(false);
    showClock();
    // The recorder is read once the dialog is up, so that it paints while
    // the link waits.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            readRecorderSchedule();
    });
}

void TRecorderSetup_318Form::readRecorderSchedule()
{
    RecorderService* link = main_->recorderSession.get();
    BusyCursor busy;
    const std::optional<Schedule> schedule = link ? readSchedule(*link) : std::nullopt;
    if (schedule) {
        for (int n = 0; n < kScheduleSlots; ++n)
            setSlot(n, textsOfSlot((*schedule)[std::size_t(n)]));
    }
    for (int n = 0; n < kScheduleSlots; ++n)
        markSlot(n, false);
    RecorderSetupOkButton->setEnabled(schedule.has_value());
    BPMeasurementTimesGroupBox->setEnabled(schedule.has_value());
    if (!schedule) {
        // Said, and OK stays disabled: the recorder's schedule is left as it
        // is until a read succeeds (the dialog opened again).
        BusyCursorMessages messages(messages_, busy);
        showMessage(&messages, kNoAnswerId, kErrorCaptionId, MessageIcon::Exclamation);
    }
}

void TRecorderSetup_318Form::showClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    shownMoment_ = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()));
    const int dateOrder = dateOrderOf(QLocale::system());
    if (RecorderService* link = main_->recorderSession.get())
        link->dateOrder = dateOrder;
    TimeMaskEdit->setText(shownMoment_.time().toString(QStringLiteral("hh:mm")));
    DateMaskEdit->setText(dateTextInOrder(shownMoment_.date(), dateOrder));
    TimeMaskEdit->setEnabled(false);
    DateMaskEdit->setEnabled(false);
}

SlotTexts TRecorderSetup_318Form::slotTexts(int n) const
{
    return {IntervalHourComboBox[n]->currentText(), IntervalMinuteEdit[n]->text()};
}

void TRecorderSetup_318Form::setSlot(int n, const SlotTexts& texts)
{
    IntervalHourComboBox[n]->setEditText(texts.hour);
    IntervalMinuteEdit[n]->setText(texts.minute);
    IntervalHourComboBoxChange(n);
}

bool TRecorderSetup_318Form::slotMarked(int n) const
{
    return IntervalHourComboBox[n]->property("duplicate").toBool();
}

void TRecorderSetup_318Form::markSlot(int n, bool marked)
{
    QComboBox* box = IntervalHourComboBox[n];
    if (slotMarked(n) == marked)
        return;
    box->setProperty("duplicate", marked);
    if (!marked) {
        box->setPalette(QPalette());
        return;
    }
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, kDesktopColour);
    palette.setColor(QPalette::Text, Qt::white);
    box->setPalette(palette);
}

void TRecorderSetup_318Form::IntervalHourComboBoxChange(int n)
{
    const QString hour = IntervalHourComboBox[n]->currentText();
    const bool on = !hour.isEmpty() && hour != kOff;
    IntervalMinuteEdit[n]->setEnabled(on);
    IntervalMinuteUpDown[n]->setEnabled(on);
}

void TRecorderSetup_318Form::IntervalHourComboBoxExit(int n)
{
    setSlot(n, leaveHourBox(slotTexts(n)));
}

void TRecorderSetup_318Form::IntervalMinuteEditExit(int n)
{
    IntervalMinuteEdit[n]->setText(leaveMinuteEdit(IntervalMinuteEdit[n]->text()));
}

void TRecorderSetup_318Form::IntervalMinuteUpDownClick(int n)
{
    IntervalMinuteEditExit(n);
}

bool TRecorderSetup_318Form::eventFilter(QObject* watched, QEvent* event)
{
    for (int n = 0; n < kScheduleSlots; ++n) {
        QComboBox* box = IntervalHourComboBox[n];
        if (event->type() == QEvent::FocusOut && (watched == box || watched == box->lineEdit())
            && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            IntervalHourComboBoxExit(n);
        } else if (watched == IntervalMinuteEdit[n]) {
            if (event->type() == QEvent::FocusOut) {
                IntervalMinuteEditExit(n);
            } else if (event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Up || key == Qt::Key_Down) {
                    IntervalMinuteUpDown[n]->step(key == Qt::Key_Up);
                    return true;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TRecorderSetup_318Form::RecorderSetupOkButtonClick()
{
    if (!RecorderSetupOkButton->isEnabled())
        return false;
    // Enter on the default button leaves no field: the one being edited is
    // taken as left, so that the duplicate check sees "0" as "00".
    const QWidget* focus = focusWidget();
    for (int n = 0; focus && n < kScheduleSlots; ++n) {
        if (focus == IntervalHourComboBox[n] || focus == IntervalHourComboBox[n]->lineEdit())
            IntervalHourComboBoxExit(n);
        else if (focus == IntervalMinuteEdit[n])
            IntervalMinuteEditExit(n);
    }
    std::array<SlotTexts, kScheduleSlots> texts;
    for (int n = 0; n < kScheduleSlots; ++n)
        texts[std::size_t(n)] = slotTexts(n);
    const std::array<bool, kScheduleSlots> duplicate = duplicateSlots(texts);
    for (int n = 1; n < kScheduleSlots; ++n)
        markSlot(n, duplicate[std::size_t(n)]);
    if (std::find(duplicate.begin(), duplicate.end(), true) != duplicate.end()) {
        showMessage(messages_, kDuplicateId, kErrorCaptionId, MessageIcon::Exclamation);
        return false;
    }
    if (!runTransfer()) {
        showMessage(messages_, kNoAnswerId, kErrorCaptionId, MessageIcon::Exclamation);
        return false;
    }
    accept();
    return true;
}

bool TRecorderSetup_318Form::runTransfer()
{
    RecorderService* link = main_->recorderSession.get();
    if (!link)
        return false;
    SetupRequest request;
    for (int n = 0; n < kScheduleSlots; ++n)
        request.schedule[std::size_t(n)] = slotFromTexts(slotTexts(n));
    beeps_->beep();
    request.clear = messages_->ask(kClearQuestionId, kCautionCaptionId);
    BusyCursor busy;
    // Asked once the clear is done, with the clock fields showing the time
    // that will be set.
    request.clock = [&]() -> std::optional<QDateTime> {
        showClock();
        beeps_->beep();
        busy.release();
        const bool set = messages_->ask(kClockQuestionId, kCautionCaptionId);
        busy.resume();
        return set ? std::optional<QDateTime>(shownMoment_) : std::nullopt;
    };
    // The dialog stays up meanwhile; it closes once everything went through.
    return runSetupTransfer(*link, request).ok();
}

void TRecorderSetup_318Form::RecorderSetupHelpButtonClick()
{
    if (helpHandler_)
        helpHandler_(kHelpContext);
}

} // namespace ks318
