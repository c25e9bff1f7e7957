#include "platform/BandedImage.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "shared/BandedRows.h"

namespace platform {

namespace {

struct BandedPixels {
    std::string storage;
    BandsView view;
    std::unique_ptr<uchar[]> pixels;
};

// The pictures made from bands that live, by their pixels' address: a picture detached from its
// pixels (written to) has other ones and is not found. Never destroyed: the clipboard may let go
// of its picture after the program's statics are gone.
std::mutex& registryMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}
std::map<const uchar*, const BandedPixels*>& registry() {
    static auto* pictures = new std::map<const uchar*, const BandedPixels*>;
    return *pictures;
}

void forget(void* owner) {
    auto* held = static_cast<BandedPixels*>(owner);
    {
        const std::lock_guard lock(registryMutex());
        registry().erase(held->pixels.get());
    }
    delete held;
}

}  // namespace

QImage imageFromBands(std::string storage, std::size_t tableOffset, std::size_t bandsOffset, int width,
                      int height) {
    const std::size_t tableBytes = shared::bandCount(height);
    if (width <= 0 || height <= 0 || tableOffset > storage.size() ||
        storage.size() - tableOffset < tableBytes || bandsOffset > storage.size()) {
        return {};
    }
    auto held = std::make_unique<BandedPixels>();
    held->storage = std::move(storage);
    const auto* base = reinterpret_cast<const unsigned char*>(held->storage.data());
    const std::size_t bandBytes = shared::bandedBytes(base + tableOffset, width, height);
    if (bandBytes == 0 || held->storage.size() - bandsOffset < bandBytes) return {};
    held->view = {base + tableOffset, base + bandsOffset, tableBytes, bandBytes};
    const std::size_t bytesPerLine = std::size_t(width) * 4;
    held->pixels.reset(new (std::nothrow) uchar[bytesPerLine * std::size_t(height)]);
    if (!held->pixels) return {};
    shared::widenBands(held->view.table, held->view.bands, width, height, held->pixels.get(), bytesPerLine);
    const uchar* const pixels = held->pixels.get();
    QImage image(pixels, width, height, qsizetype(bytesPerLine), QImage::Format_RGB32, forget, held.get());
    if (image.isNull()) return image;
    {
        const std::lock_guard lock(registryMutex());
        registry()[pixels] = held.release();  // the image owns it now
    }
    return image;
}

std::optional<BandsView> bandsOf(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    const std::lock_guard lock(registryMutex());
    const auto found = registry().find(image.constBits());
    if (found == registry().end()) return std::nullopt;
    return found->second->view;
}

}  // namespace platform
