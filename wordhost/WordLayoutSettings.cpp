#include "wordhost/WordLayoutSettings.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/document/DocumentEvent.hpp>
#include <com/sun/star/document/XDocumentEventBroadcaster.hpp>
#include <com/sun/star/document/XDocumentEventListener.hpp>
#include <com/sun/star/frame/theGlobalEventBroadcaster.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <cppuhelper/implbase1.hxx>

#include "wordhost/EngineContext.h"
#include "wordhost/EngineError.h"

namespace wordhost {

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

// "OnLoadFinished" comes when the import is done and before the document's first view (and with
// it the layout) is made.
class SettingsOnLoad : public cppu::WeakImplHelper1<css::document::XDocumentEventListener> {
  public:
    void SAL_CALL documentEventOccured(const css::document::DocumentEvent& event) override {
        if (event.EventName != "OnLoadFinished") return;
        try {
            const Reference<css::lang::XMultiServiceFactory> factory(event.Source, UNO_QUERY);
            if (!factory.is()) return;
            const Reference<css::beans::XPropertySet> settings(
                factory->createInstance("com.sun.star.text.DocumentSettings"), UNO_QUERY);
            if (settings.is()) settings->setPropertyValue("ContinuousEndnotes", css::uno::Any(true));
        } catch (const css::uno::Exception&) {
            // Not a text document, or an engine without the setting: laid out by its defaults.
        }
    }
    void SAL_CALL disposing(const css::lang::EventObject&) override {}
};

}  // namespace

struct WordLayoutSettings::Impl {
    Reference<css::document::XDocumentEventBroadcaster> broadcaster;
    Reference<css::document::XDocumentEventListener> listener;
};

WordLayoutSettings::WordLayoutSettings() : impl_(std::make_unique<Impl>()) {
    try {
        impl_->broadcaster.set(css::frame::theGlobalEventBroadcaster::get(engineContext()), UNO_QUERY);
        if (!impl_->broadcaster.is()) throw EngineError("The document engine offers no document events.");
        impl_->listener = new SettingsOnLoad;
        impl_->broadcaster->addDocumentEventListener(impl_->listener);
    } catch (const css::uno::Exception& error) {
        throw EngineError("The document engine offers no document events: " +
                          std::string(rtl::OUStringToOString(error.Message, RTL_TEXTENCODING_UTF8).getStr()));
    }
}

WordLayoutSettings::~WordLayoutSettings() {
    try {
        impl_->broadcaster->removeDocumentEventListener(impl_->listener);
    } catch (const css::uno::Exception&) {
        // the engine is going anyway
    }
}

}  // namespace wordhost
