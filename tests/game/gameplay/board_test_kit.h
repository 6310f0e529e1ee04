#pragma once
// Hand-made boards for the board tests: level text from a picture ('1' picture cell, '0' empty
// cell), a clue style, an event recorder and a frame stepper.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/platform/clock.h"
#include "game/gameplay/command_open.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/process.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/parsed_xml.h"

namespace BoardTestKit {

inline const char* kSprites =
    "<block TEXTURE='b.png' HOT_SPOT='HS_UL'/><selection_yes TEXTURE='y.png'/><selection_no TEXTURE='n.png'/>";

// A level whose grid is the picture's size; `settings` replaces the geometry attributes.
inline std::string LevelText(const std::vector<std::string>& picture,
                             const std::string& geometry =
                                 "elSize='30 30' block='5 5' shiftBlock='-4 -4' "
                                 "position='512 384' bonuses='0'",
                             const std::string& sprites = kSprites) {
    const size_t cols = picture.empty() ? 0 : picture[0].size();
    std::string text = "<level><settings grid='" + std::to_string(cols) + " " + std::to_string(picture.size()) + "' " +
                       geometry + ">" + sprites + "</settings><gElements>";
    for (const std::string& row : picture)
        for (char c : row) text += c == '1' ? "<e type='100'/>" : "<e type='101'/>";
    return text + "</gElements></level>";
}

inline const char* kStyle =
    "<numbers>"
    "<numbersLeft font='clue' font_color='FF000000' font_cross='80808080' interval='18' shift_first='14 15'/>"
    "<numbersUp font='clue' font_color='FF000000' font_cross='80808080' interval='18' shift_first='15 14'/>"
    "</numbers>";

// One event as heard: its id and the cells it carried (column, row).
struct Heard {
    int32_t id = 0;
    std::vector<gcCell> cells;
    int32_t mark = 0;
};

class Recorder : public QRV::gListener {
public:
    explicit Recorder(QRV::gEventDispatcher& dispatcher) : dispatcher(dispatcher) {
        Subscribe<&Recorder::OnPlain<4>>(4, this);
        Subscribe<&Recorder::OnCellMark<12>>(12, this);
        Subscribe<&Recorder::OnCellMark<13>>(13, this);
        Subscribe<&Recorder::OnCellMark<14>>(14, this);
        Subscribe<&Recorder::OnCellMark<15>>(15, this);
        Subscribe<&Recorder::OnPlain<16>>(16, this);
        Subscribe<&Recorder::OnPlain<17>>(17, this);
        Subscribe<&Recorder::OnCell<18>>(18, this);
        Subscribe<&Recorder::OnCell<19>>(19, this);
        Subscribe<&Recorder::OnMove<20>>(20, this);
        Subscribe<&Recorder::OnMove<21>>(21, this);
        Subscribe<&Recorder::OnMove<22>>(22, this);
        dispatcher.AddListener(this);
    }
    ~Recorder() override { dispatcher.RemoveListener(this); }

    std::vector<int32_t> Ids() const {
        std::vector<int32_t> ids;
        for (const Heard& h : heard) ids.push_back(h.id);
        return ids;
    }

    std::vector<Heard> heard;

private:
    template <int32_t Id>
    void OnPlain() {
        heard.push_back({Id, {}, 0});
    }
    template <int32_t Id>
    void OnCellMark(gcElement* cell, int32_t mark) {
        heard.push_back({Id, {cell->Position()}, mark});
    }
    template <int32_t Id>
    void OnCell(gcElement* cell) {
        heard.push_back({Id, {cell->Position()}, 0});
    }
    template <int32_t Id>
    void OnMove(const std::vector<gcElement*>* cells) {
        Heard h{Id, {}, 0};
        for (gcElement* cell : *cells) h.cells.push_back(cell->Position());
        heard.push_back(h);
    }

    QRV::gEventDispatcher& dispatcher;
};

// A layout and a process on a dispatcher, loaded from a picture.
struct Board {
    explicit Board(const std::vector<std::string>& picture, const std::string& geometry = "") {
        guard.Set(QRV::g_frameTime, 0.25f);
        QRV::TestKit::ParsedXml level(geometry.empty() ? LevelText(picture) : LevelText(picture, geometry));
        QRV::TestKit::ParsedXml style(kStyle);
        const pugi::xml_node root = level.Root();
        loaded = layout.Load(root.child("settings")) && process.Load(root.child("gElements"), style.Root());
    }

    // One frame of the board.
    void Tick(int32_t frames = 1) {
        for (int32_t i = 0; i < frames; ++i) process.Update();
    }
    gcElement* At(int32_t column, int32_t row) { return process.CellAt(column, row); }

    QRV::TestKit::GlobalGuard guard;
    QRV::gEventDispatcher dispatcher;
    gcElementsLayout layout;
    gcProcess process{&layout, &dispatcher};
    bool loaded = false;
};

}  // namespace BoardTestKit
