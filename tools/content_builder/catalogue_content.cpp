#include "tools/content_builder/catalogue_content.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <set>
#include <stdexcept>
#include <vector>

#include <pugixml.hpp>

#include "tools/content_builder/catalogue_art.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/window_content.h"

namespace ContentBuilder {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string, std::less<>>;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// One authored catalogue: its source, its text and its document; faults name its lines.
class Catalogue {
public:
    Catalogue(const fs::path& folder, std::string_view file, std::string& faults)
        : source_(folder / file), faults_(faults) {
        if (!fs::is_regular_file(source_)) {
            faults_ += source_.string() + ":1: missing\n";
            return;
        }
        text_ = ReadFile(source_);
        const pugi::xml_parse_result parsed = document_.load_buffer(text_.data(), text_.size());
        if (!parsed) Fault(parsed.offset, std::string("not well-formed XML: ") + parsed.description());
    }

    // The root element when it has that name; a fault otherwise.
    pugi::xml_node Root(std::string_view name) {
        const pugi::xml_node root = document_.document_element();
        if (!text_.empty() && root && root.name() != name)
            Fault(root, "the root element is not <" + std::string(name) + ">");
        return root.name() == name ? root : pugi::xml_node();
    }

    void Fault(std::ptrdiff_t offset, const std::string& what) {
        const auto end =
            text_.begin() + std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(text_.size()));
        faults_ +=
            source_.string() + ":" + std::to_string(1 + std::count(text_.begin(), end, '\n')) + ": " + what + "\n";
    }
    void Fault(const pugi::xml_node& node, const std::string& what) { Fault(node.offset_debug(), what); }

    const std::string& Text() const { return text_; }

private:
    fs::path source_;
    std::string& faults_;
    std::string text_;
    pugi::xml_document document_;
};

bool IsInteger(std::string_view text) { return std::regex_match(std::string(text), std::regex("-?[0-9]+")); }
bool IsNumber(std::string_view text) { return std::regex_match(std::string(text), std::regex("-?[0-9]+(\\.[0-9]+)?")); }

