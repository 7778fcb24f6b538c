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
    struct Case { const char* name; bool cancelParent; bool cancelChild; bool parentWas; bool childWas; };
    const Case cases[] = {
        {"neither", false, false, false, false},
        {"parent", true, false, true, true},
        {"child", false, true, false, true},
    };
    for (const auto& c : cases) {
        CancellationSource parent;
        CancellationSource child(parent.token());
        if (c.cancelParent) parent.cancel();
        if (c.cancelChild) child.cancel();
        EXPECT_EQ(parent.isCancelled(), c.parentWas) << c.name;
        EXPECT_EQ(child.token().isCancelled(), c.childWas) << c.name;
    }

    CancellationSource parent;
    parent.cancel();
    EXPECT_TRUE(CancellationSource(parent.token()).isCancelled()) << "born under a cancelled parent";

    CancellationSource longLived;
    { CancellationSource shortLived(longLived.token()); }
    longLived.cancel();  // the dead child's link is gone, nothing dangles
    EXPECT_TRUE(longLived.isCancelled());
}

TEST(Cancellation, DefaultTokenNeverCancels) {
    CancellationToken token;
    EXPECT_FALSE(token.canBeCancelled());
    bool called = false;
    auto registration = token.onCancel([&] { called = true; });
    EXPECT_FALSE(called);
    EXPECT_FALSE(token.isCancelled());
    EXPECT_TRUE(CancellationSource().token().canBeCancelled());
}
