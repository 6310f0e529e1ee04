#include "engine/platform/gl_device.h"

#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace QRV::Platform {

namespace {

// Attribute slots shared by both shader versions.
constexpr GLuint kPositionSlot = 0;
constexpr GLuint kColorSlot = 1;
constexpr GLuint kUvSlot = 2;

// The colour arrives as the bytes B, G, R, A of the ARGB word; .bgra puts them back in order.
// (GL_BGRA as an attribute size needs 3.2, so the swizzle keeps 2.1 working with one layout.)
constexpr const char* kVertexShader330 = R"(#version 330 core
in vec3 a_position;
in vec4 a_color;
in vec2 a_uv;
uniform mat4 u_transform;
out vec4 v_color;
out vec2 v_uv;
void main() {
    gl_Position = u_transform * vec4(a_position, 1.0);
    v_color = a_color.bgra;
    v_uv = a_uv;
}
)";

constexpr const char* kFragmentShader330 = R"(#version 330 core
in vec4 v_color;
in vec2 v_uv;
uniform sampler2D u_texture;
out vec4 o_color;
void main() {
    o_color = texture(u_texture, v_uv) * v_color;
}
)";

constexpr const char* kVertexShader120 = R"(#version 120
attribute vec3 a_position;
attribute vec4 a_color;
attribute vec2 a_uv;
uniform mat4 u_transform;
varying vec4 v_color;
varying vec2 v_uv;
void main() {
    gl_Position = u_transform * vec4(a_position, 1.0);
    v_color = a_color.bgra;
    v_uv = a_uv;
}
)";

constexpr const char* kFragmentShader120 = R"(#version 120
varying vec4 v_color;
varying vec2 v_uv;
uniform sampler2D u_texture;
void main() {
    gl_FragColor = texture2D(u_texture, v_uv) * v_color;
}
)";

GLenum PrimitiveMode(PrimitiveType type) {
    switch (type) {
        case PrimitiveType::Points: return GL_POINTS;
        case PrimitiveType::Lines: return GL_LINES;
        case PrimitiveType::Triangles: break;
    }
    return GL_TRIANGLES;
}

uint32_t VerticesPerPrimitive(PrimitiveType type) {
    switch (type) {
        case PrimitiveType::Points: return 1;
        case PrimitiveType::Lines: return 2;
        case PrimitiveType::Triangles: break;
    }
    return 3;
}

// CreateTexture makes one level per texture (no mipmaps).
constexpr uint32_t kTextureLevels = 1;

GLint AddressWrap(AddressMode mode) { return mode == AddressMode::Wrap ? GL_REPEAT : GL_CLAMP_TO_EDGE; }

bool HasExtensionToken(const char* list, const char* name) {
    if (list == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) return true;
    }
    return false;
}

}  // namespace

float AnisotropyFor(TextureFilter filter, uint32_t levels, float deviceMaximum) {
    return filter == TextureFilter::Anisotropic && levels > 1 ? std::max(1.0f, deviceMaximum) : 1.0f;
}

GlRenderDevice::GlRenderDevice(SDL_Window* window)
    : window(window), vertices(kVertexCapacity), indices(kIndexCapacity) {}

GlRenderDevice::~GlRenderDevice() {
    // Deleting the context frees every object made in it; the window may already be gone, so
    // no GL call is made here.
    if (context != nullptr) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

bool GlRenderDevice::MakeContext() {
    struct Attempt {
        int major;
        int minor;
        int profile;
        int version;
    };
    // Prefer a 3.3 core context; drivers without one still give a 2.1 (compatibility) context.
    const Attempt attempts[] = {
        {3, 3, SDL_GL_CONTEXT_PROFILE_CORE, 33},
        {2, 1, 0, 21},
    };
    std::string errors;
    for (const Attempt& attempt : attempts) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, attempt.major);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, attempt.minor);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, attempt.profile);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
        SDL_GLContext made = SDL_GL_CreateContext(window);
        if (made != nullptr) {
            context = made;
            contextVersion = attempt.version;
            return true;
        }
        errors += std::string(" [") + std::to_string(attempt.major) + "." + std::to_string(attempt.minor) + ": " +
                  SDL_GetError() + "]";
    }
    std::fprintf(stderr, "OpenGL: no context could be made on the window:%s\n", errors.c_str());
    return false;
}