template <typename List>
bool Contains(const List& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// Element children of a node.
std::vector<pugi::xml_node> Elements(const pugi::xml_node& node) {
    std::vector<pugi::xml_node> elements;
    for (const pugi::xml_node& child : node.children())
        if (child.type() == pugi::node_element) elements.push_back(child);
    return elements;
}

// What the catalogues may name, answered from the output so far and the string source.
struct Known {
    std::function<bool(std::string_view)> texture;
    Names strings;
};

// An attribute that must be present and name a string key, respectively a built texture.
void RequireKey(Catalogue& file, const pugi::xml_node& e, const char* attribute, const Known& known) {
    const std::string value = e.attribute(attribute).as_string();
    if (!known.strings.count(value)) file.Fault(e, std::string(attribute) + ": \"" + value + "\" is not a string key");
}
void RequireTexture(Catalogue& file, const pugi::xml_node& e, const char* attribute, const Known& known) {
    const std::string value = e.attribute(attribute).as_string();
    if (!known.texture(value)) file.Fault(e, std::string(attribute) + ": \"" + value + "\" is not a built texture");
}

// The purchase file: every "item" with a name, a product id and a type; its names.
Names CheckPurchases(Catalogue& file) {
    Names names, products;
    const pugi::xml_node root = file.Root("inapp");
    for (const pugi::xml_node& item : Elements(root)) {
        const std::string name = item.attribute("name").as_string(), product = item.attribute("product_id").as_string();
        const std::string type = item.attribute("type").as_string();
        if (std::string_view(item.name()) != "item")
            file.Fault(item, "<" + std::string(item.name()) + "> is not an <item>");
        if (name.empty() || product.empty()) file.Fault(item, "an item needs a name and a product_id");
        if (type != "Consumable" && type != "NonConsumable")
            file.Fault(item, "type is \"Consumable\" or \"NonConsumable\"");
        if (!names.insert(name).second) file.Fault(item, "a second item named \"" + name + "\"");
        if (!products.insert(product).second) file.Fault(item, "a second item of product \"" + product + "\"");
        if (name != Theme::kSecondChanceProduct && name.rfind("pack", 0) != 0)
            file.Fault(item, "\"" + name + "\" is sold by no store item and unlocks no pack");
    }
    for (std::string_view needed : {Theme::kSecondChanceProduct, Theme::kPackProduct})
        if (root && !names.count(needed)) file.Fault(root, "no item \"" + std::string(needed) + "\"");
    return names;
}

// One store item's own attributes.
void CheckStoreItem(Catalogue& file, const pugi::xml_node& item, const Known& known, const Names& products) {
    RequireKey(file, item, "annotation", known);
    RequireTexture(file, item, "image", known);
    const std::string price = item.attribute("price").as_string(), value = item.attribute("value").as_string();
    if (!IsInteger(price) || price[0] == '-')
        file.Fault(item, "price \"" + price + "\" is not a whole number of 0 or more");
    if (!IsInteger(value) || value[0] == '-')
        file.Fault(item, "value \"" + value + "\" is not a whole number of 0 or more");
    const std::string name = item.attribute("name").as_string(), inapp = item.attribute("InAppKey").as_string();
    const std::string wanted = name == Theme::kSecondChanceProduct ? std::string(Theme::kSecondChanceProduct) : "";
    if (inapp != wanted) file.Fault(item, "InAppKey of \"" + name + "\" is \"" + wanted + "\"");
    if (!inapp.empty() && !products.count(inapp))
        file.Fault(item, "InAppKey \"" + inapp + "\" is no product of the purchase file");
}

// The store file: each ladder once, its rungs nested one in the other with rising values and prices
// from above the default player's count; each endless item once, endless and alone.
void CheckStore(Catalogue& file, const Known& known, const Names& products) {
    const pugi::xml_node root = file.Root("store");
    Names seen;
    for (const pugi::xml_node& top : Elements(root)) {
        const std::string name = top.attribute("name").as_string();
        if (!seen.insert(name).second) file.Fault(top, "a second item named \"" + name + "\"");
        const bool ladder = Contains(Theme::kStoreLadders, name);
        if (!ladder && !Contains(Theme::kStoreEndless, name))
            file.Fault(top, "\"" + name + "\" is no item the game knows");
        int floor = name == "life" ? Theme::kStartingLives : Theme::kStartingErrors;
        long lastPrice = -1;
        for (pugi::xml_node rung = top; rung;) {
            if (std::string_view(rung.name()) != "item")
                file.Fault(rung, "<" + std::string(rung.name()) + "> is not an <item>");
            CheckStoreItem(file, rung, known, products);
            const std::vector<pugi::xml_node> below = Elements(rung);
            if (!ladder) {
                if (!rung.attribute("endless").as_bool()) file.Fault(rung, "\"" + name + "\" is endless");
                if (!below.empty()) file.Fault(rung, "an endless item has no rungs");
                break;
            }
            if (rung.attribute("endless")) file.Fault(rung, "a ladder's rung is not endless");
            if (std::string(rung.attribute("name").as_string()) != name)
                file.Fault(rung, "a rung of \"" + name + "\" has another name");
            const int value = rung.attribute("value").as_int();
            const long price = rung.attribute("price").as_llong();
            if (value <= floor)
                file.Fault(rung, "value " + std::to_string(value) + " does not rise above " + std::to_string(floor));
            if (price <= lastPrice)
                file.Fault(rung,
                           "price " + std::to_string(price) + " does not rise above " + std::to_string(lastPrice));
            floor = value;
            lastPrice = price;
            if (below.size() > 1) file.Fault(below[1], "a rung holds one next rung");
            rung = below.empty() ? pugi::xml_node() : below[0];
        }
    }
    for (const auto& list : {std::vector<std::string_view>(Theme::kStoreLadders.begin(), Theme::kStoreLadders.end()),
                             std::vector<std::string_view>(Theme::kStoreEndless.begin(), Theme::kStoreEndless.end())})
        for (std::string_view name : list)
            if (root && !seen.count(name)) file.Fault(root, "no item \"" + std::string(name) + "\"");
}

// A trophy's picture: the attribute names a built texture and the child describes a one-frame
// animation.
void CheckPicture(Catalogue& file, const pugi::xml_node& trophy, const char* key, const Known& known) {
    RequireTexture(file, trophy, key, known);
    const pugi::xml_node picture = trophy.child(key);
    if (!picture) file.Fault(trophy, std::string("no <") + key + "> description");
    else if (!picture.child("ANIMATION")) file.Fault(picture, "no <ANIMATION> block");
}

void CheckCondition(Catalogue& file, const pugi::xml_node& c) {
    const std::string name = c.attribute("name").as_string(), type = c.attribute("value_type").as_string();
    const std::string value = c.attribute("value").as_string(), op = c.attribute("operator").as_string();
    if (std::string_view(c.name()) != "condition")
        file.Fault(c, "<" + std::string(c.name()) + "> is read as a condition");
    if (!Contains(Theme::kTrophyValues, name)) file.Fault(c, "\"" + name + "\" is no value the game tests");
    const bool number = type == "int" || type == "uint" || type == "float";
    if (!number && type != "bool") file.Fault(c, "value_type \"" + type + "\" is not bool, float, int or uint");
    if (type == "bool" ? value != "true" && value != "false" : type == "float" ? !IsNumber(value) : !IsInteger(value))
        file.Fault(c, "value \"" + value + "\" is not a " + type);
    if (!Contains(std::array<std::string_view, 6>{">", "<", "==", "!=", ">=", "<="}, op))
        file.Fault(c, "operator \"" + op + "\" is not one of > < == != >= <=");
}

// The ordinary packs: the theme's, and any pack folder of the level sources.
Names OrdinaryPacks(const fs::path& content) {
    Names packs(Theme::kOrdinaryPacks.begin(), Theme::kOrdinaryPacks.end());
    const fs::path levels = content / "levels";
    if (fs::is_directory(levels))
        for (const fs::directory_entry& e : fs::directory_iterator(levels))
            if (e.is_directory() && e.path().filename().string().rfind("pack", 0) == 0)
                packs.insert(e.path().filename().string());
    return packs;
}

// The trophies file: each trophy with its keys, pictures and a bonus, and exactly one condition;
// every trophy the game asks for.
void CheckTrophies(Catalogue& file, const Known& known, const Names& packs) {
    const pugi::xml_node root = file.Root("trophies");
    Names names, ids;
    for (const pugi::xml_node& trophy : Elements(root)) {
        const std::string name = trophy.attribute("name").as_string(), id = trophy.attribute("gc_id").as_string();
        if (std::string_view(trophy.name()) != "trophy")
            file.Fault(trophy, "<" + std::string(trophy.name()) + "> is not a <trophy>");
        if (!names.insert(name).second) file.Fault(trophy, "a second trophy named \"" + name + "\"");
        if (id.empty() || !ids.insert(id).second) file.Fault(trophy, "gc_id \"" + id + "\" is empty or repeated");
        RequireKey(file, trophy, "name", known);
        RequireKey(file, trophy, "desc", known);
        const std::string bonus = trophy.attribute("bonus").as_string();
        if (!IsInteger(bonus) || bonus[0] == '-')
            file.Fault(trophy, "bonus \"" + bonus + "\" is not a whole number of 0 or more");
        CheckPicture(file, trophy, "image_open", known);
        CheckPicture(file, trophy, "image_close", known);
        // Every element from the first condition on is read as one.
        std::vector<pugi::xml_node> conditions;
        for (pugi::xml_node c = trophy.child("condition"); c; c = c.next_sibling())
            if (c.type() == pugi::node_element) conditions.push_back(c);
        if (conditions.size() != 1)
            file.Fault(trophy, "a trophy has exactly one condition, this one " + std::to_string(conditions.size()));
        for (const pugi::xml_node& c : conditions) CheckCondition(file, c);
    }
    Names wanted(Theme::kRequiredTrophies.begin(), Theme::kRequiredTrophies.end());
    for (const std::string& pack : packs) wanted.insert("achievements_txt_" + pack + "_name");
    for (const std::string& name : wanted)
        if (root && !names.count(name)) file.Fault(root, "no trophy \"" + name + "\"");
}

// The advertising file: one network element per network of the theme, each named once by its
// "name" value.
void CheckAdvertising(Catalogue& file) {
    const pugi::xml_node root = file.Root("ad");
    Names names;
    for (const pugi::xml_node& network : Elements(root)) {
        std::vector<std::string> named;
        for (const pugi::xml_node& param : Elements(network)) {
            if (std::string_view(param.name()) != "param" || !param.attribute("key") || !param.attribute("value"))
                file.Fault(param, "a network's values are <param key=... value=...>");
            if (std::string(param.attribute("key").as_string()) == "name")
                named.emplace_back(param.attribute("value").as_string());
        }
        if (named.size() != 1) {
            file.Fault(network, "a network has one \"name\"");
            continue;
        }
        if (!Contains(Theme::kAdNetworks, named[0]))
            file.Fault(network, "\"" + named[0] + "\" is not a network of the theme");
        if (!names.insert(named[0]).second) file.Fault(network, "a second network \"" + named[0] + "\"");
    }
    for (std::string_view name : Theme::kAdNetworks)
        if (root && !names.count(name)) file.Fault(root, "no network \"" + std::string(name) + "\"");
}

}  // namespace

