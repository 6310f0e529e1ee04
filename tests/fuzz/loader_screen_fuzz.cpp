// Feeds arbitrary bytes to the loading screen as its description, with a renderer on the null
// device and a few pictures beside it, then runs frames of it: splashes, fades, skips, drawing.
// No job is started: only the description and the screen's own work are under test.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/graphics/render.h"
#include "engine/platform/clock.h"
#include "engine/platform/null_device.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "game/ui/loader_screen.h"
#include "tests/fuzz/parse_check.h"
#include "tests/fuzz/scratch_file.h"

namespace {

// A 2 x 2 PNG, written as the pictures the descriptions may name.
constexpr unsigned char kTinyPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x06, 0x00, 0x00, 0x00, 0x72, 0xb6, 0x0d, 0x24, 0x00, 0x00, 0x00, 0x11, 0x49,
    0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0xf0, 0x1f, 0x84, 0x19, 0x60, 0x0c, 0x00, 0x47, 0xca, 0x07,
    0xf9, 0x67, 0x59, 0x6e, 0xb7, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

void WriteLoaderFuzzFile(const std::filesystem::path& path, const void* bytes, size_t size) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

// The renderer's device, to forget its record between inputs (it would grow over the whole run).
QRV::Platform::NullRenderDevice*& LoaderFuzzDevice() {
    static QRV::Platform::NullRenderDevice* device = nullptr;
    return device;
}

// The scratch tree and the renderer, made once.
const std::filesystem::path& LoaderFuzzRoot() {
    static const std::filesystem::path root = [] {
        const std::filesystem::path dir = QRV::Fuzz::ScratchPath("loader");
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(QRV::Fuzz::ScratchPath("loader"), error);
        });
        for (const char* file : {"a.png", "b.png", "pictures/splash.png"}) {
            WriteLoaderFuzzFile(dir / "Resources" / file, kTinyPng, sizeof(kTinyPng));
        }
        WriteLoaderFuzzFile(dir / "Resources/broken.png", "PNG?", 4);
        if (chdir(dir.c_str()) != 0) std::abort();
        if (std::filesystem::path(QRV::JC_PATHS::Instance()->resourcesDir) != dir / "Resources/") std::abort();
        auto device = std::make_unique<QRV::Platform::NullRenderDevice>();
        LoaderFuzzDevice() = device.get();
        static QRV::JC_RENDER render(std::move(device));
        if (render.CreateDevice(nullptr, 0.1f, 0.0f) != 1) std::abort();
        QRV::g_render = &render;
        return dir;
    }();
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path root = LoaderFuzzRoot();
    const std::filesystem::path file = root / "Resources/screen.xml";
    WriteLoaderFuzzFile(file, data, size);
    if (!QRV::Fuzz::ParsesAsTheGameReadsIt(file)) return 0;
    LoaderFuzzDevice()->ClearRecord();

    QRV::JC_REPOSITORY_MANAGER manager;
    QRV::g_repositoryManager = &manager;
    if (manager.LoadMain() != 1) std::abort();
    {
        gcLoaderScreen screen(nullptr, nullptr, "screen.xml");
        screen.LoadSpriteResources();
        // Not started: a screen without a job that is started ends at once as a failed load.
        QRV::g_frameTime = 0.25f;
        for (int frame = 0; frame < 12; ++frame) {
            screen.Update();
            if (QRV::g_render->BeginFrame() == 1) {
                screen.Draw();
                QRV::g_render->EndFrame();
            }
            if (frame % 5 == 4) screen.Skip();
            if (screen.IsDone()) std::abort();  // the job never reported 100
            if (static_cast<size_t>(screen.SplashIndex()) > screen.SplashCount()) std::abort();
        }
        screen.NextSplash();
        screen.ReleaseSpriteResources();
    }
    manager.Sweep();
    manager.Destroy();
    QRV::g_repositoryManager = nullptr;
    return 0;
}
