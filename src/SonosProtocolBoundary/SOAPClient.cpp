#include "SOAPClient.h"

#include <charconv>

#include "OrvelDomain/Text.h"
#include "SonosProtocolBoundary/LargeReplyParsing.h"
#include "SonosProtocolBoundary/XMLNode.h"

namespace orvel {

const std::string* SOAPResponse::output(std::string_view name) const {
    for (const auto& [key, value] : outputs) {
        if (key == name) return &value;
    }
    return nullptr;
}

Parsed<std::string> SOAPResponse::requiredOutput(std::string_view name) const {
    if (const auto* value = output(name)) return *value;
    return parseFailure("reply lacks the output argument " + std::string(name));
}

std::string SOAPFault::detail() const {
    if (errorCode) return "UPnP error " + std::to_string(*errorCode);
    return faultString.empty() ? std::string("SOAP fault") : faultString;
}

std::string SOAPError::message() const {
    if (isTransport()) return asTransport().message();
    if (isFault()) return "speaker refused: " + asFault().detail();
    if (isUnexpectedStatus()) return "unexpected HTTP status " + std::to_string(asUnexpectedStatus());
    return "malformed reply: " + asMalformedReply().message;
}

namespace {

Parsed<const XMLNode*> soapBody(const XMLNode& root) {
    if (root.name != "Envelope") return parseFailure("reply is not a SOAP envelope but <" + root.name + ">");
    const XMLNode* body = root.child("Body");
    if (body == nullptr) return parseFailure("SOAP envelope has no Body");
    return body;
}

}  // namespace

Parsed<SOAPResponse> parseSOAPResponse(std::string_view body, std::string_view action) {
    ORVEL_TRY(XMLNode root, XMLNode::parse(body));
    ORVEL_TRY(const XMLNode* soap, soapBody(root));
    const std::string expected = std::string(action) + "Response";
    const XMLNode* response = soap->child(expected);
    if (response == nullptr) return parseFailure("SOAP body has no " + expected + " element");
    SOAPResponse out;
    for (const auto& argument : response->children) out.outputs.emplace_back(argument.name, argument.text);
    return out;
}

std::optional<SOAPFault> parseSOAPFault(std::string_view body) {
    auto root = XMLNode::parse(body);
    if (!root) return std::nullopt;
    auto soap = soapBody(*root);
    if (!soap) return std::nullopt;
    const XMLNode* fault = (*soap)->child("Fault");
    if (fault == nullptr) return std::nullopt;
    SOAPFault out;
    if (const XMLNode* text = fault->child("faultstring")) out.faultString = text->trimmedText();
    if (const XMLNode* code = fault->find("detail/UPnPError/errorCode")) {
        const std::string digits = code->trimmedText();
        std::int64_t value = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc() && end == digits.data() + digits.size() && !digits.empty()) out.errorCode = value;
    }
    return out;
}

QCoro::Task<SOAPResult> SOAPClient::call(SpeakerAddress speaker, SOAPRequest request, HttpLimits limits) {
    const QUrl url = speaker.url(upnp::controlPath(request.service), port_);
    std::vector<HttpClient::Header> headers{
        {"Content-Type", "text/xml; charset=\"utf-8\""},
        {"SOAPACTION", QByteArray::fromStdString(request.soapAction())},
    };
    std::string envelope = request.envelope();
    const bool isRead = request.isRead();
    // Only reads are remembered: a command's answer tells what that one command did.
    const std::string memoKey = isRead ? speaker.text() + '\n' + request.action + '\n' + envelope : std::string();
    auto posting = http_.post(url, std::move(headers), QByteArray::fromStdString(envelope), limits,
                              isRead ? HttpClient::Repeat::safe : HttpClient::Repeat::unsafe);
    const HttpResult reply = co_await std::move(posting);
    if (!reply) co_return std::unexpected(SOAPError::transport(reply.error()));

    const std::string_view body(reply->body.constData(), static_cast<std::size_t>(reply->body.size()));
    if (reply->statusCode == 200) {
        if (isRead) {
            if (auto it = remembered_.find(memoKey); it != remembered_.end() && it->second.body == reply->body) {
                ++repeated_;
                co_return SOAPResponse(it->second.response);
            }
        }
        auto job = [body = reply->body, action = request.action] {
            return parseSOAPResponse(std::string_view(body.constData(), static_cast<std::size_t>(body.size())), action);
        };
        auto parsing = parseOffTheLoopWhenLarge(body.size(), std::move(job));
        auto parsed = co_await std::move(parsing);
        ++parsed_;
        if (!parsed) co_return std::unexpected(SOAPError::malformedReply(std::move(parsed).error()));
        if (isRead) {
            if (remembered_.size() >= maxRememberedReplies && !remembered_.contains(memoKey)) remembered_.clear();
            remembered_.insert_or_assign(memoKey, Remembered{reply->body, *parsed});
        }
        co_return std::move(*parsed);
    }
    if (reply->statusCode == 500) {
        if (auto fault = parseSOAPFault(body)) co_return std::unexpected(SOAPError::fault(std::move(*fault)));
    }
    co_return std::unexpected(SOAPError::unexpectedStatus(reply->statusCode));
}

}  // namespace orvel
