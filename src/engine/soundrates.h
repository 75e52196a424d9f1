// The sample rates and bit rates the sound encoders of the targets take. The options
// dialog offers a target only the sample rates its encoder takes, and the command
// builder writes every rate and bit rate as the encoder takes it: an encoder that is
// handed a rate it does not know refuses to start.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace soundrates {

// The encoder that writes a job's sound.
enum class Encoder {
    Mp2,     // tool 2's MP2 encoder: MPEG-1, VCD, MPEG-2, the volume change of MPEG files
    Ac3,     // AC-3 (tool 3): DVD, the volume change of ".vob" files, the AC-3 sound target
    Mp3,     // the AVI targets, the kept picture, the volume change of AVI files, the MP3 target
    Wma,     // the WMV targets, the volume change of WMV files, the WMA target
    Aac,     // the MP4 and AAC sound targets
    Vorbis,  // the OGG sound target
    Pcm,     // the WAV sound target
    Kept,    // cut and repair: the sound is copied, or keeps the source's own rate
};

// The encoder of a job of kind targetFormat into targetExt (audioTarget: a sound target).
Encoder encoderOf(const QString &targetFormat, const QString &targetExt, bool audioTarget);

// The sample rates of the dialog's list, in Hz, lowest first.
const QList<int> &listRates();
// The rates of that list the encoder takes, lowest first.
QList<int> offeredRates(Encoder encoder);
// The same as the texts of the dialog's list.
QStringList offeredItems(Encoder encoder);

// The rate itself when the encoder takes it, else the nearest rate it takes (the higher
// of two as near). An encoder that takes any rate keeps it.
int takenRate(Encoder encoder, int rate);

// The bit rate in kbit/s the encoder is given for `wanted` kbit/s at sampleRate Hz:
// MP2 takes 96 to 384 kbit/s, and at 16000, 22050 and 24000 Hz at most 160 (a rate it
// has no step for becomes the next step up); Vorbis takes a span that depends on the
// rate (a rate outside it becomes its nearer end). Any other encoder keeps `wanted`.
double takenBitrate(Encoder encoder, int sampleRate, double wanted);

} // namespace soundrates
