#include "tests/wordhost/TestPdf.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/ScratchHome.h"

namespace wordhosttest {

std::string text(double x, double y, const std::string& words) {
    std::ostringstream out;
    out << "BT /F1 12 Tf " << x << ' ' << y << " Td (" << words << ") Tj ET\n";
    return out.str();
}

std::string pdfFile(const std::vector<TestPage>& pages) {
    std::vector<std::string> objects;
    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i) kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::ostringstream page;
        page << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " << pages[i].width << ' ' << pages[i].height
             << "] /Rotate " << pages[i].rotate << " /Resources << /Font << /F1 3 0 R >> >> /Contents "
             << 5 + 2 * i << " 0 R >>";
        objects.push_back(page.str());
        objects.push_back("<< /Length " + std::to_string(pages[i].content.size()) + " >>\nstream\n" +
                          pages[i].content + "\nendstream");
    }
    std::string file = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t table = file.size();
    file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        file += entry;
    }
    file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(table) + "\n%%EOF\n";
    return file;
}

std::string writeFile(const std::string& name, const std::string& contents) {
    const std::string path = testsupport::scratchHome().toStdString() + "/" + name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

}  // namespace wordhosttest
