#include "patientinformationform.h"

#include "records/shortdate.h"

#include "defaultbpsettingszireform.h"
#include "physicianselectionform.h"
#include "records/messages.h"
#include "records/patientinformation.h"
#include "session/session.h"
#include "records/stringtable.h"
#include "views/cp932edit.h"
#include "views/windowplacement.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace ks318 {

namespace {

constexpr int kNightId = 25;  // SleepLabel for the KS-318P
constexpr int kSleepId = 27;  // SleepLabel for the other recorders

Cp932LineEdit* lineEdit(const char* name, int maxBytes, int width, QWidget* parent)
{
    auto* edit = new Cp932LineEdit(maxBytes, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(width);
    return edit;
}

Cp932MemoEdit* memo(const char* name, int maxBytes, int lines, int width, QWidget* parent)
{
    auto* edit = new Cp932MemoEdit(maxBytes, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedSize(width, lines * edit->fontMetrics().lineSpacing() + 12);
    return edit;
}

QLabel* valueLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(90);
    return label;
}

// Label and field on one row of a grid; a memo's label stands at its first line.
void addRow(QGridLayout* grid, int row, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption);
    if (qobject_cast<QPlainTextEdit*>(field)) {
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        label->setContentsMargins(0, 4, 0, 0);
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignTop);
    } else {
        grid->addWidget(label, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    }
    grid->addWidget(field, row, 1, Qt::AlignLeft);
}

// Two short fields on one row: the first after the row's label, the second
// with its own label.
QHBoxLayout* pair(QWidget* first, const QString& caption, QWidget* second)
{
    auto* row = new QHBoxLayout;
    row->addWidget(first);
    row->addSpacing(8);
    row->addWidget(new QLabel(caption));
    row->addWidget(second);
    row->addStretch();
    return row;
}

template <std::size_t N>
void setText(Cp932LineEdit* edit, const TextField<N>& field)
{
    edit->setLimitedText(field.toQString());
}

template <std::size_t N>
void setText(Cp932MemoEdit* memo, const TextField<N>& field)
{
    memo->setStoredText(field.toQString());
}

// The pair of sleep and wake texts a day's fields show: both when both are
// there and differ, else neither.
template <std::size_t N>
void setTimes(Cp932LineEdit* begin, Cp932LineEdit* end, const TextField<N>& sleep, const TextField<N>& wake)
{
    const bool shown = !sleep.empty() && !wake.empty() && sleep != wake.view();
    begin->setLimitedText(shown ? sleep.toQString() : QString());
    end->setLimitedText(shown ? wake.toQString() : QString());
}

} // namespace

