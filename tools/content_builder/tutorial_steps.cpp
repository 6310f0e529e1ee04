#include "tools/content_builder/tutorial_steps.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

constexpr std::string_view kNextStepCommand = "gameplay::tutorial::next_step";
constexpr std::string_view kActions[] = {"use_reset", "use_hint", "use_store", "close_store", "level_did_complete"};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool ReadInt(std::string_view text, int& out) {
    if (text.empty()) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// "col row|col row|..." as pairs; false when the text is not that.
bool ParseCells(std::string_view text, std::vector<std::pair<int, int>>& cells) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('|', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view pair = text.substr(start, end - start);
        const size_t blank = pair.find(' ');
        int col = 0, row = 0;
        if (blank == std::string_view::npos || !ReadInt(pair.substr(0, blank), col) ||
            !ReadInt(pair.substr(blank + 1), row))
            return false;
        cells.emplace_back(col, row);
        start = end + 1;
    }
    return true;
}

// "<seconds> <command>"; false when the text is not that.
bool ParseMessage(std::string_view text, TutorialMessage& message) {
    const size_t blank = text.find(' ');
    if (blank == std::string_view::npos) return false;
    const std::string_view seconds = text.substr(0, blank);
    const auto result = std::from_chars(seconds.data(), seconds.data() + seconds.size(), message.delay);
    if (result.ec != std::errc() || result.ptr != seconds.data() + seconds.size() || message.delay < 0) return false;
    message.command = std::string(Trim(text.substr(blank + 1)));
    return message.command.rfind("gameplay::", 0) == 0;
}

std::string Attr(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + XmlEscape(value) + "\"";
}

std::string Hex(Theme::Rgb colour, uint8_t alpha) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Theme::Argb(colour, alpha)));
    return text;
}

std::string FontKey(std::string_view font, std::string_view extension) {
    return ResourceKey(Theme::kFontFolder, std::string(font) + std::string(extension));
}

std::string Label(std::string_view indent, int id, std::string_view font, std::string_view text, int y,
                  std::string_view colour) {
    return std::string(indent) + "<WLABEL" + Attr("ID", XmlNumber(id)) + Attr("FONT", FontKey(font, ".xml")) +
           Attr("FONT_TEXTURE", FontKey(font, ".png")) + Attr("TEXT", text) + Attr("HOT_SPOT", "4") +
           Attr("FONT_COLOR", colour) + "><POSITION>0 " + XmlNumber(y) + "</POSITION></WLABEL>\n";
}

std::string Param(std::string_view key, std::string_view value) {
    return "    <param" + Attr("key", key) + Attr("value", value) + "/>\n";
}

std::string Messages(std::string_view element, const std::vector<TutorialMessage>& messages) {
    std::string xml = "  <" + std::string(element) + ">\n";
    for (const TutorialMessage& m : messages)
        xml += "    <message" + Attr("value", m.command) + Attr("delay", XmlNumber(m.delay)) + "/>\n";
    return xml + "  </" + std::string(element) + ">\n";
}

}  // namespace

