#include "tools/content_builder/game_cursor.h"

#include <array>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/widget_paint.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {

TextureImage DrawGameCursor() {
    const Theme::GameCursorTheme& t = Theme::kGameCursor;
    std::array<Point, std::tuple_size_v<decltype(t.arrow)>> arrow{};
    const float inset = t.outline + t.tipInset;
    for (size_t i = 0; i < arrow.size(); ++i) arrow[i] = {t.arrow[i].x + inset, t.arrow[i].y + inset};
    const Shape body = [&](float x, float y) { return PolygonDistance(x, y, arrow); };
    const Shape outlined = [&](float x, float y) { return body(x, y) - t.outline; };

    Canvas canvas(t.side, t.side);
    PaintDropShadow(canvas, outlined, t.shadow);
    canvas.FillShape(outlined, t.edge, 1.0f);
    canvas.FillShape(body, t.body, 1.0f);
    return ToTexture(canvas);
}

std::string GameCursorXml() {
    const Theme::GameCursorTheme& t = Theme::kGameCursor;
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<!-- The game cursor, drawn with its upper-left corner at the pointer. Made by the content builder. "
           "-->\n<cursor>\n  <file>" +
           XmlEscape(ResourceKey(t.folder, t.file)) + "</file>\n</cursor>\n";
}

void BuildGameCursor(OutputTree& out) {
    const Theme::GameCursorTheme& t = Theme::kGameCursor;
    out.Write(RunPath(t.folder, t.file), EncodeTexture(DrawGameCursor()));
    out.Write(RunPath(Theme::kCatalogueFolder, Theme::kGameCursorDescription), GameCursorXml());
}

}  // namespace ContentBuilder
