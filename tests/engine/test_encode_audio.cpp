// Sound targets from real clips, end to end through the real converter.
#include "engine/encodetargets.h"

namespace {

using encodetest::TargetCase;

class AudioTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(AudioTargets, ConvertsWithTheRealTools) { encodetest::convertAndCheck(GetParam()); }

const char *const rate22 = " -ac 2 -ar 22050";
const char *const rate44 = " -ac 2 -ar 44100";

INSTANTIATE_TEST_SUITE_P(
    Engine, AudioTargets,
    ::testing::Values(
        TargetCase{"WAV", "Sound WAV", "wav", true, "mpeg4.avi", "", rate22, "wav", "", "pcm_s16le", 0, 0, 22050},
        TargetCase{"MP3", "Sound MP3", "mp3", true, "wmv2.wmv", "", rate44, "mp3", "", "mp3", 0, 0, 44100},
        TargetCase{"MP4", "Sound MP4", "mp4", true, "tone.wav", "", rate44, "mp4", "", "aac", 0, 0, 44100},
        TargetCase{"WMA", "Sound WMA", "wma", true, "h264.mp4", "", rate44, "asf", "", "wmav2", 0, 0, 44100},
        // A raw AAC stream behind ".aac", not an MP4 file.
        TargetCase{"AAC", "Sound AAC", "aac", true, "mpeg1.mpg", "", rate22, "aac", "", "aac", 0, 0, 22050},
        // The AC-3 encoder takes no 22050 Hz: the job's rate gives way to the nearest it takes.
        TargetCase{"AC3", "Sound AC3", "ac3", true, "vorbis.ogg", "", rate22, "ac3", "", "ac3", 0, 0, 32000},
        TargetCase{"OGG", "Sound OGG", "ogg", true, "tone.mp3", "", rate44, "ogg", "", "vorbis", 0, 0, 44100}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
