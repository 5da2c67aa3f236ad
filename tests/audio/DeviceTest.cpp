// The audio device leaves the process's signals alone: SDL would take SIGINT and SIGTERM
// for itself, and the game would then never hear that it is asked to end.
#include "audio/AudioDevice.h"

#include <gtest/gtest.h>

#include <csignal>

using torvella::audio::AudioDevice;

TEST(AudioDevice, OpeningTheDeviceInstallsNoSignalHandlers)
{
    AudioDevice device;
    ASSERT_TRUE(device.Open()) << device.Error().toStdString();
    for (int s : {SIGINT, SIGTERM}) {
        struct sigaction now = {};
        sigaction(s, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << "signal " << s;
    }
}
