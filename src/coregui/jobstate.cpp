#include "coregui/jobstate.h"

namespace jobstate {

jobrecords::SourceInfo sourceInfo;
jobrecords::JobSettings jobSettings;
jobrecords::PreviewState previewState;

} // namespace jobstate
