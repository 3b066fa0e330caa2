#include "net/data_buffer.h"

#include <cstdlib>
#include <cstring>

#include "net/text_codec.h"

QvDataBuffer::~QvDataBuffer() { std::free(data); }

bool QvDataBuffer::_New(int length, void* block) {
    if (data || length < 0) return false;
    if (!block) block = std::malloc(length > 0 ? size_t(length) : 1);
    if (!block) return false;
    data = static_cast<unsigned char*>(block);
    this->length = length;
    return true;
}

void QvDataBuffer::Discard() {
    std::free(data);
    data = nullptr;
    length = 0;
}

c_DataBuffer* c_DataBuffer::m_new(int length) {
    if (!_New(length)) qvError("Allocate DataBuffer failed");
    return this;
}

c_DataBuffer* c_DataBuffer::m_new2() { return this; }

// Bytes that can be transferred at `address`: limited to the end of the block. An address
// outside the block transfers nothing rather than reaching past the memory.
int c_DataBuffer::ClampToBuffer(int address, int count) const {
    if (address < 0 || address > length) return 0;
    if (count > length - address) count = length - address;
    return count > 0 ? count : 0;
}

namespace {

// Limits count to the room in an array after offset; a bad offset leaves no room.
int ClampToArray(int offset, int count, int arrayLength) {
    if (offset < 0 || offset > arrayLength) return 0;
    if (count > arrayLength - offset) count = arrayLength - offset;
    return count > 0 ? count : 0;
}

}  // namespace

int c_DataBuffer::p_PokeBytes(int address, const Array<int>& bytes, int offset, int count) {
    count = ClampToArray(offset, ClampToBuffer(address, count), bytes.Length());
    for (int i = 0; i < count; ++i)
        data[address + i] = static_cast<unsigned char>(bytes[offset + i]);
    return 0;
}

int c_DataBuffer::p_PeekBytes(int address, const Array<int>& bytes, int offset, int count) {
    count = ClampToArray(offset, ClampToBuffer(address, count), bytes.Length());
    for (int i = 0; i < count; ++i) bytes[offset + i] = static_cast<signed char>(data[address + i]);
    return 0;
}

Array<int> c_DataBuffer::p_PeekBytes2(int address, int count) {
    count = ClampToBuffer(address, count);
    Array<int> bytes(count);
    p_PeekBytes(address, bytes, 0, count);
    return bytes;
}

int c_DataBuffer::p_CopyBytes(int address, c_DataBuffer* dest, int destAddress, int count) {
    count = dest->ClampToBuffer(destAddress, ClampToBuffer(address, count));
    // memmove picks the direction, so overlapping ranges of one buffer copy correctly.
    if (count > 0) std::memmove(dest->data + destAddress, data + address, size_t(count));
    return 0;
}

namespace {

std::string EncodeOrFail(const String& str, const String& encoding) {
    if (encoding == String("utf8")) return EncodeUtf8(str);
    if (encoding == String("ascii")) return EncodeAscii(str);
    qvError(String("Invalid string encoding:") + encoding);
}

}  // namespace

int c_DataBuffer::p_PokeString(int address, const String& str, const String& encoding) {
    std::string bytes = EncodeOrFail(str, encoding);
    int count = ClampToBuffer(address, int(bytes.size()));
    if (count > 0) std::memcpy(data + address, bytes.data(), size_t(count));
    return int(bytes.size());
}

String c_DataBuffer::p_PeekString(int address, int count, const String& encoding) {
    bool utf8 = encoding == String("utf8");
    if (!utf8 && encoding != String("ascii"))
        qvError(String("Invalid string encoding:") + encoding);
    count = ClampToBuffer(address, count);
    if (count == 0) return String();
    return utf8 ? DecodeUtf8(data + address, count) : DecodeAscii(data + address, count);
}

String c_DataBuffer::p_PeekString2(int address, const String& encoding) {
    return p_PeekString(address, length - address, encoding);
}
