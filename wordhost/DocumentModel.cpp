#include "wordhost/DocumentModel.h"

#include <cmath>
#include <com/sun/star/beans/PropertyState.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertyState.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/text/PositionAndSpaceMode.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextTable.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/view/XRenderable.hpp>
#include <rtl/uri.hxx>

#include "wordhost/EngineContext.h"
#include "wordhost/EngineError.h"

namespace wordhost {

using namespace protocol;

namespace css = com::sun::star;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

std::string utf8(const rtl::OUString& text) {
    return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

rtl::OUString ouString(const std::string& text) {
    return rtl::OStringToOUString(rtl::OString(text.data(), static_cast<sal_Int32>(text.size())),
                                  RTL_TEXTENCODING_UTF8);
}

// The engine may spell a URL's escapes its own way.
rtl::OUString decoded(const rtl::OUString& url) {
    return rtl::Uri::decode(url, rtl_UriDecodeWithCharset, RTL_TEXTENCODING_UTF8);
}

// The URL the document was loaded from. A template (.dotx, .dot, ...) is opened as a new,
// untitled document made from it: that one has no URL of its own, only the one it came from.
rtl::OUString loadedFrom(const Reference<css::frame::XModel>& model) {
    const rtl::OUString own = model->getURL();
    if (!own.isEmpty()) return own;
    rtl::OUString source;
    for (const css::beans::PropertyValue& argument : model->getArgs()) {
        if (argument.Name == "URL") argument.Value >>= source;
    }
    return source;
}

// Found by its URL among the engine's components: the host loads one document at a time, but
// a warm-up document or one being closed may still be listed.
Reference<css::frame::XModel> loadedDocument(const std::string& url) {
    const Reference<css::frame::XDesktop2> desktop = css::frame::Desktop::create(engineContext());
    const rtl::OUString wanted = decoded(ouString(url));
    const Reference<css::container::XEnumeration> components = desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::frame::XModel> model(components->nextElement(), UNO_QUERY);
        if (model.is() && decoded(loadedFrom(model)) == wanted) return model;
    }
    throw EngineError("The document engine does not list the document it loaded.");
}

struct ListLevel {
    bool applies = false;  // the level's own indents place the paragraph
    sal_Int32 indentAt = 0;
    sal_Int32 firstLineIndent = 0;
};

// A paragraph in a list whose level sets its indents (the label-alignment mode every current
// import uses) takes its left indent from the level unless the paragraph sets one directly.
ListLevel listLevelOf(const Reference<css::beans::XPropertySet>& paragraph,
                      const Reference<css::beans::XPropertyState>& state) {
    ListLevel level;
    Reference<css::container::XIndexAccess> rules;
    paragraph->getPropertyValue("NumberingRules") >>= rules;
    sal_Int16 depth = -1;
    paragraph->getPropertyValue("NumberingLevel") >>= depth;
    if (!rules.is() || depth < 0 || depth >= rules->getCount()) return level;
    if (state->getPropertyState("ParaLeftMargin") == css::beans::PropertyState_DIRECT_VALUE) return level;
    css::uno::Sequence<css::beans::PropertyValue> properties;
    rules->getByIndex(depth) >>= properties;
    sal_Int16 mode = css::text::PositionAndSpaceMode::LABEL_WIDTH_AND_POSITION;
    for (const css::beans::PropertyValue& property : properties) {
        if (property.Name == "PositionAndSpaceMode") property.Value >>= mode;
        if (property.Name == "IndentAt") property.Value >>= level.indentAt;
        if (property.Name == "FirstLineIndent") property.Value >>= level.firstLineIndent;
    }
    level.applies = mode == css::text::PositionAndSpaceMode::LABEL_ALIGNMENT;
    return level;
}

}  // namespace

double hundredthsOfMillimetreToPoints(long hundredths) {
    return std::round(double(hundredths) * 72.0 / 2540.0 * 20.0) / 20.0;
}

long pointsToHundredthsOfMillimetre(double points) { return std::lround(points * 2540.0 / 72.0); }

struct DocumentModel::Impl {
    struct Paragraph {
        Reference<css::beans::XPropertySet> properties;
        ListLevel list;
    };

    Reference<css::frame::XModel> model;
    std::vector<Paragraph> paragraphs;
    std::vector<ParagraphIndents> indents;
    bool walked = false;
    bool locked = false;  // the layout waits for the changes to end

    void walk(const Reference<css::text::XText>& text) {
        const Reference<css::container::XEnumerationAccess> access(text, UNO_QUERY);
        if (!access.is()) return;
        const Reference<css::container::XEnumeration> parts = access->createEnumeration();
        while (parts->hasMoreElements()) {
            const Reference<css::lang::XServiceInfo> part(parts->nextElement(), UNO_QUERY);
            if (!part.is()) continue;
            if (part->supportsService("com.sun.star.text.TextTable")) {
                const Reference<css::text::XTextTable> table(part, UNO_QUERY);
                for (const rtl::OUString& cell : table->getCellNames())
                    walk(Reference<css::text::XText>(table->getCellByName(cell), UNO_QUERY));
            } else if (part->supportsService("com.sun.star.text.Paragraph")) {
                add(Reference<css::beans::XPropertySet>(part, UNO_QUERY));
            }
        }
    }

