// The merge on any file texts: the span of each file, their order, the
// merged text and its span, each with what must hold of it.
#include "fuzzsupport.h"

#include "records/filemerge.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

using namespace ks318;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    std::vector<QByteArray> texts;
    std::vector<FileSpan> spans;
    const int files = in.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < files; ++i) {
        const std::string text = i + 1 < files ? in.ConsumeRandomLengthString(4096) : in.ConsumeRemainingBytesAsString();
        texts.emplace_back(text.data(), qsizetype(text.size()));
        spans.push_back(spanOfFileText(texts.back()));
        spanMemoText(spans.back());
    }

    const std::vector<int> order = mergeOrder(spans);
    if (!order.empty()) {
        fuzz::require(order.size() == spans.size(), "the order places every file");
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < files; ++i)
            fuzz::require(sorted[std::size_t(i)] == i, "the order places each file once");
        for (std::size_t k = 1; k < order.size(); ++k) {
            const FileSpan& before = spans[std::size_t(order[k - 1])];
            const FileSpan& after = spans[std::size_t(order[k])];
            fuzz::require(before.startKey() < after.startKey() && before.endKey() < after.startKey(),
                          "each file ends before the next one starts");
        }
    }

    const QByteArray& latest = texts.back();
    fuzz::require(mergeFileTexts({latest}) == latest, "a lone file merges to itself");

    QByteArray earlier;
    for (int i = 0; i + 1 < files; ++i)
        earlier += mergeFileTexts({texts[std::size_t(i)], QByteArray()});
    const QByteArray merged = mergeFileTexts(texts);
    fuzz::require(merged.startsWith(earlier), "the earlier files' record lines lead, in order");
    fuzz::require(earlier.isEmpty() || earlier.endsWith('\n'), "an earlier file's last record line ends");
    const qsizetype recordLines = earlier.count('\n');
    fuzz::require(spanOfFileText(earlier).records == recordLines, "the earlier files give record lines only");
    const QByteArray rest = merged.mid(earlier.size());
    fuzz::require(rest.count('\n') == latest.count('\n'), "the latest file keeps its lines");
    if (recordLines == 0)
        fuzz::require(rest == latest, "with nothing before it the latest file stays as it is");
    fuzz::require(spanOfFileText(merged).records == recordLines + spanOfFileText(latest).records,
                  "the merged file holds the readings of all");
    return 0;
}
