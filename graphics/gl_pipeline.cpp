// The desktop's OpenGL 1.x fixed-function pipeline, drawing from client-side vertex arrays.
#include "graphics/gl_pipeline.h"

#include "graphics/graphics_device.h"

namespace {

// First vertex and vertex count of each fan in a batch of polygons, for one multi-draw.
GLint fanFirsts[GXTK_MAX_FANS];
GLsizei fanCounts[GXTK_MAX_FANS];

}  // namespace

void gxtkBeginFrame(int width, int height, int drawWidth, int drawHeight,
                    const gxtkVertex* vertices) {
    glViewport(0, 0, drawWidth, drawHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertices[0].color);
}

void gxtkTexturing(bool on) {
    if (on) {
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

void gxtkDrawVertices(int mode, int count, const gxtkVertex*, const uint16_t* quadIndices) {
    switch (mode) {
        case GXTK_POINTS: glDrawArrays(GL_POINTS, 0, count); return;
        case GXTK_LINES: glDrawArrays(GL_LINES, 0, count); return;
        case GXTK_TRIANGLES: glDrawArrays(GL_TRIANGLES, 0, count); return;
        case GXTK_QUADS:
            glDrawElements(GL_TRIANGLES, count / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
            return;
        default: {
            // Every fan of the batch in one call.
            int fans = 0;
            for (int first = 0; first < count; first += mode, ++fans) {
                fanFirsts[fans] = first;
                fanCounts[fans] = mode;
            }
            glMultiDrawArrays(GL_TRIANGLE_FAN, fanFirsts, fanCounts, fans);
        }
    }
}

void gxtkReadPixels(int x, int y, int w, int h, int* pixels) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
}
