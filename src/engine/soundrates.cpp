#include "engine/soundrates.h"

#include "core/numbertext.h"
#include "engine/targetkinds.h"

#include <algorithm>
#include <cstdlib>

namespace soundrates {

namespace {

// The rates each encoder takes, as measured with Debian 12's tools; empty: any rate of
// the list. MP2 knows no 11025 Hz ("Not a valid samplerate"); tool 3's AC-3 encoder
// takes 32000, 44100 and 48000 Hz only.
QList<int> takes(Encoder e)
{
    switch (e) {
    case Encoder::Mp2:
        return {16000, 22050, 24000, 32000, 44100, 48000};
    case Encoder::Ac3:
        return {32000, 44100, 48000};
    default:
        return {};
    }
}

// The MPEG-2 half rates: MP2 has other bit-rate steps there.
bool halfRate(int sampleRate) { return sampleRate == 16000 || sampleRate == 22050 || sampleRate == 24000; }

// Stereo Vorbis (libvorbis 1.3.7) sets itself up only within a span of bit rates that
// depends on the rate; outside it the converter ends with "encoder setup failed".
struct Span {
    int low, high;
};
Span vorbisSpan(int sampleRate)
{
    if (sampleRate < 16000)
        return {20, 100};
    if (sampleRate < 22050)
        return {24, 200};
    if (sampleRate < 32000)
        return {30, 180};
    if (sampleRate < 44100)
        return {36, 380};
    return {45, 500};
}

} // namespace

Encoder encoderOf(const QString &targetFormat, const QString &targetExt, bool audioTarget)
{
    const QString &ext = targetExt;
    if (audioTarget) {
        if (ext == QLatin1String("mp3"))
            return Encoder::Mp3;
        if (ext == QLatin1String("wma"))
            return Encoder::Wma;
        if (ext == QLatin1String("mp4") || ext == QLatin1String("aac"))
            return Encoder::Aac;
        if (ext == QLatin1String("ac3"))
            return Encoder::Ac3;
        if (ext == QLatin1String("ogg"))
            return Encoder::Vorbis;
        return Encoder::Pcm;
    }
    using namespace engine;
    const bool mpegFile = ext == QLatin1String("mpg") || ext == QLatin1String("mpeg") || ext == QLatin1String("dat");
    if (targetFormat == kind::ChangeVolume) {
        if (mpegFile)
            return Encoder::Mp2;
        if (ext == QLatin1String("vob"))
            return Encoder::Ac3;
        return ext == QLatin1String("wmv") ? Encoder::Wma : Encoder::Mp3;
    }
    if (targetFormat == kind::Cut || targetFormat == kind::Repair)
        return Encoder::Kept;
    if (targetFormat == kind::Mpeg1 || targetFormat == kind::Mpeg2 || targetFormat == kind::Vcd)
        return Encoder::Mp2;
    if (targetFormat == kind::Dvd)
        return Encoder::Ac3;
    if (targetFormat == kind::Wmv7 || targetFormat == kind::Wmv8)
        return Encoder::Wma;
    if (targetFormat == kind::Mp42)
        return ext == QLatin1String("wmv") ? Encoder::Wma : Encoder::Mp3;
    if (findTargetKind(targetFormat))
        return Encoder::Mp3;  // XviD, DivX, H.264 and the kept picture: MP3 sound in an AVI
    // A kind the table does not know, by its container.
    if (mpegFile)
        return Encoder::Mp2;
    if (ext == QLatin1String("vob"))
        return Encoder::Ac3;
    return ext == QLatin1String("wmv") ? Encoder::Wma : Encoder::Mp3;
}

const QList<int> &listRates()
{
    static const QList<int> rates = {11025, 16000, 22050, 24000, 32000, 44100, 48000};
    return rates;
}

QList<int> offeredRates(Encoder e)
{
    const QList<int> own = takes(e);
    if (own.isEmpty())
        return listRates();
    QList<int> out;
    for (int r : listRates())
        if (own.contains(r))
            out << r;
    return out;
}

QStringList offeredItems(Encoder e)
{
    QStringList items;
    for (int r : offeredRates(e))
        items << numbertext::integer(r);
    return items;
}

int takenRate(Encoder e, int rate)
{
    const QList<int> own = takes(e);
    if (own.isEmpty() || own.contains(rate))
        return rate;
    int best = own.first();
    for (int r : own)
        if (std::abs(r - rate) <= std::abs(best - rate))
            best = r;  // lowest first: on a tie the higher one wins
    return best;
}

double takenBitrate(Encoder e, int sampleRate, double wanted)
{
    switch (e) {
    case Encoder::Mp2: {
        // Stereo MP2 has no 32, 48, 56 or 80 kbit/s, and below 96 kbit/s the encoder's
        // MPEG muxer wrote files without streams: the next step that works.
        static const QList<int> full = {96, 112, 128, 160, 192, 224, 256, 320, 384};
        static const QList<int> half = {96, 112, 128, 144, 160};
        const QList<int> &steps = halfRate(sampleRate) ? half : full;
        for (int r : steps)
            if (r >= wanted)
                return r;
        return steps.last();
    }
    case Encoder::Vorbis: {
        const Span s = vorbisSpan(sampleRate);
        return std::clamp(wanted, double(s.low), double(s.high));
    }
    default:
        return wanted;
    }
}

} // namespace soundrates
