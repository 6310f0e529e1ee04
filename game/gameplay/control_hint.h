#pragma once
// The hint button (control 1, "hint"): a button sprite over a digit atlas of five columns and
// "rows" rows (attribute of the node, 1 when absent) that shows the hint count, and the "hint"
// animation, a glow that fades in with the button and out as it leaves. Count n shows column
// n mod 5 of row n div 5; a count beyond the atlas shows its last cell.
//
// Shown, the button stands where its layout put it (taken once, at load); hidden, it stands one
// button height lower. A count of 0 hides the button and its input; any other count shows it. A
// left press on the button plays the sound "hint", blocks the button and slides it away; when
// the slide ends the board's use-hint function runs and the button is unblocked. Until then a
// new count only changes the digit: the use-hint function brings the count that decides.

#include "engine/bots/bot_list.h"
#include "engine/core/callback.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/sprite.h"
#include "game/gameplay/control_base.h"

class gcControl_ButtonHint : public gcControl_Base {
public:
    static constexpr int32_t kId = 1;
    static constexpr int32_t kColumns = 5;
    static constexpr uint32_t kGlowShown = 0xFFFFFFFFu;
    static constexpr uint32_t kGlowHidden = 0x00FFFFFFu;

    gcControl_ButtonHint(const gcControlServices& services, uintptr_t useHintArgument, gcUseHintFunction useHint);
    ~gcControl_ButtonHint() override;

    // Stores the count and shows its digit; then shows (count != 0) or hides the button.
    void SetCount(int32_t count);
    int32_t Count() const { return count; }
    // The atlas cell a count shows: column and row.
    static void CellOf(int32_t count, int32_t rows, int32_t& column, int32_t& row);

    void Render() override;
    int32_t Update() override;
    int32_t OnMouseDown(int32_t button) override;
    void Activate() override;
    void Deactivate() override;

    float Speed() const { return speed; }
    int32_t Rows() const { return rows; }
    gcPoint ShownPosition() const { return shown; }
    gcPoint HiddenPosition() const { return hidden; }
    const QRV::G_SPRITE& ButtonSprite() const { return button; }
    const QRV::G_ANIMATION& Glow() const { return glow; }
    // True from the press until the use-hint function has run.
    bool IsUsePending() const { return usePending; }

protected:
    bool LoadOwn(const pugi::xml_node& node) override;

private:
    // Colour tween of the glow and move of the button over `speed` seconds.
    void Show();
    // With the callback: blocks the button, and the use-hint function runs when the move ends.
    void Hide(bool withCallback);
    void ApplyCell();
    static int UseHintNow(uintptr_t self);

    uintptr_t useHintArgument = 0;
    gcUseHintFunction useHint = nullptr;
    QRV::JS_CALLBACK hiddenCallback;
    int32_t count = 0;
    float speed = 1.0f;
    int32_t rows = 1;
    gcPoint shown;
    gcPoint hidden;
    QRV::G_SPRITE button;
    QRV::G_ANIMATION glow;
    bool hasGlow = false;
    bool usePending = false;
    QRV::JC_BOT_LIST bots;
};
