#include "engine/resources/load_error.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CatalogueLoadError, TextNamesTheFile) {
    EXPECT_EQ(LoadErrorText("game.xml"),
              "Ошибка загрузки \"game.xml\".\n"
              "Файл не найден или ошибка синтаксиса. Например: не закрыт какой-либо узел");
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
