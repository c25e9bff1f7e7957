#pragma once

#include <QImage>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/AppError.h"
#include "platform/Services.h"
#include "wordclient/WordApplication.h"

namespace testsupport {

// An in-process "Word.Application" for tests. Installs itself as the Word factory for its life and
// records every call, in order, as a readable string:
//   "create", "attach", "name", "Documents.Open(/x/a.docx)", "ActiveDocument.Repaginate",
//   "BuiltInDocumentProperties(14)", "PageFit", "PageFit=2", "Paragraphs", "LeftIndent[3]=0",
//   "RightIndent[3]=0", "CentimetersToPoints(0)", "Selection.EndKey(6,1)", "Selection.GoTo(1,2,2)",
//   "Selection.MoveUp(5,200,1)", "Selection.Text", "Selection.Cut",
//   "ActiveDocument.Close(savechanges=0)", "quit".
// A call's name is its record up to the first "(" or "[", with "=" kept for writes:
// "Documents.Open", "PageFit", "PageFit=", "LeftIndent=", "BuiltInDocumentProperties", ...
//
// The document is a stack of pages of `linesPerPage` lines each. The selection is a range of lines of
// what is left; Cut removes the selected lines and puts one picture per cut page on the clipboard
// (several pages stacked top to bottom), so a test can tell which page an image came from.
class FakeWord : public wordclient::WordApplication, public wordclient::WordFactory {
  public:
    // What Cut leaves on the system clipboard.
    enum class CutPicture { PagePicture, LeaveClipboard, ClearClipboard };

    FakeWord();
    ~FakeWord() override;
    FakeWord(const FakeWord&) = delete;
    FakeWord& operator=(const FakeWord&) = delete;

    // --- Configuration (read when a document is opened, unless said otherwise) ---
    int pageCount = 1;                      // what BuiltInDocumentProperties(14) reports; may be 0
    std::optional<int> contentPages;        // the pages really in the document; default max(pageCount, 1)
    std::optional<QVariant> pagesProperty;  // replaces the reported page count value when set
    int linesPerPage = 40;
    std::vector<wordclient::ParagraphIndents> paragraphs;  // live: the conversion's writes land here
    std::int16_t pageFitSetting = 0;                       // live: current page fit
    bool running = false;                                  // getObject finds a running Word
    QString applicationName = wordclient::kWordName;       // the default property ("name")
    bool createFails = false;                              // createObject throws 429
    bool documentMustExist = true;  // Documents.Open of a missing file throws 5174 as Word does
    CutPicture cutPicture = CutPicture::PagePicture;
    std::map<int, CutPicture> cutPictureOfPage;  // overrides cutPicture for the cut that starts at this page
    std::function<void()> duringCut;             // runs inside every Selection.Cut

    // Makes the call `nameOrRecord` (a call name or a whole record such as "LeftIndent[3]=0") throw
    // AppError(number, description) every time, or only on its `onlyNth` (1-based) time.
    void failCall(const QString& nameOrRecord, const QString& description = QString(), int onlyNth = 0,
                  long number = platform::ErrorNumber::AutomationError);

    // --- Observation ---
    QStringList calls;                                  // every call, in order
    static QString callName(const QString& record);     // "LeftIndent[3]=0" gives "LeftIndent="
    QStringList callsNamed(const QString& name) const;  // the records of one call name
    int count(const QString& name) const { return static_cast<int>(callsNamed(name).size()); }
    bool documentOpen() const { return documentOpen_; }
    int remainingPages() const;                       // pages (partly) left in the open document
    std::vector<int> cutPages;                        // original page numbers, in the order they were cut
    int liveObjects() const { return liveObjects_; }  // Word objects handed out and not yet released

    // --- Page pictures ---
    static QColor pageColour(int page);   // distinct for pages 1..64, robust against JPEG
    static QImage pagePicture(int page);  // 200x260, the page colour, its number drawn, (0,0) encoded
    static int pageOfPicture(const QImage& picture);  // 0 when the picture is no page picture
    // The page of every 260-pixel band of a (possibly stacked) picture; any scale of the width is fine.
    static std::vector<int> pagesOfPicture(const QImage& picture);

    // --- wordclient::WordFactory ---
    std::unique_ptr<wordclient::WordApplication> createObject() override;
    std::unique_ptr<wordclient::WordApplication> getObject() override;

    // --- wordclient::WordApplication (what the handed-out objects forward to) ---
    QString name() override;
    void documentsOpen(const QString& path) override;
    void activeDocumentRepaginate() override;
    QVariant builtInDocumentProperty(std::int16_t index) override;
    std::int16_t pageFit() override;
    void setPageFit(std::int16_t value) override;
    std::vector<wordclient::ParagraphIndents> paragraphIndents() override;
    void setLeftIndent(int paragraph, double points) override;
    void setRightIndent(int paragraph, double points) override;
    double centimetersToPoints(double centimetres) override;
    void selectionEndKey(std::int16_t unit, std::int16_t extend) override;
    void selectionGoTo(std::int16_t what, std::int16_t which, std::int16_t name) override;
    void selectionMoveUp(std::int16_t unit, std::int16_t count, std::int16_t extend) override;
    QString selectionText() override;
    void selectionCut() override;
    void activeDocumentClose(std::int16_t saveChanges) override;
    void quit() override;

  private:
    class Handle;
    struct Failure {
        QString description;
        int onlyNth;
        long number;
    };

    // Records the call and throws when it is set to fail or the server has quit.
    void enter(const QString& name, const QString& record);
    void needDocument() const;
    void setIndent(bool left, int paragraph, double points);

    std::map<QString, Failure> failures_;
    std::map<QString, int> callCounts_;
    bool quit_ = false;
    bool documentOpen_ = false;
    std::vector<int> lines_;  // the original page number of every line left in the document
    int anchor_ = 0;          // selection: fixed end and moving end, as line positions
    int active_ = 0;
    int liveObjects_ = 0;
    std::shared_ptr<bool> alive_;
    platform::services::Override<wordclient::WordFactory> installed_;  // for the fake's life
};

}  // namespace testsupport
