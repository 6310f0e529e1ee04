// What the sprite and animation readers link against but never reach while they only read a
// description: no renderer, no input, no repositories. The globals stay null (a sprite then keeps
// no texture); a function that is reached anyway aborts, so the fuzzer reports it.
#include <cstdlib>

#include "engine/graphics/render.h"
#include "engine/graphics/texture_resource.h"
#include "engine/platform/input.h"
#include "engine/resources/repository_manager.h"

namespace QRV {

JC_RENDER* g_render = nullptr;
JC_INPUT* g_input = nullptr;
JC_REPOSITORY_MANAGER* g_repositoryManager = nullptr;

void JC_RENDER::DrawTriangles(const JS_VERTEX*, JS_TEXTURE*, uint32_t, uint32_t, const uint16_t*, uint32_t) {
    std::abort();
}
void JC_RENDER::DrawQuad(const JS_VERTEX*, JS_TEXTURE*, uint32_t) { std::abort(); }
void JC_RENDER::DrawQuadRows(const JS_VERTEX*, JS_TEXTURE*, uint32_t, JS_MATRIX_ROW, JS_MATRIX_ROW, JS_MATRIX_ROW,
                             JS_MATRIX_ROW) {
    std::abort();
}
JS_RESOURCE* JC_REPOSITORY_MANAGER::GetResource(const std::string&) { std::abort(); }
JS_TEXTURE* GetResourceTexture(JS_RESOURCE*) { std::abort(); }
bool ReleaseTexture(const JS_TEXTURE*) { std::abort(); }

}  // namespace QRV
