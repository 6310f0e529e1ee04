#pragma once
// One entry of the trophy list ("Trophy"): the item element's property "trophy" names a trophy of
// the game's trophy list. Item controls: 0 the closed medal and 1 the open medal (images), 2 the
// name, 3 the description and 4 the bonus (labels); a missing control is skipped.
//
// The item hears the award event from construction to destruction, so a trophy awarded while the
// list is shown switches its medal at once. The medals are copies of the trophy's pictures that
// take their own texture references when restored and give them back when released.

#include <cstdint>
#include <string>

#include "engine/core/event_dispatcher.h"
#include "engine/windows/pages_item.h"

namespace QRV {
class G_ANIMATION;
class G_TROPHY;
class JC_GUI_IMAGE;
class JC_STRING_TABLE;
}  // namespace QRV
class JCTrophyList;

// Control ids of a trophy item.
namespace TrophyItemControl {
constexpr int32_t kClosedMedal = 0;
constexpr int32_t kOpenMedal = 1;
constexpr int32_t kName = 2;
constexpr int32_t kDescription = 3;
constexpr int32_t kBonus = 4;
}  // namespace TrophyItemControl

// The picture copied into the image widget: the widget keeps its own place, the copy binds its own
// texture reference (released with the widget's resources). Nothing for a null image.
void CopyPictureInto(QRV::JC_GUI_IMAGE* image, const QRV::G_ANIMATION& picture);

class gcPagesItem_Trophy : public JCPagesItem, private QRV::gListener {
public:
    // The lists are borrowed and outlive the item; the dispatcher (may be null) is left again by
    // the destructor.
    gcPagesItem_Trophy(const pugi::xml_node& element, int32_t index, const JCTrophyList* trophies,
                       const QRV::JC_STRING_TABLE* strings, QRV::gEventDispatcher* dispatcher);
    ~gcPagesItem_Trophy() override;

    // The widget tree's resources, then the trophy's texts and medals (message 50).
    void RestoreResources() override;
    // The medal that shows follows the awarded flag (message 56).
    void Refresh() override;

    // The property "trophy" ("" without one).
    std::string TrophyName() const;
    // The trophy of that name, or null.
    QRV::G_TROPHY* FindTrophy() const;

private:
    void OnTrophyAwarded(QRV::G_TROPHY* trophy);
    void ShowMedal(const QRV::G_TROPHY& trophy);

    const JCTrophyList* trophies;
    const QRV::JC_STRING_TABLE* strings;
    QRV::gEventDispatcher* dispatcher;
};
