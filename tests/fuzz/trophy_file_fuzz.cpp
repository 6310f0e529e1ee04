// Feeds arbitrary bytes to the trophy list as if they were the trophies file (the front of the
// input), then tests every trophy against a probe made of the input's last bytes: a probe of one of
// the conditions' names or of another, with fuzzed values in every form.
#include <fuzzer/FuzzedDataProvider.h>
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/core/property_map.h"
#include "game/data/trophy_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // Integral and floating values come off the end of the input, the file is the rest.
    const uint8_t pick = input.ConsumeIntegral<uint8_t>();
    QRV::JS_TROPHY_PROBE probe;
    probe.boolValue = input.ConsumeIntegral<uint8_t>();
    probe.intValue = input.ConsumeIntegral<int32_t>();
    probe.uintValue = input.ConsumeIntegral<uint32_t>();
    probe.floatValue = input.ConsumeFloatingPoint<float>();
    const std::string file = input.ConsumeRemainingBytesAsString();

    pugi::xml_document document;
    if (!document.load_buffer(file.data(), file.size())) return 0;
    JCTrophyList list;
    if (!list.LoadTrophiesFrom(document)) return 0;

    std::vector<std::string> names;
    for (const QRV::G_TROPHY* trophy : list.Trophies())
        for (const QRV::JS_TROPHY_CONDITION& condition : trophy->conditions) names.push_back(condition.name);
    probe.name = pick < names.size() ? names[pick] : std::string(1, static_cast<char>(pick));

    JCPropertyMap values;
    values.SetString(probe.name, std::to_string(probe.intValue));
    for (QRV::G_TROPHY* trophy : list.Trophies()) {
        const bool holds = trophy->IsMet(values);
        if (holds && trophy->ConditionCount() != 1) std::abort();
        // The first trophy of a name is the one the list tests.
        if (list.FindTrophy(trophy->name) != trophy) continue;
        if (list.TestTrophy(trophy->name, values) != holds) std::abort();
        const bool awarded = list.CheckTrophy(trophy->name, probe);
        if (awarded && (!trophy->awarded || trophy->ConditionCount() != 1)) std::abort();
        if (list.CheckTrophy(trophy->name, probe)) std::abort();
    }
    list.ClearAwarded();
    for (const QRV::G_TROPHY* trophy : list.Trophies())
        if (trophy->awarded) std::abort();
    return 0;
}
