// Data buffers filled with whole files through the host's file loader.
#include "host/game.h"
#include "net/data_buffer.h"

namespace {

unsigned char* LoadThroughHost(const String& path, int* length) {
    return QvGame::_game ? QvGame::_game->LoadData(path, length) : nullptr;
}

}  // namespace

bool QvDataBuffer::_Load(const String& path) {
    if (data) return false;
    int size = 0;
    unsigned char* block = LoadThroughHost(path, &size);
    if (!block) return false;
    return _New(size, block);
}

c_DataBuffer* c_DataBuffer::m_Load(const String& path) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new2();
    return buffer->_Load(path) ? buffer : nullptr;
}
