#include "bpdatafile.h"

#include "filenames.h"
#include "stringtable.h"

#include <QFile>
#include <algorithm>
#include <charconv>
#include <array>
#include <cstdio>
#include <cstring>

namespace ks318 {

namespace {

// The file is read as a C program reads it with an 80-byte line buffer: at
// most 79 characters at a time, so a longer line arrives as several lines.
constexpr std::size_t kLineBuffer = 80;

struct Line {
    std::string_view text;  // without the line feed (and a CR before it)
    bool endsWithLf = false;
};

class LineReader {
public:
    explicit LineReader(const QByteArray& bytes) : p_(bytes.constData()), end_(p_ + bytes.size()) {}

    bool next(Line& line)
    {
        if (p_ >= end_)
            return false;
        const char* start = p_;
        const std::size_t room = std::min<std::size_t>(std::size_t(end_ - start), kLineBuffer - 1);
        const void* lf = std::memchr(start, '\n', room);
        const char* stop = lf ? static_cast<const char*>(lf) + 1 : start + room;
        p_ = stop;
        // The buffer is used as a C string: it ends at an embedded NUL.
        std::string_view chunk(start, std::size_t(stop - start));
        if (const void* nul = std::memchr(start, '\0', chunk.size()))
            chunk = chunk.substr(0, std::size_t(static_cast<const char*>(nul) - start));
        line.endsWithLf = !chunk.empty() && chunk.back() == '\n';
        if (line.endsWithLf)
            chunk.remove_suffix(1);
        // A CR before the LF (a file that passed through Windows tools) is ignored.
        if (!chunk.empty() && chunk.back() == '\r' && (line.endsWithLf || (p_ < end_ && *p_ == '\n')))
            chunk.remove_suffix(1);
        line.text = chunk;
        return true;
    }

private:
    const char* p_;
    const char* end_;
};

// Appends a text field to a file being written. A line break inside a text
// would split its line and shift every section behind it, so it is written
// as a blank.
void appendText(QByteArray& out, std::string_view text)
{
    for (const char ch : text)
        out.append((ch == '\n' || ch == '\r') ? ' ' : ch);
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// Value of each character as a hexadecimal digit: '1'-'9', 'A'-'F' and
// 'a'-'f' as usual, every other character 0.
constexpr std::array<std::uint8_t, 256> kHexDigit = [] {
    std::array<std::uint8_t, 256> t{};
    for (int c = '1'; c <= '9'; ++c)
        t[std::size_t(c)] = std::uint8_t(c - '0');
    for (int c = 0; c < 6; ++c) {
        t[std::size_t('A' + c)] = std::uint8_t(10 + c);
        t[std::size_t('a' + c)] = std::uint8_t(10 + c);
    }
    return t;
}();

unsigned hexDigit(char c) { return kHexDigit[static_cast<unsigned char>(c)]; }

// The byte in columns `column` and `column + 1`; columns past the end read as '0'.
unsigned hexAt(std::string_view line, std::size_t column)
{
    if (column + 2 <= line.size())
        return hexDigit(line[column]) * 16 + hexDigit(line[column + 1]);
    return column < line.size() ? hexDigit(line[column]) * 16 : 0;
}

// The decimal text of a value, as "%u" writes it.
template <std::size_t N>
void setNumber(TextField<N>& field, unsigned value)
{
    // Five of these a reading: decimal digits without the formatting machinery.
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    field.assign(std::string_view(text, std::size_t(end - text)));
}

template <typename Data, typename F>
void forEachPatientKey(Data& d, F&& f)
{
    f("Name:", d.name);
    f("IDNumber:", d.idNumber);
    f("Address:", d.address);
    f("Phone:", d.phone);
    f("SSNumber:", d.ssNumber);
    f("Medicare:", d.medicare);
    f("Insurance:", d.insurance);
    f("Age:", d.age);
    f("Sex:", d.sex);
    f("Height:", d.height);
    f("Weight:", d.weight);
    f("Comment1:", d.comment1);
    f("       2:", d.comment2);
    f("       3:", d.comment3);
}

// "%d:" at the start of a comment line: optional blanks and sign, digits, colon.
bool parseCommentNumber(std::string_view line, long& number, std::string_view& rest)
{
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        negative = line[i++] == '-';
    const std::size_t digits = i;
    long value = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        if (value < 100000000)
            value = value * 10 + (line[i] - '0');
        ++i;
    }
    if (i == digits || i >= line.size() || line[i] != ':')
        return false;
    number = negative ? -value : value;
    rest = line.substr(i + 1);
    return true;
}

// True when the lines left in `reader` hold anything a rewrite from the block
// would not write back: another record line, a patient value or a comment.
// Blank lines, the section markers and key lines with empty values hold nothing.
bool restHoldsData(LineReader& reader)
{
    static const char* const kKeys[] = {"Name:", "IDNumber:", "Address:", "Phone:", "SSNumber:",
                                        "Medicare:", "Insurance:", "Age:", "Sex:", "Height:", "Weight:",
                                        "Comment1:", "       2:", "       3:"};
    Line line;
    while (reader.next(line)) {
        const std::string_view t = line.text;
        if (t.find_first_not_of(" \t") == std::string_view::npos || t == "#PATIENT" || t == "#END" ||
            t == "#COMMENTS")
            continue;
        if (std::find(std::begin(kKeys), std::end(kKeys), t) == std::end(kKeys))
            return true;
    }
    return false;
}

struct Windows {
    std::int64_t start1 = 0;
    std::int64_t end1 = 0;
    std::int64_t start2 = 0;
    std::int64_t end2 = 0;
};

Windows windowsFrom(const AnalysisIntervals& intervals, std::int64_t firstReading)
{
    Windows w;
    if (intervals.valid) {
        w.start1 = minutesFromDayCount(intervals.interval1StartDate) + minutesFromDayCount(intervals.interval1StartTime);
        w.end1 = w.start1 + std::int64_t(intervals.interval1Hours) * 60;
    } else {
        w.start1 = firstReading;
        w.end1 = w.start1 + std::int64_t(kMaxWindowDays) * 1440;
    }
    w.start2 = w.start1;
    w.end2 = w.start2 + std::int64_t(kMaxWindowDays) * 1440;
    return w;
}

std::uint8_t periodClassOf(const BpReading& r, const SessionState& state)
{
    if (state.sleepHour < 0 || state.sleepMinute < 0 || state.wakeHour < 0 || state.wakeMinute < 0)
        return PeriodAwake;
    const int t = r.hour * 60 + r.minute;
    const int sleep = state.sleepHour * 60 + state.sleepMinute;
    const int wake = state.wakeHour * 60 + state.wakeMinute;
    const bool asleep = sleep > wake ? (t >= sleep || t < wake) : (t >= sleep && t < wake);
    return asleep ? PeriodAsleep : PeriodAwake;
}

} // namespace

unsigned parseHex(const char* chars, int count)
{
    unsigned value = 0;
    for (int i = 0; i < count; ++i)
        value = value * 16 + hexDigit(chars[i]);
    return value;
}

RecorderType recorderTypeOfLine(std::string_view line)
{
    const std::string_view id = line.substr(0, 10);
    if (id == "KS-318  70")
        return RecorderType::Ks318;
    if (id == "RV5730  30")
        return RecorderType::Rv5730;
    if (id == "RV5721  40")
        return RecorderType::Rv5721;
    return RecorderType::Rv5720;
}

int errorDescriptionId(int errorCode)
{
    switch (errorCode) {
    case 0:
    case 3:
        return 0;
    case 1: return 225;
    case 2: return 226;
    case 4: return 227;
    case 5: return 228;
    case 6: return 229;
    case 7: return 230;
    case 8: return 254;
    case 10: return 253;
    case 20: return 252;
    case 21:
    case 33: return 233;
    case 22:
    case 34: return 234;
    case 23: return 257;
    case 30: return 255;
    case 32: return 232;
    case 35: return 235;
    case 36: return 236;
    case 91: return 256;
    default: return 237;
    }
}

QString displayComment(const BpReading& reading)
{
    const int id = errorDescriptionId(reading.errorCode);
    if (id && reading.comment == StringTable::cp932(id))
        return StringTable::text(id);
    return reading.comment.toQString();
}

std::string recordedComment(const BpReading& reading, const QString& shown)
{
    const int id = errorDescriptionId(reading.errorCode);
    if (id && shown == StringTable::text(id))
        return StringTable::cp932(id);
    return toCp932(shown);
}

void decodeRecordLine(std::string_view line, BpMode mode, RecorderType type, BpReading& r, std::uint8_t& recorderId)
{
    r.korPulsePressure = std::uint8_t(hexAt(line, 10));
    r.korDia = std::uint8_t(hexAt(line, 12));
    r.korPulse = std::uint8_t(hexAt(line, 14));
    const unsigned korByte = hexAt(line, 16);
    r.korStatus = std::uint8_t(hexAt(line, 18));
    r.korExcluded = (korByte & 0x80) ? 1 : 0;
    r.korError = std::uint8_t(korByte % 128);

    unsigned year = hexAt(line, 20) + 1900;
    if (year < 1980)
        year += 100;
    r.year = year;
    r.month = std::uint8_t(hexAt(line, 22));
    r.day = std::uint8_t(hexAt(line, 24));
    r.hour = std::uint8_t(hexAt(line, 26));
    r.minute = std::uint8_t(hexAt(line, 28));

    recorderId = 1;
    r.oscPulsePressure = r.oscDia = r.oscPulse = r.oscStatus = r.oscError = r.oscExcluded = 0;
    if (type == RecorderType::Ks318 || type == RecorderType::Rv5730 || type == RecorderType::Rv5721) {
        r.oscPulsePressure = std::uint8_t(hexAt(line, 30));
        r.oscDia = std::uint8_t(hexAt(line, 32));
        r.oscPulse = std::uint8_t(hexAt(line, 34));
        const unsigned oscByte = hexAt(line, 36);
        r.oscStatus = std::uint8_t(hexAt(line, 38));
        r.oscExcluded = (oscByte & 0x80) ? 1 : 0;
        r.oscError = std::uint8_t(oscByte % 128);
        recorderId = std::uint8_t(hexAt(line, 40));
    }

    struct Values {
        unsigned sys, dia, map, pulse, dp;
    };
    auto valuesOf = [](unsigned pp, unsigned dia, unsigned pulse) {
        const unsigned sys = pp + dia;
        return Values{sys, dia, pp / 3 + dia, pulse, sys * pulse / 100};
    };
    const Values osc = valuesOf(r.oscPulsePressure, r.oscDia, r.oscPulse);
    const Values kor = valuesOf(r.korPulsePressure, r.korDia, r.korPulse);

    const int m = code(mode);
    const Values* source = nullptr;
    if ((m == 0 || m == 1) && r.oscError == 0)
        source = &osc;
    else if (m == 3 && r.korError != 0 && r.oscError == 0)
        source = &osc;
    else if (m == 1 && r.oscError != 0 && r.korError == 0)
        source = &kor;
    else if ((m == 2 || m == 3) && r.korError == 0)
        source = &kor;

    if (source) {
        r.sys = source->sys;
        r.dia = std::uint8_t(source->dia);
        r.map = std::uint16_t(source->map);
        r.pulse = std::uint8_t(source->pulse);
        r.doubleProduct = std::uint16_t(source->dp);
        setNumber(r.sysText, source->sys);
        setNumber(r.diaText, source->dia);
        setNumber(r.mapText, source->map);
        setNumber(r.pulseText, source->pulse);
        setNumber(r.dpText, source->dp);
    } else {
        r.sys = 0;
        r.dia = 0;
        r.map = 0;
        r.pulse = 0;
        r.doubleProduct = 0;
        r.sysText = "***";
        r.diaText = "***";
        r.mapText = "***";
        r.pulseText = "***";
        r.dpText = "***";
    }

    r.method = 0;
    r.methodText.clear();
    r.eFlagText = "-";
    r.errorCode = 0;
    r.errorText = "--";
    r.excluded = 0;
    r.excludedText = "-";

    auto useValid = [&r](std::uint8_t method, const char* text, std::uint8_t status, std::uint8_t excludedBit) {
        r.method = method;
        r.methodText = text;
        if (status & 0x10)
            r.eFlagText = "E";
        if (excludedBit) {
            r.excluded = 1;
            r.excludedText = "X";
        }
    };
    auto useError = [&r](std::uint8_t method, std::uint8_t error, bool decimal) {
        char text[8];
        std::snprintf(text, sizeof text, decimal ? "%u" : "%x", unsigned(error));
        r.method = method;
        r.methodText = method == 0 ? "O" : "K";
        r.errorCode = error;
        r.errorText = text;
        r.excludedText = "x";
    };

    if (m == 0 || m == 1) {
        if (r.oscError == 0)
            useValid(0, "O", r.oscStatus, r.oscExcluded);
        else if (m == 0 || r.korError != 0)
            useError(0, r.oscError, type == RecorderType::Rv5730);
        else
            useValid(1, "*K", r.korStatus, r.korExcluded);
    } else {
        if (r.korError == 0)
            useValid(1, "K", r.korStatus, r.korExcluded);
        else if (m == 2 || r.oscError != 0)
            useError(1, r.korError, false);
        else
            useValid(0, "*O", r.oscStatus, r.oscExcluded);
    }

    const int textId = errorDescriptionId(r.errorCode);
    r.comment.assign(textId ? StringTable::cp932(textId) : std::string());
}

namespace {

// The block before anything is read into it: empty, named for `mode`.
void resetBlock(SessionData& d, BpMode mode)
{
    d.bpModeName.assign(StringTable::cp932(kFirstBpModeStringId + code(mode)));
    d.loaded = 0;
    d.counters = PeriodCounters();
    d.unreadTail = false;
}

} // namespace

bool readBpDataFile(Recording& session, const QString& path, BpMode mode)
{
    if (!session.data())
        return false;
    resetBlock(*session.data(), mode);
    QFile file(resolveMemberPath(path, QStringLiteral(".DAT")));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    return parseBpDataText(session, bytes, mode);
}

bool readBpDataFile(Recording& session, const RecordingFiles& files, BpMode mode)
{
    if (!session.data())
        return false;
    resetBlock(*session.data(), mode);
    QFile file(files.data);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();
    return parseBpDataText(session, bytes, mode);
}

bool parseBpDataText(Recording& session, const QByteArray& bytes, BpMode mode)
{
    SessionData* data = session.data();
    if (!data)
        return false;
    SessionData& d = *data;
    SessionState& state = session.state;
    resetBlock(d, mode);

    LineReader reader(bytes);
    Line line;
    PeriodCounters c;
    Windows windows;
    std::int64_t latest = 0;
    RecorderType type = state.recorderType;

    // Record section.
    while (c.readingCount < std::uint32_t(kMaxReadings) && reader.next(line)) {
        if (startsWith(line.text, "#PAT"))
            break;
        if (!startsWith(line.text, "RV57") && !startsWith(line.text, "KS-318"))
            continue;
        BpReading& r = d.readings[c.readingCount];
        const bool first = c.readingCount == 0;
        if (first) {
            type = recorderTypeOfLine(line.text);
            state.recorderType = type;
        }
        decodeRecordLine(line.text, mode, type, r, d.recorderId);
        const std::int64_t t = r.minuteNumber();
        if (first) {
            state.firstRecordLine.assign(line.text);
            windows = windowsFrom(session.intervals, t);
            latest = t;
        }
        if (t < latest)
            state.timeOrderError = true;
        else
            latest = t;

        r.windowMembership = OutsideWindows;
        r.periodClass = PeriodNone;
        if (t >= windows.start1 && t < windows.end1) {
            r.windowMembership = InWindow1;
            if (t >= windows.start2 && t < windows.end2)
                r.windowMembership = InWindows1And2;
            r.periodClass = periodClassOf(r, state);
        }

        ++c.readingCount;
        const bool valid = r.valid();
        if (valid)
            ++c.validTotal;
        if (r.windowMembership != OutsideWindows) {
            ++c.inWindow1;
            if (valid)
                ++c.validInWindow1;
            if (r.windowMembership == InWindows1And2) {
                ++c.inWindow2;
                if (valid)
                    ++c.validInWindow2;
            }
            if (r.periodClass == PeriodAwake) {
                ++c.awakeInWindow1;
                if (valid)
                    ++c.validAwake;
            } else if (r.periodClass == PeriodAsleep) {
                ++c.asleepInWindow1;
                if (valid)
                    ++c.validAsleep;
            }
        }
    }

    d.counters = c;
    d.recordingHours = 24;
    forEachPatientKey(d, [](const char*, auto& field) { field.clear(); });
    d.allComments.clear();

    if (c.readingCount >= std::uint32_t(kMaxReadings)) {
        // The cap ends the patient and comment sections as well.
        d.unreadTail = restHoldsData(reader);
    } else {
        // Patient section.
        while (reader.next(line)) {
            if (line.endsWithLf && line.text == "#COMMENTS")
                break;
            bool matched = false;
            forEachPatientKey(d, [&](const char* key, auto& field) {
                if (!matched && startsWith(line.text, key)) {
                    field.assign(line.text.substr(std::strlen(key)));
                    matched = true;
                }
            });
        }
        std::string all(d.comment1.view());
        for (const std::string_view extra : {d.comment2.view(), d.comment3.view()}) {
            if (!extra.empty()) {
                all += "  ";
                all += extra;
            }
        }
        d.allComments.assign(all);

        // Comment section.
        while (reader.next(line)) {
            if (line.endsWithLf && line.text == "#END")
                break;
            long n = 0;
            std::string_view text;
            if (parseCommentNumber(line.text, n, text) && n >= 1 && n <= long(c.readingCount))
                d.readings[std::size_t(n - 1)].comment.assign(text);
        }
    }

    d.loaded = 1;
    return true;
}

QByteArray formatBpDataFile(const SessionData& d, RecorderType type)
{
    QByteArray out;
    out.reserve(int(d.counters.readingCount) * 43 + 512);
    char line[96];
    const std::uint32_t count = std::min<std::uint32_t>(d.counters.readingCount, kMaxReadings);
    for (std::uint32_t i = 0; i < count; ++i) {
        const BpReading& r = d.readings[i];
        const unsigned oscByte = r.oscError | ((r.excluded && r.method == 0) ? 0x80u : 0u);
        const unsigned korByte = r.korError | ((r.excluded && r.method == 1) ? 0x80u : 0u);
        const unsigned y = r.year - 1900;
        switch (type) {
        case RecorderType::Ks318:
        case RecorderType::Rv5730:
            std::snprintf(line, sizeof line, "%s%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X\n",
                          type == RecorderType::Ks318 ? "KS-318  700000000100" : "RV5730  300000000100", y & 0xFF,
                          r.month, r.day, r.hour, r.minute, r.oscPulsePressure, r.oscDia, r.oscPulse, oscByte,
                          r.oscStatus, d.recorderId);
            break;
        case RecorderType::Rv5721:
            std::snprintf(line, sizeof line,
                          "RV5721  40%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X\n",
                          r.korPulsePressure, r.korDia, r.korPulse, korByte, r.korStatus, y & 0xFF, r.month, r.day,
                          r.hour, r.minute, r.oscPulsePressure, r.oscDia, r.oscPulse, oscByte, r.oscStatus,
                          d.recorderId);
            break;
        default:
            std::snprintf(line, sizeof line, "RV5720  20%02X%02X%02X%02X%02X%02X%02X%02X%02X%02X\n",
                          r.korPulsePressure, r.korDia, r.korPulse, korByte, r.korStatus, y & 0xFF, r.month, r.day,
                          r.hour, r.minute);
            break;
        }
        out.append(line);
    }

    out.append("#PATIENT\n");
    forEachPatientKey(d, [&out](const char* key, const auto& field) {
        out.append(key);
        appendText(out, field.view());
        out.append('\n');
    });
    out.append("#END\n#COMMENTS\n");
    for (std::uint32_t i = 0; i < count; ++i) {
        const BpReading& r = d.readings[i];
        if (r.errorText == "--" && !r.comment.empty()) {
            std::snprintf(line, sizeof line, "%u:", i + 1);
            out.append(line);
            appendText(out, r.comment.view());
            out.append('\n');
        }
    }
    out.append("#END\n");
    return out;
}

bool writeBpDataFile(const QString& path, const SessionData& data, RecorderType type)
{
    return writeFileAtomically(path, formatBpDataFile(data, type));
}

bool rewriteBpDataFile(Recording& session)
{
    const SessionData* d = session.data();
    if (!d || !d->loaded || d->unreadTail || session.state.preparedFilePath.isEmpty())
        return false;
    const QString path = resolveMemberPath(session.state.preparedFilePath, QStringLiteral(".DAT"));
    return writeBpDataFile(path, *d, session.state.recorderType);
}

} // namespace ks318
