// The windows' records of the job on hand: one source, one set of job settings and one
// preview state for the program's windows (the main window, the options dialog and the
// player) to read and write on the GUI thread. The engine never reads them: the windows
// hand them to it by const reference.
#pragma once

#include "core/jobrecords.h"

namespace jobstate {

extern jobrecords::SourceInfo sourceInfo;
extern jobrecords::JobSettings jobSettings;
extern jobrecords::PreviewState previewState;

} // namespace jobstate
