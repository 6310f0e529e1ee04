#include "engine/gui/gui_label.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/core/trace_hook.h"
#include "engine/core/value_types.h"
#include "engine/graphics/named_texture.h"
#include "engine/resources/resource_loaders.h"

namespace QRV {

JC_GUI_WLABEL::JC_GUI_WLABEL(int32_t id, const std::string& fontName, const std::string& fontTextureName,
                             const std::wstring& text)
    : JC_GUI_OBJECT(id), text(text), fontName(fontName), fontTextureName(fontTextureName) {
    kind = GUI_KIND::WLabel;
    textObject.anchor = 4;
    textObject.texture = NoTexture();
    textObject.transform.parent = transform;
}

JC_GUI_WLABEL::~JC_GUI_WLABEL() { ReleaseResources(); }

void JC_GUI_WLABEL::Reserve(size_t characters) {
    if (characters > textObject.Capacity()) textObject.Reserve(static_cast<uint32_t>(characters));
}

void JC_GUI_WLABEL::SetText(const std::string& utf8) {
    text = Utf8ToWide(utf8);
    // A character takes at least one byte.
    Reserve(utf8.size());
}

void JC_GUI_WLABEL::SetText(const std::wstring& wide) {
    text = wide;
    Reserve(wide.size());
}

void JC_GUI_WLABEL::Draw() {
    if (visible == 0 || loaded == 0) return;
    Reserve(text.size());
    if (GetTraceHook() != nullptr && !text.empty() && (!traced || tracedText != text)) {
        traced = true;
        tracedText = text;
        ReportTrace(TraceReport::DrawnText, WideToUtf8(text));
    }
    textObject.DrawText(0.0f, 0.0f, text);
}

void JC_GUI_WLABEL::RestoreResources() {
    if (loaded != 0) {
        if (!IsRealTexture(textObject.texture)) {
            JS_TEXTURE* texture = AcquireNamedTexture(fontTextureName);
            if (texture != nullptr) textObject.texture = texture;
        }
        return;
    }
    JS_TEXTURE* texture = AcquireNamedTexture(fontTextureName);
    const pugi::xml_document* description = AcquireXmlResource(fontName);
    // Loading starts afresh; what the layout set on the text object stays.
    const uint32_t color = textObject.color;
    const int32_t anchor = textObject.anchor;
    if (description != nullptr && textObject.Load(description, texture, static_cast<uint32_t>(text.size() + 1))) {
        loaded = 1;
        textObject.sourceName = fontName;
        if (lineHeight != 0) textObject.lineHeight = lineHeight;
    } else {
        // Unloaded, the label holds no texture.
        ReleaseNamedTexture(texture);
        textObject.texture = NoTexture();
    }
    textObject.color = color;
    textObject.anchor = anchor;
    if (description != nullptr) ReleaseXml(description);
}

void JC_GUI_WLABEL::ReleaseResources() {
    ReleaseNamedTexture(textObject.texture);
    textObject.texture = NoTexture();
}

void JC_GUI_WLABEL::SetAlpha(float a) {
    JS_COLORf color = JS_COLORf::FromARGB(textObject.color);
    color.a = a;
    textObject.color = color.ToARGB();
}

}  // namespace QRV
