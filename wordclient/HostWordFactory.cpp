// The factory of the real engine and its spare-host policy: read-ahead, release and warm.
#include "wordclient/HostWordFactory.h"

#include <QFileInfo>
#include <utility>
#include <vector>

#include "platform/AppError.h"
#include "platform/ProgramFolder.h"
#include "protocol/Replies.h"
#include "protocol/Requests.h"
#include "wordclient/AttachedWordApplication.h"
#include "wordclient/HostReply.h"

namespace wordclient {

using protocol::Message;

std::unique_ptr<WordApplication> HostWordFactory::createObject() {
    std::unique_ptr<WordHostProcess> host = takeSpare();
    if (!spare_) spare_ = std::move(reserve_);
    if (host && !handshake(*host)) host.reset();  // a spare that died: start afresh
    if (!host) {
        host = std::make_unique<WordHostProcess>(hostExecutable());
        host->setEngineKey(engineKey());
        if (!handshake(*host)) throw platform::AppError(platform::ErrorNumber::CantCreateObject);
    }
    return newHostWordApplication(std::move(host), static_cast<EngineKeeper&>(*this));
}

std::unique_ptr<WordApplication> HostWordFactory::getObject() { return attachToRunningHost(); }

void HostWordFactory::readAhead(const QString& path) {
    if (path.isEmpty()) {
        reserve_.reset();
        return;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (spare_ && (!spare_->running() || spare_->engineKey() != engineKey())) spare_.reset();
    if (!spare_) prepareSpare();
    // One document ahead is enough; a host that has served its documents reads nothing more.
    if (!spare_ || !spare_->readAheadPath().isEmpty() || spare_->documentsCounted() >= kDocumentsPerHost - 1)
        return;
    try {
        spare_->post(protocol::ReadAheadRequest{absolute.toStdString()}.encode());
        spare_->setReadAheadPath(absolute);
    } catch (const platform::AppError&) {
        spare_.reset();  // it died: the next Word object starts its own host
    }
}

void HostWordFactory::quitted(std::unique_ptr<WordHostProcess> cleanHost) {
    // A clean host is kept: as the spare, or beside a spare that is reading ahead, to read
    // the document after it ahead once that spare is claimed.
    const bool spareFree = !(spare_ && spare_->running());
    std::unique_ptr<WordHostProcess>& slot = spareFree ? spare_ : reserve_;
    if (cleanHost && (spareFree || !spare_->readAheadPath().isEmpty()) && !(slot && slot->running())) {
        try {
            cleanHost->post(protocol::WarmRequest().encode());
            cleanHost->setReadAheadPath(QString());
            slot = std::move(cleanHost);
            return;
        } catch (const platform::AppError&) {
            // it died meanwhile: start a fresh one
        }
    }
    prepareSpare();
}

QString HostWordFactory::hostExecutable() {
    return platform::programFolder() + QStringLiteral("/marrowdale-wordhost");
}
QString HostWordFactory::engineKey() {
    return hostExecutable() + QLatin1Char('\n') + qEnvironmentVariable("MARROWDALE_LIBREOFFICE_PROGRAM");
}

bool HostWordFactory::handshake(WordHostProcess& host) {
    try {
        const std::vector<Message> replies = host.exchange({protocol::HelloRequest{}.encode()});
        throwIfError(replies.front());
        host.setPrivateFolder(protocol::HelloReply::read(replies.front()).folder);
        return true;
    } catch (const platform::AppError& error) {
        qWarning("marrowdale: the document engine did not start: %s", error.what());
        return false;
    }
}

std::unique_ptr<WordHostProcess> HostWordFactory::takeSpare() {
    if (spare_ && (!spare_->running() || spare_->engineKey() != engineKey())) spare_.reset();
    if (reserve_ && (!reserve_->running() || reserve_->engineKey() != engineKey())) reserve_.reset();
    // A spare still starting its engine (warm and read-ahead both unanswered) would keep the
    // document waiting while a kept engine is ready: that one serves, the spare reads on.
    // (A kept engine has at most its instant re-warm unanswered.)
    if (spare_ && reserve_ && spare_->repliesOutstanding() > 1 && reserve_->repliesOutstanding() <= 1) {
        return std::move(reserve_);
    }
    return std::move(spare_);
}

void HostWordFactory::prepareSpare() {
    if (spare_ && spare_->running()) return;
    try {
        spare_ = std::make_unique<WordHostProcess>(hostExecutable());
        spare_->setEngineKey(engineKey());
        spare_->post(protocol::WarmRequest().encode());
    } catch (const platform::AppError&) {
        spare_.reset();  // the next Word object starts its own host
    }
}

}  // namespace wordclient
