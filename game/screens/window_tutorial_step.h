#pragma once
// A step of a scripted tutorial level (window type "TWindow_TutorialStep"). The tutorial controller
// shows the steps of a level one after another; each one sends the text commands of its script when
// it shows and when it hides, and watches the board and the shop until its finish condition is met:
// the cells it names marked by right moves, or one of the actions it names taken. It then asks the
// controller for the next step. A move that breaks the script is taken back with a coloured flash.
//
// Window XML beside the usual parts:
//   <messages_start> / <messages_end>: children of any name with "value" (a command) and "delay"
//     (seconds, 0 when absent). Start messages with delay 0 go out during the show, the others
//     after their delay of shown time; end messages go out at once when the step begins to hide.
//     Start messages still waiting then are dropped.
//   <finish>: <elements value="c r|c r|..."/> the cells to mark (column first), and/or
//     <action value="..."/> (repeated): "use_reset", "use_hint", "use_store", "close_store",
//     "level_did_complete" or "buy::<item>".
//   <settings> (a map of "param" entries): "button_next", "button_start_game" (button ids),
//     "is_in_stack", "error_time" (seconds of each half of the flash; without it no flash),
//     "error_color_start", "error_color_end" (AARRGGBB), "error_id" (the image that flashes; it
//     starts hidden and stays shown after a flash until the step starts again or hides).
//
// Events heard while shown: 20 and 21 (a move answered; the cells), 17 (selection reset), 24 (hint
// applied), 25 (shop opening), 27 (shop closed in a level), 11 (item bought; its name) and 6 (the
// level-complete window is due). The move a hint made is never judged: the board tells which it is.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/bots/bot_list.h"
#include "engine/core/event_dispatcher.h"
#include "engine/core/property_map.h"
#include "engine/core/value_types.h"
#include "engine/windows/window.h"
#include "game/data/tutorial_step.h"
#include "game/gameplay/board_effects_message.h"

class gcElement;
class gcGame;
class gcGameplay;
namespace QRV {
class JC_GUI_IMAGE;
}

class gcWindow_TutorialStep : public JCWindow, public JITutorialStep, public QRV::gListener {
public:
    struct Message {
        std::string command;
        float delay = 0.0f;
    };
    using Cell = std::pair<int32_t, int32_t>;  // column, row

    gcWindow_TutorialStep();
    ~gcWindow_TutorialStep() override;

    static JCWindow* Create() { return new gcWindow_TutorialStep(); }

    // The running game's root; null when there is none.
    static gcGame* Game();
    // Where the steps listen, and the board whose hint moves they leave alone: the running game's
    // unless UseLinks named others (tests; null and null go back to the game's).
    static QRV::gEventDispatcher* Dispatcher();
    static const gcGameplay* Board();
    static void UseLinks(QRV::gEventDispatcher* dispatcher, const gcGameplay* board);
    // Sends a text command through the game's command hook (nothing without one).
    static void SendCommand(const std::string& command) { gcRunCommand(command); }

    bool IsInStack() const override;
    void RestartStep() override;

    void LoadAttributes(const pugi::xml_node& root) override;
    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void LoadSettings(const pugi::xml_node& settings) override;
    void OnShowBegin() override;
    void OnHideBegin() override;
    void OnHidden() override;
    void OnUpdate() override;
    void OnButton(int32_t id) override;

    // --- the script, as loaded
    const std::vector<Message>& StartMessages() const { return startMessages; }
    const std::vector<Message>& EndMessages() const { return endMessages; }
    bool HasCells() const { return hasCells; }
    const std::vector<Cell>& ExpectedCells() const { return expectedCells; }
    // The cells still to be marked while shown.
    const std::vector<Cell>& WorkingCells() const { return workingCells; }
    const std::vector<std::string>& Actions() const { return actions; }
    // Delayed start messages not sent yet.
    size_t PendingMessages() const { return messageBots.Count(); }
    float ErrorTime() const { return errorTime; }
    const QRV::JS_COLORf& ErrorColorStart() const { return errorStart; }
    const QRV::JS_COLORf& ErrorColorEnd() const { return errorEnd; }
    // Null when the step has none.
    QRV::JC_GUI_IMAGE* ErrorImage() const { return errorImage; }
    // True from the show until the step begins to hide: only then does it judge and finish.
    bool IsListening() const { return listening; }
    // Listening for the shop to open ("use_store") or to close ("close_store").
    bool WaitsForShop() const { return listening && (HasAction("use_store") || HasAction("close_store")); }

    // "c r|c r|..." as cells; pairs that are not two integers are skipped.
    static std::vector<Cell> ParseCells(const std::string& text);

private:
    bool HasAction(const std::string& action) const;
    // Sends the delay-0 messages now and puts the others into the step's bot list.
    void SendStartMessages();
    void SendEndMessages() const;
    // Starts the step's state over: the cells to mark, the error image hidden, the start messages.
    void BeginStep();
    // Asks the controller for the step after this one.
    void NextStep();
    // Takes the move back and flashes the error image.
    void RejectMove();
    void PaintError(const QRV::JS_COLORf& color);
    void OnFlashInDone();
    // Whether the board says the move is the one its last hint made.
    static bool IsHintMove(const std::vector<gcElement*>& cells);
    void StartFirstGame();

    // Event handlers.
    void OnMoveRight(const std::vector<gcElement*>* cells);
    void OnMoveWrong(const std::vector<gcElement*>* cells);
    void OnSelectionReset();
    void OnHintApplied();
    void OnShopOpening();
    void OnShopClosed();
    void OnItemBought(std::string item);
    void OnFinishWindowDue();

    JCPropertyMap settings;
    std::vector<Message> startMessages;
    std::vector<Message> endMessages;
    bool hasCells = false;
    std::vector<Cell> expectedCells;
    std::vector<Cell> workingCells;
    std::vector<std::string> actions;
    // Delayed start messages.
    QRV::JC_BOT_LIST messageBots;
    std::optional<int32_t> buttonNext;
    std::optional<int32_t> buttonStartGame;
    float errorTime = 0.0f;
    QRV::JS_COLORf errorStart{0.0f, 0.0f, 0.0f, 0.0f};
    QRV::JS_COLORf errorEnd{0.0f, 0.0f, 0.0f, 0.0f};
    bool flashes = false;
    // Not owned: a widget of the step's tree.
    QRV::JC_GUI_IMAGE* errorImage = nullptr;
    QRV::JC_GUI_OBJECT* guiRoot = nullptr;
    // The dispatcher the step joined at its show (null while it is in none).
    QRV::gEventDispatcher* joined = nullptr;
    bool listening = false;
};