void BuildCatalogueContent(const std::string& contentDir, OutputTree& out) {
    BuildCatalogueArt(out);
    const fs::path content(contentDir), folder = content / Theme::kCatalogueSource;
    Known known{[&out](std::string_view key) { return !key.empty() && out.Has(RunPathOfKey(key)); }, {}};
    for (StringEntry& e : ParseStringsSource(ReadFile(content / Theme::kStringsSource)))
        known.strings.insert(std::move(e.key));

    std::string faults;
    Catalogue purchases(folder, Theme::kPurchasesFile, faults);
    const Names products = CheckPurchases(purchases);
    Catalogue store(folder, Theme::kStoreFile, faults);
    CheckStore(store, known, products);
    Catalogue trophies(folder, Theme::kTrophiesFile, faults);
    CheckTrophies(trophies, known, OrdinaryPacks(content));
    Catalogue advertising(folder, Theme::kAdvertisingFile, faults);
    CheckAdvertising(advertising);
    if (!faults.empty()) throw std::runtime_error("catalogue faults:\n" + faults);

    for (const auto& [file, name] :
         {std::pair{&purchases, Theme::kPurchasesFile}, std::pair{&store, Theme::kStoreFile},
          std::pair{&trophies, Theme::kTrophiesFile}, std::pair{&advertising, Theme::kAdvertisingFile}})
        out.Write(RunPath(Theme::kCatalogueFolder, name), file->Text());
}

}  // namespace ContentBuilder
