#include "HttpReplyReader.h"

#include <algorithm>
#include <charconv>

#include <QList>
#include <string>

namespace orvel {

namespace {

constexpr qsizetype maxChunkLineBytes = 256;

bool sameName(QByteArrayView a, QByteArrayView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

std::optional<std::int64_t> number(QByteArrayView text, int base) {
    if (text.isEmpty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

}  // namespace

void HttpReplyReader::fail(TransportError error) {
    if (finished()) return;
    failure_ = std::move(error);
    buffer_.clear();
    body_.clear();
}

void HttpReplyReader::feed(QByteArrayView bytes) {
    if (finished()) return;
    sawBytes_ = sawBytes_ || !bytes.isEmpty();
    buffer_.append(bytes);
    if (phase_ == Phase::header) readHeader();
    if (!finished() && phase_ != Phase::header) readBody();
}

void HttpReplyReader::endOfStream() {
    if (finished()) return;
    switch (phase_) {
    case Phase::header:
        return fail(TransportError::networkFailure("connection closed before the reply header ended"));
    case Phase::unsizedBody:
        phase_ = Phase::done;
        return;
    default:
        return fail(TransportError::networkFailure("connection closed before the reply body ended"));
    }
}

void HttpReplyReader::readHeader() {
    while (phase_ == Phase::header && !finished()) {
        // Resumes where the last search stopped, less the length of a blank line.
        const qsizetype from = std::max<qsizetype>(0, headerScanned_ - 3);
        const qsizetype end = buffer_.indexOf("\r\n\r\n", from);
        if (end < 0) {
            headerScanned_ = buffer_.size();
            if (buffer_.size() > maxHeaderBytes) {
                fail(TransportError::networkFailure("reply header longer than " + std::to_string(maxHeaderBytes) +
                                                    " bytes"));
            }
            return;
        }
        if (end + 4 > maxHeaderBytes) {
            return fail(TransportError::networkFailure("reply header longer than " + std::to_string(maxHeaderBytes) +
                                                      " bytes"));
        }
        const QByteArray header = buffer_.left(end);
        buffer_.remove(0, end + 4);
        headerScanned_ = 0;
        if (!parseHeader(header)) return;
    }
}

bool HttpReplyReader::parseHeader(QByteArrayView header) {
    const qsizetype lineEnd = header.indexOf("\r\n");
    const QByteArrayView statusLine = lineEnd < 0 ? header : header.first(lineEnd);
    // "HTTP/1.1 200 OK"
    if (statusLine.size() < 12 || !statusLine.startsWith("HTTP/1.") || statusLine[8] != ' ' ||
        (statusLine.size() > 12 && statusLine[12] != ' ')) {
        fail(TransportError::networkFailure("reply has no HTTP/1 status line"));
        return false;
    }
    const auto status = number(statusLine.sliced(9, 3), 10);
    if (!status || *status < 100) {
        fail(TransportError::networkFailure("reply has no HTTP/1 status line"));
        return false;
    }
    // An interim reply comes before the real one.
    if (*status < 200) return true;
    status_ = static_cast<int>(*status);
    closes_ = !statusLine.startsWith("HTTP/1.1");

    std::optional<std::int64_t> length;
    bool chunked = false;
    QByteArrayView rest = lineEnd < 0 ? QByteArrayView{} : header.sliced(lineEnd + 2);
    while (!rest.isEmpty()) {
        const qsizetype next = rest.indexOf("\r\n");
        const QByteArrayView line = next < 0 ? rest : rest.first(next);
        rest = next < 0 ? QByteArrayView{} : rest.sliced(next + 2);
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) {
            fail(TransportError::networkFailure("reply header has a line without a field name"));
            return false;
        }
        const QByteArrayView name = line.first(colon);
        const QByteArrayView value = line.sliced(colon + 1).trimmed();
        if (sameName(name, "Content-Length")) {
            const auto announced = number(value, 10);
            if (!announced || (length && *length != *announced)) {
                fail(TransportError::networkFailure("reply has an unreadable Content-Length"));
                return false;
            }
            length = announced;
        } else if (sameName(name, "Connection")) {
            for (const QByteArray& option : value.toByteArray().split(',')) {
                if (sameName(option.trimmed(), "close")) closes_ = true;
            }
        } else if (sameName(name, "Transfer-Encoding")) {
            chunked = !value.isEmpty() && sameName(value, "chunked");
            if (!chunked && !sameName(value, "identity")) {
                fail(TransportError::networkFailure("reply has an unsupported transfer encoding"));
                return false;
            }
        }
    }
    if (status_ == 204 || status_ == 304) {
        phase_ = Phase::done;
    } else if (chunked) {
        phase_ = Phase::chunkSize;
    } else if (length) {
        if (*length > maxBodyBytes_) {
            fail(TransportError::bodyTooLarge("announced " + std::to_string(*length) + " bytes, limit " +
                                              std::to_string(maxBodyBytes_)));
            return false;
        }
        remaining_ = *length;
        phase_ = remaining_ == 0 ? Phase::done : Phase::sizedBody;
    } else {
        phase_ = Phase::unsizedBody;
        closes_ = true;
    }
    return true;
}

std::optional<QByteArray> HttpReplyReader::takeLine(qsizetype maxLength) {
    const qsizetype end = buffer_.indexOf("\r\n");
    if (end < 0) {
        if (buffer_.size() > maxLength) fail(TransportError::networkFailure("reply has an overlong chunk line"));
        return std::nullopt;
    }
    if (end > maxLength) {
        fail(TransportError::networkFailure("reply has an overlong chunk line"));
        return std::nullopt;
    }
    QByteArray line = buffer_.left(end);
    buffer_.remove(0, end + 2);
    return line;
}

void HttpReplyReader::append(QByteArrayView bytes) {
    if (body_.size() + bytes.size() > maxBodyBytes_) {
        return fail(TransportError::bodyTooLarge("more than " + std::to_string(maxBodyBytes_) + " bytes"));
    }
    body_.append(bytes);
}

void HttpReplyReader::readBody() {
    while (!finished()) {
        switch (phase_) {
        case Phase::sizedBody:
        case Phase::chunkData: {
            const qsizetype take = static_cast<qsizetype>(std::min<std::int64_t>(remaining_, buffer_.size()));
            if (take == 0) return;
            append(QByteArrayView(buffer_).first(take));
            if (finished()) return;
            buffer_.remove(0, take);
            remaining_ -= take;
            if (remaining_ == 0) phase_ = phase_ == Phase::sizedBody ? Phase::done : Phase::chunkEnd;
            break;
        }
        case Phase::unsizedBody:
            if (buffer_.isEmpty()) return;
            append(buffer_);
            buffer_.clear();
            return;
        case Phase::chunkSize: {
            auto line = takeLine(maxChunkLineBytes);
            if (!line) return;
            const qsizetype extension = line->indexOf(';');
            const auto size = number(QByteArrayView(*line).first(extension < 0 ? line->size() : extension).trimmed(), 16);
            if (!size) return fail(TransportError::networkFailure("reply has an unreadable chunk size"));
            if (*size > maxBodyBytes_ - body_.size()) {
                return fail(TransportError::bodyTooLarge("more than " + std::to_string(maxBodyBytes_) + " bytes"));
            }
            remaining_ = *size;
            phase_ = remaining_ == 0 ? Phase::trailer : Phase::chunkData;
            break;
        }
        case Phase::chunkEnd: {
            auto line = takeLine(maxChunkLineBytes);
            if (!line) return;
            if (!line->isEmpty()) return fail(TransportError::networkFailure("reply chunk is longer than announced"));
            phase_ = Phase::chunkSize;
            break;
        }
        case Phase::trailer: {
            auto line = takeLine(maxChunkLineBytes);
            if (!line) return;
            if (line->isEmpty()) phase_ = Phase::done;
            headerScanned_ += line->size() + 2;
            if (headerScanned_ > maxHeaderBytes) return fail(TransportError::networkFailure("reply trailer too long"));
            break;
        }
        case Phase::header:
        case Phase::done:
            return;
        }
    }
}

}  // namespace orvel
