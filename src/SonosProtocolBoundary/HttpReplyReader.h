#pragma once

// Reads an HTTP/1.1 reply from the bytes of a connection as they arrive, with every part
// bounded: the header (status line and fields) by maxHeaderBytes, the body by the caller's cap,
// each chunk size line by a few dozen bytes. Each byte is looked at a bounded number of times,
// so a reply that never ends costs no more than its bytes, and it fails as soon as it passes
// a bound.

#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>

#include "SonosProtocolBoundary/TransportError.h"

namespace orvel {

class HttpReplyReader {
public:
    static constexpr qsizetype maxHeaderBytes = 32 * 1024;

    explicit HttpReplyReader(std::int64_t maxBodyBytes) : maxBodyBytes_(maxBodyBytes) {}

    void feed(QByteArrayView bytes);
    // The connection was closed by the other side.
    void endOfStream();

    bool finished() const { return phase_ == Phase::done || failure_.has_value(); }
    const std::optional<TransportError>& failure() const { return failure_; }
    int statusCode() const { return status_; }
    // Whether any byte of a reply has arrived: a connection closed before that carried no answer.
    bool sawBytes() const { return sawBytes_; }
    // A finished reply leaves the connection fit for the next request: HTTP/1.1 without
    // "Connection: close", a body whose end was announced, and no byte beyond it.
    bool leavesConnectionReusable() const { return phase_ == Phase::done && !failure_ && !closes_ && buffer_.isEmpty(); }
    // The body so far; complete once finished() without a failure.
    QByteArray& body() { return body_; }

private:
    enum class Phase { header, sizedBody, unsizedBody, chunkSize, chunkData, chunkEnd, trailer, done };

    void fail(TransportError error);
    void readHeader();
    bool parseHeader(QByteArrayView header);
    void readBody();
    // Takes one CRLF-ended line off the front of the buffer, or nothing when it is not complete.
    std::optional<QByteArray> takeLine(qsizetype maxLength);
    void append(QByteArrayView bytes);

    std::int64_t maxBodyBytes_;
    Phase phase_ = Phase::header;
    std::optional<TransportError> failure_;
    QByteArray buffer_;          // bytes not yet consumed
    qsizetype headerScanned_ = 0;  // of buffer_, known to hold no blank line
    int status_ = 0;
    bool sawBytes_ = false;
    bool closes_ = false;
    std::int64_t remaining_ = 0;   // of the sized body or the current chunk
    QByteArray body_;
};

}  // namespace orvel
