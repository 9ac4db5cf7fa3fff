#include "recorderretrieveform.h"

#include "beepservice.h"
#include "busycursor.h"
#include "helpservice.h"
#include "mainform.h"
#include "messageservice.h"
#include "patientinformationform.h"
#include "recorder/retrieval.h"
#include "session/session.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "views/cp932edit.h"
#include "views/windowplacement.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace ks318 {

namespace {

constexpr int kConnectedId = 100;
constexpr int kReadingId = 101;
constexpr int kFinishedId = 106;
constexpr int kNoNameId = 207;
constexpr int kCannotOpenId = 220;
constexpr int kNoSpaceId = 240;
constexpr int kExistsId = 268;

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

TRecorderRetrieveForm::TRecorderRetrieveForm(TMainForm* mainForm, GuiMessageService* messages, BeepService* beeps)
    : QDialog(mainForm, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), main_(mainForm), messages_(messages),
      beeps_(beeps)
{
    setObjectName(QStringLiteral("RecorderRetrieveForm"));
    setWindowTitle(tr("レコーダ - データ読み込み"));
    setModal(true);

    RecorderIDLabel = label(this, "RecorderIDLabel", tr("レコーダ ID:"));
    RecorderID = label(this, "RecorderID", QStringLiteral("0"));
    StartDateLabel = label(this, "StartDateLabel", tr("測定開始日:"));
    StartDate = label(this, "StartDate", QStringLiteral("00/00/00"));
    StartTimeLabel = label(this, "StartTimeLabel", tr("開始時刻:"));
    StartTime = label(this, "StartTime", QStringLiteral("00:00"));
    PatientNameLabel = label(this, "PatientNameLabel", tr("患者名:"));
    PatientNameEdit = new Cp932LineEdit(20, this);
    PatientNameEdit->setObjectName(QStringLiteral("PatientNameEdit"));
    PatientNameEdit->setMinimumWidth(200);
    ConvertDataGroupBox = new QGroupBox(tr("データ変換"), this);
    ConvertDataGroupBox->setObjectName(QStringLiteral("ConvertDataGroupBox"));
    CreateCsvFileCheckBox = new QCheckBox(tr("自動的に CSV ファイルを作成"), ConvertDataGroupBox);
    CreateCsvFileCheckBox->setObjectName(QStringLiteral("CreateCsvFileCheckBox"));
    auto* csv = new QVBoxLayout(ConvertDataGroupBox);
    csv->addWidget(CreateCsvFileCheckBox);
    RetrievedataButton = new QPushButton(tr("データ読み込み"), this);
    RetrievedataButton->setObjectName(QStringLiteral("RetrievedataButton"));
    RetrievedataButton->setDefault(true);
    connect(RetrievedataButton, &QPushButton::clicked, this, &TRecorderRetrieveForm::RetrievedataButtonClick);
    StatusLabel = label(this, "StatusLabel", tr("状態:"));
    Status = label(this, "Status", tr("接続中"));
    ReadCounterLabel = label(this, "ReadCounterLabel", tr("読み込みｶｳﾝﾀ:"));
    ReadCount = label(this, "ReadCount", QStringLiteral("0"));
    Status->setMinimumWidth(150);

    auto* fields = new QGridLayout;
    fields->addWidget(RecorderIDLabel, 0, 0);
    fields->addWidget(RecorderID, 0, 1);
    fields->addWidget(StartDateLabel, 1, 0);
    fields->addWidget(StartDate, 1, 1);
    fields->addWidget(StartTimeLabel, 2, 0);
    fields->addWidget(StartTime, 2, 1);
    fields->addWidget(PatientNameLabel, 3, 0);
    fields->addWidget(PatientNameEdit, 3, 1);
    fields->addWidget(ConvertDataGroupBox, 4, 0, 1, 2);
    auto* progress = new QGridLayout;
    progress->addWidget(RetrievedataButton, 0, 0, 1, 2);
    progress->addWidget(StatusLabel, 1, 0);
    progress->addWidget(Status, 1, 1);
    progress->addWidget(ReadCounterLabel, 2, 0);
    progress->addWidget(ReadCount, 2, 1);
    progress->setRowStretch(3, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(16);
    layout->addLayout(progress);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* f1 = new QAction(this);
    f1->setShortcut(QKeySequence::HelpContents);
    connect(f1, &QAction::triggered, this, [this] { main_->Help->showTopic(kHelpContext); });
    addAction(f1);
}

void TRecorderRetrieveForm::showEvent(QShowEvent* event)
{
    RecorderIDLabel->hide();
    RecorderID->hide();
    StartDate->setText(QStringLiteral("00/00/00"));
    StartTime->setText(QStringLiteral("00:00"));
    Status->setText(StringTable::text(kConnectedId));
    ReadCount->setText(QStringLiteral("0"));
    hasData = false;
    centreOnScreen(this);
    QDialog::showEvent(event);
    // The transfer starts once the dialog is up, so that it paints while
    // the link waits.
    if (!activationDue_) {
        activationDue_ = true;
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                FormActivate();
        });
    }
}

