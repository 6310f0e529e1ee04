// The shipped content against the code that reads it, over the game as it starts: every window of
// the window list and every tutorial step loads as the class its type names, every pages file and
// item layout loads, every resource, sound, font and string key that any of them names resolves,
// no label shows a key, every name the code asks for exists, the keys that data builds exist, every
// trophy has its item, "Levels" loads before "Sidebar", and every label's font holds every
// character of the string table.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "engine/core/conversions.h"
#include "engine/graphics/bmfont_text.h"
#include "engine/gui/gui_label.h"
#include "engine/resources/resource_loaders.h"
#include "engine/sound/sound_groups.h"
#include "engine/windows/pages.h"
#include "engine/windows/window_registry.h"
#include "game/config/trace.h"
#include "game/config/ui_names.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/store_item.h"
#include "game/data/tutorial_controller.h"
#include "game/ui/window_factory.h"
#include "tests/game/screens/screen_scene.h"

namespace {

// A label text the code replaces before it is seen: no word in it once the format specifications
// ("%d", "%s", ...) are taken out ("0", "0/30", "%d", "+%d").
bool IsPlaceholder(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            ++i;
            continue;
        }
        if (std::isalpha(static_cast<unsigned char>(text[i])) != 0) return false;
    }
    return true;
}

// A parsed copy of a resource, or an empty document when the key does not resolve.
std::unique_ptr<pugi::xml_document> LoadCopy(const std::string& key) {
    auto copy = std::make_unique<pugi::xml_document>();
    if (QRV::g_repositoryManager == nullptr || QRV::g_repositoryManager->GetResource(key) == nullptr) return copy;
    if (pugi::xml_document* document = QRV::AcquireXmlResource(key)) {
        copy->reset(*document);
        QRV::ReleaseXml(document);
    }
    return copy;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A value that names a resource file: a key "repository file" (or a main-repository file) ending
// in one of the game's file kinds.
bool LooksLikeResourceKey(const std::string& value) {
    if (value.empty() || value.find('\n') != std::string::npos || value.find("{{") != std::string::npos) return false;
    if (std::count(value.begin(), value.end(), ' ') > 1) return false;
    for (const char* kind : {".png", ".xml", ".ogg", ".jpg"})
        if (EndsWith(value, kind)) return true;
    return false;
}

class KitContentTest : public ScreenTest::ScreenScene {
protected:
    // One content file and what it was read as.
    struct Source {
        std::string key;
        std::string role;  // "window", "step", "pages", "pack"
        std::unique_ptr<pugi::xml_document> document;
        pugi::xml_node Root() const { return document->document_element(); }
    };

    void SetUp() override {
        ScreenScene::SetUp();
        if (HasFatalFailure()) return;
        for (const auto& entry : Context().stringTable.Entries()) keys.insert(entry.key);
        // The window list, in order.
        const auto list = LoadCopy(Global().EditionText("scenes"));
        ASSERT_TRUE(list->document_element()) << Global().EditionText("scenes");
        for (const pugi::xml_node entry : list->document_element().children()) {
            const std::string file = entry.attribute("file").as_string();
            if (!file.empty()) Add(file, "window");
        }
        // The tutorial steps of this edition's variant.
        const std::string postfix = Global().EditionText("tutorial_postfix");
        for (const JCPack* pack : Context().packs.GetKindList(kPackTutorial)) {
            for (size_t i = 0; i < pack->GetLevelCount(); ++i) {
                const JCLevel* level = pack->LevelAt(i);
                if (JCLevel::IsDefault(level)) continue;
                for (const std::string& key : level->GetTutorialKeys())
                    if (gcTutorialController::BelongsToVariant(key, postfix)) Add(key, "step");
            }
        }
        // The pages files the windows name, and every pack's card and level grid.
        const size_t windows = sources.size();
        for (size_t i = 0; i < windows; ++i) {
            for (const pugi::xml_node child : sources[i].Root().children()) {
                const std::string name = child.name();
                if ((name == "pages" || name == "gPages") && child.attribute("file")) {
                    pagesOf[sources[i].Root().attribute("_name").as_string()] = child.attribute("file").as_string();
                    Add(child.attribute("file").as_string(), "pages");
                }
            }
        }
        const std::string card = Global().EditionText("pack_item");
        for (const int32_t kind : {kPackOrdinary, kPackTutorial}) {
            for (const JCPack* pack : Context().packs.GetKindList(kind)) {
                Add(pack->GetName() + "/main " + card, "pack");
                Add(pack->GetName() + "/main pages.xml", "pages");
            }
        }
    }

    void Add(const std::string& key, const std::string& role) {
        for (const Source& s : sources)
            if (s.key == key) return;
        sources.push_back({key, role, LoadCopy(key)});
    }
    bool IsKey(const std::string& text) const { return keys.count(text) != 0; }
    std::vector<const Source*> Sources(const std::string& role) const {
        std::vector<const Source*> out;
        for (const Source& s : sources)
            if (s.role == role) out.push_back(&s);
        return out;
    }
    // The text of a string key, wide.
    std::wstring Value(const std::string& key) const { return Context().stringTable.GetWide(key); }

    // Every element below (and with) node, depth first.
    template <class Visit>
    static void Walk(const pugi::xml_node& node, Visit visit) {
        visit(node);
        for (const pugi::xml_node child : node.children())
            if (child.type() == pugi::node_element) Walk(child, visit);
    }
    static std::string Join(const std::vector<std::string>& faults) {
        std::string out;
        for (const std::string& f : faults) out += "\n  " + f;
        return out;
    }
    // The catalogue font names an element gives: a settings entry whose key begins with "font",
    // or a "fntName" attribute.
    static std::vector<std::string> CatalogueFontsNamedBy(const pugi::xml_node& node) {
        std::vector<std::string> fonts;
        if (std::string(node.name()) == "param" && std::string(node.attribute("key").as_string()).rfind("font", 0) == 0)
            fonts.push_back(node.attribute("value").as_string());
        if (node.attribute("fntName")) fonts.push_back(node.attribute("fntName").as_string());
        return fonts;
    }
    // The code points a bitmap font description holds.
    std::set<uint32_t> Glyphs(const std::string& font) {
        auto found = glyphCache.find(font);
        if (found != glyphCache.end()) return found->second;
        std::set<uint32_t> codes;
        const auto document = LoadCopy(font);
        for (const pugi::xml_node c : document->document_element().child("chars").children("char"))
            codes.insert(c.attribute("id").as_uint());
        glyphCache[font] = codes;
        return codes;
    }

    std::set<std::string> keys;
    std::vector<Source> sources;
    std::map<std::string, std::string> pagesOf;
    std::map<std::string, std::set<uint32_t>> glyphCache;
};

TEST(KitContentRules, PlaceholdersHoldNoWordsAndResourceKeysNameFiles) {
    const struct {
        const char* text;
        bool placeholder;
        bool resource;
    } cases[] = {
        {"0", true, false},
        {"0/30", true, false},
        {"%d", true, false},
        {"+%d", true, false},
        {"Price", false, false},
        {"%d stars", false, false},
        {"title_play", false, false},
        {"data/share/gui panel9_1_1.png", false, true},
        {"data/share/font body18.xml", false, true},
        {"screen.xml", false, true},
        {"data/share/gui two words.png", false, false},
        {"{{value:x}}.png", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPlaceholder(c.text), c.placeholder) << c.text;
        EXPECT_EQ(LooksLikeResourceKey(c.text), c.resource) << c.text;
    }
}

TEST_F(KitContentTest, EveryListedWindowAndEveryStepLoadsAsTheClassItsTypeNames) {
    ASSERT_FALSE(Sources("window").empty());
    std::vector<std::string> faults;
    std::set<std::string> names;
    for (const std::string role : {"window", "step"}) {
        for (const Source* s : Sources(role)) {
            const pugi::xml_node root = s->Root();
            if (!root) {
                faults.push_back(s->key + ": missing or not XML");
                continue;
            }
            const std::string name = root.attribute("_name").as_string();
            const std::string type = root.attribute("_type").as_string();
            if (!names.insert(name).second) faults.push_back(s->key + ": a second window named " + name);
            JCWindow* loaded = Window(name);
            std::unique_ptr<JCWindow> probe(CreateRegisteredWindow(type));
            if (probe == nullptr) probe.reset(CreateWindowByType(*s->document));
            if (probe == nullptr) {
                faults.push_back(s->key + ": no class for type " + type);
            } else if (loaded == nullptr) {
                faults.push_back(s->key + ": " + name + " is not loaded");
            } else if (typeid(*loaded) != typeid(*probe)) {
                faults.push_back(s->key + ": " + name + " is not of the class of " + type);
            }
        }
    }
    EXPECT_TRUE(faults.empty()) << Join(faults);
    EXPECT_GE(Sources("step").size(), 1u);
    size_t stepWindows = 0;
    for (const auto& [key, list] : gcTutorialController::Instance().Tutorials()) stepWindows += list.size();
    EXPECT_EQ(stepWindows, Sources("step").size()) << "every step file is a step of its tutorial";

    // "Levels" loads before "Sidebar", which finds it at its own load.
    const std::vector<JCWindow*>& order = Windows().Windows();
    const auto at = [&](const char* name) {
        return std::find_if(order.begin(), order.end(), [&](const JCWindow* w) { return w->name == name; });
    };
    if (at("Sidebar") != order.end()) {
        EXPECT_LT(at("Levels"), at("Sidebar"));
    }
}

TEST_F(KitContentTest, EveryPagesFileAndItemLayoutLoads) {
    std::vector<std::string> faults;
    for (const Source* s : Sources("pages")) {
        if (!s->Root()) {
            faults.push_back(s->key + ": missing or not XML");
            continue;
        }
        JCPages pages;
        pages.Load(s->Root(), &Context().stringTable);
        size_t elements = 0;
        for (const pugi::xml_node item : s->Root().children()) elements += item.type() == pugi::node_element ? 1 : 0;
        // A grid the code fills (the pack lists) may come without items.
        if (pages.items.size() != elements || (elements > 0 && pages.pageCount < 1))
            faults.push_back(s->key + ": " + std::to_string(pages.items.size()) + " of " + std::to_string(elements) +
                             " items on " + std::to_string(pages.pageCount) + " pages");
    }
    for (const Source* s : Sources("pack"))
        if (!s->Root()) faults.push_back(s->key + ": missing or not XML");
    EXPECT_TRUE(faults.empty()) << Join(faults);
}

TEST_F(KitContentTest, EveryResourceSoundAndLabelKeyResolves) {
    const JCSoundGroup* sounds = Context().soundGroups.FindGroup("sounds");
    ASSERT_NE(sounds, nullptr);
    std::vector<std::string> faults;
    for (const Source& s : sources) {
        if (!s.Root()) continue;
        Walk(s.Root(), [&](const pugi::xml_node& node) {
            const std::string where = s.key + " <" + node.name() + ">";
            // A level item of a pack's grid names its file in the pack's own folder.
            const bool levelFile =
                std::string(node.name()) == "param" && std::string(node.attribute("key").as_string()) == "file";
            const std::string folder = levelFile ? s.key.substr(0, s.key.find("/main ")) + " " : "";
            for (const pugi::xml_attribute a : node.attributes()) {
                const std::string value = folder + a.as_string();
                if (LooksLikeResourceKey(value) && QRV::g_repositoryManager->GetResource(value) == nullptr)
                    faults.push_back(where + " " + a.name() + ": no resource " + value);
            }
            const std::string text = node.text().as_string();
            if (LooksLikeResourceKey(text) && QRV::g_repositoryManager->GetResource(text) == nullptr)
                faults.push_back(where + ": no resource " + text);
            const std::string name = node.name();
            if (name == "WLABEL") {
                const std::string key = node.attribute("TEXT").as_string();
                if (!key.empty() && !IsKey(key) && !IsPlaceholder(key))
                    faults.push_back(where + ": TEXT " + key + " is no string key");
                if (!node.attribute("FONT")) faults.push_back(where + ": no FONT");
            }
            // Fonts of the game's catalogue, named by the windows that draw texts themselves.
            for (const std::string& font : CatalogueFontsNamedBy(node))
                if (Context().fonts.Find(font) == nullptr) faults.push_back(where + ": no catalogue font " + font);
            if (name == "sounds") {
                for (const pugi::xml_node item : node.children("item")) {
                    const std::string sound =
                        item.attribute("sound") ? item.attribute("sound").as_string() : item.text().as_string();
                    if (sounds->FindSound(sound) == nullptr) faults.push_back(where + ": no sound " + sound);
                }
            }
        });
    }
    EXPECT_TRUE(faults.empty()) << Join(faults);
}

TEST_F(KitContentTest, NoLoadedLabelShowsAKey) {
    std::vector<std::string> faults;
    const std::function<void(const QRV::JC_GUI_OBJECT*, const std::string&)> visit =
        [&](const QRV::JC_GUI_OBJECT* widget, const std::string& window) {
            if (const auto* label = dynamic_cast<const QRV::JC_GUI_WLABEL*>(widget)) {
                const std::string text = QRV::WideToUtf8(label->GetText());
                if (Game::LooksLikeRawKey(text, [&](const std::string& t) { return IsKey(t); }))
                    faults.push_back(window + " label " + std::to_string(label->GetId()) + ": " + text);
            }
            for (const QRV::JC_GUI_OBJECT* child : widget->children) visit(child, window);
        };
    for (const JCWindow* window : Windows().Windows())
        if (window->gui != nullptr && window->gui->rootObject != nullptr) visit(window->gui->rootObject, window->name);
    EXPECT_TRUE(faults.empty()) << Join(faults);
}

TEST_F(KitContentTest, EveryNameTheCodeAsksForExists) {
    std::vector<std::string> faults;
    std::set<std::string> listed;
    for (const Source* s : Sources("window")) listed.insert(s->Root().attribute("_name").as_string());
    for (const std::string_view view : Game::ui::kWindowNames) {
        const std::string name(view);
        if (listed.count(name) == 0) faults.push_back("window " + name + " is not in the window list");
    }
    for (const std::string_view view : Game::ui::kStringKeys) {
        const std::string key(view);
        if (!IsKey(key)) faults.push_back("string key " + key + " is not in the table");
    }
    EXPECT_TRUE(faults.empty()) << Join(faults);
}

TEST_F(KitContentTest, TheKeysThatDataBuildsExist) {
    std::vector<std::string> faults;
    const auto need = [&](const std::string& key, const std::string& what) {
        if (!IsKey(key)) faults.push_back(what + ": " + (key.empty() ? "(empty)" : key) + " is no string key");
    };
    ASSERT_FALSE(Context().trophies.Trophies().empty());
    for (const QRV::G_TROPHY* trophy : Context().trophies.Trophies()) {
        need(trophy->name, "trophy name");
        need(trophy->desc, "trophy description of " + trophy->name);
    }
    // The shop's offers are named by their store item's name, annotated by its "annotation".
    std::function<void(const JCStoreItem*)> annotations = [&](const JCStoreItem* item) {
        if (!item->Text("annotation").empty()) need(item->Text("annotation"), "annotation of " + item->Text("name"));
        for (const JCStoreItem* child : item->children) annotations(child);
    };
    ASSERT_FALSE(Context().store.Items().empty());
    for (const JCStoreItem* item : Context().store.Items()) annotations(item);
    if (const auto shop = pagesOf.find("Shop"); shop != pagesOf.end()) {
        for (const Source& s : sources) {
            if (s.key != shop->second) continue;
            for (const pugi::xml_node item : s.Root().children())
                if (item.attribute("type")) need(item.attribute("type").as_string(), "shop offer");
        }
    }
    // The start window's tips: settings "0" to "n-1" name their keys.
    for (const Source* s : Sources("window")) {
        const pugi::xml_node root = s->Root();
        if (std::string(root.attribute("_name").as_string()) != "GP_Start") continue;
        int tips = 0;
        for (const pugi::xml_node param : root.child("settings").children("param")) {
            const std::string key = param.attribute("key").as_string();
            if (key.empty() || key.find_first_not_of("0123456789") != std::string::npos) continue;
            need(param.attribute("value").as_string(), "tip " + key);
            ++tips;
        }
        EXPECT_GE(tips, 6) << "tips";
    }
    EXPECT_TRUE(faults.empty()) << Join(faults);
}

TEST_F(KitContentTest, EveryTrophyHasItsItemInTheTrophyList) {
    const auto pages = pagesOf.find("Trophy");
    ASSERT_NE(pages, pagesOf.end()) << "the trophy list names no pages file";
    std::set<std::string> listed;
    for (const Source& s : sources) {
        if (s.key != pages->second) continue;
        for (const pugi::xml_node item : s.Root().children())
            for (const pugi::xml_node param : item.child("property").children("param"))
                if (std::string(param.attribute("key").as_string()) == "trophy")
                    listed.insert(param.attribute("value").as_string());
    }
    for (const QRV::G_TROPHY* trophy : Context().trophies.Trophies())
        EXPECT_EQ(listed.count(trophy->name), 1u) << trophy->name;
}

TEST_F(KitContentTest, EveryLabelFontHoldsEveryCharacterOfTheStringTable) {
    std::set<std::string> fonts;
    for (const Source& s : sources) {
        if (!s.Root()) continue;
        Walk(s.Root(), [&](const pugi::xml_node& node) {
            if (std::string(node.name()) == "WLABEL" && node.attribute("FONT"))
                fonts.insert(node.attribute("FONT").as_string());
        });
    }
    ASSERT_FALSE(fonts.empty());
    // The catalogue fonts the windows draw their own texts in, by their glyphs.
    std::set<std::string> catalogue;
    for (const Source& s : sources) {
        if (!s.Root()) continue;
        Walk(s.Root(), [&](const pugi::xml_node& node) {
            for (const std::string& font : CatalogueFontsNamedBy(node)) catalogue.insert(font);
        });
    }
    for (const std::string& font : catalogue) {
        const QRV::JC_BMFONT_TEXT* text = Context().fonts.Find(font);
        if (text == nullptr) continue;  // reported by the resource test
        std::set<uint32_t> codes;
        for (const auto& [code, glyph] : text->Glyphs()) codes.insert(static_cast<uint32_t>(code));
        glyphCache["catalogue " + font] = codes;
        fonts.insert("catalogue " + font);
    }
    std::vector<std::string> faults;
    for (const std::string& font : fonts) {
        const std::set<uint32_t> glyphs = Glyphs(font);
        if (glyphs.empty()) {
            faults.push_back(font + ": no glyphs");
            continue;
        }
        std::set<uint32_t> missing;
        std::string example;
        for (const auto& entry : Context().stringTable.Entries()) {
            for (const wchar_t c : Value(entry.key)) {
                if (c == L'\n' || glyphs.count(static_cast<uint32_t>(c)) != 0) continue;
                if (missing.insert(static_cast<uint32_t>(c)).second && example.empty()) example = entry.key;
            }
        }
        for (const uint32_t code : missing)
            faults.push_back(font + ": " + QRV::CodePointName(code) + " (first in " + example + ")");
    }
    EXPECT_TRUE(faults.empty()) << Join(faults);
}

}  // namespace
