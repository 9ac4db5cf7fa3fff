#include "json.h"

#include <cmath>
#include <cstdio>

namespace ks318::cli {

namespace {
void appendEscaped(std::string& out, const QByteArray& utf8)
{
    out += '"';
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}
} // namespace

void JsonWriter::key(std::string_view k)
{
    if (!first_.empty()) {
        if (!first_.back())
            out_ += ',';
        first_.back() = false;
    }
    if (!k.empty()) {
        appendEscaped(out_, QByteArray(k.data(), qsizetype(k.size())));
        out_ += ':';
    }
}

JsonWriter& JsonWriter::beginObject(std::string_view k)
{
    key(k);
    out_ += '{';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    out_ += '}';
    first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray(std::string_view k)
{
    key(k);
    out_ += '[';
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    out_ += ']';
    first_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view k, const QString& text)
{
    key(k);
    appendEscaped(out_, text.toUtf8());
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view k, long long number)
{
    key(k);
    out_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view k, double number)
{
    key(k);
    if (!std::isfinite(number)) {
        out_ += "null";
        return *this;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", number);
    out_ += buf;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view k, bool flag)
{
    key(k);
    out_ += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null(std::string_view k)
{
    key(k);
    out_ += "null";
    return *this;
}

} // namespace ks318::cli
