// ks318-sim's --records reader on any file text, and what becomes of the
// records it offers: whole 22-character records, at most one a line; the
// block it sends is one data frame that the program takes whole; the data
// file the program writes of them gives the simulator the same records
// back (the program's file holds '0' for what is not a hexadecimal digit
// and marks a reading without pulse excluded).
#include "fuzzsupport.h"
#include "linksupport.h"

#include "ks318-sim/recordfile.h"
#include "recorder/retrieval.h"

#include <algorithm>
#include <cstring>

using namespace ks318;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto isHex = [](char c) { return QByteArrayLiteral("0123456789ABCDEFabcdef").contains(c); };
    const QByteArray text = fuzz::bytesOf(data, size);
    const QByteArray records = sim::recordsOfText(text);
    constexpr int n22 = sim::kRecordLength;
    fuzz::require(records.size() % n22 == 0, "whole records");
    fuzz::require(records.size() / n22 <= text.count('\n') + 1, "at most one record a line");

    // A record written as a line of a data file reads back as it was.
    for (qsizetype at = 0; at < records.size(); at += n22) {
        const QByteArray record = records.mid(at, n22);
        if (!std::all_of(record.begin(), record.end(), isHex))
            continue;
        const std::string line = recordLineFromRecord(std::string_view(record.constData(), n22), false);
        fuzz::require(sim::recordsOfText(QByteArray::fromStdString(line)) == record, "a record line reads back");
    }

    // The block offered: one data frame of all the records, as the
    // program's frame splitter sees it.
    const QByteArray offered = records.left(sim::kMaxRecords * n22);
    const QByteArray block = dataFrame(offered, "KS");
    FrameAssembler assembler;
    FrameAssembler::Frame frame;
    int frames = 0;
    for (const char byte : block)
        if (assembler.feed(byte, frame)) {
            ++frames;
            fuzz::require(frame.kind == FrameAssembler::Kind::Data && frame.bytes == block, "the block is one frame");
            fuzz::require(dataFrameLength(frame.bytes) == offered.size() && dataFrameChecksumOk(frame.bytes),
                          "the block's length and checksum");
        }
    fuzz::require(frames == 1, "the block is one frame");

    // The program retrieving it: the recorder acknowledges the presence
    // check "05" and the "10" command, then sends the block. Records of
    // control characters are left out; a recorder sends none.
    const auto printable = [](char c) { return c >= 0x20 && c < 0x7F; };
    if (offered.size() < n22 || !std::all_of(offered.begin(), offered.end(), printable))
        return 0;
    test::Rig rig;
    rig.script({test::Reply::ack(), test::Reply::ack().then(block, 50)});
    const RecorderService& link = *rig.link;
    const LinkResult result = rig.link->RetrieveDataBlock();
    const int count = int(offered.size() / n22);
    fuzz::require(result == LinkOk && link.dataLength == offered.size() && link.recordCount == count
                      && std::memcmp(link.dataBuffer, offered.constData(), std::size_t(offered.size())) == 0,
                  "the program takes the block whole");

    const QByteArray back = sim::recordsOfText(formatRetrievedFile(link.dataBuffer, count));
    fuzz::require(back.size() == offered.size(), "the retrieved file gives every record back");
    for (qsizetype at = 0; at < offered.size(); at += n22) {
        const QByteArray sent = offered.mid(at, n22);
        const QByteArray got = back.mid(at, n22);
        for (int i = 0; i < n22; ++i) {
            const char expected = isHex(sent[i]) ? sent[i] : '0';
            const bool excludedMark = i == 6 && got[4] == '0' && got[5] == '0';
            fuzz::require(got[i] == expected || (excludedMark && got[i] == '8'), "a retrieved record reads back");
        }
    }
    return 0;
}
