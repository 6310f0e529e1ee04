#include "game/screens/window_pack.h"

#include "engine/core/conversions.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/ad_manager.h"
#include "game/data/ad_wrapper.h"
#include "game/data/game_player.h"
#include "game/data/igp_item.h"
#include "game/data/igp_manager.h"
#include "game/data/igp_wrapper.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/screens/lists_access.h"
#include "game/screens/lists_pages.h"

namespace {

// The advertising network a refused money purchase offers.
constexpr int32_t kBuyAdNetwork = 9;

JCPack* FindPackOfAnyKind(const std::string& name) {
    gcContext* context = ListScreens::Context();
    if (context == nullptr) return nullptr;
    if (JCPack* pack = context->packs.LookupPack(name, kPackOrdinary)) return pack;
    return context->packs.LookupPack(name, kPackTutorial);
}

}  // namespace

using namespace ListScreens;

gcWindow_Pack::gcWindow_Pack() {
    pages.delegate = this;
    // The window draws, ticks and feeds the grid; the grid stays a member.
    AddBorrowedBot(&pages);
}

gcWindow_Pack::~gcWindow_Pack() {
    RemoveBorrowedBot(&pages);
    pages.delegate = nullptr;
}

JCWindow* gcWindow_Pack::Create() { return new gcWindow_Pack(); }

void gcWindow_Pack::LoadAttributes(const pugi::xml_node& root) {
    pageNumberId = PageNumberId(root);
    LoadListLayout(pages, root);
    BorrowPacks(pages, kPackOrdinary);
}

void gcWindow_Pack::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) { AttachPageNumber(pages, rootObject, pageNumberId); }

JCPagesItem* gcWindow_Pack::CreateItem(const pugi::xml_node&, int32_t) { return nullptr; }

void gcWindow_Pack::OnShowBegin() {
    ShowNamed("Pack_Title", false);
    UpdateItems();
}

void gcWindow_Pack::OnShown() { SetCurrentPageOnly(pages, false); }

void gcWindow_Pack::OnHideBegin() {
    SetCurrentPageOnly(pages, true);
    HideShown("Pack_Title", false);
}

void gcWindow_Pack::Refresh() { UpdateItems(); }

void gcWindow_Pack::UpdateItems() { UpdatePackCards(pages); }

JCPack* gcWindow_Pack::RememberedPack() const { return FindPackOfAnyKind(clickedPack); }

void gcWindow_Pack::OnItemClick(JCPagesItem* item) {
    if (item == nullptr) return;
    clickedPack = ItemText(*item, "name");
    JCPack* pack = RememberedPack();
    if (pack == nullptr) return;
    const bool open = ItemInt(*pack, "is_open") != 0;
    const bool locked = ItemInt(*pack, "is_lock") != 0;
    const bool free = EditionFlag("free");
    gcContext* context = Context();
    gcGame* game = Game();

    if (open && !locked) {
        Hide(false);
        if (context != nullptr) context->packs.SelectPack(clickedPack);
        if (game != nullptr) {
            game->ShowLevels(false);
            if (free) game->ShowAd("from_packs_to_levels");
        }
        return;
    }
    JCWindowManager* windows = Windows();
    if (windows == nullptr) return;
    if (!locked) {
        if (auto* notice = dynamic_cast<JCWindow_Confirm*>(windows->ShowWindow("confirm_pack_is_close", false))) {
            notice->cbAnswer = {};
            notice->cbSecondAnswer = {};
        }
        return;
    }
    // The offer answers through the second callback alone: yes 1, no -1, close 0.
    auto* offer = dynamic_cast<JCWindow_Confirm*>(windows->FindWindow("confirm_pack_buy"));
    if (offer == nullptr) return;
    offer->cbAnswer = {};
    if (free) {
        windows->ShowConfirm("confirm_pack_buy", MakeClosure<&gcWindow_Pack::OnBuyInAppResult>(this));
        if (EditionFlag("pack_logic_stars")) offer->SetTextFormat(ItemInt(*pack, "condition_to_pass"));
    } else {
        windows->ShowConfirm("confirm_pack_buy", MakeClosure<&gcWindow_Pack::OnBuyWithMoneyResult>(this));
        offer->SetTextFormat(ItemInt(*pack, "price"));
    }
}

void gcWindow_Pack::OnBuyWithMoneyResult(int32_t answer) {
    if (answer == 0) {
        if (JIAdWrapper* network = JCAdManager::Instance().Find(kBuyAdNetwork)) network->Start();
        return;
    }
    if (answer != 1) return;
    JCPack* pack = RememberedPack();
    gcPlayer* player = CurrentPlayer();
    if (pack == nullptr || player == nullptr) return;
    const int32_t price = ItemInt(*pack, "price");
    const JSProperty* money = player->GetStatistic("money");
    if (price > (money != nullptr ? money->intValue : 0)) {
        if (JCWindowManager* windows = Windows()) {
            if (auto* refusal =
                    dynamic_cast<JCWindow_Confirm*>(windows->ShowWindow("confirm_pack_buy_dont_have_money", false))) {
                refusal->cbAnswer = {};
                refusal->cbSecondAnswer = {};
            }
        }
        return;
    }
    player->DecrementStatistic("money", price);
    if (JSProperty* lock = pack->GetProperty("is_lock")) lock->SetBool(0);
    if (JSProperty* open = pack->GetProperty("is_open")) open->SetBool(1);
    if (JCLevel* first = pack->GetFirstLevel(); first != nullptr && !JCLevel::IsDefault(first)) {
        if (JSProperty* levelOpen = first->GetProperty("is_open")) levelOpen->SetBool(1);
    }
    if (JCWindow* packs = FindWindow("Packs")) packs->Refresh();
    if (gcGame* game = Game()) game->Save();
}

void gcWindow_Pack::OnBuyInAppResult(int32_t answer) {
    JCIgpManager& store = JCIgpManager::Instance();
    QRV::JC_IGP_WRAPPER_I* wrapper = store.GetWrapper();
    if (answer == 1) {
        const JCPack* pack = RememberedPack();
        if (pack == nullptr || wrapper == nullptr) return;
        const JSIgpItem* product = store.FindByName(ItemText(*pack, "inapp"));
        if (product != nullptr && product->available) wrapper->Purchase(product->productId);
    } else if (answer == -1) {
        if (wrapper != nullptr) wrapper->ExtraAction();
    }
}
