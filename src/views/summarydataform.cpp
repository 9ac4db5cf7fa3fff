#include "summarydataform.h"

#include "analysis/clinicalmeasures.h"
#include "analysis/periodstatistics.h"
#include "clinicalpage.h"
#include "records/bpdatafile.h"
#include "session/session.h"
#include "records/settings.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "windowplacement.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ks318 {

namespace {

constexpr int kWholeTitleId = 129;
constexpr int kPartialTitleId = 130;
constexpr int kAwakeTitleId = 131;
constexpr int kSleepTitleId = 132;
constexpr int kDayTitleId = 133;
constexpr int kNightTitleId = 134;
constexpr int kDayTabId = 20;
constexpr int kNightTabId = 21;
constexpr int kAwakeTabId = 22;
constexpr int kSleepTabId = 23;
constexpr int kAwakeLabelId = 145;
constexpr int kSleepLabelId = 146;
constexpr int kDayLabelId = 147;
constexpr int kNightLabelId = 148;
constexpr int kHoursId = 194;

// Rows and columns of the statistics table, as the cells are named.
struct Row {
    const char* prefix;
    int parameter;
    const char* caption;         // pages 1 and 2
    const char* compactCaption;  // pages 3 and 4
};
const Row kRows[] = {
    {"Sys", ParamSys, QT_TRANSLATE_NOOP("SummaryPage", "最高血圧 (mmHg)"), QT_TRANSLATE_NOOP("SummaryPage", "最高血圧(mmHg)")},
    {"Dia", ParamDia, QT_TRANSLATE_NOOP("SummaryPage", "最低血圧 (mmHg)"), QT_TRANSLATE_NOOP("SummaryPage", "最低血圧(mmHg)")},
    {"Map", ParamMap, QT_TRANSLATE_NOOP("SummaryPage", "平均血圧 (mmHg)"), QT_TRANSLATE_NOOP("SummaryPage", "平均血圧(mmHg)")},
    {"Pulse", ParamPulse, QT_TRANSLATE_NOOP("SummaryPage", "脈拍数 (BPM)"), QT_TRANSLATE_NOOP("SummaryPage", "脈拍数(BPM)")},
};
struct Column {
    const char* suffix;
    int kind;
    const char* caption;
};
const Column kColumns[] = {
    {"Min", StatMin, QT_TRANSLATE_NOOP("SummaryPage", "最小値")}, {"Mean", StatMean, QT_TRANSLATE_NOOP("SummaryPage", "平均")}, {"Max", StatMax, QT_TRANSLATE_NOOP("SummaryPage", "最大値")},
    {"Sd", StatSd, "SD"},       {"Se", StatSe, "SE"},       {"Cv", StatCv, "CV%"},
};

// The four extremes: name, caption, parameter, statistic, extreme time.
struct Extreme {
    const char* name;
    const char* caption;
    int parameter;
    int kind;
    int time;
};
const Extreme kExtremes[] = {
    {"HighestSys", QT_TRANSLATE_NOOP("SummaryPage", "最高血圧最大値:"), ParamSys, StatMax, HighestSys},
    {"HighestDia", QT_TRANSLATE_NOOP("SummaryPage", "最低血圧最大値:"), ParamDia, StatMax, HighestDia},
    {"LowestSys", QT_TRANSLATE_NOOP("SummaryPage", "最高血圧最小値:"), ParamSys, StatMin, LowestSys},
    {"LowestDia", QT_TRANSLATE_NOOP("SummaryPage", "最低血圧最小値:"), ParamDia, StatMin, LowestDia},
};

QString clock(int hour, int minute)
{
    return QString::asprintf("%02d:%02d", hour, minute);
}

QString digit(int page)
{
    return QString::number(page - 1);
}

// Builds the controls of one page; every named label goes into `labels`.
class PageBuilder {
    Q_DECLARE_TR_FUNCTIONS(SummaryPage)

public:
    PageBuilder(QWidget* page, int number, QHash<QString, QLabel*>& labels)
        : page_(page), number_(number), d_(digit(number)), labels_(labels)
    {
    }

    void build()
    {
        auto* column = new QVBoxLayout(page_);
        QLabel* title = named("SummaryType", QString());
        QFont bold = title->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.2);
        title->setFont(bold);
        column->addWidget(title);
        auto* heading = new QHBoxLayout;
        heading->addWidget(named("FileName", QString()));
        heading->addWidget(named("BpMethod", QString()));
        heading->addStretch();
        column->addLayout(heading);

