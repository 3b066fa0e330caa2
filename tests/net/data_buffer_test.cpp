#include <gtest/gtest.h>

#include "net/data_buffer.h"
#include "tests/net/runtime_error.h"
#include "tests/net/string_printer.h"

namespace {

c_DataBuffer* BufferOf(std::initializer_list<int> bytes) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(int(bytes.size()));
    int i = 0;
    for (int b : bytes) buffer->WritePointer()[i++] = static_cast<unsigned char>(b);
    return buffer;
}

std::vector<int> BytesOf(c_DataBuffer* buffer) {
    Array<int> bytes = buffer->p_PeekBytes2(0, buffer->Length());
    return std::vector<int>(bytes.Data(), bytes.Data() + bytes.Length());
}

Array<int> ArrayOf(std::initializer_list<int> values) {
    std::vector<int> v(values);
    return Array<int>(v.data(), int(v.size()));
}

}  // namespace

TEST(DataBuffer, NewBufferHasNoBlockUntilAllocated) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new2();
    EXPECT_EQ(buffer->Length(), 0);
    EXPECT_TRUE(buffer->_New(8));
    EXPECT_EQ(buffer->Length(), 8);
    EXPECT_FALSE(buffer->_New(4)) << "a block once attached is never replaced";
    buffer->Discard();
    EXPECT_EQ(buffer->Length(), 0);
    EXPECT_TRUE(buffer->_New(4));
}

TEST(DataBuffer, AllocatingTwiceIsARuntimeError) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(4);
    EXPECT_RUNTIME_ERROR(buffer->m_new(4), "Allocate DataBuffer failed");
}

TEST(DataBuffer, BytesAreStoredAsLowEightBitsAndReadSignExtended) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(4);
    buffer->p_PokeBytes(0, ArrayOf({0x1FF, 127, 128, -2}), 0, 4);
    EXPECT_EQ(BytesOf(buffer), (std::vector<int>{-1, 127, -128, -2}));
}

TEST(DataBuffer, RangesAreClampedToTheBufferAndTheArray) {
    c_DataBuffer* buffer = BufferOf({0, 0, 0, 0, 0});
    buffer->p_PokeBytes(3, ArrayOf({1, 2, 3, 4}), 0, 4);  // only two bytes are left
    EXPECT_EQ(BytesOf(buffer), (std::vector<int>{0, 0, 0, 1, 2}));
    buffer->p_PokeBytes(0, ArrayOf({7, 8, 9}), 1, 10);  // only two array entries after 1
    EXPECT_EQ(BytesOf(buffer), (std::vector<int>{8, 9, 0, 1, 2}));

    Array<int> into = ArrayOf({-5, -5, -5});
    buffer->p_PeekBytes(1, into, 1, 10);
    EXPECT_EQ(std::vector<int>(into.Data(), into.Data() + 3), (std::vector<int>{-5, 9, 0}));
    EXPECT_EQ(buffer->p_PeekBytes2(3, 100).Length(), 2);
    EXPECT_EQ(buffer->p_PeekBytes2(5, 3).Length(), 0);
}

