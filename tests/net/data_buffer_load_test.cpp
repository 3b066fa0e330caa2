#include <gtest/gtest.h>

#include "host/game.h"
#include "net/data_buffer.h"
#include "net/thread.h"
#include "tests/net/string_printer.h"
#include "tests/net/thread_wait.h"
#include "tests/support/scratch_dir.h"

namespace {

class DataBufferLoad : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QvGame::_game) new QvGame;  // the plain host: paths are file names
        scratch.Write("bytes.bin", std::string("\x01\xFFzz", 4));
        path = String(scratch.File("bytes.bin").c_str());
    }
    ScratchDir scratch;
    String path;
};

// Loads a file into its buffer on its own thread, as a background loader would.
class LoaderThread : public c_Thread {
public:
    c_DataBuffer* buffer = nullptr;
    String path;
    int Run__UNSAFE__() override {
        buffer->_LoadAsync(path, this);
        return 0;
    }
};

}  // namespace

TEST_F(DataBufferLoad, AWholeFileOrNothing) {
    c_DataBuffer* buffer = c_DataBuffer::m_Load(path);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Length(), 4);
    EXPECT_EQ(buffer->p_PeekBytes2(0, 2)[1], -1);
    EXPECT_EQ(buffer->p_PeekString(2, 2, String("ascii")), String("zz"));
    EXPECT_FALSE(buffer->_Load(path)) << "a buffer with a block loads nothing more";
    EXPECT_EQ(c_DataBuffer::m_Load(String(scratch.File("missing").c_str())), nullptr);

    scratch.Write("empty.bin", "");
    c_DataBuffer* empty = c_DataBuffer::m_Load(String(scratch.File("empty.bin").c_str()));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Length(), 0);
}

TEST_F(DataBufferLoad, OnAWorkerTheBufferBecomesTheResult) {
    LoaderThread* thread = new LoaderThread;
    thread->m_new();
    thread->buffer = (new c_DataBuffer)->m_new2();
    thread->path = path;
    thread->Start();
    ASSERT_TRUE(WaitStopped(thread));
    EXPECT_EQ(thread->Result(), thread->buffer);
    EXPECT_EQ(thread->buffer->Length(), 4);

    thread->buffer = (new c_DataBuffer)->m_new2();
    thread->path = String(scratch.File("missing").c_str());
    thread->Start();
    ASSERT_TRUE(WaitStopped(thread));
    EXPECT_EQ(thread->Result(), nullptr);
}
