// Immutable, reference-counted 16-bit strings.
#include "runtime/string.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <vector>

#include "runtime/array.h"
#include "runtime/number_text.h"

String::Rep String::nullRep = {1, 0, {0}};

void String::Rep::release() {
    if (this == &nullRep) return;
    if (--refs == 0) std::free(this);
}

String::Rep* String::Alloc(int length) {
    if (length <= 0) return &nullRep;
    size_t bytes = offsetof(Rep, data) + sizeof(uint16_t) * size_t(length);
    Rep* rep = static_cast<Rep*>(std::malloc(bytes));
    rep->refs = 1;
    rep->length = length;
    return rep;
}

String::String() : rep_(&nullRep) {}

String::String(const String& other) : rep_(other.rep_) { rep_->retain(); }

String::String(String&& other) noexcept : rep_(other.rep_) { other.rep_ = &nullRep; }

String::String(const uint16_t* chars, int count) : rep_(Alloc(count)) {
    if (count > 0) std::memcpy(rep_->data, chars, sizeof(uint16_t) * size_t(count));
}

String::String(const char* cstr) : rep_(&nullRep) {
    if (!cstr) return;
    int n = int(std::strlen(cstr));
    rep_ = Alloc(n);
    for (int i = 0; i < n; ++i) rep_->data[i] = static_cast<unsigned char>(cstr[i]);
}

String::String(int value) : String() {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", value);
    *this = String(buf);
}

// Formatted independently of the C locale, so the decimal mark is always a point.
String::String(float value) : String() {
    char buf[40];
    double wide = value;
    char* end = QvFormatDouble(wide, buf);
    if (std::isfinite(wide) && !std::strchr(buf, '.') && !std::strchr(buf, 'e')) {
        std::strcpy(end, ".0");
    }
    *this = String(buf);
}

String::~String() { rep_->release(); }

String& String::operator=(const String& other) {
    other.rep_->retain();
    rep_->release();
    rep_ = other.rep_;
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        rep_->release();
        rep_ = other.rep_;
        other.rep_ = &nullRep;
    }
    return *this;
}

String String::FromChar(int code) {
    uint16_t c = uint16_t(code);
    return String(&c, 1);
}

String String::FromChars(const int* codes, int count) {
    Rep* rep = Alloc(count);
    for (int i = 0; i < count; ++i) rep->data[i] = uint16_t(codes[i]);
    return String(rep);
}

String String::Load(FILE* file) {
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    for (;;) {
        size_t n = std::fread(block, 1, sizeof block, file);
        bytes.insert(bytes.end(), block, block + n);
        if (n < sizeof block) break;
    }
    return FromBytes(bytes.data(), int(bytes.size()));
}

