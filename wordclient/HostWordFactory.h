#pragma once

#include <QString>
#include <memory>

#include "wordclient/HostWordApplication.h"
#include "wordclient/WordApplication.h"
#include "wordclient/WordHostProcess.h"

namespace wordclient {

// The real engine: every Word object is a client of its own marrowdale-wordhost process.
// Keeps one spare host, so the next Word object is ready at once: the clean host of the object
// that quit last, or a fresh one started then. A spare is no running Word until it is claimed.
class HostWordFactory : public WordFactory, private EngineKeeper {
  public:
    std::unique_ptr<WordApplication> createObject() override;
    std::unique_ptr<WordApplication> getObject() override;
    void readAhead(const QString& path) override;

  private:
    void quitted(std::unique_ptr<WordHostProcess> cleanHost) override;

    static QString hostExecutable();
    static QString engineKey();
    static bool handshake(WordHostProcess& host);
    std::unique_ptr<WordHostProcess> takeSpare();
    void prepareSpare();

    std::unique_ptr<WordHostProcess> spare_;
    std::unique_ptr<WordHostProcess> reserve_;  // a clean host kept while the spare reads ahead
};

// The one factory of the real engine, for the program's life.
WordFactory& hostWordFactory();

}  // namespace wordclient
