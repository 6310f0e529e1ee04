// The board on the game's built content, driven through the engine's real window, OpenGL device and
// input as the gameplay screen will drive it; board_e2e.sh moves and clicks the mouse with xdotool,
// sends commands on stdin and checks the log and screenshots.
//
// The scene loads a level (default "pack06 level01.xml") through the board loader with the clue
// style, decoration and effects files that the gameplay configuration names, activates the board
// and, every frame, updates and draws the decoration under the board, the board and the decoration
// over it. Input as on the gameplay screen with the square tool on: a press of button 1 or 2 begins
// a selection at the cell under the cursor with that button's mark, a move drags it with the mark
// of the two buttons' states, the release of button 1 or 2 commits it.
//
// Usage: e2e_board_scene [--level KEY] [--seconds N] [--allowance N]
// Commands on stdin, one a line: "process::..." goes to the board process, "ambient::..." to the
// decoration, "gameplay::..." through the command hook (which routes "gameplay::process::..."),
// "quit" ends the scene.
// Prints, each on its own line (times in seconds since the board was loaded):
//   "layout cell W H origin X Y shift SX SY block BX BY grid C R field X Y W H"
//   "clues row|col N: L L ..."            the computed clues of every row, then every column
//   "clue row|col N K at X Y"             where the panel put clue K of that line
//   "error slot N at X Y W H"             the error panel's slots and the mark's size
//   "ready: board"                        the board has been drawn a few frames
//   "event ID [cell C R] [mark M] [cells C R|C R...] t T"   every board event (4, 12 to 22)
//   "marks N t T"                         the number of error marks placed has changed
//   "crossed row|col N K", "uncrossed row|col N K"          a clue's cross came or went
//   "command TEXT -> ok|refused"          a stdin command and its answer
//   "drew N frames"                       at the end

#include <charconv>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/app/app_context.h"
#include "engine/app/engine.h"
#include "engine/core/callback.h"
#include "engine/core/event_dispatcher.h"
#include "engine/core/property_map.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/render.h"
#include "engine/platform/input.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "game/config/config_values.h"
#include "game/config/edition_select.h"
#include "game/gameplay/ambient.h"
#include "game/gameplay/board_effects_message.h"
#include "game/gameplay/board_load.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/mark_mode.h"
#include "game/gameplay/process.h"
#include "tests/e2e/scene_engine.h"
#include "tests/test_kit/line_reader.h"

