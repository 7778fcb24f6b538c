#include <memory>
#include <optional>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ScriptedBrowser.h"
#include "common/WaitFor.h"
#include "SpotifyBridge/WebAuthSession.h"
#include "testing/ManualClock.h"

using namespace orvel;
using orvel::testing::ScriptedBrowser;
using namespace std::chrono_literals;

namespace {

const QUrl signInPage(QStringLiteral("https://accounts.example.test/authorize?client_id=abc&state=s1"));
const QUrl otherSignInPage(QStringLiteral("https://accounts.example.test/authorize?client_id=abc&state=s2"));
const QByteArray callback = "orvella://spotify-callback?code=c0de&state=s1";

using Outcome = std::optional<WebAuthSession::Result>;

QCoro::Task<> signIn(WebAuthSession& session, QUrl page, QString scheme, std::shared_ptr<Outcome> outcome) {
    *outcome = co_await session.authenticate(page, scheme);
}

// A caller of the session; the outcome is filled in when its sign-in ends.
std::shared_ptr<Outcome> startSignIn(WebAuthSession& session, const QUrl& page = signInPage,
                                     const QString& scheme = QStringLiteral("orvella")) {
    auto outcome = std::make_shared<Outcome>();
    signIn(session, page, scheme, outcome);
    return outcome;
}

struct Fixture {
    ScriptedBrowser browser;
    CallbackRelay relay{QStringLiteral("unused-in-this-test")};
    ManualClock clock;
    WebAuthSession session{browser, relay, clock, 90s};
};

}  // namespace

TEST(WebAuthSession, ReturnsTheCallbackUnchanged) {
    // The caller tells an "error" without a value from an empty one and reads the fragment apart
    // from the query, so nothing may be normalised on the way.
    const QByteArray callbacks[] = {
        "orvella://spotify-callback?state=s1&error&code=c0de",
        "orvella://spotify-callback#state=s1&code=c0de",
        "orvella://spotify-callback?state=s1&code=a%2Bb%20c",
    };
    for (const QByteArray& sent : callbacks) {
        Fixture f;
        auto outcome = startSignIn(f.session);
        ASSERT_TRUE(f.relay.deliver(sent)) << sent.constData();
        ASSERT_TRUE(outcome->has_value() && outcome->value().has_value()) << sent.constData();
        EXPECT_EQ(outcome->value()->toEncoded(), sent);
        EXPECT_EQ(f.browser.opened, std::vector<QUrl>{signInPage});
        EXPECT_EQ(f.clock.pendingTimerCount(), 0u) << "the time-out stops with the sign-in";
        EXPECT_FALSE(f.session.isPending());
    }
}

TEST(WebAuthSession, CallbacksWithoutAPendingSignInAreIgnored) {
    Fixture f;
    EXPECT_TRUE(f.relay.deliver(callback)) << "the relay accepts it; the session has nothing to end";
    auto outcome = startSignIn(f.session);
    EXPECT_FALSE(outcome->has_value()) << "an early callback does not end a later sign-in";
    f.session.handleCallback(QUrl(QStringLiteral("https://accounts.example.test/done?code=x")));
    EXPECT_FALSE(outcome->has_value()) << "a URL of another scheme does not end it either";

    f.session.cancel();
    EXPECT_TRUE(f.relay.deliver(callback));
    ASSERT_TRUE(outcome->has_value());
    EXPECT_EQ(outcome->value().error(), WebAuthSessionError::cancelled()) << "a callback after the end changes nothing";
    EXPECT_EQ(f.clock.pendingTimerCount(), 0u);
    f.session.cancel();  // nothing pending: nothing happens
}

TEST(WebAuthSession, TimesOutAndTheNextRequestStartsAfresh) {
    Fixture f;
    auto first = startSignIn(f.session);
    f.clock.advance(90s - 1ns);
    EXPECT_FALSE(first->has_value());

    f.clock.advance(1ns);

    ASSERT_TRUE(first->has_value());
    ASSERT_FALSE(first->value().has_value());
    EXPECT_TRUE(first->value().error().isTimedOut());
    EXPECT_TRUE(f.relay.deliver(callback));  // too late: ignored

    auto second = startSignIn(f.session, otherSignInPage);
    EXPECT_EQ(f.browser.opened, (std::vector<QUrl>{signInPage, otherSignInPage}));
    EXPECT_TRUE(f.relay.deliver(callback));
    ASSERT_TRUE(second->has_value());
    EXPECT_TRUE(second->value().has_value());
}

