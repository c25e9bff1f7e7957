#pragma once

#include <string>

namespace wordhost {

class LibreOfficeSession;

// Lays out a tiny document of our own once, so the first real document does not pay for
// loading the import filters, fonts and PDF export (about half a second). Used by a spare host
// while it waits; failures are ignored.
void warmUp(LibreOfficeSession& office, const std::string& folder);

}  // namespace wordhost
