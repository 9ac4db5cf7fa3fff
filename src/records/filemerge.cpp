#include "filemerge.h"

#include "bpdatafile.h"
#include "filenames.h"
#include "messages.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <string_view>

namespace ks318 {

namespace {

constexpr int kCannotOpenId = 220;
constexpr int kNotKs318Id = 262;
constexpr int kExistsId = 268;
constexpr std::size_t kLineBuffer = 80;  // a line is taken 79 characters at a time

// Calls `f` with each line of `bytes` as a reader with an 80-byte buffer gets
// it: up to and including the line feed, at most 79 characters.
template <typename F>
void forEachChunk(const QByteArray& bytes, F&& f)
{
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* stop = p;
        while (stop < end && std::size_t(stop - p) < kLineBuffer - 1) {
            if (*stop++ == '\n')
                break;
        }
        f(std::string_view(p, std::size_t(stop - p)));
        p = stop;
    }
}

// The chunk without its line end (LF, or CR LF).
std::string_view lineText(std::string_view chunk, bool& endsWithLf)
{
    endsWithLf = !chunk.empty() && chunk.back() == '\n';
    if (endsWithLf)
        chunk.remove_suffix(1);
    if (endsWithLf && !chunk.empty() && chunk.back() == '\r')
        chunk.remove_suffix(1);
    return chunk;
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool isRecordLine(std::string_view chunk)
{
    return startsWith(chunk, "KS-318  70") || startsWith(chunk, "RV5721  40") || startsWith(chunk, "RV5730  30");
}

// "%d:" at the start of a comment line, as the reader takes it.
bool commentNumber(std::string_view text, long& number, std::size_t& restAt)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t digits = i;
    long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value < 100000000)
            value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digits || i >= text.size() || text[i] != ':')
        return false;
    number = negative ? -value : value;
    restAt = i;  // at the colon
    return true;
}

MergeTime timeOf(const BpReading& r)
{
    return MergeTime{int(r.year), r.month, r.day, r.hour, r.minute};
}

void appendChunk(QByteArray& out, std::string_view chunk)
{
    out.append(chunk.data(), qsizetype(chunk.size()));
}

} // namespace

double timeKey(const MergeTime& t)
{
    return t.year * 1000000.0 + t.month * 10000.0 + t.day * 100.0 + t.hour + t.minute * 0.01;
}

FileSpan spanOfFileText(const QByteArray& text)
{
    FileSpan span;
    span.opened = true;
    bool done = false;
    BpReading reading;
    std::uint8_t id = 0;
    forEachChunk(text, [&](std::string_view chunk) {
        if (done)
            return;
        bool lf = false;
        const std::string_view line = lineText(chunk, lf);
        if (startsWith(line, "#PAT")) {
            done = true;
            return;
        }
        if (!startsWith(line, "RV57") && !startsWith(line, "KS-318"))
            return;
        if (span.records == 0)
            span.type = recorderTypeOfLine(line);
        decodeRecordLine(line, BpMode::OscillometricOnly, span.type, reading, id);
        if (span.records == 0)
            span.first = timeOf(reading);
        span.last = timeOf(reading);
        ++span.records;
    });
    return span;
}

FileSpan readFileSpan(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileSpan();
    return spanOfFileText(file.readAll());
}

QString spanMemoText(const FileSpan& span)
{
    if (!span.isKs318())
        return QStringLiteral("The data is not measured by KS318P.");
    auto point = [](const MergeTime& t) {
        return QString::asprintf("%d:%02d %d/%d %d ", t.hour, t.minute, t.month, t.day, t.year);
    };
    return QStringLiteral("BP data:  ") + point(span.first) + QStringLiteral("to ") + point(span.last);
}

std::vector<int> mergeOrder(const std::vector<FileSpan>& spans)
{
    const int n = int(spans.size());
    std::vector<int> order(std::size_t(n), -1);
    for (int i = 0; i < n; ++i) {
        const double si = spans[std::size_t(i)].startKey();
        int position = 0;
        for (int j = 0; j < n; ++j) {
            if (j == i)
                continue;
            const double sj = spans[std::size_t(j)].startKey();
            const double ej = spans[std::size_t(j)].endKey();
            if (sj < si && ej < si)
                ++position;
            if (sj <= si && ej >= si)
                return {};
        }
        // Spans that do not overlap give distinct positions; a file whose own
        // readings run backwards could still collide, and is refused alike.
        if (order[std::size_t(position)] != -1)
            return {};
        order[std::size_t(position)] = i;
    }
    return order;
}

