// The OpenGL 1.1 side of the 3D view: fixed lights, the tube material, the
// tube drawing and the sketch picture. Everything here only sends what the
// toolkit-free code computed (render/tube_draw_list.h, render/camera.h,
// sketch/raster_canvas.h); the caller makes the context current first.
#pragma once

#include <array>
#include <cstdint>

#include "curve/curve_state.h"

struct OrthoBoxValues;
struct TubeDrawList;

// Fixed state set once per context: black clear colour, depth test, three
// coloured directional lights given in eye coordinates, two-sided lighting
// and renormalised normals.
void InitGL();

// Viewport (0, 0, width, height) and the orthographic box
// -1 ... 1 x -a ... a x -10 ... 10 with a = height / width.
void ApplyViewport(int width, int height);

// Viewport (0, 0, width, height) and the orthographic box `box` (one tile of
// a larger picture, see OrthoTileBox).
void ApplyTileViewport(const OrthoBoxValues& box, int width, int height);

// Loads the view matrix (column by column, model to eye coordinates).
void LoadViewMatrix(const std::array<double, 16>& view);

// Clears colour and depth, sets the tube material from `color` for front and
// back faces, and draws the quads of `list` indexed from its vertex and
// normal arrays, piece by piece (the same picture as one begin/end group per
// quad, with far fewer calls and a quarter of the memory).
void DrawTube(const TubeDrawList& list, ColorRef color);

// Draws an RGB picture (3 bytes per pixel, rows from the top) over the whole
// viewport, without lighting or depth test, restoring both afterwards.
void DrawPixelsTopDown(const uint8_t* rgb, int width, int height);
