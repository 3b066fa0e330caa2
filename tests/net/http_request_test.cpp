#include <gtest/gtest.h>

#include <thread>

#include "net/http_request.h"
#include "tests/net/pump.h"
#include "tests/net/string_printer.h"
#include "tests/net/test_http_server.h"

namespace {

class Recorder : public Object, public c_IOnHttpRequestComplete {
public:
    int calls = 0;
    bool onMainThread = true;
    int status = 0;
    String text;
    c_HttpRequest* request = nullptr;

    int p_OnHttpRequestComplete(c_HttpRequest* finished) override {
        ++calls;
        if (std::this_thread::get_id() != mainThread_) onMainThread = false;
        request = finished;
        status = finished->p_Status();
        text = finished->p_ResponseText();
        return 0;
    }

private:
    std::thread::id mainThread_ = std::this_thread::get_id();
};

// Sends a request, pumps until it completes, and keeps pumping a little so that a second
// completion would be seen.
Recorder* Fetch(const std::string& url, const char* method = "GET") {
    Recorder* recorder = new Recorder;
    c_HttpRequest* request =
        (new c_HttpRequest)->m_new2(String(method), String(url.c_str()), recorder);
    request->p_Send();
    EXPECT_TRUE(PumpUntil([&] { return recorder->calls > 0; })) << "no completion for " << url;
    PumpFor(0.1);
    EXPECT_EQ(recorder->calls, 1);
    EXPECT_TRUE(recorder->onMainThread);
    EXPECT_EQ(recorder->request, request);
    return recorder;
}

std::string Utf8(const String& text) { return text.ToUtf8(); }

}  // namespace

TEST(HttpRequest, OkWithABody) {
    TestHttpServer server({{{"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nhello"}}});
    Recorder* result = Fetch(server.Url("/page?key=value#top"));
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->text, String("hello"));
    EXPECT_EQ(result->request->p_BytesReceived(), 5);
    EXPECT_FALSE(result->request->p_Failed());
    EXPECT_EQ(server.Request(), "GET /page?key=value#top HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    c_StringStack* head = result->request->p_Lines();
    ASSERT_EQ(head->p_Length2(), 2);
    EXPECT_EQ(head->p_Get(0), String("HTTP/1.1 200 OK"));
    EXPECT_EQ(head->p_Get(1), String("Content-Type: text/plain"));
    EXPECT_FALSE(result->request->p_Lines() == nullptr);
}

TEST(HttpRequest, StatusLineInLowerCase) {
    TestHttpServer server({{{"http/1.0 404 not found\r\n\r\nmissing"}}});
    Recorder* result = Fetch(server.Url("/nothing"));
    EXPECT_EQ(result->status, 404);
    EXPECT_EQ(result->text, String("missing"));
}

TEST(HttpRequest, StatusLineWithAnEmptyReason) {
    TestHttpServer server({{{"HTTP/1.0 204 \r\n\r\n"}}});
    Recorder* result = Fetch(server.Url("/"));
    EXPECT_EQ(result->status, 204);
    EXPECT_TRUE(result->text.IsEmpty());
    EXPECT_FALSE(result->request->p_Failed());
}

TEST(HttpRequest, HeadSplitAcrossReceives) {
    TestHttpServer server(
        {{{"HTTP/1.1 200 OK\r\nServer: te"}, {"st\r\n\r", 150}, {"\nwo", 150}, {"rds", 150}}});
    Recorder* result = Fetch(server.Url("/split"));
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->text, String("words"));
    EXPECT_EQ(result->request->p_BytesReceived(), 5);
    EXPECT_EQ(result->request->p_Lines()->p_Get(1), String("Server: test"));
}

TEST(HttpRequest, BodySplitInsideUtf8Characters) {
    // "é€" is C3 A9 E2 82 AC: both characters are cut between receives.
    TestHttpServer server(
        {{{"HTTP/1.0 200 OK\r\n\r\n\xC3"}, {"\xA9\xE2\x82", 150}, {"\xAC!", 150}}});
    Recorder* result = Fetch(server.Url("/utf8"));
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(Utf8(result->text), "\xC3\xA9\xE2\x82\xAC!");
    EXPECT_EQ(result->text.Length(), 3);
    EXPECT_EQ(result->request->p_BytesReceived(), 6);
}

TEST(HttpRequest, InvalidUtf8BodyReadsAsOneCharacterPerByte) {
    TestHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\nA\xFF"}}});
    Recorder* result = Fetch(server.Url("/bytes"));
    const uint16_t expected[] = {'A', 0xFF};
    EXPECT_EQ(result->text, String(expected, 2));
}

TEST(HttpRequest, ServerThatClosesAtOnce) {
    ServerScript script;
    script.readRequest = false;
    TestHttpServer server(script);
    Recorder* result = Fetch(server.Url("/"));
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_EQ(result->status, -1);
    EXPECT_TRUE(result->text.IsEmpty());
    EXPECT_TRUE(result->request->p_Failed());
}