        if (number_ <= 2) {
            column->addLayout(intervalLine(QString(), number_ == 1 ? tr("全区間:")
                                                                   : tr("解析区間:"), true));
        } else {
            const QString caption = number_ == 3 ? tr("削除区間:") : tr("解析区間:");
            column->addLayout(intervalLine(QStringLiteral("a"), caption, false));
            column->addLayout(intervalLine(QStringLiteral("b"), caption, false));
        }

        auto* counts = new QHBoxLayout;
        counts->addWidget(plain(tr("有効データ数 =")));
        counts->addWidget(value("ValidReadings", 40));
        counts->addSpacing(24);
        counts->addWidget(plain(tr("削除データ数 =")));
        counts->addWidget(value("ExcludedReadings", 90, Qt::AlignLeft));
        counts->addStretch();
        column->addLayout(counts);

        column->addLayout(statisticsTable());
        column->addLayout(number_ <= 2 ? wholeThresholds() : periodThresholds());
        column->addLayout(extremes());
        column->addStretch();
    }

private:
    QLabel* named(const char* name, const QString& text, const QString& tail = QString())
    {
        const QString objectName = QString::fromLatin1(name) + d_ + tail;
        auto* label = new QLabel(text, page_);
        label->setObjectName(objectName);
        labels_.insert(objectName, label);
        return label;
    }
    QLabel* value(const char* name, int width, Qt::Alignment align = Qt::AlignRight)
    {
        QLabel* label = named(name, QString());
        label->setMinimumWidth(width);
        label->setAlignment(align | Qt::AlignVCenter);
        return label;
    }
    QLabel* plain(const QString& text) { return new QLabel(text, page_); }

    QHBoxLayout* intervalLine(const QString& tail, const QString& caption, bool withLength)
    {
        auto* line = new QHBoxLayout;
        line->addWidget(named("TimeintervalLabel", caption, tail));
        if (withLength) {
            QLabel* length = named("TimeInterval", QString(), tail);
            length->setMinimumWidth(30);
            length->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            line->addWidget(length);
            line->addWidget(named("TimeIntervalUnitsLabel", tr("時間"), tail));
        }
        line->addWidget(named("StartTimeDate", QString(), tail));
        line->addWidget(named("TimeDateSeparator", QStringLiteral("-->"), tail));
        line->addWidget(named("EndTimeDate", QString(), tail));
        line->addStretch();
        return line;
    }

    QGridLayout* statisticsTable()
    {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(14);
        int c = 1;
        for (const Column& col : kColumns) {
            QLabel* head = plain(tr(col.caption));
            head->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(head, 0, c++);
        }
        int r = 1;
        for (const Row& row : kRows) {
            QLabel* caption = named((std::string(row.prefix) + "RowLabel").c_str(),
                                    tr(number_ <= 2 ? row.caption : row.compactCaption));
            grid->addWidget(caption, r, 0);
            c = 1;
            for (const Column& col : kColumns) {
                QLabel* cell = value((std::string(row.prefix) + col.suffix).c_str(), 44);
                grid->addWidget(cell, r, c++);
            }
            ++r;
        }
        grid->setColumnStretch(c, 1);
        return grid;
    }

    QGridLayout* wholeThresholds()
    {
        auto* grid = new QGridLayout;
        grid->addWidget(plain(tr("SYS/DIA 閾値:")), 0, 0);
        grid->addWidget(named("AwakeLabel", StringTable::text(kAwakeLabelId)), 0, 1);
        grid->addWidget(value("AwakeBpLimit", 60), 0, 2);
        grid->addWidget(plain(QStringLiteral("mmHg")), 0, 3);
        grid->addWidget(named("SleepLabel", StringTable::text(kSleepLabelId)), 0, 4);
        grid->addWidget(value("SleepBpLimit", 60), 0, 5);
        grid->addWidget(plain(QStringLiteral("mmHg")), 0, 6);
        grid->addWidget(plain(tr("最高血圧 > :")), 1, 0);
        grid->addWidget(value("ReadingsGTSysLimit", 60), 1, 2);
        grid->addWidget(plain(tr("最低血圧 > :")), 2, 0);
        grid->addWidget(value("ReadingsGTDiaLimit", 60), 2, 2);
        grid->setColumnStretch(7, 1);
        return grid;
    }

