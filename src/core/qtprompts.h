// The Qt message boxes and file dialogs behind the prompts seam (core/userprompts.h).
#pragma once

namespace prompts {

// Makes the Qt dialogs the prompts used whenever none are installed. The program
// calls it once at start, after its QApplication exists.
void useQtDialogs();

} // namespace prompts
