// The Word proxy: a Word object whose every call is a request to its own host process.
#include "platform/HostWordApplication.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "platform/AppError.h"
#include "platform/HostReply.h"
#include "protocol/PagePicture.h"
#include "protocol/Requests.h"

namespace platform {

namespace {

using wordhost::Message;

constexpr long kNoSuchMember = wordhost::EngineErrorNumber::NoSuchMember;

// A Word object of our own: every call goes to its host process.
class HostWordApplication : public WordApplication {
  public:
    HostWordApplication(std::unique_ptr<WordHostProcess> host, EngineKeeper& keeper)
        : host_(std::move(host)), keeper_(keeper) {}
    ~HostWordApplication() override = default;  // the host ends when its channel closes

    QString name() override { return fromUtf8(call(Message("name")).get("value")); }

    void documentsOpen(const QString& path) override {
        const QString absolute = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
        if (host_) host_->countDocument(absolute);
        const Message reply = call(wordhost::OpenRequest{absolute.toStdString()}.encode());
        if (reply.getInt("readaheadfailed", 0) != 0) failed_ = true;  // this engine saw an error
        paragraphCount_ = -1;
    }

    void activeDocumentRepaginate() override { call(Message("repaginate")); }

    QVariant builtInDocumentProperty(std::int16_t index) override {
        const long long value = call(wordhost::PropertyRequest{index}.encode()).getInt("value");
        return QVariant::fromValue(static_cast<int>(value));
    }

    std::int16_t pageFit() override {
        return static_cast<std::int16_t>(call(Message("getpagefit")).getInt("value"));
    }
    void setPageFit(std::int16_t value) override { call(wordhost::SetPageFitRequest{value}.encode()); }

    std::vector<ParagraphIndents> paragraphIndents() override {
        const Message reply = call(Message("paragraphs"));
        std::vector<ParagraphIndents> indents = wordhost::decodeIndents(reply.payload());
        paragraphCount_ = static_cast<int>(indents.size());
        return indents;
    }

    void setLeftIndent(int paragraph, double points) override { queueIndent(paragraph, true, points); }
    void setRightIndent(int paragraph, double points) override { queueIndent(paragraph, false, points); }
    double centimetersToPoints(double centimetres) override { return centimetres * 72.0 / 2.54; }

    void selectionEndKey(std::int16_t unit, std::int16_t extend) override {
        call(wordhost::EndKeyRequest{unit, extend}.encode());
    }
    void selectionGoTo(std::int16_t what, std::int16_t which, std::int16_t name) override {
        call(wordhost::GoToRequest{what, which, name}.encode());
    }
    void selectionMoveUp(std::int16_t unit, std::int16_t count, std::int16_t extend) override {
        call(wordhost::MoveUpRequest{unit, count, extend}.encode());
    }
    std::vector<std::exception_ptr> selectionMoveUpRepeated(std::int16_t unit, std::int16_t count,
                                                            std::int16_t extend, int times) override {
        if (!host_ || times <= 1) return WordApplication::selectionMoveUpRepeated(unit, count, extend, times);
        std::vector<Message> requests = pendingRequests();
        const std::size_t first = requests.size();
        requests.insert(requests.end(), std::size_t(times),
                        wordhost::MoveUpRequest{unit, count, extend}.encode());
        std::vector<Message> replies;
        std::vector<std::exception_ptr> failures;
        try {
            replies = host_->exchange(requests);
            if (first > 0) throwIfError(replies.front());
        } catch (const AppError&) {
            // The first call carries the failure; the others are made one by one, as they would be.
            failed_ = true;
            failures.push_back(std::current_exception());
            std::vector<std::exception_ptr> rest =
                WordApplication::selectionMoveUpRepeated(unit, count, extend, times - 1);
            failures.insert(failures.end(), rest.begin(), rest.end());
            return failures;
        }
        for (std::size_t i = first; i < replies.size(); ++i) {
            try {
                throwIfError(replies[i]);
                failures.emplace_back();
            } catch (const AppError&) {
                failed_ = true;
                failures.push_back(std::current_exception());
            }
        }
        return failures;
    }
    QString selectionText() override { return fromUtf8(call(Message("text")).payload()); }