bool GlRenderDevice::Create(const PresentParams& params) {
    if (context != nullptr) return Reset(params);
    if (window == nullptr) {
        std::fprintf(stderr, "OpenGL: no window to draw on\n");
        return false;
    }
    if (!MakeContext()) return false;
    if (SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context)) != 0) {
        std::fprintf(stderr, "OpenGL: the context cannot be made current: %s\n", SDL_GetError());
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
        context = nullptr;
        contextVersion = 0;
        return false;
    }
    const char* missing = nullptr;
    if (!gl.Load(&missing) || !BuildProgram() || !BuildBuffers()) {
        if (missing != nullptr) std::fprintf(stderr, "OpenGL: the driver lacks %s\n", missing);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
        context = nullptr;
        contextVersion = 0;
        gl = GlFunctions{};
        program = vertexArray = vertexBuffer = indexBuffer = whiteTexture = 0;
        return false;
    }
    // Vsync where the driver offers it; without it the engine's caps still pace the frames.
    SDL_GL_SetSwapInterval(1);
    QueryAnisotropy();
    GLint maxSize = 0;
    gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxTextureSide.store(maxSize > 0 ? static_cast<uint32_t>(maxSize) : 0);
    framebuffers = QueryFramebuffers();
    targets.clear();
    boundTarget = 0;

    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl.Disable(GL_CULL_FACE);  // quads come in either winding
    gl.Disable(GL_DEPTH_TEST);
    gl.DepthFunc(GL_LEQUAL);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    gl.ActiveTexture(GL_TEXTURE0);
    gl.BindTexture(GL_TEXTURE_2D, whiteTexture);
    boundTexture = whiteTexture;
    sampling = Sampling{};
    transformDirty = true;

    drawableWidth = drawableHeight = 0;
    UpdateViewport();
    return true;
}

bool GlRenderDevice::BuildProgram() {
    const bool core = contextVersion >= 33;
    const char* sources[2] = {core ? kVertexShader330 : kVertexShader120,
                              core ? kFragmentShader330 : kFragmentShader120};
    const GLenum kinds[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
    GLuint shaders[2] = {0, 0};
    bool ok = true;
    for (int i = 0; i < 2 && ok; ++i) {
        shaders[i] = gl.CreateShader(kinds[i]);
        gl.ShaderSource(shaders[i], 1, &sources[i], nullptr);
        gl.CompileShader(shaders[i]);
        GLint compiled = GL_FALSE;
        gl.GetShaderiv(shaders[i], GL_COMPILE_STATUS, &compiled);
        if (compiled != GL_TRUE) {
            char log[1024] = {};
            gl.GetShaderInfoLog(shaders[i], sizeof(log), nullptr, log);
            std::fprintf(stderr, "OpenGL: shader compile failed: %s\n", log);
            ok = false;
        }
    }
    if (ok) {
        program = gl.CreateProgram();
        gl.AttachShader(program, shaders[0]);
        gl.AttachShader(program, shaders[1]);
        gl.BindAttribLocation(program, kPositionSlot, "a_position");
        gl.BindAttribLocation(program, kColorSlot, "a_color");
        gl.BindAttribLocation(program, kUvSlot, "a_uv");
        gl.LinkProgram(program);
        GLint linked = GL_FALSE;
        gl.GetProgramiv(program, GL_LINK_STATUS, &linked);
        if (linked != GL_TRUE) {
            char log[1024] = {};
            gl.GetProgramInfoLog(program, sizeof(log), nullptr, log);
            std::fprintf(stderr, "OpenGL: shader link failed: %s\n", log);
            ok = false;
        }
    }
    for (GLuint shader : shaders) {
        if (shader != 0) gl.DeleteShader(shader);  // the program keeps them while attached
    }
    if (!ok) return false;

    gl.UseProgram(program);
    transformLocation = gl.GetUniformLocation(program, "u_transform");
    gl.Uniform1i(gl.GetUniformLocation(program, "u_texture"), 0);
    return transformLocation >= 0;
}

bool GlRenderDevice::BuildBuffers() {
    // Core profiles draw only through a vertex array object; 2.1 uses the global attribute state.
    if (contextVersion >= 33) {
        if (gl.GenVertexArrays == nullptr || gl.BindVertexArray == nullptr) {
            std::fprintf(stderr, "OpenGL: the driver lacks vertex array objects\n");
            return false;
        }
        gl.GenVertexArrays(1, &vertexArray);
        gl.BindVertexArray(vertexArray);
    }
    gl.GenBuffers(1, &vertexBuffer);
    gl.GenBuffers(1, &indexBuffer);
    gl.BindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    gl.BufferData(GL_ARRAY_BUFFER, sizeof(JS_VERTEX) * kVertexCapacity, nullptr, GL_STREAM_DRAW);
    gl.BufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(uint16_t) * kIndexCapacity, nullptr, GL_STREAM_DRAW);

    const GLsizei stride = sizeof(JS_VERTEX);
    gl.EnableVertexAttribArray(kPositionSlot);
    gl.VertexAttribPointer(kPositionSlot, 3, GL_FLOAT, GL_FALSE, stride,
                           reinterpret_cast<const void*>(offsetof(JS_VERTEX, x)));
    gl.EnableVertexAttribArray(kColorSlot);
    gl.VertexAttribPointer(kColorSlot, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                           reinterpret_cast<const void*>(offsetof(JS_VERTEX, color)));
    gl.EnableVertexAttribArray(kUvSlot);
    gl.VertexAttribPointer(kUvSlot, 2, GL_FLOAT, GL_FALSE, stride,
                           reinterpret_cast<const void*>(offsetof(JS_VERTEX, u)));

    // "No texture" samples this single white texel, so the shader needs no branch.
    const uint8_t white[4] = {255, 255, 255, 255};
    gl.GenTextures(1, &whiteTexture);
    gl.BindTexture(GL_TEXTURE_2D, whiteTexture);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    return gl.GetError() == GL_NO_ERROR;
}

