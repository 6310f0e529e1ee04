#include "tools/content_builder/widget_check.h"

#include <algorithm>
#include <cctype>

#include "tools/content_builder/layout_forms.h"

namespace ContentBuilder {
namespace {

// What a value refers to, beside its form.
enum class Ref { kNone, kTexture, kFont, kLabelText };

struct AttributeRule {
    std::string_view name;
    ValueForm form;
    Ref ref;
    bool required;
};

enum class ChildKind { kValue, kWidgets, kScripts, kItems, kButtons, kAnimation };

struct ChildRule {
    std::string_view name;
    ChildKind kind;
    ValueForm form;
    Ref ref;
};

struct WidgetRule {
    std::string_view element;
    std::vector<AttributeRule> attributes;
    std::vector<ChildRule> children;
    bool clickable;                // takes presses and releases
    bool panel;                    // a background that takes the clicks over its whole area
    std::string_view scriptEvent;  // the one event its "SCRIPTS" may name
    bool spriteTexture;            // needs a texture as a sprite names it: "FILE" child or "TEXTURE"
};

AttributeRule Required(std::string_view name, ValueForm form, Ref ref = Ref::kNone) { return {name, form, ref, true}; }
AttributeRule Optional(std::string_view name, ValueForm form, Ref ref = Ref::kNone) { return {name, form, ref, false}; }
ChildRule Value(std::string_view name, ValueForm form, Ref ref = Ref::kNone) {
    return {name, ChildKind::kValue, form, ref};
}
ChildRule Special(std::string_view name, ChildKind kind) { return {name, kind, ValueForm::kText, Ref::kNone}; }

const std::vector<AttributeRule>& CommonAttributes() {
    static const std::vector<AttributeRule> rules{Optional("ENABLE", ValueForm::kBool),
                                                  Optional("VISIBLE", ValueForm::kBool)};
    return rules;
}

const std::vector<ChildRule>& CommonChildren() {
    static const std::vector<ChildRule> rules{Value("TRANSFORM", ValueForm::kTransform),
                                              Value("SIZE", ValueForm::kPoint), Value("POSITION", ValueForm::kPoint),
                                              Special("CONTEXT", ChildKind::kWidgets)};
    return rules;
}

std::vector<ChildRule> SpriteChildren(bool animation) {
    std::vector<ChildRule> rules{Value("FILE", ValueForm::kText, Ref::kTexture),
                                 Value("HOT_SPOT", ValueForm::kHotSpotName), Value("POS", ValueForm::kFloatPair),
                                 Value("COLOR", ValueForm::kArgbColour), Value("TEXEL", ValueForm::kFourNumbers)};
    if (animation) rules.push_back(Special("ANIMATION", ChildKind::kAnimation));
    return rules;
}

std::vector<AttributeRule> NinePatchAttributes() {
    std::vector<AttributeRule> rules{Required("ID", ValueForm::kId), Optional("MOVABLE", ValueForm::kBool)};
    for (std::string_view key :
         {"TX_1_1", "TX_1_2", "TX_1_3", "TX_2_1", "TX_2_2", "TX_2_3", "TX_3_1", "TX_3_2", "TX_3_3"})
        rules.push_back(Required(key, ValueForm::kText, Ref::kTexture));
    return rules;
}

const std::vector<WidgetRule>& Vocabulary() {
    using F = ValueForm;
    static const std::vector<WidgetRule> rules{
        {"WLABEL",
         {Required("ID", F::kId), Required("FONT", F::kText, Ref::kFont),
          Required("FONT_TEXTURE", F::kText, Ref::kTexture), Optional("TEXT", F::kText, Ref::kLabelText),
          Optional("LINE_HEIGHT", F::kCount), Optional("HOT_SPOT", F::kHotSpotIndex),
          Optional("FONT_COLOR", F::kHexColour)},
         {},
         false,
         false,
         "",
         false},
        {"IMAGE",
         {Required("ID", F::kId), Optional("TEXTURE", F::kText, Ref::kTexture), Optional("HOT_SPOT", F::kHotSpotName)},
         SpriteChildren(true),
         false,
         false,
         "",
         true},
        {"BUTTON5", {Required("ID", F::kId), Required("TEXTURE", F::kText, Ref::kTexture)}, {}, true, false, "", false},
        {"PANEL",
         {Required("ID", F::kId), Required("TEXTURE", F::kText, Ref::kTexture), Optional("MOVABLE", F::kBool)},
         {Special("SCRIPTS", ChildKind::kScripts)},
         true,
         true,
         "GRAB",
         false},
        {"PANEL9", NinePatchAttributes(), {Special("SCRIPTS", ChildKind::kScripts)}, true, true, "GRAB", false},
        {"CHECKBOX",
         {Required("ID", F::kId), Required("TEXTURE", F::kText, Ref::kTexture)},
         {},
         true,
         false,
         "",
         false},
        {"CHECKBOX_IOS",
         {Required("ID", F::kId), Required("TX_PANEL", F::kText, Ref::kTexture),
          Required("TX_BTN", F::kText, Ref::kTexture), Optional("TX_PANEL_OFF", F::kText, Ref::kTexture)},
         {},
         true,
         false,
         "",
         false},
        {"LINEBOX",
         {Required("ID", F::kId), Required("TEXTURE", F::kText, Ref::kTexture), Required("FONT", F::kText, Ref::kFont),
          Required("FONT_TEXTURE", F::kText, Ref::kTexture), Optional("MAXLEN", F::kCount),
          Optional("MAXLENPIX", F::kCount), Optional("TEXT", F::kText), Optional("CARRY_BLINK_TIME", F::kSeconds),
          Optional("FONT_COLOR", F::kArgbColour), Optional("ALIGNMENT", F::kAlignment)},
         {Value("INPUT_AREA", F::kFourNumbers)},
         true,
         false,
         "",
         false},
        {"LISTBOX",
         {Required("ID", F::kId), Required("LIST_TEXTURE", F::kText, Ref::kTexture),
          Required("PANEL_TEXTURE", F::kText, Ref::kTexture), Required("SLIDER12_TEXTURE", F::kText, Ref::kTexture),
          Required("FONT", F::kText, Ref::kFont), Required("FONT_TEXTURE", F::kText, Ref::kTexture),
          Optional("SLIDER_BTN_DIST", F::kFloat), Optional("SLIDER_DISTANCE", F::kFloat),
          Optional("VISIBLE_COUNT", F::kCount), Optional("LEFT_MARGIN", F::kInt), Optional("UPPER_MARGIN", F::kInt),
          Optional("FONT_COLOR", F::kArgbColour), Optional("FONT_SELECTED_COLOR", F::kArgbColour),
          Optional("ROW_TEXTURE", F::kText, Ref::kTexture), Optional("DRAW_COUNT", F::kCount),
          Optional("MAX_ROW", F::kCount)},
         {Special("ITEMS", ChildKind::kItems)},
         true,
         false,
         "",
         false},
        {"PROGRESS_BAR",
         {Required("ID", F::kId), Optional("TEXTURE", F::kText, Ref::kTexture)},
         SpriteChildren(false),
         false,
         false,
         "",
         true},
        {"SLIDER13",
         {Required("ID", F::kId), Required("TEXTURE", F::kText, Ref::kTexture), Required("START", F::kFloatPair),
          Required("END", F::kFloatPair), Optional("RADIUS", F::kFloat), Optional("BTN_DISTANCE", F::kFloat),
          Optional("MIN", F::kFloat), Optional("MAX", F::kFloat), Optional("STEP", F::kFloat),
          Optional("VALUE", F::kFloat)},
         {Special("SCRIPTS", ChildKind::kScripts)},
         true,
         false,
         "VALUE_CHANGED",
         false},
        {"SIMPLESLIDER",
         {Required("ID", F::kId), Required("PROGRESS", F::kText, Ref::kTexture),
          Required("RUNNER", F::kText, Ref::kTexture)},
         {},
         true,
         false,
         "",
         false},
        {"PAGE_NUMBER",
         {Required("ID", F::kId), Optional("FILE", F::kText, Ref::kTexture), Optional("DRAW_PAGINATION", F::kBool)},
         {Special("BUTTONS", ChildKind::kButtons), Value("FILE", F::kText, Ref::kTexture)},
         true,
         false,
         "",
         false},
    };
    return rules;
}

const WidgetRule* FindRule(std::string_view element) {
    for (const WidgetRule& rule : Vocabulary())
        if (rule.element == element) return &rule;
    return nullptr;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string Stem(std::string_view key) {
    const size_t dot = key.rfind('.');
    return std::string(key.substr(0, dot == std::string_view::npos ? key.size() : dot));
}

void CheckValue(const pugi::xml_node& node, std::string_view what, std::string_view text, ValueForm form, Ref ref,
                bool labelsAreKeys, const LayoutReferences& refs, LayoutProblems& problems) {
    const std::string fault = CheckValueForm(text, form);
    if (!fault.empty()) {
        AddProblem(problems, node, std::string(what) + ": " + fault);
        return;
    }
    switch (ref) {
        case Ref::kNone: break;
        case Ref::kTexture: CheckResourceKey(node, what, text, ".png", refs, problems); break;
        case Ref::kFont: CheckResourceKey(node, what, text, ".xml", refs, problems); break;
        case Ref::kLabelText:
            if (labelsAreKeys && !refs.string(text))
                AddProblem(problems, node,
                           std::string(what) + ": \"" + std::string(text) + "\" is not a key of the string table");
            break;
    }
}

// A widget id: unique in the tree.
void RecordId(const pugi::xml_node& node, const pugi::xml_attribute& id, WidgetIds& ids, LayoutProblems& problems) {
    const auto value = ParseInteger(id.value());
    if (!value || CheckValueForm(id.value(), ValueForm::kId) != "") return;  // reported with the attribute
    const auto [at, inserted] = ids.emplace(*value, node);
    if (!inserted)
        AddProblem(problems, node,
                   "ID " + std::to_string(*value) + " is already used by " + at->second.name() +
                       " (ids are unique within a window or page item)");
}

// A page item's widgets are found below the item's own root, never the root itself, so an item
// may use id 0 (the trophy list's closed medal is control 0); window widgets may not.
bool IsItemControlZero(const pugi::xml_attribute& a, bool labelsAreKeys) {
    return !labelsAreKeys && std::string_view(a.name()) == "ID" && std::string_view(a.value()) == "0";
}

void RecordItemControlZero(const pugi::xml_node& node, WidgetIds& ids, LayoutProblems& problems) {
    const auto [at, inserted] = ids.emplace(0, node);
    if (!inserted)
        AddProblem(problems, node,
                   "ID 0 is already used by " + std::string(at->second.name()) +
                       " (ids are unique within a window or page item)");
}

void CheckScripts(const pugi::xml_node& scripts, std::string_view event, LayoutProblems& problems) {
    for (const pugi::xml_node& script : scripts.children()) {
        if (script.type() != pugi::node_element) continue;
        if (std::string_view(script.attribute("EVENT").value()) != event ||
            std::string_view(script.child_value()).empty())
            AddProblem(
                problems, script,
                "a script needs EVENT=\"" + std::string(event) + "\" and a name as its text (others are skipped)");
    }
}

void CheckAnimation(const pugi::xml_node& animation, LayoutProblems& problems) {
    static const std::vector<std::pair<std::string_view, ValueForm>> keys{
        {"loop", ValueForm::kBool},     {"flip", ValueForm::kBool},  {"ping_pong", ValueForm::kBool},
        {"reverese", ValueForm::kBool}, {"grid", ValueForm::kPoint}, {"frames", ValueForm::kId},
        {"fps", ValueForm::kFloat}};
    for (const pugi::xml_attribute& a : animation.attributes()) {
        const auto rule = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.first == a.name(); });
        if (rule == keys.end()) {
            AddProblem(
                problems, animation,
                std::string("unknown attribute ") + a.name() + " (loop, flip, ping_pong, reverese, grid, frames, fps)");
            continue;
        }
        const std::string fault = CheckValueForm(a.value(), rule->second);
        if (!fault.empty()) AddProblem(problems, animation, std::string(a.name()) + ": " + fault);
    }
}

void CheckPageButtons(const pugi::xml_node& buttons, const LayoutReferences& refs, WidgetIds& ids,
                      LayoutProblems& problems) {
    int count = 0;
    for (const pugi::xml_node& button : buttons.children()) {
        if (button.type() != pugi::node_element) continue;
        if (++count > 2) {
            AddProblem(problems, button, "only the first two buttons (previous, next) are read");
            continue;
        }
        for (const AttributeRule& rule :
             {Required("ID", ValueForm::kId), Required("TEXTURE", ValueForm::kText, Ref::kTexture)}) {
            const pugi::xml_attribute a = button.attribute(rule.name.data());
            if (!a) AddProblem(problems, button, "missing " + std::string(rule.name));
            else CheckValue(button, rule.name, a.value(), rule.form, rule.ref, false, refs, problems);
        }
        if (const pugi::xml_attribute id = button.attribute("ID")) RecordId(button, id, ids, problems);
        if (const pugi::xml_node t = button.child("TRANSFORM"))
            CheckValue(t, "TRANSFORM", t.child_value(), ValueForm::kTransform, Ref::kNone, false, refs, problems);
    }
    if (count < 2) AddProblem(problems, buttons, "needs two buttons: previous, then next");
}

void CheckWidget(const pugi::xml_node& element, const WidgetRule& rule, bool labelsAreKeys,
                 const LayoutReferences& refs, WidgetIds& ids, LayoutProblems& problems) {
    // Attributes: known, well formed, required ones present.
    for (const pugi::xml_attribute& a : element.attributes()) {
        const auto matches = [&](const AttributeRule& r) { return r.name == a.name(); };
        auto known = std::find_if(rule.attributes.begin(), rule.attributes.end(), matches);
        if (known == rule.attributes.end()) {
            known = std::find_if(CommonAttributes().begin(), CommonAttributes().end(), matches);
            if (known == CommonAttributes().end()) {
                AddProblem(problems, element, std::string("unknown attribute ") + a.name());
                continue;
            }
        }
        if (IsItemControlZero(a, labelsAreKeys)) continue;
        CheckValue(element, a.name(), a.value(), known->form, known->ref, labelsAreKeys, refs, problems);
    }
    for (const AttributeRule& r : rule.attributes)
        if (r.required && !element.attribute(r.name.data()))
            AddProblem(problems, element,
                       "missing " + std::string(r.name) + " (the engine makes no widget without it)");
    if (const pugi::xml_attribute id = element.attribute("ID")) {
        if (IsItemControlZero(id, labelsAreKeys)) {
            RecordItemControlZero(element, ids, problems);
        } else {
            RecordId(element, id, ids, problems);
        }
    }

    if (rule.panel && !element.attribute("MOVABLE"))
        AddProblem(problems, element, "write MOVABLE=\"false\" (or \"true\") explicitly: a PANEL drags by default");
    if (element.attribute("ROW_TEXTURE").empty() != element.attribute("DRAW_COUNT").empty())
        AddProblem(problems, element, "ROW_TEXTURE and DRAW_COUNT are read only together");
    const pugi::xml_attribute font = element.attribute("FONT"), fontTexture = element.attribute("FONT_TEXTURE");
    if (font && fontTexture && Stem(font.value()) != Stem(fontTexture.value()))
        AddProblem(problems, element,
                   std::string("FONT \"") + font.value() + "\" and FONT_TEXTURE \"" + fontTexture.value() +
                       "\" are not one font's description and atlas");
    if (rule.spriteTexture && !element.attribute("TEXTURE") && !element.child("FILE"))
        AddProblem(problems, element, "names no texture (a FILE child or a TEXTURE attribute)");
    if (rule.element == "PAGE_NUMBER" && !element.attribute("FILE") && !element.child("FILE"))
        AddProblem(problems, element, "names no mark texture (FILE)");

    // Children: known, each at most once.
    std::vector<std::string_view> seen;
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            AddProblem(problems, element, "text directly inside a widget element is not read");
            continue;
        }
        if (child.type() != pugi::node_element) continue;
        const std::string_view name = child.name();
        const auto matches = [&](const ChildRule& r) { return r.name == name; };
        auto known = std::find_if(rule.children.begin(), rule.children.end(), matches);
        if (known == rule.children.end()) {
            known = std::find_if(CommonChildren().begin(), CommonChildren().end(), matches);
            if (known == CommonChildren().end()) {
                AddProblem(problems, child, "unknown child of " + std::string(rule.element));
                continue;
            }
        }
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            AddProblem(problems, child, "repeated: only the first is read");
            continue;
        }
        seen.push_back(name);
        switch (known->kind) {
            case ChildKind::kValue:
                CheckValue(child, name, child.child_value(), known->form, known->ref, labelsAreKeys, refs, problems);
                break;
            case ChildKind::kWidgets: CheckWidgetTree(child, labelsAreKeys, refs, ids, problems); break;
            case ChildKind::kScripts: CheckScripts(child, rule.scriptEvent, problems); break;
            case ChildKind::kItems: break;
            case ChildKind::kButtons: CheckPageButtons(child, refs, ids, problems); break;
            case ChildKind::kAnimation: CheckAnimation(child, problems); break;
        }
    }
}

}  // namespace

