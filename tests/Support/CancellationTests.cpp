#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Support/CancellationToken.h"

using namespace orvel;

TEST(Cancellation, CallbacksRunOnceInRegistrationOrderUnlessUnregistered) {
    CancellationSource source;
    auto token = source.token();
    std::vector<std::string> calls;
    auto a = token.onCancel([&] { calls.push_back("a"); });
    auto b = token.onCancel([&] { calls.push_back("b"); });
    auto c = token.onCancel([&] { calls.push_back("c"); });
    b.reset();
    EXPECT_FALSE(token.isCancelled());
    source.cancel();
    source.cancel();
    EXPECT_TRUE(token.isCancelled());
    EXPECT_EQ(calls, (std::vector<std::string>{"a", "c"}));

    auto late = token.onCancel([&] { calls.push_back("late"); });
    EXPECT_EQ(calls.back(), "late") << "a registration on a cancelled token runs at once";

    // A default token never cancels and never calls back.
    CancellationToken never;
    auto ignored = never.onCancel([&] { calls.push_back("never"); });
    EXPECT_FALSE(never.isCancelled() || never.canBeCancelled());
    EXPECT_EQ(calls.back(), "late");
}

TEST(Cancellation, ACallbackMayDropLaterRegistrationsOrTheSourceItself) {
    auto source = std::make_unique<CancellationSource>();
    auto token = source->token();
    std::vector<std::string> calls;
    std::unique_ptr<CancellationRegistration> later;
    auto first = token.onCancel([&] {
        calls.push_back("first");
        later.reset();
        source.reset();
    });
    later = std::make_unique<CancellationRegistration>(token.onCancel([&] { calls.push_back("later"); }));
    source->cancel();
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(token.isCancelled());
}

TEST(Cancellation, LinkedSourcesFollowTheirParentOnly) {
    for (bool cancelParent : {false, true}) {
        CancellationSource parent;
        CancellationSource child(parent.token());
        CancellationSource sibling(parent.token());
        if (cancelParent) parent.cancel();
        child.cancel();
        EXPECT_EQ(parent.isCancelled(), cancelParent);
        EXPECT_EQ(sibling.token().isCancelled(), cancelParent);
        EXPECT_TRUE(child.token().isCancelled());
        EXPECT_EQ(CancellationSource(parent.token()).isCancelled(), cancelParent) << "born under a cancelled parent";
    }

    CancellationSource longLived;
    { CancellationSource shortLived(longLived.token()); }
    longLived.cancel();  // the dead child's link is gone, nothing dangles
    EXPECT_TRUE(longLived.isCancelled());
}
