#include "render/offscreen_context.h"

#include <GL/osmesa.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <string>

namespace {

// Rows come from OpenGL bottom first; pictures are written top first.
template <typename T>
std::vector<T> FlipRows(const std::vector<T>& bottomUp, std::size_t rowLength, int rows)
{
    std::vector<T> topDown(bottomUp.size());
    for (int r = 0; r < rows; ++r) {
        const std::size_t from = static_cast<std::size_t>(rows - 1 - r) * rowLength;
        std::copy_n(bottomUp.begin() + from, rowLength, topDown.begin() + static_cast<std::size_t>(r) * rowLength);
    }
    return topDown;
}

// Address space that must be free before a context is made: more than
// Mesa's software renderer takes for one (some 370 MB on two cores).
constexpr std::size_t kMesaHeadroom = std::size_t{512} << 20;

// Whether `bytes` of address space can still be mapped (nothing is
// committed: the probe is inaccessible and given back at once).
bool HasAddressSpace(std::size_t bytes)
{
    void* probe = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (probe == MAP_FAILED)
        return false;
    munmap(probe, bytes);
    return true;
}

}  // namespace

OffscreenContext::OffscreenContext(int width, int height)
{
    GLint maxWidth = 0, maxHeight = 0;
    if (width <= 0 || height <= 0) {
        m_error = "the picture has no pixels";
        return;
    }
    // The picture's storage first, then room for Mesa: its context takes a
    // few hundred megabytes of address space (thread stacks, the compiler's
    // code), and where a limit on the address space leaves it less than that
    // it may crash instead of failing.
    try {
        m_buffer.assign(static_cast<std::size_t>(width) * height * 4, 0);
    } catch (const std::bad_alloc&) {
        m_error = "not enough memory for a picture of that size";
        return;
    }
    if (!HasAddressSpace(kMesaHeadroom)) {
        m_buffer = {};
        m_error = "not enough memory to draw pictures (the offscreen renderer needs 512 MB of address space)";
        return;
    }
    const int attributes[] = {OSMESA_FORMAT,  OSMESA_RGBA,          OSMESA_DEPTH_BITS, 24,
                              OSMESA_PROFILE, OSMESA_COMPAT_PROFILE, 0};
    OSMesaContext context = OSMesaCreateContextAttribs(attributes, nullptr);
    if (!context) {
        m_error = "Mesa could not create an offscreen OpenGL context";
        return;
    }
    if (!OSMesaMakeCurrent(context, m_buffer.data(), GL_UNSIGNED_BYTE, width, height)) {
        m_error = "Mesa refused an offscreen picture of that size";
        OSMesaDestroyContext(context);
        return;
    }
    OSMesaGetIntegerv(OSMESA_MAX_WIDTH, &maxWidth);
    OSMesaGetIntegerv(OSMESA_MAX_HEIGHT, &maxHeight);
    if (width > maxWidth || height > maxHeight) {
        m_error = "the picture is larger than Mesa draws (" + std::to_string(maxWidth) + " x " +
                  std::to_string(maxHeight) + " pixels)";
        OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
        OSMesaDestroyContext(context);
        return;
    }
    m_context = context;
    m_width = width;
    m_height = height;
}

OffscreenContext::~OffscreenContext()
{
    if (!m_context)
        return;
    OSMesaMakeCurrent(nullptr, nullptr, GL_UNSIGNED_BYTE, 0, 0);
    OSMesaDestroyContext(static_cast<OSMesaContext>(m_context));
}

std::vector<uint8_t> OffscreenContext::ReadRGB() const
{
    if (!m_context)
        return {};
    glFinish();
    std::vector<uint8_t> rgb(static_cast<std::size_t>(m_width) * m_height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return FlipRows(rgb, static_cast<std::size_t>(m_width) * 3, m_height);
}

std::vector<float> OffscreenContext::ReadDepth() const
{
    if (!m_context)
        return {};
    glFinish();
    std::vector<float> depth(static_cast<std::size_t>(m_width) * m_height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_width, m_height, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return FlipRows(depth, static_cast<std::size_t>(m_width), m_height);
}
