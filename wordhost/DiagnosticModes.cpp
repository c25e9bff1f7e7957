#include "wordhost/DiagnosticModes.h"

#include <mupdf/fitz.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "shared/BandedRows.h"
#include "wordhost/EngineError.h"
#include "wordhost/MupdfContext.h"
#include "wordhost/MupdfLayout.h"
#include "wordhost/OfficeEngine.h"
#include "wordhost/PrivateFolder.h"
#include "wordhost/WordDocument.h"

namespace wordhost {

using namespace protocol;

namespace {

// A banded picture's rows at 32 bits; any other picture as it is.
PagePicture unbanded(const PagePicture& page) {
    if (page.format != PixelFormat::Banded) return page;
    PagePicture wide;
    wide.width = page.width;
    wide.height = page.height;
    wide.pixels.resize(wide.bytesPerRow() * std::size_t(wide.height));
    shared::widenBands(page.bandTable(), reinterpret_cast<const unsigned char*>(page.pixels.data()),
                       page.width, page.height, reinterpret_cast<unsigned char*>(wide.pixels.data()),
                       wide.bytesPerRow());
    return wide;
}

void writePng(const PagePicture& picture, const std::string& path) {
    const PagePicture page = unbanded(picture);
    MupdfContext context;
    fz_context* ctx = context.get();
    fz_pixmap* rgb = nullptr;
    fz_var(rgb);
    fz_try(ctx) {
        rgb = fz_new_pixmap(ctx, fz_device_rgb(ctx), page.width, page.height, nullptr, 0);
        // 0xffRRGGBB words (blue, green, red, alpha bytes), or grey bytes, to red, green, blue bytes.
        const auto* from = reinterpret_cast<const unsigned char*>(page.pixels.data());
        const int step = page.bytesPerPixel();
        const int red = page.format == PixelFormat::Grey8 ? 0 : 2;
        const int green = page.format == PixelFormat::Grey8 ? 0 : 1;
        for (int y = 0; y < page.height; ++y) {
            unsigned char* to = fz_pixmap_samples(ctx, rgb) + std::size_t(y) * fz_pixmap_stride(ctx, rgb);
            for (int x = 0; x < page.width; ++x, from += step, to += 3) {
                to[0] = from[red];
                to[1] = from[green];
                to[2] = from[0];
            }
        }
        const int dpi = static_cast<int>(MupdfLayout::kDpi);
        fz_set_pixmap_resolution(ctx, rgb, dpi, dpi);
        fz_save_pixmap_as_png(ctx, rgb, path.c_str());
    }
    fz_always(ctx) { fz_drop_pixmap(ctx, rgb); }
    fz_catch(ctx) { throw EngineError("cannot write " + path + ": " + context.caughtMessage()); }
}

// The engine of a diagnostic run: its temporary files in the run's private folder, only its
// errors on standard error.
OfficeEngine startEngine(PrivateFolder& privateFolder) {
    ::setenv("TMPDIR", privateFolder.path().c_str(), 1);
    if (std::getenv("SAL_LOG") == nullptr) ::setenv("SAL_LOG", "-WARN-INFO", 1);
    return OfficeEngine(LibreOfficeSession::defaultProgramFolder(), privateFolder.makeSubfolder("profile-"));
}

}  // namespace

int renderDocument(const std::string& document, const std::string& folder) {
    int status = 0;
    try {
        PrivateFolder privateFolder;
        OfficeEngine engine = startEngine(privateFolder);
        {
            WordDocument doc(engine.open(privateFolder.makeSubfolder("document-"), document), document);
            const int pages = doc.pageCount();
            // "-" lays out and draws every page without writing it: the engine's own floor.
            const bool write = folder != "-";
            if (write) std::filesystem::create_directories(folder);
            for (int page = 1; page <= pages; ++page) {
                doc.goToPage(2);
                doc.moveUp(1 << 30, true);
                if (page == pages) doc.endOfDocument(true);
                const std::optional<PagePicture> picture = doc.cut();
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
                WordDocument doc(engine.open(privateFolder.makeSubfolder("document-"), document), document);
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