TEST(HttpRequest, ResponseStartingWithABlankLine) {
    TestHttpServer server({{{"\r\nHTTP/1.0 200 OK\r\n\r\nbody"}}});
    Recorder* result = Fetch(server.Url("/"));
    EXPECT_EQ(result->status, -1);
    EXPECT_TRUE(result->text.IsEmpty());
}

TEST(HttpRequest, FirstLineThatIsNoStatusLine) {
    TestHttpServer server({{{"SSH-2.0-OpenSSH\r\n\r\n"}}});
    Recorder* result = Fetch(server.Url("/"));
    EXPECT_EQ(result->status, -1);
    EXPECT_TRUE(result->request->p_Failed());
}

TEST(HttpRequest, ResetAfterTheHeadEndsAsAFailureWithTheStatusRead) {
    ServerScript script;
    script.pieces = {{"HTTP/1.0 200 OK\r\n\r\npart"}};
    script.reset = true;
    TestHttpServer server(script);
    Recorder* result = Fetch(server.Url("/reset"));
    EXPECT_EQ(result->status, 200);
    EXPECT_TRUE(result->request->p_Failed());
}

TEST(HttpRequest, RefusedPort) {
    RefusingPort port;
    Recorder* result = Fetch("http://127.0.0.1:" + std::to_string(port.Port()) + "/");
    EXPECT_EQ(result->status, -1);
    EXPECT_TRUE(result->text.IsEmpty());
    EXPECT_TRUE(result->request->p_Failed());
}

TEST(HttpRequest, UnresolvableHost) {
    Recorder* result = Fetch("http://no-such-host.invalid/housecall.php");
    EXPECT_EQ(result->status, -1);
    EXPECT_TRUE(result->request->p_Failed());
}

TEST(HttpRequest, BodySentAfterTheHead) {
    TestHttpServer server({{{"HTTP/1.0 201 Created\r\n\r\n"}}});
    Recorder* recorder = new Recorder;
    c_HttpRequest* request = (new c_HttpRequest)->m_new();
    request->p_Open(String("POST"), String(server.Url("/scores").c_str()), recorder);
    const uint16_t body[] = {'n', '=', 0xE9};
    request->p_Send2(String(body, 3), String("text/plain"), String("utf8"));
    ASSERT_TRUE(PumpUntil([&] { return recorder->calls > 0; }));
    EXPECT_EQ(recorder->status, 201);
    EXPECT_EQ(server.Request(),
              "POST /scores HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\n"
              "Content-Length: 4\r\n\r\nn=\xC3\xA9");
}

TEST(HttpRequest, HeadLongerThanTheSendBufferIsRefusedUnsent) {
    TestHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\nnever"}}});
    Recorder* result = Fetch(server.Url("/" + std::string(5000, 'a')));
    EXPECT_EQ(result->status, -1);
    EXPECT_TRUE(result->request->p_Failed());
    EXPECT_TRUE(server.Request().empty()) << "no part of the head went out";
}

TEST(HttpRequest, HeadFillingTheSendBufferExactlyGoesOut) {
    TestHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\nfits"}}});
    // Request line and Host line with their endings and the blank line: 4096 bytes.
    std::string fixed = "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    Recorder* result = Fetch(server.Url("/" + std::string(4096 - fixed.size(), 'b')));
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(server.Request().size(), 4096u);
}

TEST(HttpRequest, LineBreaksInTheMethodAreRefused) {
    TestHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\nx"}}});
    Recorder* result = Fetch(server.Url("/"), "GET / HTTP/1.0\r\nX-Injected: 1\r\nGET");
    EXPECT_EQ(result->status, -1);
    EXPECT_TRUE(server.Request().empty());
}

TEST(HttpRequest, SendIsIgnoredUntilOpenedAndOncePerOpen) {
    TestHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\nonce"}}});
    Recorder* recorder = new Recorder;
    c_HttpRequest* request = (new c_HttpRequest)->m_new();
    request->p_Send();
    PumpFor(0.05);
    EXPECT_EQ(recorder->calls, 0);
    request->p_Open(String("GET"), String(server.Url("/").c_str()), recorder);
    request->p_Send();
    request->p_Send();
    ASSERT_TRUE(PumpUntil([&] { return recorder->calls > 0; }));
    PumpFor(0.1);
    EXPECT_EQ(recorder->calls, 1);
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_EQ(recorder->text, String("once"));
}

TEST(HttpRequest, SurvivesFullCollectionsWhileUnderWay) {
    TestHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\nkept"}, {" alive", 100}}});
    int calls = 0;
    String text;
    {
        Recorder* recorder = new Recorder;
        (new c_HttpRequest)
            ->m_new2(String("GET"), String(server.Url("/").c_str()), recorder)
            ->p_Send();
        // No root refers to the request: the collector reaches it only through the event
        // sources, the socket and its queued operations.
        ASSERT_TRUE(PumpUntil([&] {
            gc_collect_all();
            if (recorder->calls) {
                calls = recorder->calls;
                text = recorder->text;
            }
            return calls > 0;
        }));
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(text, String("kept alive"));
}
