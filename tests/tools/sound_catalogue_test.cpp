#include "tools/content_builder/sound_content.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "engine/sound/sound_groups.h"

namespace {

// The catalogue as the engine's sound groups read it; in particular "streamed" must come out as
// the engine's whole-decode flag for effects and as streaming for music.
TEST(ContentBuilderSoundCatalogue, TheEngineReadsGroupsAndEntries) {
    const std::vector<ContentBuilder::CatalogueEntry> entries = {
        {"music", "02", "data/share/music 02_b.ogg", false, 2},
        {"music", "01", "data/share/music 01_a.ogg", false, 2},
        {"sounds", "hint", "data/share/sound hint.ogg", true, 1},
        {"sounds", "levelwin", "data/share/sound levelwin.ogg", true, 1},
    };
    const std::string xml = ContentBuilder::SoundCatalogueXml(entries);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_buffer(xml.data(), xml.size()));
    ASSERT_STREQ(document.document_element().name(), "sound");

    JCSoundGroups groups;
    EXPECT_EQ(groups.Load(document.document_element()), 1);
    const JCSoundGroup* music = groups.FindGroup("music");
    const JCSoundGroup* sounds = groups.FindGroup("sounds");
    ASSERT_NE(music, nullptr);
    ASSERT_NE(sounds, nullptr);
    ASSERT_EQ(music->entries.size(), 2u);
    EXPECT_EQ(music->entries.begin()->first, "01");  // the playlist order
    for (const ContentBuilder::CatalogueEntry& e : entries) {
        SCOPED_TRACE(e.name);
        const JCSoundEntry* entry = (e.group == "music" ? music : sounds)->FindSound(e.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->path, e.path);
        EXPECT_EQ(entry->streamed, e.whole ? 1 : 0);
        EXPECT_EQ(entry->cntBuffers, e.bufferCount);
        EXPECT_EQ(entry->looped, 0);
    }
}

}  // namespace
