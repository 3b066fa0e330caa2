// Immutable, reference-counted strings of 16-bit characters.
// Not collected: bodies are freed as soon as the last String drops them.
// Reference counts are not atomic; copy a string before handing it to another thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

template <class T>
class Array;

// Zero-terminated 8-bit copy of a String (each character cut to its low 8 bits).
class CString {
public:
    CString();
    explicit CString(const char* bytes, int length);
    CString(const CString& other);
    CString& operator=(const CString& other);
    ~CString();
    const char* c_str() const;
    int Length() const;
    operator const char*() const { return c_str(); }

private:
    struct Rep;
    Rep* rep_;
};

class String {
public:
    struct Rep {
        int refs;
        int length;
        uint16_t data[1];  // really `length` characters
        // The shared empty body's count is never touched, so any thread may hold it.
        void retain() {
            if (this != &nullRep) ++refs;
        }
        void release();
    };
    static Rep nullRep;  // the one empty body, never freed

    String();
    String(const String& other);
    String(String&& other) noexcept;
    String(const uint16_t* chars, int count);
    String(const char* cstr);      // each byte one character 0..255, no decoding
    explicit String(int value);    // "%i"
    explicit String(float value);  // "%.17lg", ".0" appended when it has no point or exponent
    ~String();
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;

    static String FromChar(int code);
    static String FromChars(const int* codes, int count);
    // Decodes the remaining content of an open file: BOM'd UTF-16 or UTF-8, else ISO 8859-1.
    static String Load(FILE* file);
    // Decodes bytes with the same rules as Load.
    static String FromBytes(const unsigned char* bytes, int count);

    int Length() const { return rep_->length; }
    int operator[](int index) const { return rep_->data[index]; }
    const uint16_t* Data() const { return rep_->data; }
    bool IsEmpty() const { return rep_->length == 0; }
    // True when both share one body (used to check that operations avoid copying).
    bool SharesBody(const String& other) const { return rep_ == other.rep_; }

    String operator+(const String& other) const;
    String& operator+=(const String& other);
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    bool operator<(const String& other) const { return Compare(other) < 0; }
    int Compare(const String& other) const;  // code-unit order: negative, 0 or positive

    String Slice(int from) const;
    String Slice(int from, int to) const;
    int Find(const String& sub, int start = 0) const;
    int FindLast(const String& sub) const;
    bool Contains(const String& sub) const { return Find(sub) >= 0; }
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    Array<String> Split(const String& separator) const;
    String Join(const Array<String>& pieces) const;
    String Replace(const String& find, const String& with) const;
    String ToUpper() const;
    String ToLower() const;
    String Trim() const;
    int ToInt() const;      // atoi of the first 63 characters
    float ToFloat() const;  // atof of the first 63 characters
    CString ToCString() const;
    // UTF-8, each 16-bit character on its own (one to three bytes).
    std::string ToUtf8() const;

private:
    explicit String(Rep* rep) : rep_(rep) {}
    static Rep* Alloc(int length);
    Rep* rep_;
};

String operator+(const char* left, const String& right);