namespace {

constexpr uint32_t kPaper = 0xFFF4EFE6;
constexpr int kFramesBeforeReady = 4;
const char* const kRepositories[] = {
    "", "data", "data/share/main/other", "data/share/main/gameplay", "data/share/board", "data/share/font"};
const char* const kSettingsKey = "game.xml";
const char* const kEditionsKey = "data/share/main/other editions.xml";
const char* const kFontsKey = "data/share/font fonts.xml";

// One line on stdout, at once (the script reads the log while the scene runs).
void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::vector<std::string> SplitCommand(const std::string& text) {
    std::vector<std::string> tokens;
    size_t from = 0;
    while (true) {
        const size_t cut = text.find("::", from);
        tokens.push_back(text.substr(from, cut == std::string::npos ? std::string::npos : cut - from));
        if (cut == std::string::npos) return tokens;
        from = cut + 2;
    }
}

std::string CellsText(const std::vector<gcElement*>& cells) {
    std::string text;
    for (const gcElement* cell : cells)
        text += (text.empty() ? "" : "|") + std::to_string(cell->column) + " " + std::to_string(cell->row);
    return text;
}

struct Scene;

// Prints every board event. It joins the dispatcher after the board and the decoration, where the
// gameplay screen will, so it sees lists and crosses already updated.
class EventPrinter : public QRV::gListener {
public:
    EventPrinter(QRV::gEventDispatcher& dispatcher, const Scene& scene) : dispatcher(dispatcher), scene(scene) {
        Subscribe<&EventPrinter::OnPlain<4>>(4, this);
        Subscribe<&EventPrinter::OnCellMark<12>>(12, this);
        Subscribe<&EventPrinter::OnCellMark<13>>(13, this);
        Subscribe<&EventPrinter::OnCellMark<14>>(14, this);
        Subscribe<&EventPrinter::OnCellMark<15>>(15, this);
        Subscribe<&EventPrinter::OnPlain<16>>(16, this);
        Subscribe<&EventPrinter::OnPlain<17>>(17, this);
        Subscribe<&EventPrinter::OnCell<18>>(18, this);
        Subscribe<&EventPrinter::OnCell<19>>(19, this);
        Subscribe<&EventPrinter::OnMove<20>>(20, this);
        Subscribe<&EventPrinter::OnMove<21>>(21, this);
        Subscribe<&EventPrinter::OnMove<22>>(22, this);
        dispatcher.AddListener(this);
    }
    ~EventPrinter() override { dispatcher.RemoveListener(this); }
    EventPrinter(const EventPrinter&) = delete;
    EventPrinter& operator=(const EventPrinter&) = delete;

private:
    double Now() const;
    template <int32_t Id>
    void OnPlain() {
        Say("event %d t %.3f", Id, Now());
    }
    template <int32_t Id>
    void OnCellMark(gcElement* cell, int32_t mark) {
        Say("event %d cell %d %d mark %d t %.3f", Id, cell->column, cell->row, mark, Now());
    }
    template <int32_t Id>
    void OnCell(gcElement* cell) {
        Say("event %d cell %d %d t %.3f", Id, cell->column, cell->row, Now());
    }
    template <int32_t Id>
    void OnMove(const std::vector<gcElement*>* cells) {
        Say("event %d cells %s t %.3f", Id, cells != nullptr ? CellsText(*cells).c_str() : "", Now());
    }

    QRV::gEventDispatcher& dispatcher;
    const Scene& scene;
};

struct Scene {
    std::string levelKey = "pack06 level01.xml";
    double seconds = 120.0;
    int32_t allowance = 3;

    QRV::JCFontCatalogue fonts;
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    // Subscription order on the dispatcher: the clue checker and the process, the decoration, the
    // printer.
    std::unique_ptr<gcProcess> process;
    std::unique_ptr<gcAmbient> ambient;
    std::unique_ptr<EventPrinter> printer;
    std::unique_ptr<QRV::TestKit::LineReader> input;
    gcCommandHook previousHook;

    // What was last printed of the error marks and the crosses, to print changes only.
    int32_t marksPlaced = 0;
    std::vector<std::vector<uint8_t>> rowCrossed, columnCrossed;

    int frames = 0;
    bool readySaid = false;
    std::chrono::steady_clock::time_point loadedAt;
    std::chrono::steady_clock::time_point start;
};

Scene* g_scene = nullptr;

double EventPrinter::Now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - scene.loadedAt).count();
}

// --- loading

// The gameplay configuration of the edition that "game.xml" names.
bool LoadGameplayConfig(JCPropertyMap& gameplay) {
    pugi::xml_document* settingsDocument = QRV::AcquireXmlResource(kSettingsKey);
    pugi::xml_document* editionsDocument = QRV::AcquireXmlResource(kEditionsKey);
    bool found = false;
    if (settingsDocument != nullptr && editionsDocument != nullptr) {
        JCPropertyMap settings;
        settings.Load(settingsDocument->document_element());
        JCPropertyMap edition;
        if (Game::SelectEdition(editionsDocument->document_element(), Game::ConfigText(settings, "edition"), edition)) {
            if (pugi::xml_document* config = QRV::AcquireXmlResource(Game::ConfigText(edition, "gameplay"))) {
                gameplay.Load(config->document_element());
                QRV::ReleaseXml(config);
                found = true;
            }
        }
    }
    if (settingsDocument != nullptr) QRV::ReleaseXml(settingsDocument);
    if (editionsDocument != nullptr) QRV::ReleaseXml(editionsDocument);
    return found;
}

