#include "ideal/ideal_problem.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "ideal/segment_distance.h"

namespace vek {

namespace {

constexpr int kMaxLocal = 12;

}  // namespace

IdealProblem::IdealProblem(IdealProblemData data) : m_data(std::move(data))
{
    m_vertices = static_cast<int>(m_data.start.size() / 3);
    const int constraints = GeneralConstraints();
    // The lower triangle of the Lagrangian's Hessian: every pair of
    // variables that one constraint couples, numbered once.
    std::map<std::pair<int, int>, int> slotOf;
    m_hessSlots.assign(static_cast<size_t>(constraints) * kMaxLocal * kMaxLocal, -1);
    int vars[kMaxLocal];
    for (int k = 0; k < constraints; ++k) {
        const int count = Variables(k, vars);
        for (int u = 0; u < count; ++u)
            for (int v = 0; v < count; ++v) {
                if (vars[u] < vars[v])
                    continue;
                const auto key = std::make_pair(vars[u], vars[v]);
                auto found = slotOf.find(key);
                if (found == slotOf.end()) {
                    found = slotOf.emplace(key, static_cast<int>(m_hessRows.size())).first;
                    m_hessRows.push_back(vars[u]);
                    m_hessCols.push_back(vars[v]);
                }
                m_hessSlots[(static_cast<size_t>(k) * kMaxLocal + u) * kMaxLocal + v] = found->second;
            }
    }
}

int IdealProblem::Variables(int k, int* vars) const
{
    const int n = m_vertices;
    auto vertex = [&](int slot, int i) {
        for (int c = 0; c < 3; ++c)
            vars[3 * slot + c] = 3 * ((i % n + n) % n) + c;
    };
    if (k < n) {
        vertex(0, k);
        vertex(1, k + 1);
        vars[6] = 3 * n;
        return 7;
    }
    if (k < 2 * n) {
        const int i = k - n;
        vertex(0, i - 1);
        vertex(1, i);
        vertex(2, i + 1);
        vars[9] = 3 * n;
        return 10;
    }
    const auto [a, b] = m_data.struts[k - 2 * n];
    vertex(0, a);
    vertex(1, a + 1);
    vertex(2, b);
    vertex(3, b + 1);
    return 12;
}

double IdealProblem::Term(int k, const double* x, double* grad, double* hess) const
{
    int vars[kMaxLocal];
    const int count = Variables(k, vars);
    double local[kMaxLocal];
    for (int u = 0; u < count; ++u)
        local[u] = x[vars[u]];
    const int n = m_vertices;
    const double l0 = m_data.startEdge, r = m_data.radius;
    if (hess)
        std::fill(hess, hess + count * count, 0.0);

    if (k < n) {
        const double scale = 1.0 / (l0 * l0);
        const double l = local[6];
        double e2 = 0.0;
        for (int c = 0; c < 3; ++c) {
            const double e = local[3 + c] - local[c];
            e2 += e * e;
            if (grad) {
                grad[c] = -2.0 * e * scale;
                grad[3 + c] = 2.0 * e * scale;
            }
            if (hess) {
                hess[c * count + c] = hess[(3 + c) * count + 3 + c] = 2.0 * scale;
                hess[c * count + 3 + c] = hess[(3 + c) * count + c] = -2.0 * scale;
            }
        }
        if (grad)
            grad[6] = -2.0 * l * scale;
        if (hess)
            hess[6 * count + 6] = -2.0 * scale;
        return (e2 - l * l) * scale;
    }

    if (k < 2 * n) {
        const double scale = 1.0 / (l0 * l0 * l0 * l0);
        const double l = local[9];
        // q = p+ - p-, w = 2 p - p- - p+, coefficients over (p-, p, p+).
        const double cq[3] = {-1.0, 0.0, 1.0}, cw[3] = {-1.0, 2.0, -1.0};
        double q[3], w[3], q2 = 0.0, w2 = 0.0;
        for (int c = 0; c < 3; ++c) {
            q[c] = local[6 + c] - local[c];
            w[c] = 2.0 * local[3 + c] - local[c] - local[6 + c];
            q2 += q[c] * q[c];
            w2 += w[c] * w[c];
        }
        const double fourR2 = 4.0 * r * r;
        if (grad) {
            for (int j = 0; j < 3; ++j)
                for (int c = 0; c < 3; ++c)
                    grad[3 * j + c] = (2.0 * l * l * q[c] * cq[j] - 2.0 * fourR2 * w[c] * cw[j]) * scale;
            grad[9] = 2.0 * l * q2 * scale;
        }
        if (hess) {
            for (int j = 0; j < 3; ++j)
                for (int i = 0; i < 3; ++i)
                    for (int c = 0; c < 3; ++c)
                        hess[(3 * j + c) * count + 3 * i + c] =
                            (2.0 * l * l * cq[j] * cq[i] - 2.0 * fourR2 * cw[j] * cw[i]) * scale;
            for (int j = 0; j < 3; ++j)
                for (int c = 0; c < 3; ++c)
                    hess[(3 * j + c) * count + 9] = hess[9 * count + 3 * j + c] = 4.0 * l * q[c] * cq[j] * scale;
            hess[9 * count + 9] = 2.0 * q2 * scale;
        }
        return (l * l * q2 - fourR2 * w2) * scale;
    }

    const double scale = 1.0 / (4.0 * r * r);
    const SegmentPair pair = ClosestSegmentPoints(local, local + 3, local + 6, local + 9);
    if (grad || hess) {
        double g[12], h[144];
        SegmentDistanceDerivatives(local, local + 3, local + 6, local + 9, pair, g, h);
        if (grad)
            for (int u = 0; u < 12; ++u)
                grad[u] = g[u] * scale;
        if (hess)
            for (int u = 0; u < 144; ++u)
                hess[u] = h[u] * scale;
    }
    return pair.squared * scale;
}

bool IdealProblem::get_nlp_info(Ipopt::Index& n, Ipopt::Index& m, Ipopt::Index& nnz_jac_g,
                                Ipopt::Index& nnz_h_lag, IndexStyleEnum& index_style)
{
    n = 3 * m_vertices + 1;
    m = GeneralConstraints() + kRigidConstraints;
    nnz_jac_g = 7 * m_vertices + 10 * m_vertices + 12 * static_cast<int>(m_data.struts.size()) +
                kRigidConstraints * 3 * m_vertices;
    nnz_h_lag = static_cast<int>(m_hessRows.size());
    index_style = C_STYLE;
    return true;
}

bool IdealProblem::get_bounds_info(Ipopt::Index n, Ipopt::Number* x_l, Ipopt::Number* x_u, Ipopt::Index m,
                                   Ipopt::Number* g_l, Ipopt::Number* g_u)
{
    // Every coordinate stays within the step box of its start.
    for (int i = 0; i + 1 < n; ++i) {
        x_l[i] = m_data.start[i] - m_data.stepBox;
        x_u[i] = m_data.start[i] + m_data.stepBox;
    }
    x_l[n - 1] = 0.0;
    x_u[n - 1] = 2e19;
    const int general = GeneralConstraints();
    for (int k = 0; k < m; ++k) {
        const bool equality = k < m_vertices || k >= general, strut = k >= 2 * m_vertices && k < general;
        g_l[k] = strut ? 1.0 : 0.0;
        g_u[k] = equality ? 0.0 : 2e19;
    }
    return true;
}

bool IdealProblem::get_starting_point(Ipopt::Index n, bool, Ipopt::Number* x, bool, Ipopt::Number*, Ipopt::Number*,
                                      Ipopt::Index, bool, Ipopt::Number*)
{
    std::copy(m_data.start.begin(), m_data.start.end(), x);
    x[n - 1] = m_data.startEdge;
    return true;
}

bool IdealProblem::eval_f(Ipopt::Index n, const Ipopt::Number* x, bool, Ipopt::Number& obj_value)
{
    obj_value = x[n - 1] / m_data.startEdge;
    return true;
}

bool IdealProblem::eval_grad_f(Ipopt::Index n, const Ipopt::Number*, bool, Ipopt::Number* grad_f)
{
    std::fill(grad_f, grad_f + n, 0.0);
    grad_f[n - 1] = 1.0 / m_data.startEdge;
    return true;
}

bool IdealProblem::eval_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index, Ipopt::Number* g)
{
    const int general = GeneralConstraints();
    for (int k = 0; k < general; ++k)
        g[k] = Term(k, x, nullptr, nullptr);
    // Centroid shift and linearised rotation against the start, both 0.
    double* rigid = g + general;
    std::fill(rigid, rigid + kRigidConstraints, 0.0);
    const double scale = 1.0 / m_vertices;
    for (int i = 0; i < m_vertices; ++i) {
        const double* p = x + 3 * i;
        const double* p0 = &m_data.start[3 * i];
        for (int c = 0; c < 3; ++c)
            rigid[c] += (p[c] - p0[c]) * scale;
        rigid[3] += (p0[1] * p[2] - p0[2] * p[1]) * scale;
        rigid[4] += (p0[2] * p[0] - p0[0] * p[2]) * scale;
        rigid[5] += (p0[0] * p[1] - p0[1] * p[0]) * scale;
    }
    return true;
}