void AddProblem(LayoutProblems& problems, const pugi::xml_node& node, const std::string& message) {
    problems.push_back({node.offset_debug(), std::string(node.name()) + ": " + message});
}

bool CheckResourceKey(const pugi::xml_node& node, std::string_view what, std::string_view key,
                      std::string_view extension, const LayoutReferences& refs, LayoutProblems& problems) {
    const std::string quoted = "\"" + std::string(key) + "\"";
    const size_t blank = key.find(' ');
    if (key.empty() ||
        key.find(' ', blank == std::string_view::npos ? key.size() : blank + 1) != std::string_view::npos ||
        key.front() == ' ' || key.back() == ' ') {
        AddProblem(problems, node, std::string(what) + ": " + quoted + " is not a resource key (\"repository file\")");
        return false;
    }
    if (key.size() < extension.size() || key.substr(key.size() - extension.size()) != extension) {
        AddProblem(problems, node, std::string(what) + ": " + quoted + " does not end in " + std::string(extension));
        return false;
    }
    if (!refs.resource(key)) {
        AddProblem(problems, node, std::string(what) + ": " + quoted + " is not in the built content");
        return false;
    }
    return true;
}

void CheckWidgetTree(const pugi::xml_node& parent, bool labelsAreKeys, const LayoutReferences& refs, WidgetIds& ids,
                     LayoutProblems& problems) {
    bool hasPanel = false;
    for (const pugi::xml_node& child : parent.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            AddProblem(problems, parent, "text among widget elements is not read");
            continue;
        }
        if (child.type() != pugi::node_element) continue;
        const WidgetRule* rule = FindRule(child.name());
        if (rule == nullptr) {
            std::string hint;
            for (const WidgetRule& r : Vocabulary())
                if (SameIgnoringCase(r.element, child.name()))
                    hint = " (element names are case-sensitive: " + std::string(r.element) + ")";
            AddProblem(problems, child, "not a widget element; the engine skips it" + hint);
            continue;
        }
        hasPanel = hasPanel || rule->panel;
        CheckWidget(child, *rule, labelsAreKeys, refs, ids, problems);
    }
    // An earlier panel sibling takes the clicks over its area, and a later one may draw over its
    // siblings: what sits on a panel belongs in its CONTEXT.
    if (!hasPanel) return;
    for (const pugi::xml_node& child : parent.children()) {
        const WidgetRule* rule = child.type() == pugi::node_element ? FindRule(child.name()) : nullptr;
        if (rule != nullptr && rule->clickable && !rule->panel)
            AddProblem(problems, child, "a clickable widget beside a panel: nest it in the panel's CONTEXT");
    }
}

}  // namespace ContentBuilder