// The effects file as the gameplay screen reads it for the board: the animation table, the
// "settings" list and the selection font.
bool LoadEffects(Scene& scene, const pugi::xml_node& root) {
    scene.layout.ClearAnimations();
    const int32_t taken = scene.layout.LoadAnimations(root.child("animations"));
    scene.layout.EffectSettings().Load(root.child("settings"));
    const bool font = scene.layout.SelectionFont().Load(root.child("font_selected"), &scene.fonts);
    Say("effects: %d animations, open_delay %.3f, selection font %s", taken, scene.layout.OpenDelay(),
        font ? scene.layout.SelectionFont().fontName.c_str() : "(missing)");
    return taken > 0;
}

void SayLayoutAndClues(const Scene& scene) {
    const gcElementsLayout& l = scene.layout;
    Say("layout cell %d %d origin %.1f %.1f shift %d %d block %d %d grid %d %d field %.1f %.1f %d %d", l.CellWidth(),
        l.CellHeight(), l.CellOriginX(), l.CellOriginY(), l.ShiftX(), l.ShiftY(), l.BlockX(), l.BlockY(), l.Columns(),
        l.Rows(), l.FieldOriginX(), l.FieldOriginY(), l.FieldWidth(), l.FieldHeight());
    gcClueChecker& checker = scene.process->Checker();
    const std::pair<const char*, const std::vector<gcClueLine>*> kinds[] = {{"row", &checker.RowClues()},
                                                                            {"col", &checker.ColumnClues()}};
    for (const auto& [kind, lines] : kinds) {
        for (size_t n = 0; n < lines->size(); ++n) {
            std::string text;
            for (const gcClue& clue : (*lines)[n]) text += " " + std::to_string(clue.length);
            Say("clues %s %zu:%s", kind, n, text.c_str());
        }
    }
    for (const auto& [kind, lines] : kinds) {
        for (size_t n = 0; n < lines->size(); ++n) {
            for (size_t k = 0; k < (*lines)[n].size(); ++k) {
                const QRV::JS_TRANSFORM3* at = (*lines)[n][k].strike.transform;
                Say("clue %s %zu %zu at %.0f %.0f", kind, n, k, at->positionX, at->positionY);
            }
        }
    }
}

void SayErrorSlots(Scene& scene) {
    gcErrorPanel& panel = scene.ambient->ErrorPanel();
    for (int32_t n = 0; n < scene.allowance; ++n) {
        float x = 0.0f, y = 0.0f;
        panel.SlotPosition(n, x, y);
        Say("error slot %d at %.0f %.0f", n, x, y);
    }
}

