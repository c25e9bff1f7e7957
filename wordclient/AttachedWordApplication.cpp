#include "wordclient/AttachedWordApplication.h"

#include "platform/AppError.h"
#include "protocol/HostRegistry.h"

namespace wordclient {

namespace {

// A running host of another window, found through its registration: it can tell its name and
// nothing else (attaching only serves to see that Word is running).
class AttachedWordApplication : public WordApplication {
  public:
    explicit AttachedWordApplication(int pid) : pid_(pid) {}

    QString name() override {
        if (!protocol::hostRunning(pid_))
            unavailable(QStringLiteral("The document engine is no longer running."));
        return kWordName;
    }
    void documentsOpen(const QString&) override { unavailable(); }
    void activeDocumentRepaginate() override { unavailable(); }
    QVariant builtInDocumentProperty(std::int16_t) override { unavailable(); }
    std::int16_t pageFit() override { unavailable(); }
    void setPageFit(std::int16_t) override { unavailable(); }
    std::vector<ParagraphIndents> paragraphIndents() override { unavailable(); }
    void setLeftIndent(int, double) override { unavailable(); }
    void setRightIndent(int, double) override { unavailable(); }
    double centimetersToPoints(double centimetres) override { return centimetres * 72.0 / 2.54; }
    void selectionEndKey(std::int16_t, std::int16_t) override { unavailable(); }
    void selectionGoTo(std::int16_t, std::int16_t, std::int16_t) override { unavailable(); }
    void selectionMoveUp(std::int16_t, std::int16_t, std::int16_t) override { unavailable(); }
    QString selectionText() override { unavailable(); }
    void selectionCut() override { unavailable(); }
    void activeDocumentClose(std::int16_t) override { unavailable(); }
    void quit() override { unavailable(); }  // never ends another window's engine

  private:
    [[noreturn]] static void unavailable(
        const QString& description =
            QStringLiteral("The document engine of another window only answers its name.")) {
        throw platform::AppError(platform::ErrorNumber::AutomationError, description);
    }
    int pid_;
};

}  // namespace

std::unique_ptr<WordApplication> attachToRunningHost() {
    const std::vector<int> hosts = protocol::runningHosts();
    if (hosts.empty()) throw platform::AppError(platform::ErrorNumber::CantCreateObject);
    return std::make_unique<AttachedWordApplication>(hosts.front());
}

}  // namespace wordclient