bool IdealProblem::eval_jac_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index m, Ipopt::Index,
                              Ipopt::Index* iRow, Ipopt::Index* jCol, Ipopt::Number* values)
{
    int vars[kMaxLocal];
    double grad[kMaxLocal];
    int at = 0;
    const int general = GeneralConstraints();
    for (int k = 0; k < general; ++k) {
        const int count = Variables(k, vars);
        if (values)
            Term(k, x, grad, nullptr);
        for (int u = 0; u < count; ++u, ++at) {
            if (values) {
                values[at] = grad[u];
            } else {
                iRow[at] = k;
                jCol[at] = vars[u];
            }
        }
    }
    const double scale = 1.0 / m_vertices;
    for (int r = 0; r < kRigidConstraints; ++r)
        for (int i = 0; i < m_vertices; ++i) {
            const double* p0 = &m_data.start[3 * i];
            // d/dp of the rows above: identity for the centroid, the cross
            // product matrix of p0 for the rotation.
            const double rows[6][3] = {{1, 0, 0},        {0, 1, 0},         {0, 0, 1},
                                       {0, -p0[2], p0[1]}, {p0[2], 0, -p0[0]}, {-p0[1], p0[0], 0}};
            for (int c = 0; c < 3; ++c, ++at) {
                if (values) {
                    values[at] = rows[r][c] * scale;
                } else {
                    iRow[at] = general + r;
                    jCol[at] = 3 * i + c;
                }
            }
        }
    (void)m;
    return true;
}

