// Audio tests never reach a real sound card: the dummy driver still runs the mixer, so
// everything can be observed, and nothing is heard. A driver chosen by the caller (the
// disk driver, say) is kept.
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
