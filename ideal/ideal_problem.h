// The ideal-knot problem of one set of struts, as a nonlinear programme for
// the interior-point solver: shortest equilateral closed polygon of n
// vertices whose vertices all have MinRad >= r and whose strut edge pairs
// are all at least 2r apart, r fixed.
//
// Variables: the n vertices (x, y, z each) and the common edge length l.
// Objective: l / l0 (the length is n l). Constraints, in this order:
//   n edges:    (|p_{i+1} - p_i|^2 - l^2) / l0^2 = 0
//   n vertices: (l^2 |p_{i+1} - p_{i-1}|^2 - 4 r^2 |2 p_i - p_{i-1} - p_{i+1}|^2) / l0^4 >= 0,
//               which for equal edges l is MinRad_i = l / (2 tan(theta_i / 2)) >= r
//   m struts:   |closest points of edges a, b|^2 / (4 r^2) >= 1
//   6 rigid:    centroid and linearised rotation of the start kept
// with exact first and second derivatives (the strut distance as the
// minimum over the closest pair, see segment_distance.h).
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "IpTNLP.hpp"

namespace vek {

struct IdealProblemData {
    // Start vertices, 3 n doubles (x0, y0, z0, x1, ...), and edge length.
    std::vector<double> start;
    double startEdge = 0.0;
    double radius = 1.0;
    // No coordinate moves farther than this from the start (model units):
    // the struts found before the run are then all that can come close.
    double stepBox = 1.0;
    // Edge pairs (a, b), edge k from vertex k to k + 1 mod n, not adjacent.
    std::vector<std::pair<int, int>> struts;
    // Told after every solver iteration: iteration, length n l, largest
    // constraint violation (scaled). Returning false stops the solver.
    std::function<bool(int, double, double)> progress;
};

class IdealProblem : public Ipopt::TNLP {
public:
    explicit IdealProblem(IdealProblemData data);

    // The last vertices the solver reported (3 n) and their edge length.
    const std::vector<double>& Result() const { return m_result; }
    double ResultEdge() const { return m_resultEdge; }
    Ipopt::SolverReturn Status() const { return m_status; }
    int Iterations() const { return m_iterations; }

    bool get_nlp_info(Ipopt::Index& n, Ipopt::Index& m, Ipopt::Index& nnz_jac_g, Ipopt::Index& nnz_h_lag,
                      IndexStyleEnum& index_style) override;
    bool get_bounds_info(Ipopt::Index n, Ipopt::Number* x_l, Ipopt::Number* x_u, Ipopt::Index m,
                         Ipopt::Number* g_l, Ipopt::Number* g_u) override;
    bool get_starting_point(Ipopt::Index n, bool init_x, Ipopt::Number* x, bool init_z, Ipopt::Number* z_L,
                            Ipopt::Number* z_U, Ipopt::Index m, bool init_lambda, Ipopt::Number* lambda) override;
    bool eval_f(Ipopt::Index n, const Ipopt::Number* x, bool new_x, Ipopt::Number& obj_value) override;
    bool eval_grad_f(Ipopt::Index n, const Ipopt::Number* x, bool new_x, Ipopt::Number* grad_f) override;
    bool eval_g(Ipopt::Index n, const Ipopt::Number* x, bool new_x, Ipopt::Index m, Ipopt::Number* g) override;
    bool eval_jac_g(Ipopt::Index n, const Ipopt::Number* x, bool new_x, Ipopt::Index m, Ipopt::Index nele_jac,
                    Ipopt::Index* iRow, Ipopt::Index* jCol, Ipopt::Number* values) override;
    bool eval_h(Ipopt::Index n, const Ipopt::Number* x, bool new_x, Ipopt::Number obj_factor, Ipopt::Index m,
                const Ipopt::Number* lambda, bool new_lambda, Ipopt::Index nele_hess, Ipopt::Index* iRow,
                Ipopt::Index* jCol, Ipopt::Number* values) override;
    bool intermediate_callback(Ipopt::AlgorithmMode mode, Ipopt::Index iter, Ipopt::Number obj_value,
                               Ipopt::Number inf_pr, Ipopt::Number inf_du, Ipopt::Number mu, Ipopt::Number d_norm,
                               Ipopt::Number regularization_size, Ipopt::Number alpha_du, Ipopt::Number alpha_pr,
                               Ipopt::Index ls_trials, const Ipopt::IpoptData* ip_data,
                               Ipopt::IpoptCalculatedQuantities* ip_cq) override;
    void finalize_solution(Ipopt::SolverReturn status, Ipopt::Index n, const Ipopt::Number* x,
                           const Ipopt::Number* z_L, const Ipopt::Number* z_U, Ipopt::Index m,
                           const Ipopt::Number* g, const Ipopt::Number* lambda, Ipopt::Number obj_value,
                           const Ipopt::IpoptData* ip_data, Ipopt::IpoptCalculatedQuantities* ip_cq) override;

private:
    // One constraint's value, gradient and (optionally) Hessian over its
    // own variables (Variables(k)), dense, row major.
    int Variables(int k, int* vars) const;
    int GeneralConstraints() const { return 2 * m_vertices + static_cast<int>(m_data.struts.size()); }
    // Centroid and rotation against the start held fixed: the length does
    // not change under rigid motions, and without these rows the Hessian
    // would be singular along them.
    static constexpr int kRigidConstraints = 6;
    double Term(int k, const double* x, double* grad, double* hess) const;

    IdealProblemData m_data;
    int m_vertices = 0;
    // For every constraint, the Hessian slot of each local (u, v) pair with
    // vars[u] >= vars[v], -1 for the others; kMaxLocal^2 entries each.
    std::vector<int> m_hessSlots;
    std::vector<int> m_hessRows, m_hessCols;
    std::vector<double> m_result;
    double m_resultEdge = 0.0;
    Ipopt::SolverReturn m_status = Ipopt::INTERNAL_ERROR;
    int m_iterations = 0;
};

}  // namespace vek
