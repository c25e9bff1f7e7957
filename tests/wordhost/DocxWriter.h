#pragma once

// The shared document writer under the names the engine's client and fault tests use.
#include "tests/support/DocxWriter.h"

namespace wordhosttest {
using testdocx::pagedText;
using testdocx::Paragraph;
using testdocx::writeDocx;
}  // namespace wordhosttest
