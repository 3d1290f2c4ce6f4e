// The figures worker: the newest request wins, a run's rested requests wait
// after a measurement that used the processor long, and a hurried or
// immediate one does not; a measurement that only waited long does not make
// the next one wait.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <time.h>

#include "relax/figures_worker.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;

std::chrono::nanoseconds ThreadTime()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Records what the worker reports; the first report can be made slow, by
// using the processor (spin) or only the clock (sleep).
struct Reports {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<uint64_t> tickets;
    std::vector<int> points;
    std::chrono::milliseconds firstTakes{0};
    bool firstSpins = true;

    CFiguresWorker::Done Sink()
    {
        return [this](uint64_t ticket, const vek::CurveFigures& figures) {
            bool first = false;
            {
                std::lock_guard<std::mutex> lock(mutex);
                first = tickets.empty();
            }
            if (first && firstSpins) {
                const auto start = ThreadTime();
                while (ThreadTime() - start < firstTakes) {
                }
            } else if (first) {
                std::this_thread::sleep_for(firstTakes);
            }
            std::lock_guard<std::mutex> lock(mutex);
            tickets.push_back(ticket);
            points.push_back(figures.points);
            arrived.notify_all();
        };
    }
    bool WaitFor(size_t count, std::chrono::milliseconds limit)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return arrived.wait_for(lock, limit, [&] { return tickets.size() >= count; });
    }
};

struct Curve {
    CDoubleArray x, y, z;
    explicit Curve(int count) { SetArrays(x, y, z, RandomCurve(7, count, 1.0)); }
};

TEST(FiguresWorker, NewestRequestIsMeasuredLastWithItsOwnCurve)
{
    Reports reports;
    const Curve small(12), large(40);
    {
        CFiguresWorker worker(reports.Sink());
        for (uint64_t ticket = 1; ticket <= 20; ++ticket) {
            const Curve& curve = ticket % 2 ? small : large;
            worker.Request(curve.x, curve.y, curve.z, 0.03, ticket, CFiguresWorker::Pace::Rested);
        }
        worker.WaitIdle();
    }
    ASSERT_FALSE(reports.tickets.empty());
    EXPECT_EQ(reports.tickets.back(), 20u);
    EXPECT_EQ(reports.points.back(), 40);
    for (size_t k = 1; k < reports.tickets.size(); ++k)
        EXPECT_LT(reports.tickets[k - 1], reports.tickets[k]);
}

// After a measurement that used 0.1 s of the processor, a rested request
// waits 30 times as long; one to be measured now, or hurried, does not. One
// that slept 1 s used next to nothing: its rest is short, not 30 s. (The
// worker is of the lowest priority: on a loaded machine it may wait long
// for the processor, hence the generous limits.)
enum class Then { Nothing, Hurry, RequestNow, NothingAfterSleep };

class FiguresWorkerRest : public testing::TestWithParam<Then> {};

TEST_P(FiguresWorkerRest, RestedRequestWaitsUnlessHurriedOrReplaced)
{
    Reports reports;
    reports.firstSpins = GetParam() != Then::NothingAfterSleep;
    reports.firstTakes = reports.firstSpins ? 100ms : 1000ms;
    const Curve curve(16);
    CFiguresWorker worker(reports.Sink());
    worker.Request(curve.x, curve.y, curve.z, 0.03, 1);
    ASSERT_TRUE(reports.WaitFor(1, 60s));
    worker.Request(curve.x, curve.y, curve.z, 0.03, 2, CFiguresWorker::Pace::Rested);
    switch (GetParam()) {
    case Then::Nothing:
        // The rest is 3 s: nothing comes within 1 s.
        EXPECT_FALSE(reports.WaitFor(2, 1s));
        worker.Hurry();
        break;
    case Then::NothingAfterSleep: EXPECT_TRUE(reports.WaitFor(2, 15s)); break;
    case Then::Hurry: worker.Hurry(); break;
    case Then::RequestNow: worker.Request(curve.x, curve.y, curve.z, 0.03, 3); break;
    }
    ASSERT_TRUE(reports.WaitFor(2, 60s));
    std::lock_guard<std::mutex> lock(reports.mutex);
    EXPECT_EQ(reports.tickets[1], GetParam() == Then::RequestNow ? 3u : 2u);
}

INSTANTIATE_TEST_SUITE_P(Then, FiguresWorkerRest,
                         testing::Values(Then::Nothing, Then::Hurry, Then::RequestNow, Then::NothingAfterSleep),
                         [](const testing::TestParamInfo<Then>& info) {
                             return info.param == Then::Nothing      ? "Nothing"
                                    : info.param == Then::Hurry      ? "Hurry"
                                    : info.param == Then::RequestNow ? "RequestNow"
                                                                     : "NothingAfterSleep";
                         });

}  // namespace
