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

// The replaceable allocation functions. Every unaligned form is replaced,
// not only the two that the standard library's other forms call: under the
// address sanitizer its runtime defines each form itself, and a pair of
// which one half is ours would not match.
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

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return ::operator new(size, std::nothrow);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