std::vector<TutorialStep> ParseTutorialSteps(std::string_view text, std::vector<std::string>& faults) {
    std::vector<TutorialStep> steps;
    const auto fault = [&](int line, const std::string& what) {
        faults.push_back("line " + std::to_string(line) + ": " + what);
    };
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            TutorialStep step;
            step.line = number;
            if (line.size() != 7 || line.back() != ']' || line[3] != ' ' || !ReadInt(line.substr(1, 2), step.level) ||
                !ReadInt(line.substr(4, 2), step.step) || step.level < 1 || step.step < 1) {
                fault(number, "a step opens with \"[NN SS]\": its level and step numbers");
                continue;
            }
            const bool first = steps.empty() || steps.back().level != step.level;
            const int expected = first ? 1 : steps.back().step + 1;
            if (step.step != expected || (!steps.empty() && step.level < steps.back().level))
                fault(number, "steps run 01, 02, ... within each level, levels in order");
            steps.push_back(step);
            continue;
        }
        if (steps.empty()) {
            fault(number, "a value before the first \"[NN SS]\"");
            continue;
        }
        TutorialStep& step = steps.back();
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            fault(number, "not \"key = value\"");
            continue;
        }
        const std::string key(Trim(line.substr(0, equals)));
        const std::string_view value = Trim(line.substr(equals + 1));
        std::vector<std::pair<int, int>> cells;
        TutorialMessage message;
        if (key == "text") {
            if (value.empty() || value.find(' ') != std::string_view::npos) fault(number, "text: a string key");
            step.text = value;
        } else if (key == "button") {
            if (value != "next" && value != "start_game") fault(number, "button: next or start_game");
            step.button = value;
        } else if (key == "cells") {
            if (!ParseCells(value, cells)) fault(number, "cells: \"col row\" pairs joined by '|'");
            // A cell opens once: a second entry of it would keep the step waiting for ever.
            std::vector<std::pair<int, int>> sorted = cells;
            std::sort(sorted.begin(), sorted.end());
            if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
                fault(number, "cells: a cell listed twice can never be marked twice");
            step.cells = value;
        } else if (key == "action") {
            if (std::find(std::begin(kActions), std::end(kActions), value) == std::end(kActions) &&
                !(value.rfind("buy::", 0) == 0 && value.size() > 5))
                fault(number, "action \"" + std::string(value) + "\" is not one a step waits for");
            step.actions.emplace_back(value);
        } else if (key == "start" || key == "end") {
            if (!ParseMessage(value, message)) fault(number, key + ": \"<seconds> gameplay::...\"");
            (key == "start" ? step.start : step.end).push_back(message);
        } else if (key == "point") {
            const auto& targets = Theme::kTutorialArrow.targets;
            if (std::none_of(targets.begin(), targets.end(),
                             [&](const Theme::TutorialArrowTarget& target) { return target.name == value; }))
                fault(number, "point: switch, hint, store, reset or pause");
            step.point = value;
        } else if (key == "stack") {
            if (value != "true" && value != "false") fault(number, "stack: true or false");
            step.stack = value == "true";
        } else {
            fault(number, "unknown key \"" + key + "\"");
        }
    }
    for (const TutorialStep& step : steps) {
        if (step.text.empty()) fault(step.line, "a step without text");
        const bool movesOn = std::any_of(step.start.begin(), step.start.end(),
                                         [](const TutorialMessage& m) { return m.command == kNextStepCommand; });
        if (step.button.empty() && step.cells.empty() && step.actions.empty() && !movesOn)
            fault(step.line, "nothing ends this step: give it a button, cells, an action or a timed next step");
        // What the step shows the player is what it waits for.
        std::vector<std::pair<int, int>> waited;
        if (step.cells.empty() || !ParseCells(step.cells, waited)) continue;
        std::sort(waited.begin(), waited.end());
        const DemonstratedCells shown = CellsDemonstrated(step);
        if (!shown.dragged.empty() && shown.dragged != waited)
            fault(step.line, "its demonstration drags over other cells than the step waits for");
        if (!shown.pulsed.empty() && shown.pulsed != waited)
            fault(step.line, "it lights other cells than the step waits for");
    }
    return steps;
}

DemonstratedCells CellsDemonstrated(const TutorialStep& step) {
    DemonstratedCells shown;
    for (const TutorialMessage& m : step.start) {
        std::vector<std::string_view> tokens;
        for (std::string_view rest = m.command;;) {
            const size_t cut = rest.find("::");
            tokens.push_back(rest.substr(0, cut));
            if (cut == std::string_view::npos) break;
            rest.remove_prefix(cut + 2);
        }
        std::vector<std::pair<int, int>> cells;
        if (tokens.size() >= 5 && (tokens[2] == "selection" || tokens[2] == "fill")) {
            // A drag from one cell to another along a row or a column.
            std::vector<std::pair<int, int>> ends;
            if (!ParseCells(tokens[3], ends) || !ParseCells(tokens[4], ends) || ends.size() != 2) continue;
            const auto [c0, r0] = ends[0];
            const auto [c1, r1] = ends[1];
            for (int c = std::min(c0, c1); c <= std::max(c0, c1); ++c)
                for (int r = std::min(r0, r1); r <= std::max(r0, r1); ++r) shown.dragged.emplace_back(c, r);
        } else if (tokens.size() >= 6 && tokens[2] == "block" && !tokens[5].empty()) {
            // Cells freed with an effect on them.
            if (ParseCells(tokens[3], cells)) shown.pulsed.insert(shown.pulsed.end(), cells.begin(), cells.end());
        }
    }
    for (std::vector<std::pair<int, int>>* list : {&shown.dragged, &shown.pulsed}) {
        std::sort(list->begin(), list->end());
        list->erase(std::unique(list->begin(), list->end()), list->end());
    }
    return shown;
}