    void selectionCut() override {
        Message reply = call(Message("cut"));
        QImage picture;
        try {
            std::optional<wordhost::PagePicture> cut = takeCutPicture(reply);
            if (!cut) return;
            picture = pictureOf(std::move(*cut));
        } catch (const wordhost::ProtocolError&) {
            failed_ = true;  // an engine that sends damaged pictures is not kept
            throw AppError(ErrorNumber::AutomationError,
                           QStringLiteral("The document engine sent a damaged page picture."));
        } catch (...) {
            failed_ = true;  // an engine that sends damaged pictures is not kept
            throw;
        }
        if (qGuiApp == nullptr || QGuiApplication::clipboard() == nullptr) {
            throw AppError(ErrorNumber::AutomationError,
                           QStringLiteral("There is no clipboard to put the page on."));
        }
        QGuiApplication::clipboard()->setImage(picture);
    }

    void activeDocumentClose(std::int16_t saveChanges) override {
        call(wordhost::CloseRequest{saveChanges}.encode());
        paragraphCount_ = -1;
    }

    void quit() override {
        // An engine whose every call went well (and whose document is closed) is clean and
        // already started: it is kept for the next document. One that failed never is.
        if (!failed_ && host_ && host_->documentsCounted() < kDocumentsPerHost) {
            try {
                call(Message("release"));
                keeper_.quitted(std::move(host_));
                return;
            } catch (const AppError&) {
                // no clean engine to keep: quit it as any other
            }
        }
        call(Message("quit"));
        host_->close();
        keeper_.quitted(nullptr);
    }

  private:
    // The payload becomes the picture's memory as it is: no copy of the megabytes.
    static QImage pictureOf(wordhost::PagePicture cut) {
        auto pixels = std::make_unique<std::string>(std::move(cut.pixels));
        uchar* const bits = reinterpret_cast<uchar*>(pixels->data());
        QImage picture(
            bits, cut.width, cut.height,
            static_cast<qsizetype>(cut.width) * wordhost::PagePicture::kBytesPerPixel, QImage::Format_RGB32,
            [](void* owner) { delete static_cast<std::string*>(owner); }, pixels.get());
        if (picture.isNull()) throw std::bad_alloc();
        pixels.release();  // the picture owns it now
        return picture;
    }

    // Indent writes wait in the client and travel with the next call, in one message.
    void queueIndent(int paragraph, bool left, double points) {
        if (paragraph < 0 || (paragraphCount_ >= 0 && paragraph >= paragraphCount_)) {
            throw AppError(kNoSuchMember,
                           QStringLiteral("The requested member of the collection does not exist."));
        }
        wordhost::appendIndentEdit(pendingIndents_, {static_cast<std::size_t>(paragraph), left, points});
    }

    // The indent writes waiting to go ahead of the next call: none, or one message.
    std::vector<Message> pendingRequests() {
        std::vector<Message> requests;
        if (!pendingIndents_.empty()) {
            requests.push_back(Message("setindents").setPayload(std::move(pendingIndents_)));
            pendingIndents_.clear();
        }
        return requests;
    }

    Message call(Message request) {
        std::vector<Message> requests = pendingRequests();
        requests.push_back(std::move(request));
        if (!host_) {
            throw AppError(ErrorNumber::AutomationError,
                           QStringLiteral("The document engine is no longer running."));
        }
        try {
            std::vector<Message> replies = host_->exchange(requests);
            for (const Message& reply : replies) throwIfError(reply);
            return std::move(replies.back());
        } catch (const AppError&) {
            failed_ = true;
            throw;
        }
    }

    std::unique_ptr<WordHostProcess> host_;  // null once its clean engine went back to the factory
    EngineKeeper& keeper_;
    std::string pendingIndents_;
    int paragraphCount_ = -1;
    bool failed_ = false;  // a call failed: the engine may be in any state
};

}  // namespace

std::unique_ptr<WordApplication> newHostWordApplication(std::unique_ptr<WordHostProcess> host,
                                                        EngineKeeper& keeper) {
    return std::make_unique<HostWordApplication>(std::move(host), keeper);
}

}  // namespace platform
