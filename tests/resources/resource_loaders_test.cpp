#include "engine/resources/resource_loaders.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/trace_hook.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/render.h"
#include "engine/graphics/texture_resource.h"
#include "engine/platform/null_device.h"
#include "engine/sound/sound_manager.h"
#include "engine/sound/sound_resource.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/global_guard.h"

namespace {

using QRV::JS_RESOURCE;
using QRV::TestSupport::PatchZipDeclaredSize;
using QRV::TestSupport::QrvlzoBytes;
using QRV::TestSupport::WriteZip;

// A 2 x 2 grey-scale image in binary PGM, which the image decoder reads.
const std::string kImage = std::string("P5\n2 2\n255\n") + std::string("\x10\x20\x30\x40", 4);

class ResourceLoaderTest : public QRV::TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        Put("plain.xml", "<plain/>");
        Put("bom.xml", "\xEF\xBB\xBF<bom attr=\"\xC3\xA9\"/>");
        Put("broken.xml", "<open><never-closed>");
        Put("image.pgm", kImage);
        Put("junk.pgm", "not an image");
        Put("sound.ogg", "not an ogg either");
        Put("art/packed.xml", QrvlzoBytes("<packed>" + std::string(3000, 'x') + "</packed>"));
        std::string truncated = QrvlzoBytes(std::string(3000, 'y'));
        truncated.resize(truncated.size() - 4);
        Put("art/truncated.bin", truncated);
        Put("art/image.pgm", kImage);
        WriteZip(resources + "archive.zip", {{"a.xml", "<a/>", "", true}, {"huge.bin", "small really", "", true}});
        PatchZipDeclaredSize(resources + "archive.zip", "huge.bin", 0xFFFFFFF0u);
        ASSERT_EQ(manager.LoadMain(), 1);
        ASSERT_TRUE(manager.LoadNamed("art"));
        ASSERT_TRUE(manager.LoadNamed("archive.zip"));
    }
    // A renderer on the null device, installed as the global one.
    void UseRenderer() {
        render = std::make_unique<QRV::JC_RENDER>(std::make_unique<QRV::Platform::NullRenderDevice>());
        ASSERT_EQ(render->CreateDevice(nullptr, 0.1f, 1000.0f), 1);
        ASSERT_NE(render->defaultTexture, nullptr);
        globals.Set(QRV::g_render, render.get());
    }

    JS_RESOURCE* Record(const std::string& key) {
        JS_RESOURCE* record = manager.GetResource(key);
        EXPECT_NE(record, nullptr) << key;
        return record;
    }

    // Outlives TearDown: the records go while the renderer still exists.
    std::unique_ptr<QRV::JC_RENDER> render;
};

