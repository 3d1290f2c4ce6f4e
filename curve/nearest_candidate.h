// The nearest-candidate search of RelaxStepFast on the capsule tree: for a
// point i, the candidate j (outside both exclusion windows of i) at the
// smallest squared distance below a start bound, the lowest index among
// equal ones, as RelaxStep's index-order scan finds it.
#pragma once

#include "curve/capsule_tree.h"

// One point's search.
struct CandidateQuery {
    int i = 0;
    int fwd = 0, bwd = 0;     // window step counts of i (fwd + bwd <= n)
    int x0 = 0;               // first excluded index, i - bwd + 1 mod n
    long long excluded = 0;   // number of excluded indices from x0 on, fwd + bwd - 1
    double best = 0.0;        // the smallest squared distance so far
    int m = -1;               // its index, -1 for none
    double reach = 0.0;       // distance bound of the search, from best
};

// In:  point i of the tree's curve, its window counts, the start bound
//      best (squared distances at or above it are not sought), and the
//      previous point's nearest candidate lastM of point lastI (-1: none).
// Out: every field of q: the query with lastM moved along by i - lastI,
//      either way, taken as its first candidates where they are candidates
//      of i and nearer than best (the lower index among equal ones), and its
//      reach set once.
void StartQuery(const CapsuleTree& tree, int i, int fwd, int bwd, double best, int lastI, int lastM,
                CandidateQuery& q);

// In:  a query (best and m may already hold a candidate).
// Out: q.best, q.m: the nearest candidate below the start bound, by a walk
//      of the whole tree; q.m stays -1 when there is none.
void SearchTree(const CapsuleTree& tree, CandidateQuery& q);

// In:  the queries of a group of points, the centre c of a ball around
//      them and `bound`: the ball's radius plus the largest reach; `list`
//      with room for `capacity` node indices.
// Out: the leaf nodes that are not excluded for every point of the group
//      and come within bound of c, nearest first, in list; their number,
//      or -1 when they do not fit.
int CollectLeaves(const CapsuleTree& tree, const CandidateQuery* group, int count, double cx, double cy, double cz,
                  double bound, int* list, int capacity);

// In:  a query and leaves from CollectLeaves for its group.
// Out: q.best, q.m: the nearest candidate as SearchTree finds it.
void SearchLeaves(const CapsuleTree& tree, CandidateQuery& q, const int* list, int collected);