bool LoadScene(Scene& scene) {
    QRV::JC_PATHS::Instance();
    for (const char* repository : kRepositories) {
        if (!QRV::LoadRepository(repository)) {
            std::fprintf(stderr, "no repository \"%s\"\n", repository);
            return false;
        }
    }
    // The level's pack folder is a repository of its own.
    const std::string pack = scene.levelKey.substr(0, scene.levelKey.find(' '));
    if (!QRV::LoadRepository(pack)) {
        std::fprintf(stderr, "no pack repository \"%s\"\n", pack.c_str());
        return false;
    }
    if (!scene.fonts.Load(kFontsKey)) {
        std::fprintf(stderr, "no font catalogue %s\n", kFontsKey);
        return false;
    }
    JCPropertyMap gameplay;
    if (!LoadGameplayConfig(gameplay)) {
        std::fprintf(stderr, "no gameplay configuration\n");
        return false;
    }
    const std::string files[] = {Game::ConfigText(gameplay, "numbers"), Game::ConfigText(gameplay, "ambient"),
                                 Game::ConfigText(gameplay, "effects")};
    pugi::xml_document* documents[3] = {};
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        documents[i] = QRV::AcquireXmlResource(files[i]);
        if (documents[i] == nullptr) {
            std::fprintf(stderr, "no gameplay file \"%s\"\n", files[i].c_str());
            ok = false;
        }
    }

    scene.process = std::make_unique<gcProcess>(&scene.layout, &scene.dispatcher);
    scene.ambient = std::make_unique<gcAmbient>(&scene.layout, &scene.dispatcher);
    scene.printer = std::make_unique<EventPrinter>(scene.dispatcher, scene);
    if (ok) ok = LoadEffects(scene, documents[2]->document_element());
    if (ok) {
        const pugi::xml_node decoration = documents[1]->document_element();
        const gcBoardLoadResult result = gcLoadBoard(
            scene.levelKey, scene.layout, *scene.process, documents[0]->document_element(),
            [&scene, decoration](const pugi::xml_node&) { return scene.ambient->Load(decoration, &scene.fonts); });
        if (result != gcBoardLoadResult::Loaded) {
            std::fprintf(stderr, "the level \"%s\" did not load (%s)\n", scene.levelKey.c_str(),
                         result == gcBoardLoadResult::MissingFile ? "missing" : "refused");
            ok = false;
        }
    }
    for (pugi::xml_document* document : documents)
        if (document != nullptr) QRV::ReleaseXml(document);
    if (!ok) return false;

    scene.loadedAt = std::chrono::steady_clock::now();
    scene.ambient->ErrorPanel().SetAllowance(scene.allowance);
    scene.ambient->Activate();
    scene.process->Activate(&scene.fonts);
    // The level has started: the board's own handler unblocks every cell.
    scene.dispatcher.Send<>(gcBoardEvent::LevelStarted);
    for (const auto* lines : {&scene.process->Checker().RowClues(), &scene.process->Checker().ColumnClues()}) {
        auto& crossed = lines == &scene.process->Checker().RowClues() ? scene.rowCrossed : scene.columnCrossed;
        for (const gcClueLine& line : *lines) crossed.emplace_back(line.size(), 0);
    }
    SayLayoutAndClues(scene);
    SayErrorSlots(scene);
    // Commands that bots send go where the game root will send them: the process for "process".
    scene.previousHook = gcSetCommandHook(gcCommandHook(&scene, [](void* object, const std::string& command) {
        auto* owner = static_cast<Scene*>(object);
        std::vector<std::string> tokens = SplitCommand(command);
        if (tokens.size() > 1 && tokens[0] == "gameplay" && tokens[1] == "process") {
            tokens.erase(tokens.begin(), tokens.begin() + 2);
            owner->process->OnMessage(tokens);
        }
    }));
    scene.input = std::make_unique<QRV::TestKit::LineReader>(0);
    return true;
}

void ReleaseScene(Scene& scene) {
    if (scene.input) scene.input->Stop();
    scene.input.reset();
    gcSetCommandHook(scene.previousHook);
    if (scene.process) {
        scene.process->Deactivate();
        scene.process->Reset();
    }
    if (scene.ambient) scene.ambient->Deactivate();
    scene.layout.Reset();
    scene.layout.ClearAnimations();
    scene.printer.reset();
    scene.ambient.reset();
    scene.process.reset();
    scene.fonts.ReleaseAll();
}

// --- per frame

void RunCommand(Scene& scene, const std::string& line) {
    if (line.empty()) return;
    if (line == "quit") {
        QRV::g_app->running = 0;
        return;
    }
    std::vector<std::string> tokens = SplitCommand(line);
    bool ok = false;
    if (tokens[0] == "process") {
        tokens.erase(tokens.begin());
        ok = scene.process->OnMessage(tokens);
    } else if (tokens[0] == "ambient") {
        tokens.erase(tokens.begin());
        ok = scene.ambient->HandleMessage(tokens);
    } else if (tokens[0] == "gameplay") {
        ok = gcRunCommand(line);
    }
    Say("command %s -> %s", line.c_str(), ok ? "ok" : "refused");
}

