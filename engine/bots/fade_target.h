#pragma once
// What the show and hide actor bots need from a GUI object: the GUI tree implements it, so the
// bots can fade a widget and its whole subtree without knowing the widget types.

namespace QRV {

class IFadeTarget {
public:
    virtual ~IFadeTarget() = default;

    // The visible flag of the object and of every object below it.
    virtual void SetVisibleTree(bool visible) = 0;
    // The alpha (0 transparent .. 1 opaque) of the object and of every object below it; the
    // object also hears of its own new alpha.
    virtual void SetAlphaTree(float alpha) = 0;

protected:
    IFadeTarget() = default;
    IFadeTarget(const IFadeTarget&) = default;
    IFadeTarget& operator=(const IFadeTarget&) = default;
};

}  // namespace QRV
