#include "tools/content_builder/layout_file_check.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "tools/content_builder/layout_forms.h"

namespace ContentBuilder {
namespace {

constexpr std::string_view kConfirm = "G_WINDOW_CONFIRM";
constexpr std::string_view kConfirmEx = "GG_WINDOW_CONFIRM_EX";
constexpr std::string_view kEditBox = "G_WINDOW_EDITBOX";
constexpr std::string_view kSimple = "G_WINDOW_SIMPLE";

// Made by the window-type registry, then by the game's default factory.
constexpr std::array<std::string_view, 24> kWindowTypes{kConfirm,
                                                        kConfirmEx,
                                                        "GG_WINDOW_PLAYERS",
                                                        "GG_WINDOW_TITLE",
                                                        "GG_WINDOW_TITLE_TOP",
                                                        "TWindow_GameFinish",
                                                        "TWindow_GameMenu",
                                                        "TWindow_GameStart",
                                                        "TWindow_HelpEx",
                                                        "TWindow_Pack",
                                                        "TWindow_PackTutorial",
                                                        "TWindow_TutorialStep",
                                                        "GG_WINDOW_OPTIONS",
                                                        "WindowSidebar",
                                                        kEditBox,
                                                        "GG_WINDOW_LEVEL",
                                                        "GG_WINDOW_HELP",
                                                        "GG_WINDOW_TROPHY",
                                                        kSimple,
                                                        "GG_WINDOW_TROPHY_GET",
                                                        "GG_WINDOW_SUNIME",
                                                        "GG_WINDOW_SHOP",
                                                        "GG_WINDOW_HEALTH",
                                                        "GG_WINDOW_OFFERWALL"};

constexpr std::array<std::string_view, 6> kTransitions{"SH_MOMENTAL",  "SH_FADE",      "SH_MOVE_UP",
                                                       "SH_MOVE_DOWN", "SH_MOVE_LEFT", "SH_MOVE_RIGHT"};

constexpr std::array<std::string_view, 3> kTurnTypes{"SLIDE_HORIZONTAL", "SLIDE_VERTICAL", "MOMENTAL"};

template <size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view text) {
    return std::find(names.begin(), names.end(), text) != names.end();
}

// The standard windows have no behaviour beyond what their type reads; game windows read more
// of their file (their own attributes and children), which is theirs to check.
bool IsStandard(std::string_view type) { return type == kConfirm || type == kEditBox || type == kSimple; }

void CheckAttributes(const pugi::xml_node& element, const std::vector<std::pair<std::string_view, ValueForm>>& rules,
                     bool strict, LayoutProblems& problems) {
    for (const pugi::xml_attribute& a : element.attributes()) {
        const auto rule = std::find_if(rules.begin(), rules.end(), [&](const auto& r) { return r.first == a.name(); });
        if (rule == rules.end()) {
            if (strict) AddProblem(problems, element, std::string("unknown attribute ") + a.name());
            continue;
        }
        const std::string fault = CheckValueForm(a.value(), rule->second);
        if (!fault.empty()) AddProblem(problems, element, std::string(a.name()) + ": " + fault);
    }
}

void CheckRootAttributes(const pugi::xml_node& root, std::string_view type, LayoutProblems& problems) {
    using F = ValueForm;
    static const std::vector<std::pair<std::string_view, ValueForm>> rules{
        {"_name", F::kText},         {"_type", F::kText},         {"_typeOpen", F::kText},
        {"_typeClose", F::kText},    {"_typePos", F::kText},      {"_timeShow", F::kSeconds},
        {"_timeHide", F::kSeconds},  {"_delayShow", F::kSeconds}, {"_delayHide", F::kSeconds},
        {"_modal", F::kBool},        {"layer", F::kInt},          {"_layer", F::kInt},
        {"_position", F::kFloatPair}};
    CheckAttributes(root, rules, IsStandard(type), problems);
    if (!IsStandard(type)) {
        for (const pugi::xml_attribute& a : root.attributes())
            if (a.name()[0] == '_' &&
                std::none_of(rules.begin(), rules.end(), [&](const auto& r) { return r.first == a.name(); }))
                AddProblem(problems, root, std::string("unknown window attribute ") + a.name());
    }

    if (std::string_view(root.attribute("_name").value()).empty()) AddProblem(problems, root, "missing _name");
    if (type.empty()) AddProblem(problems, root, "missing _type");
    else if (!IsKnownWindowType(type))
        AddProblem(problems, root,
                   "_type \"" + std::string(type) + "\" is made by neither the registry nor the factory");

    // The defaults (a move down) are rarely meant: both transitions are written out.
    for (const char* key : {"_typeOpen", "_typeClose"}) {
        const pugi::xml_attribute a = root.attribute(key);
        if (!a) AddProblem(problems, root, std::string("missing ") + key + " (the default is SH_MOVE_DOWN)");
        else if (!OneOf(kTransitions, a.value()))
            AddProblem(problems, root,
                       std::string(key) + ": \"" + a.value() + "\" is no transition (SH_MOMENTAL ... SH_MOVE_RIGHT)");
    }
    if (std::string_view(root.attribute("_typeOpen").value()) == "SH_MOMENTAL" && root.attribute("_timeShow"))
        AddProblem(problems, root, "_timeShow is not read when _typeOpen is SH_MOMENTAL");
    if (std::string_view(root.attribute("_typeClose").value()) == "SH_MOMENTAL" && root.attribute("_timeHide"))
        AddProblem(problems, root, "_timeHide is not read when _typeClose is SH_MOMENTAL");
    if (root.attribute("layer") && root.attribute("_layer"))
        AddProblem(problems, root, "both layer and _layer: write only _layer");
    const std::string_view position = root.attribute("_typePos").value();
    if (root.attribute("_position") && (position.empty() || position == "POS_MIDDLE_SCREEN"))
        AddProblem(problems, root, "_position is not read for a window in the middle of the screen (_typePos)");
}

void CheckBackground(const pugi::xml_node& background, const LayoutReferences& refs, LayoutProblems& problems) {
    CheckResourceKey(background, "background texture", background.child_value(), ".png", refs, problems);
    CheckAttributes(background,
                    {{"START_COLOR", ValueForm::kArgbColour},
                     {"END_COLOR", ValueForm::kArgbColour},
                     {"SIZE", ValueForm::kFloatPair}},
                    true, problems);
}

// One bot description: its parameters, then what its builder needs.
void CheckBot(const pugi::xml_node& bot, const WidgetIds& ids, LayoutProblems& problems) {
    std::map<std::string, std::string, std::less<>> params;
    for (const pugi::xml_node& param : bot.children()) {
        if (param.type() != pugi::node_element) continue;
        if (!param.attribute("key") || !param.attribute("value")) {
            AddProblem(problems, param, "a bot parameter needs \"key\" and \"value\"");
            continue;
        }
        if (!params.emplace(param.attribute("key").value(), param.attribute("value").value()).second)
            AddProblem(problems, param, std::string("key \"") + param.attribute("key").value() + "\" repeated");
    }
    static const std::map<std::string_view, std::vector<std::string_view>> kNeeds{
        {"move", {"delay", "time", "position_begin", "position_end"}},
        {"move_loop", {"delay_step", "delay", "time", "position_begin", "position_end"}},
        {"animation", {"delay"}},
        {"show", {"delay", "time"}},
        {"hide", {"delay", "time"}}};
    const auto type = params.find("type");
    const auto needs = type == params.end() ? kNeeds.end() : kNeeds.find(type->second);
    if (needs == kNeeds.end()) {
        AddProblem(problems, bot, "bot \"type\" must be move, move_loop, animation, show or hide");
        return;
    }
    for (std::string_view key : needs->second)
        if (params.find(key) == params.end()) AddProblem(problems, bot, "bot needs \"" + std::string(key) + "\"");
    for (const auto& [key, value] : params) {
        ValueForm form = ValueForm::kText;
        if (key == "delay" || key == "time" || key == "delay_step") form = ValueForm::kSeconds;
        if (key == "position_begin" || key == "position_end") {
            const auto numbers = ParseNumberList(value);
            if (!numbers || numbers->size() != 3)
                AddProblem(problems, bot, key + ": \"" + value + "\" is not \"x y z\"");
            continue;
        }
        const std::string fault = CheckValueForm(value, form);
        if (!fault.empty()) AddProblem(problems, bot, key + ": " + fault);
    }
    const auto gui = params.find("gui");
    if (gui == params.end()) {
        AddProblem(problems, bot, "bot needs \"gui\" (the widget id)");
        return;
    }
    const bool list = type->second == "show" || type->second == "hide";
    size_t start = 0;
    while (start <= gui->second.size()) {
        const size_t end = list ? std::min(gui->second.find('|', start), gui->second.size()) : gui->second.size();
        const std::string piece = gui->second.substr(start, end - start);
        const auto id = ParseInteger(piece);
        const auto widget = id ? ids.find(*id) : ids.end();
        if (widget == ids.end()) AddProblem(problems, bot, "gui: \"" + piece + "\" is no widget id of this window");
        else if (type->second == "animation" && std::string_view(widget->second.name()) != "IMAGE")
            AddProblem(problems, bot, "an animation bot needs an IMAGE, not " + std::string(widget->second.name()));
        start = end + 1;
    }
}

void CheckSounds(const pugi::xml_node& sounds, const WidgetIds& ids, const LayoutReferences& refs,
                 LayoutProblems& problems) {
    for (const pugi::xml_node& item : sounds.children()) {
        if (item.type() != pugi::node_element) continue;
        if (std::string_view(item.name()) != "item") {
            AddProblem(problems, item, "only \"item\" elements are read");
            continue;
        }
        CheckAttributes(item, {{"id", ValueForm::kId}, {"sound", ValueForm::kText}}, true, problems);
        const auto id = ParseInteger(item.attribute("id").value());
        if (!id || ids.find(*id) == ids.end())
            AddProblem(problems, item,
                       std::string("id \"") + item.attribute("id").value() + "\" is no widget id of this window");
        const std::string_view sound = item.attribute("sound").value();
        if (!refs.sound(sound))
            AddProblem(problems, item, "sound \"" + std::string(sound) + "\" is not in the \"sounds\" group");
    }
}

void CheckSettings(const pugi::xml_node& settings, std::string_view type, LayoutProblems& problems) {
    if (type == kEditBox) {
        CheckAttributes(settings, {{"text_color", ValueForm::kHexColour}, {"text_color_error", ValueForm::kHexColour}},
                        true, problems);
        // Without them the text is white on the paper-coloured field.
        for (const char* key : {"text_color", "text_color_error"})
            if (!settings.attribute(key)) AddProblem(problems, settings, std::string("missing ") + key);
    } else if (IsStandard(type)) {
        AddProblem(problems, settings, "a " + std::string(type) + " reads no settings");
    }
}

bool IsA(const WidgetIds& ids, long long id, std::string_view element) {
    const auto at = ids.find(id);
    return at != ids.end() && std::string_view(at->second.name()) == element;
}

// The controls the standard windows bind: a widget of another class is not bound.
void CheckControls(const pugi::xml_node& root, std::string_view type, const WidgetIds& ids, LayoutProblems& problems) {
    const auto expect = [&](long long id, std::string_view element, bool required, std::string_view role) {
        const auto at = ids.find(id);
        if (at == ids.end()) {
            if (required)
                AddProblem(problems, root,
                           "no " + std::string(element) + " " + std::to_string(id) + " (" + std::string(role) + ")");
        } else if (std::string_view(at->second.name()) != element) {
            AddProblem(
                problems, at->second,
                "control " + std::to_string(id) + " (" + std::string(role) + ") must be a " + std::string(element));
        }
    };
    if (type == kConfirm || type == kConfirmEx) {
        expect(2, "WLABEL", false, "the text");
        for (long long id : {3, 4, 5}) expect(id, "BUTTON5", false, id == 3 ? "yes" : id == 4 ? "no" : "close");
        if (!IsA(ids, 3, "BUTTON5") && !IsA(ids, 4, "BUTTON5") && !IsA(ids, 5, "BUTTON5"))
            AddProblem(problems, root, "a confirm window needs at least one of the buttons 3, 4 and 5 to close");
    } else if (type == kEditBox) {
        expect(2, "LINEBOX", true, "the entry");
        expect(3, "BUTTON5", true, "OK");
        expect(4, "BUTTON5", false, "cancel");
        expect(5, "WLABEL", false, "the error text");
        // The edit box turns OK on and off by its state; a widget disabled in the layout takes no
        // input at all and is never enabled again.
        const auto ok = ids.find(3);
        for (pugi::xml_node node = ok == ids.end() ? pugi::xml_node() : ok->second; node && node != root;
             node = node.parent())
            if (std::string_view(node.attribute("ENABLE").value()) == "false")
                AddProblem(problems, node, "ENABLE=\"false\" here keeps the OK button from ever taking a click");
    }
}

}  // namespace

