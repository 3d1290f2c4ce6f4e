#include "curve/relax_workspace.h"

CRelaxWorkspace::CRelaxWorkspace() : CRelaxWorkspace(vek::ThreadLimit()) {}

CRelaxWorkspace::CRelaxWorkspace(int threads)
{
    SetThreadCount(threads);
}

CRelaxWorkspace::~CRelaxWorkspace() = default;

void CRelaxWorkspace::SetThreadCount(int threads)
{
    if (threads < 1)
        threads = 1;
    if (m_team && threads == m_nThreads)
        return;
    m_nThreads = threads;
    m_team.reset();
    m_team = std::make_unique<vek::ThreadTeam>(threads);
}
