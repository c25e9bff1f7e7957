#pragma once

#include "platform/AppError.h"
#include "platform/WordApplication.h"

#include <memory>
#include <optional>

namespace testsupport {

// A tiny engine double for the availability checks: it can be creatable or not, running or not,
// and counts what was done to it. Installs itself as the engine factory for its life.
class StubWordFactory : public platform::WordFactory {
public:
    bool canCreate = false;
    std::optional<QString> runningName;  // the name a running engine reports; none: nothing runs
    bool nameFails = false;
    bool quitFails = false;
    int created = 0;
    int attached = 0;
    int quits = 0;

    StubWordFactory() { platform::setWordFactory(this); }
    ~StubWordFactory() override { platform::setWordFactory(nullptr); }

    std::unique_ptr<platform::WordApplication> createObject() override {
        if (!canCreate) throw platform::AppError(platform::ErrorNumber::CantCreateObject);
        ++created;
        return std::make_unique<Engine>(*this, platform::kWordName);
    }
    std::unique_ptr<platform::WordApplication> getObject() override {
        if (!runningName) throw platform::AppError(platform::ErrorNumber::CantCreateObject);
        ++attached;
        return std::make_unique<Engine>(*this, *runningName);
    }

private:
    class Engine : public platform::WordApplication {
    public:
        Engine(StubWordFactory& factory, QString name) : factory_(factory), name_(std::move(name)) {}
        QString name() override {
            if (factory_.nameFails) fail();
            return name_;
        }
        void quit() override {
            ++factory_.quits;
            if (factory_.quitFails) fail();
        }
        void documentsOpen(const QString&) override { fail(); }
        void activeDocumentRepaginate() override { fail(); }
        QVariant builtInDocumentProperty(std::int16_t) override { fail(); }
        std::int16_t pageFit() override { fail(); }
        void setPageFit(std::int16_t) override { fail(); }
        std::vector<platform::ParagraphIndents> paragraphIndents() override { fail(); }
        void setLeftIndent(int, double) override { fail(); }
        void setRightIndent(int, double) override { fail(); }
        double centimetersToPoints(double) override { fail(); }
        void selectionEndKey(std::int16_t, std::int16_t) override { fail(); }
        void selectionGoTo(std::int16_t, std::int16_t, std::int16_t) override { fail(); }
        void selectionMoveUp(std::int16_t, std::int16_t, std::int16_t) override { fail(); }
        QString selectionText() override { fail(); }
        void selectionCut() override { fail(); }
        void activeDocumentClose(std::int16_t) override { fail(); }

    private:
        [[noreturn]] static void fail() {
            throw platform::AppError(platform::ErrorNumber::AutomationError, QStringLiteral("The server went away"));
        }
        StubWordFactory& factory_;
        QString name_;
    };
};

}  // namespace testsupport
