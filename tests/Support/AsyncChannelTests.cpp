#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Support/AsyncChannel.h"
#include "testing/ManualClock.h"
#include "Support/Sleep.h"
#include "common/WaitFor.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

using Channel = AsyncChannel<std::string>;

// Collects every value until the end of the stream.
QCoro::Task<> consume(Channel::Receiver& receiver, std::vector<std::string>* received) {
    while (auto value = co_await receiver.next()) received->push_back(*value);
}

// A producer that sends a tick every second until its consumer leaves.
QCoro::Task<int> tick(Clock& clock, Channel::Sender sender) {
    int sent = 0;
    while (sender.send("tick")) {
        ++sent;
        if (!co_await sleepFor(clock, 1s, sender.consumerLeft())) break;
    }
    co_return sent;
}

}  // namespace

TEST(AsyncChannel, ValuesArriveInOrderWhetherBufferedOrAwaited) {
    auto [sender, receiver] = Channel::open();
    EXPECT_TRUE(sender.send("a"));
    EXPECT_TRUE(sender.send("b"));
    std::vector<std::string> received;
    auto consumer = consume(receiver, &received);
    EXPECT_EQ(received, (std::vector<std::string>{"a", "b"})) << "buffered values are taken at once";
    EXPECT_FALSE(consumer.isReady());
    EXPECT_TRUE(sender.send("c"));
    EXPECT_EQ(received.back(), "c") << "a waiting consumer runs inside send()";
    sender.send("d");
    sender.finish();
    EXPECT_TRUE(consumer.isReady());
    EXPECT_EQ(received, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(AsyncChannel, EndsWhenEitherSideLeaves) {
    enum class Leave { senderFinishes, senderDestroyed, receiverLeaves };
    struct Case { Leave leave; bool consumerGone; };
    const Case cases[] = {
        {Leave::senderFinishes, false},
        {Leave::senderDestroyed, false},
        {Leave::receiverLeaves, true},
    };
    for (auto c : cases) {
        auto [sender, receiver] = Channel::open();
        auto pending = receiver.next();
        auto consumerLeft = sender.consumerLeft();
        EXPECT_FALSE(pending.isReady());
        switch (c.leave) {
            case Leave::senderFinishes: sender.finish(); break;
            case Leave::senderDestroyed: { auto gone = std::move(sender); } break;
            case Leave::receiverLeaves: receiver.leave(); break;
        }
        ASSERT_TRUE(pending.isReady()) << static_cast<int>(c.leave);
        EXPECT_EQ(waitForTask(std::move(pending)).value(), std::nullopt);
        EXPECT_FALSE(sender.send("late")) << "nothing is accepted once the stream has ended";
        EXPECT_EQ(waitForTask(receiver.next()).value(), std::nullopt);
        EXPECT_EQ(consumerLeft.isCancelled(), c.consumerGone);
    }
}

TEST(AsyncChannel, ProducerSeesTheConsumerLeaveAndStops) {
    ManualClock clock;
    auto [sender, receiver] = Channel::open();
    auto producer = tick(clock, std::move(sender));
    clock.advance(2s);
    EXPECT_FALSE(producer.isReady());
    {
        auto gone = std::move(receiver);
    }
    ASSERT_TRUE(producer.isReady()) << "the producer's sleep woke when the consumer left";
    EXPECT_EQ(waitForTask(std::move(producer)), 3);
    EXPECT_EQ(clock.pendingTimerCount(), 0u);
}

TEST(AsyncChannel, CancelledNextEndsOnlyThatWait) {
    auto [sender, receiver] = Channel::open();
    CancellationSource source;
    auto pending = receiver.next(source.token());
    source.cancel();
    ASSERT_TRUE(pending.isReady());
    EXPECT_EQ(waitForTask(std::move(pending)).value(), std::nullopt);
    EXPECT_TRUE(sender.send("still open"));
    EXPECT_EQ(waitForTask(receiver.next()).value(), "still open");
    EXPECT_FALSE(sender.isConsumerGone());
}
