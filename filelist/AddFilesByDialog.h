#pragma once

namespace filelist {

class ListWindow;

// "Add Word File(s)" (PushButton1): appends every file picked in the file-open dialog.
void PushButton1_Click(ListWindow& window);

}  // namespace filelist