bool GlRenderDevice::HasExtension(const char* name) {
    if (contextVersion >= 33 && gl.GetStringi != nullptr) {
        GLint count = 0;
        gl.GetIntegerv(GL_NUM_EXTENSIONS, &count);
        for (GLint i = 0; i < count; ++i) {
            const char* listed = reinterpret_cast<const char*>(gl.GetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
            if (listed != nullptr && std::strcmp(listed, name) == 0) return true;
        }
        return false;
    }
    return HasExtensionToken(reinterpret_cast<const char*>(gl.GetString(GL_EXTENSIONS)), name);
}

void GlRenderDevice::QueryAnisotropy() {
    const bool found =
        HasExtension("GL_EXT_texture_filter_anisotropic") || HasExtension("GL_ARB_texture_filter_anisotropic");
    anisotropyMax = 1.0f;
    if (found) {
        GLfloat value = 1.0f;
        gl.GetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &value);
        anisotropyMax = std::max(1.0f, value);
    }
    gl.GetError();  // a driver that names the extension but rejects the query leaves it at 1
}

bool GlRenderDevice::QueryFramebuffers() {
    // The entry points may resolve even where the context does not support them: the version or
    // the extension decides.
    const bool loaded = gl.GenFramebuffers != nullptr && gl.DeleteFramebuffers != nullptr &&
                        gl.BindFramebuffer != nullptr && gl.FramebufferTexture2D != nullptr &&
                        gl.CheckFramebufferStatus != nullptr;
    return loaded && (contextVersion >= 33 || HasExtension("GL_ARB_framebuffer_object"));
}

bool GlRenderDevice::Reset(const PresentParams&) {
    if (context == nullptr) return false;
    // The back buffer is the window's drawable: after a mode change only the viewport follows.
    drawableWidth = drawableHeight = 0;
    UpdateViewport();
    return true;
}

DeviceStatus GlRenderDevice::TestCooperativeLevel() {
    return DeviceStatus::Ok;  // a GL context is never lost
}

void GlRenderDevice::GetBackBufferSize(int32_t& width, int32_t& height) const {
    width = height = 0;
    if (window == nullptr) return;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    width = w;
    height = h;
}