TEST(WebAuthSession, ABrowserThatCannotStartEndsTheSignInAtOnce) {
    Fixture f;
    f.browser.failure = "xdg-open is not installed";
    auto outcome = startSignIn(f.session);
    ASSERT_TRUE(outcome->has_value());
    EXPECT_EQ(outcome->value().error().description(), "The web browser could not be opened: xdg-open is not installed.");
    EXPECT_FALSE(f.session.isPending());
    EXPECT_EQ(f.clock.pendingTimerCount(), 0u);
}

TEST(WebAuthSession, RefusesRequestsItCannotServe) {
    const std::pair<QUrl, QString> cases[] = {
        {QUrl(), QStringLiteral("orvella")},
        {QUrl(QStringLiteral("file:///etc/passwd")), QStringLiteral("orvella")},
        {signInPage, QString()},
        {signInPage, QStringLiteral("orvella:")},
    };
    for (const auto& [page, scheme] : cases) {
        Fixture f;
        auto outcome = startSignIn(f.session, page, scheme);
        ASSERT_TRUE(outcome->has_value() && !outcome->value().has_value());
        EXPECT_TRUE(outcome->value().error().isInvalidRequest()) << page.toString().toStdString();
        EXPECT_TRUE(f.browser.opened.empty());
    }
}

TEST(WebAuthSession, ACallerMayStartTheNextSignInAsSoonAsItsOwnEnds) {
    Fixture f;
    auto retried = std::make_shared<Outcome>();
    [](WebAuthSession& s, std::shared_ptr<Outcome> out) -> QCoro::Task<> {
        const auto first = co_await s.authenticate(signInPage, QStringLiteral("orvella"));
        if (!first) *out = co_await s.authenticate(otherSignInPage, QStringLiteral("orvella"));
    }(f.session, retried);

    f.session.cancel();

    EXPECT_TRUE(f.session.isPending());
    EXPECT_EQ(f.browser.opened, (std::vector<QUrl>{signInPage, otherSignInPage}));
    f.relay.deliver(callback);
    ASSERT_TRUE(retried->has_value());
    EXPECT_TRUE(retried->value().has_value());
}

TEST(WebAuthSession, DestroyingTheSessionCancelsItsSignIn) {
    ScriptedBrowser browser;
    CallbackRelay relay(QStringLiteral("unused-in-this-test"));
    ManualClock clock;
    std::shared_ptr<Outcome> outcome;
    {
        WebAuthSession session(browser, relay, clock, 90s);
        outcome = startSignIn(session);
    }
    ASSERT_TRUE(outcome->has_value());
    EXPECT_TRUE(outcome->value().error().isCancelled());
    EXPECT_FALSE(relay.deliver(callback)) << "the relay no longer hands URLs to a session that is gone";
}

TEST(XdgBrowserOpener, HandsOnlyWebAddressesToTheDesktop) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // Stands in for xdg-open: records its arguments, one per line, in "opened".
    const QString program = folder.filePath(QStringLiteral("fake-xdg-open"));
    const QString record = folder.filePath(QStringLiteral("opened"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"${0%/*}/opened\"\n");
    script.close();
    ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    XdgBrowserOpener opener(program);

    for (const char* refused : {"file:///etc/passwd", "orvella://spotify-callback?code=1", "https:///nohost"}) {
        const auto result = opener.open(QUrl(QString::fromLatin1(refused)));
        ASSERT_FALSE(result.has_value()) << refused;
        EXPECT_EQ(result.error(), "the address is not a web page") << refused;
    }
    EXPECT_FALSE(QFile::exists(record)) << "nothing refused reached the program";

    const QUrl page(QStringLiteral("https://accounts.example.test/authorize?scope=a b&x=é"));
    ASSERT_TRUE(opener.open(page).has_value());
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(record); }));
    QFile opened(record);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll(), page.toEncoded() + "\n") << "one argument, fully encoded";

    EXPECT_EQ(XdgBrowserOpener(QStringLiteral("orvella-no-such-opener")).open(page).error(),
              "orvella-no-such-opener is not installed");
}