void TRecorderRetrieveForm::hideEvent(QHideEvent* event)
{
    FormClose();
    activationDue_ = false;
    QDialog::hideEvent(event);
}

void TRecorderRetrieveForm::FormActivate()
{
    {
        BusyCursor busy;
        hasData = false;
        failureMessageId_ = retrievalMessageId(RetrievalOutcome::LinkFailure);
        if (RecorderService* link = main_->recorderSession.get()) {
            const LinkResult result = link->RetrieveDataBlock();
            const RetrievalOutcome outcome = retrievalOutcome(result, *link);
            failureMessageId_ = retrievalMessageId(outcome);
            if (outcome == RetrievalOutcome::Records) {
                hasData = true;
                retrievedHeaderLine =
                    recordLineFromRecord(std::string_view(link->dataBuffer, RecorderService::kRecordLength), false);
            }
        }
    }
    Tag = 0;
    FormPaint();
}

void TRecorderRetrieveForm::FormPaint()
{
    RecorderIDLabel->hide();
    RecorderID->hide();
    if (hasData) {
        const RetrievedStart start = startOfRecordLine(retrievedHeaderLine);
        StartDate->setText(formatShortDate(QDate(start.year, start.month, start.day)));
        StartTime->setText(QString::asprintf("%02d:%02d", start.hour, start.minute));
        Status->setText(StringTable::text(kConnectedId));
        ReadCount->clear();
        CreateCsvFileCheckBox->setChecked(main_->session().settings.analysis.createCsvFile == 1);
    } else if (Tag == 0) {
        Tag = 1;
        // 208 when the recorder holds no readings; a failed transfer is
        // not an empty recorder (224).
        showMessage(messages_, failureMessageId_, kErrorCaptionId, MessageIcon::Exclamation);
        reject();
        Tag = 0;
    }
}

void TRecorderRetrieveForm::RetrievedataButtonClick()
{
    Session& session = main_->session();
    AnalysisSettings& settings = session.settings.analysis;
    if (PatientNameEdit->text().isEmpty()) {
        showMessage(messages_, kNoNameId, kErrorCaptionId, MessageIcon::Exclamation);
        PatientNameEdit->setFocus();
        return;
    }
    settings.createCsvFile = CreateCsvFileCheckBox->isChecked() ? 1 : 0;
    const QString path = main_->chooseSaveFile(QString());
    if (path.isEmpty())
        return;
    if (!retrievalSpaceAvailable(path)) {
        showMessage(messages_, kNoSpaceId, kErrorCaptionId, MessageIcon::Exclamation);
        beeps_->beep();
        return;
    }
    RecorderService* link = main_->recorderSession.get();
    if (!hasData || !link)
        return;
    RetrievedataButton->repaint();
    BusyCursor busy;
    BusyCursorMessages messages(messages_, busy);
    retrievalPath = path;
    // The file actually written is tested, whatever extension was typed.
    if (retrievalTargetExists(path)) {
        showMessage(&messages, kExistsId, kErrorCaptionId, MessageIcon::Exclamation);
        return;
    }
    const RetrievalWrite written = writeRetrievedFile(path, *link, [this](int records) {
        Status->setText(StringTable::text(kReadingId));
        ReadCount->setText(QString::asprintf("# %d", records));
        Status->repaint();
        ReadCount->repaint();
    });
    if (written == RetrievalWrite::Exists) {   // appeared since the test
        showMessage(&messages, kExistsId, kErrorCaptionId, MessageIcon::Exclamation);
        return;
    }
    if (written == RetrievalWrite::CannotCreate)
        showMessage(&messages, kCannotOpenId, kErrorCaptionId, MessageIcon::Exclamation);
    Status->setText(StringTable::text(kFinishedId));
    Status->repaint();
    busy.release();

    // The new recording with a fresh companion file carrying the name, the
    // patient information, the CSV file. Without a data file there is no
    // recording to describe.
    if (written == RetrievalWrite::Written) {
        prepareRetrievedRecording(session, path, PatientNameEdit->text(), messages_);
        main_->PatientInformationForm->showForPreparedRecording();
        if (settings.createCsvFile == 1)
            exportRetrievedCsv(path, messages_);
    }
    accept();

    // The recording open before is opened again; with none open, the new
    // one is opened. Either way the views are told once it is complete.
    const QString current = session.state.currentFilePath;
    if (!current.isEmpty())
        main_->makeCurrent(current);
    else if (written == RetrievalWrite::Written)
        main_->openFile(retrievalDataPath(path));
    else
        main_->makeCurrent(QString());
}

void TRecorderRetrieveForm::FormClose()
{
    PatientNameEdit->clear();
}

} // namespace ks318
