#include "wordhost/LibreOfficeSession.h"

#include "shared/PercentEncode.h"
#include "wordhost/EngineError.h"

#define LOK_USE_UNSTABLE_API
#include <LibreOfficeKit/LibreOfficeKitInit.h>
#include <sys/stat.h>

#include <LibreOfficeKit/LibreOfficeKit.hxx>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace wordhost {

using namespace protocol;

namespace {

// Settings of the new profile: no graphics self-test on first start (it costs seconds), no
// macros, no recovery files, no update checks. Nor the work done for a window nobody sees: after
// each load the engine's main loop checks spelling, collects words for completion and counts the
// words for the status bar, holding the engine's lock all the while (0.8 s of a 180-page
// document, with the host waiting for it), and it builds a sidebar. None of it changes a page.
constexpr const char* kProfileSettings = R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>99.9</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Security/Scripting"><prop oor:name="MacroSecurityLevel" oor:op="fuse"><value>3</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Security/Scripting"><prop oor:name="DisableMacrosExecution" oor:op="fuse"><value>true</value></prop></item>
<item oor:path="/org.openoffice.Office.Recovery/AutoSave"><prop oor:name="Enabled" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Recovery/RecoveryInfo"><prop oor:name="Enabled" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Linguistic/SpellChecking"><prop oor:name="IsSpellAuto" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Writer/AutoFunction/Completion"><prop oor:name="CollectWords" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Views/Windows"><node oor:name="swriter/10336" oor:op="replace"><prop oor:name="Visible" oor:op="fuse"><value>false</value></prop></node></item>
<item oor:path="/org.openoffice.Office.UI.WriterWindowState/UIElements/States"><node oor:name="private:resource/statusbar/statusbar" oor:op="replace"><prop oor:name="Visible" oor:op="fuse"><value>false</value></prop></node></item>
<item oor:path="/org.openoffice.Office.Jobs/Jobs/org.openoffice.Office.Jobs:Job['UpdateCheck']/Arguments"><prop oor:name="AutoCheckEnabled" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
)";

void writeProfileSettings(const std::string& profileFolder) {
    std::filesystem::create_directories(profileFolder + "/user");
    std::ofstream out(profileFolder + "/user/registrymodifications.xcu", std::ios::binary);
    out << kProfileSettings;
}

std::string takeError(lok::Office* office) {
    char* error = office->getError();
    std::string text = error != nullptr ? error : "";
    if (error != nullptr) office->freeError(error);
    return text;
}

bool engineInstalled(const std::string& programFolder) {
    struct stat info {};
    return ::stat((programFolder + "/libmergedlo.so").c_str(), &info) == 0 ||
           ::stat((programFolder + "/libsofficeapp.so").c_str(), &info) == 0;
}

}  // namespace

std::string fileUrl(const std::string& path) {
    return "file://" + shared::percentEncode(path, [](unsigned char c) {
               return std::isalnum(c) != 0 || c == '/' || c == '-' || c == '.' || c == '_' || c == '~';
           });
}

std::string unreadableDocumentDescription(const std::string& shownPath) {
    return "The document engine cannot open \"" + shownPath +
           "\": it is damaged or in a format the engine does not read.";
}

std::string LibreOfficeSession::defaultProgramFolder() {
    const char* folder = std::getenv("MARROWDALE_LIBREOFFICE_PROGRAM");
    return folder != nullptr && folder[0] != '\0' ? folder : "/usr/lib/libreoffice/program";
}

LibreOfficeSession::LibreOfficeSession(const std::string& programFolder, const std::string& profileFolder) {
    if (!engineInstalled(programFolder)) {
        throw EngineError(
            "The document engine (LibreOffice) is not installed: " + programFolder + " holds no office.",
            EngineErrorNumber::CantCreate);
    }
    writeProfileSettings(profileFolder);
    office_ = lok::lok_cpp_init(programFolder.c_str(), fileUrl(profileFolder).c_str());
    if (office_ == nullptr) {
        throw EngineError(
            "The document engine (LibreOffice) could not be started from " + programFolder + ".",
            EngineErrorNumber::CantCreate);
    }
}

// The engine is left to the process exit: shutting LibreOffice down in-process is slow and
// can hang, and the host ends right after its last document anyway.
LibreOfficeSession::~LibreOfficeSession() = default;

std::unique_ptr<lok::Document> LibreOfficeSession::load(const std::string& path,
                                                        const std::string& shownPath) {
    lok::Document* document = office_->documentLoad(fileUrl(path).c_str());
    if (document == nullptr) {
        // The engine's own reason names its internals ("loadComponentFromURL returned an empty
        // reference") when it found no way to read the file at all.
        const std::string reason = takeError(office_);
        if (reason.empty() || reason.find("loadComponentFromURL") != std::string::npos)
            throw EngineError(unreadableDocumentDescription(shownPath));
        throw EngineError("The document engine cannot open \"" + shownPath + "\": " + reason);
    }
    return std::unique_ptr<lok::Document>(document);
}

void LibreOfficeSession::saveAs(lok::Document& document, const std::string& path, const char* format,
                                const std::string& pdfFilterData) {
    // Without filter options LibreOfficeKit hands the PDF export filter data of its own, which
    // makes the export skip the office's PDF settings and use the filter's built-in ones (comments
    // become PDF notes drawn on the page as icons, pictures keep their full resolution). Empty
    // JSON filter data leaves the export to the office's settings, as `soffice --convert-to pdf`
    // does.
    const bool pdf = std::string_view(format) == "pdf";
    const std::string options = pdfFilterData.empty() ? "{}" : pdfFilterData;
    if (!document.saveAs(fileUrl(path).c_str(), format, pdf ? options.c_str() : nullptr)) {
        const std::string reason = takeError(office_);
        throw EngineError(std::string("The document engine cannot lay out the document as ") + format +
                          (reason.empty() ? std::string(".") : ": " + reason));
    }
}

}  // namespace wordhost
