#pragma once

#include <string>
#include <vector>

namespace wordhosttest {

struct TestPage {
    double width = 612;  // Letter, in points
    double height = 792;
    int rotate = 0;
    std::string content;  // the page's drawing operators
};

// Text in Helvetica at (x, y) from the page's lower left corner, as a PDF writer places it.
std::string text(double x, double y, const std::string& words);

// A small PDF file with the pages, its cross-reference table at the right offsets.
std::string pdfFile(const std::vector<TestPage>& pages);

// Writes a file of the test's scratch home and returns its path.
std::string writeFile(const std::string& name, const std::string& contents);

}  // namespace wordhosttest