std::vector<std::pair<int, int>> CellsOfStep(const TutorialStep& step) {
    std::vector<std::pair<int, int>> cells;
    if (!step.cells.empty()) ParseCells(step.cells, cells);
    for (const std::vector<TutorialMessage>* list : {&step.start, &step.end}) {
        for (const TutorialMessage& m : *list) {
            std::string_view rest = m.command;
            while (!rest.empty()) {
                const size_t cut = rest.find("::");
                const std::string_view token = rest.substr(0, cut);
                std::vector<std::pair<int, int>> found;
                if (ParseCells(token, found)) cells.insert(cells.end(), found.begin(), found.end());
                if (cut == std::string_view::npos) break;
                rest.remove_prefix(cut + 2);
            }
        }
    }
    return cells;
}

std::vector<std::string> EffectsOfCommand(std::string_view command) {
    std::vector<std::string> tokens;
    while (true) {
        const size_t cut = command.find("::");
        tokens.emplace_back(command.substr(0, cut));
        if (cut == std::string_view::npos) break;
        command.remove_prefix(cut + 2);
    }
    // The board's vocabulary follows "gameplay::process::".
    if (tokens.size() < 3 || tokens[0] != "gameplay" || tokens[1] != "process") return {};
    const std::string& verb = tokens[2];
    std::vector<std::string> names;
    if (verb == "effect_start" && tokens.size() > 3) names.push_back(tokens.back());
    if (verb == "block" && tokens.size() > 5) names.push_back(tokens[5]);
    if (verb == "is_block" && tokens.size() > 4) names.push_back(tokens[4]);
    std::erase(names, std::string());
    return names;
}

std::vector<std::string> EffectsOfStep(const TutorialStep& step) {
    std::vector<std::string> names;
    for (const std::vector<TutorialMessage>* list : {&step.start, &step.end})
        for (const TutorialMessage& m : *list)
            for (std::string& name : EffectsOfCommand(m.command)) names.push_back(std::move(name));
    return names;
}

std::vector<std::pair<int, int>> CellsUnderPanel(const TutorialStep& step, const Theme::BoardGeometry& board) {
    const Theme::TutorialStepTheme& t = Theme::kTutorialStep;
    const float panelX = Theme::kBoardBackground.width / 2.0f + static_cast<float>(t.x);
    const float panelY = Theme::kBoardBackground.height / 2.0f + static_cast<float>(t.y);
    const float halfW = static_cast<float>(t.width) / 2.0f, halfH = static_cast<float>(t.height) / 2.0f;
    // The board's cells as the level's layout places them: whole blocks less a gap at every block
    // edge, the cells starting a gap before the field.
    const int blocks = board.block > 0 ? (board.size + board.block - 1) / board.block : 1;
    const float field = static_cast<float>(blocks * board.cell * board.block - (blocks + 1) * board.shift);
    const auto edge = [&](float centre, int index) {
        const int block = board.block > 0 ? index / board.block : 0;
        return centre - field / 2.0f - static_cast<float>(board.shift) +
               static_cast<float>(index * board.cell - block * board.shift);
    };
    std::vector<std::pair<int, int>> covered;
    for (const auto& [col, row] : CellsOfStep(step)) {
        const float x0 = edge(board.x, col), y0 = edge(board.y, row);
        const float x1 = x0 + static_cast<float>(board.cell), y1 = y0 + static_cast<float>(board.cell);
        if (x0 < panelX + halfW && x1 > panelX - halfW && y0 < panelY + halfH && y1 > panelY - halfH)
            covered.emplace_back(col, row);
    }
    return covered;
}

std::string StepWindowName(std::string_view folder, int level, int step) {
    const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    return std::string(folder) + "-level" + two(level) + "-step" + two(step);
}

std::string StepFileName(int step) {
    return "step" + std::string(step < 10 ? "0" : "") + std::to_string(step) + ".xml";
}

