// The unit-test program's entry. Tests never open a message box or the real sound device, also
// when the program is run by hand: both switches are set here unless the caller set them.

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QUORVEL_NO_MESSAGEBOX", "1", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
