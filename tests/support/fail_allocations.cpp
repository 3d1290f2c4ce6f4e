#include "fail_allocations.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::size_t> g_limit{std::numeric_limits<std::size_t>::max()};
std::atomic<int> g_allowed{0};
std::atomic<int> g_refused{0};

}  // namespace

FailLargeAllocations::FailLargeAllocations(std::size_t bytes, int allowed)
    : m_previousLimit(g_limit.load()), m_previousAllowed(g_allowed.exchange(allowed)),
      m_refusedBefore(g_refused.load())
{
    g_limit.store(bytes);
}

FailLargeAllocations::~FailLargeAllocations()
{
    g_limit.store(m_previousLimit);
    g_allowed.store(m_previousAllowed);
}

int FailLargeAllocations::Refused() const
{
    return g_refused.load() - m_refusedBefore;
}

// The replaceable allocation functions. The array, nothrow and sized forms
// of the library call these two; the aligned forms keep their own pair.
void* operator new(std::size_t size)
{
    if (size >= g_limit.load(std::memory_order_relaxed) && g_allowed.fetch_sub(1) <= 0) {
        g_refused.fetch_add(1);
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
