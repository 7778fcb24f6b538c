#pragma once

// Sign-in in the user's own browser. authenticate() opens the sign-in page through the browser
// opener and waits until a URL of the callback scheme comes in through the callback relay, then
// returns that URL exactly as it arrived; the caller reads its query. It fails with a readable
// description when the page cannot be opened, when cancel() is called and when no callback came
// within the time-out.
//
// At most one sign-in is pending. The browser's redirect carries no hint of which attempt it
// answers, so a second request while one is pending does not start a competing attempt: it
// shows the pending sign-in page again, restarts the time-out, and waits for the same outcome as
// the first caller. Callbacks while nothing is pending are ignored.
//
// Lives on the GUI thread. The browser opener, the relay and the clock must outlive the session;
// destroying the session ends a pending sign-in as cancelled.

#include <chrono>
#include <expected>
#include <memory>

#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include "SpotifyBridge/BrowserOpener.h"
#include "SpotifyBridge/CallbackRelay.h"
#include "SpotifyBridge/WebAuthSessionError.h"
#include "Support/Clock.h"

namespace orvel {

class WebAuthSession {
public:
    using Result = std::expected<QUrl, WebAuthSessionError>;

    // Long enough for a password manager, a second factor and a consent page.
    static constexpr std::chrono::milliseconds defaultTimeout = std::chrono::minutes(10);

    WebAuthSession(BrowserOpener& browser, CallbackRelay& relay, Clock& clock = Clock::system(),
                   std::chrono::milliseconds timeout = defaultTimeout);
    ~WebAuthSession();
    WebAuthSession(const WebAuthSession&) = delete;
    WebAuthSession& operator=(const WebAuthSession&) = delete;

    // `url`: the sign-in page, http or https. `callbackScheme`: the scheme of the redirect that
    // ends the sign-in ("orvella"). The returned task runs without touching the session after
    // its start, so it may be awaited after the session is gone.
    QCoro::Task<Result> authenticate(const QUrl& url, const QString& callbackScheme);

    // Ends the pending sign-in, if any, for every caller waiting on it.
    void cancel();
    bool isPending() const { return pending_ != nullptr; }

    // A URL from the relay. It ends the pending sign-in when it has the sign-in's callback
    // scheme; otherwise, or with nothing pending, it is ignored.
    void handleCallback(const QUrl& url);

private:
    struct Attempt;
    class OutcomeAwaiter;

    static QCoro::Task<Result> awaitOutcome(std::shared_ptr<Attempt> attempt);
    void armDeadline(const std::shared_ptr<Attempt>& attempt);
    void finish(std::shared_ptr<Attempt> attempt, Result result);

    BrowserOpener& browser_;
    CallbackRelay& relay_;
    Clock& clock_;
    std::chrono::milliseconds timeout_;
    std::shared_ptr<Attempt> pending_;
};

}  // namespace orvel
