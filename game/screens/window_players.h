#pragma once
// The player list ("Players", type "GG_WINDOW_PLAYERS"): the profiles in the list box (4), New
// (5), Delete (6) and OK (8), the only way out. OK makes the chosen row's player current; leaving
// always returns to the title. New is disabled once the list holds its row limit, Delete while no
// row is chosen. A deletion asks "Players_Confirm_Del" with the name on its extra line and acts on
// yes alone.

#include <cstdint>
#include <string>

#include "engine/windows/window.h"

namespace QRV {
class JC_GUI_BUTTON5;
class JC_GUI_LISTBOX;
}  // namespace QRV

class gcWindow_Players : public JCWindow {
public:
    ~gcWindow_Players() override;

    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    // Fills the list, chooses the current profile's row, updates the buttons.
    void OnShowStarted() override;
    // Refreshes the greeting, then shows "Title".
    void OnHidden() override;
    void OnButton(int32_t id) override;

    static JCWindow* Create();

    // Every player's name in list order.
    void Fill();
    // The current player's row; without a current player the first row.
    void SelectCurrent();
    // Delete: 4 (disabled) without a chosen row, else 0. New: 0 below the row limit, else 4.
    void UpdateButtons();

    QRV::JC_GUI_LISTBOX* list = nullptr;
    QRV::JC_GUI_BUTTON5* newButton = nullptr;
    QRV::JC_GUI_BUTTON5* deleteButton = nullptr;
    // The name a shown deletion question asks about.
    std::wstring pendingDelete;

private:
    void OnNewName(int32_t answer, std::wstring name);
    void OnDeleteAnswer(int32_t answer);
    void Save();
};
