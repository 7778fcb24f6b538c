#include "WebAuthSession.h"

#include <coroutine>
#include <optional>
#include <utility>
#include <vector>

#include <QRegularExpression>

namespace orvel {

struct WebAuthSession::Attempt {
    QUrl url;
    QString scheme;
    Clock::Timer deadline;
    std::optional<Result> outcome;
    std::vector<std::coroutine_handle<>> waiters;
};

// Suspends a caller until its attempt has an outcome. The attempt, not the session, holds the
// waiters, so a caller never reaches back into a session that may be gone.
class WebAuthSession::OutcomeAwaiter {
public:
    explicit OutcomeAwaiter(std::shared_ptr<Attempt> attempt) : attempt_(std::move(attempt)) {}
    bool await_ready() const noexcept { return attempt_->outcome.has_value(); }
    void await_suspend(std::coroutine_handle<> caller) { attempt_->waiters.push_back(caller); }
    Result await_resume() const { return *attempt_->outcome; }

private:
    std::shared_ptr<Attempt> attempt_;
};

namespace {

std::optional<std::string> problemWith(const QUrl& url, const QString& callbackScheme) {
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"https" && url.scheme() != u"http")) {
        return "the sign-in page is not a web address";
    }
    static const QRegularExpression schemeSyntax(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*$"));
    if (!schemeSyntax.match(callbackScheme).hasMatch()) return "the callback scheme is not a URL scheme";
    return std::nullopt;
}

QCoro::Task<WebAuthSession::Result> ready(WebAuthSession::Result result) { co_return result; }

}  // namespace

WebAuthSession::WebAuthSession(BrowserOpener& browser, CallbackRelay& relay, Clock& clock,
                               std::chrono::milliseconds timeout)
    : browser_(browser), relay_(relay), clock_(clock), timeout_(timeout) {
    relay_.setReceiver([this](const QUrl& url) { handleCallback(url); });
}

WebAuthSession::~WebAuthSession() {
    relay_.setReceiver({});
    cancel();
}

QCoro::Task<WebAuthSession::Result> WebAuthSession::authenticate(const QUrl& url, const QString& callbackScheme) {
    if (std::optional<std::string> problem = problemWith(url, callbackScheme)) {
        return ready(std::unexpected(WebAuthSessionError::invalidRequest(std::move(*problem))));
    }
    if (pending_) {
        const std::shared_ptr<Attempt> attempt = pending_;
        // The first page may have been closed; a failure to show it again leaves the attempt
        // as it was.
        static_cast<void>(browser_.open(attempt->url));
        if (pending_ == attempt) armDeadline(attempt);
        return awaitOutcome(attempt);
    }
    auto attempt = std::make_shared<Attempt>();
    attempt->url = url;
    attempt->scheme = callbackScheme;
    // Pending before the browser is asked, so a callback that comes back at once is not lost.
    pending_ = attempt;
    if (auto opened = browser_.open(url); !opened) {
        finish(attempt, std::unexpected(WebAuthSessionError::browserUnavailable(opened.error())));
    } else if (pending_ == attempt) {
        armDeadline(attempt);
    }
    return awaitOutcome(attempt);
}

QCoro::Task<WebAuthSession::Result> WebAuthSession::awaitOutcome(std::shared_ptr<Attempt> attempt) {
    // Named first: g++ 12 destroys an awaiter built inside the co_await expression twice.
    OutcomeAwaiter outcome(std::move(attempt));
    co_return co_await std::move(outcome);
}

void WebAuthSession::cancel() {
    if (pending_) finish(pending_, std::unexpected(WebAuthSessionError::cancelled()));
}

void WebAuthSession::handleCallback(const QUrl& url) {
    if (!pending_ || url.scheme().compare(pending_->scheme, Qt::CaseInsensitive) != 0) return;
    finish(pending_, url);
}

void WebAuthSession::armDeadline(const std::shared_ptr<Attempt>& attempt) {
    attempt->deadline = clock_.schedule(timeout_, [this, weak = std::weak_ptr<Attempt>(attempt)] {
        const std::shared_ptr<Attempt> expired = weak.lock();
        if (expired && expired == pending_) finish(expired, std::unexpected(WebAuthSessionError::timedOut()));
    });
}

void WebAuthSession::finish(std::shared_ptr<Attempt> attempt, Result result) {
    if (attempt != pending_) return;
    // Settled before anyone resumes: a resumed caller may start the next sign-in at once.
    pending_.reset();
    const std::shared_ptr<Attempt> ended = std::move(attempt);
    ended->deadline.cancel();
    ended->outcome = std::move(result);
    const std::vector<std::coroutine_handle<>> waiters = std::exchange(ended->waiters, {});
    for (std::coroutine_handle<> waiter : waiters) waiter.resume();
}

}  // namespace orvel
