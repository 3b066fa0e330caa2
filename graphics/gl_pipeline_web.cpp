// WebGL: two shader programs that map window pixels to the buffer, one multiplying the
// vertex colours by the texture and one taking them as they are, a ring of vertex buffers the
// batches are copied into in turn, an index buffer of the quads' triangles and a ring of
// index buffers for the fans' triangles. A buffer written while an earlier draw may still
// read it costs the browser a copy or a wait, so a batch takes the next buffer of its
// ring: it costs a copy, the buffer's binding and the draw.
#include <GLES2/gl2.h>

#include <cstddef>

#include "graphics/gl_pipeline.h"
#include "graphics/graphics_device.h"
#include "host/glfw_game.h"

namespace {

const char* const kVertexShader = R"(
attribute vec2 position;
attribute vec2 texCoord;
attribute vec4 color;
uniform vec2 scale;
varying vec2 fragmentTexCoord;
varying vec4 fragmentColor;
void main() {
    gl_Position = vec4(position * scale + vec2(-1.0, 1.0), 0.0, 1.0);
    gl_PointSize = 1.0;
    fragmentTexCoord = texCoord;
    fragmentColor = color;
})";

// The texture's colour by the vertex's, or the vertex's alone.
const char* const kTexturedShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D picture;
varying vec2 fragmentTexCoord;
varying vec4 fragmentColor;
void main() { gl_FragColor = texture2D(picture, fragmentTexCoord) * fragmentColor; })";
const char* const kPlainShader = R"(
precision mediump float;
varying vec4 fragmentColor;
void main() { gl_FragColor = fragmentColor; })";

enum Attribute : GLuint { kPosition, kTexCoord, kColor };
constexpr int kMostFanIndices = GXTK_MAX_VERTICES * 3;
constexpr int kRing = 32;  // more buffers than the batches of a frame usually need

// What one OpenGL context holds for drawing; made again for a new context.
struct Pipeline {
    int seq = 0;
    GLuint textured = 0, plain = 0, quadIndexBuffer = 0;
    GLint texturedScale = -1, plainScale = -1;
    GLuint vertexBuffers[kRing] = {}, fanIndexBuffers[kRing] = {};
    int nextVertexBuffer = 0, nextFanIndexBuffer = 0;
    bool quadIndicesLoaded = false;
};
Pipeline pipeline;
uint16_t fanIndices[kMostFanIndices];

// The next buffer of a ring, bound to `target` and holding `bytes` of `data`.
void Fill(GLenum target, const GLuint (&ring)[kRing], int& next, GLsizeiptr bytes,
          const void* data) {
    glBindBuffer(target, ring[next]);
    glBufferSubData(target, 0, bytes, data);
    next = (next + 1) % kRing;
}

// The vertex records' fields in the bound vertex buffer.
void PointAttributes() {
    const GLsizei stride = sizeof(gxtkVertex);
    glVertexAttribPointer(kPosition, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(gxtkVertex, x)));
    glVertexAttribPointer(kTexCoord, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(gxtkVertex, u)));
    glVertexAttribPointer(kColor, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(gxtkVertex, color)));
}

GLuint Shader(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint Program(const char* fragmentShader) {
    const GLuint program = glCreateProgram();
    glAttachShader(program, Shader(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(program, Shader(GL_FRAGMENT_SHADER, fragmentShader));
    glBindAttribLocation(program, kPosition, "position");
    glBindAttribLocation(program, kTexCoord, "texCoord");
    glBindAttribLocation(program, kColor, "color");
    glLinkProgram(program);
    return program;
}

void MakePipeline() {
    pipeline = {};
    pipeline.seq = glfwGraphicsSeq;
    pipeline.textured = Program(kTexturedShader);
    pipeline.plain = Program(kPlainShader);
    pipeline.texturedScale = glGetUniformLocation(pipeline.textured, "scale");
    pipeline.plainScale = glGetUniformLocation(pipeline.plain, "scale");
    glGenBuffers(kRing, pipeline.vertexBuffers);
    for (GLuint buffer : pipeline.vertexBuffers) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, GXTK_MAX_VERTICES * sizeof(gxtkVertex), nullptr,
                     GL_STREAM_DRAW);
    }
    glGenBuffers(kRing, pipeline.fanIndexBuffers);
    for (GLuint buffer : pipeline.fanIndexBuffers) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof fanIndices, nullptr, GL_STREAM_DRAW);
    }
    glGenBuffers(1, &pipeline.quadIndexBuffer);
}

}  // namespace

void gxtkBeginFrame(int width, int height, int drawWidth, int drawHeight, const gxtkVertex*) {
    if (pipeline.seq != glfwGraphicsSeq) MakePipeline();
    glViewport(0, 0, drawWidth, drawHeight);
    const float x = 2.0f / float(width), y = -2.0f / float(height);
    glUseProgram(pipeline.textured);
    glUniform2f(pipeline.texturedScale, x, y);
    glUseProgram(pipeline.plain);
    glUniform2f(pipeline.plainScale, x, y);
    for (GLuint attribute : {kPosition, kTexCoord, kColor}) glEnableVertexAttribArray(attribute);
}

void gxtkTexturing(bool on) { glUseProgram(on ? pipeline.textured : pipeline.plain); }

void gxtkDrawVertices(int mode, int count, const gxtkVertex* vertices,
                      const uint16_t* quadIndices) {
    Fill(GL_ARRAY_BUFFER, pipeline.vertexBuffers, pipeline.nextVertexBuffer,
         count * sizeof(gxtkVertex), vertices);
    PointAttributes();
    switch (mode) {
        case GXTK_POINTS: glDrawArrays(GL_POINTS, 0, count); return;
        case GXTK_LINES: glDrawArrays(GL_LINES, 0, count); return;
        case GXTK_TRIANGLES: glDrawArrays(GL_TRIANGLES, 0, count); return;
        case GXTK_QUADS:
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, pipeline.quadIndexBuffer);
            if (!pipeline.quadIndicesLoaded) {
                glBufferData(GL_ELEMENT_ARRAY_BUFFER, GXTK_MAX_QUADS * 6 * sizeof(uint16_t),
                             quadIndices, GL_STATIC_DRAW);
                pipeline.quadIndicesLoaded = true;
            }
            glDrawElements(GL_TRIANGLES, count / 4 * 6, GL_UNSIGNED_SHORT, nullptr);
            return;
        default: {
            // WebGL draws no fans in one call: each fan goes as its triangles.
            int indices = 0;
            for (int first = 0; first < count; first += mode) {
                for (int i = 1; i + 1 < mode; ++i) {
                    fanIndices[indices++] = uint16_t(first);
                    fanIndices[indices++] = uint16_t(first + i);
                    fanIndices[indices++] = uint16_t(first + i + 1);
                }
            }
            Fill(GL_ELEMENT_ARRAY_BUFFER, pipeline.fanIndexBuffers, pipeline.nextFanIndexBuffer,
                 indices * sizeof(uint16_t), fanIndices);
            glDrawElements(GL_TRIANGLES, indices, GL_UNSIGNED_SHORT, nullptr);
        }
    }
}

void gxtkReadPixels(int x, int y, int w, int h, int* pixels) {
    // WebGL reads RGBA bytes only: red and blue swap places for each pixel's int.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    for (int i = 0; i < w * h; ++i) {
        const unsigned p = unsigned(pixels[i]);
        pixels[i] = int((p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu));
    }
}
