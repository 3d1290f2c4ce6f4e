#include "render/offscreen_context.h"

#include <GL/osmesa.h>

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

}  // namespace

OffscreenContext::OffscreenContext(int width, int height)
{
    GLint maxWidth = 0, maxHeight = 0;
    const int attributes[] = {OSMESA_FORMAT,  OSMESA_RGBA,          OSMESA_DEPTH_BITS, 24,
                              OSMESA_PROFILE, OSMESA_COMPAT_PROFILE, 0};
    OSMesaContext context = OSMesaCreateContextAttribs(attributes, nullptr);
    if (!context) {
        m_error = "Mesa could not create an offscreen OpenGL context";
        return;
    }
    if (width <= 0 || height <= 0) {
        m_error = "the picture has no pixels";
        OSMesaDestroyContext(context);
        return;
    }
    try {
        m_buffer.assign(static_cast<std::size_t>(width) * height * 4, 0);
    } catch (const std::bad_alloc&) {
        m_error = "not enough memory for a picture of that size";
        OSMesaDestroyContext(context);
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