    QGridLayout* periodThresholds()
    {
        auto* grid = new QGridLayout;
        grid->addWidget(plain(tr("最高血圧 >")), 0, 0);
        grid->addWidget(value("SysLimit", 30), 0, 1);
        grid->addWidget(plain(QStringLiteral("mmHg:")), 0, 2);
        grid->addWidget(value("ReadingsGTSysLimit", 60), 0, 3);
        grid->addWidget(plain(tr("最低血圧 >")), 1, 0);
        grid->addWidget(value("DiaLimit", 30), 1, 1);
        grid->addWidget(plain(QStringLiteral("mmHg:")), 1, 2);
        grid->addWidget(value("ReadingsGTDiaLimit", 60), 1, 3);
        grid->setColumnStretch(4, 1);
        return grid;
    }

    QGridLayout* extremes()
    {
        auto* grid = new QGridLayout;
        int r = 0;
        for (const Extreme& e : kExtremes) {
            grid->addWidget(plain(tr(e.caption)), r, 0);
            grid->addWidget(value((std::string(e.name) + "Value").c_str(), 30), r, 1);
            grid->addWidget(plain(QStringLiteral("mmHg  at")), r, 2);
            grid->addWidget(value((std::string(e.name) + "TimeDate").c_str(), 150, Qt::AlignLeft), r, 3);
            ++r;
        }
        grid->setColumnStretch(4, 1);
        return grid;
    }

    QWidget* page_;
    int number_;
    QString d_;
    QHash<QString, QLabel*>& labels_;
};

} // namespace

