// The Word proxy: a Word object whose every call is a request to its own host process.
#include "wordclient/HostWordApplication.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "platform/AppError.h"
#include "platform/BandedImage.h"
#include "protocol/PagePicture.h"
#include "protocol/Replies.h"
#include "protocol/Requests.h"
#include "shared/BandedRows.h"
#include "wordclient/HostReply.h"

namespace wordclient {

namespace {

using protocol::Message;

constexpr long kNoSuchMember = protocol::EngineErrorNumber::NoSuchMember;

// A Word object of our own: every call goes to its host process.
class HostWordApplication : public WordApplication {
  public:
    HostWordApplication(std::unique_ptr<WordHostProcess> host, EngineKeeper& keeper)
        : host_(std::move(host)), keeper_(keeper) {}
    ~HostWordApplication() override = default;  // the host ends when its channel closes

    QString name() override {
        return fromUtf8(protocol::NameReply::read(call(protocol::NameRequest().encode())).value);
    }

    void documentsOpen(const QString& path) override {
        const QString absolute = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
        if (host_) host_->countDocument(absolute);
        const Message reply = call(protocol::OpenRequest{absolute.toStdString()}.encode());
        if (protocol::OpenReply::read(reply).readAheadFailed) failed_ = true;  // this engine saw an error
        paragraphCount_ = -1;
    }

    void activeDocumentRepaginate() override { call(protocol::RepaginateRequest().encode()); }

    QVariant builtInDocumentProperty(std::int16_t index) override {
        const long long value =
            protocol::NumberReply::read(call(protocol::PropertyRequest{index}.encode())).value;
        return QVariant::fromValue(static_cast<int>(value));
    }

    std::int16_t pageFit() override {
        return static_cast<std::int16_t>(
            protocol::NumberReply::read(call(protocol::GetPageFitRequest().encode())).value);
    }
    void setPageFit(std::int16_t value) override { call(protocol::SetPageFitRequest{value}.encode()); }

    std::vector<ParagraphIndents> paragraphIndents() override {
        std::vector<ParagraphIndents> indents =
            protocol::ParagraphsReply::read(call(protocol::ParagraphsRequest().encode())).indents;
        paragraphCount_ = static_cast<int>(indents.size());
        return indents;
    }

    void setLeftIndent(int paragraph, double points) override { setIndent(paragraph, true, points); }
    void setRightIndent(int paragraph, double points) override { setIndent(paragraph, false, points); }
    // The writes go in one request; the host tries every one and names those it refused.
    std::vector<std::exception_ptr> setIndents(const std::vector<IndentEdit>& writes) override {
        std::vector<std::exception_ptr> failures(writes.size());
        protocol::SetIndentsRequest request;
        std::vector<std::size_t> sent;  // the writes in the request, by their place in `writes`
        for (std::size_t i = 0; i < writes.size(); ++i) {
            if (paragraphCount_ >= 0 && writes[i].paragraph >= std::size_t(paragraphCount_)) {
                failures[i] = std::make_exception_ptr(platform::AppError(
                    kNoSuchMember, QStringLiteral("The requested member of the collection does not exist.")));
                continue;
            }
            request.edits.push_back(writes[i]);
            sent.push_back(i);
        }
        if (!sent.empty()) {
            try {
                const Message reply = call(request.encode());
                for (const protocol::IndentWriteFailure& refused :
                     protocol::SetIndentsReply::read(reply).failures) {
                    if (refused.write >= sent.size()) throw protocol::ProtocolError("no such indent write");
                    failures[sent[refused.write]] = std::make_exception_ptr(
                        platform::AppError(refused.number, QString::fromStdString(refused.description)));
                }
            } catch (const protocol::ProtocolError&) {
                failed_ = true;
                const auto damaged = std::make_exception_ptr(platform::AppError(
                    platform::ErrorNumber::AutomationError,
                    QStringLiteral("The document engine sent a damaged reply to the indent writes.")));
                for (const std::size_t i : sent) failures[i] = damaged;
            } catch (const platform::AppError&) {
                for (const std::size_t i : sent)
                    failures[i] = std::current_exception();  // refused as a whole
            }
        }
        for (const std::exception_ptr& failure : failures) {
            if (failure) failed_ = true;  // the engine's document is not as the client asked
        }
        return failures;
    }
    double centimetersToPoints(double centimetres) override { return centimetres * 72.0 / 2.54; }