QByteArray mergeFileTexts(const std::vector<QByteArray>& orderedTexts)
{
    QByteArray out;
    qsizetype total = 0;
    for (const QByteArray& t : orderedTexts)
        total += t.size();
    out.reserve(total + 64);

    long written = 0;  // record lines written before the latest file
    for (std::size_t f = 0; f < orderedTexts.size(); ++f) {
        const bool latest = f + 1 == orderedTexts.size();
        if (!latest) {
            forEachChunk(orderedTexts[f], [&](std::string_view chunk) {
                if (!isRecordLine(chunk))
                    return;
                appendChunk(out, chunk);
                // A last line without its line feed would run into the next
                // file's first line.
                if (chunk.back() != '\n')
                    out.append('\n');
                ++written;
            });
            continue;
        }

        enum class Section { Records, Patient, Comments, Done } section = Section::Records;
        forEachChunk(orderedTexts[f], [&](std::string_view chunk) {
            bool lf = false;
            const std::string_view line = lineText(chunk, lf);
            switch (section) {
            case Section::Records:
                if (startsWith(line, "#PAT"))
                    section = Section::Patient;
                break;
            case Section::Patient:
                if (lf && line == "#COMMENTS")
                    section = Section::Comments;
                break;
            case Section::Comments: {
                if (lf && line == "#END") {
                    section = Section::Done;
                    break;
                }
                long number = 0;
                std::size_t colon = 0;
                if (written > 0 && commentNumber(line, number, colon) && number >= 1) {
                    char text[32];
                    std::snprintf(text, sizeof text, "%ld", number + written);
                    out.append(text);
                    appendChunk(out, chunk.substr(colon));
                    return;
                }
                break;
            }
            case Section::Done:
                break;
            }
            appendChunk(out, chunk);
        });
    }
    return out;
}

MergeResult mergeRecordings(const QStringList& paths, const QString& output, MessageSink* messages,
                            QStringList* ordered, const std::function<bool(const QString& path)>& acceptInput)
{
    if (paths.size() < kMinMergeFiles || paths.size() > kMaxMergeFiles)
        return MergeResult::WrongCount;
    if (acceptInput) {
        for (const QString& path : paths)
            if (!acceptInput(path))
                return MergeResult::Refused;
    }

    std::vector<QByteArray> texts;
    std::vector<FileSpan> spans;
    for (const QString& path : paths) {
        // Found as opening finds it ("name.dat" for "NAME.DAT").
        QFile file(resolveMemberPath(path, QStringLiteral(".DAT")));
        if (!file.open(QIODevice::ReadOnly)) {
            showMessage(messages, kCannotOpenId, kErrorCaptionId, MessageIcon::Warning);
            return MergeResult::Unreadable;
        }
        texts.push_back(file.readAll());
        spans.push_back(spanOfFileText(texts.back()));
        if (!spans.back().isKs318()) {
            showMessage(messages, kNotKs318Id, kErrorCaptionId, MessageIcon::Warning);
            return MergeResult::NotKs318;
        }
    }

    const std::vector<int> order = mergeOrder(spans);
    if (order.empty()) {
        showMessage(messages, kOverlapId, kErrorCaptionId, MessageIcon::Exclamation);
        return MergeResult::Overlap;
    }
    std::vector<QByteArray> orderedTexts;
    QStringList orderedPaths;
    for (const int i : order) {
        orderedTexts.push_back(texts[std::size_t(i)]);
        orderedPaths << paths[i];
    }
    if (ordered)
        *ordered = orderedPaths;

    if (QFileInfo::exists(output)) {
        showMessage(messages, kExistsId, kErrorCaptionId, MessageIcon::Warning);
        return MergeResult::Exists;
    }
    // A file that appeared since the check is not replaced either.
    bool nameTaken = false;
    if (!writeNewFileAtomically(output, mergeFileTexts(orderedTexts), &nameTaken)) {
        if (nameTaken) {
            showMessage(messages, kExistsId, kErrorCaptionId, MessageIcon::Warning);
            return MergeResult::Exists;
        }
        showMessage(messages, kWriteFailedId, kErrorCaptionId, MessageIcon::Warning);
        return MergeResult::CannotCreate;
    }
    QFile::remove(replaceExtension(output, QStringLiteral(".p30")));
    QFile::remove(replaceExtension(output, QStringLiteral(".P30")));
    QFile::remove(replaceExtension(output, QStringLiteral(".csv")));
    QFile::remove(replaceExtension(output, QStringLiteral(".CSV")));
    return MergeResult::Merged;
}

} // namespace ks318
