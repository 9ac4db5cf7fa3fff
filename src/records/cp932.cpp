#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ks318 {

namespace {
// ICU's name for the Microsoft variant of Shift-JIS (NEC and IBM extensions,
// the wave dash and full-width tilde as Windows maps them).
constexpr const char* kCp932Name = "windows-31j";
}

std::size_t cp932FitLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t width =
            (isCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
        if (i + width > maxBytes)
            break;
        i += width;
    }
    return i;
}

std::size_t cp932CharCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count)
        i += (isCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    return count;
}

namespace {

bool isAscii(std::string_view bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

QString fromCp932(std::string_view bytes)
{
    // ASCII is the same in CP932; most texts are, and they need no converter.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    QStringDecoder decoder(kCp932Name);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

std::string toCp932(const QString& text)
{
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), std::size_t(latin.size()));
    }
    QStringEncoder encoder(kCp932Name);
    if (!encoder.isValid()) {
        const QByteArray latin = text.toLatin1();
        return std::string(latin.constData(), std::size_t(latin.size()));
    }
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace ks318
