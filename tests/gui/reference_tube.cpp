#include "reference_tube.h"

#include <GL/gl.h>

#include "render/gl_scene.h"
#include "render/tube_draw_list.h"
#include "render/tube_seam.h"
#include "geom/vec3.h"

void DrawReferenceTube(const CCurveState& state)
{
    // An empty list: the clear and the material, nothing drawn.
    DrawTube(TubeDrawList(), state.m_crTube);
    const CDoubleArray &x = state.m_arrX, &y = state.m_arrY, &z = state.m_arrZ;
    const CDoubleArray &tubeX = state.m_arrTubeX, &tubeY = state.m_arrTubeY, &tubeZ = state.m_arrTubeZ;
    const int ringCount = x.GetSize(), n = state.m_nRingSegments;
    const long long tubeSize = static_cast<long long>(ringCount) * n;
    if (ringCount == 0 || n < 1 || y.GetSize() != ringCount || z.GetSize() != ringCount ||
        tubeX.GetSize() != tubeSize || tubeY.GetSize() != tubeSize || tubeZ.GetSize() != tubeSize)
        return;
    const auto send = [&](int ring, int position) {
        const int e = ring * n + position;
        const Vec3 vertex = {tubeX[e], tubeY[e], tubeZ[e]};
        const Vec3 normal = TubeVertexNormal(vertex, {x[ring], y[ring], z[ring]});
        glNormal3d(normal.x, normal.y, normal.z);
        glVertex3d(vertex.x, vertex.y, vertex.z);
    };
    for (int a = 0; a < ringCount; ++a) {
        const int b = a + 1 == ringCount ? 0 : a + 1;
        const int k = a == ringCount - 1 ? SeamOffset(tubeX, tubeY, tubeZ, ringCount, n) : 0;
        for (int j = 1; j <= n; ++j) {
            glBegin(GL_QUADS);
            send(a, j - 1);
            send(a, j % n);
            send(b, (j + k) % n);
            send(b, (j - 1 + k) % n);
            glEnd();
        }
    }
}
