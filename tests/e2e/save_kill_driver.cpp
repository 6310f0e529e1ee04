// The game's own save code under SIGKILL, for save_kill_e2e.sh. Each round replaces three saves
// in one folder: "players.xml" (three profiles with items, records, hearts and statistics, all
// depending on the round), the user settings "game.xml", and one profile in binary form
// ("profile.bin").
// Usage:
//   e2e_save_kill_driver run FOLDER FIRST_ROUND
//       loads the folder as the game does, then saves rounds FIRST_ROUND, FIRST_ROUND + 1, ...
//       for ever, printing "round N complete" after each round;
//   e2e_save_kill_driver write FOLDER ROUND
//       saves that one round and also "player.xml", its first profile alone in the XML form of
//       the default player file (seeds for the fuzz targets);
//   e2e_save_kill_driver check FOLDER LAST_ROUND
//       reads every file with the game's loaders and checks that each holds the whole state of
//       round LAST_ROUND or LAST_ROUND + 1 (round 0: no file yet), and that no ".bad" file exists.
//       Prints "ahead" when some file holds LAST_ROUND + 1 and "tmp" when a temporary file of a
//       cut-off save is there; exit status 0 when all is well; every problem is printed.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/property_map.h"
#include "game/config/safe_write.h"
#include "game/config/save_file.h"
#include "game/data/calendar_clock.h"
#include "game/data/game_player.h"
#include "game/data/player_manager.h"

namespace {

const wchar_t* const kNames[] = {L"Zo\u00eb", L"\u73a9\u5bb6", L"player"};
constexpr int kPlayers = 3;

int64_t g_killDriverNow = 0;
int64_t KillDriverClock() { return g_killDriverNow; }

std::unique_ptr<gcPlayer> RoundPlayer(int index, int round) {
    auto player = std::make_unique<gcPlayer>();
    player->SetName(kNames[index]);
    player->SetSoundVolume(static_cast<float>(round % 101));
    player->SetMusicVolume(static_cast<float>((round * 7 + index) % 100) + 0.5f);
    player->SetPassedTutorial((round + index) % 2 == 1);
    player->SetGameCursor((round + index) % 3 != 0);
    player->SetInappBought(round % 5 == index);
    player->SetItemCount("life", 5);
    player->SetItemCount("error", 3 + index);
    player->SetItemCount("hint_start", round % 4);
    player->SetItemCount("round", round);
    for (int level = 0; level < 5; ++level) {
        JCPropertyMap record;
        record.SetInt("is_open", (round + level) % 2);
        record.SetInt("stars", (round + index + level) % 4);
        record.SetInt("score", round * 10 + level);
        record.SetFloat("time", static_cast<float>(round % 100) + 0.25f);
        player->SetLevelRecord("pack1.level" + std::to_string(level), record);
    }
    JCPropertyMap pack;
    pack.SetInt("is_lock", round % 2);
    player->SetPackRecord("pack1", pack);
    player->IncrementStatistic("money", round * 3 + index);
    player->IncrementStatistic("hint_use", round % 17);
    player->SetStatisticFloat("level_time_min", static_cast<float>(100 + round % 50));
    // Hearts: full, then a few lost at a calendar time of the round.
    g_killDriverNow = 1'900'000'000LL + round * 37LL;
    for (int i = 0; i < 5; ++i) player->GetHealth().AddHeart();
    for (int i = 0; i < (round + index) % 4; ++i) player->GetHealth().LoseHeart();
    return player;
}

void FillRound(JCPlayerManager& manager, int round) {
    for (const wchar_t* name : kNames) manager.RemovePlayer(name);
    for (int i = 0; i < kPlayers; ++i) manager.AddPlayer(RoundPlayer(i, round));
    manager.SelectPlayerByName(kNames[round % kPlayers]);
}

void RoundSettings(JCPropertyMap& settings, int round) {
    settings.SetString("lang", "en");
    settings.SetString("edition", "pc");
    settings.SetBool("fullscreen", round % 2);
    settings.SetInt("round", round);
}

std::string SettingsText(const JCPropertyMap& settings) {
    pugi::xml_document document;
    settings.Save(document.append_child("game"));
    return Game::SaveXmlText(document);
}

std::string BinaryOf(const gcPlayer& player) {
    std::ostringstream out;
    player.WriteBinary(out);
    return out.str();
}

std::string ListText(const JCPlayerManager& manager) {
    pugi::xml_document document;
    manager.WriteDocument(document);
    return Game::SaveXmlText(document);
}

bool SaveRound(JCPlayerManager& manager, JCPropertyMap& settings, const std::string& folder, int round) {
    FillRound(manager, round);
    RoundSettings(settings, round);
    pugi::xml_document game;
    settings.Save(game.append_child("game"));
    return manager.Save(folder) && Game::SaveXmlFile(folder + "game.xml", game) &&
           Game::SafeWriteFile(folder + "profile.bin", BinaryOf(*RoundPlayer(0, round)));
}

int Write(const std::string& folder, int round) {
    JCPlayerManager manager;
    manager.Load(folder);
    JCPropertyMap settings;
    pugi::xml_document player;
    RoundPlayer(0, round)->SaveXml(player.append_child("player"));
    return SaveRound(manager, settings, folder, round) && Game::SaveXmlFile(folder + "player.xml", player) ? 0 : 1;
}

int Run(const std::string& folder, int firstRound) {
    // Loading first, as the game does at start.
    JCPlayerManager manager;
    manager.Load(folder);
    JCPropertyMap settings;
    pugi::xml_document document;
    if (Game::LoadSaveXml(folder + "game.xml", document) == Game::SaveRead::kRead) {
        settings.Load(document.document_element());
    }
    std::string bytes;
    gcPlayer binary;
    if (Game::ReadSaveBytes(folder + "profile.bin", bytes) == Game::SaveRead::kRead) {
        std::istringstream in(bytes);
        binary.ReadBinary(in);
    }
    for (int round = firstRound;; ++round) {
        if (!SaveRound(manager, settings, folder, round)) {
            std::fprintf(stderr, "round %d: a save failed\n", round);
            return 1;
        }
        // A line cut short by the kill never reads as complete.
        std::printf("round %d complete\n", round);
        std::fflush(stdout);
    }
}

// The round a file holds, checked against the whole expected state of that round.
class KillChecker {
public:
    KillChecker(std::string folder, int last) : folder(std::move(folder)), last(last) {}

