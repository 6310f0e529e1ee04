#include "tools/content_builder/sound_content.h"

#include <algorithm>
#include <future>
#include <stdexcept>

#include "tools/content_builder/music_composer.h"
#include "tools/content_builder/ogg_vorbis.h"
#include "tools/content_builder/qrvlzo_writer.h"
#include "tools/content_builder/sound_effects.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

struct EncodedSound {
    std::string file;  // path below Resources
    std::vector<uint8_t> bytes;
};

// A stable stream serial per file name (FNV-1a), so builds repeat byte for byte.
uint32_t SerialFor(std::string_view name) {
    uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

EncodedSound EncodeChecked(const std::string& file, const std::vector<float>& samples, int channels, float quality) {
    if (channels < 1 || channels > 2) throw std::invalid_argument(file + ": only mono or stereo sounds are supported");
    EncodedSound sound{file, EncodeOggVorbis(samples, channels, Theme::kSampleRate, quality, SerialFor(file))};
    const DecodedOgg check = DecodeOggVorbis(sound.bytes);
    const int64_t frames = static_cast<int64_t>(samples.size()) / channels;
    if (check.channels != channels || check.rate != Theme::kSampleRate || check.frames != frames ||
        check.decodedFrames != frames)
        throw std::runtime_error(sound.file + ": the decoded stream does not match what was encoded");
    if (check.peak >= Theme::kClipLimit)
        throw std::runtime_error(sound.file + ": decoded peak " + std::to_string(check.peak) + " clips");
    return sound;
}

// Where a file of a folder repository lives below the run folder.
std::string RunPath(std::string_view folder, std::string_view file) {
    return "Resources/" + std::string(folder) + "/" + std::string(file);
}

std::string Key(std::string_view folder, std::string_view file) {
    return std::string(folder) + " " + std::string(file);
}

}  // namespace

std::string SoundCatalogueXml(const std::vector<CatalogueEntry>& entries) {
    std::vector<std::string> groups;
    for (const CatalogueEntry& e : entries)
        if (std::find(groups.begin(), groups.end(), e.group) == groups.end()) groups.push_back(e.group);
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<sound>\n";
    for (const std::string& group : groups) {
        xml += "  <group name=\"" + XmlEscape(group) + "\">\n";
        for (const CatalogueEntry& e : entries) {
            if (e.group != group) continue;
            xml += "    <entry name=\"" + XmlEscape(e.name) + "\" path=\"" + XmlEscape(e.path) + "\" streamed=\"" +
                   (e.whole ? "true" : "false") + "\" cnt_buffers=\"" + std::to_string(e.bufferCount) +
                   "\" looped=\"false\"/>\n";
        }
        xml += "  </group>\n";
    }
    xml += "</sound>\n";
    return xml;
}

void BuildSounds(OutputTree& out) {
    // Each music piece renders and encodes on its own thread; the effects share one more.
    std::vector<std::future<EncodedSound>> music;
    for (const Theme::MusicPiece& piece : Theme::kMusic) {
        music.push_back(std::async(std::launch::async, [&piece] {
            return EncodeChecked(RunPath(Theme::kMusicFolder, piece.file), RenderPiece(piece, Theme::kSampleRate), 2,
                                 Theme::kMusicQuality);
        }));
    }
    std::vector<CatalogueEntry> catalogue;
    for (const Theme::MusicPiece& piece : Theme::kMusic)
        catalogue.push_back({std::string(Theme::kMusicGroup), std::string(piece.name),
                             Key(Theme::kMusicFolder, piece.file), false, Theme::kMusicBufferCount});

    const std::vector<EffectSound> effects = SynthesiseEffects(Theme::kSampleRate);
    for (const EffectSound& effect : effects) {
        const std::string file = std::string(effect.name) + ".ogg";
        const EncodedSound sound =
            EncodeChecked(RunPath(Theme::kSoundFolder, file), effect.samples, 1, Theme::kEffectQuality);
        out.Write(sound.file, sound.bytes);
        const std::string_view entry = effect.entry.empty() ? effect.name : effect.entry;
        catalogue.push_back({std::string(Theme::kEffectsGroup), std::string(entry), Key(Theme::kSoundFolder, file),
                             true, Theme::kEffectBufferCount});
    }
    for (auto& piece : music) {
        const EncodedSound sound = piece.get();
        out.Write(sound.file, sound.bytes);
    }

    const std::string xml = SoundCatalogueXml(catalogue);
    out.Write(RunPath(Theme::kCatalogueFolder, Theme::kSoundCatalogue),
              CompressQrvlzo(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(xml.data()), xml.size())));
}

}  // namespace ContentBuilder
