// The job's records as the engine tests hold them, in the place of the windows: one
// source, one set of settings and one preview state, handed to the engine as the
// windows hand theirs.
#pragma once

#include "core/jobrecords.h"

namespace testjob {

inline jobrecords::SourceInfo source;
inline jobrecords::JobSettings job;
inline jobrecords::PreviewState preview;

inline void clear()
{
    source = {};
    job = {};
    preview = {};
}

} // namespace testjob
