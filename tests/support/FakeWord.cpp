#include "tests/support/FakeWord.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>

#include "platform/AppError.h"

namespace testsupport {

using platform::AppError;

namespace {
constexpr int kPictureHeight = 260;

QString number(double value) { return QString::number(value); }

AppError serverGone() {
    return AppError(462, QStringLiteral("The remote server machine does not exist or is unavailable"));
}
AppError noDocument() {
    return AppError(protocol::EngineErrorNumber::NoDocument,
                    QStringLiteral("This command is not available because no document is open."));
}
AppError badParameter() { return AppError(4120, QStringLiteral("Bad parameter")); }
}  // namespace

// The object a test's code under test holds: forwards every call to the fake, and fails like a
// vanished server once the fake is gone.
class FakeWord::Handle : public wordclient::WordApplication {
  public:
    explicit Handle(FakeWord& fake) : fake_(&fake), alive_(fake.alive_) { ++fake.liveObjects_; }
    ~Handle() override {
        if (!alive_.expired()) --fake_->liveObjects_;
    }

    QString name() override { return word().name(); }
    void documentsOpen(const QString& path) override { word().documentsOpen(path); }
    void activeDocumentRepaginate() override { word().activeDocumentRepaginate(); }
    QVariant builtInDocumentProperty(std::int16_t index) override {
        return word().builtInDocumentProperty(index);
    }
    std::int16_t pageFit() override { return word().pageFit(); }
    void setPageFit(std::int16_t value) override { word().setPageFit(value); }
    std::vector<wordclient::ParagraphIndents> paragraphIndents() override {
        return word().paragraphIndents();
    }
    void setLeftIndent(int paragraph, double points) override { word().setLeftIndent(paragraph, points); }
    void setRightIndent(int paragraph, double points) override { word().setRightIndent(paragraph, points); }
    double centimetersToPoints(double centimetres) override {
        return word().centimetersToPoints(centimetres);
    }
    void selectionEndKey(std::int16_t unit, std::int16_t extend) override {
        word().selectionEndKey(unit, extend);
    }
    void selectionGoTo(std::int16_t what, std::int16_t which, std::int16_t name) override {
        word().selectionGoTo(what, which, name);
    }
    void selectionMoveUp(std::int16_t unit, std::int16_t count, std::int16_t extend) override {
        word().selectionMoveUp(unit, count, extend);
    }
    QString selectionText() override { return word().selectionText(); }
    void selectionCut() override { word().selectionCut(); }
    void activeDocumentClose(std::int16_t saveChanges) override { word().activeDocumentClose(saveChanges); }
    void quit() override { word().quit(); }