TSummaryDataForm::TSummaryDataForm(Session& session, bool& summaryShown, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), session_(session), summaryShown_(summaryShown)
{
    setObjectName(QStringLiteral("SummaryDataForm"));
    setWindowTitle(tr("サマリーデータ"));
    setModal(false);
    printDialog_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };

    SummaryPageControl = new QTabWidget(this);
    SummaryPageControl->setObjectName(QStringLiteral("SummaryPageControl"));
    const char* const sheetNames[] = {"FullTabSheet", "PartialTabSheet", "AwakeTabSheet", "SleepTabSheet"};
    const QString captions[] = {QStringLiteral("Full"), QStringLiteral("Partial"), StringTable::text(kAwakeTabId),
                                StringTable::text(kSleepTabId)};
    QWidget* sheets[4];
    for (int p = 1; p <= 4; ++p) {
        auto* sheet = new QWidget(SummaryPageControl);
        sheet->setObjectName(QString::fromLatin1(sheetNames[p - 1]));
        PageBuilder(sheet, p, labels_).build();
        SummaryPageControl->addTab(sheet, captions[p - 1]);
        sheets[p - 1] = sheet;
    }
    FullTabSheet = sheets[0];
    PartialTabSheet = sheets[1];
    AwakeTabSheet = sheets[2];
    SleepTabSheet = sheets[3];
    label(QStringLiteral("SummaryType0"))->setText(StringTable::text(kWholeTitleId));
    label(QStringLiteral("SummaryType1"))->setText(StringTable::text(kPartialTitleId));
    SummaryPageControl->setTabVisible(1, false);
    ClinicalTabSheet = new ClinicalPage(SummaryPageControl);
    SummaryPageControl->addTab(ClinicalTabSheet, tr("臨床指標"));

    SummaryDataPrintButton = new QPushButton(tr("印刷(&P)"), this);
    SummaryDataPrintButton->setObjectName(QStringLiteral("SummaryDataPrintButton"));
    SummaryDataCloseButton = new QPushButton(tr("閉じる(&C)"), this);
    SummaryDataCloseButton->setObjectName(QStringLiteral("SummaryDataCloseButton"));
    connect(SummaryDataPrintButton, &QPushButton::clicked, this, &TSummaryDataForm::SummaryDataPrintButtonClick);
    connect(SummaryDataCloseButton, &QPushButton::clicked, this, &TSummaryDataForm::SummaryDataCloseButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SummaryDataPrintButton);
    buttons->addWidget(SummaryDataCloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SummaryPageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

TSummaryDataForm::~TSummaryDataForm()
{
    // The block this window filled goes with it.
    session_.freeData();
}

QLabel* TSummaryDataForm::label(const QString& name) const
{
    return labels_.value(name, nullptr);
}

void TSummaryDataForm::setText(const QString& name, const QString& text)
{
    if (QLabel* l = label(name))
        l->setText(text);
}

void TSummaryDataForm::showEvent(QShowEvent* event)
{
    FormPaint();
    if (!centred_) {
        centred_ = true;
        adjustSize();
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

bool TSummaryDataForm::event(QEvent* event)
{
    // Coming back to the window (after saving in the BP data list, changing
    // the thresholds or the sleep times) shows the file as it is now.
    if (event->type() == QEvent::WindowActivate && isVisible())
        FormPaint();
    return QDialog::event(event);
}

void TSummaryDataForm::FormPaint()
{
    // While the session describes another file (a retrieval's new
    // recording), what is shown stays until the current one is back.
    if (!session_.describesCurrentRecording())
        return;
    SessionState& st = session_.state;
    SessionData* data = session_.allocateData();
    if (data && !st.currentFilePath.isEmpty())
        readBpDataFile(session_, st.currentFilePath, st.bpMode);
    computePeriodStatistics(session_, thresholdsOf(session_.settings.analysis));
    const PeriodCounters counters = data ? data->counters : PeriodCounters();

    const bool home = st.recorderType == RecorderType::Ks318;
    const bool dayNight = st.sleepHour != -1 && st.wakeHour != -1 && counters.validAwake > 0
                          && counters.validAsleep > 0;
    // Hiding the page in view moves the tab control to a neighbour; the
    // window goes back to "Full" instead.
    const int chosen = SummaryPageControl->currentIndex();
    // Partial analysis is off: the partial page is never shown.
    SummaryPageControl->setTabVisible(1, false);
    SummaryPageControl->setTabVisible(2, dayNight);
    SummaryPageControl->setTabVisible(3, dayNight);
    SummaryPageControl->setTabText(2, StringTable::text(home ? kDayTabId : kAwakeTabId));
    SummaryPageControl->setTabText(3, StringTable::text(home ? kNightTabId : kSleepTabId));
    setText(QStringLiteral("SummaryType2"), StringTable::text(home ? kDayTitleId : kAwakeTitleId));
    setText(QStringLiteral("SummaryType3"), StringTable::text(home ? kNightTitleId : kSleepTitleId));
    setText(QStringLiteral("AwakeLabel0"), StringTable::text(home ? kDayLabelId : kAwakeLabelId));
    setText(QStringLiteral("SleepLabel0"), StringTable::text(home ? kNightLabelId : kSleepLabelId));

    writePage(WholePeriod);
    if (periodCount(counters, WholePeriod) == 0)
        zeroFillPage1();
    if (dayNight) {
        writePage(AwakePeriod);
        writePage(AsleepPeriod);
    }
    ClinicalTabSheet->showMeasures(
        computeClinicalMeasures(data, st.sleepHour, st.sleepMinute, st.wakeHour, st.wakeMinute),
        label(QStringLiteral("FileName0"))->text(), label(QStringLiteral("BpMethod0"))->text());

    if (!summaryShown_) {
        SummaryPageControl->setCurrentIndex(0);
        summaryShown_ = true;
    } else if (!SummaryPageControl->isTabVisible(chosen)) {
        SummaryPageControl->setCurrentIndex(0);
    }
}

void TSummaryDataForm::writePage(int period)
{
    const SessionState& st = session_.state;
    const PeriodStatistics& stats = session_.stats;
    const SessionData* data = session_.data();
    const PeriodCounters counters = data ? data->counters : PeriodCounters();
    const BpThresholds thresholds = thresholdsOf(session_.settings.analysis);
    const std::uint32_t n = periodCount(counters, period);
    const std::uint32_t total = periodTotal(counters, period);
    const ThresholdPair pair = thresholdPairOfPeriod(thresholds, period);
    const QString d = digit(period);
    auto put = [this, &d](const char* name, const QString& text) { setText(QString::fromLatin1(name) + d, text); };

    put("FileName", st.fileBaseName + QStringLiteral(":") + st.patientName.toQString());
    put("BpMethod", QStringLiteral(" (") + StringTable::text(kFirstBpModeStringId + code(st.bpMode))
                        + QStringLiteral(")"));

    if (period == WholePeriod) {
        const SessionState::Window& w = st.window1;
        const QDate start(w.year, w.month, w.day);
        if (start.isValid() && w.hours >= 0 && w.hour >= 0 && w.minute >= 0) {
            // The end in whole minutes: a day per 1440 minutes of the length,
            // one more when the rest carries the time of day past midnight.
            const int length = w.hours * 60;
            int days = length / 1440;
            const int rest = length % 1440;
            const int startMinute = w.hour * 60 + w.minute;
            if (startMinute + rest >= 1440)
                ++days;
            const int endMinute = (startMinute + rest) % 1440;
            put("TimeInterval", QString::number(w.hours));
            put("StartTimeDate", clock(w.hour, w.minute) + QLatin1Char(' ') + formatShortDate(start));
            put("EndTimeDate", clock(endMinute / 60, endMinute % 60) + QLatin1Char(' ')
                                   + formatShortDate(start.addDays(days)));
        } else {
            put("TimeInterval", QString());
            put("StartTimeDate", QString());
            put("EndTimeDate", QString());
        }
        put("TimeIntervalUnitsLabel", StringTable::text(kHoursId) + QStringLiteral(","));
    } else if (period == AwakePeriod || period == AsleepPeriod) {
        for (const char* name : {"TimeintervalLabel", "StartTimeDate", "TimeDateSeparator", "EndTimeDate"}) {
            if (QLabel* l = label(QString::fromLatin1(name) + d + QStringLiteral("b")))
                l->hide();
        }
        setText(QStringLiteral("StartTimeDate") + d + QStringLiteral("a"), clock(st.sleepHour, st.sleepMinute));
        setText(QStringLiteral("EndTimeDate") + d + QStringLiteral("a"), clock(st.wakeHour, st.wakeMinute));
    }

    put("ValidReadings", QString::number(n));
    put("ExcludedReadings",
        QString::asprintf("%d (%3.1f%%)", notCountedCount(total, n), notCountedPercent(total, n)));

    for (const Row& row : kRows) {
        for (const Column& col : kColumns) {
            const double v = stats.value(period, row.parameter, col.kind);
            const bool wide = col.kind == StatSd || col.kind == StatSe || col.kind == StatCv;
            setText(QString::fromLatin1(row.prefix) + QString::fromLatin1(col.suffix) + d,
                    QString::asprintf(wide ? "%5.2f" : "%3.0f", v));
        }
    }

    if (period == WholePeriod || period == PartialPeriod) {
        put("AwakeBpLimit", QString::asprintf("%3d/%3d", thresholds.awakeSys, thresholds.awakeDia));
        put("SleepBpLimit", QString::asprintf("%3d/%3d", thresholds.asleepSys, thresholds.asleepDia));
    } else {
        put("SysLimit", QString::asprintf("%3d", pair.sys));
        put("DiaLimit", QString::asprintf("%3d", pair.dia));
    }
    put("ReadingsGTSysLimit", QString::asprintf("%5.1f%%", aboveThresholdPercent(stats.sysAboveCount[period], n)));
    put("ReadingsGTDiaLimit", QString::asprintf("%5.1f%%", aboveThresholdPercent(stats.diaAboveCount[period], n)));

    if (n > 0) {
        for (const Extreme& e : kExtremes) {
            const ExtremeTime& t = stats.extremes[period][e.time];
            setText(QString::fromLatin1(e.name) + QStringLiteral("Value") + d,
                    QString::asprintf("%3.0f", stats.value(period, e.parameter, e.kind)));
            setText(QString::fromLatin1(e.name) + QStringLiteral("TimeDate") + d,
                    QString::asprintf("%02d:%02d  ", t.hour, t.minute) + formatShortDate(QDate(t.year, t.month, t.day)));
        }
    }
}

void TSummaryDataForm::zeroFillPage1()
{
    const QString d = digit(WholePeriod);
    for (const Row& row : kRows) {
        for (const Column& col : kColumns) {
            const bool wide = col.kind == StatSd || col.kind == StatSe || col.kind == StatCv;
            setText(QString::fromLatin1(row.prefix) + QString::fromLatin1(col.suffix) + d,
                    QString::asprintf(wide ? "%5.2f" : "%3.0f", 0.0));
        }
    }
    setText(QStringLiteral("ReadingsGTSysLimit") + d, QString::asprintf("%5.2f", 0.0));
    setText(QStringLiteral("ReadingsGTDiaLimit") + d, QString::asprintf("%5.2f", 0.0));
    for (const Extreme& e : kExtremes) {
        setText(QString::fromLatin1(e.name) + QStringLiteral("Value") + d, QString::asprintf("%d", 0));
        setText(QString::fromLatin1(e.name) + QStringLiteral("TimeDate") + d,
                QString::asprintf("%02d:%02d  %04d/%02d/%02d", 0, 0, 0, 0, 0));
    }
}

void TSummaryDataForm::SummaryDataPrintButtonClick()
{
    QPrinter printer(QPrinter::HighResolution);
    if (printDialog_ && printDialog_(printer))
        printWindowImage(printer);
    close();
    show();
}

bool TSummaryDataForm::printWindowImage(QPrinter& printer)
{
    const QPixmap image = grab();
    QPainter painter;
    if (image.isNull() || !painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(page.topLeft(), size), image);
    return painter.end();
}

void TSummaryDataForm::SummaryDataCloseButtonClick()
{
    close();
}

} // namespace ks318