std::string TutorialStepXml(const TutorialStep& step, std::string_view windowName, std::string_view title) {
    const Theme::TutorialStepTheme& t = Theme::kTutorialStep;
    const std::string ink = Hex(Theme::kInk, 0xFF), onAccent = Hex(Theme::kTextOnAccent, 0xFF);
    const std::string gui(Theme::kGuiFolder);
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<!-- A step of a tutorial level. Made by the content builder from steps.txt. -->\n";
    xml += "<window" + Attr("_name", windowName) + Attr("_type", "TWindow_TutorialStep") +
           Attr("_typeOpen", "SH_FADE") + Attr("_typeClose", "SH_FADE") + Attr("_timeShow", XmlNumber(t.fadeSeconds)) +
           Attr("_modal", "false") + Attr("_layer", XmlNumber(t.layer)) + ">\n  <GUI>\n";
    xml += "    <PANEL9" + Attr("ID", XmlNumber(t.idPanel)) + Attr("MOVABLE", "false");
    for (int piece = 0; piece < 9; ++piece) {
        const std::string place = std::to_string(piece / 3 + 1) + "_" + std::to_string(piece % 3 + 1);
        xml += Attr("TX_" + place, ResourceKey(gui, std::string(Theme::kPanel9FilePrefix) + place + ".png"));
    }
    xml += ">\n      <POSITION>" + XmlNumber(t.x) + " " + XmlNumber(t.y) + "</POSITION>\n      <SIZE>" +
           XmlNumber(t.width) + " " + XmlNumber(t.height) + "</SIZE>\n      <CONTEXT>\n";
    const std::string indent = "        ";
    xml += Label(indent, t.idTitle, "bold22", title, -t.height / 2 + 40, ink);
    xml += Label(indent, t.idText, "body18", step.text, step.button.empty() ? 10 : -8, ink);
    if (!step.button.empty()) {
        const bool next = step.button == "next";
        xml += indent + "<BUTTON5" + Attr("ID", XmlNumber(next ? t.idNext : t.idStartGame)) +
               Attr("TEXTURE", ResourceKey(gui, "button_small.png")) + ">\n" + indent + "  <POSITION>0 " +
               XmlNumber(t.height / 2 - 46) + "</POSITION>\n" + indent + "  <CONTEXT>\n";
        xml += Label(indent + "    ", t.idCaption, "bold22", next ? t.nextKey : t.startGameKey, 0, onAccent);
        xml += indent + "  </CONTEXT>\n" + indent + "</BUTTON5>\n";
    }
    // The flash: white, painted by the step in its colours, over the panel inside its shadow.
    xml += indent + "<IMAGE" + Attr("ID", XmlNumber(t.idError)) +
           Attr("TEXTURE", ResourceKey(Theme::kPackArtFolder, t.flashFile)) + Attr("HOT_SPOT", "HS_MID") +
           Attr("VISIBLE", "false") + "/>\n";
    xml += "      </CONTEXT>\n    </PANEL9>\n";
    // The arrow at the control the step speaks of, beside the panel on the screen.
    const Theme::TutorialArrowTheme& arrow = Theme::kTutorialArrow;
    for (const Theme::TutorialArrowTarget& target : arrow.targets) {
        if (target.name != step.point) continue;
        const float x =
            target.left - arrow.gap - static_cast<float>(arrow.width) / 2.0f - Theme::kBoardBackground.width / 2.0f;
        const float y = target.y - Theme::kBoardBackground.height / 2.0f;
        xml += "    <IMAGE" + Attr("ID", XmlNumber(arrow.id)) +
               Attr("TEXTURE", ResourceKey(Theme::kPackArtFolder, arrow.file)) + Attr("HOT_SPOT", "HS_MID") +
               "><POSITION>" + XmlNumber(x) + " " + XmlNumber(y) + "</POSITION></IMAGE>\n";
    }
    xml += "  </GUI>\n  <settings>\n";
    if (step.button == "next") xml += Param("button_next", XmlNumber(t.idNext));
    if (step.button == "start_game") xml += Param("button_start_game", XmlNumber(t.idStartGame));
    xml += Param("is_in_stack", step.stack ? "1" : "0");
    xml += Param("error_time", XmlNumber(t.errorSeconds));
    // Clear, up to the error colour and back: the image stays shown after a flash, so it must end clear.
    xml += Param("error_color_start", Hex(t.error, 0x00));
    xml += Param("error_color_end", Hex(t.error, t.errorAlpha));
    xml += Param("error_id", XmlNumber(t.idError));
    xml += "  </settings>\n";
    xml += Messages("messages_start", step.start);
    xml += Messages("messages_end", step.end);
    xml += "  <finish>\n";
    if (!step.cells.empty()) xml += "    <elements" + Attr("value", step.cells) + "/>\n";
    for (const std::string& action : step.actions) xml += "    <action" + Attr("value", action) + "/>\n";
    xml += "  </finish>\n";
    return xml + "</window>\n";
}

}  // namespace ContentBuilder