    void selectionEndKey(std::int16_t unit, std::int16_t extend) override {
        call(protocol::EndKeyRequest{unit, extend}.encode());
    }
    void selectionGoTo(std::int16_t what, std::int16_t which, std::int16_t name) override {
        call(protocol::GoToRequest{what, which, name}.encode());
    }
    void selectionMoveUp(std::int16_t unit, std::int16_t count, std::int16_t extend) override {
        call(protocol::MoveUpRequest{unit, count, extend}.encode());
    }
    std::vector<std::exception_ptr> selectionMoveUpRepeated(std::int16_t unit, std::int16_t count,
                                                            std::int16_t extend, int times) override {
        if (!host_ || times <= 1) return WordApplication::selectionMoveUpRepeated(unit, count, extend, times);
        const std::vector<Message> requests(std::size_t(times),
                                            protocol::MoveUpRequest{unit, count, extend}.encode());
        std::vector<Message> replies;
        try {
            replies = host_->exchange(requests);
        } catch (const platform::AppError&) {
            failed_ = true;
            return std::vector<std::exception_ptr>(std::size_t(times), std::current_exception());
        }
        std::vector<std::exception_ptr> failures;
        for (const Message& reply : replies) {
            try {
                throwIfError(reply);
                failures.emplace_back();
            } catch (const platform::AppError&) {
                failed_ = true;
                failures.push_back(std::current_exception());
            }
        }
        return failures;
    }
    QString selectionText() override {
        return fromUtf8(protocol::TextReply::read(call(protocol::TextRequest().encode())).text);
    }

    void selectionCut() override {
        Message reply = call(protocol::CutRequest().encode());
        QImage picture;
        try {
            std::optional<protocol::PagePicture> cut = takeCutPicture(reply);
            if (!cut) return;
            picture = pictureOf(std::move(*cut));
        } catch (const protocol::ProtocolError&) {
            failed_ = true;  // an engine that sends damaged pictures is not kept
            throw platform::AppError(platform::ErrorNumber::AutomationError,
                                     QStringLiteral("The document engine sent a damaged page picture."));
        } catch (...) {
            failed_ = true;  // an engine that sends damaged pictures is not kept
            throw;
        }
        if (qGuiApp == nullptr || QGuiApplication::clipboard() == nullptr) {
            throw platform::AppError(platform::ErrorNumber::AutomationError,
                                     QStringLiteral("There is no clipboard to put the page on."));
        }
        QGuiApplication::clipboard()->setImage(picture);
    }

    void activeDocumentClose(std::int16_t saveChanges) override {
        call(protocol::CloseRequest{saveChanges}.encode());
        paragraphCount_ = -1;
    }

    void quit() override {
        // An engine whose every call went well (and whose document is closed) is clean and
        // already started: it is kept for the next document. One that failed never is.
        if (!failed_ && host_ && host_->documentsCounted() < kDocumentsPerHost) {
            try {
                call(protocol::ReleaseRequest().encode());
                keeper_.quitted(std::move(host_));
                return;
            } catch (const platform::AppError&) {
                // no clean engine to keep: quit it as any other
            }
        }
        call(protocol::QuitRequest().encode());
        host_->close();
        keeper_.quitted(nullptr);
    }

  private:
    // The payload becomes the picture's memory as it is: no copy of the megabytes.
    static QImage pictureOf(protocol::PagePicture cut) {
        if (cut.format == protocol::PixelFormat::Banded) {
            const std::size_t bandBytes = cut.pixels.size() - shared::bandCount(cut.height);
            QImage picture =
                platform::imageFromBands(std::move(cut.pixels), bandBytes, 0, cut.width, cut.height);
            if (picture.isNull()) throw std::bad_alloc();
            return picture;
        }
        auto pixels = std::make_unique<std::string>(std::move(cut.pixels));
        uchar* const bits = reinterpret_cast<uchar*>(pixels->data());
        const QImage::Format format =
            cut.format == protocol::PixelFormat::Grey8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
        QImage picture(
            bits, cut.width, cut.height, static_cast<qsizetype>(cut.bytesPerRow()), format,
            [](void* owner) { delete static_cast<std::string*>(owner); }, pixels.get());
        if (picture.isNull()) throw std::bad_alloc();
        pixels.release();  // the picture owns it now
        return picture;
    }

    void setIndent(int paragraph, bool left, double points) {
        if (paragraph < 0) {
            throw platform::AppError(
                kNoSuchMember, QStringLiteral("The requested member of the collection does not exist."));
        }
        if (const std::exception_ptr failure =
                setIndents({{static_cast<std::size_t>(paragraph), left, points}}).front()) {
            std::rethrow_exception(failure);
        }
    }

    Message call(Message request) {
        if (!host_) {
            throw platform::AppError(platform::ErrorNumber::AutomationError,
                                     QStringLiteral("The document engine is no longer running."));
        }
        try {
            std::vector<Message> replies = host_->exchange({std::move(request)});
            throwIfError(replies.back());
            return std::move(replies.back());
        } catch (const platform::AppError&) {
            failed_ = true;
            throw;
        }
    }

    std::unique_ptr<WordHostProcess> host_;  // null once its clean engine went back to the factory
    EngineKeeper& keeper_;
    int paragraphCount_ = -1;
    bool failed_ = false;  // a call failed: the engine may be in any state
};

}  // namespace

std::unique_ptr<WordApplication> newHostWordApplication(std::unique_ptr<WordHostProcess> host,
                                                        EngineKeeper& keeper) {
    return std::make_unique<HostWordApplication>(std::move(host), keeper);
}

}  // namespace wordclient
