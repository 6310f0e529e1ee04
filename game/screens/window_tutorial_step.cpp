#include "game/screens/window_tutorial_step.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>

#include "engine/bots/actor_lerp.h"
#include "engine/core/conversions.h"
#include "engine/graphics/animation.h"
#include "engine/gui/gui_image.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/packs.h"
#include "game/data/tutorial_controller.h"
#include "game/gameplay/command_open.h"
#include "game/gameplay/element.h"

namespace {

constexpr int32_t kEventShopOpening = 25;
constexpr int32_t kEventShopClosed = 27;
constexpr const char* kFadeWindow = "Fade_Transition";
constexpr const char* kFinishWindow = "GP_Finish";
constexpr const char* kTutorialFinishWindow = "Tutorial_Finish";

// Set by UseLinks; null: the running game's.
QRV::gEventDispatcher* g_dispatcher = nullptr;
const gcGameplay* g_board = nullptr;

std::vector<gcWindow_TutorialStep::Message> ReadMessages(const pugi::xml_node& list) {
    std::vector<gcWindow_TutorialStep::Message> messages;
    for (const pugi::xml_node& child : list.children()) {
        if (child.type() != pugi::node_element) continue;
        messages.push_back({child.attribute("value").as_string(), child.attribute("delay").as_float(0.0f)});
    }
    return messages;
}

bool ReadInt(std::string_view text, int32_t& out) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

// --- the step

gcWindow_TutorialStep::gcWindow_TutorialStep() {
    Subscribe<&gcWindow_TutorialStep::OnMoveRight>(gcBoardEvent::MoveRight, this);
    Subscribe<&gcWindow_TutorialStep::OnMoveWrong>(gcBoardEvent::MoveWrong, this);
    Subscribe<&gcWindow_TutorialStep::OnSelectionReset>(gcBoardEvent::SelectionReset, this);
    Subscribe<&gcWindow_TutorialStep::OnHintApplied>(gcGameplay::kEventHintApplied, this);
    Subscribe<&gcWindow_TutorialStep::OnShopOpening>(kEventShopOpening, this);
    Subscribe<&gcWindow_TutorialStep::OnShopClosed>(kEventShopClosed, this);
    Subscribe<&gcWindow_TutorialStep::OnItemBought>(gcGameplay::kEventItemBought, this);
    Subscribe<&gcWindow_TutorialStep::OnFinishWindowDue>(gcGameplay::kEventFinishWindowDue, this);
}

gcWindow_TutorialStep::~gcWindow_TutorialStep() {
    // Windows go before the dispatcher at teardown.
    if (joined != nullptr) joined->RemoveListener(this);
}

gcGame* gcWindow_TutorialStep::Game() {
    gcContext* context = gcGlobal::Instance().GetContext();
    return context != nullptr ? context->game.get() : nullptr;
}

QRV::gEventDispatcher* gcWindow_TutorialStep::Dispatcher() {
    if (g_dispatcher != nullptr) return g_dispatcher;
    gcContext* context = gcGlobal::Instance().GetContext();
    return context != nullptr ? context->eventDispatcher : nullptr;
}

const gcGameplay* gcWindow_TutorialStep::Board() {
    if (g_board != nullptr) return g_board;
    gcGame* game = Game();
    return game != nullptr ? &game->Gameplay() : nullptr;
}

void gcWindow_TutorialStep::UseLinks(QRV::gEventDispatcher* dispatcher, const gcGameplay* board) {
    g_dispatcher = dispatcher;
    g_board = board;
}

std::vector<gcWindow_TutorialStep::Cell> gcWindow_TutorialStep::ParseCells(const std::string& text) {
    std::vector<Cell> cells;
    std::string_view rest = text;
    while (!rest.empty()) {
        const size_t bar = rest.find('|');
        const std::string_view pair = rest.substr(0, bar);
        const size_t blank = pair.find(' ', pair.find_first_not_of(' '));
        int32_t column = 0, row = 0;
        if (blank != std::string_view::npos && ReadInt(pair.substr(0, blank), column) &&
            ReadInt(pair.substr(blank + 1), row))
            cells.emplace_back(column, row);
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return cells;
}

bool gcWindow_TutorialStep::IsInStack() const {
    const JSProperty* stack = settings.Find("is_in_stack");
    return stack != nullptr && stack->intValue != 0;
}

// --- loading

void gcWindow_TutorialStep::LoadAttributes(const pugi::xml_node& root) {
    startMessages = ReadMessages(root.child("messages_start"));
    endMessages = ReadMessages(root.child("messages_end"));
    const pugi::xml_node finish = root.child("finish");
    const pugi::xml_node elements = finish.child("elements");
    hasCells = !elements.empty();
    expectedCells = hasCells ? ParseCells(elements.attribute("value").as_string()) : std::vector<Cell>();
    actions.clear();
    for (const pugi::xml_node& action : finish.children("action"))
        actions.emplace_back(action.attribute("value").as_string());
}

void gcWindow_TutorialStep::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) { guiRoot = rootObject; }

void gcWindow_TutorialStep::LoadSettings(const pugi::xml_node& node) {
    settings.Load(node);
    const auto id = [this](const char* key) -> std::optional<int32_t> {
        const JSProperty* value = settings.Find(key);
        if (value == nullptr) return std::nullopt;
        return value->intValue;
    };
    buttonNext = id("button_next");
    buttonStartGame = id("button_start_game");
    const JSProperty* time = settings.Find("error_time");
    flashes = time != nullptr;
    if (!flashes) return;
    errorTime = time->floatValue;
    const auto color = [this](const char* key) {
        const JSProperty* value = settings.Find(key);
        return QRV::JS_COLORf::FromARGB(value != nullptr ? QRV::ParseHex(value->text) : 0u);
    };
    errorStart = color("error_color_start");
    errorEnd = color("error_color_end");
    const std::optional<int32_t> imageId = id("error_id");
    QRV::JC_GUI_OBJECT* widget = imageId && guiRoot != nullptr ? guiRoot->FindChildById(*imageId) : nullptr;
    errorImage =
        widget != nullptr && widget->kind == QRV::GUI_KIND::Image ? dynamic_cast<QRV::JC_GUI_IMAGE*>(widget) : nullptr;
    if (errorImage != nullptr) errorImage->SetVisible(false);
}

// --- show, hide, restart

void gcWindow_TutorialStep::OnShowBegin() {
    if (joined == nullptr) {
        joined = Dispatcher();
        if (joined != nullptr) joined->AddListener(this);
    }
    listening = true;
    BeginStep();
}

void gcWindow_TutorialStep::OnHideBegin() {
    listening = false;
    // Start messages still waiting are dropped, never sent late.
    messageBots.Clear();
    // The hide fades the whole tree, which would give the image its alpha back.
    if (errorImage != nullptr) errorImage->SetVisible(false);
    SendEndMessages();
}

void gcWindow_TutorialStep::OnHidden() {
    if (joined != nullptr) joined->RemoveListener(this);
    joined = nullptr;
}

void gcWindow_TutorialStep::OnUpdate() { messageBots.Update(); }

void gcWindow_TutorialStep::RestartStep() {
    messageBots.Clear();
    SendEndMessages();
    // The board was reset: every cell must be marked again, and the last flash is gone.
    BeginStep();
}

void gcWindow_TutorialStep::BeginStep() {
    workingCells = expectedCells;
    if (errorImage != nullptr) errorImage->SetVisible(false);
    SendStartMessages();
}

void gcWindow_TutorialStep::SendStartMessages() {
    for (const Message& message : startMessages) {
        if (message.delay == 0.0f) {
            SendCommand(message.command);
        } else {
            messageBots.Add(new gcBot_Message(message.command, message.delay));
        }
    }
}

void gcWindow_TutorialStep::SendEndMessages() const {
    for (const Message& message : endMessages) SendCommand(message.command);
}

// --- finishing

bool gcWindow_TutorialStep::HasAction(const std::string& action) const {
    return std::find(actions.begin(), actions.end(), action) != actions.end();
}

void gcWindow_TutorialStep::NextStep() {
    gcTutorialController* owner = controller != nullptr ? controller : &gcTutorialController::Instance();
    // Only the step shown now speaks for the tutorial; a step that has begun to hide is done.
    if (!listening || owner->GetCurrentStep() != this) return;
    listening = false;
    owner->ShowStep(owner->GetCurrentKey(), owner->GetCurrentIndex() + 1);
}

void gcWindow_TutorialStep::OnButton(int32_t id) {
    if (buttonNext && id == *buttonNext) {
        gcTutorialController* owner = controller != nullptr ? controller : &gcTutorialController::Instance();
        if (owner->GetCurrentStep() == this) owner->ShowStep(owner->GetCurrentKey(), owner->GetCurrentIndex() + 1);
    } else if (buttonStartGame && id == *buttonStartGame) {
        JCWindow* fade = manager != nullptr ? manager->FindWindow(kFadeWindow) : nullptr;
        if (fade == nullptr) {
            StartFirstGame();
            return;
        }
        fade->cbShown = MakeClosure<&gcWindow_TutorialStep::StartFirstGame>(this);
        manager->ShowWindow(kFadeWindow, false);
    }
}

void gcWindow_TutorialStep::StartFirstGame() {
    gcTutorialController* owner = controller != nullptr ? controller : &gcTutorialController::Instance();
    gcContext* context = gcGlobal::Instance().GetContext();
    gcGame* game = Game();
    // The lesson's own finish window, queued behind this step, belongs to the level being left.
    if (manager != nullptr)
        for (const char* finish : {kTutorialFinishWindow, kFinishWindow})
            if (const JCWindow* window = manager->FindWindow(finish)) manager->RemoveFromQueue(window);
    if (context != nullptr && game != nullptr) {
        const auto& ordinary = context->packs.GetKindList(kPackOrdinary);
        const JCLevel* level =
            ordinary.empty() || ordinary.front() == nullptr ? nullptr : ordinary.front()->GetFirstLevel();
        if (level != nullptr) game->StartLevel(level->GetName());
    }
    owner->CloseCurrentStep();
    JCWindow* fade = manager != nullptr ? manager->FindWindow(kFadeWindow) : nullptr;
    if (fade != nullptr) {
        fade->cbShown = {};
        fade->Hide(false);
    }
}

// --- rejecting a move

void gcWindow_TutorialStep::RejectMove() {
    SendCommand("gameplay::process::undo");
    if (!flashes || errorImage == nullptr) return;
    errorImage->SetVisible(true);
    PaintError(errorStart);
    auto* in = new QRV::JCBot_LerpTick<QRV::JS_COLORf>(
        errorStart, errorEnd, 0.0f, this,
        [](void* self, const QRV::JS_COLORf& color) { static_cast<gcWindow_TutorialStep*>(self)->PaintError(color); },
        errorTime);
    in->completion = MakeClosure<&gcWindow_TutorialStep::OnFlashInDone>(this);
    xmlBots.Add(in);
}

void gcWindow_TutorialStep::OnFlashInDone() {
    xmlBots.Add(new QRV::JCBot_LerpTick<QRV::JS_COLORf>(
        errorEnd, errorStart, 0.0f, this,
        [](void* self, const QRV::JS_COLORf& color) { static_cast<gcWindow_TutorialStep*>(self)->PaintError(color); },
        errorTime));
}

void gcWindow_TutorialStep::PaintError(const QRV::JS_COLORf& color) {
    if (errorImage != nullptr && errorImage->sprite != nullptr) errorImage->sprite->SetColor(color.ToARGB());
}

bool gcWindow_TutorialStep::IsHintMove(const std::vector<gcElement*>& cells) {
    const gcGameplay* board = Board();
    return board != nullptr && board->IsHintMove(cells);
}

// --- events

void gcWindow_TutorialStep::OnMoveRight(const std::vector<gcElement*>* cells) {
    if (!listening || cells == nullptr || IsHintMove(*cells)) return;
    if (HasAction("level_did_complete")) return;
    if (!actions.empty()) {
        RejectMove();
        return;
    }
    if (!hasCells) return;
    for (const gcElement* cell : *cells) {
        const auto found = std::find(workingCells.begin(), workingCells.end(), Cell(cell->column, cell->row));
        if (found != workingCells.end()) workingCells.erase(found);
    }
    if (workingCells.empty()) NextStep();
}

void gcWindow_TutorialStep::OnMoveWrong(const std::vector<gcElement*>* cells) {
    if (!listening || cells == nullptr || IsHintMove(*cells)) return;
    if (actions.empty() && !hasCells) return;
    RejectMove();
}

void gcWindow_TutorialStep::OnSelectionReset() {
    if (listening && HasAction("use_reset")) NextStep();
}

void gcWindow_TutorialStep::OnHintApplied() {
    if (listening && HasAction("use_hint")) NextStep();
}

void gcWindow_TutorialStep::OnShopOpening() {
    if (listening && HasAction("use_store")) NextStep();
}

void gcWindow_TutorialStep::OnShopClosed() {
    if (listening && HasAction("close_store")) NextStep();
}

void gcWindow_TutorialStep::OnItemBought(std::string item) {
    if (listening && HasAction("buy::" + item)) NextStep();
}

void gcWindow_TutorialStep::OnFinishWindowDue() {
    if (listening && HasAction("level_did_complete")) NextStep();
}
