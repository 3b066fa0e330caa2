// Fixed-length blocks of raw bytes read and written by position.
#pragma once

#include "runtime/runtime.h"

class QvThread;

// Owns the block: malloc'd (or taken over from the host's file loader), freed with free.
class QvDataBuffer : public Object {
public:
    ~QvDataBuffer() override;

    // Attaches `data`, or a new uninitialised block of `length` bytes when it is null.
    // False when a block is attached already or the allocation failed.
    bool _New(int length, void* data = nullptr);
    // The whole file through the host's loader; false when a block is attached already or
    // the file cannot be read.
    bool _Load(const String& path);
    // For a worker thread: loads from a private copy of the path and, on success, makes
    // this buffer the thread's result.
    void _LoadAsync(const String& path, QvThread* thread);
    void Discard();

    int Length() const { return length; }
    unsigned char* ReadPointer(int offset = 0) const { return data + offset; }
    unsigned char* WritePointer(int offset = 0) { return data + offset; }

protected:
    unsigned char* data = nullptr;
    int length = 0;
};

class c_DataBuffer : public QvDataBuffer {
public:
    // Raises "Allocate DataBuffer failed" when a block is attached already.
    c_DataBuffer* m_new(int length);
    c_DataBuffer* m_new2();
    // A new buffer holding the whole file, or null.
    static c_DataBuffer* m_Load(const String& path);

    int p_PokeBytes(int address, const Array<int>& bytes, int offset, int count);
    int p_PeekBytes(int address, const Array<int>& bytes, int offset, int count);
    Array<int> p_PeekBytes2(int address, int count);
    int p_CopyBytes(int address, c_DataBuffer* dest, int destAddress, int count);
    // Returns the full encoded length, even when fewer bytes fitted.
    int p_PokeString(int address, const String& str, const String& encoding);
    String p_PeekString(int address, int count, const String& encoding);
    String p_PeekString2(int address, const String& encoding);

private:
    int ClampToBuffer(int address, int count) const;
};
