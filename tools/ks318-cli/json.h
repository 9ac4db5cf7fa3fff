#pragma once
// A small JSON writer that keeps keys in the order they are written.
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace ks318::cli {

class JsonWriter {
public:
    JsonWriter& beginObject(std::string_view key = {});
    JsonWriter& endObject();
    JsonWriter& beginArray(std::string_view key = {});
    JsonWriter& endArray();

    JsonWriter& value(std::string_view key, const QString& text);
    JsonWriter& value(std::string_view key, const char* text) { return value(key, QString::fromUtf8(text)); }
    JsonWriter& value(std::string_view key, long long number);
    JsonWriter& value(std::string_view key, int number) { return value(key, static_cast<long long>(number)); }
    JsonWriter& value(std::string_view key, unsigned number) { return value(key, static_cast<long long>(number)); }
    JsonWriter& value(std::string_view key, double number);  // full precision
    JsonWriter& value(std::string_view key, bool flag);
    JsonWriter& null(std::string_view key);

    const std::string& text() const { return out_; }

private:
    void key(std::string_view k);
    std::string out_;
    std::vector<bool> first_;
};

} // namespace ks318::cli
