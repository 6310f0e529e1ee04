#include "game/screens/window_trophy_get.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/core/format_wide_checked.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/resources/string_table.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/trophy.h"
#include "game/screens/pausing_windows.h"
#include "game/screens/trophy_item.h"

namespace {

// The bonus text is cut to this many characters.
constexpr size_t kBonusCapacity = 200;

// The level as the game root runs it; nothing without a root.
class RootLevel : public gcTrophyGetLevel {
public:
    bool IsLevelRunning() const override {
        gcGame* game = Root();
        return game != nullptr && game->Gameplay().IsRunning();
    }
    void Command(const std::string& command) override {
        if (gcGame* game = Root()) game->ExecuteCommand(command);
    }

private:
    static gcGame* Root() {
        gcContext* context = gcGlobal::Instance().GetContext();
        return context != nullptr ? context->game.get() : nullptr;
    }
};

gcTrophyGetLevel& DefaultLevel() {
    static RootLevel root;
    return root;
}

std::wstring Localised(const std::string& key) {
    const gcContext* context = gcGlobal::Instance().GetContext();
    return context != nullptr ? context->stringTable.GetWide(key) : QRV::Utf8ToWide(key);
}

}  // namespace

void gcWindow_TrophyGet::AddPendingTrophy(QRV::G_TROPHY* trophy) {
    if (trophy != nullptr) pending.push_back(trophy);
}

void gcWindow_TrophyGet::LoadSettings(const pugi::xml_node& settings) {
    const gcContext* context = gcGlobal::Instance().GetContext();
    const QRV::JCFontCatalogue* catalogue = context != nullptr ? &context->fonts : nullptr;
    const FontSetting fonts[] = {{&titleFont, &titleX, &titleY}, {&descriptionFont, &descriptionX, &descriptionY}};
    const char* names[] = {"fontTitle", "fontDescription"};
    for (size_t i = 0; i < 2; ++i) {
        const pugi::xml_node element = settings.child(names[i]);
        if (!element) continue;
        fonts[i].font->Load(element, catalogue);
        QRV::ParseVector2(element.attribute("shift").as_string(), *fonts[i].x, *fonts[i].y);
    }
}

void gcWindow_TrophyGet::ResolveFont(QRV::JCFontRef& font) {
    if (font.font != nullptr || font.fontName.empty()) return;
    if (const gcContext* context = gcGlobal::Instance().GetContext()) font.font = context->fonts.Find(font.fontName);
}

void gcWindow_TrophyGet::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) {
    if (rootObject == nullptr) return;
    medal = dynamic_cast<QRV::JC_GUI_IMAGE*>(rootObject->FindChildById(kMedalImage));
    bonusLabel = dynamic_cast<QRV::JC_GUI_WLABEL*>(rootObject->FindChildById(kBonusLabel));
}

void gcWindow_TrophyGet::OnShowBegin() {
    pausedByShow = false;
    contentDue = false;
    if (pending.empty()) return;
    // The trophy is taken at the first frame: the queue shows this window at once when the first
    // of several trophies of one check is announced, and the last one awarded must come first.
    contentDue = true;
    // In the menus the pause is ignored.
    (level != nullptr ? *level : DefaultLevel()).Command("gameplay::pause");
    pausedByShow = true;
}

void gcWindow_TrophyGet::OnUpdate() {
    if (contentDue) ShowNewestTrophy();
}

void gcWindow_TrophyGet::ShowNewestTrophy() {
    contentDue = false;
    if (pending.empty()) return;
    const QRV::G_TROPHY* trophy = pending.back();
    pending.pop_back();
    title = Localised(trophy->name);
    description = Localised(trophy->desc);
    CopyPictureInto(medal, trophy->openPicture);
    if (bonusLabel != nullptr) {
        if (!formatTaken) {
            bonusFormat = bonusLabel->GetText();
            formatTaken = true;
        }
        bonusLabel->SetText(QRV::FormatWideChecked(bonusFormat, {trophy->bonus}, kBonusCapacity));
    }
    ResolveFont(titleFont);
    ResolveFont(descriptionFont);
}

void gcWindow_TrophyGet::OnAfterDraw() {
    titleFont.DrawText(windowTransform, titleX, titleY, title);
    descriptionFont.DrawText(windowTransform, descriptionX, descriptionY, description);
}

void gcWindow_TrophyGet::OnButton(int32_t id) {
    if (id == kCloseButton) Hide(false);
}

void gcWindow_TrophyGet::OnHidden() {
    const bool paused = pausedByShow;
    pausedByShow = false;
    gcTrophyGetLevel& target = level != nullptr ? *level : DefaultLevel();
    if (!paused || !target.IsLevelRunning()) return;
    if (manager != nullptr && OtherPausingWindowShown(*manager, this)) return;
    target.Command("gameplay::resume");
}
