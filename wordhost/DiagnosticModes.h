#pragma once

#include <string>
#include <vector>

namespace wordhost {

// The diagnostic mode: lays DOC out and writes FOLDER/page-1.png ... at 150 dpi, then prints the
// page count on its last line. Returns 0, or non-zero after printing the error.
int renderDocument(const std::string& document, const std::string& folder);

// The count mode: opens every document in turn in one engine and prints "PAGES<tab>DOC" per
// document, the page count the conversion reads, without drawing a page ("error<tab>DOC<tab>WHY"
// for one that does not open). Returns 0 when every document opened.
int countPages(const std::vector<std::string>& documents);

}  // namespace wordhost
