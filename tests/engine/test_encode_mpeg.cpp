// MPEG targets from a real clip, end to end through the real encoder.
#include "engine/encodetargets.h"

namespace {

using encodetest::TargetCase;

class MpegTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(MpegTargets, ConvertsWithTheRealTools) { encodetest::convertAndCheck(GetParam()); }

const char *const stereo44 = " -channels 2 -srate 44100 -af-add channels=2";
const char *const stereo48 = " -channels 2 -srate 48000 -af-add channels=2";

INSTANTIATE_TEST_SUITE_P(
    Engine, MpegTargets,
    ::testing::Values(
        TargetCase{"MPEG1", "MPEG1", "mpg", false, "mpeg4.avi", " -vf-add scale=176:144", stereo44, "mpeg",
                   "mpeg1video", "mp2", 176, 144, 44100},
        TargetCase{"VCD", "VCD", "dat", false, "h264.mp4", " -vf-add scale=352:240", stereo44, "mpeg", "mpeg1video",
                   "mp2", 352, 240, 44100},
        TargetCase{"MPEG2", "MPEG2", "mpg", false, "wmv2.wmv", " -vf-add scale=176:144", stereo48, "mpeg",
                   "mpeg2video", "mp2", 176, 144, 48000},
        TargetCase{"DVD", "DVD", "vob", false, "mpeg4.avi", " -vf-add scale=720:480", stereo48, "mpeg", "mpeg2video",
                   "ac3", 720, 480, 48000}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
