#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "game/check_in.h"
#include "net/async_event.h"
#include "net/http_request.h"
#include "tests/game/game_fixture.h"
#include "tests/net/string_printer.h"
#include "tests/net/test_http_server.h"
#include "tests/support/occurrences.h"

namespace {

class CheckIn : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        savedUrl_ = qv_Vortan_CheckInUrl;
    }
    void TearDown() override {
        qv_Vortan_CheckInUrl = savedUrl_;
        GameFixture::TearDown();
    }

    // Starts the game with the switch on and the address pointed at `url`, then runs
    // updates (each pumps the events) until the reply arrived; returns the console.
    std::string CreateAndWaitForReply(const std::string& url) {
        qv_Vortan_J_On_Allow = 1;
        qv_Vortan_CheckInUrl = String(url.c_str());
        ::testing::internal::CaptureStdout();
        Create();
        for (int i = 0; i < 600 && app->m_HttpReply == String("N/A"); ++i) {
            Update();
            SleepMs(5);
        }
        Update(20);  // a second completion would show in these
        return ::testing::internal::GetCapturedStdout();
    }

    static void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

private:
    String savedUrl_;
};

}  // namespace

TEST_F(CheckIn, TheShippedSwitchSendsNothing) {
    EXPECT_EQ(qv_Vortan_J_On_Allow, 0);
    ::testing::internal::CaptureStdout();
    Create();
    Update(5);
    std::string console = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(console.find("Requesting URL"), std::string::npos);
    EXPECT_EQ(console.find("Http GET complete!"), std::string::npos);
    EXPECT_EQ(app->m_Http, nullptr);
    EXPECT_EQ(qv_asyncevent__sources->p_Length(), 0) << "no socket was made";
    EXPECT_EQ(app->m_HttpReply, String("N/A"));
}

TEST_F(CheckIn, WithTheSwitchSetTheGameAnnouncesItself) {
    TestHttpServer server({{{"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nwelcome"}}});
    std::string console = CreateAndWaitForReply(server.Url("/housecall.php"));
    EXPECT_EQ(server.Request(),
              "GET /housecall.php?hello=1&gameID=415 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(Occurrences(console, "Requesting URL\n"), 1);
    EXPECT_EQ(Occurrences(console, "Http GET complete! 200\n"), 1);
    EXPECT_LT(console.find("Requesting URL"), console.find("Http GET complete!"));
    EXPECT_EQ(app->m_HttpReply, String("welcome"));
    EXPECT_EQ(qv_Vortan_J_On_Able, 1);
}

TEST_F(CheckIn, AnEmptyReplyLeavesTheGameUnconfirmed) {
    TestHttpServer server({{{"HTTP/1.0 404 Not Found\r\n\r\n"}}});
    std::string console = CreateAndWaitForReply(server.Url("/housecall.php"));
    EXPECT_EQ(Occurrences(console, "Http GET complete! 404\n"), 1);
    EXPECT_TRUE(app->m_HttpReply.IsEmpty());
    EXPECT_EQ(qv_Vortan_J_On_Able, 0);
}

TEST_F(CheckIn, AnUnreachableServerReportsTheFailureOnce) {
    RefusingPort port;
    std::string console = CreateAndWaitForReply("http://127.0.0.1:" + std::to_string(port.Port()) +
                                                "/housecall.php");
    EXPECT_EQ(Occurrences(console, "Requesting URL\n"), 1);
    EXPECT_EQ(Occurrences(console, "Http GET complete! -1\n"), 1);
    EXPECT_TRUE(app->m_HttpReply.IsEmpty());
    EXPECT_EQ(qv_Vortan_J_On_Able, 0);
}

TEST_F(CheckIn, CompletionsOfOtherRequestsAreIgnored) {
    TestHttpServer server({{{"HTTP/1.0 200 OK\r\n\r\nnot ours"}}});
    c_HttpRequest* other = (new c_HttpRequest)->m_new();
    other->p_Open(String("GET"), String(server.Url("/other").c_str()), app);
    ::testing::internal::CaptureStdout();
    other->p_Send();
    for (int i = 0; i < 600 && other->p_Status() == -1; ++i) {
        Update();
        SleepMs(5);
    }
    Update(5);
    std::string console = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(other->p_Status(), 200);
    EXPECT_EQ(console.find("Http GET complete!"), std::string::npos);
    EXPECT_EQ(app->m_HttpReply, String("N/A"));
    EXPECT_EQ(qv_Vortan_J_On_Able, 0);
}