TPatientInformationForm::TPatientInformationForm(Session& session, TPhysicianSelectionForm* physicianList,
                                                 MessageSink* messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      session_(session),
      physicianList_(physicianList),
      messages_(messages)
{
    setObjectName(QStringLiteral("PatientInformationForm"));
    setWindowTitle(tr("患者情報"));
    setModal(true);

    File = valueLabel("File", this);
    Date = valueLabel("Date", this);
    Time = valueLabel("Time", this);
    RecorderIdLabel = new QLabel(tr("レコーダ ID:"), this);
    RecorderIdLabel->setObjectName(QStringLiteral("RecorderIdLabel"));
    RecorderId = valueLabel("RecorderId", this);
    auto* heading = new QHBoxLayout;
    for (const auto& [caption, value] : {std::pair<const char*, QLabel*>{QT_TR_NOOP("ファイル:"), File}, {QT_TR_NOOP("月日:"), Date},
                                         {QT_TR_NOOP("時刻:"), Time}}) {
        heading->addWidget(new QLabel(tr(caption), this));
        heading->addWidget(value);
    }
    heading->addWidget(RecorderIdLabel);
    heading->addWidget(RecorderId);
    heading->addStretch();

    // The patient.
    PtNameEdit = lineEdit("PtNameEdit", 20, 200, this);
    PtAddressMemo = memo("PtAddressMemo", 50, 2, 250, this);
    PtPhoneEdit = lineEdit("PtPhoneEdit", 20, 200, this);
    SsnEdit = lineEdit("SsnEdit", 20, 200, this);
    InsuranceMemo = memo("InsuranceMemo", 40, 2, 250, this);
    MedicareEdit = lineEdit("MedicareEdit", 20, 200, this);
    AgeEdit = lineEdit("AgeEdit", 10, 80, this);
    SexEdit = lineEdit("SexEdit", 10, 80, this);
    HeightEdit = lineEdit("HeightEdit", 10, 80, this);
    WeightEdit = lineEdit("WeightEdit", 10, 80, this);
    MedicationsEdit = lineEdit("MedicationsEdit", 60, 250, this);
    auto* patient = new QGridLayout;
    addRow(patient, 0, tr("名前:"), PtNameEdit);
    addRow(patient, 1, tr("住所:"), PtAddressMemo);
    addRow(patient, 2, tr("電話:"), PtPhoneEdit);
    addRow(patient, 3, QStringLiteral("Soc. Sec. #:"), SsnEdit);
    addRow(patient, 4, tr("保険:"), InsuranceMemo);
    addRow(patient, 5, QStringLiteral("Medicare #:"), MedicareEdit);
    patient->addWidget(new QLabel(tr("年齢:")), 6, 0, Qt::AlignRight | Qt::AlignVCenter);
    patient->addLayout(pair(AgeEdit, tr("性別:"), SexEdit), 6, 1);
    patient->addWidget(new QLabel(tr("身長:")), 7, 0, Qt::AlignRight | Qt::AlignVCenter);
    patient->addLayout(pair(HeightEdit, tr("体重:"), WeightEdit), 7, 1);
    addRow(patient, 8, QStringLiteral("Medications:"), MedicationsEdit);

    // The physician in charge.
    auto* physicianBox = new QGroupBox(tr("担当医"), this);
    physicianBox->setObjectName(QStringLiteral("PhysicianGroupBox"));
    MdNameEdit = lineEdit("MdNameEdit", 62, 200, physicianBox);
    // Created in the order the Tab key walks: the list button beside the name.
    MdListButton = new QPushButton(tr("リスト"), physicianBox);
    MdListButton->setObjectName(QStringLiteral("MdListButton"));
    MdListButton->setAutoDefault(false);
    connect(MdListButton, &QPushButton::clicked, this, &TPatientInformationForm::MdListButtonClick);
    MdAddressMemo = memo("MdAddressMemo", 50, 2, 250, physicianBox);
    MdPhoneEdit = lineEdit("MdPhoneEdit", 20, 200, physicianBox);
    auto* physician = new QGridLayout(physicianBox);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(MdNameEdit);
    nameRow->addWidget(MdListButton);
    nameRow->addStretch();
    physician->addWidget(new QLabel(tr("名前:"), physicianBox), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    physician->addLayout(nameRow, 0, 1);
    addRow(physician, 1, tr("住所:"), MdAddressMemo);
    addRow(physician, 2, tr("電話:"), MdPhoneEdit);

    // The sleep and wake times of the first (and second) day.
    auto* sleepBox = new QGroupBox(this);
    sleepBox->setObjectName(QStringLiteral("SleepGroupBox"));
    SleepLabel = new QLabel(StringTable::text(kNightId), sleepBox);
    SleepLabel->setObjectName(QStringLiteral("SleepLabel"));
    Day1Label = new QLabel(tr("1日目:"), sleepBox);
    Day1Label->setObjectName(QStringLiteral("Day1Label"));
    Day2Label = new QLabel(tr("2日目:"), sleepBox);
    Day2Label->setObjectName(QStringLiteral("Day2Label"));
    Day1BeginMaskEdit = lineEdit("Day1BeginMaskEdit", 10, 70, sleepBox);
    Day1EndMaskEdit = lineEdit("Day1EndMaskEdit", 10, 70, sleepBox);
    Day2BeginMaskEdit = lineEdit("Day2BeginMaskEdit", 10, 70, sleepBox);
    Day2EndMaskEdit = lineEdit("Day2EndMaskEdit", 10, 70, sleepBox);
    auto* times = new QGridLayout(sleepBox);
    times->addWidget(SleepLabel, 0, 0, 1, 3);
    times->addWidget(new QLabel(tr("睡眠"), sleepBox), 1, 1, Qt::AlignCenter);
    times->addWidget(new QLabel(tr("起床"), sleepBox), 1, 2, Qt::AlignCenter);
    times->addWidget(Day1Label, 2, 0, Qt::AlignRight);
    times->addWidget(Day1BeginMaskEdit, 2, 1);
    times->addWidget(Day1EndMaskEdit, 2, 2);
    times->addWidget(Day2Label, 3, 0, Qt::AlignRight);
    times->addWidget(Day2BeginMaskEdit, 3, 1);
    times->addWidget(Day2EndMaskEdit, 3, 2);
    times->setColumnStretch(3, 1);
    for (QLineEdit* field : {static_cast<QLineEdit*>(Day1BeginMaskEdit), static_cast<QLineEdit*>(Day1EndMaskEdit),
                             static_cast<QLineEdit*>(Day2BeginMaskEdit), static_cast<QLineEdit*>(Day2EndMaskEdit)})
        field->installEventFilter(this);

    CommentsMemo = memo("CommentsMemo", 400, 4, 590, this);

    PtSaveButton = new QPushButton(tr("保存(&S)"), this);
    PtSaveButton->setObjectName(QStringLiteral("PtSaveButton"));
    PtSaveButton->setAutoDefault(false);
    PtCancelButton = new QPushButton(tr("取消し(&C)"), this);
    PtCancelButton->setObjectName(QStringLiteral("PtCancelButton"));
    PtCancelButton->setAutoDefault(false);
    connect(PtSaveButton, &QPushButton::clicked, this, [this] { PtSaveButtonClick(); });
    connect(PtCancelButton, &QPushButton::clicked, this, &TPatientInformationForm::PtCancelButtonClick);

    auto* right = new QVBoxLayout;
    right->addWidget(physicianBox);
    right->addWidget(sleepBox);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(patient);
    columns->addSpacing(12);
    columns->addLayout(right);
    auto* comments = new QHBoxLayout;
    auto* commentsLabel = new QLabel(tr("コメント:"), this);
    commentsLabel->setContentsMargins(0, 4, 0, 0);
    comments->addWidget(commentsLabel, 0, Qt::AlignTop);
    comments->addWidget(CommentsMemo);
    comments->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(PtSaveButton);
    buttons->addWidget(PtCancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addLayout(columns);
    layout->addLayout(comments);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence::HelpContents);
    connect(f1, &QAction::triggered, this, [this] {
        if (helpHandler_)
            helpHandler_(kHelpContext);
    });
    addAction(f1);
}

int TPatientInformationForm::showForPreparedRecording()
{
    fillPending = true;
    return exec();
}

void TPatientInformationForm::copyPhysicianFields()
{
    const PatientRecord& p = session_.patient;
    setText(MdNameEdit, p.physicianName);
    setText(MdAddressMemo, p.physicianAddress);
    setText(MdPhoneEdit, p.physicianPhone);
}

void TPatientInformationForm::showEvent(QShowEvent* event)
{
    FormPaint();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void TPatientInformationForm::clearFields()
{
    for (Cp932LineEdit* edit : findChildren<Cp932LineEdit*>())
        edit->clear();
    for (Cp932MemoEdit* edit : findChildren<Cp932MemoEdit*>())
        edit->clear();
}

void TPatientInformationForm::FormPaint()
{
    if (!fillPending)
        return;
    fillPending = false;

    const SessionState& st = session_.state;
    const PatientRecord& p = session_.patient;
    File->setText(st.fileBaseName);
    // Shown in the interface's date form; the record keeps the stored text.
    Date->setText(displayStoredDate(st.startDateText.toQString()));
    Time->setText(st.startTimeText.toQString());
    RecorderId->setText(QString::number(p.recorderId));
    const bool home = st.recorderType == RecorderType::Ks318;
    RecorderIdLabel->setVisible(!home);
    RecorderId->setVisible(!home);
    SleepLabel->setText(StringTable::text(home ? kNightId : kSleepId));
    const bool twoDays = st.recordingHours != 24;
    for (QWidget* w : std::initializer_list<QWidget*>{Day1Label, Day2Label, Day2BeginMaskEdit, Day2EndMaskEdit})
        w->setVisible(twoDays);

    clearFields();
    if (!p.valid)
        return;
    setText(PtNameEdit, p.patientName);
    setText(PtAddressMemo, p.patientAddress);
    setText(PtPhoneEdit, p.patientPhone);
    setText(SsnEdit, p.socialSecurityNumber);
    setText(InsuranceMemo, p.insurance);
    setText(MedicareEdit, p.medicareNumber);
    setText(AgeEdit, p.age);
    setText(SexEdit, p.sex);
    setText(HeightEdit, p.height);
    setText(WeightEdit, p.weight);
    setText(MedicationsEdit, p.medications);
    copyPhysicianFields();
    setTimes(Day1BeginMaskEdit, Day1EndMaskEdit, p.day1SleepTime, p.day1WakeTime);
    setTimes(Day2BeginMaskEdit, Day2EndMaskEdit, p.day2SleepTime, p.day2WakeTime);
    setText(CommentsMemo, p.comments);
}

bool TPatientInformationForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Checked when the user moves on within the dialog; not when another
        // window takes the focus, nor on the way to Cancel.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && QApplication::focusWidget() != PtCancelButton) {
            auto* field = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, this, [this, field] {
                if (isVisible())
                    checkTimeField(field);
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TPatientInformationForm::checkTimeField(QLineEdit* field)
{
    const QString text = field->text();
    if (text.trimmed().isEmpty()) {
        field->clear();
        return true;
    }
    int hour = 0;
    int minute = 0;
    if (readTimeOfDay(text, hour, minute)) {
        field->setText(clockText(hour, minute));
        return true;
    }
    showMessage(messages_, kNotATimeId, kErrorCaptionId, MessageIcon::Warning);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

bool TPatientInformationForm::Day1BeginMaskEditExit() { return checkTimeField(Day1BeginMaskEdit); }
bool TPatientInformationForm::Day1EndMaskEditExit() { return checkTimeField(Day1EndMaskEdit); }
bool TPatientInformationForm::Day2BeginMaskEditExit() { return checkTimeField(Day2BeginMaskEdit); }
bool TPatientInformationForm::Day2EndMaskEditExit() { return checkTimeField(Day2EndMaskEdit); }

void TPatientInformationForm::MdListButtonClick()
{
    if (!physicianList_ || physicianList_->exec() != QDialog::Accepted)
        return;
    const PhysicianList& list = session_.settings.physicians;
    const int chosen = list.selectedPhysician;
    if (list.valid != 1 || chosen < 0 || chosen >= int(PhysicianList::kSlots))
        return;
    const PhysicianSlot& slot = list.entries[std::size_t(chosen)];
    if (!slot.used)
        return;
    setText(MdNameEdit, slot.displayName);
    setText(MdAddressMemo, slot.address);
    setText(MdPhoneEdit, slot.phone);
}

bool TPatientInformationForm::PtSaveButtonClick()
{
    if (!Day1BeginMaskEditExit() || !Day1EndMaskEditExit())
        return false;
    if (Day2BeginMaskEdit->isVisibleTo(this) && (!Day2BeginMaskEditExit() || !Day2EndMaskEditExit()))
        return false;

    PatientRecord p = session_.patient;
    p.startDateText.setQString(session_.state.startDateText.toQString());
    p.startTimeText.setQString(Time->text());
    p.recorderId = static_cast<std::uint8_t>(std::clamp(decimalValue(RecorderId->text()), 0, 255));
    p.patientName.setQString(PtNameEdit->text());
    p.patientAddress.setQString(PtAddressMemo->storedText());
    p.patientPhone.setQString(PtPhoneEdit->text());
    p.socialSecurityNumber.setQString(SsnEdit->text());
    p.insurance.setQString(InsuranceMemo->storedText());
    p.medicareNumber.setQString(MedicareEdit->text());
    p.age.setQString(AgeEdit->text());
    p.sex.setQString(SexEdit->text());
    p.height.setQString(HeightEdit->text());
    p.weight.setQString(WeightEdit->text());
    p.medications.setQString(MedicationsEdit->text());
    p.physicianName.setQString(MdNameEdit->text());
    p.physicianAddress.setQString(MdAddressMemo->storedText());
    p.physicianPhone.setQString(MdPhoneEdit->text());
    p.comments.setQString(CommentsMemo->storedText());
    p.day1SleepTime.setQString(Day1BeginMaskEdit->text());
    p.day1WakeTime.setQString(Day1EndMaskEdit->text());

    const PatientSave result = savePatientInformation(session_, p, messages_);
    if (!result.saved)
        return false;
    Q_EMIT saved(result.nameChanged);
    accept();
    return true;
}

void TPatientInformationForm::PtCancelButtonClick()
{
    reject();
}

} // namespace ks318
