#include <gtest/gtest.h>

#include <string>

#include "net/http_response_head.h"

namespace {

struct Fed {
    HttpResponseHead head;
    std::string body;
};

// Feeds the response in pieces of `step` bytes, as receives would deliver it.
Fed FeedInPieces(const std::string& response, size_t step) {
    Fed fed;
    for (size_t at = 0; at < response.size(); at += step) {
        std::string piece = response.substr(at, step);
        if (fed.head.GetState() == HttpResponseHead::State::kReading) {
            int used = fed.head.Feed(reinterpret_cast<const uint8_t*>(piece.data()),
                                     int(piece.size()));
            if (fed.head.GetState() == HttpResponseHead::State::kComplete)
                fed.body += piece.substr(size_t(used));
        } else {
            fed.body += piece;
        }
    }
    return fed;
}

}  // namespace

TEST(HttpResponseHead, SplitsMakeNoDifference) {
    const std::string response = "HTTP/1.1 200 OK\r\nX-One: 1\r\n  Padded  \t\r\n\r\nhello";
    for (size_t step : {1u, 2u, 3u, 7u, 16u, 100u}) {
        Fed fed = FeedInPieces(response, step);
        ASSERT_EQ(fed.head.GetState(), HttpResponseHead::State::kComplete) << "pieces of " << step;
        EXPECT_EQ(fed.head.Status(), 200);
        EXPECT_EQ(fed.body, "hello");
        EXPECT_EQ(fed.head.Lines(),
                  (std::vector<std::string>{"HTTP/1.1 200 OK", "X-One: 1", "Padded"}));
    }
}

TEST(HttpResponseHead, BareLineFeedsEndLinesToo) {
    Fed fed = FeedInPieces("HTTP/1.0 302 Found\nLocation: /x\n\nmoved", 5);
    EXPECT_EQ(fed.head.Status(), 302);
    EXPECT_EQ(fed.body, "moved");
}

TEST(HttpResponseHead, StatusLinesThatQualify) {
    int status = 0;
    EXPECT_TRUE(ParseHttpStatusLine("http/1.0 404 not found", &status));
    EXPECT_EQ(status, 404);
    EXPECT_TRUE(ParseHttpStatusLine("HTTP/2 503", &status));
    EXPECT_EQ(status, 503);
    EXPECT_TRUE(ParseHttpStatusLine("HTTP/1.1 abc OK", &status));
    EXPECT_EQ(status, 0) << "the code reads like atoi";
    EXPECT_TRUE(ParseHttpStatusLine("HTTP/1.1 200x OK", &status));
    EXPECT_EQ(status, 200);
}

TEST(HttpResponseHead, LinesThatAreNoStatusLines) {
    int status = 77;
    EXPECT_FALSE(ParseHttpStatusLine("HTTP/1.1", &status));
    EXPECT_FALSE(ParseHttpStatusLine("HTTX/1.1 200 OK", &status));
    EXPECT_FALSE(ParseHttpStatusLine(" HTTP/1.1 200 OK", &status));
    EXPECT_FALSE(ParseHttpStatusLine("", &status));
    EXPECT_EQ(status, 77);
}

TEST(HttpResponseHead, MalformedHeads) {
    EXPECT_EQ(FeedInPieces("\r\nHTTP/1.0 200 OK\r\n\r\n", 4).head.GetState(),
              HttpResponseHead::State::kMalformed);
    Fed notHttp = FeedInPieces("<html>\r\n\r\n", 3);
    EXPECT_EQ(notHttp.head.GetState(), HttpResponseHead::State::kMalformed);
    EXPECT_EQ(notHttp.head.Status(), -1);
}

TEST(HttpResponseHead, UnfinishedHeadKeepsReading) {
    Fed fed = FeedInPieces("HTTP/1.0 200 OK\r\nX: y\r\n", 4);
    EXPECT_EQ(fed.head.GetState(), HttpResponseHead::State::kReading);
    EXPECT_EQ(fed.head.Status(), -1);
}

TEST(HttpResponseHead, OverlongLinesAndHeadsAreRefused) {
    std::string longLine = "HTTP/1.0 200 OK\r\nX: " +
                           std::string(HttpResponseHead::kMaxLineBytes, 'a');
    EXPECT_EQ(FeedInPieces(longLine, 4096).head.GetState(), HttpResponseHead::State::kMalformed);

    std::string manyLines = "HTTP/1.0 200 OK\r\n";
    while (manyLines.size() <= HttpResponseHead::kMaxHeadBytes)
        manyLines += "X-Filler: 0123456789\r\n";
    EXPECT_EQ(FeedInPieces(manyLines, 4096).head.GetState(), HttpResponseHead::State::kMalformed);

    // The limit counts the bytes before the line feed, the carriage return included.
    std::string justFits = "HTTP/1.0 200 OK\r\nX: " +
                           std::string(HttpResponseHead::kMaxLineBytes - 4, 'a') + "\r\n\r\n";
    EXPECT_EQ(FeedInPieces(justFits, 4096).head.GetState(), HttpResponseHead::State::kComplete);
}
