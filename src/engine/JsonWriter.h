// A small streaming JSON writer for the state dump: keys in the order written, numbers printed so
// that the same state always gives the same text.
#pragma once

#include <string>

class JsonWriter {
public:
    void BeginObject(const char* key = nullptr);
    void EndObject();
    void BeginArray(const char* key = nullptr);
    void EndArray();
    void Int(const char* key, long long v);
    void Float(const char* key, double v);
    void Bool(const char* key, bool v);
    void String(const char* key, const std::string& v);
    const std::string& Text() const { return out_; }

    static std::string Escape(const std::string& s);
    static std::string FormatFloat(double v);

private:
    void Key(const char* key);
    std::string out_;
    bool needComma_ = false;
    int depth_ = 0;
};
