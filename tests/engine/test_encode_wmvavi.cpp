// WMV and AVI targets from real clips, end to end through the real encoder.
#include "engine/encodetargets.h"

namespace {

using encodetest::TargetCase;

class WmvAviTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(WmvAviTargets, ConvertsWithTheRealTools) { encodetest::convertAndCheck(GetParam()); }

const char *const small = " -vf-add scale=176:144";
const char *const stereo44 = " -channels 2 -srate 44100 -af-add channels=2";

INSTANTIATE_TEST_SUITE_P(
    Engine, WmvAviTargets,
    ::testing::Values(
        TargetCase{"WMV7", "WMV7", "wmv", false, "mpeg4.avi", small, stereo44, "asf", "wmv1", "wmav1", 176, 144, 0},
        TargetCase{"WMV8", "WMV8", "wmv", false, "mpeg1.mpg", small, stereo44, "asf", "wmv2", "wmav2", 176, 144, 0},
        // AAC sound: the whole track reaches the WMA encoder.
        TargetCase{"WMV8_aac", "WMV8", "wmv", false, "h264.mp4", small, stereo44, "asf", "wmv2", "wmav2", 176, 144, 0},
        TargetCase{"MP42_wmv", "MP42", "wmv", false, "mpeg1.mpg", small, stereo44, "asf", "msmpeg4v2", "wmav2", 176, 144,
                   0},
        TargetCase{"MP42_avi", "MP42", "avi", false, "mpeg4.avi", small, stereo44, "avi", "msmpeg4v2", "mp3", 176, 144,
                   0},
        TargetCase{"XviD", "XviD", "avi", false, "wmv2.wmv", small, stereo44, "avi", "mpeg4", "mp3", 176, 144, 0},
        TargetCase{"DivX", "DivX", "avi", false, "mpeg2.vob", small, stereo44, "avi", "mpeg4", "mp3", 176, 144, 0},
        TargetCase{"H264", "H.264", "avi", false, "mpeg4.avi", small, stereo44, "avi", "h264", "mp3", 176, 144, 0},
        // The video is kept as it is; only the sound becomes MP3.
        TargetCase{"AudIsMp3", "AudIsMp3", "avi", false, "flv1.flv", small, stereo44, "avi", "flv1", "mp3", 320, 240,
                   0}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
