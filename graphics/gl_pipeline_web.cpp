// WebGL: one shader program that maps window pixels to the buffer and multiplies the
// vertex colours by the texture when texturing is on, one vertex buffer each batch is
// copied into, and one index buffer holding the quads' triangles, then room for the fans'.
// A batch costs the copy and the draw; the rest is set once a frame.
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

const char* const kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D picture;
uniform bool textured;
varying vec2 fragmentTexCoord;
varying vec4 fragmentColor;
void main() {
    gl_FragColor = textured ? texture2D(picture, fragmentTexCoord) * fragmentColor : fragmentColor;
})";

enum Attribute : GLuint { kPosition, kTexCoord, kColor };
constexpr GLsizeiptr kQuadIndexBytes = GXTK_MAX_QUADS * 6 * sizeof(uint16_t);
constexpr int kMostFanIndices = GXTK_MAX_VERTICES * 3;

// What one OpenGL context holds for drawing; made again for a new context.
struct Pipeline {
    int seq = 0;
    GLuint program = 0, vertexBuffer = 0, indexBuffer = 0;
    GLint scale = -1, textured = -1;
    bool quadIndicesLoaded = false;
};
Pipeline pipeline;
uint16_t fanIndices[kMostFanIndices];

GLuint Shader(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

void MakePipeline() {
    pipeline = {};
    pipeline.seq = glfwGraphicsSeq;
    pipeline.program = glCreateProgram();
    glAttachShader(pipeline.program, Shader(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(pipeline.program, Shader(GL_FRAGMENT_SHADER, kFragmentShader));
    glBindAttribLocation(pipeline.program, kPosition, "position");
    glBindAttribLocation(pipeline.program, kTexCoord, "texCoord");
    glBindAttribLocation(pipeline.program, kColor, "color");
    glLinkProgram(pipeline.program);
    pipeline.scale = glGetUniformLocation(pipeline.program, "scale");
    pipeline.textured = glGetUniformLocation(pipeline.program, "textured");
    glGenBuffers(1, &pipeline.vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, pipeline.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GXTK_MAX_VERTICES * sizeof(gxtkVertex), nullptr, GL_STREAM_DRAW);
    glGenBuffers(1, &pipeline.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, pipeline.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, kQuadIndexBytes + sizeof fanIndices, nullptr,
                 GL_DYNAMIC_DRAW);
}

}  // namespace

void gxtkBeginFrame(int width, int height, int drawWidth, int drawHeight, const gxtkVertex*) {
    if (pipeline.seq != glfwGraphicsSeq) MakePipeline();
    glViewport(0, 0, drawWidth, drawHeight);
    glUseProgram(pipeline.program);
    glUniform2f(pipeline.scale, 2.0f / float(width), -2.0f / float(height));
    glBindBuffer(GL_ARRAY_BUFFER, pipeline.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, pipeline.indexBuffer);
    const GLsizei stride = sizeof(gxtkVertex);
    glVertexAttribPointer(kPosition, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(gxtkVertex, x)));
    glVertexAttribPointer(kTexCoord, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(gxtkVertex, u)));
    glVertexAttribPointer(kColor, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(gxtkVertex, color)));
    for (GLuint attribute : {kPosition, kTexCoord, kColor}) glEnableVertexAttribArray(attribute);
}

void gxtkTexturing(bool on) { glUniform1i(pipeline.textured, on ? 1 : 0); }

void gxtkDrawVertices(int mode, int count, const gxtkVertex* vertices,
                      const uint16_t* quadIndices) {
    glBufferSubData(GL_ARRAY_BUFFER, 0, count * sizeof(gxtkVertex), vertices);
    switch (mode) {
        case GXTK_POINTS:
            glDrawArrays(GL_POINTS, 0, count);
            return;
        case GXTK_LINES:
            glDrawArrays(GL_LINES, 0, count);
            return;
        case GXTK_TRIANGLES:
            glDrawArrays(GL_TRIANGLES, 0, count);
            return;
        case GXTK_QUADS:
            if (!pipeline.quadIndicesLoaded) {
                glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, kQuadIndexBytes, quadIndices);
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
            glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, kQuadIndexBytes, indices * sizeof(uint16_t),
                            fanIndices);
            glDrawElements(GL_TRIANGLES, indices, GL_UNSIGNED_SHORT,
                           reinterpret_cast<const void*>(kQuadIndexBytes));
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
