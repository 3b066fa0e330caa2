// The request through the browser's fetch, which stands in for sockets on a web page. The
// fetch runs in the browser; its outcome waits in a list on the page until the event pump
// hands it to the request on the main thread, as the socket's completions are handed.
#include <emscripten.h>

#include <string>

#include "net/async_event.h"
#include "net/http_request.h"
#include "net/interface_ref.h"
#include "net/text_codec.h"

namespace {

// Starts fetch `id`. `headLines` are the request's header lines, one a line; the browser
// drops the ones it sets itself (Host, Content-Length). A method or header the browser
// refuses, a refused connection or a reply the page may not read all end as status -1.
EM_JS(void, StartFetch,
      (int id, const char* method, const char* url, const char* headLines, const uint8_t* body,
       int bodyLength),
      {
          const finished = Module.finishedFetches || (Module.finishedFetches = []);
          const failed = function() {
              finished.push({id : id, status : -1, head : "", body : new Uint8Array(0)});
          };
          try {
              const init = {method : UTF8ToString(method), headers : new Headers()};
              for (const line of UTF8ToString(headLines).split("\n")) {
                  const colon = line.indexOf(":");
                  if (colon > 0)
                      init.headers.append(line.slice(0, colon), line.slice(colon + 1).trim());
              }
              if (bodyLength > 0) init.body = HEAPU8.slice(body, body + bodyLength);
              fetch(UTF8ToString(url), init)
                  .then(function(response) {
                      const head = [];
                      response.headers.forEach(
                          function(value, name) { head.push(name + ": " + value); });
                      return response.arrayBuffer().then(function(bytes) {
                          finished.push({
                              id : id,
                              status : response.status,
                              head : head.join("\n"),
                              body : new Uint8Array(bytes)
                          });
                      });
                  })
                  .catch(failed);
          } catch (error) {
              failed();
          }
      });

// Takes the oldest finished fetch for reading; its id, or 0 when none finished.
EM_JS(int, TakeFinishedFetch, (), {
    const finished = Module.finishedFetches;
    Module.takenFetch = finished && finished.length ? finished.shift() : null;
    return Module.takenFetch ? Module.takenFetch.id : 0;
});
EM_JS(int, TakenFetchStatus, (), { return Module.takenFetch.status; });
EM_JS(int, TakenFetchHeadBytes, (), { return lengthBytesUTF8(Module.takenFetch.head); });
EM_JS(void, CopyTakenFetchHead, (char* to, int bytes),
      { stringToUTF8(Module.takenFetch.head, to, bytes); });
EM_JS(int, TakenFetchBodyBytes, (), { return Module.takenFetch.body.length; });
EM_JS(void, CopyTakenFetchBody, (uint8_t * to), { HEAPU8.set(Module.takenFetch.body, to); });

// The requests whose fetches are under way, by id (slot + 1). One for the process, an
// event source for good, registered again if the sources were made anew.
class c_FetchPump : public Object, public c_IAsyncEventSource {
public:
    void mark() override { gc_mark_q(m_pending); }

    int Add(c_HttpRequest* request) {
        int slot = 0;
        while (slot < m_pending.Length() && m_pending[slot]) ++slot;
        if (slot == m_pending.Length()) gc_assign(m_pending, m_pending.Resize(slot * 2 + 4));
        gc_assign(m_pending[slot], request);
        return slot + 1;
    }

    int p_UpdateAsyncEvents() override {
        while (int id = TakeFinishedFetch()) {
            c_HttpRequest* request = m_pending[id - 1];
            m_pending[id - 1] = nullptr;
            const int status = TakenFetchStatus();
            std::string head(TakenFetchHeadBytes() + 1, '\0');
            CopyTakenFetchHead(head.data(), int(head.size()));
            head.pop_back();
            std::vector<uint8_t> body(TakenFetchBodyBytes());
            CopyTakenFetchBody(body.data());
            request->FetchComplete(id, status < 0, status, head, std::move(body));
        }
        return 0;
    }

private:
    Array<c_HttpRequest*> m_pending;
};

c_FetchPump* g_pump = nullptr;

c_FetchPump* Pump() {
    if (!g_pump || !qv_asyncevent__sources || !qv_asyncevent__sources->p_Contains(g_pump)) {
        g_pump = new c_FetchPump;
        qv_asyncevent_AddAsyncEventSource(g_pump);
    }
    return g_pump;
}

}  // namespace

c_HttpRequest* c_HttpRequest::m_new() { return this; }

void c_HttpRequest::mark() {
    gc_mark_q(m_url);
    gc_mark_interface(m_onComplete);
    gc_mark_q(m_body);
    gc_mark_q(m_responseChunks);
    gc_mark_q(m_lines);
}

int c_HttpRequest::p_Send() {
    if (!m_lines || m_sent) return 0;
    m_sent = true;
    std::string headLines;
    for (int i = 1; i < m_lines->p_Length2(); ++i) headLines += m_lines->p_Get(i).ToUtf8() + "\n";
    m_lines->p_Clear();
    const std::string url = (m_url->p_Scheme() + String("://") + m_url->p_Domain() + String(":") +
                             String(m_url->p_Port()) + m_url->p_FullPath())
                                .ToUtf8();
    m_fetchId = Pump()->Add(this);
    StartFetch(m_fetchId, m_method.ToUtf8().c_str(), url.c_str(), headLines.c_str(),
               m_body ? m_body->ReadPointer() : nullptr, m_bodyLength);
    return 0;
}

void c_HttpRequest::FetchComplete(int fetchId, bool failed, int status, const std::string& head,
                                  std::vector<uint8_t> body) {
    // A request opened again since this fetch started waits for its own, if any.
    if (!m_sent || fetchId != m_fetchId || m_finished) return;
    if (!failed) {
        m_status = status;
        gc_assign(m_responseChunks, (new c_StringStack)->m_new2());
        size_t start = 0;
        while (start < head.size()) {
            size_t end = head.find('\n', start);
            if (end == std::string::npos) end = head.size();
            m_lines->p_Push4(DecodeAscii(reinterpret_cast<const uint8_t*>(head.data() + start),
                                         int(end - start)));
            start = end + 1;
        }
        m_bodyBytes = std::move(body);
        m_bytesReceived = int(m_bodyBytes.size());
    }
    Finish(failed);
}

void c_HttpRequest::Finish(bool failed) {
    m_finished = true;
    m_failed = failed;
    if (m_responseChunks) {
        m_responseChunks->p_Push4(DecodeUtf8(m_bodyBytes.data(), int(m_bodyBytes.size())));
        m_responseText = m_responseChunks->p_Join(String());
    }
    m_bodyBytes.clear();
    if (m_onComplete) m_onComplete->p_OnHttpRequestComplete(this);
}