  private:
    FakeWord& word() {
        if (alive_.expired()) throw serverGone();
        return *fake_;
    }
    FakeWord* fake_;
    std::weak_ptr<bool> alive_;
};

FakeWord::FakeWord() : alive_(std::make_shared<bool>(true)), installed_(this) {}

FakeWord::~FakeWord() = default;

void FakeWord::failCall(const QString& nameOrRecord, const QString& description, int onlyNth, long number) {
    failures_[nameOrRecord] = Failure{
        description.isEmpty() ? nameOrRecord + QStringLiteral(" failed") : description, onlyNth, number};
}

QString FakeWord::callName(const QString& record) {
    for (qsizetype i = 0; i < record.size(); ++i) {
        const QChar c = record[i];
        if (c == QLatin1Char('(')) return record.left(i);
        if (c == QLatin1Char('=')) return record.left(i + 1);
        if (c == QLatin1Char('[')) return record.left(i) + QLatin1Char('=');  // only indexed writes use []
    }
    return record;
}

QStringList FakeWord::callsNamed(const QString& name) const {
    QStringList named;
    for (const QString& record : calls) {
        if (callName(record) == name) named << record;
    }
    return named;
}

void FakeWord::enter(const QString& name, const QString& record) {
    calls << record;
    const int nameCount = ++callCounts_[name];
    const int recordCount = record == name ? nameCount : ++callCounts_[QLatin1Char('\n') + record];
    if (quit_ && name != QLatin1String("create") && name != QLatin1String("attach")) throw serverGone();
    for (const auto& [key, times] : {std::pair{record, recordCount}, std::pair{name, nameCount}}) {
        const auto rule = failures_.find(key);
        if (rule != failures_.end() && (rule->second.onlyNth == 0 || rule->second.onlyNth == times)) {
            throw AppError(rule->second.number, rule->second.description);
        }
    }
}

void FakeWord::needDocument() const {
    if (!documentOpen_) throw noDocument();
}

int FakeWord::remainingPages() const {
    const int lines = static_cast<int>(lines_.size());
    return (lines + linesPerPage - 1) / linesPerPage;
}

std::unique_ptr<wordclient::WordApplication> FakeWord::createObject() {
    enter(QStringLiteral("create"), QStringLiteral("create"));
    if (createFails) throw AppError(platform::ErrorNumber::CantCreateObject);
    quit_ = false;
    documentOpen_ = false;
    lines_.clear();
    return std::make_unique<Handle>(*this);
}

std::unique_ptr<wordclient::WordApplication> FakeWord::getObject() {
    enter(QStringLiteral("attach"), QStringLiteral("attach"));
    if (!running) throw AppError(platform::ErrorNumber::CantCreateObject);
    quit_ = false;
    return std::make_unique<Handle>(*this);
}

QString FakeWord::name() {
    enter(QStringLiteral("name"), QStringLiteral("name"));
    return applicationName;
}

void FakeWord::documentsOpen(const QString& path) {
    enter(QStringLiteral("Documents.Open"), QStringLiteral("Documents.Open(%1)").arg(path));
    if (documentMustExist && !QFileInfo(path).isFile()) {
        throw AppError(5174, QStringLiteral("This file could not be found.\r\r(%1)").arg(path));
    }
    documentOpen_ = true;
    const int pages = contentPages.value_or(std::max(pageCount, 1));
    lines_.clear();
    for (int page = 1; page <= pages; ++page) lines_.insert(lines_.end(), linesPerPage, page);
    anchor_ = active_ = 0;
}

void FakeWord::activeDocumentRepaginate() {
    enter(QStringLiteral("ActiveDocument.Repaginate"), QStringLiteral("ActiveDocument.Repaginate"));
    needDocument();
}

QVariant FakeWord::builtInDocumentProperty(std::int16_t index) {
    enter(QStringLiteral("BuiltInDocumentProperties"),
          QStringLiteral("BuiltInDocumentProperties(%1)").arg(index));
    needDocument();
    if (index != wordclient::wd::PropertyPages) return QVariant();
    return pagesProperty.value_or(QVariant(pageCount));
}

std::int16_t FakeWord::pageFit() {
    enter(QStringLiteral("PageFit"), QStringLiteral("PageFit"));
    needDocument();
    return pageFitSetting;
}

void FakeWord::setPageFit(std::int16_t value) {
    enter(QStringLiteral("PageFit="), QStringLiteral("PageFit=%1").arg(value));
    needDocument();
    pageFitSetting = value;
}

std::vector<wordclient::ParagraphIndents> FakeWord::paragraphIndents() {
    enter(QStringLiteral("Paragraphs"), QStringLiteral("Paragraphs"));
    needDocument();
    return paragraphs;
}

void FakeWord::setIndent(bool left, int paragraph, double points) {
    const QString side = left ? QStringLiteral("LeftIndent") : QStringLiteral("RightIndent");
    enter(side + QLatin1Char('='), QStringLiteral("%1[%2]=%3").arg(side).arg(paragraph).arg(number(points)));
    needDocument();
    if (paragraph < 0 || paragraph >= static_cast<int>(paragraphs.size())) {
        throw AppError(protocol::EngineErrorNumber::NoSuchMember,
                       QStringLiteral("The requested member of the collection does not exist."));
    }
    (left ? paragraphs[paragraph].left : paragraphs[paragraph].right) = points;
}

void FakeWord::setLeftIndent(int paragraph, double points) { setIndent(true, paragraph, points); }
void FakeWord::setRightIndent(int paragraph, double points) { setIndent(false, paragraph, points); }

double FakeWord::centimetersToPoints(double centimetres) {
    enter(QStringLiteral("CentimetersToPoints"),
          QStringLiteral("CentimetersToPoints(%1)").arg(number(centimetres)));
    return centimetres * 72.0 / 2.54;
}

void FakeWord::selectionEndKey(std::int16_t unit, std::int16_t extend) {
    enter(QStringLiteral("Selection.EndKey"),
          QStringLiteral("Selection.EndKey(%1,%2)").arg(unit).arg(extend));
    needDocument();
    if (unit != wordclient::wd::Story) throw badParameter();
    active_ = static_cast<int>(lines_.size());
    if (extend == 0) anchor_ = active_;
}

void FakeWord::selectionGoTo(std::int16_t what, std::int16_t which, std::int16_t name) {
    enter(QStringLiteral("Selection.GoTo"),
          QStringLiteral("Selection.GoTo(%1,%2,%3)").arg(what).arg(which).arg(name));
    needDocument();
    if (what != wordclient::wd::GoToPage) throw badParameter();
    // Like Word, a page past the end goes to the last page.
    const int currentPage = active_ / linesPerPage + 1;
    int page = name > 0 ? name : (which == wordclient::wd::GoToNext ? currentPage + 1 : currentPage);
    page = std::clamp(page, 1, std::max(remainingPages(), 1));
    anchor_ = active_ = (page - 1) * linesPerPage;
}

void FakeWord::selectionMoveUp(std::int16_t unit, std::int16_t count, std::int16_t extend) {
    enter(QStringLiteral("Selection.MoveUp"),
          QStringLiteral("Selection.MoveUp(%1,%2,%3)").arg(unit).arg(count).arg(extend));
    needDocument();
    if (unit != wordclient::wd::Line) throw badParameter();
    active_ = std::max(0, active_ - count);
    if (extend == 0) anchor_ = active_;
}

QString FakeWord::selectionText() {
    enter(QStringLiteral("Selection.Text"), QStringLiteral("Selection.Text"));
    needDocument();
    QString text;
    const int begin = std::min(anchor_, active_);
    const int end = std::max(anchor_, active_);
    for (int line = begin; line < end; ++line) {
        text += QStringLiteral("Page %1, line %2\r").arg(lines_[line]).arg(line % linesPerPage + 1);
    }
    return text;
}

void FakeWord::selectionCut() {
    enter(QStringLiteral("Selection.Cut"), QStringLiteral("Selection.Cut"));
    needDocument();
    if (duringCut) duringCut();
    const int begin = std::min(anchor_, active_);
    const int end = std::max(anchor_, active_);
    if (begin == end) return;
    std::vector<int> pages;
    for (int line = begin; line < end; ++line) {
        if (pages.empty() || pages.back() != lines_[line]) pages.push_back(lines_[line]);
    }
    lines_.erase(lines_.begin() + begin, lines_.begin() + end);
    anchor_ = active_ = begin;
    cutPages.insert(cutPages.end(), pages.begin(), pages.end());

    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto special = cutPictureOfPage.find(pages.front());
    const CutPicture leaves = special != cutPictureOfPage.end() ? special->second : cutPicture;
    if (leaves == CutPicture::ClearClipboard) {
        clipboard->clear();
    } else if (leaves == CutPicture::PagePicture) {
        QImage picture(200, kPictureHeight * static_cast<int>(pages.size()), QImage::Format_RGB888);
        QPainter painter(&picture);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            painter.drawImage(0, kPictureHeight * static_cast<int>(i), pagePicture(pages[i]));
        }
        painter.end();
        clipboard->setImage(picture);
    }
}

void FakeWord::activeDocumentClose(std::int16_t saveChanges) {
    enter(QStringLiteral("ActiveDocument.Close"),
          QStringLiteral("ActiveDocument.Close(savechanges=%1)").arg(saveChanges));
    needDocument();
    documentOpen_ = false;
    lines_.clear();
}

void FakeWord::quit() {
    enter(QStringLiteral("quit"), QStringLiteral("quit"));
    quit_ = true;
    documentOpen_ = false;
    lines_.clear();
}

}  // namespace testsupport
