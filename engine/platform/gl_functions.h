#pragma once
// The OpenGL entry points the GL device uses, fetched from the driver through SDL once a context
// is current. Only what the device needs is listed; nothing is called through the static libGL.

#include <SDL_opengl.h>

namespace QRV::Platform {

// Entry points every context must have (GL 2.1 core functionality).
#define QRV_GL_REQUIRED_FUNCTIONS(X)                                                                                 \
    X(const GLubyte*, GetString, (GLenum name))                                                                      \
    X(void, GetIntegerv, (GLenum pname, GLint * data))                                                               \
    X(void, GetFloatv, (GLenum pname, GLfloat * data))                                                               \
    X(GLenum, GetError, (void))                                                                                      \
    X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height))                                             \
    X(void, ClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a))                                                \
    X(void, ClearDepth, (GLdouble depth))                                                                            \
    X(void, ClearStencil, (GLint s))                                                                                 \
    X(void, Clear, (GLbitfield mask))                                                                                \
    X(void, Enable, (GLenum cap))                                                                                    \
    X(void, Disable, (GLenum cap))                                                                                   \
    X(void, BlendFunc, (GLenum sfactor, GLenum dfactor))                                                             \
    X(void, DepthFunc, (GLenum func))                                                                                \
    X(void, PixelStorei, (GLenum pname, GLint param))                                                                \
    X(void, GenTextures, (GLsizei n, GLuint * textures))                                                             \
    X(void, DeleteTextures, (GLsizei n, const GLuint* textures))                                                     \
    X(void, BindTexture, (GLenum target, GLuint texture))                                                            \
    X(void, ActiveTexture, (GLenum texture))                                                                         \
    X(void, TexImage2D,                                                                                              \
      (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, \
       GLenum type, const void* pixels))                                                                             \
    X(void, TexParameteri, (GLenum target, GLenum pname, GLint param))                                               \
    X(void, TexParameterf, (GLenum target, GLenum pname, GLfloat param))                                             \
    X(void, GenBuffers, (GLsizei n, GLuint * buffers))                                                               \
    X(void, DeleteBuffers, (GLsizei n, const GLuint* buffers))                                                       \
    X(void, BindBuffer, (GLenum target, GLuint buffer))                                                              \
    X(void, BufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage))                            \
    X(void, BufferSubData, (GLenum target, GLintptr offset, GLsizeiptr size, const void* data))                      \
    X(void, VertexAttribPointer,                                                                                     \
      (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* pointer))            \
    X(void, EnableVertexAttribArray, (GLuint index))                                                                 \
    X(GLuint, CreateShader, (GLenum type))                                                                           \
    X(void, ShaderSource, (GLuint shader, GLsizei count, const GLchar* const* string, const GLint* length))          \
    X(void, CompileShader, (GLuint shader))                                                                          \
    X(void, GetShaderiv, (GLuint shader, GLenum pname, GLint * params))                                              \
    X(void, GetShaderInfoLog, (GLuint shader, GLsizei bufSize, GLsizei * length, GLchar * log))                      \
    X(void, DeleteShader, (GLuint shader))                                                                           \
    X(GLuint, CreateProgram, (void))                                                                                 \
    X(void, AttachShader, (GLuint program, GLuint shader))                                                           \
    X(void, BindAttribLocation, (GLuint program, GLuint index, const GLchar* name))                                  \
    X(void, LinkProgram, (GLuint program))                                                                           \
    X(void, GetProgramiv, (GLuint program, GLenum pname, GLint * params))                                            \
    X(void, GetProgramInfoLog, (GLuint program, GLsizei bufSize, GLsizei * length, GLchar * log))                    \
    X(void, UseProgram, (GLuint program))                                                                            \
    X(void, DeleteProgram, (GLuint program))                                                                         \
    X(GLint, GetUniformLocation, (GLuint program, const GLchar* name))                                               \
    X(void, Uniform1i, (GLint location, GLint v0))                                                                   \
    X(void, UniformMatrix4fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat* value))            \
    X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count))                                                   \
    X(void, DrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices))

// Entry points that only some contexts have: vertex array objects (required by core profiles),
// the indexed extension query and framebuffer objects (GL 3.0+, or ARB_framebuffer_object). Null
// when the driver lacks them; a non-null one may still be unsupported by the context.
#define QRV_GL_OPTIONAL_FUNCTIONS(X)                                                                                 \
    X(void, GenVertexArrays, (GLsizei n, GLuint * arrays))                                                           \
    X(void, DeleteVertexArrays, (GLsizei n, const GLuint* arrays))                                                   \
    X(void, BindVertexArray, (GLuint array))                                                                         \
    X(const GLubyte*, GetStringi, (GLenum name, GLuint index))                                                       \
    X(void, GenFramebuffers, (GLsizei n, GLuint * framebuffers))                                                     \
    X(void, DeleteFramebuffers, (GLsizei n, const GLuint* framebuffers))                                             \
    X(void, BindFramebuffer, (GLenum target, GLuint framebuffer))                                                    \
    X(void, FramebufferTexture2D, (GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level)) \
    X(GLenum, CheckFramebufferStatus, (GLenum target))

struct GlFunctions {
#define QRV_GL_DECLARE(ret, name, args) ret(APIENTRY* name) args = nullptr;
    QRV_GL_REQUIRED_FUNCTIONS(QRV_GL_DECLARE)
    QRV_GL_OPTIONAL_FUNCTIONS(QRV_GL_DECLARE)
#undef QRV_GL_DECLARE

    // Fetches every entry point for the current context. False when a required one is missing;
    // missingName then names the first of them.
    bool Load(const char** missingName = nullptr);
};

}  // namespace QRV::Platform
