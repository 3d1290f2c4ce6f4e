// RunRelaxation: the relaxation run of the "計算" menu's Start command.
//
// Loops on the calling (user-interface) thread until something run from a
// message drain moves the state away from Running:
//   resample when the counter is a multiple of the period (before
//   iterations 1, 31, 61, ...), iterate, and after every period-th
//   iteration rebuild the tube, request a repaint and drain the message
//   queue. The run can therefore only end right after a drain, after a whole
//   multiple of the period, so the last tube built matches the final curve.
//
// Every step is a hook, so that the view supplies the real ones and tests
// can record the schedule or act at a chosen drain. Reads and writes
// state.m_nState; the hooks read and write the curve.
#pragma once

#include <functional>
#include <memory>

#include "curve/curve_state.h"

class CRelaxWorkspace;

struct RunHooks {
    // Resamples the curve. Returning false (the curve would become too large,
    // or collapse below a handful of points) ends the run with the curve as
    // it was: the state becomes Suspended and refused() is called.
    std::function<bool()> resample;
    // One relaxation iteration with the run's window length and work arrays.
    std::function<void(double window, CDoubleArray& nx, CDoubleArray& ny, CDoubleArray& nz)> relax;
    std::function<void()> rebuildTube;
    std::function<void()> requestRepaint;
    // Handles every queued message without waiting; other commands (Stop,
    // Reset, Load, a nested Start, ...) run from inside it.
    std::function<void()> drain;
    // Told when resample() refused; may be empty.
    std::function<void()> refused;
};

// Hooks that resample and relax the curve of `state` with the program's
// engine and a workspace of their own; the resampling refuses what
// ResampleLimit (curve/run_limits.h) does not accept. rebuildTube, requestRepaint and drain
// stay empty (no-ops) for the caller to fill in.
RunHooks EngineRunHooks(CCurveState& state);

// The same hooks on any curve: x, y, z are resampled with `thickness` and
// `precision` (read at every call, so a change during a run takes effect at
// the next resampling) and relaxed with `workspace`, which the hooks share.
// The referenced values must outlive the hooks.
RunHooks EngineRunHooks(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, const double& thickness,
                        const double& precision, std::shared_ptr<CRelaxWorkspace> workspace);

// The run itself. Returns when the run has ended. Nested calls from inside
// hooks.drain are allowed: each has its own work arrays and counter.
void RunRelaxation(CCurveState& state, const RunHooks& hooks);

// A run of `iterations` iterations (at most) with the schedule of
// RunRelaxation: `hooks` with a run state and thickness of their own; the
// run stops after the iterations-th call of hooks.relax, or when
// hooks.resample refuses. Returns the number of hooks.relax calls: less than
// `iterations` only after a refusal. 0 iterations call no hook.
long long RunRelaxationFor(long long iterations, double thickness, RunHooks hooks);

// Stop: the state becomes Suspended; nothing else changes.
void StopRelaxation(CCurveState& state);

// Reset: state Sketch, curve and tube emptied (storage released),
// precision 1.0.
// The caller then resets the camera and repaints.
void ResetCurve(CCurveState& state);
