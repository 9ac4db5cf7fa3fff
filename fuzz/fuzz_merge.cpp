// The merge on any file texts: the span of each file, their order, the
// merged text and its span.
#include "fuzzsupport.h"

#include "records/filemerge.h"

#include <fuzzer/FuzzedDataProvider.h>

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
    mergeOrder(spans);
    spanOfFileText(mergeFileTexts(texts));
    return 0;
}