namespace {

// What grid items read from their element: every item its "size"; the shop's offers also their
// "type" (a store item name) and "gameplayonly" (a boolean).
bool IsItemAttribute(std::string_view name) { return name == "size" || name == "type" || name == "gameplayonly"; }

}  // namespace

bool IsKnownWindowType(std::string_view type) { return OneOf(kWindowTypes, type); }

LayoutProblems CheckWindowFile(const pugi::xml_document& document, const LayoutReferences& refs) {
    LayoutProblems problems;
    const pugi::xml_node root = document.document_element();
    if (!root) {
        problems.push_back({0, "no root element"});
        return problems;
    }
    const std::string_view type = root.attribute("_type").value();
    CheckRootAttributes(root, type, problems);

    WidgetIds ids;
    std::set<std::string_view> seen;
    for (const pugi::xml_node& child : root.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view name = child.name();
        if (!seen.insert(name).second) {
            AddProblem(problems, child, "repeated: only the first is read");
            continue;
        }
        if (name == "GUI") CheckWidgetTree(child, true, refs, ids, problems);
    }
    for (const pugi::xml_node& child : root.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view name = child.name();
        if (name == "GUI" || root.child(child.name()) != child) continue;  // repeats are reported above
        if (name == "background") {
            CheckBackground(child, refs, problems);
        } else if (name == "bots") {
            for (const pugi::xml_node& bot : child.children())
                if (bot.type() == pugi::node_element) CheckBot(bot, ids, problems);
        } else if (name == "sounds") {
            CheckSounds(child, ids, refs, problems);
        } else if (name == "settings" || name == "SETTINGS") {
            CheckSettings(child, type, problems);
        } else if (IsStandard(type)) {
            AddProblem(problems, child, "not read by a " + std::string(type));
        }
    }
    if (type == kEditBox && !root.child("settings") && !root.child("SETTINGS"))
        AddProblem(problems, root, "an edit box needs \"settings\" with text_color and text_color_error");
    if (root.child("settings") && root.child("SETTINGS"))
        AddProblem(problems, root.child("SETTINGS"), "not read: \"settings\" stands");
    CheckControls(root, type, ids, problems);
    return problems;
}

