#pragma once

namespace filelist {

class ListWindow;

// "Load Sample/Example Files" (PushButton5): appends every file of the Samples folder beside the
// program and offers to open that folder.
void PushButton5_Click(ListWindow& window);

}  // namespace filelist