bool IdealProblem::eval_h(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Number, Ipopt::Index m,
                          const Ipopt::Number* lambda, bool, Ipopt::Index nele_hess, Ipopt::Index* iRow,
                          Ipopt::Index* jCol, Ipopt::Number* values)
{
    if (!values) {
        std::copy(m_hessRows.begin(), m_hessRows.end(), iRow);
        std::copy(m_hessCols.begin(), m_hessCols.end(), jCol);
        return true;
    }
    // The objective is linear: only the constraints curve the Lagrangian.
    std::fill(values, values + nele_hess, 0.0);
    int vars[kMaxLocal];
    double hess[kMaxLocal * kMaxLocal];
    // The rigid-motion rows are linear: no Hessian.
    (void)m;
    for (int k = 0; k < GeneralConstraints(); ++k) {
        if (lambda[k] == 0.0)
            continue;
        const int count = Variables(k, vars);
        Term(k, x, nullptr, hess);
        const int* slots = &m_hessSlots[static_cast<size_t>(k) * kMaxLocal * kMaxLocal];
        for (int u = 0; u < count; ++u)
            for (int v = 0; v < count; ++v) {
                const int slot = slots[u * kMaxLocal + v];
                if (slot >= 0)
                    values[slot] += lambda[k] * hess[u * count + v];
            }
    }
    return true;
}

bool IdealProblem::intermediate_callback(Ipopt::AlgorithmMode, Ipopt::Index iter, Ipopt::Number obj_value,
                                         Ipopt::Number inf_pr, Ipopt::Number, Ipopt::Number, Ipopt::Number,
                                         Ipopt::Number, Ipopt::Number, Ipopt::Number, Ipopt::Index,
                                         const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*)
{
    m_iterations = iter;
    if (!m_data.progress)
        return true;
    return m_data.progress(iter, obj_value * m_data.startEdge * m_vertices, inf_pr);
}

void IdealProblem::finalize_solution(Ipopt::SolverReturn status, Ipopt::Index n, const Ipopt::Number* x,
                                     const Ipopt::Number*, const Ipopt::Number*, Ipopt::Index, const Ipopt::Number*,
                                     const Ipopt::Number*, Ipopt::Number, const Ipopt::IpoptData*,
                                     Ipopt::IpoptCalculatedQuantities*)
{
    m_status = status;
    m_result.assign(x, x + n - 1);
    m_resultEdge = x[n - 1];
}

}  // namespace vek
