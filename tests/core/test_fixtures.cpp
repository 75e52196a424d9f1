// The generated clips every tool test relies on: each recipe works with this ffmpeg.
#include "support/testenv.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Fixtures, EveryClipCanBeMade)
{
    for (const char *name : {"mpeg1.mpg", "mpeg2.vob", "mpeg4.avi", "wmv2.wmv", "h264.mp4", "flv1.flv", "vorbis.ogg",
                             "tone.mp3", "tone.wav", "anim.gif", "still.gif", "silent.avi", "long.avi"}) {
        const QString path = testenv::fixture(name);
        EXPECT_GT(QFileInfo(path).size(), 0) << name;
    }
}