void GlRenderDevice::UpdateViewport() {
    if (boundTarget != 0) return;  // a target's viewport is the whole target
    int32_t w = 0, h = 0;
    GetBackBufferSize(w, h);
    if (w == drawableWidth && h == drawableHeight) return;
    drawableWidth = w;
    drawableHeight = h;
    // The whole drawable: the letterbox comes from the projection, so art drawn outside the
    // logical screen still shows in the bars.
    gl.Viewport(0, 0, w, h);
}

bool GlRenderDevice::BeginScene() {
    if (context == nullptr) return false;
    // The window system may finish a size change after the reset; follow it here as well.
    UpdateViewport();
    return true;
}

bool GlRenderDevice::Clear(uint32_t argb) {
    if (context == nullptr) return false;
    const float a = static_cast<float>((argb >> 24) & 0xFF) / 255.0f;
    const float r = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    const float g = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    const float b = static_cast<float>(argb & 0xFF) / 255.0f;
    gl.ClearColor(r, g, b, a);
    // The window has no depth or stencil buffer (nothing reads them): colour is all there is.
    gl.Clear(GL_COLOR_BUFFER_BIT);
    return true;
}

void GlRenderDevice::EndScene() {}

void GlRenderDevice::Present() {
    if (context != nullptr) SDL_GL_SwapWindow(window);
}

JS_VERTEX* GlRenderDevice::LockVertices(uint32_t first, uint32_t count, LockMode) {
    // The staging array is re-uploaded at each draw, so both lock modes simply hand out memory.
    if (first > kVertexCapacity || count > kVertexCapacity - first) return nullptr;
    return vertices.data() + first;
}

void GlRenderDevice::UnlockVertices() {}

uint16_t* GlRenderDevice::LockIndices(uint32_t first, uint32_t count, LockMode) {
    if (first > kIndexCapacity || count > kIndexCapacity - first) return nullptr;
    return indices.data() + first;
}

void GlRenderDevice::UnlockIndices() {}

void GlRenderDevice::PrepareDraw(uint32_t vertexCount) {
    if (transformDirty) {
        // Row vectors: clip = p * World * View * Projection, then z from the projection's 0..w to
        // GL's -w..w (z' = 2z - w) so that the near and far planes clip in the same place.
        // A target's texture is read with v = 0 as its top row, while GL writes a framebuffer's
        // rows bottom-up: drawing into a target turns y over, so the top lands in row 0.
        Matrix4 depthRemap = Matrix4::Identity();
        depthRemap.m[2][2] = 2.0f;
        depthRemap.m[3][2] = -1.0f;
        if (boundTarget != 0) depthRemap.m[1][1] = -1.0f;
        const Matrix4 clip = Matrix4::Product(Matrix4::Product(Matrix4::Product(world, view), projection), depthRemap);
        // Uploaded as stored, the row-major matrix reads as its transpose in GLSL, so
        // M' * v equals the row-vector product v * M.
        gl.UniformMatrix4fv(transformLocation, 1, GL_FALSE, &clip.m[0][0]);
        transformDirty = false;
    }
    ApplySampling(boundTexture);
    gl.BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(JS_VERTEX) * vertexCount), vertices.data(),
                  GL_STREAM_DRAW);
}

void GlRenderDevice::DrawPrimitive(PrimitiveType type, uint32_t primitiveCount) {
    if (context == nullptr || primitiveCount == 0) return;
    const uint32_t perPrimitive = VerticesPerPrimitive(type);
    if (primitiveCount > kVertexCapacity / perPrimitive) return;  // more than the buffer holds
    const uint32_t vertexCount = primitiveCount * perPrimitive;
    PrepareDraw(vertexCount);
    gl.DrawArrays(PrimitiveMode(type), 0, static_cast<GLsizei>(vertexCount));
}

