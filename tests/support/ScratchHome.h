#pragma once

#include <QString>

namespace testsupport {

// Points HOME, the XDG folders, TMPDIR and TEMP into a fresh scratch folder for this test
// process, so no test touches the real home folder. Call before the application object exists.
void enterScratchHome();

// The scratch folder (no trailing "/").
QString scratchHome();

// The folder that holds the built program (bin/ of the build tree).
QString programDir();

// The source tree, for test documents and resources.
QString sourceDir();

// shared/testdocs beside the source tree or beside one of the folders above it.
QString testDocsDir();

}  // namespace testsupport
