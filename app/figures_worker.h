// CFiguresWorker: measures the status bar's figures of a curve (its knot,
// certified ropelength, nominal length) on a thread of its own, so that a
// run does not wait for them. Only the newest request is measured: one
// that arrives while another is measured replaces any still waiting.
#pragma once

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

    // Copies the curve and asks for its figures under `ticket`.
    void Request(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                 uint64_t ticket);
    // Returns once nothing is waiting or being measured (its `done` has
    // returned).
    void WaitIdle();

private:
    struct Job {
        std::vector<double> x, y, z;
        double thickness = 0.0;
        uint64_t ticket = 0;
    };
    void Loop();

    Done m_done;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_waiting;
    bool m_busy = false;
    bool m_quit = false;
    std::thread m_thread;
};
