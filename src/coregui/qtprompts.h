// The Qt message boxes and file dialogs behind the prompts seam (core/userprompts.h).
#pragma once

class QFileDialog;

namespace prompts {

struct FileRequest;

// Makes the Qt dialogs the prompts used whenever none are installed. The program
// calls it once at start, after its QApplication exists.
void useQtDialogs();

// The Qt file dialog set up for a request, as the Qt prompts show it: name filters
// read as written and matched in either letter case.
void setUpFileDialog(QFileDialog &dialog, const FileRequest &request);

} // namespace prompts
