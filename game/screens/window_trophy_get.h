#pragma once
// The trophy announcement ("Trophy_Get", type "GG_WINDOW_TROPHY_GET"). The game root appends each
// awarded trophy to the pending list and queues the window once per trophy; every show takes the
// most recently added trophy off the list: its name and description drawn with the window's two
// fonts, its open medal in image 2 and its bonus in label 3 (the label's first text is kept as the
// format, one integer).
//
// The trophy is taken at the window's first frame, so that of several trophies awarded by one check
// the last one comes first even though the queue shows the window when the first is announced.
// A show that takes a trophy pauses a running level; when the window has hidden, the level resumes
// only after such a show and only while no other pausing window is shown (pausing_windows.h). A
// show with nothing pending keeps the previous content and pauses nothing.
//
// Window XML: "settings" children "fontTitle" and "fontDescription", each a font reference
// ("fntName", "fntColor", "fntHotSpot") with "shift" ("x y", from the window's position).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/graphics/font_catalogue.h"
#include "engine/windows/window.h"
#include "game/gameplay/gameplay_windows.h"

namespace QRV {
class JC_GUI_IMAGE;
class JC_GUI_WLABEL;
}  // namespace QRV

// How the announcement reaches the level: the game root unless another is set.
class gcTrophyGetLevel {
public:
    virtual ~gcTrophyGetLevel() = default;
    virtual bool IsLevelRunning() const = 0;
    // A text command of the game root ("gameplay::pause", "gameplay::resume").
    virtual void Command(const std::string& command) = 0;
};

class gcWindow_TrophyGet : public JCWindow, public gcTrophyAnnouncer {
public:
    static constexpr int32_t kCloseButton = 1;
    static constexpr int32_t kMedalImage = 2;
    static constexpr int32_t kBonusLabel = 3;

    gcWindow_TrophyGet() = default;

    void AddPendingTrophy(QRV::G_TROPHY* trophy) override;

    void LoadSettings(const pugi::xml_node& settings) override;
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnShowBegin() override;
    void OnUpdate() override;
    void OnAfterDraw() override;
    void OnButton(int32_t id) override;
    void OnHidden() override;

    // Null goes back to the game root. Not owned.
    void SetLevel(gcTrophyGetLevel* other) { level = other; }

    const std::vector<QRV::G_TROPHY*>& Pending() const { return pending; }
    const std::wstring& Title() const { return title; }
    const std::wstring& Description() const { return description; }
    const std::wstring& BonusFormat() const { return bonusFormat; }
    bool PausedByShow() const { return pausedByShow; }
    const QRV::JCFontRef& TitleFont() const { return titleFont; }
    const QRV::JCFontRef& DescriptionFont() const { return descriptionFont; }

private:
    // Takes the most recent pending trophy into the texts, the medal and the bonus label.
    void ShowNewestTrophy();

    struct FontSetting {
        QRV::JCFontRef* font;
        float* x;
        float* y;
    };
    // Looks up a font whose catalogue was not loaded yet when the settings were read.
    static void ResolveFont(QRV::JCFontRef& font);

    std::wstring title;
    std::wstring description;
    std::wstring bonusFormat;
    bool formatTaken = false;
    QRV::JCFontRef titleFont;
    QRV::JCFontRef descriptionFont;
    float titleX = 0.0f, titleY = 0.0f;
    float descriptionX = 0.0f, descriptionY = 0.0f;
    QRV::JC_GUI_IMAGE* medal = nullptr;
    QRV::JC_GUI_WLABEL* bonusLabel = nullptr;
    // Not owned: the trophy list keeps its trophies.
    std::vector<QRV::G_TROPHY*> pending;
    bool pausedByShow = false;
    bool contentDue = false;
    gcTrophyGetLevel* level = nullptr;
};
