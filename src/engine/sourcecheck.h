// Whether the tools can really read a source. Tool 1's identify run names a container
// and streams for some files it cannot read at all (a cut-off MP4 comes out as raw DV
// of 720x480 with no frame in it), and such a file converts to an empty result. Before
// a job is planned, tool 1 therefore decodes the first frames of the source's picture
// (or plays the start of its sound) and the source counts as readable only when that
// gives something.
#pragma once

#include <QString>

namespace sourcecheck {

// tool1 -ao null -vo md5sum:outfile=<md5File> -frames 5 -endpos 3 "file": one line per
// decoded picture goes into md5File (its length-prefixed form keeps any path whole).
QString decodeCommand(const QString &tool1, const QString &file, const QString &md5File);
// tool1 -ao null -vo null -endpos 1 "file": the sound's status lines ("A:   0.5 ...").
QString soundCommand(const QString &tool1, const QString &file);
// The sound's status lines in tool 1's output show a time.
bool soundPlayed(const QString &output);

// SourceInfo as the probe left it: the source has a picture or a sound, and tool 1
// decodes a picture from its first seconds (a source with a picture) or plays its
// sound (a sound-only source).
bool sourceDecodes(const QString &file);

} // namespace sourcecheck
