#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/graphics/sprite.h"
#include "game/app/global.h"

void gcGlobal::ApplyDisplayMode() {
    const int32_t desktopWidth = QRV::g_app->desktopWidth;
    const int32_t desktopHeight = QRV::g_app->desktopHeight;
    if (Game::DesktopForcesFullscreen(desktopWidth, desktopHeight)) SetFullscreenSetting(true);
    QRV::Engine::SetDisplayMode(Game::kLogicalWidth, Game::kLogicalHeight, UserInt("fullscreen") != 0 ? 1 : 0,
                                QRV::g_app->stretch);
    layout = Game::ClassifyDesktop(layout, desktopWidth, desktopHeight);
}

void gcGlobal::DrawBorders() {
    if (borderTile == nullptr || borderLine == nullptr) return;
    if (!Game::BordersShown(UserInt("fullscreen"), GetPlatformLetter())) return;
    const QRV::JS_TEXTURE* lineTexture = borderLine->texture;
    const float lineWidth = lineTexture != nullptr ? static_cast<float>(lineTexture->width) : 0.0f;
    const float lineHeight = lineTexture != nullptr ? static_cast<float>(lineTexture->height) : 0.0f;
    for (const Game::BorderDraw& draw :
         Game::BorderDraws(layout, QRV::g_app->desktopWidth, QRV::g_app->desktopHeight, lineWidth, lineHeight)) {
        QRV::G_SPRITE& sprite = draw.piece == Game::BorderPiece::Tile ? *borderTile : *borderLine;
        sprite.hotSpot = draw.hotSpot;
        sprite.SetSize(draw.width, draw.height);
        sprite.FitUVsToQuad();
        QRV::JS_TRANSFORM3& place = *sprite.transform;
        place.positionX = draw.x;
        place.positionY = draw.y;
        place.rotationZ = 0.0f;
        place.scaleX = 1.0f;
        place.scaleY = 1.0f;
        sprite.Draw();
    }
}
