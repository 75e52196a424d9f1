// The display shape a job gives its picture, by target: written into the picture where
// its format can say it, else made of square pixels; what the options' size asks for.
#include "engine/pictureshape.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace pictureshape;

namespace {

TEST(PictureShape, TheSourcesShapeByTarget)
{
    struct Case {
        const char *what;
        int width, height;
        float shows;  // the source's shape as the player reported it; 0 unknown
        const char *format;
        const char *scale, *rotate;
        double aspect;
        int squareWidth, squareHeight;
    } cases[] = {
        {"16:9 flag to MPEG-2", 720, 480, 1.7778f, "MPEG2", " -vf-add scale=720:480", "", 1.7778, 0, 0},
        {"16:9 flag to MPEG-1 (its 16:9 pixel)", 720, 480, 1.7778f, "MPEG1", " -vf-add scale=720:480", "", 1.7778, 0, 0},
        {"16:9 flag to DivX", 720, 480, 1.7778f, "DivX", " -vf-add scale=720:480", "", 1.7778, 0, 0},
        {"16:9 flag to H.264", 720, 480, 1.7778f, "H.264", " -vf-add scale=720:480", "", 1.7778, 0, 0},
        {"16:9 flag to WMV: square pixels", 720, 480, 1.7778f, "WMV8", " -vf-add scale=720:480", "", 720.0 / 404, 720, 404},
        {"16:9 flag to MP42", 720, 480, 1.7778f, "MP42", " -vf-add scale=720:480", "", 720.0 / 404, 720, 404},
        {"16:9 flag to a VCD", 720, 480, 1.7778f, "VCD", " -vf-add scale=352:240", "", 4.0 / 3, 0, 0},
        {"16:9 flag to a DVD", 720, 480, 1.7778f, "DVD", " -vf-add scale=720:480", "", 16.0 / 9, 0, 0},
        {"4:3 to a DVD", 720, 480, 1.3333f, "DVD", " -vf-add scale=720:480", "", 4.0 / 3, 0, 0},
        {"16:15 pixels to MPEG-2: no such shape", 640, 480, 1.4222f, "MPEG2", " -vf-add scale=640:480", "", 640.0 / 450,
         640, 450},
        {"16:15 pixels to MPEG-1: no such pixel", 640, 480, 1.4222f, "MPEG1", " -vf-add scale=640:480", "", 640.0 / 450,
         640, 450},
        {"16:15 pixels to XviD", 640, 480, 1.4222f, "XviD", " -vf-add scale=640:480", "", 1.4222, 0, 0},
        {"a smaller size of the source's proportion", 720, 480, 1.7778f, "DivX", " -vf-add scale=320:214", "",
         1.7778 * 480 / 720 * 320 / 214, 0, 0},
        {"a size of its own: shown as asked", 720, 480, 1.7778f, "DivX", " -vf-add scale=640:480", "", 4.0 / 3, 0, 0},
        {"a size of its own to WMV: nothing to size", 720, 480, 1.7778f, "WMV8", " -vf-add scale=640:360", "", 640.0 / 360,
         0, 0},
        {"borders keep the picture's pixels", 720, 480, 1.7778f, "DivX",
         " -vf-add scale=720:480,expand=720:560:0:40:1", "", 1.7778 * 480 / 720 * 720 / 560, 0, 0},
        {"a quarter turn", 720, 480, 1.7778f, "DivX", " -vf-add scale=720:480", " -vf-add rotate=1", 1 / 1.7778, 0, 0},
        {"a quarter turn to WMV", 720, 480, 1.7778f, "WMV8", " -vf-add scale=720:480", " -vf-add rotate=2", 404.0 / 720,
         404, 720},
        {"a shape the player did not say: the size's", 320, 240, 0, "DivX", " -vf-add scale=320:240", "", 4.0 / 3, 0, 0},
        {"no size piece: the source's", 720, 480, 1.7778f, "MPEG2", "", "", 1.7778, 0, 0},
        {"a cut keeps the picture as it is", 720, 480, 1.7778f, "onlyCut", "", "", 0, 0, 0},
        {"the picture copied, the sound made MP3", 720, 480, 1.7778f, "AudIsMp3", "", "", 0, 0, 0},
        {"no picture", 0, 0, 0, "DivX", " -vf-add scale=0:0", "", 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        jobrecords::SourceInfo s = testenv::sampleSource(c.width, c.height, 3, "mpegps", "mp2");
        s.srcAspect = c.shows;
        jobrecords::JobSettings j;
        j.targetFormat = QString::fromLatin1(c.format);
        j.targetExt = QStringLiteral("avi");
        j.scaleFilter = QString::fromLatin1(c.scale);
        j.rotateFilter = QString::fromLatin1(c.rotate);
        const Shape shape = shapeFor(s, j);
        EXPECT_NEAR(shape.aspect, c.aspect, 0.0005);
        EXPECT_EQ(shape.squareWidth, c.squareWidth);
        EXPECT_EQ(shape.squareHeight, c.squareHeight);
    }
    // A sound target has no picture to shape.
    jobrecords::JobSettings sound;
    sound.targetFormat = QStringLiteral("Sound MP3");
    sound.targetIsAudio = true;
    EXPECT_EQ(shapeFor(testenv::sampleSource(720, 480, 3), sound).aspect, 0);
}

TEST(PictureShape, ThePieceSizesThenTellsTheShape)
{
    EXPECT_EQ(piece(Shape{}), QString());
    EXPECT_EQ(piece(Shape{16.0 / 9, 0, 0}), " -vf-add dsize=1.7778");
    EXPECT_EQ(piece(Shape{640.0 / 450, 640, 450}), " -vf-add scale=640:450 -vf-add dsize=1.4222");
}

} // namespace