void GlRenderDevice::DrawIndexedPrimitive(PrimitiveType type, uint32_t vertexCount, uint32_t primitiveCount) {
    if (context == nullptr || primitiveCount == 0) return;
    const uint32_t perPrimitive = VerticesPerPrimitive(type);
    if (primitiveCount > kIndexCapacity / perPrimitive || vertexCount > kVertexCapacity) return;
    const uint32_t indexCount = primitiveCount * perPrimitive;
    // Upload every vertex the indices reach, so that no draw reads past the uploaded data; an
    // index beyond the buffer is a caller fault and the draw is dropped.
    const uint16_t highest = *std::max_element(indices.begin(), indices.begin() + indexCount);
    if (highest >= kVertexCapacity) return;
    PrepareDraw(std::max<uint32_t>(vertexCount, static_cast<uint32_t>(highest) + 1));
    gl.BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(uint16_t) * indexCount), indices.data(),
                  GL_STREAM_DRAW);
    gl.DrawElements(PrimitiveMode(type), static_cast<GLsizei>(indexCount), GL_UNSIGNED_SHORT, nullptr);
}

void GlRenderDevice::SetBlendEnabled(bool enabled) {
    if (context == nullptr) return;
    if (enabled) {
        gl.Enable(GL_BLEND);
    } else {
        gl.Disable(GL_BLEND);
    }
}

void GlRenderDevice::SetBlendFunc(BlendFactor dest) {
    if (context == nullptr) return;
    gl.BlendFunc(GL_SRC_ALPHA, dest == BlendFactor::One ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

void GlRenderDevice::SetTextureFilter(TextureFilter filter) { sampling.filter = filter; }

void GlRenderDevice::SetAddressing(AddressMode u, AddressMode v) {
    sampling.u = u;
    sampling.v = v;
}

void GlRenderDevice::SetDepthTest(bool enabled) {
    if (context == nullptr) return;
    if (enabled) {
        gl.Enable(GL_DEPTH_TEST);
    } else {
        gl.Disable(GL_DEPTH_TEST);
    }
}

// Nothing is lit and nothing is multisampled, so these two states have no effect.
void GlRenderDevice::SetLighting(bool) {}
void GlRenderDevice::SetAntialias(bool) {}

void GlRenderDevice::SetTransform(TransformKind kind, const Matrix4& matrix) {
    switch (kind) {
        case TransformKind::World: world = matrix; break;
        case TransformKind::View: view = matrix; break;
        case TransformKind::Projection: projection = matrix; break;
    }
    transformDirty = true;
}

void GlRenderDevice::ApplySampling(uint32_t texture) {
    auto found = textures.find(texture);
    if (found == textures.end() || found->second == sampling) return;  // white texel: no need
    const GLint filter = sampling.filter == TextureFilter::Point ? GL_NEAREST : GL_LINEAR;
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    if (SupportsAnisotropy()) {
        // Every texture here has one level: anisotropy only blurs a picture drawn about 1:1.
        gl.TexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                         AnisotropyFor(sampling.filter, kTextureLevels, anisotropyMax));
    }
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, AddressWrap(sampling.u));
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, AddressWrap(sampling.v));
    found->second = sampling;
}

uint32_t GlRenderDevice::CreateTexture(uint32_t width, uint32_t height, const uint8_t* rgba) {
    return MakeTexture(width, height, rgba, false);
}

uint32_t GlRenderDevice::CreateAlphaTexture(uint32_t width, uint32_t height, const uint8_t* alpha) {
    // One red channel read as white with the red as alpha: texture swizzles are core from 3.3.
    if (contextVersion < 33) return IRenderDevice::CreateAlphaTexture(width, height, alpha);
    return MakeTexture(width, height, alpha, true);
}