    void Check() {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find(".bad") != std::string::npos) Problem(name + " exists");
            if (name.ends_with(".tmp")) temporary = true;
        }
        CheckPlayers();
        CheckSettings();
        CheckBinary();
        if (problems == 0) std::printf("ok%s%s\n", ahead ? " ahead" : "", temporary ? " tmp" : "");
    }
    int problems = 0;

private:
    void Problem(const std::string& text) {
        std::printf("problem (last reported round %d): %s\n", last, text.c_str());
        ++problems;
    }

    // False (and a problem) unless the round is the last reported or the next.
    bool Allowed(const char* file, int round) {
        if (round == last + 1) ahead = true;
        if (round == last || round == last + 1) return true;
        Problem(std::string(file) + " holds round " + std::to_string(round));
        return false;
    }

    void CheckPlayers() {
        pugi::xml_document document;
        const Game::SaveRead read = Game::LoadSaveXml(folder + "players.xml", document);
        if (read == Game::SaveRead::kMissing) {
            Allowed("players.xml (missing)", 0);
            return;
        }
        if (read != Game::SaveRead::kRead) return Problem("players.xml cannot be read");
        JCPlayerManager loaded;
        loaded.ReadDocument(document);
        const JCPlayer* first = loaded.FindPlayer(kNames[0]);
        const int round = first != nullptr ? first->GetItemCount("round") : -1;
        if (!Allowed("players.xml", round)) return;
        JCPlayerManager expected;
        FillRound(expected, round);
        if (ListText(loaded) != ListText(expected)) Problem("players.xml differs from round " + std::to_string(round));
    }

    void CheckSettings() {
        pugi::xml_document document;
        const Game::SaveRead read = Game::LoadSaveXml(folder + "game.xml", document);
        if (read == Game::SaveRead::kMissing) {
            Allowed("game.xml (missing)", 0);
            return;
        }
        if (read != Game::SaveRead::kRead) return Problem("game.xml cannot be read");
        JCPropertyMap settings;
        settings.Load(document.document_element());
        const JSProperty* round = settings.Find("round");
        if (!Allowed("game.xml", round != nullptr ? round->intValue : -1)) return;
        JCPropertyMap expected;
        RoundSettings(expected, round->intValue);
        if (SettingsText(settings) != SettingsText(expected)) Problem("game.xml differs from its round");
    }

    void CheckBinary() {
        std::string bytes;
        const Game::SaveRead read = Game::ReadSaveBytes(folder + "profile.bin", bytes);
        if (read == Game::SaveRead::kMissing) {
            Allowed("profile.bin (missing)", 0);
            return;
        }
        if (read != Game::SaveRead::kRead) return Problem("profile.bin cannot be read");
        std::istringstream in(bytes);
        gcPlayer player;
        player.ReadBinary(in);
        if (in.fail() || in.peek() != std::char_traits<char>::eof())
            return Problem("profile.bin is not one whole profile");
        const int round = player.GetItemCount("round");
        if (!Allowed("profile.bin", round)) return;
        if (BinaryOf(player) != BinaryOf(*RoundPlayer(0, round))) Problem("profile.bin differs from its round");
    }

    std::string folder;
    int last;
    bool ahead = false;
    bool temporary = false;
};

}  // namespace

int main(int argc, char** argv) {
    int number = -1;
    if (argc == 4) std::from_chars(argv[3], argv[3] + std::char_traits<char>::length(argv[3]), number);
    if (argc != 4 || number < 0) {
        std::fprintf(stderr, "usage: %s run|write|check FOLDER ROUND\n", argv[0]);
        return 2;
    }
    Game::SetCalendarClock(&KillDriverClock);
    const std::string folder = std::string(argv[2]) + "/";
    const std::string mode = argv[1];
    if (mode == "run") return Run(folder, number);
    if (mode == "write") return Write(folder, number);
    KillChecker checker(folder, number);
    checker.Check();
    return checker.problems == 0 ? 0 : 1;
}
