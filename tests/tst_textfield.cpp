// CP932 text fields (golden cp932.txt): cutting to a capacity never splits a
// double-byte character, a field keeps its capacity and its terminator, and
// conversion to and from Unicode is lossless for Japanese text.
#include "records/textfield.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;

class TstTextField : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "cut N TEXT": TEXT cut to N bytes; "field TEXT": TEXT in a field of 6
    // bytes (five of text); "bytes TEXT": its CP932 bytes and back.
    void table()
    {
        KS318_COMPARE_GOLDEN_TABLE("cp932.txt", [](const QByteArray& line) {
            const QList<QByteArray> f = line.split(' ');
            const qsizetype at = f[0] == "cut" ? f[0].size() + f[1].size() + 2 : f[0].size() + 1;
            const std::string bytes = toCp932(QString::fromUtf8(line.mid(at)));
            if (f[0] == "cut") {
                const std::string_view cut = cp932Cut(bytes, f[1].toULong());
                return QByteArray::number(qulonglong(cut.size())) + " bytes: " + fromCp932(cut).toUtf8();
            }
            if (f[0] == "field") {
                TextField<6> field;
                field.setQString(fromCp932(bytes));
                return QByteArray::number(qulonglong(field.size())) + " bytes, then " +
                       QByteArray::number(field.rawByte(5)) + ": " + field.toQString().toUtf8();
            }
            return QByteArray::fromStdString(bytes).toHex(' ') + ": " + fromCp932(bytes).toUtf8();
        });
    }

    void lonelyLeadByteIsOneCharacter()
    {
        // A lead byte at the very end (a truncated character) counts alone.
        const std::string bytes = std::string("ab") + char(0x82);
        QCOMPARE(cp932FitLength(bytes, 10), std::size_t(3));
        QCOMPARE(cp932CharCount(bytes), std::size_t(3));
    }
};

QTEST_GUILESS_MAIN(TstTextField)
#include "tst_textfield.moc"
