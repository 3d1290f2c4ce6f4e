// CFiguresWorker: measures the status bar's figures of a curve (its knot,
// certified ropelength, nominal length) on a thread of its own, so that a
// run does not wait for them. Only the newest request is measured: one
// that arrives while another is measured (or rests) replaces any still
// waiting.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "curve/double_array.h"
#include "relax/curve_figures.h"

class CFiguresWorker {
public:
    // `done` is called on the worker's thread with the ticket of the request
    // and its figures.
    using Done = std::function<void(uint64_t ticket, const vek::CurveFigures& figures)>;
    explicit CFiguresWorker(Done done);
    // Waits for the measurement going on (none waiting is started).
    ~CFiguresWorker();
    CFiguresWorker(const CFiguresWorker&) = delete;
    CFiguresWorker& operator=(const CFiguresWorker&) = delete;

    // When a request is measured: at once, or, for the curves of a run
    // under way, after a rest of kRestFactor times the processor time the
    // last measurement used, so that the figures take a small share of the
    // cores from the run whatever the size of the curve.
    enum class Pace { Now, Rested };
    static constexpr int kRestFactor = 30;

    // Copies the curve and asks for its figures under `ticket`.
    void Request(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                 uint64_t ticket, Pace pace = Pace::Now);
    // The request waiting (if any) is measured at once, without its rest.
    void Hurry();
    // Returns once nothing is waiting or being measured (its `done` has
    // returned); a waiting request is hurried.
    void WaitIdle();

private:
    struct Job {
        std::vector<double> x, y, z;
        double thickness = 0.0;
        uint64_t ticket = 0;
        Pace pace = Pace::Now;
    };
    void Loop();
    // Under the lock: whether the waiting job may start now.
    bool MayStart(std::chrono::steady_clock::time_point now) const;

    Done m_done;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_waiting;
    std::chrono::steady_clock::time_point m_restUntil{};
    bool m_busy = false;
    bool m_quit = false;
    std::thread m_thread;
};
