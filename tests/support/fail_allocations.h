// A test seam for running out of storage: this file replaces the global
// operator new of the test program, and while a FailLargeAllocations object
// lives, every allocation of at least its limit throws std::bad_alloc, as a
// full memory would (after the first `allowed` of them, so that a test can
// fail each large allocation of a task in turn). Smaller allocations (the toolkit's, the test
// framework's) go on as usual, so a test arms it with a limit between the
// sizes it keeps and the large one it wants to fail.
#pragma once

#include <cstddef>

class FailLargeAllocations {
public:
    explicit FailLargeAllocations(std::size_t bytes, int allowed = 0);
    ~FailLargeAllocations();
    FailLargeAllocations(const FailLargeAllocations&) = delete;
    FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;

    // How many allocations have been refused since this object was made.
    int Refused() const;

private:
    std::size_t m_previousLimit;
    int m_previousAllowed;
    int m_refusedBefore;
};
