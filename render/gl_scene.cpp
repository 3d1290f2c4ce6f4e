#include "render/gl_scene.h"

#include <GL/gl.h>

#include "render/camera.h"
#include "render/tube_draw_list.h"
#include "render/tube_material.h"

namespace {

struct DirectionalLight {
    GLenum id;
    GLfloat position[4];
    GLfloat color[4];  // diffuse and specular alike
};

// All three shine from the upper right front of the screen, each a little
// more from the right, from above or from the front. Given while the view
// matrix is the identity, so they stay fixed to the viewer.
constexpr DirectionalLight kLights[] = {
    {GL_LIGHT0, {1.09f, 1.0f, 1.0f, 0.0f}, {0.5f, 0.0f, 0.0f, 0.0f}},
    {GL_LIGHT1, {1.0f, 1.09f, 1.0f, 0.0f}, {0.5f, 0.5f, 0.0f, 0.0f}},
    {GL_LIGHT2, {1.0f, 1.0f, 1.09f, 0.0f}, {0.0f, 0.5f, 1.0f, 0.0f}},
};

constexpr GLfloat kTubeSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat kTubeShininess = 64.0f;

void BeginTubeFrame(ColorRef color)
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    float ambientDiffuse[4];
    TubeMaterialColor(color, ambientDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, ambientDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kTubeSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kTubeShininess);
}

}  // namespace

void InitGL()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (const DirectionalLight& light : kLights)
        glLightfv(light.id, GL_POSITION, light.position);
    glPopMatrix();
    for (const DirectionalLight& light : kLights) {
        glLightfv(light.id, GL_SPECULAR, light.color);
        glLightfv(light.id, GL_DIFFUSE, light.color);
    }
    glEnable(GL_LIGHTING);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    for (const DirectionalLight& light : kLights)
        glEnable(light.id);
    glEnable(GL_NORMALIZE);
}

void ApplyViewport(int width, int height) { ApplyTileViewport(OrthoBox(width, height), width, height); }

void ApplyTileViewport(const OrthoBoxValues& box, int width, int height)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(box.left, box.right, box.bottom, box.top, box.nearVal, box.farVal);
}

void LoadViewMatrix(const std::array<double, 16>& view)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view.data());
}

void DrawTube(const TubeDrawList& list, ColorRef color)
{
    BeginTubeFrame(color);
    if (list.Empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    // Piece by piece: each call hands the renderer a few megabytes, however
    // long the tube; the quads come in the same order as in one call, each
    // as the two triangles that the renderer makes of a quad of its own.
    // A software renderer gathers the triangles of a frame until it is
    // flushed: flushing after every piece keeps that store to a piece's
    // worth (measured under Mesa's llvmpipe: the peak of a 6,500-point tube
    // fell from 227 to 191 MB, and the memory kept after the frame too).
    for (const TubeDrawPiece& piece : TubeDrawPieces(list)) {
        glVertexPointer(3, GL_FLOAT, 0, piece.vertices);
        glNormalPointer(GL_FLOAT, 0, piece.normals);
        glDrawElements(GL_TRIANGLES, piece.indexCount, GL_UNSIGNED_INT, piece.indices);
        glFlush();
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void DrawPixelsTopDown(const uint8_t* rgb, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    // The raster position needs the whole viewport and identity matrices;
    // the camera's matrices are put back afterwards.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, width, height);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Rows come from the top; draw them downwards from the top left corner.
    glRasterPos2d(-1.0, 1.0);
    glPixelZoom(1.0f, -1.0f);
    glDrawPixels(width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelZoom(1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
