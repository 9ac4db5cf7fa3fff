// ks318-cli recorder [--port DEVICE|COMn] SUBCOMMAND: the recorder menu from
// the command line.
#include "climessages.h"
#include "commands.h"

#include "recorder/recorderflows.h"
#include "recorder/retrieval.h"
#include "recorder/serial.h"
#include "records/filenames.h"
#include "records/language.h"
#include "session/session.h"
#include "records/settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace ks318::cli {

const char* const kRecorderUsage =
    "  recorder [--port DEVICE|COMn] SUBCOMMAND\n"
    "      Talks to a KS-318P on a serial port (default: the port of data.d in\n"
    "      the current directory, else COM1; COMn is the device in KS318_COMn,\n"
    "      else /dev/ttyS(n-1)). Subcommands:\n"
    "      retrieve OUT.DAT --patient NAME [--csv]\n"
    "                                        read the recorder's readings into\n"
    "                                        OUT.dat and prepare it (OUT.p30);\n"
    "                                        --csv also writes OUT.csv\n"
    "      read-setup                        print the six measurement times\n"
    "      setup --slots S1,...,S6 [--set-clock] [--clear]\n"
    "                                        each slot hh:mm or off; clears,\n"
    "                                        sets the clock, sends the schedule\n"
    "      clear                             clear all data in the recorder\n"
    "      measure                           start a measurement\n";

namespace {

constexpr int kMessageNoAnswer = 224;
constexpr int kMessageCannotOpen = 220;
constexpr int kMessageExists = 268;
constexpr int kMessageDuplicate = 266;

// The port of the settings in the current directory, when they exist there;
// nothing is created.
QString defaultPortName()
{
    if (!QFileInfo::exists(QStringLiteral("data.d")))
        return portNameFor(1);
    Session session;
    session.settings.directory = QDir::currentPath();
    if (!readDataD(session, nullptr))
        return portNameFor(1);
    const QString name = session.settings.analysis.serialPortName.toQString();
    return name.isEmpty() ? portNameFor(1) : name;
}

struct Link {
    SteadyClock clock;
    NoEscape escape;
    StderrMessages messages;
    std::unique_ptr<RecorderService> session;

    bool open(const QString& portName)
    {
        session = OpenSession(portName, clock, escape, {}, &messages);
        // After message 198: which device, and why it could not be opened.
        if (!session && !currentPort())
            err(portAccessLine(lastPortFailure()));
        return session != nullptr;
    }

