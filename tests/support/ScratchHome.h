#pragma once

#include <QString>

namespace testsupport {

// Points TMPDIR and XDG_RUNTIME_DIR into a fresh scratch folder for this test process, and HOME,
// the XDG folders, the settings and TEMP into a folder of their own inside it, so no test touches
// the real home folder. Call before the application object exists. The process's scratch folder
// is removed when the process ends in any way, also killed or crashed.
void enterScratchHome();

// Gives every test a fresh scratch folder (home, settings, desktop, TEMP), removed after the
// test whether it passed or not. Engine hosts may outlive a test, so TMPDIR and the runtime
// folder stay the process's.
void giveEveryTestItsOwnScratch();

// Ends the child processes (engine hosts) and removes the process's scratch folder.
void leaveScratchHome();

// The scratch folder of the running test (no trailing "/"): holds home/ and tmp/.
QString scratchHome();

// The folder `name` in the running test's scratch folder, made if it is not there yet.
QString scratchFolder(const QString& name);

// The folder that holds the built program (bin/ of the build tree).
QString programDir();

// The source tree, for test documents and resources.
QString sourceDir();

// shared/testdocs beside the source tree or beside one of the folders above it.
QString testDocsDir();

}  // namespace testsupport