uint32_t GlRenderDevice::MakeTexture(uint32_t width, uint32_t height, const uint8_t* pixels, bool alphaOnly) {
    if (context == nullptr || width == 0 || height == 0) return 0;
    GLint maxSize = 0;
    gl.GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width > static_cast<uint32_t>(maxSize) || height > static_cast<uint32_t>(maxSize)) {
        std::fprintf(stderr, "OpenGL: a %ux%u texture exceeds the limit of %d\n", width, height, maxSize);
        return 0;
    }
    const size_t texelBytes = alphaOnly ? 1 : 4;
    // A blank texture starts transparent rather than with whatever the driver left there.
    std::vector<uint8_t> blank;
    if (pixels == nullptr) {
        blank.assign(static_cast<size_t>(width) * height * texelBytes, 0);
        pixels = blank.data();
    }
    for (int i = 0; i < 16 && gl.GetError() != GL_NO_ERROR; ++i) {}

    GLuint name = 0;
    gl.GenTextures(1, &name);
    gl.BindTexture(GL_TEXTURE_2D, name);
    // One level, rows top-down as given: v = 0 is the image's first row.
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (alphaOnly) {
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_R, GL_ONE);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_G, GL_ONE);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_B, GL_ONE);
        gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_RED);
        gl.TexImage2D(GL_TEXTURE_2D, 0, GL_R8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_RED,
                      GL_UNSIGNED_BYTE, pixels);
    } else {
        gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                      GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }
    const GLenum error = gl.GetError();
    if (error != GL_NO_ERROR) {
        std::fprintf(stderr, "OpenGL: texture upload failed (0x%x)\n", error);
        gl.DeleteTextures(1, &name);
        gl.BindTexture(GL_TEXTURE_2D, boundTexture);
        return 0;
    }
    // Point sampling, clamped: what the parameters above set.
    textures[name] = Sampling{};
    gl.BindTexture(GL_TEXTURE_2D, boundTexture);
    return name;
}

void GlRenderDevice::DestroyTexture(uint32_t handle) {
    // Only textures made here; 0, the white texel, unknown names and the textures of render
    // targets (they go with their target) are left alone.
    if (context == nullptr) return;
    for (const auto& [framebuffer, target] : targets) {
        if (target.texture == handle) return;
    }
    if (textures.erase(handle) == 0) return;
    const GLuint name = handle;
    gl.DeleteTextures(1, &name);
    if (boundTexture == handle) {
        gl.BindTexture(GL_TEXTURE_2D, whiteTexture);
        boundTexture = whiteTexture;
    }
}

void GlRenderDevice::BindTexture(uint32_t handle) {
    if (context == nullptr) return;
    const uint32_t name = textures.count(handle) != 0 ? handle : whiteTexture;
    if (name == boundTexture) return;
    gl.BindTexture(GL_TEXTURE_2D, name);
    boundTexture = name;
}

RenderTargetHandles GlRenderDevice::CreateRenderTarget(uint32_t width, uint32_t height) {
    if (context == nullptr || !framebuffers) return {};
    const uint32_t texture = CreateTexture(width, height, nullptr);  // transparent, point, clamped
    if (texture == 0) return {};

    GLuint framebuffer = 0;
    gl.GenFramebuffers(1, &framebuffer);
    gl.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    const GLenum status = gl.CheckFramebufferStatus(GL_FRAMEBUFFER);
    gl.BindFramebuffer(GL_FRAMEBUFFER, boundTarget);
    if (status != GL_FRAMEBUFFER_COMPLETE || framebuffer == 0) {
        std::fprintf(stderr, "OpenGL: a %ux%u render target cannot be made (0x%x)\n", width, height, status);
        if (framebuffer != 0) gl.DeleteFramebuffers(1, &framebuffer);
        DestroyTexture(texture);
        return {};
    }
    targets[framebuffer] = Target{texture, static_cast<int32_t>(width), static_cast<int32_t>(height)};
    return {framebuffer, texture};
}

void GlRenderDevice::BindFramebuffer(uint32_t target) {
    gl.BindFramebuffer(GL_FRAMEBUFFER, target);
    boundTarget = target;
    transformDirty = true;  // y turns over in a target
    if (target != 0) {
        const Target& bound = targets.at(target);
        gl.Viewport(0, 0, bound.width, bound.height);
    } else {
        // Back on the window: its whole drawable again, whatever size it has now.
        drawableWidth = drawableHeight = -1;
        UpdateViewport();
    }
}

bool GlRenderDevice::SetRenderTarget(uint32_t target) {
    if (context == nullptr || (target != 0 && targets.count(target) == 0)) return false;
    if (target != boundTarget) BindFramebuffer(target);
    return true;
}

void GlRenderDevice::DestroyRenderTarget(uint32_t target) {
    auto found = targets.find(target);
    if (context == nullptr || found == targets.end()) return;
    if (boundTarget == target) BindFramebuffer(0);
    const uint32_t texture = found->second.texture;
    targets.erase(found);
    const GLuint framebuffer = target;
    gl.DeleteFramebuffers(1, &framebuffer);
    DestroyTexture(texture);
}

}  // namespace QRV::Platform