    void add(const Reference<css::beans::XPropertySet>& properties) {
        const Reference<css::beans::XPropertyState> state(properties, UNO_QUERY);
        sal_Int32 left = 0;
        sal_Int32 right = 0;
        properties->getPropertyValue("ParaLeftMargin") >>= left;
        properties->getPropertyValue("ParaRightMargin") >>= right;
        const ListLevel list = state.is() ? listLevelOf(properties, state) : ListLevel{};
        if (list.applies) left = list.indentAt;
        paragraphs.push_back({properties, list});
        indents.push_back({hundredthsOfMillimetreToPoints(left), hundredthsOfMillimetreToPoints(right)});
    }
};

DocumentModel::DocumentModel(const std::string& url) : impl_(std::make_unique<Impl>()) {
    try {
        impl_->model = loadedDocument(url);
    } catch (const css::uno::Exception& error) {
        throw EngineError("The document engine's document model failed: " + utf8(error.Message));
    }
}

DocumentModel::~DocumentModel() {
    try {
        applyChanges();
    } catch (const EngineError&) {
        // the document is closed next anyway
    }
}

void DocumentModel::applyChanges() {
    if (!impl_->locked) return;
    impl_->locked = false;
    try {
        impl_->model->unlockControllers();
    } catch (const css::uno::Exception& error) {
        throw EngineError("The document engine cannot lay out the changed document: " + utf8(error.Message));
    }
}

bool DocumentModel::isTextDocument() const {
    try {
        const Reference<css::lang::XServiceInfo> info(impl_->model, UNO_QUERY);
        return info.is() && info->supportsService("com.sun.star.text.TextDocument");
    } catch (const css::uno::Exception&) {
        return false;
    }
}

int DocumentModel::pageCount() {
    applyChanges();
    try {
        // The export's own count: it lays the document out to its end first.
        const Reference<css::view::XRenderable> renderable(impl_->model, UNO_QUERY);
        if (!renderable.is()) throw EngineError("The document engine cannot count the pages.");
        css::uno::Sequence<css::beans::PropertyValue> options(1);
        options.getArray()[0].Name = "IsSkipEmptyPages";
        options.getArray()[0].Value <<= true;
        return renderable->getRendererCount(css::uno::Any(impl_->model), options);
    } catch (const css::uno::Exception& error) {
        throw EngineError("The document engine cannot count the pages: " + utf8(error.Message));
    }
}

std::string DocumentModel::filterName() const {
    try {
        for (const css::beans::PropertyValue& argument : impl_->model->getArgs()) {
            rtl::OUString name;
            if (argument.Name == "FilterName" && (argument.Value >>= name)) return utf8(name);
        }
    } catch (const css::uno::Exception&) {
    }
    return {};
}

const std::vector<ParagraphIndents>& DocumentModel::indents() {
    if (impl_->walked) return impl_->indents;
    impl_->walked = true;
    try {
        const Reference<css::text::XTextDocument> document(impl_->model, UNO_QUERY);
        if (document.is()) impl_->walk(document->getText());
    } catch (const css::uno::Exception& error) {
        impl_->paragraphs.clear();
        impl_->indents.clear();
        throw EngineError("The document engine cannot list the paragraphs: " + utf8(error.Message));
    }
    return impl_->indents;
}

void DocumentModel::setIndent(std::size_t paragraph, bool left, double points) {
    indents();
    if (paragraph >= impl_->paragraphs.size()) {
        throw EngineError("The requested member of the collection does not exist.",
                          EngineErrorNumber::NoSuchMember);
    }
    Impl::Paragraph& target = impl_->paragraphs[paragraph];
    const sal_Int32 value = static_cast<sal_Int32>(pointsToHundredthsOfMillimetre(points));
    try {
        if (!impl_->locked) {
            impl_->model->lockControllers();
            impl_->locked = true;
        }
        if (left) {
            target.properties->setPropertyValue("ParaLeftMargin", css::uno::Any(value));
            // A direct indent takes the paragraph out of its list level's placement: it keeps
            // the level's hanging indent, as in Word.
            if (target.list.applies) {
                target.properties->setPropertyValue("ParaFirstLineIndent",
                                                    css::uno::Any(target.list.firstLineIndent));
                target.list.applies = false;
            }
            impl_->indents[paragraph].left = hundredthsOfMillimetreToPoints(value);
        } else {
            target.properties->setPropertyValue("ParaRightMargin", css::uno::Any(value));
            impl_->indents[paragraph].right = hundredthsOfMillimetreToPoints(value);
        }
    } catch (const css::uno::Exception& error) {
        throw EngineError("The indent cannot be changed: " + utf8(error.Message));
    }
}

}  // namespace wordhost
