#include "tests/wordhost/FakeOffice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "protocol/WordVocabulary.h"
#include "tests/support/Polling.h"
#include "wordhost/EngineError.h"

namespace wordhosttest {

using protocol::PagePicture;
using wordhost::EngineError;

// Pictures of one export of a fake document; copies share the pages.
class FakeOffice::Layout : public wordhost::PageLayout {
  public:
    Layout(FakeOffice& office, int exportNumber, std::shared_ptr<const std::vector<FakePage>> pages)
        : office_(office), export_(exportNumber), pages_(std::move(pages)) {}

    int pageCount() const override {
        office_.waitUntilExported(INT_MAX);
        return static_cast<int>(pages_->size());
    }
    ReadyPages readyPages() const override {
        const int count = static_cast<int>(pages_->size());
        std::lock_guard lock(office_.mutex_);
        const bool all = !office_.held(count - 1);
        return {all ? count : std::min(count, office_.pagesReadyAtFirst.load()), all};
    }
    const std::vector<std::string>& lines(int page) override {
        office_.waitUntilExported(page);
        return pages_->at(std::size_t(page)).lines;
    }
    std::pair<int, int> pictureSize(int page) const override {
        office_.waitUntilExported(page);
        const FakePage& at = pages_->at(std::size_t(page));
        return {at.width, at.height};
    }
    PagePicture render(int page) const override {
        office_.waitUntilExported(page);
        if (office_.failRenderOfPage == page) throw EngineError("The page cannot be drawn.");
        const FakePage& at = pages_->at(std::size_t(page));
        PagePicture picture;
        picture.width = at.width;
        picture.height = at.height;
        const std::uint32_t pixel = 0xff000000u | std::uint32_t(export_) << 16 | std::uint32_t(page);
        picture.pixels.resize(picture.bytesPerRow() * std::size_t(at.height));
        for (std::size_t i = 0; i < picture.pixels.size(); i += sizeof pixel)
            std::memcpy(picture.pixels.data() + i, &pixel, sizeof pixel);
        std::lock_guard lock(office_.mutex_);
        office_.renders_.push_back({export_, page});
        return picture;
    }
    std::unique_ptr<wordhost::PageLayout> openAgain() const override {
        return std::make_unique<Layout>(office_, export_, pages_);
    }

  private:
    FakeOffice& office_;
    int export_;
    std::shared_ptr<const std::vector<FakePage>> pages_;
};

class FakeOffice::Document : public wordhost::LoadedDocument {
  public:
    Document(FakeOffice& office, FakeContent content) : office_(office), content_(std::move(content)) {
        ++office_.openDocuments;
    }
    ~Document() override { --office_.openDocuments; }

    int enginePageCount() override { return static_cast<int>(currentPages().size()); }
    const std::vector<protocol::ParagraphIndents>& indents() override { return content_.paragraphs; }
    void setIndent(std::size_t paragraph, bool left, double points) override {
        if (paragraph >= content_.paragraphs.size()) {
            throw EngineError("The requested member of the collection does not exist.",
                              protocol::EngineErrorNumber::NoSuchMember);
        }
        if (office_.refuseIndentsOf.count(paragraph) != 0)
            throw EngineError("The indent of this paragraph cannot be changed.");
        (left ? content_.paragraphs[paragraph].left : content_.paragraphs[paragraph].right) = points;
        written_ = true;
        ++office_.indentWrites;
    }
    std::unique_ptr<wordhost::PageLayout> exportLayout() override {
        if (office_.failExports > 0) {
            --office_.failExports;
            throw EngineError("The layout cannot be exported.");
        }
        return std::make_unique<Layout>(office_, ++office_.exports,
                                        std::make_shared<const std::vector<FakePage>>(currentPages()));
    }

  private:
    const std::vector<FakePage>& currentPages() const {
        return written_ && !content_.pagesAfterIndentWrites.empty() ? content_.pagesAfterIndentWrites
                                                                    : content_.pages;
    }

    FakeOffice& office_;
    FakeContent content_;
    bool written_ = false;
};

class FakeOffice::Engine : public wordhost::Engine {
  public:
    explicit Engine(FakeOffice& office) : office_(office) {}

