#include "wordhost/PdfExportSettings.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>

#include "wordhost/EngineContext.h"
#include "wordhost/EngineError.h"

namespace wordhost {

namespace css = com::sun::star;
using css::uno::Reference;

namespace {

std::string utf8(const rtl::OUString& text) {
    return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        if (static_cast<unsigned char>(c) >= 0x20) quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::vector<FilterSetting> officePdfExportSettings() {
    try {
        const Reference<css::lang::XMultiServiceFactory> provider =
            css::configuration::theDefaultProvider::get(engineContext());
        css::uno::Sequence<css::uno::Any> where(1);
        where.getArray()[0] <<= css::beans::NamedValue(
            "nodepath", css::uno::Any(rtl::OUString("/org.openoffice.Office.Common/Filter/PDF/Export")));
        const Reference<css::container::XNameAccess> node(
            provider->createInstanceWithArguments("com.sun.star.configuration.ConfigurationAccess", where),
            css::uno::UNO_QUERY_THROW);
        std::vector<FilterSetting> settings;
        for (const rtl::OUString& name : node->getElementNames()) {
            const css::uno::Any value = node->getByName(name);
            bool flag = false;
            sal_Int32 number = 0;
            rtl::OUString text;
            if (value >>= flag) {
                settings.push_back({utf8(name), "boolean", flag ? "true" : "false"});
            } else if (value >>= number) {
                settings.push_back({utf8(name), "long", std::to_string(number)});
            } else if (value >>= text) {
                settings.push_back({utf8(name), "string", utf8(text)});
            }
        }
        return settings;
    } catch (const css::uno::Exception& error) {
        throw EngineError("The document engine's PDF settings cannot be read: " + utf8(error.Message));
    }
}

std::string pdfFilterData(const std::vector<FilterSetting>& settings, const std::string& pageRange) {
    std::string json = "{";
    for (const FilterSetting& setting : settings) {
        if (setting.name == "PageRange") continue;
        json += jsonString(setting.name) + ":{\"type\":" + jsonString(setting.type) +
                ",\"value\":" + jsonString(setting.value) + "},";
    }
    return json + "\"PageRange\":{\"type\":\"string\",\"value\":" + jsonString(pageRange) + "}}";
}

}  // namespace wordhost