TEST_F(ResourceLoaderTest, LoadResourceResultCodes) {
    JS_RESOURCE noRepository("x.xml", "no/such/folder", "");
    JS_RESOURCE noFile("missing.xml", "", "");
    JS_RESOURCE noMember("missing.xml", "archive.zip", "");
    const struct {
        const char* label;
        JS_RESOURCE* record;
        int result;
        std::string content;
    } cases[] = {
        {"main file", Record("plain.xml"), 1, "<plain/>"},
        {"qrvlzo file in a folder", Record("art packed.xml"), 1, "<packed>" + std::string(3000, 'x') + "</packed>"},
        {"zip member", Record("archive.zip a.xml"), 1, "<a/>"},
        {"missing repository path", &noRepository, -1, ""},
        {"missing file", &noFile, -108, ""},
        {"missing zip member", &noMember, -108, ""},
        {"truncated qrvlzo", Record("art truncated.bin"), -109, ""},
        {"huge declared zip size", Record("archive.zip huge.bin"), -109, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_NE(c.record, nullptr);
        EXPECT_EQ(QRV::LoadResource(nullptr, c.record), c.result);
        if (c.result == 1) {
            EXPECT_EQ(c.record->kind, QRV::kResourceBytes);
            EXPECT_EQ(c.record->loaded, 1);
            ASSERT_EQ(c.record->size, c.content.size());
            const char* bytes = static_cast<const char*>(c.record->object);
            EXPECT_EQ(std::string(bytes, c.record->size), c.content);
            EXPECT_EQ(bytes[c.record->size], '\0');
            // Reading again keeps the bytes already there.
            EXPECT_EQ(QRV::LoadResource(nullptr, c.record), 1);
            EXPECT_EQ(c.record->object, bytes);
        } else {
            EXPECT_EQ(c.record->kind, QRV::kResourceNone);
            EXPECT_EQ(c.record->object, nullptr);
        }
    }
    // The sweep frees raw bytes nobody references.
    EXPECT_EQ(manager.Sweep(), 3);
    EXPECT_EQ(Record("plain.xml")->object, nullptr);
}

TEST_F(ResourceLoaderTest, XmlDocumentsAreCountedAndFreedOnlyBySweep) {
    JS_RESOURCE* record = Record("plain.xml");
    record->refCount = 3;  // a stale count from before the load is reset by it
    pugi::xml_document* document = QRV::AcquireXmlResource("plain.xml");
    ASSERT_NE(document, nullptr);
    EXPECT_STREQ(document->first_child().name(), "plain");
    EXPECT_EQ(record->refCount, 1);
    EXPECT_EQ(QRV::AcquireXmlResource("plain.xml"), document);
    EXPECT_EQ(record->refCount, 2);

    EXPECT_FALSE(QRV::ReleaseXml(document));
    EXPECT_TRUE(QRV::ReleaseXml(document));
    EXPECT_EQ(manager.releasedCount, 1);
    EXPECT_EQ(record->kind, QRV::kResourceXml);  // released is not freed
    EXPECT_EQ(QRV::SweepUnusedResources(), 1);
    EXPECT_EQ(record->kind, QRV::kResourceNone);
    EXPECT_EQ(record->object, nullptr);

    pugi::xml_document* bom = QRV::AcquireXmlResource("bom.xml");
    ASSERT_NE(bom, nullptr);
    EXPECT_STREQ(bom->first_child().attribute("attr").value(), "\xC3\xA9");
    EXPECT_EQ(QRV::ReleaseResourceHandle(reinterpret_cast<uintptr_t>(bom)), 0);
    EXPECT_EQ(Record("bom.xml")->refCount, 0);

    EXPECT_EQ(QRV::AcquireXmlResource("broken.xml"), nullptr);
    EXPECT_EQ(Record("broken.xml")->kind, QRV::kResourceNone);
    EXPECT_EQ(Record("broken.xml")->refCount, 0);
    EXPECT_EQ(QRV::AcquireXmlResource("nothing.xml"), nullptr);
    EXPECT_EQ(QRV::AcquireXmlResource("art packed.xml")->first_child().name(), std::string("packed"));
    EXPECT_FALSE(QRV::ReleaseXml(nullptr));
}

TEST_F(ResourceLoaderTest, TexturesAreFreedOnlyBySweep) {
    UseRenderer();
    JS_RESOURCE* record = Record("image.pgm");
    QRV::JS_TEXTURE* texture = QRV::GetResourceTexture(record);
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(texture, render->defaultTexture);
    EXPECT_EQ(texture->width, 2u);
    EXPECT_EQ(record->kind, QRV::kResourceTexture);
    EXPECT_EQ(QRV::GetResourceTexture(record), texture);
    ++record->refCount;

    EXPECT_TRUE(QRV::ReleaseTexture(texture));
    EXPECT_TRUE(render->IsRegistered(texture));  // released to zero, still alive
    EXPECT_EQ(QRV::SweepUnusedResources(), 1);
    EXPECT_FALSE(render->IsRegistered(texture));
    EXPECT_EQ(record->kind, QRV::kResourceNone);

    // Unreadable or undecodable images give the default texture and stay unloaded.
    EXPECT_EQ(QRV::GetResourceTexture(Record("junk.pgm")), render->defaultTexture);
    EXPECT_EQ(Record("junk.pgm")->kind, QRV::kResourceNone);
    JS_RESOURCE noFile("gone.png", "", "");
    EXPECT_EQ(QRV::GetResourceTexture(&noFile), render->defaultTexture);
    EXPECT_EQ(QRV::GetResourceTexture(nullptr), render->defaultTexture);
    EXPECT_FALSE(QRV::ReleaseTexture(render->defaultTexture));
    EXPECT_FALSE(QRV::ReleaseTexture(nullptr));
}

TEST_F(ResourceLoaderTest, RepositoryUnloadedWhileItsTextureIsHeldGoesAfterReleaseAndSweep) {
    UseRenderer();
    JS_RESOURCE* record = Record("art image.pgm");
    QRV::JS_TEXTURE* texture = QRV::GetResourceTexture(record);
    ASSERT_NE(texture, render->defaultTexture);
    ++record->refCount;

    QRV::UnloadRepository("art");
    QRV::SweepUnusedResources();
    ASSERT_EQ(manager.repositories.size(), 2u);  // "art" lingers for its texture
    EXPECT_TRUE(render->IsRegistered(texture));

    EXPECT_EQ(QRV::ReleaseResourceHandle(reinterpret_cast<uintptr_t>(texture)), 0);
    EXPECT_EQ(QRV::SweepUnusedResources(), 1);
    EXPECT_FALSE(render->IsRegistered(texture));
    ASSERT_EQ(manager.repositories.size(), 1u);
    EXPECT_EQ(manager.repositories[0]->name, "archive.zip");
}

TEST_F(ResourceLoaderTest, TypedLoadOfAnotherKindGivesNullAndKeepsTheObject) {
    UseRenderer();
    QRV::JC_SOUND_MANAGER sounds;  // no device opened
    QRV::TestKit::GlobalGuard soundGuard;
    soundGuard.Set(QRV::g_soundManager, &sounds);

    JS_RESOURCE* xml = Record("plain.xml");
    pugi::xml_document* document = QRV::GetResourceXml(xml);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(QRV::GetResourceTexture(xml), nullptr);
    EXPECT_EQ(QRV::GetResourceSound(xml, 2, false), nullptr);
    EXPECT_EQ(xml->object, document);
    EXPECT_EQ(xml->kind, QRV::kResourceXml);

    JS_RESOURCE* image = Record("image.pgm");
    QRV::JS_TEXTURE* texture = QRV::GetResourceTexture(image);
    EXPECT_EQ(QRV::GetResourceXml(image), nullptr);
    EXPECT_EQ(image->object, texture);
    EXPECT_EQ(QRV::LoadResource(nullptr, image), -108);
    EXPECT_EQ(image->object, texture);

    // A sound that cannot be made leaves the record empty (and its bytes freed).
    JS_RESOURCE* sound = Record("sound.ogg");
    EXPECT_EQ(QRV::GetResourceSound(sound, 2, true), nullptr);
    EXPECT_EQ(sound->kind, QRV::kResourceNone);
    EXPECT_EQ(sound->object, nullptr);
}

std::vector<std::string> g_unreadableHeard;
void HearUnreadable(QRV::TraceReport report, const std::string& subject, const std::string&) {
    if (report == QRV::TraceReport::UnreadableFile) g_unreadableHeard.push_back(subject);
}

// A document or picture that content names and that is missing or unreadable is reported once per
// run with its path, on stderr and to the trace hook; what reads is not reported.
TEST_F(ResourceLoaderTest, FilesThatCannotBeReadAreReportedOnceWithTheirPath) {
    UseRenderer();
    Put("unread_broken.xml", "<open><never-closed>");
    Put("unread_junk.png", "not a picture");
    Put("unread_fine.xml", "<fine/>");
    ASSERT_EQ(manager.LoadMain(), 1);
    g_unreadableHeard.clear();
    QRV::SetTraceHook(&HearUnreadable);
    testing::internal::CaptureStderr();
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(QRV::AcquireXmlResource("unread_broken.xml"), nullptr);
        EXPECT_EQ(QRV::AcquireXmlResource("art unread_gone.xml"), nullptr);
        EXPECT_EQ(QRV::AcquireNamedTexture("unread_junk.png"), render->defaultTexture);
        EXPECT_EQ(QRV::AcquireNamedTexture("art unread_missing.png"), render->defaultTexture);
        pugi::xml_document* fine = QRV::AcquireXmlResource("unread_fine.xml");
        EXPECT_NE(fine, nullptr);
        QRV::ReleaseXml(fine);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    QRV::SetTraceHook(nullptr);
    const std::vector<std::string> paths = {"Resources/unread_broken.xml", "Resources/art/unread_gone.xml",
                                            "Resources/unread_junk.png", "Resources/art/unread_missing.png"};
    EXPECT_EQ(g_unreadableHeard, paths);
    for (const std::string& path : paths) EXPECT_NE(said.find("cannot read " + path + "\n"), std::string::npos) << said;
    size_t reports = 0;
    for (size_t at = said.find("cannot read"); at != std::string::npos; at = said.find("cannot read", at + 1))
        ++reports;
    EXPECT_EQ(reports, paths.size()) << said;
}

TEST_F(ResourceLoaderTest, TypedLoadsWithoutRendererOrSoundManagerFailCleanly) {
    globals.Set(QRV::g_render, nullptr);
    QRV::TestKit::GlobalGuard soundGuard;
    soundGuard.Set(QRV::g_soundManager, nullptr);
    EXPECT_EQ(QRV::GetResourceTexture(Record("image.pgm")), nullptr);
    EXPECT_EQ(QRV::GetResourceSound(Record("sound.ogg"), 2, false), nullptr);
    EXPECT_EQ(Record("image.pgm")->kind, QRV::kResourceNone);
    EXPECT_EQ(Record("sound.ogg")->kind, QRV::kResourceNone);
}

}  // namespace