LayoutProblems CheckWindowList(const pugi::xml_document& document,
                               const std::function<bool(std::string_view key)>& isWindow,
                               std::vector<std::string>& listed) {
    LayoutProblems problems;
    const pugi::xml_node root = document.document_element();
    if (!root) {
        problems.push_back({0, "no root element"});
        return problems;
    }
    for (const pugi::xml_node& entry : root.children()) {
        if (entry.type() != pugi::node_element) continue;
        const pugi::xml_attribute file = entry.attribute("file");
        if (!file) {
            AddProblem(problems, entry, "no \"file\": the window manager skips it");
            continue;
        }
        const std::string key = file.value();
        if (std::find(listed.begin(), listed.end(), key) != listed.end())
            AddProblem(problems, entry, "\"" + key + "\" listed twice: it would load as a second window");
        else if (!isWindow(key))
            AddProblem(problems, entry, "\"" + key + "\" is not a window file of the built content");
        listed.push_back(key);
    }
    return problems;
}

LayoutProblems CheckPagesLayout(const pugi::xml_document& document, const LayoutReferences& refs) {
    LayoutProblems problems;
    const pugi::xml_node root = document.document_element();
    if (!root) {
        problems.push_back({0, "no root element"});
        return problems;
    }
    using F = ValueForm;
    CheckAttributes(root,
                    {{"cols", F::kId},
                     {"rows", F::kId},
                     {"interval_x", F::kCount},
                     {"interval_y", F::kCount},
                     {"turn_type", F::kText},
                     {"turn_offset", F::kFloatPair},
                     {"pos", F::kFloatPair},
                     {"slide_rect", F::kFourNumbers},
                     {"turn_speed", F::kFloat}},
                    true, problems);
    for (const char* key : {"cols", "rows"})
        if (!root.attribute(key)) AddProblem(problems, root, std::string("missing ") + key + " (no pages without it)");
    if (const pugi::xml_attribute turn = root.attribute("turn_type"); turn && !OneOf(kTurnTypes, turn.value()))
        AddProblem(
            problems, root,
            std::string("turn_type \"") + turn.value() + "\" is not SLIDE_HORIZONTAL, SLIDE_VERTICAL or MOMENTAL");
    if (const auto speed = ParseNumberList(root.attribute("turn_speed").value()); speed && speed->front() <= 0)
        AddProblem(problems, root, "turn_speed must be above 0");

    std::string firstSize;
    bool sizesDiffer = false;
    for (const pugi::xml_node& item : root.children()) {
        if (item.type() != pugi::node_element) continue;
        const pugi::xml_attribute size = item.attribute("size");
        const std::string fault = size ? CheckValueForm(size.value(), F::kPoint) : "missing";
        if (!fault.empty()) {
            AddProblem(problems, item, "size: " + fault);
        } else if (firstSize.empty()) {
            firstSize = size.value();
        } else if (firstSize != size.value() && !sizesDiffer) {
            sizesDiffer = true;
            AddProblem(problems, item,
                       "size \"" + std::string(size.value()) +
                           "\": every item is laid out with the first item's size \"" + firstSize + "\"");
        }
        for (const pugi::xml_attribute& a : item.attributes())
            if (!IsItemAttribute(a.name())) AddProblem(problems, item, std::string("unknown attribute ") + a.name());
        WidgetIds ids;
        std::set<std::string_view> seen;
        for (const pugi::xml_node& child : item.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string_view name = child.name();
            if (!seen.insert(name).second) {
                AddProblem(problems, child, "repeated: only the first is read");
            } else if (name == "GUI") {
                CheckWidgetTree(child, false, refs, ids, problems);
            } else if (name == "property") {
                for (const pugi::xml_node& param : child.children())
                    if (param.type() == pugi::node_element && (!param.attribute("key") || !param.attribute("value")))
                        AddProblem(problems, param, "a property needs \"key\" and \"value\"");
            } else {
                AddProblem(problems, child, "not read by a page item (GUI, property)");
            }
        }
    }
    return problems;
}

}  // namespace ContentBuilder
