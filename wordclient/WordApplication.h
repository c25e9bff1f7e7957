#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

#include "protocol/Indents.h"
#include "protocol/WordVocabulary.h"

namespace wordclient {

// Word's constants, as the conversion passes them.
namespace wd = protocol::wd;

// The text a running engine gives as its name (the application's default property).
inline const QString kWordName = QString::fromLatin1(protocol::kEngineName);

// Left and right indent of one paragraph, in points.
using protocol::ParagraphIndents;
// One indent write: a paragraph (0-based into paragraphIndents()), which side, the points.
using protocol::IndentEdit;

// One "Word.Application" automation object. Every call either succeeds or throws
// platform::AppError carrying the engine's own description of the failure.
class WordApplication {
  public:
    virtual ~WordApplication() = default;

    virtual QString name() = 0;                           // default property
    virtual void documentsOpen(const QString& path) = 0;  // Documents.Open path
    virtual void activeDocumentRepaginate() = 0;          // ActiveDocument.Repaginate
    virtual QVariant builtInDocumentProperty(
        std::int16_t index) = 0;         // ActiveDocument.BuiltInDocumentProperties(i)
    virtual std::int16_t pageFit() = 0;  // ActiveWindow.ActivePane.View.Zoom.PageFit
    virtual void setPageFit(std::int16_t value) = 0;

    // ActiveDocument.Paragraphs, first to last, read in one go.
    virtual std::vector<ParagraphIndents> paragraphIndents() = 0;
    // Paragraph(index).LeftIndent / RightIndent = points; index is 0-based into paragraphIndents().
    virtual void setLeftIndent(int paragraph, double points) = 0;
    virtual void setRightIndent(int paragraph, double points) = 0;
    virtual double centimetersToPoints(double centimetres) = 0;
    // setLeftIndent and setRightIndent for every write, in order; the failure of each (null for
    // success), a failed write not keeping the others from being made. An engine in another
    // process takes them in one round trip.
    virtual std::vector<std::exception_ptr> setIndents(const std::vector<IndentEdit>& writes) {
        std::vector<std::exception_ptr> failures;
        for (const IndentEdit& write : writes) {
            try {
                const int paragraph = static_cast<int>(write.paragraph);
                if (write.left) {
                    setLeftIndent(paragraph, write.points);
                } else {
                    setRightIndent(paragraph, write.points);
                }
                failures.emplace_back();
            } catch (...) {
                failures.push_back(std::current_exception());
            }
        }
        return failures;
    }

    virtual void selectionEndKey(std::int16_t unit, std::int16_t extend) = 0;
    virtual void selectionGoTo(std::int16_t what, std::int16_t which, std::int16_t name) = 0;
    virtual void selectionMoveUp(std::int16_t unit, std::int16_t count, std::int16_t extend) = 0;
    // selectionMoveUp `times` times over; the failure of each call, in order (null for success).
    // An engine in another process takes them in one round trip.
    virtual std::vector<std::exception_ptr> selectionMoveUpRepeated(std::int16_t unit, std::int16_t count,
                                                                    std::int16_t extend, int times) {
        std::vector<std::exception_ptr> failures;
        for (int i = 0; i < times; ++i) {
            try {
                selectionMoveUp(unit, count, extend);
                failures.emplace_back();
            } catch (...) {
                failures.push_back(std::current_exception());
            }
        }
        return failures;
    }
    virtual QString selectionText() = 0;
    // Removes the selection from the document and puts the picture of its pages on the system clipboard.
    virtual void selectionCut() = 0;

    virtual void activeDocumentClose(std::int16_t saveChanges) = 0;  // named argument savechanges
    virtual void quit() = 0;
};

// Creates new engines and attaches to running ones ("Word.Application").
class WordFactory {
  public:
    virtual ~WordFactory() = default;
    // A new automation server; throws AppError 429 when none can be started.
    virtual std::unique_ptr<WordApplication> createObject() = 0;
    // Attaches to an engine already running for this user; throws AppError 429 when there is none.
    virtual std::unique_ptr<WordApplication> getObject() = 0;
    // A hint that `path` is likely the next document: a spare engine may open and lay it out
    // now, unseen. Opening it in its turn still reads it again if it changed meanwhile.
    // An empty path says nothing is ahead any more: an idle engine kept for reading ahead goes.
    virtual void readAhead(const QString& path) { (void)path; }

    // The real engine (wordclient/HostWordFactory.h): used unless a platform::services::Override<WordFactory>
    // is in force.
    static WordFactory* byDefault();
};

// The factory in use (platform/Services.h).
WordFactory& wordFactory();

}  // namespace wordclient
