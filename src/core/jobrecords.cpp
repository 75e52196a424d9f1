#include "core/jobrecords.h"

namespace jobrecords {

void JobSettings::resetOptions()
{
    JobSettings cleared;
    cleared.targetExt = targetExt;
    cleared.targetFormat = targetFormat;
    cleared.targetIsAudio = targetIsAudio;
    cleared.actionWord = actionWord;
    *this = cleared;
}

bool isAudioTarget(const JobSettings &job) { return job.targetIsAudio; }

bool isAudioOnlySource(const SourceInfo &source)
{
    return source.srcDemuxer == QLatin1String("audio") || (source.srcWidth == 0 && source.srcFps == 0);
}

void resetForNewSource(SourceInfo &source, JobSettings &job, PreviewState &preview)
{
    source = {};
    job.resetOptions();
    preview.previewPos = 0;
    preview.previewVolumeOpt.clear();
    preview.previewAddOpts.clear();
}

} // namespace jobrecords
