#include "platform/BandedImage.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "shared/BandedRows.h"

namespace platform {

namespace {

// The bands of a picture and its 32-bit pixels, shared by every image made from the same bands.
struct BandedPixels {
    std::string storage;
    BandsView view;
    int width = 0;
    int height = 0;
    std::unique_ptr<uchar[]> pixels;
    std::size_t pixelBytes = 0;
    int images = 1;  // the images over these pixels (each its own QImage data)
};

// The pictures made from bands that live, by their pixels' address: an image detached from its
// pixels (written to) has other ones and is not found. Beside them the pixel memory of a few
// pictures gone, for the next pages: 8 MB of fresh memory is a page fault and a cleared page for
// every 4 KB (or 2 MB), which costs more than widening the bands into it. Never destroyed: the
// clipboard may let go of its picture after the program's statics are gone.
struct Registry {
    static constexpr std::size_t kSpares = 3;  // the pictures of the two pages in flight, and one
    std::mutex mutex;
    std::map<const uchar*, BandedPixels*> pictures;
    std::vector<std::pair<std::size_t, std::unique_ptr<uchar[]>>> spares;
    std::vector<std::string> spareStorage;
};

Registry& registry() {
    static auto* registry = new Registry;
    return *registry;
}

std::unique_ptr<uchar[]> pixelMemory(std::size_t bytes) {
    Registry& all = registry();
    {
        const std::lock_guard lock(all.mutex);
        for (auto spare = all.spares.begin(); spare != all.spares.end(); ++spare) {
            if (spare->first != bytes) continue;
            std::unique_ptr<uchar[]> memory = std::move(spare->second);
            all.spares.erase(spare);
            return memory;
        }
    }
    return std::unique_ptr<uchar[]>(new (std::nothrow) uchar[bytes]);
}

// With the registry locked.
void keepSpare(Registry& all, std::string storage) {
    if (all.spareStorage.size() == Registry::kSpares) all.spareStorage.erase(all.spareStorage.begin());
    all.spareStorage.push_back(std::move(storage));
}

void release(void* owner) {
    auto* held = static_cast<BandedPixels*>(owner);
    Registry& all = registry();
    const std::lock_guard lock(all.mutex);
    if (--held->images > 0) return;
    all.pictures.erase(held->pixels.get());
    if (all.spares.size() == Registry::kSpares) all.spares.erase(all.spares.begin());  // the oldest goes
    all.spares.emplace_back(held->pixelBytes, std::move(held->pixels));
    keepSpare(all, std::move(held->storage));
    delete held;
}

QImage imageOver(BandedPixels& held) {
    // Read-only pixels: writing to an image copies them first, so the bands stay its pixels'.
    return QImage(static_cast<const uchar*>(held.pixels.get()), held.width, held.height,
                  qsizetype(held.width) * 4, QImage::Format_RGB32, release, &held);
}

// A live picture of the same bands, whose pixels are then those asked for: the page picture read
// back from its file is the clipboard's picture again, and is not widened a second time.
BandedPixels* sameBands(Registry& all, const BandedPixels& wanted) {
    for (const auto& [pixels, held] : all.pictures) {
        if (held->width == wanted.width && held->height == wanted.height &&
            held->view.bandBytes == wanted.view.bandBytes &&
            std::memcmp(held->view.table, wanted.view.table, wanted.view.tableBytes) == 0 &&
            std::memcmp(held->view.bands, wanted.view.bands, wanted.view.bandBytes) == 0) {
            return held;
        }
    }
    return nullptr;
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
    held->width = width;
    held->height = height;
    const auto* base = reinterpret_cast<const unsigned char*>(held->storage.data());
    const std::size_t bandBytes = shared::bandedBytes(base + tableOffset, width, height);
    if (bandBytes == 0 || held->storage.size() - bandsOffset < bandBytes) return {};
    held->view = {base + tableOffset, base + bandsOffset, tableBytes, bandBytes};
    Registry& all = registry();
    {
        const std::lock_guard lock(all.mutex);
        if (BandedPixels* same = sameBands(all, *held)) {
            QImage image = imageOver(*same);
            if (!image.isNull()) ++same->images;
            keepSpare(all, std::move(held->storage));
            return image;
        }
    }
    held->pixelBytes = std::size_t(width) * 4 * std::size_t(height);
    held->pixels = pixelMemory(held->pixelBytes);
    if (!held->pixels) return {};
    shared::widenBands(held->view.table, held->view.bands, width, height, held->pixels.get(),
                       std::size_t(width) * 4);
    QImage image = imageOver(*held);
    if (image.isNull()) return image;
    const std::lock_guard lock(all.mutex);
    all.pictures[held->pixels.get()] = held.get();
    held.release();  // the image owns it now
    return image;
}

std::string storageForBands(std::size_t bytes) {
    std::string storage;
    {
        Registry& all = registry();
        const std::lock_guard lock(all.mutex);
        for (auto spare = all.spareStorage.begin(); spare != all.spareStorage.end(); ++spare) {
            if (spare->capacity() < bytes) continue;
            storage = std::move(*spare);
            all.spareStorage.erase(spare);
            break;
        }
    }
    storage.resize(bytes);  // over memory in use already, where it is a spare's
    return storage;
}

void releaseSpareMemory() {
    Registry& all = registry();
    std::vector<std::pair<std::size_t, std::unique_ptr<uchar[]>>> pixels;
    std::vector<std::string> storage;
    const std::lock_guard lock(all.mutex);
    pixels.swap(all.spares);
    storage.swap(all.spareStorage);
}

std::optional<BandsView> bandsOf(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    Registry& all = registry();
    const std::lock_guard lock(all.mutex);
    const auto found = all.pictures.find(image.constBits());
    if (found == all.pictures.end()) return std::nullopt;
    return found->second->view;
}

}  // namespace platform
