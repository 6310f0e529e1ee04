#include "engine/resources/load_error.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CatalogueLoadError, TextNamesTheFile) {
    EXPECT_EQ(LoadErrorText("game.xml"),
              "Ошибка загрузки \"game.xml\".\n"
              "Файл не найден или ошибка синтаксиса. Например: не закрыт какой-либо узел");
}

// Beside what the caller names, the text names the file's path below the run folder: from the key
// it was given, or from the name when that is a key itself ("folder file").
TEST(CatalogueLoadError, TextNamesThePathOfTheKey) {
    const struct {
        const char* name;
        const char* key;
        const char* shown;
    } cases[] = {
        {"gameplay.settings", "data/share/main/other gameplay_settings.xml",
         "\"gameplay.settings\" (Resources/data/share/main/other/gameplay_settings.xml)."},
        {"pack01 level03.xml", "", "\"pack01 level03.xml\" (Resources/pack01/level03.xml)."},
        {"edition.gameplay", "", "\"edition.gameplay\"."},
    };
    for (const auto& c : cases) {
        const std::string text = LoadErrorText(c.name, c.key);
        EXPECT_NE(text.find(c.shown), std::string::npos) << text;
    }
}

TEST(CatalogueLoadErrorThreadedDeathTest, EndsTheProcessWithFailureEvenFromAWorkerThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QUORVEL_NO_MESSAGEBOX", "1", 1);
    EXPECT_EXIT(ShowLoadErrorAndExit("gameplay.settings"), ::testing::ExitedWithCode(kLoadErrorExitCode),
                "\\[gameplay\\.settings\\] Ошибка загрузки \"gameplay\\.settings\"");
    EXPECT_EXIT(
        {
            std::thread worker([] { ShowLoadErrorAndExit("strings.xml"); });
            worker.join();
        },
        ::testing::ExitedWithCode(kLoadErrorExitCode), "не закрыт какой-либо узел");
}
