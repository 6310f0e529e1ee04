#include "game/app/start_steps.h"

#include <pugixml.hpp>

#include "engine/resources/load_error.h"
#include "engine/resources/loader.h"
#include "engine/resources/resource_loaders.h"
#include "game/app/context.h"
#include "game/config/config_values.h"
#include "game/data/ad_manager.h"
#include "game/data/igp_manager.h"
#include "game/data/purchase_switch.h"
#include "game/data/tutorial_controller.h"
#include "game/ui/window_factory.h"

namespace Game {
namespace {

// The advertising network the game sends its start-up command to.
constexpr int32_t kStartCommandNetwork = 5;

// The document of the resource the edition value names, or the load-error stop naming the key.
pugi::xml_document* AcquireNamed(const JCPropertyMap& edition, const char* key) {
    pugi::xml_document* document = QRV::AcquireXmlResource(ConfigText(edition, key));
    if (document == nullptr) ShowLoadErrorAndExit(std::string("edition.") + key);
    return document;
}

bool Stopping(const QRV::JC_LOADER* loader) { return loader != nullptr && loader->IsCancelRequested(); }

void LoadPurchases(const JCPropertyMap& edition, void* window) {
    if (!PurchasesEnabled(edition)) return;
    pugi::xml_document* document = AcquireNamed(edition, "inapp");
    JCIgpManager::Instance().Load(document->document_element(), kIgpDefaultAppKey, window);
    QRV::ReleaseXml(document);
}

void LoadAdvertising(const JCPropertyMap& edition) {
    if (ConfigText(edition, "ad").empty()) return;
    pugi::xml_document* document = AcquireNamed(edition, "ad");
    JCAdManager& networks = JCAdManager::Instance();
    networks.Load(document->child("ad"));
    QRV::ReleaseXml(document);
    if (JIAdWrapper* network = networks.Find(kStartCommandNetwork)) network->Command("");
}

}  // namespace

bool RunStartSteps(gcContext& context, const JCPropertyMap& edition, const std::string& saveFolder,
                   const QRV::JC_LOADER* loader, void* window) {
    JCWindowManager& windows = context.windowManager;
    windows.defaultFactory = &CreateWindowByType;

    context.packs.stringTable = &context.stringTable;
    if (!context.packs.Scan(ConfigText(edition, "pack_item")) || Stopping(loader)) return false;

    context.trophies.SetDispatcher(context.eventDispatcher);
    if (!context.trophies.LoadTrophies(ConfigText(edition, "trophies")) || Stopping(loader)) return false;

    if (!saveFolder.empty()) context.playerManager.Load(saveFolder);
    context.packs.ApplyPlayerProgress(context.playerManager.GetCurrentPlayer());
    if (Stopping(loader)) return false;

    LoadPurchases(edition, window);
    LoadAdvertising(edition);
    if (Stopping(loader)) return false;

    gcTutorialController::Instance().Load(context.packs, &windows, ConfigText(edition, "tutorial_postfix"));
    if (Stopping(loader)) return false;

    context.store.LoadFromFile(ConfigText(edition, "store"));
    if (Stopping(loader)) return false;

    return windows.LoadWindows(ConfigText(edition, "scenes")) && !Stopping(loader);
}

}  // namespace Game
