#include "wordhost/RenderMode.h"

#include <poppler-image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "wordhost/EngineDocument.h"
#include "wordhost/EngineError.h"
#include "wordhost/OfficeEngine.h"
#include "wordhost/PdfLayout.h"
#include "wordhost/PrivateFolder.h"

namespace wordhost {

namespace {

void writePng(const PageImage& page, const std::string& path) {
    poppler::image image(page.width, page.height, poppler::image::format_argb32);
    const std::size_t row = std::size_t(page.width) * PageImage::kBytesPerPixel;
    for (int y = 0; y < page.height; ++y) {
        std::copy_n(page.pixels.data() + std::size_t(y) * row, row,
                    image.data() + std::size_t(y) * image.bytes_per_row());
    }
    if (!image.save(path, "png", static_cast<int>(PdfLayout::kDpi))) {
        throw EngineError("cannot write " + path);
    }
}

// The engine of a diagnostic run: its temporary files in the run's private folder, only its
// errors on standard error.
OfficeEngine startEngine(PrivateFolder& privateFolder) {
    ::setenv("TMPDIR", privateFolder.path().c_str(), 1);
    if (std::getenv("SAL_LOG") == nullptr) ::setenv("SAL_LOG", "-WARN-INFO", 1);
    return OfficeEngine(Office::defaultProgramFolder(), privateFolder.makeSubfolder("profile-"));
}

}  // namespace

int renderDocument(const std::string& document, const std::string& folder) {
    int status = 0;
    try {
        PrivateFolder privateFolder;
        OfficeEngine engine = startEngine(privateFolder);
        {
            EngineDocument doc(engine.open(privateFolder.makeSubfolder("document-"), document), document);
            const int pages = doc.pageCount();
            // "-" lays out and draws every page without writing it: the engine's own floor.
            const bool write = folder != "-";
            if (write) std::filesystem::create_directories(folder);
            for (int page = 1; page <= pages; ++page) {
                doc.goToPage(2);
                doc.moveUp(1 << 30, true);
                if (page == pages) doc.endOfDocument(true);
                const std::optional<PageImage> picture = doc.cut();
                if (picture && write) writePng(*picture, folder + "/page-" + std::to_string(page) + ".png");
            }
            std::printf("%d\n", pages);
        }
        privateFolder.remove();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        std::printf("%s\n", error.what());
        status = 1;
    }
    std::fflush(nullptr);
    ::_exit(status);  // see HostServer: the engine is not shut down in-process
}

int countPages(const std::vector<std::string>& documents) {
    int status = 0;
    try {
        PrivateFolder privateFolder;
        OfficeEngine engine = startEngine(privateFolder);
        for (const std::string& document : documents) {
            try {
                EngineDocument doc(engine.open(privateFolder.makeSubfolder("document-"), document), document);
                std::printf("%d\t%s\n", doc.pageCount(), document.c_str());
            } catch (const EngineError& error) {
                std::printf("error\t%s\t%s\n", document.c_str(), error.what());
                status = 1;
            }
            std::fflush(stdout);
        }
        privateFolder.remove();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        status = 1;
    }
    std::fflush(nullptr);
    ::_exit(status);  // see HostServer: the engine is not shut down in-process
}

}  // namespace wordhost