TEST(DataBuffer, AddressesOutsideTheBlockTransferNothing) {
    c_DataBuffer* buffer = BufferOf({1, 2, 3});
    buffer->p_PokeBytes(-2, ArrayOf({9, 9, 9}), 0, 3);
    buffer->p_PokeBytes(4, ArrayOf({9}), 0, 1);
    buffer->p_PokeBytes(0, ArrayOf({9}), -1, 1);
    EXPECT_EQ(buffer->p_PokeString(-1, String("abc"), String("ascii")), 3);
    EXPECT_EQ(BytesOf(buffer), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(buffer->p_PeekBytes2(-1, 2).Length(), 0);
    EXPECT_TRUE(buffer->p_PeekString(7, 2, String("ascii")).IsEmpty());
}

TEST(DataBuffer, PeekBytesOfFFIsMinusOne) {
    EXPECT_EQ(BufferOf({0xFF})->p_PeekBytes2(0, 1)[0], -1);
}

TEST(DataBuffer, OverlappingCopiesWithinOneBufferKeepTheSource) {
    c_DataBuffer* forward = BufferOf({1, 2, 3, 4, 5});
    forward->p_CopyBytes(0, forward, 1, 4);
    EXPECT_EQ(BytesOf(forward), (std::vector<int>{1, 1, 2, 3, 4}));
    c_DataBuffer* backward = BufferOf({1, 2, 3, 4, 5});
    backward->p_CopyBytes(1, backward, 0, 4);
    EXPECT_EQ(BytesOf(backward), (std::vector<int>{2, 3, 4, 5, 5}));
}

TEST(DataBuffer, CopiesAreClampedToSourceThenDestination) {
    c_DataBuffer* source = BufferOf({1, 2, 3, 4});
    c_DataBuffer* dest = BufferOf({0, 0, 0});
    source->p_CopyBytes(2, dest, 0, 10);  // two bytes left in the source
    EXPECT_EQ(BytesOf(dest), (std::vector<int>{3, 4, 0}));
    source->p_CopyBytes(0, dest, 2, 10);  // one byte of room in the destination
    EXPECT_EQ(BytesOf(dest), (std::vector<int>{3, 4, 1}));
}

TEST(DataBuffer, Utf8PokeReturnsTheFullEncodedLengthEvenWhenCut) {
    const uint16_t eAcute = 0xE9;
    c_DataBuffer* roomy = (new c_DataBuffer)->m_new(10);
    EXPECT_EQ(roomy->p_PokeString(0, String(&eAcute, 1), String("utf8")), 2);
    EXPECT_EQ(roomy->p_PeekBytes2(0, 2)[0], int(int8_t(0xC3)));
    EXPECT_EQ(roomy->p_PeekBytes2(0, 2)[1], int(int8_t(0xA9)));

    c_DataBuffer* tiny = BufferOf({0});
    EXPECT_EQ(tiny->p_PokeString(0, String(&eAcute, 1), String("utf8")), 2);
    EXPECT_EQ(BytesOf(tiny), (std::vector<int>{int(int8_t(0xC3))}));
}

TEST(DataBuffer, Utf8EncodesEachSixteenBitCharacterOnItsOwn) {
    const uint16_t chars[] = {'A', 0x7FF, 0x800, 0xD83D, 0xDE00};
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(16);
    EXPECT_EQ(buffer->p_PokeString(0, String(chars, 5), String("utf8")), 1 + 2 + 3 + 3 + 3);
    EXPECT_EQ(buffer->p_PeekString(0, 12, String("utf8")), String(chars, 5));
}

TEST(DataBuffer, AsciiKeepsTheLowEightBits) {
    const uint16_t chars[] = {'h', 0x1E9, 'i'};
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(3);
    EXPECT_EQ(buffer->p_PokeString(0, String(chars, 3), String("ascii")), 3);
    EXPECT_EQ(BytesOf(buffer), (std::vector<int>{'h', int(int8_t(0xE9)), 'i'}));
    const uint16_t back[] = {'h', 0xE9, 'i'};
    EXPECT_EQ(buffer->p_PeekString(0, 3, String("ascii")), String(back, 3));
}

TEST(DataBuffer, Utf8DecodesTwoAndThreeByteSequences) {
    const uint16_t euro = 0x20AC;
    EXPECT_EQ(BufferOf({0xE2, 0x82, 0xAC})->p_PeekString(0, 3, String("utf8")), String(&euro, 1));
    const uint16_t mixed[] = {'a', 0xE9, 'b'};
    EXPECT_EQ(BufferOf({'a', 0xC3, 0xA9, 'b'})->p_PeekString(0, 4, String("utf8")),
              String(mixed, 3));
}

TEST(DataBuffer, MalformedUtf8FallsBackToOneCharacterPerByte) {
    const uint16_t cut[] = {0xE2, 0x82};
    EXPECT_EQ(BufferOf({0xE2, 0x82, 0xAC})->p_PeekString(0, 2, String("utf8")), String(cut, 2));
    const uint16_t stray[] = {'a', 0x80};
    EXPECT_EQ(BufferOf({'a', 0x80})->p_PeekString(0, 2, String("utf8")), String(stray, 2));
    const uint16_t fourByte[] = {0xF0, 0x9F, 0x98, 0x80};
    EXPECT_EQ(BufferOf({0xF0, 0x9F, 0x98, 0x80})->p_PeekString(0, 4, String("utf8")),
              String(fourByte, 4));
    const uint16_t badFollower[] = {0xC3, 'A'};
    EXPECT_EQ(BufferOf({0xC3, 'A'})->p_PeekString(0, 2, String("utf8")), String(badFollower, 2));
}

TEST(DataBuffer, PeekStringOfNothingIsEmptyAndTheRestReadsToTheEnd) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(10);
    buffer->p_PokeString(0, String("0123456789"), String("ascii"));
    EXPECT_TRUE(buffer->p_PeekString(3, 0, String("utf8")).IsEmpty());
    EXPECT_EQ(buffer->p_PeekString2(4, String("ascii")), String("456789"));
    EXPECT_EQ(buffer->p_PeekString(8, 5, String("ascii")), String("89"));
}

TEST(DataBuffer, UnknownEncodingsAreRuntimeErrors) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(4);
    EXPECT_RUNTIME_ERROR(buffer->p_PokeString(0, String("x"), String("latin1")),
                         "Invalid string encoding:latin1");
    EXPECT_RUNTIME_ERROR(buffer->p_PeekString(0, 1, String("UTF8")),
                         "Invalid string encoding:UTF8");
}