namespace {

String DecodeUtf16(const unsigned char* p, int count, bool bigEndian) {
    int n = count / 2;
    std::vector<uint16_t> chars(size_t(n > 0 ? n : 1));
    for (int i = 0; i < n; ++i) {
        unsigned first = p[2 * i], second = p[2 * i + 1];
        chars[size_t(i)] = uint16_t(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return String(chars.data(), n);
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Decodes one- to three-byte sequences; false on anything else, so the caller falls back.
bool DecodeUtf8(const unsigned char* p, int count, std::vector<uint16_t>& out) {
    int i = 0;
    while (i < count) {
        unsigned char lead = p[i];
        if (lead < 0x80) {
            out.push_back(lead);
            i += 1;
        } else if ((lead & 0xE0) == 0xC0) {
            if (i + 1 >= count || !IsContinuation(p[i + 1])) return false;
            out.push_back(uint16_t((lead & 0x1F) << 6 | (p[i + 1] & 0x3F)));
            i += 2;
        } else if ((lead & 0xF0) == 0xE0) {
            if (i + 2 >= count || !IsContinuation(p[i + 1]) || !IsContinuation(p[i + 2])) {
                return false;
            }
            out.push_back(
                uint16_t((lead & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F)));
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

String String::FromBytes(const unsigned char* bytes, int count) {
    if (count <= 0) return String();
    if (count >= 2 && bytes[0] == 254 && bytes[1] == 255)
        return DecodeUtf16(bytes + 2, count - 2, true);
    if (count >= 2 && bytes[0] == 255 && bytes[1] == 254)
        return DecodeUtf16(bytes + 2, count - 2, false);
    if (count >= 3 && bytes[0] == 239 && bytes[1] == 187 && bytes[2] == 191) {
        bytes += 3;
        count -= 3;
    }
    std::vector<uint16_t> chars;
    chars.reserve(size_t(count));
    if (DecodeUtf8(bytes, count, chars)) return String(chars.data(), int(chars.size()));
    chars.assign(bytes, bytes + count);
    return String(chars.data(), count);
}

String String::operator+(const String& other) const {
    if (other.rep_->length == 0) return *this;
    if (rep_->length == 0) return other;
    int n = rep_->length;
    Rep* rep = Alloc(n + other.rep_->length);
    std::memcpy(rep->data, rep_->data, sizeof(uint16_t) * size_t(n));
    std::memcpy(rep->data + n, other.rep_->data, sizeof(uint16_t) * size_t(other.rep_->length));
    return String(rep);
}

String& String::operator+=(const String& other) { return *this = *this + other; }

bool String::operator==(const String& other) const {
    if (rep_ == other.rep_) return true;
    return rep_->length == other.rep_->length &&
           std::memcmp(rep_->data, other.rep_->data, sizeof(uint16_t) * size_t(rep_->length)) == 0;
}

int String::Compare(const String& other) const {
    int n = rep_->length < other.rep_->length ? rep_->length : other.rep_->length;
    for (int i = 0; i < n; ++i) {
        int d = int(rep_->data[i]) - int(other.rep_->data[i]);
        if (d) return d;
    }
    return rep_->length - other.rep_->length;
}

String String::Slice(int from) const { return Slice(from, rep_->length); }

String String::Slice(int from, int to) const {
    int n = rep_->length;
    if (from < 0) {
        from += n;
        if (from < 0) from = 0;
    } else if (from > n) {
        from = n;
    }
    if (to < 0) {
        to += n;
    } else if (to > n) {
        to = n;
    }
    if (to <= from) return String();
    if (from == 0 && to == n) return *this;
    return String(rep_->data + from, to - from);
}

int String::Find(const String& sub, int start) const {
    int n = rep_->length, m = sub.rep_->length;
    if (start < 0) start = 0;
    if (m == 0) return start <= n ? start : -1;
    const uint16_t first = sub.rep_->data[0];
    for (int i = start; i + m <= n; ++i) {
        if (rep_->data[i] != first) continue;
        if (std::memcmp(rep_->data + i, sub.rep_->data, sizeof(uint16_t) * size_t(m)) == 0)
            return i;
    }
    return -1;
}

int String::FindLast(const String& sub) const {
    int n = rep_->length, m = sub.rep_->length;
    for (int i = n - m; i >= 0; --i) {
        if (std::memcmp(rep_->data + i, sub.rep_->data, sizeof(uint16_t) * size_t(m)) == 0)
            return i;
    }
    return -1;
}

bool String::StartsWith(const String& prefix) const {
    int m = prefix.rep_->length;
    return m <= rep_->length &&
           std::memcmp(rep_->data, prefix.rep_->data, sizeof(uint16_t) * size_t(m)) == 0;
}

bool String::EndsWith(const String& suffix) const {
    int m = suffix.rep_->length, n = rep_->length;
    return m <= n &&
           std::memcmp(rep_->data + n - m, suffix.rep_->data, sizeof(uint16_t) * size_t(m)) == 0;
}

Array<String> String::Split(const String& separator) const {
    int n = rep_->length, m = separator.rep_->length;
    if (m == 0) {
        Array<String> chars(n);
        for (int i = 0; i < n; ++i) chars[i] = String(rep_->data + i, 1);
        return chars;
    }
    int pieces = 1;
    for (int i = Find(separator); i >= 0; i = Find(separator, i + m)) ++pieces;
    Array<String> out(pieces);
    if (pieces == 1) {
        out[0] = *this;
        return out;
    }
    int begin = 0, k = 0;
    for (int i = Find(separator); i >= 0; i = Find(separator, i + m)) {
        out[k++] = Slice(begin, i);
        begin = i + m;
    }
    out[k] = Slice(begin, n);
    return out;
}

String String::Join(const Array<String>& pieces) const {
    int count = pieces.Length();
    if (count == 0) return String();
    if (count == 1) return pieces[0];
    int64_t total = int64_t(rep_->length) * (count - 1);
    for (int i = 0; i < count; ++i) total += pieces[i].Length();
    Rep* rep = Alloc(int(total));
    uint16_t* out = rep->data;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            std::memcpy(out, rep_->data, sizeof(uint16_t) * size_t(rep_->length));
            out += rep_->length;
        }
        std::memcpy(out, pieces[i].Data(), sizeof(uint16_t) * size_t(pieces[i].Length()));
        out += pieces[i].Length();
    }
    return String(rep);
}

// An empty search string matches nowhere, so the input comes back unchanged.
String String::Replace(const String& find, const String& with) const {
    int m = find.rep_->length;
    if (m == 0) return *this;
    int first = Find(find);
    if (first < 0) return *this;
    std::vector<uint16_t> out(rep_->data, rep_->data + first);
    int i = first;
    while (i >= 0) {
        out.insert(out.end(), with.rep_->data, with.rep_->data + with.rep_->length);
        int begin = i + m;
        i = Find(find, begin);
        int end = i < 0 ? rep_->length : i;
        out.insert(out.end(), rep_->data + begin, rep_->data + end);
    }
    return String(out.data(), int(out.size()));
}

namespace {

template <class Map>
String MapChars(const String& s, Map map) {
    int n = s.Length();
    for (int i = 0; i < n; ++i) {
        uint16_t c = uint16_t(map(wint_t(s[i])));
        if (c == s[i]) continue;
        std::vector<uint16_t> out(s.Data(), s.Data() + n);
        for (int j = i; j < n; ++j) out[size_t(j)] = uint16_t(map(wint_t(s[j])));
        return String(out.data(), n);
    }
    return s;
}

// The first 63 characters, each cut to its low 8 bits, as a C string.
void LowBytes(const String& s, char (&buf)[64]) {
    int n = s.Length() < 63 ? s.Length() : 63;
    for (int i = 0; i < n; ++i) buf[i] = char(s[i] & 0xFF);
    buf[n] = 0;
}

}  // namespace

String String::ToUpper() const {
    return MapChars(*this, [](wint_t c) { return std::towupper(c); });
}

String String::ToLower() const {
    return MapChars(*this, [](wint_t c) { return std::towlower(c); });
}

String String::Trim() const {
    int begin = 0, end = rep_->length;
    while (begin < end && rep_->data[begin] <= ' ') ++begin;
    while (end > begin && rep_->data[end - 1] <= ' ') --end;
    return Slice(begin, end);
}

// atoi's reading (blanks, sign, digits), saturating instead of overflowing.
int String::ToInt() const {
    char buf[64];
    LowBytes(*this, buf);
    long value = std::strtol(buf, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return int(value);
}

// atof's reading, but always with a point as the decimal mark.
float String::ToFloat() const {
    char buf[64];
    LowBytes(*this, buf);
    const char* p = buf;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+') ++p;
    return float(QvParseDouble(p, buf + std::strlen(buf)));
}

CString String::ToCString() const {
    std::vector<char> bytes(size_t(rep_->length) + 1);
    for (int i = 0; i < rep_->length; ++i) bytes[size_t(i)] = char(rep_->data[i] & 0xFF);
    return CString(bytes.data(), rep_->length);
}

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(size_t(rep_->length));
    for (int i = 0; i < rep_->length; ++i) {
        unsigned c = rep_->data[i];
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

String operator+(const char* left, const String& right) { return String(left) + right; }

struct CString::Rep {
    int refs;
    int length;
    char bytes[1];
};

CString::CString() : rep_(nullptr) {}

CString::CString(const char* bytes, int length) : rep_(nullptr) {
    if (length < 0) length = 0;
    rep_ = static_cast<Rep*>(std::malloc(offsetof(Rep, bytes) + size_t(length) + 1));
    rep_->refs = 1;
    rep_->length = length;
    if (length > 0) std::memcpy(rep_->bytes, bytes, size_t(length));
    rep_->bytes[length] = 0;
}

CString::CString(const CString& other) : rep_(other.rep_) {
    if (rep_) ++rep_->refs;
}

CString& CString::operator=(const CString& other) {
    if (other.rep_) ++other.rep_->refs;
    if (rep_ && --rep_->refs == 0) std::free(rep_);
    rep_ = other.rep_;
    return *this;
}

CString::~CString() {
    if (rep_ && --rep_->refs == 0) std::free(rep_);
}

const char* CString::c_str() const { return rep_ ? rep_->bytes : ""; }

int CString::Length() const { return rep_ ? rep_->length : 0; }
