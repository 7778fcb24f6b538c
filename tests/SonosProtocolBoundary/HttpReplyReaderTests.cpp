#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "SonosProtocolBoundary/HttpReplyReader.h"

using namespace orvel;

namespace {

struct Outcome {
    int status = 0;
    QByteArray body;
    std::optional<TransportError::Kind> failure;
    bool finished = false;
};

// Feeds the reply in slices of `slice` bytes (all at once when 0), then closes when asked.
Outcome read(const QByteArray& reply, qsizetype slice, bool close, std::int64_t cap = 64) {
    HttpReplyReader reader(cap);
    for (qsizetype at = 0; at < reply.size() && !reader.finished(); at += slice > 0 ? slice : reply.size()) {
        reader.feed(QByteArrayView(reply).sliced(at, std::min(reply.size() - at, slice > 0 ? slice : reply.size())));
    }
    if (close) reader.endOfStream();
    Outcome out{reader.statusCode(), reader.body(), std::nullopt, reader.finished()};
    if (reader.failure()) out.failure = reader.failure()->kind;
    return out;
}

}  // namespace

TEST(HttpReplyReader, ReadsBodiesHoweverTheyAreFramedAndSplit) {
    struct Case {
        const char* name;
        QByteArray reply;
        bool close;  // the server closes after the bytes
        int status;
        QByteArray body;
    };
    const std::vector<Case> cases = {
        {"sized", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", false, 200, "hello"},
        {"sized, bytes beyond ignored", "HTTP/1.1 200 OK\r\ncontent-length: 2\r\n\r\nhello", false, 200, "he"},
        {"chunked with extension and trailer",
         "HTTP/1.1 500 Internal Server Error\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\nA\r\n0123456789\r\n0\r\nT: 1\r\n\r\n",
         false, 500, "abc0123456789"},
        {"ended by closing", "HTTP/1.0 404 Not Found\r\n\r\ngone", true, 404, "gone"},
        {"interim reply first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx", false, 200, "x"},
        {"no content", "HTTP/1.1 204 No Content\r\n\r\n", false, 204, ""},
        {"status without a reason", "HTTP/1.1 302\r\nLocation: http://127.0.0.1/\r\nContent-Length: 0\r\n\r\n", false, 302, ""},
    };
    for (const Case& c : cases) {
        for (qsizetype slice : {qsizetype{0}, qsizetype{1}, qsizetype{7}}) {
            const Outcome out = read(c.reply, slice, c.close);
            EXPECT_FALSE(out.failure) << c.name << " in slices of " << slice;
            EXPECT_TRUE(out.finished) << c.name << " in slices of " << slice;
            EXPECT_EQ(out.status, c.status) << c.name << " in slices of " << slice;
            EXPECT_EQ(out.body, c.body) << c.name << " in slices of " << slice;
        }
    }
}

TEST(HttpReplyReader, RefusesRepliesThatBreakTheFramingOrTheBounds) {
    using Kind = TransportError::Kind;
    const QByteArray endlessHeader = "HTTP/1.1 200 OK\r\n" + QByteArray("X: y\r\n").repeated(HttpReplyReader::maxHeaderBytes / 6);
    struct Case {
        const char* name;
        QByteArray reply;
        bool close;
        std::optional<Kind> failure;  // nullopt: still waiting for more
    };
    const std::vector<Case> cases = {
        {"header over its cap", endlessHeader, false, Kind::networkFailure},
        {"header still within its cap", endlessHeader.left(HttpReplyReader::maxHeaderBytes - 16), false, std::nullopt},
        {"closed inside the header", "HTTP/1.1 200 OK\r\nContent-", true, Kind::networkFailure},
        {"closed inside a sized body", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nshort", true, Kind::networkFailure},
        {"closed inside a chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab", true, Kind::networkFailure},
        {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n", false, Kind::networkFailure},
        {"status not a number", "HTTP/1.1 2x0 OK\r\n\r\n", false, Kind::networkFailure},
        {"field without a name", "HTTP/1.1 200 OK\r\n: v\r\n\r\n", false, Kind::networkFailure},
        {"conflicting lengths", "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", false, Kind::networkFailure},
        {"negative length", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", false, Kind::networkFailure},
        {"compressed", "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\n", false, Kind::networkFailure},
        {"announced over the cap", "HTTP/1.1 200 OK\r\nContent-Length: 65\r\n\r\n", false, Kind::bodyTooLarge},
        {"unframed over the cap", "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(65, 'x'), false, Kind::bodyTooLarge},
        {"chunks over the cap", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n20\r\n" + QByteArray(32, 'x') +
                                    "\r\n21\r\n", false, Kind::bodyTooLarge},
        {"chunk longer than announced", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nab\r\n", false, Kind::networkFailure},
        {"chunk size line without end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + QByteArray(300, '0'), false,
         Kind::networkFailure},
    };
    for (const Case& c : cases) {
        for (qsizetype slice : {qsizetype{0}, qsizetype{5}}) {
            const Outcome out = read(c.reply, slice, c.close);
            EXPECT_EQ(out.failure, c.failure) << c.name << " in slices of " << slice;
            EXPECT_EQ(out.finished, c.failure.has_value()) << c.name << " in slices of " << slice;
            if (c.failure) {
                EXPECT_TRUE(out.body.isEmpty()) << c.name;
            }
        }
    }
}

TEST(HttpReplyReader, OnlyACleanlyEndedReplyLeavesTheConnectionReusable) {
    struct Case {
        const char* name;
        QByteArray reply;
        bool reusable;
    };
    const Case cases[] = {
        {"sized body", "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nbody", true},
        {"chunked body", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nbody\r\n0\r\n\r\n", true},
        {"no content", "HTTP/1.1 204 No Content\r\n\r\n", true},
        {"Connection: close among options", "HTTP/1.1 200 OK\r\nConnection: TE, Close\r\nContent-Length: 4\r\n\r\nbody", false},
        {"HTTP/1.0", "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nbody", false},
        {"bytes beyond the body", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nbody", false},
        {"body until the connection closes", "HTTP/1.1 200 OK\r\n\r\nbody", false},
    };
    for (const auto& c : cases) {
        HttpReplyReader reader(64);
        reader.feed(c.reply);
        reader.endOfStream();
        EXPECT_TRUE(reader.finished() && !reader.failure()) << c.name;
        EXPECT_EQ(reader.leavesConnectionReusable(), c.reusable) << c.name;
    }
}
