#pragma once

#include <atomic>
#include <climits>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "protocol/Indents.h"
#include "protocol/Message.h"
#include "wordhost/CommandDispatcher.h"
#include "wordhost/Engine.h"
#include "wordhost/PrivateFolder.h"

namespace wordhosttest {

// One page of a fake layout: its text lines and the size of its picture.
struct FakePage {
    std::vector<std::string> lines;
    int width = 8;
    int height = 4;
};

// A document the fake office knows by its path.
struct FakeContent {
    std::vector<FakePage> pages;
    std::vector<protocol::ParagraphIndents> paragraphs;
    // The layout once any indent was written (empty: the same pages).
    std::vector<FakePage> pagesAfterIndentWrites;
};

// Pages with the given line counts; line texts are "p<page>l<line>", 1-based.
std::vector<FakePage> pagesWithLines(const std::vector<int>& lineCounts);

// Which export and which page of it a fake picture shows: every pixel of it holds both.
struct PictureTag {
    int exportNumber;
    int layoutPage;  // 0-based, in that export
    bool operator==(const PictureTag&) const = default;
};
PictureTag tagOfPixel(std::uint32_t pixel);
// The tags of the pages stacked in a cut picture, top to bottom.
std::vector<PictureTag> tagsOf(const protocol::PagePicture& picture);

// The document engine in memory, for host tests without LibreOffice: documents are known by
// path, layouts are lists of pages, pictures tell which page of which export they show. Counts
// what the host asks of it and fails where told to. Thread-safe where the host draws pages.
class FakeOffice {
  public:
    void addDocument(const std::string& path, FakeContent content);

    // What the host's dispatcher uses to start this engine.
    wordhost::EngineStarter starter();

    // Failures to inject.
    bool failStart = false;                 // the engine does not start (429)
    std::set<std::string> failOpen;         // these paths are refused
    int failExports = 0;                    // this many exports fail from now on
    std::atomic<int> failRenderOfPage{-1};  // layout page whose picture fails to draw
    std::set<std::size_t> refuseIndentsOf;  // paragraphs whose indent writes fail
    // Layouts hold back their pages from this one on until releaseLayout(), as a long layout does
    // while the rest of it is exported (-1: every page at once).
    std::atomic<int> pagesReadyAtFirst{-1};
    void releaseLayout();

    // What the host asked for.
    int starts = 0;
    int warmUps = 0;
    int opens = 0;
    int exports = 0;
    int indentWrites = 0;
    int openDocuments = 0;
    // Pictures drawn, as (export, layout page), in the order drawn.
    std::vector<PictureTag> renders();
    // Waits (at most seconds) for the drawing thread to have drawn `count` pictures.
    bool waitForRenders(std::size_t count);

  private:
    class Engine;
    class Document;
    class Layout;

    bool held(int page) const;  // with mutex_ held
    void waitUntilExported(int page);

    std::map<std::string, FakeContent> documents_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool layoutReleased_ = false;
    std::vector<PictureTag> renders_;
};

// A host's dispatcher on a fake office, in this process, with a private folder of its own.
struct FakeHost {
    FakeOffice office;
    wordhost::PrivateFolder folder;
    wordhost::CommandDispatcher dispatcher{folder, office.starter()};

    // Sends a request given as its command line ("goto which=1 name=2"), with an optional payload.
    protocol::Message call(const std::string& line, std::string payload = {});
    // The reply's error number, 0 for "ok".
    int errorOf(const std::string& line, std::string payload = {});
    // A file in the private folder, known to the office as a document with `content`.
    std::string addDocument(const std::string& name, FakeContent content);
    // Claims the host and opens a document with pages of these line counts.
    void openDocumentWithLines(const std::vector<int>& lineCounts);
};

}  // namespace wordhosttest