    ~Link()
    {
        // As at program exit: the session goes, a pause, the port closes.
        if (session) {
            session->recordCount = 0;
            session->Delay(350);
        }
        session.reset();
        ClosePort();
    }
};

int retrieve(const QString& portName, const QStringList& args)
{
    QString out;
    QString patient;
    bool patientGiven = false;
    bool csv = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--patient") && i + 1 < args.size()) {
            patient = args[++i];
            patientGiven = true;
        } else if (args[i] == QLatin1String("--csv")) {
            csv = true;
        } else if (out.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            out = args[i];
        } else {
            err(QStringLiteral("recorder retrieve: unexpected argument %1").arg(args[i]));
            return ExitUsage;
        }
    }
    if (out.isEmpty() || !patientGiven) {
        err(QStringLiteral("recorder retrieve: OUT.DAT and --patient NAME are needed"));
        return ExitUsage;
    }
    if (patient.isEmpty()) {
        StderrMessages().show(207, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitUsage;
    }
    const QString path = QFileInfo(out).absoluteFilePath();
    // Checked before the transfer, which takes a while, and again when writing.
    if (retrievalTargetExists(path)) {
        StderrMessages().show(kMessageExists, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    }
    if (!retrievalSpaceAvailable(path)) {
        StderrMessages().show(240, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    }

    Link link;
    if (!link.open(portName))
        return ExitFailure;
    RecorderService& s = *link.session;
    const RetrievalOutcome outcome = retrievalOutcome(s.RetrieveDataBlock(), s);
    if (outcome != RetrievalOutcome::Records) {
        // An empty recorder is 208; a failed transfer 224.
        link.messages.show(retrievalMessageId(outcome), kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    }
    const std::string header = recordLineFromRecord(std::string_view(s.dataBuffer, 22), false);
    const RetrievedStart start = startOfRecordLine(header);

    switch (writeRetrievedFile(path, s)) {
    case RetrievalWrite::Exists:
        link.messages.show(kMessageExists, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    case RetrievalWrite::CannotCreate:
        link.messages.show(kMessageCannotOpen, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    case RetrievalWrite::Written:
        break;
    }

    // A fresh companion file carrying the patient's name.
    Session session;
    const bool prepared = prepareRetrievedRecording(session, path, patient, &link.messages);
    bool csvWritten = true;
    if (csv) {
        csvWritten = exportRetrievedCsv(path, &link.messages);
        if (!csvWritten)
            err(QStringLiteral("recorder retrieve: %1 cannot be written")
                    .arg(replaceExtension(retrievalDataPath(path), QStringLiteral(".csv"))));
    }

    cli::out(QStringLiteral("%1: %2 readings, first %3 %4")
                 .arg(retrievalDataPath(path))
                 .arg(s.recordCount)
                 .arg(displayDate(QDate(start.year, start.month, start.day)),
                      QString::asprintf("%02d:%02d", start.hour, start.minute)));
    return prepared && csvWritten ? ExitOk : ExitFailure;
}

QString slotText(const ScheduleSlot& slot)
{
    return slot.off() ? QStringLiteral("off") : QString::asprintf("%02d:%02d", slot.hour, slot.minute);
}

int readSetup(const QString& portName, const QStringList& args)
{
    if (!args.isEmpty()) {
        err(QStringLiteral("recorder read-setup: unexpected argument %1").arg(args[0]));
        return ExitUsage;
    }
    Link link;
    if (!link.open(portName))
        return ExitFailure;
    const std::optional<Schedule> schedule = readSchedule(*link.session);
    if (!schedule) {
        link.messages.show(kMessageNoAnswer, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    }
    for (std::size_t i = 0; i < schedule->size(); ++i)
        cli::out(QStringLiteral("%1 %2").arg(i + 1).arg(slotText((*schedule)[i])));
    return ExitOk;
}

bool parseSlots(const QString& text, Schedule& schedule)
{
    static const QRegularExpression time(QStringLiteral("^([0-9]{1,2}):([0-9]{1,2})$"));
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != kScheduleSlots)
        return false;
    for (int i = 0; i < kScheduleSlots; ++i) {
        const QString part = parts[i].trimmed();
        if (part == QLatin1String("off")) {
            schedule[std::size_t(i)] = ScheduleSlot{};
            continue;
        }
        const QRegularExpressionMatch m = time.match(part);
        if (!m.hasMatch())
            return false;
        const int hour = m.captured(1).toInt();
        const int minute = m.captured(2).toInt();
        if (hour > 23 || minute > 59)
            return false;
        schedule[std::size_t(i)] = ScheduleSlot{hour, minute};
    }
    return true;
}

int setup(const QString& portName, const QStringList& args)
{
    SetupRequest request;
    bool slotsGiven = false;
    bool setClock = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--slots") && i + 1 < args.size()) {
            if (!parseSlots(args[++i], request.schedule)) {
                err(QStringLiteral("recorder setup: --slots needs six times hh:mm or off, separated by commas"));
                return ExitUsage;
            }
            slotsGiven = true;
        } else if (args[i] == QLatin1String("--set-clock")) {
            setClock = true;
        } else if (args[i] == QLatin1String("--clear")) {
            request.clear = true;
        } else {
            err(QStringLiteral("recorder setup: unexpected argument %1").arg(args[i]));
            return ExitUsage;
        }
    }
    if (!slotsGiven) {
        err(QStringLiteral("recorder setup: --slots is needed"));
        return ExitUsage;
    }
    std::array<SlotTexts, kScheduleSlots> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = textsOfSlot(request.schedule[i]);
    const auto duplicate = duplicateSlots(texts);
    if (std::find(duplicate.begin(), duplicate.end(), true) != duplicate.end()) {
        StderrMessages().show(kMessageDuplicate, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitUsage;
    }

    Link link;
    if (!link.open(portName))
        return ExitFailure;
    RecorderService& s = *link.session;
    // As the dialog does: the settings block first, for the two characters
    // the schedule sends back. Without it nothing is sent.
    if (s.ReadSettingsBlock() != LinkOk) {
        link.messages.show(kMessageNoAnswer, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    }
    if (setClock)
        request.clock = [] { return std::optional<QDateTime>(QDateTime::currentDateTime()); };
    const SetupResults results = runSetupTransfer(s, request);
    if (!results.ok()) {
        link.messages.show(kMessageNoAnswer, kErrorCaptionId, MessageIcon::Exclamation);
        return ExitFailure;
    }
    for (std::size_t i = 0; i < request.schedule.size(); ++i)
        cli::out(QStringLiteral("%1 %2").arg(i + 1).arg(slotText(request.schedule[i])));
    return ExitOk;
}

int clear(const QString& portName, const QStringList& args)
{
    if (!args.isEmpty()) {
        err(QStringLiteral("recorder clear: unexpected argument %1").arg(args[0]));
        return ExitUsage;
    }
    Link link;
    if (!link.open(portName))
        return ExitFailure;
    return clearDataFlow(*link.session, &link.messages) == LinkOk ? ExitOk : ExitFailure;
}

int measure(const QString& portName, const QStringList& args)
{
    if (!args.isEmpty()) {
        err(QStringLiteral("recorder measure: unexpected argument %1").arg(args[0]));
        return ExitUsage;
    }
    Link link;
    if (!link.open(portName))
        return ExitFailure;
    // Repeats "40" for as long as the recorder answers; silence is the end.
    link.session->StartMeasurement();
    return ExitOk;
}

} // namespace

int runRecorder(const QStringList& argsIn)
{
    QStringList args = argsIn;
    QString portName;
    if (args.size() >= 2 && args[0] == QLatin1String("--port")) {
        portName = args[1];
        args = args.mid(2);
    }
    if (args.isEmpty()) {
        err(QStringLiteral("recorder: a subcommand is needed"));
        return ExitUsage;
    }
    if (portName.isEmpty())
        portName = defaultPortName();
    const QString sub = args.takeFirst();
    if (sub == QLatin1String("retrieve"))
        return retrieve(portName, args);
    if (sub == QLatin1String("read-setup"))
        return readSetup(portName, args);
    if (sub == QLatin1String("setup"))
        return setup(portName, args);
    if (sub == QLatin1String("clear"))
        return clear(portName, args);
    if (sub == QLatin1String("measure"))
        return measure(portName, args);
    err(QStringLiteral("recorder: unknown subcommand %1").arg(sub));
    return ExitUsage;
}

} // namespace ks318::cli
