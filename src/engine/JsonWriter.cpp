#include "engine/JsonWriter.h"

#include <cmath>
#include <cstdio>

std::string JsonWriter::Escape(const std::string& s) {
    std::string r = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': r += "\\\""; break;
            case '\\': r += "\\\\"; break;
            case '\n': r += "\\n"; break;
            case '\t': r += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof(buf), "\\u%04x", c);
                    r += buf;
                } else {
                    r += static_cast<char>(c);
                }
        }
    }
    return r + "\"";
}

std::string JsonWriter::FormatFloat(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%.6g", v);
    return buf;
}

void JsonWriter::Key(const char* key) {
    if (needComma_) out_ += ",";
    out_ += "\n";
    out_.append(static_cast<size_t>(depth_) * 2, ' ');
    if (key) out_ += Escape(key) + ": ";
    needComma_ = true;
}

void JsonWriter::BeginObject(const char* key) {
    if (depth_ > 0 || !out_.empty()) Key(key);
    out_ += "{";
    ++depth_;
    needComma_ = false;
}

void JsonWriter::EndObject() {
    --depth_;
    out_ += "\n";
    out_.append(static_cast<size_t>(depth_) * 2, ' ');
    out_ += "}";
    needComma_ = true;
    if (depth_ == 0) out_ += "\n";
}

void JsonWriter::BeginArray(const char* key) {
    Key(key);
    out_ += "[";
    ++depth_;
    needComma_ = false;
}

void JsonWriter::EndArray() {
    --depth_;
    out_ += "\n";
    out_.append(static_cast<size_t>(depth_) * 2, ' ');
    out_ += "]";
    needComma_ = true;
}

void JsonWriter::Int(const char* key, long long v) {
    Key(key);
    out_ += std::to_string(v);
}

void JsonWriter::Float(const char* key, double v) {
    Key(key);
    out_ += FormatFloat(v);
}

void JsonWriter::Bool(const char* key, bool v) {
    Key(key);
    out_ += v ? "true" : "false";
}

void JsonWriter::String(const char* key, const std::string& v) {
    Key(key);
    out_ += Escape(v);
}
