// Whether the tools can really read a source. Tool 1's identify run names a container
// and streams for some files it cannot read at all (a cut-off MP4 comes out as raw DV
// of 720x480 with no frame in it), and such a file converts to an empty result. The
// identify run therefore decodes the first frames of the source's picture (or plays
// the start of its sound) as well, as fast as the tool can, and the source counts as
// readable only when pictures came out of it (or, for a sound, its status lines show
// the sound playing).
#pragma once

#include "core/jobrecords.h"

#include <QString>

namespace sourcecheck {

// The sound's status lines in tool 1's output show a time ("A:   0.5 (00.4) of ...").
bool soundPlayed(const QString &output);

// From the source as the probe found it: it has a picture and pictures were decoded
// (the run's picture output wrote something), or it has only a sound and the run's
// output shows the sound played.
bool sourceDecodes(const jobrecords::SourceInfo &source, const QString &identifyOutput, bool picturesWritten);

} // namespace sourcecheck
