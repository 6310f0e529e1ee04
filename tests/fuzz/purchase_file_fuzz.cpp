// Feeds arbitrary bytes to the purchase manager as if they were the purchase file, with the offline
// store behind it; then buys every product and lets the frames run until each purchase has ended.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/platform/clock.h"
#include "game/data/igp_manager.h"
#include "game/data/igp_wrapper_offline.h"

namespace {

// Checks the order of the store's answers.
class Answers : public QRV::JC_IGP_DELEGATE {
public:
    void OnProductsReceived() override { ++products; }
    void OnPurchaseStarted() override {
        if (pending) std::abort();
        pending = true;
    }
    void OnPurchaseFinished(JSIgpItem* item, bool success) override {
        if (!pending || !succeeded || item != nullptr || !success) std::abort();
        pending = succeeded = false;
        ++finished;
    }
    void OnPurchaseSucceeded(JSIgpItem* item) override {
        if (!pending || item == nullptr) std::abort();
        succeeded = true;
    }
    bool pending = false, succeeded = false;
    int products = 0, finished = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pugi::xml_document document;
    if (!document.load_buffer(data, size)) return 0;
    Answers answers;
    JCIgpManager manager;
    manager.SetDelegate(&answers);
    const pugi::xml_node root = document.document_element();
    if (!manager.Load(root, kIgpDefaultAppKey, nullptr)) return 0;
    if (answers.products != 1) std::abort();
    const std::string key = root.attribute("app_key") ? root.attribute("app_key").value() : kIgpDefaultAppKey;
    if (manager.GetWrapper()->GetKey() != key) std::abort();

    QRV::g_frameTime.store(0.5f);
    int bought = 0;
    for (JSIgpItem& item : manager.Items()) {
        if (!item.available || item.priceText != "0" || item.secondText != "TEST") std::abort();
        if (manager.FindByName(item.name)->name != item.name) std::abort();
        JSIgpItem* byId = manager.FindByProductId(item.productId);
        if (byId->productId != item.productId) std::abort();
        manager.GetWrapper()->Purchase(item.productId);
        manager.GetWrapper()->Purchase(item.productId);  // pending: ignored
        for (int frame = 0; frame < 4; ++frame) manager.GetWrapper()->Update();
        if (answers.pending || answers.finished != ++bought) std::abort();
        if (bought == 64) break;
    }
    return 0;
}
