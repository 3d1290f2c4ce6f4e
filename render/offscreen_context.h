// An OpenGL context without a window, in memory (Mesa's OSMesa): the view's
// own drawing code renders pictures with it on a machine without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class OffscreenContext {
public:
    // Creates a compatibility-profile context with an RGBA colour buffer and
    // a depth buffer of width x height pixels and makes it current on the
    // calling thread. IsOK() tells whether that worked; Error() says why not.
    OffscreenContext(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool IsOK() const { return m_context != nullptr; }
    const std::string& Error() const { return m_error; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Waits for the drawing and reads the picture: 3 bytes (red, green,
    // blue) per pixel, rows from the top, Width() x Height() pixels.
    std::vector<uint8_t> ReadRGB() const;
    // Depth of every pixel in the same order, 0 (near) ... 1 (far, the
    // clear value where nothing was drawn).
    std::vector<float> ReadDepth() const;

private:
    void* m_context = nullptr;  // the OSMesa context
    std::vector<uint8_t> m_buffer;  // its colour buffer, RGBA
    int m_width = 0;
    int m_height = 0;
    std::string m_error;
};