// Prints the changes of the placed error marks and of the clues' crosses.
void WatchChanges(Scene& scene) {
    const int32_t placed = scene.ambient->ErrorPanel().MarksPlaced();
    if (placed != scene.marksPlaced) {
        scene.marksPlaced = placed;
        Say("marks %d t %.3f", placed,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - scene.loadedAt).count());
    }
    gcClueChecker& checker = scene.process->Checker();
    const std::pair<const char*, std::pair<const std::vector<gcClueLine>*, std::vector<std::vector<uint8_t>>*>>
        kinds[] = {{"row", {&checker.RowClues(), &scene.rowCrossed}},
                   {"col", {&checker.ColumnClues(), &scene.columnCrossed}}};
    for (const auto& [kind, pair] : kinds) {
        const auto& [lines, seen] = pair;
        for (size_t n = 0; n < lines->size() && n < seen->size(); ++n) {
            for (size_t k = 0; k < (*lines)[n].size() && k < (*seen)[n].size(); ++k) {
                const uint8_t crossed = (*lines)[n][k].crossed;
                if (crossed == (*seen)[n][k]) continue;
                (*seen)[n][k] = crossed;
                Say("%s %s %zu %zu", crossed ? "crossed" : "uncrossed", kind, n, k);
            }
        }
    }
}

int OnUpdate(uintptr_t) {
    Scene& scene = *g_scene;
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - scene.start).count();
    if (elapsed >= scene.seconds) QRV::g_app->running = 0;
    for (const std::string& line : scene.input->Take()) RunCommand(scene, line);
    scene.ambient->Update();
    scene.process->Update();
    WatchChanges(scene);
    return 0;
}

int OnRender(uintptr_t) {
    Scene& scene = *g_scene;
    ++scene.frames;
    scene.ambient->DrawUnder();
    scene.process->Draw();
    scene.ambient->DrawOver();
    if (!scene.readySaid && scene.frames >= kFramesBeforeReady) {
        scene.readySaid = true;
        Say("ready: board");
    }
    return 0;
}

// The square tool is on, as at every level start.
constexpr bool kSquareTool = true;

bool IsMarkButton(uintptr_t code) { return code == QRV::VK_LBUTTON || code == QRV::VK_RBUTTON; }

int OnMouseMove(uintptr_t) {
    Scene& scene = *g_scene;
    const QRV::JC_INPUT& input = *QRV::g_input;
    scene.process->DragSelectionToCursor(
        Game::DragMarkMode(input.keys[QRV::VK_LBUTTON], input.keys[QRV::VK_RBUTTON], kSquareTool));
    return 0;
}

int OnKeyDown(uintptr_t code) {
    if (!IsMarkButton(code)) return 0;
    g_scene->process->BeginSelectionAtCursor(Game::MarkModeForButton(static_cast<int32_t>(code), kSquareTool));
    return 0;
}

// Only the release of button 1 or 2 commits; keys and the middle button never do.
int OnKeyUp(uintptr_t code) {
    if (!IsMarkButton(code)) return 0;
    g_scene->process->CommitSelection(Game::MarkModeForButton(static_cast<int32_t>(code), kSquareTool), false);
    return 0;
}

bool ParseArguments(Scene& scene, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--level" && i + 1 < argc) {
            scene.levelKey = argv[++i];
        } else if (arg == "--seconds" && i + 1 < argc) {
            if (!SceneEngine::ParseNumber(argv[++i], scene.seconds)) return false;
        } else if (arg == "--allowance" && i + 1 < argc) {
            if (!SceneEngine::ParseNumber(argv[++i], scene.allowance)) return false;
        } else {
            return false;
        }
    }
    return scene.seconds > 0.0 && scene.allowance >= 0 && scene.levelKey.find(' ') != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
    auto scene = std::make_unique<Scene>();
    if (!ParseArguments(*scene, argc, argv)) {
        std::fprintf(stderr, "usage: %s [--level \"PACK FILE\"] [--seconds N] [--allowance N]\n", argv[0]);
        return 2;
    }
    g_scene = scene.get();

    Scene& shown = *scene;
    const int status = SceneEngine::Run(
        "Quorvel board scene", {SceneEngine::Ready, OnUpdate, OnRender, SceneEngine::StopRunning},
        {OnMouseMove, OnKeyDown, OnKeyUp}, kPaper, [&shown] { return LoadScene(shown); },
        [&shown] {
            shown.start = std::chrono::steady_clock::now();
            QRV::Engine::Run();
            Say("drew %d frames", shown.frames);
        },
        [&shown] { ReleaseScene(shown); });
    scene.reset();
    g_scene = nullptr;
    SceneEngine::Stop();
    return status;
}
