#include "WindowMessage.h"

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using platform::WindowMessageEvent;

constexpr std::uint32_t kDevicePlug = 1277;
constexpr int kWaitMilliseconds = 20000;

struct Delivery {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    QThread* thread;
};

// Records each window message it receives and answers with message + lParam.
class Recorder : public QObject {
public:
    bool event(QEvent* e) override {
        if (WindowMessageEvent* message = platform::AsWindowMessage(e)) {
            {
                std::lock_guard lock(mutex_);
                deliveries_.push_back({message->Message(), message->WParam(), message->LParam(), QThread::currentThread()});
            }
            count_.fetch_add(1);
            message->SetResult(static_cast<std::intptr_t>(message->Message()) + message->LParam());
            return true;
        }
        return QObject::event(e);
    }

    int Count() const { return count_.load(); }
    std::vector<Delivery> Deliveries() const {
        std::lock_guard lock(mutex_);
        return deliveries_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Delivery> deliveries_;
    std::atomic<int> count_{0};
};

// Expects `count` deliveries of kDevicePlug with wParam and lParam 0, 1, 2, ... in order, on `thread`.
void ExpectInOrderOn(const std::vector<Delivery>& deliveries, int count, QThread* thread) {
    ASSERT_EQ(static_cast<int>(deliveries.size()), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(deliveries[i].message, kDevicePlug);
        EXPECT_EQ(deliveries[i].wParam, static_cast<std::uintptr_t>(i)) << "delivery " << i;
        EXPECT_EQ(deliveries[i].lParam, i) << "delivery " << i;
        EXPECT_EQ(deliveries[i].thread, thread) << "delivery " << i;
    }
}

// A receiver living in a thread of its own; the thread deletes it when it stops.
class ReceiverThread {
public:
    ReceiverThread() : recorder_(new Recorder) {
        recorder_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, recorder_, &QObject::deleteLater);
        thread_.start();
    }
    ~ReceiverThread() {
        thread_.quit();
        thread_.wait();
    }
    Recorder* Receiver() const { return recorder_; }
    QThread* Thread() { return &thread_; }

private:
    QThread thread_;
    Recorder* recorder_;
};

TEST(WindowMessage, OnlyWindowMessagesAreRecognised) {
    WindowMessageEvent message(kDevicePlug, 7, -3);
    WindowMessageEvent* unpacked = platform::AsWindowMessage(&message);
    ASSERT_EQ(unpacked, &message);
    EXPECT_EQ(unpacked->Message(), kDevicePlug);
    EXPECT_EQ(unpacked->WParam(), 7u);
    EXPECT_EQ(unpacked->LParam(), -3);
    EXPECT_EQ(unpacked->Result(), 0);
    EXPECT_GE(WindowMessageEvent::EventType(), QEvent::User);

    QEvent user(QEvent::User);
    QEvent timer(QEvent::Timer);
    EXPECT_EQ(platform::AsWindowMessage(&user), nullptr);
    EXPECT_EQ(platform::AsWindowMessage(&timer), nullptr);
    EXPECT_EQ(platform::AsWindowMessage(nullptr), nullptr);
}

TEST(WindowMessage, SendOnTheReceiversThreadRunsTheHandlerAtOnce) {
    Recorder recorder;
    EXPECT_EQ(platform::SendWindowMessage(&recorder, kDevicePlug, 0, 1), 1278);
    ASSERT_EQ(recorder.Count(), 1);  // before any event loop ran
    EXPECT_EQ(recorder.Deliveries()[0].thread, QThread::currentThread());

    QObject ignoring;  // handles no window messages: the result stays 0
    EXPECT_EQ(platform::SendWindowMessage(&ignoring, kDevicePlug, 0, 1), 0);
    EXPECT_EQ(platform::SendWindowMessage(nullptr, kDevicePlug, 0, 1), 0);
    platform::PostWindowMessage(nullptr, kDevicePlug, 0, 1);  // ignored, no crash
}

TEST(WindowMessage, PostsArriveLaterInOrderOnTheReceiversThread) {
    constexpr int kMessages = 2000;
    Recorder recorder;
    for (int i = 0; i < kMessages; ++i) {
        platform::PostWindowMessage(&recorder, kDevicePlug, static_cast<std::uintptr_t>(i), i);
    }
    EXPECT_EQ(recorder.Count(), 0);  // nothing delivered until the event loop runs
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.Count() == kMessages; }, kWaitMilliseconds));
    ExpectInOrderOn(recorder.Deliveries(), kMessages, QThread::currentThread());
}

TEST(WindowMessage, PostsFromAWorkerThreadArriveInOrderOnTheMainThread) {
    constexpr int kMessages = 1000;
    Recorder recorder;
    std::thread worker([&] {
        for (int i = 0; i < kMessages; ++i) {
            platform::PostWindowMessage(&recorder, kDevicePlug, static_cast<std::uintptr_t>(i), i);
        }
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.Count() == kMessages; }, kWaitMilliseconds));
    worker.join();
    ExpectInOrderOn(recorder.Deliveries(), kMessages, QThread::currentThread());
}

TEST(WindowMessage, PostsToAReceiverInAnotherThreadRunThere) {
    constexpr int kMessages = 1000;
    ReceiverThread receiverThread;
    for (int i = 0; i < kMessages; ++i) {
        platform::PostWindowMessage(receiverThread.Receiver(), kDevicePlug, static_cast<std::uintptr_t>(i), i);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return receiverThread.Receiver()->Count() == kMessages; }, kWaitMilliseconds));
    ExpectInOrderOn(receiverThread.Receiver()->Deliveries(), kMessages, receiverThread.Thread());
}

TEST(WindowMessage, SendFromAWorkerThreadWaitsForTheHandlersResult) {
    constexpr int kSends = 20;
    Recorder recorder;
    std::atomic<bool> done{false};
    std::vector<std::intptr_t> results;
    std::vector<int> countsSeenAfterSend;
    std::thread worker([&] {
        for (int i = 0; i < kSends; ++i) {
            results.push_back(platform::SendWindowMessage(&recorder, kDevicePlug, static_cast<std::uintptr_t>(i), i));
            countsSeenAfterSend.push_back(recorder.Count());
        }
        done = true;
    });
    // The main thread's event loop delivers the sends.
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, kWaitMilliseconds));
    worker.join();
    ASSERT_EQ(static_cast<int>(results.size()), kSends);
    for (int i = 0; i < kSends; ++i) {
        EXPECT_EQ(results[i], kDevicePlug + i);
        EXPECT_EQ(countsSeenAfterSend[i], i + 1) << "the send returned before its handler ran";
    }
    ExpectInOrderOn(recorder.Deliveries(), kSends, QThread::currentThread());
}

TEST(WindowMessage, SendToAReceiverInAnotherThreadReturnsItsResult) {
    ReceiverThread receiverThread;
    EXPECT_EQ(platform::SendWindowMessage(receiverThread.Receiver(), kDevicePlug, 0, 0), 1277);
    EXPECT_EQ(platform::SendWindowMessage(receiverThread.Receiver(), kDevicePlug, 1, 1), 1278);
    EXPECT_EQ(receiverThread.Receiver()->Count(), 2);
    ExpectInOrderOn(receiverThread.Receiver()->Deliveries(), 2, receiverThread.Thread());
}

}  // namespace
