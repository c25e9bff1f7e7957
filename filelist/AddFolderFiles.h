#pragma once

namespace filelist {

class ListWindow;

// "Add All Word Files In Folder" (PushButton4): asks for an extension and a folder, then appends
// every file of that extension in the folder and all its subfolders.
void PushButton4_Click(ListWindow& window);

}  // namespace filelist
