#include "curve/run_relaxation.h"

#include <memory>
#include <utility>

#include "curve/constants.h"
#include "curve/relax_step.h"
#include "curve/relax_step_fast.h"
#include "curve/resample_curve.h"
#include "curve/run_limits.h"

RunHooks EngineRunHooks(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, const double& thickness,
                        const double& precision, std::shared_ptr<CRelaxWorkspace> workspace)
{
    RunHooks hooks;
    hooks.resample = [&x, &y, &z, &thickness, &precision] {
        return ResampleLimit(x, y, z, thickness, precision) == RunLimit::None &&
               ResampleCurve(x, y, z, thickness, precision);
    };
    hooks.relax = [&x, &y, &z, &thickness, workspace](double window, CDoubleArray& nx, CDoubleArray& ny,
                                                        CDoubleArray& nz) {
        RelaxStepFast(x, y, z, thickness, window, nx, ny, nz, *workspace);
    };
    return hooks;
}

RunHooks EngineRunHooks(CCurveState& state)
{
    // The workspace (buffers and worker threads) lives as long as the hooks,
    // that is one run; a nested run gets hooks and a workspace of its own.
    return EngineRunHooks(state.m_arrX, state.m_arrY, state.m_arrZ, state.m_dThickness, state.m_dPrecision,
                          std::make_shared<CRelaxWorkspace>());
}

namespace {

void Call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

}  // namespace

void RunRelaxation(CCurveState& state, const RunHooks& hooks)
{
    // The run's own work arrays, released when the run ends.
    CDoubleArray nx, ny, nz;
    const double window = ExclusionWindow(state.m_dThickness);
    state.m_nState = Running;

    // Only the counter modulo the period matters; keeping just the remainder
    // means an endless run never overflows it.
    int remainder = 0;
    for (;;) {
        if (remainder == 0 && hooks.resample && !hooks.resample()) {
            state.m_nState = Suspended;
            Call(hooks.refused);
            return;
        }
        if (hooks.relax)
            hooks.relax(window, nx, ny, nz);
        remainder = (remainder + 1) % vek::kRunPeriod;
        if (remainder == 0) {
            Call(hooks.rebuildTube);
            Call(hooks.requestRepaint);
            Call(hooks.drain);
        }
        if (state.m_nState != Running)
            break;
    }
}

long long RunRelaxationFor(long long iterations, double thickness, RunHooks hooks)
{
    if (iterations <= 0)
        return 0;
    CCurveState run;
    run.m_dThickness = thickness;
    long long done = 0;
    const auto relax = std::move(hooks.relax);
    hooks.relax = [&](double window, CDoubleArray& nx, CDoubleArray& ny, CDoubleArray& nz) {
        if (relax)
            relax(window, nx, ny, nz);
        if (++done == iterations)
            StopRelaxation(run);
    };
    RunRelaxation(run, hooks);
    return done;
}

void StopRelaxation(CCurveState& state)
{
    state.m_nState = Suspended;
}

void ResetCurve(CCurveState& state)
{
    state.m_nState = Sketch;
    state.ClearCurve();
    // The tube of the cleared curve is never drawn again (a sketch is not
    // drawn as a tube, and the next run or Stop rebuilds or refuses it), so
    // its storage, thirty vertices a point, is given back too.
    state.m_arrTubeX.SetSize(0);
    state.m_arrTubeY.SetSize(0);
    state.m_arrTubeZ.SetSize(0);
    state.m_dPrecision = vek::kDefaultPrecision;
}