    std::unique_ptr<wordhost::LoadedDocument> open(const std::string&, const std::string& path) override {
        ++office_.opens;
        const auto found = office_.documents_.find(path);
        if (found == office_.documents_.end() || office_.failOpen.count(path))
            throw EngineError("\"" + path + "\" is not a Word document.");
        return std::make_unique<Document>(office_, found->second);
    }
    void warmUp(const std::string&) override { ++office_.warmUps; }

  private:
    FakeOffice& office_;
};

std::vector<FakePage> pagesWithLines(const std::vector<int>& lineCounts) {
    std::vector<FakePage> pages;
    for (std::size_t page = 0; page < lineCounts.size(); ++page) {
        FakePage fake;
        for (int line = 0; line < lineCounts[page]; ++line)
            fake.lines.push_back("p" + std::to_string(page + 1) + "l" + std::to_string(line + 1));
        pages.push_back(fake);
    }
    return pages;
}

PictureTag tagOfPixel(std::uint32_t pixel) {
    return {static_cast<int>((pixel >> 16) & 0xff), static_cast<int>(pixel & 0xffff)};
}

std::vector<PictureTag> tagsOf(const PagePicture& picture) {
    std::vector<PictureTag> tags;
    const std::size_t row = picture.bytesPerRow();
    for (int y = 0; y < picture.height; ++y) {
        std::uint32_t pixel = 0;
        if (picture.format == protocol::PixelFormat::Grey8) {  // a tag whose pixel has no colour (black)
            const std::uint32_t grey = static_cast<unsigned char>(picture.pixels[std::size_t(y) * row]);
            pixel = 0xff000000u | grey << 16 | grey << 8 | grey;
        } else {
            std::memcpy(&pixel, picture.pixels.data() + std::size_t(y) * row, sizeof pixel);
        }
        const PictureTag tag = tagOfPixel(pixel);
        if (tags.empty() || !(tags.back() == tag)) tags.push_back(tag);
    }
    return tags;
}

void FakeOffice::addDocument(const std::string& path, FakeContent content) {
    documents_[path] = std::move(content);
}

wordhost::EngineStarter FakeOffice::starter() {
    return [this](const std::string&) -> std::unique_ptr<wordhost::Engine> {
        if (failStart) {
            throw EngineError("The document engine cannot be started.",
                              protocol::EngineErrorNumber::CantCreate);
        }
        ++starts;
        return std::make_unique<Engine>(*this);
    };
}

void FakeOffice::releaseLayout() {
    {
        std::lock_guard lock(mutex_);
        layoutReleased_ = true;
    }
    released_.notify_all();
}

bool FakeOffice::held(int page) const {
    return pagesReadyAtFirst >= 0 && page >= pagesReadyAtFirst && !layoutReleased_;
}

void FakeOffice::waitUntilExported(int page) {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [&] { return !held(page); });
}

std::vector<PictureTag> FakeOffice::renders() {
    std::lock_guard lock(mutex_);
    return renders_;
}

bool FakeOffice::waitForRenders(std::size_t count) {
    return testsupport::waitUntil([&] { return renders().size() >= count; }, 10000);
}

protocol::Message FakeHost::call(const std::string& line, std::string payload) {
    std::istringstream words(line);
    std::string word;
    words >> word;
    protocol::Message request(word);
    while (words >> word) {
        const std::size_t equals = word.find('=');
        request.set(word.substr(0, equals), word.substr(equals + 1));
    }
    request.setPayload(std::move(payload));
    return dispatcher.handle(request);
}

int FakeHost::errorOf(const std::string& line, std::string payload) {
    const protocol::Message reply = call(line, std::move(payload));
    return reply.is("ok") ? 0 : static_cast<int>(reply.getInt("number"));
}

std::string FakeHost::addDocument(const std::string& name, FakeContent content) {
    const std::string path = folder.path() + "/" + name;
    std::ofstream(path) << name;
    office.addDocument(path, std::move(content));
    return path;
}

void FakeHost::openDocumentWithLines(const std::vector<int>& lineCounts) {
    const std::string path = addDocument("lines.docx", {pagesWithLines(lineCounts), {{0, 0}}, {}});
    ASSERT_EQ(errorOf("hello version=1"), 0);
    ASSERT_EQ(errorOf("open path=" + path), 0);
}

}  // namespace wordhosttest
