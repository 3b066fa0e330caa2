// A data buffer filled with a whole file on a worker thread (not built for the web, where
// there are no worker threads).
#include "net/data_buffer.h"
#include "net/thread.h"

void QvDataBuffer::_LoadAsync(const String& path, QvThread* thread) {
    // The worker's own copy: the caller's string body is never shared across threads.
    String privatePath = QvThread::Strdup(path);
    if (_Load(privatePath)) thread->SetResult(this);
}
